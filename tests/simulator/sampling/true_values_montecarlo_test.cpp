// The design's standard deviation of a single plot, worked out from the trees' selection areas, against
// the spread of real single-plot estimates of the inventory pass over many randomly shifted grids. Each
// grid point falls uniformly over the stand across the shifts, so the pooled plot estimates are draws of a
// randomly placed plot (the spread of a systematic grid's mean is another matter and is not compared).
#include <gtest/gtest.h>

#include <cmath>

#include "common/paths.h"
#include "simulator/sampling/grid.h"
#include "simulator/sampling/pass.h"
#include "simulator/sampling/true_values.h"
#include "simulator/stand/stand_loader.h"
#include "simulator/state.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

struct PooledPlots {
  double n = 0, sum = 0, sum2 = 0, sum4c = 0;
  std::vector<double> values;
  double Mean() const { return sum / n; }
  double Variance() const { return (sum2 - sum * sum / n) / (n - 1); }
  // Standard error of the variance from the fourth central moment.
  double VarianceError() const {
    const double m = Mean(), v = Variance();
    double m4 = 0;
    for (double x : values) m4 += std::pow(x - m, 4);
    m4 /= n;
    return std::sqrt(std::max(m4 - v * v, 0.0) / n);
  }
};

void Compare(MethodSettings method, int passes, std::uint32_t seed) {
  testing::FakeServices fakes;
  SimulatorState state(fakes.services);
  state.folders = ProgramFoldersFromFolder(testing::SourceDataDir());
  ASSERT_TRUE(TryLoadStand(state, JoinPath(state.folders.program, "Bestande/wBestnd01.txt")).ok());
  CurrentStand& cs = state.currentStand;

  GeometryContext g;
  const auto design = ComputeTrueValues(g, cs.trees, cs.boundary, cs.areaHa, method, nullptr);
  ASSERT_TRUE(design);
  ASSERT_EQ(design->clipFailures, 0);

  method.weighting = WeightingMode::TreeCentred;
  SamplingState sampling;
  sampling.method = method;
  sampling.grid.dx = sampling.grid.dy = 40;
  GeometryContext geometry;
  PassObserver observer;
  RunControl run;
  run.graphics = false;
  PassEnvironment env{sampling, cs.trees, cs.boundary, geometry, run, fakes.services, state.language, observer};
  env.repetition = true;
  env.singleStepWait = false;
  ASSERT_TRUE(NewGrid(sampling.grid, &cs.boundary, nullptr, GridContext{}).ok());
  RandomGenerator random(seed);
  PooledPlots pooled;
  for (int p = 0; p < passes; ++p) {
    ASSERT_EQ(RandomGridShiftAndPass(env, random), PassOutcome::Done);
    for (const PlotRecord& plot : sampling.plots.plots) {
      double gPerHa = 0;
      for (const SampleTreeRecord& t : sampling.plots.TreesOf(plot)) {
        const double d = t.dbh;
        gPerHa += kTrueBasalAreaFactor * d * d * t.edgeWeight * 10000.0 / t.plotArea;
      }
      pooled.n += 1;
      pooled.sum += gPerHa;
      pooled.sum2 += gPerHa * gPerHa;
      pooled.values.push_back(gPerHa);
    }
  }
  ASSERT_GT(pooled.n, 1000);
  const double truthG = design->G / cs.areaHa;
  const double designVar = design->sdPerHa * design->sdPerHa;
  const double meanError = std::sqrt(pooled.Variance() / pooled.n);
  EXPECT_NEAR(pooled.Mean(), truthG, 4 * meanError + 0.01 * truthG);
  EXPECT_NEAR(pooled.Variance(), designVar, 4 * pooled.VarianceError() + 0.02 * designVar)
      << "design SD " << design->sdPerHa << " pooled SD " << std::sqrt(pooled.Variance()) << " over " << pooled.n
      << " plots";
}

TEST(TrueValuesAgainstPasses, FixedCircles) {
  MethodSettings m;
  m.code = m.passCode = kMethodFixedCircle;
  m.circleArea = 500.0;
  m.circleRadius = std::sqrt(500.0 / kCirclePi);
  Compare(m, 300, 11);
}

TEST(TrueValuesAgainstPasses, AngleCount) {
  MethodSettings m;
  m.code = m.passCode = kMethodAngleCount;
  m.countingFactor = 4;
  m.countingMode = 1;
  Compare(m, 300, 12);
}

}  // namespace
}  // namespace tolvek
