#pragma once
// The boundary file of a stand ("Grenze" + nn + ".txt"): corner points as pairs of reals in metres,
// separated by any whitespace, normally one point a line, the first point repeated as the last.
#include <string>
#include <string_view>
#include <vector>

#include "common/problem.h"

namespace tolvek {

struct BoundaryPoint {
  double x = 0.0;
  double y = 0.0;
};

// A boundary holds at most 59 points including the repeated first one, so that the plot clip can
// always take it.
inline constexpr int kMaxBoundaryPoints = 59;
// Corners may be given in national grid coordinates (millions of metres), but no stand spans more than
// kMaxBoundaryExtent: after the shift to a minimum of 0 its corners lie where its trees may lie.
inline constexpr double kMaxBoundaryCoordinate = 1e8;
inline constexpr double kMaxBoundaryExtent = 1e6;

enum class BoundaryFileProblem {
  None,
  CannotRead,     // missing or unreadable file
  NotANumber,     // a field that is no number (or not finite)
  OddValueCount,  // an x without its y at the end of the file
  TooManyPoints,  // more than kMaxBoundaryPoints before the ring closes
  NotClosed,      // the last point does not repeat the first
  TooFewPoints,   // fewer than three distinct corners
  OutOfRange,     // a corner beyond ±kMaxBoundaryCoordinate, or corners spanning more than kMaxBoundaryExtent
};

struct BoundaryFileReadResult {
  BoundaryFileProblem problem = BoundaryFileProblem::None;
  int point = 0;  // 1-based corner at fault (OutOfRange)
  bool ok() const { return problem == BoundaryFileProblem::None; }
};

// 0 when every corner lies within the ranges above, else the 1-based number of the first corner that
// does not (the first that reaches too far from the ones before it).
int FirstCornerOutOfRange(const std::vector<BoundaryPoint>& points);

// A usable ring: the last point repeats the first within 0.01 m and there are three distinct corners.
BoundaryFileProblem CheckBoundaryRing(const std::vector<BoundaryPoint>& points);

// Reads pairs until the first point comes back (that closing point is kept; anything after it is
// ignored) or the file ends. A file that ends without repeating its first point is refused, except
// when its last point lies within 0.01 m of the first (then it counts as the closing point).
BoundaryFileReadResult ParseBoundaryText(std::string_view text, std::vector<BoundaryPoint>& points);
BoundaryFileReadResult ReadBoundaryFile(const std::string& path, std::vector<BoundaryPoint>& points);

// One line per point, x and y each right-aligned in 10 characters with 1 decimal; atomic.
std::string EncodeBoundaryFile(const std::vector<BoundaryPoint>& points);
Outcome WriteBoundaryFile(const std::string& path, const std::vector<BoundaryPoint>& points);

// The rectangle the stand generator writes for a stand of width w and height h:
// (0,0) (0,h) (w,h) (w,0) (0,0).
std::vector<BoundaryPoint> RectangleBoundary(double w, double h);

}  // namespace tolvek
