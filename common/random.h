#pragma once
#include <cstdint>

namespace tolvek {

// The one random generator of all three programs: seed := seed * 134775813 + 1 (mod 2^32), then
// Random(n) = floor(seed * n / 2^32) and Random() = seed / 2^32. Draw order matters: results are
// reproducible for a given seed.
class RandomGenerator {
 public:
  explicit RandomGenerator(std::uint32_t seed = 0) : seed_(seed) {}
  void SetSeed(std::uint32_t seed) { seed_ = seed; }
  std::uint32_t Seed() const { return seed_; }
  // 0 .. n-1 (0 for n <= 0).
  int Next(int n) {
    Step();
    if (n <= 0) return 0;
    return static_cast<int>((static_cast<std::uint64_t>(seed_) * static_cast<std::uint64_t>(n)) >> 32);
  }
  // [0, 1)
  double NextReal() {
    Step();
    return static_cast<double>(seed_) / 4294967296.0;
  }

 private:
  void Step() { seed_ = seed_ * 134775813u + 1u; }
  std::uint32_t seed_;
};

}  // namespace tolvek
