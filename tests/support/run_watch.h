#pragma once
// Lets a test watch a run of repetitions in the main window with lambdas, for as long as it lives.
#include <functional>
#include <utility>

#include "simulator/forms/form1.h"

namespace tolvek::testing {

class RunWatch : public TForm1::RunWatcher {
 public:
  explicit RunWatch(TForm1& window) : window_(window) { window_.runWatcher = this; }
  ~RunWatch() override { window_.runWatcher = nullptr; }
  RunWatch(const RunWatch&) = delete;
  RunWatch& operator=(const RunWatch&) = delete;

  std::function<void()> gridShifted;

  void GridShifted() override {
    if (gridShifted) gridShifted();
  }

 private:
  TForm1& window_;
};

}  // namespace tolvek::testing
