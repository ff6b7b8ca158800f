#pragma once
#include <cstdint>
#include <vector>

namespace tolvek {

// How far plot centres lie from the stand boundary, by square cells over the boundary: the distance of
// each cell's middle from the nearest boundary edge, so that every centre of the cell lies within half a
// diagonal of it. A circle smaller than that lies clear of the boundary and has weight 1; one larger
// surely reaches the boundary. A cell's distance is taken the first time a centre falls into it; the
// table follows the boundary by itself (a boundary of other points empties it).
struct BoundaryClearance {
  int n = 0;  // the boundary it describes: point count and points, compared bit for bit
  std::vector<double> boundaryX, boundaryY;
  double originX = 0.0, originY = 0.0;
  double cell = 2.0;
  int columns = 0, rows = 0;
  std::vector<double> middleDistance;  // per cell; NaN: not taken yet
  // The edges that can be nearest to some centre of the cell (those within the middle's distance and a
  // diagonal of the middle), taken the first time a centre of the cell needs its exact distance:
  // nearEdges[nearStart[c] ..] up to the next 0; nearStart -1: not taken yet.
  std::vector<std::int32_t> nearStart;
  std::vector<std::uint8_t> nearEdges;
};

}  // namespace tolvek
