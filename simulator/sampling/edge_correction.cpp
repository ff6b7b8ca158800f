#include "simulator/sampling/edge_correction.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "common/circle_pi.h"
#include "common/platform.h"

namespace tolvek {

namespace {

// The clip works on an inscribed polygon; its area is raised by this factor.
constexpr double kPolygonAreaFactor = 1.00609;
// A corner nearer than this to the chord between its two crossings counts as a straight cut.
constexpr double kCornerToChord = 0.5;
// Slack of the quick box test: far wider than the rounding of the circle's crossings.
constexpr double kBoxSlack = 1e-3;

// Central angle of the chord: 2 arctan(s / sqrt(1 - s²)) for a half-chord ratio s up to 0.999,
// a half circle above.
double ChordAngle(GeoPoint c1, GeoPoint c2, double r) {
  const double dx = c1.x - c2.x;
  const double dy = c1.y - c2.y;
  const double s = std::sqrt(dx * dx + dy * dy) / 2.0 / r;
  if (s <= 0.999) return 2.0 * std::atan(s / std::sqrt(1.0 - s * s));
  return kCirclePi;
}

bool Finite(double v) { return std::isfinite(v); }

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

bool WeightInRange(double weight) { return weight >= 0.98 && weight <= 10.0; }

HeldBoundary::HeldBoundary(GeometryContext& g, PolygonRef boundary) : g_(g) {
  // Two holders at once could each believe the other's comparison; the second is a programming error.
  assert(!g.edge.hold.Holding());
  g_.edge.hold.held_ = boundary.x;
  g_.edge.hold.compared_ = nullptr;
}

HeldBoundary::~HeldBoundary() {
  g_.edge.hold.held_ = nullptr;
  g_.edge.hold.compared_ = nullptr;
}

namespace {

// The table of this boundary, taken afresh when its points differ bit for bit from the last one's.
const BoundaryEdgeTable& CrossingEdges(GeometryContext& g, PolygonRef boundary) {
  BoundaryEdgeTable& t = g.edge.crossingEdges;
  const int n = boundary.n;
  if (n > kStandPolygonSlots) {
    t.n = 0;
    t.usable = false;
    ++t.taken;
    return t;
  }
  if (t.n == n && g.edge.hold.Compared(boundary.x)) return t;
  const auto bytes = static_cast<std::size_t>(n) * sizeof(double);
  g.edge.hold.NoteCompared(boundary.x);
  if (t.n == n && std::memcmp(&t.x[1], &boundary.x[1], bytes) == 0 &&
      std::memcmp(&t.y[1], &boundary.y[1], bytes) == 0)
    return t;
  ++t.taken;
  t.n = n;
  std::memcpy(&t.x[1], &boundary.x[1], bytes);
  std::memcpy(&t.y[1], &boundary.y[1], bytes);
  bool finite = true;
  for (int i = 1; i <= n; ++i) finite = finite && std::isfinite(t.x[i]) && std::isfinite(t.y[i]);
  const int edges = n - 1;
  t.usable = finite && edges >= 1 && edges <= 64;
  if (!t.usable) return t;
  for (int i = 1; i <= edges; ++i) {
    const GeoPoint p{t.x[i], t.y[i]};
    const GeoPoint q{t.x[i + 1], t.y[i + 1]};
    t.minX[i] = std::min(p.x, q.x);
    t.maxX[i] = std::max(p.x, q.x);
    t.minY[i] = std::min(p.y, q.y);
    t.maxY[i] = std::max(p.y, q.y);
    t.line[i] = LineOf(p, q);
  }
  // Bands over the extent of the boundary's boxes.
  const auto take = [&](const double* lows, const double* highs, EdgeBands& bands) {
    double lo = lows[1], hi = highs[1];
    for (int i = 2; i <= edges; ++i) {
      lo = std::min(lo, lows[i]);
      hi = std::max(hi, highs[i]);
    }
    double scale = kEdgeBands / (hi - lo);
    if (!(hi > lo) || !std::isfinite(scale)) scale = 0.0;
    TakeEdgeBands(edges, lows, highs, lo, scale, 0, bands);
  };
  take(t.minX.data(), t.maxX.data(), t.bandsX);
  take(t.minY.data(), t.maxY.data(), t.bandsY);
  return t;
}

}  // namespace

EdgeCutKind BoundaryCrossings(GeometryContext& g, PolygonRef boundary, double y, double x, double r) {
  const GeoPoint centre{x, y};
  g.edge.cornerTriangle = Polygon<4>{};
  g.edge.chord1 = {};
  g.edge.chord2 = {};
  int kind = 0;
  bool complex = false;
  int cornersInside = 0;
  bool haveCorner = false;      // the triangle's corner and the crossing on the edge leaving it
  bool haveArriving = false;    // the crossing on the edge reaching the corner
  if (boundary.n < 2 || boundary.n > boundary.highestSlot) return EdgeCutKind::None;

  // What the edge p-q adds, given where its line meets the circle.
  const auto cross = [&](GeoPoint p, GeoPoint q, const LineCircleHits& hits) {
    if (hits.firstOnSegment && hits.secondOnSegment) {
      if (kind != 0) {
        complex = true;
      } else {
        g.edge.chord1 = hits.first;
        g.edge.chord2 = hits.second;
        kind = 1;
      }
    } else if (hits.firstOnSegment || hits.secondOnSegment) {
      const GeoPoint crossing = hits.firstOnSegment ? hits.first : hits.second;
      if (kind == 1) {
        complex = true;
      } else {
        if (PointWithinDistance(p, centre, r)) {
          g.edge.cornerTriangle.x[1] = p.x;
          g.edge.cornerTriangle.y[1] = p.y;
          g.edge.cornerTriangle.x[2] = crossing.x;
          g.edge.cornerTriangle.y[2] = crossing.y;
          ++cornersInside;
          haveCorner = true;
        }
        if (PointWithinDistance(q, centre, r)) {
          g.edge.cornerTriangle.x[3] = crossing.x;
          g.edge.cornerTriangle.y[3] = crossing.y;
          haveArriving = true;
        }
        g.edge.chord1 = {g.edge.cornerTriangle.x[2], g.edge.cornerTriangle.y[2]};
        g.edge.chord2 = {g.edge.cornerTriangle.x[3], g.edge.cornerTriangle.y[3]};
        kind = 2;
      }
    } else if (PointWithinDistance(p, centre, r) && PointWithinDistance(q, centre, r)) {
      ++cornersInside;
    }
  };

  const double left = x - r - kBoxSlack;
  const double right = x + r + kBoxSlack;
  const double bottom = y - r - kBoxSlack;
  const double top = y + r + kBoxSlack;
  const BoundaryEdgeTable* table = g.testing.crossingsWithoutShortcuts ? nullptr : &CrossingEdges(g, boundary);
  if (table != nullptr && table->usable && std::isfinite(left) && std::isfinite(right) && std::isfinite(bottom) &&
      std::isfinite(top)) {
    // The edges sharing a band with the circle's box on both axes, in their order; the others' boxes
    // miss it, as the box test below would find.
    const BoundaryEdgeTable& t = *table;
    std::uint64_t near = t.bandsX.Meeting(left, right) & t.bandsY.Meeting(bottom, top);
    while (near != 0) {
      const int i = std::countr_zero(near) + 1;
      near &= near - 1;
      if (t.maxX[i] < left || t.minX[i] > right || t.maxY[i] < bottom || t.minY[i] > top) continue;
      const GeoPoint p{t.x[i], t.y[i]};
      const GeoPoint q{t.x[i + 1], t.y[i + 1]};
      if (std::fabs(LineDistanceOf(g, t.line[i], q, centre)) >= r) continue;
      LineCircleHits hits;
      LineCircleIntersectionOf(g, t.line[i], p, q, centre, r, hits);  // a miss leaves no point on the edge
      cross(p, q, hits);
    }
  } else {
    for (int i = 1; i <= boundary.n - 1; ++i) {
      const GeoPoint p{boundary.x[i], boundary.y[i]};
      const GeoPoint q{boundary.x[i + 1], boundary.y[i + 1]};
      // An edge whose box misses the circle's box can neither cross the circle nor end inside it.
      if (std::max(p.x, q.x) < left || std::min(p.x, q.x) > right || std::max(p.y, q.y) < bottom ||
          std::min(p.y, q.y) > top)
        continue;
      if (std::fabs(LineDistance(g, p, q, centre)) >= r) continue;
      LineCircleHits hits;
      LineCircleIntersection(g, p, q, centre, r, hits);
      cross(p, q, hits);
    }
  }

  if (kind == 2) {
    // A corner whose triangle is incomplete (a crossing lost at an exact corner) goes to the clip.
    if (!haveCorner || !haveArriving) {
      complex = true;
    } else {
      g.edge.cornerTriangle.x[4] = g.edge.cornerTriangle.x[1];
      g.edge.cornerTriangle.y[4] = g.edge.cornerTriangle.y[1];
      g.edge.cornerTriangle.n = 4;
      const GeoPoint corner{g.edge.cornerTriangle.x[1], g.edge.cornerTriangle.y[1]};
      if (std::fabs(LineDistance(g, g.edge.chord1, g.edge.chord2, corner)) < kCornerToChord) kind = 1;
    }
  }
  if (cornersInside > 1 || complex) return EdgeCutKind::Complex;
  return static_cast<EdgeCutKind>(kind);
}

bool CirclePolygon(int n, double cx, double cy, double r, CirclePolygonPoints& out) {
  if (n < 3 || n + 1 > kCirclePolygonSlots) return false;
  // The step of 0.17453 rad goes once around with the 36 corners of the settings; any other count
  // spreads the same turn evenly, so that its polygon still stands for the whole circle.
  const double step = n == 36 ? 0.17453 : 36 * 0.17453 / n;
  if (n == 36) {
    // The 36 corners of the settings come up at every clip: their cosines and sines are taken once,
    // of the same angles.
    struct UnitCorners {
      std::array<double, 37> c{}, s{};
      UnitCorners() {
        for (int k = 1; k <= 36; ++k) {
          const double alpha = 5.3319 - k * 0.17453;
          c[static_cast<std::size_t>(k)] = std::cos(alpha);
          s[static_cast<std::size_t>(k)] = std::sin(alpha);
        }
      }
    };
    static const UnitCorners unit;
    for (int k = 1; k <= n; ++k) {
      out.x[k] = cx + r * unit.c[static_cast<std::size_t>(k)];
      out.y[k] = cy + r * unit.s[static_cast<std::size_t>(k)];
    }
  } else {
    for (int k = 1; k <= n; ++k) {
      const double alpha = 5.3319 - k * step;
      out.x[k] = cx + r * std::cos(alpha);
      out.y[k] = cy + r * std::sin(alpha);
    }
  }
  out.x[n + 1] = out.x[1];
  out.y[n + 1] = out.y[1];
  out.n = n + 1;
  return true;
}

namespace {

// CircleInsideArea; fromTable: the boundary is, bit for bit, that of the crossing table as last taken.
bool CircleInsideAreaOf(GeometryContext& g, PolygonRef boundary, double r, double y, double x, bool fromTable) {
  if (g.diagnostics.errorFlag) return false;
  const int corners = g.cornersPerCircle;
  if (!CirclePolygon(corners, 0.0, 0.0, r, g.edge.circle)) {
    g.diagnostics.errorFlag = true;
    return false;
  }
  const int n = boundary.n;
  if (n < 1 || n > boundary.highestSlot || n > kStandPolygonSlots) {
    ReportGeometryCapacity(g, "60");
    g.diagnostics.errorFlag = true;
    return false;
  }
  // The weights at one plot centre clip the same boundary copy: it is taken once, and the clip view
  // that held it after the last clip holds it still.
  auto& from = g.edge.shiftedFrom;
  const bool same = fromTable && !g.testing.clipWithoutShortcuts && from.table == g.edge.crossingEdges.taken &&
                    g.edge.shiftedBoundary.n == n && SameBits(from.x, x) && SameBits(from.y, y);
  if (!same) {
    for (int i = 1; i <= n; ++i) {
      g.edge.shiftedBoundary.x[i] = boundary.x[i] - x;
      g.edge.shiftedBoundary.y[i] = boundary.y[i] - y;
    }
    g.edge.shiftedBoundary.n = n;
    from.table = fromTable ? g.edge.crossingEdges.taken : 0;
    from.x = x;
    from.y = y;
  }
  if (g.observer) g.observer->ClipInput(g.edge.circle, g.edge.shiftedBoundary);

  g.clip.circleCorners = corners;
  g.clip.circleRadius = r;
  g.clip.standAsBefore = same && from.viewed && from.view == g.clip.standView.taken;
  const bool clipped =
      ClipPlotPolygon(g, corners, g.edge.circle, g.edge.shiftedBoundary, n, g.edge.clipResult, g.edge.clipAreas);
  g.clip.circleCorners = 0;
  g.clip.circleRadius = 0.0;
  g.clip.standAsBefore = false;
  from.viewed = g.clip.standViewed;
  from.view = g.clip.standView.taken;
  if (!clipped) return false;
  // A stand that cuts the circle into two pieces makes the walk go once more around the circle: its
  // area is then counted in once too often. More than that cannot be told apart from a wrong ring.
  if (g.edge.clipAreas.result > g.edge.clipAreas.plot)
    g.edge.clipAreas.result = g.edge.clipAreas.result - g.edge.clipAreas.plot;
  if (g.edge.clipAreas.result > g.edge.clipAreas.plot) {
    g.diagnostics.errorFlag = true;
    return false;
  }
  if (g.observer) g.observer->ClipOutput(g.edge.clipResult);
  return true;
}

}  // namespace

bool CircleInsideArea(GeometryContext& g, PolygonRef boundary, double r, double y, double x) {
  return CircleInsideAreaOf(g, boundary, r, y, x, false);
}

EdgeWeightResult EdgeWeight(GeometryContext& g, PolygonRef boundary, double a, double r, double y, double x) {
  EdgeWeightResult out;
  g.edge.failed = false;
  const auto fail = [&](double weight) {
    g.diagnostics.errorFlag = true;
    g.edge.failed = true;
    out.weight = weight;
    out.failed = true;
    return out;
  };
  if (!Finite(a) || !Finite(r) || !Finite(x) || !Finite(y)) return fail(0.0);
  // Without a stand of at least three corners there is nothing to weigh against.
  if (boundary.n < 4 || boundary.n > boundary.highestSlot) return fail(0.0);
  if (a <= 0.1) a = r * r * kCirclePi;

  out.kind = BoundaryCrossings(g, boundary, y, x, r);
  double weight = 1.0;
  switch (out.kind) {
    case EdgeCutKind::None:
      weight = 1.0;
      break;
    case EdgeCutKind::Chord: {
      const double theta = ChordAngle(g.edge.chord1, g.edge.chord2, r);
      const double inside = r * r * (kCirclePi - (theta - std::sin(theta)) / 2.0);
      weight = inside <= 0.0 ? 1.0 : a / inside;
      break;
    }
    case EdgeCutKind::Corner: {
      const double t = SignedTrapezoidSum(g.edge.cornerTriangle);
      const double theta = ChordAngle(g.edge.chord1, g.edge.chord2, r);
      const double s = r * r * (theta - std::sin(theta)) / 2.0;
      const GeoPoint centre{x, y};
      const GeoPoint corner{g.edge.cornerTriangle.x[1], g.edge.cornerTriangle.y[1]};
      double inside = 0.0;
      GeoPoint at;
      if (LineIntersection(centre, corner, g.edge.chord1, g.edge.chord2, at) &&
          PointOnBothSegments(centre, corner, g.edge.chord1, g.edge.chord2, at)) {
        inside = a - s + t;
      } else if (PolygonContainsPoint(x, y, 3, g.edge.cornerTriangle)) {
        inside = s + t;
      } else {
        inside = a - s + t;
      }
      weight = inside <= 0.0 ? 1.01 : a / inside;
      break;
    }
    case EdgeCutKind::Complex: {
      g.diagnostics.errorFlag = false;
      // The crossing search has just compared the boundary with its table's, or taken the table from it.
      const bool fromTable = !g.testing.crossingsWithoutShortcuts && g.edge.crossingEdges.n == boundary.n;
      const bool clipped = CircleInsideAreaOf(g, boundary, r, y, x, fromTable);
      if (!clipped || g.diagnostics.errorFlag) {
        if (g.beeper) g.beeper->Beep(350, 500);
        return fail(0.0);
      }
      double area = g.edge.clipAreas.result;
      if (g.enterpriseMode) {
        // The clip gives no areas on the enterprise route: measure here, with the same correction
        // for a circle cut into two pieces as the stand route's.
        const double circleArea = ClosedPolygonArea(g, g.edge.circle);
        area = ClosedPolygonArea(g, g.edge.clipResult);
        if (area > circleArea) area = area - circleArea;
        if (area > circleArea || g.diagnostics.errorFlag) {
          if (g.beeper) g.beeper->Beep(350, 500);
          return fail(0.0);
        }
      }
      const double inside = area * kPolygonAreaFactor;
      weight = inside <= 0.0 ? 1.0 : a / inside;
      break;
    }
  }
  // A vanishing inside area can make the quotient overflow; it must not leave as a weight.
  if (!Finite(weight)) return fail(0.0);
  out.weight = weight;
  if (!WeightInRange(weight)) return fail(weight);
  // A short boundary edge met on the way leaves the flag set; a weight that holds clears it, so the
  // flag after a weight says whether that weight failed.
  g.diagnostics.errorFlag = false;
  return out;
}

int ConcentricRing(double distance, double dbh, int circleCount, std::span<const double> radii,
                   std::span<const double> dbhLimits) {
  const int usable = std::min<int>(circleCount, std::min<int>(static_cast<int>(radii.size()) - 1,
                                                               static_cast<int>(dbhLimits.size()) - 1));
  for (int k = usable; k >= 1; --k) {
    if (dbhLimits[k] <= dbh && distance <= radii[k]) return k;
  }
  return 0;
}

}  // namespace tolvek
