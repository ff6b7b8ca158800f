#pragma once
#include <cmath>
#include <cstdint>

namespace tolvek {

// Every real-to-whole-number conversion of the programs goes through here: a half goes to the even
// neighbour (the default rounding mode of nearbyint), so 0.5 -> 0, 1.5 -> 2, 2.5 -> 2.
inline long long RoundHalfEven(double x) { return static_cast<long long>(std::nearbyint(x)); }
inline int RoundInt(double x) { return static_cast<int>(std::nearbyint(x)); }

}  // namespace tolvek
