#include "simulator/sampling/geometry.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "common/format.h"
#include "common/platform.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

// The stand polygon the clip takes has at most 59 points; the crossing table holds at most 60
// records before a further one is refused; plot polygons have at most 49 corners used as edges; the
// centroid takes at most 69 points without complaint; areas are taken of fewer than 90 points.
constexpr int kClipStandPointLimit = 60;
constexpr int kCrossingLimit = 60;
constexpr int kPlotEdgeLimit = 49;
constexpr int kCentroidPointLimit = 69;
constexpr int kAreaPointLimit = 90;
// A clip result of this many points or more is taken as failed.
constexpr int kClipResultLimit = 76;

GeoPoint At(PolygonRef p, int i) { return {p.x[i], p.y[i]}; }

// Enough room for points 1..n of the polygon (and n + extra for routines that read one more).
bool Fits(PolygonRef p, int n, int extra = 0) {
  return p.x != nullptr && p.y != nullptr && n >= 0 && n + extra <= p.highestSlot;
}

}  // namespace

std::string GeometryReportText(const GeometryReport& report, const LanguageTable& language) {
  std::string text = report.prefix;
  if (!report.german.empty()) text += Translate(language, report.german);
  text += report.suffix;
  return text;
}

void ReportGeometryCapacity(GeometryContext& g, const std::string& place, const std::string& suffix) {
  g.diagnostics.report.pending = true;
  g.diagnostics.report.kind = MessageKind::Warning;
  g.diagnostics.report.prefix.clear();
  g.diagnostics.report.german = "Feldüberschreitung F21/" + place;
  g.diagnostics.report.suffix = suffix;
}

int ShowGeometryReport(GeometryContext& g, MessageService& messages, const LanguageTable& language) {
  if (!g.diagnostics.report.pending) return 0;
  const std::string text = GeometryReportText(g.diagnostics.report, language);
  const MessageKind kind = g.diagnostics.report.kind;
  g.diagnostics.report = GeometryReport{};
  return messages.ShowMessageBox(text, kind, MessageButtons::Ok);
}

// --- small routines -----------------------------------------------------------------------------

// The edge searches of the clip call these for many edges: their bodies are kept inline there.
namespace {

inline bool LineIntersectionAt(GeoPoint p1, GeoPoint p2, GeoPoint p3, GeoPoint p4, GeoPoint& at) {
  if (std::fabs(p1.x - p2.x) + std::fabs(p3.x - p4.x) <= 1e-4) return false;
  if (std::fabs(p3.x - p4.x) <= 1e-5) {
    // Line 1 is then at least 9e-5 wide in x: its slope is finite.
    const double m1 = (p1.y - p2.y) / (p1.x - p2.x);
    at.x = p4.x;
    at.y = p2.y + m1 * (at.x - p2.x);
    return true;
  }
  if (std::fabs(p1.x - p2.x) <= 1e-5) {
    const double m2 = (p3.y - p4.y) / (p3.x - p4.x);
    at.x = p2.x;
    at.y = p4.y + m2 * (at.x - p4.x);
    return true;
  }
  const double m1 = (p1.y - p2.y) / (p1.x - p2.x);
  const double m2 = (p3.y - p4.y) / (p3.x - p4.x);
  if (std::fabs(m2 - m1) < 1e-5) return false;
  at.x = (p2.y - m1 * p2.x - (p4.y - m2 * p4.x)) / (m2 - m1);
  at.y = p4.y + m2 * (at.x - p4.x);
  return true;
}

inline bool OnBothSegments(GeoPoint s1, GeoPoint s2, GeoPoint s3, GeoPoint s4, GeoPoint p) {
  if (std::fabs(s3.x - s4.x) < 1e-5 && InRange(p.y, s3.y, s4.y) && InRange(p.x, s1.x, s2.x)) return true;
  if (std::fabs(s1.x - s2.x) < 1e-5 && InRange(p.y, s1.y, s2.y) && InRange(p.x, s3.x, s4.x)) return true;
  return InRange(p.x, s1.x, s2.x) && InRange(p.x, s3.x, s4.x);
}

}  // namespace

bool LineIntersection(GeoPoint p1, GeoPoint p2, GeoPoint p3, GeoPoint p4, GeoPoint& at) {
  return LineIntersectionAt(p1, p2, p3, p4, at);
}

bool PointOnBothSegments(GeoPoint s1, GeoPoint s2, GeoPoint s3, GeoPoint s4, GeoPoint p) {
  return OnBothSegments(s1, s2, s3, s4, p);
}

bool PointOnSegmentRange(GeoPoint p, GeoPoint end1, GeoPoint end2) {
  if (std::fabs(end1.x - end2.x) <= 0.1) return InRange(p.y, end1.y, end2.y);
  return InRange(p.x, end1.x, end2.x);
}

namespace {

// The pieces of a segment's line each routine takes, in their steps.
void TakeLength(GeoPoint p1, GeoPoint p2, SegmentLine& line) {
  line.dx = p1.x - p2.x;
  line.dy = p1.y - p2.y;
  line.length = std::sqrt(line.dx * line.dx + line.dy * line.dy);
}

void TakeSlope(GeoPoint p1, GeoPoint p2, SegmentLine& line) {
  line.steep = std::fabs(p1.x - p2.x) <= 0.1;
  if (!line.steep) line.slope = (p2.y - p1.y) / (p2.x - p1.x);
}

}  // namespace

SegmentLine LineOf(GeoPoint p1, GeoPoint p2) {
  SegmentLine line;
  TakeLength(p1, p2, line);
  TakeSlope(p1, p2, line);
  return line;
}

bool LineCircleIntersection(GeometryContext& g, GeoPoint p1, GeoPoint p2, GeoPoint centre, double r,
                            LineCircleHits& hits) {
  SegmentLine line;
  TakeSlope(p1, p2, line);
  return LineCircleIntersectionOf(g, line, p1, p2, centre, r, hits);
}

double LineDistance(GeometryContext& g, GeoPoint p1, GeoPoint p2, GeoPoint q) {
  SegmentLine line;
  TakeLength(p1, p2, line);
  return LineDistanceOf(g, line, p2, q);
}

void TakeEdgeBands(int count, const double* lows, const double* highs, double origin, double scale, int widen,
                   EdgeBands& out) {
  out.origin = origin;
  out.scale = scale;
  out.lowAtMost.fill(0);
  out.highAtLeast.fill(0);
  for (int i = 1; i <= count; ++i) {
    const std::uint64_t bit = std::uint64_t{1} << (i - 1);
    for (int b = std::max(0, out.Band(lows[i]) - widen); b < kEdgeBands; ++b) out.lowAtMost[b] |= bit;
    for (int b = std::min(kEdgeBands - 1, out.Band(highs[i]) + widen); b >= 0; --b) out.highAtLeast[b] |= bit;
  }
}

// --- polygons -------------------------------------------------------------------------------------

double SignedTrapezoidSum(PolygonRef p) {
  if (!Fits(p, p.n)) return 0.0;
  double sum = 0.0;
  for (int i = 1; i <= p.n - 1; ++i) sum += (p.x[i + 1] - p.x[i]) * 0.5 * (p.y[i + 1] + p.y[i]);
  return sum;
}

bool IsClosed(PolygonRef p) {
  if (p.n < 1 || !Fits(p, p.n)) return false;
  return std::fabs(p.x[1] - p.x[p.n]) <= 0.01 && std::fabs(p.y[1] - p.y[p.n]) <= 0.01;
}

namespace {

enum class AreaInput { Usable, Empty, Refused };
enum class ClosureText { Points, Numbers };

// The checks both area routines make: the count fits (below limit) and the polygon is closed. A
// refusal leaves its report and the error flag. The texts are built only when needed: the checks run
// on every clip.
AreaInput CheckAreaInput(GeometryContext& g, PolygonRef p, int limit, ClosureText text) {
  if (p.n < 1) return AreaInput::Empty;
  if (p.n >= limit || !Fits(p, p.n)) {
    ReportGeometryCapacity(g, "159", FormatInt(p.n, 5));
    g.diagnostics.errorFlag = true;
    return AreaInput::Refused;
  }
  if (!IsClosed(p)) {
    g.diagnostics.report.pending = true;
    g.diagnostics.report.kind = MessageKind::Info;
    const std::string numbers = FormatInt(g.diagnostics.objectNumber1, 5) + FormatInt(g.diagnostics.objectNumber2, 8);
    if (text == ClosureText::Points) {
      g.diagnostics.report.prefix = "Punkte:" + FormatInt(p.n, 5) + numbers + "  Polygon nicht geschlossen";
      g.diagnostics.report.german.clear();
    } else {
      g.diagnostics.report.prefix = numbers + "  ";
      g.diagnostics.report.german = "Polygon ist nicht geschlossen";
    }
    g.diagnostics.report.suffix.clear();
    g.diagnostics.errorFlag = true;
    return AreaInput::Refused;
  }
  return AreaInput::Usable;
}

}  // namespace

double PolygonArea(GeometryContext& g, PolygonRef p) {
  g.diagnostics.errorFlag = false;
  if (g.enterpriseMode) return 0.0;
  if (CheckAreaInput(g, p, kAreaPointLimit, ClosureText::Points) != AreaInput::Usable) return 0.0;
  const double area = SignedTrapezoidSum(p);
  // Fewer than three corners, or corners on one line, enclose nothing: the 0 must not pass for an area.
  if (p.n < 4 || area == 0.0) g.diagnostics.errorFlag = true;
  return area;
}

double ClosedPolygonArea(GeometryContext& g, PolygonRef p) {
  if (CheckAreaInput(g, p, p.highestSlot + 1, ClosureText::Numbers) != AreaInput::Usable) return 0.0;
  return SignedTrapezoidSum(p);
}

bool CopyPolygon(GeometryContext& g, int n, PolygonRef source, PolygonOut destination) {
  if (n < 0 || n > source.highestSlot || n > destination.highestSlot || source.x == nullptr) {
    g.diagnostics.errorFlag = true;
    return false;
  }
  for (int i = 0; i <= n; ++i) {
    destination.x[i] = source.x[i];
    destination.y[i] = source.y[i];
  }
  *destination.n = n;
  return true;
}

void PolygonCentroid(GeometryContext& g, PolygonRef p, double& meanX, double& meanY) {
  if (p.n <= 0) return;
  if (!Fits(p, p.n)) {
    g.diagnostics.errorFlag = true;
    return;
  }
  if (p.n > kCentroidPointLimit) ReportGeometryCapacity(g, "204");
  double sx = 0.0;
  double sy = 0.0;
  for (int i = 1; i <= p.n; ++i) {
    sx += p.x[i];
    sy += p.y[i];
  }
  meanX = sx / p.n;
  meanY = sy / p.n;
}

namespace {

// a * b as the rounded product and its rounding error, which add up to it exactly.
inline void ExactProduct(double a, double b, double& product, double& error) {
  product = a * b;
  error = std::fma(a, b, -product);
}

// Adds b to the expansion e[0..n) (components without overlap, by growing magnitude, summing to a
// value exactly) so that it sums to the old value plus b, still exactly; zeros are left out.
template <std::size_t N>
void GrowExpansion(std::array<double, N>& e, std::size_t& n, double b) {
  double q = b;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double sum = q + e[i];
    const double bVirtual = sum - q;
    const double aVirtual = sum - bVirtual;
    const double error = (q - aVirtual) + (e[i] - bVirtual);
    q = sum;
    if (error != 0.0) e[kept++] = error;
  }
  if (q != 0.0 || kept == 0) e[kept++] = q;
  n = kept;
}

// The sign of bx·py − bx·ay − ax·py − by·px + by·ax + ay·px (the turn with the differences multiplied
// out; ax·ay drops out) from the six products summed without rounding.
int ExactTurnSign(GeoPoint a, GeoPoint b, GeoPoint p) {
  const double terms[6][2] = {{b.x, p.y}, {-b.x, a.y}, {-a.x, p.y}, {-b.y, p.x}, {b.y, a.x}, {a.y, p.x}};
  std::array<double, 12> e{};
  std::size_t n = 0;
  for (const auto& t : terms) {
    double product = 0.0, error = 0.0;
    ExactProduct(t[0], t[1], product, error);
    GrowExpansion(e, n, error);
    GrowExpansion(e, n, product);
  }
  // The largest component carries the sign of the sum.
  for (std::size_t i = n; i-- > 0;) {
    if (e[i] > 0.0) return 1;
    if (e[i] < 0.0) return -1;
  }
  return 0;
}

}  // namespace

int TurnSign(GeoPoint a, GeoPoint b, GeoPoint p) {
  const double left = (b.x - a.x) * (p.y - a.y);
  const double right = (b.y - a.y) * (p.x - a.x);
  const double det = left - right;
  // The bound of the rounding error of det, differences included (3 + 16 eps) eps with eps = 2^-53.
  constexpr double kEpsilon = 1.1102230246251565e-16;
  constexpr double kBound = (3.0 + 16.0 * kEpsilon) * kEpsilon;
  const double bound = kBound * (std::fabs(left) + std::fabs(right));
  if (det > bound) return 1;
  if (-det > bound) return -1;
  return ExactTurnSign(a, b, p);
}

bool PointInPolygon(PolygonRef p, double x, double y) {
  if (p.n < 2 || !Fits(p, p.n)) return false;
  bool inside = false;
  for (int i = 1; i <= p.n - 1; ++i)
    if (EdgeCountsFor(At(p, i), At(p, i + 1), x, y)) inside = !inside;
  return inside;
}

bool PolygonContainsPoint(double x, double y, int n, PolygonRef p) {
  if (n < 1 || !Fits(p, n)) return false;
  bool inside = false;
  for (int i = 1; i <= n; ++i)
    if (EdgeCountsFor(At(p, i), i < n ? At(p, i + 1) : At(p, 1), x, y)) inside = !inside;
  return inside;
}

// --- clipping -------------------------------------------------------------------------------------

namespace {

enum class Hit { Found, None };

// The boxes of the plot polygon's edges, taken once per plot polygon (see ClipPlotParts): every search
// of a clip runs over the same edges. yUsable: the edge is vertical or wider than 1e-5 in x (see
// FirstBoundaryHit). Only edges 1..nA are filled and read: the arrays are left uninitialised.
struct PlotEdges {
  // Each edge's box and its line as LineIntersection takes it (|dx|, slope, height at x = 0 through
  // the edge's second corner): taken once, a test against a segment makes one division instead of
  // three. An edge's values share one cache line: the searches visit few edges of a kept plot.
  struct alignas(64) Edge {
    double minX, maxX, minY, maxY;
    double wide, slope, level;
    bool yUsable;
  };
  std::array<Edge, kPlotEdgeLimit + 1> edge;
  // The box of all edges; allYUsable: every edge is yUsable. Infinite when a corner is not finite.
  double allMinX = 0.0, allMaxX = 0.0, allMinY = 0.0, allMaxY = 0.0;
  bool allYUsable = true;
  // The narrowest |dx| and the steepest |slope| of all edges; finite: every corner is.
  double narrowest = 0.0, steepest = 0.0;
  bool finite = true;
  // Circle clips whose view holds: the edges by bands, over the radius (see NearPlotEdges).
  const CircleEdgeBands* bands = nullptr;
  double overRadius = 0.0;
};

void PreparePlotEdges(PolygonRef plot, int nA, PlotEdges& e) {
  const double inf = std::numeric_limits<double>::infinity();
  e.allMinX = e.allMinY = inf;
  e.allMaxX = e.allMaxY = -inf;
  e.allYUsable = true;
  e.narrowest = inf;
  e.steepest = 0.0;
  double probe = 0.0;
  for (int j = 1; j <= nA; ++j) {
    const GeoPoint c1 = At(plot, j);
    const GeoPoint c2 = At(plot, j + 1);
    e.edge[j].minX = std::min(c1.x, c2.x);
    e.edge[j].maxX = std::max(c1.x, c2.x);
    e.edge[j].minY = std::min(c1.y, c2.y);
    e.edge[j].maxY = std::max(c1.y, c2.y);
    const double wide = std::fabs(c1.x - c2.x);
    e.edge[j].yUsable = wide > 1e-5 || wide == 0.0;
    e.edge[j].wide = wide;
    e.edge[j].slope = (c1.y - c2.y) / (c1.x - c2.x);
    e.edge[j].level = c2.y - e.edge[j].slope * c2.x;
    e.narrowest = std::min(e.narrowest, wide);
    e.steepest = std::max(e.steepest, std::fabs(e.edge[j].slope));
    e.allYUsable = e.allYUsable && e.edge[j].yUsable;
    // x * 0 is 0 for every finite x and NaN for an infinite or NaN one (each corner is the first of
    // an edge but the last, taken after the loop).
    probe += c1.x * 0.0 + c1.y * 0.0;
    e.allMinX = std::min(e.allMinX, e.edge[j].minX);
    e.allMaxX = std::max(e.allMaxX, e.edge[j].maxX);
    e.allMinY = std::min(e.allMinY, e.edge[j].minY);
    e.allMaxY = std::max(e.allMaxY, e.edge[j].maxY);
  }
  probe += plot.x[nA + 1] * 0.0 + plot.y[nA + 1] * 0.0;
  const bool finite = probe == 0.0;
  e.finite = finite;
  if (!finite) {
    e.allMinX = e.allMinY = -inf;
    e.allMaxX = e.allMaxY = inf;
  }
}

}  // namespace

struct ClipPlotEntry {
  int nA = 0;  // corners of the plot polygon it holds; 0: none
  std::array<double, kPlotEdgeLimit + 2> x, y;  // its points 1..nA + 1
  double circle = 0.0;  // > 0: the plot was told to be CirclePolygon(nA, 0, 0, circle)
  bool areaKnown = false;  // area is PolygonArea's (not taken on the enterprise route)
  double area = 0.0;
  GeoPoint centroid;
  PlotEdges edges;
};

ClipPlotParts::ClipPlotParts() = default;
ClipPlotParts::~ClipPlotParts() = default;
ClipPlotParts::ClipPlotParts(const ClipPlotParts&) {}
ClipPlotParts& ClipPlotParts::operator=(const ClipPlotParts&) { return *this; }

namespace {

// 1024 sets of two slots, the one used last first: the circles of the sample trees' radii met near a
// stand's boundary (some hundreds) mostly keep their own. An entry (some 4 kB) is made the first time
// its slot is used.
constexpr int kClipPlotSetBits = 10;
constexpr std::size_t kClipPlotSlots = std::size_t{2} << kClipPlotSetBits;

// A circle (radius > 0: the plot is CirclePolygon(nA, 0, 0, circle)) is told by its radius: the same
// corner count and radius make the same polygon bit for bit.
bool HoldsPlot(const ClipPlotEntry* e, PolygonRef plot, int nA, double circle) {
  if (e == nullptr || e->nA != nA) return false;
  if (circle > 0.0 && std::memcmp(&e->circle, &circle, sizeof circle) == 0) return true;
  const auto bytes = static_cast<std::size_t>(nA + 1) * sizeof(double);
  return std::memcmp(&e->x[1], &plot.x[1], bytes) == 0 && std::memcmp(&e->y[1], &plot.y[1], bytes) == 0;
}

// The entry holding this plot polygon (held), or the one its parts are to go to, emptied: the set's
// slot used longer ago.
ClipPlotEntry& KeptPlotParts(ClipPlotParts& parts, PolygonRef plot, int nA, double circle, bool& held) {
  if (!parts.entries) parts.entries = std::make_unique<std::unique_ptr<ClipPlotEntry>[]>(kClipPlotSlots);
  std::uint64_t x1 = 0, y1 = 0;
  std::memcpy(&x1, &plot.x[1], sizeof x1);
  std::memcpy(&y1, &plot.y[1], sizeof y1);
  const std::uint64_t mixed = (x1 ^ std::rotl(y1, 29) ^ static_cast<std::uint64_t>(nA)) * 0x9E3779B97F4A7C15ull;
  std::unique_ptr<ClipPlotEntry>* set = &parts.entries[(mixed >> (64 - kClipPlotSetBits)) * 2];
  held = HoldsPlot(set[0].get(), plot, nA, circle);
  if (!held) {
    held = HoldsPlot(set[1].get(), plot, nA, circle);
    std::swap(set[0], set[1]);
    if (!set[0]) set[0] = std::make_unique<ClipPlotEntry>();
    if (!held) set[0]->nA = 0;
  }
  return *set[0];
}

// A segment s1-s2 with the box every edge test of the searches compares, and its line as the plot
// edges' (see PlotEdges).
struct SegmentBox {
  GeoPoint s1, s2;
  double left = 0.0, right = 0.0, bottom = 0.0, top = 0.0;
  bool yUsable = false;
  double wide = 0.0, slope = 0.0, level = 0.0;
};

SegmentBox BoxOf(GeoPoint s1, GeoPoint s2) {
  SegmentBox s{s1, s2};
  s.left = std::min(s1.x, s2.x);
  s.right = std::max(s1.x, s2.x);
  s.bottom = std::min(s1.y, s2.y);
  s.top = std::max(s1.y, s2.y);
  s.wide = std::fabs(s1.x - s2.x);
  s.yUsable = s.wide > 1e-5 || s.wide == 0.0;
  return s;
}

// The line, taken only for segments that come near the plot polygon.
void TakeLine(SegmentBox& s) {
  s.slope = (s.s1.y - s.s2.y) / (s.s1.x - s.s2.x);
  s.level = s.s2.y - s.slope * s.s2.x;
}

// A segment that misses the box of all edges as EdgeCut misses each edge's box meets none: the stand
// edges far from the plot polygon end here.
bool MissesEveryEdge(const PlotEdges& edges, const SegmentBox& s) {
  if (s.right < edges.allMinX || s.left > edges.allMaxX) return true;
  return s.yUsable && edges.allYUsable && (s.top < edges.allMinY - 1.0 || s.bottom > edges.allMaxY + 1.0);
}

// Edges 1..n as bits 0..n - 1 (n at most kPlotEdgeLimit).
std::uint64_t AllPlotEdges(int n) { return n > 0 ? (std::uint64_t{1} << n) - 1 : 0; }

// The plot edges whose boxes may meet the segment's as EdgeCut tests them, as bits (see AllPlotEdges):
// with the bands of a circle clip only those sharing a band with the segment's box (on the y axis a
// metre wider, as EdgeCut keeps it), otherwise all. The box is taken over the radius; its rounding and
// that of the corners stay far inside the band kept on either side of every edge.
std::uint64_t NearPlotEdges(const PlotEdges& edges, const SegmentBox& s, int nA) {
  const std::uint64_t all = AllPlotEdges(nA);
  if (edges.bands == nullptr) return all;
  const double left = s.left * edges.overRadius, right = s.right * edges.overRadius;
  if (std::isnan(left + right)) return all;
  std::uint64_t near = edges.bands->x.Meeting(left, right) & all;
  // (Every edge of a circle clip whose view holds is wider than 1e-5 in x.)
  if (s.yUsable) {
    const double bottom = (s.bottom - 1.0) * edges.overRadius, top = (s.top + 1.0) * edges.overRadius;
    if (!std::isnan(bottom + top)) near &= edges.bands->y.Meeting(bottom, top);
  }
  return near;
}

// The bands of the circle polygons of nA corners, from this one of radius r.
void TakeCircleEdgeBands(PolygonRef plot, int nA, double r, CircleEdgeBands& bands) {
  std::array<double, kPlotEdgeLimit + 1> lowX{}, highX{}, lowY{}, highY{};
  for (int j = 1; j <= nA; ++j) {
    const double x1 = plot.x[j] / r, x2 = plot.x[j + 1] / r;
    const double y1 = plot.y[j] / r, y2 = plot.y[j + 1] / r;
    lowX[j] = std::min(x1, x2);
    highX[j] = std::max(x1, x2);
    lowY[j] = std::min(y1, y2);
    highY[j] = std::max(y1, y2);
  }
  // The edges' lines pass the centre no nearer than this over the radius.
  double nearest = std::numeric_limits<double>::infinity();
  for (int j = 1; j <= nA; ++j) {
    const double dx = plot.x[j + 1] - plot.x[j], dy = plot.y[j + 1] - plot.y[j];
    nearest = std::min(nearest, std::fabs(plot.x[j] * dy - plot.y[j] * dx) / std::sqrt(dx * dx + dy * dy) / r);
  }
  bands.nearest = nearest;
  // The corners lie within -1..1 of the centre over the radius.
  const double scale = kEdgeBands / 2.0;
  TakeEdgeBands(nA, lowX.data(), highX.data(), -1.0, scale, 1, bands.x);
  TakeEdgeBands(nA, lowY.data(), highY.data(), -1.0, scale, 1, bands.y);
  bands.corners = nA;
}

// Whether the segment cuts plot edge j (corner j to corner j + 1), and where.
bool LineCut(PolygonRef plot, const SegmentBox& s, int j, GeoPoint& at) {
  const GeoPoint c1 = At(plot, j);
  const GeoPoint c2 = At(plot, j + 1);
  return LineIntersectionAt(s.s1, s.s2, c1, c2, at) && OnBothSegments(s.s1, s.s2, c1, c2, at);
}

// LineCut with the lines' data taken beforehand: LineIntersection's steps on the same values.
bool LineCutPrepared(PolygonRef plot, const PlotEdges& edges, const SegmentBox& s, int j, GeoPoint& at) {
  const GeoPoint c1 = At(plot, j);
  const GeoPoint c2 = At(plot, j + 1);
  if (s.wide + edges.edge[j].wide <= 1e-4) return false;
  if (edges.edge[j].wide <= 1e-5) {
    at.x = c2.x;
    at.y = s.s2.y + s.slope * (at.x - s.s2.x);
  } else if (s.wide <= 1e-5) {
    at.x = s.s2.x;
    at.y = c2.y + edges.edge[j].slope * (at.x - c2.x);
  } else {
    const double turn = edges.edge[j].slope - s.slope;
    if (std::fabs(turn) < 1e-5) return false;
    at.x = (s.level - edges.edge[j].level) / turn;
    at.y = c2.y + edges.edge[j].slope * (at.x - c2.x);
  }
  return OnBothSegments(s.s1, s.s2, c1, c2, at);
}

bool EdgeCut(PolygonRef plot, const PlotEdges& edges, const SegmentBox& s, int j, GeoPoint& at) {
  // Every crossing PointOnBothSegments accepts has its x within the x range of one segment and taken
  // from (or lying in) the other: segments whose x ranges do not meet never cross.
  if (s.right < edges.edge[j].minX || s.left > edges.edge[j].maxX) return false;
  // Nor do segments whose y ranges lie more than a metre apart: an accepted crossing lies on both
  // segments up to the rounding of the intersection, far below that metre. Segments within 1e-5 of
  // vertical but not exactly so are left to the full test, as in PointInPolygon.
  const PlotEdges::Edge& e = edges.edge[j];
  if (s.yUsable && e.yUsable && (s.top < e.minY - 1.0 || s.bottom > e.maxY + 1.0)) return false;
  return LineCutPrepared(plot, edges, s, j, at);
}

// The first plot edge cut by the segment s1-s2, searching cyclically once around the nA edges from
// the edge after `startAfter`. Remembers the edge for the next search.
// The segment's box given, its line taken, and the box meeting that of all edges when startAfter >= 0.
Hit FirstHitOnSegment(GeometryContext& g, PolygonRef plot, const PlotEdges& edges, int nA, const SegmentBox& s,
                      int startAfter, CrossingRecord& hit) {
  const auto found = [&](int j, GeoPoint at) {
    hit.x = at.x;
    hit.y = at.y;
    hit.edge = j;
    g.clip.lastEdgeHit = j;
    return Hit::Found;
  };
  GeoPoint at;
  if (startAfter < 0 || startAfter > nA) {
    for (int step = 1; step <= nA; ++step) {
      const int j = (startAfter + step - 1) % nA + 1;
      if (j >= 1 ? EdgeCut(plot, edges, s, j, at) : LineCut(plot, s, j, at)) return found(j, at);
    }
    return Hit::None;
  }
  // The order (startAfter + step - 1) % nA + 1 gives, without a division per step: the edges after
  // startAfter, then those up to it. Edges whose boxes miss the segment's are not cut and are passed.
  const std::uint64_t near = NearPlotEdges(edges, s, nA);
  const std::uint64_t upTo = AllPlotEdges(startAfter);
  for (std::uint64_t part : {near & ~upTo, near & upTo}) {
    while (part != 0) {
      const int j = std::countr_zero(part) + 1;
      part &= part - 1;
      if (EdgeCut(plot, edges, s, j, at)) return found(j, at);
    }
  }
  return Hit::None;
}

Hit FirstBoundaryHit(GeometryContext& g, PolygonRef plot, const PlotEdges& edges, int nA, GeoPoint s1, GeoPoint s2,
                     int startAfter, CrossingRecord& hit) {
  SegmentBox s = BoxOf(s1, s2);
  // (A start before edge 0 would reach slot 0; no caller passes one.)
  if (startAfter >= 0 && MissesEveryEdge(edges, s)) return Hit::None;
  TakeLine(s);
  return FirstHitOnSegment(g, plot, edges, nA, s, startAfter, hit);
}

// The walk of one clip over the stand edges. Most stand points lie far outside the plot polygon, where
// the inside test would search the plot edges for one cut by the way to the centroid. That search says
// "outside" as soon as any edge is cut, so one edge found cut settles the answer; only the edge the
// search would have stopped at (the first cut one, which becomes g.clip.lastEdgeHit) is left open. It is
// owed until a search that starts after it is made, and worked out then; most stand edges lie far
// from the plot polygon and make none.
struct ClipWalk {
  GeometryContext& g;
  PolygonRef plot;
  const PlotEdges& edges;
  int nA = 0;
  bool shortcuts = true;
  // Squared distance from the circle's centre beyond which a stand point with a view edge is outside
  // (0: the view does not hold for this clip; see UseStandView), and within which any stand point is
  // inside (see NearReach).
  double farReach2 = 0.0;
  double nearReach2 = 0.0;
  // The last point tested, its answer and the plot edge its search stopped at (0: not yet known).
  bool known = false;
  GeoPoint p{};
  bool inside = false;
  int edge = 0;
  int cutEdge = 0;  // a plot edge shown cut on the way from the point when `edge` is not known
  // g.clip.lastEdgeHit is owed by the search from this point, which would stop at or before edge owedCut.
  bool owed = false;
  GeoPoint owedBy{};
  int owedCut = 0;
};

bool SamePoint(GeoPoint a, GeoPoint b) {
  return std::memcmp(&a.x, &b.x, sizeof a.x) == 0 && std::memcmp(&a.y, &b.y, sizeof a.y) == 0;
}

double Cross(GeoPoint u, GeoPoint v) { return u.x * v.y - u.y * v.x; }

// The plot edge in direction d seen from c, walking from edge `guess`. Clockwise corners: d lies
// between corners k and k + 1 when it is clockwise of the one and anticlockwise of the other.
// Consecutive stand points lie in nearby directions, so the walk is short.
int EdgeInDirection(PolygonRef plot, int nA, GeoPoint c, GeoPoint d, int guess) {
  int k = guess >= 1 && guess <= nA ? guess : 1;
  for (int step = 0; step < nA; ++step) {
    const GeoPoint a{plot.x[k] - c.x, plot.y[k] - c.y};
    if (Cross(a, d) > 0.0) {
      k = k == 1 ? nA : k - 1;
      continue;
    }
    const GeoPoint b{plot.x[k + 1] - c.x, plot.y[k + 1] - c.y};
    if (Cross(b, d) < 0.0) {
      k = k == nA ? 1 : k + 1;
      continue;
    }
    break;
  }
  return k;
}

// A plot edge cut by the way from p to the centroid, if the edge in p's direction seen from the
// centroid is one. The direction only guides the choice: the edge is then tested as the search does.
bool ShownOutside(ClipWalk& w, GeoPoint p, int& guess) {
  const GeoPoint c = w.g.clip.plotCentroid;
  SegmentBox way = BoxOf(p, c);
  if (MissesEveryEdge(w.edges, way)) return false;
  TakeLine(way);
  guess = EdgeInDirection(w.plot, w.nA, c, {p.x - c.x, p.y - c.y}, guess);
  GeoPoint at;
  return EdgeCut(w.plot, w.edges, way, guess, at);
}

// Circle clips: a stand point out of reach (1.02 radii or more) whose way to the centre crosses the circle
// edge in its direction between 1 % and 99 % of that edge's length is shown outside by that edge
// without testing it, when the way is wider than 1e-5 in x (checked per clip: the centroid moves with
// the radius). The test would find it cut:
//  - the way's box holds the centre and the crossing, so no box test refuses it;
//  - the way and the edge are both wider than 1e-5 in x (the edges by the clip's check), so the
//    crossing is taken by the general formula, and they meet at 30 degrees or more (a circle sector
//    spans at most 120), so their slopes differ by 0.5 or more, not by 1e-5;
//  - the centroid lies within 1e-4 r of the centre (the corners do not quite go round: about 2e-5 r),
//    which moves the crossing along the edge by at most 0.3 % of its length (0.128 r or more);
//  - with an edge slope of at most 1000 and corners within r, the crossing's x comes out within a few
//    1e-16 r plus 1e-16 of the way's |dx| r over its length of the true one (the way's steep slope is
//    divided out again), while it lies at least 0.7 % of the edge's x extent (over 1e-6 r) inside the
//    edge's x range and at least |dx| min(0.019, r / (2 × reach)) inside the way's; with |dx| > 1e-5
//    and a reach of at most 1e5 m over r >= 1e-3 (points farther out on a way steeper than 10 are not
//    taken), both half-open range tests hold.
// The view is taken from the corners of whichever circle of the corner count comes first: their
// directions are the same for every radius up to rounding far below the 1 % kept from the corners.
constexpr double kFarReach = 1.02;
constexpr double kWayNotSteep = 0.1;
constexpr double kSteepWayReach2 = 1e10;  // (1e5 m)²
constexpr double kCrossingOffCorner = 0.01;
// With eight corners or more, that edge is also the first the search finds cut, the one it leaves for
// the next search: no other edge is found cut.
//  - The way's line meets the polygon's boundary only at that edge and on the far side of the centroid,
//    and every other edge's line outside that edge (the polygon lies on one side of each).
//  - Beyond the centroid, the meeting lies outside the way's x range by |dx| 0.9 r / reach or more, a
//    few hundred times what the formula's rounding may move it (r 1000 |dx| / reach times a few 1e-16).
//  - Between the edge cut and the stand point (or beyond the point), the meeting lies outside the
//    polygon, as far from it as from the crossing (or more) times the sine of the way's angle with the
//    edge cut (67 degrees or more): a neighbour's line, running on from the shared corner at 22 degrees
//    or more to the way, is met 0.7 % of the edge cut's length or more past that corner; other edges lie
//    farther from the crossing. The meeting is then 1e-7 r or more outside that edge's x range (slope
//    at most 1000), and the formula places it within a few 1e-13 r.
constexpr int kFirstCutCorners = 8;

bool ViewHolds(const ClipStandView& v, int nA, PolygonRef stand, int nB) {
  const auto bytes = static_cast<std::size_t>(nB) * sizeof(double);
  return v.n == nB && v.corners == nA && std::memcmp(&v.x[1], &stand.x[1], bytes) == 0 &&
         std::memcmp(&v.y[1], &stand.y[1], bytes) == 0;
}

// The stand's area goes with the view when it was taken as PolygonArea takes it (not on the enterprise
// route, where that gives 0).
void TakeStandView(GeometryContext& g, PolygonRef plot, int nA, PolygonRef stand, int nB, double standArea) {
  ClipStandView& v = g.clip.standView;
  v.n = nB;
  v.corners = nA;
  ++v.taken;
  v.areaKnown = !g.enterpriseMode;
  v.area = standArea;
  int guess = 1;
  // Per point its distance from the centre and whether it may be passed untested (see below).
  std::array<double, kStandPolygonSlots + 1> reach{};
  std::array<bool, kStandPolygonSlots + 1> passable{};
  for (int i = 1; i <= nB; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const GeoPoint p{stand.x[i], stand.y[i]};
    v.x[at] = p.x;
    v.y[at] = p.y;
    v.reach2[at] = p.x * p.x + p.y * p.y;
    reach[at] = std::sqrt(v.reach2[at]);
    v.edge[at] = 0;
    passable[at] = false;
    if (!(std::fabs(p.x) >= kWayNotSteep * reach[at]) && !(v.reach2[at] <= kSteepWayReach2)) continue;
    guess = EdgeInDirection(plot, nA, {0.0, 0.0}, p, guess);
    const GeoPoint a{plot.x[guess], plot.y[guess]};
    const GeoPoint b{plot.x[guess + 1], plot.y[guess + 1]};
    // On the far side of the centre the walk may stop at the opposite edge.
    if (!((a.x + b.x) * p.x + (a.y + b.y) * p.y > 0.0)) continue;
    const double ca = Cross(a, p);
    const double cb = Cross(b, p);
    if (!(ca < 0.0 && cb > 0.0)) continue;
    const double t = ca / (ca - cb);
    if (t >= kCrossingOffCorner && t <= 1.0 - kCrossingOffCorner) v.edge[at] = guess;
    passable[at] = v.edge[at] != 0 && std::fabs(p.x) >= 2e-5 + 1e-4 * reach[at];
  }
  // A stand edge between two such points whose box lies beyond the circle's (every corner within
  // r (1 + 1e-16) of the centre; the y side a metre further, as the box tests keep it) meets no plot
  // edge's box and changes nothing but the point kept: the walk passes it while r stays below `clear`.
  // (The clip's view holds only when every circle edge is wider than 1e-5 in x, so the y side counts
  // whenever the stand edge's does.) The points passed are not tested: their ways must be wider than
  // 1e-5 in x at every such radius, the centroid lying within 1e-4 r < 1e-4 reach of the centre.
  v.clear[1] = 0.0;
  for (int i = 2; i <= nB; ++i) {
    const auto at = static_cast<std::size_t>(i);
    v.clear[at] = 0.0;
    if (!passable[at - 1] || !passable[at]) continue;
    const double far = std::min(reach[at - 1], reach[at]) / kFarReach;
    const double left = std::min(v.x[at - 1], v.x[at]), right = std::max(v.x[at - 1], v.x[at]);
    double beyond = std::max(left, -right);
    const double wide = std::fabs(v.x[at - 1] - v.x[at]);
    if (wide > 1e-5 || wide == 0.0) {
      const double bottom = std::min(v.y[at - 1], v.y[at]), top = std::max(v.y[at - 1], v.y[at]);
      beyond = std::max(beyond, std::max(bottom, -top) - 1.0);
    }
    v.clear[at] = std::min(far, beyond) * (1.0 - 1e-9);
  }
  // (Clips of a radius of 1e-3 or more only: an edge clear of none of them is left out.)
  std::array<int, kStandPolygonSlots + 1> order{};
  int count = 0;
  v.repeated = 0;
  for (int i = 2; i <= nB; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (SamePoint({v.x[at - 1], v.y[at - 1]}, {v.x[at], v.y[at]})) v.repeated |= std::uint64_t{1} << i;
    if (v.clear[at] >= 1e-3) order[static_cast<std::size_t>(count++)] = i;
  }
  std::sort(order.begin(), order.begin() + count,
            [&](int a, int b) { return v.clear[static_cast<std::size_t>(a)] > v.clear[static_cast<std::size_t>(b)]; });
  std::uint64_t passed = 0;
  for (int k = 0; k < count; ++k) {
    const auto at = static_cast<std::size_t>(order[static_cast<std::size_t>(k)]);
    passed |= std::uint64_t{1} << at;
    v.passing[static_cast<std::size_t>(k)] = v.clear[at];
    v.passed[static_cast<std::size_t>(k)] = passed;
  }
  v.passingCount = count;
}

// Whether the view holds for this clip (see TakeStandView), taking it when needed: the squared reach
// beyond which its points are outside, 0 when it does not hold.
double UseStandView(GeometryContext& g, PolygonRef plot, int nA, const PlotEdges& edges, PolygonRef stand, int nB,
                    bool viewHolds, double standArea) {
  const double r = g.clip.circleRadius;
  if (g.clip.circleCorners != nA || nA < 3 || !(r >= 1e-3) || !edges.finite) return 0.0;
  if (!(edges.narrowest > 1e-5 && edges.steepest <= 1000.0)) return 0.0;
  if (!(std::fabs(g.clip.plotCentroid.x) <= 1e-4 * r && std::fabs(g.clip.plotCentroid.y) <= 1e-4 * r)) return 0.0;
  if (!viewHolds) TakeStandView(g, plot, nA, stand, nB, standArea);
  g.clip.standViewed = true;
  return (kFarReach * r) * (kFarReach * r);
}

// Circle clips: a stand point within 0.99 of the distance at which the circle edges' lines pass the
// centre is inside, when its way to the centroid is wider than 1e-5 in x; the search would find no edge
// cut. Every point of the way lies within that reach (the centroid within 1e-4 r of the centre), at
// least 0.005 r inside every edge's line (0.5 r or more away for three corners, more for more), so the
// line of the way (at most 1.0002 r long) meets an edge's line, if at all, that far beyond the way's
// end: 0.004 |dx| or more outside its x range, where the general formula (the narrow ones are not
// taken) places the crossing's x within a few 1e-16 r, and its x alone is what the range tests compare.
// Squared reach, nothing (0) when NaN.
double NearReach2(const CircleEdgeBands& bands, double r) {
  const double reach = 0.99 * bands.nearest * r;
  return reach * reach >= 0.0 ? reach * reach : 0.0;
}

// Pays what the walk owes: g.clip.lastEdgeHit as the search from the owing point leaves it. That search
// runs from edge 1 and stops at the first edge cut; the edge shown cut is one, so the edges after it
// need no test (and the way's box meets the box of all edges).
void SettleLastEdge(ClipWalk& w) {
  if (!w.owed) return;
  SegmentBox way = BoxOf(w.owedBy, w.g.clip.plotCentroid);
  TakeLine(way);
  int first = w.owedCut;
  GeoPoint at;
  for (std::uint64_t near = NearPlotEdges(w.edges, way, w.nA) & AllPlotEdges(w.owedCut - 1); near != 0;
       near &= near - 1) {
    const int j = std::countr_zero(near) + 1;
    if (EdgeCut(w.plot, w.edges, way, j, at)) {
      first = j;
      break;
    }
  }
  w.g.clip.lastEdgeHit = first;
  w.owed = false;
  if (w.known && SamePoint(w.p, w.owedBy)) w.edge = first;
}

// The answer for a point not met before that the view does not settle: an edge shown cut, or the
// full search.
[[gnu::noinline]] bool SearchInside(ClipWalk& w, GeoPoint p, std::size_t standPoint) {
  if (w.shortcuts && ShownOutside(w, p, w.g.clip.directions[standPoint])) {
    w.cutEdge = w.g.clip.directions[standPoint];
    return false;
  }
  CrossingRecord hit;
  w.inside = FirstBoundaryHit(w.g, w.plot, w.edges, w.nA, p, w.g.clip.plotCentroid, 0, hit) == Hit::None;
  w.edge = hit.edge;
  return w.inside;
}

// Inside the (convex) plot polygon: the way to its centroid crosses no plot edge. The end of one stand
// edge is the start of the next, so the answer for a point is kept; a kept answer also leaves the
// remembered plot edge as the search would have left it.
inline bool InsidePlot(ClipWalk& w, GeoPoint p, int standPoint) {
  if (!(w.known && SamePoint(w.p, p))) {
    w.known = true;
    w.p = p;
    w.inside = false;
    w.edge = 0;
    const auto at = static_cast<std::size_t>(standPoint);
    const ClipStandView& view = w.g.clip.standView;
    // (farReach2 is 0 without shortcuts.) A way within 1e-5 of vertical meets the edges by the narrow
    // formulas, which these shortcuts do not follow.
    const bool viewed = w.farReach2 > 0.0 && std::fabs(p.x - w.g.clip.plotCentroid.x) > 1e-5;
    if (viewed && view.edge[at] > 0 && view.reach2[at] >= w.farReach2) {
      if (w.nA >= kFirstCutCorners)
        w.edge = view.edge[at];
      else
        w.cutEdge = view.edge[at];
    } else if (viewed && view.reach2[at] <= w.nearReach2) {
      w.inside = true;  // as the search finds it, leaving g.clip.lastEdgeHit
      return true;
    } else if (SearchInside(w, p, at)) {
      return true;
    } else if (w.edge > 0) {
      w.owed = false;  // the search left g.clip.lastEdgeHit
      return false;
    }
  }
  if (w.inside) return true;
  if (w.edge > 0) {
    w.g.clip.lastEdgeHit = w.edge;
    w.owed = false;
  } else {
    w.owed = true;
    w.owedBy = p;
    w.owedCut = w.cutEdge;
  }
  return false;
}

enum class EdgeOutcome { Nothing, Contributes, Failed };

// Where one stand edge meets the plot polygon: fills g.clip.entry and g.clip.exit.
EdgeOutcome EdgeIntersections(ClipWalk& w, GeoPoint start, GeoPoint end, int startPoint, int endPoint) {
  GeometryContext& g = w.g;
  const PolygonRef plot = w.plot;
  const PlotEdges& edges = w.edges;
  const int nA = w.nA;
  const bool startInside = InsidePlot(w, start, startPoint);
  const bool endInside = InsidePlot(w, end, endPoint);
  CrossingRecord crossing;
  bool found = false;
  SegmentBox edge = BoxOf(start, end);
  // An edge wider than 1e-5 in x between two points within the near reach of a circle clip lies within
  // it and cuts no plot edge, as a way from such a point does not (see NearReach2): the search would
  // find none and leave g.clip.lastEdgeHit, so what the walk owes may wait.
  const ClipStandView& view = g.clip.standView;
  const bool within = w.nearReach2 > 0.0 && edge.wide > 1e-5 &&
                      view.reach2[static_cast<std::size_t>(startPoint)] <= w.nearReach2 &&
                      view.reach2[static_cast<std::size_t>(endPoint)] <= w.nearReach2;
  if (!within && !MissesEveryEdge(edges, edge)) {
    SettleLastEdge(w);
    TakeLine(edge);
    found = FirstHitOnSegment(g, plot, edges, nA, edge, g.clip.lastEdgeHit, crossing) == Hit::Found;
  }
  if (!found && !startInside && !endInside) return EdgeOutcome::Nothing;

  if (startInside && endInside) {
    g.clip.entry = {start.x, start.y, 0, 1};
    g.clip.exit = {end.x, end.y, 0, 0};
    return EdgeOutcome::Contributes;
  }
  // One end inside, the other outside: the edge must cross the plot boundary. A crossing lost between
  // the half-open ranges of two plot edges at a corner cannot be placed; the clip then fails rather
  // than build a wrong polygon.
  if (!found) return EdgeOutcome::Failed;
  if (startInside) {
    g.clip.entry = {start.x, start.y, 0, 1};
    g.clip.exit = {crossing.x, crossing.y, crossing.edge, 2};
    return EdgeOutcome::Contributes;
  }
  if (endInside) {
    g.clip.entry = {crossing.x, crossing.y, crossing.edge, 1};
    g.clip.exit = {end.x, end.y, 0, 1};
    return EdgeOutcome::Contributes;
  }
  // Both ends outside: the edge passes through the plot polygon.
  CrossingRecord second;
  FirstHitOnSegment(g, plot, edges, nA, edge, crossing.edge, second);  // finds at least `crossing` again
  g.clip.exit = {crossing.x, crossing.y, crossing.edge, 2};
  g.clip.entry = {second.x, second.y, second.edge, 1};
  const bool useX = std::fabs(start.x - end.x) > 0.01;
  const bool useY = std::fabs(start.y - end.y) > 0.01;
  const bool entryNearerEnd = (useY && std::fabs(g.clip.entry.y - end.y) < std::fabs(g.clip.exit.y - end.y)) ||
                              (useX && std::fabs(g.clip.entry.x - end.x) < std::fabs(g.clip.exit.x - end.x));
  if (entryNearerEnd) {
    std::swap(g.clip.entry.x, g.clip.exit.x);
    std::swap(g.clip.entry.y, g.clip.exit.y);
    std::swap(g.clip.entry.edge, g.clip.exit.edge);
  }
  return EdgeOutcome::Contributes;
}

bool AddCrossing(GeometryContext& g, const CrossingRecord& r) {
  if (g.clip.crossingCount >= kCrossingLimit) {
    ReportGeometryCapacity(g, "66");
    return false;
  }
  g.clip.crossings[++g.clip.crossingCount] = r;
  return true;
}

// Appends a point to the result; the 90th is refused.
void AddResultPoint(GeometryContext& g, ClipPolygonPoints& result, double x, double y) {
  if (result.n + 1 >= kClipPolygonSlots) {
    g.diagnostics.errorFlag = true;
    return;
  }
  ++result.n;
  result.x[result.n] = x;
  result.y[result.n] = y;
}

// Appends plot corners k % nA + 1 for k = a .. b - 1 (1 <= a, b <= a + nA): one run up to corner nA,
// one from corner 1 on. Point by point where the result would overflow (and without shortcuts).
void AddPlotCorners(GeometryContext& g, ClipPolygonPoints& result, PolygonRef plot, int nA, int a, int b) {
  if (b <= a) return;
  if (g.testing.clipWithoutShortcuts || result.n + (b - a) + 1 >= kClipPolygonSlots) {
    for (int k = a; k <= b - 1; ++k) {
      const int corner = k % nA + 1;
      AddResultPoint(g, result, plot.x[corner], plot.y[corner]);
    }
    return;
  }
  const auto copy = [&](int first, int last) {
    if (last < first) return;
    const auto bytes = static_cast<std::size_t>(last - first + 1) * sizeof(double);
    std::memmove(&result.x[result.n + 1], &plot.x[first], bytes);
    std::memmove(&result.y[result.n + 1], &plot.y[first], bytes);
    result.n += last - first + 1;
  };
  copy(a + 1, std::min(b, nA));
  copy(1, b - nA);
}

bool FailClip(GeometryContext& g, ClipPolygonPoints& result, ClipAreas& areas) {
  g.diagnostics.errorFlag = true;
  result.n = 0;
  areas.result = 0.0;
  return false;
}

// Whether the clip's tables take the two polygons (the stand up to lastStandPoint); one too large for
// them gets its capacity report, one with fewer than three corners none.
bool ClipInputFits(GeometryContext& g, int nA, PolygonRef plot, PolygonRef stand, int nB, int lastStandPoint) {
  if (lastStandPoint >= kClipStandPointLimit || !Fits(stand, lastStandPoint)) {
    ReportGeometryCapacity(g, "60");
    return false;
  }
  if (nA > kPlotEdgeLimit || !Fits(plot, nA, 1)) {
    ReportGeometryCapacity(g, "232");
    return false;
  }
  return nA >= 3 && nB >= 3;
}

// Where the parts taken of a plot polygon alone are kept: they are the same for every clip of it.
struct PlotSlot {
  ClipPlotEntry* kept = nullptr;  // null when the clip takes no shortcuts
  bool held = false;              // the slot already holds this polygon
  double circle = 0.0;            // the radius when the plot is the circle clips' polygon, else 0
};

PlotSlot FindPlotSlot(GeometryContext& g, PolygonRef plot, int nA) {
  PlotSlot slot;
  slot.circle = g.clip.circleCorners == nA && g.clip.circleRadius > 0.0 ? g.clip.circleRadius : 0.0;
  if (!g.testing.clipWithoutShortcuts) slot.kept = &KeptPlotParts(g.clip.plotParts, plot, nA, slot.circle, slot.held);
  return slot;
}

// Whether what the circle clips keep of the stand points still holds for this stand.
bool StandViewHolds(const ClipCache& clip, int nA, PolygonRef stand, int nB) {
  const ClipStandView& view = clip.standView;
  return (clip.standAsBefore && view.n == nB && view.corners == nA) || ViewHolds(view, nA, stand, nB);
}

// The areas of both polygons, taken from what is kept where it holds (never in enterprise mode, where
// PolygonArea gives 0); false when either could not be taken.
bool TakeInputAreas(GeometryContext& g, PolygonRef plot, int nA, PolygonRef stand, int nB, const PlotSlot& slot,
                    bool viewHolds, ClipAreas& areas) {
  if (slot.held && slot.kept->areaKnown && !g.enterpriseMode) {
    areas.plot = slot.kept->area;
    g.diagnostics.errorFlag = false;
  } else {
    areas.plot = PolygonArea(g, plot.WithCount(nA + 1));
  }
  const bool plotFailed = g.diagnostics.errorFlag;
  if (viewHolds && g.clip.standView.areaKnown && !g.enterpriseMode) {
    areas.stand = g.clip.standView.area;
    g.diagnostics.errorFlag = false;
  } else {
    areas.stand = PolygonArea(g, stand.WithCount(nB));
  }
  return !plotFailed && !g.diagnostics.errorFlag;
}

// The plot polygon's centroid and edges: from its slot where that held it, else taken now and kept
// there. The slot keeps the plot's area for the next clip too.
PlotEdges& TakePlotEdges(GeometryContext& g, PolygonRef plot, int nA, const PlotSlot& slot, double plotArea,
                         PlotEdges& unkept) {
  ClipPlotEntry* kept = slot.kept;
  PlotEdges& edges = kept != nullptr ? kept->edges : unkept;
  if (slot.held) {
    g.clip.plotCentroid = kept->centroid;
  } else {
    PolygonCentroid(g, plot.WithCount(nA), g.clip.plotCentroid.x, g.clip.plotCentroid.y);
    PreparePlotEdges(plot, nA, edges);
    if (kept != nullptr) {
      const auto bytes = static_cast<std::size_t>(nA + 1) * sizeof(double);
      std::memcpy(&kept->x[1], &plot.x[1], bytes);
      std::memcpy(&kept->y[1], &plot.y[1], bytes);
      kept->centroid = g.clip.plotCentroid;
      kept->areaKnown = false;
      kept->circle = slot.circle;
      kept->nA = nA;
    }
  }
  if (kept != nullptr && !g.enterpriseMode) {
    kept->area = plotArea;
    kept->areaKnown = true;
  }
  edges.bands = nullptr;
  edges.overRadius = 0.0;
  return edges;
}

// A circle clip whose stand view holds (or can be taken) walks with the circle's reaches: points far
// out are outside without a search, points near the centre inside.
void PrepareCircleWalk(ClipWalk& walk, PlotEdges& edges, PolygonRef stand, int nB, bool viewHolds, double standArea) {
  GeometryContext& g = walk.g;
  walk.farReach2 = UseStandView(g, walk.plot, walk.nA, edges, stand, nB, viewHolds, standArea);
  if (walk.farReach2 <= 0.0) return;
  if (g.clip.circleEdgeBands.corners != walk.nA)
    TakeCircleEdgeBands(walk.plot, walk.nA, g.clip.circleRadius, g.clip.circleEdgeBands);
  edges.bands = &g.clip.circleEdgeBands;
  edges.overRadius = 1.0 / g.clip.circleRadius;
  walk.nearReach2 = NearReach2(g.clip.circleEdgeBands, g.clip.circleRadius);
}

// A run of stand edges the circle passes untouched, from edge i on; returns the run's last point.
// Outside; its start was the point kept. Along a run of such edges each end differing from the one
// before replaces all the walk keeps of it and leaves nothing else: only the run's last end is walked.
// (When that end is the point kept before the run, the end before it is walked first, as the walk along
// the run would have left it.)
int PassUntouchedRun(ClipWalk& walk, PolygonRef stand, std::uint64_t running, int i) {
  int last = i;
  if ((running >> i) & 1) {
    last += std::countr_one(running >> (i + 1));
    if (last > i && walk.known && SamePoint(walk.p, At(stand, last))) InsidePlot(walk, At(stand, last - 1), last - 1);
  }
  InsidePlot(walk, At(stand, last), last);
  return last;
}

// The current edge's entry (unless it is the exit recorded last) and exit into the crossings table.
bool RecordEdgeCrossings(GeometryContext& g) {
  const bool sameAsLast = g.clip.crossingCount > 0 &&
                          std::fabs(g.clip.crossings[g.clip.crossingCount].x - g.clip.entry.x) <= 1e-5 &&
                          std::fabs(g.clip.crossings[g.clip.crossingCount].y - g.clip.entry.y) <= 1e-5;
  if (!sameAsLast && !AddCrossing(g, g.clip.entry)) return false;
  return AddCrossing(g, g.clip.exit);
}

// Walks the stand's edges 2..lastStandPoint and records where they enter and leave the plot polygon in
// g.clip.crossings; false when a crossing cannot be placed or the table is full.
bool WalkStandEdges(ClipWalk& walk, PolygonRef stand, int nB, int lastStandPoint) {
  GeometryContext& g = walk.g;
  // The edges this circle passes untouched (see ClipStandView::clear; points up to nB only) and those
  // of them that do not end at a repeated point.
  const std::uint64_t passed = walk.farReach2 > 0.0 ? g.clip.standView.PassedAt(g.clip.circleRadius) : 0;
  const std::uint64_t running = passed & ~g.clip.standView.repeated;
  for (int i = 2; i <= lastStandPoint; ++i) {
    if ((passed >> i) & 1) {
      i = PassUntouchedRun(walk, stand, running, i);
      continue;
    }
    const GeoPoint start = At(stand, i - 1);
    const int endPoint = i == nB + 1 ? 1 : i;
    const EdgeOutcome outcome = EdgeIntersections(walk, start, At(stand, endPoint), i - 1, endPoint);
    if (outcome == EdgeOutcome::Failed) return false;
    if (outcome == EdgeOutcome::Contributes && !RecordEdgeCrossings(g)) return false;
  }
  return true;
}

// No stand edge touches the plot polygon: it lies wholly inside the stand (the result is the plot) or
// wholly outside (the result stays empty).
void TakeUntouchedPlot(GeometryContext& g, int nA, PolygonRef plot, PolygonRef stand, int nB, bool closingEdge,
                       ClipPolygonPoints& result) {
  bool inside = false;
  if (closingEdge) {
    Polygon<kStandPolygonSlots> ring;  // the piece with its closing point
    for (int i = 1; i <= nB; ++i) {
      ring.x[i] = stand.x[i];
      ring.y[i] = stand.y[i];
    }
    ring.x[nB + 1] = stand.x[1];
    ring.y[nB + 1] = stand.y[1];
    ring.n = nB + 1;
    inside = PointInPolygon(ring, plot.x[1], plot.y[1]);
  } else {
    inside = PointInPolygon(stand.WithCount(nB), plot.x[1], plot.y[1]);
  }
  if (inside) CopyPolygon(g, nA + 1, plot, result);
}

// The result from the crossings table: each crossing in turn and, from a crossing leaving the stand to
// the next entering it, the plot corners between them; closed with the first crossing again. False when
// the result overflowed.
bool TraceCrossings(GeometryContext& g, int nA, PolygonRef plot, ClipPolygonPoints& result) {
  const int count = g.clip.crossingCount;
  g.clip.crossings[count + 1] = g.clip.crossings[1];
  for (int i = 1; i <= count; ++i) {
    const CrossingRecord& here = g.clip.crossings[i];
    const CrossingRecord& next = g.clip.crossings[i + 1];
    AddResultPoint(g, result, here.x, here.y);
    if (here.kind == 2 && next.kind == 1) {
      const int a = here.edge;
      int b = next.edge;
      if (b < a) b += nA;
      if (b == a && PointOnSegmentRange({next.x, next.y}, At(plot, a), {here.x, here.y})) b += nA;
      AddPlotCorners(g, result, plot, nA, a, b);
    }
  }
  AddResultPoint(g, result, g.clip.crossings[count + 1].x, g.clip.crossings[count + 1].y);
  return result.n < kClipResultLimit && !g.diagnostics.errorFlag;
}

// Two tree circles of which the second lies within the first: the result is the whole second one.
bool TakeContainedCircle(GeometryContext& g, PolygonRef stand, int nB, ClipPolygonPoints& result) {
  if (!g.twoCircle.set) return true;
  const double dx = g.twoCircle.x1 - g.twoCircle.x2;
  const double dy = g.twoCircle.y1 - g.twoCircle.y2;
  if (std::sqrt(dx * dx + dy * dy) + g.twoCircle.r2 <= 1.01 * g.twoCircle.r1) return CopyPolygon(g, nB, stand, result);
  return true;
}

// The result's area; an empty result has none and is no failure.
bool TakeResultArea(GeometryContext& g, ClipPolygonPoints& result, ClipAreas& areas) {
  if (result.n == 0) {
    areas.result = 0.0;
    g.diagnostics.errorFlag = false;
    return true;
  }
  areas.result = PolygonArea(g, result);
  if (g.diagnostics.errorFlag) return FailClip(g, result, areas);
  return true;
}

}  // namespace

bool ClipPlotPolygon(GeometryContext& g, int nA, PolygonRef plot, PolygonRef stand, int nB, ClipPolygonPoints& result,
                     ClipAreas& areas) {
  g.clip.standViewed = false;
  g.clip.crossingCount = 0;
  g.clip.lastEdgeHit = 0;
  result.n = 0;
  // The enterprise subdivision passes a compartment piece unclosed: its closing edge is walked too.
  const bool closingEdge = g.enterpriseMode && nA < 20;
  const int lastStandPoint = closingEdge ? nB + 1 : nB;
  if (!ClipInputFits(g, nA, plot, stand, nB, lastStandPoint)) return FailClip(g, result, areas);

  const PlotSlot slot = FindPlotSlot(g, plot, nA);
  // Circle clips at one plot centre see the same stand points: what they take of them is kept.
  const bool circleWalk = !g.testing.clipWithoutShortcuts && !closingEdge && g.clip.circleCorners == nA;
  const bool viewHolds = circleWalk && StandViewHolds(g.clip, nA, stand, nB);
  g.clip.standViewed = viewHolds;
  if (!TakeInputAreas(g, plot, nA, stand, nB, slot, viewHolds, areas)) return FailClip(g, result, areas);

  PlotEdges unkept;
  PlotEdges& edges = TakePlotEdges(g, plot, nA, slot, areas.plot, unkept);
  ClipWalk walk{g, plot, edges, nA, !g.testing.clipWithoutShortcuts};
  if (circleWalk) PrepareCircleWalk(walk, edges, stand, nB, viewHolds, areas.stand);
  const bool walked = WalkStandEdges(walk, stand, nB, lastStandPoint);
  // The last edge is left as the searches left it, whatever way the walk ends.
  SettleLastEdge(walk);
  if (!walked) return FailClip(g, result, areas);

  if (g.clip.crossingCount < 2) {
    TakeUntouchedPlot(g, nA, plot, stand, nB, closingEdge, result);
  } else if (!TraceCrossings(g, nA, plot, result)) {
    return FailClip(g, result, areas);
  }
  if (!TakeContainedCircle(g, stand, nB, result)) return FailClip(g, result, areas);
  return TakeResultArea(g, result, areas);
}

}  // namespace tolvek
