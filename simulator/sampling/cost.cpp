#include "simulator/sampling/cost.h"

#include <cmath>

#include "common/format.h"
#include "common/rounding.h"
#include "simulator/translate.h"

namespace tolvek {

const CostTimeRow kCostTimeModel[kCostTimeRows + 1] = {
    {0.0, 0.0, 0.0, 0.0},
    {191.813, -0.094, 146.07, -0.026},   // n-tree sample, n = 6
    {51.24, 0.455, -497.5, 1.274},       // fixed circles of 500 m²
    {253.122, -0.023, 408.102, -0.225},  // angle count, factor 2, normal mode
    {166.017, -0.075, 184.28, -0.102},   // angle count, factor 4, normal mode
    {127.184, 0.009, 79.556, 0.08},      // angle count, factor 2, counting mode
    {107.917, -0.042, 37.325, 0.064},    // angle count, factor 4, counting mode
    {59.941, 0.054, 66.127, 0.045},      // concentric circles "AV"
};

std::optional<int> CostModelRow(const MethodChoice& method) {
  switch (method.code) {
    case kMethodNTree:
      if (method.treeNumber == 6) return 1;
      return std::nullopt;
    case kMethodFixedCircle:
      if (std::fabs(method.circleArea - 500.0) < 10.0) return 2;
      return std::nullopt;
    case kMethodAngleCount: {
      int row = 0;
      if (method.countingFactor == 4) row = 4;
      else if (method.countingFactor == 2) row = 3;
      else return std::nullopt;
      if (method.countingMode == 0) row += 2;
      return row;
    }
    case kMethodConcentric:
      if (method.regionCode == "AV") return 7;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

double WalkingHours(double dx, double areaHa) {
  if (!(dx > 0.0)) return 0.0;
  return (0.996 * dx + 4.4855) * (areaHa * 10000.0 / (dx * dx)) / 3600.0;
}

double FullCallipering(double areaHa, double x) {
  double h = 0.0;
  if (x >= kCostDensityLow && x < kCostDensitySwitch) h = (3.55 * x + 502.267) / 3600.0;
  else if (x >= kCostDensitySwitch && x <= kCostDensityHigh) h = (5.825 * x - 1021.643) / 3600.0;
  return (2.0 * kCostRateA + kCostRateB) * areaHa * h;
}

std::uint16_t CostRelation(const MethodChoice& method, int plotCount, double dx, double areaHa, int standTrees) {
  const auto row = CostModelRow(method);
  if (!row || !(areaHa > 0.0) || !(dx > 0.0)) return 0;
  const CostTimeRow& a = kCostTimeModel[*row];
  const double x = standTrees / areaHa;
  double measuring = 0.0;
  if (x >= kCostDensityLow && x < kCostDensitySwitch) measuring = plotCount * (a.a0 + a.a1 * x) / 3600.0;
  else if (x >= kCostDensitySwitch && x <= kCostDensityHigh) measuring = plotCount * (a.a2 + a.a3 * x) / 3600.0;
  if (measuring <= 0.0) return 0;
  const double walking = WalkingHours(dx, areaHa);
  const double full = FullCallipering(areaHa, x);
  if (!(full > 0.0)) return 0;
  const double percent = (kCostRateA + kCostRateB) * (measuring + walking) / full * 100.0;
  // The relation is kept in 16 bits; a relation beyond that is no relation the report can show.
  if (!(percent < 65535.5)) return 0;
  return static_cast<std::uint16_t>(RoundInt(percent));
}

std::string CostRelationText(std::uint16_t relation, const MethodChoice& method, const LanguageTable& language) {
  const std::string relationLine =
      Translate(language, "Kostenrelation zur Vollkluppung:") + FormatFixed(5, 0, relation) + " %";
  const std::string noRelation = Translate(language, "Für diesen Bestand kann keine # Kostenrelation berechnet werden.");
  if (method.code == kMethodFixedCircle) {
    const bool fiveHundred = method.circleArea > 495.0 && method.circleArea < 505.0;
    if (relation != 0 && fiveHundred) return relationLine;
    if (!fiveHundred) return Translate(language, "Kostenrelationen können nur für # 500 qm Probekreise ermittelt werden.");
    return noRelation;
  }
  return relation != 0 ? relationLine : noRelation;
}

}  // namespace tolvek
