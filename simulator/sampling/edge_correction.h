#pragma once
// Edge correction: a plot circle (or a tree's limiting circle) that reaches over the stand boundary
// covers less stand than its nominal area; its weight is the nominal area over the area inside the
// stand. Straight cuts and single corners are settled by formula, everything else by clipping the
// circle polygon against the boundary. Circles far from every boundary edge cost a few comparisons
// per edge and never reach the clip.
#include <span>

#include "simulator/sampling/geometry.h"

namespace tolvek {

enum class EdgeCutKind : int {
  None = 0,     // the boundary does not cut the circle
  Chord = 1,    // one straight chord
  Corner = 2,   // one boundary corner inside the circle
  Complex = 3,  // anything more: clipped
};

struct EdgeWeightResult {
  double weight = 1.0;
  bool failed = false;  // the weight is out of 0.98..10.0 or the clip failed: the point gives no plot
  EdgeCutKind kind = EdgeCutKind::None;
};

// A boundary held unchanged, at the place it lies, while the token lives (a pass at one plot centre):
// the crossing search compares its points with the search's table at the first search on it and takes
// the table as it is afterwards. Whatever may change the boundary ends the token first; a new token
// compares again. A context holds one boundary at a time.
class HeldBoundary {
 public:
  HeldBoundary(GeometryContext& g, PolygonRef boundary);
  ~HeldBoundary();
  HeldBoundary(const HeldBoundary&) = delete;
  HeldBoundary& operator=(const HeldBoundary&) = delete;

 private:
  GeometryContext& g_;
};

// The accepted range of weights: 0.98 <= weight <= 10.0.
bool WeightInRange(double weight);

// Weight of the circle of radius r around (x, y) against the closed boundary (stand coordinates).
// a <= 0.1 takes the circle's area r² × kCirclePi. The order of the arguments (a, r, y, x) is that
// of the callers' formulas. On failure the error flag and g.edge.failed are set (g.edge.failed is
// cleared at the start of every weight) and result.failed is true; the weight is still returned
// (0 after a failed clip). A weight that holds leaves the error flag clear. A failed clip beeps through
// g.beeper and may leave a capacity report for ShowGeometryReport.
EdgeWeightResult EdgeWeight(GeometryContext& g, PolygonRef boundary, double a, double r, double y, double x);

// How the boundary cuts the circle; leaves the chord and the corner triangle in the context.
EdgeCutKind BoundaryCrossings(GeometryContext& g, PolygonRef boundary, double y, double x, double r);

// Area of the circle (polygon of g.cornersPerCircle corners) inside the stand by clipping, left in
// g.edge.clipAreas.result with the polygon in g.edge.clipResult. Does nothing while the error flag is set.
// False when it did nothing or the clip failed.
bool CircleInsideArea(GeometryContext& g, PolygonRef boundary, double r, double y, double x);

// n corners at angles 5.3319 - k × 0.17453 (k = 1..n) around (cx, cy), corner n + 1 := corner 1.
// That step goes once around for the 36 corners of the settings; other counts share the same turn
// (36 × 0.17453 rad) evenly. False (nothing written) when n < 3 or n + 1 does not fit the polygon.
bool CirclePolygon(int n, double cx, double cy, double r, CirclePolygonPoints& out);

// The concentric circle in which a tree at this distance is counted: from circleCount down to 1 the
// first k with dbhLimits[k] <= dbh and distance <= radii[k]; 0 for none. Both spans are indexed by
// circle number (slot 0 unused); circles beyond either span are not considered.
int ConcentricRing(double distance, double dbh, int circleCount, std::span<const double> radii,
                   std::span<const double> dbhLimits);

}  // namespace tolvek
