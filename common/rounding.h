#pragma once
#include <cmath>
#include <cstdint>

namespace tolvek {

// Every real-to-whole-number conversion of the programs goes through here: a half goes to the even
// neighbour (the default rounding mode of nearbyint), so 0.5 -> 0, 1.5 -> 2, 2.5 -> 2.
//
// NearbyInt gives std::nearbyint's value in that mode without a call into the maths library (the
// processors the programs are built for have no rounding instruction of their own, and a run rounds
// millions of map coordinates): below 2^52 the sum with 2^52 has whole numbers as its only
// neighbours, so the addition rounds half to even, and the subtraction is exact. From 2^52 on every
// double is whole; NaN and the infinities pass through; the sign comes back for -0.4 -> -0.
inline double NearbyInt(double x) {
  constexpr double kWhole = 4503599627370496.0;  // 2^52
  const double a = std::fabs(x);
  if (!(a < kWhole)) return x;
  return std::copysign((a + kWhole) - kWhole, x);
}
inline long long RoundHalfEven(double x) { return static_cast<long long>(NearbyInt(x)); }
inline int RoundInt(double x) { return static_cast<int>(NearbyInt(x)); }

// Pixel positions of drawings: RoundInt within ±kPixelLimit, saturated beyond it. A point far outside
// every picture stays far outside it, and the margins and image heights added to its position never
// overflow; NaN, which no drawing should be given, lands at 0.
inline constexpr int kPixelLimit = 1 << 24;
inline int RoundPixel(double x) {
  if (x >= kPixelLimit) return kPixelLimit;
  if (x <= -kPixelLimit) return -kPixelLimit;
  if (x != x) return 0;
  return RoundInt(x);
}

}  // namespace tolvek
