#include "simulator/sampling/plot_memo.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

#include "simulator/stand/boundary.h"

namespace tolvek {

namespace {

constexpr std::size_t kAlign = 16;

// Never 0: an empty list kept still has a place of its own.
std::size_t Aligned(std::size_t bytes) { return (std::max<std::size_t>(bytes, 1) + kAlign - 1) / kAlign * kAlign; }

bool SameKey(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

// Room for `count` more of T within the budget; once it does not hold them, the budget is spent for
// good (until the memo is emptied).
template <class T>
T* Take(PlotMemo& memo, std::size_t count) {
  if (memo.full) return nullptr;
  const std::size_t bytes = count * sizeof(T);
  if (memo.Bytes() + memo.arena.Grows(bytes) > memo.budget) {
    memo.full = true;
    return nullptr;
  }
  return static_cast<T*>(memo.arena.Take(bytes));
}

// The kept lists of n-tree slots 1.. below a limit (a slot holds a tree exactly then).
int Listed(const std::array<double, 14>& dist, double limit) {
  int count = 0;
  while (count + 1 < static_cast<int>(dist.size()) && dist[static_cast<std::size_t>(count + 1)] < limit) ++count;
  return count;
}

}  // namespace

void* KeptArena::Take(std::size_t bytes) {
  bytes = Aligned(bytes);
  if (bytes > left_) {
    const std::size_t size = std::max(kBlock, bytes);
    blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(size));
    bytes_ += size;
    next_ = blocks_.back().get();
    left_ = size;
  }
  void* at = next_;
  next_ += bytes;
  left_ -= bytes;
  return at;
}

std::size_t KeptArena::Grows(std::size_t bytes) const {
  bytes = Aligned(bytes);
  return bytes > left_ ? std::max(kBlock, bytes) : 0;
}

void KeptArena::Clear() {
  // Given back: another stand or method may keep far less.
  std::vector<std::unique_ptr<std::byte[]>>().swap(blocks_);
  next_ = nullptr;
  left_ = bytes_ = 0;
}

std::size_t PlotMemo::Bytes() const {
  return byCentre.capacity() * sizeof(Entry*) + arena.Bytes() + learning.capacity() * sizeof(KeptWeight);
}

PlotMemo& PlotMemo::operator=(const PlotMemo& other) {
  if (this != &other) {
    ClearPlotMemo(*this);
    nextKey.clear();
    budget = other.budget;
  }
  return *this;
}

void ClearPlotMemo(PlotMemo& memo) {
  memo.key.clear();
  memo.on = false;
  memo.full = false;
  memo.columns = memo.rows = 0;
  std::vector<PlotMemo::Entry*>().swap(memo.byCentre);
  memo.arena.Clear();
}

bool BeginPlotMemo(PlotMemo& memo, const BoundaryPolygon& boundary) {
  if (!memo.key.empty() && SameKey(memo.key, memo.nextKey)) return memo.on;
  ClearPlotMemo(memo);
  ++memo.clears;
  memo.key = memo.nextKey;
  // Centres of a stand lie within its boundary's extent.
  double minX = 0.0, maxX = -1.0, minY = 0.0, maxY = -1.0;
  for (int i = 1; i <= boundary.n; ++i) {
    const double x = boundary.x[static_cast<std::size_t>(i)], y = boundary.y[static_cast<std::size_t>(i)];
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    minX = i == 1 ? x : std::min(minX, x);
    maxX = i == 1 ? x : std::max(maxX, x);
    minY = i == 1 ? y : std::min(minY, y);
    maxY = i == 1 ? y : std::max(maxY, y);
  }
  if (!(maxX >= minX) || !(maxY >= minY)) return false;
  const double columns = std::floor(maxX) - std::floor(minX) + 2.0;
  const double rows = std::floor(maxY) - std::floor(minY) + 2.0;
  // The table of slots takes at most a quarter of the budget.
  if (!(columns * rows * sizeof(PlotMemo::Entry*) <= static_cast<double>(memo.budget) / 4.0)) return false;
  memo.originX = std::floor(minX);
  memo.originY = std::floor(minY);
  memo.columns = static_cast<int>(columns);
  memo.rows = static_cast<int>(rows);
  memo.byCentre.assign(static_cast<std::size_t>(memo.columns) * static_cast<std::size_t>(memo.rows), nullptr);
  memo.on = true;
  return true;
}

PlotMemo::Entry* MakePlotMemoEntry(PlotMemo& memo, PlotMemo::Entry*& slot) {
  PlotMemo::Entry* entry = Take<PlotMemo::Entry>(memo, 1);
  if (entry != nullptr) slot = new (entry) PlotMemo::Entry();
  return entry;
}

void KeepTrees(PlotMemo& memo, PlotMemo::Entry& entry, std::span<TreeRecord* const> trees) {
  TreeRecord** kept = Take<TreeRecord*>(memo, trees.size());
  if (kept == nullptr) return;
  std::copy(trees.begin(), trees.end(), kept);
  entry.trees = kept;
  entry.treeCount = static_cast<std::uint32_t>(trees.size());
  entry.kept |= PlotMemo::kTrees;
}

void KeepNearest(PlotMemo& memo, PlotMemo::Entry& entry, const NearestLists& lists, double mainLimitSq,
                 double underLimitSq) {
  const int main = Listed(lists.mainDist, mainLimitSq), under = Listed(lists.underDist, underLimitSq);
  PlotMemo::NearestSlot* kept = Take<PlotMemo::NearestSlot>(memo, static_cast<std::size_t>(main + under));
  if (kept == nullptr) return;
  entry.nearest = kept;
  entry.mainCount = static_cast<std::uint8_t>(main);
  entry.underCount = static_cast<std::uint8_t>(under);
  for (int i = 1; i <= main; ++i)
    *kept++ = {lists.mainDist[static_cast<std::size_t>(i)], lists.mainTree[static_cast<std::size_t>(i)]};
  for (int i = 1; i <= under; ++i)
    *kept++ = {lists.underDist[static_cast<std::size_t>(i)], lists.underTree[static_cast<std::size_t>(i)]};
  entry.kept |= PlotMemo::kNearest;
}

void TakeNearest(const PlotMemo::Entry& entry, double mainLimitSq, double underLimitSq, NearestLists& lists) {
  lists.mainDist.fill(mainLimitSq);
  lists.underDist.fill(underLimitSq);
  const PlotMemo::NearestSlot* slot = entry.nearest;
  for (int i = 1; i <= entry.mainCount; ++i, ++slot) {
    slot->tree->layer = 0;
    lists.mainDist[static_cast<std::size_t>(i)] = slot->d2;
    lists.mainTree[static_cast<std::size_t>(i)] = slot->tree;
  }
  for (int i = 1; i <= entry.underCount; ++i, ++slot) {
    slot->tree->layer = 1;
    lists.underDist[static_cast<std::size_t>(i)] = slot->d2;
    lists.underTree[static_cast<std::size_t>(i)] = slot->tree;
  }
}

void KeepPlotWeights(PlotMemo& memo, PlotMemo::Entry& entry, std::span<const double> values) {
  double* kept = Take<double>(memo, values.size());
  if (kept == nullptr) return;
  std::copy(values.begin(), values.end(), kept);
  entry.plotWeights = kept;
  entry.plotWeightCount = static_cast<std::uint8_t>(values.size());
  entry.kept |= PlotMemo::kPlotWeights;
}

std::vector<KeptWeight>* TreeWeightsToLearn(PlotMemo& memo) {
  if (memo.full) return nullptr;
  memo.learning.clear();
  return &memo.learning;
}

void KeepTreeWeights(PlotMemo& memo, PlotMemo::Entry& entry) {
  KeptWeight* kept = Take<KeptWeight>(memo, memo.learning.size());
  if (kept == nullptr) return;
  std::copy(memo.learning.begin(), memo.learning.end(), kept);
  entry.weights = kept;
  entry.weightCount = static_cast<std::uint32_t>(memo.learning.size());
  entry.kept |= PlotMemo::kTreeWeights;
}

}  // namespace tolvek
