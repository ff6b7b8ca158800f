// The grid marks its points inside the stand with a test prepared once per polygon; it must answer as
// PointInPolygon does for every point, on edges and corners, far off and far left of the origin.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "common/random.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/prepared_inside.h"
#include "simulator/stand/boundary.h"
#include "tests/support/boundary_of.h"

namespace tolvek {
namespace {

void ExpectSameAnswers(const BoundaryPolygon& b, double x0, double x1, double y0, double y1, std::uint32_t seed) {
  const PolygonRef p(b);
  const PreparedInsideTest prepared(p);
  int inside = 0;
  for (double x = std::floor(x0); x <= x1; x += 1.0)
    for (double y = std::floor(y0); y <= y1; y += 1.0) {
      const bool expected = PointInPolygon(p, x, y);
      inside += expected;
      ASSERT_EQ(prepared.Inside(x, y), expected) << x << ", " << y;
    }
  EXPECT_GT(inside, 0);
  for (int i = 1; i < b.n; ++i)
    for (int s = 0; s <= 10; ++s) {
      const double t = s / 10.0;
      const double x = b.x[static_cast<std::size_t>(i)] + t * (b.x[static_cast<std::size_t>(i + 1)] - b.x[static_cast<std::size_t>(i)]);
      const double y = b.y[static_cast<std::size_t>(i)] + t * (b.y[static_cast<std::size_t>(i + 1)] - b.y[static_cast<std::size_t>(i)]);
      for (double d : {0.0, 1e-9, -1e-9, 0.01, -0.01, 0.99, -1.01, 3.0, -7.9, 8.1})
        for (double e : {0.0, 1e-9, 1.0, -2.0})
          ASSERT_EQ(prepared.Inside(x + e, y + d), PointInPolygon(p, x + e, y + d)) << x + e << ", " << y + d;
    }
  RandomGenerator r(seed);
  for (int q = 0; q < 20000; ++q) {
    const double x = x0 + r.NextReal() * (x1 - x0), y = y0 + r.NextReal() * (y1 - y0);
    ASSERT_EQ(prepared.Inside(x, y), PointInPolygon(p, x, y)) << x << ", " << y;
  }
}

TEST(PreparedInsideTest, AnswersAsPointInPolygon) {
  // Vertical and nearly vertical edges, spikes taller than a slab, a notch, corners on whole metres
  // where grid points fall.
  ExpectSameAnswers(testing::BoundaryOf({{0, 0}, {0, 120}, {60, 120}, {60, 40}, {80, 40}, {80.00001, 130},
                                         {150, 130}, {150, 0}, {0, 0}}),
                    -20, 170, -20, 150, 1);
  ExpectSameAnswers(testing::BoundaryOf({{10, 0}, {0, 50}, {40, 48}, {40.000004, 90}, {41, 91}, {100, 60},
                                         {100, 0}, {55, 30}, {10, 0}}),
                    -20, 120, -20, 110, 2);
  ExpectSameAnswers(testing::BoundaryOf({{0, 0}, {5, 200}, {6, 20}, {30, 210}, {31, 0}, {0, 0}}), -20, 50, -20, 230, 3);
  ExpectSameAnswers(testing::BoundaryOf({{0, 0}, {0, 160}, {60.000004, 150}, {60, 100}, {120, 100}, {120, 0}, {0, 0}}),
                    -20, 140, -20, 180, 4);
  // Left of the origin and below x = -100; far from the origin.
  ExpectSameAnswers(testing::BoundaryOf({{-300, -50}, {-280, 90}, {-150, 60}, {-20, 100}, {-5, -40}, {-300, -50}}),
                    -320, 10, -70, 120, 5);
  ExpectSameAnswers(testing::BoundaryOf({{5000, 7000}, {5000, 7400}, {5300, 7350}, {5310, 7010}, {5000, 7000}}),
                    4980, 5330, 6980, 7420, 6);
}

// A closed star of corners around (cx, cy), each at a random distance from minRadius to minRadius + span.
BoundaryPolygon RandomStar(RandomGenerator& r, int corners, double cx, double cy, double minRadius, double span) {
  BoundaryPolygon b;
  for (int i = 1; i <= corners; ++i) {
    const double angle = 2.0 * 3.141592653589793 * (i - 1) / corners;
    const double radius = minRadius + r.NextReal() * span;
    b.x[static_cast<std::size_t>(i)] = cx + radius * std::cos(angle);
    b.y[static_cast<std::size_t>(i)] = cy + radius * std::sin(angle);
  }
  b.x[static_cast<std::size_t>(corners + 1)] = b.x[1];
  b.y[static_cast<std::size_t>(corners + 1)] = b.y[1];
  b.n = corners + 1;
  return b;
}

TEST(PreparedInsideTest, AnswersAsPointInPolygonOnRandomStars) {
  // Corners anywhere, not on whole metres: edges end at every height within a slab.
  RandomGenerator r(7);
  for (int shape = 0; shape < 12; ++shape)
    ExpectSameAnswers(RandomStar(r, 5 + shape * 4, 150.0, 140.0, 20.0, 100.0), 20, 280, 10, 270,
                      100 + static_cast<std::uint32_t>(shape));
}

// The memo hands out the test of the polygon as it is now, also when it changed in place.
TEST(PreparedInsideTest, MemoFollowsThePolygon) {
  BoundaryPolygon b = testing::BoundaryOf({{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}});
  PreparedInsideMemo memo;
  EXPECT_TRUE(memo.For(PolygonRef(b)).Inside(8, 5));
  EXPECT_TRUE(memo.For(PolygonRef(b)).Inside(8, 5));
  b.x[3] = 6.0;  // the right side pulled in
  b.x[4] = 6.0;
  EXPECT_FALSE(memo.For(PolygonRef(b)).Inside(8, 5));
  b.y[2] = 4.0;  // the top lowered on the left only
  b.y[3] = 4.0;
  EXPECT_FALSE(memo.For(PolygonRef(b)).Inside(3, 5));
  EXPECT_TRUE(memo.For(PolygonRef(b)).Inside(3, 3));
  EXPECT_FALSE(memo.For(PolygonRef()).Inside(3, 3));
  EXPECT_TRUE(memo.For(PolygonRef(b)).Inside(3, 3));
  b.n = 3;  // fewer corners, the same arrays
  EXPECT_EQ(memo.For(PolygonRef(b)).Inside(3, 3), PointInPolygon(PolygonRef(b), 3, 3));
}

// The answers kept for points of whole metres are the test's, asked twice, near the polygon and beyond
// the window they are kept for, and they go with the polygon they were given for.
TEST(PreparedInsideTest, KeptAnswersForWholeMetres) {
  RandomGenerator r(3);
  BoundaryPolygon b = RandomStar(r, 40, 200.0, 150.0, 30.0, 90.0);
  PreparedInsideMemo memo;
  for (int round = 0; round < 2; ++round) {
    memo.For(PolygonRef(b));
    int inside = 0;
    for (int pass = 0; pass < 2; ++pass)
      for (int x = -700; x <= 1100; x += 7)
        for (int y = -600; y <= 900; y += 3) {
          const bool expected = PointInPolygon(PolygonRef(b), x, y);
          inside += expected;
          ASSERT_EQ(memo.InsideAt(x, y), expected) << "round " << round << ", pass " << pass << ": " << x << ", " << y;
        }
    EXPECT_GT(inside, 100);
    // Corners pulled in and pushed out in place: the answers kept belong to the old polygon. (A shift
    // by whole metres would keep the window's answers right, the window moving with the polygon.)
    for (int i = 2; i < b.n; i += 3) {
      b.x[static_cast<std::size_t>(i)] = 200.0 + (b.x[static_cast<std::size_t>(i)] - 200.0) * 0.5;
      b.y[static_cast<std::size_t>(i)] = 150.0 + (b.y[static_cast<std::size_t>(i)] - 150.0) * 1.3;
    }
  }
}

TEST(PreparedInsideTest, DegenerateInputAsPointInPolygon) {
  const BoundaryPolygon empty;
  EXPECT_FALSE(PreparedInsideTest(PolygonRef(empty)).Inside(1, 1));
  const BoundaryPolygon line = testing::BoundaryOf({{0, 0}, {10, 10}});
  EXPECT_EQ(PreparedInsideTest(PolygonRef(line)).Inside(5, 4), PointInPolygon(PolygonRef(line), 5, 4));
  const BoundaryPolygon square = testing::BoundaryOf({{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}});
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const PreparedInsideTest prepared{PolygonRef(square)};
  EXPECT_EQ(prepared.Inside(nan, 5), PointInPolygon(PolygonRef(square), nan, 5));
  EXPECT_EQ(prepared.Inside(5, nan), PointInPolygon(PolygonRef(square), 5, nan));
  EXPECT_EQ(prepared.Inside(5, std::numeric_limits<double>::infinity()),
            PointInPolygon(PolygonRef(square), 5, std::numeric_limits<double>::infinity()));
}

}  // namespace
}  // namespace tolvek
