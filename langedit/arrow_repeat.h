#pragma once
// The repeat of the editor's arrow buttons: one step when the button goes down, then one every 150 ms
// while it is held, until it is let go or the rows end. The timer is the platform's; tests drive a fake.
#include <functional>

namespace tolvek::langedit {

class RepeatTimer {
 public:
  virtual ~RepeatTimer() = default;
  // Calls tick every intervalMs until Stop; a new Start replaces the running one.
  virtual void Start(unsigned intervalMs, std::function<void()> tick) = 0;
  virtual void Stop() = 0;
};

class ArrowRepeat {
 public:
  static constexpr unsigned kIntervalMs = 150;
  explicit ArrowRepeat(RepeatTimer& timer) : timer_(timer) {}
  // The button went down: step once at once, then on every tick while held. step returns false when
  // there is no row further in its direction, which ends the repeat.
  void Press(std::function<bool()> step);
  // The button (the left mouse button) was let go.
  void Release();
  bool Held() const { return static_cast<bool>(step_); }

 private:
  void Tick();
  RepeatTimer& timer_;
  std::function<bool()> step_;
};

}  // namespace tolvek::langedit
