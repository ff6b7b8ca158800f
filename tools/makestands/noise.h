#pragma once
// Deterministic value noise for the stand maker and the picture renderer.
#include <cmath>
#include <cstdint>

namespace tolvek::makestands {

// A value in [0, 1) from three integers.
inline double Hash(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  std::uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return (h & 0xFFFFFF) / 16777216.0;
}

// Smoothly interpolated noise in [0, 1) over the plane, one lattice cell per unit.
inline double SmoothNoise(double x, double y, std::uint32_t seed) {
  const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
  const double fx = x - ix, fy = y - iy;
  const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  auto v = [&](int dx, int dy) {
    return Hash(static_cast<std::uint32_t>(ix + dx), static_cast<std::uint32_t>(iy + dy), seed);
  };
  const double a = v(0, 0) + (v(1, 0) - v(0, 0)) * sx;
  const double b = v(0, 1) + (v(1, 1) - v(0, 1)) * sx;
  return a + (b - a) * sy;
}

}  // namespace tolvek::makestands
