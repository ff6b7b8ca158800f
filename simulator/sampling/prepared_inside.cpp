#include "simulator/sampling/prepared_inside.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace tolvek {

namespace {

constexpr int kMaxSlabs = 4096;

}  // namespace

PreparedInsideTest::PreparedInsideTest(PolygonRef p) {
  if (p.n < 2 || p.x == nullptr || p.y == nullptr || p.n > p.highestSlot) return;
  usable_ = true;
  bool finite = true;
  for (int i = 1; i <= p.n - 1; ++i) {
    const GeoPoint a{p.x[i], p.y[i]}, b{p.x[i + 1], p.y[i + 1]};
    edges_.push_back({a, b});
    finite = finite && std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(b.x) && std::isfinite(b.y);
  }
  if (edges_.empty()) return;
  if (!finite) {
    everyEdge_ = true;
    return;
  }
  yLow_ = yHigh_ = edges_.front().a.y;
  for (const Edge& e : edges_) {
    yLow_ = std::min({yLow_, e.a.y, e.b.y});
    yHigh_ = std::max({yHigh_, e.a.y, e.b.y});
  }
  slabHeight_ = std::max(1.0, (yHigh_ - yLow_) / kMaxSlabs);
  const int slabs = SlabOf(yHigh_) + 1;
  // SlabOf grows with y, so a point at a height an edge reaches across lies in a slab between those of
  // the edge's lowest and highest point.
  const auto range = [&](const Edge& e) { return std::pair{SlabOf(std::min(e.a.y, e.b.y)), SlabOf(std::max(e.a.y, e.b.y))}; };
  slabStart_.assign(static_cast<std::size_t>(slabs) + 1, 0);
  for (const Edge& e : edges_) {
    if (e.a.y == e.b.y) continue;
    const auto [first, last] = range(e);
    for (int s = first; s <= last; ++s) ++slabStart_[static_cast<std::size_t>(s) + 1];
  }
  for (int s = 0; s < slabs; ++s) slabStart_[static_cast<std::size_t>(s) + 1] += slabStart_[static_cast<std::size_t>(s)];
  slabEdges_.assign(static_cast<std::size_t>(slabStart_.back()), 0);
  std::vector<int> next(slabStart_.begin(), slabStart_.end() - 1);
  for (int k = 0; k < static_cast<int>(edges_.size()); ++k) {
    const Edge& e = edges_[static_cast<std::size_t>(k)];
    if (e.a.y == e.b.y) continue;
    const auto [first, last] = range(e);
    for (int s = first; s <= last; ++s) slabEdges_[static_cast<std::size_t>(next[static_cast<std::size_t>(s)]++)] = k;
  }
}

int PreparedInsideTest::SlabOf(double y) const {
  const double s = std::floor((y - yLow_) / slabHeight_);
  return static_cast<int>(std::clamp(s, 0.0, static_cast<double>(kMaxSlabs + 1)));
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
  bool inside = false;
  if (everyEdge_) {
    for (const Edge& e : edges_)
      if (EdgeCountsFor(e.a, e.b, x, y)) inside = !inside;
    return inside;
  }
  // No edge reaches across a height outside [yLow_, yHigh_) (nor a height that is no number).
  if (!(y >= yLow_ && y < yHigh_)) return false;
  const auto s = static_cast<std::size_t>(SlabOf(y));
  for (int i = slabStart_[s]; i < slabStart_[s + 1]; ++i) {
    const Edge& e = edges_[static_cast<std::size_t>(slabEdges_[static_cast<std::size_t>(i)])];
    if (EdgeCountsFor(e.a, e.b, x, y)) inside = !inside;
  }
  return inside;
}

}  // namespace tolvek
