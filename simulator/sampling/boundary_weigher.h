#pragma once
// Plot weights on the stand boundary, and the table of how far plot centres lie from it that lets most
// circles skip the edge correction altogether.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "simulator/sampling/boundary_clearance.h"
#include "simulator/sampling/edge_correction.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/selection.h"
#include "simulator/stand/boundary.h"

namespace tolvek {

// Empties the table unless it describes this boundary.
void FollowBoundary(BoundaryClearance& c, const BoundaryPolygon& b);
// The cell of a centre (-1: off the table).
std::ptrdiff_t CellOfCentre(const BoundaryClearance& c, double cx, double cy);
// The distance of a cell's middle from the boundary: every point of the cell lies within half the
// cell's diagonal of it.
double CellMiddleClearance(BoundaryClearance& c, const BoundaryPolygon& b, std::ptrdiff_t cell);
// The square of the exact distance of a centre of the cell from the boundary.
double NearClearanceSq(BoundaryClearance& c, const BoundaryPolygon& b, std::ptrdiff_t cell, double cx, double cy);
// The square of the distance from a point to the nearest boundary edge (infinite without edges).
double ClearanceSq(const BoundaryPolygon& b, double cx, double cy);

// Edge weights on the stand boundary. A circle around the current plot centre that stays clear of every
// boundary edge has weight 1 whatever its size: the cell table settles most circles at once (clear, or
// surely reaching an edge), the distance from the nearest edge (taken once per point, when the table
// cannot tell) the rest, and only circles that reach the boundary go through the edge correction.
class BoundaryWeigher final : public EdgeWeigher {
 public:
  BoundaryWeigher(GeometryContext& g, const BoundaryPolygon& b, BoundaryClearance* table)
      : g_(g), boundary_(b), table_(table) {
    if (table_ != nullptr) FollowBoundary(*table_, b);
  }
  BoundaryWeigher(const BoundaryWeigher&) = delete;
  BoundaryWeigher& operator=(const BoundaryWeigher&) = delete;

  void SetCentre(double cx, double cy) {
    // Nothing changes the boundary while one point's weights are taken (the enterprise route loads a
    // point's model stand before), so the crossing search compares it once per point, not per weight.
    hold_.reset();
    hold_.emplace(g_, PolygonRef(boundary_));
    cx_ = cx;
    cy_ = cy;
    clearKnown_ = false;
    // The bounds are taken when a weight at the centre first needs them: a point whose weights are
    // kept from an earlier pass needs none.
    boundsKnown_ = false;
  }

  double Weight(double a, double r, double y, double x, bool& failed) override {
    if (x == cx_ && y == cy_) TakeBounds();
    if (x == cx_ && y == cy_ && r < upper_) {
      if (r < lower_) {
        failed = false;
        return 1.0;
      }
      if (!clearKnown_) {
        // The root of the smallest square is the smallest root: one square root per point, not per edge.
        // A margin keeps the shortcut away from circles that merely touch an edge.
        clear_ = std::sqrt(cell_ >= 0 ? NearClearanceSq(*table_, boundary_, cell_, cx_, cy_)
                                      : ClearanceSq(boundary_, cx_, cy_)) -
                 1e-6;
        clearKnown_ = true;
      }
      if (r < clear_) {
        failed = false;
        return 1.0;
      }
    }
    const EdgeWeightResult res = EdgeWeight(g_, PolygonRef(boundary_), a, r, y, x);
    failed = res.failed || !std::isfinite(res.weight);
    return res.weight;
  }

  // The bounds Weight tests first, as far as they are known for this centre.
  double ClearRadius(double x, double y) const override {
    if (!(x == cx_ && y == cy_)) return -1.0;
    TakeBounds();
    double clear = std::min(lower_, upper_);
    if (clearKnown_) clear = std::max(clear, std::min(clear_, upper_));
    return clear;
  }

 private:
  // The bounds of the centre's distance from the boundary that its cell of the table gives.
  void TakeBounds() const {
    if (boundsKnown_) return;
    boundsKnown_ = true;
    lower_ = -1.0;
    upper_ = std::numeric_limits<double>::infinity();
    cell_ = table_ != nullptr ? CellOfCentre(*table_, cx_, cy_) : -1;
    const double middle = cell_ >= 0 ? CellMiddleClearance(*table_, boundary_, cell_) : -1.0;
    if (middle >= 0.0) {
      // The millimetre kept off on either side covers every rounding of the distances, so the bounds
      // hold for the distance the exact test below computes as well.
      const double halfDiagonal = table_->cell * 0.7071067811865476;
      lower_ = middle - halfDiagonal - 1e-3;
      upper_ = middle + halfDiagonal + 1e-3;
    }
  }

  GeometryContext& g_;
  const BoundaryPolygon& boundary_;
  std::optional<HeldBoundary> hold_;  // the boundary held at the current centre
  BoundaryClearance* table_;
  double cx_ = std::numeric_limits<double>::quiet_NaN(), cy_ = std::numeric_limits<double>::quiet_NaN();
  // Taken by TakeBounds, which the const ClearRadius calls too.
  mutable bool boundsKnown_ = false;
  mutable std::ptrdiff_t cell_ = -1;                                               // the centre's cell in the table
  mutable double lower_ = -1.0, upper_ = std::numeric_limits<double>::infinity();  // bounds of the centre's distance
  double clear_ = -1.0;
  bool clearKnown_ = false;
};

}  // namespace tolvek
