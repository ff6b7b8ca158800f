#include "simulator/sampling/pass.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "common/format.h"
#include "common/rounding.h"
#include "common/wait.h"
#include "simulator/sampling/boundary_weigher.h"
#include "simulator/sampling/edge_correction.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/selection.h"
#include "simulator/stand/boundary.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

constexpr Colour kUnderstoreyPen = 16711935;  // magenta
constexpr Colour kInnerCirclePen = 8421504;   // grey

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

}  // namespace

void AllTreesSource::Candidates(TreeList& trees, double, double, double, std::vector<TreeRecord*>& out) {
  out.clear();
  for (TreeRecord& t : trees) out.push_back(&t);
}

std::string SampleTreeCountLabel(const LanguageTable& lang, std::int32_t total) {
  return PadRight(Translate(lang, "Probebäume:"), 16) + FormatInt(total, 6);
}

void AppendPlot(SamplingState& s, const GridPoint* point, int gridIndex, double selectionArea, double a1, double a2) {
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
                         g.testing.clipWithoutShortcuts ? 1.0 : 0.0, g.testing.crossingsWithoutShortcuts ? 1.0 : 0.0});
  const int n = std::clamp(b.n, 0, kBoundaryCapacity);
  key.push_back(static_cast<double>(b.n));
  key.insert(key.end(), b.x.begin(), b.x.begin() + n + 1);
  key.insert(key.end(), b.y.begin(), b.y.begin() + n + 1);
}

// The trees a point's selection reads: a span of candidates, or (n-tree sample) the nearest lists
// already in the selection scratch.
struct PointTrees {
  std::span<TreeRecord* const> candidates;
  bool nearestListed = false;
};

// One pass over the grid: what stays fixed for the pass, the caches it consults, and the steps each
// point goes through. A step that ends the program leaves its stage code in `fatal`.
class PassWalk {
 public:
  explicit PassWalk(PassEnvironment& env);

  // "Ende" asked for (the run controls are answered every 16th point).
  bool StopRequested();
  // The plot centre of the point; false: the point gives no plot.
  bool PlacePlot(int gridIndex, GridPoint& point);
  // The weights of the plot circles; false: one failed and the point gives no plot.
  bool TakePlotWeights();
  // Brings what the pass derives from the tree list up to date when the list changed.
  void FollowTreeList(int gridIndex);
  // Where this point's candidates come from: kept answers, the batch walk, the index or the source.
  PointTrees TreesOfPoint(int gridIndex);
  // The method's selection; false (with the point's records rolled back) when a weight failed.
  bool SelectAtPoint(int gridIndex, GridPoint& point, const PointTrees& trees);
  void ReportSettledPlot(int gridIndex);
  // The pass's hold on the angle limits ends with it.
  void End() { s_.scratch.angleFor = nullptr; }

  std::string fatal;

 private:
  void OpenMemo();
  void TakeBatch(int fromIndex);

  PassEnvironment& env_;
  SamplingState& s_;
  const MethodSettings& m_;
  PassResult& pass_;
  const SampleGrid& grid_;
  const bool enterprise_;
  const bool treeCentred_;
  const ConcentricLimits limits_;
  const int circleCount_;
  const double fixedRadius_;
  BoundaryWeigher weigher_;
  // Without a source of its own the pass asks the tree index, which hands out only the trees near a plot.
  const bool indexed_;
  const bool wholeList_;
  TreeQuery query_;
  // Where trees reach distances of their own, the trees of every centre are found at once, tree by
  // tree, when the list is first taken: a query per centre would look at many trees that reach only a
  // fraction of its search radius. The enterprise route changes its trees from point to point.
  const bool batchable_;
  bool batched_ = false;
  // The tree list last listed: a model stand loaded into the same storage keeps address and perhaps
  // size, so its number tells too.
  bool listed_ = false;
  const TreeRecord* listedData_ = nullptr;
  std::size_t listedSize_ = 0;
  std::int32_t listedModelStand_ = 0;
  double largestDbh_ = 0.0;
  // In the repetitions of stand mode with the index, what a centre found is kept for the next time it
  // comes back, on grids of few enough shifts for that to happen.
  PlotMemo* memo_ = nullptr;
  PlotMemo::Entry* kept_ = nullptr;  // the current centre's entry
  bool indexFresh_ = false;          // refreshed for this very list just now: the first listing need not compare again
  // On the run's schedule: a repetition's pass pumps only when the run's last pump is due again.
  PumpThrottle throttle_;
  unsigned visited_ = 0;
};

PassWalk::PassWalk(PassEnvironment& env)
    : env_(env),
      s_(env.sampling),
      m_(env.sampling.method),
      pass_(env.sampling.pass),
      grid_(env.sampling.grid),
      enterprise_(env.run.enterpriseMode),
      treeCentred_(env.repetition && m_.weighting == WeightingMode::TreeCentred),
      limits_(ConcentricLimitsOf(m_)),
      circleCount_(std::min<int>(m_.circleCount, kMaxConcentricCircles)),
      fixedRadius_(std::sqrt(m_.circleArea / kCirclePi)),
      weigher_(env.geometry, env.boundary, enterprise_ ? nullptr : &s_.clearance),
      indexed_(env.candidates == nullptr),
      wholeList_(!indexed_ && env.candidates->WholeList()),
      query_(TreeQueryFor(m_)),
      batchable_(indexed_ && !enterprise_ && m_.passCode != kMethodNTree &&
                 (query_.steps > 0 || query_.reachPerDbh > 0.0)),
      throttle_(20, &env.run.pumps) {
  s_.scratch.angleFor = nullptr;
  OpenMemo();
}

// The index is brought up to date first, since the kept answers belong to its trees.
void PassWalk::OpenMemo() {
  const double shifts = static_cast<double>(grid_.dx) * static_cast<double>(grid_.dy);
  if (!indexed_ || enterprise_ || !env_.repetition || shifts > kKeptShiftsAtMost) return;
  RefreshTreeIndex(s_.treeIndex, env_.trees);
  indexFresh_ = true;
  // The radius the list's first taking sets again, from the same largest dbh.
  query_.radius = SelectionSearchRadius(m_, s_.treeIndex.largestDbh);
  DescribeForMemo(s_.plotMemo.nextKey, s_.treeIndex, env_.trees, query_, m_, env_.geometry, env_.boundary);
  if (BeginPlotMemo(s_.plotMemo, env_.boundary)) memo_ = &s_.plotMemo;
}

// The clock is asked at every 16th point only: reading it costs about as much as a small plot, and
// 16 points take far less than the throttle's interval, so the run controls answer as quickly.
bool PassWalk::StopRequested() {
  if (visited_++ % 16 == 0) throttle_.Tick(env_.services);
  return env_.run.endRequested;
}

bool PassWalk::PlacePlot(int gridIndex, GridPoint& point) {
  if (enterprise_) {
    pass_.mapX = point.x + grid_.originX;
    pass_.mapY = point.y + grid_.originY;
    try {
      // Without the route no point of an enterprise grid can be placed.
      if (env_.enterprise == nullptr || !env_.enterprise->PreparePoint(gridIndex, point, pass_)) return false;
    } catch (...) {
      fatal = "1835";
      return false;
    }
  } else {
    pass_.centreX = static_cast<double>(point.x + grid_.originX);
    pass_.centreY = static_cast<double>(point.y + grid_.originY);
  }
  pass_.planCentreX = static_cast<float>(pass_.centreX);
  pass_.planCentreY = static_cast<float>(pass_.centreY);
  return true;
}

// A failed inner circle is not hidden by a good outer one.
bool PassWalk::TakePlotWeights() {
  weigher_.SetCentre(pass_.centreX, pass_.centreY);
  kept_ = memo_ != nullptr ? PlotMemoEntry(*memo_, pass_.centreX, pass_.centreY) : nullptr;
  const bool keptPlotWeights = kept_ != nullptr && (kept_->kept & PlotMemo::kPlotWeights) != 0;
  bool failed = false;
  if (m_.passCode == kMethodFixedCircle) {
    if (keptPlotWeights) {
      pass_.plotWeight = KeptPlotWeights(*kept_)[0];
    } else {
      // The radius the selection uses: the one that belongs to the circle area.
      pass_.plotWeight = weigher_.Weight(0.0, fixedRadius_, pass_.centreY, pass_.centreX, failed);
      if (kept_ != nullptr && !failed) KeepPlotWeights(*memo_, *kept_, std::span<const double>(&pass_.plotWeight, 1));
    }
  } else if (m_.passCode == kMethodConcentric) {
    const std::span<double> weights(pass_.concentricWeight.data() + 1,
                                    static_cast<std::size_t>(std::max(circleCount_, 0)));
    if (keptPlotWeights) {
      std::ranges::copy(KeptPlotWeights(*kept_), weights.begin());
    } else {
      for (int c = 1; c <= circleCount_; ++c) {
        bool f = false;
        pass_.concentricWeight[static_cast<std::size_t>(c)] =
            weigher_.Weight(0.0, limits_.radius[static_cast<std::size_t>(c)], pass_.centreY, pass_.centreX, f);
        failed = failed || f;
      }
      if (kept_ != nullptr && !failed) KeepPlotWeights(*memo_, *kept_, weights);
    }
  }
  return !failed;
}

void PassWalk::FollowTreeList(int gridIndex) {
  TreeList& trees = env_.trees;
  if (listed_ && trees.data() == listedData_ && trees.size() == listedSize_ &&
      pass_.lastLoadedModelStand == listedModelStand_)
    return;
  listedData_ = trees.data();
  listedSize_ = trees.size();
  listedModelStand_ = pass_.lastLoadedModelStand;
  listed_ = true;
  std::vector<TreeRecord*>& candidates = s_.scratch.candidates;
  if (indexed_) {
    // A model stand lent with its own index needs no comparison with its trees.
    const bool lentIndex = env_.enterprise != nullptr && env_.enterprise->IndexDescribesTrees();
    if (!indexFresh_ && !lentIndex) RefreshTreeIndex(s_.treeIndex, trees);
    indexFresh_ = false;
    // The index keeps the largest dbh of the list it describes (now this one).
    largestDbh_ = s_.treeIndex.largestDbh;
    // Room for every tree: the index writes a point's trees straight into it.
    if (candidates.size() < trees.size()) candidates.resize(trees.size());
  } else {
    largestDbh_ = 0.0;
    for (const TreeRecord& t : trees) largestDbh_ = std::max(largestDbh_, t.dbh);
  }
  // The whole tree list serves every point unless a source narrows it.
  if (wholeList_) env_.candidates->Candidates(trees, 0.0, 0.0, 0.0, candidates);
  query_.radius = SelectionSearchRadius(m_, largestDbh_);
  if (indexed_ && !enterprise_ && m_.passCode == kMethodAngleCount && m_.countingFactor != 0)
    TakeAngleLimits(s_, trees, m_.countingFactor);
  if (batchable_) TakeBatch(gridIndex);
}

// The centres of this point and every later one, as the loop takes them.
void PassWalk::TakeBatch(int fromIndex) {
  CentreBatch& batch = s_.scratch.batch;
  std::vector<std::int32_t>& batchCentre = s_.scratch.batchCentre;
  batch.cx.clear();
  batch.cy.clear();
  batchCentre.assign(static_cast<std::size_t>(grid_.pointCount) + 1, -1);
  for (int j = fromIndex; j <= grid_.pointCount; ++j) {
    const GridPoint& later = grid_.Point(j);
    if (later.inside == 0) continue;
    const double x = static_cast<double>(later.x + grid_.originX);
    const double y = static_cast<double>(later.y + grid_.originY);
    // A centre whose trees are kept needs no walk.
    const PlotMemo::Entry* known = memo_ != nullptr ? FindPlotMemoEntry(*memo_, x, y) : nullptr;
    if (known != nullptr && (known->kept & PlotMemo::kTrees) != 0) continue;
    batchCentre[static_cast<std::size_t>(j)] = static_cast<std::int32_t>(batch.cx.size());
    batch.cx.push_back(x);
    batch.cy.push_back(y);
  }
  batched_ = QueryTreeIndexBatch(s_.treeIndex, env_.trees, query_, batch);
}

PointTrees PassWalk::TreesOfPoint(int gridIndex) {
  std::vector<TreeRecord*>& candidates = s_.scratch.candidates;
  const std::vector<std::int32_t>& batchCentre = s_.scratch.batchCentre;
  PointTrees out{candidates, false};
  const std::uint8_t keptBits = kept_ != nullptr ? kept_->kept : 0;
  if ((keptBits & PlotMemo::kTrees) != 0) {
    out.candidates = KeptTrees(*kept_);
    ++memo_->reused;
  } else if ((keptBits & PlotMemo::kNearest) != 0) {
    TakeNearest(*kept_, query_.mainLimitSq, query_.underLimitSq, s_.scratch.nearest);
    out.nearestListed = true;
    ++memo_->reused;
  } else if (batched_ && batchCentre[static_cast<std::size_t>(gridIndex)] >= 0) {
    const CentreBatch& batch = s_.scratch.batch;
    const auto c = static_cast<std::size_t>(batchCentre[static_cast<std::size_t>(gridIndex)]);
    out.candidates =
        std::span<TreeRecord* const>(batch.centreTrees.data() + batch.start[c], batch.start[c + 1] - batch.start[c]);
    if (kept_ != nullptr) KeepTrees(*memo_, *kept_, out.candidates);
  } else if (indexed_) {
    query_.cx = pass_.centreX;
    query_.cy = pass_.centreY;
    // The n-tree sample takes its nearest lists straight from the index.
    if (m_.passCode == kMethodNTree) {
      out.nearestListed = QueryNearestLists(s_.treeIndex, env_.trees, query_, s_.scratch.nearest);
      if (out.nearestListed && kept_ != nullptr)
        KeepNearest(*memo_, *kept_, s_.scratch.nearest, query_.mainLimitSq, query_.underLimitSq);
    }
    if (!out.nearestListed) {
      out.candidates = out.candidates.first(QueryTreeIndexInto(s_.treeIndex, env_.trees, query_, candidates.data()));
      if (kept_ != nullptr && m_.passCode != kMethodNTree) KeepTrees(*memo_, *kept_, out.candidates);
    }
  } else if (!wholeList_) {
    env_.candidates->Candidates(env_.trees, pass_.centreX, pass_.centreY, query_.radius, candidates);
    out.candidates = candidates;
  }
  return out;
}

bool PassWalk::SelectAtPoint(int gridIndex, GridPoint& point, const PointTrees& trees) {
  const std::size_t plotsBefore = s_.plots.plots.size();
  const std::size_t treesBefore = s_.plots.trees.size();
  const std::int32_t totalBefore = pass_.sampleTreeTotal;
  SelectionPoint pt{gridIndex, &point, treeCentred_};
  // The angle count's plot-centred weights kept for this centre refer to the places of its kept
  // trees, which this plot takes.
  CentreWeights weights;
  CentreWeights* centreWeights = nullptr;
  if (kept_ != nullptr && (kept_->kept & PlotMemo::kTrees) != 0 && m_.passCode == kMethodAngleCount && !treeCentred_) {
    centreWeights = &weights;
    if ((kept_->kept & PlotMemo::kTreeWeights) != 0) {
      weights.replay = true;
      weights.known = KeptTreeWeights(*kept_);
    } else {
      weights.learned = TreeWeightsToLearn(*memo_);
    }
  }
  const std::span<TreeRecord* const> chosen = trees.candidates;
  bool ok = false;
  try {
    switch (m_.passCode) {
      case kMethodNTree:
        ok = trees.nearestListed ? SelectNTreeFromLists(s_, pt, weigher_) : SelectNTreeTrees(s_, chosen, pt, weigher_);
        break;
      case kMethodFixedCircle:
        ok = SelectCircleTrees(s_, chosen, pt, 0, weigher_);
        break;
      case kMethodAngleCount:
        ok = SelectCircleTrees(s_, chosen, pt, m_.countingFactor, weigher_, centreWeights);
        break;
      case kMethodConcentric:
        ok = SelectConcentricTrees(s_, chosen, pt, limits_, weigher_);
        break;
      default:
        break;
    }
    if (weights.learned != nullptr && ok) KeepTreeWeights(*memo_, *kept_);
  } catch (...) {
    fatal = (m_.passCode == kMethodFixedCircle || m_.passCode == kMethodAngleCount) ? "1763" : "Fehler1889";
    return false;
  }
  if (!ok) {
    // An edge weight of the point failed: the point gives no plot at all.
    s_.plots.plots.resize(plotsBefore);
    s_.plots.trees.resize(treesBefore);
    pass_.sampleTreeTotal = totalBefore;
    pass_.treesOfCurrentPlot = 0;
    pass_.speciesSeen.fill(0);
  }
  return ok;
}

void PassWalk::ReportSettledPlot(int gridIndex) {
  try {
    ReportPlot(env_, gridIndex);
  } catch (...) {
    fatal = "Fehler1889";
  }
}

// A new pass's empty plot list and counters; the window clears its drawing.
void StartPass(PassEnvironment& env) {
  SamplingState& s = env.sampling;
  try {
    s.plots.Clear();
  } catch (...) {
    FatalErrorCode(env.services, "1805");
  }
  PassResult& pass = s.pass;
  pass.plotCount = 0;
  pass.sampleTreeTotal = 0;
  pass.treesOfCurrentPlot = 0;
  pass.completed = false;
  pass.layer = 0;
  env.observer.PassStarted();
}

// A grid made from the environment's settings; false (the problem shown) when none could be made.
bool MakeGrid(PassEnvironment& env) {
  const Outcome made = NewGrid(env.sampling.grid, &env.boundary, env.areas, env.gridContext);
  if (made.ok()) return true;
  env.services.messages->PlatformBox(ProblemMessage(env.language, made.problem()), "", PlatformButtons::Ok,
                                     PlatformIcon::None);
  return false;
}

// The edge correction works by the same mode and circle corners as the pass.
void UsePassSettingsInGeometry(PassEnvironment& env) {
  env.geometry.enterpriseMode = env.run.enterpriseMode;
  env.geometry.cornersPerCircle = env.sampling.method.cornersPerCircle;
}

// A point about to be visited starts with weight 1, no failure and no species seen.
void BeginPoint(PassEnvironment& env, int gridIndex) {
  env.observer.PointStarted(gridIndex);
  PassResult& pass = env.sampling.pass;
  pass.plotWeight = 1.0;
  pass.failed = false;
  pass.speciesSeen.fill(0);
}

// What follows the last point: the enterprise route's closing, the counts and the window's label, then
// the outcome (a pass without plots asks the user how to go on).
PassOutcome FinishPass(PassEnvironment& env, bool stopped) {
  PassResult& pass = env.sampling.pass;
  if (env.run.enterpriseMode && env.enterprise != nullptr) env.enterprise->PassEnded(pass);
  pass.passPlotTotal = pass.plotCount;
  env.sampling.grid.lastPassPlotCount = pass.plotCount;
  env.observer.PassFinished(SampleTreeCountLabel(env.language, pass.sampleTreeTotal));

  if (stopped) return PassOutcome::Stopped;
  pass.completed = true;
  if (pass.plotCount == 0) {
    const int answer = env.services.messages->PlatformBox(Translate(env.language, "Keine Probebäume gefunden"), "",
                                                          PlatformButtons::YesNoCancel, PlatformIcon::None);
    // Cancel ends the program; the window asks first, as "Ende" does.
    return answer == kResultCancel ? PassOutcome::EndProgram : PassOutcome::NoPlots;
  }
  if (env.singleStepWait) WaitMs(env.run.singleStep ? 1 : 0, env.run, env.services);
  pass.currentModelStand = 0;
  return PassOutcome::Done;
}

}  // namespace

PassOutcome RunSamplingPass(PassEnvironment& env) {
  SamplingState& s = env.sampling;
  s.method.passCode = s.method.code;
  if (!IsSamplingMethod(s.method.passCode)) {
    env.services.messages->PlatformBox(Translate(env.language, "Bitte Verfahren festlegen"), "", PlatformButtons::Ok,
                                       PlatformIcon::None);
    return PassOutcome::NoMethod;
  }
  StartPass(env);
  if (!s.grid.exists && !MakeGrid(env)) return PassOutcome::GridFailed;
  s.pass.lastLoadedModelStand = -1;
  UsePassSettingsInGeometry(env);

  PassWalk walk(env);
  bool stopped = false;
  for (int i = 1; i <= s.grid.pointCount && walk.fatal.empty(); ++i) {
    GridPoint& point = s.grid.Point(i);
    if (point.inside == 0) continue;
    if (walk.StopRequested()) {
      stopped = true;
      break;
    }
    BeginPoint(env, i);
    if (!walk.PlacePlot(i, point) || !walk.TakePlotWeights()) continue;
    walk.FollowTreeList(i);
    const PointTrees trees = walk.TreesOfPoint(i);
    if (!walk.SelectAtPoint(i, point, trees)) continue;
    ++s.pass.plotCount;
    walk.ReportSettledPlot(i);
  }
  walk.End();
  if (!walk.fatal.empty()) FatalErrorCode(env.services, walk.fatal);
  return FinishPass(env, stopped);
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
  if (!MakeGrid(env)) return PassOutcome::GridFailed;
  return RunSamplingPass(env);
}

}  // namespace tolvek
