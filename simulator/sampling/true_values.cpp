#include "simulator/sampling/true_values.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "simulator/sampling/edge_correction.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

bool Finite(double v) { return std::isfinite(v); }

// Half-angle of a lens at one circle from its cosine; near a right angle the cosine carries no
// useful digits any more, and rounding may push it a hair beyond ±1.
double HalfAngle(double cosine) {
  if (std::fabs(cosine) <= 0.001) return kCirclePi / 2.0;
  return std::acos(std::clamp(cosine, -1.0, 1.0));
}

// The ditto mark that stands for "Grundfläche/ha" in the two lines below it.
constexpr const char* kDitto = "      -\"-      ";

}  // namespace

double SelectionRadius(const MethodChoice& method, double dbh) {
  switch (method.code) {
    case kMethodFixedCircle:
      return method.circleRadius;
    case kMethodAngleCount: {
      const double root = std::sqrt(4.0 * static_cast<double>(method.countingFactor));
      return root > 0.0 ? dbh / root : 0.0;
    }
    case kMethodConcentric: {
      double r = 0.0;
      const int count = std::min<int>(method.circleCount, kMaxConcentricCircles);
      for (int k = 1; k <= count; ++k) {
        if (dbh >= static_cast<double>(method.concentricDbhLimit[static_cast<std::size_t>(k)])) {
          r = method.concentricRadius[static_cast<std::size_t>(k)];
        }
      }
      return r;
    }
    default:
      return 0.0;
  }
}

bool CircleCutsEdge(GeoPoint a, GeoPoint b, GeoPoint c, double r) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  // An edge lying wholly within the circle is reached too: otherwise a circle that holds the whole
  // stand would count as clear of the boundary and its share would exceed the stand.
  if (PointWithinDistance(a, c, r) && PointWithinDistance(b, c, r) && r > 0.0) return true;
  if (!(len2 > 0.0)) return false;
  // Foot of the perpendicular from the centre and the two points where the line meets the circle.
  const double t = ((c.x - a.x) * dx + (c.y - a.y) * dy) / len2;
  const GeoPoint foot{a.x + t * dx, a.y + t * dy};
  const double fx = foot.x - c.x;
  const double fy = foot.y - c.y;
  const double dist2 = fx * fx + fy * fy;
  if (!(dist2 < r * r)) return false;
  const double len = std::sqrt(len2);
  const double h = std::sqrt(r * r - dist2);
  const GeoPoint hits[2] = {{foot.x + h * dx / len, foot.y + h * dy / len},
                            {foot.x - h * dx / len, foot.y - h * dy / len}};
  const bool vertical = std::fabs(dx) <= 1e-5;
  const bool horizontal = std::fabs(dy) <= 1e-5;
  for (const GeoPoint& p : hits) {
    const bool inX = vertical || InRange(p.x, a.x, b.x);
    const bool inY = horizontal || InRange(p.y, a.y, b.y);
    if (inX && inY) return true;
  }
  return false;
}

bool CirclesOverlap(double r1, GeoPoint c1, double r2, GeoPoint c2) {
  const double dx = c1.x - c2.x;
  const double dy = c1.y - c2.y;
  const double sum = r1 + r2;
  return dx * dx + dy * dy < 0.99 * (sum * sum);
}

double LensArea(double r1, GeoPoint c1, double r2, GeoPoint c2) {
  const double dx = c1.x - c2.x;
  const double dy = c1.y - c2.y;
  const double d = std::sqrt(dx * dx + dy * dy);
  if (r2 + d <= r1) return kCirclePi * r2 * r2;
  if (r2 >= d + r1) return kCirclePi * r1 * r1;
  const double a1 = HalfAngle((r1 * r1 - r2 * r2 + d * d) / (2.0 * r1 * d));
  const double a2 = HalfAngle((r2 * r2 + d * d - r1 * r1) / (2.0 * r2 * d));
  return r1 * r1 * (a1 - std::sin(a1) * std::cos(a1)) + r2 * r2 * (a2 - std::sin(a2) * std::cos(a2));
}

TreeShare TreeSelectionArea(GeometryContext& g, PolygonRef boundary, GeoPoint centre, double r, double standM2) {
  TreeShare out;
  const double circleArea = kCirclePi * r * r;
  out.share = circleArea / standM2;
  out.insideArea = circleArea;
  bool reached = false;
  for (int i = 1; i < boundary.n && !reached; ++i) {
    reached = CircleCutsEdge({boundary.x[i], boundary.y[i]}, {boundary.x[i + 1], boundary.y[i + 1]}, centre, r);
  }
  if (!reached) return out;
  out.atBoundary = true;
  g.diagnostics.errorFlag = false;
  if (!CircleInsideArea(g, boundary, r, centre.y, centre.x)) {
    // A clip that fails leaves nothing to trust: the tree keeps the share of its whole circle.
    g.diagnostics.errorFlag = false;
    out.clipFailed = true;
    return out;
  }
  const double inside = g.edge.clipAreas.result;
  if (inside > 0.0) {
    out.insideArea = inside;
    out.share = inside / standM2;
  }
  return out;
}

BoundaryOverlap OverlapAtBoundary(GeometryContext& g, PolygonRef boundary, GeoPoint ci, double ri, GeoPoint cj,
                                  double rj, OverlapWork& work) {
  BoundaryOverlap out;
  const int corners = g.cornersPerCircle;
  CirclePolygonPoints circleI;
  if (!CirclePolygon(corners, 0.0, 0.0, ri, circleI)) {
    out.ok = false;
    return out;
  }
  const double rx = cj.x - ci.x;
  const double ry = cj.y - ci.y;
  g.diagnostics.errorFlag = false;
  ClipAreas areas;
  if (std::fabs(rx) <= 0.01 && std::fabs(ry) <= 0.01 && std::fabs(ri - rj) <= 0.01) {
    if (!CopyPolygon(g, circleI.n, circleI, work.lens)) {
      out.ok = false;
      return out;
    }
    out.lensArea = PolygonArea(g, work.lens);
  } else {
    CirclePolygonPoints circleJ;
    if (!CirclePolygon(corners, rx, ry, rj, circleJ)) {
      out.ok = false;
      return out;
    }
    g.twoCircle = {true, 0.0, 0.0, ri, rx, ry, rj};
    bool clipped = ClipPlotPolygon(g, corners, circleI, circleJ, circleJ.n, work.lens, areas);
    if (!clipped) {
      // A crossing that falls on a corner of one polygon can leave the walk without its partner; the
      // lens is the same seen from the other circle, whose corners lie elsewhere.
      g.diagnostics.errorFlag = false;
      g.twoCircle = {true, rx, ry, rj, 0.0, 0.0, ri};
      clipped = ClipPlotPolygon(g, corners, circleJ, circleI, circleI.n, work.lens, areas);
    }
    // The containment rule must not outlive this pair: every later clip would take it.
    g.twoCircle = {};
    if (!clipped) {
      g.diagnostics.errorFlag = false;
      out.ok = false;
      return out;
    }
    out.lensArea = areas.result;
  }
  if (g.diagnostics.errorFlag) {
    g.diagnostics.errorFlag = false;
    out.ok = false;
    return out;
  }

  const int n = std::min(boundary.n, kStandPolygonSlots);
  for (int k = 1; k <= n; ++k) {
    work.shiftedBoundary.x[static_cast<std::size_t>(k)] = boundary.x[k] - ci.x;
    work.shiftedBoundary.y[static_cast<std::size_t>(k)] = boundary.y[k] - ci.y;
  }
  work.shiftedBoundary.n = n;
  work.inside.n = 0;

  bool cornerInside = false;
  for (int k = 1; k <= work.lens.n && !cornerInside; ++k) {
    cornerInside = PointInPolygon(work.shiftedBoundary, work.lens.x[static_cast<std::size_t>(k)],
                                  work.lens.y[static_cast<std::size_t>(k)]);
  }
  if (!cornerInside) return out;  // a lens with no corner in the stand counts as outside it
  if (!ClipPlotPolygon(g, work.lens.n - 1, work.lens, work.shiftedBoundary, n, work.inside, areas)) {
    g.diagnostics.errorFlag = false;
    out.ok = false;
    return out;
  }
  double inside = areas.result;
  // A boundary that cuts the lens twice makes the walk go round it once more.
  if (inside > out.lensArea) inside -= out.lensArea;
  out.insideArea = inside;
  return out;
}

int NumberTrees(GeometryContext& g, TreeList& trees, PolygonRef boundary, double standM2, const MethodChoice& method,
                TrueValueObserver* observer) {
  int failures = 0;
  std::int32_t number = 0;
  for (TreeRecord& t : trees) {
    t.number = ++number;
    t.basalArea = t.dbh * t.dbh * kTrueBasalAreaFactor;
    const double r = SelectionRadius(method, t.dbh);
    t.selectionArea = kCirclePi * r * r;
    t.plotShare = 0.0;
    t.selectionAtBoundary = 0;
    if (!(r > 0.0)) continue;
    const TreeShare share = TreeSelectionArea(g, boundary, {t.x, t.y}, r, standM2);
    t.plotShare = share.share;
    t.selectionAtBoundary = share.atBoundary ? 1 : 0;
    if (share.clipFailed) ++failures;
    if (observer && share.atBoundary) observer->SelectionAreaDone(t, r, share);
  }
  return failures;
}

std::optional<DesignValues> ComputeTrueValues(GeometryContext& g, TreeList& trees, PolygonRef boundary,
                                                 double standHa, const MethodChoice& method,
                                                 TrueValueObserver* observer, bool* cancelled) {
  if (cancelled) *cancelled = false;
  const double standM2 = standHa * 10000.0;
  if (!(standM2 > 0.0) || !Finite(standM2)) return std::nullopt;

  DesignValues v;
  v.clipFailures = NumberTrees(g, trees, boundary, standM2, method, observer);

  // The radii once, so the pair loop does not work them out again for every pair.
  const std::size_t count = trees.size();
  std::vector<double> radius(count);
  for (std::size_t i = 0; i < count; ++i) radius[i] = SelectionRadius(method, trees[i].dbh);

  OverlapWork work;
  for (std::size_t i = 0; i < count; ++i) {
    const double ri = radius[i];
    if (!(ri > 0.0)) continue;
    const TreeRecord& a = trees[i];
    const double gi = a.basalArea;
    const double pi = a.plotShare;
    v.N += 1;
    v.G += gi;
    v.sumG2 += gi * gi;
    v.En += pi;
    v.V += gi * gi / pi;
    v.Vcov += gi * gi * (1.0 - pi) / pi;
    if (observer) observer->TreeStarted(a);
    const GeoPoint ci{a.x, a.y};
    const double gpi = gi / pi;
    for (std::size_t j = i + 1; j < count; ++j) {
      const double rj = radius[j];
      if (!(rj > 0.0)) continue;
      const TreeRecord& b = trees[j];
      const GeoPoint cj{b.x, b.y};
      const double pj = b.plotShare;
      double pij = 0.0;
      if (CirclesOverlap(ri, ci, rj, cj)) {
        if (a.selectionAtBoundary && b.selectionAtBoundary) {
          const BoundaryOverlap o = OverlapAtBoundary(g, boundary, ci, ri, cj, rj, work);
          if (o.ok) {
            pij = o.insideArea / standM2;
          } else {
            ++v.clipFailures;
            pij = LensArea(ri, ci, rj, cj) / standM2;
          }
          if (observer) observer->BoundaryPair(a, ri, b, rj, o, work);
        } else {
          const double lens = LensArea(ri, ci, rj, cj);
          pij = lens / standM2;
          if (observer) observer->InnerPair(a, ri, b, rj, lens);
        }
      }
      const double gpj = b.basalArea / pj;
      v.V += 2.0 * pij * gpi * gpj;
      v.Vcov += 2.0 * (pij - pi * pj) * gpi * gpj;
    }
    if (observer && observer->Cancelled()) {
      if (cancelled) *cancelled = true;
      return std::nullopt;
    }
  }
  v.V = v.V - v.G * v.G;
  // Rounding may leave a variance of a hair below zero where the true one is zero.
  v.sdPerHa = std::sqrt(std::max(v.V, 0.0)) / standHa;
  return v;
}

std::string TrueValuesText(const DesignValues& v, double standHa, const LanguageTable& lang) {
  const double sdCov = std::sqrt(std::max(v.Vcov, 0.0)) / standHa;
  const double cv = v.G > 0.0 ? 100.0 * std::sqrt(std::max(v.V, 0.0)) / v.G : 0.0;
  const std::string qm = Translate(lang, "qm");
  std::string s = "\t" + Translate(lang, "Wahre Bestandeswerte") + "\n\n";
  s += Translate(lang, "Bäume insgesamt:") + "\t" + FormatInt(v.N, 6) + "\n";
  s += Translate(lang, "Bäume/Probefläche:") + "\t" + FormatFixed(6, 2, v.En) + "\n";
  s += Translate(lang, "Grundfläche/ha:") + "\t\t" + FormatFixed(6, 2, v.G / standHa) + " " + qm + "\n";
  s += std::string(kDitto) + Translate(lang, "Std-Abw.") + "\t" + FormatFixed(6, 1, sdCov) + " " + qm + "\n";
  s += std::string(kDitto) + Translate(lang, "Var-Koef.") + "\t" + FormatFixed(6, 1, cv) + " %";
  return s;
}

std::string SelectionAreaText(int mode, const SelectionAreaFigures& f, const LanguageTable& lang) {
  const double circle = kCirclePi * f.r * f.r;
  const auto percent = [circle](double part) { return circle > 0.0 ? 100.0 * part / circle : 0.0; };
  const std::string tree = Translate(lang, "Baum");
  const std::string withBoundary = Translate(lang, "mit Grenze");
  const std::string withTree = Translate(lang, "mit Baum");
  const std::string qm = Translate(lang, "qm");
  switch (mode) {
    case 1:
      return tree + "  " + FormatInt(f.number, 4) + " Fl:" + FormatFixed(6, 1, circle) + " " + qm + "  R: " +
             FormatFixed(6, 2, f.r) + " m" + "\n" + "   " + withBoundary + ":   Fl:" + FormatFixed(6, 1, f.insideArea) +
             FormatFixed(14, 1, percent(f.insideArea)) + " %";
    case 2:
      return tree + "  " + FormatInt(f.number, 8) + "        Fl:" + FormatFixed(7, 1, circle) + " " + qm + "   R: " +
             FormatFixed(6, 2, f.r) + " m" + "\n" + "  " + withTree + FormatFixed(5, 0, f.partner) + "    Fl: " +
             FormatFixed(7, 1, f.overlap) + " " + qm + "     " + FormatFixed(6, 1, percent(f.overlap)) + " %" + "\n" +
             "      " + withBoundary + "       Fl: " + FormatFixed(7, 1, f.insideArea) + " " + qm +
             FormatFixed(9, 1, percent(f.insideArea)) + " %";
    default:
      return tree + "  " + FormatInt(f.number, 6) + "         Fl:" + FormatFixed(7, 1, circle) + " " + qm +
             "       R: " + FormatFixed(6, 2, f.r) + " m" + "\n" + "   " + withTree + FormatFixed(5, 0, f.partner) +
             "    Fl:" + FormatFixed(7, 1, f.overlap) + " " + qm + "       " + FormatFixed(6, 1, percent(f.overlap)) + " %";
  }
}

std::optional<VarianceSplit> SplitVariance(double e8, double sd8, double e16, double sd16) {
  const double diff = sd8 * sd8 - sd16 * sd16;
  // Written so that a NaN fails every test instead of passing them all.
  if (!(diff > 0.0) || !(sd8 <= 1000000.0) || !(sd16 <= 1000000.0)) return std::nullopt;
  const double spread = 1.0 / e8 - 1.0 / e16;
  if (!(spread > 0.0) || !Finite(spread)) return std::nullopt;
  VarianceSplit out;
  out.within = std::sqrt(diff / spread);
  const double between2 = sd16 * sd16 - out.within * out.within / e16;
  out.between = between2 > 0.0 ? std::sqrt(between2) : 0.0;
  if (!Finite(out.within) || !Finite(out.between)) return std::nullopt;
  return out;
}

std::string VarianceSplitText(double basalAreaPerHa, const VarianceSplit& split, const LanguageTable& lang) {
  const std::string qm = Translate(lang, "qm");
  const auto line = [&](const char* label, double value) {
    return PadRight(Translate(lang, label), 25) + FormatFixed(10, 2, value) + " " + qm;
  };
  return line("Grundfläche / ha", basalAreaPerHa) + "\n" + line("St-Abw. zwischen  Flächen", split.between) + "\n" +
         line("St-Abw. innerhalb Flächen", split.within);
}

}  // namespace tolvek
