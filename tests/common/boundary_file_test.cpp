#include "common/boundary_file.h"

#include <gtest/gtest.h>

#include "tests/support/fakes.h"

namespace tolvek {
namespace {

std::string Ring(int corners) {
  // corners distinct points on a line pattern, then the first again
  std::string text;
  for (int i = 0; i < corners; ++i) text += std::to_string(i) + " " + std::to_string((i * i) % 7) + "\n";
  return text + "0 0\n";
}

TEST(BoundaryFile, GeneratorFileReadsBackAsWritten) {
  std::string text = EncodeBoundaryFile(RectangleBoundary(300.0, 300.0));
  EXPECT_EQ(text.substr(0, 22), "       0.0       0.0\r\n");
  EXPECT_EQ(text.substr(22, 22), "       0.0     300.0\r\n");
  std::vector<BoundaryPoint> p;
  ASSERT_TRUE(ParseBoundaryText(text, p).ok());
  ASSERT_EQ(p.size(), 5u);
  EXPECT_EQ(p[2].x, 300.0);
  EXPECT_EQ(p[2].y, 300.0);
}

TEST(BoundaryFile, FreeFormatAndStopsAtTheFirstRepetition) {
  std::vector<BoundaryPoint> p;
  ASSERT_TRUE(ParseBoundaryText("0 0 0\t100\n100 100 100 0 0 0\n55 66\nrubbish", p).ok());
  EXPECT_EQ(p.size(), 5u);
  EXPECT_EQ(p[1].y, 100.0);
}

TEST(BoundaryFile, NearlyClosedRingCountsAsClosed) {
  std::vector<BoundaryPoint> p;
  EXPECT_TRUE(ParseBoundaryText("0 0\n0 10\n10 10\n10 0\n0.005 -0.01\n", p).ok());
  EXPECT_EQ(p.size(), 5u);
}

TEST(BoundaryFile, BadFilesAreRefused) {
  std::vector<BoundaryPoint> p{{7, 7}};
  EXPECT_EQ(ParseBoundaryText("0 0\n0 10\n10 10\n10 0\n", p).problem, BoundaryFileProblem::NotClosed);
  EXPECT_EQ(ParseBoundaryText("0 0\n0 10\n10 x\n", p).problem, BoundaryFileProblem::NotANumber);
  EXPECT_EQ(ParseBoundaryText("0 0\n0 nan\n", p).problem, BoundaryFileProblem::NotANumber);
  EXPECT_EQ(ParseBoundaryText("0 0\n0 10\n10 10\n10 0\n0", p).problem, BoundaryFileProblem::OddValueCount);
  EXPECT_EQ(ParseBoundaryText("0 0\n0 10\n0 0\n", p).problem, BoundaryFileProblem::TooFewPoints);
  EXPECT_EQ(ParseBoundaryText("", p).problem, BoundaryFileProblem::NotClosed);
  EXPECT_EQ(p.size(), 1u);  // untouched
}

TEST(BoundaryFile, CornersMayLieOnANationalGridButNotSpanMoreThanAThousandKilometres) {
  std::vector<BoundaryPoint> p;
  ASSERT_TRUE(ParseBoundaryText("3500000 5400000 3500000 5400100 3500100 5400100 3500000 5400000", p).ok());
  ASSERT_TRUE(ParseBoundaryText("-1e8 -1e8 -1e8 -99000000 -99000000 -1e8 -1e8 -1e8", p).ok());
  ASSERT_TRUE(ParseBoundaryText("0 0 0 1e6 1e6 0 0 0", p).ok());
  struct Case {
    const char* text;
    int point;
  };
  for (const Case& c : {Case{"0 0 0 10 10 1.00000001e8 0 0", 3}, Case{"0 0 0 10 1000000.1 10 0 0", 3},
                        Case{"5 -600000 5 10 5 400001 10 0 5 -600000", 3},
                        Case{"0 0 0 .3 1.7976931348623157e308 0 0 0", 3}}) {
    BoundaryFileReadResult r = ParseBoundaryText(c.text, p);
    EXPECT_EQ(r.problem, BoundaryFileProblem::OutOfRange) << c.text;
    EXPECT_EQ(r.point, c.point) << c.text;
  }
}

TEST(BoundaryFile, AtMost59PointsIncludingTheClosingOne) {
  std::vector<BoundaryPoint> p;
  EXPECT_TRUE(ParseBoundaryText(Ring(58), p).ok());
  EXPECT_EQ(p.size(), 59u);
  EXPECT_EQ(ParseBoundaryText(Ring(59), p).problem, BoundaryFileProblem::TooManyPoints);
}

TEST(BoundaryFile, FileReaderAndWriter) {
  testing::TempDir dir;
  std::vector<BoundaryPoint> p;
  EXPECT_EQ(ReadBoundaryFile(dir.File("Grenze01.txt"), p).problem, BoundaryFileProblem::CannotRead);
  ASSERT_TRUE(WriteBoundaryFile(dir.File("Grenze01.txt"), RectangleBoundary(120.0, 80.5)).ok());
  ASSERT_TRUE(ReadBoundaryFile(dir.File("Grenze01.txt"), p).ok());
  EXPECT_EQ(p[2].y, 80.5);
}

}  // namespace
}  // namespace tolvek
