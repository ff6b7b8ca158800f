#include "common/wait.h"

#include <gtest/gtest.h>

#include "common/format.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

using testing::FakeServices;
using testing::ProgramTerminated;

TEST(WaitMs, AbortFlagAlreadySetPumpsOnceAndClearsIt) {
  FakeServices fs;
  RunControl run;
  run.waitAbort = true;
  WaitMs(9000, run, fs.services);
  EXPECT_EQ(fs.pump.pumps, 1);
  EXPECT_FALSE(run.waitAbort);
}

TEST(WaitMs, ZeroMillisecondsStillHandlesEventsOnce) {
  FakeServices fs;
  RunControl run;
  WaitMs(0, run, fs.services);
  EXPECT_EQ(fs.pump.pumps, 1);
}

TEST(WaitMs, WaitsBeyondTheTimeWithoutSpinning) {
  FakeServices fs;
  RunControl run;
  const auto start = fs.clock.now;
  WaitMs(100, run, fs.services);
  EXPECT_GT(fs.clock.now - start, 100u);
  EXPECT_LE(fs.pump.pumps, 10);  // slices of about 20 ms, not one pump per millisecond
}

TEST(WaitMs, AButtonPressedDuringTheWaitEndsIt) {
  FakeServices fs;
  RunControl run;
  fs.pump.onPump = [&](int n) {
    if (n == 2) run.waitAbort = true;  // "aus" clicked while the loop waits
  };
  WaitMs(9000, run, fs.services);
  EXPECT_EQ(fs.pump.pumps, 2);
  EXPECT_FALSE(run.waitAbort);
}

TEST(PumpThrottle, PumpsAtMostOncePerInterval) {
  FakeServices fs;
  PumpThrottle throttle(20);
  EXPECT_TRUE(throttle.Tick(fs.services));  // the first call always answers
  EXPECT_FALSE(throttle.Tick(fs.services));
  fs.clock.now += 10;
  EXPECT_FALSE(throttle.Tick(fs.services));
  fs.clock.now += 15;
  EXPECT_TRUE(throttle.Tick(fs.services));
  EXPECT_EQ(fs.pump.pumps, 2);
}

// Loops on one schedule (a run and the pass of each repetition) pump together at most once per
// interval: a new loop does not pump at its start when another just did.
TEST(PumpThrottle, LoopsOnOneSchedulePumpTogether) {
  FakeServices fs;
  PumpSchedule schedule;
  PumpThrottle run(20, &schedule);
  EXPECT_TRUE(run.Tick(fs.services));
  for (int repetition = 0; repetition < 5; ++repetition) {
    PumpThrottle pass(20, &schedule);
    EXPECT_FALSE(pass.Tick(fs.services)) << repetition;
    EXPECT_FALSE(run.Tick(fs.services)) << repetition;
    fs.clock.now += 3;
  }
  fs.clock.now += 5;
  PumpThrottle pass(20, &schedule);
  EXPECT_TRUE(pass.Tick(fs.services));  // 20 ms since the run pumped
  EXPECT_FALSE(run.Tick(fs.services));
  EXPECT_EQ(fs.pump.pumps, 2);
}

TEST(FatalError, TextIsCutToEightyCharacters) {
  EXPECT_EQ(FatalErrorText("Gitterfeld"), "Gitterfeld Fehler: Bitte OXV informieren und Fehlermeldung mitteilen");
  const std::string seventy(70, 'x');
  EXPECT_EQ(FatalErrorText(seventy), seventy + " Fehler: B");
  const std::string hundred(100, 'y');
  EXPECT_EQ(FatalErrorText(hundred), std::string(80, 'y'));
  // Characters, not bytes: an umlaut counts once.
  const std::string umlauts(60, 'a');
  EXPECT_EQ(Utf8Length(FatalErrorText("ä" + umlauts)), 80u);
}

TEST(FatalError, ShowsThePlatformBoxAndEnds) {
  FakeServices fs;
  EXPECT_THROW(FatalError(fs.services, "Gitterfeld"), ProgramTerminated);
  ASSERT_EQ(fs.messages.shown.size(), 1u);
  EXPECT_TRUE(fs.messages.shown[0].platform);
  EXPECT_EQ(fs.messages.shown[0].text.rfind("Gitterfeld Fehler: ", 0), 0u);
}

TEST(FatalError, CodeGoesThroughTheOwnBoxWithInfoIconAndOk) {
  FakeServices fs;
  EXPECT_THROW(FatalErrorCode(fs.services, "1763 Bestand.dat"), ProgramTerminated);
  ASSERT_EQ(fs.messages.shown.size(), 1u);
  EXPECT_FALSE(fs.messages.shown[0].platform);
  EXPECT_EQ(fs.messages.shown[0].text, "Fehler: 1763 Bestand.dat");
  EXPECT_EQ(fs.messages.shown[0].kind, MessageKind::Info);
  EXPECT_EQ(fs.messages.shown[0].buttons, MessageButtons::Ok);
}

}  // namespace
}  // namespace tolvek
