// The repetition run without windows: inventory pass, evaluation and run statistics, repeated with
// randomly shifted grids, on shipped stands. Every case runs twice in lockstep first, once with the
// tree index and once with the plain scan over all trees, and the two must agree bit for bit in every
// plot list, estimate and statistic; then each is timed on its own.
//
//   bench_inventory            the full run: 2000 repetitions with the index, the plain scan on fewer
//   bench_inventory --smoke    a few repetitions per case; checks identical results only (CI)
// Options: --data DIR, --reps N, --plain-reps N, --check-reps N, --runs N (median of N timings),
//          --stand NN (instead of the largest), --no-sweep (skip the stand-grid sweep over all stands),
//          --case N (only line N of the case table), --fingerprint (one hash of every result of many
//          runs over all stands and more parameters, to compare before and after a change; with --smoke
//          fewer repetitions).
// Exit status 1 only when the index and the plain scan give different results.
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "common/language.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/random.h"
#include "common/run_control.h"
#include "simulator/sampling/evaluation.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/grid.h"
#include "simulator/sampling/method.h"
#include "simulator/sampling/pass.h"
#include "simulator/sampling/repetitions.h"
#include "simulator/sampling/selection.h"
#include "simulator/sampling/true_values_basic.h"
#include "simulator/stand/catalogue.h"
#include "simulator/stand/stand_loader.h"
#include "simulator/state.h"

#include "bench/headless.h"
#include "bench/timing.h"

#ifndef TOLVEK_BENCH_DATA_DIR
#define TOLVEK_BENCH_DATA_DIR "data"
#endif

namespace tolvek {
namespace {

using bench::HeadlessPlatform;
using bench::PeakMemoryMb;

using bench::Median;

double ThreadMs() { return bench::ThreadCpuSeconds() * 1e3; }

// ---- the cases ----
enum class GridKind { Stand, Dense };

struct MethodCase {
  const char* name;
  MethodCode code;
  bool treeCentred;
  // parameters beyond the table's defaults (the fingerprint's further cases)
  double area = 500.0;
  int factor = 1, countingMode = 1;
  const char* preset = "AV";
  int n = 6, variant = 1;
  double understoreyDbh = 0.0, understoreyRadius = 0.0;
};

constexpr MethodCase kMethods[] = {
    {"fixed circle 500 m2", kMethodFixedCircle, false}, {"fixed circle 500 m2", kMethodFixedCircle, true},
    {"angle count k=1", kMethodAngleCount, false},      {"angle count k=1", kMethodAngleCount, true},
    {"concentric AV", kMethodConcentric, false},        {"concentric AV", kMethodConcentric, true},
    {"6-tree sample", kMethodNTree, false},             {"6-tree sample", kMethodNTree, true},
};

// Further parameters the fingerprint covers: every branch of selection and evaluation a change may touch.
const MethodCase kFingerprintExtras[] = {
    {"fixed circle 200 m2", kMethodFixedCircle, false, 200.0},
    {"angle count k=4 counting", kMethodAngleCount, false, 500.0, 4, 0},
    {"angle count k=2", kMethodAngleCount, true, 500.0, 2, 1},
    {"concentric RK", kMethodConcentric, false, 500.0, 1, 1, "RK"},
    {"concentric VK", kMethodConcentric, true, 500.0, 1, 1, "VK"},
    {"4-tree sample v2", kMethodNTree, false, 500.0, 1, 1, "AV", 4, 2},
    {"6-tree sample v4", kMethodNTree, false, 500.0, 1, 1, "AV", 6, 4, 10.0, 3.0},
    {"5-tree sample v5", kMethodNTree, true, 500.0, 1, 1, "AV", 5, 5},
    {"7-tree sample v7", kMethodNTree, false, 500.0, 1, 1, "AV", 7, 7},
    {"6-tree sample v8", kMethodNTree, false, 500.0, 1, 1, "AV", 6, 8},
};

void SetMethod(MethodSettings& m, const LanguageTable& lang, const MethodCase& c) {
  switch (c.code) {
    case kMethodFixedCircle:
      BeginFixedCircle(m, lang);
      static_cast<void>(ConfirmFixedCircle(m, lang, c.area));
      break;
    case kMethodAngleCount:
      BeginAngleCount(m, lang);
      static_cast<void>(ConfirmAngleCount(m, lang, c.factor, c.countingMode));
      break;
    case kMethodConcentric: {
      BeginConcentric(m, lang);
      static_cast<void>(ConfirmConcentric(m, lang, PresetTexts(*FindConcentricPreset(c.preset))));
      break;
    }
    case kMethodNTree:
      BeginNTree(m, lang);
      ConfirmNTree(m, lang, c.n, c.variant, c.understoreyDbh, c.understoreyRadius);
      break;
    default: break;
  }
  m.weighting = c.treeCentred ? WeightingMode::TreeCentred : WeightingMode::PlotCentred;
}

struct Stand {
  std::string label;
  TreeList trees;
  BoundaryPolygon boundary;
  double areaHa = 0.0;
};

// A lattice of `spacing` metres over the stand's box and one cell around it, so that every shift of the
// origin within one cell still covers the stand. The run's own grid cannot be laid this close over a
// small stand (its fixed lattice allows 4200 points over 720 m × 620 m).
void LayDenseGrid(SampleGrid& grid, const BoundaryPolygon& b, int spacing) {
  grid.points.assign(kMaxGridPoints, GridPoint{});
  grid.dx = grid.dy = spacing;
  grid.originX = grid.originY = 0;
  grid.baseOriginX = grid.baseOriginY = 0;
  grid.rotation = 0.0;
  int i = 0;
  for (int x = static_cast<int>(std::floor(b.minX)) - 2 * spacing; x <= b.maxX + 2 * spacing; x += spacing)
    for (int y = static_cast<int>(std::floor(b.minY)) - 2 * spacing; y <= b.maxY + 2 * spacing; y += spacing) {
      if (i == kMaxGridPoints) break;
      grid.points[static_cast<std::size_t>(i)].x = x;
      grid.points[static_cast<std::size_t>(i)].y = y;
      ++i;
    }
  grid.pointCount = i;
  grid.exists = true;
  MarkInsidePoints(grid, &b, nullptr, false, false);
}

// The spacing whose lattice puts about `points` points into the stand.
int DenseSpacing(const Stand& s, int points) {
  int best = 1;
  int bestGap = 1 << 30;
  SampleGrid g;
  for (int d = 3; d <= 50; ++d) {
    LayDenseGrid(g, s.boundary, d);
    const int gap = std::abs(g.insideCount - points);
    if (gap < bestGap && g.pointCount < kMaxGridPoints) {
      bestGap = gap;
      best = d;
    }
  }
  return best;
}

// One repetition run as "Simulation wiederholen" makes it: the pass before the run, then per repetition
// evaluation, run statistics, random grid shift and the next pass.
class Run {
 public:
  Run(const Stand& stand, const LanguageTable& lang, Services& services, const MethodCase& method, GridKind grid,
      int denseSpacing, bool plain)
      : stand_(stand), lang_(lang), grid_(grid), trees_(stand.trees), random_(20261208u),
        env_{sampling_, trees_, stand_.boundary, geometry_, run_, services, lang_, observer_} {
    run_.graphics = false;
    env_.repetition = true;
    env_.singleStepWait = false;
    if (plain) env_.candidates = &allTrees_;
    SetMethod(sampling_.method, lang_, method);
    ClearTreeCentredWeights(trees_);
    if (grid == GridKind::Stand) {
      sampling_.grid.dx = sampling_.grid.dy = 50;
      static_cast<void>(NewGrid(sampling_.grid, &stand_.boundary, nullptr, GridContext{}));  // the stands fit
    } else {
      LayDenseGrid(sampling_.grid, stand_.boundary, denseSpacing);
    }
    truthCounts_ = ComputeTrueStandValues(trees_, stand_.areaHa);
    truth_ = MakeRunTrueValues(truthCounts_.BasalAreaPerHa(0), truthCounts_.StemsPerHa(0));
    StartRunStatistics(stats_);
    histograms_.Clear();
    RunSamplingPass(env_);
  }

  void Repetition() {
    const EvaluationInput input{sampling_.method, sampling_.method.passCode, sampling_.plots, truthCounts_,
                                sampling_.grid.dx, false};
    EvaluateSample(input, lang_, estimate_, histograms_);
    RepetitionEstimate e;
    e.plots = estimate_.plotCount;
    e.sampleTrees = sampling_.pass.sampleTreeTotal;
    e.basalArea = estimate_.RunBasalArea(sampling_.method);
    e.stemNumber = estimate_.RunStemNumber(sampling_.method);
    AddRepetition(stats_, truth_, e);
    RandomGridOrigin(sampling_.grid, random_);
    if (grid_ == GridKind::Stand)
      static_cast<void>(NewGrid(sampling_.grid, &stand_.boundary, nullptr, GridContext{}));  // the stands fit
    else
      MarkInsidePoints(sampling_.grid, &stand_.boundary, nullptr, false, false);
    RunSamplingPass(env_);
  }

  const PlotList& Plots() const { return sampling_.plots; }
  const PassResult& Pass() const { return sampling_.pass; }
  const SampleEstimate& Estimate() const { return estimate_; }
  const RunStatistics& Stats() const { return stats_; }
  const DeviationHistograms& Histograms() const { return histograms_; }
  int InsidePoints() const { return sampling_.grid.insideCount; }
  std::size_t StorageCapacity() const {
    return sampling_.plots.plots.capacity() * sizeof(PlotRecord) +
           sampling_.plots.trees.capacity() * sizeof(SampleTreeRecord) +
           sampling_.scratch.candidates.capacity() * sizeof(TreeRecord*);
  }
  std::size_t KeptBytes() const { return sampling_.plotMemo.Bytes(); }

 private:
  const Stand& stand_;
  const LanguageTable& lang_;
  GridKind grid_;
  TreeList trees_;
  RandomGenerator random_;
  GeometryContext geometry_;
  RunControl run_;
  PassObserver observer_;
  AllTreesSource allTrees_;
  SamplingState sampling_;
  PassEnvironment env_;
  TrueStandValues truthCounts_;
  RunTrueValues truth_;
  SampleEstimate estimate_;
  DeviationHistograms histograms_;
  RunStatistics stats_;
};

// ---- bit-for-bit comparison ----
template <typename T>
bool Same(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}
bool SameD(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }
template <std::size_t N>
bool SameA(const std::array<double, N>& a, const std::array<double, N>& b) {
  for (std::size_t i = 0; i < N; ++i)
    if (!SameD(a[i], b[i])) return false;
  return true;
}

std::string FirstDifference(const Run& a, const Run& b) {
  const PlotList& p = a.Plots();
  const PlotList& q = b.Plots();
  if (p.plots.size() != q.plots.size()) return "plot count";
  if (p.trees.size() != q.trees.size()) return "sample-tree count";
  for (std::size_t i = 0; i < p.plots.size(); ++i) {
    const PlotRecord &x = p.plots[i], &y = q.plots[i];
    if (x.standType != y.standType || x.ageClass != y.ageClass || !SameD(x.plotArea, y.plotArea) ||
        !SameD(x.secondArea, y.secondArea) || !SameD(x.insideShare, y.insideShare) || x.firstTree != y.firstTree ||
        x.treeCount != y.treeCount || x.gridIndex != y.gridIndex)
      return "plot " + std::to_string(i + 1);
  }
  for (std::size_t i = 0; i < p.trees.size(); ++i) {
    const SampleTreeRecord &x = p.trees[i], &y = q.trees[i];
    if (!SameD(x.distance, y.distance) || x.layer != y.layer || x.species != y.species || x.species2 != y.species2 ||
        !Same(x.dbh, y.dbh) || !Same(x.x, y.x) || !Same(x.y, y.y) || !SameD(x.edgeWeight, y.edgeWeight) ||
        !SameD(x.plotArea, y.plotArea) || x.weightDone != y.weightDone)
      return "sample tree " + std::to_string(i + 1);
  }
  if (a.Pass().plotCount != b.Pass().plotCount || a.Pass().sampleTreeTotal != b.Pass().sampleTreeTotal)
    return "pass counters";
  const SampleEstimate &e = a.Estimate(), &f = b.Estimate();
  if (!SameA(e.gPerHa, f.gPerHa) || !SameA(e.nPerHa, f.nPerHa) || !SameA(e.sampleTrees, f.sampleTrees) ||
      !SameA(e.basalArea.sd, f.basalArea.sd) || !SameA(e.basalArea.se, f.basalArea.se) ||
      !SameA(e.meanDiameter.se, f.meanDiameter.se) || !SameA(e.stemNumberError, f.stemNumberError) ||
      e.sampleTreeTotal != f.sampleTreeTotal || e.emptyPlots != f.emptyPlots)
    return "estimate";
  const RunStatistics &s = a.Stats(), &t = b.Stats();
  for (auto [u, v] : {std::pair{&s.g, &t.g}, std::pair{&s.n, &t.n}, std::pair{&s.d, &t.d}})
    if (!SameD(u->estimateSum, v->estimateSum) || !SameD(u->deviationSum, v->deviationSum) ||
        !SameD(u->deviationSquareSum, v->deviationSquareSum) || !SameD(u->bias, v->bias) || !SameD(u->sd, v->sd))
      return "run statistics";
  if (s.count != t.count || s.histogram != t.histogram || !SameD(s.plotSum, t.plotSum) ||
      !SameD(s.sampleTreeSum, t.sampleTreeSum))
    return "run statistics";
  if (a.Histograms().basalArea != b.Histograms().basalArea || a.Histograms().stemNumber != b.Histograms().stemNumber)
    return "deviation histograms";
  return {};
}

// ---- fingerprint: one number for every result of many runs, to show that a change kept them all ----
class Fingerprint {
 public:
  template <typename T>
  void Add(const T& v) {
    static_assert(std::is_trivially_copyable_v<T>);
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &v, sizeof(T));
    for (unsigned char b : bytes) h_ = (h_ ^ b) * 1099511628211ull;
  }
  void AddRun(const Run& r) {
    const PlotList& p = r.Plots();
    Add(p.plots.size());
    for (const PlotRecord& x : p.plots) {
      Add(x.standType), Add(x.ageClass), Add(x.plotArea), Add(x.secondArea), Add(x.insideShare);
      Add(x.firstTree), Add(x.treeCount), Add(x.gridIndex);
    }
    Add(p.trees.size());
    for (const SampleTreeRecord& t : p.trees) {
      Add(t.distance), Add(t.layer), Add(t.species), Add(t.species2), Add(t.dbh), Add(t.x), Add(t.y);
      Add(t.edgeWeight), Add(t.plotArea), Add(t.weightDone);
    }
    Add(r.Pass().plotCount), Add(r.Pass().sampleTreeTotal);
    const SampleEstimate& e = r.Estimate();
    Add(e.plotCount), Add(e.meanG), Add(e.meanN), Add(e.gPerHa), Add(e.nPerHa), Add(e.sampleTrees);
    Add(e.sampleBasalArea), Add(e.treeCounter), Add(e.dbhSum), Add(e.dbhSquareSum), Add(e.sampleTreeTotal);
    Add(e.stemsByClass), Add(e.stemNumberError), Add(e.emptyPlots), Add(e.nTreeQ), Add(e.variant8);
    Add(e.costRelation);
    for (const ErrorSeries* es : {&e.basalArea, &e.meanDiameter})
      Add(es->sd), Add(es->vc), Add(es->mean), Add(es->se), Add(es->sePercent);
    const RunStatistics& s = r.Stats();
    Add(s.count);
    // Field by field: the padding after a quantity's count holds no result.
    for (const QuantityRunStats* q : {&s.g, &s.n, &s.d})
      Add(q->estimateSum), Add(q->deviationSum), Add(q->deviationSquareSum), Add(q->bias), Add(q->sd), Add(q->count);
    Add(s.histogram), Add(s.plotSum), Add(s.sampleTreeSum);
    Add(r.Histograms().basalArea), Add(r.Histograms().stemNumber);
  }
  std::uint64_t Value() const { return h_; }

 private:
  std::uint64_t h_ = 14695981039346656037ull;
};

// Runs every method case (table and extras) on every stand's grid and on the dense grid of the largest
// stand, folding the pass before the run and every repetition into one number per method and one over all.
void PrintFingerprint(const std::vector<Stand>& stands, const Stand& big, int spacing, const LanguageTable& lang,
                      Services& services, int standReps, int denseReps) {
  std::vector<MethodCase> cases(std::begin(kMethods), std::end(kMethods));
  cases.insert(cases.end(), std::begin(kFingerprintExtras), std::end(kFingerprintExtras));
  Fingerprint all;
  for (const MethodCase& m : cases) {
    Fingerprint f;
    auto fold = [&](const Stand& s, GridKind g, int reps) {
      Run run(s, lang, services, m, g, spacing, false);
      f.AddRun(run);
      for (int r = 0; r < reps; ++r) {
        run.Repetition();
        f.AddRun(run);
      }
    };
    for (const Stand& s : stands) fold(s, GridKind::Stand, standReps);
    fold(big, GridKind::Dense, denseReps);
    std::printf("fingerprint %-26s %-6s %016llx\n", m.name, m.treeCentred ? "tree" : "plot",
                static_cast<unsigned long long>(f.Value()));
    std::fflush(stdout);
    all.Add(f.Value());
  }
  std::printf("fingerprint of all results %016llx\n", static_cast<unsigned long long>(all.Value()));
}

// ---- one case ----
struct Options {
  bool smoke = false;
  int reps = 2000;
  int plainReps = 100;   // the plain scan on the dense grid (the stand grid runs it over all repetitions)
  bool plainRepsGiven = false;  // --plain-reps given: it holds for the stand grid too (for profiling)
  int checkReps = -1;    // lockstep repetitions; -1: as many as the plain scan runs
  int runs = 3;
  int standNumber = 0;   // 0: the largest shipped stand by tree count
  bool sweep = true;
  int only = 0;          // 1..16: run only this case of the table
  int smokeStandReps = 20;  // --smoke: repetitions on the stand grid (the dense grid takes 3)
  bool fingerprint = false;
  std::string data;
};

// The repetitions of a case: a few under --smoke.
int SmokeOr(const Options& o, GridKind g, int full) {
  if (!o.smoke) return full;
  return g == GridKind::Dense ? 3 : o.smokeStandReps;
}

struct CaseResult {
  bool same = true;
  std::string difference;
  int points = 0;
  double indexMs = 0.0, plainMs = 0.0;  // per repetition, median over the runs
  double peakMb = 0.0;
  double growthKb = 0.0;  // storage of the plot list and scratch after the first tenth of the run to its end
  double keptMb = 0.0;    // what the run kept of its plot centres at the end
  double bias = 0.0, sd = 0.0;
};

// Time per repetition of `reps` repetitions of a fresh run (the pass before the run is not counted).
double TimeRun(const Stand& stand, const LanguageTable& lang, Services& services, const MethodCase& m, GridKind g,
               int spacing, bool plain, int reps, CaseResult* out) {
  Run run(stand, lang, services, m, g, spacing, plain);
  std::size_t early = 0;
  const double t0 = ThreadMs();
  for (int r = 1; r <= reps; ++r) {
    run.Repetition();
    if (r == std::max(1, reps / 10)) early = run.StorageCapacity();
  }
  const double t1 = ThreadMs();
  if (out != nullptr) {
    out->points = run.InsidePoints();
    out->growthKb = (static_cast<double>(run.StorageCapacity()) - static_cast<double>(early)) / 1024.0;
    out->keptMb = static_cast<double>(run.KeptBytes()) / (1024.0 * 1024.0);
    out->bias = run.Stats().g.bias;
    out->sd = run.Stats().g.sd;
  }
  return (t1 - t0) / std::max(1, reps);
}

CaseResult RunCase(const Stand& stand, const LanguageTable& lang, Services& services, const MethodCase& m, GridKind g,
                   int spacing, const Options& o, bool timePlain) {
  CaseResult res;
  const int reps = SmokeOr(o, g, o.reps);
  const int plainReps =
      o.smoke ? reps : (g == GridKind::Dense || o.plainRepsGiven ? std::min(o.plainReps, reps) : reps);
  const int checkReps = o.checkReps >= 0 ? o.checkReps : plainReps;

  // Lockstep: the pass before the run and every repetition must agree.
  {
    Run indexed(stand, lang, services, m, g, spacing, false);
    Run plain(stand, lang, services, m, g, spacing, true);
    res.difference = FirstDifference(indexed, plain);
    for (int r = 1; r <= checkReps && res.difference.empty(); ++r) {
      indexed.Repetition();
      plain.Repetition();
      res.difference = FirstDifference(indexed, plain);
      if (!res.difference.empty()) res.difference += " in repetition " + std::to_string(r);
    }
    res.same = res.difference.empty();
  }
  std::vector<double> ti, tp;
  const int runs = o.smoke ? 1 : std::max(1, o.runs);
  for (int k = 0; k < runs; ++k) {
    ti.push_back(TimeRun(stand, lang, services, m, g, spacing, false, reps, &res));
    if (timePlain) tp.push_back(TimeRun(stand, lang, services, m, g, spacing, true, plainReps, nullptr));
  }
  res.indexMs = Median(ti);
  res.plainMs = Median(tp);
  res.peakMb = PeakMemoryMb();
  return res;
}

// ---- stands ----
bool LoadStandNamed(SimulatorState& state, const std::string& fileName, Stand& out) {
  if (!TryLoadStand(state, JoinPath(state.folders.stands, fileName)).ok()) return false;
  out.label = state.currentStand.files.numberText;
  out.trees = state.currentStand.trees;
  out.boundary = state.currentStand.boundary;
  out.areaHa = state.currentStand.areaHa;
  return true;
}

int Main(int argc, char** argv) {
  Options o;
  const char* env = std::getenv("TOLVEK_DATA_DIR");
  o.data = env != nullptr ? env : TOLVEK_BENCH_DATA_DIR;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
    if (a == "--smoke") o.smoke = true;
    else if (a == "--data") o.data = next();
    else if (a == "--reps") o.reps = std::max(1, std::atoi(next().c_str()));
    else if (a == "--plain-reps") {
      o.plainReps = std::max(1, std::atoi(next().c_str()));
      o.plainRepsGiven = true;
    }
    else if (a == "--check-reps") o.checkReps = std::max(0, std::atoi(next().c_str()));
    else if (a == "--runs") o.runs = std::max(1, std::atoi(next().c_str()));
    else if (a == "--stand") o.standNumber = std::atoi(next().c_str());
    else if (a == "--no-sweep") o.sweep = false;
    else if (a == "--case") o.only = std::atoi(next().c_str());
    else if (a == "--fingerprint") o.fingerprint = true;
    else {
      std::fprintf(stderr, "unknown option %s\n", a.c_str());
      return 2;
    }
  }

  HeadlessPlatform platform;
  SimulatorState state(platform.services);
  state.folders = ProgramFoldersFromFolder(o.data);
  const std::string cataloguePath = JoinPath(state.folders.presets, "Tolvek01.txt");
  const CatalogueReadResult c =
      ReadStandCatalogue(state.language, cataloguePath, CatalogueStyle::Thumbnails, state.standCatalogue);
  if (!c.outcome.ok()) {
    std::printf("bench_inventory: no stand catalogue at %s, nothing measured\n", cataloguePath.c_str());
    return 0;
  }
  std::vector<Stand> stands;
  for (const StandCatalogueEntry& e : state.standCatalogue.entries) {
    Stand s;
    if (LoadStandNamed(state, e.fileName, s)) stands.push_back(std::move(s));
  }
  if (stands.empty()) {
    std::printf("bench_inventory: no stand could be loaded from %s\n", o.data.c_str());
    return 0;
  }
  const Stand* big = &stands.front();
  for (const Stand& s : stands) {
    if (o.standNumber > 0 ? std::atoi(s.label.c_str()) == o.standNumber : s.trees.size() > big->trees.size())
      big = &s;
  }
  const int spacing = DenseSpacing(*big, 1000);
  if (o.fingerprint) {
    PrintFingerprint(stands, *big, spacing, state.language, platform.services, o.smoke ? 3 : 20, o.smoke ? 2 : 5);
    return 0;
  }
  std::printf("bench_inventory%s: %zu stands loaded; stand %s has %zu trees on %.2f ha; dense grid %d m\n",
              o.smoke ? " --smoke" : "", stands.size(), big->label.c_str(), big->trees.size(), big->areaHa, spacing);
  std::printf("%-22s %-6s %-6s %5s %6s %11s %11s %7s %10s %8s %8s %8s  %s\n", "method", "weight", "grid", "pts",
              "reps", "index ms/r", "plain ms/r", "ratio", "2000 r (s)", "peak MB", "grow KB", "kept MB", "results");

  bool allSame = true;
  int caseNumber = 0;
  for (GridKind g : {GridKind::Stand, GridKind::Dense}) {
    for (const MethodCase& m : kMethods) {
      if (o.only > 0 && ++caseNumber != o.only) continue;
      const CaseResult r = RunCase(*big, state.language, platform.services, m, g, spacing, o, true);
      allSame = allSame && r.same;
      const int reps = SmokeOr(o, g, o.reps);
      std::printf("%-22s %-6s %-6s %5d %6d %11.4f %11.4f %7.1f %10.3f %8.1f %8.1f %8.1f  %s\n", m.name,
                  m.treeCentred ? "tree" : "plot", g == GridKind::Stand ? "50 m" : "dense", r.points, reps, r.indexMs,
                  r.plainMs, r.indexMs > 0.0 ? r.plainMs / r.indexMs : 0.0, r.indexMs * 2000.0 / 1000.0, r.peakMb,
                  r.growthKb, r.keptMb, r.same ? "identical" : ("DIFFERENT: " + r.difference).c_str());
      std::fflush(stdout);
    }
  }

  if (o.sweep) {
    // Every shipped stand on its 50 m grid with every method: the slowest cases, per method and overall.
    Options so = o;
    so.runs = 1;
    if (!o.smoke) so.checkReps = std::min(o.reps, 50);
    so.smokeStandReps = 5;
    struct Timed {
      double ms;
      std::string what;
    };
    std::vector<Timed> timed;
    std::vector<Timed> slowestOfMethod(std::size(kMethods), Timed{0.0, ""});
    for (const Stand& s : stands) {
      for (std::size_t k = 0; k < std::size(kMethods); ++k) {
        const MethodCase& m = kMethods[k];
        const CaseResult r = RunCase(s, state.language, platform.services, m, GridKind::Stand, spacing, so, false);
        const std::string what = "stand " + s.label + ", " + m.name + (m.treeCentred ? ", tree" : ", plot");
        if (!r.same) {
          allSame = false;
          std::printf("%s: DIFFERENT: %s\n", what.c_str(), r.difference.c_str());
        }
        timed.push_back({r.indexMs, what});
        if (r.indexMs > slowestOfMethod[k].ms) slowestOfMethod[k] = {r.indexMs, what};
      }
    }
    std::sort(timed.begin(), timed.end(), [](const Timed& a, const Timed& b) { return a.ms > b.ms; });
    const auto over = std::count_if(timed.begin(), timed.end(), [](const Timed& t) { return t.ms * 2.0 >= 1.0; });
    std::printf("stand grids of all %zu stands, %zu cases: %ld take 1 s or more for 2000 repetitions\n", stands.size(),
                timed.size(), static_cast<long>(over));
    for (const Timed& t : slowestOfMethod)
      std::printf("  slowest of the method: %-44s %8.4f ms per repetition, %7.3f s for 2000\n", t.what.c_str(), t.ms,
                  t.ms * 2.0);
    for (std::size_t i = 0; i < std::min<std::size_t>(5, timed.size()); ++i)
      std::printf("  slowest overall:       %-44s %8.4f ms per repetition, %7.3f s for 2000\n", timed[i].what.c_str(),
                  timed[i].ms, timed[i].ms * 2.0);
  }
  std::printf("peak memory %.1f MB; results %s\n", PeakMemoryMb(), allSame ? "identical" : "DIFFER");
  return allSame ? 0 : 1;
}

}  // namespace
}  // namespace tolvek

int main(int argc, char** argv) { return tolvek::Main(argc, argv); }
