#pragma once
// A stand boundary written out corner by corner (the first corner repeated as the last by the caller).
#include <cstddef>
#include <initializer_list>
#include <utility>

#include "simulator/stand/boundary.h"

namespace tolvek::testing {

inline BoundaryPolygon BoundaryOf(std::initializer_list<std::pair<double, double>> corners) {
  BoundaryPolygon b;
  int i = 0;
  for (auto [x, y] : corners) {
    ++i;
    b.x[static_cast<std::size_t>(i)] = x;
    b.y[static_cast<std::size_t>(i)] = y;
  }
  b.n = i;
  return b;
}

}  // namespace tolvek::testing
