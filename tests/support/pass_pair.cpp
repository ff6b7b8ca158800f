#include "tests/support/pass_pair.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "common/circle_pi.h"
#include "tests/support/boundary_of.h"

namespace tolvek::testing {

TreeRecord TreeAt(double dbh, double x, double y, std::uint8_t species) {
  TreeRecord t;
  t.species = species;
  t.dbh = dbh;
  t.x = x;
  t.y = y;
  return t;
}

TreeList RandomStand(std::uint32_t seed, int count, double w, double h) {
  RandomGenerator r(seed);
  TreeList trees;
  for (int i = 0; i < count; ++i) {
    if (i > 4 && r.Next(10) == 0) {
      TreeRecord twin = trees[static_cast<std::size_t>(r.Next(i))];
      twin.dbh = 7.0 + r.Next(530) / 10.0;
      trees.push_back(twin);
      continue;
    }
    trees.push_back(TreeAt(7.0 + r.Next(530) / 10.0, r.Next(static_cast<int>(w * 10)) / 10.0,
                           r.Next(static_cast<int>(h * 10)) / 10.0, static_cast<std::uint8_t>(1 + r.Next(9))));
  }
  return trees;
}

BoundaryPolygon Irregular() {
  return BoundaryOf({{0, 0}, {0, 80}, {35, 110}, {90, 100}, {150, 105}, {140, 40}, {95, 0}, {0, 0}});
}

MethodSettings Method(MethodCode code, bool treeCentred) {
  MethodSettings m;
  m.code = code;
  m.weighting = treeCentred ? WeightingMode::TreeCentred : WeightingMode::PlotCentred;
  m.circleArea = 300.0;
  m.circleRadius = std::sqrt(300.0 / kCirclePi);
  m.countingFactor = 2;
  m.circleCount = 3;
  m.concentricRadius = {0.0, 3.0, 6.0, 12.0, 0.0, 0.0, 0.0};
  m.concentricDbhLimit = {0, 10, 15, 30, 0, 0};
  return m;
}

void ExpectSamePlots(const PlotList& a, const PlotList& b, const std::string& where) {
  ASSERT_EQ(a.plots.size(), b.plots.size()) << where;
  ASSERT_EQ(a.trees.size(), b.trees.size()) << where;
  for (std::size_t i = 0; i < a.plots.size(); ++i) {
    const PlotRecord &p = a.plots[i], &q = b.plots[i];
    EXPECT_EQ(p.gridIndex, q.gridIndex) << where;
    EXPECT_EQ(p.treeCount, q.treeCount) << where << " plot " << i;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(p.plotArea), std::bit_cast<std::uint64_t>(q.plotArea)) << where;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(p.secondArea), std::bit_cast<std::uint64_t>(q.secondArea)) << where;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(p.insideShare), std::bit_cast<std::uint64_t>(q.insideShare)) << where;
  }
  for (std::size_t i = 0; i < a.trees.size(); ++i) {
    const SampleTreeRecord &s = a.trees[i], &t = b.trees[i];
    EXPECT_TRUE(s.x == t.x && s.y == t.y && s.dbh == t.dbh && s.layer == t.layer && s.species == t.species)
        << where << " sample tree " << i;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(s.distance), std::bit_cast<std::uint64_t>(t.distance)) << where;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(s.edgeWeight), std::bit_cast<std::uint64_t>(t.edgeWeight)) << where;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(s.plotArea), std::bit_cast<std::uint64_t>(t.plotArea)) << where;
  }
}

PassPair::PassPair(const TreeList& trees, const BoundaryPolygon& boundary, const MethodSettings& method, int spacing)
    : envs_{PassEnvironment{sides_[0].sampling, sides_[0].trees, sides_[0].boundary, sides_[0].geometry,
                            sides_[0].run, fakes_.services, language_, sides_[0].observer},
            PassEnvironment{sides_[1].sampling, sides_[1].trees, sides_[1].boundary, sides_[1].geometry,
                            sides_[1].run, fakes_.services, language_, sides_[1].observer}},
      random_{RandomGenerator(3), RandomGenerator(3)} {
  for (int k = 0; k < 2; ++k) {
    Side& s = sides_[k];
    s.trees = trees;
    s.boundary = boundary;
    s.run.graphics = false;
    s.sampling.method = method;
    s.sampling.grid.dx = s.sampling.grid.dy = spacing;
    envs_[k].repetition = true;
    envs_[k].singleStepWait = false;
  }
  envs_[1].candidates = &plainSource_;
}

bool PassPair::FirstPass(const std::string& where) {
  for (int k = 0; k < 2; ++k) {
    EXPECT_TRUE(NewGrid(sides_[k].sampling.grid, &sides_[k].boundary, nullptr, GridContext{}).ok()) << where;
    RunSamplingPass(envs_[k]);
  }
  return Compare(where);
}

bool PassPair::ShiftedPass(const std::string& where) {
  for (int k = 0; k < 2; ++k) RandomGridShiftAndPass(envs_[k], random_[k]);
  return Compare(where);
}

void PassPair::Change(const std::function<void(Side&)>& change) {
  for (Side& s : sides_) change(s);
}

bool PassPair::Compare(const std::string& where) {
  EXPECT_FALSE(Indexed().sampling.plots.Empty()) << where;
  ExpectSamePlots(Indexed().sampling.plots, Plain().sampling.plots, where);
  EXPECT_EQ(Indexed().sampling.pass.sampleTreeTotal, Plain().sampling.pass.sampleTreeTotal) << where;
  return !::testing::Test::HasFailure();
}

}  // namespace tolvek::testing
