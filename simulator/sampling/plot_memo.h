#pragma once
// What the plots of a stand found at each plot centre, kept for the next time the centre comes back.
// Grid spacings and the random shifts of a run are whole metres, so a run of repetitions visits the
// same centres again and again: a dense grid of 7 m has only 49 shifts, and 2000 repetitions meet each
// of its centres some forty times. What a centre found depends only on the centre, the trees, the
// method's settings and the boundary, so the kept answer is the one the work would give again:
//   - the trees the tree index hands out there (or the n-tree sample's nearest lists);
//   - the plot's edge weights (fixed circle, the concentric circles);
//   - the weights the plot-centred angle count took for its trees.
// A weight that failed is never kept: the point fails again the same way, message and beep included.
// The pass describes all it works from in a key; any difference empties the memo. The kept answers
// take at most `budget` bytes; beyond it centres are worked out as before.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "simulator/sampling/tree_index.h"
#include "simulator/stand/tree_list.h"

namespace tolvek {

struct BoundaryPolygon;

// A weight the plot-centred angle count took at a centre, by the tree's place among the candidates.
struct KeptWeight {
  std::int32_t position;
  double weight;
};

inline constexpr std::size_t kPlotMemoBudget = std::size_t{32} << 20;
// A run of repetitions keeps its centres on grids of at most this many shifts (spacing × spacing in
// whole metres): 2000 repetitions then come back to a centre twice on average. On a wider grid a centre
// is seldom met again, and keeping it would only cost.
inline constexpr double kKeptShiftsAtMost = 1024.0;

// Storage handed out in pieces from large blocks: nothing moves once kept, and nothing is held twice
// over, as a growing vector would.
class KeptArena {
 public:
  KeptArena() = default;
  // What is kept points into the blocks: they move with the arena, never copied.
  KeptArena(const KeptArena&) = delete;
  KeptArena& operator=(const KeptArena&) = delete;
  KeptArena(KeptArena&&) = default;
  KeptArena& operator=(KeptArena&&) = default;
  // Room for `bytes` (aligned for any kept kind); the caller has checked the budget with Grows.
  void* Take(std::size_t bytes);
  // How many bytes taking this many more would add.
  std::size_t Grows(std::size_t bytes) const;
  std::size_t Bytes() const { return bytes_; }
  void Clear();

 private:
  static constexpr std::size_t kBlock = std::size_t{1} << 20;
  std::vector<std::unique_ptr<std::byte[]>> blocks_;
  std::byte* next_ = nullptr;
  std::size_t left_ = 0, bytes_ = 0;
};

struct PlotMemo {
  PlotMemo() = default;
  // A copy keeps nothing: what is kept points at the trees of the original.
  PlotMemo(const PlotMemo& other) : budget(other.budget) {}
  PlotMemo& operator=(const PlotMemo& other);
  PlotMemo(PlotMemo&&) = default;
  PlotMemo& operator=(PlotMemo&&) = default;

  enum Kept : std::uint8_t { kTrees = 1, kNearest = 2, kPlotWeights = 4, kTreeWeights = 8 };
  struct NearestSlot {
    double d2;
    TreeRecord* tree;
  };
  struct Entry {
    TreeRecord* const* trees = nullptr;
    const KeptWeight* weights = nullptr;
    const double* plotWeights = nullptr;
    const NearestSlot* nearest = nullptr;  // the main list, then the understorey
    std::uint32_t treeCount = 0, weightCount = 0;
    std::uint8_t plotWeightCount = 0, mainCount = 0, underCount = 0;
    std::uint8_t kept = 0;                 // Kept bits
  };

  // What the kept answers were worked out from, compared bit for bit; the pass writes the next one
  // into `nextKey` and hands it over with BeginPlotMemo.
  std::vector<double> key, nextKey;
  bool on = false;
  // Whole-metre centres x in originX .. originX + columns - 1 (and y likewise) have a slot: their
  // entry, null for none yet.
  double originX = 0.0, originY = 0.0;
  int columns = 0, rows = 0;
  std::vector<Entry*> byCentre;
  KeptArena arena;  // entries and everything they keep
  std::vector<KeptWeight> learning;  // the weights of the plot being selected, before they are kept
  std::size_t budget = kPlotMemoBudget;
  bool full = false;  // the budget is spent: nothing more is kept until the memo is emptied
  int clears = 0;     // how often the memo was emptied for another key
  std::int64_t reused = 0;  // plots that took their trees or lists from the memo

  std::size_t Bytes() const;
};

// Starts a pass that works from `memo.nextKey` on this boundary: empties the memo unless its key is the
// same. False (the memo stays off for the pass) where the boundary spans too many whole metres.
bool BeginPlotMemo(PlotMemo& memo, const BoundaryPolygon& boundary);
// Empties the memo and forgets its key.
void ClearPlotMemo(PlotMemo& memo);

// The slot of a centre; null for a centre off whole metres or outside the extent (another centre may
// share no slot with them), and while the memo is off.
inline PlotMemo::Entry** PlotMemoSlot(PlotMemo& memo, double cx, double cy) {
  if (!memo.on) return nullptr;
  const double u = cx - memo.originX, v = cy - memo.originY;
  if (!(u >= 0.0 && u < memo.columns && v >= 0.0 && v < memo.rows)) return nullptr;
  // Within the extent the cut is exact, so a centre off whole metres comes back different.
  const auto column = static_cast<std::size_t>(u), row = static_cast<std::size_t>(v);
  if (static_cast<double>(column) != u || static_cast<double>(row) != v) return nullptr;
  return &memo.byCentre[row * static_cast<std::size_t>(memo.columns) + column];
}
// Makes the entry of an empty slot; null once the budget is spent.
PlotMemo::Entry* MakePlotMemoEntry(PlotMemo& memo, PlotMemo::Entry*& slot);

// The entry of a centre, made when there is none yet; null for a centre without a slot and once the
// budget is spent.
inline PlotMemo::Entry* PlotMemoEntry(PlotMemo& memo, double cx, double cy) {
  PlotMemo::Entry** slot = PlotMemoSlot(memo, cx, cy);
  if (slot == nullptr) return nullptr;
  return *slot != nullptr ? *slot : MakePlotMemoEntry(memo, *slot);
}
// The entry of a centre if there is one, without making it.
inline const PlotMemo::Entry* FindPlotMemoEntry(PlotMemo& memo, double cx, double cy) {
  PlotMemo::Entry** slot = PlotMemoSlot(memo, cx, cy);
  return slot != nullptr ? *slot : nullptr;
}

// The trees a query handed out.
void KeepTrees(PlotMemo& memo, PlotMemo::Entry& entry, std::span<TreeRecord* const> trees);
inline std::span<TreeRecord* const> KeptTrees(const PlotMemo::Entry& entry) { return {entry.trees, entry.treeCount}; }

// The n-tree lists as the index took them: the leading slots of each list below its limit.
void KeepNearest(PlotMemo& memo, PlotMemo::Entry& entry, const NearestLists& lists, double mainLimitSq,
                 double underLimitSq);
// Puts the kept lists back as the index leaves them: the listed trees in slots 1.., every other slot at
// the list's limit, and each listed tree's layer marker set.
void TakeNearest(const PlotMemo::Entry& entry, double mainLimitSq, double underLimitSq, NearestLists& lists);

void KeepPlotWeights(PlotMemo& memo, PlotMemo::Entry& entry, std::span<const double> values);
inline std::span<const double> KeptPlotWeights(const PlotMemo::Entry& entry) {
  return {entry.plotWeights, entry.plotWeightCount};
}

// Where a selection appends the weights it takes (emptied first); null once the budget is spent.
std::vector<KeptWeight>* TreeWeightsToLearn(PlotMemo& memo);
// The weights the selection appended become the entry's.
void KeepTreeWeights(PlotMemo& memo, PlotMemo::Entry& entry);
inline std::span<const KeptWeight> KeptTreeWeights(const PlotMemo::Entry& entry) {
  return {entry.weights, entry.weightCount};
}

}  // namespace tolvek
