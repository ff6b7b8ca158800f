// Points exactly on a boundary: the inside tests decide them as if the point lay an infinitely small step
// to the right and a far smaller one upwards, so stands that tile the plane take every point once, and
// all three tests (PointInPolygon, the grid's prepared test with its kept answers, and the edge
// correction's PolygonContainsPoint) give the same answer for every point.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "common/random.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/prepared_inside.h"
#include "simulator/stand/boundary.h"
#include "tests/support/boundary_of.h"

namespace tolvek {
namespace {

// The turn's sign worked out in integers, for coordinates that are whole multiples of 2^-20 below 2^19.
int IntegerTurnSign(GeoPoint a, GeoPoint b, GeoPoint p) {
  const auto units = [](double v) { return static_cast<__int128>(std::ldexp(v, 20)); };
  const __int128 det = (units(b.x) - units(a.x)) * (units(p.y) - units(a.y)) -
                       (units(b.y) - units(a.y)) * (units(p.x) - units(a.x));
  return det > 0 ? 1 : det < 0 ? -1 : 0;
}

TEST(TurnSign, ExactForPointsOnAndNextToALine) {
  // A line far out with fine fractions and points on it or next to it, the nearest a point of 2^-20 m
  // can lie to it: the turn is then 2^-34 m² and the products of the differences about 2^28 m², so the
  // rounded products decide nothing.
  RandomGenerator r(11);
  const auto whole = [&](double range) { return static_cast<long long>(std::floor((r.NextReal() * 2.0 - 1.0) * range)); };
  const auto metres = [](long long u) { return std::ldexp(static_cast<double>(u), -20); };
  int onTheLine = 0, checked = 0;
  while (checked < 20000) {
    const long long sx = whole(0x1p28), sy = whole(0x1p28);
    // A step across the line with sx·oy − sy·ox = 1 (extended Euclid); only for sx and sy without a
    // common divisor.
    long long r0 = sx, r1 = sy, x0 = 1, x1 = 0, y0 = 0, y1 = 1;
    while (r1 != 0) {
      const long long q = r0 / r1;
      long long t = r0 - q * r1; r0 = r1; r1 = t;
      t = x0 - q * x1; x0 = x1; x1 = t;
      t = y0 - q * y1; y0 = y1; y1 = t;
    }
    if (r0 != 1 && r0 != -1) continue;
    const long long oy = x0 * r0, ox = -y0 * r0;
    const long long ax = whole(0x1p37), ay = whole(0x1p37);
    const long long k = static_cast<long long>(std::floor(r.NextReal() * 65));
    const GeoPoint a{metres(ax), metres(ay)};
    const GeoPoint b{metres(ax + 64 * sx), metres(ay + 64 * sy)};
    for (long long m : {-1LL, 0LL, 1LL}) {
      const GeoPoint p{metres(ax + k * sx + m * ox), metres(ay + k * sy + m * oy)};
      const int expected = IntegerTurnSign(a, b, p);
      ASSERT_EQ(expected, m > 0 ? 1 : m < 0 ? -1 : 0);
      onTheLine += expected == 0;
      ASSERT_EQ(TurnSign(a, b, p), expected) << checked;
      ASSERT_EQ(TurnSign(b, a, p), -expected) << checked;
      ASSERT_EQ(TurnSign(p, a, b), expected) << checked;
    }
    ++checked;
  }
  EXPECT_EQ(onTheLine, checked);
  // Coordinates that are no binary fractions: the sign of the values as stored, whatever their rounding.
  EXPECT_EQ(TurnSign({0.1, 0.1}, {0.3, 0.3}, {0.2, 0.2}), -TurnSign({0.3, 0.3}, {0.1, 0.1}, {0.2, 0.2}));
}

TEST(BoundaryPoints, ARectangleHoldsItsLowerAndLeftEdgesOnly) {
  const BoundaryPolygon b = testing::BoundaryOf({{10, 20}, {10, 50}, {40, 50}, {40, 20}, {10, 20}});
  const PolygonRef p(b);
  // Corners: only the lower left one.
  EXPECT_TRUE(PointInPolygon(p, 10, 20));
  EXPECT_FALSE(PointInPolygon(p, 40, 20));
  EXPECT_FALSE(PointInPolygon(p, 10, 50));
  EXPECT_FALSE(PointInPolygon(p, 40, 50));
  // Edges.
  EXPECT_TRUE(PointInPolygon(p, 10, 35));   // left
  EXPECT_TRUE(PointInPolygon(p, 25, 20));   // bottom
  EXPECT_FALSE(PointInPolygon(p, 40, 35));  // right
  EXPECT_FALSE(PointInPolygon(p, 25, 50));  // top
  // Run the other way round, the same points.
  const BoundaryPolygon ccw = testing::BoundaryOf({{10, 20}, {40, 20}, {40, 50}, {10, 50}, {10, 20}});
  for (double x : {10.0, 25.0, 40.0})
    for (double y : {20.0, 35.0, 50.0}) EXPECT_EQ(PointInPolygon(PolygonRef(ccw), x, y), PointInPolygon(p, x, y));
}

// A square of 64 m cut into quadrilaterals and triangles whose corners lie on quarter metres off the
// lattice, so that their edges run slanted through many test points.
std::vector<BoundaryPolygon> Tiling() {
  const int n = 4;
  GeoPoint c[n + 1][n + 1];
  RandomGenerator r(5);
  for (int i = 0; i <= n; ++i)
    for (int j = 0; j <= n; ++j) {
      c[i][j] = {16.0 * i, 16.0 * j};
      if (i > 0 && i < n) c[i][j].x += std::round(r.NextReal() * 40 - 20) / 4;
      if (j > 0 && j < n) c[i][j].y += std::round(r.NextReal() * 40 - 20) / 4;
    }
  std::vector<BoundaryPolygon> tiles;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const GeoPoint a = c[i][j], b = c[i][j + 1], d = c[i + 1][j + 1], e = c[i + 1][j];
      if ((i + j) % 3 == 0) {
        tiles.push_back(testing::BoundaryOf({{a.x, a.y}, {b.x, b.y}, {d.x, d.y}, {e.x, e.y}, {a.x, a.y}}));
      } else if ((i + j) % 3 == 1) {
        tiles.push_back(testing::BoundaryOf({{a.x, a.y}, {b.x, b.y}, {d.x, d.y}, {a.x, a.y}}));
        tiles.push_back(testing::BoundaryOf({{a.x, a.y}, {d.x, d.y}, {e.x, e.y}, {a.x, a.y}}));
      } else {
        // Counterclockwise, split along the other diagonal.
        tiles.push_back(testing::BoundaryOf({{a.x, a.y}, {e.x, e.y}, {b.x, b.y}, {a.x, a.y}}));
        tiles.push_back(testing::BoundaryOf({{e.x, e.y}, {d.x, d.y}, {b.x, b.y}, {e.x, e.y}}));
      }
    }
  return tiles;
}

TEST(BoundaryPoints, TilesTakeEveryPointOnce) {
  const std::vector<BoundaryPolygon> tiles = Tiling();
  std::vector<PreparedInsideTest> prepared;
  for (const BoundaryPolygon& t : tiles) prepared.emplace_back(PolygonRef(t));
  std::vector<GeoPoint> points;
  // Every quarter metre, corners and edges of the tiles among them ...
  for (int i = -8; i <= 264; ++i)
    for (int j = -8; j <= 264; ++j) points.push_back({i / 4.0, j / 4.0});
  // ... and points on the tiles' edges at thirds and sevenths, where the stored coordinates are rounded.
  for (const BoundaryPolygon& t : tiles)
    for (int k = 1; k < t.n; ++k)
      for (double f : {1.0 / 3, 2.0 / 7, 5.0 / 7}) {
        const auto i = static_cast<std::size_t>(k);
        points.push_back({t.x[i] + f * (t.x[i + 1] - t.x[i]), t.y[i] + f * (t.y[i + 1] - t.y[i])});
      }
  for (const GeoPoint& q : points) {
    int holders = 0;
    for (std::size_t k = 0; k < tiles.size(); ++k) {
      const PolygonRef p(tiles[k]);
      const bool inside = PointInPolygon(p, q.x, q.y);
      holders += inside;
      ASSERT_EQ(prepared[k].Inside(q.x, q.y), inside) << q.x << ", " << q.y;
      ASSERT_EQ(PolygonContainsPoint(q.x, q.y, tiles[k].n - 1, p), inside) << q.x << ", " << q.y;
    }
    const bool inSquare = q.x >= 0.0 && q.x < 64.0 && q.y >= 0.0 && q.y < 64.0;
    ASSERT_EQ(holders, inSquare ? 1 : 0) << q.x << ", " << q.y;
  }
}

// The kept answers of the grid's memo are those of the test, for points on the edges too.
TEST(BoundaryPoints, KeptAnswersOnEdgesAndCorners) {
  const std::vector<BoundaryPolygon> tiles = Tiling();
  for (std::size_t k = 0; k < tiles.size(); k += 5) {
    const PolygonRef p(tiles[k]);
    PreparedInsideMemo memo;
    memo.For(p);
    for (int pass = 0; pass < 2; ++pass)
      for (int x = -2; x <= 66; ++x)
        for (int y = -2; y <= 66; ++y) ASSERT_EQ(memo.InsideAt(x, y), PointInPolygon(p, x, y)) << x << ", " << y;
  }
}

}  // namespace
}  // namespace tolvek
