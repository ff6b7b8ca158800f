#pragma once
// One pass of the generator: parameters in, a list of trees out. Trees are laid on a jittered
// triangular lattice (or at random), thinned in an elliptic canopy gap, given species row by row (the
// second row also in up to two circular groups) and diameters, felled, and cleared of close neighbours.
// Every random number comes from the one generator, in a fixed order: the same parameters and seed give
// the same stand, byte for byte.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/random.h"
#include "common/tree_file.h"
#include "generator/parameters.h"

namespace tolvek::generator {

// Positions of trees that are not in the stand.
inline constexpr double kRemovedPosition = -1.0;  // felled or removed as a close neighbour
inline constexpr double kGapPosition = -10.0;     // removed in the canopy gap

struct GeneratedTree {
  int number = 0;          // 1 … n in creation order
  int species = 0;         // 0 until a row assigns it
  double dbh = 0.0;        // cm, 0 until drawn
  double x = kRemovedPosition;
  double y = kRemovedPosition;
  int layer = 1;           // 0 for the first row of a species, 1 for the second, 2 for the third …
  int row = 0;             // species row 1 … 5; 0 until assigned
};

// The stand one pass made: what the result window shows and what a save step writes.
struct GeneratedStand {
  GenerationLevel level = GenerationLevel::kEnterprise;
  double width = 0.0;   // W, m (x from 0 to W)
  double height = 0.0;  // H, m (y from 0 to H)
  GenerationParameters parameters;  // as generated from (validated)
  int pass = 0;                     // 1 … 5: which of the five gap centres was used
  std::vector<GeneratedTree> trees;  // creation order; removed trees stay with negative positions

  double Area() const { return width * height; }  // m²
  bool Standing(const GeneratedTree& t) const { return t.x > 0.0 && t.x <= width && t.y > 0.0 && t.y <= height; }
  // The boundary: (0, 0), (0, H), (W, H), (W, 0), (0, 0).
  std::vector<std::pair<double, double>> Boundary() const;
  // The trees a tree file holds: dbh ≥ 0 and standing, in list order.
  std::vector<TreeFileRecord> TreeFileRecords() const;
};

// (sum of 12 uniform numbers − 6) × cv / 100.
double NormalDeviate(RandomGenerator& random, double cv);

struct GenerationResult {
  std::optional<GeneratedStand> stand;
  Outcome outcome;                     // why the parameters give no stand (German message); ok when there is one
  int gapRemovals = 0;                 // for the curious (tests, benchmark)
  int felled = 0;
  int closeRemovals = 0;
};

int RemoveCloseTrees(std::vector<GeneratedTree>& trees);
using CloseTreeRemoval = int (*)(std::vector<GeneratedTree>& trees);

// One pass. passCounter was counted up by the caller; it becomes ((passCounter − 1) mod 5) + 1, the
// gap centre used. The parameters must have passed ValidateAll. A refused pass draws no random number
// and leaves passCounter alone. removeClose is the last step (the benchmark compares the two).
GenerationResult GenerateStand(const GenerationParameters& p, GenerationLevel level, int& passCounter,
                               RandomGenerator& random, CloseTreeRemoval removeClose = RemoveCloseTrees);

// Removes (x = y = −1) every tree with x > 0 that lies closer than √0.5 m to an earlier tree with x > 0
// that was itself kept: the later tree of a close pair goes. Returns how many went. Cell hash, linear.
// The same by comparing every pair, for the checks of the fast one.
int RemoveCloseTreesPairwise(std::vector<GeneratedTree>& trees);

// Counts over standing trees.
int CountTrees(const GeneratedStand& s, int species);  // of a species code (0 = not assigned)
int CountRowTrees(const GeneratedStand& s, int row);
// Σ dbh² × 0.785398163397448279 (cm²) over standing trees of the row (0 = all rows) with dbh ≥ 7 cm.
double RowBasalAreaCm2(const GeneratedStand& s, int row);
int CountStandingTrees(const GeneratedStand& s);  // standing trees with dbh ≥ 0

}  // namespace tolvek::generator
