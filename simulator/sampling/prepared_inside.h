#pragma once
// The point-in-polygon test of PointInPolygon for many points of one polygon (the grid's inside marking
// asks it for every lattice point of every repetition). It gives exactly PointInPolygon's answers: it
// runs the same test (EdgeCountsFor) on the same edges, but leaves out at once, by horizontal slabs, the
// edges that do not reach across the point's height, which that test passes over.
#include <cstdint>
#include <vector>

#include "simulator/sampling/geometry.h"

namespace tolvek {

class PreparedInsideTest {
 public:
  explicit PreparedInsideTest(PolygonRef polygon);
  bool Inside(double x, double y) const;

 private:
  struct Edge {
    GeoPoint a, b;
  };
  bool usable_ = false;
  std::vector<Edge> edges_;
  // Only an edge that reaches across a point's height can count for it. Slab s spans
  // [yLow_ + s·slabHeight_, yLow_ + (s + 1)·slabHeight_) and lists every edge whose height range meets
  // it; edges of no height are never listed. Without finite corners every edge is tested.
  bool everyEdge_ = false;
  double yLow_ = 0.0, yHigh_ = 0.0, slabHeight_ = 1.0;
  std::vector<int> slabStart_, slabEdges_;
  int SlabOf(double y) const;
};

// The prepared test of the last polygon asked for, kept while the polygon stays the same corner for
// corner: a run marks the inside points of a new grid on one stand at every repetition, and preparing
// the test of a stand of many corners cost more than a good part of those points' tests. The answers
// for points of whole metres are kept as well (two bits a point, within 400 m of the polygon): a grid
// of whole metres shifted by whole metres comes back to the same points again and again.
class PreparedInsideMemo {
 public:
  const PreparedInsideTest& For(PolygonRef polygon);
  // The answer of For's test for (x, y), given For was asked last.
  bool InsideAt(int x, int y);

 private:
  bool made_ = false;
  int n_ = 0, highestSlot_ = 0;
  bool hasCorners_ = false;
  std::vector<double> x_, y_;  // corners 1..n
  PreparedInsideTest test_{PolygonRef()};
  // The window of points whose answers are kept (none while its width is 0); per point 0 unknown,
  // 1 outside, 2 inside.
  long long windowX_ = 0, windowY_ = 0, windowW_ = 0, windowH_ = 0;
  std::vector<std::uint8_t> answers_;
};

}  // namespace tolvek
