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

// Bias and SD of a quantity over the repetitions in its sums.
void QuantityResult(QuantityRunStats& q, double truth) {
  const double mean = q.estimateSum / q.count;
  const double var = q.deviationSquareSum / q.count - (q.deviationSum / q.count) * (q.deviationSum / q.count);
  q.sd = var >= 0.0 ? std::sqrt(var) : 0.0;
  q.bias = 100.0 * mean / truth - 100.0;
}

// One quantity's step: the deviation of this estimate from the truth enters the sums, then bias
// and SD over the repetitions so far. Returns the deviation.
double AddQuantity(QuantityRunStats& q, double estimate, double truth) {
  q.count += 1;
  q.estimateSum += estimate;
  const double dev = 100.0 * estimate / truth - 100.0;
  q.deviationSum += dev;
  q.deviationSquareSum += dev * dev;
  QuantityResult(q, truth);
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

  stats.lastDeviationG = AddQuantity(stats.g, estimate.basalArea, truth.basalArea);

  // N and d stay 0 until some pass found a tree (angle counts in counting mode never give N); then N
  // counts every repetition from the first on, as G does.
  stats.n.bias = stats.n.sd = 0.0;
  stats.d.bias = stats.d.sd = 0.0;
  if (stats.n.estimateSum + estimate.stemNumber > 0.0) {
    stats.n.count = stats.count - 1;
    AddQuantity(stats.n, estimate.stemNumber, truth.stemNumber);
    // A pass that found no tree has no mean diameter (not one of 0, a deviation of -100 %): d is taken
    // over the repetitions that have one.
    if (estimate.stemNumber > 0.0 && estimate.basalArea >= 0.0)
      AddQuantity(stats.d, std::sqrt(estimate.basalArea / estimate.stemNumber) * 100.0, truth.meanDiameter);
    else if (stats.d.count > 0)
      QuantityResult(stats.d, truth.meanDiameter);
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
  const unsigned shownMs = run.repetitionShownMs;
  PumpThrottle throttle(20, &run.pumps);
  for (int r = 1; r <= maxRepetitions; ++r) {
    const std::uint64_t started = services.clock->TickMs();
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
    if (run.graphics) {
      // The rest of the repetition's time on the screen goes to the events, which show it.
      for (std::uint64_t spent = services.clock->TickMs() - started; spent < shownMs;
           spent = services.clock->TickMs() - started) {
        if (run.repetitionStop || run.endRequested || run.singleStep || run.waitAbort) break;
        if (run.pumps.beforePump) run.pumps.beforePump();
        services.pump->Pump(static_cast<unsigned>(shownMs - spent));
        run.pumps.started = true;
        run.pumps.lastMs = services.clock->TickMs();
      }
    }
    if (run.repetitionStop || run.endRequested) return RunEnd::Stopped;
    if (!run.enterpriseMode && (run.singleStep || run.waitAbort)) {
      WaitMs(kSingleStepWaitMs, run, services);
      if (run.repetitionStop || run.endRequested) return RunEnd::Stopped;
    }
  }
  return RunEnd::Completed;
}

}  // namespace tolvek
