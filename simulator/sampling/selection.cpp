#include "simulator/sampling/selection.h"

#include <algorithm>
#include <cmath>

#include "simulator/sampling/edge_correction.h"

namespace tolvek {

namespace {

double SquaredDistance(const TreeRecord& t, double cx, double cy) {
  const double dx = t.x - cx;
  const double dy = t.y - cy;
  return dx * dx + dy * dy;
}

// The tree-centred weight of a tree, computed the first time the tree is selected in a run and kept
// with its failure, so every later point reads the same answer without a new clip.
bool TreeCentredWeight(TreeRecord& t, double a, double r, EdgeWeigher& weigher) {
  if (t.weightDone == 0) {
    bool failed = false;
    t.edgeWeight = weigher.Weight(a, r, t.y, t.x, failed);
    t.weightFailed = failed ? 1 : 0;
    t.weightDone = 1;
  }
  return t.weightFailed == 0;
}

// The first k entries of an n-tree list become sample trees of one layer, all with the weight of the
// layer's plot circle at the plot centre. False when that weight failed.
bool RecordNTreeLayer(SamplingState& s, const std::array<double, 14>& dist, const std::array<TreeRecord*, 14>& tree,
                      int k, double area, double radius, std::uint8_t layer, EdgeWeigher& weigher, double& weight) {
  PassResult& pass = s.pass;
  bool failed = false;
  weight = weigher.Weight(area, radius, pass.centreY, pass.centreX, failed);
  if (failed) return false;
  pass.layer = layer;
  SampleTreeRecorder recorder(s, static_cast<std::size_t>(std::max(k, 0)));
  for (int i = 1; i <= k; ++i)
    recorder.Add(*tree[static_cast<std::size_t>(i)], std::sqrt(dist[static_cast<std::size_t>(i)]), layer, weight, area);
  recorder.Finish();
  return true;
}

}  // namespace

void ClearTreeCentredWeights(TreeList& trees) {
  for (TreeRecord& t : trees) {
    t.weightDone = 0;
    t.weightFailed = 0;
  }
}

ConcentricLimits ConcentricLimitsOf(const MethodSettings& m) {
  ConcentricLimits l;
  for (int i = 1; i <= 6; ++i) l.radius[i] = m.concentricRadius[i];
  for (int i = 1; i <= 5; ++i) l.dbh[i] = m.concentricDbhLimit[i];
  return l;
}

double SelectionSearchRadius(const MethodSettings& m, double largestDbh) {
  switch (m.passCode) {
    // The understorey test reads the squared radius, which need not be the square of the radius field.
    case kMethodNTree: return std::max(std::sqrt(kNTreeMaxDistSq), std::sqrt(std::max(m.understoreyRadiusSq, 0.0)));
    case kMethodFixedCircle: return std::sqrt(m.circleArea / kCirclePi);
    case kMethodAngleCount: {
      // A factor of 0 makes SelectCircleTrees select as a fixed circle.
      if (m.countingFactor == 0) return std::sqrt(m.circleArea / kCirclePi);
      return largestDbh * 0.5 / std::sqrt(static_cast<double>(m.countingFactor));
    }
    // The largest circle SelectConcentricTrees looks at.
    case kMethodConcentric: return m.concentricRadius[std::min<int>(m.circleCount, kMaxConcentricCircles)];
    default: return 0.0;
  }
}

void InsertNearest(std::array<double, 14>& dist, std::array<TreeRecord*, 14>& tree, int n, TreeRecord* t,
                   double d2) {
  for (int p = 1; p <= 12; ++p) {
    if (d2 < dist[p]) {
      // Slots p..min(n + 5, 12) move one down and the new tree takes slot p (a slot p beyond them only
      // takes it): carried along slot by slot, which for these few slots costs less than the two block
      // moves a plain shift becomes.
      const int end = std::max(p, std::min(n + 5, 12) + 1);
      double carryD = d2;
      TreeRecord* carryT = t;
      for (int q = p; q <= end; ++q) {
        std::swap(carryD, dist[q]);
        std::swap(carryT, tree[q]);
      }
      return;
    }
  }
}

namespace {

// The loop of SelectCircleTrees, one instance per rule (fixed circle or angle count) and weighting, so
// that no tree pays for the branches of the others.
template <bool kFixed, bool kTreeCentred, bool kTaken = false>
bool CircleLoop(SamplingState& s, std::span<TreeRecord* const> candidates, int k, EdgeWeigher& weigher,
                CentreWeights* kept) {
  PassResult& pass = s.pass;
  const double a = s.method.circleArea;
  const double r = std::sqrt(a / kCirclePi);
  const double r2 = r * r;
  const double cx = pass.centreX, cy = pass.centreY;
  const double plotWeight = pass.plotWeight;
  const std::uint8_t layer = pass.layer;
  // Limiting circles smaller than this weigh 1 (the weigher's own first test); grows as the weigher
  // learns the centre's distance from the boundary.
  double clear = kFixed || kTreeCentred ? 0.0 : weigher.ClearRadius(cx, cy);
  // Weights kept from an earlier plot at this centre, in the order of the candidates.
  const bool replay = kept != nullptr && kept->replay;
  const KeptWeight* known = replay ? kept->known.data() : nullptr;
  const KeptWeight* const knownEnd = replay ? known + kept->known.size() : nullptr;
  std::vector<KeptWeight>* const learned = kept != nullptr && !replay ? kept->learned : nullptr;
  SampleTreeRecorder recorder(s, candidates.size());
  for (std::size_t position = 0; position < candidates.size(); ++position) {
    TreeRecord* const t = candidates[position];
    const double d2 = SquaredDistance(*t, cx, cy);
    double weight = 1.0;
    double area = a;
    if constexpr (kFixed) {
      if (!(d2 < r2)) continue;
      t->plotArea = a;
      if constexpr (kTreeCentred) {
        if (!TreeCentredWeight(*t, a, r, weigher)) return false;
        weight = t->edgeWeight;
      } else {
        weight = plotWeight;
      }
    } else {
      double limit2 = 0.0, R = 0.0;
      if constexpr (kTaken) {
        const auto i = static_cast<std::size_t>(t - s.scratch.angleFor);
        limit2 = s.scratch.angleLimit2[i];
        if (!(d2 < limit2)) continue;
        R = s.scratch.angleRadius[i];
      } else {
        limit2 = AngleLimit2(t->dbh, k);
        if (!(d2 < limit2)) continue;
        R = std::sqrt(limit2);
      }
      area = kCirclePi * limit2;  // π R² of the limiting radius² itself, not of its root squared
      t->plotArea = area;
      if constexpr (kTreeCentred) {
        if (!TreeCentredWeight(*t, area, R, weigher)) return false;
        weight = t->edgeWeight;
      } else if (replay) {
        if (known != knownEnd && known->position == static_cast<std::int32_t>(position)) weight = (known++)->weight;
      } else if (!(R < clear)) {
        bool failed = false;
        weight = weigher.Weight(area, R, cy, cx, failed);
        if (failed) return false;
        clear = weigher.ClearRadius(cx, cy);
        if (learned != nullptr) learned->push_back({static_cast<std::int32_t>(position), weight});
      }
      if (t->dbh > pass.strongestDbh) {
        pass.strongestDbh = t->dbh;
        pass.strongestWeight = weight;
        pass.strongestRadius = R;
      }
    }
    recorder.Add(*t, std::sqrt(d2), layer, weight, area);
  }
  recorder.Finish();
  return true;
}

}  // namespace

bool SelectCircleTrees(SamplingState& s, std::span<TreeRecord* const> candidates, const SelectionPoint& pt,
                       int k, EdgeWeigher& weigher, CentreWeights* kept) {
  AppendPlot(s, pt.gridPoint, pt.gridIndex, s.method.circleArea, 0.0, 0.0);
  s.pass.strongestDbh = 0.0;
  if (k == 0)
    return pt.treeCentred ? CircleLoop<true, true>(s, candidates, k, weigher, nullptr)
                          : CircleLoop<true, false>(s, candidates, k, weigher, nullptr);
  // A pass of the angle count has the limiting distances taken for its trees.
  if (s.scratch.angleFor != nullptr)
    return pt.treeCentred ? CircleLoop<false, true, true>(s, candidates, k, weigher, kept)
                          : CircleLoop<false, false, true>(s, candidates, k, weigher, kept);
  return pt.treeCentred ? CircleLoop<false, true>(s, candidates, k, weigher, kept)
                        : CircleLoop<false, false>(s, candidates, k, weigher, kept);
}

bool SelectConcentricTrees(SamplingState& s, std::span<TreeRecord* const> candidates,
                           const SelectionPoint& pt, const ConcentricLimits& limits, EdgeWeigher& weigher) {
  PassResult& pass = s.pass;
  const MethodSettings& m = s.method;
  const int count = std::min<int>(m.circleCount, kMaxConcentricCircles);
  const double cx = pass.centreX, cy = pass.centreY;
  AppendPlot(s, pt.gridPoint, pt.gridIndex, 0.0, 0.0, 0.0);
  const double rMax = limits.radius[static_cast<std::size_t>(count)];
  const double r2Max = rMax * rMax;
  const std::span<const double> radii(limits.radius.data(), 7);
  const std::span<const double> dbhs(limits.dbh.data(), 6);
  const std::uint8_t layer = pass.layer;
  SampleTreeRecorder recorder(s, candidates.size());
  for (TreeRecord* t : candidates) {
    const double d2 = SquaredDistance(*t, cx, cy);
    if (!(d2 <= r2Max)) continue;
    const double distance = std::sqrt(d2);
    const int ring = ConcentricRing(distance, t->dbh, count, radii, dbhs);
    if (ring < 1) continue;
    const double rr = limits.radius[static_cast<std::size_t>(ring)];
    const double area = rr * rr * kCirclePi;
    t->plotArea = area;
    double weight = pass.concentricWeight[static_cast<std::size_t>(ring)];
    if (pt.treeCentred) {
      if (!TreeCentredWeight(*t, 0.0, rr, weigher)) return false;
      weight = t->edgeWeight;
    }
    recorder.Add(*t, distance, layer, weight, area);
  }
  recorder.Finish();
  return true;
}

bool SelectNTreeTrees(SamplingState& s, std::span<TreeRecord* const> candidates, const SelectionPoint& pt,
                      EdgeWeigher& weigher) {
  const MethodSettings& m = s.method;
  NearestLists& lists = s.scratch.nearest;
  const int n = std::clamp(m.treeNumber, 2, 7);
  const double cx = s.pass.centreX, cy = s.pass.centreY;
  // All slots, not only 1..n+5: slots past the reset would otherwise hold values of earlier points.
  // A slot holds a tree of this point exactly when its distance lies below the list's limit (a tree
  // goes in only below the distance it displaces, and moves with it), so the tree slots need no reset.
  lists.mainDist.fill(kNTreeMaxDistSq);
  lists.underDist.fill(m.understoreyRadiusSq);
  for (TreeRecord* t : candidates) {
    const double d2 = SquaredDistance(*t, cx, cy);
    if (d2 <= kNTreeMaxDistSq && t->dbh > m.understoreyDbhLimit) {
      t->layer = 0;
      InsertNearest(lists.mainDist, lists.mainTree, n, t, d2);
    } else if (d2 <= m.understoreyRadiusSq) {
      t->layer = 1;
      InsertNearest(lists.underDist, lists.underTree, n, t, d2);
    }
  }
  return SelectNTreeFromLists(s, pt, weigher);
}

bool SelectNTreeFromLists(SamplingState& s, const SelectionPoint& pt, EdgeWeigher& weigher) {
  PassResult& pass = s.pass;
  const MethodSettings& m = s.method;
  NearestLists& sc = s.scratch.nearest;
  const int n = std::clamp(m.treeNumber, 2, 7);
  // NTreeEstimate
  pass.treesOfCurrentPlot = 0;
  int k1 = 0, k2 = 0;
  for (int i = 1; i <= n; ++i) {
    if (sc.mainDist[i] < kNTreeMaxDistSq) k1 = i;
    if (sc.underDist[i] < m.understoreyRadiusSq) k2 = i;
  }
  double r1 = k1 == n ? std::sqrt(sc.mainDist[n]) : std::sqrt(kNTreeMaxDistSq);
  const double r2 = k2 == n ? std::sqrt(sc.underDist[n]) : m.understoreyRadius;
  if (m.variant == 5 && k1 == n && sc.mainDist[n + 1] > sc.mainDist[n])
    r1 = std::sqrt((sc.mainDist[n] + sc.mainDist[n + 1]) / 2.0);
  const double a1 = r1 * r1 * kCirclePi;
  const double a2 = r2 * r2 * kCirclePi;
  pass.nTreeR1 = r1;
  pass.nTreeR2 = r2;
  pass.nTreeW1 = 0.0;
  pass.nTreeW2 = 0.0;
  AppendPlot(s, pt.gridPoint, pt.gridIndex, a1, a1, a2);
  // The n-tree weights are always taken at the plot centre, whatever the weighting mode.
  if (k1 > 0 && !RecordNTreeLayer(s, sc.mainDist, sc.mainTree, k1, a1, r1, 0, weigher, pass.nTreeW1)) return false;
  if (k2 > 0 && !RecordNTreeLayer(s, sc.underDist, sc.underTree, k2, a2, r2, 1, weigher, pass.nTreeW2)) return false;
  if (k1 + k2 == 0) AppendSampleTree(s, nullptr, 0.0, 0.0);
  pass.layer = 0;
  return true;
}

}  // namespace tolvek
