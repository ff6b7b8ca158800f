#pragma once
// The true values of the enterprise by stratum: a stratum is a type position and a class (each 1..5,
// with 0 for "all"), split further by species (0 all, 1..9). The stand polygons carry no trees of their
// own: each borrows the trees of its model stand, scaled from the model stand's area to its own. The
// sums can be kept in "Temp\SP_Gitter.txt" beside a saved grid, with a key line that says which
// enterprise, structure and registers they were made from, and read back instead of being made again.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/problem.h"
#include "simulator/enterprise/enterprise_model.h"
#include "simulator/stand/tree_list.h"

namespace tolvek {

inline constexpr int kStrata = 6;           // type positions and classes 0..5
inline constexpr int kStratumSpecies = 10;  // 0 all species, 1..9
inline constexpr int kStratumClasses = 10;  // diameter classes 1..10 at 0..9
inline constexpr int kTrueValueCacheLines = kStrata * kStrata * kStratumSpecies;

// One stratum and species. While summing, n, g and dg are sums over the stands (stems, m², area-scaled
// dbh sum); after FinishStratumValues n and g are per hectare and dg the quadratic mean diameter.
struct StratumTruth {
  double n = 0.0;
  double g = 0.0;
  double area = 0.0;  // ha
  double dg = 0.0;
  std::array<std::int32_t, kStratumClasses> classes{};  // stems in diameter classes 1..10
};

template <class T>
using StratumArray = std::array<std::array<std::array<T, kStratumSpecies>, kStrata>, kStrata>;

struct StratumValues {
  StratumArray<StratumTruth> cells{};
  StratumTruth& At(int t, int k, int s) {
    return cells[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)][static_cast<std::size_t>(s)];
  }
  const StratumTruth& At(int t, int k, int s) const {
    return cells[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)][static_cast<std::size_t>(s)];
  }
};

// What the true values need of a model stand: its area and the sums of its trees.
struct ModelStandFacts {
  double areaHa = 0.0;
  const SpeciesSums* sums = nullptr;
};
// Where the facts come from (the store of model stands read once per run). The facts are set only when
// the model stand could be read; otherwise the problem says why.
class ModelStandFactsSource {
 public:
  virtual ~ModelStandFactsSource() = default;
  virtual Outcome Facts(int entry, ModelStandFacts& facts) = 0;
};

// What summing met besides the sums.
struct StratumSumReport {
  int standsWithoutModel = 0;  // stands with model stand 0 (never sampled, not in the sums)
  double areaWithoutModel = 0.0;
  int standsOutOfStrata = 0;   // type position or class outside 1..5
  std::vector<Problem> unreadable;  // the problems of model stands that could not be read (once each)
};

// The sums over every stand of every compartment that has a model stand: area, basal area, dbh sum and
// stem number scaled by stand area / model-stand area, the diameter-class counts rounded per stand
// (halves to even). Species 0 is the whole model stand.
StratumValues SumStratumValues(const EnterpriseSession& session, ModelStandFactsSource& source,
                               StratumSumReport* report = nullptr);
// Per hectare and the quadratic mean diameter, where there is area and stems.
void FinishStratumValues(StratumValues& values);

// The stands that borrow no trees: their count and area (shown once after the model stands are dealt).
struct UnassignedStands {
  int count = 0;
  double area = 0.0;
};
UnassignedStands CountUnassignedStands(const EnterpriseSession& session);

// ---- the cache "Temp\SP_Gitter.txt"
std::string TrueValueCachePath(const std::string& programFolder);
// What the sums are made from, as one line starting "# key": the enterprise, its classification, every
// stand's stratum, model stand and area, and the model stands' register lines and tree files.
struct TrueValueCacheInputs {
  const EnterpriseSession& session;
  bool forestDevelopmentTypes = false;
  // The model-stand entries' codes and classes as the table lists them (index entry - 1), and for each
  // one a text that changes when its tree file does (size and time, or "-" when missing).
  std::vector<std::string> entries;
  std::vector<std::string> treeFileStamps;
};
std::string TrueValueCacheKey(const TrueValueCacheInputs& inputs);
// The text of a model stand's tree file for the key: size and modification time, "-" when it is missing.
std::string TreeFileStamp(const std::string& path);
// 360 lines of sums (type position 0..5, class 0..5, species 0..9, species fastest): N, G, area and the
// dbh sum in 12 characters with 2 decimals, the ten class counts in 8; a number too wide for its field
// keeps a blank in front of it. Then the key line.
std::vector<std::string> TrueValueCacheLines(const StratumValues& sums, const std::string& key);
// Reads the sums back (numbers free-format in the same order). A problem when a number is missing or no
// number, or when the key line is missing or is not `expectedKey`; `sums` is then untouched.
Outcome ParseTrueValueCache(const std::vector<std::string>& lines, const std::string& expectedKey, StratumValues& sums);

}  // namespace tolvek
