#pragma once
// The cost of the sample against a full callipering of the stand, from a working-time model: the
// measuring time per plot by method and stem density, the walking time between the sample points and
// the hourly rates of the crews. Only some methods and parameters have a model.
#include <cstdint>
#include <optional>
#include <string>

#include "common/language.h"
#include "simulator/sampling/method.h"

namespace tolvek {

// Seconds per plot at stem density x (trees/ha): a0 + a1·x for 94 ≤ x < 670, a2 + a3·x for 670 ≤ x ≤ 984.
struct CostTimeRow {
  double a0, a1, a2, a3;
};
inline constexpr int kCostTimeRows = 7;
extern const CostTimeRow kCostTimeModel[kCostTimeRows + 1];  // rows 1..7, row 0 unused

// Hourly rates: the sample crew costs A + B per hour, the full-callipering crew 2·A + B.
inline constexpr double kCostRateA = 50.0;
inline constexpr double kCostRateB = 80.0;
// The stem densities the model covers.
inline constexpr double kCostDensityLow = 94.0;
inline constexpr double kCostDensitySwitch = 670.0;
inline constexpr double kCostDensityHigh = 984.0;

// The model row of a method, none when the method has no model.
std::optional<int> CostModelRow(const MethodChoice& method);

// Hours of walking between the sample points of a grid with spacing dx over the area (ha).
double WalkingHours(double dx, double areaHa);
// Cost of a full callipering of the area at stem density x.
double FullCallipering(double areaHa, double stemsPerHa);

// The relation in whole per cent (a half to the even neighbour); 0 when no relation can be computed
// (no model row, density outside the model, a zero area or spacing).
std::uint16_t CostRelation(const MethodChoice& method, int plotCount, double dx, double areaHa, int standTrees);

// The report line for a relation (translated; "#" stays as it is).
std::string CostRelationText(std::uint16_t relation, const MethodChoice& method, const LanguageTable& language);

}  // namespace tolvek
