// The cross cuts of a compartment: where a cut lies, what its pieces are, how many stands each kind
// gives and that the stands always cover the compartment.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "simulator/enterprise/polygon_intersection.h"
#include "simulator/enterprise/subdivision.h"
#include "tests/support/scripted_draws.h"

using namespace tolvek;
using tolvek::testing::ScriptedDraws;

namespace {

Ring Square(double x0, double y0, double side) {
  return {{x0, y0}, {x0, y0 + side}, {x0 + side, y0 + side}, {x0 + side, y0}, {x0, y0}};
}

double AreaHa(const std::vector<EnterpriseStand>& stands) {
  double a = 0.0;
  for (const EnterpriseStand& s : stands) a += s.area;
  return a;
}

std::vector<double> Areas(const std::vector<EnterpriseStand>& stands) {
  std::vector<double> out;
  for (const EnterpriseStand& s : stands) out.push_back(s.area);
  return out;
}

bool Closed(const Ring& r) { return r.size() >= 4 && r.front().x == r.back().x && r.front().y == r.back().y; }

}  // namespace

TEST(CrossCut, CentreNearTheMeanOfTheCornersWithArmsOf700Metres) {
  ScriptedDraws d;
  d.reals = {0.75, 0.5};
  d.wholes = {0, 69, 35, 35};
  const CrossCut c = RandomCutLines(Square(0, 0, 100), 70, d);
  EXPECT_TRUE(c.inside);
  EXPECT_DOUBLE_EQ(c.m.x, 53.5);
  EXPECT_DOUBLE_EQ(c.m.y, 50.0);
  EXPECT_DOUBLE_EQ(c.w.x, -646.5);
  EXPECT_DOUBLE_EQ(c.w.y, 15.0);
  EXPECT_DOUBLE_EQ(c.n.x, 87.5);
  EXPECT_DOUBLE_EQ(c.n.y, 750.0);
  EXPECT_DOUBLE_EQ(c.e.x, 753.5);
  EXPECT_DOUBLE_EQ(c.e.y, 50.0);
  EXPECT_DOUBLE_EQ(c.s.x, 53.5);
  EXPECT_DOUBLE_EQ(c.s.y, -650.0);
  EXPECT_EQ(d.realsDrawn, 2);
  EXPECT_EQ(d.wholesDrawn, 4);
}

TEST(CrossCut, ACentreOutsideIsSoughtAgainAndGivenUpAfter91Tries) {
  // An L-shaped ring whose corner mean lies in its notch.
  const Ring l{{0, 0}, {0, 300}, {100, 300}, {100, 100}, {300, 100}, {300, 0}, {0, 0}};
  ScriptedDraws found;
  found.reals = {0.5, 0.5, 0.1, 0.1};  // the mean (133.3, 133.3) is outside; the first new try is inside
  const CrossCut c = RandomCutLines(l, 70, found);
  EXPECT_TRUE(c.inside);
  EXPECT_NEAR(c.m.x, 400.0 / 3 - 0.4 * 270, 1e-9);
  EXPECT_EQ(found.realsDrawn, 4);

  ScriptedDraws never;  // every try at the mean again
  const CrossCut f = RandomCutLines(l, 70, never);
  EXPECT_FALSE(f.inside);
  EXPECT_EQ(never.realsDrawn, 2 + 2 * 91);
  EXPECT_EQ(never.wholesDrawn, 4);
}

TEST(CrossCut, PiecesOfTheFourWayCutMeetAtACentreMovedNorth) {
  CrossCut c;
  c.m = {1250, 1250};
  c.w = {550, 1250};
  c.n = {1250, 1950};
  c.e = {1950, 1250};
  c.s = {1250, 550};
  const Ring p3 = CutPiece(c, 3, 4, 2);
  EXPECT_DOUBLE_EQ(p3[0].y, 1290.0);  // 80 / L = 40 m north
  EXPECT_TRUE(Closed(p3));
  const Ring p2 = CutPiece(c, 1, 2, 3);
  EXPECT_EQ(p2.size(), 6u);  // five corners and the closing one
}

TEST(NearDuplicates, DroppedWithoutOpeningTheRing) {
  Ring r{{0, 0}, {0.05, 0.0}, {0, 100}, {100, 100}, {100, 0}, {0.05, 0.05}, {0, 0}};
  RemoveNearDuplicates(r);
  ASSERT_EQ(r.size(), 5u);
  EXPECT_TRUE(Closed(r));
  EXPECT_NEAR(RingArea(r), 10000.0, 1e-9);
  // After a drop the corner is compared with the next one again: both near ones go.
  Ring chain{{0, 0}, {0.05, 0}, {0.09, 0}, {0, 50}, {50, 50}, {50, 0}, {0, 0}};
  RemoveNearDuplicates(chain);
  EXPECT_EQ(chain.size(), 5u);
}

// The square of 25 ha cut with every draw in the middle of its range: the arms run straight through the
// centres, so the stands are the quarters and halves of the square.
TEST(Subdivision, KindsGiveTheirStandCountsOnTheSquare) {
  const Ring square = Square(1000, 1000, 500);
  struct Case {
    int kind;
    std::size_t stands;
  };
  for (Case c : {Case{1, 4}, Case{2, 3}, Case{3, 27}, Case{4, 4}, Case{5, 9}, Case{6, 4}, Case{7, 8}, Case{8, 9}}) {
    ScriptedDraws d;
    const Subdivision s = SubdivideRing(square, c.kind, 70, d);
    EXPECT_EQ(s.stands.size(), c.stands) << "kind " << c.kind;
    EXPECT_FALSE(s.outsideAtThirdLevel);
    EXPECT_NEAR(AreaHa(s.stands), 25.0, c.kind == 6 ? 0.15 : 0.01) << "kind " << c.kind;
    for (const EnterpriseStand& st : s.stands) {
      EXPECT_GT(st.area, 0.0);
      EXPECT_TRUE(Closed(st.corners));
      EXPECT_EQ(st.typePosition, 1);
      EXPECT_EQ(st.cls, 3);  // Random(4) + 1 with the middle draw
    }
  }
}

TEST(Subdivision, AreasOfTheThreeAndFourWayCuts) {
  // Three ways: two quarters and the eastern half. Four ways: the eastern pieces meet at (1250, 1290) and
  // are bounded by y = 1290 - 40 (x - 1250) / 700.
  const struct {
    int kind;
    std::vector<double> areas;
  } cases[] = {{2, {6.25, 6.25, 12.5}}, {6, {6.25, 6.25, 7.0714286, 5.4285714}}};
  for (const auto& c : cases) {
    ScriptedDraws d;
    const std::vector<double> got = Areas(SubdivideRing(Square(1000, 1000, 500), c.kind, 70, d).stands);
    ASSERT_EQ(got.size(), c.areas.size()) << "kind " << c.kind;
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], c.areas[i], 1e-6) << "kind " << c.kind;
  }
}

TEST(Subdivision, DrawsComeInTheOrderOfTheCuts) {
  // Kind 2 (L = 2, P = 3): the cut, then per piece its stand's class, its own cut and three cuts below
  // it that no stand needs: 2 reals and 4 whole numbers a cut, one whole number a stand.
  ScriptedDraws d;
  SubdivideRing(Square(1000, 1000, 500), 2, 70, d);
  EXPECT_EQ(d.realsDrawn, 2 * (1 + 3 * (1 + 3)));
  EXPECT_EQ(d.wholesDrawn, 4 * (1 + 3 * (1 + 3)) + 3);
}

TEST(Subdivision, AFailedCutKeepsItsPieceAsOneStand) {
  const Ring square = Square(1000, 1000, 500);
  // The first cut never finds the inside: the compartment stays one stand.
  ScriptedDraws out;
  out.reals = {-6.7, -6.7};  // the centre moved 504 m south-west, off the square
  out.constantReal = 0.0;    // and every new try 225 m further
  const Subdivision whole = SubdivideRing(square, 3, 70, out);
  ASSERT_EQ(whole.stands.size(), 1u);
  EXPECT_NEAR(whole.stands[0].area, 25.0, 1e-9);
}

TEST(Subdivision, CompartmentKindsAtEntryAndOnAClick) {
  EXPECT_EQ(DefaultKind(8), 1);
  EXPECT_EQ(DefaultKind(7), 8);
  EXPECT_EQ(NextKind(8), 1);
  EXPECT_EQ(NextKind(3), 4);

  EnterpriseSession s;
  s.compartmentCount = 8;
  s.outlines.assign(9, Square(1000, 1000, 500));
  s.compartments.assign(9, Compartment{});
  ScriptedDraws d;
  EXPECT_EQ(SubdivideCompartment(s, 8, d).stands.size(), 4u);
  EXPECT_EQ(SubdivideCompartment(s, 7, d).stands.size(), 9u);
  EXPECT_EQ(s.At(7).kind, 8);
  EXPECT_NEAR(s.At(7).area, 25.0, 0.01);
  // A click: the next kind, kept through the cut.
  CycleCompartmentKind(s, 7, d);
  EXPECT_EQ(s.At(7).kind, 1);
  EXPECT_EQ(s.At(7).stands.size(), 4u);
  EXPECT_EQ(s.markedCompartment, 0);
  CycleCompartmentKind(s, 7, d);
  EXPECT_EQ(s.At(7).kind, 2);
  EXPECT_EQ(s.At(7).stands.size(), 3u);
}

TEST(Intersection, NonConvexPolygonsGiveAllTheirParts) {
  // A U-shape cut by a bar across its arms: two rings, one in each arm.
  const Ring u{{0, 0}, {0, 300}, {100, 300}, {100, 100}, {200, 100}, {200, 300}, {300, 300}, {300, 0}, {0, 0}};
  const Ring bar{{-50, 200}, {-50, 250}, {350, 250}, {350, 200}, {-50, 200}};
  const std::vector<Ring> parts = IntersectPolygons(u, bar);
  ASSERT_EQ(parts.size(), 2u);
  for (const Ring& r : parts) {
    EXPECT_NEAR(RingArea(r), 5000.0, 1e-6);
    EXPECT_TRUE(Closed(r));
  }
  // Either way round, either one first: the same area.
  Ring reversed = u;
  std::reverse(reversed.begin(), reversed.end());
  double total = 0.0;
  for (const Ring& r : IntersectPolygons(bar, reversed)) total += RingArea(r);
  EXPECT_NEAR(total, 10000.0, 1e-6);
}

TEST(Intersection, ContainedDisjointAndTouchingPolygons) {
  const Ring big = Square(0, 0, 100), small = Square(20, 20, 10), away = Square(500, 500, 10);
  ASSERT_EQ(IntersectPolygons(big, small).size(), 1u);
  EXPECT_NEAR(RingArea(IntersectPolygons(big, small)[0]), 100.0, 1e-9);
  EXPECT_NEAR(RingArea(IntersectPolygons(small, big)[0]), 100.0, 1e-9);
  EXPECT_TRUE(IntersectPolygons(big, away).empty());
  // A shared edge and a corner on an edge: the boundaries are taken apart by micrometres.
  const std::vector<Ring> half = IntersectPolygons(big, Square(50, 0, 100));
  ASSERT_EQ(half.size(), 1u);
  EXPECT_NEAR(RingArea(half[0]), 5000.0, 0.01);
  const Ring diamond{{50, 0}, {0, 50}, {50, 100}, {100, 50}, {50, 0}};
  const std::vector<Ring> inner = IntersectPolygons(big, diamond);
  ASSERT_EQ(inner.size(), 1u);
  EXPECT_NEAR(RingArea(inner[0]), 5000.0, 0.01);
}

TEST(Intersection, BentPiecesOfACutCoverTheCompartment) {
  // A two-way cut whose centre bends the pieces: each half is not convex, the halves still add up.
  CrossCut c;
  c.m = {130, 120};
  c.w = {-570, 100};
  c.n = {100, 820};
  c.e = {830, 150};
  c.s = {160, -580};
  const Ring field{{0, 0}, {10, 240}, {260, 250}, {250, 5}, {0, 0}};
  double total = 0.0;
  for (int i = 1; i <= 2; ++i) total += RingArea(ClipPiece(field, CutPiece(c, i, 2, 3)));
  EXPECT_NEAR(total, RingArea(field), 1e-6);
}
