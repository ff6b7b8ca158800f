#pragma once

namespace tolvek {

// The π of every area formula of the simulator (plot circles, tree circles, standing areas, the edge
// correction): ten digits, the value its stored results and printed tables were worked out with. Plane
// geometry that wants the true π takes std::numbers::pi.
inline constexpr double kCirclePi = 3.141592654;

}  // namespace tolvek
