#include "simulator/sampling/edge_correction.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "common/circle_pi.h"
#include "tests/simulator/sampling/geometry_reference.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

using testing::MakePolygon;
using testing::PointList;


// A 200 m square stand, clockwise.
const PointList kSquare{{0, 0}, {0, 200}, {200, 200}, {200, 0}};

// The exact area of a circle inside the stand.
double ExactInside(const PointList& stand, double x, double y, double r) {
  return testing::CircleInsidePolygon(stand, x, y, r);
}

// The area of a circle polygon inside the stand.
double PolygonInside(const CirclePolygonPoints& circle, const PointList& stand) {
  return testing::ConvexClipArea(circle, stand);
}

// A star-shaped stand around (100, 100) reaching 40 to 100 m out: corners at strictly falling angles, a
// simple polygon, clockwise.
PointList StarStand(std::mt19937& rng, int corners) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  PointList pts;
  for (int k = 0; k < corners; ++k) {
    const double angle = -2.0 * M_PI * (k + 0.7 * unit(rng)) / corners;
    const double radius = 40.0 + 60.0 * unit(rng);
    pts.emplace_back(100 + radius * std::cos(angle), 100 + radius * std::sin(angle));
  }
  return pts;
}

struct Fixture {
  GeometryContext g;
  StandPolygonPoints boundary;
  explicit Fixture(const PointList& pts) : boundary(MakePolygon<kStandPolygonSlots>(pts)) {}
  EdgeWeightResult Weight(double a, double r, double y, double x) { return EdgeWeight(g, boundary, a, r, y, x); }
};

TEST(EdgeWeight, FarFromEveryEdgeIsOneWithoutClipping) {
  Fixture f(kSquare);
  f.g.edge.clipResult.n = -5;  // a clip would overwrite it
  for (auto [x, y] : {std::pair{100.0, 100.0}, std::pair{20.0, 20.0}, std::pair{10.5, 189.5}}) {
    const auto w = f.Weight(0, 10, y, x);
    EXPECT_EQ(w.kind, EdgeCutKind::None);
    EXPECT_EQ(w.weight, 1.0);
    EXPECT_FALSE(w.failed);
    EXPECT_FALSE(f.g.edge.failed);
    EXPECT_FALSE(f.g.diagnostics.errorFlag);
  }
  EXPECT_EQ(f.g.edge.clipResult.n, -5);
  EXPECT_EQ(f.g.clip.crossingCount, 0);
}

TEST(EdgeWeight, ChordThroughTheCentreAndTheHalfChordRule) {
  Fixture f(kSquare);
  const double r = 10;
  // On the bottom edge: the chord is a diameter, θ = π, half the circle is inside.
  const auto centre = f.Weight(0, r, 0, 100);
  EXPECT_EQ(centre.kind, EdgeCutKind::Chord);
  EXPECT_NEAR(centre.weight, 2.0, 1e-9);
  EXPECT_FALSE(centre.failed);
  // a <= 0.1 means πr²; a given area is used as it is.
  EXPECT_EQ(f.Weight(0.1, r, 0, 100).weight, centre.weight);
  EXPECT_NEAR(f.Weight(kCirclePi * r * r, r, 0, 100).weight, centre.weight, 1e-12);

  // 1 cm inside the edge the half-chord ratio is above 0.999: θ is taken as π, the same weight.
  const auto near = f.Weight(0, r, 0.01, 100);
  EXPECT_EQ(near.kind, EdgeCutKind::Chord);
  EXPECT_EQ(near.weight, centre.weight);

  // Further in, the arctangent applies; the weight is the exact one for a straight cut.
  for (double d : {0.5, 2.0, 4.47, 7.0, 9.9}) {
    SCOPED_TRACE(d);
    const double exactInside = kCirclePi * r * r - (r * r * std::acos(d / r) - d * std::sqrt(r * r - d * d));
    const auto w = f.Weight(0, r, d, 100);
    EXPECT_EQ(w.kind, EdgeCutKind::Chord);
    EXPECT_NEAR(w.weight, kCirclePi * r * r / exactInside, 1e-9);
    EXPECT_NEAR(f.g.edge.chord1.y, 0.0, 1e-12);
  }
}

TEST(EdgeWeight, CornerNearItsChordCountsAsStraight) {
  // A roof-shaped stand edge with its ridge at (100, 100 + h) over a plot at (100, 100); the eaves at
  // x = 0 and 200 lie at height e. The ridge's distance from the chord between its two crossings
  // decides.
  auto roof = [](double h, double e) { return PointList{{0, 0}, {0, e}, {100, 100 + h}, {200, e}, {200, 0}}; };
  const double r = 10;
  auto ridgeToChord = [&](double h, double e) {
    const double slope = (100 + h - e) / 100;  // the edge falls by this per metre from the ridge
    // Crossing: u² + (h - slope u)² = r², u > 0.
    const double qa = 1 + slope * slope, qb = -2 * h * slope, qc = h * h - r * r;
    const double u = (-qb + std::sqrt(qb * qb - 4 * qa * qc)) / (2 * qa);
    return slope * u;
  };
  for (auto [h, e] : {std::pair{2.0, 100.0}, std::pair{4.0, 99.0}, std::pair{4.0, 97.5}, std::pair{6.0, 80.0}}) {
    SCOPED_TRACE(e);
    Fixture f(roof(h, e));
    const auto w = f.Weight(0, r, 100, 100);
    const double distance = ridgeToChord(h, e);
    EXPECT_EQ(w.kind, distance < 0.5 ? EdgeCutKind::Chord : EdgeCutKind::Corner) << distance;
    if (w.kind == EdgeCutKind::Corner) {
      EXPECT_NEAR(w.weight, kCirclePi * r * r / ExactInside(roof(h, e), 100, 100, r), 1e-7 * w.weight);
      EXPECT_EQ(f.g.edge.cornerTriangle.x[1], 100);
      EXPECT_EQ(f.g.edge.cornerTriangle.y[1], 100 + h);
      EXPECT_GT(f.g.edge.cornerTriangle.x[2], 100);  // crossing on the edge leaving the corner
      EXPECT_LT(f.g.edge.cornerTriangle.x[3], 100);  // crossing on the edge reaching it
    }
  }
  // Both sides of the 0.5 m rule occur above.
  EXPECT_LT(ridgeToChord(4.0, 99.0), 0.5);
  EXPECT_GT(ridgeToChord(4.0, 97.5), 0.5);
}

TEST(EdgeWeight, CentresOnTheBoundaryThatTheGridTakesGetTheirTrueWeight) {
  // The grid takes the points of a rectangle's left and bottom edges, its lower left corner among them:
  // each such plot is weighed by the part of its circle inside the stand, about 2 on a straight edge
  // and 4 at the corner (the triangle of the corner holds the centre as the grid's test decides it).
  Fixture f(kSquare);
  const double r = 10;
  int taken = 0;
  for (int k = 0; k < 200; ++k)
    for (auto [x, y] : {std::pair{double(k), 0.0}, std::pair{0.0, double(k)}}) {
      if (!PointInPolygon(f.boundary, x, y)) continue;
      ++taken;
      SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(y));
      const auto w = f.Weight(0, r, y, x);
      ASSERT_FALSE(w.failed);
      // A circle through a corner is clipped, within the polygon's approximation of the circle.
      const double tolerance = w.kind == EdgeCutKind::Complex ? 0.01 : 1e-7;
      EXPECT_NEAR(w.weight, kCirclePi * r * r / ExactInside(kSquare, x, y, r), tolerance * w.weight);
    }
  EXPECT_EQ(taken, 400);  // the corner twice
  EXPECT_NEAR(f.Weight(0, r, 0, 0).weight, 4.0, 1e-9);
  EXPECT_NEAR(f.Weight(0, r, 0, 100).weight, 2.0, 1e-9);
  EXPECT_NEAR(f.Weight(0, r, 100, 0).weight, 2.0, 1e-9);
  // The same at the left corner of a slanted stand, whose edges meet at 60°.
  const double h = 100.0 * std::sqrt(3.0);
  const PointList wedge{{0, 0}, {50, h / 2}, {200, h / 2}, {200, 0}};
  Fixture s(wedge);
  ASSERT_TRUE(PointInPolygon(s.boundary, 0, 0));
  EXPECT_NEAR(s.Weight(0, r, 0, 0).weight, 6.0, 1e-6);
}

TEST(EdgeWeight, ComplexCutsAreClippedAndScaled) {
  // A narrow stand strip: the circle takes in two corners at its end.
  const PointList strip{{0, 0}, {0, 200}, {12, 200}, {12, 0}};
  Fixture f(strip);
  testing::FakeBeeper beeper;
  f.g.beeper = &beeper;
  const double r = 10, x = 6, y = 4;
  const auto w = f.Weight(0, r, y, x);
  ASSERT_EQ(w.kind, EdgeCutKind::Complex);
  EXPECT_FALSE(w.failed);
  EXPECT_EQ(beeper.beeps, 0);
  // The clip of the 36-corner polygon, measured independently, raised by 1.00609.
  CirclePolygonPoints circle;
  CirclePolygon(36, x, y, r, circle);
  const double polygonInside = PolygonInside(circle, strip);
  EXPECT_NEAR(w.weight, kCirclePi * r * r / (polygonInside * 1.00609), 1e-9);
  EXPECT_NEAR(f.g.edge.clipAreas.result, polygonInside, 1e-9);
  // Within the polygon approximation of the exact area.
  EXPECT_NEAR(w.weight, kCirclePi * r * r / ExactInside(strip, x, y, r), 0.01 * w.weight);

  // A stand edge wholly inside the circle (a small notch) is complex as well.
  const PointList notch{{0, 0}, {0, 200}, {200, 200}, {200, 0}, {104, 0}, {104, 3}, {100, 3}, {100, 0}};
  Fixture n(notch);
  const auto wn = n.Weight(0, r, 5, 102);
  ASSERT_EQ(wn.kind, EdgeCutKind::Complex);
  EXPECT_NEAR(wn.weight, kCirclePi * r * r / ExactInside(notch, 102, 5, r), 0.01 * wn.weight);
}

TEST(EdgeWeight, RandomPlotsAgainstNonConvexStands) {
  // Star-shaped stands with up to 40 corners; plot centres inside the stand near its boundary.
  std::mt19937 rng(99);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int byKind[4] = {0, 0, 0, 0};
  int failed = 0;
  for (int round = 0; round < 3000; ++round) {
    const int corners = 4 + static_cast<int>(unit(rng) * 37);
    const PointList pts = StarStand(rng, corners);
    Fixture f(pts);
    // Edges within 0.1 m of vertical meet the circle as if vertical at their end: not exact.
    bool steep = false;
    for (int i = 1; i < f.boundary.n; ++i) steep = steep || std::fabs(f.boundary.x[i] - f.boundary.x[i + 1]) <= 0.1;
    if (steep) continue;
    const double r = 4 + 16 * unit(rng);
    const auto& [ex, ey] = pts[static_cast<std::size_t>(unit(rng) * corners)];
    const double x = ex + r * (2 * unit(rng) - 1);
    const double y = ey + r * (2 * unit(rng) - 1);
    if (!PointInPolygon(f.boundary, x, y)) continue;
    const auto w = f.Weight(0, r, y, x);
    if (w.failed) {
      ++failed;
      continue;
    }
    ++byKind[static_cast<int>(w.kind)];
    const double exact = ExactInside(pts, x, y, r);
    if (w.kind == EdgeCutKind::Complex) {
      // The clip measures the 36-corner polygon exactly, then raises it by 1.00609 ...
      CirclePolygonPoints circle;
      CirclePolygon(36, x, y, r, circle);
      EXPECT_NEAR(kCirclePi * r * r / w.weight / 1.00609, PolygonInside(circle, pts), 1e-9 * r * r) << round;
      // ... which stays within a few per cent of the true area.
      EXPECT_NEAR(w.weight, kCirclePi * r * r / exact, 0.03 * w.weight) << round;
    } else if (w.kind != EdgeCutKind::None &&
               std::hypot(f.g.edge.chord1.x - f.g.edge.chord2.x, f.g.edge.chord1.y - f.g.edge.chord2.y) / 2 / r <= 0.999) {
      // A corner taken as straight (within 0.5 m of its chord) is off by the thin triangle.
      const double slack = w.kind == EdgeCutKind::Chord ? 0.5 * 2 * r : 0.0;
      EXPECT_NEAR(kCirclePi * r * r / w.weight, exact, 1e-6 * r * r + slack) << round;
    }
  }
  EXPECT_GT(byKind[1], 100);
  EXPECT_GT(byKind[2], 50);
  EXPECT_GT(byKind[3], 100);
  EXPECT_LT(failed, 100);
}

// Everything a weight leaves that callers or later weights may read, bit for bit, against a context
// that takes every part afresh.
void ExpectSameWeight(const GeometryContext& quick, const GeometryContext& full, const EdgeWeightResult& q,
                      const EdgeWeightResult& f) {
  const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
  ASSERT_EQ(q.kind, f.kind);
  ASSERT_EQ(q.failed, f.failed);
  ASSERT_TRUE(same(q.weight, f.weight)) << q.weight << " " << f.weight;
  ASSERT_EQ(quick.diagnostics.errorFlag, full.diagnostics.errorFlag);
  if (f.kind != EdgeCutKind::Complex) return;
  ASSERT_EQ(quick.clip.lastEdgeHit, full.clip.lastEdgeHit);
  ASSERT_EQ(quick.clip.crossingCount, full.clip.crossingCount);
  ASSERT_EQ(std::memcmp(&quick.edge.clipAreas, &full.edge.clipAreas, sizeof quick.edge.clipAreas), 0);
  ASSERT_EQ(std::memcmp(&quick.clip.plotCentroid, &full.clip.plotCentroid, sizeof quick.clip.plotCentroid), 0);
  ASSERT_EQ(quick.edge.clipResult.n, full.edge.clipResult.n);
  for (int i = 1; i <= full.edge.clipResult.n; ++i)
    ASSERT_TRUE(same(quick.edge.clipResult.x[i], full.edge.clipResult.x[i]) && same(quick.edge.clipResult.y[i], full.edge.clipResult.y[i]));
  ASSERT_EQ(quick.edge.shiftedBoundary.n, full.edge.shiftedBoundary.n);
  for (int i = 1; i <= full.edge.shiftedBoundary.n; ++i)
    ASSERT_TRUE(same(quick.edge.shiftedBoundary.x[i], full.edge.shiftedBoundary.x[i]) &&
                same(quick.edge.shiftedBoundary.y[i], full.edge.shiftedBoundary.y[i]));
}

// The clip of a circle takes stand points far out and clear of the circle's corners as outside without
// testing an edge, from directions kept while the plot centre stays. Weights at one centre for many
// radii, as a pass makes them, and at the next centres must come out as with every edge tested. Most
// trees come again at other centres and stands with their radii, whose circles' parts the context keeps.
TEST(EdgeWeight, ClipShortcutsGiveTheSameWeights) {
  std::mt19937 rng(311);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  GeometryContext quick;  // kept across centres and stands, as in a run
  std::array<double, 60> treeRadii{};
  for (double& r : treeRadii) r = 2.0 + 45.0 * unit(rng);
  int complex = 0;
  for (int stand = 0; stand < 300; ++stand) {
    PointList pts = StarStand(rng, 4 + static_cast<int>(unit(rng) * 55));
    // Some corners on whole metres, as surveyed stands have them.
    for (std::size_t k = 0; k < pts.size(); k += 3) pts[k] = {std::round(pts[k].first), std::round(pts[k].second)};
    const StandPolygonPoints boundary = MakePolygon<kStandPolygonSlots>(pts);
    for (int centre = 0; centre < 20; ++centre) {
      // Grid-like centres, some on whole metres, mostly within reach of the boundary.
      double x = 100 + 110 * (2 * unit(rng) - 1), y = 100 + 110 * (2 * unit(rng) - 1);
      if (centre % 2 == 0) x = std::round(x), y = std::round(y);
      for (int tree = 0; tree < 15; ++tree) {
        const double r = tree % 5 == 4   ? 0.002 + 0.01 * unit(rng)
                         : tree % 5 == 0 ? 2.0 + 45.0 * unit(rng)
                                         : treeRadii[static_cast<std::size_t>(unit(rng) * 60)];
        const double a = tree % 3 == 0 ? 0.0 : 500.0 * unit(rng);
        GeometryContext full;
        full.testing.clipWithoutShortcuts = true;
        full.testing.crossingsWithoutShortcuts = true;
        const EdgeWeightResult q = EdgeWeight(quick, boundary, a, r, y, x);
        const EdgeWeightResult f = EdgeWeight(full, boundary, a, r, y, x);
        SCOPED_TRACE("stand " + std::to_string(stand) + " centre " + std::to_string(centre) + " tree " +
                     std::to_string(tree));
        ASSERT_NO_FATAL_FAILURE(ExpectSameWeight(quick, full, q, f));
        if (f.kind == EdgeCutKind::Complex) ++complex;
      }
    }
  }
  EXPECT_GT(complex, 10000);
}

// The weights at one plot centre shift the boundary to it once, and each clip trusts the view of it the
// clip before left. A boundary moved in place, clips of another boundary or stand by the same context in
// between, a new centre (or the same one reached again) and a clip at a new centre that failed before it
// took the view must each be noticed: every weight agrees bit for bit with one taken afresh. Also with the
// boundary held as a pass holds it: the crossing search compares it only when told that it may have
// changed (a new stand, centre or change in place, as a pass at each point) and follows other boundaries
// by their place.
class HeldBoundaryTest : public ::testing::TestWithParam<bool> {};

TEST_P(HeldBoundaryTest, BoundaryShiftedOncePerCentreFollowsEveryChange) {
  const bool held = GetParam();
  std::mt19937 rng(733);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  GeometryContext quick;
  int complex = 0;
  int changes[6] = {0, 0, 0, 0, 0, 0};
  std::optional<HeldBoundary> hold;
  for (int stand = 0; stand < 150; ++stand) {
    hold.reset();
    PointList pts = StarStand(rng, 4 + static_cast<int>(unit(rng) * 50));
    for (std::size_t k = 0; k < pts.size(); k += 3) pts[k] = {std::round(pts[k].first), std::round(pts[k].second)};
    StandPolygonPoints boundary = MakePolygon<kStandPolygonSlots>(pts);
    const StandPolygonPoints other = MakePolygon<kStandPolygonSlots>(StarStand(rng, 4 + static_cast<int>(unit(rng) * 50)));
    const auto nearBoundary = [&](double& x, double& y) {
      const auto& [ex, ey] = pts[static_cast<std::size_t>(unit(rng) * static_cast<double>(pts.size()))];
      x = std::round(ex + 30 * (2 * unit(rng) - 1));
      y = std::round(ey + 30 * (2 * unit(rng) - 1));
    };
    double x = 0, y = 0;
    nearBoundary(x, y);
    for (int step = 0; step < 60; ++step) {
      const double r = 5.0 + 40.0 * unit(rng);
      const int change = static_cast<int>(unit(rng) * 10);
      switch (change) {
        case 0: {  // another centre, or the same one worked out again
          if (unit(rng) < 0.5) {
            nearBoundary(x, y);
          } else {
            const double back = x;
            x = std::nextafter(std::nextafter(back, 1e9), -1e9);
          }
          break;
        }
        case 1: {  // the boundary moved in place by the least step at one point
          const int i = 1 + static_cast<int>(unit(rng) * (boundary.n - 1));
          boundary.y[i] = std::nextafter(boundary.y[i], 1e9);
          break;
        }
        case 2:  // another boundary's clip at this centre, straight through CircleInsideArea
          quick.diagnostics.errorFlag = false;
          CircleInsideArea(quick, other, r, y, x);
          break;
        case 3: {  // a circle clip of another stand, which takes the view of it
          CirclePolygonPoints circle;
          ASSERT_TRUE(CirclePolygon(36, 0, 0, r, circle));
          StandPolygonPoints shifted = other;
          for (int i = 1; i <= shifted.n; ++i) shifted.x[i] -= x, shifted.y[i] -= y;
          quick.clip.circleCorners = 36;
          quick.clip.circleRadius = r;
          ClipPolygonPoints result;
          ClipAreas areas;
          ClipPlotPolygon(quick, 36, circle, shifted, shifted.n, result, areas);
          quick.clip.circleCorners = 0;
          quick.clip.circleRadius = 0.0;
          break;
        }
        case 4:  // the crossing search of another boundary, which takes its table
          BoundaryCrossings(quick, other, y, x, r);
          break;
        case 5:  // at a new centre, a weight whose clip fails before it looks at the stand (too many corners)
          nearBoundary(x, y);
          quick.cornersPerCircle = 50;
          EdgeWeight(quick, boundary, 0.0, r, y, x);
          quick.cornersPerCircle = 36;
          break;
        default:
          break;
      }
      if (change < 6) ++changes[change];
      if (held && (change == 0 || change == 1 || change == 5)) hold.reset();
      if (held && !hold) hold.emplace(quick, boundary);
      GeometryContext full;
      full.testing.clipWithoutShortcuts = true;
      full.testing.crossingsWithoutShortcuts = true;
      const double a = step % 3 == 0 ? 0.0 : 500.0 * unit(rng);
      const EdgeWeightResult q = EdgeWeight(quick, boundary, a, r, y, x);
      const EdgeWeightResult f = EdgeWeight(full, boundary, a, r, y, x);
      SCOPED_TRACE("stand " + std::to_string(stand) + " step " + std::to_string(step));
      ASSERT_NO_FATAL_FAILURE(ExpectSameWeight(quick, full, q, f));
      if (f.kind == EdgeCutKind::Complex) ++complex;
    }
  }
  EXPECT_GT(complex, 2000);
  for (int seen : changes) EXPECT_GT(seen, 500);
}
INSTANTIATE_TEST_SUITE_P(EdgeWeight, HeldBoundaryTest, ::testing::Bool());

// The crossing search keeps each boundary's edges with their boxes and lines and visits only those near
// the circle. Kept across stands changed in place, with circles near, across and far from the boundary
// and at its very corners, it must leave every result as the visit of all edges does.
TEST(BoundaryCrossings, NearEdgesGiveTheSameCutsAsEveryEdge) {
  std::mt19937 rng(523);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  GeometryContext quick;
  StandPolygonPoints boundary;
  int byKind[4] = {0, 0, 0, 0};
  for (int stand = 0; stand < 400; ++stand) {
    if (stand % 4 != 3) {
      PointList pts = StarStand(rng, 3 + static_cast<int>(unit(rng) * 56));
      for (std::size_t k = 0; k < pts.size(); k += 3) pts[k] = {std::round(pts[k].first), std::round(pts[k].second)};
      // Flat stands and nearly vertical edges, where the bands and the steep-edge rule are borderline.
      if (stand % 10 == 0)
        for (auto& pt : pts) pt.second = 100.0;
      if (stand % 10 == 1) pts[1].first = pts[0].first + 0.05;
      boundary = MakePolygon<kStandPolygonSlots>(pts);
    } else {
      // The same arrays moved in place: the kept edges must follow.
      const int i = 1 + static_cast<int>(unit(rng) * (boundary.n - 1));
      boundary.x[i] = std::nextafter(boundary.x[i], 1e9) + (stand % 8 == 3 ? 30.0 : 0.0);
    }
    for (int circle = 0; circle < 60; ++circle) {
      const int k = 1 + static_cast<int>(unit(rng) * boundary.n);
      double x = boundary.x[std::min(k, boundary.n)], y = boundary.y[std::min(k, boundary.n)];
      if (circle % 3 != 0) {
        x += 60 * (2 * unit(rng) - 1);
        y += 60 * (2 * unit(rng) - 1);
      }
      double r = circle % 7 == 6 ? 0.01 * unit(rng) : 1.0 + 60.0 * unit(rng);
      if (circle == 59) r = stand % 2 == 0 ? -5.0 : std::numeric_limits<double>::quiet_NaN();
      GeometryContext full;
      full.testing.crossingsWithoutShortcuts = true;
      quick.diagnostics.errorFlag = circle % 2 == 0;
      full.diagnostics.errorFlag = quick.diagnostics.errorFlag;
      SCOPED_TRACE("stand " + std::to_string(stand) + " circle " + std::to_string(circle));
      const EdgeCutKind q = BoundaryCrossings(quick, boundary, y, x, r);
      const EdgeCutKind f = BoundaryCrossings(full, boundary, y, x, r);
      ++byKind[static_cast<int>(f)];
      ASSERT_EQ(q, f);
      ASSERT_EQ(quick.diagnostics.errorFlag, full.diagnostics.errorFlag);
      for (auto [a, b] : {std::pair{quick.edge.chord1, full.edge.chord1}, std::pair{quick.edge.chord2, full.edge.chord2}})
        ASSERT_TRUE(std::memcmp(&a, &b, sizeof a) == 0);
      ASSERT_EQ(quick.edge.cornerTriangle.n, full.edge.cornerTriangle.n);
      ASSERT_TRUE(quick.edge.cornerTriangle.x == full.edge.cornerTriangle.x && quick.edge.cornerTriangle.y == full.edge.cornerTriangle.y);
    }
  }
  EXPECT_GT(byKind[0], 1000);
  EXPECT_GT(byKind[1], 1000);
  EXPECT_GT(byKind[2], 500);
  EXPECT_GT(byKind[3], 1000);
}

TEST(EdgeWeight, RangeLimits) {
  EXPECT_FALSE(WeightInRange(0.979));
  EXPECT_TRUE(WeightInRange(0.98));
  EXPECT_TRUE(WeightInRange(10.0));
  EXPECT_FALSE(WeightInRange(10.01));

  // Through the weight itself: a chord through the centre halves the inside area, so a nominal area
  // of f × πr² gives a weight of about 2f.
  Fixture f(kSquare);
  const double r = 10;
  auto weightFor = [&](double target) { return f.Weight(target / 2.0 * kCirclePi * r * r, r, 0, 100); };
  for (double bad : {0.979, 10.01}) {
    const auto w = weightFor(bad);
    EXPECT_TRUE(w.failed) << bad;
    EXPECT_TRUE(f.g.edge.failed);
    EXPECT_TRUE(f.g.diagnostics.errorFlag);
    EXPECT_NEAR(w.weight, bad, 1e-6);  // still returned
  }
  for (double good : {0.9801, 9.999}) {
    const auto w = weightFor(good);
    EXPECT_FALSE(w.failed) << good;
    EXPECT_FALSE(f.g.edge.failed);  // cleared at the start of every weight
    EXPECT_FALSE(f.g.diagnostics.errorFlag);
  }
}

TEST(EdgeWeight, FailedClipGivesZeroAndBeeps) {
  // Two corners inside the circle send it to the clip; with more corners per circle than the clip
  // takes, the clip fails.
  const PointList strip{{0, 0}, {0, 200}, {12, 200}, {12, 0}};
  Fixture f(strip);
  testing::FakeBeeper beeper;
  f.g.beeper = &beeper;
  f.g.cornersPerCircle = 60;
  const auto w = f.Weight(0, 10, 4, 6);
  EXPECT_TRUE(w.failed);
  EXPECT_EQ(w.weight, 0.0);
  EXPECT_TRUE(f.g.edge.failed);
  EXPECT_EQ(beeper.beeps, 1);
  EXPECT_EQ(f.g.diagnostics.report.german, "Feldüberschreitung F21/232");

  // A circle polygon the arrays cannot take fails without a beep service too.
  Fixture g(strip);
  g.g.cornersPerCircle = 80;
  EXPECT_TRUE(g.Weight(0, 10, 4, 6).failed);
}

TEST(EdgeWeight, BadInputNeverGivesAWeight) {
  Fixture f(kSquare);
  EXPECT_TRUE(f.Weight(0, 10, NAN, 100).failed);
  EXPECT_TRUE(f.Weight(0, INFINITY, 100, 100).failed);
  Fixture empty(PointList{{0, 0}, {5, 5}});
  const auto w = empty.Weight(0, 10, 1, 1);
  EXPECT_TRUE(w.failed);
  EXPECT_TRUE(empty.g.edge.failed);
  // A boundary with a repeated point (a zero-length edge) is harmless.
  Fixture dup(PointList{{0, 0}, {0, 200}, {0, 200}, {200, 200}, {200, 0}});
  const auto d = dup.Weight(0, 10, 100, 5);
  EXPECT_EQ(d.kind, EdgeCutKind::Chord);
  EXPECT_FALSE(d.failed);
  EXPECT_TRUE(std::isfinite(d.weight));
}

TEST(EdgeWeight, ObserverSeesTheClip) {
  struct Recorder : GeometryObserver {
    int inputs = 0, outputs = 0;
    int boundaryPoints = 0;
    void ClipInput(const CirclePolygonPoints&, const StandPolygonPoints& b) override {
      ++inputs;
      boundaryPoints = b.n;
    }
    void ClipOutput(const ClipPolygonPoints&) override { ++outputs; }
  } recorder;
  const PointList strip{{0, 0}, {0, 200}, {12, 200}, {12, 0}};
  Fixture f(strip);
  f.g.observer = &recorder;
  f.Weight(0, 10, 4, 6);
  EXPECT_EQ(recorder.inputs, 1);
  EXPECT_EQ(recorder.outputs, 1);
  EXPECT_EQ(recorder.boundaryPoints, 5);
  f.Weight(0, 3, 100, 4);  // straight cut: no clip
  EXPECT_EQ(recorder.inputs, 1);
}

TEST(CircleInsideArea, PlotCentredClipAndTheFlagGate) {
  Fixture f(kSquare);
  ASSERT_TRUE(CircleInsideArea(f.g, f.boundary, 10, 3, 4));
  EXPECT_NEAR(f.g.edge.shiftedBoundary.x[1], -4, 1e-12);
  EXPECT_NEAR(f.g.edge.shiftedBoundary.y[1], -3, 1e-12);
  CirclePolygonPoints circle;
  CirclePolygon(36, 4, 3, 10, circle);
  EXPECT_NEAR(f.g.edge.clipAreas.result, PolygonInside(circle, kSquare), 1e-9);

  f.g.diagnostics.errorFlag = true;
  f.g.edge.clipAreas.result = -1;
  EXPECT_FALSE(CircleInsideArea(f.g, f.boundary, 10, 3, 4));
  EXPECT_EQ(f.g.edge.clipAreas.result, -1);
}

TEST(CircleInsideArea, StandCuttingTheCircleIntoPieces) {
  // Two prongs of a U reach into the circle: the walk counts the circle once too often, which the
  // subtraction of the circle's area puts right.
  const PointList u{{0, 0}, {0, 40}, {10, 40}, {10, 10}, {30, 10}, {30, 40}, {40, 40}, {40, 0}};
  Fixture two(u);
  ASSERT_TRUE(CircleInsideArea(two.g, two.boundary, 15, 40, 20));
  CirclePolygonPoints circle;
  CirclePolygon(36, 20, 40, 15, circle);
  EXPECT_NEAR(two.g.edge.clipAreas.result, PolygonInside(circle, u), 1e-9);

  // Three prongs: no area larger than the circle is passed on; the clip fails instead.
  const PointList comb{{0, 0}, {0, 40}, {6, 40}, {6, 10}, {12, 10}, {12, 40}, {18, 40},
                       {18, 10}, {24, 10}, {24, 40}, {30, 40}, {30, 0}};
  Fixture three(comb);
  CirclePolygon(36, 15, 40, 14, circle);
  if (CircleInsideArea(three.g, three.boundary, 14, 40, 15)) {
    EXPECT_NEAR(three.g.edge.clipAreas.result, PolygonInside(circle, comb), 1e-9);
  } else {
    EXPECT_TRUE(three.g.diagnostics.errorFlag);
  }
  EXPECT_LE(three.g.edge.clipAreas.result, three.g.edge.clipAreas.plot);
}

TEST(EdgeWeight, EnterpriseRouteMeasuresTheClipItself) {
  // The clip hands back no areas in enterprise mode; the weight must come out as on the stand route.
  const PointList strip{{0, 0}, {0, 200}, {12, 200}, {12, 0}};
  const PointList u{{0, 0}, {0, 40}, {10, 40}, {10, 10}, {30, 10}, {30, 40}, {40, 40}, {40, 0}};
  for (auto [stand, x, y, r] : {std::tuple{&strip, 6.0, 4.0, 10.0}, std::tuple{&u, 20.0, 30.0, 14.0}}) {
    Fixture standRoute(*stand);
    Fixture enterpriseRoute(*stand);
    enterpriseRoute.g.enterpriseMode = true;
    const auto a = standRoute.Weight(0, r, y, x);
    const auto b = enterpriseRoute.Weight(0, r, y, x);
    ASSERT_EQ(a.kind, EdgeCutKind::Complex);
    EXPECT_EQ(a.failed, b.failed);
    EXPECT_NEAR(a.weight, b.weight, 1e-12);
  }
}

TEST(CirclePolygon, ThirtySixCornersGoOnceAround) {
  CirclePolygonPoints c;
  ASSERT_TRUE(CirclePolygon(36, 5, 7, 10, c));
  EXPECT_EQ(c.n, 37);
  EXPECT_EQ(c.x[37], c.x[1]);
  EXPECT_NEAR(c.x[1], 5 + 10 * std::cos(5.3319 - 0.17453), 1e-12);
  // Clockwise, so the area is positive, and close to the regular 36-gon's.
  const double area = SignedTrapezoidSum(c);
  EXPECT_NEAR(area, 0.5 * 36 * 100 * std::sin(2 * M_PI / 36), 0.01);
  // Other corner counts still go once around.
  CirclePolygonPoints twenty;
  ASSERT_TRUE(CirclePolygon(20, 0, 0, 10, twenty));
  EXPECT_NEAR(SignedTrapezoidSum(twenty), 0.5 * 20 * 100 * std::sin(2 * M_PI / 20), 0.01);
  EXPECT_FALSE(CirclePolygon(80, 0, 0, 1, c));
  EXPECT_FALSE(CirclePolygon(2, 0, 0, 1, c));
  EXPECT_EQ(c.n, 37);
}

TEST(ConcentricRing, InnermostQualifyingCircleFromTheOutside) {
  const std::array<double, 7> radii{0, 2, 4, 6, 9, 12, 15};
  const std::array<double, 6> limits{0, 0, 10, 20, 30, 40};
  EXPECT_EQ(ConcentricRing(1.5, 5, 3, radii, limits), 1);
  EXPECT_EQ(ConcentricRing(3.0, 5, 3, radii, limits), 0);   // too thin for circle 2
  EXPECT_EQ(ConcentricRing(3.0, 12, 3, radii, limits), 2);
  EXPECT_EQ(ConcentricRing(1.0, 25, 3, radii, limits), 3);  // the outermost qualifying one wins
  EXPECT_EQ(ConcentricRing(5.9, 25, 3, radii, limits), 3);
  EXPECT_EQ(ConcentricRing(6.1, 25, 3, radii, limits), 0);
  EXPECT_EQ(ConcentricRing(11, 45, 5, radii, limits), 5);
  // A count beyond the limits given reads nothing past them.
  EXPECT_EQ(ConcentricRing(14, 100, 6, radii, limits), 0);
  EXPECT_EQ(ConcentricRing(11, 100, 255, radii, limits), 5);
}

}  // namespace
}  // namespace tolvek
