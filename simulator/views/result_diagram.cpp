#include "simulator/views/result_diagram.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/rounding.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

using namespace diagram_layout;

// The largest value the scale takes; beyond it bars end at the chart's top.
constexpr double kScaleCap = 999.0;
// The scale of a diagram without a positive value.
constexpr double kEmptyScale = 10000.0;
// The distribution of diameter classes is scaled to at least this many stems per ha.
constexpr double kDistributionScaleFloor = 50.0;
constexpr Colour kSilverPen = 12632256;
constexpr Colour kRedPen = 255;

// A value as the drawing takes it: not a number counts as nothing.
double Finite(double v) { return std::isfinite(v) ? v : 0.0; }

// A pixel count from a value: rounded half to even, kept within what a pixel position can hold however
// far beyond the chart the value lies.
int Px(double v) {
  if (!std::isfinite(v)) return 0;
  return RoundInt(std::clamp(v, -1.0e6, 1.0e6));
}

struct Deviations {
  int count = 0;       // N
  double sum = 0.0;    // S1
  double sd = 0.0;
};

Deviations SumDeviations(const std::array<std::uint16_t, 2 * kDiagramDeviationClassLimit + 1>& classes,
                         double unit) {
  Deviations d;
  double s2 = 0.0;
  for (int j = -kDiagramDeviationClassLimit; j <= kDiagramDeviationClassLimit; ++j) {
    const int n = classes[static_cast<std::size_t>(j + kDiagramDeviationClassLimit)];
    d.count += n;
    d.sum += j * unit * n;
    s2 += (j * unit) * (j * unit) * n;
  }
  if (d.count > 0) {
    const double mean = d.sum / d.count;
    const double variance = s2 / d.count - mean * mean;
    d.sd = variance > 0.0 ? std::sqrt(variance) : 0.0;
  }
  return d;
}

void DrawAxis(Canvas& axis, double pixelsPerUnit, int tickStep) {
  const int h = kChartHeight;
  axis.SetFont("Arial", 6, kBlack);
  axis.SetPen(kWhite);
  axis.SetBrush(kWhite);
  axis.Rectangle(0, 0, kAxisWidth, h);
  axis.SetPen(kBlack);
  axis.SetBrush(kWhite, BrushStyle::Clear);
  for (int i = 1; i <= 150; ++i) {
    const int y = Px(h - i * pixelsPerUnit * tickStep);
    if (y < -kRowHeight) break;  // the ticks only climb from here: all above the picture
    axis.Line(12, y, i % 5 == 0 ? 6 : 9, y);
    if (i % 10 == 0) {
      // The label stands on white over its tick.
      axis.SetPen(kWhite);
      axis.SetBrush(kWhite);
      axis.Rectangle(0, y - 4, kAxisWidth, y + 5);
      axis.SetPen(kBlack);
      axis.Text(-1, y - 4, FormatInt(static_cast<long long>(i) * tickStep, 3));
    }
  }
}

}  // namespace

double DiagramAxisUnit(char code, const ResultDiagramSetting& setting) {
  if (code == 'G') return setting.basalAreaUnit;
  if (code == 'Z') return setting.stemNumberUnit;
  if (code == 'F') return 5.0;
  return 0.5;
}

void DrawErrorBar(Canvas& canvas, int pictureHeight, int x, int y, int e, int halfWidth, int style) {
  const int h = pictureHeight;
  const int low = h - (y - e), high = h - (y + e);
  canvas.Line(x, low, x, high);
  canvas.Line(x - halfWidth, low, x + halfWidth, low);
  canvas.Line(x - halfWidth, high, x + halfWidth, high);
  if (style == 2) canvas.Line(x - 2, low, x - 2, high);
}

ResultDiagramPicture LayOutResultDiagram(const ResultDiagramData& data, const ResultDiagramSetting& setting,
                                         const LanguageTable& language) {
  auto T = [&](const char* german) { return Translate(language, german); };
  ResultDiagramPicture p;
  const char code = data.code;
  const bool distribution = code == 'V';
  const bool enterprise = setting.enterpriseMode;
  const int h = kChartHeight;

  CategoryValues truth{}, estimate{}, error{}, count{};
  for (int q = 0; q < kDiagramCategories; ++q) {
    const auto i = static_cast<std::size_t>(q);
    truth[i] = Finite(data.trueValues[i]);
    estimate[i] = Finite(data.estimates[i]);
    error[i] = Finite(data.standardErrors[i]);
    count[i] = Finite(data.counts[i]);
  }

  // 1. The scale.
  double m = 0.0;
  for (int q = 0; q < kDiagramCategories; ++q)
    m = std::max({m, truth[static_cast<std::size_t>(q)], estimate[static_cast<std::size_t>(q)]});
  if (!(m > 0.0)) m = kEmptyScale;

  // 2. "(A) " and the like in front of the type drop.
  std::string typeText = data.typeText;
  if (Utf8Length(typeText) >= 5 && typeText.front() == '(') typeText = Utf8Mid(typeText, 4, Utf8Length(typeText));

  // 3. Header.
  p.btBaumZahl = T("Baumzahl");
  if (enterprise) {
    const EnterpriseDiagramHeader& e = setting.enterprise;
    p.label3 = T("Betriebsinventur");
    p.lblBestand = T("Betrieb Nr.") + e.numberText + e.classification;
    p.lblFlaeche = PadRight(T("Fläche:"), 13) + FormatFixed(8, 1, Finite(e.totalAreaHa)) + " ha";
    p.lblBaeume = PadRight(T("Bestände:"), 13) + FormatInt(e.standCount, 8);
    const double meanArea = e.standCount > 0 ? Finite(e.totalAreaHa) / e.standCount : 0.0;
    p.lbBestGroesse = PadRight(T("Mittl. Fläche:"), 16) + FormatFixed(5, 2, meanArea) + " ha";
  } else {
    const double area = Finite(setting.standAreaHa);
    p.label3 = T("Bestandesinventur");
    p.lblBestand = T("Bestand") + " Nr. " + setting.standNumber;
    p.lblFlaeche = T("Fläche:") + FormatFixed(8, 2, area) + " ha";
    const double perHa = area > 0.0 ? setting.standTrees / area : 0.0;
    p.lblBaeume = T("Bäume") + ":" + FormatFixed(6, 0, perHa) + " /ha";
  }
  p.label3 += ":  " + (setting.allSimulations ? T("Alle Simulationen") : T("Letzte Simulation"));
  p.lblGitter = T("Gitter");
  p.lblGitterAnf = PadRight(T("Gitterabstand:"), 15) + FormatFixed(6, 0, setting.gridDx) + "/" +
                   FormatFixed(3, 0, setting.gridDy) + " m";
  if (enterprise) {
    p.lblAuswEinh = T("Auswertungseinheit");
    p.lblBTAK = T("Typ:") + " " + typeText;
    p.lblBTAk2 = data.unitText;
  }
  switch (code) {
    case 'F': p.lblMerkmal = T("Fläche (ha)"); break;
    case 'G': p.lblMerkmal = T("Grundfläche / ha"); break;
    case 'Z': p.lblMerkmal = T("Baumzahl") + " / ha"; break;
    case 'D': p.lblMerkmal = T("mittl. Durchmesser"); break;
    case 'V':
      p.lblMerkmal =
          Translate(language, setting.graphSpeciesName) + ":  " + T("BHD-Verteilung") + "  (" + T("Baumzahl") + "  /ha" + ")";
      m = std::max(m, kDistributionScaleFloor);
      break;
    default: break;
  }
  p.lblAnzStp = setting.plotsLine;
  p.lblBaumZahl = setting.sampleTreesLine;

  // 4. Category buttons.
  for (int q = 0; q < kDiagramCategories; ++q) p.buttonCaptions[static_cast<std::size_t>(q)] = data.labels[static_cast<std::size_t>(q)];
  p.firstButtonEnabled = !(enterprise && (code == 'G' || code == 'Z' || code == 'D'));
  p.allSimulationsEnabled = setting.repetitionCount >= 1;

  // 5. - 7. Scale cap, chart frame, axis.
  m = std::min(m, kScaleCap);
  p.maximum = m;
  const double s = h * 0.8 / m;
  p.pixelsPerUnit = s;
  const double unit = DiagramAxisUnit(code, setting);
  // Half a unit of basal area cannot be a whole tick step: its ticks go by whole square metres.
  p.tickStep = std::max(1, Px(2.0 * unit));
  DrawAxis(p.axis, s, p.tickStep);
  Canvas& c = p.chart;
  c.SetPen(kBlack);
  c.SetBrush(kWhite);
  c.Rectangle(0, 0, kChartWidth - 1, h - 1);

  // 8. Bars, their error bars and the table's columns.
  const bool spread = setting.allSimulations && (code == 'G' || code == 'Z');
  const int decimals = (code == 'Z' || distribution) ? 0 : 1;
  auto& table = p.table;
  // A bar ends at the frame's top line however tall its value.
  auto barHeight = [&](double value) { return std::clamp(Px(s * value), 0, h - 1); };
  for (int q = 0; q < kDiagramCategories; ++q) {
    const auto i = static_cast<std::size_t>(q);
    const int k = q + 1;
    const int column = q * kBarPitch;
    const Colour colour = data.colours[i];
    p.barCategory[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(q);

    c.SetPen(kBlack);
    c.SetBrush(colour, BrushStyle::DiagonalCross);
    const int trueHeight = barHeight(truth[i]);
    if (trueHeight > 0) c.Rectangle(column + kTrueBarOffset, h - 1, column + kTrueBarOffset + kBarWidth, h - trueHeight);
    c.SetBrush(colour, BrushStyle::Solid);

    Deviations dev;
    if (!spread) {
      const int estimateHeight = barHeight(estimate[i]);
      if (estimateHeight > 0)
        c.Rectangle(column + kEstimateBarOffset, h - 1, column + kEstimateBarOffset + kBarWidth, h - estimateHeight);
      const int e = Px(s * error[i]);
      if (!distribution && e >= 1 && estimateHeight + e < h - 1)
        DrawErrorBar(c, h, column + 31, estimateHeight, e, 6, 2);
    } else if (truth[i] > 2.0 && data.deviations) {
      const auto& classes = (*data.deviations)[i];
      int largest = 0;
      for (std::uint16_t n : classes) largest = std::max<int>(largest, n);
      const double widthFactor = largest > 10 ? 30.0 / largest : 3.0;
      c.SetPen(kBlack);
      c.SetBrush(kBlack);
      for (int j = -kDiagramDeviationClassLimit; j <= kDiagramDeviationClassLimit; ++j) {
        const int n = classes[static_cast<std::size_t>(j + kDiagramDeviationClassLimit)];
        if (n <= 0) continue;
        const int y = h - Px((j * unit + truth[i]) * s);
        if (y < 3 || y > h - 1) continue;  // beyond the frame
        c.Rectangle(column + 15, y, column + 15 + Px(widthFactor * n), y - 2);
      }
      dev = SumDeviations(classes, unit);
      const int trueY = Px(s * truth[i]);
      c.SetPen(kSilverPen);
      DrawErrorBar(c, h, column + 15, trueY, Px(-15.0 * unit * s), 2, 1);
      c.SetPen(kRedPen);
      DrawErrorBar(c, h, column + 11, trueY, Px(s * dev.sd), 4, 2);
      c.SetPen(kBlack);
    }

    // The table, column k.
    const double percent = estimate[i] > 0.0 ? error[i] * 100.0 / estimate[i] : error[i];
    table[1][static_cast<std::size_t>(k)] = FormatFixed(7, decimals, truth[i]);
    table[2][static_cast<std::size_t>(k)] = FormatFixed(7, decimals, estimate[i]);
    // The distribution has no errors and no counts: its third and fourth rows stay empty.
    if (!distribution) {
      table[3][static_cast<std::size_t>(k)] = FormatFixed(7, 1, percent);
      table[4][static_cast<std::size_t>(k)] = FormatFixed(7, 0, count[i]);
    }
    if (spread) {
      if (dev.count > 0 && truth[i] > 2.0) {
        table[2][static_cast<std::size_t>(k)] = FormatFixed(7, decimals, dev.sum / dev.count + truth[i]);
        table[3][static_cast<std::size_t>(k)] = FormatFixed(7, 1, dev.sd * 100.0 / truth[i]);
        table[4][static_cast<std::size_t>(k)] = FormatFixed(7, 0, dev.count - 1);
      } else {
        table[3][static_cast<std::size_t>(k)] = " ";
        table[4][static_cast<std::size_t>(k)] = " ";
      }
    }
  }

  // 9. Row headings and the label over them.
  table[1][0] = T("tatsächlich");
  table[2][0] = T("aus Stichprobe");
  if (!distribution) {
    table[3][0] = T("Stp.-Fehler (%)");
    table[4][0] = spread ? T("Simulationen") : enterprise ? T("Probeflächen") : T("Bäume");
  }
  p.label2 = distribution ? T("D-Stufe") + ":" : std::string();

  // 10. A category without a true value has no column.
  for (int k = 1; k <= kDiagramCategories; ++k)
    if (!(truth[static_cast<std::size_t>(k - 1)] > 0.0))
      for (int row = 1; row < kTableRows; ++row) table[static_cast<std::size_t>(row)][static_cast<std::size_t>(k)].clear();
  return p;
}

}  // namespace tolvek
