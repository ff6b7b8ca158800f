#pragma once
// The evaluation of an enterprise pass by strata: each plot's sample trees summed into per-hectare
// values, then per stratum (type position × class) and species the mean basal area and stem number with
// their standard errors, the quadratic mean diameter, the diameter-class counts, each stratum's area
// from its share of the plots with a binomial standard error, and the deviation histograms a run of
// repetitions collects. The report "temp\temp.txt" sets the estimates (S) beside the true values (E).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/language.h"
#include "simulator/enterprise/stratum_values.h"
#include "simulator/sampling/method.h"
#include "simulator/sampling/pass.h"
#include "simulator/views/result_diagram.h"

namespace tolvek {

// Basal area of a sample tree in cm² from its dbh in cm, as the enterprise evaluation takes it.
inline constexpr double kEnterpriseBasalAreaFactor = 0.7854;

// The sample side of one stratum and species.
struct StratumSample {
  double plots = 0.0;  // plots of the stratum with at least one sample tree
  double gSum = 0.0, g2Sum = 0.0;
  double nSum = 0.0, n2Sum = 0.0;
  double dSum = 0.0, d2Sum = 0.0, dCount = 0.0;  // over the plots whose N of the species is above 0
  std::array<std::int32_t, kStratumClasses> classes{};  // stems, diameter classes 1..10
  // The estimates.
  double meanG = 0.0, seG = 0.0;
  double meanN = 0.0, seN = 0.0;
  double dg = 0.0, seD = 0.0;
};

// One stratum (all species): its empty plots and its estimated area.
struct StratumUnit {
  std::int32_t emptyPlots = 0;
  double area = 0.0;    // ha
  double areaSE = 0.0;  // ha
};

struct EnterpriseEstimates {
  StratumArray<StratumSample> cells{};
  std::array<std::array<StratumUnit, kStrata>, kStrata> units{};
  int plotCount = 0;       // plots of the pass, empty ones included
  int skippedTrees = 0;    // sample trees without a plot area (not booked)
  double areaBase = 0.0;   // ha: the stands that have a model stand
  // The whole enterprise as a run of repetitions compares it (all strata, all species): the plot means,
  // or the ratio estimates of the n-tree variants 7 and 8.
  double runBasalArea = 0.0;
  double runStemNumber = 0.0;

  StratumSample& At(int t, int k, int s) {
    return cells[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)][static_cast<std::size_t>(s)];
  }
  const StratumSample& At(int t, int k, int s) const {
    return cells[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)][static_cast<std::size_t>(s)];
  }
  const StratumUnit& Unit(int t, int k) const { return units[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)]; }
  StratumUnit& Unit(int t, int k) { return units[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)]; }
  // Plots of the stratum with and without trees.
  double AllPlots(int t, int k) const { return At(t, k, 0).plots + Unit(t, k).emptyPlots; }
};

// The deviations of the plot means from the true values over a run's repetitions, per stratum and
// species, in classes of the diagrams' widths (bins -15..15). Cleared when a run starts.
struct EnterpriseHistograms {
  std::array<std::array<DiagramDeviationTable, kStrata>, kStrata> basalArea{};
  std::array<std::array<DiagramDeviationTable, kStrata>, kStrata> stemNumber{};
  void Clear() { *this = EnterpriseHistograms{}; }
};

struct EnterpriseEvaluationInput {
  const MethodChoice& method;   // n, variant, counting factor and mode
  MethodCode passMethod;        // the method the pass ran with
  const PlotList& plots;
  const StratumValues& truth;   // finished (per hectare)
  double basalAreaWidth = 0.25;  // histogram class widths
  double stemNumberWidth = 5.0;
};

// Why an evaluation was abandoned: a plot outside the strata (type position and class of the plot).
struct EnterpriseEvaluationProblem {
  bool failed = false;
  int plot = 0;  // 1-based
  int typePosition = 0, cls = 0;
};

// The whole evaluation of a pass. The histograms accumulate; the estimates start afresh. The area base is
// the area of the stands that have a model stand (the true area of all strata).
EnterpriseEstimates EvaluateEnterprise(const EnterpriseEvaluationInput& input, EnterpriseHistograms& histograms,
                                       EnterpriseEvaluationProblem* problem = nullptr);

// The message of an abandoned evaluation ("16/259 BT, AK" with the two values).
std::string EnterpriseProblemText(const EnterpriseEvaluationProblem& problem);

// ---- the report "temp\temp.txt"
struct EnterpriseReportInput {
  // The main window's captions: LblBestand, LblFlaeche, LblBaeume, LbBestGroesse, LblVerfahren, LblRadius,
  // LblGitterAnf, LblBaumZahl.
  std::array<std::string, 8> captions;
  std::string date, time;
  int plotsOfPass = 0;
  std::string modelStandCaption;
  double calliperThreshold = 7.0;
  MethodCode passMethod = kMethodNone;
  double firstConcentricDbhLimit = 0.0;
  bool forestDevelopmentTypes = false;
  // The names of type positions 0..5 (0 all types; "" for a position without a type).
  std::array<std::string, kStrata> positionNames;
  const EnterpriseEstimates& estimates;
  const StratumValues& truth;
};
// The report's lines and where each type position's block begins (index into the lines; -1 none).
struct EnterpriseReport {
  std::vector<std::string> lines;
  std::array<int, kStrata> blockStart{-1, -1, -1, -1, -1, -1};
  std::array<int, kStrata> blockEnd{-1, -1, -1, -1, -1, -1};  // one past the block's last line
};
inline constexpr int kReportHeadLines = 11;
EnterpriseReport EnterpriseReportLines(const EnterpriseReportInput& input, const LanguageTable& language);
std::string EnterpriseReportPath(const std::string& programFolder);

// ---- the choice of the evaluation unit (TForm27): 7 × 7 cells, rows 1..5 the chosen types, row 6 all
// types, row 7 the comparison of types; columns likewise for the classes.
// The number written into cell (i, j), i and j below 7: the plots (tag 0) or the area balance (else).
std::string ChoiceCellText(const EnterpriseEstimates& estimates, const std::array<std::array<double, kStrata>, kStrata>& balance,
                           int tag, int row, int column);

}  // namespace tolvek
