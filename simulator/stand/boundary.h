#pragma once
// The loaded stand's boundary: a closed polygon in metres, shifted to a minimum of 0 in x and y and
// oriented so that its area is positive (clockwise in the x-right, y-up frame).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/boundary_file.h"
#include "simulator/stand/stand_files.h"

namespace tolvek {

inline constexpr int kBoundaryCapacity = 60;

struct BoundaryPolygon {
  int n = 0;                                     // points 1..n, point n repeats point 1
  std::array<double, kBoundaryCapacity + 1> x{}; // slot 0 is not a point
  std::array<double, kBoundaryCapacity + 1> y{};
  // Extents of the points as read, before the shift (only max - min is used later).
  double minX = 990000.0, maxX = -99000.0;
  double minY = 990000.0, maxY = -99000.0;
  double signedArea = 0.0;  // m², before any reversal
  double areaHa = 0.0;      // stand area, polygon area * 1e-4
};

// The model-stand register side of the boundary and of the species-list choice: the register
// engineer's table implements it. Stands of "StandsEU", "StandsWW" and "StandsGE" take their corners
// from the current model stand's register line.
class StandRegisterCorners {
 public:
  virtual ~StandRegisterCorners() = default;
  // The five corner pairs of the current model stand; false when no model stand is current.
  virtual bool CurrentCorners(std::array<double, 5>& x, std::array<double, 5>& y) const = 0;
  // The model-stand list: item texts (code + " > " + short name) with their two class bytes.
  virtual int EntryCount() const = 0;
  virtual std::string EntryText(int index) const = 0;  // index 1..EntryCount()
  virtual std::uint8_t EntryStandType(int index) const = 0;
  virtual std::uint8_t EntryAgeClass(int index) const = 0;
};

enum class BoundarySource { File, RegisterEU, RegisterWW, RegisterGE };
// By the boundary path: "Grenze00" or a register folder take the register corners.
BoundarySource BoundarySourceFor(std::string_view boundaryPath);

// Signed trapezoid area of points 1..n (positive for clockwise order); the caller makes sure the
// polygon is closed.
double BoundarySignedArea(const BoundaryPolygon& b);
// Reverses a boundary whose area is negative; records the signed area found first.
void OrientBoundary(BoundaryPolygon& b);
// Fills the polygon from points as read: extents, shift to a minimum of 0, orientation, area.
void SetBoundaryPoints(const std::vector<BoundaryPoint>& points, BoundaryPolygon& b);

// The checks and the filling that every boundary passes, from a file or from the register: a usable
// ring within the coordinate ranges, shifted and oriented, whose area is a finite positive number that
// does not vanish against its extents. Otherwise the problem (naming path), and b untouched.
Outcome BoundaryFromPoints(const std::vector<BoundaryPoint>& points, const std::string& path, BoundaryPolygon& b);

// Reads the boundary for a stand whose boundary path is given. The problem when the boundary is
// missing, damaged, too long, not closed or encloses no area; b is then left untouched.
Outcome ReadBoundary(std::string_view boundaryPath, const StandRegisterCorners* standRegister, BoundaryPolygon& b);

}  // namespace tolvek
