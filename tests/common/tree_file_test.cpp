#include "common/tree_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <limits>

#include "common/paths.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

using testing::TempDir;

TEST(TreeFile, RecordLayoutIsLittleEndianWithZeroedReservedBytes) {
  std::string bytes = EncodeTreeFile({{5, 32.5f, 1.0f, -2.0f}});
  ASSERT_EQ(bytes.size(), 16u);
  EXPECT_EQ(bytes[0], 5);
  EXPECT_EQ(bytes.substr(1, 3), std::string(3, '\0'));
  // 32.5f = 0x42020000, 1.0f = 0x3F800000, -2.0f = 0xC0000000
  EXPECT_EQ(bytes.substr(4, 4), std::string("\x00\x00\x02\x42", 4));
  EXPECT_EQ(bytes.substr(8, 4), std::string("\x00\x00\x80\x3F", 4));
  EXPECT_EQ(bytes.substr(12, 4), std::string("\x00\x00\x00\xC0", 4));
}

TEST(TreeFile, ReservedBytesAreIgnoredAndOrderIsKept) {
  std::string bytes = EncodeTreeFile({{1, 10.0f, 5.0f, 6.0f}, {9, 20.0f, 7.0f, 8.0f}});
  bytes[1] = '\x7F';  // written as zero, never read
  std::vector<TreeFileRecord> r;
  ASSERT_TRUE(DecodeTreeFile(bytes, r).ok());
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].species, 1);
  EXPECT_EQ(r[1].species, 9);
  EXPECT_FLOAT_EQ(r[1].dbh, 20.0f);
  EXPECT_FLOAT_EQ(r[1].y, 8.0f);
}

TEST(TreeFile, DamagedFilesAreRefusedAndLeaveTheOutputAlone) {
  std::vector<TreeFileRecord> r{{3, 1.0f, 1.0f, 1.0f}};
  std::string good = EncodeTreeFile({{1, 10.0f, 5.0f, 6.0f}, {2, 11.0f, 5.0f, 6.0f}});

  auto truncated = DecodeTreeFile(good.substr(0, 31), r);
  EXPECT_EQ(truncated.problem, TreeFileProblem::Truncated);

  std::string badSpecies = good;
  badSpecies[16] = 10;
  auto species = DecodeTreeFile(badSpecies, r);
  EXPECT_EQ(species.problem, TreeFileProblem::BadSpecies);
  EXPECT_EQ(species.recordIndex, 1u);

  for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
    std::string nonFinite = EncodeTreeFile({{1, 10.0f, 5.0f, 6.0f}, {1, 10.0f, bad, 6.0f}});
    auto nf = DecodeTreeFile(nonFinite, r);
    EXPECT_EQ(nf.problem, TreeFileProblem::NonFinite);
    EXPECT_EQ(nf.recordIndex, 1u);
  }
  // A position beyond ±1e6 m: however sound the other records, that one is damaged.
  const float far = std::nextafter(1.0e6f, 2.0e6f);
  ASSERT_TRUE(DecodeTreeFile(EncodeTreeFile({{1, 10.0f, 1.0e6f, -1.0e6f}}), r).ok());
  for (TreeFileRecord bad : {TreeFileRecord{1, 10.0f, far, 6.0f}, TreeFileRecord{1, 10.0f, 5.0f, -far},
                             TreeFileRecord{0, 0.0f, -far, 0.0f}}) {
    auto range = DecodeTreeFile(EncodeTreeFile({{1, 10.0f, 5.0f, 6.0f}, {1, 10.0f, 5.0f, 6.0f}, bad}), r);
    EXPECT_EQ(range.problem, TreeFileProblem::OutOfRange);
    EXPECT_EQ(range.recordIndex, 2u);
  }
  r = {{3, 1.0f, 1.0f, 1.0f}};
  auto huge = DecodeTreeFile(std::string((kMaxTreeFileRecords + 1) * kTreeFileRecordSize, '\0'), r);
  EXPECT_EQ(huge.problem, TreeFileProblem::TooLarge);
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].species, 3);
}

TEST(TreeFile, AHugeFileIsRefusedFromItsSizeBeforeItIsRead) {
  // 2 GB (a sparse file: no disk is used), one record more than a stand can have, and the most it may have.
  TempDir dir;
  const std::uintmax_t limit = kMaxTreeFileRecords * kTreeFileRecordSize;
  std::vector<TreeFileRecord> r;
  for (std::uintmax_t size : {std::uintmax_t{2000000000}, limit + kTreeFileRecordSize}) {
    dir.Write("wHuge.txt", "");
    std::filesystem::resize_file(dir.File("wHuge.txt"), size);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadTreeFile(dir.File("wHuge.txt"), r).problem, TreeFileProblem::TooLarge) << size;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  }
  std::filesystem::resize_file(dir.File("wHuge.txt"), limit);
  EXPECT_TRUE(ReadTreeFile(dir.File("wHuge.txt"), r).ok());
  EXPECT_EQ(r.size(), kMaxTreeFileRecords);
}

TEST(TreeFile, EmptyFileHasNoTreesAndMissingFileIsReported) {
  TempDir dir;
  dir.Write("wEmpty.txt", "");
  std::vector<TreeFileRecord> r{{1, 1, 1, 1}};
  EXPECT_TRUE(ReadTreeFile(dir.File("wEmpty.txt"), r).ok());
  EXPECT_TRUE(r.empty());
  EXPECT_EQ(ReadTreeFile(dir.File("nothere.txt"), r).problem, TreeFileProblem::CannotRead);
}

TEST(TreeFile, WriterRoundTripsAndAFailedWriteKeepsTheOldFile) {
  TempDir dir;
  std::vector<TreeFileRecord> trees{{4, 45.25f, 150.5f, 299.75f}, {0, 0.0f, -1.0f, 0.0f}};
  ASSERT_TRUE(WriteTreeFile(dir.File("wStand301.txt"), trees).ok());
  std::vector<TreeFileRecord> back;
  ASSERT_TRUE(ReadTreeFile(dir.File("wStand301.txt"), back).ok());
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].species, 4);
  EXPECT_FLOAT_EQ(back[0].x, 150.5f);
  EXPECT_FLOAT_EQ(back[1].x, -1.0f);

  const Outcome written = WriteTreeFile(dir.File("no/such/folder/w.txt"), trees);
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.problem().where, dir.File("no/such/folder/w.txt"));
}

}  // namespace
}  // namespace tolvek
