#include "simulator/sampling/tree_index.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "common/circle_pi.h"
#include "simulator/sampling/selection.h"

namespace tolvek {

namespace {

// The selection tests compare squared distances with limits the methods form their own way (r from
// an area, dbh/2 squared over k); the index widens its bounds by far more than the rounding of those
// forms, so it never drops a tree the selection would take. The few trees it keeps beyond the exact
// limit are turned away by the selection itself.
constexpr double kRelativeSlack = 1e-9;
constexpr double kAbsoluteSlack = 1e-9;

// About this many trees per cell; the grid never has more cells than kMaxCells.
constexpr double kTreesPerCell = 1.0;
constexpr double kMinCell = 0.5;
constexpr double kMaxCells = 1 << 20;

// Plot centres a tree reaches on average from which the walk over the trees beats a query per centre
// for trees of a reach of their own. A fixed radius the query per centre takes as cheaply as the walk.
constexpr double kBatchCentresPerTree = 2.0;

double Widened(double r) { return r * (1.0 + kRelativeSlack) + kAbsoluteSlack; }

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

int CellOf(double v, double origin, double cell, int count) {
  const double c = std::floor((v - origin) / cell);
  if (!(c > 0.0)) return 0;
  return static_cast<int>(std::min(c, static_cast<double>(count - 1)));
}

// Square cells of about kTreesPerCell points each over an extent, never more than kMaxCells.
struct CellLayout {
  double cell;
  double columns, rows;
};
CellLayout LayCells(double width, double height, std::size_t points) {
  double cell = points > 0 ? std::sqrt(width * height * kTreesPerCell / static_cast<double>(points)) : 1.0;
  if (!std::isfinite(cell) || cell < kMinCell) cell = kMinCell;
  // Points in one line have no area: the cells follow the line's length instead.
  cell = std::max(cell, std::max(width, height) / kMaxCells);
  double columns = std::floor(width / cell) + 1.0, rows = std::floor(height / cell) + 1.0;
  while (!(columns * rows <= kMaxCells)) {
    cell *= 2.0;
    columns = std::floor(width / cell) + 1.0;
    rows = std::floor(height / cell) + 1.0;
    if (!std::isfinite(cell)) {
      // Positions too far apart for any grid: one cell holds them all.
      columns = rows = 1.0;
    }
  }
  return {cell, columns, rows};
}

std::size_t AllTrees(TreeList& trees, TreeRecord** out) {
  for (TreeRecord& t : trees) *out++ = &t;
  return trees.size();
}

}  // namespace

bool TreeIndexMatches(const TreeIndex& index, const TreeList& trees) {
  if (!index.built || index.builtX.size() != trees.size()) return false;
  for (std::size_t i = 0; i < trees.size(); ++i) {
    const TreeRecord& t = trees[i];
    if (!SameBits(t.x, index.builtX[i]) || !SameBits(t.y, index.builtY[i]) || !SameBits(t.dbh, index.builtDbh[i]))
      return false;
  }
  return true;
}

void BuildTreeIndex(TreeIndex& index, const TreeList& trees) {
  const std::size_t n = trees.size();
  index.builtX.resize(n);
  index.builtY.resize(n);
  index.builtDbh.resize(n);
  double minX = 0.0, maxX = 0.0, minY = 0.0, maxY = 0.0;
  std::size_t placed = 0;
  index.largestDbh = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const TreeRecord& t = trees[i];
    index.builtX[i] = t.x;
    index.builtY[i] = t.y;
    index.builtDbh[i] = t.dbh;
    index.largestDbh = std::max(index.largestDbh, t.dbh);
    if (!std::isfinite(t.x) || !std::isfinite(t.y)) continue;
    if (placed == 0) {
      minX = maxX = t.x;
      minY = maxY = t.y;
    } else {
      minX = std::min(minX, t.x);
      maxX = std::max(maxX, t.x);
      minY = std::min(minY, t.y);
      maxY = std::max(maxY, t.y);
    }
    ++placed;
  }

  const CellLayout layout = LayCells(maxX - minX, maxY - minY, placed);
  const double cell = layout.cell, columns = layout.columns, rows = layout.rows;
  index.originX = minX;
  index.originY = minY;
  index.cell = cell;
  index.columns = static_cast<int>(columns);
  index.rows = static_cast<int>(rows);

  // Counting sort by cell; trees of a cell keep their list order.
  const std::size_t cells = static_cast<std::size_t>(index.columns) * static_cast<std::size_t>(index.rows);
  index.cellStart.assign(cells + 1, 0);
  // Scratch kept with the index: the enterprise route rebuilds it at every change of model stand.
  std::vector<std::int32_t>& cellOf = index.buildCell;
  cellOf.assign(n, -1);
  for (std::size_t i = 0; i < n; ++i) {
    const TreeRecord& t = trees[i];
    if (!std::isfinite(t.x) || !std::isfinite(t.y)) continue;
    const int c = CellOf(t.y, minY, cell, index.rows) * index.columns + CellOf(t.x, minX, cell, index.columns);
    cellOf[i] = c;
    ++index.cellStart[static_cast<std::size_t>(c) + 1];
  }
  for (std::size_t c = 0; c < cells; ++c) index.cellStart[c + 1] += index.cellStart[c];
  index.listIndex.assign(placed, 0);
  index.x.assign(placed, 0.0);
  index.y.assign(placed, 0.0);
  index.dbh.assign(placed, 0.0);
  std::vector<std::int32_t>& next = index.buildNext;
  next.assign(index.cellStart.begin(), index.cellStart.end() - 1);
  for (std::size_t i = 0; i < n; ++i) {
    if (cellOf[i] < 0) continue;
    const auto k = static_cast<std::size_t>(next[static_cast<std::size_t>(cellOf[i])]++);
    index.listIndex[k] = static_cast<std::int32_t>(i);
    index.x[k] = trees[i].x;
    index.y[k] = trees[i].y;
    index.dbh[k] = trees[i].dbh;
  }
  index.density = placed > 0 ? static_cast<double>(placed) / (columns * rows * cell * cell) : 0.0;
  index.found.assign((n + 7) / 8 + 4, 0);
  index.seen.assign(placed, 0);
  index.seenD2.assign(placed, 0.0);
  index.reachOf.valid = false;
  index.built = true;
  ++index.builds;
}

bool RefreshTreeIndex(TreeIndex& index, const TreeList& trees) {
  if (TreeIndexMatches(index, trees)) return false;
  BuildTreeIndex(index, trees);
  return true;
}

namespace {

// Where the marks of a word lie: for each pattern of eight marks (bit i for byte i), the byte
// positions of its marks in order, and how many there are.
struct MarkPositions {
  std::array<std::array<std::uint8_t, 8>, 256> at{};
  std::array<std::uint8_t, 256> count{};
};
constexpr MarkPositions kMarkPositions = [] {
  MarkPositions p;
  for (int m = 0; m < 256; ++m) {
    int c = 0;
    for (int i = 0; i < 8; ++i)
      if ((m >> i) & 1) p.at[static_cast<std::size_t>(m)][static_cast<std::size_t>(c++)] = static_cast<std::uint8_t>(i);
    p.count[static_cast<std::size_t>(m)] = static_cast<std::uint8_t>(c);
  }
  return p;
}();

// Hands out the trees whose marks are set (ids lowId .. highId at most), in list order, and clears the
// marks. Eight marks are read at a time: most words of a plot's stretch of the list hold none.
std::size_t HandOut(TreeIndex& index, TreeList& trees, std::int32_t lowId, std::int32_t highId, TreeRecord** out) {
  if (highId < lowId) return 0;
  std::uint64_t* words = index.found.data();
  TreeRecord* const first = trees.data();
  TreeRecord** o = out;
  const auto lastWord = static_cast<std::size_t>(highId) >> 3;
  // Words wholly within the list: before them lie at most eight trees per word, so all eight slots of
  // a word can be written whatever its marks, and out holds room for them.
  const std::size_t fullWords = trees.size() >> 3;
  for (std::size_t w = static_cast<std::size_t>(lowId) >> 3; w <= lastWord; ++w) {
    // Four words at a time over stretches without marks, which a plot of few trees mostly has (no mark
    // lies beyond highId, and the scratch keeps four words of room behind the list).
    while (w + 4 <= lastWord && (words[w] | words[w + 1] | words[w + 2] | words[w + 3]) == 0) w += 4;
    std::uint64_t set = words[w];
    if (set == 0) continue;
    words[w] = 0;
    TreeRecord* const base = first + (w << 3);
    if constexpr (std::endian::native == std::endian::little) {
      if (w < fullWords) {
        // Each mark is a byte of 0 or 1: the product gathers byte i's mark into bit 56 + i. The
        // slots are written without a branch per mark, whose count no predictor guesses.
        const auto m = static_cast<std::size_t>((set * 0x0102040810204080ull) >> 56);
        const std::uint8_t* at = kMarkPositions.at[m].data();
        for (int k = 0; k < 8; ++k) o[k] = base + at[k];
        o += kMarkPositions.count[m];
        continue;
      }
      while (set != 0) {
        *o++ = base + (std::countr_zero(set) >> 3);
        set &= set - 1;
      }
    } else {
      unsigned char marks[8];
      std::memcpy(marks, &set, 8);
      for (int k = 0; k < 8; ++k)
        if (marks[k] != 0) *o++ = base + k;
    }
  }
  return static_cast<std::size_t>(o - out);
}

// The cells of one set of trees as a query walks them.
struct CellView {
  double originX, originY, cell;
  int columns, rows;
  const std::int32_t* cellStart;
  const std::int32_t* ids;
  const double* x;
  const double* y;
  const double* reach2;  // null: no reach of their own
};

// Sets the bit of every tree of the view within √r2 of the centre (and within its own reach), looking
// only at cells within scanRadius (at most √r2). Each row of cells is taken only as far as the circle's
// chord through the row reaches.
template <bool kOwnReach>
void ScanCells(const CellView v, double cx, double cy, double r2, double scanRadius, std::uint8_t* found,
               std::int32_t& lowId, std::int32_t& highId) {
  const double r = scanRadius;
  // The cells whose span overlaps the square around the circle; none when the square misses the grid.
  const double left = cx - r, right = cx + r, bottom = cy - r, top = cy + r;
  const double gridRight = v.originX + v.cell * v.columns;
  const double gridTop = v.originY + v.cell * v.rows;
  if (v.columns <= 0 || right < v.originX || bottom > gridTop || top < v.originY || left > gridRight) return;
  // Far above the rounding of a tree's cell, so a tree the chord leaves out lies outside the circle; it
  // also lets the cells be found by a product with the inverse cell size instead of a division.
  const double margin = 1e-6 * (1.0 + std::fabs(cx) + std::fabs(cy) + r);
  // Clamped first, then cut: within 0 .. count - 1 cutting is the floor, and no large value overflows.
  const double inverse = 1.0 / v.cell;
  const double lastColumn = v.columns - 1, lastRow = v.rows - 1;
  const auto column = [&](double u) { return static_cast<int>(std::clamp((u - v.originX) * inverse, 0.0, lastColumn)); };
  const auto rowOf = [&](double u) { return static_cast<int>(std::clamp((u - v.originY) * inverse, 0.0, lastRow)); };
  const int r0 = rowOf(bottom - margin);
  const int r1 = rowOf(top + margin);
  const double scan2 = r * r;
  // Kept in registers over the loop: written through the references, every tree would store them.
  std::int32_t low = lowId, high = highId;
  // The rows' stretches of trees are found first, a batch of rows at a time, and the trees looked at
  // afterwards: the square roots of the chords then overlap instead of each holding up its row's trees,
  // and the loop over the trees keeps all it needs in registers.
  constexpr int kRowsAtOnce = 32;
  std::int32_t from[kRowsAtOnce], to[kRowsAtOnce];
  for (int first = r0; first <= r1; first += kRowsAtOnce) {
    const int last = std::min(r1, first + kRowsAtOnce - 1);
    int stretches = 0;
    for (int row = first; row <= last; ++row) {
      const double rowBottom = v.originY + row * v.cell - margin;
      const double rowTop = v.originY + (row + 1) * v.cell + margin;
      const double dy = std::max(0.0, std::max(rowBottom - cy, cy - rowTop));
      const double halfChord = std::sqrt(std::max(0.0, scan2 - dy * dy)) + margin;
      const int c0 = column(cx - halfChord);
      const int c1 = column(cx + halfChord);
      const std::size_t base = static_cast<std::size_t>(row) * static_cast<std::size_t>(v.columns);
      from[stretches] = v.cellStart[base + static_cast<std::size_t>(c0)];
      to[stretches] = v.cellStart[base + static_cast<std::size_t>(c1) + 1];
      ++stretches;
    }
    // Every tree of the stretches is looked at and its mark set or not without a branch: most of them
    // lie within the circle, yet no branch predictor guesses which.
    for (int j = 0; j < stretches; ++j) {
      for (std::int32_t k = from[j]; k < to[j]; ++k) {
        // The same expression as the selection's distance, so both see the same d².
        const double dx = v.x[k] - cx;
        const double dy2 = v.y[k] - cy;
        const double d2 = dx * dx + dy2 * dy2;
        bool keep = d2 <= r2;
        if constexpr (kOwnReach) keep = keep & (d2 <= v.reach2[k]);
        const std::int32_t id = v.ids[k];
        // A tree lies in one cell of one part, so its mark is written once per query: a plain store,
        // not an addition to a word that the next tree's mark may have to wait for.
        found[id] = static_cast<std::uint8_t>(keep);
        low = std::min(low, id);
        high = std::max(high, id);
      }
    }
  }
  lowId = low;
  highId = high;
}

// Splits the trees by their reach (index.reach2, cell order) into parts on cells of their own. The
// bounds double each time from about three cells, so each part is looked at over an area not much
// larger than its trees reach.
void BuildReachTiers(TreeIndex& index) {
  index.tiers.clear();
  const std::size_t n = index.reach2.size();
  if (n == 0) return;
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> bounds;
  double largest = 0.0;
  for (double r2 : index.reach2)
    if (std::isfinite(r2)) largest = std::max(largest, r2);
  for (double b = 3.0 * index.cell;; b *= 2.0) {
    bounds.push_back(b);
    if (b * b >= largest) break;
  }
  bounds.push_back(inf);  // trees of no finite reach: taken over the whole search radius
  std::vector<int> tierOf(n);
  index.tiers.resize(bounds.size());
  for (std::size_t k = 0; k < n; ++k) {
    std::size_t t = 0;
    while (t + 1 < bounds.size() && !(index.reach2[k] <= bounds[t] * bounds[t])) ++t;
    tierOf[k] = static_cast<int>(t);
  }
  const double width = index.cell * index.columns, height = index.cell * index.rows;
  for (std::size_t t = 0; t < bounds.size(); ++t) {
    TreeIndex::ReachTier& tier = index.tiers[t];
    std::vector<std::size_t> members;
    double reachMax = 0.0;
    for (std::size_t k = 0; k < n; ++k)
      if (tierOf[k] == static_cast<int>(t)) {
        members.push_back(k);
        reachMax = std::max(reachMax, index.reach2[k]);
      }
    if (members.empty()) continue;
    tier.scanRadius = t + 1 == bounds.size() ? inf : std::sqrt(reachMax);
    double cell = std::max(index.cell, std::sqrt(width * height / static_cast<double>(members.size())));
    while ((std::floor(width / cell) + 1.0) * (std::floor(height / cell) + 1.0) > kMaxCells) cell *= 2.0;
    tier.originX = index.originX;
    tier.originY = index.originY;
    tier.cell = cell;
    tier.columns = static_cast<int>(std::floor(width / cell)) + 1;
    tier.rows = static_cast<int>(std::floor(height / cell)) + 1;
    const std::size_t cells = static_cast<std::size_t>(tier.columns) * static_cast<std::size_t>(tier.rows);
    tier.cellStart.assign(cells + 1, 0);
    std::vector<std::int32_t> cellOf(members.size());
    for (std::size_t i = 0; i < members.size(); ++i) {
      const std::size_t k = members[i];
      cellOf[i] = CellOf(index.y[k], tier.originY, cell, tier.rows) * tier.columns +
                  CellOf(index.x[k], tier.originX, cell, tier.columns);
      ++tier.cellStart[static_cast<std::size_t>(cellOf[i]) + 1];
    }
    for (std::size_t c = 0; c < cells; ++c) tier.cellStart[c + 1] += tier.cellStart[c];
    std::vector<std::int32_t> next(tier.cellStart.begin(), tier.cellStart.end() - 1);
    tier.listIndex.resize(members.size());
    tier.x.resize(members.size());
    tier.y.resize(members.size());
    tier.reach2.resize(members.size());
    for (std::size_t i = 0; i < members.size(); ++i) {
      const std::size_t k = members[i];
      const auto at = static_cast<std::size_t>(next[static_cast<std::size_t>(cellOf[i])]++);
      tier.listIndex[at] = index.listIndex[k];
      tier.x[at] = index.x[k];
      tier.y[at] = index.y[k];
      tier.reach2[at] = index.reach2[k];
    }
  }
}

// What a tree's own reach is in a circle query.
enum class Reach { None, PerDbh, Steps };

template <Reach kReach>
TreeIndex::ReachRule RuleOf(const TreeQuery& query) {
  TreeIndex::ReachRule rule;
  rule.valid = true;
  if constexpr (kReach == Reach::PerDbh) rule.perDbh = query.reachPerDbh;
  if constexpr (kReach == Reach::Steps) {
    rule.steps = std::min(query.steps, static_cast<int>(query.stepDbh.size()));
    rule.stepDbh = query.stepDbh;
    rule.stepRadius = query.stepRadius;
  }
  return rule;
}

// A tree's own reach under the rule, widened like the search radius.
template <Reach kReach>
double OwnReach(const TreeIndex::ReachRule& rule, double dbh) {
  double own = 0.0;
  if constexpr (kReach == Reach::PerDbh) own = Widened(std::fabs(dbh) * rule.perDbh);
  if constexpr (kReach == Reach::Steps) {
    // The selection's own comparison of the dbh with each circle's limit.
    for (int i = 0; i < rule.steps; ++i)
      if (rule.stepDbh[static_cast<std::size_t>(i)] <= dbh) own = std::max(own, rule.stepRadius[static_cast<std::size_t>(i)]);
    own = Widened(own);
  }
  return own;
}

// The reach of every tree for the query's rule and the parts by reach, unless the index already holds
// them.
template <Reach kReach>
void PrepareReach(TreeIndex& index, const TreeQuery& query) {
  const TreeIndex::ReachRule rule = RuleOf<kReach>(query);
  const TreeIndex::ReachRule& held = index.reachOf;
  const bool same = held.valid && SameBits(held.perDbh, rule.perDbh) && held.steps == rule.steps &&
                    std::equal(held.stepDbh.begin(), held.stepDbh.end(), rule.stepDbh.begin(), SameBits) &&
                    std::equal(held.stepRadius.begin(), held.stepRadius.end(), rule.stepRadius.begin(), SameBits);
  if (same) return;
  index.reach2.resize(index.dbh.size());
  index.listReach.assign(index.builtDbh.size(), 0.0);
  double sum = 0.0;
  std::size_t finite = 0;
  for (std::size_t k = 0; k < index.dbh.size(); ++k) {
    const double own = OwnReach<kReach>(rule, index.dbh[k]);
    index.reach2[k] = own * own;
    index.listReach[static_cast<std::size_t>(index.listIndex[k])] = own;
    if (std::isfinite(own)) {
      sum += own * own;
      ++finite;
    }
  }
  index.meanReach2 = finite > 0 ? sum / static_cast<double>(finite) : 0.0;
  BuildReachTiers(index);
  index.reachOf = rule;
}

// The trees within the radius (and their own reach) of a circle query.
template <Reach kReach>
std::size_t CircleQuery(TreeIndex& index, TreeList& trees, const TreeQuery& query, TreeRecord** out) {
  const double r = Widened(query.radius);
  const double r2 = r * r;
  auto* found = reinterpret_cast<std::uint8_t*>(index.found.data());
  std::int32_t lowId = std::numeric_limits<std::int32_t>::max(), highId = -1;
  if constexpr (kReach == Reach::None) {
    const CellView all{index.originX, index.originY, index.cell, index.columns, index.rows, index.cellStart.data(),
                       index.listIndex.data(), index.x.data(), index.y.data(), nullptr};
    ScanCells<false>(all, query.cx, query.cy, r2, r, found, lowId, highId);
  } else {
    PrepareReach<kReach>(index, query);
    for (const TreeIndex::ReachTier& t : index.tiers) {
      const CellView part{t.originX, t.originY, t.cell, t.columns, t.rows, t.cellStart.data(),
                          t.listIndex.data(), t.x.data(), t.y.data(), t.reach2.data()};
      ScanCells<true>(part, query.cx, query.cy, r2, std::min(r, t.scanRadius), found, lowId, highId);
    }
  }
  return HandOut(index, trees, lowId, highId, out);
}

// The nearest few trees seen, nearest first: squared distance and list position, a tie going to the
// tree earlier in the list, as the selection's insertion in list order orders them (at most kSlots).
class NearestTrees {
 public:
  static constexpr int kSlots = 16;
  explicit NearestTrees(int wanted) : wanted_(wanted) {}
  void Add(double d2, std::int32_t id) {
    if (count_ == wanted_ && !Before(d2, id, d_[count_ - 1], id_[count_ - 1])) return;
    int p = count_ < wanted_ ? count_++ : wanted_ - 1;
    while (p > 0 && Before(d2, id, d_[p - 1], id_[p - 1])) {
      d_[p] = d_[p - 1];
      id_[p] = id_[p - 1];
      --p;
    }
    d_[p] = d2;
    id_[p] = id;
  }
  bool Full() const { return count_ == wanted_; }
  double Last() const { return d_[count_ - 1]; }
  int Count() const { return count_; }
  double Distance(int i) const { return d_[i]; }
  std::int32_t Id(int i) const { return id_[i]; }

 private:
  static bool Before(double d2, std::int32_t id, double otherD2, std::int32_t otherId) {
    return d2 < otherD2 || (d2 == otherD2 && id < otherId);
  }
  int wanted_;
  int count_ = 0;
  double d_[kSlots];
  std::int32_t id_[kSlots];
};

// The n-tree sample keeps only the nearest trees of its two lists, so the cells are taken ring by
// ring around the centre until both lists are complete within a distance D that every tree not yet
// looked at exceeds. A tree's ring is that of the cell it was sorted into, which rounding may have
// moved by far less than the slack kept off D. Every tree looked at stays in the index's scratch
// (seen, seenD2).
struct NearestSearch {
  NearestTrees main, under;
  std::size_t seenCount = 0;
  // The trees within this squared distance include both lists and every tree at their last distances.
  double limit2 = 0.0;
  // False when the search ended by taking every tree within the query's radius before the lists were
  // known complete: the lists then hold only part of those trees.
  bool listsComplete = false;
};

// completeLists: where the search ends by the radius, the lists are taken from every tree looked at.
NearestSearch SearchNearest(TreeIndex& index, const TreeQuery& query, bool completeLists) {
  const double inf = std::numeric_limits<double>::infinity();
  const double cx = query.cx, cy = query.cy;
  const double rMax = Widened(query.radius);
  const int col = CellOf(cx, index.originX, index.cell, index.columns);
  const int row = CellOf(cy, index.originY, index.cell, index.rows);
  const double* xs = index.x.data();
  const double* ys = index.y.data();
  const double* ds = index.dbh.data();
  const std::int32_t* ids = index.listIndex.data();
  const int wanted = std::min(query.nearest, NearestTrees::kSlots);
  NearestSearch result{NearestTrees(wanted), NearestTrees(wanted)};
  NearestTrees& main = result.main;
  NearestTrees& under = result.under;
  // The selection's own split between the lists; a tree counts where it would be inserted.
  const auto classify = [&](double d2, std::int32_t k) {
    if (d2 <= query.mainLimitSq && ds[k] > query.mainDbhLimit) {
      if (d2 < query.mainLimitSq) main.Add(d2, ids[k]);
    } else if (d2 < query.underLimitSq) {
      under.Add(d2, ids[k]);
    }
  };
  // The scratch holds room for every tree, so no query allocates.
  std::int32_t* seen = index.seen.data();
  double* seenD2 = index.seenD2.data();
  std::size_t seenCount = 0;
  // While the first block is taken, its trees within this squared distance go into the lists at once.
  double listedSure2 = -1.0;
  auto look = [&](int r, int ca, int cb) {
    if (r < 0 || r >= index.rows) return;
    ca = std::max(ca, 0);
    cb = std::min(cb, index.columns - 1);
    if (ca > cb) return;
    const std::size_t base = static_cast<std::size_t>(r) * static_cast<std::size_t>(index.columns);
    const std::int32_t k1 = index.cellStart[base + static_cast<std::size_t>(cb) + 1];
    for (std::int32_t k = index.cellStart[base + static_cast<std::size_t>(ca)]; k < k1; ++k) {
      const double dx = xs[k] - cx;
      const double dy = ys[k] - cy;
      const double d2 = dx * dx + dy * dy;
      seen[seenCount] = k;
      seenD2[seenCount] = d2;
      ++seenCount;
      if (d2 <= listedSure2) classify(d2, k);
    }
  };
  // How far every tree not yet looked at lies at least once the block of `ring` rings is taken: its
  // nearest side, where a side on the border of the grid has no trees beyond it.
  const auto sureAfter = [&](int ring) {
    const double c = index.cell;
    const double toLeft = col - ring <= 0 ? inf : cx - (index.originX + (col - ring) * c);
    const double toRight = col + ring >= index.columns - 1 ? inf : index.originX + (col + ring + 1) * c - cx;
    const double toBottom = row - ring <= 0 ? inf : cy - (index.originY + (row - ring) * c);
    const double toTop = row + ring >= index.rows - 1 ? inf : index.originY + (row + ring + 1) * c - cy;
    const double reached = std::min(std::min(toLeft, toRight), std::min(toBottom, toTop));
    return reached * (1.0 - kRelativeSlack) - 1e-6;
  };
  result.limit2 = rMax * rMax;
  // The first block is as large as the stand's mean density says the nearest trees need, so that
  // one ring more seldom has to follow.
  const double expected = std::sqrt(query.nearest / (kCirclePi * std::max(index.density, 1e-9)));
  const int first = static_cast<int>(std::clamp(std::floor(expected / index.cell) + 1.0, 0.0, 64.0));
  for (int ring = first;; ++ring) {
    const double sure = sureAfter(ring);
    if (ring == first) {
      if (sure < rMax && sure > 0.0) listedSure2 = sure * sure;
      for (int r = row - ring; r <= row + ring; ++r) look(r, col - ring, col + ring);
      listedSure2 = -1.0;
    } else {
      look(row - ring, col - ring, col + ring);
      look(row + ring, col - ring, col + ring);
      for (int r = row - ring + 1; r <= row + ring - 1; ++r) {
        look(r, col - ring, col - ring);
        look(r, col + ring, col + ring);
      }
    }
    if (!(sure < rMax)) break;  // every tree the search radius holds has been looked at
    if (!(sure > 0.0)) continue;
    const double sure2 = sure * sure;
    if (ring != first) {
      // A wider block: the lists afresh from every tree within the new distance.
      main = NearestTrees(wanted);
      under = NearestTrees(wanted);
      for (std::size_t i = 0; i < seenCount; ++i)
        if (seenD2[i] <= sure2) classify(seenD2[i], seen[i]);
    }
    const bool underComplete = query.underLimitSq <= sure2;
    if (main.Full() && (underComplete || under.Full())) {
      // Up to the n + 1-th distance of each list, every tree at that distance included; an understorey
      // list with fewer trees needs all of them.
      double limit2 = main.Last();
      if (under.Full())
        limit2 = std::max(limit2, under.Last());
      else if (query.underLimitSq > 0.0)
        limit2 = std::max(limit2, query.underLimitSq);
      result.limit2 = limit2;
      result.listsComplete = true;
      break;
    }
  }
  if (completeLists && !result.listsComplete) {
    main = NearestTrees(wanted);
    under = NearestTrees(wanted);
    for (std::size_t i = 0; i < seenCount; ++i) classify(seenD2[i], seen[i]);
    result.listsComplete = true;
  }
  result.seenCount = seenCount;
  return result;
}

// The trees within the distance that makes both lists certain, in list order (the lists then come out
// as from every tree: a tree farther off only queues behind the n + 1 that are already closer).
std::size_t NearestQuery(TreeIndex& index, TreeList& trees, const TreeQuery& query, TreeRecord** out) {
  const NearestSearch search = SearchNearest(index, query, false);
  const double limit2 = search.limit2;
  const std::size_t seenCount = search.seenCount;
  const std::int32_t* seen = index.seen.data();
  const double* seenD2 = index.seenD2.data();
  const std::int32_t* ids = index.listIndex.data();
  // The few trees within the limit go straight out and are put in list order by insertion; only a
  // crowd of them (trees on one spot, an understorey limit far out) goes by marks.
  constexpr std::size_t kSortedAtMost = 32;
  TreeRecord* const list = trees.data();
  std::size_t count = 0;
  for (std::size_t i = 0; i < seenCount && count <= kSortedAtMost; ++i) {
    if (!(seenD2[i] <= limit2)) continue;
    TreeRecord* const t = list + ids[seen[i]];
    std::size_t p = count++;
    for (; p > 0 && out[p - 1] > t; --p) out[p] = out[p - 1];
    out[p] = t;
  }
  if (count <= kSortedAtMost) return count;
  auto* found = reinterpret_cast<std::uint8_t*>(index.found.data());
  std::int32_t lowId = std::numeric_limits<std::int32_t>::max(), highId = -1;
  for (std::size_t i = 0; i < seenCount; ++i) {
    if (!(seenD2[i] <= limit2)) continue;
    const std::int32_t id = ids[seen[i]];
    found[id] = 1;
    lowId = std::min(lowId, id);
    highId = std::max(highId, id);
  }
  return HandOut(index, trees, lowId, highId, out);
}

// The centres of a batch within reach of each tree, walked tree by tree in list order: a pair is
// kept under exactly the tests of ScanCells (same squared distance, same widened limits), and the
// pairs, sorted stably by centre, give every centre its trees in list order.
// minX .. maxY: the centres' extent, which the caller has taken.
void BatchCircle(const TreeIndex& index, TreeList& trees, const TreeQuery& query, CentreBatch& b, double minX,
                 double maxX, double minY, double maxY) {
  const std::size_t centres = b.cx.size();
  const double r = Widened(query.radius);
  const double r2 = r * r;
  const double* const reach = index.listReach.data();  // prepared by the caller for this rule

  // The centres by square cells of about one centre each, over the centres' extent.
  const CellLayout layout = LayCells(maxX - minX, maxY - minY, centres);
  const double cell = layout.cell;
  const int columns = static_cast<int>(layout.columns);
  const int rows = static_cast<int>(layout.rows);
  const std::size_t cells = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
  b.cellStart.assign(cells + 1, 0);
  b.centreCell.resize(centres);
  for (std::size_t j = 0; j < centres; ++j) {
    const int c = CellOf(b.cy[j], minY, cell, rows) * columns + CellOf(b.cx[j], minX, cell, columns);
    b.centreCell[j] = c;
    ++b.cellStart[static_cast<std::size_t>(c) + 1];
  }
  for (std::size_t c = 0; c < cells; ++c) b.cellStart[c + 1] += b.cellStart[c];
  b.cellCentres.resize(centres);
  {
    std::vector<std::int32_t>& next = b.cellNext;
    next.assign(b.cellStart.begin(), b.cellStart.end() - 1);
    for (std::size_t j = 0; j < centres; ++j)
      b.cellCentres[static_cast<std::size_t>(next[static_cast<std::size_t>(b.centreCell[j])]++)] = static_cast<std::int32_t>(j);
  }
  // Cell-ordered copies of the centres, read in the walk below.
  b.cellX.resize(centres);
  b.cellY.resize(centres);
  for (std::size_t k = 0; k < centres; ++k) {
    const auto j = static_cast<std::size_t>(b.cellCentres[k]);
    b.cellX[k] = b.cx[j];
    b.cellY[k] = b.cy[j];
  }
  const double* xs = b.cellX.data();
  const double* ys = b.cellY.data();
  const std::int32_t* ids = b.cellCentres.data();
  const std::int32_t* starts = b.cellStart.data();

  // Pairs are written at every test and kept by advancing past them, without a branch on the test
  // (which no predictor guesses): the scratch holds room for all of a tree's tests ahead.
  std::size_t pairs = 0;
  const double inverse = 1.0 / cell;
  const double lastColumn = columns - 1, lastRow = rows - 1;
  const auto column = [&](double u) { return static_cast<int>(std::clamp((u - minX) * inverse, 0.0, lastColumn)); };
  const auto rowOf = [&](double u) { return static_cast<int>(std::clamp((u - minY) * inverse, 0.0, lastRow)); };
  const double gridRight = minX + cell * columns, gridTop = minY + cell * rows;
  for (std::size_t i = 0; i < trees.size(); ++i) {
    const TreeRecord& t = trees[i];
    const double tx = t.x, ty = t.y;
    // A tree without a finite position has no cell in the index and is never handed out.
    if (!std::isfinite(tx) || !std::isfinite(ty)) continue;
    const double own = reach[i];
    const double own2 = own * own;
    const double scan = std::min(r, own);
    if (!(scan >= 0.0)) continue;
    const double left = tx - scan, right = tx + scan, bottom = ty - scan, top = ty + scan;
    if (right < minX || bottom > gridTop || top < minY || left > gridRight) continue;
    const double margin = 1e-6 * (1.0 + std::fabs(tx) + std::fabs(ty) + scan);
    // The whole square around the reach, not the circle's chord row by row: a tree reaches only a few
    // rows of centres, and a square root per row costs more than the few centres the chord leaves out.
    const int r0 = rowOf(bottom - margin), r1 = rowOf(top + margin);
    const std::size_t c0 = static_cast<std::size_t>(column(left - margin));
    const std::size_t c1 = static_cast<std::size_t>(column(right + margin)) + 1;
    // The centres from the first row's first cell to the last row's last one bound the tree's tests.
    const auto width = static_cast<std::size_t>(columns);
    const auto most = static_cast<std::size_t>(starts[static_cast<std::size_t>(r1) * width + c1] -
                                               starts[static_cast<std::size_t>(r0) * width + c0]);
    if (pairs + most > b.pairs.size()) b.pairs.resize(2 * (pairs + most));
    CentreBatch::Pair* const out = b.pairs.data();
    const auto tree = static_cast<std::int32_t>(i);
    for (int row = r0; row <= r1; ++row) {
      const std::size_t base = static_cast<std::size_t>(row) * width;
      const std::int32_t k0 = starts[base + c0];
      const std::int32_t k1 = starts[base + c1];
      for (std::int32_t k = k0; k < k1; ++k) {
        // The tree index's expression: the tree's coordinate less the centre's.
        const double dx = tx - xs[k];
        const double dy2 = ty - ys[k];
        const double d2 = dx * dx + dy2 * dy2;
        const bool keep = (d2 <= r2) & (d2 <= own2);
        out[pairs] = {ids[k], tree};
        pairs += keep ? 1 : 0;
      }
    }
  }

  // Stable counting sort of the pairs by centre.
  const CentreBatch::Pair* const found = b.pairs.data();
  b.start.assign(centres + 1, 0);
  for (std::size_t p = 0; p < pairs; ++p) ++b.start[static_cast<std::size_t>(found[p].centre) + 1];
  for (std::size_t j = 0; j < centres; ++j) b.start[j + 1] += b.start[j];
  if (b.centreTrees.size() < pairs) b.centreTrees.resize(pairs);
  std::vector<std::size_t>& next = b.centreNext;
  next.assign(b.start.begin(), b.start.end() - 1);
  TreeRecord* const first = trees.data();
  for (std::size_t p = 0; p < pairs; ++p) b.centreTrees[next[static_cast<std::size_t>(found[p].centre)]++] = first + found[p].tree;
}

}  // namespace

std::size_t QueryTreeIndexInto(TreeIndex& index, TreeList& trees, const TreeQuery& query, TreeRecord** out) {
  // An index that does not describe this list (never refreshed for it) hands out every tree.
  if (!index.built || index.builtX.size() != trees.size()) return AllTrees(trees, out);
  if (index.listIndex.empty()) return 0;
  if (!(query.radius >= 0.0) || !std::isfinite(query.radius) || !std::isfinite(query.cx) ||
      !std::isfinite(query.cy))
    return AllTrees(trees, out);
  if (query.nearest > 0) return NearestQuery(index, trees, query, out);
  if (query.steps > 0) return CircleQuery<Reach::Steps>(index, trees, query, out);
  if (query.reachPerDbh > 0.0) return CircleQuery<Reach::PerDbh>(index, trees, query, out);
  return CircleQuery<Reach::None>(index, trees, query, out);
}

bool QueryNearestLists(TreeIndex& index, TreeList& trees, const TreeQuery& query, NearestLists& lists) {
  if (query.nearest <= 0 || !index.built || index.builtX.size() != trees.size()) return false;
  if (!(query.radius >= 0.0) || !std::isfinite(query.radius) || !std::isfinite(query.cx) ||
      !std::isfinite(query.cy))
    return false;
  lists.mainDist.fill(query.mainLimitSq);
  lists.underDist.fill(query.underLimitSq);
  if (index.listIndex.empty()) return true;
  const NearestSearch search = SearchNearest(index, query, true);
  TreeRecord* const list = trees.data();
  const auto put = [&](const NearestTrees& from, std::array<double, 14>& dist, std::array<TreeRecord*, 14>& tree,
                       std::uint8_t layer) {
    const int count = std::min(from.Count(), 13);
    for (int i = 0; i < count; ++i) {
      TreeRecord* const t = list + from.Id(i);
      t->layer = layer;
      dist[static_cast<std::size_t>(i + 1)] = from.Distance(i);
      tree[static_cast<std::size_t>(i + 1)] = t;
    }
  };
  put(search.main, lists.mainDist, lists.mainTree, 0);
  put(search.under, lists.underDist, lists.underTree, 1);
  return true;
}

void QueryTreeIndex(TreeIndex& index, TreeList& trees, const TreeQuery& query, std::vector<TreeRecord*>& out) {
  out.resize(trees.size());
  out.resize(QueryTreeIndexInto(index, trees, query, out.data()));
}

bool QueryTreeIndexBatch(TreeIndex& index, TreeList& trees, const TreeQuery& query, CentreBatch& batch) {
  const std::size_t centres = batch.cx.size();
  bool finite = std::isfinite(query.radius) && query.radius >= 0.0;
  double minX = 0.0, maxX = 0.0, minY = 0.0, maxY = 0.0;
  for (std::size_t j = 0; j < centres && finite; ++j) {
    finite = std::isfinite(batch.cx[j]) && std::isfinite(batch.cy[j]);
    minX = j == 0 ? batch.cx[j] : std::min(minX, batch.cx[j]);
    maxX = j == 0 ? batch.cx[j] : std::max(maxX, batch.cx[j]);
    minY = j == 0 ? batch.cy[j] : std::min(minY, batch.cy[j]);
    maxY = j == 0 ? batch.cy[j] : std::max(maxY, batch.cy[j]);
  }
  // The single query hands out every tree in these cases, which a walk need not copy.
  if (centres == 0 || !finite || query.nearest > 0 || !index.built || index.builtX.size() != trees.size() ||
      index.listIndex.empty() || trees.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    return false;
  const Reach kind = query.steps > 0 ? Reach::Steps : query.reachPerDbh > 0.0 ? Reach::PerDbh : Reach::None;
  if (kind == Reach::None) return false;
  if (kind == Reach::Steps) PrepareReach<Reach::Steps>(index, query);
  if (kind == Reach::PerDbh) PrepareReach<Reach::PerDbh>(index, query);
  const double reach2 = std::min(Widened(query.radius) * Widened(query.radius), index.meanReach2);
  // The walk pays for every tree; it is worth it where a tree reaches centres (a dense grid), not
  // where the centres lie far apart (a stand's own grid).
  const double spread = std::max((maxX - minX) * (maxY - minY), 1.0);
  if (static_cast<double>(centres) / spread * kCirclePi * reach2 < kBatchCentresPerTree) return false;
  BatchCircle(index, trees, query, batch, minX, maxX, minY, maxY);
  return true;
}

TreeQuery TreeQueryFor(const MethodSettings& m) {
  TreeQuery q;
  if (m.passCode == kMethodAngleCount && m.countingFactor != 0) {
    // R = dbh / 2 / √k (dbh in cm, R in m).
    q.reachPerDbh = 0.5 / std::sqrt(static_cast<double>(m.countingFactor));
  }
  if (m.passCode == kMethodConcentric) {
    q.steps = std::min<int>(m.circleCount, kMaxConcentricCircles);
    for (int c = 1; c <= q.steps; ++c) {
      q.stepDbh[static_cast<std::size_t>(c - 1)] = m.concentricDbhLimit[static_cast<std::size_t>(c)];
      q.stepRadius[static_cast<std::size_t>(c - 1)] = m.concentricRadius[static_cast<std::size_t>(c)];
    }
  }
  if (m.passCode == kMethodNTree) {
    q.nearest = std::clamp(m.treeNumber, 2, 7) + 1;
    q.mainLimitSq = kNTreeMaxDistSq;
    q.mainDbhLimit = m.understoreyDbhLimit;
    q.underLimitSq = m.understoreyRadiusSq;
  }
  return q;
}

}  // namespace tolvek
