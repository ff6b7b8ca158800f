#pragma once
// Random draws a test decides: reals and whole numbers handed out in order; when a list runs out, a
// constant (by default 0.5 and n / 2, the middle of every range).
#include <deque>

#include "simulator/enterprise/enterprise_model.h"

namespace tolvek::testing {

class ScriptedDraws : public RandomDraws {
 public:
  std::deque<double> reals;
  std::deque<int> wholes;
  double constantReal = 0.5;
  int realsDrawn = 0, wholesDrawn = 0;

  int Next(int n) override {
    ++wholesDrawn;
    if (wholes.empty()) return n / 2;
    const int v = wholes.front();
    wholes.pop_front();
    return v;
  }
  double NextReal() override {
    ++realsDrawn;
    if (reals.empty()) return constantReal;
    const double v = reals.front();
    reals.pop_front();
    return v;
  }
};

}  // namespace tolvek::testing
