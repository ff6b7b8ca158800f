#pragma once
// The plots of a pass and their sample trees, as the evaluation reads them. A dense grid writes and
// reads tens of thousands of sample trees per pass, so the records are packed and the store hands out
// room to write into rather than growing tree by tree.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "simulator/stand/tree_list.h"

namespace tolvek {

struct SampleTreeRecord {
  // Eight-byte fields first, then the four-byte and the one-byte ones: 40 bytes with no padding, since
  // a dense grid writes and reads tens of thousands of these per pass.
  double distance = 0.0;  // m from the plot centre
  double edgeWeight = 1.0;
  double plotArea = 0.0;  // m², the tree's selection area
  float dbh = 0.0f;       // cm
  float x = 0.0f;         // m
  float y = 0.0f;
  std::uint8_t layer = 0;  // 0 main stand, 1 understorey of the n-tree sample
  std::uint8_t species = 0;
  std::uint8_t species2 = 0;
  std::uint8_t weightDone = 0;  // the tree's weight-computed flag
};
static_assert(sizeof(SampleTreeRecord) == 40);
// The record's last four bytes are layer and the tree's three bytes from its species on.
static_assert(offsetof(SampleTreeRecord, species) == offsetof(SampleTreeRecord, layer) + 1 &&
              offsetof(SampleTreeRecord, species2) == offsetof(SampleTreeRecord, layer) + 2 &&
              offsetof(SampleTreeRecord, weightDone) == offsetof(SampleTreeRecord, layer) + 3 &&
              offsetof(SampleTreeRecord, weightDone) + 1 == sizeof(SampleTreeRecord));
static_assert(sizeof(SpeciesCode) == 1 && offsetof(TreeRecord, species2) == offsetof(TreeRecord, species) + 1 &&
              offsetof(TreeRecord, weightDone) == offsetof(TreeRecord, species) + 2 &&
              offsetof(TreeRecord, weightFailed) == offsetof(TreeRecord, species) + 3);

struct PlotRecord {
  std::uint8_t standType = 0;  // enterprise: from the grid point
  std::uint8_t ageClass = 0;
  double plotArea = 0.0;       // m²: circle area (methods 2, 3), 0 (52), A₁ (n-tree)
  double secondArea = 0.0;     // m²: n-tree understorey area A₂
  double insideShare = 0.0;    // fixed circles: 1 / plot weight
  std::int32_t firstTree = 0;  // index into PlotList::trees
  std::int32_t treeCount = 0;  // 0 for a plot without trees
  std::int32_t gridIndex = 0;  // the grid point (1-based) the plot belongs to
};

// The sample trees of a pass, used like a vector of records. Every slot up to the capacity always holds
// a record, so a selection writes its trees straight into the room behind the last one and counts them
// once it is done: no check of the capacity and no update of the size per tree.
class SampleTreeStore {
 public:
  SampleTreeStore() = default;
  SampleTreeStore(std::initializer_list<SampleTreeRecord> records) { Assign(records.begin(), records.size()); }
  SampleTreeStore(const SampleTreeStore& other) { Assign(other.data(), other.size()); }
  SampleTreeStore& operator=(const SampleTreeStore& other) {
    if (this != &other) Assign(other.data(), other.size());
    return *this;
  }
  SampleTreeStore(SampleTreeStore&& other) noexcept
      : slots_(std::move(other.slots_)),
        size_(std::exchange(other.size_, 0)),
        capacity_(std::exchange(other.capacity_, 0)) {}
  SampleTreeStore& operator=(SampleTreeStore&& other) noexcept {
    slots_ = std::move(other.slots_);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
    return *this;
  }

  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }
  bool empty() const { return size_ == 0; }
  SampleTreeRecord* data() { return slots_.get(); }
  const SampleTreeRecord* data() const { return slots_.get(); }
  SampleTreeRecord* begin() { return data(); }
  SampleTreeRecord* end() { return data() + size_; }
  const SampleTreeRecord* begin() const { return data(); }
  const SampleTreeRecord* end() const { return data() + size_; }
  SampleTreeRecord& operator[](std::size_t i) { return slots_[i]; }
  const SampleTreeRecord& operator[](std::size_t i) const { return slots_[i]; }
  SampleTreeRecord& front() { return slots_[0]; }
  const SampleTreeRecord& front() const { return slots_[0]; }
  SampleTreeRecord& back() { return slots_[size_ - 1]; }
  const SampleTreeRecord& back() const { return slots_[size_ - 1]; }

  void clear() { size_ = 0; }
  void pop_back() { --size_; }
  // The record is made before room is made for it, since it may be a copy of one the room moves.
  void push_back(const SampleTreeRecord& r) {
    const SampleTreeRecord record = r;
    *Room(1) = record;
    ++size_;
  }
  template <class... Args>
  SampleTreeRecord& emplace_back(Args&&... args) {
    const SampleTreeRecord record{std::forward<Args>(args)...};
    SampleTreeRecord* at = Room(1);
    *at = record;
    ++size_;
    return *at;
  }
  // Shorter: the records behind are dropped; longer: the new ones are default records.
  void resize(std::size_t n) {
    if (n > size_) {
      SampleTreeRecord* const from = Room(n - size_);  // may move the records: the end is taken after
      std::fill(from, data() + n, SampleTreeRecord{});
    }
    size_ = n;
  }
  void reserve(std::size_t n) {
    if (n > capacity_) Grow(n);
  }

  // Room for `count` records behind the last one; they belong to the store once Commit counts them.
  SampleTreeRecord* Room(std::size_t count) {
    if (count > capacity_ - size_) Grow(std::max(size_ + count, capacity_ + capacity_ / 2));
    return data() + size_;
  }
  void Commit(std::size_t count) { size_ += count; }

 private:
  void Grow(std::size_t wanted) {
    std::unique_ptr<SampleTreeRecord[]> larger(new SampleTreeRecord[wanted]);
    std::copy(data(), data() + size_, larger.get());
    slots_ = std::move(larger);
    capacity_ = wanted;
  }
  void Assign(const SampleTreeRecord* from, std::size_t count) {
    size_ = 0;
    std::copy(from, from + count, Room(count));
    size_ = count;
  }

  std::unique_ptr<SampleTreeRecord[]> slots_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// The plots of the last pass in pass order, each with its sample trees in selection order. The
// storage is cleared, never freed, between passes.
struct PlotList {
  std::vector<PlotRecord> plots;
  SampleTreeStore trees;

  std::span<const SampleTreeRecord> TreesOf(const PlotRecord& p) const {
    return {trees.data() + p.firstTree, static_cast<std::size_t>(p.treeCount)};
  }
  bool Empty() const { return plots.empty(); }
  void Clear() {
    plots.clear();
    trees.clear();
  }
};

}  // namespace tolvek
