#pragma once
// A repeat timer the test drives: Fire() is one tick, as when 150 ms have passed.
#include <functional>

#include "langedit/arrow_repeat.h"

namespace tolvek::testing {

class FakeRepeatTimer : public langedit::RepeatTimer {
 public:
  unsigned interval = 0;
  bool running = false;
  int starts = 0;
  void Start(unsigned intervalMs, std::function<void()> tick) override {
    interval = intervalMs;
    tick_ = std::move(tick);
    running = true;
    ++starts;
  }
  void Stop() override { running = false; }
  // One tick if the timer runs; false when it did not.
  bool Fire() {
    if (!running) return false;
    std::function<void()> t = tick_;  // the tick may stop the timer
    t();
    return true;
  }

 private:
  std::function<void()> tick_;
};

}  // namespace tolvek::testing
