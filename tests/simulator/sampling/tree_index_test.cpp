#include "simulator/sampling/tree_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "common/circle_pi.h"
#include "common/language.h"
#include "common/random.h"
#include "simulator/sampling/edge_correction.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/pass.h"
#include "simulator/sampling/selection.h"
#include "simulator/stand/boundary.h"
#include "tests/support/boundary_of.h"
#include "tests/support/fakes.h"
#include "tests/support/pass_pair.h"

namespace tolvek {
namespace {


using testing::ExpectSamePlots;
using testing::RandomStand;
using testing::TreeAt;

// The trees within `radius` by a walk over the whole list: what the index must never leave out.
std::vector<const TreeRecord*> Within(const TreeList& trees, double cx, double cy, double radius) {
  std::vector<const TreeRecord*> v;
  for (const TreeRecord& t : trees) {
    const double dx = t.x - cx, dy = t.y - cy;
    if (dx * dx + dy * dy <= radius * radius) v.push_back(&t);
  }
  return v;
}

void ExpectSupersetInListOrder(const std::vector<TreeRecord*>& got, const std::vector<const TreeRecord*>& needed,
                               const std::string& where) {
  EXPECT_TRUE(std::is_sorted(got.begin(), got.end(), [](auto* a, auto* b) { return a < b; })) << where;
  EXPECT_EQ(std::adjacent_find(got.begin(), got.end()), got.end()) << where << ": a tree handed out twice";
  for (const TreeRecord* t : needed)
    EXPECT_TRUE(std::binary_search(got.begin(), got.end(), t)) << where << ": tree at " << t->x << ", " << t->y;
}

TEST(TreeIndexQuery, HandsOutEveryTreeWithinTheRadiusInListOrder) {
  for (std::uint32_t seed : {1u, 2u, 3u}) {
    TreeList trees = RandomStand(seed, 900, 150.0, 110.0);
    TreeIndex index;
    BuildTreeIndex(index, trees);
    RandomGenerator r(seed + 100);
    std::vector<TreeRecord*> got;
    for (int q = 0; q < 400; ++q) {
      TreeQuery query;
      query.cx = r.Next(1900) / 10.0 - 20.0;  // also centres beside the stand
      query.cy = r.Next(1500) / 10.0 - 20.0;
      query.radius = 0.5 + r.Next(300) / 10.0;
      if (q % 7 == 0) {
        // A tree exactly on the circle.
        const TreeRecord& t = trees[static_cast<std::size_t>(r.Next(static_cast<int>(trees.size())))];
        query.cx = t.x + query.radius;
        query.cy = t.y;
      }
      QueryTreeIndex(index, trees, query, got);
      ExpectSupersetInListOrder(got, Within(trees, query.cx, query.cy, query.radius),
                                "seed " + std::to_string(seed) + " query " + std::to_string(q));
    }
  }
  // Circles over most of a dense stand: far more rows of cells than a query takes at once.
  TreeList dense = RandomStand(4, 5000, 150.0, 110.0);
  TreeIndex index;
  BuildTreeIndex(index, dense);
  ASSERT_GT(110.0 / index.cell, 40.0);
  std::vector<TreeRecord*> got;
  for (int q = 0; q < 20; ++q) {
    const TreeQuery query{20.0 + 5.0 * q, 10.0 + 4.0 * q, 30.0 + 3.0 * q, 0.0};
    QueryTreeIndex(index, dense, query, got);
    ExpectSupersetInListOrder(got, Within(dense, query.cx, query.cy, query.radius), "wide query " + std::to_string(q));
  }
}

TEST(TreeIndexQuery, TreesOnCellBordersAndOnOneSpot) {
  TreeList trees = RandomStand(7, 400, 100.0, 100.0);
  TreeIndex index;
  BuildTreeIndex(index, trees);
  // Move trees onto the borders of the cells; box and count stay, so the cells stay too.
  const double cell = index.cell, ox = index.originX, oy = index.originY;
  double maxX = 0.0, maxY = 0.0;
  for (const TreeRecord& t : trees) {
    maxX = std::max(maxX, t.x);
    maxY = std::max(maxY, t.y);
  }
  for (std::size_t i = 0; i < trees.size(); i += 3) {
    if (trees[i].x == maxX || trees[i].y == maxY) continue;
    const double bx = ox + std::floor((trees[i].x - ox) / cell) * cell;
    const double by = oy + std::floor((trees[i].y - oy) / cell) * cell;
    if (bx > ox && by > oy) {
      trees[i].x = bx;
      trees[i].y = by;
    }
  }
  EXPECT_TRUE(RefreshTreeIndex(index, trees));
  ASSERT_EQ(index.cell, cell);
  std::vector<TreeRecord*> got;
  RandomGenerator r(9);
  for (int q = 0; q < 300; ++q) {
    const TreeRecord& t = trees[static_cast<std::size_t>(3 * r.Next(133))];
    TreeQuery query;
    const double radius = cell * (1 + r.Next(4));
    // Circles through the tree, with the centre on a cell border as well.
    query.cx = t.x + (q % 2 ? radius : 0.0);
    query.cy = t.y + (q % 2 ? 0.0 : -radius);
    query.radius = radius;
    QueryTreeIndex(index, trees, query, got);
    ExpectSupersetInListOrder(got, Within(trees, query.cx, query.cy, radius), "query " + std::to_string(q));
  }

  // No cap: 300 trees on one spot all come out.
  TreeList pile(300, TreeAt(30.0, 50.0, 50.0));
  pile.push_back(TreeAt(30.0, 0.0, 0.0));
  BuildTreeIndex(index, pile);
  QueryTreeIndex(index, pile, TreeQuery{50.0, 50.0, 0.0, 0.0}, got);
  EXPECT_EQ(got.size(), 300u);
  // Nor for the nearest trees: all trees at the n-th distance come out, in list order, whether few
  // (put in order one by one) or a crowd (by marks).
  TreeQuery nearest;
  nearest.nearest = 7;
  nearest.mainLimitSq = 144.0;
  nearest.radius = 12.0;
  nearest.cx = nearest.cy = 50.0;
  QueryTreeIndex(index, pile, nearest, got);
  EXPECT_EQ(got.size(), 300u);
  EXPECT_TRUE(std::is_sorted(got.begin(), got.end()));
  for (std::size_t crowd : {9u, 32u, 33u}) {
    TreeList mixed = RandomStand(8, 500, 100.0, 100.0);
    std::vector<std::size_t> spot;
    for (std::size_t i = 0; i < crowd; ++i) spot.push_back((i * 37 + 11) % mixed.size());
    std::sort(spot.begin(), spot.end());
    for (std::size_t i : spot) mixed[i].x = mixed[i].y = 40.0;
    BuildTreeIndex(index, mixed);
    nearest.cx = nearest.cy = 40.0;
    QueryTreeIndex(index, mixed, nearest, got);
    std::vector<TreeRecord*> expected;
    for (std::size_t i : spot) expected.push_back(&mixed[i]);
    EXPECT_EQ(got, expected) << crowd << " trees on the spot";
  }
}

// The angle count's own test of a tree against the centre, as the selection makes it.
bool AngleCountSelects(const TreeRecord& t, double cx, double cy, int k) {
  const double dx = t.x - cx, dy = t.y - cy;
  const double half = t.dbh * 0.5;
  return dx * dx + dy * dy < half * half / k;
}

TEST(TreeIndexQuery, AngleCountReachKeepsEveryTreeWhoseCircleHoldsTheCentre) {
  TreeList trees = RandomStand(11, 700, 120.0, 120.0);
  TreeIndex index;
  BuildTreeIndex(index, trees);
  MethodSettings m;
  m.passCode = kMethodAngleCount;
  for (std::uint8_t k : {1, 2, 4}) {
    m.countingFactor = k;
    TreeQuery query = TreeQueryFor(m);
    query.radius = SelectionSearchRadius(m, 60.0);
    RandomGenerator r(k);
    std::vector<TreeRecord*> got;
    for (int q = 0; q < 200; ++q) {
      query.cx = r.Next(1200) / 10.0;
      query.cy = r.Next(1200) / 10.0;
      QueryTreeIndex(index, trees, query, got);
      std::vector<const TreeRecord*> needed;
      for (const TreeRecord& t : trees)
        if (AngleCountSelects(t, query.cx, query.cy, k)) needed.push_back(&t);
      ExpectSupersetInListOrder(got, needed, "k " + std::to_string(k));
    }
  }
}

// One index serves rules one after the other (a new counting factor, other circles): what it keeps of a
// rule must never answer for the next, whose trees may reach farther.
TEST(TreeIndexQuery, OwnReachFollowsTheRule) {
  TreeList trees = RandomStand(12, 900, 140.0, 120.0);
  TreeIndex index;
  BuildTreeIndex(index, trees);
  struct Rule {
    MethodCode code;
    int factor;
    std::array<double, 4> radius, dbh;  // concentric circles 1..3 (index 0 unused)
  };
  const Rule rules[] = {
      {kMethodAngleCount, 4, {}, {}},
      {kMethodAngleCount, 1, {}, {}},
      {kMethodConcentric, 0, {0, 2, 4, 8}, {0, 10, 20, 40}},
      {kMethodConcentric, 0, {0, 3, 6, 12}, {0, 7, 15, 30}},
      {kMethodAngleCount, 2, {}, {}},
  };
  RandomGenerator r(5);
  std::vector<TreeRecord*> got;
  for (int round = 0; round < 2; ++round)
    for (const Rule& rule : rules) {
      MethodSettings m;
      m.passCode = rule.code;
      m.countingFactor = static_cast<std::uint8_t>(rule.factor);
      m.circleCount = 3;
      for (std::size_t c = 1; c <= 3; ++c) {
        m.concentricRadius[c] = rule.radius[c];
        m.concentricDbhLimit[c] = rule.dbh[c];
      }
      TreeQuery query = TreeQueryFor(m);
      query.radius = SelectionSearchRadius(m, 60.0);
      const ConcentricLimits limits = ConcentricLimitsOf(m);
      for (int q = 0; q < 100; ++q) {
        query.cx = r.Next(1400) / 10.0;
        query.cy = r.Next(1200) / 10.0;
        QueryTreeIndex(index, trees, query, got);
        std::vector<const TreeRecord*> needed;
        for (const TreeRecord& t : trees) {
          const double dx = t.x - query.cx, dy = t.y - query.cy;
          const double d2 = dx * dx + dy * dy;
          bool selected = false;
          if (rule.code == kMethodAngleCount) {
            selected = AngleCountSelects(t, query.cx, query.cy, rule.factor);
          } else {
            selected = d2 <= 144.0 &&
                       ConcentricRing(std::sqrt(d2), t.dbh, 3, std::span<const double>(limits.radius.data(), 7),
                                      std::span<const double>(limits.dbh.data(), 6)) >= 1;
          }
          if (selected) needed.push_back(&t);
        }
        ExpectSupersetInListOrder(got, needed, "rule " + std::to_string(rule.code) + "/" + std::to_string(rule.factor));
      }
    }
}

TEST(TreeIndex, FollowsTheTreeList) {
  TreeList trees = RandomStand(5, 50, 40.0, 40.0);
  TreeIndex index;
  EXPECT_TRUE(RefreshTreeIndex(index, trees));
  EXPECT_FALSE(RefreshTreeIndex(index, trees));
  EXPECT_EQ(index.builds, 1);
  trees[17].dbh += 0.1;  // another calliper limit or stand reads other trees
  EXPECT_TRUE(RefreshTreeIndex(index, trees));
  // The largest dbh (the angle count's search radius) follows the list, a dbh that is not a number
  // left out.
  trees[3].dbh = 250.0;
  trees[4].dbh = std::nan("");
  EXPECT_TRUE(RefreshTreeIndex(index, trees));
  EXPECT_EQ(index.largestDbh, 250.0);
  trees[3].dbh = 20.0;
  double largest = 0.0;
  for (const TreeRecord& t : trees) largest = std::max(largest, t.dbh);
  EXPECT_TRUE(RefreshTreeIndex(index, trees));
  EXPECT_EQ(index.largestDbh, largest);
  trees.pop_back();
  EXPECT_TRUE(RefreshTreeIndex(index, trees));
  // Asked about a list it was not built for, it hands out every tree rather than a wrong few.
  TreeList other = RandomStand(6, 60, 40.0, 40.0);
  std::vector<TreeRecord*> all;
  QueryTreeIndex(index, other, TreeQuery{20.0, 20.0, 1.0, 0.0}, all);
  EXPECT_EQ(all.size(), other.size());
  // Trees as far apart as 32-bit positions allow still make an index.
  TreeList wide = {TreeAt(20.0, -3.0e38, 0.0), TreeAt(20.0, 3.0e38, 5.0), TreeAt(20.0, 1.0, 1.0)};
  EXPECT_TRUE(RefreshTreeIndex(index, wide));
  QueryTreeIndex(index, wide, TreeQuery{1.0, 1.0, 2.0, 0.0}, all);
  ExpectSupersetInListOrder(all, Within(wide, 1.0, 1.0, 2.0), "far apart");
  TreeList empty;
  EXPECT_TRUE(RefreshTreeIndex(index, empty));
  std::vector<TreeRecord*> got{nullptr};
  QueryTreeIndex(index, empty, TreeQuery{1.0, 1.0, 5.0, 0.0}, got);
  EXPECT_TRUE(got.empty());
}

// ---- whole passes: the index against the plain scan ----

// Runs the same passes with the index and with the plain scan and compares every plot list.
void ComparePasses(const TreeList& trees, const BoundaryPolygon& boundary, const MethodSettings& method,
                   const std::string& name, int shifts = 6, int spacing = 12) {
  testing::PassPair pair(trees, boundary, method, spacing);
  if (!pair.FirstPass(name + " pass 0")) return;
  for (int pass = 1; pass < shifts; ++pass)
    if (!pair.ShiftedPass(name + " pass " + std::to_string(pass))) return;
}

using testing::Irregular;
using testing::Method;

TEST(IndexedPass, EqualsThePlainScanForEveryMethod) {
  const BoundaryPolygon boundary = Irregular();
  for (std::uint32_t seed : {21u, 22u}) {
    const TreeList trees = RandomStand(seed, 1200, 150.0, 110.0);
    for (MethodCode code : {kMethodFixedCircle, kMethodAngleCount, kMethodConcentric, kMethodNTree})
      for (bool treeCentred : {false, true})
        ComparePasses(trees, boundary, Method(code, treeCentred),
                      "method " + std::to_string(code) + (treeCentred ? " tree" : " plot") + " seed " +
                          std::to_string(seed));
  }
}

// Where the batch walks the trees, every centre must get exactly what a query of its own hands out:
// the same trees in the same order.
void ExpectBatchAsSingleQueries(TreeIndex& index, TreeList& trees, const TreeQuery& query, CentreBatch& batch,
                                bool walks, const std::string& where) {
  ASSERT_EQ(QueryTreeIndexBatch(index, trees, query, batch), walks) << where;
  if (!walks) return;
  ASSERT_EQ(batch.start.size(), batch.cx.size() + 1) << where;
  std::vector<TreeRecord*> single;
  for (std::size_t j = 0; j < batch.cx.size(); ++j) {
    TreeQuery q = query;
    q.cx = batch.cx[j];
    q.cy = batch.cy[j];
    QueryTreeIndex(index, trees, q, single);
    ASSERT_LE(batch.start[j + 1], batch.centreTrees.size()) << where;
    const std::vector<TreeRecord*> got(batch.centreTrees.begin() + static_cast<std::ptrdiff_t>(batch.start[j]),
                                       batch.centreTrees.begin() + static_cast<std::ptrdiff_t>(batch.start[j + 1]));
    ASSERT_EQ(got, single) << where << ", centre " << j << " at " << q.cx << ", " << q.cy;
  }
}

TEST(TreeIndexBatch, EveryCentreGetsWhatItsOwnQueryHandsOut) {
  TreeList trees = RandomStand(41, 1500, 120.0, 100.0);
  // Trees the index leaves out or that reach nowhere, and trees on one spot.
  trees[10].x = std::nan("");
  trees[11].y = std::numeric_limits<double>::infinity();
  trees[12].dbh = std::nan("");
  trees[13].dbh = 0.0;
  trees[14] = trees[15];
  TreeIndex index;
  BuildTreeIndex(index, trees);
  struct Rule {
    const char* name;
    MethodCode code;
    int factor;
  };
  const Rule rules[] = {{"fixed circle", kMethodFixedCircle, 0},
                        {"angle count 1", kMethodAngleCount, 1},
                        {"angle count 4", kMethodAngleCount, 4},
                        {"concentric", kMethodConcentric, 0}};
  RandomGenerator r(8);
  CentreBatch batch;
  for (const Rule& rule : rules) {
    MethodSettings m = Method(rule.code, false);
    m.passCode = rule.code;
    m.countingFactor = static_cast<std::uint8_t>(rule.factor);
    TreeQuery query = TreeQueryFor(m);
    query.radius = SelectionSearchRadius(m, index.largestDbh);
    // Whole-metre centres of a dense and of a sparse grid (a walk, except for the fixed radius, and no
    // walk), and odd centres: beyond the stand, on a tree, on a cell border.
    for (int spacing : {3, 5, 70}) {
      batch.cx.clear();
      batch.cy.clear();
      for (int y = -10; y <= 115; y += spacing)
        for (int x = -10 + r.Next(spacing); x <= 135; x += spacing) {
          batch.cx.push_back(x);
          batch.cy.push_back(y);
        }
      batch.cx.push_back(trees[20].x);
      batch.cy.push_back(trees[20].y);
      batch.cx.push_back(index.originX + 3 * index.cell);
      batch.cy.push_back(index.originY + 2 * index.cell);
      ExpectBatchAsSingleQueries(index, trees, query, batch, spacing < 70 && rule.code != kMethodFixedCircle,
                                 std::string(rule.name) + " spacing " + std::to_string(spacing));
    }
  }
  // No walk without centres, for a centre that is not a number or an n-tree query, or over a list the
  // index was not built for: a single query answers those.
  MethodSettings m = Method(kMethodAngleCount, false);
  m.passCode = kMethodAngleCount;
  TreeQuery query = TreeQueryFor(m);
  query.radius = SelectionSearchRadius(m, index.largestDbh);
  batch.cx.clear();
  batch.cy.clear();
  ExpectBatchAsSingleQueries(index, trees, query, batch, false, "no centres");
  for (int k = 0; k < 400; ++k) {
    batch.cx.push_back(k % 20 * 6.0);
    batch.cy.push_back(k / 20 * 5.0);
  }
  batch.cx[7] = std::nan("");
  ExpectBatchAsSingleQueries(index, trees, query, batch, false, "a centre not a number");
  batch.cx[7] = 7.0;
  ExpectBatchAsSingleQueries(index, trees, query, batch, true, "the same centres, all numbers");
  MethodSettings nTree = Method(kMethodNTree, false);
  nTree.passCode = kMethodNTree;
  nTree.treeNumber = 6;
  TreeQuery nearest = TreeQueryFor(nTree);
  nearest.radius = SelectionSearchRadius(nTree, index.largestDbh);
  ExpectBatchAsSingleQueries(index, trees, nearest, batch, false, "n-tree");
  TreeList other = RandomStand(42, 300, 50.0, 50.0);
  ExpectBatchAsSingleQueries(index, other, query, batch, false, "another list");
}

// Circles so large against the grid that each tree reaches many centres: the pass then finds the trees
// of all centres at once.
TEST(IndexedPass, OverlappingCirclesEqualThePlainScan) {
  const BoundaryPolygon boundary = Irregular();
  const TreeList trees = RandomStand(23, 900, 150.0, 110.0);
  for (MethodCode code : {kMethodAngleCount, kMethodConcentric})
    for (bool treeCentred : {false, true}) {
      MethodSettings m = Method(code, treeCentred);
      m.countingFactor = 1;
      m.concentricRadius = {0.0, 6.0, 12.0, 20.0, 0.0, 0.0, 0.0};
      m.concentricDbhLimit = {0, 7, 15, 30, 0, 0};
      ComparePasses(trees, boundary, m, "overlapping, method " + std::to_string(code) + (treeCentred ? " tree" : " plot"),
                    3, 11);
    }
}

TEST(IndexedPass, NTreeTiesVariantsAndUnderstoreyEqualThePlainScan) {
  const BoundaryPolygon boundary = Irregular();
  // Trees in rings around whole-metre spots: many at equal distances from the plot centres, which lie
  // on whole metres; sparse and dense parts so that the lists fill near and far.
  TreeList trees;
  RandomGenerator r(31);
  for (int i = 0; i < 260; ++i) {
    const double px = 5 + r.Next(140), py = 5 + r.Next(95);
    const double d = 0.5 * (1 + r.Next(16));
    const double dbh = r.Next(2) ? 8.0 : 7.0 + r.Next(400) / 10.0;
    trees.push_back(TreeAt(dbh, px + d, py));
    trees.push_back(TreeAt(dbh + 1.0, px - d, py));
    trees.push_back(TreeAt(dbh, px, py + d));
    if (i % 3 == 0) trees.push_back(TreeAt(dbh + 2.0, px, py - d));
  }
  for (int variant : {1, 4, 5}) {
    for (int n : {2, 6, 7}) {
      MethodSettings m = Method(kMethodNTree, false);
      m.treeNumber = n;
      m.variant = static_cast<NTreeVariant>(variant);
      if (variant == 4) {
        m.understoreyDbhLimit = 12.0;
        m.understoreyRadius = 6.0;
        m.understoreyRadiusSq = 36.0;
      }
      ComparePasses(trees, boundary, m, "n " + std::to_string(n) + " variant " + std::to_string(variant), 4);
    }
  }
}

// Weights that never fail: the n-tree selection only needs some weight to record its trees.
class UnitWeigher : public EdgeWeigher {
 public:
  double Weight(double, double, double, double, bool& failed) override {
    failed = false;
    return 1.0;
  }
};

// The index's nearest lists must be the selection's own from every tree in list order: the first n + 1
// slots of both lists, distances bit for bit, the same trees (a tie to the tree earlier in the list)
// and the layer markers; slots without a tree hold the list's limit.
TEST(TreeIndexNearestLists, AreTheListsTheSelectionTakesFromEveryTree) {
  TreeList trees = RandomStand(41, 700, 120.0, 90.0);
  // A crowd on one spot (more trees at one distance than a list holds) and a few trees far off, so
  // that some centres need ring after ring and some take every tree within the radius.
  for (int i = 0; i < 20; ++i) trees.push_back(TreeAt(8.0 + i, 60.0, 45.0, static_cast<std::uint8_t>(1 + i % 9)));
  for (int i = 0; i < 6; ++i) trees.push_back(TreeAt(40.0, 300.0 + 7.0 * i, 280.0 - 5.0 * i));
  std::swap(trees[3], trees[705]);  // a crowd tree early in the list
  TreeIndex index;
  BuildTreeIndex(index, trees);
  struct Understorey {
    double dbh, radius;
  };
  int centres = 0;
  for (int n : {2, 6, 7}) {
    for (const Understorey u : {Understorey{0.0, 0.0}, Understorey{12.0, 6.0}, Understorey{30.0, 15.0}}) {
      MethodSettings m;
      m.code = m.passCode = kMethodNTree;
      m.treeNumber = n;
      m.variant = 5;
      m.understoreyDbhLimit = u.dbh;
      m.understoreyRadius = u.radius;
      m.understoreyRadiusSq = u.radius * u.radius;
      TreeQuery query = TreeQueryFor(m);
      query.radius = SelectionSearchRadius(m, index.largestDbh);
      std::vector<std::pair<double, double>> points;
      for (double x = -20.0; x <= 140.0; x += 6.3)
        for (double y = -20.0; y <= 110.0; y += 5.9) points.emplace_back(x, y);
      for (auto p : {std::pair{60.0, 45.0}, {60.0, 46.0}, {310.0, 270.0}, {200.0, 200.0}, {-400.0, 50.0}})
        points.push_back(p);
      for (const auto& [x, y] : points) {
        const std::string where = "n " + std::to_string(n) + " understorey " + std::to_string(u.radius) +
                                  " at " + std::to_string(x) + ", " + std::to_string(y);
        SamplingState expected;
        expected.method = m;
        expected.pass.centreX = x;
        expected.pass.centreY = y;
        std::vector<TreeRecord*> all;
        for (TreeRecord& t : trees) all.push_back(&t);
        UnitWeigher weigher;
        GridPoint grid;
        ASSERT_TRUE(SelectNTreeTrees(expected, all, SelectionPoint{1, &grid, false}, weigher)) << where;
        const NearestLists& want = expected.scratch.nearest;
        for (TreeRecord& t : trees) t.layer = 7;
        NearestLists got;
        got.mainDist.fill(-1.0);
        got.underDist.fill(-1.0);
        query.cx = x;
        query.cy = y;
        ASSERT_TRUE(QueryNearestLists(index, trees, query, got)) << where;
        const auto same = [&](const std::array<double, 14>& wd, const std::array<TreeRecord*, 14>& wt,
                              const std::array<double, 14>& gd, const std::array<TreeRecord*, 14>& gt, double limit,
                              std::uint8_t layer, const char* list) {
          for (int i = 1; i <= n + 1; ++i) {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(wd[i]), std::bit_cast<std::uint64_t>(gd[i]))
                << where << ", " << list << " slot " << i;
            if (!(wd[i] < limit)) continue;
            EXPECT_EQ(wt[i], gt[i]) << where << ", " << list << " slot " << i;
            EXPECT_EQ(gt[i]->layer, layer) << where << ", " << list << " slot " << i;
          }
        };
        same(want.mainDist, want.mainTree, got.mainDist, got.mainTree, kNTreeMaxDistSq, 0, "main");
        same(want.underDist, want.underTree, got.underDist, got.underTree, m.understoreyRadiusSq, 1, "understorey");
        ++centres;
      }
    }
  }
  EXPECT_GT(centres, 4000);
}

TEST(TreeIndexNearestLists, LeavesTheListsAloneWhereItCannotTakeThem) {
  TreeList trees = RandomStand(42, 200, 60.0, 60.0);
  TreeIndex index;
  BuildTreeIndex(index, trees);
  MethodSettings m;
  m.code = m.passCode = kMethodNTree;
  m.treeNumber = 6;
  TreeQuery query = TreeQueryFor(m);
  query.radius = SelectionSearchRadius(m, index.largestDbh);
  query.cx = query.cy = 30.0;
  NearestLists lists;
  lists.mainDist.fill(-1.0);
  TreeQuery fixed;  // a circle query
  fixed.cx = fixed.cy = 30.0;
  fixed.radius = 10.0;
  EXPECT_FALSE(QueryNearestLists(index, trees, fixed, lists));
  TreeQuery nowhere = query;
  nowhere.cx = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(QueryNearestLists(index, trees, nowhere, lists));
  TreeList other = trees;
  other.pop_back();  // a list the index was not built for
  EXPECT_FALSE(QueryNearestLists(index, other, query, lists));
  EXPECT_EQ(lists.mainDist[1], -1.0);
  // A stand without trees gives empty lists.
  TreeList none;
  BuildTreeIndex(index, none);
  ASSERT_TRUE(QueryNearestLists(index, none, query, lists));
  EXPECT_EQ(lists.mainDist[1], kNTreeMaxDistSq);
}

}  // namespace
}  // namespace tolvek
