// Generation on small parameter sets: counts worked out by hand, and the properties the result window,
// the save step and the simulator rely on.
#include "generator/generation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "common/tree_file.h"

namespace tolvek::generator {
namespace {

GenerationParameters Rows(std::initializer_list<SpeciesRow> rows, std::array<int, kNineCount> nine = {}) {
  GenerationParameters p;
  int i = 0;
  for (const auto& r : rows) p.rows[i++] = r;
  p.nine = nine;
  return p;
}

// Row 1 only: spruce, 30 cm, 20 %, 400 stems per ha; nothing else.
GenerationParameters SpruceOnly() { return Rows({{1, 30, 20, 0, 400}}); }

struct Counts {
  int standing = 0;
  int gap = 0;
  std::array<int, 10> bySpecies{};
};
Counts Count(const GeneratedStand& s) {
  Counts c;
  for (const auto& t : s.trees) {
    if (t.x == kGapPosition) ++c.gap;
    if (s.Standing(t)) {
      ++c.standing;
      ++c.bySpecies[t.species];
    }
  }
  return c;
}

GeneratedStand Generate(const GenerationParameters& p, GenerationLevel level, int pass, RandomGenerator& r,
                        GenerationResult* out = nullptr) {
  GenerationResult g = GenerateStand(p, level, pass, r);
  EXPECT_TRUE(g.stand.has_value() && g.outcome.ok());
  if (out) *out = g;
  return g.stand ? *g.stand : GeneratedStand{};
}

TEST(Generation, StrictLatticeByHand) {
  // A = 90000 m², T = 400 × 0.0001 × 90000 = 3600, m = 25 m², b = sqrt(25 / 3.46), 3600 nodes, columns b
  // apart and 2d = 2 × 1.732 b apart within a column; the first tree at (b/2, 3), the second 2d above it.
  RandomGenerator r(0);
  int pass = 1;
  const GeneratedStand s = Generate(SpruceOnly(), GenerationLevel::kStand, pass, r);
  const double b = std::sqrt(25.0 / 3.46);
  EXPECT_DOUBLE_EQ(b, 2.688016652852352);
  ASSERT_EQ(s.trees.size(), 3600u);
  EXPECT_EQ(pass, 1);
  EXPECT_DOUBLE_EQ(s.trees[0].x, b / 2);
  EXPECT_DOUBLE_EQ(s.trees[0].y, 3.0);
  EXPECT_DOUBLE_EQ(s.trees[1].x, b / 2);
  EXPECT_DOUBLE_EQ(s.trees[1].y, 3.0 + 2 * (b * 1.732));
  // The first tree of the second column: shifted by d, one column (b) to the right.
  int second = 0;
  while (s.trees[second].x == b / 2) ++second;
  EXPECT_DOUBLE_EQ(s.trees[second].x, b / 2 + b);
  EXPECT_DOUBLE_EQ(s.trees[second].y, b * 1.732 + 3.0);
  EXPECT_EQ(Count(s).standing, 3600);
  EXPECT_EQ(CountStandingTrees(s), 3600);
  // The tree file holds every tree, and the first record is byte for byte the cross-checked one.
  const std::string bytes = EncodeTreeFile(s.TreeFileRecords());
  ASSERT_EQ(bytes.size(), 57600u);
  const unsigned char first[16] = {0x01, 0, 0, 0, 0xf4, 0x86, 0xb4, 0x41, 0x77, 0x08, 0xac, 0x3f, 0, 0, 0x40, 0x40};
  EXPECT_EQ(std::memcmp(bytes.data(), first, 16), 0);
  EXPECT_EQ(r.Seed(), 2975496944u);
}

TEST(Generation, MixtureWithGapGroupsAndFellingOverTwoPasses) {
  // Three rows, a 60 × 40 m gap with 20 % left, two groups of 100 m, 10 % felled; the second pass takes
  // the second gap centre and goes on with the seed where the first left it.
  const GenerationParameters p = Rows({{1, 30, 20, 0, 300}, {5, 25, 30, 0, 200}, {}, {}, {9, 15, 40, 0, 100}},
                                      {5, 60, 40, 20, 2, 100, 80, 40, 10});
  RandomGenerator r(0);
  int pass = 1;
  GenerationResult g;
  GeneratedStand s = Generate(p, GenerationLevel::kStand, pass, r, &g);
  EXPECT_EQ(s.trees.size(), 5492u);
  EXPECT_EQ(g.gapRemovals, 88);
  EXPECT_EQ(g.felled, 563);
  EXPECT_EQ(g.closeRemovals, 0);
  Counts c = Count(s);
  EXPECT_EQ(c.standing, 4850);
  EXPECT_EQ(c.bySpecies[1], 2397);
  EXPECT_EQ(c.bySpecies[5], 1824);
  EXPECT_EQ(c.bySpecies[9], 629);
  pass = 2;
  s = Generate(p, GenerationLevel::kStand, pass, r, &g);
  EXPECT_EQ(s.pass, 2);
  EXPECT_EQ(g.gapRemovals, 94);
  EXPECT_EQ(g.felled, 514);
  EXPECT_EQ(Count(s).standing, 4887);
}

TEST(Generation, RandomForestWithGapOnTheEnterpriseLevel) {
  const GenerationParameters p = Rows({{2, 35, 25, 0, 500}}, {9, 30, 30, 0, 0, 0, 0, 0, 0});
  RandomGenerator r(0);
  int pass = 1;
  GenerationResult g;
  const GeneratedStand s = Generate(p, GenerationLevel::kEnterprise, pass, r, &g);
  EXPECT_EQ(s.trees.size(), 538u);
  EXPECT_EQ(g.gapRemovals, 37);
  EXPECT_EQ(g.closeRemovals, 18);
  EXPECT_EQ(Count(s).standing, 483);
}

TEST(Generation, PlenterForestDiametersStayInTheirRange) {
  GenerationParameters p = SpruceOnly();
  p.nine[kStemDistribution] = 8;
  p.plenterForest = true;
  RandomGenerator r(0);
  int pass = 1;
  const GeneratedStand s = Generate(p, GenerationLevel::kEnterprise, pass, r);
  ASSERT_EQ(s.trees.size(), 400u);
  for (const auto& t : s.trees) {
    EXPECT_GE(t.dbh, 10.0);
    EXPECT_LT(t.dbh, 60.0);
  }
}

TEST(Generation, SameParametersAndSeedGiveTheSameBytes) {
  const GenerationParameters p = Rows({{1, 30, 20, 0, 300}, {5, 25, 30, 0, 200}, {}, {}, {9, 15, 40, 0, 100}},
                                      {7, 60, 40, 20, 2, 100, 80, 40, 10});
  RandomGenerator a(0), b(0);
  int pa = 3, pb = 3;
  EXPECT_EQ(EncodeTreeFile(Generate(p, GenerationLevel::kStand, pa, a).TreeFileRecords()),
            EncodeTreeFile(Generate(p, GenerationLevel::kStand, pb, b).TreeFileRecords()));
}

TEST(Generation, FullRestStockingKeepsTheGapAndAZeroGapDrawsNothing) {
  GenerationParameters p = SpruceOnly();
  p.nine = {0, 60, 40, 100, 0, 0, 0, 0, 0};
  RandomGenerator r(0);
  int pass = 1;
  EXPECT_EQ(Count(Generate(p, GenerationLevel::kStand, pass, r)).gap, 0);
  // A gap of no extent in one direction is no gap: the strict lattice then draws exactly its two jitter
  // numbers per tree, the same as without any gap.
  p.nine = {0, 60, 0, 0, 0, 0, 0, 0, 0};
  RandomGenerator withGap(0), without(0);
  int p1 = 1, p2 = 1;
  Generate(p, GenerationLevel::kStand, p1, withGap);
  Generate(SpruceOnly(), GenerationLevel::kStand, p2, without);
  EXPECT_EQ(withGap.Seed(), without.Seed());
}

TEST(Generation, RowsOfOneSpeciesTakeLayersAndLeftoversStayUnassigned) {
  // Rows 1 and 3 spruce, row 2 beech, no row 5: row 3's trees have layer 1; trees no row took keep
  // species 0 and diameter 0.
  // Whether a row leaves trees over is chance (the last row takes its share of what is left), so a few
  // seeds are tried.
  const GenerationParameters p = Rows({{1, 30, 20, 0, 200}, {5, 25, 30, 0, 100}, {1, 12, 20, 0, 100}});
  int leftovers = 0;
  for (std::uint32_t seed = 0; seed < 20; ++seed) {
    RandomGenerator r(seed);
    int pass = 1;
    for (const auto& t : Generate(p, GenerationLevel::kEnterprise, pass, r).trees) {
      if (t.row == 3) {
        EXPECT_EQ(t.layer, 1);
      }
      if (t.row == 1) {
        EXPECT_EQ(t.layer, 0);
      }
      if (t.row == 0) {
        ++leftovers;
        EXPECT_EQ(t.species, 0);
        EXPECT_EQ(t.dbh, 0.0);
      }
    }
  }
  EXPECT_GT(leftovers, 0);
  // A fifth row takes every tree still unassigned.
  GenerationParameters q = p;
  q.rows[4] = {9, 15, 40, 0, 50};
  RandomGenerator r2(0);
  int pass = 1;
  for (const auto& t : Generate(q, GenerationLevel::kEnterprise, pass, r2).trees) EXPECT_NE(t.species, 0);
}

TEST(Generation, NoStemsIsRefusedWithoutADraw) {
  RandomGenerator r(77);
  int pass = 4;
  const GenerationResult g = GenerateStand(Rows({{1, 30, 20, 0, 0}}), GenerationLevel::kStand, pass, r);
  EXPECT_FALSE(g.stand);
  ASSERT_FALSE(g.outcome.ok());
  EXPECT_EQ(g.outcome.problem().message, "Stammzahl / ha insgesamt muss zwischen 1 und 9999 liegen");
  EXPECT_EQ(r.Seed(), 77u);
  EXPECT_EQ(pass, 4);
}

TEST(Generation, StandLevelFileOnTheEnterpriseLevelIsValidatedFirst) {
  // A 150 × 150 m gap is larger than the 100 × 100 m stand: unvalidated it makes the area per tree
  // negative. Through the field rules it becomes 50 × 50 m and the node count stays sound.
  GenerationParameters p = Rows({{1, 30, 20, 0, 400}}, {0, 150, 150, 0, 1, 150, 50, 50, 0});
  ValidateAll(p, GenerationLevel::kEnterprise);
  EXPECT_EQ(p.nine[kGapEastWest], 50);
  EXPECT_EQ(p.nine[kGroupDiameter], 50);
  RandomGenerator r(0);
  int pass = 1;
  const GeneratedStand s = Generate(p, GenerationLevel::kEnterprise, pass, r);
  // m = (10000 − 50 × 0.785… × 50) / 400 = 20.09; 10000 / m = 497.8 → 498 nodes.
  EXPECT_EQ(s.trees.size(), 498u);
}

TEST(CloseTrees, TheLaterOfTwoTreesHalfAMetreApartGoes) {
  std::vector<GeneratedTree> t(3);
  t[0].x = 10.0;
  t[0].y = 10.0;
  t[1].x = 10.5;
  t[1].y = 10.0;  // 0.25 < 0.5: goes
  t[2].x = 10.0;
  t[2].y = 10.75;  // 0.5625 from the first, and the second is gone: stays
  auto u = t;
  EXPECT_EQ(RemoveCloseTrees(t), 1);
  EXPECT_EQ(t[1].x, kRemovedPosition);
  EXPECT_EQ(t[2].x, 10.0);
  EXPECT_EQ(RemoveCloseTreesPairwise(u), 1);
}

TEST(CloseTrees, CellHashAgreesWithThePairwiseLoop) {
  // Dense clusters and chains, where a removed tree must not remove its own neighbours.
  RandomGenerator r(4242);
  for (int round = 0; round < 20; ++round) {
    std::vector<GeneratedTree> t(3000);
    for (auto& tree : t) {
      const int cluster = r.Next(30);
      tree.x = (cluster % 6) * 40.0 + r.NextReal() * (round % 2 ? 6.0 : 20.0) + 0.1;
      tree.y = (cluster / 6) * 40.0 + r.NextReal() * 6.0 + 0.1;
      if (r.Next(50) == 0) tree.x = -1.0;
    }
    auto u = t;
    const int fast = RemoveCloseTrees(t);
    const int plain = RemoveCloseTreesPairwise(u);
    ASSERT_EQ(fast, plain);
    for (std::size_t i = 0; i < t.size(); ++i) ASSERT_TRUE(t[i].x == u[i].x && t[i].y == u[i].y) << i;
  }
}

}  // namespace
}  // namespace tolvek::generator
