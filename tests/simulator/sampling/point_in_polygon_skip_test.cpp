// PointInPolygon leaves out edges that cannot count (right of the point, or wholly above or below its
// crossing line). Here it must answer as the full crossing count over every edge does.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/random.h"
#include "simulator/sampling/geometry.h"
#include "simulator/stand/boundary.h"
#include "tests/support/boundary_of.h"

namespace tolvek {
namespace {

// Every edge intersected and tested, as the routine did before it skipped any.
bool EveryEdgeCounted(PolygonRef p, double x, double y) {
  double minX = p.x[1];
  for (int i = 2; i <= p.n; ++i) minX = std::min(minX, p.x[i]);
  const GeoPoint point{x, y};
  const GeoPoint far{std::min(-100.0, minX - 1.0), y};
  const GeoPoint slope{x > -9.0 ? -10.0 : x - 10.0, y + 1.0};
  int count = 0;
  for (int i = 1; i <= p.n - 1; ++i) {
    const GeoPoint a{p.x[i], p.y[i]}, b{p.x[i + 1], p.y[i + 1]};
    GeoPoint at;
    if (LineIntersection(point, slope, a, b, at) && PointOnBothSegments(a, b, point, far, at)) ++count;
  }
  return count % 2 == 1;
}

TEST(PointInPolygonSkips, AnswerAsTheFullCount) {
  // Vertical edges, an edge exactly 1e-5 off vertical and one within it, a spike, a notch, corners on
  // whole metres where grid points fall.
  const std::vector<BoundaryPolygon> shapes = {
      testing::BoundaryOf({{0, 0}, {0, 120}, {60, 120}, {60, 40}, {80, 40}, {80.00001, 130}, {150, 130}, {150, 0}, {0, 0}}),
      testing::BoundaryOf({{10, 0}, {0, 50}, {40, 48}, {40.000004, 90}, {41, 91}, {100, 60}, {100, 0}, {55, 30}, {10, 0}}),
      testing::BoundaryOf({{0, 0}, {5, 200}, {6, 20}, {30, 210}, {31, 0}, {0, 0}}),
      // Running down and a little left within 1e-5 of vertical: the full count takes this edge by the x
      // of its crossing alone, at any height.
      testing::BoundaryOf({{0, 0}, {0, 160}, {60.000004, 150}, {60, 100}, {120, 100}, {120, 0}, {0, 0}}),
  };
  RandomGenerator r(4);
  for (std::size_t k = 0; k < shapes.size(); ++k) {
    const PolygonRef p(shapes[k]);
    int inside = 0;
    for (int gx = -20; gx <= 170; ++gx)
      for (int gy = -20; gy <= 230; ++gy) {
        const bool expected = EveryEdgeCounted(p, gx, gy);
        inside += expected;
        ASSERT_EQ(PointInPolygon(p, gx, gy), expected) << "shape " << k << " at " << gx << ", " << gy;
      }
    EXPECT_GT(inside, 100) << "shape " << k;
    // Points on and beside every edge and corner.
    for (int i = 1; i < shapes[k].n; ++i)
      for (int s = 0; s <= 10; ++s) {
        const double t = s / 10.0;
        const double x = shapes[k].x[static_cast<std::size_t>(i)] +
                         t * (shapes[k].x[static_cast<std::size_t>(i + 1)] - shapes[k].x[static_cast<std::size_t>(i)]);
        const double y = shapes[k].y[static_cast<std::size_t>(i)] +
                         t * (shapes[k].y[static_cast<std::size_t>(i + 1)] - shapes[k].y[static_cast<std::size_t>(i)]);
        for (double d : {0.0, 1e-9, -1e-9, 0.01, -0.01, 0.99, -1.01})
          ASSERT_EQ(PointInPolygon(p, x + d, y + d), EveryEdgeCounted(p, x + d, y + d)) << "shape " << k;
      }
    for (int q = 0; q < 20000; ++q) {
      const double x = r.NextReal() * 200.0 - 30.0, y = r.NextReal() * 260.0 - 30.0;
      ASSERT_EQ(PointInPolygon(p, x, y), EveryEdgeCounted(p, x, y)) << "shape " << k;
    }
  }
}

}  // namespace
}  // namespace tolvek
