// Every shipped compartment cut with 1000 seeds: the stands always cover it, none is degenerate, and a
// stand count stays what the structure file can hold.
#include <gtest/gtest.h>

#include <cmath>

#include "common/paths.h"
#include "simulator/enterprise/compartment_map.h"
#include "simulator/enterprise/subdivision.h"
#include "tests/support/fakes.h"

using namespace tolvek;

namespace {

std::string Presets() { return JoinPath(tolvek::testing::SourceDataDir(), "Vorgaben/"); }

}  // namespace

TEST(ShippedSubdivision, ThousandSeedsOfEveryCompartment) {
  int worstCompartment = 0;
  double worst = 0.0;
  for (int n = 1; n <= 3; ++n) {
    std::vector<Ring> outlines;
    MapReadProblem problem;
    ASSERT_TRUE(ReadEnterpriseOutlines(Presets(), n, outlines, problem)) << problem.reason;
    for (std::size_t a = 1; a < outlines.size(); ++a) {
      const double area = RingArea(outlines[a]) * 1e-4;
      for (std::uint32_t seed = 1; seed <= 1000; ++seed) {
        RandomGenerator g(seed * 2654435761u + static_cast<std::uint32_t>(a));
        GeneratorDraws d(g);
        // Every kind in turn, as clicks on the compartment give them.
        const int kind = static_cast<int>((seed + a) % 8) + 1;
        const Subdivision s = SubdivideRing(outlines[a], kind, 70, d);
        ASSERT_GE(s.stands.size(), 1u);
        ASSERT_LE(s.stands.size(), 27u);
        double sum = 0.0;
        for (const EnterpriseStand& st : s.stands) {
          ASSERT_GE(st.corners.size(), 4u);  // three corners and the closing one
          ASSERT_GT(st.area, 0.0);
          ASSERT_EQ(st.corners.front().x, st.corners.back().x);
          sum += st.area;
        }
        const double off = std::fabs(sum - area) / area;
        if (off > worst) {
          worst = off;
          worstCompartment = n * 100 + static_cast<int>(a);
        }
        ASSERT_LE(off, 0.006) << "enterprise " << n << " compartment " << a << " seed " << seed << " kind " << kind;
      }
    }
  }
  RecordProperty("worst", std::to_string(worst) + " at " + std::to_string(worstCompartment));
}
