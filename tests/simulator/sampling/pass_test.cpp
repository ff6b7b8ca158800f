#include "simulator/sampling/pass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "common/circle_pi.h"
#include "common/language.h"
#include "simulator/sampling/edge_correction.h"
#include "simulator/sampling/geometry.h"
#include "simulator/stand/boundary.h"
#include "tests/support/fakes.h"
#include "tests/support/pass_pair.h"

namespace tolvek {
namespace {


BoundaryPolygon PolygonOf(std::initializer_list<std::pair<double, double>> pts) {
  BoundaryPolygon b;
  int i = 0;
  for (auto [x, y] : pts) {
    ++i;
    b.x[static_cast<std::size_t>(i)] = x;
    b.y[static_cast<std::size_t>(i)] = y;
  }
  b.n = i;
  return b;
}

BoundaryPolygon Square200() { return PolygonOf({{0, 0}, {0, 200}, {200, 200}, {200, 0}, {0, 0}}); }

TreeRecord Tree(std::uint8_t species, double dbh, double x, double y) { return testing::TreeAt(dbh, x, y, species); }

// Six trees around four of the sixteen points of the square's grid (see HandMadeStand).
TreeList SixTrees() {
  return {Tree(1, 30, 28, 29),    // 5 m from (25, 25)
          Tree(5, 45, 75, 85),    // 10 m from (75, 75)
          Tree(2, 20, 88, 75),    // 13 m from (75, 75)
          Tree(1, 12, 175, 175),  // at (175, 175)
          Tree(3, 25, 125, 131),  // 6 m from (125, 125)
          Tree(3, 50, 131, 125)}; // 6 m from (125, 125)
}

struct Recorder : PassObserver {
  int circles = 0, trees = 0, plots = 0;
  std::vector<Colour> pens;
  std::string label;
  bool throwOnTree = false;
  void PlotCircle(double, double, double, Colour, bool) override { ++circles; }
  void SampledTree(std::uint8_t, double, double, double, Colour pen) override {
    if (throwOnTree) throw std::runtime_error("drawing failed");
    ++trees;
    pens.push_back(pen);
  }
  void PlotRecorded(int, const PlotRecord&) override { ++plots; }
  void PassFinished(const std::string& l) override { label = l; }
};

// A 200 m square, an unturned grid of 50 m with its origin at (24, 25): 16 inside points at
// x, y = 25, 75, 125, 175, visited column by column.
struct HandMadeStand {
  testing::FakeServices fakes;
  LanguageTable language;
  RunControl run;
  GeometryContext geometry;
  SamplingState sampling;
  BoundaryPolygon boundary = Square200();
  TreeList trees = SixTrees();
  Recorder observer;
  PassEnvironment env{sampling, trees, boundary, geometry, run, fakes.services, language, observer};

  explicit HandMadeStand(MethodCode code) {
    sampling.method.code = code;
    sampling.grid.rotation = 0.0;
    sampling.grid.originX = 24;
    sampling.grid.originY = 25;
  }
  void Grid() { ASSERT_TRUE(NewGrid(sampling.grid, &boundary, nullptr, GridContext{}).ok()); }
  // A grid of just these points (stand coordinates), marked against the boundary.
  int Points(std::initializer_list<std::pair<int, int>> at) {
    SampleGrid& g = sampling.grid;
    g.originX = g.originY = 0;
    EXPECT_TRUE(NewGrid(g, &boundary, nullptr, GridContext{}).ok());
    g.pointCount = 0;
    for (auto [x, y] : at) {
      g.Point(++g.pointCount) = GridPoint{};
      DropGridPoint(g, g.pointCount, x, y);
    }
    MarkInsidePoints(g, &boundary, nullptr, false, false);
    return g.insideCount;
  }
  const PlotList& Plots() const { return sampling.plots; }
  std::vector<int> SpeciesAt(int plot) const {
    std::vector<int> s;
    for (const auto& t : Plots().TreesOf(Plots().plots[static_cast<std::size_t>(plot)])) s.push_back(t.species);
    return s;
  }
};

TEST(InventoryPass, FixedCirclesOnAHandMadeStand) {
  HandMadeStand st(kMethodFixedCircle);
  st.sampling.method.circleArea = 500.0;
  st.sampling.method.circleRadius = std::sqrt(500.0 / kCirclePi);
  st.Grid();
  EXPECT_EQ(st.sampling.grid.insideCount, 16);
  ASSERT_EQ(RunSamplingPass(st.env), PassOutcome::Done);

  const PlotList& p = st.Plots();
  ASSERT_EQ(p.plots.size(), 16u);
  EXPECT_EQ(st.sampling.pass.plotCount, 16);
  EXPECT_EQ(st.sampling.pass.passPlotTotal, 16);
  EXPECT_EQ(st.sampling.pass.sampleTreeTotal, 17);  // 5 trees + 12 empty plots
  EXPECT_EQ(st.sampling.method.passCode, kMethodFixedCircle);
  EXPECT_EQ(st.SpeciesAt(0), (std::vector<int>{1}));
  EXPECT_EQ(st.SpeciesAt(5), (std::vector<int>{5}));      // T3 at 13 m stays out
  EXPECT_EQ(st.SpeciesAt(10), (std::vector<int>{3, 3}));  // equal distances: list order
  EXPECT_EQ(st.SpeciesAt(15), (std::vector<int>{1}));
  for (int k : {1, 2, 3, 4, 6, 7, 8, 9, 11, 12, 13, 14}) EXPECT_TRUE(st.SpeciesAt(k).empty()) << k;
  const auto t = p.TreesOf(p.plots[10]);
  EXPECT_DOUBLE_EQ(t[0].distance, 6.0);
  EXPECT_FLOAT_EQ(t[1].dbh, 50.0f);
  for (const auto& plot : p.plots) {
    EXPECT_DOUBLE_EQ(plot.plotArea, 500.0);
    EXPECT_DOUBLE_EQ(plot.insideShare, 1.0);
  }
  for (const auto& tr : p.trees) {
    EXPECT_DOUBLE_EQ(tr.edgeWeight, 1.0);
    EXPECT_DOUBLE_EQ(tr.plotArea, 500.0);
  }
  EXPECT_EQ(p.plots[10].gridIndex, 4 * 16 + 5);  // column x = 125 (the fifth of 16-point columns), row y = 125
  EXPECT_EQ(st.observer.circles, 16);
  EXPECT_EQ(st.observer.trees, 5);
  EXPECT_EQ(st.observer.plots, 16);
  EXPECT_EQ(st.observer.label, "Probebäume:          17");
  EXPECT_TRUE(st.fakes.messages.shown.empty());
}

TEST(InventoryPass, AngleCountAndNTreeOnTheSameStand) {
  HandMadeStand wzp(kMethodAngleCount);
  wzp.sampling.method.countingFactor = 4;
  wzp.Grid();
  ASSERT_EQ(RunSamplingPass(wzp.env), PassOutcome::Done);
  EXPECT_EQ(wzp.Plots().plots.size(), 16u);
  EXPECT_EQ(wzp.Plots().trees.size(), 5u);
  const auto t = wzp.Plots().TreesOf(wzp.Plots().plots[10]);
  ASSERT_EQ(t.size(), 2u);
  EXPECT_NEAR(t[0].plotArea, 6.25 * 6.25 * kCirclePi, 1e-9);  // R = dbh / 4 for k = 4
  EXPECT_NEAR(t[1].plotArea, 12.5 * 12.5 * kCirclePi, 1e-9);
  EXPECT_EQ(wzp.observer.circles, 0);

  HandMadeStand nt(kMethodNTree);
  nt.sampling.method.treeNumber = 2;
  nt.Grid();
  ASSERT_EQ(RunSamplingPass(nt.env), PassOutcome::Done);
  const PlotList& p = nt.Plots();
  ASSERT_EQ(p.plots.size(), 16u);
  EXPECT_EQ(nt.SpeciesAt(0), (std::vector<int>{1}));
  EXPECT_EQ(nt.SpeciesAt(5), (std::vector<int>{5}));  // T3 at 13 m lies beyond 12 m
  EXPECT_EQ(nt.SpeciesAt(10), (std::vector<int>{3, 3}));
  EXPECT_NEAR(p.plots[0].plotArea, 144 * kCirclePi, 1e-9);
  EXPECT_NEAR(p.plots[10].plotArea, 36 * kCirclePi, 1e-9);
  EXPECT_NEAR(p.plots[1].plotArea, 144 * kCirclePi, 1e-9);
  EXPECT_EQ(nt.sampling.pass.sampleTreeTotal, 17);
}

TEST(InventoryPass, PlotWeightFromTheEdgeCorrection) {
  HandMadeStand st(kMethodFixedCircle);
  st.sampling.method.circleArea = 500.0;  // the radius follows from the area
  // One point 5 m from the western edge: the boundary cuts a straight chord.
  ASSERT_EQ(st.Points({{5, 100}}), 1);
  st.trees = {Tree(4, 30, 6, 100)};
  ASSERT_EQ(RunSamplingPass(st.env), PassOutcome::Done);
  const double r = std::sqrt(500.0 / kCirclePi);
  const double s = std::sqrt(r * r - 25.0) / r;
  const double theta = 2.0 * std::atan(s / std::sqrt(1.0 - s * s));
  const double expected = (r * r * kCirclePi) / (r * r * (kCirclePi - (theta - std::sin(theta)) / 2.0));
  ASSERT_EQ(st.Plots().plots.size(), 1u);
  EXPECT_NEAR(st.Plots().trees[0].edgeWeight, expected, 1e-9);
  EXPECT_NEAR(st.Plots().plots[0].insideShare, 1.0 / expected, 1e-9);
  EXPECT_GT(expected, 1.2);
}

// A stand read into the same boundary between passes (as another stand is read into the program's one
// record) must be weighed as itself, though the edge correction keeps what it took of the boundary: the
// second pass gives the weights a fresh program gives.
TEST(InventoryPass, ABoundaryChangedInPlaceBetweenPassesIsWeighedAfresh) {
  HandMadeStand st(kMethodAngleCount);
  st.sampling.method.countingFactor = 1;
  ASSERT_EQ(st.Points({{5, 100}, {100, 6}, {195, 120}}), 3);
  st.trees = {Tree(4, 60, 6, 100), Tree(2, 70, 100, 8), Tree(1, 65, 193, 121)};
  ASSERT_EQ(RunSamplingPass(st.env), PassOutcome::Done);
  // The western edge moves 1 mm outwards, the rest stays.
  st.boundary.x[1] = st.boundary.x[2] = st.boundary.x[5] = -0.001;
  ASSERT_EQ(RunSamplingPass(st.env), PassOutcome::Done);
  HandMadeStand fresh(kMethodAngleCount);
  fresh.sampling.method.countingFactor = 1;
  fresh.boundary = st.boundary;
  ASSERT_EQ(fresh.Points({{5, 100}, {100, 6}, {195, 120}}), 3);
  fresh.trees = st.trees;
  ASSERT_EQ(RunSamplingPass(fresh.env), PassOutcome::Done);
  ASSERT_EQ(st.Plots().trees.size(), 3u);
  ASSERT_EQ(fresh.Plots().trees.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(st.Plots().trees[i].edgeWeight, fresh.Plots().trees[i].edgeWeight) << i;
  EXPECT_NE(st.Plots().trees[0].edgeWeight, 1.0);
}

// The angle count weighs every sample tree's own circle at the plot centre. Circles that clear the
// boundary skip the weighing; those from just below to well beyond the centre's distance from the edge
// must still weigh as the edge correction says, in whatever order the trees come.
TEST(InventoryPass, AngleCountWeightsOfCirclesAroundTheDistanceFromTheEdge) {
  for (bool growing : {true, false}) {
    HandMadeStand st(kMethodAngleCount);
    st.sampling.method.countingFactor = 1;
    // 20 m from the western edge, 30 m from the southern one.
    ASSERT_EQ(st.Points({{20, 30}}), 1);
    st.trees.clear();
    for (int k = 0; k <= 80; ++k) {
      const double dbh = growing ? 30.0 + k * 0.5 : 70.0 - k * 0.5;  // R = dbh / 2: 15 .. 35 m
      st.trees.push_back(Tree(1, dbh, 20.5, 30.0));
    }
    ASSERT_EQ(RunSamplingPass(st.env), PassOutcome::Done);
    const auto records = st.Plots().TreesOf(st.Plots().plots.at(0));
    ASSERT_EQ(records.size(), st.trees.size());
    GeometryContext fresh;
    fresh.cornersPerCircle = st.geometry.cornersPerCircle;
    int cut = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
      const double R = st.trees[i].dbh * 0.5;
      const EdgeWeightResult direct = EdgeWeight(fresh, PolygonRef(st.boundary), kCirclePi * (R * R), R, 30.0, 20.0);
      ASSERT_FALSE(direct.failed);
      EXPECT_EQ(records[i].edgeWeight, direct.weight) << "R " << R;
      cut += direct.weight != 1.0 ? 1 : 0;
    }
    EXPECT_GT(cut, 40);
    EXPECT_LT(cut, 80);
  }
}

// A pass of the angle count keeps each tree's limiting distance from pass to pass; another counting
// factor or another diameter must count as in a fresh program.
TEST(InventoryPass, AngleCountLimitsFollowTheFactorAndTheDiameters) {
  const auto plotsOf = [](HandMadeStand& st) {
    std::vector<std::pair<double, double>> v;
    for (const SampleTreeRecord& t : st.Plots().trees) v.emplace_back(t.plotArea, t.edgeWeight);
    return v;
  };
  const auto fresh = [&](int factor, const TreeList& trees) {
    HandMadeStand f(kMethodAngleCount);
    f.sampling.method.countingFactor = static_cast<std::uint8_t>(factor);
    f.trees = trees;
    f.Grid();
    EXPECT_EQ(RunSamplingPass(f.env), PassOutcome::Done);
    return plotsOf(f);
  };
  HandMadeStand st(kMethodAngleCount);
  st.sampling.method.countingFactor = 1;
  st.Grid();
  ASSERT_EQ(RunSamplingPass(st.env), PassOutcome::Done);
  EXPECT_EQ(plotsOf(st), fresh(1, st.trees));
  st.sampling.method.countingFactor = 4;
  ASSERT_EQ(RunSamplingPass(st.env), PassOutcome::Done);
  EXPECT_EQ(plotsOf(st), fresh(4, st.trees));
  st.trees[2].dbh = 60.0;  // 13 m from its point: with k = 4 counted only now
  ASSERT_EQ(RunSamplingPass(st.env), PassOutcome::Done);
  const auto changed = plotsOf(st);
  EXPECT_EQ(changed, fresh(4, st.trees));
  EXPECT_GT(changed.size(), fresh(4, SixTrees()).size());
}

TEST(InventoryPass, AWeightOutsideTheRangeDropsThePointWhole) {
  HandMadeStand st(kMethodFixedCircle);
  st.sampling.method.circleArea = 500.0;
  st.sampling.method.circleRadius = std::sqrt(500.0 / kCirclePi);
  // A square with a sliver 1.5 m wide: a plot in the sliver has a weight far above 10.
  st.boundary = PolygonOf({{0, 0}, {0, 100}, {100, 100}, {100, 1.5}, {300, 1.5}, {300, 0}, {0, 0}});
  st.trees = {Tree(1, 30, 52, 50), Tree(2, 20, 250, 1.2), Tree(3, 20, 151, 1)};
  ASSERT_EQ(st.Points({{150, 1}, {50, 50}, {250, 1}}), 3);
  ASSERT_EQ(RunSamplingPass(st.env), PassOutcome::Done);
  ASSERT_EQ(st.Plots().plots.size(), 1u);
  EXPECT_EQ(st.Plots().plots[0].gridIndex, 2);
  EXPECT_EQ(st.SpeciesAt(0), (std::vector<int>{1}));
  EXPECT_EQ(st.sampling.pass.plotCount, 1);
  EXPECT_EQ(st.sampling.pass.sampleTreeTotal, 1);
  EXPECT_EQ(st.observer.trees, 1);  // nothing of a dropped point is drawn
}

TEST(InventoryPass, TreeCentredFailureDropsThePointNotAPartialPlot) {
  HandMadeStand st(kMethodFixedCircle);
  st.sampling.method.circleArea = 500.0;
  st.sampling.method.circleRadius = std::sqrt(500.0 / kCirclePi);
  st.sampling.method.weighting = WeightingMode::TreeCentred;
  st.env.repetition = true;
  st.boundary = PolygonOf({{0, 0}, {0, 100}, {100, 100}, {100, 1.5}, {300, 1.5}, {300, 0}, {0, 0}});
  // The plot at the sliver's mouth is fine, so is the first tree; the second stands in the sliver, where
  // its own circle fails.
  st.trees = {Tree(1, 30, 95, 5), Tree(2, 20, 113, 1)};
  ASSERT_EQ(st.Points({{101, 1}}), 1);
  EXPECT_EQ(RunSamplingPass(st.env), PassOutcome::NoPlots);
  EXPECT_EQ(st.trees[0].weightDone, 1);
  EXPECT_EQ(st.trees[0].weightFailed, 0);
  EXPECT_TRUE(st.Plots().plots.empty());
  EXPECT_TRUE(st.Plots().trees.empty());
  EXPECT_EQ(st.sampling.pass.sampleTreeTotal, 0);
  EXPECT_EQ(st.trees[1].weightDone, 1);
  EXPECT_EQ(st.trees[1].weightFailed, 1);
}

TEST(InventoryPass, AFailedInnerConcentricCircleIsNotHiddenByTheOuterOne) {
  HandMadeStand st(kMethodConcentric);
  MethodSettings& m = st.sampling.method;
  m.circleCount = 3;
  m.concentricRadius = {0, 5.0, 10.0, 25.0, 0, 0, 0};
  m.concentricDbhLimit = {0, 7, 20, 30, 0, 0};
  st.boundary = PolygonOf({{0, 0}, {0, 100}, {100, 100}, {100, 1.5}, {300, 1.5}, {300, 0}, {0, 0}});
  st.trees = {Tree(1, 35, 120, 1)};
  // In the sliver 11 m from its mouth: circle 2 has far too little stand, circle 3 enough.
  GeometryContext probe;
  ASSERT_TRUE(EdgeWeight(probe, PolygonRef(st.boundary), 0.0, 10.0, 1.0, 111.0).failed);
  ASSERT_FALSE(EdgeWeight(probe, PolygonRef(st.boundary), 0.0, 25.0, 1.0, 111.0).failed);
  ASSERT_EQ(st.Points({{111, 1}}), 1);
  EXPECT_EQ(RunSamplingPass(st.env), PassOutcome::NoPlots);
  EXPECT_TRUE(st.Plots().plots.empty());
}

TEST(InventoryPass, NoInsidePointMeansNoSampleTrees) {
  HandMadeStand st(kMethodFixedCircle);
  st.Grid();
  for (int i = 1; i <= st.sampling.grid.pointCount; ++i) st.sampling.grid.Point(i).inside = 0;
  EXPECT_EQ(RunSamplingPass(st.env), PassOutcome::NoPlots);
  ASSERT_EQ(st.fakes.messages.shown.size(), 1u);
  EXPECT_EQ(st.fakes.messages.shown[0].text, "Keine Probebäume gefunden");
  EXPECT_TRUE(st.fakes.messages.shown[0].platform);
  EXPECT_TRUE(st.Plots().Empty());
  // Cancel asks for the end of the program: the pass says so and ends nothing itself.
  st.fakes.messages.answers.push_back(kResultCancel);
  EXPECT_EQ(RunSamplingPass(st.env), PassOutcome::EndProgram);
  EXPECT_EQ(st.fakes.exit.quits, 0);
  EXPECT_TRUE(st.Plots().Empty());
}

TEST(InventoryPass, WithoutAMethodNothingHappens) {
  HandMadeStand st(kMethodNone);
  st.sampling.plots.plots.push_back(PlotRecord{});
  EXPECT_EQ(RunSamplingPass(st.env), PassOutcome::NoMethod);
  EXPECT_TRUE(st.fakes.messages.Saw("Bitte Verfahren festlegen"));
  EXPECT_EQ(st.sampling.plots.plots.size(), 1u);  // the last pass stays
  EXPECT_FALSE(st.sampling.grid.exists);
}

TEST(InventoryPass, MakesItsGridWhenThereIsNone) {
  HandMadeStand st(kMethodFixedCircle);
  ASSERT_EQ(RunSamplingPass(st.env), PassOutcome::Done);
  EXPECT_TRUE(st.sampling.grid.exists);
  EXPECT_EQ(st.Plots().plots.size(), 16u);
}

TEST(InventoryPass, StorageIsReusedFromPassToPass) {
  HandMadeStand st(kMethodFixedCircle);
  st.Grid();
  ASSERT_EQ(RunSamplingPass(st.env), PassOutcome::Done);
  const auto* plots = st.Plots().plots.data();
  const auto* trees = st.Plots().trees.data();
  const auto* candidates = st.sampling.scratch.candidates.data();
  ASSERT_EQ(RunSamplingPass(st.env), PassOutcome::Done);
  EXPECT_EQ(st.Plots().plots.data(), plots);
  EXPECT_EQ(st.Plots().trees.data(), trees);
  EXPECT_EQ(st.sampling.scratch.candidates.data(), candidates);
  EXPECT_EQ(st.Plots().plots.size(), 16u);  // the old list is replaced, not extended
  EXPECT_EQ(st.sampling.pass.sampleTreeTotal, 17);
}

TEST(InventoryPass, RandomShiftMovesTheGridWithinOneCellAndRunsThePass) {
  HandMadeStand st(kMethodFixedCircle);
  st.Grid();
  SampleGrid& g = st.sampling.grid;
  g.baseOriginX = 24;
  g.baseOriginY = 25;
  RandomGenerator random(99);
  for (int k = 0; k < 5; ++k) {
    ASSERT_EQ(RandomGridShiftAndPass(st.env, random), PassOutcome::Done);
    EXPECT_GE(g.originX, 24);
    EXPECT_LT(g.originX, 24 + 50);
    EXPECT_GE(g.originY, 25);
    EXPECT_LT(g.originY, 25 + 50);
    EXPECT_TRUE(g.assign);
    EXPECT_EQ(st.sampling.pass.plotCount, g.insideCount);
    EXPECT_EQ(st.Plots().plots.size(), static_cast<std::size_t>(g.insideCount));
  }
}

TEST(EnterpriseRoute, RandomPlotCentreInsideTheModelStand) {
  BoundaryPolygon b = Square200();
  b.minX = 1000;
  b.maxX = 1200;
  b.minY = 50;
  b.maxY = 250;
  RandomGenerator random(7);
  RandomGenerator copy = random;
  double x = -1, y = -1;
  ASSERT_TRUE(RandomPlotCentre(b, random, x, y));
  EXPECT_EQ(x, copy.Next(200));
  EXPECT_EQ(y, copy.Next(200));
  // No position inside: 101 tries, then the last one stays.
  BoundaryPolygon none = PolygonOf({{0.25, 0.25}, {0.25, 0.75}, {0.75, 0.75}, {0.75, 0.25}, {0.25, 0.25}});
  none.minX = none.minY = 0;
  none.maxX = none.maxY = 10;
  RandomGenerator r2(3), c2(3);
  EXPECT_FALSE(RandomPlotCentre(none, r2, x, y));
  for (int k = 0; k < 202; ++k) c2.Next(10);
  EXPECT_EQ(r2.Seed(), c2.Seed());
}

TEST(InventoryPass, GraphicsOffDrawsNothing) {
  HandMadeStand st(kMethodFixedCircle);
  st.run.graphics = false;
  st.Grid();
  ASSERT_EQ(RunSamplingPass(st.env), PassOutcome::Done);
  EXPECT_EQ(st.observer.circles, 0);
  EXPECT_EQ(st.observer.trees, 0);
  EXPECT_EQ(st.observer.plots, 16);
}

TEST(InventoryPass, EndRequestedWhileRunningStopsThePass) {
  HandMadeStand st(kMethodFixedCircle);
  st.Grid();
  st.fakes.pump.onPump = [&](int) { st.run.endRequested = true; };
  EXPECT_EQ(RunSamplingPass(st.env), PassOutcome::Stopped);
  EXPECT_FALSE(st.sampling.pass.completed);
  EXPECT_TRUE(st.fakes.messages.shown.empty());
}

// The passes of a run handle events on the run's schedule: a pass right after a pump does not pump
// again at its start (that repainted the windows at every repetition); one that finds a pump due does.
TEST(InventoryPass, PassesHandleEventsOnTheRunsSchedule) {
  HandMadeStand st(kMethodFixedCircle);
  st.Grid();
  st.env.singleStepWait = false;
  ASSERT_EQ(RunSamplingPass(st.env), PassOutcome::Done);
  const int pumps = st.fakes.pump.pumps;
  ASSERT_GE(pumps, 1);
  ASSERT_EQ(RunSamplingPass(st.env), PassOutcome::Done);
  EXPECT_EQ(st.fakes.pump.pumps, pumps);
  st.fakes.clock.now += 20;
  ASSERT_EQ(RunSamplingPass(st.env), PassOutcome::Done);
  EXPECT_EQ(st.fakes.pump.pumps, pumps + 1);
}

TEST(InventoryPass, AFailureWhileDrawingEndsTheProgramWithItsStageCode) {
  HandMadeStand st(kMethodFixedCircle);
  st.Grid();
  st.observer.throwOnTree = true;
  EXPECT_THROW(RunSamplingPass(st.env), testing::ProgramTerminated);
  EXPECT_TRUE(st.fakes.messages.Saw("Fehler: Fehler1889"));
}

}  // namespace
}  // namespace tolvek

namespace {
tolvek::SampleTreeRecord Record(double distance, std::uint8_t species) {
  tolvek::SampleTreeRecord r;
  r.distance = distance;
  r.species = species;
  return r;
}
}  // namespace

// The sample-tree storage hands out room behind its records that a selection fills before counting it:
// growing must keep every counted record, room not counted must never show, and copies must be whole.
TEST(SampleTreeStorage, RoomCountsOnlyWhatIsCommittedAndGrowingKeepsTheRecords) {
  tolvek::SampleTreeStore store;
  EXPECT_TRUE(store.empty());
  store.push_back(Record(1.0, 1));
  tolvek::SampleTreeRecord* room = store.Room(500);  // far beyond the first capacity: moves the records
  ASSERT_GE(store.capacity(), 501u);
  EXPECT_EQ(store.size(), 1u);
  EXPECT_EQ(store[0].distance, 1.0);
  for (int i = 0; i < 500; ++i) room[i] = Record(2.0 + i, 2);
  store.Commit(3);  // only three of the trees written were kept
  ASSERT_EQ(store.size(), 4u);
  EXPECT_EQ(store.back().distance, 4.0);

  store.resize(6);  // new records are default records, not what the room held
  EXPECT_EQ(store[4].distance, 0.0);
  EXPECT_EQ(store[5].edgeWeight, 1.0);
  // Growing far beyond the capacity moves the records and fills the new ones in the new place.
  const std::size_t large = store.capacity() * 3;
  store.resize(large);
  ASSERT_EQ(store.size(), large);
  EXPECT_EQ(store[3].distance, 4.0);
  EXPECT_EQ(store[large - 1].edgeWeight, 1.0);
  EXPECT_EQ(store[large - 1].distance, 0.0);
  store.resize(2);
  store.pop_back();
  ASSERT_EQ(store.size(), 1u);

  // A record of the store appended to it while the store grows is copied before it moves.
  tolvek::SampleTreeStore full{Record(9.0, 1)};
  while (full.size() < full.capacity()) full.push_back(Record(1.0, 1));
  full.push_back(full[0]);
  EXPECT_EQ(full.back().distance, 9.0);

  tolvek::SampleTreeStore copy = store;
  store.clear();
  EXPECT_TRUE(store.empty());
  ASSERT_EQ(copy.size(), 1u);
  EXPECT_EQ(copy.front().distance, 1.0);
  copy = tolvek::SampleTreeStore{Record(7.0, 3), Record(8.0, 4)};
  ASSERT_EQ(copy.size(), 2u);
  EXPECT_EQ(copy[1].species, 4);
  tolvek::SampleTreeStore moved = std::move(copy);
  EXPECT_EQ(moved.size(), 2u);
  EXPECT_TRUE(copy.empty());  // NOLINT: the moved-from store is empty, not half there
}

// A plot whose failure flag is set writes into the room but records nothing, and the counters of the
// pass stay as they were.
TEST(SampleTreeStorage, ARecorderThatMayNotRecordLeavesNoTrace) {
  tolvek::SamplingState s;
  tolvek::AppendPlot(s, nullptr, 1, 500.0, 0.0, 0.0);
  s.pass.failed = true;
  tolvek::TreeRecord tree;
  tree.species = 3;
  tolvek::SampleTreeRecorder recorder(s, 4);
  recorder.Add(tree, 2.0, 0, 1.0, 500.0);
  recorder.Finish();
  EXPECT_TRUE(s.plots.trees.empty());
  EXPECT_EQ(s.pass.sampleTreeTotal, 0);
  EXPECT_EQ(s.plots.plots.back().treeCount, 0);
  EXPECT_EQ(s.pass.speciesSeen[3], 0);
}
