#include "simulator/sampling/geometry.h"

#include <gtest/gtest.h>

#include <boost/geometry.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#include <boost/geometry/multi/geometries/multi_polygon.hpp>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "common/language.h"
#include "simulator/sampling/edge_correction.h"
#include "tests/simulator/sampling/geometry_reference.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

using testing::MakePolygon;
using testing::PointList;

// Boost.Geometry gives the independent areas, inside tests and piece counts.
namespace bg = boost::geometry;
using RefPoint = bg::model::d2::point_xy<double>;
using RefPolygon = bg::model::polygon<RefPoint>;  // clockwise, closed
using RefMulti = bg::model::multi_polygon<RefPolygon>;

RefPolygon ToRef(PolygonRef p) {
  RefPolygon r;
  for (int i = 1; i <= p.n; ++i) bg::append(r.outer(), RefPoint(p.x[i], p.y[i]));
  bg::correct(r);  // orientation and closure as Boost expects
  return r;
}

RefPolygon ToRef(const PointList& pts) {
  RefPolygon r;
  for (const auto& [x, y] : pts) bg::append(r.outer(), RefPoint(x, y));
  bg::correct(r);
  return r;
}

// Into how many pieces b cuts a.
int IntersectionPieces(const RefPolygon& a, const RefPolygon& b) {
  RefMulti out;
  bg::intersection(a, b, out);
  return static_cast<int>(out.size());
}

// Clockwise in the x-right, y-up plane: up the left side, along the top, down the right side.
const PointList kSquare{{0, 0}, {0, 10}, {10, 10}, {10, 0}};
// An L-shaped stand, clockwise, with a reflex corner at (20, 20).
const PointList kEll{{0, 0}, {0, 50}, {20, 50}, {20, 20}, {60, 20}, {60, 0}};

PointList Reversed(PointList pts) {
  std::reverse(pts.begin(), pts.end());
  return pts;
}

// ---------------------------------------------------------------------------------------------------
// Areas

TEST(PolygonArea, SignFollowsOrientationAndMatchesReference) {
  GeometryContext g;
  const PointList triangle{{0, 0}, {3, 4}, {6, 0}};
  const PointList irregular{{2, 1}, {0, 7}, {5, 9}, {4, 5}, {9, 6}, {8, 0}};
  for (const PointList* pts : {&kSquare, &triangle, &kEll, &irregular}) {
    const double reference = boost::geometry::area(ToRef(*pts));
    const auto cw = MakePolygon<kStandPolygonSlots>(*pts);
    const auto ccw = MakePolygon<kStandPolygonSlots>(Reversed(*pts));
    EXPECT_NEAR(PolygonArea(g, cw), reference, 1e-9);
    EXPECT_FALSE(g.diagnostics.errorFlag);
    EXPECT_NEAR(PolygonArea(g, ccw), -reference, 1e-9);
    EXPECT_NEAR(ClosedPolygonArea(g, cw), reference, 1e-9);
  }
  EXPECT_DOUBLE_EQ(PolygonArea(g, MakePolygon<kStandPolygonSlots>(kSquare)), 100.0);
  EXPECT_DOUBLE_EQ(PolygonArea(g, MakePolygon<kStandPolygonSlots>(kEll)), 60.0 * 20 + 20.0 * 30);
}

TEST(PolygonArea, ClosureToleranceIsOneCentimetre) {
  GeometryContext g;
  auto p = MakePolygon<kStandPolygonSlots>({{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0.01, 0.01}}, false);
  EXPECT_TRUE(IsClosed(p));
  EXPECT_NE(PolygonArea(g, p), 0.0);
  EXPECT_FALSE(g.diagnostics.errorFlag);

  for (auto [dx, dy] : {std::pair{0.011, 0.0}, std::pair{0.0, 0.011}}) {
    p.x[p.n] = dx;
    p.y[p.n] = dy;
    EXPECT_FALSE(IsClosed(p));
    g.diagnostics.objectNumber1 = 12;
    g.diagnostics.objectNumber2 = 345;
    EXPECT_EQ(PolygonArea(g, p), 0.0);
    EXPECT_TRUE(g.diagnostics.errorFlag);
    ASSERT_TRUE(g.diagnostics.report.pending);
    EXPECT_EQ(GeometryReportText(g.diagnostics.report, LanguageTable{}), "Punkte:    5   12     345  Polygon nicht geschlossen");

    g.diagnostics.report = {};
    g.diagnostics.errorFlag = false;
    EXPECT_EQ(ClosedPolygonArea(g, p), 0.0);
    EXPECT_TRUE(g.diagnostics.errorFlag);
    EXPECT_EQ(GeometryReportText(g.diagnostics.report, LanguageTable{}), "   12     345  Polygon ist nicht geschlossen");
  }
}

TEST(PolygonArea, CapacityDegenerateAndEnterpriseMode) {
  GeometryContext g;
  Polygon<kClipPolygonSlots> big;
  big.n = 90;  // closed ring of zeros: the count alone must be refused
  EXPECT_EQ(PolygonArea(g, big), 0.0);
  EXPECT_TRUE(g.diagnostics.errorFlag);
  EXPECT_EQ(GeometryReportText(g.diagnostics.report, LanguageTable{}), "Feldüberschreitung F21/159   90");

  // A count past the arrays is refused before anything is read.
  g.diagnostics.report = {};
  auto small = MakePolygon<kStandPolygonSlots>(kSquare);
  small.n = 61;
  EXPECT_EQ(PolygonArea(g, small), 0.0);
  EXPECT_TRUE(g.diagnostics.errorFlag);
  EXPECT_TRUE(g.diagnostics.report.pending);

  // Two corners, or corners on one line, enclose nothing: flagged, never passed off as an area.
  g.diagnostics.report = {};
  EXPECT_EQ(PolygonArea(g, MakePolygon<kStandPolygonSlots>({{0, 0}, {5, 5}})), 0.0);
  EXPECT_TRUE(g.diagnostics.errorFlag);
  EXPECT_EQ(PolygonArea(g, MakePolygon<kStandPolygonSlots>({{0, 0}, {5, 5}, {10, 10}})), 0.0);
  EXPECT_TRUE(g.diagnostics.errorFlag);
  EXPECT_FALSE(g.diagnostics.report.pending);

  // PolygonArea clears the flag on entry.
  EXPECT_EQ(PolygonArea(g, MakePolygon<kStandPolygonSlots>(kSquare)), 100.0);
  EXPECT_FALSE(g.diagnostics.errorFlag);

  g.enterpriseMode = true;
  EXPECT_EQ(PolygonArea(g, MakePolygon<kStandPolygonSlots>(kSquare)), 0.0);
  EXPECT_EQ(ClosedPolygonArea(g, MakePolygon<kStandPolygonSlots>(kSquare)), 100.0);
}

TEST(GeometryReport, ShownOnceThroughTheMessageBox) {
  testing::FakeServices fake;
  GeometryContext g;
  EXPECT_EQ(ShowGeometryReport(g, fake.messages, LanguageTable{}), 0);
  EXPECT_TRUE(fake.messages.shown.empty());

  ReportGeometryCapacity(g, "66");
  EXPECT_EQ(ShowGeometryReport(g, fake.messages, LanguageTable{}), kResultOk);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].text, "Feldüberschreitung F21/66");
  EXPECT_EQ(fake.messages.shown[0].buttons, MessageButtons::Ok);
  EXPECT_FALSE(g.diagnostics.report.pending);
  ShowGeometryReport(g, fake.messages, LanguageTable{});
  EXPECT_EQ(fake.messages.shown.size(), 1u);

  LanguageTable english;
  english.selector = 2;
  LanguageRow row;
  row.field[kFieldGermanHint] = "Polygon ist nicht geschlossen";
  row.field[kFieldForeignHint] = "Polygon is not closed";
  english.rows.push_back(row);
  ClosedPolygonArea(g, MakePolygon<kStandPolygonSlots>(kSquare, false));
  ShowGeometryReport(g, fake.messages, english);
  ASSERT_EQ(fake.messages.shown.size(), 2u);
  EXPECT_EQ(fake.messages.shown[1].text, "    0       0  Polygon is not closed");
  EXPECT_EQ(fake.messages.shown[1].kind, MessageKind::Info);
}

TEST(PolygonHelpers, CopyAndCentroidStayWithinTheArrays) {
  GeometryContext g;
  const auto src = MakePolygon<kCirclePolygonSlots>(kEll);
  Polygon<kStandPolygonSlots> dst;
  ASSERT_TRUE(CopyPolygon(g, src.n, src, dst));
  EXPECT_EQ(dst.n, src.n);
  EXPECT_EQ(dst.x[4], 20.0);

  Polygon<kCirclePolygonSlots> wide;
  wide.n = 70;
  EXPECT_FALSE(CopyPolygon(g, wide.n, wide, dst));
  EXPECT_TRUE(g.diagnostics.errorFlag);
  EXPECT_EQ(dst.n, src.n);

  double mx = -1, my = -1;
  PolygonCentroid(g, MakePolygon<kStandPolygonSlots>(kSquare, false), mx, my);
  EXPECT_DOUBLE_EQ(mx, 5.0);
  EXPECT_DOUBLE_EQ(my, 5.0);
  PolygonCentroid(g, Polygon<kStandPolygonSlots>{}, mx, my);
  EXPECT_DOUBLE_EQ(mx, 5.0);  // n = 0 leaves the outputs alone

  // Beyond the 69th point the mean is still taken, with the report.
  Polygon<kCirclePolygonSlots> many;
  many.n = 70;
  for (int i = 1; i <= 70; ++i) many.x[i] = i;
  g.diagnostics.report = {};
  PolygonCentroid(g, many, mx, my);
  EXPECT_DOUBLE_EQ(mx, 35.5);
  EXPECT_EQ(g.diagnostics.report.german, "Feldüberschreitung F21/204");
}

// ---------------------------------------------------------------------------------------------------
// Lines and segments

TEST(LineRoutines, IntersectionRangesAndDistances) {
  EXPECT_FALSE(InRange(3.0, 3.0, 3.0));
  EXPECT_TRUE(InRange(3.0, 5.0, 3.0));
  EXPECT_FALSE(InRange(5.0, 5.0, 3.0));

  GeoPoint at{-7, -7};
  EXPECT_TRUE(LineIntersection({0, 0}, {10, 10}, {0, 10}, {10, 0}, at));
  EXPECT_NEAR(at.x, 5.0, 1e-12);
  EXPECT_NEAR(at.y, 5.0, 1e-12);
  EXPECT_TRUE(LineIntersection({0, 0}, {10, 10}, {3, -5}, {3, 5}, at));  // line 2 vertical
  EXPECT_DOUBLE_EQ(at.x, 3.0);
  EXPECT_DOUBLE_EQ(at.y, 3.0);
  EXPECT_TRUE(LineIntersection({4, -5}, {4, 5}, {0, 2}, {10, 2}, at));  // line 1 vertical
  EXPECT_DOUBLE_EQ(at.x, 4.0);
  EXPECT_DOUBLE_EQ(at.y, 2.0);
  at = {-7, -7};
  EXPECT_FALSE(LineIntersection({1, 0}, {1, 5}, {2, 0}, {2, 5}, at));  // both vertical
  EXPECT_FALSE(LineIntersection({0, 0}, {10, 1}, {0, 1}, {10, 2}, at));  // parallel
  EXPECT_EQ(at.x, -7);

  GeometryContext g;
  EXPECT_NEAR(LineDistance(g, {0, 0}, {0, 10}, {3, 5}), -3.0, 1e-12);
  EXPECT_FALSE(g.diagnostics.errorFlag);
  EXPECT_EQ(LineDistance(g, {1, 1}, {1.0005, 1}, {3, 5}), 0.0);  // shorter than 1 mm
  EXPECT_TRUE(g.diagnostics.errorFlag);
  EXPECT_NEAR(LineDistance(g, {0, 0}, {10, 0}, {3, 5}), 5.0, 1e-12);
  EXPECT_FALSE(g.diagnostics.errorFlag);
}

TEST(LineRoutines, LineMeetsCircle) {
  GeometryContext g;
  LineCircleHits h;
  // Across the circle, far from the origin (the quadratic stays well conditioned there).
  ASSERT_TRUE(LineCircleIntersection(g, {4990, 3003}, {5010, 3003}, {5000, 3000}, 5.0, h));
  EXPECT_NEAR(h.first.x, 5004.0, 1e-9);
  EXPECT_NEAR(h.second.x, 4996.0, 1e-9);
  EXPECT_NEAR(h.first.y, 3003.0, 1e-9);
  EXPECT_TRUE(h.firstOnSegment && h.secondOnSegment);
  // Only one of the two points on a short segment.
  ASSERT_TRUE(LineCircleIntersection(g, {0, 3}, {10, 3}, {0, 0}, 5.0, h));
  EXPECT_TRUE(h.firstOnSegment);
  EXPECT_FALSE(h.secondOnSegment);
  // Near-vertical segments are taken as vertical at the second end.
  ASSERT_TRUE(LineCircleIntersection(g, {3.05, -10}, {3, 10}, {0, 0}, 5.0, h));
  EXPECT_DOUBLE_EQ(h.first.x, 3.0);
  EXPECT_NEAR(h.first.y, 4.0, 1e-12);
  EXPECT_NEAR(h.second.y, -4.0, 1e-12);
  // A line that misses the circle: flag, outputs unchanged, no NaN.
  h.first = {1, 2};
  EXPECT_FALSE(LineCircleIntersection(g, {0, 8}, {10, 8}, {0, 0}, 5.0, h));
  EXPECT_TRUE(g.diagnostics.errorFlag);
  EXPECT_EQ(h.first.x, 1);
  g.diagnostics.errorFlag = false;
  EXPECT_FALSE(LineCircleIntersection(g, {8, -1}, {8, 1}, {0, 0}, 5.0, h));
  EXPECT_TRUE(g.diagnostics.errorFlag);
}

// ---------------------------------------------------------------------------------------------------
// Point in polygon

// A U-shaped stand, clockwise: two prongs of width 10 joined at the bottom.
const PointList kU{{0, 0}, {0, 40}, {10, 40}, {10, 10}, {30, 10}, {30, 40}, {40, 40}, {40, 0}};

TEST(PointInPolygon, NonConvexInsideOutsideAndNearCorners) {
  const auto u = MakePolygon<kStandPolygonSlots>(kU);
  EXPECT_TRUE(PointInPolygon(u, 5, 30));    // left prong
  EXPECT_TRUE(PointInPolygon(u, 35, 30));   // right prong
  EXPECT_TRUE(PointInPolygon(u, 20, 5));    // base
  EXPECT_FALSE(PointInPolygon(u, 20, 30));  // the notch
  EXPECT_FALSE(PointInPolygon(u, 50, 5));
  EXPECT_FALSE(PointInPolygon(u, -5, 5));
  // Next to corners, on both sides, including at the height of a corner.
  EXPECT_TRUE(PointInPolygon(u, 9.999, 10.0));
  EXPECT_TRUE(PointInPolygon(u, 10.001, 9.999));
  EXPECT_FALSE(PointInPolygon(u, 10.001, 10.001));
  EXPECT_TRUE(PointInPolygon(u, 29.999, 9.999));
  EXPECT_FALSE(PointInPolygon(u, 29.999, 10.001));
  EXPECT_TRUE(PointInPolygon(u, 39.999, 39.999));
  EXPECT_FALSE(PointInPolygon(u, 40.001, 40.0));

  // Random points against the reference (points within 1e-6 of an edge are left out).
  const auto ref = ToRef(kU);
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-5.0, 45.0);
  for (int i = 0; i < 4000; ++i) {
    const double x = coord(rng);
    const double y = coord(rng);
    const RefPoint p(x, y);
    if (boost::geometry::distance(p, ref) < 1e-6 && !boost::geometry::within(p, ref)) continue;
    if (boost::geometry::distance(p, boost::geometry::exterior_ring(ref)) < 1e-6) continue;
    EXPECT_EQ(PointInPolygon(u, x, y), boost::geometry::within(p, ref)) << x << " " << y;
  }
}

TEST(PointInPolygon, CornerAtThePointsHeightCountsOnce) {
  // Points at the height of a corner whose two edges go off to either side of it: the corner counts once.
  const auto p = MakePolygon<kStandPolygonSlots>({{0, 10}, {30, 10}, {30, -5}, {10, -5}, {5, 0.5}});
  EXPECT_TRUE(PointInPolygon(p, 20, 0.5));
  EXPECT_FALSE(PointInPolygon(p, 2, 0.5));
  EXPECT_TRUE(PointInPolygon(p, 20, 0));
  EXPECT_FALSE(PointInPolygon(p, 2, 0));
}

TEST(PointInPolygon, StandShiftedFarLeftOfTheTestPoint) {
  // A boundary copied relative to a tree near the right edge of a 300 m stand: its left side lies at
  // x = -290. The count must still see it.
  PointList shifted;
  for (auto [x, y] : PointList{{0, 0}, {0, 300}, {300, 300}, {300, 0}}) shifted.emplace_back(x - 290, y - 150);
  const auto p = MakePolygon<kStandPolygonSlots>(shifted);
  EXPECT_TRUE(PointInPolygon(p, 0, 0));
  EXPECT_TRUE(PointInPolygon(p, -150, 0));
  EXPECT_TRUE(PointInPolygon(p, -9.5, 3));
  EXPECT_TRUE(PointInPolygon(p, -10, 3));
  EXPECT_FALSE(PointInPolygon(p, 11, 0));
  EXPECT_FALSE(PointInPolygon(p, -300, 0));
}

TEST(PolygonContainsPoint, TriangleGivenByItsCorners) {
  Polygon<4> tri;
  tri.n = 3;
  tri.x = {0, 0, 5, 10, 0};
  tri.y = {0, 0, 10, 0, 0};
  EXPECT_TRUE(PolygonContainsPoint(5, 3, 3, tri));
  EXPECT_FALSE(PolygonContainsPoint(5, 11, 3, tri));
  EXPECT_FALSE(PolygonContainsPoint(-1, 1, 3, tri));
  EXPECT_FALSE(PolygonContainsPoint(8, 5, 3, tri));
  EXPECT_EQ(tri.x[4], 0);  // the routine closes its own copy
}

// ---------------------------------------------------------------------------------------------------
// Clipping

struct ClipCase {
  CirclePolygonPoints circle;
  StandPolygonPoints stand;
  ClipPolygonPoints result;
  ClipAreas areas;
  GeometryContext g;

  ClipCase(double cx, double cy, double r, const PointList& standPts) {
    EXPECT_TRUE(CirclePolygon(36, cx, cy, r, circle));
    stand = MakePolygon<kStandPolygonSlots>(standPts);
  }
  bool Clip() { return ClipPlotPolygon(g, 36, circle, stand, stand.n, result, areas); }
  // The exact intersection area, and into how many pieces the stand cuts the circle.
  double Reference(int* pieces = nullptr) const {
    if (pieces) *pieces = IntersectionPieces(ToRef(circle), ToRef(stand));
    PointList pts;
    for (int i = 1; i <= stand.n; ++i) pts.emplace_back(stand.x[i], stand.y[i]);
    return testing::ConvexClipArea(circle, pts);
  }
};

TEST(ClipPlotPolygon, PlotWhollyInsideOrOutside) {
  ClipCase inside(30, 30, 10, kEll);
  inside.stand = MakePolygon<kStandPolygonSlots>({{0, 0}, {0, 100}, {100, 100}, {100, 0}});
  ASSERT_TRUE(inside.Clip());
  EXPECT_EQ(inside.result.n, 37);
  EXPECT_EQ(inside.result.x[5], inside.circle.x[5]);
  EXPECT_DOUBLE_EQ(inside.areas.result, inside.areas.plot);
  EXPECT_NEAR(inside.areas.plot, boost::geometry::area(ToRef(inside.circle)), 1e-9);
  EXPECT_GT(inside.areas.plot, 0.0);  // the circle polygon runs clockwise like the stand

  // In the notch of the L: no stand edge touches it and it lies outside.
  ClipCase outside(45, 40, 5, kEll);
  ASSERT_TRUE(outside.Clip());
  EXPECT_EQ(outside.result.n, 0);
  EXPECT_EQ(outside.areas.result, 0.0);
  EXPECT_FALSE(outside.g.diagnostics.errorFlag);
}

TEST(ClipPlotPolygon, CutsAgreeWithReferenceIntersection) {
  const PointList bigSquare{{0, 0}, {0, 100}, {100, 100}, {100, 0}};
  struct Case {
    const char* what;
    double cx, cy, r;
    PointList stand;
  } cases[] = {
      {"one edge", 50, 4, 10, bigSquare},
      {"one edge through the centre", 50, 0, 10, bigSquare},
      {"one corner, the first point", 3, 4, 10, bigSquare},
      {"one corner", 97, 96, 10, bigSquare},
      {"reflex corner of the L", 24, 23, 10, kEll},
      {"two corners", 5, 50, 12, {{0, 0}, {0, 100}, {10, 100}, {10, 0}}},
      {"stand edge wholly inside", 15, 22, 10, {{0, 0}, {0, 20}, {13, 20}, {13, 24}, {17, 24}, {17, 20}, {40, 20}, {40, 0}}},
      {"triangle stand inside the circle", 5, 5, 30, {{0, 0}, {5, 8}, {10, 0}}},
      {"non-convex U prong", 10, 38, 8, kU},
      {"narrow wedge", 1, 50, 6, {{0, 0}, {2, 100}, {4, 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ClipCase k(c.cx, c.cy, c.r, c.stand);
    int pieces = 0;
    const double reference = k.Reference(&pieces);
    ASSERT_EQ(pieces, 1);
    ASSERT_TRUE(k.Clip());
    EXPECT_NEAR(k.areas.result, reference, 1e-9 * k.areas.plot);
    if (std::string(c.what) == "one corner") {
      // Entry crossing, the corner (end of one stand edge, start of the next, stored once), exit.
      EXPECT_EQ(k.g.clip.crossingCount, 3);
      EXPECT_EQ(k.g.clip.crossings[2].x, 100.0);
      EXPECT_EQ(k.g.clip.crossings[2].y, 100.0);
    }
    EXPECT_NEAR(k.areas.stand, boost::geometry::area(ToRef(k.stand)), 1e-9);
  }
}

TEST(ClipPlotPolygon, RandomPlotsAgainstRandomBoundaries) {
  std::mt19937 rng(20261208);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int compared = 0;
  int failed = 0;
  int cut = 0;
  for (int round = 0; round < 3000; ++round) {
    // A star-shaped stand around (100, 100), clockwise, 3 to 58 corners; convex every third round.
    const int corners = 3 + static_cast<int>(unit(rng) * 56);
    const bool convex = round % 3 == 0;
    PointList pts;
    for (int k = 0; k < corners; ++k) {
      const double angle = -2.0 * M_PI * (k + 0.8 * unit(rng)) / corners;
      const double radius = convex ? 80.0 : 30.0 + 70.0 * unit(rng);
      pts.emplace_back(100 + radius * std::cos(angle), 100 + radius * std::sin(angle));
    }
    auto stand = ToRef(pts);
    if (!boost::geometry::is_valid(stand)) continue;
    // Mostly near the boundary, where the cuts are.
    const double r = 3.0 + 20.0 * unit(rng);
    const auto& [ex, ey] = pts[static_cast<std::size_t>(unit(rng) * corners)];
    const bool nearEdge = round % 4 != 0;
    const double cx = nearEdge ? ex + r * (2 * unit(rng) - 1) : 20 + 160 * unit(rng);
    const double cy = nearEdge ? ey + r * (2 * unit(rng) - 1) : 20 + 160 * unit(rng);
    ClipCase k(cx, cy, r, pts);
    ASSERT_EQ(k.stand.n, corners + 1);
    if (PolygonArea(k.g, k.stand) <= 0.0) continue;  // a random star may come out unoriented
    int pieces = 0;
    const double reference = k.Reference(&pieces);
    if (pieces > 1) continue;  // the edge walk builds one ring
    if (!k.Clip()) {
      ++failed;  // capacity or an unplaceable crossing: reported, never a wrong area
      EXPECT_EQ(k.result.n, 0);
      continue;
    }
    ++compared;
    if (k.areas.result > 0.0 && k.areas.result < k.areas.plot - 1e-9) ++cut;
    EXPECT_NEAR(k.areas.result, reference, 1e-9 * k.areas.plot) << "round " << round;
  }
  EXPECT_GT(compared, 1500);
  EXPECT_GT(cut, 1000);
  EXPECT_LT(failed, compared / 50 + 1);
}

// One clip as the tests compare it: the context, its success, the result and the areas.
struct ClipOutcome {
  const GeometryContext& g;
  bool ok;
  const ClipPolygonPoints& result;
  const ClipAreas& areas;
};

// Everything a clip leaves that callers or later clips may read, bit for bit (the centroid only of a
// clip that held: a failed one may leave the last clip's).
void ExpectSameClip(const ClipOutcome& quick, const ClipOutcome& full) {
  const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
  ASSERT_EQ(quick.ok, full.ok);
  ASSERT_EQ(quick.g.diagnostics.errorFlag, full.g.diagnostics.errorFlag);
  ASSERT_EQ(quick.g.clip.lastEdgeHit, full.g.clip.lastEdgeHit);
  if (quick.ok) {
    ASSERT_TRUE(same(quick.g.clip.plotCentroid.x, full.g.clip.plotCentroid.x) &&
                same(quick.g.clip.plotCentroid.y, full.g.clip.plotCentroid.y));
  }
  ASSERT_EQ(quick.g.clip.crossingCount, full.g.clip.crossingCount);
  for (int i = 1; i <= full.g.clip.crossingCount; ++i) {
    const CrossingRecord& a = quick.g.clip.crossings[static_cast<std::size_t>(i)];
    const CrossingRecord& b = full.g.clip.crossings[static_cast<std::size_t>(i)];
    ASSERT_TRUE(same(a.x, b.x) && same(a.y, b.y) && a.edge == b.edge && a.kind == b.kind) << "crossing " << i;
  }
  ASSERT_EQ(quick.result.n, full.result.n);
  for (int i = 1; i <= full.result.n; ++i)
    ASSERT_TRUE(same(quick.result.x[i], full.result.x[i]) && same(quick.result.y[i], full.result.y[i]))
        << "point " << i;
  ASSERT_TRUE(same(quick.areas.plot, full.areas.plot) && same(quick.areas.stand, full.areas.stand) &&
              same(quick.areas.result, full.areas.result));
}

// The clip settles most stand points as outside by one plot edge cut on the way to the centroid (for a
// circle around (0, 0), far points clear of its corners without any test) and works out the edge the
// full search would stop at only when a later search starts after it. Every result, crossing and the
// edge left for the next search must be as with the full search at every point, also for stand points
// lined up with plot corners, straight above or below the centroid, on the plot's corners and edges,
// for stands that are not proper polygons at all, and for circles of other radii clipped against the
// same stand points before (the searches then test only the plot edges whose bands, taken once per
// corner count, meet the segment's box).
TEST(ClipPlotPolygon, ShortcutsAgreeWithTheFullSearches) {
  std::mt19937 rng(9071);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int cut = 0;
  GeometryContext kept;
  StandPolygonPoints lastStand;
  // Circles clipped before, by corner count: now and then one comes again to the kept context after
  // clips of other circles and stands, and must be clipped as the first time (its plot's parts kept).
  std::array<std::vector<std::array<double, 3>>, 50> before;
  int again = 0;
  for (int round = 0; round < 60000; ++round) {
    const int cornerChoices[] = {36, 36, 36, 5, 12, 49};
    const int nA = cornerChoices[round % 6];
    const bool atOrigin = round % 3 != 0;  // the edge correction clips around (0, 0)
    double cx = atOrigin ? 0.0 : 400.0 * unit(rng) - 200.0;
    double cy = atOrigin ? 0.0 : 400.0 * unit(rng) - 200.0;
    double r = std::exp(std::log(1e-3) + unit(rng) * std::log(6e4));  // 0.001 .. 60
    auto& earlier = before[static_cast<std::size_t>(nA)];
    const bool repeated = round % 4 == 1 && !earlier.empty();
    if (repeated) {
      const auto& c = earlier[static_cast<std::size_t>(round / 4) % earlier.size()];
      if (!atOrigin) {
        cx = c[0];
        cy = c[1];
      }
      r = atOrigin ? earlier[static_cast<std::size_t>(round / 4 + 1) % earlier.size()][2] : c[2];
      ++again;
    } else if (earlier.size() < 40) {
      earlier.push_back({cx, cy, r});
    }
    CirclePolygonPoints circle;
    ASSERT_TRUE(CirclePolygon(nA, cx, cy, r, circle));
    double mx = 0.0, my = 0.0;
    GeometryContext scratch;
    PolygonCentroid(scratch, PolygonRef(circle).WithCount(nA), mx, my);

    // A clockwise star around a point near the circle; some points replaced by awkward ones.
    const int points = 3 + static_cast<int>(unit(rng) * 56);
    const double sx = cx + r * (4.0 * unit(rng) - 2.0);
    const double sy = cy + r * (4.0 * unit(rng) - 2.0);
    StandPolygonPoints stand;
    for (int i = 1; i <= points; ++i) {
      const double angle = -2.0 * M_PI * (i - 1 + 0.9 * unit(rng)) / points;
      const double reach = r * (round % 5 == 0 ? 0.2 + 1.5 * unit(rng) : 0.5 + 30.0 * unit(rng));
      double x = sx + reach * std::cos(angle);
      double y = sy + reach * std::sin(angle);
      const int k = 1 + static_cast<int>(unit(rng) * nA);
      switch (static_cast<int>(unit(rng) * 10)) {
        case 0: {  // in a corner's direction from the centroid, or on the corner itself
          const double along = unit(rng) < 0.3 ? 1.0 : 1.0 + 20.0 * unit(rng);
          x = mx + along * (circle.x[k] - mx);
          y = my + along * (circle.y[k] - my);
          break;
        }
        case 1:  // straight above or below the centroid, or within 1e-5 of it in x
          x = mx + (unit(rng) < 0.5 ? 0.0 : 2e-5 * unit(rng) - 1e-5);
          break;
        case 2: {  // on a plot edge
          const double t = unit(rng);
          x = circle.x[k] + t * (circle.x[k + 1] - circle.x[k]);
          y = circle.y[k] + t * (circle.y[k + 1] - circle.y[k]);
          break;
        }
        case 3:  // on whole metres, where grid points and stand corners fall
          x = std::round(x);
          y = std::round(y);
          break;
        case 4:  // the point before again, or the one before that (a spike out and back)
          if (i > 2) {
            const int back = unit(rng) < 0.5 ? i - 1 : i - 2;
            x = stand.x[back];
            y = stand.y[back];
          }
          break;
        default:
          break;
      }
      stand.x[i] = x;
      stand.y[i] = y;
    }
    stand.n = points;
    if (round % 50 != 0) {  // now and then left open
      stand.x[points + 1] = stand.x[1];
      stand.y[points + 1] = stand.y[1];
      stand.n = points + 1;
    }
    // Now and then the same stand points again for a circle of another radius.
    if (atOrigin && round % 4 != 0 && lastStand.n > 0) stand = lastStand;
    lastStand = stand;
    const bool enterprise = round % 7 == 0;

    // Circles around (0, 0) are clipped by one context, as the edge correction does, told the circle;
    // so are the circles that come again.
    GeometryContext fresh, full;
    GeometryContext& quick = atOrigin || repeated ? kept : fresh;
    quick.clip.circleCorners = atOrigin ? nA : 0;
    quick.clip.circleRadius = atOrigin ? r : 0.0;
    quick.enterpriseMode = full.enterpriseMode = enterprise;
    full.testing.clipWithoutShortcuts = true;
    ClipPolygonPoints quickResult, fullResult;
    ClipAreas quickAreas, fullAreas;
    const bool quickOk = ClipPlotPolygon(quick, nA, circle, stand, stand.n, quickResult, quickAreas);
    const bool fullOk = ClipPlotPolygon(full, nA, circle, stand, stand.n, fullResult, fullAreas);
    SCOPED_TRACE("round " + std::to_string(round));
    ASSERT_NO_FATAL_FAILURE(ExpectSameClip({quick, quickOk, quickResult, quickAreas}, {full, fullOk, fullResult, fullAreas}));
    if (fullOk && fullResult.n > 0 && fullAreas.result < fullAreas.plot) ++cut;
  }
  EXPECT_GT(cut, 3000);
  EXPECT_GT(again, 10000);
}

// A stand point whose way to c is exactly 1e-5 wide in x, where the search's formulas change: the
// nearest such x to the one asked for, or that x when none lies within a few steps.
double ExactlyNarrow(double cx, double sign) {
  double x = cx + sign * 1e-5;
  for (int step = 0; step < 8 && std::fabs(x - cx) != 1e-5; ++step)
    x = std::nextafter(x, std::fabs(x - cx) < 1e-5 ? sign * 1e9 : -sign * 1e9);
  return x;
}

// Circles around (0, 0) clipped one after another against the same stand points, as at one plot centre:
// stand points straight above and below the centre far out (ways within, at and just beyond 1e-5 of
// vertical in x), at the reach where points count as far out, just inside and outside the circle's
// edges, in the directions of its corners and just off them. The walk takes many of these as outside
// by the edge in their direction, or as inside by their distance, and leaves the edge its search would
// have stopped at; every clip must come out as with every point searched.
TEST(CircleClipShortcuts, PointsAtTheLimitsOfTheShortcutsAgreeWithTheFullSearches) {
  std::mt19937 rng(2207);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  GeometryContext quick;  // kept over all clips, as the edge correction keeps it
  int cut = 0;
  int clips = 0;
  int passable = 0;  // edges some radius passes untouched
  for (int round = 0; round < 10000; ++round) {
    const int cornerChoices[] = {36, 36, 8, 7, 9, 12, 3, 5, 49, 36};
    const int nA = cornerChoices[round % 10];
    const double r0 = std::exp(std::log(1e-3) + unit(rng) * std::log(1e6));  // 0.001 .. 1000
    CirclePolygonPoints circle;
    ASSERT_TRUE(CirclePolygon(nA, 0, 0, r0, circle));
    GeoPoint c;
    GeometryContext scratch;
    PolygonCentroid(scratch, PolygonRef(circle).WithCount(nA), c.x, c.y);
    const double half = M_PI / nA;  // half a corner step
    const double nearest = r0 * std::cos(half);

    // A clockwise ring of points, each of one of the awkward kinds.
    const int points = 4 + static_cast<int>(unit(rng) * 54);
    StandPolygonPoints stand;
    for (int i = 1; i <= points; ++i) {
      const double angle = -2.0 * M_PI * (i - 1 + 0.8 * unit(rng)) / points;
      double reach = r0 * (0.3 + 3.0 * unit(rng));
      GeoPoint p{reach * std::cos(angle), reach * std::sin(angle)};
      const double side = p.y >= 0.0 ? 1.0 : -1.0;
      const double far = r0 * (1.02 + (unit(rng) < 0.5 ? 1e-9 * unit(rng) : 40.0 * unit(rng)));
      switch (static_cast<int>(unit(rng) * 10)) {
        case 0:  // far straight above or below the centroid, the way within 1e-5 of vertical or at it
          p = {unit(rng) < 0.5 ? ExactlyNarrow(c.x, unit(rng) < 0.5 ? 1.0 : -1.0) : c.x, side * far};
          break;
        case 1: {  // just beyond 1e-5, or anywhere within a millimetre of vertical
          const double dx = unit(rng) < 0.5 ? std::nextafter(1e-5, 1.0) * (1.0 + 1e-6 * unit(rng)) : 1e-3 * unit(rng);
          p = {c.x + (unit(rng) < 0.5 ? dx : -dx), side * far};
          break;
        }
        case 2:  // at the far reach, in any direction
          p = {far * std::cos(angle), far * std::sin(angle)};
          break;
        case 3: {  // about the distance of the edges' lines from the centre, just inside or outside it
          const double d = nearest * (unit(rng) < 0.5 ? 0.99 + 2e-3 * (unit(rng) - 0.5) : 0.98 + 0.04 * unit(rng));
          p = {d * std::cos(angle), d * std::sin(angle)};
          break;
        }
        case 4: {  // far out through a corner, or 1 % along an edge from one, give or take a little
          const int k = 1 + static_cast<int>(unit(rng) * nA);
          const double t = unit(rng) < 0.3 ? 0.0 : 0.01 + 1e-4 * (unit(rng) - 0.5);
          const GeoPoint at{circle.x[k] + t * (circle.x[k + 1] - circle.x[k]),
                            circle.y[k] + t * (circle.y[k + 1] - circle.y[k])};
          const double along = far / std::hypot(at.x, at.y);
          p = {along * at.x, along * at.y};
          break;
        }
        case 5:  // near the centre, within 1e-5 of the centroid in x
          p = {c.x + 2e-5 * (unit(rng) - 0.5), r0 * (unit(rng) - 0.5)};
          break;
        case 6:  // this point and the next on a line along a circle edge, just inside or outside it
          if (i < points) {
            const int k = 1 + static_cast<int>(unit(rng) * nA);
            const double ex = circle.x[k + 1] - circle.x[k], ey = circle.y[k + 1] - circle.y[k];
            const double length = std::hypot(ex, ey);
            const GeoPoint along{ex / length, ey / length}, out{-ey / length, ex / length};
            const double d = nearest * (0.99 + 4e-3 * (unit(rng) - 0.5));
            for (int end = 0; end < 2; ++end) {
              const double t = r0 * (unit(rng) - 0.5);
              stand.x[i + end] = d * out.x + t * along.x;
              stand.y[i + end] = d * out.y + t * along.y;
            }
            ++i;
            continue;
          }
          break;
        default:
          break;
      }
      stand.x[i] = p.x;
      stand.y[i] = p.y;
    }
    stand.x[points + 1] = stand.x[1];
    stand.y[points + 1] = stand.y[1];
    stand.n = points + 1;

    // This circle and others at the same centre: the first, exactly, and radii a little and far off.
    for (int k = 0; k < 6; ++k) {
      const double r = k == 0 ? r0 : r0 * (k % 2 == 0 ? 1.0 + 1e-6 * (unit(rng) - 0.5) : 0.5 + 2.0 * unit(rng));
      ASSERT_TRUE(CirclePolygon(nA, 0, 0, r, circle));
      quick.clip.circleCorners = nA;
      quick.clip.circleRadius = r;
      GeometryContext full;
      full.testing.clipWithoutShortcuts = true;
      ClipPolygonPoints quickResult, fullResult;
      ClipAreas quickAreas, fullAreas;
      const bool quickOk = ClipPlotPolygon(quick, nA, circle, stand, stand.n, quickResult, quickAreas);
      const bool fullOk = ClipPlotPolygon(full, nA, circle, stand, stand.n, fullResult, fullAreas);
      quick.clip.circleCorners = 0;
      quick.clip.circleRadius = 0.0;
      SCOPED_TRACE("round " + std::to_string(round) + " radius " + std::to_string(k));
      ASSERT_NO_FATAL_FAILURE(
          ExpectSameClip({quick, quickOk, quickResult, quickAreas}, {full, fullOk, fullResult, fullAreas}));
      ++clips;
      if (fullOk && fullResult.n > 0 && fullAreas.result < fullAreas.plot) ++cut;
      if (k > 0) continue;
      // The edges a radius passes untouched, looked up by radius, are those whose own limit lies above
      // it, also for radii at the limits themselves.
      const ClipStandView& view = quick.clip.standView;
      for (int i = 2; i <= view.n; ++i) {
        for (double at : {view.clear[static_cast<std::size_t>(i)], std::nextafter(view.clear[static_cast<std::size_t>(i)], 0.0), r}) {
          if (!(at >= 1e-3)) continue;
          std::uint64_t limits = 0;
          for (int e = 2; e <= view.n; ++e)
            if (at < view.clear[static_cast<std::size_t>(e)]) limits |= std::uint64_t{1} << e;
          ASSERT_EQ(view.PassedAt(at), limits) << "edge " << i;
        }
        if (view.clear[static_cast<std::size_t>(i)] >= 1e-3) ++passable;
      }
    }
  }
  EXPECT_EQ(clips, 60000);
  EXPECT_GT(cut, 6000);
  EXPECT_GT(passable, 10000);
}

// The parts a context keeps of a plot polygon serve only that polygon: plots sharing their first corners
// with one clipped before, or differing from it in one coordinate of one corner by the least step, are
// clipped as by a context that never saw another plot.
TEST(ClipPlotPolygon, KeptPlotPartsServeOnlyTheSamePlot) {
  const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
  std::mt19937 rng(4417);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const StandPolygonPoints stand = MakePolygon<kStandPolygonSlots>({{-3, -20}, {-3, 4}, {2, 20}, {30, 20}, {30, -20}});
  GeometryContext kept;
  for (int round = 0; round < 3000; ++round) {
    const int nA = round % 3 == 0 ? 12 : 36;
    CirclePolygonPoints plot;
    ASSERT_TRUE(CirclePolygon(nA, 0, 0, 10.0, plot));
    if (round % 5 != 0) {
      const int k = 2 + static_cast<int>(unit(rng) * (nA - 1));  // the first corner stays
      double& v = round % 2 == 0 ? plot.x[k] : plot.y[k];
      v = round % 4 < 2 ? std::nextafter(v, 100.0) : v + 2.0 * unit(rng) - 1.0;
    }
    kept.clip.circleCorners = round % 5 == 0 ? nA : 0;
    kept.clip.circleRadius = round % 5 == 0 ? 10.0 : 0.0;
    GeometryContext fresh;
    fresh.testing.clipWithoutShortcuts = true;
    ClipPolygonPoints keptResult, freshResult;
    ClipAreas keptAreas, freshAreas;
    SCOPED_TRACE("round " + std::to_string(round));
    ASSERT_EQ(ClipPlotPolygon(kept, nA, plot, stand, stand.n, keptResult, keptAreas),
              ClipPlotPolygon(fresh, nA, plot, stand, stand.n, freshResult, freshAreas));
    ASSERT_TRUE(same(keptAreas.plot, freshAreas.plot) && same(keptAreas.result, freshAreas.result));
    ASSERT_TRUE(same(kept.clip.plotCentroid.x, fresh.clip.plotCentroid.x) && same(kept.clip.plotCentroid.y, fresh.clip.plotCentroid.y));
    ASSERT_EQ(kept.clip.lastEdgeHit, fresh.clip.lastEdgeHit);
    ASSERT_EQ(keptResult.n, freshResult.n);
    for (int i = 1; i <= freshResult.n; ++i)
      ASSERT_TRUE(same(keptResult.x[i], freshResult.x[i]) && same(keptResult.y[i], freshResult.y[i])) << "point " << i;
  }
}

// Edge bands skip edges only when their spans surely miss the range asked for: every edge whose span
// meets a range (touching included) is among those Meeting gives, at any origin and scale, for a scale
// of 0 and for ranges reaching far beyond the bands.
TEST(EdgeBands, NoEdgeMeetingARangeIsLeftOut) {
  std::mt19937 rng(4417);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int round = 0; round < 2000; ++round) {
    const int count = 1 + static_cast<int>(unit(rng) * 64);
    std::array<double, 65> lows{}, highs{};
    for (int i = 1; i <= count; ++i) {
      const double a = 100 * unit(rng) - 50, b = a + (i % 4 == 0 ? 0.0 : 30 * unit(rng));
      lows[i] = a;
      highs[i] = b;
    }
    EdgeBands bands;
    const double scale = round % 10 == 0 ? 0.0 : kEdgeBands / (60 + 100 * unit(rng));
    TakeEdgeBands(count, lows.data(), highs.data(), -50 - 20 * unit(rng), scale, round % 2, bands);
    for (int query = 0; query < 50; ++query) {
      const int k = 1 + static_cast<int>(unit(rng) * count);
      double low = 400 * unit(rng) - 200, high = low + 100 * unit(rng);
      if (query % 3 == 0) low = high = (query % 2 == 0 ? lows[k] : highs[k]);  // touching an end
      const std::uint64_t near = bands.Meeting(low, high);
      for (int i = 1; i <= count; ++i) {
        if (highs[i] >= low && lows[i] <= high) {
          ASSERT_TRUE((near >> (i - 1)) & 1) << round << " " << i;
        }
      }
    }
  }
}

// The bands of a circle clip are taken once per corner count from the first circle's corners over its
// radius and serve every radius after: each edge's box, taken over the radius as the searches take a
// segment's, lies in the edge's bands.
TEST(ClipPlotPolygon, CircleEdgeBandsHoldForEveryRadius) {
  std::mt19937 rng(812);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  // A stand far out to the right: the view holds and the clip takes the bands.
  const StandPolygonPoints stand = MakePolygon<kStandPolygonSlots>({{5000, -10}, {5000, 10}, {5020, 10}, {5020, -10}});
  for (int nA : {3, 5, 12, 36, 49}) {
    GeometryContext g;
    CirclePolygonPoints circle;
    const double first = std::exp(std::log(1e-3) + unit(rng) * std::log(1e6));
    ASSERT_TRUE(CirclePolygon(nA, 0, 0, first, circle));
    g.clip.circleCorners = nA;
    g.clip.circleRadius = first;
    ClipPolygonPoints result;
    ClipAreas areas;
    ClipPlotPolygon(g, nA, circle, stand, stand.n, result, areas);
    ASSERT_EQ(g.clip.circleEdgeBands.corners, nA);
    for (int round = 0; round < 300; ++round) {
      const double r = std::exp(std::log(1e-3) + unit(rng) * std::log(1e6));
      ASSERT_TRUE(CirclePolygon(nA, 0, 0, r, circle));
      for (int j = 1; j <= nA; ++j) {
        const std::uint64_t bit = std::uint64_t{1} << (j - 1);
        for (double v : {circle.x[j], circle.x[j + 1]})
          ASSERT_TRUE(g.clip.circleEdgeBands.x.Meeting(v * (1.0 / r), v * (1.0 / r)) & bit) << nA << " " << r << " " << j;
        for (double v : {circle.y[j], circle.y[j + 1]})
          ASSERT_TRUE(g.clip.circleEdgeBands.y.Meeting(v * (1.0 / r), v * (1.0 / r)) & bit) << nA << " " << r << " " << j;
      }
    }
  }
}

TEST(ClipPlotPolygon, TwoCirclesOneInsideTheOther) {
  GeometryContext g;
  CirclePolygonPoints first, second;
  CirclePolygon(36, 0, 0, 10, first);
  CirclePolygon(36, 1, 1, 4, second);
  StandPolygonPoints secondAsStand;
  CopyPolygon(g, second.n, second, secondAsStand);
  g.twoCircle = {true, 0, 0, 10, 1, 1, 4};
  ClipPolygonPoints result;
  ClipAreas areas;
  ASSERT_TRUE(ClipPlotPolygon(g, 36, first, secondAsStand, secondAsStand.n, result, areas));
  EXPECT_EQ(result.n, second.n);
  EXPECT_EQ(result.x[7], second.x[7]);
  EXPECT_NEAR(areas.result, boost::geometry::area(ToRef(second)), 1e-9);
}

TEST(ClipPlotPolygon, CapacitiesFailCleanlyWithTheirReports) {
  // A stand of 60 points is refused.
  {
    PointList many;
    for (int k = 0; k < 59; ++k) {
      const double a = -2.0 * M_PI * k / 59;
      many.emplace_back(50 + 40 * std::cos(a), 50 + 40 * std::sin(a));
    }
    ClipCase k(50, 90, 10, many);
    ASSERT_EQ(k.stand.n, 60);
    EXPECT_FALSE(k.Clip());
    EXPECT_TRUE(k.g.diagnostics.errorFlag);
    EXPECT_EQ(k.g.diagnostics.report.german, "Feldüberschreitung F21/60");
    EXPECT_EQ(k.result.n, 0);
  }
  // A plot polygon of 50 corners is refused.
  {
    GeometryContext g;
    CirclePolygonPoints circle;
    ASSERT_TRUE(CirclePolygon(50, 0, 0, 5, circle));
    const auto stand = MakePolygon<kStandPolygonSlots>({{-10, -10}, {-10, 2}, {10, 2}, {10, -10}});
    ClipPolygonPoints result;
    ClipAreas areas;
    EXPECT_FALSE(ClipPlotPolygon(g, 50, circle, stand, stand.n, result, areas));
    EXPECT_EQ(g.diagnostics.report.german, "Feldüberschreitung F21/232");
  }
  // A comb whose teeth reach into the circle fills the crossing table.
  auto comb = [](int teeth) {
    PointList pts{{-20, -20}, {-20, 12}};
    for (int t = 0; t < teeth; ++t) {
      const double x = -5.5 + 11.0 * t / teeth;
      pts.emplace_back(x, 12);
      pts.emplace_back(x + 5.5 / teeth, 8);
    }
    pts.emplace_back(5.5, 12);
    pts.emplace_back(20, 12);
    pts.emplace_back(20, -20);
    return pts;
  };
  {
    ClipCase k(0, 0, 10, comb(26));
    ASSERT_LT(k.stand.n, 60);
    EXPECT_FALSE(k.Clip());
    EXPECT_EQ(k.g.diagnostics.report.german, "Feldüberschreitung F21/66");
    EXPECT_EQ(k.result.n, 0);
  }
  // Fewer teeth fit the table, but the result grows past 75 points: failed without a report.
  {
    ClipCase k(0, 0, 10, comb(19));
    EXPECT_FALSE(k.Clip());
    EXPECT_TRUE(k.g.diagnostics.errorFlag);
    EXPECT_FALSE(k.g.diagnostics.report.pending);
    EXPECT_EQ(k.result.n, 0);
  }
}

TEST(ClipPlotPolygon, UnclosedOrDegenerateInputFails) {
  ClipCase k(50, 4, 10, {{0, 0}, {0, 100}, {100, 100}, {100, 0}});
  k.stand.x[k.stand.n] = 1.0;  // no longer closed
  EXPECT_FALSE(k.Clip());
  EXPECT_TRUE(k.g.diagnostics.errorFlag);
  EXPECT_TRUE(k.g.diagnostics.report.pending);

  ClipCase flat(50, 4, 10, {{0, 0}, {50, 0}, {100, 0}});
  EXPECT_FALSE(flat.Clip());
  EXPECT_TRUE(flat.g.diagnostics.errorFlag);
}

TEST(ClipPlotPolygon, EnterprisePieceIsClosedByTheWalk) {
  // The enterprise subdivision hands the compartment as plot polygon and an unclosed piece; areas
  // come back as 0 and the caller measures the result itself.
  GeometryContext g;
  g.enterpriseMode = true;
  const auto compartment = MakePolygon<kCirclePolygonSlots>({{0, 0}, {0, 100}, {100, 100}, {100, 0}});
  auto piece = MakePolygon<kStandPolygonSlots>({{50, 50}, {-700, 50}, {-700, 700}, {50, 700}}, false);
  piece.x[5] = piece.x[1];  // the caller's closing point
  piece.y[5] = piece.y[1];
  ClipPolygonPoints result;
  ClipAreas areas;
  ASSERT_TRUE(ClipPlotPolygon(g, 4, compartment, piece, 4, result, areas));
  EXPECT_EQ(areas.result, 0.0);
  EXPECT_NEAR(std::fabs(ClosedPolygonArea(g, result)), 2500.0, 1e-6);
}

}  // namespace
}  // namespace tolvek
