#include "langedit/arrow_repeat.h"

namespace tolvek::langedit {

void ArrowRepeat::Press(std::function<bool()> step) {
  Release();
  if (!step()) return;
  step_ = std::move(step);
  timer_.Start(kIntervalMs, [this] { Tick(); });
}

void ArrowRepeat::Release() {
  if (!step_) return;
  step_ = nullptr;
  timer_.Stop();
}

void ArrowRepeat::Tick() {
  if (step_ && !step_()) Release();
}

}  // namespace tolvek::langedit
