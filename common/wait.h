#pragma once
#include <cstdint>
#include <string>

#include "common/platform.h"
#include "common/run_control.h"

namespace tolvek {

// Waits ms milliseconds while handling window events, ended early by the wait-abort flag, which it
// clears. Events are handled at least once, also for 0 ms. Sleeps between events: no busy spinning.
void WaitMs(unsigned ms, RunControl& run, Services& services);

// Handles pending events from inside a long loop, at most about every intervalMs, so buttons
// answer without the loop paying for a pump on every step.
class PumpThrottle {
 public:
  // schedule: when events were last handled, shared with other loops (null: a schedule of its own).
  explicit PumpThrottle(unsigned intervalMs = 20, PumpSchedule* schedule = nullptr)
      : interval_(intervalMs), schedule_(schedule ? schedule : &own_) {}
  PumpThrottle(const PumpThrottle&) = delete;
  PumpThrottle& operator=(const PumpThrottle&) = delete;
  // True when it pumped.
  bool Tick(Services& services);

 private:
  unsigned interval_;
  PumpSchedule own_;
  PumpSchedule* schedule_;
};

// Shows text + " Fehler: " (cut to 80 characters with the request to inform the maker) in the platform's
// information box with a single Yes button, then ends the program.
[[noreturn]] void FatalError(Services& services, const std::string& text);
// The text FatalError shows (exposed for tests).
std::string FatalErrorText(const std::string& text);
// Shows "Fehler: " + code in the own message box (information icon, OK), then ends the program.
[[noreturn]] void FatalErrorCode(Services& services, const std::string& code);

}  // namespace tolvek
