#include "simulator/sampling/true_values.h"

#include <gtest/gtest.h>

#include <cmath>

#include "simulator/sampling/edge_correction.h"
#include "tests/support/boundary_of.h"

namespace tolvek {
namespace {

using testing::BoundaryOf;

BoundaryPolygon Square(double side) { return BoundaryOf({{0, 0}, {0, side}, {side, side}, {side, 0}, {0, 0}}); }

TreeRecord Tree(double dbh, double x, double y) {
  TreeRecord t;
  t.species = 1;
  t.dbh = dbh;
  t.x = x;
  t.y = y;
  return t;
}

MethodChoice FixedCircle(double r) {
  MethodChoice m;
  m.code = kMethodFixedCircle;
  m.circleRadius = r;
  m.circleArea = kCirclePi * r * r;
  return m;
}

MethodChoice AngleCount(int k) {
  MethodChoice m;
  m.code = kMethodAngleCount;
  m.countingFactor = static_cast<std::uint8_t>(k);
  return m;
}

struct Stand {
  GeometryContext g;
  BoundaryPolygon boundary;
  TreeList trees;
  DesignValues v;
  bool Compute(const MethodChoice& m, double ha) {
    auto r = ComputeTrueValues(g, trees, boundary, ha, m, nullptr);
    if (r) v = *r;
    return r.has_value();
  }
};

TEST(TrueValueGeometry, LensAreasAndOverlapPredicate) {
  EXPECT_NEAR(LensArea(10, {0, 0}, 10, {10, 0}), 122.83697, 1e-5);
  EXPECT_NEAR(LensArea(10, {0, 0}, 6, {12, 0}), 27.708517, 1e-5);
  EXPECT_NEAR(LensArea(10, {0, 0}, 5, {3, 0}), kCirclePi * 25, 1e-9);  // contained either way round
  EXPECT_NEAR(LensArea(5, {3, 0}, 10, {0, 0}), kCirclePi * 25, 1e-9);
  EXPECT_NEAR(LensArea(8, {40, 50}, 8, {48, 50}), 78.615661, 1e-5);
  // Equal circles at the distance of a right angle: the cosine of 0 takes the π/2 branch.
  EXPECT_NEAR(LensArea(1, {0, 0}, 1, {std::sqrt(2.0), 0}), (kCirclePi / 2 - 1) * 1, 1e-9);
  EXPECT_FALSE(CirclesOverlap(5, {0, 0}, 5, {std::sqrt(99.0), 0}));  // d² = 0.99 (r1 + r2)² exactly
  EXPECT_TRUE(CirclesOverlap(5, {0, 0}, 5, {std::sqrt(98.99), 0}));
}

TEST(TrueValueGeometry, CircleReachesEdge) {
  EXPECT_TRUE(CircleCutsEdge({0, 0}, {0, 100}, {3, 50}, 8));       // vertical edge
  EXPECT_TRUE(CircleCutsEdge({0, 0}, {100, 0}, {50, 3}, 8));       // horizontal edge
  EXPECT_FALSE(CircleCutsEdge({0, 0}, {0, 100}, {9, 50}, 8));
  EXPECT_FALSE(CircleCutsEdge({0, 0}, {0, 10}, {3, 30}, 8));       // the line, not the segment
  EXPECT_TRUE(CircleCutsEdge({0, 0}, {10, 10}, {5, 6}, 3));        // slanted
  EXPECT_TRUE(CircleCutsEdge({0, 0}, {1, 1}, {0.5, 0.5}, 50));     // the whole edge within the circle
}

TEST(TrueValueRadius, ByMethod) {
  EXPECT_DOUBLE_EQ(SelectionRadius(FixedCircle(8), 30), 8);
  EXPECT_DOUBLE_EQ(SelectionRadius(AngleCount(4), 40), 10);
  EXPECT_DOUBLE_EQ(SelectionRadius(AngleCount(1), 100), 50);
  MethodChoice c;
  c.code = kMethodConcentric;
  c.circleCount = 5;
  c.concentricRadius = {0, 2, 4, 6, 8, 10, 0};
  c.concentricDbhLimit = {0, 7, 10, 20, 30, 40};
  EXPECT_DOUBLE_EQ(SelectionRadius(c, 6.9), 0);   // below the first limit: takes no part
  EXPECT_DOUBLE_EQ(SelectionRadius(c, 7), 2);
  EXPECT_DOUBLE_EQ(SelectionRadius(c, 35), 8);    // between the fourth and the fifth limit
  EXPECT_DOUBLE_EQ(SelectionRadius(c, 80), 10);
  MethodChoice n;
  n.code = kMethodNTree;
  EXPECT_DOUBLE_EQ(SelectionRadius(n, 30), 0);
}

TEST(TrueValues, OneInteriorTree) {
  Stand run;
  run.boundary = Square(100);
  run.trees = {Tree(40, 50, 50)};
  ASSERT_TRUE(run.Compute(FixedCircle(8), 1.0));
  const TreeRecord& t = run.trees[0];
  EXPECT_EQ(t.number, 1);
  EXPECT_NEAR(t.basalArea, 0.12566371, 1e-8);
  EXPECT_NEAR(t.plotShare, 0.020106193, 1e-9);
  EXPECT_EQ(t.selectionAtBoundary, 0);
  EXPECT_EQ(run.v.N, 1);
  EXPECT_NEAR(run.v.V, 0.76960680, 1e-7);
  EXPECT_NEAR(run.v.Vcov, 0.76960680, 1e-7);
  EXPECT_NEAR(run.v.sdPerHa, 0.877272, 1e-6);
  // A pass leaves the weights of the same records alone and the true values leave the pass's fields.
  EXPECT_EQ(t.weightDone, 0);
  EXPECT_DOUBLE_EQ(t.edgeWeight, 0.0);

  LanguageTable german;
  EXPECT_EQ(TrueValuesText(run.v, 1.0, german),
            "\tWahre Bestandeswerte\n\nBäume insgesamt:\t     1\nBäume/Probefläche:\t  0.02\n"
            "Grundfläche/ha:\t\t  0.13 qm\n      -\"-      Std-Abw.\t   0.9 qm\n      -\"-      Var-Koef.\t 698.1 %");
}

TEST(TrueValues, OverlappingAndCoincidentPairs) {
  Stand pair;
  pair.boundary = Square(100);
  pair.trees = {Tree(30, 40, 50), Tree(30, 48, 50)};
  ASSERT_TRUE(pair.Compute(FixedCircle(8), 1.0));
  EXPECT_NEAR(pair.v.V, 0.6713558, 1e-6);
  EXPECT_NEAR(pair.v.V, pair.v.Vcov, 1e-12);

  // Two trees on one spot with one radius vary like one tree of twice the basal area.
  Stand twin, single;
  twin.boundary = single.boundary = Square(100);
  twin.trees = {Tree(30, 50, 50), Tree(30, 50, 50)};
  single.trees = {Tree(30 * std::sqrt(2.0), 50, 50)};
  ASSERT_TRUE(twin.Compute(FixedCircle(8), 1.0));
  ASSERT_TRUE(single.Compute(FixedCircle(8), 1.0));
  EXPECT_NEAR(twin.v.V, single.v.V, 1e-12);
  EXPECT_NEAR(100 * std::sqrt(twin.v.V) / twin.v.G, 698.1, 0.05);

  // The same at the boundary, through the clip of the two circles.
  Stand edgeTwin, edgeSingle;
  edgeTwin.boundary = edgeSingle.boundary = Square(100);
  edgeTwin.trees = {Tree(30, 50, 3), Tree(30, 50, 3)};
  edgeSingle.trees = {Tree(30 * std::sqrt(2.0), 50, 3)};
  ASSERT_TRUE(edgeTwin.Compute(FixedCircle(8), 1.0));
  ASSERT_TRUE(edgeSingle.Compute(FixedCircle(8), 1.0));
  EXPECT_EQ(edgeTwin.trees[0].selectionAtBoundary, 1);
  EXPECT_NEAR(edgeTwin.v.V, edgeSingle.v.V, 1e-9 * edgeSingle.v.V);
  EXPECT_EQ(edgeTwin.v.clipFailures, 0);
}

TEST(TrueValues, BoundaryShares) {
  Stand run;
  run.boundary = Square(100);
  run.trees = {Tree(30, 50, 3), Tree(30, 50, 50)};
  ASSERT_TRUE(run.Compute(FixedCircle(8), 1.0));
  EXPECT_NEAR(run.trees[0].plotShare, 146.74178 / 10000, 1e-8);  // the clipped 36-gon, no factor
  EXPECT_NEAR(run.trees[1].plotShare, 0.0201062, 1e-7);

  // Two boundary trees whose lens lies partly outside: the joint share is the lens's inside part.
  GeometryContext g;
  OverlapWork work;
  const BoundaryPolygon b = Square(100);
  const BoundaryOverlap o = OverlapAtBoundary(g, b, {50, 3}, 8, {56, 3}, 8, work);
  ASSERT_TRUE(o.ok);
  EXPECT_GT(o.lensArea, 0.9 * LensArea(8, {50, 3}, 8, {56, 3}));
  EXPECT_LT(o.insideArea, o.lensArea);
  EXPECT_GT(o.insideArea, 0.5 * o.lensArea);
  EXPECT_FALSE(g.twoCircle.set);  // never left for later clips
}

TEST(TrueValues, CircleHoldingTheWholeStandHasShareOne) {
  Stand run;
  run.boundary = Square(40);
  run.trees = {Tree(100, 20, 20)};  // angle count k = 1: R = 50 m
  ASSERT_TRUE(run.Compute(AngleCount(1), 0.16));
  EXPECT_EQ(run.trees[0].selectionAtBoundary, 1);
  EXPECT_NEAR(run.trees[0].plotShare, 1.0, 1e-9);
  EXPECT_NEAR(run.v.V, 0.0, 1e-12);  // a tree taken by every plot: no variance
  EXPECT_EQ(run.v.sdPerHa, 0.0);
}

TEST(TrueValues, AngleCountAwayFromBoundary) {
  Stand run;
  run.boundary = Square(200);
  run.trees = {Tree(40, 60, 60), Tree(24, 120, 90), Tree(33, 80, 140)};
  ASSERT_TRUE(run.Compute(AngleCount(4), 4.0));
  double gHa = 0;
  for (const TreeRecord& t : run.trees) {
    gHa += t.basalArea / 4.0;
    EXPECT_NEAR(t.basalArea / t.plotShare, 4.0 * 40000 / 10000, 1e-6);  // g / p = k A / 10000
  }
  EXPECT_NEAR(run.v.En, gHa / 4.0, 1e-9);
}

TEST(TrueValues, DegenerateInputs) {
  Stand none;
  none.boundary = Square(100);
  none.trees = {Tree(5, 50, 50)};
  MethodChoice c;
  c.code = kMethodConcentric;
  c.circleCount = 2;
  c.concentricRadius = {0, 3, 6, 0, 0, 0, 0};
  c.concentricDbhLimit = {0, 7, 20, 0, 0, 0};
  ASSERT_TRUE(none.Compute(c, 1.0));  // no tree reaches the first limit: nothing, and no NaN
  EXPECT_EQ(none.v.N, 0);
  EXPECT_EQ(none.v.sdPerHa, 0.0);
  LanguageTable german;
  EXPECT_EQ(TrueValuesText(none.v, 1.0, german).find("nan"), std::string::npos);

  Stand noArea;
  noArea.boundary = Square(100);
  noArea.trees = {Tree(30, 50, 50)};
  EXPECT_FALSE(noArea.Compute(FixedCircle(8), 0.0));
}

TEST(TrueValues, BothFormsAgreeOnAnIrregularStand) {
  Stand run;
  run.boundary = BoundaryOf({{0, 0}, {10, 80}, {70, 110}, {150, 90}, {140, 20}, {60, -5}, {0, 0}});
  std::uint32_t seed = 17;
  for (int i = 0; i < 400; ++i) {
    seed = seed * 134775813u + 1u;
    const double x = 10 + (seed >> 8) % 12000 / 100.0;
    seed = seed * 134775813u + 1u;
    const double y = 5 + (seed >> 8) % 9000 / 100.0;
    seed = seed * 134775813u + 1u;
    run.trees.push_back(Tree(8 + (seed >> 8) % 50, x, y));
  }
  GeometryContext g;
  const double ha = PolygonArea(g, run.boundary) * 1e-4;
  ASSERT_TRUE(run.Compute(AngleCount(2), ha));
  EXPECT_NEAR(run.v.V, run.v.Vcov, 1e-9 * run.v.V);
  EXPECT_EQ(run.v.clipFailures, 0);
  ASSERT_TRUE(run.Compute(FixedCircle(12), ha));
  EXPECT_NEAR(run.v.V, run.v.Vcov, 1e-9 * run.v.V);
}

TEST(TrueValueTexts, SelectionAreaModes) {
  LanguageTable german;
  SelectionAreaFigures f;
  f.number = 12;
  f.r = 8;
  f.partner = 13;
  f.overlap = 50;
  f.insideArea = 100;
  EXPECT_EQ(SelectionAreaText(1, f, german), "Baum    12 Fl: 201.1 qm  R:   8.00 m\n   mit Grenze:   Fl: 100.0          49.7 %");
  EXPECT_EQ(SelectionAreaText(2, f, german),
            "Baum        12        Fl:  201.1 qm   R:   8.00 m\n  mit Baum   13    Fl:    50.0 qm       24.9 %\n"
            "      mit Grenze       Fl:   100.0 qm     49.7 %");
  EXPECT_EQ(SelectionAreaText(3, f, german),
            "Baum      12         Fl:  201.1 qm       R:   8.00 m\n   mit Baum   13    Fl:   50.0 qm         24.9 %");
}

TEST(VarianceSplit, Examples) {
  auto s = SplitVariance(2, 10, 8, 6);
  ASSERT_TRUE(s);
  EXPECT_NEAR(s->within, 13.063945, 1e-6);
  EXPECT_NEAR(s->between, 3.829708, 1e-6);
  EXPECT_NEAR(s->between * 100 / 30, 12.765695, 1e-5);
  s = SplitVariance(1, 10, 4, 4);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->between, 0.0);
  EXPECT_NEAR(s->within, 10.583005, 1e-6);
  EXPECT_FALSE(SplitVariance(2, 6, 8, 6));        // the larger circle does not vary less
  EXPECT_FALSE(SplitVariance(2, 6, 8, 7));
  EXPECT_FALSE(SplitVariance(2, NAN, 8, 6));
  EXPECT_FALSE(SplitVariance(2, 2e6, 8, 6));
  EXPECT_FALSE(SplitVariance(0, 0, 0, 0));        // an empty stand

  LanguageTable german;
  EXPECT_EQ(VarianceSplitText(30, {13.063945, 3.829708}, german),
            "Grundfläche / ha               30.00 qm\nSt-Abw. zwischen  Flächen       3.83 qm\n"
            "St-Abw. innerhalb Flächen      13.06 qm");
}

}  // namespace
}  // namespace tolvek
