// The boundary file: parsing, the shift, orientation and area checks every boundary passes, and the grid
// the first "Gitter" lays over what was read.
#include <cmath>

#include "common/boundary_file.h"
#include "simulator/sampling/grid.h"
#include "simulator/stand/boundary.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<BoundaryPoint> points;
  if (!ParseBoundaryText(fuzz::Bytes(data, size), points).ok()) return 0;
  fuzz::Check(points.size() >= 4 && points.size() <= static_cast<std::size_t>(kMaxBoundaryPoints),
              "a ring of three corners and the closing point, at most 59 points");

  BoundaryPolygon b;
  if (const Outcome made = BoundaryFromPoints(points, "Grenze01.txt", b); !made.ok()) {
    const Problem& problem = made.problem();
    fuzz::Check(!problem.message.empty() && problem.where.rfind("Grenze01.txt", 0) == 0, "a refusal names the file");
    return 0;
  }
  fuzz::Check(b.n == static_cast<int>(points.size()), "every point is kept");
  double minX = b.x[1], minY = b.y[1];
  for (int i = 1; i <= b.n; ++i) {
    fuzz::Check(b.x[i] >= 0.0 && b.y[i] >= 0.0, "shifted to a minimum of 0");
    fuzz::Check(b.x[i] <= kMaxBoundaryExtent && b.y[i] <= kMaxBoundaryExtent, "no wider than the extent allowed");
    minX = std::min(minX, b.x[i]);
    minY = std::min(minY, b.y[i]);
  }
  fuzz::Check(minX == 0.0 && minY == 0.0, "the minimum is 0 exactly");
  fuzz::Check(std::isfinite(b.areaHa) && b.areaHa > 0.0, "the area is a positive number");
  fuzz::Check(BoundarySignedArea(b) > 0.0, "the ring runs clockwise");

  SampleGrid grid;
  if (const Outcome laid = NewGrid(grid, &b, nullptr, GridContext{}); laid.ok()) {
    fuzz::Check(grid.pointCount <= kMaxGridPoints && grid.insideCount <= grid.pointCount, "the grid fits its array");
  } else {
    fuzz::Check(!laid.problem().message.empty(), "a refused grid says why");
  }
  return 0;
}
