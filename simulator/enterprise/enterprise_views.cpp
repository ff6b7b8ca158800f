#include "simulator/enterprise/enterprise_views.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/paths.h"
#include "common/rounding.h"
#include "common/species.h"
#include "common/translate.h"
#include "simulator/enterprise/enterprise_model.h"
#include "simulator/views/stand_map.h"

namespace tolvek {

namespace {

std::size_t At(int i) { return static_cast<std::size_t>(i); }

constexpr std::array<const char*, 6> kAgeClassLabels{"", "1/2", "3", "4", "5", "6+"};
constexpr std::array<const char*, 6> kTreatmentLabels{"", "JPF", "DF", "VPF", "VN", "DW"};

// The header texts and buffers every chart starts from.
ResultDiagramData Chart(char code) {
  ResultDiagramData d;
  d.code = code;
  return d;
}

}  // namespace

std::string ShortClassLabel(int k, bool forestDevelopmentTypes) {
  if (k < 1 || k > 5) return {};
  return (forestDevelopmentTypes ? kTreatmentLabels : kAgeClassLabels)[At(k)];
}

std::string ClassLabel(int k, bool forestDevelopmentTypes, const LanguageTable& language) {
  if (forestDevelopmentTypes)
    return k > 0 ? Translate(language, "Behandlungstyp") + " " + ShortClassLabel(k, true)
                 : Translate(language, "Alle Behandlungstypen");
  return k > 0 ? Translate(language, "Altersklasse") + " " + ShortClassLabel(k, false)
               : Translate(language, "Alle Altersklassen");
}

ResultDiagramData EnterpriseSpeciesChart(char code, int t, int k, const EnterpriseViewInput& in,
                                         EnterpriseChartColours& colours, const LanguageTable& language) {
  ResultDiagramData d = Chart(code);
  if (code != 'D') colours.colours = SpeciesDiagramColours(kConiferList);
  d.colours = colours.colours;
  d.unitText = ClassLabel(k, in.forestDevelopmentTypes, language);
  d.typeText = in.positionNames[At(t)];
  for (int s = 0; s < kDiagramCategories; ++s) {
    const StratumTruth& truth = in.truth.At(t, k, s);
    const StratumSample& x = in.estimates.At(t, k, s);
    if (truth.g > 0.0 || truth.n > 0.0)
      d.labels[At(s)] = s == 0 ? Translate(language, "Alle") : Translate(language, SpeciesNameTable::Name(s, kConiferList));
    switch (code) {
      case 'G':
        d.trueValues[At(s)] = truth.g;
        d.estimates[At(s)] = x.meanG;
        d.standardErrors[At(s)] = x.seG;
        d.counts[At(s)] = truth.g > 0.0 ? x.plots : 0.0;
        break;
      case 'Z':
        d.trueValues[At(s)] = truth.n;
        d.estimates[At(s)] = x.meanN;
        d.standardErrors[At(s)] = x.seN;
        d.counts[At(s)] = truth.n > 0.0 ? x.plots : 0.0;
        break;
      default:
        if (truth.g > 0.0 && truth.n > 0.0) d.trueValues[At(s)] = truth.dg;
        if (x.dCount > 0.0 && truth.g > 0.0 && x.meanG > 0.0) {
          d.estimates[At(s)] = x.dg;
          d.standardErrors[At(s)] = x.seD;
          d.counts[At(s)] = x.dCount;
        }
        break;
    }
  }
  if (in.histograms != nullptr && (code == 'G' || code == 'Z'))
    d.deviations = code == 'G' ? &in.histograms->basalArea[At(t)][At(k)] : &in.histograms->stemNumber[At(t)][At(k)];
  return d;
}

ResultDiagramData EnterpriseDiameterChart(int t, int k, int g, const EnterpriseViewInput& in,
                                          EnterpriseChartColours& colours, const LanguageTable& language) {
  if (g < 0 || g > 9) g = 0;
  ResultDiagramData d = Chart('V');
  const double area = in.truth.At(t, k, 0).area;
  // The stems of the classes are sums over the plots: every plot of the stratum makes the mean, the
  // empty ones too, as for the stem number.
  const double plots = in.estimates.AllPlots(t, k);
  for (int i = 1; i <= kStratumClasses; ++i) {
    const auto c = At(i - 1);
    d.trueValues[c] = area > 0.0 ? in.truth.At(t, k, g).classes[c] / area : 0.0;
    if (plots > 0.0)
      d.estimates[c] = static_cast<double>(RoundHalfEven(in.estimates.At(t, k, g).classes[c] / plots));
    d.labels[c] = FormatInt(8 * i, 3);
  }
  d.unitText = ClassLabel(k, in.forestDevelopmentTypes, language);
  d.typeText = in.positionNames[At(t)];
  d.colours.fill(SpeciesColour(g, kConiferList));
  // The species colours come back for the charts after this one.
  colours.colours = SpeciesDiagramColours(kConiferList);
  return d;
}

namespace {

// One slot of a comparison: the stratum's area, basal area or stems of all species.
void ComparisonSlot(ResultDiagramData& d, char code, int slot, int t, int k, const EnterpriseViewInput& in) {
  const StratumSample& x = in.estimates.At(t, k, 0);
  const StratumTruth& truth = in.truth.At(t, k, 0);
  const auto s = At(slot);
  switch (code) {
    case 'F':
      d.trueValues[s] = truth.area;
      d.estimates[s] = in.estimates.Unit(t, k).area;
      d.standardErrors[s] = in.estimates.Unit(t, k).areaSE;
      break;
    case 'G':
      d.trueValues[s] = truth.g;
      d.estimates[s] = x.meanG;
      d.standardErrors[s] = x.seG;
      break;
    default:
      d.trueValues[s] = truth.n;
      d.estimates[s] = x.meanN;
      d.standardErrors[s] = x.seN;
      break;
  }
  d.counts[s] = x.plots;
}

// The run's deviations of all species, slot by slot, for the all-simulations view.
void ComparisonDeviations(ResultDiagramData& d, char code, const std::array<std::pair<int, int>, 6>& strata,
                          const EnterpriseViewInput& in, EnterpriseChartColours& state) {
  if (in.histograms == nullptr || (code != 'G' && code != 'Z')) return;
  state.comparisonDeviations = {};
  for (int slot = 0; slot < 6; ++slot) {
    const auto [t, k] = strata[At(slot)];
    const auto& table = code == 'G' ? in.histograms->basalArea[At(t)][At(k)] : in.histograms->stemNumber[At(t)][At(k)];
    state.comparisonDeviations[At(slot)] = table[0];
  }
  d.deviations = &state.comparisonDeviations;
}

}  // namespace

std::optional<ResultDiagramData> EnterpriseClassComparison(char code, int t, int row, const EnterpriseViewInput& in,
                                                           EnterpriseChartColours& colours,
                                                           const LanguageTable& language) {
  if (code != 'F' && code != 'G' && code != 'Z') return std::nullopt;
  if (code != 'Z' && !(in.estimates.At(t, 0, 0).meanG > 0.0)) return std::nullopt;
  ResultDiagramData d = Chart(code);
  if (code == 'F') {
    const int colourRow = row == 6 ? 5 : row;
    for (int slot = 1; slot <= 7; ++slot) colours.colours[At(slot)] = ClassColour(colourRow, slot);
  }
  d.colours = colours.colours;
  std::array<std::pair<int, int>, 6> strata{};
  for (int k = 0; k <= 5; ++k) {
    ComparisonSlot(d, code, k, t, k, in);
    strata[At(k)] = {t, k};
    d.labels[At(k)] = k == 0 ? Translate(language, "alle") : ShortClassLabel(k, in.forestDevelopmentTypes);
  }
  ComparisonDeviations(d, code, strata, in, colours);
  d.unitText = ClassLabel(0, in.forestDevelopmentTypes, language);
  d.typeText = in.positionNames[At(t)];
  return d;
}

std::optional<ResultDiagramData> EnterpriseTypeComparison(char code, int k, int column, const EnterpriseViewInput& in,
                                                          EnterpriseChartColours& colours,
                                                          const LanguageTable& language) {
  if (code != 'F' && code != 'G' && code != 'Z') return std::nullopt;
  if (code != 'Z' && !(in.estimates.At(0, k, 0).meanG > 0.0)) return std::nullopt;
  ResultDiagramData d = Chart(code);
  if (code == 'F') {
    const int colourColumn = column == 6 ? 5 : column;
    for (int slot = 1; slot <= 7; ++slot) colours.colours[At(slot)] = ClassColour(slot, colourColumn);
  }
  d.colours = colours.colours;
  std::array<std::pair<int, int>, 6> strata{};
  for (int b = 0; b <= 5; ++b) {
    ComparisonSlot(d, code, b, b, k, in);
    strata[At(b)] = {b, k};
    if (b == 0)
      d.labels[0] = Translate(language, "alle");
    else if (in.positionHasType[At(b)])
      d.labels[At(b)] = Utf8Left(in.positionNames[At(b)], 4);
  }
  ComparisonDeviations(d, code, strata, in, colours);
  const std::string classLabel = ClassLabel(k, in.forestDevelopmentTypes, language);
  if (code == 'G') {
    d.unitText = in.positionHasType[0] ? in.positionNames[0] : Translate(language, "Alle Bestandestypen");
    d.typeText = classLabel;
  } else {
    d.unitText = classLabel;
    d.typeText = in.positionNames[0];
  }
  return d;
}

std::vector<std::string> StratumTableLines(const EnterpriseReport& report, int row, int column, int t) {
  std::vector<std::string> out;
  const auto& lines = report.lines;
  for (int i = 0; i < kReportHeadLines && i < static_cast<int>(lines.size()); ++i) out.push_back("  " + lines[At(i)]);
  std::vector<int> blocks;
  if (row < 7)
    blocks.push_back(t);
  else
    blocks = {1, 2, 3, 4, 5};
  const bool shortBlocks = row == 7 || column == 7;
  for (const int e : blocks) {
    if (e < 0 || e >= kStrata) continue;
    const int start = report.blockStart[At(e)];
    // Of all types, those the report has a block for.
    if (start < 0 && blocks.size() > 1) continue;
    out.push_back("  ");
    if (start < 0) continue;
    // The block's first line is empty; its name follows.
    const int name = start + 1;
    const int end = std::min(report.blockEnd[At(e)], static_cast<int>(lines.size()));
    int copied = 0;
    for (int i = name; i < end; ++i) {
      out.push_back("  " + lines[At(i)]);
      if (i > name && shortBlocks && ++copied >= 8) break;
    }
  }
  return out;
}

std::string StratumTablePath(const std::string& programFolder) { return ResolveIn(programFolder, "temp/tempG.txt"); }

void DrawUnitChoice(Canvas& canvas, const EnterpriseEstimates& estimates,
                    const std::array<std::array<double, kStrata>, kStrata>& balance, int tag, int width) {
  const int cell = RoundInt(width / 7.0);
  canvas.SetFont("Arial", 10, kBlack);
  for (int i = 1; i <= 7; ++i)
    for (int j = 1; j <= 7; ++j) {
      const int x = (j - 1) * cell, y = (i - 1) * cell;
      canvas.SetPen(kBlack);
      canvas.SetBrush(ClassColour(i, j));
      canvas.Rectangle(x, y, x + cell, y + cell);
      if (i < 7 && j < 7) {
        const std::string text = ChoiceCellText(estimates, balance, tag, i, j);
        canvas.Text(tag == 0 ? x + 4 : x + 2, y + 10, text);
      }
    }
}

UnitCell UnitAt(int x, int y, int width) {
  const int cell = std::max(1, RoundInt(width / 7.0));
  return {std::clamp(y / cell + 1, 1, 7), std::clamp(x / cell + 1, 1, 7)};
}

EnterpriseViewEnd RunEnterpriseViews(const EnterpriseViewInput& in, const EnterpriseReport& report,
                                     ResultGraphState& graph, EnterpriseChartColours& colours,
                                     EnterpriseViewSteps& steps, const LanguageTable& language) {
  if (!steps.Showing()) return EnterpriseViewEnd::NotShowing;
  while (steps.Showing()) {
    int row = 6, column = 6;
    if (!steps.ChooseUnit(row, column)) return EnterpriseViewEnd::Left;
    const int t = row % 6, k = column % 6;
    graph.command = (row == 7 || column == 7) ? 'F' : 'G';
    graph.graphSpecies = 99;
    steps.AreaButton(true);
    for (int view = 0; view < kViewsPerUnit; ++view) {
      if (row == 7 && column == 7) return EnterpriseViewEnd::Ended;
      if (graph.command == 'T') {
        steps.ShowTable(StratumTableLines(report, row, column, t), column);
        graph.command = 'G';
      }
      const char command = graph.command;
      if (row < 7 && column < 7 && in.estimates.At(t, k, 0).plots > 0.0) {
        steps.AreaButton(false);
        if (command == 'G' || command == 'Z' || command == 'D')
          steps.Draw(EnterpriseSpeciesChart(command, t, k, in, colours, language));
        else if (command == 'V')
          steps.Draw(EnterpriseDiameterChart(t, k, graph.graphSpecies, in, colours, language));
      }
      if (column == 7) {
        if (auto d = EnterpriseClassComparison(command, t, row, in, colours, language)) steps.Draw(*d);
      }
      if (row == 7) {
        if (auto d = EnterpriseTypeComparison(command, k, column, in, colours, language)) steps.Draw(*d);
      }
      if (graph.command == 'E') break;
    }
  }
  return EnterpriseViewEnd::Left;
}

}  // namespace tolvek
