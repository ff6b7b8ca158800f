#include "simulator/sampling/boundary_weigher.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>
#include <random>
#include <vector>

namespace tolvek {
namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// A stand of `corners` points around (100, 100) at radii between 40 and 100 m, clockwise and closed.
BoundaryPolygon IrregularStand(std::mt19937& rng, int corners) {
  std::uniform_real_distribution<double> reach(40.0, 100.0);
  std::vector<BoundaryPoint> points;
  for (int k = 0; k < corners; ++k) {
    const double angle = -2.0 * std::numbers::pi * k / corners;
    const double r = reach(rng);
    points.push_back({std::round(100.0 + r * std::cos(angle)), std::round(100.0 + r * std::sin(angle))});
  }
  points.push_back(points.front());
  BoundaryPolygon b;
  SetBoundaryPoints(points, b);
  return b;
}

// The weigher's shortcuts (the cell table, the distance from the nearest edge, the held boundary) may
// only spare work: every weight and every failure must be the edge correction's own, bit for bit, and
// every circle below the clear radius it reports must weigh exactly 1.
TEST(BoundaryWeigher, GivesTheEdgeCorrectionsWeightsAtEveryRadius) {
  std::mt19937 rng(1907);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int cut = 0, clear = 0;
  for (int stand = 0; stand < 20; ++stand) {
    const BoundaryPolygon boundary = IrregularStand(rng, 5 + stand % 30);
    GeometryContext quick;
    GeometryContext plain;
    BoundaryClearance table;
    BoundaryWeigher weigher(quick, boundary, &table);
    for (int point = 0; point < 40; ++point) {
      const double cx = std::round(boundary.maxX - boundary.minX) * unit(rng);
      const double cy = std::round(boundary.maxY - boundary.minY) * unit(rng);
      weigher.SetCentre(cx, cy);
      for (int k = 0; k < 8; ++k) {
        const double r = 1.0 + 40.0 * unit(rng);
        bool failed = false;
        const double w = weigher.Weight(0.0, r, cy, cx, failed);
        const EdgeWeightResult expected = EdgeWeight(plain, PolygonRef(boundary), 0.0, r, cy, cx);
        SCOPED_TRACE(testing::Message() << "stand " << stand << " centre " << cx << " " << cy << " r " << r);
        ASSERT_TRUE(SameBits(w, expected.weight)) << w << " " << expected.weight;
        ASSERT_EQ(failed, expected.failed || !std::isfinite(expected.weight));
        const double clearRadius = weigher.ClearRadius(cx, cy);
        if (r < clearRadius) {
          ASSERT_EQ(w, 1.0);
          ++clear;
        }
        if (expected.kind != EdgeCutKind::None) ++cut;
      }
      // Another centre than the one set knows no clear radius.
      EXPECT_LT(weigher.ClearRadius(cx + 1.0, cy), 0.0);
    }
  }
  EXPECT_GT(cut, 500);
  EXPECT_GT(clear, 500);
}

// The table keeps what it took for its boundary and starts afresh for any other, also for the same
// polygon changed in place between passes.
TEST(BoundaryClearance, FollowsItsBoundaryByThePointsThemselves) {
  std::mt19937 rng(77);
  BoundaryPolygon boundary = IrregularStand(rng, 12);
  BoundaryClearance table;
  FollowBoundary(table, boundary);
  ASSERT_GT(table.columns, 0);
  const std::ptrdiff_t cell = CellOfCentre(table, 100.0, 100.0);
  ASSERT_GE(cell, 0);
  const double middle = CellMiddleClearance(table, boundary, cell);
  FollowBoundary(table, boundary);
  EXPECT_TRUE(SameBits(table.middleDistance[static_cast<std::size_t>(cell)], middle));

  boundary.x[3] = std::nextafter(boundary.x[3], 1e9);
  FollowBoundary(table, boundary);
  EXPECT_TRUE(std::isnan(table.middleDistance[static_cast<std::size_t>(cell)]));
  // Centres far off the table take their distance from the edges themselves.
  EXPECT_EQ(CellOfCentre(table, -1000.0, 100.0), -1);
  // A boundary without edges is nowhere near a centre.
  EXPECT_TRUE(std::isinf(ClearanceSq(BoundaryPolygon{}, 0.0, 0.0)));
}

// While a token holds a boundary the crossing search compares its points once; whatever changes the
// boundary has to end the token first, and the next token (or a search without one) sees the change.
TEST(HeldBoundary, EveryNewHoldAndEverySearchWithoutOneSeesAChangedBoundary) {
  std::mt19937 rng(4242);
  BoundaryPolygon boundary = IrregularStand(rng, 9);
  const double cx = boundary.x[2], cy = boundary.y[2] + 3.0;  // near a corner: the search is needed
  const double r = 15.0;
  GeometryContext g;
  const auto fresh = [&] {
    GeometryContext plain;
    return EdgeWeight(plain, PolygonRef(boundary), 0.0, r, cy, cx).weight;
  };
  std::optional<HeldBoundary> hold;
  hold.emplace(g, PolygonRef(boundary));
  EXPECT_TRUE(SameBits(EdgeWeight(g, PolygonRef(boundary), 0.0, r, cy, cx).weight, fresh()));
  EXPECT_TRUE(SameBits(EdgeWeight(g, PolygonRef(boundary), 0.0, r, cy, cx).weight, fresh()));

  hold.reset();
  boundary.y[2] -= 4.0;  // the corner moves in place
  EXPECT_TRUE(SameBits(EdgeWeight(g, PolygonRef(boundary), 0.0, r, cy, cx).weight, fresh()));

  hold.emplace(g, PolygonRef(boundary));
  EXPECT_TRUE(SameBits(EdgeWeight(g, PolygonRef(boundary), 0.0, r, cy, cx).weight, fresh()));
  hold.reset();
  boundary.x[2] += 6.0;
  hold.emplace(g, PolygonRef(boundary));
  EXPECT_TRUE(SameBits(EdgeWeight(g, PolygonRef(boundary), 0.0, r, cy, cx).weight, fresh()));
}

}  // namespace
}  // namespace tolvek
