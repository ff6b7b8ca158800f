#pragma once
// Runs of repeated inventories: after "Simulation wiederholen" every "Auswertung" evaluates the
// current pass, compares the estimates of basal area (G), stem number (N) and mean diameter (d) per
// hectare with the true values, keeps the running bias and standard deviation of the per-cent
// deviations and a histogram of the basal-area deviations, shifts the grid at random and runs the
// next pass, up to 2000 times.
#include <array>
#include <string>

#include "common/language.h"
#include "common/platform.h"
#include "common/run_control.h"

namespace tolvek {

inline constexpr int kMaxRepetitions = 2000;
// Histogram classes of the basal-area deviation: -25 .. +25 per cent, one per whole per cent.
inline constexpr int kDeviationClassLimit = 25;
inline constexpr int kDeviationClasses = 2 * kDeviationClassLimit + 1;
// Pixels per count of the histogram at the start of a run (screen, printed page).
inline constexpr double kStartScreenScale = 3.0;
inline constexpr double kStartPrintScale = 9.0;
// The single-step pause per repetition.
inline constexpr unsigned kSingleStepWaitMs = 9000;

// Running sums and results of one quantity (G, N or d).
struct QuantityRunStats {
  double estimateSum = 0.0;
  double deviationSum = 0.0;        // sum of the per-cent deviations
  double deviationSquareSum = 0.0;  // sum of their squares
  double bias = 0.0;                // per cent
  double sd = 0.0;                  // per cent
  int count = 0;  // repetitions in the sums: all counted ones for G and N, those with a mean diameter for d
};

// The state of a run; it starts afresh with every "Auswertung".
struct RunStatistics {
  int count = 0;  // repetitions that gave an estimate
  QuantityRunStats g, n, d;
  double estimateG = 0.0;  // this repetition's G/ha and N/ha of all species
  double estimateN = 0.0;
  double lastDeviationG = 0.0;
  std::array<int, kDeviationClasses> histogram{};  // index 0 = class -25
  double plotSum = 0.0;        // plots over the counted repetitions
  double sampleTreeSum = 0.0;  // sample-tree entries over the counted repetitions
  double screenScale = kStartScreenScale;
  double printScale = kStartPrintScale;
  bool statisticsReady = false;

  int HistogramCount(int deviationClass) const { return histogram[deviationClass + kDeviationClassLimit]; }
};

// The true values a run compares with, all species together.
struct RunTrueValues {
  double basalArea = 0.0;   // G, m²/ha
  double stemNumber = 0.0;  // N, trees/ha
  double meanDiameter = 0.0;  // d = sqrt(G / N) * 100
};
// d from G and N as the run compares it (0 when N is 0).
RunTrueValues MakeRunTrueValues(double basalAreaPerHa, double stemsPerHa);

// What one repetition's evaluation hands to the run.
struct RepetitionEstimate {
  int plots = 0;             // plots of the evaluated pass
  double sampleTrees = 0.0;  // sample-tree entries of the pass
  double basalArea = 0.0;    // Ĝ, m²/ha
  double stemNumber = 0.0;   // N̂, trees/ha
};

// Clears sums, histogram and scales for a new "Auswertung".
void StartRunStatistics(RunStatistics& stats);

// The histogram class of a per-cent deviation: the nearest whole number (halves to the even
// neighbour), clamped to -25 .. +25.
int DeviationClass(double deviationPercent);

// Adds one repetition's estimates. A pass without plots gives no estimate: it is not counted (an
// estimate of 0 would pull the bias towards -100 %), and false comes back. So does a stand whose
// true basal area or stem number is 0, against which no per-cent deviation exists. A repetition whose
// stem-number estimate is 0 has no mean diameter: it counts for G and N, and adds nothing to d.
bool AddRepetition(RunStatistics& stats, const RunTrueValues& truth, const RepetitionEstimate& estimate);

// Texts of the run counters on the main window.
struct RunCounterTexts {
  std::string count;        // Label18
  std::string meanPlots;    // LbAnzStpQ
  std::string meanSampleTrees;  // LbBaumZahlQ
};
RunCounterTexts MakeRunCounterTexts(const RunStatistics& stats, const LanguageTable& language);

// The work of one repetition that lies outside the run's arithmetic: the windows and the rest of
// the simulator supply it. The stand route and the enterprise route differ only here.
class RepetitionSteps {
 public:
  virtual ~RepetitionSteps() = default;
  // Evaluates the current pass. False when the evaluation failed: the repetition is abandoned.
  virtual bool Evaluate(int repetition, RepetitionEstimate& estimate) = 0;
  // After the first evaluation of a run (stand mode): the weighting question.
  virtual void AfterFirstEvaluation() = 0;
  // The true values to compare with.
  virtual RunTrueValues TrueValues() = 0;
  // After the counters changed.
  virtual void ShowCounters(const RunStatistics& stats) = 0;
  // After the statistics of a repetition are complete (histogram and results).
  virtual void ShowStatistics(const RunStatistics& stats) = 0;
  // Moves the grid origin at random within one cell of the base origin and runs the next pass.
  virtual void ShiftGridAndPass() = 0;
};

// How a run ended.
enum class RunEnd { Completed, Stopped };

// The loop of up to 2000 repetitions. It lets events through between repetitions so that the run
// controls answer; "Neues Verfahren / Druck" (stop flag) and "Ende" end it after the current
// repetition; single steps (or a pending wait abort) pause 9000 ms per repetition. With the graphics on
// a repetition takes at least run.repetitionShownMs (the time left goes to handling events); the pacing
// changes no result.
RunEnd RunRepetitions(RunStatistics& stats, RunControl& run, Services& services, RepetitionSteps& steps,
                      int maxRepetitions = kMaxRepetitions);

}  // namespace tolvek
