#include "simulator/stand/tree_list.h"

#include <gtest/gtest.h>

namespace tolvek {
namespace {

TreeReadRules Rules(int number = 7, std::string text = "07") {
  TreeReadRules r;
  r.standNumber = number;
  r.numberText = std::move(text);
  return r;
}

TEST(BuildTreeList, SumsOfASmallStand) {
  std::vector<TreeFileRecord> records{
      {1, 20.0f, 10.0f, 10.0f},  // spruce
      {1, 30.0f, 20.0f, 15.0f},  // spruce
      {5, 40.0f, 30.0f, -12.5f}, // beech, y read as 12.5
      {5, 6.0f, 40.0f, 20.0f},   // below 7 cm: not part of the stand
      {3, 25.0f, -1.0f, 20.0f},  // removed tree (x <= 0)
  };
  RandomGenerator random(1);
  TreeList trees;
  SpeciesSums s;
  BuildTreeList(records, Rules(), random, trees, s);
  ASSERT_EQ(trees.size(), 3u);
  EXPECT_EQ(trees[2].y, 12.5);
  EXPECT_EQ(trees[2].weightDone, 0);
  EXPECT_EQ(s.count[0], 3);
  EXPECT_EQ(s.count[1], 2);
  EXPECT_EQ(s.count[5], 1);
  EXPECT_EQ(s.count[3], 0);
  EXPECT_DOUBLE_EQ(s.basalArea[1], 400.0 * 7.853e-5 + 900.0 * 7.853e-5);
  EXPECT_DOUBLE_EQ(s.basalArea[0], s.basalArea[1] + s.basalArea[5]);
  EXPECT_DOUBLE_EQ(s.dbhSum[0], 90.0);
  EXPECT_EQ(s.classCounts[1][3], 1);  // 20 cm: (20 + 4) / 8 = 3
  EXPECT_EQ(s.classCounts[1][4], 1);  // 30 cm: 4.25
  EXPECT_EQ(s.classCounts[5][5], 1);  // 40 cm: 5.5
  EXPECT_EQ(s.histogram[0], 3);
  int inClasses = 0;
  for (int k = 1; k <= kHistogramClasses; ++k) inClasses += s.histogram[k];
  EXPECT_EQ(inClasses, 3);
  // A 20 cm tree lands in class 10 or 11, depending on its jitter.
  EXPECT_EQ(s.histogram[10] + s.histogram[11], 1);
}

TEST(BuildTreeList, EmptyFileGivesEmptyListAndZeroSums) {
  RandomGenerator random(1);
  TreeList trees(3);
  SpeciesSums s;
  s.count[0] = 9;
  BuildTreeList({}, Rules(), random, trees, s);
  EXPECT_TRUE(trees.empty());
  EXPECT_EQ(s.count[0], 0);
  EXPECT_EQ(s.histogram[0], 0);
}

TEST(BuildTreeList, HistogramCountsStandsOfMoreThan65535Trees) {
  // The generator's densest stands hold about 90 000 trees.
  std::vector<TreeFileRecord> records(90000, TreeFileRecord{1, 30.0f, 10.0f, 10.0f});
  RandomGenerator random(1);
  TreeList trees;
  SpeciesSums s;
  BuildTreeList(records, Rules(), random, trees, s);
  EXPECT_EQ(s.histogram[0], 90000u);
  EXPECT_EQ(s.histogram[15] + s.histogram[16], 90000u);
}

TEST(BuildTreeList, CalliperLimitsAreInclusive) {
  std::vector<TreeFileRecord> records{{1, 0.0f, 1.0f, 1.0f}, {1, 20.0f, 1.0f, 1.0f}, {1, 19.9f, 1.0f, 1.0f},
                                      {1, 999.0f, 1.0f, 1.0f}, {1, 1000.0f, 1.0f, 1.0f}};
  RandomGenerator random(1);
  TreeList trees;
  SpeciesSums s;
  TreeReadRules r = Rules();
  r.calliper.lower = 0.0;
  BuildTreeList(records, r, random, trees, s);
  EXPECT_EQ(trees.size(), 4u);  // 1000 cm is above the upper limit
  EXPECT_EQ(trees[0].dbh, 0.0);
  // A tree of dbh 0 still counts once as a tree and goes into the first 2-cm class.
  EXPECT_EQ(s.histogram[0], 4);
  EXPECT_GE(s.histogram[1], 1);

  r.calliper.lower = 20.0;
  BuildTreeList(records, r, random, trees, s);
  ASSERT_EQ(trees.size(), 2u);
  EXPECT_EQ(trees[0].dbh, 20.0);
  EXPECT_EQ(trees[1].dbh, 999.0);
}

TEST(BuildTreeList, LastRecordOutsideTheLimitsIsDroppedOthersKept) {
  std::vector<TreeFileRecord> records{{1, 20.0f, 1.0f, 1.0f}, {2, 21.0f, 1.0f, 1.0f}, {2, 3.0f, 5.0f, 1.0f}};
  RandomGenerator random(1);
  TreeList trees;
  SpeciesSums s;
  BuildTreeList(records, Rules(), random, trees, s);
  EXPECT_EQ(trees.size(), 2u);
}

TEST(BuildTreeList, Stand71KeepsAtMost1121Trees) {
  std::vector<TreeFileRecord> records(2000, TreeFileRecord{1, 20.0f, 1.0f, 1.0f});
  RandomGenerator random(1);
  TreeList trees;
  SpeciesSums s;
  BuildTreeList(records, Rules(71, "71"), random, trees, s);
  EXPECT_EQ(trees.size(), 1121u);
  EXPECT_EQ(s.count[0], 1121);
  BuildTreeList(records, Rules(72, "72"), random, trees, s);
  EXPECT_EQ(trees.size(), 2000u);
}

TEST(BuildTreeList, Stand88IsShiftedAfterTheAbsoluteValue) {
  std::vector<TreeFileRecord> records{{1, 20.0f, 5.0f, -7.0f}};
  RandomGenerator random(1);
  TreeList trees;
  SpeciesSums s;
  BuildTreeList(records, Rules(88, "88"), random, trees, s);
  ASSERT_EQ(trees.size(), 1u);
  EXPECT_EQ(trees[0].x, 35.0);
  EXPECT_EQ(trees[0].y, 27.0);
}

TEST(BuildTreeList, SpeciesZeroCountsOnceInTheWholeStand) {
  std::vector<TreeFileRecord> records{{0, 20.0f, 5.0f, 7.0f}, {2, 20.0f, 5.0f, 7.0f}};
  RandomGenerator random(1);
  TreeList trees;
  SpeciesSums s;
  BuildTreeList(records, Rules(), random, trees, s);
  EXPECT_EQ(s.count[0], 2);
  EXPECT_DOUBLE_EQ(s.basalArea[0], 2 * 400.0 * 7.853e-5);
  EXPECT_DOUBLE_EQ(s.dbhSum[0], 40.0);
}

TEST(BuildTreeList, HistogramJitterRoundsHalfToEvenAndStopsAtClassForty) {
  // This seed makes the first draw exactly 0.5 and the second just above it: a 21 cm tree then lies at
  // (0.5 + 21 - 0.5) / 2 = 10.5, which goes to the even class 10, the next one just past it to class 11.
  std::vector<TreeFileRecord> records{{1, 21.0f, 1.0f, 1.0f}, {1, 21.0f, 2.0f, 1.0f}, {1, 100.0f, 3.0f, 1.0f}};
  RandomGenerator random(2796574515u);
  TreeList trees;
  SpeciesSums s;
  BuildTreeList(records, Rules(), random, trees, s);
  EXPECT_EQ(s.histogram[10], 1);
  EXPECT_EQ(s.histogram[11], 1);
  EXPECT_EQ(s.histogram[40], 1);
  EXPECT_EQ(s.histogram[0], 3);
}

TEST(DiameterClass, EightCentimetreClassesCappedAtTen) {
  EXPECT_EQ(DiameterClass(3.9), 0);
  EXPECT_EQ(DiameterClass(4.0), 1);
  EXPECT_EQ(DiameterClass(11.99), 1);
  EXPECT_EQ(DiameterClass(12.0), 2);
  EXPECT_EQ(DiameterClass(75.9), 9);
  EXPECT_EQ(DiameterClass(76.0), 10);
  EXPECT_EQ(DiameterClass(300.0), 10);
}

}  // namespace
}  // namespace tolvek
