#pragma once
// A program without windows for the benchmarks: time from the steady clock, no events, every question
// answered, the core's program-ending failures ending the benchmark with status 2.
#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/platform.h"

namespace tolvek::bench {

class HeadlessPlatform : public Clock, public EventPump, public MessageService, public ProgramExit {
 public:
  // echoMessages: messages go to stderr (a run that shows one has met bad data).
  explicit HeadlessPlatform(bool echoMessages = false) : echo_(echoMessages) {
    services.clock = this;
    services.pump = this;
    services.messages = this;
    services.exit = this;
  }
  std::uint64_t TickMs() override {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
  }
  std::uint32_t SeedFromTime() override { return 1; }
  void Pump(unsigned) override {}
  int ShowMessageBox(const std::string& text, int, int) override {
    Echo(text);
    return kResultOk;
  }
  int AskYesNoAt(const std::string&, int, int, int) override { return kResultNo; }
  int PlatformBox(const std::string& text, const std::string&, PlatformButtons, PlatformIcon) override {
    Echo(text);
    return kResultYes;
  }
  void Quit(int) override {}
  void Terminate(int code) override {
    std::fprintf(stderr, "the core ended the program (code %d)\n", code);
    std::exit(2);
  }
  Services services;

 private:
  void Echo(const std::string& text) const {
    if (echo_) std::fprintf(stderr, "message: %s\n", text.c_str());
  }
  bool echo_;
};

inline double PeakMemoryMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB on Linux
}

}  // namespace tolvek::bench
