#pragma once
// The selection rules of the four methods at one sample point. Each walks the candidate trees in
// tree-list order, appends one plot and its sample trees, and tells whether an edge weight the point
// needs failed; a failed point is taken back whole by the pass (no partial plots).
#include <cstdint>
#include <span>
#include <vector>

#include "simulator/sampling/pass.h"

namespace tolvek {

// Edge weights as the selection needs them. The pass implements it on the edge correction; tests may
// give fixed weights.
class EdgeWeigher {
 public:
  virtual ~EdgeWeigher() = default;
  // Weight of a circle of nominal area a (a ≤ 0.1: πr²) and radius r around (x, y). failed is set when
  // the weight is unusable (outside 0.98..10 or the clip failed).
  virtual double Weight(double a, double r, double y, double x, bool& failed) = 0;
  // A radius below which every circle around (x, y) is known to weigh 1 without failing, as Weight
  // would say (negative: none known). Asked once per plot, it spares the trees of many the call.
  virtual double ClearRadius(double /*x*/, double /*y*/) const { return -1.0; }
};

// The per-point inputs of a selection.
struct SelectionPoint {
  int gridIndex = 0;                // 1-based
  const GridPoint* gridPoint = nullptr;
  bool treeCentred = false;         // weighting mode of the run (plot-centred outside repetitions)
};

// The concentric radii and dbh limits as reals (index = circle), taken once per pass for the ring look-up.
struct ConcentricLimits {
  std::array<double, 7> radius{};
  std::array<double, 7> dbh{};
};
ConcentricLimits ConcentricLimitsOf(const MethodSettings& m);

// Forgets every tree-centred weight (and its failure), so the next run computes them afresh: on a new
// method choice with tree-centred weighting and after the true values.
void ClearTreeCentredWeights(TreeList& trees);

// Tree number limit of the n-tree lists (12 m) and the slot count.
inline constexpr double kNTreeMaxDistSq = 144.0;
inline constexpr int kNTreeSlots = 13;

// Sorted insertion into an n-tree nearest list (slots 1..13): the first slot p in 1..12 with
// d² < list[p] takes the tree; slots p..n+5 move one down. Equal distances go behind (first met wins).
void InsertNearest(std::array<double, 14>& dist, std::array<TreeRecord*, 14>& tree, int n, TreeRecord* t,
                   double d2);

// Method 1. Returns false when an edge weight of the point failed.
bool SelectNTreeTrees(SamplingState& s, std::span<TreeRecord* const> candidates, const SelectionPoint& pt,
                      EdgeWeigher& weigher);
// The same from the point's nearest lists, already in the scratch as SelectNTreeTrees lists the
// candidates (the tree index takes them without handing the trees out).
bool SelectNTreeFromLists(SamplingState& s, const SelectionPoint& pt, EdgeWeigher& weigher);
// Methods 2 (k = 0) and 3 (k = counting factor).
// The angle count's limiting distance squared of a tree of this dbh (cm) for counting factor k (m²).
inline double AngleLimit2(double dbh, int k) {
  const double half = dbh * 0.5;
  return half * half / k;
}

// The weights the plot-centred angle count took at a centre, kept from an earlier plot there with the
// same candidates. With `replay` they take the place of weighing: a tree the earlier plot weighed finds
// its weight there, any other selected tree had weight 1. Otherwise each weight taken is appended to
// `learned`, when given.
struct CentreWeights {
  bool replay = false;
  std::span<const KeptWeight> known;
  std::vector<KeptWeight>* learned = nullptr;
};

bool SelectCircleTrees(SamplingState& s, std::span<TreeRecord* const> candidates, const SelectionPoint& pt,
                       int k, EdgeWeigher& weigher, CentreWeights* kept = nullptr);
// Method 52, with the pass's per-circle weights. The ring of a tree is the edge correction's
// ConcentricRing.
bool SelectConcentricTrees(SamplingState& s, std::span<TreeRecord* const> candidates,
                           const SelectionPoint& pt, const ConcentricLimits& limits, EdgeWeigher& weigher);

// The largest radius any tree of the method can be selected within around the plot centre (the
// candidate search radius); for the angle count with the largest dbh of the stand.
double SelectionSearchRadius(const MethodSettings& m, double largestDbh);

}  // namespace tolvek
