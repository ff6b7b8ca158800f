#include "simulator/sampling/repetitions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/support/fakes.h"

namespace tolvek {
namespace {

RepetitionEstimate Estimate(double g, double n, int plots = 10, double trees = 40) {
  RepetitionEstimate e;
  e.plots = plots;
  e.sampleTrees = trees;
  e.basalArea = g;
  e.stemNumber = n;
  return e;
}

const RunTrueValues kTruth = MakeRunTrueValues(30.0, 400.0);

TEST(RunStatistics, DeviationClassesRoundHalfToEvenAndClamp) {
  EXPECT_EQ(DeviationClass(25.5), 25);
  EXPECT_EQ(DeviationClass(26.0), 25);
  EXPECT_EQ(DeviationClass(-0.5), 0);
  EXPECT_EQ(DeviationClass(1.5), 2);
  EXPECT_EQ(DeviationClass(2.5), 2);
  EXPECT_EQ(DeviationClass(-24.6), -25);
  EXPECT_EQ(DeviationClass(-300.0), -25);
  EXPECT_EQ(DeviationClass(std::nan("")), -25);
}

TEST(RunStatistics, EstimatesEqualToTheTruthGiveNoBiasNoSpread) {
  RunStatistics s;
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(AddRepetition(s, kTruth, Estimate(30.0, 400.0)));
  EXPECT_EQ(s.count, 5);
  EXPECT_NEAR(s.g.bias, 0.0, 1e-12);
  EXPECT_NEAR(s.g.sd, 0.0, 1e-12);
  EXPECT_NEAR(s.n.sd, 0.0, 1e-12);
  EXPECT_NEAR(s.d.bias, 0.0, 1e-12);
  EXPECT_EQ(s.HistogramCount(0), 5);
}

TEST(RunStatistics, PlusAndMinusTenPercentGiveBiasZeroAndSdTen) {
  RunStatistics s;
  AddRepetition(s, kTruth, Estimate(33.0, 440.0));
  AddRepetition(s, kTruth, Estimate(27.0, 360.0));
  EXPECT_NEAR(s.g.bias, 0.0, 1e-9);
  EXPECT_NEAR(s.g.sd, 10.0, 1e-9);
  EXPECT_NEAR(s.n.bias, 0.0, 1e-9);
  EXPECT_NEAR(s.n.sd, 10.0, 1e-9);
  EXPECT_EQ(s.HistogramCount(10), 1);
  EXPECT_EQ(s.HistogramCount(-10), 1);
  // d = √(G/N)·100 is the same in both: no deviation
  EXPECT_NEAR(s.d.sd, 0.0, 1e-9);
}

TEST(RunStatistics, APassWithoutPlotsIsNotCountedAsAnEstimateOfZero) {
  RunStatistics s;
  AddRepetition(s, kTruth, Estimate(30.0, 400.0));
  EXPECT_FALSE(AddRepetition(s, kTruth, Estimate(0.0, 0.0, 0, 0)));
  EXPECT_EQ(s.count, 1);
  EXPECT_NEAR(s.g.bias, 0.0, 1e-12);
  EXPECT_EQ(s.plotSum, 10.0);
  // nor is anything counted against a stand without trees
  EXPECT_FALSE(AddRepetition(s, MakeRunTrueValues(0.0, 0.0), Estimate(30.0, 400.0)));
}

TEST(RunStatistics, StemNumberAndDiameterStayZeroUntilATreeWasFound) {
  RunStatistics s;
  // angle count in counting mode: G but never N
  AddRepetition(s, kTruth, Estimate(33.0, 0.0));
  AddRepetition(s, kTruth, Estimate(27.0, 0.0));
  EXPECT_NEAR(s.g.sd, 10.0, 1e-9);
  EXPECT_EQ(s.n.bias, 0.0);
  EXPECT_EQ(s.n.sd, 0.0);
  EXPECT_EQ(s.d.bias, 0.0);
  // a later pass that finds no tree while earlier ones did: no division by zero for d
  AddRepetition(s, kTruth, Estimate(30.0, 400.0));
  AddRepetition(s, kTruth, Estimate(0.0, 0.0, 5));
  EXPECT_TRUE(std::isfinite(s.d.bias));
  EXPECT_TRUE(std::isfinite(s.d.sd));
}

TEST(RunStatistics, ARepetitionWithoutTreesHasNoMeanDiameter) {
  // Stem-number estimate 0: no mean diameter (not one of 0, a deviation of -100 %). The repetition
  // counts, and so do its G and N; the d statistics are those of the other repetitions.
  RunStatistics with, without;
  const RepetitionEstimate plus = Estimate(36.0, 400.0), minus = Estimate(24.0, 400.0), none = Estimate(0.0, 0.0, 8, 8);
  for (const RepetitionEstimate& e : {plus, minus}) AddRepetition(without, kTruth, e);
  for (const RepetitionEstimate& e : {plus, none, minus}) ASSERT_TRUE(AddRepetition(with, kTruth, e));
  EXPECT_EQ(with.count, 3);
  EXPECT_EQ(with.d.count, 2);
  EXPECT_DOUBLE_EQ(with.d.bias, without.d.bias);
  EXPECT_DOUBLE_EQ(with.d.sd, without.d.sd);
  EXPECT_DOUBLE_EQ(with.d.deviationSum, without.d.deviationSum);
  // G and N take the empty repetition in: -100 % each, and its histogram class.
  EXPECT_NEAR(with.g.bias, -100.0 / 3.0, 1e-9);
  EXPECT_NEAR(with.n.bias, -100.0 / 3.0, 1e-9);
  EXPECT_EQ(with.n.count, 3);
  EXPECT_EQ(with.HistogramCount(-25), 1);
  // Shown after the empty repetition as well: the d results stay those of the repetitions before it.
  RunStatistics last;
  AddRepetition(last, kTruth, plus);
  AddRepetition(last, kTruth, minus);
  AddRepetition(last, kTruth, none);
  EXPECT_DOUBLE_EQ(last.d.bias, without.d.bias);
  EXPECT_DOUBLE_EQ(last.d.sd, without.d.sd);
  EXPECT_GT(last.d.sd, 0.0);
}

TEST(RunStatistics, CounterTexts) {
  RunStatistics s;
  AddRepetition(s, kTruth, Estimate(30.0, 400.0, 10, 41));
  AddRepetition(s, kTruth, Estimate(30.0, 400.0, 11, 44));
  LanguageTable lang;
  RunCounterTexts t = MakeRunCounterTexts(s, lang);
  EXPECT_EQ(t.count, "   2");
  EXPECT_EQ(t.meanPlots, "Stichproben i.M.       10");  // 10.5 → 10
  EXPECT_EQ(t.meanSampleTrees, "Probebäume i.M.    42");
}

// The run as the window drives it: scripted estimates, and the pump standing in for button clicks.
class ScriptedSteps : public RepetitionSteps {
 public:
  std::vector<RepetitionEstimate> script;
  int evaluations = 0, shifts = 0, questions = 0, shown = 0;
  testing::FakeClock* clock = nullptr;  // a pass takes its time
  bool Evaluate(int repetition, RepetitionEstimate& e) override {
    ++evaluations;
    e = script[static_cast<std::size_t>((repetition - 1) % static_cast<int>(script.size()))];
    return true;
  }
  void AfterFirstEvaluation() override { ++questions; }
  RunTrueValues TrueValues() override { return kTruth; }
  void ShowCounters(const RunStatistics&) override {}
  void ShowStatistics(const RunStatistics&) override { ++shown; }
  void ShiftGridAndPass() override {
    ++shifts;
    if (clock) clock->now += 30;
  }
};

TEST(RepetitionLoop, RunsToTheLimitAsksTheWeightingOnceAndShiftsAfterEveryRepetition) {
  testing::FakeServices fake;
  RunControl run;
  RunStatistics s;
  ScriptedSteps steps;
  steps.script = {Estimate(33.0, 440.0), Estimate(27.0, 360.0)};
  EXPECT_EQ(RunRepetitions(s, run, fake.services, steps, 40), RunEnd::Completed);
  EXPECT_EQ(s.count, 40);
  EXPECT_EQ(steps.questions, 1);
  EXPECT_EQ(steps.shifts, 40);
  EXPECT_TRUE(s.statisticsReady);
  EXPECT_NEAR(s.g.sd, 10.0, 1e-9);
  EXPECT_EQ(s.HistogramCount(10), 20);
}

TEST(RepetitionLoop, StopPressedDuringARepetitionEndsTheRunAfterIt) {
  testing::FakeServices fake;
  RunControl run;
  RunStatistics s;
  ScriptedSteps steps;
  steps.script = {Estimate(30.0, 400.0)};
  steps.clock = &fake.clock;
  // "Neues Verfahren / Druck" is clicked while the third repetition lets events through
  fake.pump.onPump = [&](int) {
    if (steps.evaluations == 3) run.repetitionStop = true;
  };
  EXPECT_EQ(RunRepetitions(s, run, fake.services, steps), RunEnd::Stopped);
  EXPECT_EQ(s.count, 3);
  EXPECT_EQ(steps.shifts, 3);
}

TEST(RepetitionLoop, SingleStepsWaitAndAusEndsTheWaitAtOnce) {
  testing::FakeServices fake;
  RunControl run;
  run.singleStep = true;
  RunStatistics s;
  ScriptedSteps steps;
  steps.script = {Estimate(30.0, 400.0)};
  const std::uint64_t start = fake.clock.now;
  // "aus" during the first wait: single steps off and the wait ends
  fake.pump.onPump = [&](int) {
    if (fake.clock.now - start > 1000 && run.singleStep) {
      run.singleStep = false;
      run.waitAbort = true;
    }
  };
  EXPECT_EQ(RunRepetitions(s, run, fake.services, steps, 5), RunEnd::Completed);
  EXPECT_EQ(s.count, 5);
  // one wait cut short after about a second; the other repetitions ran without waiting
  EXPECT_LT(fake.clock.now - start, 2000u);
  EXPECT_FALSE(run.waitAbort);
}

TEST(RepetitionLoop, WithTheGraphicsOnEveryRepetitionIsShownForAFewMilliseconds) {
  // Repetitions that take no time of their own: with the graphics on a run of 200 takes a second on the
  // clock, handling events all the while; with the graphics off it goes at once. The statistics are the same.
  const RunControl run0;
  RunStatistics paced, fast;
  std::uint64_t pacedMs = 0, fastMs = 0;
  int pacedPumps = 0, fastPumps = 0;
  for (bool graphics : {true, false}) {
    testing::FakeServices fake;
    RunControl run;
    run.graphics = graphics;
    ScriptedSteps steps;
    steps.script = {Estimate(33.0, 440.0), Estimate(27.0, 360.0), Estimate(31.0, 380.0)};
    const std::uint64_t start = fake.clock.now;
    EXPECT_EQ(RunRepetitions(graphics ? paced : fast, run, fake.services, steps, 200), RunEnd::Completed);
    (graphics ? pacedMs : fastMs) = fake.clock.now - start;
    (graphics ? pacedPumps : fastPumps) = fake.pump.pumps;
  }
  EXPECT_GE(pacedMs, 200u * run0.repetitionShownMs);
  EXPECT_LE(pacedMs, 200u * (run0.repetitionShownMs + 1));
  EXPECT_GE(pacedPumps, 200);
  EXPECT_LT(fastMs, 20u);
  EXPECT_LE(fastPumps, 2);
  EXPECT_EQ(paced.count, fast.count);
  EXPECT_EQ(paced.g.bias, fast.g.bias);
  EXPECT_EQ(paced.d.sd, fast.d.sd);
  EXPECT_EQ(paced.histogram, fast.histogram);
}

TEST(RepetitionLoop, SingleStepsTakeEffectAfterTheRepetitionTheyWerePressedIn) {
  // "Einzelschritte" pressed while the 30th repetition is shown: the wait comes right after it.
  testing::FakeServices fake;
  RunControl run;
  RunStatistics s;
  ScriptedSteps steps;
  steps.script = {Estimate(30.0, 400.0)};
  int pressedIn = 0, waitingAfter = 0;
  fake.pump.onPump = [&](int) {
    if (steps.evaluations == 30 && pressedIn == 0) {
      pressedIn = 30;
      run.singleStep = true;
    } else if (run.singleStep && waitingAfter == 0) {
      // The events handled next are those of the single-step wait: the run is stopped there.
      waitingAfter = steps.evaluations;
      run.repetitionStop = true;
    }
  };
  EXPECT_EQ(RunRepetitions(s, run, fake.services, steps), RunEnd::Stopped);
  EXPECT_EQ(pressedIn, 30);
  EXPECT_EQ(waitingAfter, 30);
  EXPECT_EQ(s.count, 30);
}

TEST(RepetitionLoop, EndRequestedStopsTheRun) {
  testing::FakeServices fake;
  RunControl run;
  RunStatistics s;
  ScriptedSteps steps;
  steps.script = {Estimate(30.0, 400.0)};
  fake.pump.onPump = [&](int) { run.endRequested = true; };
  EXPECT_EQ(RunRepetitions(s, run, fake.services, steps), RunEnd::Stopped);
  EXPECT_EQ(s.count, 1);
}

}  // namespace
}  // namespace tolvek
