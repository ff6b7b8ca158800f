#include "simulator/sampling/pass.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "common/format.h"
#include "common/rounding.h"
#include "common/wait.h"
#include "simulator/sampling/edge_correction.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/selection.h"
#include "simulator/stand/boundary.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

constexpr Colour kUnderstoreyPen = 16711935;  // magenta
constexpr Colour kInnerCirclePen = 8421504;   // grey

double SegmentDistanceSq(double cx, double cy, double x1, double y1, double x2, double y2) {
  const double vx = x2 - x1, vy = y2 - y1;
  const double wx = cx - x1, wy = cy - y1;
  const double len2 = vx * vx + vy * vy;
  double t = len2 > 0.0 ? (wx * vx + wy * vy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  const double px = x1 + t * vx - cx, py = y1 + t * vy - cy;
  return px * px + py * py;
}

// The square of the distance from a point to the nearest boundary edge (infinite without edges); only
// the edges `edges` lists (0-terminated, ascending) when it is given: their nearest is the nearest of all.
double ClearanceSq(const BoundaryPolygon& b, double cx, double cy, const std::uint8_t* edges = nullptr) {
  double clear2 = std::numeric_limits<double>::infinity();
  for (int k = 1;; ++k) {
    const int i = edges != nullptr ? edges[k - 1] : k;
    if (edges != nullptr ? i == 0 : i >= b.n) break;
    const double x1 = b.x[static_cast<std::size_t>(i)], y1 = b.y[static_cast<std::size_t>(i)];
    const double x2 = b.x[static_cast<std::size_t>(i + 1)], y2 = b.y[static_cast<std::size_t>(i + 1)];
    // An edge whose box lies farther off than the nearest edge so far cannot be nearer; the slack is far
    // above the rounding of the distance, so the smallest square comes out as from every edge.
    const double bx = std::max(0.0, std::max(std::min(x1, x2) - cx, cx - std::max(x1, x2)));
    const double by = std::max(0.0, std::max(std::min(y1, y2) - cy, cy - std::max(y1, y2)));
    if (bx * bx + by * by > clear2 * (1.0 + 1e-9) + 1e-9) continue;
    clear2 = std::min(clear2, SegmentDistanceSq(cx, cy, x1, y1, x2, y2));
  }
  return clear2;
}

// Empties the table unless it describes this boundary.
void FollowBoundary(BoundaryClearance& c, const BoundaryPolygon& b) {
  const auto n = static_cast<std::size_t>(std::clamp(b.n, 0, kBoundaryCapacity) + 1);
  const auto same = [n](const std::vector<double>& v, const std::array<double, kBoundaryCapacity + 1>& a) {
    return v.size() == n && std::memcmp(v.data(), a.data(), n * sizeof(double)) == 0;
  };
  if (c.n == b.n && same(c.boundaryX, b.x) && same(c.boundaryY, b.y)) return;
  c.n = b.n;
  c.boundaryX.assign(b.x.begin(), b.x.begin() + static_cast<std::ptrdiff_t>(n));
  c.boundaryY.assign(b.y.begin(), b.y.begin() + static_cast<std::ptrdiff_t>(n));
  c.columns = c.rows = 0;
  c.middleDistance.clear();
  c.nearStart.clear();
  c.nearEdges.clear();
  if (b.n < 2) return;
  double minX = b.x[1], maxX = b.x[1], minY = b.y[1], maxY = b.y[1];
  for (int i = 2; i <= b.n; ++i) {
    minX = std::min(minX, b.x[static_cast<std::size_t>(i)]);
    maxX = std::max(maxX, b.x[static_cast<std::size_t>(i)]);
    minY = std::min(minY, b.y[static_cast<std::size_t>(i)]);
    maxY = std::max(maxY, b.y[static_cast<std::size_t>(i)]);
  }
  if (!std::isfinite(minX + maxX + minY + maxY)) return;
  // Plots are laid inside the stand; centres off the table take the distance from the edges themselves.
  constexpr double kMargin = 30.0;
  constexpr double kMaxCells = 1 << 18;
  c.originX = minX - kMargin;
  c.originY = minY - kMargin;
  c.cell = 2.0;
  while ((std::floor((maxX - minX + 2 * kMargin) / c.cell) + 1) * (std::floor((maxY - minY + 2 * kMargin) / c.cell) + 1) >
         kMaxCells)
    c.cell *= 2.0;
  c.columns = static_cast<int>(std::floor((maxX - minX + 2 * kMargin) / c.cell)) + 1;
  c.rows = static_cast<int>(std::floor((maxY - minY + 2 * kMargin) / c.cell)) + 1;
  c.middleDistance.assign(static_cast<std::size_t>(c.columns) * static_cast<std::size_t>(c.rows),
                      std::numeric_limits<double>::quiet_NaN());
  c.nearStart.assign(c.middleDistance.size(), -1);
}

// The cell of a centre (-1: off the table).
std::ptrdiff_t CellOfCentre(const BoundaryClearance& c, double cx, double cy) {
  if (c.middleDistance.empty()) return -1;
  const double u = std::floor((cx - c.originX) / c.cell), v = std::floor((cy - c.originY) / c.cell);
  if (!(u >= 0.0 && u < c.columns && v >= 0.0 && v < c.rows)) return -1;
  return static_cast<std::ptrdiff_t>(v) * c.columns + static_cast<std::ptrdiff_t>(u);
}

GeoPoint CellMiddle(const BoundaryClearance& c, std::ptrdiff_t cell) {
  return {c.originX + (static_cast<double>(cell % c.columns) + 0.5) * c.cell,
          c.originY + (static_cast<double>(cell / c.columns) + 0.5) * c.cell};
}

// The distance of a cell's middle from the boundary: every point of the cell lies within half the
// cell's diagonal of it.
double CellMiddleClearance(BoundaryClearance& c, const BoundaryPolygon& b, std::ptrdiff_t cell) {
  double& d = c.middleDistance[static_cast<std::size_t>(cell)];
  if (std::isnan(d)) {
    const GeoPoint m = CellMiddle(c, cell);
    d = std::sqrt(ClearanceSq(b, m.x, m.y));
  }
  return d;
}

// The exact distance of a centre of the cell from the boundary, from the edges that can be nearest to
// a point of the cell: an edge farther from the middle than the middle's distance and a diagonal is
// farther from every point of the cell than the middle's nearest edge (the millimetre covers rounding).
double NearClearanceSq(BoundaryClearance& c, const BoundaryPolygon& b, std::ptrdiff_t cell, double cx, double cy) {
  std::int32_t& start = c.nearStart[static_cast<std::size_t>(cell)];
  if (start < 0) {
    const GeoPoint m = CellMiddle(c, cell);
    const double reach = CellMiddleClearance(c, b, cell) + c.cell * 1.4142135623730951 + 1e-3;
    start = static_cast<std::int32_t>(c.nearEdges.size());
    for (int i = 1; i < b.n; ++i) {
      const double d2 = SegmentDistanceSq(m.x, m.y, b.x[static_cast<std::size_t>(i)], b.y[static_cast<std::size_t>(i)],
                                          b.x[static_cast<std::size_t>(i + 1)], b.y[static_cast<std::size_t>(i + 1)]);
      if (!(d2 > reach * reach)) c.nearEdges.push_back(static_cast<std::uint8_t>(i));
    }
    c.nearEdges.push_back(0);
  }
  return ClearanceSq(b, cx, cy, c.nearEdges.data() + start);
}

// Edge weights on the stand boundary. A circle around the current plot centre that stays clear of every
// boundary edge has weight 1 whatever its size: the cell table settles most circles at once (clear, or
// surely reaching an edge), the distance from the nearest edge (taken once per point, when the table
// cannot tell) the rest, and only circles that reach the boundary go through the edge correction.
class BoundaryWeigher : public EdgeWeigher {
 public:
  BoundaryWeigher(GeometryContext& g, const BoundaryPolygon& b, BoundaryClearance* table)
      : g_(g), boundary_(b), table_(table) {
    if (table_ != nullptr) FollowBoundary(*table_, b);
    g_.heldBoundary = PolygonRef(boundary_).x;
  }
  ~BoundaryWeigher() override { g_.heldBoundary = nullptr; }
  BoundaryWeigher(const BoundaryWeigher&) = delete;
  BoundaryWeigher& operator=(const BoundaryWeigher&) = delete;

  void SetCentre(double cx, double cy) {
    // Nothing changes the boundary while one point's weights are taken (the enterprise route loads a
    // point's model stand before), so the crossing search compares it once per point, not per weight.
    g_.crossingEdges.comparedAt = nullptr;
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
                                      : ClearanceSq(boundary_, cx_, cy_)) - 1e-6;
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
  BoundaryClearance* table_;
  double cx_ = std::numeric_limits<double>::quiet_NaN(), cy_ = std::numeric_limits<double>::quiet_NaN();
  // Taken by TakeBounds, which the const ClearRadius calls too.
  mutable bool boundsKnown_ = false;
  mutable std::ptrdiff_t cell_ = -1;  // the centre's cell in the table
  mutable double lower_ = -1.0, upper_ = std::numeric_limits<double>::infinity();  // bounds of the centre's distance
  double clear_ = -1.0;
  bool clearKnown_ = false;
};

// Tells the window about a settled plot: the drawing each method makes and the species seen.
void ReportPlot(PassEnvironment& env, int gridIndex) {
  SamplingState& s = env.sampling;
  PassResult& pass = s.pass;
  const MethodSettings& m = s.method;
  const PlotRecord& plot = s.plots.plots.back();
  const bool draw = env.run.graphics;
  const bool standMap = draw && !env.run.enterpriseMode;
  const double cx = pass.centreX, cy = pass.centreY;

  if (standMap && m.passCode == kMethodNTree) {
    const int n = std::clamp(m.treeNumber, 2, 7);
    env.observer.PlotCircle(cx, cy, std::sqrt(s.scratch.nearest.mainDist[static_cast<std::size_t>(n)]), kYellow, true);
  }
  // The species seen were marked as the trees were recorded. The enterprise map shows no model
  // stand's trees: its plots are shown in the plot plan.
  if (standMap)
    for (const SampleTreeRecord& t : s.plots.TreesOf(plot))
      env.observer.SampledTree(t.species, t.dbh, t.x, t.y, t.layer == 1 ? kUnderstoreyPen : kYellow);
  if (standMap && m.passCode == kMethodFixedCircle)
    env.observer.PlotCircle(cx, cy, std::sqrt(m.circleArea / kCirclePi), kYellow, true);
  if (standMap && m.passCode == kMethodConcentric) {
    const int count = std::min<int>(m.circleCount, kMaxConcentricCircles);
    for (int c = 1; c <= count; ++c)
      env.observer.PlotCircle(cx, cy, m.concentricRadius[static_cast<std::size_t>(c)],
                              c == count ? kYellow : kInnerCirclePen, true);
  }
  env.observer.PlotRecorded(gridIndex, plot);
}

// The enterprise route of one point: model stand and plot centre. Without the route no point of an
// enterprise grid can be placed.
bool EnterprisePoint(PassEnvironment& env, int gridIndex, GridPoint& point) {
  if (env.enterprise == nullptr) return false;
  return env.enterprise->PreparePoint(gridIndex, point, env.sampling.pass);
}

}  // namespace

void AllTreesSource::Candidates(TreeList& trees, double, double, double, std::vector<TreeRecord*>& out) {
  out.clear();
  for (TreeRecord& t : trees) out.push_back(&t);
}

std::string SampleTreeCountLabel(const LanguageTable& lang, std::int32_t total) {
  return PadRight(Translate(lang, "Probebäume:"), 16) + FormatInt(total, 6);
}

void AppendPlot(SamplingState& s, const GridPoint* point, int gridIndex, double selectionArea, double a1,
                double a2) {
  PassResult& pass = s.pass;
  if (pass.failed) return;
  PlotRecord p;
  if (point != nullptr) {
    p.standType = point->standType;
    p.ageClass = point->ageClass;
  }
  p.plotArea = selectionArea;
  if (s.method.passCode == kMethodNTree) {
    p.plotArea = a1;
    p.secondArea = a2;
  }
  if (s.method.passCode == kMethodFixedCircle && pass.plotWeight != 0.0) p.insideShare = 1.0 / pass.plotWeight;
  p.firstTree = static_cast<std::int32_t>(s.plots.trees.size());
  p.treeCount = 0;
  p.gridIndex = gridIndex;
  s.plots.plots.push_back(p);
  pass.treesOfCurrentPlot = 0;
}

void AppendSampleTree(SamplingState& s, const TreeRecord* tree, double edgeWeight, double plotArea) {
  SampleTreeRecorder recorder(s, 1);
  if (tree != nullptr) recorder.Add(*tree, s.pass.distance, s.pass.layer, edgeWeight, plotArea);
  recorder.Finish();
}

void SampleTreeRecorder::Count(SamplingState& s, bool recording, SampleTreeRecord* first, SampleTreeRecord* next,
                               std::uint32_t seen) {
  if (!recording) return;
  PassResult& pass = s.pass;
  const std::span<const SampleTreeRecord> added(first, static_cast<std::size_t>(next - first));
  s.plots.trees.Commit(added.size());
  // The empty plot counts as one entry without a record.
  const auto entries = static_cast<std::int32_t>(std::max<std::size_t>(added.size(), 1));
  pass.treesOfCurrentPlot = static_cast<std::uint16_t>(pass.treesOfCurrentPlot + entries);
  pass.sampleTreeTotal += entries;
  if (added.empty()) return;
  s.plots.plots.back().treeCount += static_cast<std::int32_t>(added.size());
  for (std::uint8_t species = 1; species <= 9; ++species)
    if ((seen >> species & 1u) != 0) MarkSampledSpecies(pass, species);
  pass.distance = added.back().distance;
  pass.layer = added.back().layer;
}

void MarkSampledSpecies(PassResult& pass, std::uint8_t species) {
  if (species >= 1 && species <= 9) pass.speciesSeen[species] = 1;
}

namespace {

// The limiting distances a pass of the angle count reads instead of working them out at every plot a
// tree is counted in; taken again only when the index was rebuilt (other trees or diameters), the
// list moved or the counting factor changed.
void TakeAngleLimits(SamplingState& s, const TreeList& trees, int factor) {
  SelectionScratch& sc = s.scratch;
  if (sc.angleTakenFor != trees.data() || sc.angleTakenSize != trees.size() || sc.angleTakenFactor != factor ||
      sc.angleTakenBuild != s.treeIndex.builds) {
    sc.angleLimit2.resize(trees.size());
    sc.angleRadius.resize(trees.size());
    for (std::size_t i = 0; i < trees.size(); ++i) {
      sc.angleLimit2[i] = AngleLimit2(trees[i].dbh, factor);
      sc.angleRadius[i] = std::sqrt(sc.angleLimit2[i]);
    }
    sc.angleTakenFor = trees.data();
    sc.angleTakenSize = trees.size();
    sc.angleTakenFactor = factor;
    sc.angleTakenBuild = s.treeIndex.builds;
  }
  sc.angleFor = trees.data();
}

// Everything the answers kept for a centre are worked out from: the trees (by the index's build, the
// list's place and size), the query, the method's circles, the edge correction's settings and the
// boundary.
void DescribeForMemo(std::vector<double>& key, const TreeIndex& index, const TreeList& trees, const TreeQuery& q,
                     const MethodSettings& m, const GeometryContext& g, const BoundaryPolygon& b) {
  key.clear();
  const auto bits = [&](std::uint64_t v) { key.push_back(std::bit_cast<double>(v)); };
  bits(static_cast<std::uint64_t>(index.builds));
  bits(reinterpret_cast<std::uintptr_t>(trees.data()));
  bits(trees.size());
  key.insert(key.end(), {q.radius, q.reachPerDbh, static_cast<double>(q.steps), static_cast<double>(q.nearest),
                         q.mainLimitSq, q.mainDbhLimit, q.underLimitSq});
  key.insert(key.end(), q.stepDbh.begin(), q.stepDbh.end());
  key.insert(key.end(), q.stepRadius.begin(), q.stepRadius.end());
  key.insert(key.end(), {static_cast<double>(m.passCode), m.circleArea, static_cast<double>(m.countingFactor),
                         static_cast<double>(m.circleCount)});
  key.insert(key.end(), m.concentricRadius.begin(), m.concentricRadius.end());
  key.insert(key.end(), {static_cast<double>(g.cornersPerCircle), g.enterpriseMode ? 1.0 : 0.0,
                         g.clipWithoutShortcuts ? 1.0 : 0.0, g.crossingsWithoutShortcuts ? 1.0 : 0.0});
  const int n = std::clamp(b.n, 0, kBoundaryCapacity);
  key.push_back(static_cast<double>(b.n));
  key.insert(key.end(), b.x.begin(), b.x.begin() + n + 1);
  key.insert(key.end(), b.y.begin(), b.y.begin() + n + 1);
}

}  // namespace

PassOutcome RunSamplingPass(PassEnvironment& env) {
  SamplingState& s = env.sampling;
  MethodSettings& m = s.method;
  PassResult& pass = s.pass;
  SampleGrid& grid = s.grid;
  Services& services = env.services;

  m.passCode = m.code;
  if (!IsSamplingMethod(m.passCode)) {
    services.messages->PlatformBox(Translate(env.language, "Bitte Verfahren festlegen"), "", PlatformButtons::Ok,
                                   PlatformIcon::None);
    return PassOutcome::NoMethod;
  }

  std::string fatal;
  try {
    s.plots.Clear();
  } catch (...) {
    fatal = "1805";
  }
  if (!fatal.empty()) FatalErrorCode(services, fatal);
  pass.plotCount = 0;
  pass.sampleTreeTotal = 0;
  pass.treesOfCurrentPlot = 0;
  pass.completed = false;
  pass.layer = 0;
  env.observer.PassStarted();

  if (!grid.exists) {
    std::string problem;
    if (!NewGrid(grid, &env.boundary, env.areas, env.gridContext, &problem)) {
      services.messages->PlatformBox(Translate(env.language, problem), "", PlatformButtons::Ok, PlatformIcon::None);
      return PassOutcome::GridFailed;
    }
  }
  pass.lastLoadedModelStand = -1;

  const bool enterprise = env.run.enterpriseMode;
  // The edge correction works by the same mode and circle corners as the pass.
  env.geometry.enterpriseMode = enterprise;
  env.geometry.cornersPerCircle = m.cornersPerCircle;
  const bool treeCentred = env.repetition && m.weighting == WeightingMode::TreeCentred;
  const ConcentricLimits limits = ConcentricLimitsOf(m);
  const int circleCount = std::min<int>(m.circleCount, kMaxConcentricCircles);
  const double fixedRadius = std::sqrt(m.circleArea / kCirclePi);
  BoundaryWeigher weigher(env.geometry, env.boundary, enterprise ? nullptr : &s.clearance);
  std::vector<TreeRecord*>& candidates = s.scratch.candidates;
  // Without a source of its own the pass asks the tree index, which hands out only the trees near a plot.
  const bool indexed = env.candidates == nullptr;
  const bool wholeList = !indexed && env.candidates->WholeList();
  TreeQuery query = TreeQueryFor(m);
  // Where trees reach distances of their own, the trees of every centre are found at once, tree by
  // tree, when the list is first taken: a query per centre would look at many trees that reach only a
  // fraction of its search radius. The enterprise route changes its trees from point to point.
  const bool batchable =
      indexed && !enterprise && m.passCode != kMethodNTree && (query.steps > 0 || query.reachPerDbh > 0.0);
  bool batched = false;
  s.scratch.angleFor = nullptr;
  CentreBatch& batch = s.scratch.batch;
  std::vector<std::int32_t>& batchCentre = s.scratch.batchCentre;
  // The whole tree list serves every point unless a source narrows it; it is listed again only when the
  // list itself changed (a model stand loaded by the enterprise route).
  const TreeRecord* listedData = nullptr;
  std::size_t listedSize = 0;
  std::int32_t listedModelStand = 0;
  bool listed = false;
  double largestDbh = 0.0;

  // In the repetitions of stand mode with the index, what a centre found is kept for the next time it
  // comes back, on grids of few enough shifts for that to happen. The index is brought up to date
  // first, since the kept answers belong to its trees.
  PlotMemo* memo = nullptr;
  bool indexFresh = false;  // refreshed for this very list just now: the first listing need not compare again
  const double shifts = static_cast<double>(grid.dx) * static_cast<double>(grid.dy);
  if (indexed && !enterprise && env.repetition && shifts <= kKeptShiftsAtMost) {
    RefreshTreeIndex(s.treeIndex, env.trees);
    indexFresh = true;
    // The radius the list's first taking sets again, from the same largest dbh.
    query.radius = SelectionSearchRadius(m, s.treeIndex.largestDbh);
    DescribeForMemo(s.plotMemo.nextKey, s.treeIndex, env.trees, query, m, env.geometry, env.boundary);
    if (BeginPlotMemo(s.plotMemo, env.boundary)) memo = &s.plotMemo;
  }

  // On the run's schedule: a repetition's pass pumps only when the run's last pump is due again.
  PumpThrottle throttle(20, &env.run.pumps);
  bool stopped = false;
  // The clock is asked at every 16th point only: reading it costs about as much as a small plot, and
  // 16 points take far less than the throttle's interval, so the run controls answer as quickly.
  unsigned visited = 0;
  for (int i = 1; i <= grid.pointCount; ++i) {
    GridPoint& point = grid.Point(i);
    if (point.inside == 0) continue;
    if (visited++ % 16 == 0) throttle.Tick(services);
    if (env.run.endRequested) {
      stopped = true;
      break;
    }
    env.observer.PointStarted(i);
    pass.plotWeight = 1.0;
    pass.failed = false;
    pass.speciesSeen.fill(0);

    if (enterprise) {
      pass.mapX = point.x + grid.originX;
      pass.mapY = point.y + grid.originY;
      bool usable = false;
      try {
        usable = EnterprisePoint(env, i, point);
      } catch (...) {
        fatal = "1835";
      }
      if (!fatal.empty()) break;
      if (!usable) continue;
    } else {
      pass.centreX = static_cast<double>(point.x + grid.originX);
      pass.centreY = static_cast<double>(point.y + grid.originY);
    }
    pass.savedCentreX = pass.centreX;
    pass.savedCentreY = pass.centreY;
    pass.planCentreX = static_cast<float>(pass.centreX);
    pass.planCentreY = static_cast<float>(pass.centreY);

    // Plot weights; any failed circle drops the point (a failed inner circle is not hidden by a good
    // outer one).
    weigher.SetCentre(pass.centreX, pass.centreY);
    PlotMemo::Entry* const kept = memo != nullptr ? PlotMemoEntry(*memo, pass.centreX, pass.centreY) : nullptr;
    const bool keptPlotWeights = kept != nullptr && (kept->kept & PlotMemo::kPlotWeights) != 0;
    bool failed = false;
    if (m.passCode == kMethodFixedCircle) {
      if (keptPlotWeights) {
        pass.plotWeight = KeptPlotWeights(*kept)[0];
      } else {
        // The radius the selection uses: the one that belongs to the circle area.
        pass.plotWeight = weigher.Weight(0.0, fixedRadius, pass.centreY, pass.centreX, failed);
        if (kept != nullptr && !failed) KeepPlotWeights(*memo, *kept, std::span<const double>(&pass.plotWeight, 1));
      }
    } else if (m.passCode == kMethodConcentric) {
      const std::span<double> weights(pass.concentricWeight.data() + 1, static_cast<std::size_t>(std::max(circleCount, 0)));
      if (keptPlotWeights) {
        std::ranges::copy(KeptPlotWeights(*kept), weights.begin());
      } else {
        for (int c = 1; c <= circleCount; ++c) {
          bool f = false;
          pass.concentricWeight[static_cast<std::size_t>(c)] =
              weigher.Weight(0.0, limits.radius[static_cast<std::size_t>(c)], pass.centreY, pass.centreX, f);
          failed = failed || f;
        }
        if (kept != nullptr && !failed) KeepPlotWeights(*memo, *kept, weights);
      }
    }
    if (failed) continue;

    // A model stand loaded into the same storage keeps address and perhaps size: its number tells.
    if (!listed || env.trees.data() != listedData || env.trees.size() != listedSize ||
        pass.lastLoadedModelStand != listedModelStand) {
      listedData = env.trees.data();
      listedSize = env.trees.size();
      listedModelStand = pass.lastLoadedModelStand;
      listed = true;
      if (indexed) {
        // A model stand lent with its own index needs no comparison with its trees.
        const bool lentIndex = env.enterprise != nullptr && env.enterprise->IndexDescribesTrees();
        if (!indexFresh && !lentIndex) RefreshTreeIndex(s.treeIndex, env.trees);
        indexFresh = false;
        // The index keeps the largest dbh of the list it describes (now this one).
        largestDbh = s.treeIndex.largestDbh;
        // Room for every tree: the index writes a point's trees straight into it.
        if (candidates.size() < env.trees.size()) candidates.resize(env.trees.size());
      } else {
        largestDbh = 0.0;
        for (const TreeRecord& t : env.trees) largestDbh = std::max(largestDbh, t.dbh);
      }
      if (wholeList) env.candidates->Candidates(env.trees, 0.0, 0.0, 0.0, candidates);
      query.radius = SelectionSearchRadius(m, largestDbh);
      if (indexed && !enterprise && m.passCode == kMethodAngleCount && m.countingFactor != 0)
        TakeAngleLimits(s, env.trees, m.countingFactor);
      if (batchable) {
        // The centres of this point and every later one, as the loop takes them.
        batch.cx.clear();
        batch.cy.clear();
        batchCentre.assign(static_cast<std::size_t>(grid.pointCount) + 1, -1);
        for (int j = i; j <= grid.pointCount; ++j) {
          const GridPoint& later = grid.Point(j);
          if (later.inside == 0) continue;
          const double x = static_cast<double>(later.x + grid.originX);
          const double y = static_cast<double>(later.y + grid.originY);
          // A centre whose trees are kept needs no walk.
          const PlotMemo::Entry* known = memo != nullptr ? FindPlotMemoEntry(*memo, x, y) : nullptr;
          if (known != nullptr && (known->kept & PlotMemo::kTrees) != 0) continue;
          batchCentre[static_cast<std::size_t>(j)] = static_cast<std::int32_t>(batch.cx.size());
          batch.cx.push_back(x);
          batch.cy.push_back(y);
        }
        batched = QueryTreeIndexBatch(s.treeIndex, env.trees, query, batch);
      }
    }
    std::span<TreeRecord* const> chosen(candidates);
    // The n-tree sample takes its nearest lists straight from the index.
    bool listedNearest = false;
    const std::uint8_t keptBits = kept != nullptr ? kept->kept : 0;
    if ((keptBits & PlotMemo::kTrees) != 0) {
      chosen = KeptTrees(*kept);
      ++memo->reused;
    } else if ((keptBits & PlotMemo::kNearest) != 0) {
      TakeNearest(*kept, query.mainLimitSq, query.underLimitSq, s.scratch.nearest);
      listedNearest = true;
      ++memo->reused;
    } else if (batched && batchCentre[static_cast<std::size_t>(i)] >= 0) {
      const auto c = static_cast<std::size_t>(batchCentre[static_cast<std::size_t>(i)]);
      chosen = std::span<TreeRecord* const>(batch.centreTrees.data() + batch.start[c], batch.start[c + 1] - batch.start[c]);
      if (kept != nullptr) KeepTrees(*memo, *kept, chosen);
    } else if (indexed) {
      query.cx = pass.centreX;
      query.cy = pass.centreY;
      if (m.passCode == kMethodNTree) {
        listedNearest = QueryNearestLists(s.treeIndex, env.trees, query, s.scratch.nearest);
        if (listedNearest && kept != nullptr)
          KeepNearest(*memo, *kept, s.scratch.nearest, query.mainLimitSq, query.underLimitSq);
      }
      if (!listedNearest) {
        chosen = chosen.first(QueryTreeIndexInto(s.treeIndex, env.trees, query, candidates.data()));
        if (kept != nullptr && m.passCode != kMethodNTree) KeepTrees(*memo, *kept, chosen);
      }
    } else if (!wholeList) {
      env.candidates->Candidates(env.trees, pass.centreX, pass.centreY, query.radius, candidates);
      chosen = candidates;
    }

    const std::size_t plotsBefore = s.plots.plots.size();
    const std::size_t treesBefore = s.plots.trees.size();
    const std::int32_t totalBefore = pass.sampleTreeTotal;
    SelectionPoint pt{i, &point, treeCentred};
    // The angle count's plot-centred weights kept for this centre refer to the places of its kept
    // trees, which this plot takes.
    CentreWeights weights;
    CentreWeights* centreWeights = nullptr;
    if (kept != nullptr && (kept->kept & PlotMemo::kTrees) != 0 && m.passCode == kMethodAngleCount && !treeCentred) {
      centreWeights = &weights;
      if ((kept->kept & PlotMemo::kTreeWeights) != 0) {
        weights.replay = true;
        weights.known = KeptTreeWeights(*kept);
      } else {
        weights.learned = TreeWeightsToLearn(*memo);
      }
    }
    bool ok = false;
    try {
      switch (m.passCode) {
        case kMethodNTree:
          ok = listedNearest ? SelectNTreeFromLists(s, pt, weigher) : SelectNTreeTrees(s, chosen, pt, weigher);
          break;
        case kMethodFixedCircle: ok = SelectCircleTrees(s, chosen, pt, 0, weigher); break;
        case kMethodAngleCount: ok = SelectCircleTrees(s, chosen, pt, m.countingFactor, weigher, centreWeights); break;
        case kMethodConcentric: ok = SelectConcentricTrees(s, chosen, pt, limits, weigher); break;
        default: break;
      }
      if (weights.learned != nullptr && ok) KeepTreeWeights(*memo, *kept);
    } catch (...) {
      fatal = (m.passCode == kMethodFixedCircle || m.passCode == kMethodAngleCount) ? "1763" : "Fehler1889";
    }
    if (!fatal.empty()) break;
    if (!ok) {
      // An edge weight of the point failed: the point gives no plot at all.
      s.plots.plots.resize(plotsBefore);
      s.plots.trees.resize(treesBefore);
      pass.sampleTreeTotal = totalBefore;
      pass.treesOfCurrentPlot = 0;
      pass.speciesSeen.fill(0);
      continue;
    }
    ++pass.plotCount;
    try {
      ReportPlot(env, i);
    } catch (...) {
      fatal = "Fehler1889";
    }
    if (!fatal.empty()) break;
  }
  s.scratch.angleFor = nullptr;
  if (!fatal.empty()) FatalErrorCode(services, fatal);

  if (enterprise && env.enterprise != nullptr) env.enterprise->PassEnded(pass);
  pass.passPlotTotal = pass.plotCount;
  grid.lastPassPlotCount = pass.plotCount;
  env.observer.PassFinished(SampleTreeCountLabel(env.language, pass.sampleTreeTotal));

  if (stopped) return PassOutcome::Stopped;
  pass.completed = true;
  if (pass.plotCount == 0) {
    const int answer = services.messages->PlatformBox(Translate(env.language, "Keine Probebäume gefunden"), "",
                                                      PlatformButtons::YesNoCancel, PlatformIcon::None);
    // Cancel ends the program; the window asks first, as "Ende" does.
    return answer == kResultCancel ? PassOutcome::EndProgram : PassOutcome::NoPlots;
  }
  if (env.singleStepWait) WaitMs(env.run.singleStep ? 1 : 0, env.run, services);
  pass.currentModelStand = 0;
  return PassOutcome::Done;
}

bool RandomPlotCentre(const BoundaryPolygon& boundary, RandomGenerator& random, double& x, double& y) {
  const int width = RoundInt(boundary.maxX - boundary.minX);
  const int height = RoundInt(boundary.maxY - boundary.minY);
  for (int k = 0; k < 101; ++k) {
    x = random.Next(width);
    y = random.Next(height);
    if (boundary.n >= 4 && PointInPolygon(PolygonRef(boundary), x, y)) return true;
  }
  return false;
}

PassOutcome RandomGridShiftAndPass(PassEnvironment& env, RandomGenerator& random) {
  SampleGrid& grid = env.sampling.grid;
  RandomGridOrigin(grid, random);
  grid.assign = true;
  std::string problem;
  if (!NewGrid(grid, &env.boundary, env.areas, env.gridContext, &problem)) {
    env.services.messages->PlatformBox(Translate(env.language, problem), "", PlatformButtons::Ok, PlatformIcon::None);
    return PassOutcome::GridFailed;
  }
  return RunSamplingPass(env);
}

}  // namespace tolvek
