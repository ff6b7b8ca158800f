#include "simulator/sampling/repetitions.h"

#include <cmath>

#include "common/format.h"
#include "common/rounding.h"
#include "common/wait.h"
#include "simulator/translate.h"

namespace tolvek {

RunTrueValues MakeRunTrueValues(double basalAreaPerHa, double stemsPerHa) {
  RunTrueValues t;
  t.basalArea = basalAreaPerHa;
  t.stemNumber = stemsPerHa;
  if (stemsPerHa > 0.0 && basalAreaPerHa >= 0.0) t.meanDiameter = std::sqrt(basalAreaPerHa / stemsPerHa) * 100.0;
  return t;
}

void StartRunStatistics(RunStatistics& stats) { stats = RunStatistics{}; }

int DeviationClass(double deviationPercent) {
  if (!(deviationPercent > -kDeviationClassLimit)) return -kDeviationClassLimit;  // also catches NaN
  if (deviationPercent >= kDeviationClassLimit) return kDeviationClassLimit;
  int c = RoundInt(deviationPercent);
  if (c < -kDeviationClassLimit) c = -kDeviationClassLimit;
  if (c > kDeviationClassLimit) c = kDeviationClassLimit;
  return c;
}

namespace {

// One quantity's step: the deviation of this estimate from the truth enters the sums, then bias
// and SD over the repetitions so far. Returns the deviation.
double AddQuantity(QuantityRunStats& q, double estimate, double truth, int count) {
  q.estimateSum += estimate;
  const double mean = q.estimateSum / count;
  const double dev = 100.0 * estimate / truth - 100.0;
  q.deviationSum += dev;
  q.deviationSquareSum += dev * dev;
  const double var = q.deviationSquareSum / count - (q.deviationSum / count) * (q.deviationSum / count);
  q.sd = var >= 0.0 ? std::sqrt(var) : 0.0;
  q.bias = 100.0 * mean / truth - 100.0;
  return dev;
}

}  // namespace

bool AddRepetition(RunStatistics& stats, const RunTrueValues& truth, const RepetitionEstimate& estimate) {
  if (estimate.plots <= 0) return false;
  if (!(truth.basalArea > 0.0) || !(truth.stemNumber > 0.0)) return false;
  if (!std::isfinite(estimate.basalArea) || !std::isfinite(estimate.stemNumber)) return false;

  stats.count += 1;
  stats.plotSum += estimate.plots;
  stats.sampleTreeSum += estimate.sampleTrees;
  stats.estimateG = estimate.basalArea;
  stats.estimateN = estimate.stemNumber;

  stats.lastDeviationG = AddQuantity(stats.g, estimate.basalArea, truth.basalArea, stats.count);

  // N and d are recomputed from nothing at every repetition; they stay 0 until some pass found a
  // tree (angle counts in counting mode never give N).
  stats.n.bias = stats.n.sd = 0.0;
  stats.d.bias = stats.d.sd = 0.0;
  if (stats.n.estimateSum + estimate.stemNumber > 0.0) {
    AddQuantity(stats.n, estimate.stemNumber, truth.stemNumber, stats.count);
    // A pass that found no tree has no mean diameter; it counts as 0 rather than as a division by 0.
    double dHat = 0.0;
    if (estimate.stemNumber > 0.0 && estimate.basalArea >= 0.0)
      dHat = std::sqrt(estimate.basalArea / estimate.stemNumber) * 100.0;
    AddQuantity(stats.d, dHat, truth.meanDiameter, stats.count);
  }

  stats.histogram[DeviationClass(stats.lastDeviationG) + kDeviationClassLimit] += 1;
  return true;
}

RunCounterTexts MakeRunCounterTexts(const RunStatistics& stats, const LanguageTable& language) {
  RunCounterTexts t;
  t.count = FormatInt(stats.count, 4);
  const double n = stats.count > 0 ? static_cast<double>(stats.count) : 1.0;
  t.meanPlots = Translate(language, "Stichproben i.M.") + FormatFixed(9, 0, stats.plotSum / n);
  t.meanSampleTrees = Translate(language, "Probebäume i.M.") + FormatFixed(6, 0, stats.sampleTreeSum / n);
  return t;
}

RunEnd RunRepetitions(RunStatistics& stats, RunControl& run, Services& services, RepetitionSteps& steps,
                      int maxRepetitions) {
  PumpThrottle throttle(20, &run.pumps);
  for (int r = 1; r <= maxRepetitions; ++r) {
    RepetitionEstimate estimate;
    const bool evaluated = steps.Evaluate(r, estimate);
    if (r == 1 && !run.enterpriseMode) steps.AfterFirstEvaluation();
    if (evaluated) {
      stats.statisticsReady = false;
      if (AddRepetition(stats, steps.TrueValues(), estimate)) {
        steps.ShowCounters(stats);
        stats.statisticsReady = true;
        steps.ShowStatistics(stats);
      }
    }
    steps.ShiftGridAndPass();
    throttle.Tick(services);
    if (run.repetitionStop || run.endRequested) return RunEnd::Stopped;
    if (!run.enterpriseMode && (run.singleStep || run.waitAbort)) {
      WaitMs(kSingleStepWaitMs, run, services);
      if (run.repetitionStop || run.endRequested) return RunEnd::Stopped;
    }
  }
  return RunEnd::Completed;
}

}  // namespace tolvek
