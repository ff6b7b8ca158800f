#include "simulator/sampling/boundary_weigher.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace tolvek {

namespace {

double SegmentDistanceSq(double cx, double cy, double x1, double y1, double x2, double y2) {
  const double vx = x2 - x1, vy = y2 - y1;
  const double wx = cx - x1, wy = cy - y1;
  const double len2 = vx * vx + vy * vy;
  double t = len2 > 0.0 ? (wx * vx + wy * vy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  const double px = x1 + t * vx - cx, py = y1 + t * vy - cy;
  return px * px + py * py;
}

// The square of the distance from a point to the nearest boundary edge (infinite without edges); only
// the edges `edges` lists (0-terminated, ascending) when it is given: their nearest is the nearest of all.
double ClearanceFromEdgesSq(const BoundaryPolygon& b, double cx, double cy, const std::uint8_t* edges) {
  double clear2 = std::numeric_limits<double>::infinity();
  for (int k = 1;; ++k) {
    const int i = edges != nullptr ? edges[k - 1] : k;
    if (edges != nullptr ? i == 0 : i >= b.n) break;
    const double x1 = b.x[static_cast<std::size_t>(i)], y1 = b.y[static_cast<std::size_t>(i)];
    const double x2 = b.x[static_cast<std::size_t>(i + 1)], y2 = b.y[static_cast<std::size_t>(i + 1)];
    // An edge whose box lies farther off than the nearest edge so far cannot be nearer; the slack is far
    // above the rounding of the distance, so the smallest square comes out as from every edge.
    const double bx = std::max(0.0, std::max(std::min(x1, x2) - cx, cx - std::max(x1, x2)));
    const double by = std::max(0.0, std::max(std::min(y1, y2) - cy, cy - std::max(y1, y2)));
    if (bx * bx + by * by > clear2 * (1.0 + 1e-9) + 1e-9) continue;
    clear2 = std::min(clear2, SegmentDistanceSq(cx, cy, x1, y1, x2, y2));
  }
  return clear2;
}

GeoPoint CellMiddle(const BoundaryClearance& c, std::ptrdiff_t cell) {
  return {c.originX + (static_cast<double>(cell % c.columns) + 0.5) * c.cell,
          c.originY + (static_cast<double>(cell / c.columns) + 0.5) * c.cell};
}

}  // namespace

double ClearanceSq(const BoundaryPolygon& b, double cx, double cy) { return ClearanceFromEdgesSq(b, cx, cy, nullptr); }

// Empties the table unless it describes this boundary.
void FollowBoundary(BoundaryClearance& c, const BoundaryPolygon& b) {
  const auto n = static_cast<std::size_t>(std::clamp(b.n, 0, kBoundaryCapacity) + 1);
  const auto same = [n](const std::vector<double>& v, const std::array<double, kBoundaryCapacity + 1>& a) {
    return v.size() == n && std::memcmp(v.data(), a.data(), n * sizeof(double)) == 0;
  };
  if (c.n == b.n && same(c.boundaryX, b.x) && same(c.boundaryY, b.y)) return;
  c.n = b.n;
  c.boundaryX.assign(b.x.begin(), b.x.begin() + static_cast<std::ptrdiff_t>(n));
  c.boundaryY.assign(b.y.begin(), b.y.begin() + static_cast<std::ptrdiff_t>(n));
  c.columns = c.rows = 0;
  c.middleDistance.clear();
  c.nearStart.clear();
  c.nearEdges.clear();
  if (b.n < 2) return;
  double minX = b.x[1], maxX = b.x[1], minY = b.y[1], maxY = b.y[1];
  for (int i = 2; i <= b.n; ++i) {
    minX = std::min(minX, b.x[static_cast<std::size_t>(i)]);
    maxX = std::max(maxX, b.x[static_cast<std::size_t>(i)]);
    minY = std::min(minY, b.y[static_cast<std::size_t>(i)]);
    maxY = std::max(maxY, b.y[static_cast<std::size_t>(i)]);
  }
  if (!std::isfinite(minX + maxX + minY + maxY)) return;
  // Plots are laid inside the stand; centres off the table take the distance from the edges themselves.
  constexpr double kMargin = 30.0;
  constexpr double kMaxCells = 1 << 18;
  c.originX = minX - kMargin;
  c.originY = minY - kMargin;
  c.cell = 2.0;
  while ((std::floor((maxX - minX + 2 * kMargin) / c.cell) + 1) *
             (std::floor((maxY - minY + 2 * kMargin) / c.cell) + 1) >
         kMaxCells)
    c.cell *= 2.0;
  c.columns = static_cast<int>(std::floor((maxX - minX + 2 * kMargin) / c.cell)) + 1;
  c.rows = static_cast<int>(std::floor((maxY - minY + 2 * kMargin) / c.cell)) + 1;
  c.middleDistance.assign(static_cast<std::size_t>(c.columns) * static_cast<std::size_t>(c.rows),
                          std::numeric_limits<double>::quiet_NaN());
  c.nearStart.assign(c.middleDistance.size(), -1);
}

// The cell of a centre (-1: off the table).
std::ptrdiff_t CellOfCentre(const BoundaryClearance& c, double cx, double cy) {
  if (c.middleDistance.empty()) return -1;
  const double u = std::floor((cx - c.originX) / c.cell), v = std::floor((cy - c.originY) / c.cell);
  if (!(u >= 0.0 && u < c.columns && v >= 0.0 && v < c.rows)) return -1;
  return static_cast<std::ptrdiff_t>(v) * c.columns + static_cast<std::ptrdiff_t>(u);
}

// The distance of a cell's middle from the boundary: every point of the cell lies within half the
// cell's diagonal of it.
double CellMiddleClearance(BoundaryClearance& c, const BoundaryPolygon& b, std::ptrdiff_t cell) {
  double& d = c.middleDistance[static_cast<std::size_t>(cell)];
  if (std::isnan(d)) {
    const GeoPoint m = CellMiddle(c, cell);
    d = std::sqrt(ClearanceFromEdgesSq(b, m.x, m.y, nullptr));
  }
  return d;
}

// The exact distance of a centre of the cell from the boundary, from the edges that can be nearest to
// a point of the cell: an edge farther from the middle than the middle's distance and a diagonal is
// farther from every point of the cell than the middle's nearest edge (the millimetre covers rounding).
double NearClearanceSq(BoundaryClearance& c, const BoundaryPolygon& b, std::ptrdiff_t cell, double cx, double cy) {
  std::int32_t& start = c.nearStart[static_cast<std::size_t>(cell)];
  if (start < 0) {
    const GeoPoint m = CellMiddle(c, cell);
    const double reach = CellMiddleClearance(c, b, cell) + c.cell * 1.4142135623730951 + 1e-3;
    start = static_cast<std::int32_t>(c.nearEdges.size());
    for (int i = 1; i < b.n; ++i) {
      const double d2 = SegmentDistanceSq(m.x, m.y, b.x[static_cast<std::size_t>(i)], b.y[static_cast<std::size_t>(i)],
                                          b.x[static_cast<std::size_t>(i + 1)], b.y[static_cast<std::size_t>(i + 1)]);
      if (!(d2 > reach * reach)) c.nearEdges.push_back(static_cast<std::uint8_t>(i));
    }
    c.nearEdges.push_back(0);
  }
  return ClearanceFromEdgesSq(b, cx, cy, c.nearEdges.data() + start);
}

}  // namespace tolvek
