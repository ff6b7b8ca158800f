#include "simulator/sampling/plot_memo.h"

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <cmath>
#include <string>

#include "common/circle_pi.h"
#include "common/language.h"
#include "simulator/sampling/edge_correction.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/pass.h"
#include "simulator/sampling/selection.h"
#include "simulator/stand/boundary.h"
#include "tests/support/boundary_of.h"
#include "tests/support/fakes.h"
#include "tests/support/pass_pair.h"

namespace tolvek {
namespace {

using testing::PassPair;
using testing::RandomStand;
using testing::TreeAt;


using testing::Irregular;

// Circles overlapping on a grid of 11 m: the angle count with factor 1, concentric circles up to 14 m.
MethodSettings Method(MethodCode code, bool treeCentred) {
  MethodSettings m = testing::Method(code, treeCentred);
  m.countingFactor = 1;
  m.concentricRadius = {0.0, 4.0, 8.0, 14.0, 0.0, 0.0, 0.0};
  m.concentricDbhLimit = {0, 7, 15, 30, 0, 0};
  return m;
}

std::string Name(MethodCode code, bool treeCentred) {
  return "method " + std::to_string(code) + (treeCentred ? " tree" : " plot");
}

int KeptWithTreeWeights(const PlotMemo& memo) {
  int n = 0;
  for (const PlotMemo::Entry* e : memo.byCentre)
    if (e != nullptr && (e->kept & PlotMemo::kTreeWeights) != 0 && e->weightCount > 0) ++n;
  return n;
}

// A grid of 11 m has 121 shifts: 150 repetitions meet many centres again, and each plot taken from
// what was kept must be the plot the whole list gives.
TEST(KeptCentres, RepetitionsOnFewShiftsEqualThePlainScan) {
  const TreeList trees = RandomStand(41, 700, 150.0, 110.0);
  for (MethodCode code : {kMethodFixedCircle, kMethodAngleCount, kMethodConcentric, kMethodNTree}) {
    for (bool treeCentred : {false, true}) {
      const std::string name = Name(code, treeCentred);
      PassPair pair(trees, Irregular(), Method(code, treeCentred), 11);
      bool same = pair.FirstPass(name);
      for (int pass = 1; pass <= 150 && same; ++pass) same = pair.ShiftedPass(name + " pass " + std::to_string(pass));
      const PlotMemo& memo = pair.Indexed().sampling.plotMemo;
      EXPECT_TRUE(memo.on) << name;
      EXPECT_GT(memo.reused, 2000) << name;
      EXPECT_FALSE(memo.full) << name;
      EXPECT_EQ(memo.clears, 1) << name;
      // The weights of trees near the boundary were kept and taken again.
      if (code == kMethodAngleCount && !treeCentred) {
        EXPECT_GT(KeptWithTreeWeights(memo), 50) << name;
      }
      EXPECT_EQ(pair.Plain().sampling.plotMemo.Bytes(), 0u) << name << ": the plain scan keeps nothing";
    }
  }
}

// Everything the kept answers come from is part of the key: a change of any of it in the middle of a
// run must give the plots the whole list gives with the change.
TEST(KeptCentres, AChangeOfWhatTheyCameFromEmptiesThem) {
  const TreeList trees = RandomStand(42, 600, 150.0, 110.0);
  struct Change {
    const char* what;
    MethodCode code;
    std::function<void(PassPair::Side&)> apply;
  };
  const Change changes[] = {
      {"a boundary corner moved", kMethodFixedCircle, [](PassPair::Side& s) { s.boundary.x[6] = 120.0; }},
      {"a boundary corner moved", kMethodAngleCount, [](PassPair::Side& s) { s.boundary.y[3] = 95.0; }},
      {"another circle area", kMethodFixedCircle, [](PassPair::Side& s) { s.sampling.method.circleArea = 500.0; }},
      {"another counting factor", kMethodAngleCount, [](PassPair::Side& s) { s.sampling.method.countingFactor = 2; }},
      {"another circle", kMethodConcentric, [](PassPair::Side& s) { s.sampling.method.concentricRadius[3] = 11.0; }},
      {"another diameter limit", kMethodConcentric,
       [](PassPair::Side& s) { s.sampling.method.concentricDbhLimit[2] = 20.0; }},
      {"another tree number", kMethodNTree, [](PassPair::Side& s) { s.sampling.method.treeNumber = 4; }},
      {"circles of other corners", kMethodAngleCount, [](PassPair::Side& s) { s.sampling.method.cornersPerCircle = 12; }},
      {"a tree moved", kMethodFixedCircle,
       [](PassPair::Side& s) {
         s.trees[5].x = 70.0;
         s.trees[5].y = 50.0;
       }},
      {"a tree moved", kMethodNTree,
       [](PassPair::Side& s) {
         s.trees[7].x = 40.0;
         s.trees[7].y = 40.0;
       }},
      {"a tree thicker", kMethodAngleCount, [](PassPair::Side& s) { s.trees[9].dbh = 95.0; }},
  };
  for (const Change& c : changes) {
    const std::string name = std::string(c.what) + ", " + Name(c.code, false);
    PassPair pair(trees, Irregular(), Method(c.code, false), 11);
    bool same = pair.FirstPass(name);
    for (int pass = 1; pass <= 30 && same; ++pass) same = pair.ShiftedPass(name + " before");
    ASSERT_GT(pair.Indexed().sampling.plotMemo.reused, 0) << name;
    pair.Change(c.apply);
    for (int pass = 1; pass <= 30 && same; ++pass) same = pair.ShiftedPass(name + " after, pass " + std::to_string(pass));
    EXPECT_EQ(pair.Indexed().sampling.plotMemo.clears, 2) << name;
  }
}

// Once the budget is spent, nothing more is kept and the passes go on as before.
TEST(KeptCentres, ASpentBudgetKeepsWhatItHasAndNothingMore) {
  const TreeList trees = RandomStand(43, 900, 150.0, 110.0);
  for (MethodCode code : {kMethodFixedCircle, kMethodAngleCount, kMethodNTree}) {
    const std::string name = Name(code, false);
    PassPair pair(trees, Irregular(), Method(code, false), 11);
    PlotMemo& memo = pair.Indexed().sampling.plotMemo;
    // Room for the table of slots and one block of answers.
    memo.budget = std::size_t{2} << 20;
    bool same = pair.FirstPass(name);
    for (int pass = 1; pass <= 100 && same; ++pass) same = pair.ShiftedPass(name + " pass " + std::to_string(pass));
    EXPECT_TRUE(memo.full) << name;
    EXPECT_LE(memo.Bytes(), memo.budget) << name;
    EXPECT_GT(memo.reused, 0) << name;
  }
}

// A weight that failed is not kept: the point is dropped again at every pass, exactly as the first time.
TEST(KeptCentres, AFailedWeightIsNeverKept) {
  // A square with a sliver 1.5 m wide; at (111, 1), 11 m into it, a circle of 10 m has far too little
  // stand to weigh, one of 25 m enough.
  const BoundaryPolygon sliver =
      testing::BoundaryOf({{0, 0}, {0, 100}, {100, 100}, {100, 1.5}, {300, 1.5}, {300, 0}, {0, 0}});
  GeometryContext probe;
  ASSERT_TRUE(EdgeWeight(probe, PolygonRef(sliver), 0.0, 10.0, 1.0, 111.0).failed);
  for (MethodCode code : {kMethodFixedCircle, kMethodAngleCount}) {
    testing::FakeServices fakes;
    LanguageTable language;
    RunControl run;
    GeometryContext geometry;
    SamplingState sampling;
    PassObserver observer;
    BoundaryPolygon boundary = sliver;
    // The angle count weighs the 20 cm tree's limiting circle of 10 m, the fixed circle its own of 10 m.
    TreeList trees = {TreeAt(30, 50, 50), TreeAt(20, 115, 1)};
    PassEnvironment env{sampling, trees, boundary, geometry, run, fakes.services, language, observer};
    env.repetition = true;
    env.singleStepWait = false;
    sampling.method = Method(code, false);
    sampling.method.circleArea = 10.0 * 10.0 * kCirclePi;
    SampleGrid& g = sampling.grid;
    g.dx = g.dy = 11;
    g.originX = g.originY = 0;
    ASSERT_TRUE(NewGrid(g, &boundary, nullptr, GridContext{}).ok());
    g.pointCount = 0;
    for (auto [x, y] : {std::pair{111, 1}, std::pair{50, 50}}) {
      g.Point(++g.pointCount) = GridPoint{};
      DropGridPoint(g, g.pointCount, x, y);
    }
    MarkInsidePoints(g, &boundary, nullptr, false, false);
    ASSERT_EQ(g.insideCount, 2);
    for (int pass = 1; pass <= 3; ++pass) {
      ASSERT_EQ(RunSamplingPass(env), PassOutcome::Done) << code;
      ASSERT_EQ(sampling.plots.plots.size(), 1u) << code << " pass " << pass;
      EXPECT_EQ(sampling.plots.plots[0].gridIndex, 2) << code << " pass " << pass;
    }
    const PlotMemo::Entry* failed = FindPlotMemoEntry(sampling.plotMemo, 111.0, 1.0);
    ASSERT_NE(failed, nullptr) << code;
    EXPECT_EQ(failed->kept & (PlotMemo::kPlotWeights | PlotMemo::kTreeWeights), 0) << code;
    EXPECT_GT(sampling.plotMemo.reused, 0) << code;
  }
}

TEST(KeptCentres, OnlyWholeMetresWithinTheBoundaryHaveASlot) {
  PlotMemo memo;
  const BoundaryPolygon b = testing::BoundaryOf({{10.5, 20}, {10.5, 60}, {50, 60}, {50, 20}, {10.5, 20}});
  memo.nextKey = {1.0};
  ASSERT_TRUE(BeginPlotMemo(memo, b));
  EXPECT_EQ(FindPlotMemoEntry(memo, 12.0, 30.0), nullptr);  // nothing made by looking
  PlotMemo::Entry* e = PlotMemoEntry(memo, 12.0, 30.0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(PlotMemoEntry(memo, 12.0, 30.0), e);
  EXPECT_EQ(FindPlotMemoEntry(memo, 12.0, 30.0), e);
  EXPECT_NE(PlotMemoEntry(memo, 10.0, 20.0), nullptr);  // the corners' whole metres
  EXPECT_NE(PlotMemoEntry(memo, 50.0, 60.0), nullptr);
  for (auto [x, y] : {std::pair{12.5, 30.0}, std::pair{12.0, 30.25}, std::pair{9.0, 30.0}, std::pair{52.0, 30.0},
                      std::pair{20.0, 19.0}, std::pair{20.0, 62.0}, std::pair{std::nan(""), 30.0},
                      std::pair{1e300, 30.0}})
    EXPECT_EQ(PlotMemoEntry(memo, x, y), nullptr) << x << ", " << y;
  // The same key keeps the entries; another empties the memo.
  ASSERT_TRUE(BeginPlotMemo(memo, b));
  EXPECT_EQ(FindPlotMemoEntry(memo, 12.0, 30.0), e);
  memo.nextKey = {2.0};
  ASSERT_TRUE(BeginPlotMemo(memo, b));
  EXPECT_EQ(FindPlotMemoEntry(memo, 12.0, 30.0), nullptr);
  EXPECT_EQ(memo.clears, 2);
  // A boundary too wide for a table of slots leaves the memo off.
  const BoundaryPolygon wide = testing::BoundaryOf({{0, 0}, {0, 1e6}, {1e6, 1e6}, {1e6, 0}, {0, 0}});
  memo.nextKey = {3.0};
  EXPECT_FALSE(BeginPlotMemo(memo, wide));
  EXPECT_EQ(PlotMemoEntry(memo, 5.0, 5.0), nullptr);
}

// The n-tree lists put back are the index's own: the listed trees with their distances bit for bit,
// every other slot at the list's limit, and the listed trees' layer markers.
TEST(KeptCentres, NearestListsComeBackWithTheirLayerMarkers) {
  TreeList trees = RandomStand(44, 400, 60.0, 60.0);
  TreeIndex index;
  BuildTreeIndex(index, trees);
  MethodSettings m = Method(kMethodNTree, false);
  m.treeNumber = 6;
  m.understoreyDbhLimit = 20.0;
  m.understoreyRadius = 5.0;
  m.understoreyRadiusSq = 25.0;
  m.passCode = kMethodNTree;
  TreeQuery q = TreeQueryFor(m);
  q.radius = 12.0;
  PlotMemo memo;
  memo.nextKey = {1.0};
  ASSERT_TRUE(BeginPlotMemo(memo, testing::BoundaryOf({{0, 0}, {0, 60}, {60, 60}, {60, 0}, {0, 0}})));
  int understorey = 0;
  for (auto [x, y] : {std::pair{30.0, 30.0}, std::pair{2.0, 57.0}, std::pair{45.0, 10.0}, std::pair{20.0, 20.0}}) {
    for (TreeRecord& t : trees) t.layer = 7;
    q.cx = x;
    q.cy = y;
    NearestLists fresh;
    ASSERT_TRUE(QueryNearestLists(index, trees, q, fresh));
    std::vector<std::uint8_t> layers;
    for (const TreeRecord& t : trees) layers.push_back(t.layer);
    PlotMemo::Entry* e = PlotMemoEntry(memo, x, y);
    ASSERT_NE(e, nullptr);
    KeepNearest(memo, *e, fresh, q.mainLimitSq, q.underLimitSq);
    ASSERT_NE(e->kept & PlotMemo::kNearest, 0);
    understorey += e->underCount;
    for (TreeRecord& t : trees) t.layer = 7;
    NearestLists back;
    back.mainDist.fill(-1.0);
    back.underDist.fill(-1.0);
    TakeNearest(*e, q.mainLimitSq, q.underLimitSq, back);
    for (std::size_t i = 1; i < 14; ++i) {
      EXPECT_EQ(std::bit_cast<std::uint64_t>(back.mainDist[i]), std::bit_cast<std::uint64_t>(fresh.mainDist[i])) << i;
      EXPECT_EQ(std::bit_cast<std::uint64_t>(back.underDist[i]), std::bit_cast<std::uint64_t>(fresh.underDist[i])) << i;
      if (fresh.mainDist[i] < q.mainLimitSq) {
        EXPECT_EQ(back.mainTree[i], fresh.mainTree[i]) << i;
      }
      if (fresh.underDist[i] < q.underLimitSq) {
        EXPECT_EQ(back.underTree[i], fresh.underTree[i]) << i;
      }
    }
    for (std::size_t i = 0; i < trees.size(); ++i) EXPECT_EQ(trees[i].layer, layers[i]) << "tree " << i;
  }
  EXPECT_GT(understorey, 0);
}

}  // namespace
}  // namespace tolvek
