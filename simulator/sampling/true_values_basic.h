#pragma once
// The true values of the loaded stand as the evaluation compares its estimates with them: tree
// counts and basal-area sums by species from the full tree list. The design values of the chosen
// method (expected sample trees per plot, variance of the plot estimate) extend this struct.
#include <array>
#include <cstdint>

#include "simulator/stand/tree_list.h"

namespace tolvek {

// Basal area of one tree in m² from its dbh in cm, as the true values take it.
inline constexpr double kTrueBasalAreaFactor = 7.853981635e-5;
// 4 / π of the quadratic mean diameter √(4/π · G / N).
inline constexpr double kFourOverPi = 1.2732395445689121476;

struct TrueStandValues {
  std::array<std::int32_t, 11> treeCount{};  // slot 0 all species, slot s species s
  std::array<double, 11> basalArea{};        // m²
  double areaHa = 0.0;

  // Per hectare; 0 for a stand without area.
  double StemsPerHa(int species) const;
  double BasalAreaPerHa(int species) const;
  // √(4/π · G / N) · 100 in cm; 0 without trees.
  double QuadraticMeanDiameter(int species) const;
};

// Counts and sums over the whole tree list; species codes above 9 are counted with the whole stand only.
TrueStandValues ComputeTrueStandValues(const TreeList& trees, double areaHa);

}  // namespace tolvek
