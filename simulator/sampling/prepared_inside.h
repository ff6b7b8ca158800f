#pragma once
// The point-in-polygon test of PointInPolygon for many points of one polygon (the grid's inside marking
// asks it for every lattice point of every repetition). It gives exactly PointInPolygon's answers: it
// runs the same test on the same edges, but leaves out at once, by horizontal slabs, the edges that
// test would pass over for lying wholly above or below the point's crossing line.
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
    double minX, minY, maxY;
  };
  bool usable_ = false;
  double minX_ = 0.0;
  std::vector<Edge> edges_;
  // Slab s spans [slabOrigin_ + s·slabHeight_, slabOrigin_ + (s + 1)·slabHeight_ + kReach] and lists the
  // edges that reach into it, plus every edge the y filter never passes over.
  double slabOrigin_ = 0.0, slabHeight_ = 1.0;
  std::vector<int> slabStart_, slabEdges_;
  // The edges' y range and the edges the y filter never passes over (for points beyond that range).
  double yLow_ = 0.0, yHigh_ = -1.0;
  std::vector<int> unfiltered_;
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
