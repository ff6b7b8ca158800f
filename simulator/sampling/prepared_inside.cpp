#include "simulator/sampling/prepared_inside.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace tolvek {

namespace {

// How far a point's crossing line may climb within one slab: the line rises by (x - far) / (x + 10)
// metres, about 1 to 3 m for points of a stand, plus a metre of slack on either side.
constexpr double kReach = 8.0;
constexpr int kMaxSlabs = 4096;

// Whether PointInPolygon judges the edge by its y range at all: edges within 1e-5 of vertical, but not
// exactly vertical, count by their x alone.
bool YFiltered(GeoPoint a, GeoPoint b) {
  const double wide = std::fabs(a.x - b.x);
  return wide > 1e-5 || wide == 0.0;
}

}  // namespace

PreparedInsideTest::PreparedInsideTest(PolygonRef p) {
  if (p.n < 2 || p.x == nullptr || p.y == nullptr || p.n > p.highestSlot) return;
  usable_ = true;
  minX_ = p.x[1];
  for (int i = 2; i <= p.n; ++i) minX_ = std::min(minX_, p.x[i]);
  double low = 0.0, high = 0.0;
  for (int i = 1; i <= p.n - 1; ++i) {
    const GeoPoint a{p.x[i], p.y[i]}, b{p.x[i + 1], p.y[i + 1]};
    edges_.push_back({a, b, std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y)});
    low = i == 1 ? edges_.back().minY : std::min(low, edges_.back().minY);
    high = i == 1 ? edges_.back().maxY : std::max(high, edges_.back().maxY);
  }
  if (edges_.empty() || !std::isfinite(low) || !std::isfinite(high)) return;
  slabOrigin_ = low - kReach;
  slabHeight_ = std::max(4.0, (high - low + 2 * kReach) / kMaxSlabs);
  const int slabs = static_cast<int>(std::floor((high - low + 2 * kReach) / slabHeight_)) + 1;
  // The slabs an edge reaches into, found from its y range and confirmed by the comparison itself (one
  // slab of slack either way covers the rounding of the division).
  const auto reaches = [&](const Edge& edge, int s) {
    const double bottom = slabOrigin_ + s * slabHeight_, top = slabOrigin_ + (s + 1) * slabHeight_ + kReach;
    return !YFiltered(edge.a, edge.b) || (edge.maxY >= bottom && edge.minY <= top);
  };
  const auto range = [&](const Edge& edge) {
    if (!YFiltered(edge.a, edge.b)) return std::pair{0, slabs - 1};
    const int first = static_cast<int>(std::floor((edge.minY - kReach - slabOrigin_) / slabHeight_)) - 1;
    const int last = static_cast<int>(std::floor((edge.maxY - slabOrigin_) / slabHeight_)) + 1;
    return std::pair{std::max(first, 0), std::min(last, slabs - 1)};
  };
  slabStart_.assign(static_cast<std::size_t>(slabs) + 1, 0);
  for (const Edge& edge : edges_) {
    const auto [first, last] = range(edge);
    for (int s = first; s <= last; ++s) slabStart_[static_cast<std::size_t>(s) + 1] += reaches(edge, s) ? 1 : 0;
  }
  for (int s = 0; s < slabs; ++s) slabStart_[static_cast<std::size_t>(s) + 1] += slabStart_[static_cast<std::size_t>(s)];
  slabEdges_.assign(static_cast<std::size_t>(slabStart_.back()), 0);
  std::vector<int> next(slabStart_.begin(), slabStart_.end() - 1);
  for (int e = 0; e < static_cast<int>(edges_.size()); ++e) {
    const Edge& edge = edges_[static_cast<std::size_t>(e)];
    const auto [first, last] = range(edge);
    for (int s = first; s <= last; ++s)
      if (reaches(edge, s)) slabEdges_[static_cast<std::size_t>(next[static_cast<std::size_t>(s)]++)] = e;
    if (!YFiltered(edge.a, edge.b)) unfiltered_.push_back(e);
  }
  yLow_ = low;
  yHigh_ = high;
}

const PreparedInsideTest& PreparedInsideMemo::For(PolygonRef p) {
  const bool hasCorners = p.x != nullptr && p.y != nullptr && p.n >= 1 && p.n <= p.highestSlot;
  const auto n = static_cast<std::size_t>(hasCorners ? p.n : 0);
  const auto same = [n](const std::vector<double>& kept, const double* corners) {
    return n == 0 || std::memcmp(kept.data(), corners + 1, n * sizeof(double)) == 0;
  };
  if (made_ && n_ == p.n && highestSlot_ == p.highestSlot && hasCorners_ == hasCorners && x_.size() == n &&
      same(x_, p.x) && same(y_, p.y))
    return test_;
  made_ = true;
  n_ = p.n;
  highestSlot_ = p.highestSlot;
  hasCorners_ = hasCorners;
  x_.assign(hasCorners ? p.x + 1 : nullptr, hasCorners ? p.x + 1 + n : nullptr);
  y_.assign(hasCorners ? p.y + 1 : nullptr, hasCorners ? p.y + 1 + n : nullptr);
  test_ = PreparedInsideTest(p);
  answers_.clear();
  windowW_ = windowH_ = 0;
  if (hasCorners) {
    constexpr double kAround = 400.0;
    constexpr double kMostPoints = 16e6;  // 4 MB of answers
    const auto [minX, maxX] = std::minmax_element(x_.begin(), x_.end());
    const auto [minY, maxY] = std::minmax_element(y_.begin(), y_.end());
    const double left = std::floor(*minX - kAround), right = std::ceil(*maxX + kAround);
    const double bottom = std::floor(*minY - kAround), top = std::ceil(*maxY + kAround);
    if (std::isfinite(left + right + bottom + top) && left > -1e9 && right < 1e9 && bottom > -1e9 && top < 1e9 &&
        (right - left + 1.0) * (top - bottom + 1.0) <= kMostPoints) {
      windowX_ = static_cast<long long>(left);
      windowY_ = static_cast<long long>(bottom);
      windowW_ = static_cast<long long>(right - left) + 1;
      windowH_ = static_cast<long long>(top - bottom) + 1;
    }
  }
  return test_;
}

bool PreparedInsideMemo::InsideAt(int x, int y) {
  const long long u = x - windowX_, v = y - windowY_;
  if (u < 0 || v < 0 || u >= windowW_ || v >= windowH_) return test_.Inside(x, y);
  if (answers_.empty()) answers_.assign(static_cast<std::size_t>((windowW_ * windowH_ + 3) / 4), 0);
  const auto k = static_cast<std::size_t>(v * windowW_ + u);
  std::uint8_t& four = answers_[k >> 2];
  const unsigned shift = static_cast<unsigned>(k & 3) * 2;
  const unsigned known = (four >> shift) & 3u;
  if (known != 0) return known == 2;
  const bool inside = test_.Inside(x, y);
  four = static_cast<std::uint8_t>(four | ((inside ? 2u : 1u) << shift));
  return inside;
}

bool PreparedInsideTest::Inside(double x, double y) const {
  if (!usable_) return false;
  // The test segment and crossing line exactly as PointInPolygon lays them.
  const GeoPoint point{x, y};
  const GeoPoint far{std::min(-100.0, minX_ - 1.0), y};
  const GeoPoint slope{x > -9.0 ? -10.0 : x - 10.0, y + 1.0};
  const double rise = (x - far.x) / (x - slope.x);
  const double below = y - 1.0, above = y + rise + 1.0;
  int count = 0;
  auto test = [&](const Edge& e) {
    if (e.minX >= x) return;
    if (YFiltered(e.a, e.b) && (e.maxY < below || e.minY > above)) return;
    GeoPoint at;
    if (LineIntersection(point, slope, e.a, e.b, at) && PointOnBothSegments(e.a, e.b, point, far, at)) ++count;
  };
  // The slab that holds the whole stretch of the crossing line; an edge it does not list lies wholly
  // below `below` or above `above`. Without such a slab (or for NaN) every edge is tested.
  const double s = std::floor((below - slabOrigin_) / slabHeight_);
  const bool inSlab = s >= 0.0 && s + 1.0 < static_cast<double>(slabStart_.size()) &&
                      below >= slabOrigin_ + s * slabHeight_ && above <= slabOrigin_ + (s + 1.0) * slabHeight_ + kReach;
  if (inSlab) {
    const auto k = static_cast<std::size_t>(s);
    for (int i = slabStart_[k]; i < slabStart_[k + 1]; ++i) test(edges_[static_cast<std::size_t>(slabEdges_[static_cast<std::size_t>(i)])]);
  } else if (above < yLow_ || below > yHigh_) {
    // Wholly above or below the polygon: only the edges the y filter never passes over can count.
    for (int e : unfiltered_) test(edges_[static_cast<std::size_t>(e)]);
  } else {
    for (const Edge& e : edges_) test(e);
  }
  return count % 2 == 1;
}

}  // namespace tolvek
