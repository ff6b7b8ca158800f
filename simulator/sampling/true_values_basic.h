#pragma once
// The true values of the loaded stand as the evaluation compares its estimates with them: tree
// counts and basal-area sums by species from the full tree list; and the design values of the chosen
// method (expected sample trees per plot, variance of the plot estimate).
#include <array>
#include <cstdint>

#include "simulator/stand/tree_list.h"

namespace tolvek {

// Basal area of one tree in m² from its dbh in cm, as the true values take it.
inline constexpr double kTrueBasalAreaFactor = 7.853981635e-5;
// 4 / π of the quadratic mean diameter √(4/π · G / N).
inline constexpr double kFourOverPi = 1.2732395445689121476;

// What a single plot of the chosen method gives on the stand, worked out from every tree's selection
// area (the "E-Wert der Varianz").
struct DesignValues {
  std::int32_t N = 0;   // trees with a positive limiting radius
  double G = 0.0;       // their basal area, m²
  double sumG2 = 0.0;   // Σ g²
  double En = 0.0;      // expected sample trees per plot (Σ of the area shares)
  double V = 0.0;       // variance of a single plot's estimate of the stand's basal area, m⁴
  double Vcov = 0.0;    // the same in its covariance form
  double sdPerHa = 0.0; // √V / stand ha
  // Clips that failed; the tree or pair then took the share of its whole circle or lens.
  int clipFailures = 0;
};

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
