#pragma once
// Plane geometry of the simulator: the polygon convention every boundary, plot circle, compartment
// and clip result follows, polygon areas with their closure check, the clipping of a plot polygon
// against a stand polygon, point-in-polygon tests and the line, segment and circle routines they
// rest on.
//
// Polygons keep their points in slots 1..n of two parallel arrays; slot 0 is carried along but is not
// a point. A closed polygon repeats its first point as its last within 0.01 m, and n counts that
// repeated point. Every routine is told the capacity of the arrays it gets and never reads or writes
// past it: a polygon that would not fit is reported ("Feldüberschreitung F21/...") in the context and
// the computation fails through the error flag, so the work in hand can be abandoned cleanly.
//
// All working state lives in one GeometryContext passed by reference, in parts of one purpose each:
// diagnostics (error flag, report), the clip's table and cache, the edge correction's scratch, and the
// options tests use to switch the shortcuts off. Nothing here allocates per call
// (the table of kept plot parts makes each of its slots once, see ClipPlotParts).
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "common/platform.h"

namespace tolvek {

class Beeper;
class MessageService;
struct LanguageTable;

// Highest slot index of the polygons in use.
inline constexpr int kStandPolygonSlots = 60;   // stand boundary and its plot-centred copy
inline constexpr int kCirclePolygonSlots = 80;  // plot circle, compartment of the enterprise map
inline constexpr int kClipPolygonSlots = 90;    // clip result
inline constexpr int kCrossingSlots = 100;      // crossing table of the clip

template <int Slots>
struct Polygon {
  static constexpr int kSlots = Slots;
  int n = 0;  // points 1..n
  std::array<double, Slots + 1> x{};
  std::array<double, Slots + 1> y{};
};
using StandPolygonPoints = Polygon<kStandPolygonSlots>;
using CirclePolygonPoints = Polygon<kCirclePolygonSlots>;
using ClipPolygonPoints = Polygon<kClipPolygonSlots>;

// Read-only view of any polygon-shaped record (a Polygon, the stand's BoundaryPolygon, ...): its
// count, its arrays and their highest slot index.
struct PolygonRef {
  int n = 0;
  const double* x = nullptr;
  const double* y = nullptr;
  int highestSlot = 0;

  PolygonRef() = default;
  PolygonRef(int count, const double* xs, const double* ys, int highestSlot)
      : n(count), x(xs), y(ys), highestSlot(highestSlot) {}
  template <class P>
    requires requires(const P& p) { p.n; p.x.data(); p.y.size(); }
  PolygonRef(const P& p)  // NOLINT: implicit on purpose, every polygon record converts
      : n(p.n), x(p.x.data()), y(p.y.data()), highestSlot(static_cast<int>(p.x.size()) - 1) {}

  // The same arrays taken with another point count (the routines that take n separately).
  PolygonRef WithCount(int count) const { return {count, x, y, highestSlot}; }
};

// Writable view, for results.
struct PolygonOut {
  int* n = nullptr;
  double* x = nullptr;
  double* y = nullptr;
  int highestSlot = 0;

  template <class P>
    requires requires(P& p) { p.n; p.x.data(); p.y.size(); }
  PolygonOut(P& p)  // NOLINT: implicit on purpose
      : n(&p.n), x(p.x.data()), y(p.y.data()), highestSlot(static_cast<int>(p.x.size()) - 1) {}
};

struct GeoPoint {
  double x = 0.0;
  double y = 0.0;
};

// One entry of the clip's crossing table.
struct CrossingRecord {
  double x = 0.0;
  double y = 0.0;
  int edge = 0;  // plot-polygon edge the point lies on (edge m runs from corner m to corner m + 1)
  int kind = 0;  // 1 the stand edge enters (or starts inside), 2 it leaves, 0 it ends inside
};

// The three areas the clip hands back (m², signed as PolygonArea gives them).
struct ClipAreas {
  double plot = 0.0;
  double stand = 0.0;
  double result = 0.0;
};

// Two tree circles clipped against each other by the true-value computation: when the second lies
// within the first (centre distance + r2 <= 1.01 r1) the clip result is the whole second polygon.
struct TwoCircleCase {
  bool set = false;
  double x1 = 0.0, y1 = 0.0, r1 = 0.0;
  double x2 = 0.0, y2 = 0.0, r2 = 0.0;
};

// A message a geometry routine has to show. The core cannot show it; the window that started the
// computation does, through ShowGeometryReport.
struct GeometryReport {
  bool pending = false;
  MessageKind kind = MessageKind::Warning;  // the message box's icon
  std::string prefix;    // shown as is (numbers in front of the text)
  std::string german;    // passed through Translate when shown; may be empty
  std::string suffix;    // shown as is (place number after the text)
};

// Drawing hook of the "Einzelbaum an Bestandesgrenze" display option: a window that wants to see the
// clipping of a tree circle against the boundary sets an observer while the option is on.
class GeometryObserver {
 public:
  virtual ~GeometryObserver() = default;
  // The plot-centred circle polygon and boundary copy before the clip (drawn in blue).
  virtual void ClipInput(const CirclePolygonPoints& circle, const StandPolygonPoints& boundary) = 0;
  // The clip result (drawn in red).
  virtual void ClipOutput(const ClipPolygonPoints& result) = 0;
};

// What circle clips keep of the stand points they saw, relative to the circle's centre: for each point
// the circle edge it lies in the direction of, when the way to it crosses that edge well away from both
// corners (and, for a way steeper than 10, the point lies within 1e5 m; 0 otherwise), and its squared
// distance from the centre. The directions are those of every circle polygon of the same corner count;
// taken again when the points change. The stand's area (as PolygonArea gives it) goes with the points.
struct ClipStandView {
  int n = 0;
  int corners = 0;
  std::uint64_t taken = 0;  // counts the times it was taken
  bool areaKnown = false;
  double area = 0.0;
  std::array<double, kStandPolygonSlots + 1> x{}, y{}, reach2{};
  std::array<int, kStandPolygonSlots + 1> edge{};
  // Per stand edge (ending at point i): circles of a radius below this pass it untouched (0: none).
  std::array<double, kStandPolygonSlots + 1> clear{};
  // The same by radius: the edges' `clear` from the highest down (passing[0..passingCount - 1]) and
  // passed[k], the edges (bit i: the edge ending at point i) whose `clear` is passing[k] or above. And
  // the points equal to the point before them, bit for bit (bit i for point i).
  int passingCount = 0;
  std::array<double, kStandPolygonSlots + 1> passing{};
  std::array<std::uint64_t, kStandPolygonSlots + 1> passed{};
  std::uint64_t repeated = 0;

  // The edges a circle of radius r passes untouched.
  std::uint64_t PassedAt(double r) const {
    const auto end = passing.begin() + passingCount;
    const auto k = std::partition_point(passing.begin(), end, [r](double c) { return r < c; }) - passing.begin();
    return k == 0 ? 0 : passed[static_cast<std::size_t>(k - 1)];
  }
};

// The line of a segment p1-p2 as LineDistance and LineCircleIntersection take it, for segments met
// again and again.
struct SegmentLine {
  double dx = 0.0, dy = 0.0;  // p1 - p2
  double length = 0.0;
  bool steep = false;         // |dx| <= 0.1: taken as the vertical through p2
  double slope = 0.0;         // (p2.y - p1.y) / (p2.x - p1.x) when not steep
};

// Edges sorted into bands of one axis, for searches that visit only the edges whose boxes may reach a
// box, still in their order: bit i - 1 stands for edge i. The band of a value is (v - origin) × scale,
// truncated and held to 0..kEdgeBands - 1; it never falls as the value rises, so an edge whose span meets
// a range shares a band with it.
inline constexpr int kEdgeBands = 64;
struct EdgeBands {
  double origin = 0.0, scale = 0.0;
  // The edges whose span's low end lies in band b or below, whose high end lies in band b or above.
  std::array<std::uint64_t, kEdgeBands> lowAtMost{}, highAtLeast{};

  int Band(double v) const {
    double t = (v - origin) * scale;
    if (!(t >= 0.0)) t = 0.0;  // (NaN only for a scale of 0, where every value is in band 0)
    if (t > kEdgeBands - 1) t = kEdgeBands - 1;
    return static_cast<int>(t);
  }
  // The edges whose span may meet low..high (finite bounds).
  std::uint64_t Meeting(double low, double high) const { return lowAtMost[Band(high)] & highAtLeast[Band(low)]; }
};
// Sorts edges 1..count (at most 64) with spans lows[i]..highs[i] into bands, each span widened by
// `widen` bands either way.
void TakeEdgeBands(int count, const double* lows, const double* highs, double origin, double scale, int widen,
                   EdgeBands& out);

// What the edge correction's crossing search keeps of a stand boundary: per edge (point i to i + 1) its
// box and its line, and the edges by bands of x and of y, so that a circle visits only the edges near
// it. Taken again when the points change.
struct BoundaryEdgeTable {
  int n = 0;                // points of the boundary it was taken from (0: none yet)
  std::uint64_t taken = 0;  // counts the times it was taken
  bool usable = false;  // finite points and at most 64 edges; otherwise every edge is visited
  std::array<double, kStandPolygonSlots + 1> x{}, y{};
  std::array<double, kStandPolygonSlots + 1> minX{}, maxX{}, minY{}, maxY{};
  std::array<SegmentLine, kStandPolygonSlots + 1> line{};
  EdgeBands bandsX, bandsY;
};

// Which boundary a HeldBoundary token holds (see edge_correction.h), and where the crossing search last
// found a boundary's points equal to its table's. Only the token sets what is held.
class BoundaryHold {
 public:
  // Whether the search may take its table for the boundary lying at `at` without comparing the points:
  // it is the held one and was compared since the token began.
  bool Compared(const double* at) const { return held_ != nullptr && at == held_ && compared_ == at; }
  void NoteCompared(const double* at) { compared_ = at; }
  bool Holding() const { return held_ != nullptr; }

 private:
  friend class HeldBoundary;
  const double* held_ = nullptr;
  const double* compared_ = nullptr;
};

// The edges of the circle polygons of one corner count by bands of x and y relative to the radius
// (the corners over the radius, each edge widened by a band for the rounding of its corners), taken
// once per corner count: the clip's searches test only the edges near the segment in hand.
struct CircleEdgeBands {
  int corners = 0;  // 0: none taken
  EdgeBands x, y;
  double nearest = 0.0;  // the least distance of an edge's line from the centre, over the radius
};

// What a clip takes of its plot polygon alone (its area, centroid and edges), kept per plot polygon
// clipped before: the edge correction builds every circle around (0, 0), so the circles of one radius
// are the same polygon at every plot centre, and the same trees' radii come up again and again. An
// entry serves only a plot polygon equal to its own bit for bit. The slots are made at the first clip
// that uses them and each entry at its slot's first use, so a run's clips soon stop allocating; a
// context copied or assigned from another takes none of the other's entries.
struct ClipPlotEntry;
struct ClipPlotParts {
  std::unique_ptr<std::unique_ptr<ClipPlotEntry>[]> entries;
  ClipPlotParts();
  ~ClipPlotParts();
  ClipPlotParts(const ClipPlotParts&);
  ClipPlotParts& operator=(const ClipPlotParts&);
};

// What a geometry routine has to say about its last step: the error flag and the report to show.
struct GeometryDiagnostics {
  // GeometryErrorFlag: set by a failed geometry step; PolygonArea clears it on entry, so a caller reads
  // it after its last geometry call.
  bool errorFlag = false;
  // Numbers of the tree and its partner that name a polygon in the closure messages.
  int objectNumber1 = 0;
  int objectNumber2 = 0;
  GeometryReport report;  // the last report not yet shown
};

// The clip's working table and what it keeps from one clip to the next. The kept parts only spare work:
// a clip gives the same result bit for bit with them as without (see GeometryTestOptions).
struct ClipCache {
  // Crossing table of the last clip (records 1..crossingCount; one more slot for the closing copy).
  int crossingCount = 0;
  std::array<CrossingRecord, kCrossingSlots + 1> crossings{};
  int lastEdgeHit = 0;        // plot edge last hit: the next search starts after it
  GeoPoint plotCentroid;      // centroid of the plot polygon of the last clip
  CrossingRecord entry;       // entry and exit of the current stand edge
  CrossingRecord exit;
  // Per stand point, the plot edge in its direction from the centroid at the last clip: only a guess
  // where to look first. Clips at one plot centre see the stand points in the same directions.
  std::array<int, kStandPolygonSlots + 1> directions{};
  // Set while the plot polygon of a clip is CirclePolygon(circleCorners, 0, 0, circleRadius) and the
  // stand is given relative to the circle's centre (0: any plot polygon).
  int circleCorners = 0;
  double circleRadius = 0.0;
  // Set while the stand of a circle clip is the one of the last clip, when the view held that one's
  // points after it (standViewed) and has not been taken since: the view then holds without comparing
  // the points.
  bool standAsBefore = false;
  bool standViewed = false;  // after a clip: the view holds its stand's points and corner count
  ClipStandView standView;
  CircleEdgeBands circleEdgeBands;
  ClipPlotParts plotParts;  // not used while GeometryTestOptions::clipWithoutShortcuts is set
};

// The edge correction's working values of the last weight, and the crossing search's table.
struct EdgeScratch {
  GeoPoint chord1, chord2;                   // where the boundary enters and leaves the circle
  Polygon<4> cornerTriangle;                 // corner, crossing on the edge leaving it, on the edge reaching it, corner
  CirclePolygonPoints circle;                // plot-centred circle polygon
  StandPolygonPoints shiftedBoundary;        // plot-centred boundary copy
  // What it was taken from: the boundary of the crossing table taken that time (0: another) and the
  // centre; and whether the clip view held it after the last clip, the view taken that time. The
  // copy is taken again only when one of them changes.
  struct {
    std::uint64_t table = 0;
    double x = 0.0, y = 0.0;
    bool viewed = false;
    std::uint64_t view = 0;
  } shiftedFrom;
  ClipPolygonPoints clipResult;              // result of the last clip made by the edge correction
  ClipAreas clipAreas;                       // its areas
  bool failed = false;                       // the last weight failed: the point gives no plot
  BoundaryEdgeTable crossingEdges;           // the boundary of the last crossing search
  BoundaryHold hold;                         // set by HeldBoundary only
};

// Tests: the shortcuts off, to show that they change no result.
struct GeometryTestOptions {
  // Every inside test of the clip searches the plot edges; no plot parts are kept.
  bool clipWithoutShortcuts = false;
  // The crossing search visits every boundary edge and takes every line afresh.
  bool crossingsWithoutShortcuts = false;
};

// Everything the geometry routines work with, passed by reference: what the caller sets, and the parts
// the routines keep for themselves.
struct GeometryContext {
  // The enterprise route: PolygonArea gives 0 there (areas come from ClosedPolygonArea) and the clip
  // walks the closing edge of a compartment piece. The caller keeps it equal to RunControl's flag.
  bool enterpriseMode = false;
  int cornersPerCircle = 36;  // corners of the edge correction's circle polygon (method settings)
  TwoCircleCase twoCircle;

  GeometryDiagnostics diagnostics;
  ClipCache clip;
  EdgeScratch edge;
  GeometryTestOptions testing;

  // Optional services and hooks; none is needed for the computations themselves.
  Beeper* beeper = nullptr;             // beep of a failed clip in the edge correction
  GeometryObserver* observer = nullptr; // set while "Einzelbaum an Bestandesgrenze" is on
};

// Shows a pending report through the program's message box (German part translated) and clears it.
// Does nothing when no report is pending. Returns the box's answer, 0 when nothing was shown.
int ShowGeometryReport(GeometryContext& g, MessageService& messages, const LanguageTable& language);
// The text ShowGeometryReport would show (for tests and logs).
std::string GeometryReportText(const GeometryReport& report, const LanguageTable& language);
// Records "Feldüberschreitung F21/" + place (+ suffix) as the pending report.
void ReportGeometryCapacity(GeometryContext& g, const std::string& place, const std::string& suffix = {});

// --- small routines -----------------------------------------------------------------------------

// min(b1, b2) <= value < max(b1, b2); equal bounds never hold.
inline bool InRange(double value, double bound1, double bound2) {
  const double lo = std::min(bound1, bound2);
  const double hi = std::max(bound1, bound2);
  return lo <= value && value < hi;
}

// Intersection of the line through p1, p2 with the line through p3, p4. False when both are vertical
// or they are parallel; the point is then left unchanged.
bool LineIntersection(GeoPoint p1, GeoPoint p2, GeoPoint p3, GeoPoint p4, GeoPoint& at);

// Whether a point found on both lines lies within segment 1 (s1-s2) and segment 2 (s3-s4).
bool PointOnBothSegments(GeoPoint s1, GeoPoint s2, GeoPoint s3, GeoPoint s4, GeoPoint p);

// Whether p lies within the segment's extent in its dominant coordinate (y when the ends differ by at
// most 0.1 in x).
bool PointOnSegmentRange(GeoPoint p, GeoPoint end1, GeoPoint end2);

// Where the line of segment p1-p2 meets the circle, and which of the two points lie on the segment.
struct LineCircleHits {
  GeoPoint first, second;
  bool firstOnSegment = false;
  bool secondOnSegment = false;
};
// False (error flag set, hits unchanged) when the line misses the circle.
bool LineCircleIntersection(GeometryContext& g, GeoPoint p1, GeoPoint p2, GeoPoint centre, double r,
                            LineCircleHits& hits);

// Signed distance of q from the line through p1, p2. A line shorter than 0.001 m sets the error flag
// and gives 0; otherwise the flag is cleared.
double LineDistance(GeometryContext& g, GeoPoint p1, GeoPoint p2, GeoPoint q);

// The line of the segment p1-p2 with every piece taken.
SegmentLine LineOf(GeoPoint p1, GeoPoint p2);

// LineDistance and LineCircleIntersection of the segment p1-p2 whose line is given: the same steps
// on the same values.
inline double LineDistanceOf(GeometryContext& g, const SegmentLine& line, GeoPoint p2, GeoPoint q) {
  if (!(line.length > 0.001)) {
    g.diagnostics.errorFlag = true;
    return 0.0;
  }
  g.diagnostics.errorFlag = false;
  return (line.dy * (q.x - p2.x) - line.dx * (q.y - p2.y)) / line.length;
}
inline bool LineCircleIntersectionOf(GeometryContext& g, const SegmentLine& line, GeoPoint p1, GeoPoint p2,
                                     GeoPoint centre, double r, LineCircleHits& hits) {
  if (line.steep) {
    const double dx = p2.x - centre.x;
    const double rest = r * r - dx * dx;
    if (!(rest >= 0.0)) {
      g.diagnostics.errorFlag = true;
      return false;
    }
    const double h = std::sqrt(rest);
    hits.first = {p2.x, centre.y + h};
    hits.second = {p2.x, centre.y - h};
    hits.firstOnSegment = InRange(hits.first.y, p1.y, p2.y);
    hits.secondOnSegment = InRange(hits.second.y, p1.y, p2.y);
    return true;
  }
  // y = y2 + m (x - x2) in the circle's equation, solved for u = x - xc: taking the unknown
  // relative to the centre keeps the quadratic well conditioned far from the origin.
  const double m = line.slope;
  const double k = p2.y + m * (centre.x - p2.x) - centre.y;  // the line's height over the centre
  const double qa = 1.0 + m * m;
  const double qb = 2.0 * m * k;
  const double qc = k * k - r * r;
  const double disc = qb * qb - 4.0 * qa * qc;
  if (!(disc >= 0.0)) {
    g.diagnostics.errorFlag = true;
    return false;
  }
  const double root = std::sqrt(disc);
  const double u1 = (-qb + root) / (2.0 * qa);
  const double u2 = (-qb - root) / (2.0 * qa);
  hits.first.x = centre.x + u1;
  hits.first.y = p2.y + m * (hits.first.x - p2.x);
  hits.second.x = centre.x + u2;
  hits.second.y = p2.y + m * (hits.second.x - p2.x);
  hits.firstOnSegment = InRange(hits.first.x, p1.x, p2.x);
  hits.secondOnSegment = InRange(hits.second.x, p1.x, p2.x);
  return true;
}

// (p - q)² <= r².
inline bool PointWithinDistance(GeoPoint p, GeoPoint q, double r) {
  const double dx = p.x - q.x;
  const double dy = p.y - q.y;
  return dx * dx + dy * dy <= r * r;
}

// --- polygons -------------------------------------------------------------------------------------

// The trapezoid sum over points 1..n: sum of (x[i+1] - x[i]) * 0.5 * (y[i+1] + y[i]); positive for
// clockwise order in the x-right, y-up plane. No closure check.
double SignedTrapezoidSum(PolygonRef p);

// Whether point n repeats point 1 within 0.01 m in x and in y.
bool IsClosed(PolygonRef p);

// Area of a closed polygon of p.n points. Clears the error flag first. Enterprise mode: 0 without
// computing. 90 points or more: "Feldüberschreitung F21/159" report, error flag, 0. Not closed: the
// "Polygon nicht geschlossen" report, error flag, 0.
double PolygonArea(GeometryContext& g, PolygonRef p);

// The same area in every mode, for stand, compartment and enterprise-stand areas. Not closed: the
// "Polygon ist nicht geschlossen" report, error flag, 0.
double ClosedPolygonArea(GeometryContext& g, PolygonRef p);

// Copies slots 0..n and sets the destination count to n. False (error flag, destination unchanged)
// when n does not fit either polygon.
bool CopyPolygon(GeometryContext& g, int n, PolygonRef source, PolygonOut destination);

// Mean of points 1..n. n <= 0 leaves the outputs unchanged. More than 69 points reports
// "Feldüberschreitung F21/204"; the mean is still taken.
void PolygonCentroid(GeometryContext& g, PolygonRef p, double& meanX, double& meanY);

// The sign of the turn from a -> b to a -> p: 1 when p lies left of the line through a and b (seen
// from a towards b), -1 right of it, 0 on it. Decided exactly, whatever the coordinates: the rounded
// product is trusted only beyond its error bound, else the sign is worked out without rounding.
int TurnSign(GeoPoint a, GeoPoint b, GeoPoint p);

// Whether the edge a-b crosses the ray that runs left from (x, y), in the count of the inside tests
// below. A point on the boundary is decided as if it lay an infinitely small step to the right and a
// far smaller step upwards: every edge is half-open, so a polygon holds the points of its lower and
// left edges and not those of its upper and right ones, and stands that tile the plane take every point
// exactly once. An edge counts when it reaches across the point's height (one end above it, the other
// at or below it) and meets that height at or left of the point.
inline bool EdgeCountsFor(GeoPoint a, GeoPoint b, double x, double y) {
  const bool aAbove = a.y > y, bAbove = b.y > y;
  if (aAbove == bAbove) return false;
  if (a.x <= x && b.x <= x) return true;
  if (a.x > x && b.x > x) return false;
  // Climbing from a to b, the crossing lies at or left of the point when the point is on the edge or
  // right of it; descending, when it is on the edge or left of it.
  const int turn = TurnSign(a, b, {x, y});
  return bAbove ? turn <= 0 : turn >= 0;
}

// Whether (x, y) lies inside the closed polygon p (edges i -> i + 1, i = 1..n - 1); a point on the
// boundary as EdgeCountsFor decides it.
bool PointInPolygon(PolygonRef p, double x, double y);

// Whether (x, y) lies inside the polygon of the n corners p[1..n] (closed by the routine itself), with
// the points of its boundary decided as PointInPolygon decides them.
bool PolygonContainsPoint(double x, double y, int n, PolygonRef p);

// Clips the plot polygon (nA corners plus the repeated first corner) against the stand polygon (nB
// points, closed) and writes the part of the plot inside the stand into result, with the three areas.
// Both polygons must run the same way round (clockwise, as boundaries and circle polygons do); the
// inside test of the edge walk holds for convex plot polygons. False with the error flag set when the
// clip failed (capacity, result too long, polygon not closed); a capacity overflow also leaves its
// report. A plot polygon that no stand edge touches is whole when it lies inside the stand and empty
// (0 points, area 0) when it lies outside.
bool ClipPlotPolygon(GeometryContext& g, int nA, PolygonRef plot, PolygonRef stand, int nB,
                     ClipPolygonPoints& result, ClipAreas& areas);

}  // namespace tolvek
