#include "simulator/views/repetition_display.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/rounding.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

// Deviations beyond this many per cent are placed as if they were this far off: far outside every
// picture, yet a pixel position an int can hold.
constexpr double kFarOffPercent = 5000.0;

double Bounded(double percent) {
  if (!(percent > -kFarOffPercent)) return -kFarOffPercent;  // also NaN, which no label may show
  if (percent > kFarOffPercent) return kFarOffPercent;
  return percent;
}

int HighestCount(const RunStatistics& stats) {
  int m = 0;
  for (int c : stats.histogram) m = std::max(m, c);
  return m;
}

// The printed page is laid out with y downwards as the printer counts; the page canvas wants y
// negative downwards.
class Downwards {
 public:
  explicit Downwards(Canvas& c) : c_(c) {}
  void Line(int x1, int y1, int x2, int y2) { c_.Line(x1, -y1, x2, -y2); }
  void Rectangle(int x1, int y1, int x2, int y2) { c_.Rectangle(x1, -y1, x2, -y2); }
  void Text(int x, int y, const std::string& text) { c_.Text(x, -y, text); }

 private:
  Canvas& c_;
};

}  // namespace

const char* QuantityLabel(int index) {
  switch (index) {
    case kQuantityStemNumber: return "Baumzahl";
    case kQuantityMeanDiameter: return "BHD";
    default: return "Grundfläche";
  }
}

Colour QuantityColour(int index) {
  switch (index) {
    case kQuantityStemNumber: return 12632256;     // silver
    case kQuantityMeanDiameter: return 12639424;   // pale green
    default: return kWhite;
  }
}

int DeviationToPixel(double percent) { return RoundInt(Bounded(percent) * 4.0 + 120.0); }

void FitHistogramScales(RunStatistics& stats) {
  const int m = HighestCount(stats);
  if (m > 0 && m * stats.screenScale > kScreenBarLimit) {
    stats.screenScale = 65.0 / m;
    stats.printScale = 210.0 / m;
  }
}

void DrawQuantityResult(int index, RepeatImage image, double sd, double bias, int count,
                        const LanguageTable& language) {
  Canvas& c = image.canvas;
  const int w = image.width, h = image.height;
  const Colour colour = QuantityColour(index);
  if (index != kQuantityBasalArea) {
    // The whole row afresh: the band alone would leave the ends of earlier lines standing beside it.
    c.SetPen(kWhite);
    c.SetBrush(kWhite);
    c.Rectangle(0, 0, w, h);
    c.SetPen(colour);
    c.SetBrush(colour);
    c.Rectangle(0, 5, w, 38);
  }
  c.SetPen(kBlack);
  c.SetBrush(colour);
  c.SetFont("Arial", 8, kBlack);
  const int y = index == kQuantityBasalArea ? 80 : 4;
  c.Text(5, y + 2, Translate(language, QuantityLabel(index)));

  c.SetPen(kRed);
  const int xb = DeviationToPixel(bias);
  const int xl = DeviationToPixel(bias - sd);
  const int xr = DeviationToPixel(bias + sd);
  c.Line(xb, h, xb, y);
  c.Line(xl, h - 20, xr, h - 20);
  c.Line(xl, h, xl, h - 24);
  c.Line(xr, h, xr, h - 24);
  // A single repetition has no spread: only its lines are drawn. The text goes over the lines on a
  // ground of the row's colour, so that the bias line and the ends of the bar never run through it.
  if (count > 1) {
    const double error = sd / std::sqrt(static_cast<double>(count));
    const std::string text =
        FormatFixed(6, 2, bias) + " ±" + FormatFixed(5, 2, sd) + "         (Err:" + FormatFixed(5, 2, error) + ")";
    const int x = DeviationToPixel(-9);
    const Colour ground = index == kQuantityBasalArea ? kWhite : colour;
    c.SetPen(ground);
    c.SetBrush(ground);
    c.Rectangle(x - 1, h - 16, x + c.TextWidth(text) + 1, h - 16 + c.TextHeight(text));
    c.SetPen(kBlack);
    c.Text(x, h - 16, text);
  }
}

void DrawDeviationHistogram(RunStatistics& stats, RepeatImage histogram, RepeatImage rowN, RepeatImage rowD,
                            const LanguageTable& language) {
  stats.statisticsReady = true;
  Canvas& c = histogram.canvas;
  const int w = histogram.width, h = histogram.height;
  // The titles are cleared with the rest: drawn again over themselves, the count's digits would pile up.
  c.SetPen(kWhite);
  c.SetBrush(kWhite);
  c.Rectangle(0, 0, w, h);
  c.SetPen(kBlack);
  c.SetBrush(kBlack, BrushStyle::Clear);
  c.Rectangle(0, 70, w, h - 35);
  c.SetBrush(kBlack);

  FitHistogramScales(stats);
  for (int j = -kDeviationClassLimit; j <= kDeviationClassLimit; ++j) {
    const int count = stats.HistogramCount(j);
    if (count <= 0) continue;
    const int bar = RoundInt(count * stats.screenScale);
    c.Rectangle(DeviationToPixel(j), h - 38 - bar, DeviationToPixel(j + 0.8), h - 38);
  }
  for (int p = -kDeviationClassLimit; p <= kDeviationClassLimit; p += 5) {
    const int x = DeviationToPixel(p);
    c.Line(x, h - 32, x, h - 36);
  }

  c.SetBrush(kWhite);
  c.SetFont("Arial", 8, kBlack);
  c.Text(10, h - 32, "-25%                           0                            +25%");
  c.SetFont("Arial", 12, kBlack, true);
  c.Text(25, 0, Translate(language, "Häufigkeitsverteilung"));
  c.SetFont("Arial", 10, kBlack, true);
  c.Text(20, 20, Translate(language, "der Simulationsergebnisse"));
  c.SetFont("Arial", 8, kBlack);
  c.Text(46, 36, Translate(language, "Abweichungen in %"));
  c.Text(10, 53,
         Translate(language, "Anzahl") + " " + Translate(language, "Simulationen") + ":" + FormatInt(stats.count, 5) +
             "    ");

  DrawQuantityResult(kQuantityBasalArea, histogram, stats.g.sd, stats.g.bias, stats.count, language);
  DrawQuantityResult(kQuantityStemNumber, rowN, stats.n.sd, stats.n.bias, stats.count, language);
  // d is taken over the repetitions that have a mean diameter.
  DrawQuantityResult(kQuantityMeanDiameter, rowD, stats.d.sd, stats.d.bias, stats.d.count, language);
}

RunPrintLayout MakeRunPrintLayout(const RunPrintInput& input, int count) {
  RunPrintLayout l;
  l.u = std::max(1, RoundInt(input.pageWidth / 200.0));
  l.printTop = input.printTop;
  l.y0 = input.printTop * l.u;
  l.x0 = 90 * l.u;
  l.count = count;
  return l;
}

double PrintedBarScale(const RunStatistics& stats, int u) {
  // The frame reaches 35u above the axis and the bars stand 0.5u above it; the screen's reductions
  // alone let the printed bars grow to twice 210 units, beyond the frame on a page in 0.1 mm.
  const int m = HighestCount(stats);
  if (m <= 0) return stats.printScale;
  return std::min(stats.printScale, 33.5 * u / m);
}

void PrintQuantityResult(Canvas& page, const RunPrintLayout& layout, int index, double bias, double sd,
                         const LanguageTable& language) {
  Downwards p(page);
  const int u = layout.u, x0 = layout.x0;
  const int y = (layout.printTop + 12 * (index - 1)) * u;
  const int xb = RoundInt(x0 + 37.5 * u + Bounded(bias) * 1.5 * u);
  const int w = RoundInt(Bounded(sd) * 1.5 * u);
  const std::string label = Translate(language, QuantityLabel(index));
  if (index != kQuantityBasalArea) {
    p.Rectangle(x0 - 5 * u, y + 10 * u, x0 + 5 * u + RoundInt(75.0 * u), y - u);
    p.Text(x0, y + 2, label);
  } else {
    p.Text(x0, y - 30 * u, label);
  }
  p.Line(xb, y + 5 * u, xb, y - u);
  p.Line(xb - w, y + 4 * u, xb + w, y + 4 * u);
  p.Line(xb - w, y + 5 * u, xb - w, y + 3 * u);
  p.Line(xb + w, y + 5 * u, xb + w, y + 3 * u);
  // The printed standard error divides by sqrt(n - 1), the screen's by sqrt(n).
  if (layout.count > 1) {
    const double error = sd / std::sqrt(static_cast<double>(layout.count - 1));
    p.Text(xb - 12 * u, y + 5 * u,
           FormatFixed(6, 2, bias) + " ±" + FormatFixed(5, 2, sd) + "        (Err=" + FormatFixed(4, 2, error) + ")");
  }
}

void PrintRunResultPage(Canvas& page, const RunPrintInput& input, const RunStatistics& stats,
                        const LanguageTable& language) {
  const RunPrintLayout l = MakeRunPrintLayout(input, stats.count);
  const int u = l.u, x0 = l.x0, y0 = l.y0;
  auto T = [&](const char* german) { return Translate(language, german); };
  Downwards p(page);

  page.SetPen(kBlack, 2);
  page.SetBrush(kWhite);
  p.Text(0, 0, " ");
  page.SetFont("Arial", 6 * u, kBlack);
  if (input.printTop < 100) p.Text(50 * u, y0 - 50 * u, T("Häufigkeitsverteilung") + " " + T("der Simulationsergebnisse"));

  page.SetFont("Arial", 4 * u, kBlack);
  p.Text(x0 - 5 * u, y0 - 40 * u, T("Anzahl Simulationen") + ": " + FormatInt(stats.count, 4));
  p.Text(135 * u, y0 - 40 * u, input.dateTime);

  const int y1 = y0 - 30 * u;
  if (!input.enterpriseMode) p.Text(25 * u, y1 - 5 * u, T("Bestand") + " Nr.: " + input.standNumber);
  for (std::size_t k = 0; k < input.captions.size(); ++k)
    p.Text(25 * u, y1 + static_cast<int>(k) * 5 * u, input.captions[k]);

  const int axisEnd = x0 + RoundInt(75.0 * u);
  p.Rectangle(x0 - 5 * u, y0 + 10 * u, x0 + 5 * u + RoundInt(75.0 * u), y0 - 35 * u);
  p.Line(x0, y0, axisEnd, y0);
  for (int k = -5; k <= 5; ++k) {
    const int x = x0 + RoundInt(37.5 * u) + RoundInt(k * 7.5 * u);
    p.Line(x, y0, x, y0 + u);
  }
  page.SetFont("Arial", 3 * u, kBlack);
  p.Text(x0 - 3 * u, y0 + 2 * u, "-25%");
  p.Text(x0 + RoundInt(70.5 * u), y0 + 2 * u, "+25%");

  page.SetBrush(kBlack);
  const double scale = PrintedBarScale(stats, u);
  const int half = RoundInt(0.5 * u), step = RoundInt(1.5 * u);
  int x = x0;
  for (int j = -kDeviationClassLimit; j <= kDeviationClassLimit; ++j, x += step) {
    const int count = stats.HistogramCount(j);
    if (count <= 0) continue;
    p.Rectangle(x - half, y0 - RoundInt(0.5 * u + count * scale), x + half, y0 - half);
  }

  page.SetBrush(kWhite);
  page.SetFont("Arial", 4 * u, kBlack);
  PrintQuantityResult(page, l, kQuantityBasalArea, stats.g.bias, stats.g.sd, language);
  PrintQuantityResult(page, l, kQuantityStemNumber, stats.n.bias, stats.n.sd, language);
  RunPrintLayout withDiameter = l;
  withDiameter.count = stats.d.count;
  PrintQuantityResult(page, withDiameter, kQuantityMeanDiameter, stats.d.bias, stats.d.sd, language);
}

}  // namespace tolvek
