#pragma once
// Where the trees of the loaded stand stand: a uniform grid of square cells over the trees, each cell
// holding its trees in tree-list order. A plot asks for the trees within its search radius and gets
// them back in tree-list order, so selection order and ties come out exactly as a walk over the whole
// list gives them; the index only leaves out trees that no rule of the method can select. It never
// caps the number of trees it hands out.
//
// The index keeps a copy of the positions and diameters it was built from. Before a pass (and whenever
// the enterprise route may have loaded another model stand) the pass compares them with the tree list
// and rebuilds the index when they differ, so a stand loaded or read again with another calliper limit
// is noticed without anybody having to report it.
#include <array>
#include <cstdint>
#include <vector>

#include "simulator/sampling/method.h"
#include "simulator/stand/tree_list.h"

namespace tolvek {

struct TreeIndex {
  // The tree list the index describes, in list order (compared bit for bit).
  std::vector<double> builtX, builtY, builtDbh;
  bool built = false;
  int builds = 0;  // how often the index was (re)built
  double largestDbh = 0.0;  // of the whole list (0 for none), as the angle count's search radius takes it

  // Cell grid: cell (column, row) covers [originX + column·cell, +cell) × [originY + row·cell, +cell).
  double originX = 0.0, originY = 0.0;
  double cell = 1.0;
  int columns = 0, rows = 0;
  double density = 0.0;  // trees per m² of the grid
  // Trees ordered by row, column and list position; cellStart[c] .. cellStart[c + 1] are the trees of
  // cell c = row · columns + column, so the cells of one row from column a to b form one run.
  // Trees without a finite position are left out: no distance to them passes any selection test.
  std::vector<std::int32_t> cellStart;
  std::vector<std::int32_t> listIndex;
  std::vector<double> x, y, dbh;

  // Scratch of a query: one byte per tree of the list (in words of eight, four words of room behind),
  // 1 for the trees found; cleared as they are handed out, so it is all zero between queries.
  std::vector<std::uint64_t> found;
  // Scratch of a nearest-trees query: the trees looked at so far (position in cell order) and their d².
  std::vector<std::int32_t> seen;
  std::vector<double> seenD2;
  // Each tree's own reach squared (cell order) for the reach rule of `reachOf`, kept until the rule or
  // the trees change: a query then reads one number per tree instead of working it out.
  std::vector<double> reach2;
  // The same reach (not squared) in list order, and the mean of its square over the trees of finite
  // reach, which tells how many plot centres a tree reaches on average.
  std::vector<double> listReach;
  double meanReach2 = 0.0;
  struct ReachRule {
    bool valid = false;
    double perDbh = 0.0;
    int steps = 0;
    std::array<double, 6> stepDbh{}, stepRadius{};
  } reachOf;
  // The trees again, split by how far they reach under that rule, each part on cells of its own: a
  // query takes the few far-reaching trees from far around the centre and the many short-reaching ones
  // only from near it.
  struct ReachTier {
    double scanRadius = 0.0;  // no tree of the part reaches farther (m); infinite for trees of no finite reach
    double originX = 0.0, originY = 0.0, cell = 1.0;
    int columns = 0, rows = 0;
    std::vector<std::int32_t> cellStart, listIndex;
    std::vector<double> x, y, reach2;
  };
  std::vector<ReachTier> tiers;
  // Scratch of a build: each tree's cell, the next free place of each cell.
  std::vector<std::int32_t> buildCell, buildNext;
};

// What one plot asks for.
struct TreeQuery {
  double cx = 0.0, cy = 0.0;
  // No selected tree lies farther from the centre than this (m). Not finite or negative: every tree.
  double radius = 0.0;
  // Above 0: a tree reaches the centre only within dbh × reachPerDbh (m per cm), its own limiting
  // circle (angle count: 1 / (2√k)).
  double reachPerDbh = 0.0;
  // Above 0: a tree reaches the centre only within the largest stepRadius whose stepDbh (cm) it
  // attains (concentric circles: the circles it may be counted in).
  int steps = 0;
  std::array<double, 6> stepDbh{}, stepRadius{};
  // Above 0: only the `nearest` nearest trees of each list of the n-tree sample count (n + 1: the
  // n-th and the one behind it). A main-list tree lies closer than √mainLimitSq and is thicker than
  // mainDbhLimit; every other tree closer than √underLimitSq is an understorey tree. The trees handed
  // out are then all trees up to a distance within which both lists are certain to be complete.
  int nearest = 0;
  double mainLimitSq = 0.0;
  double mainDbhLimit = 0.0;
  double underLimitSq = 0.0;
};

// True when the index describes exactly these trees (same count, positions and diameters).
bool TreeIndexMatches(const TreeIndex& index, const TreeList& trees);
// Builds the index of these trees.
void BuildTreeIndex(TreeIndex& index, const TreeList& trees);
// Rebuilds the index unless it already describes these trees. True when it rebuilt.
bool RefreshTreeIndex(TreeIndex& index, const TreeList& trees);

// The trees of the query in tree-list order: every tree that can lie within the radius (and within its
// own reach), possibly a few more that lie just outside. `trees` must be the list the index was built
// from.
void QueryTreeIndex(TreeIndex& index, TreeList& trees, const TreeQuery& query, std::vector<TreeRecord*>& out);
// The same into room for every tree of the list (out[0 .. trees.size())); returns how many it wrote. The
// pass keeps that room, so no query grows a vector tree by tree.
std::size_t QueryTreeIndexInto(TreeIndex& index, TreeList& trees, const TreeQuery& query, TreeRecord** out);

// The two lists of the n-tree sample at one centre, nearest first in slots 1 .. 13 (slot 0 unused):
// squared distance and tree. A slot without a tree holds the list's limit (main: mainLimitSq,
// understorey: underLimitSq); its tree is then meaningless.
struct NearestLists {
  std::array<double, 14> mainDist{};
  std::array<TreeRecord*, 14> mainTree{};
  std::array<double, 14> underDist{};
  std::array<TreeRecord*, 14> underTree{};
};
// For an n-tree query: the first `nearest` slots of each list exactly as the selection's insertion of
// the trees in list order fills them (a tie goes to the tree earlier in the list), without handing the
// trees out; the trees listed get their layer marker. False, leaving the lists as they were, where
// QueryTreeIndexInto would hand out every tree (no index of this list, a centre that is not a number),
// and for a query of another kind.
bool QueryNearestLists(TreeIndex& index, TreeList& trees, const TreeQuery& query, NearestLists& lists);

// The trees of many plot centres of one circle query (the query's centre aside) at once: for centre j
// the trees centreTrees[start[j] .. start[j + 1]) (the list may hold more behind), in tree-list order,
// exactly those QueryTreeIndexInto hands out at that centre. For trees that reach distances of their
// own (angle count, concentric circles) the trees are walked once, each finding the centres within its
// own reach: where the circles of neighbouring centres overlap (a dense grid) that costs less than a
// query per centre, which looks at many trees that reach only a fraction of its search radius.
struct CentreBatch {
  std::vector<double> cx, cy;  // the centres, set by the caller
  std::vector<std::size_t> start;
  std::vector<TreeRecord*> centreTrees;
  // Scratch: the centres by cells (their numbers and positions in cell order), the pairs found in tree
  // order.
  std::vector<std::int32_t> cellStart, cellCentres, centreCell, cellNext;
  std::vector<std::size_t> centreNext;
  std::vector<double> cellX, cellY;
  struct Pair {
    std::int32_t centre, tree;
  };
  std::vector<Pair> pairs;
};
// Fills start and centreTrees for the centres of the batch and returns true; false, leaving them as
// they were, where the walk would cost more than a query per centre (centres far apart, a fixed
// radius), for an n-tree query, and where a single query would hand out every tree (no index of this
// list, a centre that is not a number): the caller then asks centre by centre.
bool QueryTreeIndexBatch(TreeIndex& index, TreeList& trees, const TreeQuery& query, CentreBatch& batch);

// The query of a point for the method's selection rule; the caller sets centre and radius.
TreeQuery TreeQueryFor(const MethodSettings& m);

}  // namespace tolvek
