#include "simulator/sampling/selection.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/circle_pi.h"
#include "tests/support/pass_pair.h"

namespace tolvek {
namespace {

// Weights without a boundary: a fixed answer, with the calls counted.
class FixedWeigher : public EdgeWeigher {
 public:
  double weight = 1.0;
  bool fail = false;
  int calls = 0;
  double Weight(double, double, double, double, bool& failed) override {
    ++calls;
    failed = fail;
    return weight;
  }
};

TreeRecord Tree(std::uint8_t species, double dbh, double x, double y) { return testing::TreeAt(dbh, x, y, species); }

struct Point {
  SamplingState s;
  TreeList trees;
  std::vector<TreeRecord*> candidates;
  GridPoint grid;
  SelectionPoint pt{1, &grid, false};
  FixedWeigher weigher;

  explicit Point(MethodCode code) {
    s.method.code = s.method.passCode = code;
    s.pass.centreX = s.pass.centreY = 0.0;
  }
  void Add(TreeRecord t) { trees.push_back(t); }
  void List() {
    candidates.clear();
    for (TreeRecord& t : trees) candidates.push_back(&t);
  }
  const PlotRecord& Plot() const { return s.plots.plots.back(); }
  std::span<const SampleTreeRecord> Trees() const { return s.plots.TreesOf(Plot()); }
};

TEST(FixedCircleSelection, TreeExactlyAtTheRadiusIsNotSelected) {
  Point p(kMethodFixedCircle);
  p.s.method.circleArea = 500.0;
  const double r = std::sqrt(500.0 / kCirclePi);
  p.Add(Tree(1, 30, r, 0.0));
  p.Add(Tree(5, 40, 0.0, r - 1e-9));
  p.List();
  p.s.pass.plotWeight = 1.25;
  ASSERT_TRUE(SelectCircleTrees(p.s, p.candidates, p.pt, 0, p.weigher));
  ASSERT_EQ(p.Trees().size(), 1u);
  EXPECT_EQ(p.Trees()[0].species, 5);
  EXPECT_DOUBLE_EQ(p.Trees()[0].plotArea, 500.0);
  EXPECT_DOUBLE_EQ(p.Trees()[0].edgeWeight, 1.25);  // plot-centred: the plot's weight
  EXPECT_DOUBLE_EQ(p.Plot().plotArea, 500.0);
  EXPECT_DOUBLE_EQ(p.Plot().insideShare, 0.8);
  EXPECT_EQ(p.weigher.calls, 0);
  EXPECT_EQ(p.s.pass.sampleTreeTotal, 1);
}

TEST(FixedCircleSelection, AnEmptyPlotIsOneEntryWithoutATree) {
  Point p(kMethodFixedCircle);
  p.Add(Tree(1, 30, 50.0, 50.0));
  p.List();
  ASSERT_TRUE(SelectCircleTrees(p.s, p.candidates, p.pt, 0, p.weigher));
  EXPECT_EQ(p.s.plots.plots.size(), 1u);
  EXPECT_EQ(p.Plot().treeCount, 0);
  EXPECT_EQ(p.s.pass.sampleTreeTotal, 1);
}

// A sample tree's record carries the pass's layer and the tree's species bytes and weight flag, and
// nothing of the tree's failure flag that lies beside them.
TEST(FixedCircleSelection, RecordTakesTheLayerSpeciesBytesAndWeightFlag) {
  Point p(kMethodFixedCircle);
  TreeRecord a = Tree(7, 30, 1.0, 0.0);
  a.species2 = 200;
  a.weightDone = 1;
  a.weightFailed = 1;
  TreeRecord b = Tree(9, 25, 0.0, 2.0);
  b.species2 = 3;
  b.weightFailed = 1;
  p.Add(a);
  p.Add(b);
  p.List();
  p.s.pass.layer = 1;
  ASSERT_TRUE(SelectCircleTrees(p.s, p.candidates, p.pt, 0, p.weigher));
  ASSERT_EQ(p.Trees().size(), 2u);
  const SampleTreeRecord& ra = p.Trees()[0];
  const SampleTreeRecord& rb = p.Trees()[1];
  EXPECT_EQ(std::vector<int>({ra.layer, ra.species, ra.species2, ra.weightDone}), std::vector<int>({1, 7, 200, 1}));
  EXPECT_EQ(std::vector<int>({rb.layer, rb.species, rb.species2, rb.weightDone}), std::vector<int>({1, 9, 3, 0}));
  EXPECT_EQ(ra.dbh, 30.0f);
  EXPECT_EQ(rb.y, 2.0f);
}

TEST(FixedCircleSelection, TreeCentredWeightIsComputedOncePerTreeWithItsFailure) {
  Point p(kMethodFixedCircle);
  p.pt.treeCentred = true;
  p.Add(Tree(1, 30, 3.0, 0.0));
  p.Add(Tree(2, 30, 0.0, 4.0));
  p.List();
  p.weigher.weight = 1.5;
  ASSERT_TRUE(SelectCircleTrees(p.s, p.candidates, p.pt, 0, p.weigher));
  EXPECT_EQ(p.weigher.calls, 2);
  EXPECT_DOUBLE_EQ(p.Trees()[1].edgeWeight, 1.5);
  EXPECT_EQ(p.Trees()[1].weightDone, 1);
  p.weigher.weight = 3.0;  // a second point: the cached weights stand
  ASSERT_TRUE(SelectCircleTrees(p.s, p.candidates, p.pt, 0, p.weigher));
  EXPECT_EQ(p.weigher.calls, 2);
  EXPECT_DOUBLE_EQ(p.Trees()[0].edgeWeight, 1.5);

  // A failed tree weight fails every point that selects the tree, without a new computation.
  Point q(kMethodFixedCircle);
  q.pt.treeCentred = true;
  q.Add(Tree(1, 30, 3.0, 0.0));
  q.List();
  q.weigher.fail = true;
  EXPECT_FALSE(SelectCircleTrees(q.s, q.candidates, q.pt, 0, q.weigher));
  q.weigher.fail = false;
  EXPECT_FALSE(SelectCircleTrees(q.s, q.candidates, q.pt, 0, q.weigher));
  EXPECT_EQ(q.weigher.calls, 1);
  // A new method choice forgets the cached weights.
  ClearTreeCentredWeights(q.trees);
  EXPECT_TRUE(SelectCircleTrees(q.s, q.candidates, q.pt, 0, q.weigher));
  EXPECT_EQ(q.weigher.calls, 2);
}

TEST(AngleCountSelection, LimitingDistanceOfA40cmTree) {
  for (int k : {4, 1}) {
    const double limit = k == 4 ? 10.0 : 20.0;
    Point p(kMethodAngleCount);
    p.Add(Tree(1, 40, limit - 0.001, 0.0));
    p.Add(Tree(2, 40, 0.0, limit));
    p.Add(Tree(3, 20, 0.0, -(limit / 2 - 0.01)));
    p.List();
    ASSERT_TRUE(SelectCircleTrees(p.s, p.candidates, p.pt, k, p.weigher));
    ASSERT_EQ(p.Trees().size(), 2u) << "k = " << k;
    EXPECT_EQ(p.Trees()[0].species, 1);
    EXPECT_EQ(p.Trees()[1].species, 3);
    EXPECT_NEAR(p.Trees()[0].plotArea, limit * limit * kCirclePi, 1e-9);
    EXPECT_DOUBLE_EQ(p.s.pass.strongestDbh, 40.0);
    EXPECT_DOUBLE_EQ(p.s.pass.strongestRadius, limit);
    EXPECT_EQ(p.weigher.calls, 2);  // plot-centred: each tree's own circle around the plot centre
  }
}

TEST(AngleCountSelection, SelectionAreaIsPiTimesTheLimitingRadiusSquared) {
  // The area is π × (dbh / 2)² / k as it stands; squaring the root of that radius² again differs in the
  // last bits for these trees, and the estimates divide by this area.
  Point p(kMethodAngleCount);
  p.Add(Tree(1, 7.2, 0.5, 0.0));
  p.Add(Tree(2, 7.5, 0.0, 0.5));
  p.List();
  ASSERT_TRUE(SelectCircleTrees(p.s, p.candidates, p.pt, 2, p.weigher));
  ASSERT_EQ(p.Trees().size(), 2u);
  EXPECT_EQ(p.Trees()[0].plotArea, kCirclePi * (3.6 * 3.6 / 2));
  EXPECT_EQ(p.Trees()[1].plotArea, kCirclePi * (3.75 * 3.75 / 2));
}

TEST(AngleCountSelection, AFailedTreeCircleFailsThePoint) {
  Point p(kMethodAngleCount);
  p.Add(Tree(1, 40, 1.0, 0.0));
  p.List();
  p.weigher.fail = true;
  EXPECT_FALSE(SelectCircleTrees(p.s, p.candidates, p.pt, 4, p.weigher));
}

MethodSettings Velmark() {
  MethodSettings m;
  m.code = m.passCode = kMethodConcentric;
  m.circleCount = 3;
  m.concentricRadius = {0, 5.64, 7.98, 12.62, 0, 0, 0};
  m.concentricDbhLimit = {0, 7, 20, 30, 0, 0};
  return m;
}

TEST(ConcentricSelection, RingByDbhAndDistance) {
  Point p(kMethodConcentric);
  p.s.method = Velmark();
  p.s.pass.concentricWeight = {0, 1.0, 1.1, 1.2, 0, 0};
  p.Add(Tree(1, 25, 7.0, 0.0));   // circle 2
  p.Add(Tree(2, 25, 9.0, 0.0));   // outside circle 2: not selected
  p.Add(Tree(3, 35, 0.0, 12.0));  // circle 3
  p.Add(Tree(4, 6, 1.0, 0.0));    // below every dbh limit
  p.Add(Tree(5, 12, 5.0, 0.0));   // circle 1
  p.List();
  ASSERT_TRUE(SelectConcentricTrees(p.s, p.candidates, p.pt, ConcentricLimitsOf(p.s.method), p.weigher));
  EXPECT_DOUBLE_EQ(p.Plot().plotArea, 0.0);
  const auto t = p.Trees();
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0].species, 1);
  EXPECT_NEAR(t[0].plotArea, kCirclePi * 7.98 * 7.98, 1e-9);
  EXPECT_DOUBLE_EQ(t[0].edgeWeight, 1.1);
  EXPECT_EQ(t[1].species, 3);
  EXPECT_NEAR(t[1].plotArea, kCirclePi * 12.62 * 12.62, 1e-9);
  EXPECT_DOUBLE_EQ(t[1].edgeWeight, 1.2);
  EXPECT_DOUBLE_EQ(t[1].distance, 12.0);
  EXPECT_EQ(t[2].species, 5);
  EXPECT_DOUBLE_EQ(t[2].edgeWeight, 1.0);
}

MethodSettings NTree(int n, int variant) {
  MethodSettings m;
  m.code = m.passCode = kMethodNTree;
  m.treeNumber = n;
  m.variant = static_cast<NTreeVariant>(variant);
  return m;
}

TEST(NTreeSelection, FewerTreesThanNWithinTwelveMetres) {
  Point p(kMethodNTree);
  p.s.method = NTree(6, 1);
  p.Add(Tree(1, 30, 2.0, 0.0));
  p.Add(Tree(2, 30, 0.0, 5.0));
  p.Add(Tree(3, 30, 20.0, 0.0));  // beyond 12 m
  p.Add(Tree(4, 30, -1.0, 0.0));
  p.Add(Tree(5, 30, 0.0, -11.0));
  p.List();
  ASSERT_TRUE(SelectNTreeTrees(p.s, p.candidates, p.pt, p.weigher));
  EXPECT_NEAR(p.Plot().plotArea, kCirclePi * 144.0, 1e-9);
  const auto t = p.Trees();
  ASSERT_EQ(t.size(), 4u);
  // Nearest first.
  EXPECT_EQ(t[0].species, 4);
  EXPECT_EQ(t[1].species, 1);
  EXPECT_EQ(t[2].species, 2);
  EXPECT_EQ(t[3].species, 5);
  EXPECT_DOUBLE_EQ(t[3].distance, 11.0);
  EXPECT_EQ(p.weigher.calls, 1);  // one weight for the main plot, at the plot centre
}

// The lists are kept from point to point: a point with fewer trees after a full one must list only its
// own, and a tree exactly at the twelve metres is not one of them.
TEST(NTreeSelection, APointAfterAFullerOneListsOnlyItsOwnTrees) {
  Point p(kMethodNTree);
  p.s.method = NTree(6, 1);
  for (int i = 1; i <= 9; ++i) p.Add(Tree(static_cast<std::uint8_t>(i), 30, 0.5 * i, 0.0));
  p.List();
  ASSERT_TRUE(SelectNTreeTrees(p.s, p.candidates, p.pt, p.weigher));
  ASSERT_EQ(p.Trees().size(), 6u);
  Point q(kMethodNTree);
  q.s = p.s;
  q.Add(Tree(7, 30, 0.0, 3.0));
  q.Add(Tree(8, 30, 12.0, 0.0));  // exactly at the limit
  q.Add(Tree(9, 30, 0.0, -2.0));
  q.List();
  ASSERT_TRUE(SelectNTreeTrees(q.s, q.candidates, q.pt, q.weigher));
  const auto t = q.Trees();
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].species, 9);
  EXPECT_EQ(t[1].species, 7);
  EXPECT_NEAR(q.Plot().plotArea, kCirclePi * 144.0, 1e-9);
}

TEST(NTreeSelection, OnlyTheFirstNTreesAndTheNthDistanceAsRadius) {
  Point p(kMethodNTree);
  p.s.method = NTree(2, 1);
  p.Add(Tree(1, 30, 4.0, 0.0));
  p.Add(Tree(2, 30, 3.0, 0.0));
  p.Add(Tree(3, 30, 0.0, 1.0));
  p.List();
  ASSERT_TRUE(SelectNTreeTrees(p.s, p.candidates, p.pt, p.weigher));
  ASSERT_EQ(p.Trees().size(), 2u);
  EXPECT_EQ(p.Trees()[0].species, 3);
  EXPECT_EQ(p.Trees()[1].species, 2);
  EXPECT_DOUBLE_EQ(p.s.pass.nTreeR1, 3.0);
  EXPECT_NEAR(p.Plot().plotArea, 9 * kCirclePi, 1e-12);
}

TEST(NTreeSelection, TiesGoToTheTreeMetFirst) {
  Point p(kMethodNTree);
  p.s.method = NTree(2, 1);
  p.Add(Tree(7, 30, 5.0, 0.0));
  p.Add(Tree(8, 30, 0.0, 5.0));
  p.Add(Tree(9, 30, -5.0, 0.0));
  p.List();
  ASSERT_TRUE(SelectNTreeTrees(p.s, p.candidates, p.pt, p.weigher));
  ASSERT_EQ(p.Trees().size(), 2u);
  EXPECT_EQ(p.Trees()[0].species, 7);
  EXPECT_EQ(p.Trees()[1].species, 8);
}

TEST(NTreeSelection, VariantFiveTakesTheQuadraticMeanOfTheNthAndNextDistance) {
  Point p(kMethodNTree);
  p.s.method = NTree(6, 5);
  for (int i = 1; i <= 5; ++i) p.Add(Tree(1, 30, 0.5 * i, 0.0));
  p.Add(Tree(2, 30, 0.0, 5.0));
  p.Add(Tree(3, 30, 0.0, -7.0));
  p.List();
  ASSERT_TRUE(SelectNTreeTrees(p.s, p.candidates, p.pt, p.weigher));
  EXPECT_NEAR(p.s.pass.nTreeR1, std::sqrt(37.0), 1e-12);
  EXPECT_EQ(p.Trees().size(), 6u);
  // Without a seventh tree the empty slot counts as 12 m.
  Point q(kMethodNTree);
  q.s.method = NTree(2, 5);
  q.Add(Tree(1, 30, 3.0, 0.0));
  q.Add(Tree(2, 30, 4.0, 0.0));
  q.List();
  ASSERT_TRUE(SelectNTreeTrees(q.s, q.candidates, q.pt, q.weigher));
  EXPECT_NEAR(q.s.pass.nTreeR1, std::sqrt((16.0 + 144.0) / 2.0), 1e-12);
}

TEST(NTreeSelection, UnderstoreyOfVariantFour) {
  Point p(kMethodNTree);
  p.s.method = NTree(2, 4);
  p.s.method.understoreyDbhLimit = 14;
  p.s.method.understoreyRadius = 4;
  p.s.method.understoreyRadiusSq = 16;
  p.Add(Tree(1, 10, 1.0, 0.0));   // understorey
  p.Add(Tree(2, 30, 2.0, 0.0));   // main
  p.Add(Tree(3, 12, 5.0, 0.0));   // too thin for the main list, beyond the understorey radius
  p.Add(Tree(4, 40, 6.0, 0.0));   // main
  p.List();
  ASSERT_TRUE(SelectNTreeTrees(p.s, p.candidates, p.pt, p.weigher));
  const auto t = p.Trees();
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0].species, 2);
  EXPECT_EQ(t[0].layer, 0);
  EXPECT_EQ(t[1].species, 4);
  EXPECT_EQ(t[2].species, 1);
  EXPECT_EQ(t[2].layer, 1);
  EXPECT_NEAR(p.Plot().plotArea, 36 * kCirclePi, 1e-9);
  EXPECT_NEAR(p.Plot().secondArea, 16 * kCirclePi, 1e-9);  // fewer than n understorey trees: its radius
  EXPECT_EQ(p.weigher.calls, 2);
}

TEST(NTreeSelection, EmptyPlotKeepsTheTwelveMetreArea) {
  Point p(kMethodNTree);
  p.s.method = NTree(6, 1);
  p.Add(Tree(1, 30, 30.0, 0.0));
  p.List();
  ASSERT_TRUE(SelectNTreeTrees(p.s, p.candidates, p.pt, p.weigher));
  EXPECT_EQ(p.Plot().treeCount, 0);
  EXPECT_EQ(p.s.pass.sampleTreeTotal, 1);
  EXPECT_NEAR(p.Plot().plotArea, 144 * kCirclePi, 1e-9);
  EXPECT_EQ(p.weigher.calls, 0);
}

TEST(NTreeSelection, InsertNearestShiftsTheListDown) {
  std::array<double, 14> d{};
  std::array<TreeRecord*, 14> t{};
  d.fill(144.0);
  TreeRecord a, b, c;
  InsertNearest(d, t, 2, &a, 9.0);
  InsertNearest(d, t, 2, &b, 4.0);
  InsertNearest(d, t, 2, &c, 9.0);
  EXPECT_EQ(t[1], &b);
  EXPECT_EQ(t[2], &a);
  EXPECT_EQ(t[3], &c);
  EXPECT_DOUBLE_EQ(d[4], 144.0);
}

// The list as the plain shift leaves it, for every tree number and long runs of inserts: lists that
// fill up, trees that land behind the slots that move (slot 12 with a short list) and the last slot 13.
TEST(NTreeSelection, InsertNearestAgreesWithThePlainShiftOnLongRuns) {
  const auto plain = [](std::array<double, 14>& dist, std::array<TreeRecord*, 14>& tree, int n, TreeRecord* t,
                        double d2) {
    for (int p = 1; p <= 12; ++p) {
      if (d2 < dist[p]) {
        for (int q = std::min(n + 5, 12); q >= p; --q) {
          dist[q + 1] = dist[q];
          tree[q + 1] = tree[q];
        }
        dist[p] = d2;
        tree[p] = t;
        return;
      }
    }
  };
  std::array<TreeRecord, 40> trees{};
  unsigned seed = 7;
  for (int n = 2; n <= 7; ++n) {
    for (int round = 0; round < 50; ++round) {
      std::array<double, 14> d1{}, d2{};
      std::array<TreeRecord*, 14> t1{}, t2{};
      d1.fill(144.0);
      d2.fill(144.0);
      for (TreeRecord& tree : trees) {
        seed = seed * 1103515245u + 12345u;
        const double dist = static_cast<double>((seed >> 16) % 150);  // ties and values past the limit too
        plain(d1, t1, n, &tree, dist);
        InsertNearest(d2, t2, n, &tree, dist);
        ASSERT_EQ(d1, d2) << "n " << n;
        ASSERT_EQ(t1, t2) << "n " << n;
      }
    }
  }
}

}  // namespace
}  // namespace tolvek
