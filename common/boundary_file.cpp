#include "common/boundary_file.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/paths.h"

namespace tolvek {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

bool NearlySame(const BoundaryPoint& a, const BoundaryPoint& b) {
  return std::fabs(a.x - b.x) <= 0.01 && std::fabs(a.y - b.y) <= 0.01;
}

}  // namespace

BoundaryFileProblem CheckBoundaryRing(const std::vector<BoundaryPoint>& points) {
  if (points.size() < 2 || !NearlySame(points.front(), points.back())) return BoundaryFileProblem::NotClosed;
  // Three distinct corners besides the closing point.
  int distinct = 0;
  for (std::size_t k = 0; k + 1 < points.size(); ++k) {
    bool seen = false;
    for (std::size_t j = 0; j < k && !seen; ++j) seen = points[j].x == points[k].x && points[j].y == points[k].y;
    if (!seen) ++distinct;
  }
  return distinct < 3 ? BoundaryFileProblem::TooFewPoints : BoundaryFileProblem::None;
}

int FirstCornerOutOfRange(const std::vector<BoundaryPoint>& points) {
  double minX = 0.0, maxX = 0.0, minY = 0.0, maxY = 0.0;
  for (std::size_t k = 0; k < points.size(); ++k) {
    const BoundaryPoint& p = points[k];
    if (!(std::fabs(p.x) <= kMaxBoundaryCoordinate) || !(std::fabs(p.y) <= kMaxBoundaryCoordinate))
      return static_cast<int>(k + 1);
    if (k == 0) {
      minX = maxX = p.x;
      minY = maxY = p.y;
    }
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
    if (maxX - minX > kMaxBoundaryExtent || maxY - minY > kMaxBoundaryExtent) return static_cast<int>(k + 1);
  }
  return 0;
}

BoundaryFileReadResult ParseBoundaryText(std::string_view text, std::vector<BoundaryPoint>& points) {
  std::vector<BoundaryPoint> read;
  double pending = 0.0;
  bool havePending = false;
  bool closed = false;
  std::size_t i = 0;
  while (i < text.size() && !closed) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i >= text.size()) break;
    std::size_t start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    auto value = ParseReal(text.substr(start, i - start));
    if (!value) return {BoundaryFileProblem::NotANumber};
    if (!havePending) {
      pending = *value;
      havePending = true;
      continue;
    }
    havePending = false;
    BoundaryPoint p{pending, *value};
    if (static_cast<int>(read.size()) >= kMaxBoundaryPoints) return {BoundaryFileProblem::TooManyPoints};
    read.push_back(p);
    // The ring closes at the first exact repetition of the first point; what follows is not read.
    if (read.size() >= 2 && p.x == read.front().x && p.y == read.front().y) closed = true;
  }
  if (havePending) return {BoundaryFileProblem::OddValueCount};
  if (int far = FirstCornerOutOfRange(read)) return {BoundaryFileProblem::OutOfRange, far};
  BoundaryFileProblem ring = CheckBoundaryRing(read);
  if (ring != BoundaryFileProblem::None) return {ring};
  points = std::move(read);
  return {};
}

BoundaryFileReadResult ReadBoundaryFile(const std::string& path, std::vector<BoundaryPoint>& points) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return {BoundaryFileProblem::CannotRead};
  return ParseBoundaryText(bytes, points);
}

std::string EncodeBoundaryFile(const std::vector<BoundaryPoint>& points) {
  std::string out;
  for (const auto& p : points) {
    out += FormatFixed(10, 1, p.x);
    out += FormatFixed(10, 1, p.y);
    out += "\r\n";
  }
  return out;
}

Outcome WriteBoundaryFile(const std::string& path, const std::vector<BoundaryPoint>& points) {
  return WriteFileAtomic(path, EncodeBoundaryFile(points));
}

std::vector<BoundaryPoint> RectangleBoundary(double w, double h) {
  return {{0.0, 0.0}, {0.0, h}, {w, h}, {w, 0.0}, {0.0, 0.0}};
}

}  // namespace tolvek
