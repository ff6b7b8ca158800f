#include "simulator/sampling/true_values_basic.h"

#include <cmath>

namespace tolvek {

double TrueStandValues::StemsPerHa(int s) const {
  if (s < 0 || s > 10 || !(areaHa > 0.0)) return 0.0;
  return treeCount[static_cast<std::size_t>(s)] / areaHa;
}

double TrueStandValues::BasalAreaPerHa(int s) const {
  if (s < 0 || s > 10 || !(areaHa > 0.0)) return 0.0;
  return basalArea[static_cast<std::size_t>(s)] / areaHa;
}

double TrueStandValues::QuadraticMeanDiameter(int s) const {
  if (s < 0 || s > 10 || treeCount[static_cast<std::size_t>(s)] <= 0) return 0.0;
  const double q = kFourOverPi * basalArea[static_cast<std::size_t>(s)] / treeCount[static_cast<std::size_t>(s)];
  return q > 0.0 ? std::sqrt(q) * 100.0 : 0.0;
}

TrueStandValues ComputeTrueStandValues(const TreeList& trees, double areaHa) {
  TrueStandValues v;
  v.areaHa = areaHa;
  for (const TreeRecord& t : trees) {
    const double g = t.dbh * t.dbh * kTrueBasalAreaFactor;
    v.treeCount[0] += 1;
    v.basalArea[0] += g;
    if (t.species >= 1 && t.species <= 10) {
      v.treeCount[t.species] += 1;
      v.basalArea[t.species] += g;
    }
  }
  return v;
}

}  // namespace tolvek
