#pragma once
// The trees of the loaded stand and the sums formed while they are read.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/random.h"
#include "common/species.h"
#include "common/tree_file.h"

namespace tolvek {

// One tree of the loaded stand. Reading sets species, dbh, x, y; the other fields belong to the
// passes and the true values. Basal area, edge weight, selection area and plot area/share are kept
// apart so that the true-value computation never leaves behind something a pass reads as a weight.
struct TreeRecord {
  std::int32_t number = 0;        // running number 1..N, set by the true-value routines
  SpeciesCode species = 0;
  std::uint8_t species2 = 0;      // second species byte copied by sample trees; 0 after reading
  // Beside the species, so that a sample tree's record takes all three with one read.
  std::uint8_t weightDone = 0;    // 1 once a tree-centred weight has been computed
  std::uint8_t weightFailed = 0;  // 1 when that computation failed (cached with weightDone)
  double dbh = 0.0;               // cm
  double x = 0.0;                 // m
  double y = 0.0;                 // m
  double edgeWeight = 0.0;        // edge weight during a pass
  double basalArea = 0.0;         // m², true values
  double selectionArea = 0.0;     // m², area of the tree's selection circle (true values)
  double plotArea = 0.0;          // m², plot area of the selection during a pass
  double plotShare = 0.0;         // area share (true values)
  std::uint8_t layer = 0;         // layer marker of the n-tree sample
  std::uint8_t selectionAtBoundary = 0;  // 1 when the tree's selection circle reaches the boundary (true values)
};

// File order; rebuilt whole by every read of a stand.
using TreeList = std::vector<TreeRecord>;

inline constexpr int kDiameterClasses = 15;
inline constexpr int kHistogramClasses = 40;

struct SpeciesSums {
  std::array<double, 11> basalArea{};        // m²; slot 0 all trees, slot s species s
  std::array<std::int32_t, 11> count{};
  std::array<double, 11> dbhSum{};           // cm
  std::array<std::array<std::int32_t, kDiameterClasses>, 10> classCounts{};  // [species][DiameterClass]
  // Slot 0 trees, 1..40 2-cm classes. 32 bits: the generator's densest stands hold more trees than 16 bits count.
  std::array<std::uint32_t, kHistogramClasses + 1> histogram{};
};

// The calliper limits: trees below the lower or above the upper dbh are not part of the stand.
struct CalliperLimits {
  double lower = 7.0;   // cm, changed by the calliper-threshold choice
  double upper = 999.0;
};

// The lower limits the threshold choice offers, in cm.
inline constexpr std::array<int, 15> kCalliperThresholds = {0, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                                                            20, 25, 30, 35, 40};

// Stand 71 keeps at most this many trees (its tree file holds more than the program shows).
inline constexpr int kStand71TreeCap = 1121;

// What the tree read needs to know about the stand beyond its records.
struct TreeReadRules {
  int standNumber = 0;        // the integer stand number (cap for 71)
  std::string numberText;     // the two-character number text (shift for "88")
  CalliperLimits calliper;
};

// Builds the list and the sums from decoded records in file order: a record is kept when x > 0 and
// lower <= dbh <= upper; y is taken as |y|; stand "88" is moved by +30 m in x and +20 m in y. One
// random draw per kept tree spreads the histogram over neighbouring 2-cm classes.
void BuildTreeList(const std::vector<TreeFileRecord>& records, const TreeReadRules& rules,
                   RandomGenerator& random, TreeList& trees, SpeciesSums& sums);

}  // namespace tolvek
