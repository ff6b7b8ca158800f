#include "simulator/sampling/grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "common/paths.h"
#include "common/rounding.h"
#include "simulator/stand/boundary.h"
#include "simulator/views/stand_map.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

// A rectangle from (0, 0) to (w, h), clockwise, first point repeated.
BoundaryPolygon Rectangle(double w, double h) {
  BoundaryPolygon b;
  const double xs[] = {0, 0, w, w, 0};
  const double ys[] = {0, h, h, 0, 0};
  b.n = 5;
  for (int i = 0; i < 5; ++i) {
    b.x[static_cast<std::size_t>(i + 1)] = xs[i];
    b.y[static_cast<std::size_t>(i + 1)] = ys[i];
  }
  b.areaHa = w * h * 1e-4;
  return b;
}

GridPoint Turned(double x, double y, double angle) {
  RotatePoint(x, y, angle);
  GridPoint p;
  p.x = RoundInt(x);
  p.y = RoundInt(y);
  return p;
}

TEST(GridGeneration, Spacing50Rotation006Gives288PointsColumnByColumn) {
  const BoundaryPolygon stand = Rectangle(300, 200);
  SampleGrid g;
  ASSERT_TRUE(NewGrid(g, &stand, nullptr, GridContext{}).ok());
  EXPECT_EQ(g.pointCount, 288);
  EXPECT_EQ(g.extentX, 720);
  EXPECT_EQ(g.extentY, 620);
  // First column at x = -99 before rotation, y from -100 upwards; 16 points per column.
  const GridPoint p1 = Turned(-99, -100, 0.06), p2 = Turned(-99, -50, 0.06), p17 = Turned(-49, -100, 0.06);
  EXPECT_EQ(g.Point(1).x, p1.x);
  EXPECT_EQ(g.Point(1).y, p1.y);
  EXPECT_EQ(g.Point(2).x, p2.x);
  EXPECT_EQ(g.Point(2).y, p2.y);
  EXPECT_EQ(g.Point(17).x, p17.x);
  EXPECT_EQ(g.Point(17).y, p17.y);
  const GridPoint last = Turned(751, 650, 0.06);
  EXPECT_EQ(g.Point(288).x, last.x);
  EXPECT_EQ(g.Point(288).y, last.y);

  int inside = 0;
  for (int i = 1; i <= g.pointCount; ++i) inside += g.Point(i).inside;
  EXPECT_EQ(g.insideCount, inside);
  EXPECT_GT(inside, 15);
  EXPECT_LT(inside, 30);
}

TEST(GridGeneration, AveragedOverAllShiftsTheGridHoldsTheAreaExactly) {
  // An axis-parallel rectangle with whole-metre corners: over all whole-metre shifts of an unturned grid
  // every whole-metre point of the plane is a grid point once, so the inside points, averaged, are the
  // area over the grid cell exactly; points on the boundary counted on two sides, or on none, show here.
  for (auto [w, h, d] : {std::tuple{300, 200, 50}, std::tuple{137, 91, 21}, std::tuple{50, 50, 25}}) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h) + " / " + std::to_string(d));
    BoundaryPolygon stand = Rectangle(w, h);
    for (int i = 1; i <= stand.n; ++i) {  // off the origin: corners at (37, 58) and beyond
      stand.x[static_cast<std::size_t>(i)] += 37;
      stand.y[static_cast<std::size_t>(i)] += 58;
    }
    SampleGrid g;
    g.dx = g.dy = d;
    g.rotation = 0.0;
    long long inside = 0;
    for (int ox = 0; ox < d; ++ox)
      for (int oy = 0; oy < d; ++oy) {
        g.originX = ox;
        g.originY = oy;
        ASSERT_TRUE(NewGrid(g, &stand, nullptr, GridContext{}).ok());
        inside += g.insideCount;
      }
    EXPECT_EQ(static_cast<double>(inside) / (d * d), static_cast<double>(w) * h / (d * d));
  }
}

TEST(GridGeneration, SmallestSpacingStaysBelowTheLimit) {
  const BoundaryPolygon stand = Rectangle(300, 200);
  SampleGrid g;
  g.dx = g.dy = 21;
  ASSERT_TRUE(NewGrid(g, &stand, nullptr, GridContext{}).ok());
  EXPECT_EQ(g.pointCount, 1254);
}

TEST(GridGeneration, ALargeStandIsCoveredWhole) {
  // 1000 m long: beyond the fixed lattice of 720 m.
  const BoundaryPolygon stand = Rectangle(1000, 150);
  SampleGrid g;
  ASSERT_TRUE(NewGrid(g, &stand, nullptr, GridContext{}).ok());
  EXPECT_GT(g.pointCount, 288);
  int farthest = 0;
  for (int i = 1; i <= g.pointCount; ++i)
    if (g.Point(i).inside) farthest = std::max(farthest, g.Point(i).x + g.originX);
  EXPECT_GT(farthest, 950);
  // A stand moved right of an origin shifted far to the right is covered to its left end too.
  SampleGrid shifted;
  shifted.originX = 400;
  const BoundaryPolygon small = Rectangle(600, 150);
  ASSERT_TRUE(NewGrid(shifted, &small, nullptr, GridContext{}).ok());
  int nearest = 1000;
  for (int i = 1; i <= shifted.pointCount; ++i)
    if (shifted.Point(i).inside) nearest = std::min(nearest, shifted.Point(i).x + shifted.originX);
  EXPECT_LT(nearest, 50);
}

TEST(GridGeneration, MoreThan4200PointsAreRefusedAndTheGridStays) {
  const BoundaryPolygon huge = Rectangle(4000, 4000);
  const BoundaryPolygon stand = Rectangle(300, 200);
  SampleGrid g;
  ASSERT_TRUE(NewGrid(g, &stand, nullptr, GridContext{}).ok());
  const int before = g.pointCount;
  const Outcome refused = GenerateGrid(g, &huge, 0, GridContext{});
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.problem(), (Problem{"nur 4200 Stichproben zulässig", ""}));
  EXPECT_EQ(g.pointCount, before);
  EXPECT_EQ(g.dx, 50);
  // A boundary far out of any reach is refused at once, not walked to.
  const BoundaryPolygon far = Rectangle(1e12, 100);
  EXPECT_FALSE(GenerateGrid(g, &far, 0, GridContext{}).ok());
  EXPECT_EQ(g.pointCount, before);
}

// A grid keeps the turned lattice and the stand's inside test from one laying to the next; whatever
// changed in between, the grid laid again is the one a fresh grid gets.
TEST(GridGeneration, LaidAgainAfterAnyChangeAsLaidFresh) {
  BoundaryPolygon stand = Rectangle(300, 200);
  SampleGrid kept;
  const auto expectAsFresh = [&](const char* what) {
    SampleGrid fresh;
    fresh.dx = kept.dx;
    fresh.dy = kept.dy;
    fresh.originX = kept.originX;
    fresh.originY = kept.originY;
    fresh.rotation = kept.rotation;
    ASSERT_TRUE(NewGrid(kept, &stand, nullptr, GridContext{}).ok()) << what;
    ASSERT_TRUE(NewGrid(fresh, &stand, nullptr, GridContext{}).ok()) << what;
    ASSERT_EQ(kept.pointCount, fresh.pointCount) << what;
    EXPECT_EQ(kept.insideCount, fresh.insideCount) << what;
    for (int i = 1; i <= fresh.pointCount; ++i) {
      ASSERT_EQ(kept.Point(i).x, fresh.Point(i).x) << what << ", point " << i;
      ASSERT_EQ(kept.Point(i).y, fresh.Point(i).y) << what << ", point " << i;
      ASSERT_EQ(kept.Point(i).inside, fresh.Point(i).inside) << what << ", point " << i;
    }
  };
  expectAsFresh("first");
  expectAsFresh("the same again");
  kept.originX += 7;
  expectAsFresh("moved within the lattice");
  kept.rotation = -0.06;
  expectAsFresh("turned the other way");
  kept.rotation = 0.0;
  expectAsFresh("not turned");
  kept.rotation = 0.06;
  kept.dx = 35;
  expectAsFresh("wider apart across");
  kept.dy = 35;
  expectAsFresh("wider apart along");
  stand = Rectangle(1000, 150);
  expectAsFresh("a longer stand widens the lattice");
  kept.originX = 400;
  expectAsFresh("moved so that the lattice widens to the left");
  stand.x[3] = 900.0;  // one corner moved in place: a stand of another shape at the same address
  stand.x[4] = 900.0;
  expectAsFresh("a corner moved");
  stand.n = 4;
  stand.x[4] = stand.x[1];
  stand.y[4] = stand.y[1];
  expectAsFresh("a corner fewer");
}

TEST(GridSpacing, StandModeStepsStopAt21) {
  SampleGrid g;
  GridContext ctx;
  g.dx = g.dy = 26;
  EXPECT_TRUE(ApplySpacingStep(g, -5, ctx));
  EXPECT_EQ(g.dx, 21);
  EXPECT_EQ(g.dy, 21);
  EXPECT_FALSE(ApplySpacingStep(g, -5, ctx));
  EXPECT_FALSE(ApplySpacingStep(g, -1, ctx));
  EXPECT_EQ(g.dx, 21);
  EXPECT_TRUE(ApplySpacingStep(g, 1, ctx));
  EXPECT_EQ(g.dy, 22);
  // Refused during a run of repetitions once evaluated.
  ctx.repetitionFlag = ctx.evaluationStarted = true;
  EXPECT_FALSE(ApplySpacingStep(g, 5, ctx));
  EXPECT_EQ(g.dx, 22);
}

TEST(GridSpacing, EnterpriseStepsChangeOneAxisAndStayAt100) {
  SampleGrid g;
  GridContext ctx;
  ctx.enterpriseMode = true;
  g.dx = 200;
  g.dy = 100;
  EXPECT_TRUE(ApplySpacingStep(g, 5, ctx));
  EXPECT_EQ(g.dx, 225);
  EXPECT_EQ(g.dy, 100);
  EXPECT_TRUE(ApplySpacingStep(g, 1, ctx));
  EXPECT_EQ(g.dy, 125);
  EXPECT_TRUE(ApplySpacingStep(g, -1, ctx));
  EXPECT_FALSE(ApplySpacingStep(g, -1, ctx));
  EXPECT_EQ(g.dy, 100);
  g.dx = 100;
  EXPECT_FALSE(ApplySpacingStep(g, -5, ctx));
  EXPECT_EQ(g.dx, 100);
}

TEST(GridShift, NegativeStepsRespectTheLimit) {
  const BoundaryPolygon stand = Rectangle(300, 200);
  SampleGrid g;
  EXPECT_TRUE(NewGrid(g, &stand, nullptr, GridContext{}).ok());
  EXPECT_TRUE(ShiftGrid(g, &stand, nullptr, -5, 0, GridContext{}));  // 0 + 50 - 5 >= 5
  EXPECT_EQ(g.originX, -5);
  g.dx = g.dy = 21;
  g.originX = -13;
  EXPECT_FALSE(ShiftGrid(g, &stand, nullptr, -5, 0, GridContext{}));  // -13 + 21 - 5 = 3 < 5
  EXPECT_EQ(g.originX, -13);
  EXPECT_TRUE(ShiftGrid(g, &stand, nullptr, 0, 5, GridContext{}));
  EXPECT_EQ(g.originY, 5);
  GridContext enterprise;
  enterprise.enterpriseMode = true;
  g.originX = 0;
  g.dx = 200;
  g.dy = 100;
  ShiftGrid(g, nullptr, nullptr, 5, 0, enterprise);
  EXPECT_EQ(g.originX, 20);
}

TEST(GridRandomShift, AnOriginWithinOneCellFromTwoDraws) {
  SampleGrid g;
  g.baseOriginX = 10;
  g.baseOriginY = 20;
  RandomGenerator r(4711);
  for (int k = 0; k < 200; ++k) {
    RandomGenerator copy = r;
    RandomGridOrigin(g, r);
    const double ex = g.originX - 10, ey = g.originY - 20;
    EXPECT_LE(std::sqrt(ex * ex + ey * ey), std::sqrt(2.0) * 50 + 1);
    copy.Next(50);
    copy.Next(50);
    EXPECT_EQ(copy.Seed(), r.Seed());
  }
  // No rotation and a draw of (0, 0): the base origin itself.
  SampleGrid flat;
  flat.rotation = 0.0;
  flat.dx = flat.dy = 1;
  RandomGenerator any(1);
  RandomGridOrigin(flat, any);
  EXPECT_EQ(flat.originX, 0);
  EXPECT_EQ(flat.originY, 0);
}

TEST(GridFile, RoundTripOfExactly201624Bytes) {
  testing::TempDir dir;
  const BoundaryPolygon stand = Rectangle(300, 200);
  SampleGrid g;
  EXPECT_TRUE(NewGrid(g, &stand, nullptr, GridContext{}).ok());
  g.originX = 7;
  g.originY = -3;
  g.Point(5).standNumber = 301;
  g.Point(5).standType = 2;
  g.Point(5).ageClass = 4;
  g.Point(5).centreX = 12.25;
  g.Point(5).centreY = 99.5;
  const std::string path = GridFilePath(dir.path(), 1);
  EXPECT_NE(path.find("Temp/Betrieb1Netz.txt"), std::string::npos);
  ASSERT_TRUE(SaveGrid(g, path).ok());
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes.size(), 201624u);

  SampleGrid back;
  back.rotation = 0.1;  // not stored: a loaded grid keeps the current rotation
  ASSERT_TRUE(LoadGrid(back, path).ok());
  EXPECT_TRUE(back.loadedFromFile);
  EXPECT_EQ(back.pointCount, g.pointCount);
  EXPECT_EQ(back.insideCount, g.insideCount);
  EXPECT_EQ(back.originX, 7);
  EXPECT_EQ(back.originY, -3);
  EXPECT_EQ(back.dx, 50);
  EXPECT_DOUBLE_EQ(back.rotation, 0.1);
  for (int i = 1; i <= g.pointCount; ++i) {
    EXPECT_EQ(back.Point(i).x, g.Point(i).x);
    EXPECT_EQ(back.Point(i).y, g.Point(i).y);
    EXPECT_EQ(back.Point(i).inside, g.Point(i).inside);
  }
  EXPECT_EQ(back.Point(5).standNumber, 301);
  EXPECT_EQ(back.Point(5).ageClass, 4);
  EXPECT_DOUBLE_EQ(back.Point(5).centreY, 99.5);
  EXPECT_EQ(EncodeGridFile(back), bytes);
}

TEST(GridFile, BadFilesAreRefusedAndTheGridStays) {
  testing::TempDir dir;
  const BoundaryPolygon stand = Rectangle(300, 200);
  SampleGrid g;
  EXPECT_TRUE(NewGrid(g, &stand, nullptr, GridContext{}).ok());
  const std::string good = EncodeGridFile(g);
  SampleGrid current;
  current.dx = current.dy = 33;
  EXPECT_TRUE(NewGrid(current, &stand, nullptr, GridContext{}).ok());
  const std::string before = EncodeGridFile(current);

  const Outcome missing = LoadGrid(current, dir.File("Temp/Betrieb0Netz.txt"));
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.problem().message, "Bitte zuerst Gitternetz speichern");

  auto refused = [&](const std::string& bytes) {
    dir.Write("net.bin", bytes);
    const Outcome read = LoadGrid(current, dir.File("net.bin"));
    if (read.ok()) return false;
    EXPECT_EQ(read.problem().message, "Gitternetz-Datei fehlerhaft, Gitter bleibt unverändert");
    return EncodeGridFile(current) == before;
  };
  EXPECT_TRUE(refused(good.substr(0, 201623)));
  EXPECT_TRUE(refused(good + "x"));
  EXPECT_TRUE(refused(""));
  std::string bad = good;
  bad[201616] = static_cast<char>(0x69);  // point count 4201
  bad[201617] = static_cast<char>(0x10);
  EXPECT_TRUE(refused(bad));
  bad = good;
  bad[8] = 7;  // an inside flag that is neither 0 nor 1
  EXPECT_TRUE(refused(bad));
  bad = good;
  bad[201600] = 0;  // spacing 0
  EXPECT_TRUE(refused(bad));
  bad = good;
  bad[200000] = 1;  // a record past the point count
  EXPECT_TRUE(refused(bad));
  EXPECT_EQ(current.dx, 33);
}

TEST(GridDrag, PickAndDropAPoint) {
  const BoundaryPolygon stand = Rectangle(300, 200);
  SampleGrid g;
  g.rotation = 0.0;
  g.originX = 24;
  g.originY = 25;
  EXPECT_TRUE(NewGrid(g, &stand, nullptr, GridContext{}).ok());
  const int picked = PickGridPoint(g, 76, 70);  // the point at (75, 75)
  ASSERT_GT(picked, 0);
  EXPECT_EQ(g.Point(picked).x + g.originX, 75);
  EXPECT_EQ(g.Point(picked).y + g.originY, 75);
  EXPECT_EQ(PickGridPoint(g, 100, 100), 0);
  DropGridPoint(g, picked, 78, 75);
  EXPECT_EQ(g.Point(picked).x + g.originX, 78);
}

TEST(GridDigitise, ClosesNearTheFirstPointAndWritesTheLines) {
  SampleGrid g;
  EXPECT_EQ(DigitiseBoundary(g, 10.0, 5.0), DigitiseResult::Added);
  EXPECT_EQ(DigitiseBoundary(g, 60.0, 5.0), DigitiseResult::Added);
  EXPECT_EQ(DigitiseBoundary(g, 60.0, 80.0), DigitiseResult::Added);
  EXPECT_EQ(DigitiseBoundary(g, 11.5, 6.0), DigitiseResult::Closed);
  const auto lines = DigitisedBoundaryLines(g);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "     5.00    10.00");
  EXPECT_EQ(lines[3], "     6.00    11.50");
  testing::TempDir dir;
  ASSERT_TRUE(WriteDigitisedBoundary(g, dir.path()).ok());
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(dir.File("Temp/Grenze.txt"), bytes));
  EXPECT_EQ(bytes.substr(0, 20), "     5.00    10.00\r\n");
  EXPECT_EQ(bytes.size(), 4u * 20u);
  for (int i = 4; i < 20; ++i) DigitiseBoundary(g, 100.0 + i, 100.0);
  EXPECT_EQ(DigitiseBoundary(g, 1.0, 1.0), DigitiseResult::Full);
  EXPECT_EQ(g.digitisedCount, 20);
}

}  // namespace
}  // namespace tolvek
