#include "simulator/sampling/plan_optimisation.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/format.h"
#include "common/rounding.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

constexpr double kMaxTrees = 40.0;
constexpr int kLeft = 30;     // pixels left of the origin
constexpr int kBottom = 45;   // pixels below the origin

// A pixel position from a value that may have run off: off the picture, never undefined.
int Pixel(double v) {
  if (std::isnan(v)) return -32000;
  return RoundInt(std::clamp(v, -32000.0, 32000.0));
}

bool Between(double v, double lo, double hi) { return v >= lo && v <= hi; }

}  // namespace

double WalkMinPerM(double v) { return v > 0.1 ? 60.0 / (v * 1000.0) : 0.0; }

double PlanMinutes(PlanOptimisationModel& m, double x) {
  const double wF = WalkMinPerM(m.vF);
  const double wB = WalkMinPerM(m.vB);
  m.n = (m.sF * m.sF + m.sB * m.sB / x) / (m.VC * m.VC);
  return m.n * (100.0 * std::sqrt(m.A / m.n) * wF + m.tF + x * (std::sqrt(10000.0 / m.N) * wB + m.tB));
}

double OptimalTrees(PlanOptimisationModel& m) {
  if (std::fabs(m.tB) < 0.1) m.tB = 0.1;
  double x = m.sF > 0.1 ? std::sqrt(m.tF / m.tB) * m.sB / m.sF : kMaxTrees;
  if (x > kMaxTrees) x = kMaxTrees;
  if (!(x >= 1.0)) x = 1.0;  // fewer than one tree per plot is no plan
  return x;
}

bool PlanInputsValid(const PlanOptimisationModel& m) {
  constexpr double kBig = 1e6;
  return Between(m.VC, 1e-6, kBig) && Between(m.A, 1e-6, kBig) && Between(m.N, 1e-6, kBig) &&
         Between(m.tF, 0.0, kBig) && Between(m.tB, 0.0, kBig) && Between(m.vF, 0.0, kBig) &&
         Between(m.vB, 0.0, kBig) && Between(m.sF, 0.0, kBig) && Between(m.sB, 0.0, kBig) &&
         (m.sF > 0.0 || m.sB > 0.0);
}

int PlanGraph::PixelX(double x) const { return Pixel(x * scaleX) + kLeft; }
int PlanGraph::PixelY(double minutes) const { return height - Pixel(minutes * scaleY) - kBottom; }
double PlanGraph::ValueX(int pixelX) const { return scaleX > 0.0 ? (pixelX - kLeft) / scaleX : 0.0; }

PlanGraph DrawPlanCurve(Canvas& c, PlanOptimisationModel& m, int width, int height, const LanguageTable& lang) {
  PlanGraph g;
  g.width = width;
  g.height = height;
  const double at3 = PlanMinutes(m, 3.0);
  const double at40 = PlanMinutes(m, kMaxTrees);
  const auto roof = [](double minutes) {
    const double t = std::isfinite(minutes) ? std::trunc(std::clamp(minutes, 0.0, 1e9) / 10.0) : 0.0;
    return (t + 1.0) * 10.0;
  };
  g.yMax = std::max(roof(at3), roof(at40));
  g.scaleX = width / (kMaxTrees - 0.0 + 4.0);
  g.scaleY = 0.8 * height / (g.yMax - 0.0);

  c.SetPen(kWhite);
  c.SetBrush(kWhite);
  c.Rectangle(0, 0, width, height);
  c.SetPen(kBlack);
  c.SetFont("arial", 8, kBlack);
  const int x0 = g.PixelX(0.0);
  const int y0 = g.PixelY(0.0);

  c.Line(x0, y0, g.PixelX(kMaxTrees), y0);
  for (int k = 0; k <= 40; ++k) {
    const int px = g.PixelX(k);
    const bool labelled = k % 5 == 0;
    c.Line(px, y0, px, y0 + (labelled ? 4 : 2));
    if (labelled) c.Text(px - 8, y0 + 5, FormatFixed(3, 0, k));
  }

  // A short range gets finer ticks, so its labels are not all at the axis' foot.
  const double step = g.yMax / 10.0 < 10.0 ? 5.0 : 10.0;
  const int steps = RoundInt(g.yMax / step) + 10;
  c.Line(x0, y0, x0, g.PixelY(steps * step));
  for (int k = 0; k <= steps; ++k) {
    const int py = g.PixelY(k * step);
    const bool labelled = k % 10 == 0;
    c.Line(x0, py, x0 - (labelled ? 4 : 2), py);
    if (labelled) c.Text(x0 - 28, py - 8, FormatFixed(4, 0, k * step));
  }
  c.Text(x0 - 24, y0 + 20, Translate(lang, "Flächen:"));

  std::vector<CanvasPoint> curve;
  for (int x = 3; x <= 40; ++x) curve.push_back({g.PixelX(x), g.PixelY(PlanMinutes(m, x))});
  c.Polyline(curve);
  for (int x = 5; x <= 40; x += 5) {
    PlanMinutes(m, x);
    c.Text(g.PixelX(x) - 10, y0 + 20, FormatFixed(4, 1, m.n));
  }

  const double best = OptimalTrees(m);
  const int bx = g.PixelX(best);
  const int by = g.PixelY(PlanMinutes(m, best));
  c.Line(bx, by + 8, bx, by - 8);
  c.Text(bx - 10, by + 8, FormatFixed(4, 1, best));
  return g;
}

PlanEditTexts PlanEditFieldTexts(const PlanOptimisationModel& m) {
  const auto speed = [](double v) {
    const double w = WalkMinPerM(v);
    return w > 0.0 ? FormatFixed(5, 1, 60.0 / (w * 1000.0)) : std::string("0");
  };
  return {FormatFixed(5, 1, m.tF), speed(m.vF),           FormatFixed(5, 1, m.tB),
          speed(m.vB),             FormatFixed(5, 1, m.sF), FormatFixed(5, 1, m.sB),
          FormatFixed(5, 2, m.A),  FormatFixed(5, 0, m.N),  FormatFixed(5, 0, m.VC)};
}

bool SetPlanField(PlanOptimisationModel& m, PlanField field, const std::string& text) {
  const std::optional<double> value = ParseReal(TrimSpaces(text));
  if (!value || !std::isfinite(*value)) return false;
  PlanOptimisationModel trial = m;
  switch (field) {
    case PlanField::tF: trial.tF = *value; break;
    case PlanField::tB: trial.tB = *value; break;
    case PlanField::vF: trial.vF = *value; break;
    case PlanField::vB: trial.vB = *value; break;
    case PlanField::sF: trial.sF = *value; break;
    case PlanField::sB: trial.sB = *value; break;
    case PlanField::A: trial.A = *value; break;
    case PlanField::N: trial.N = *value; break;
    case PlanField::VC: trial.VC = *value; break;
  }
  if (!PlanInputsValid(trial)) return false;
  m = trial;
  return true;
}

PlanReadout ReadPlanCurve(PlanOptimisationModel& m, const PlanGraph& g, int pixelX, const LanguageTable& lang) {
  PlanReadout r;
  // Left of the axis there is no plan: the read-out holds at one tree per plot.
  r.x = std::clamp(g.ValueX(pixelX), 1.0, 1e6);
  r.minutes = PlanMinutes(m, r.x);
  r.hint = Translate(lang, "Bäume:") + " " + std::to_string(RoundHalfEven(r.x)) + "    " +
           Translate(lang, "Flächen:") + " " + std::to_string(RoundHalfEven(std::clamp(m.n, 0.0, 1e15))) +
           "    " + Translate(lang, "Minuten:") + " " + std::to_string(RoundHalfEven(std::clamp(r.minutes, 0.0, 1e15)));
  return r;
}

}  // namespace tolvek
