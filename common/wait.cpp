#include "common/wait.h"

#include <cstdlib>

#include "common/format.h"

namespace tolvek {

void TerminateProgram(Services& services, int code) {
  if (services.exit) services.exit->Terminate(code);
  std::abort();
}

void WaitMs(unsigned ms, RunControl& run, Services& services) {
  const std::uint64_t start = services.clock->TickMs();
  for (;;) {
    std::uint64_t elapsed = services.clock->TickMs() - start;
    unsigned slice = 0;
    if (!run.waitAbort && elapsed <= ms) {
      std::uint64_t left = ms - elapsed + 1;
      slice = static_cast<unsigned>(left < 20 ? left : 20);
    }
    if (run.pumps.beforePump) run.pumps.beforePump();
    services.pump->Pump(slice);
    elapsed = services.clock->TickMs() - start;
    if (elapsed > ms || run.waitAbort) break;
  }
  run.waitAbort = false;
}

bool PumpThrottle::Tick(Services& services) {
  std::uint64_t now = services.clock->TickMs();
  PumpSchedule& s = *schedule_;
  if (s.started && now - s.lastMs < interval_) return false;
  s.started = true;
  s.lastMs = now;
  if (s.beforePump) s.beforePump();
  services.pump->Pump(0);
  return true;
}

std::string FatalErrorText(const std::string& text) {
  std::string s = Utf8Left(text + " Fehler: ", 80);
  s += "Bitte OXV informieren und Fehlermeldung mitteilen";
  return Utf8Left(s, 80);
}

void FatalError(Services& services, const std::string& text) {
  if (services.messages)
    services.messages->PlatformBox(FatalErrorText(text), "", PlatformButtons::Yes, PlatformIcon::Information);
  TerminateProgram(services, 1);
}

void FatalErrorCode(Services& services, const std::string& code) {
  if (services.messages) services.messages->ShowMessageBox("Fehler: " + code, MessageKind::Info, MessageButtons::Ok);
  TerminateProgram(services, 1);
}

}  // namespace tolvek
