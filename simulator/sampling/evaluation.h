#pragma once
// The evaluation of one inventory pass in stand mode: per-hectare estimates by species (stem number,
// basal area, mean diameter) from the plots of the pass, their sampling errors between plots, the
// deviation histograms over repetitions, the cost relation and the sample-tree table.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/language.h"
#include "common/problem.h"
#include "common/species.h"
#include "simulator/sampling/method.h"
#include "simulator/sampling/pass.h"
#include "simulator/sampling/repetitions.h"
#include "simulator/sampling/true_values_basic.h"

namespace tolvek {

// Basal area of a sample tree in cm² from its dbh in cm, as the estimates take it.
inline constexpr double kEstimateBasalAreaFactor = 0.785398;
// An edge weight this close to 1 books the tree unweighted.
inline constexpr double kUnweightedTolerance = 0.0001;
// Species slots: 0 the whole stand, 1..9 the species; 11 slots as the sums of the stand keep them.
inline constexpr int kSpeciesSlots = 11;
inline constexpr int kEstimateDiameterClasses = 15;
// Deviation histograms of the estimates: bins -15..+15, widths set at start-up.
inline constexpr int kDeviationBinLimit = 15;
inline constexpr int kDeviationBins = 2 * kDeviationBinLimit + 1;
inline constexpr double kBasalAreaClassWidth = 0.25;  // m²/ha
inline constexpr double kStemNumberClassWidth = 5.0;  // trees/ha
// The rule line of the sample-tree table.
inline constexpr int kRuleLineLength = 76;
// The n-tree sample's standing-area table: a in m² and b per m² of basal area, species 1..9.
struct StandingArea {
  double a, b;
};
extern const StandingArea kStandingArea[10];

using SpeciesValues = std::array<double, kSpeciesSlots>;

// Standard deviation, coefficient of variation (%), mean, standard error and relative standard error (%)
// between plots, by species.
struct ErrorSeries {
  SpeciesValues sd{}, vc{}, mean{}, se{}, sePercent{};
};

// The three sums of the n-tree variant 8 (a ratio of sums over the whole pass):
//   Ĝ = weighted basal area / plot area  (cm² per m² = m²/ha)
//   N̂ = weights / plot area × 10000      (trees/ha)
struct VariantEightSums {
  double weightSum = 0.0;          // sum 1: Σ w over the sample trees
  double plotAreaSum = 0.0;        // sum 2: Σ of the corrected plot areas, m², one per plot
  double weightedBasalArea = 0.0;  // sum 3: Σ g·w, cm²
  // Zero when no plot area was summed.
  double BasalAreaPerHa() const { return plotAreaSum > 0.0 ? weightedBasalArea / plotAreaSum : 0.0; }
  double StemsPerHa() const { return plotAreaSum > 0.0 ? weightSum / plotAreaSum * 10000.0 : 0.0; }
};

// The result of one evaluation.
struct SampleEstimate {
  int plotCount = 0;
  MethodCode method = kMethodNone;
  SpeciesValues meanG{}, meanN{};       // plot means (n-tree variant 7: the ratio estimate)
  SpeciesValues gPerHa{}, nPerHa{};     // the published estimates the report, diagrams and runs read
  SpeciesValues sampleTrees{};          // sample-tree count by species
  SpeciesValues sampleBasalArea{};      // basal area of the sample trees, cm²
  std::array<std::int32_t, 30> treeCounter{};  // trees booked by species (slots 0..9 used)
  SpeciesValues dbhSum{}, dbhSquareSum{};
  std::int32_t sampleTreeTotal = 0;     // "Probebäume:": the rounded count of all species
  std::array<std::array<double, kEstimateDiameterClasses>, 10> stemsByClass{};  // N/ha by DiameterClass
  ErrorSeries basalArea;                // of the plots' G
  ErrorSeries meanDiameter;             // of the plots' quadratic mean diameter (ratio form)
  SpeciesValues stemNumberError{};      // standard error of the plots' mean N
  int emptyPlots = 0;
  double nTreeQ = 0.0;                  // variant 7: Σ of the first tree's weight / plot area
  VariantEightSums variant8;
  std::uint16_t costRelation = 0;       // per cent, 0 = none
  std::string costText;
  TrueStandValues truth;                // the copies the evaluation compared with

  // The estimates of all species a run of repetitions compares: variant 8 its sums, others the
  // published estimates.
  double RunBasalArea(const MethodChoice& m) const;
  double RunStemNumber(const MethodChoice& m) const;
};

// Deviation of the estimate from the true value by species, counted over the evaluations of a run.
struct DeviationHistograms {
  double basalAreaWidth = kBasalAreaClassWidth;
  double stemNumberWidth = kStemNumberClassWidth;
  std::array<std::array<std::uint16_t, kDeviationBins>, 10> basalArea{};  // [species][bin + 15]
  std::array<std::array<std::uint16_t, kDeviationBins>, 10> stemNumber{};
  void Clear() {
    for (auto& r : basalArea) r.fill(0);
    for (auto& r : stemNumber) r.fill(0);
  }
};

// The bin of a deviation: nearest whole multiple of the width (halves to even), clamped to -15..15.
int DeviationBin(double deviation, double width);

// Corrected plot area of an n-tree plot (m²) from the plot's sample trees of one layer and the area A
// the pass stored; n and the variant come from the method.
double NTreePlotArea(int layer, std::span<const SampleTreeRecord> plotTrees, double area, int n, int variant);

// What an evaluation works on.
struct EvaluationInput {
  const MethodChoice& method;  // n, variant, counting factor and mode, circle area
  MethodCode passMethod;       // the method the pass ran with
  const PlotList& plots;
  const TrueStandValues& truth;
  int gridSpacing = 0;         // dx, for the cost relation
  bool enterpriseMode = false; // no cost relation then
};

// One evaluation. The deviation histograms accumulate; everything else of the estimate starts afresh.
void EvaluateSample(const EvaluationInput& input, const LanguageTable& language, SampleEstimate& estimate,
                    DeviationHistograms& histograms);

// ---- the sample-tree table "Temp\ProbeBa.txt" ----
// The main window's captions the table opens with: LblBestand, LblFlaeche, LblBaeume, LbBestGroesse,
// LblVerfahren, LblRadius, then LblGitterAnf, LblAnzStp, LblBaumZahl.
struct SampleTableHeader {
  std::array<std::string, 6> standLines;
  std::array<std::string, 3> gridLines;
};
std::vector<std::string> SampleTreeTableLines(const SampleEstimate& estimate, const PlotList& plots,
                                              MethodCode passMethod, SpeciesListSelector speciesList,
                                              const SampleTableHeader& header, const LanguageTable& language);
std::string SampleTreeTablePath(const std::string& programFolder);
// Writes the lines atomically (CRLF line ends).
Outcome WriteSampleTreeTable(const std::string& programFolder, const std::vector<std::string>& lines);

// ---- program-wide state of the evaluation ----
struct EvaluationState {
  SampleEstimate estimate;
  DeviationHistograms histograms;
  RunStatistics run;
  bool evaluated = false;             // an estimate of the current pass exists
  // The table of the last evaluation; written when the user is to look at it.
  std::vector<std::string> sampleTreeTable;
};

}  // namespace tolvek
