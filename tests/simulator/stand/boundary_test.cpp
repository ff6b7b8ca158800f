#include "simulator/stand/boundary.h"

#include <gtest/gtest.h>

#include "tests/support/fakes.h"

namespace tolvek {
namespace {

class FakeRegister : public StandRegisterCorners {
 public:
  bool current = true;
  std::array<double, 5> x{}, y{};
  bool CurrentCorners(std::array<double, 5>& cx, std::array<double, 5>& cy) const override {
    cx = x;
    cy = y;
    return current;
  }
  int EntryCount() const override { return 0; }
  std::string EntryText(int) const override { return {}; }
  std::uint8_t EntryStandType(int) const override { return 0; }
  std::uint8_t EntryAgeClass(int) const override { return 0; }
};

TEST(Boundary, GeneratorRectangleIsClockwiseWithNineHectares) {
  BoundaryPolygon b;
  SetBoundaryPoints(RectangleBoundary(300.0, 300.0), b);
  EXPECT_EQ(b.n, 5);
  EXPECT_DOUBLE_EQ(b.signedArea, 90000.0);
  EXPECT_DOUBLE_EQ(b.areaHa, 9.0);
  EXPECT_EQ(b.y[2], 300.0);
}

TEST(Boundary, CounterClockwiseRingIsReversed) {
  BoundaryPolygon b;
  SetBoundaryPoints({{0, 0}, {300, 0}, {300, 300}, {0, 300}, {0, 0}}, b);
  EXPECT_DOUBLE_EQ(b.signedArea, -90000.0);  // as found, before the reversal
  EXPECT_DOUBLE_EQ(b.areaHa, 9.0);
  const double wantX[] = {0, 0, 0, 300, 300, 0};
  const double wantY[] = {0, 0, 300, 300, 0, 0};
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(b.x[i], wantX[i]) << i;
    EXPECT_EQ(b.y[i], wantY[i]) << i;
  }
  EXPECT_GT(BoundarySignedArea(b), 0.0);
}

TEST(Boundary, AreaOfAReversedRingIsSummedAsTheRingNowRuns) {
  // Summed the other way round this ring gives 12935.130000000005 m², not the 12935.130000000001 m²
  // that every later area of the loaded boundary gives.
  BoundaryPolygon b;
  SetBoundaryPoints({{178.9, 102.9}, {99.3, 182.3}, {20.8, 104.6}, {96.3, 18.7}, {178.9, 102.9}}, b);
  ASSERT_LT(b.signedArea, 0.0);
  EXPECT_EQ(BoundarySignedArea(b), 12935.130000000001);
  EXPECT_EQ(b.areaHa, 12935.130000000001 * 1e-4);
}

TEST(Boundary, ShiftedToZeroWhileTheExtentsKeepTheValuesAsRead) {
  BoundaryPolygon b;
  SetBoundaryPoints({{1000, 2000}, {1000, 2100}, {1050, 2100}, {1000, 2000}}, b);
  EXPECT_EQ(b.minX, 1000.0);
  EXPECT_EQ(b.maxX, 1050.0);
  EXPECT_EQ(b.minY, 2000.0);
  EXPECT_EQ(b.maxY, 2100.0);
  EXPECT_EQ(b.x[1], 0.0);
  EXPECT_EQ(b.y[2], 100.0);
  EXPECT_DOUBLE_EQ(b.signedArea, 2500.0);
}

TEST(Boundary, NationalGridCornersAreShiftedToTheirTrueMinimum) {
  for (double x0 : {3500000.0, -2.5e7}) {
    const double y0 = x0 + 1900000.0;
    BoundaryPolygon b;
    SetBoundaryPoints({{x0, y0}, {x0, y0 + 100}, {x0 + 100, y0 + 100}, {x0 + 100, y0}, {x0, y0}}, b);
    EXPECT_EQ(b.minX, x0);
    EXPECT_EQ(b.maxX, x0 + 100);
    EXPECT_EQ(b.minY, y0);
    EXPECT_EQ(b.maxY, y0 + 100);
    for (int i = 1; i <= b.n; ++i) {
      EXPECT_GE(b.x[i], 0.0);
      EXPECT_GE(b.y[i], 0.0);
    }
    EXPECT_EQ(b.x[1], 0.0);
    EXPECT_EQ(b.y[1], 0.0);
    EXPECT_DOUBLE_EQ(b.areaHa, 1.0);
  }
}

TEST(ReadBoundary, RegisterCornersOutOfRangeAreRefusedLikeAFile) {
  FakeRegister reg;
  reg.x = {0, 0, 3e6, 3e6, 0};
  reg.y = {0, 50, 50, 0, 0};
  BoundaryPolygon b;
  SetBoundaryPoints(RectangleBoundary(10, 10), b);
  Outcome read;
  read = ReadBoundary("/p/StandsGE/Grenze00.txt", &reg, b);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.problem().where, "/p/StandsGE/Grenze00.txt, Punkt 3");
  EXPECT_DOUBLE_EQ(b.areaHa, 0.01);
}

TEST(Boundary, SourceByPath) {
  EXPECT_EQ(BoundarySourceFor("/p/Bestande/Grenze07.txt"), BoundarySource::File);
  EXPECT_EQ(BoundarySourceFor("/p/StandsCH/Grenze75.txt"), BoundarySource::File);
  EXPECT_EQ(BoundarySourceFor("/p/StandsEU/Grenze00.txt"), BoundarySource::RegisterEU);
  EXPECT_EQ(BoundarySourceFor("/p/StandsWW/Grenze00.txt"), BoundarySource::RegisterWW);
  EXPECT_EQ(BoundarySourceFor("/p/StandsGE/Grenze00.txt"), BoundarySource::RegisterGE);
  EXPECT_EQ(BoundarySourceFor("C:\\TOLVEK\\STANDSEU\\Grenze00.txt"), BoundarySource::RegisterEU);
  // Only the stand folder counts, not the names further up.
  EXPECT_EQ(BoundarySourceFor("/home/StandsEU/Bestande/Grenze07.txt"), BoundarySource::File);
  EXPECT_EQ(BoundarySourceFor("/Bestande/prog/StandsWW/Grenze00.txt"), BoundarySource::RegisterWW);
}

TEST(ReadBoundary, RegisterCornersOfTheThreeFolders) {
  FakeRegister reg;
  BoundaryPolygon b;
  Outcome read;

  reg.x = {120, 0, 0, 0, 0};
  reg.y = {80, 0, 0, 0, 0};
  read = ReadBoundary("/p/StandsEU/Grenze00.txt", &reg, b);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(b.n, 5);
  EXPECT_DOUBLE_EQ(b.areaHa, 0.96);

  reg.x = {0, 0, 200, 200, 0};
  reg.y = {0, 150, 150, 0, 0};
  read = ReadBoundary("/p/StandsWW/Grenze00.txt", &reg, b);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(b.n, 5);
  EXPECT_EQ(b.x[3], 200.0);
  EXPECT_EQ(b.y[3], 150.0);
  EXPECT_EQ(b.x[5], 0.0);
  EXPECT_DOUBLE_EQ(b.areaHa, 3.0);

  read = ReadBoundary("/p/StandsGE/Grenze00.txt", &reg, b);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(b.n, 5);
  EXPECT_DOUBLE_EQ(b.areaHa, 3.0);
}

TEST(ReadBoundary, WithoutRegisterOrWithBadCornersNothingChanges) {
  FakeRegister reg;
  BoundaryPolygon b;
  SetBoundaryPoints(RectangleBoundary(10, 10), b);
  Outcome read;
  read = ReadBoundary("/p/StandsGE/Grenze00.txt", nullptr, b);
  ASSERT_FALSE(read.ok());
  EXPECT_NE(read.problem().where.find("Grenze00"), std::string::npos);
  reg.current = false;
  read = ReadBoundary("/p/StandsEU/Grenze00.txt", &reg, b);
  ASSERT_FALSE(read.ok());
  reg.current = true;  // all corners zero: no area
  read = ReadBoundary("/p/StandsEU/Grenze00.txt", &reg, b);
  ASSERT_FALSE(read.ok());
  reg.x = {0, 0, 100, 100, 5};  // GE ring that does not close
  reg.y = {0, 100, 100, 0, 5};
  read = ReadBoundary("/p/StandsGE/Grenze00.txt", &reg, b);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.problem().message, "Grenze nicht geschlossen");
  // A catalogue folder never opens a "Grenze00" file.
  read = ReadBoundary("/p/Bestande/Grenze00.txt", &reg, b);
  ASSERT_FALSE(read.ok());
  EXPECT_DOUBLE_EQ(b.areaHa, 0.01);
}

TEST(ReadBoundary, BadFilesAreReportedByName) {
  testing::TempDir dir;
  std::string folder = dir.path() + "Bestande/";
  BoundaryPolygon b;
  Outcome read;
  read = ReadBoundary(folder + "Grenze01.txt", nullptr, b);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.problem().message, "Grenzdatei nicht gefunden");
  EXPECT_EQ(read.problem().where, folder + "Grenze01.txt");

  dir.Write("Bestande/Grenze02.txt", "0 0\n0 10\n0 20\n0 0\n");  // three corners on a line
  read = ReadBoundary(folder + "Grenze02.txt", nullptr, b);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.problem().message, "Bestandesfläche ist 0");

  dir.Write("Bestande/Grenze04.txt", "0 0\n0 1e300\n1e300 1e300\n1e300 0\n0 0\n");  // area would overflow
  read = ReadBoundary(folder + "Grenze04.txt", nullptr, b);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.problem().message, "Grenze hat einen Eckpunkt außerhalb des zulässigen Bereichs");
  EXPECT_EQ(read.problem().where, folder + "Grenze04.txt, Punkt 2");

  // Corners on one line: rounding leaves the ring an area of -1.4e-21 m², which turns positive when
  // the ring is reversed.
  dir.Write("Bestande/Grenze05.txt", "0 0 .3 .3 1 1 .3 .3 0 0");
  read = ReadBoundary(folder + "Grenze05.txt", nullptr, b);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.problem().message, "Bestandesfläche ist 0");

  std::string many;
  for (int i = 0; i < 60; ++i) many += std::to_string(i) + " " + std::to_string(i % 2) + "\n";
  dir.Write("Bestande/Grenze03.txt", many + "0 0\n");
  read = ReadBoundary(folder + "Grenze03.txt", nullptr, b);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.problem().message, "Grenzdatei hat mehr als 59 Punkte");
  EXPECT_EQ(b.n, 0);
}

}  // namespace
}  // namespace tolvek
