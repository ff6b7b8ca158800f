#include "simulator/enterprise/enterprise_inventory.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "common/format.h"
#include "common/paths.h"
#include "simulator/enterprise/enterprise_map.h"
#include "simulator/enterprise/model_stand_loading.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/selection.h"
#include "simulator/state.h"
#include "simulator/translate.h"

namespace tolvek {

// ---- the store of model stands

void ModelStandStore::Follow(const std::string& key) {
  if (key == key_) return;
  Clear();
  key_ = key;
}

KeptModelStand* ModelStandStore::Kept(int entry) {
  if (entry < 1 || entry >= static_cast<int>(kept_.size())) return nullptr;
  return kept_[static_cast<std::size_t>(entry)].get();
}

KeptModelStand* ModelStandStore::Get(int entry, const Reader& read) {
  if (entry < 1) return nullptr;
  if (entry >= static_cast<int>(kept_.size())) kept_.resize(static_cast<std::size_t>(entry) + 1);
  std::unique_ptr<KeptModelStand>& slot = kept_[static_cast<std::size_t>(entry)];
  if (!slot) {
    slot = std::make_unique<KeptModelStand>();
    ++reads;
    slot->read = read(entry, slot->stand);
    slot->facts = {slot->stand.areaHa, &slot->stand.sums};
  }
  return slot.get();
}

void ModelStandStore::ForgetTreeWeights() {
  for (auto& k : kept_)
    if (k) ClearTreeCentredWeights(k->stand.trees);
}

void ModelStandStore::Clear() {
  kept_.clear();
  key_.clear();
}

Outcome ReadModelStand(SimulatorState& state, int entry, CurrentStand& into) {
  // Kept stands draw their histogram's spread from a generator of their own: reading them leaves the
  // run's random numbers alone.
  RandomGenerator histogramSpread;
  return ReadModelStandInto(state, entry, histogramSpread, into);
}

std::string ModelStandStoreKey(const SimulatorState& state) {
  std::string key = state.folders.program + "|" + FixedText(state.calliper.lower, 3) + "|" +
                    FixedText(state.calliper.upper, 3) + "|";
  for (const ModelStandEntry& e : state.modelStands.table.entries)
    key += e.code + (e.hasCorners ? "*" : "") + ";";
  return key;
}

// ---- where the points of the map lie

namespace {

// The corners of every compartment and stand folded into one number, all their bits taking part.
std::uint64_t GeometryFingerprint(const EnterpriseSession& s) {
  constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;
  std::uint64_t h = static_cast<std::uint64_t>(s.compartmentCount);
  const auto ring = [&h](const Ring& r) {
    h = (h ^ r.size()) * kMul;
    for (const GeoPoint& p : r) {
      h = (h ^ std::bit_cast<std::uint64_t>(p.x)) * kMul;
      h = (h ^ std::bit_cast<std::uint64_t>(p.y)) * kMul;
      h ^= h >> 29;
    }
  };
  for (int a = 1; a <= s.compartmentCount && a < static_cast<int>(s.outlines.size()); ++a) {
    ring(s.Outline(a));
    if (a >= static_cast<int>(s.compartments.size())) continue;
    h = (h ^ s.At(a).stands.size()) * kMul;
    for (const EnterpriseStand& st : s.At(a).stands) ring(st.corners);
  }
  return h;
}

}  // namespace

void EnterpriseAreaIndex::Follow(const EnterpriseSession& session) {
  const std::uint64_t print = GeometryFingerprint(session);
  if (any_ && print == made_) return;
  made_ = print;
  any_ = true;
  compartments_.clear();
  stands_.clear();
  const auto shapeOf = [](const Ring& ring) {
    Shape sh;
    sh.n = static_cast<int>(ring.size());
    sh.x.assign(ring.size() + 1, 0.0);
    sh.y.assign(ring.size() + 1, 0.0);
    sh.minX = sh.minY = std::numeric_limits<double>::infinity();
    sh.maxX = sh.maxY = -std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < ring.size(); ++i) {
      sh.x[i + 1] = ring[i].x;
      sh.y[i + 1] = ring[i].y;
      sh.minX = std::min(sh.minX, ring[i].x);
      sh.maxX = std::max(sh.maxX, ring[i].x);
      sh.minY = std::min(sh.minY, ring[i].y);
      sh.maxY = std::max(sh.maxY, ring[i].y);
    }
    return sh;
  };
  double minX = std::numeric_limits<double>::infinity(), minY = minX, maxX = -minX, maxY = -minX;
  const int count = std::min<int>(session.compartmentCount, static_cast<int>(session.outlines.size()) - 1);
  for (int a = 1; a <= count; ++a) {
    compartments_.push_back(shapeOf(session.Outline(a)));
    stands_.emplace_back();
    if (a < static_cast<int>(session.compartments.size()))
      for (const EnterpriseStand& st : session.At(a).stands) stands_.back().push_back(shapeOf(st.corners));
    const Shape& outline = compartments_.back();
    if (outline.n > 0) {
      minX = std::min(minX, outline.minX);
      maxX = std::max(maxX, outline.maxX);
      minY = std::min(minY, outline.minY);
      maxY = std::max(maxY, outline.maxY);
    }
    for (const Shape& sh : stands_.back())
      if (sh.n > 0) {
        minX = std::min(minX, sh.minX);
        maxX = std::max(maxX, sh.maxX);
        minY = std::min(minY, sh.minY);
        maxY = std::max(maxY, sh.maxY);
      }
  }
  columns_ = rows_ = 0;
  compartmentStart_.clear();
  compartmentCells_.clear();
  standStart_.clear();
  standCells_.clear();
  if (!(minX <= maxX) || !std::isfinite(minX + maxX + minY + maxY)) return;
  // Cells of 50 m, a margin around for the nudged points.
  originX_ = minX - 1.0;
  originY_ = minY - 1.0;
  cell_ = 50.0;
  columns_ = static_cast<int>(std::floor((maxX - originX_) / cell_)) + 2;
  rows_ = static_cast<int>(std::floor((maxY - originY_) / cell_)) + 2;
  const auto cells = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);
  std::vector<std::vector<std::int32_t>> byCellA(cells);
  std::vector<std::vector<std::pair<std::int32_t, std::int32_t>>> byCellS(cells);
  const auto span = [&](const Shape& sh, const auto& put) {
    if (sh.n <= 0) return;
    const int c0 = std::max(0, static_cast<int>(std::floor((sh.minX - originX_) / cell_)));
    const int c1 = std::min(columns_ - 1, static_cast<int>(std::floor((sh.maxX - originX_) / cell_)));
    const int r0 = std::max(0, static_cast<int>(std::floor((sh.minY - originY_) / cell_)));
    const int r1 = std::min(rows_ - 1, static_cast<int>(std::floor((sh.maxY - originY_) / cell_)));
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c) put(static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(c));
  };
  for (int a = 1; a <= static_cast<int>(compartments_.size()); ++a) {
    span(compartments_[static_cast<std::size_t>(a - 1)], [&](std::size_t c) { byCellA[c].push_back(a); });
    const auto& list = stands_[static_cast<std::size_t>(a - 1)];
    for (int j = 1; j <= static_cast<int>(list.size()); ++j)
      span(list[static_cast<std::size_t>(j - 1)], [&](std::size_t c) { byCellS[c].push_back({a, j}); });
  }
  compartmentStart_.push_back(0);
  standStart_.push_back(0);
  for (std::size_t c = 0; c < cells; ++c) {
    compartmentCells_.insert(compartmentCells_.end(), byCellA[c].begin(), byCellA[c].end());
    compartmentStart_.push_back(static_cast<std::int32_t>(compartmentCells_.size()));
    standCells_.insert(standCells_.end(), byCellS[c].begin(), byCellS[c].end());
    standStart_.push_back(static_cast<std::int32_t>(standCells_.size()));
  }
}

int EnterpriseAreaIndex::CellOf(double px, double py) const {
  if (columns_ <= 0) return -1;
  const double u = std::floor((px - originX_) / cell_), v = std::floor((py - originY_) / cell_);
  if (!(u >= 0.0 && u < columns_ && v >= 0.0 && v < rows_)) return -1;
  return static_cast<int>(v) * columns_ + static_cast<int>(u);
}

bool EnterpriseAreaIndex::InsideCompartment(double px, double py) const {
  const int c = CellOf(px, py);
  if (c < 0) return false;
  for (std::int32_t i = compartmentStart_[static_cast<std::size_t>(c)]; i < compartmentStart_[static_cast<std::size_t>(c) + 1]; ++i) {
    const Shape& sh = compartments_[static_cast<std::size_t>(compartmentCells_[static_cast<std::size_t>(i)] - 1)];
    if (!sh.Holds(px, py)) continue;
    if (PointInPolygon(PolygonRef(sh.n, sh.x.data(), sh.y.data(), sh.n), px, py)) return true;
  }
  return false;
}

void EnterpriseAreaIndex::AssignStand(const EnterpriseSession& session, double px, double py, GridPoint& point) const {
  for (int attempt = 0; attempt < 6 && point.standNumber < 1; ++attempt) {
    const int c = CellOf(px, py);
    if (c >= 0) {
      for (std::int32_t i = standStart_[static_cast<std::size_t>(c)]; i < standStart_[static_cast<std::size_t>(c) + 1]; ++i) {
        const auto [a, j] = standCells_[static_cast<std::size_t>(i)];
        const Shape& sh = stands_[static_cast<std::size_t>(a - 1)][static_cast<std::size_t>(j - 1)];
        if (!sh.Holds(px, py) || !PointInPolygon(PolygonRef(sh.n, sh.x.data(), sh.y.data(), sh.n), px, py)) continue;
        const EnterpriseStand& st = session.At(a).stands[static_cast<std::size_t>(j - 1)];
        point.standNumber = st.modelStand;
        point.standType = static_cast<std::uint8_t>(std::clamp(st.typePosition, 0, 255));
        point.ageClass = static_cast<std::uint8_t>(std::clamp(st.cls, 0, 255));
      }
    }
    px -= 0.1;
    py -= 0.1;
  }
}

// ---- the pass

namespace {

// The model stands the store keeps as the true values read them.
class StoreFacts final : public ModelStandFactsSource {
 public:
  explicit StoreFacts(SimulatorState& s) : s_(s) {}
  Outcome Facts(int entry, ModelStandFacts& facts) override {
    const KeptModelStand* k =
        s_.inventory.store.Get(entry, [this](int e, CurrentStand& into) { return ReadModelStand(s_, e, into); });
    if (k == nullptr) return Problem{"Modellbestand nicht in der Liste", std::to_string(entry)};
    if (k->read.ok()) facts = k->facts;
    return k->read;
  }

 private:
  SimulatorState& s_;
};

std::string MethodWeightKey(const MethodSettings& m) {
  std::string key = std::to_string(m.code) + "|" + FixedText(m.circleArea, 6) + "|" + std::to_string(m.countingFactor) +
                    "|" + std::to_string(m.cornersPerCircle) + "|";
  for (int i = 1; i <= 6; ++i) key += FixedText(m.concentricRadius[static_cast<std::size_t>(i)], 6) + ",";
  return key;
}

}  // namespace

Outcome PrepareModelStands(SimulatorState& state, int& failedEntry) {
  EnterpriseInventoryState& inv = state.inventory;
  inv.store.Follow(ModelStandStoreKey(state));
  const EnterpriseSession& e = state.enterprise;
  for (int a = 1; a <= e.compartmentCount && a < static_cast<int>(e.compartments.size()); ++a)
    for (const EnterpriseStand& st : e.At(a).stands) {
      if (st.modelStand < 1) continue;
      const KeptModelStand* k =
          inv.store.Get(st.modelStand, [&](int m, CurrentStand& into) { return ReadModelStand(state, m, into); });
      if (!k->read.ok()) {
        failedEntry = st.modelStand;
        return k->read;
      }
    }
  return {};
}

void EnterpriseRoute::Begin(bool repetition, std::string gridFile) {
  repetition_ = repetition;
  gridFile_ = std::move(gridFile);
  ended = {};
  EnterpriseInventoryState& inv = s_.inventory;
  inv.store.Follow(ModelStandStoreKey(s_));
  // Tree-centred weights belong to the circles they were taken with.
  const std::string key = MethodWeightKey(s_.sampling.method);
  if (key != methodKey_) {
    inv.store.ForgetTreeWeights();
    methodKey_ = key;
  }
}

void EnterpriseRoute::BeginMarking() { s_.inventory.areas.Follow(s_.enterprise); }

GeoPoint EnterpriseRoute::ToCompartments(double gx, double gy) {
  // As RotateByGridAngle turns, with the angle's cosine and sine taken once for all points.
  const double angle = -s_.enterprise.mapAngle;
  if (angle != turnAngle_) {
    turnAngle_ = angle;
    turnCos_ = std::cos(angle);
    turnSin_ = std::sin(angle);
  }
  return {gx * turnCos_ - gy * turnSin_, gx * turnSin_ + gy * turnCos_};
}

bool EnterpriseRoute::InsideCompartment(double gx, double gy) {
  const GeoPoint p = ToCompartments(gx, gy);
  return s_.inventory.areas.InsideCompartment(p.x, p.y);
}

void EnterpriseRoute::AssignModelStand(double gx, double gy, GridPoint& point) {
  const GeoPoint p = ToCompartments(gx, gy);
  s_.inventory.areas.AssignStand(s_.enterprise, p.x, p.y, point);
}

bool EnterpriseRoute::Lend(int entry) {
  TakeBack();
  EnterpriseInventoryState& inv = s_.inventory;
  CurrentStand& cs = s_.currentStand;
  if (inv.freshReads) {
    // As each change of model stand once did: the files read again into the current stand.
    CurrentStand fresh;
    ++freshReads;
    if (!ReadModelStand(s_, entry, fresh).ok()) return false;
    cs = std::move(fresh);
    s_.modelStands.cornerEntry = entry;
    return true;
  }
  KeptModelStand* k = inv.store.Get(entry, [this](int e, CurrentStand& into) { return ReadModelStand(s_, e, into); });
  if (k == nullptr || !k->read.ok()) return false;
  // Built once from the kept trees, whose positions and diameters nothing changes while they are kept.
  if (!k->indexBuilt) {
    BuildTreeIndex(k->index, k->stand.trees);
    k->indexBuilt = true;
  }
  std::swap(cs.trees, k->stand.trees);
  std::swap(s_.sampling.treeIndex, k->index);
  cs.boundary = k->stand.boundary;
  cs.areaHa = k->stand.areaHa;
  lent_ = entry;
  return true;
}

void EnterpriseRoute::TakeBack() {
  if (lent_ == 0) return;
  KeptModelStand* k = s_.inventory.store.Kept(lent_);
  if (k != nullptr) {
    std::swap(s_.currentStand.trees, k->stand.trees);
    std::swap(s_.sampling.treeIndex, k->index);
  }
  lent_ = 0;
}

bool EnterpriseRoute::PreparePoint(int, GridPoint& point, PassResult& pass) {
  const int s = point.standNumber;
  if (s <= 0) return false;
  pass.currentModelStand = s;
  if (!repetition_) CountModelStandHit(s_.modelStands.table, s);
  if (s != pass.lastLoadedModelStand) {
    if (!Lend(s)) return false;
    pass.lastLoadedModelStand = s;
  }
  double x = point.centreX, y = point.centreY;
  if (!s_.sampling.grid.loadedFromFile) {
    if (!RandomPlotCentre(s_.currentStand.boundary, s_.random, x, y) && s_.services.messages)
      s_.services.messages->ShowMessageBox(Translate(s_.language, "Kein Probekreis im Bestand"), MessageKind::Warning, MessageButtons::Ok);
  }
  point.centreX = x;
  point.centreY = y;
  pass.centreX = x;
  pass.centreY = y;
  return true;
}

void EnterpriseRoute::PassEnded(PassResult& pass) {
  const int last = pass.lastLoadedModelStand;
  const bool lent = lent_ != 0;
  TakeBack();
  // After a pass the current stand is the last model stand visited, whole: lending moved its boundary
  // in and its trees back out, and a run may end after any pass.
  if (lent && last > 0)
    if (KeptModelStand* k = s_.inventory.store.Kept(last)) {
      s_.currentStand = k->stand;
      s_.modelStands.cornerEntry = last;
    }
  if (last > 0) lentName_ = s_.currentStand.name;
  SampleGrid& grid = s_.sampling.grid;
  if (grid.saveRequest) {
    ended = SaveGrid(grid, gridFile_);
  }
  if (!repetition_) {
    ModelStandStatisticsInputs in;
    const ChosenTypes& chosen = s_.enterprise.chosen;
    for (int p = 1; p <= 5; ++p) {
      const int code = chosen.codes[static_cast<std::size_t>(p)];
      if (code >= 1 && code < kTypeSlots && p <= chosen.count) in.typePosition[static_cast<std::size_t>(code)] = p;
    }
    const EnterpriseSession& e = s_.enterprise;
    for (int a = 1; a <= e.compartmentCount && a < static_cast<int>(e.compartments.size()); ++a)
      for (const EnterpriseStand& st : e.At(a).stands)
        if (st.typePosition >= 1 && st.typePosition <= 5 && st.cls >= 1 && st.cls <= 5)
          AddStatisticsArea(in, st.typePosition, st.cls, st.area);
    in.spacingX = grid.dx;
    in.spacingY = grid.dy;
    const Outcome written = WriteModelStandStatistics(s_.folders, ModelStandStatisticsLines(s_.modelStands.table, in));
    if (ended.ok()) ended = written;
  }
}

std::string EnterpriseRoute::CurrentStandName() const {
  if (lent_ != 0)
    if (const ModelStandEntry* e = s_.modelStands.table.Entry(lent_)) return e->itemText;
  return lentName_;
}

// ---- true values and evaluation

std::string CurrentTrueValueCacheKey(const SimulatorState& state) {
  TrueValueCacheInputs in{state.enterprise, state.settings.forestDevelopmentTypes, {}, {}};
  for (const ModelStandEntry& e : state.modelStands.table.entries) {
    in.entries.push_back(e.code + " " + std::to_string(e.cls.type) + std::to_string(e.cls.klass));
    StandFiles files;
    const bool found =
        ResolveStandFiles(state.folders, JoinPath(state.folders.program, "Bestande/" + e.code + ".txt"), files).ok();
    in.treeFileStamps.push_back(found ? TreeFileStamp(files.treeFile) : std::string("-"));
  }
  return TrueValueCacheKey(in);
}

TruthOutcome ComputeStratumTrueValues(SimulatorState& state) {
  EnterpriseInventoryState& inv = state.inventory;
  SampleGrid& grid = state.sampling.grid;
  TruthOutcome out;
  const std::string path = TrueValueCachePath(state.folders.program);
  if (grid.loadedFromFile) {
    std::vector<std::string> lines;
    StratumValues sums;
    const Outcome cached = ReadTextLines(path, lines)
                               ? ParseTrueValueCache(lines, CurrentTrueValueCacheKey(state), sums)
                               : Outcome("Datei nicht gefunden", "");
    if (cached.ok()) {
      grid.saveRequest = false;
      FinishStratumValues(sums);
      inv.truth = sums;
      inv.truthKnown = true;
      out.fromCache = true;
      return out;
    }
    out.cache = cached;
  }
  inv.store.Follow(ModelStandStoreKey(state));
  StoreFacts facts(state);
  StratumValues sums = SumStratumValues(state.enterprise, facts, &out.report);
  if (grid.saveRequest) {
    if (Outcome written = WriteTextLines(path, TrueValueCacheLines(sums, CurrentTrueValueCacheKey(state)));
        !written.ok())
      out.cache = written;
    grid.saveRequest = false;
  }
  FinishStratumValues(sums);
  inv.truth = sums;
  inv.truthKnown = true;
  return out;
}

std::array<std::string, kStrata> PositionNames(const SimulatorState& state) {
  const ClassificationMode mode = CurrentClassification(state);
  const std::array<std::string, kTypeSlots> names = TypeNames(mode, state.language);
  std::array<std::string, kStrata> out;
  out[0] = names[0];
  const ChosenTypes& chosen = state.enterprise.chosen;
  for (int p = 1; p <= 5; ++p) {
    const int code = chosen.codes[static_cast<std::size_t>(p)];
    if (code >= 1 && code < kTypeSlots) out[static_cast<std::size_t>(p)] = names[static_cast<std::size_t>(code)];
  }
  return out;
}

std::array<bool, kStrata> PositionHasType(const SimulatorState& state) {
  std::array<bool, kStrata> has{};
  const ChosenTypes& chosen = state.enterprise.chosen;
  for (int p = 1; p <= 5; ++p) {
    const int code = chosen.codes[static_cast<std::size_t>(p)];
    has[static_cast<std::size_t>(p)] = code >= 1 && code < kTypeSlots;
  }
  return has;
}

Outcome EvaluateEnterprisePass(SimulatorState& state) {
  EnterpriseInventoryState& inv = state.inventory;
  if (!inv.truthKnown) ComputeStratumTrueValues(state);
  const SamplingState& sm = state.sampling;
  const DeviationHistograms& widths = state.evaluation.histograms;
  EnterpriseEvaluationProblem problem;
  EnterpriseEstimates e = EvaluateEnterprise(
      {sm.method, sm.method.passCode, sm.plots, inv.truth, widths.basalAreaWidth, widths.stemNumberWidth},
      inv.histograms, &problem);
  // A code with the stratum's numbers: the language tables have no row for it, so every language shows it as it is.
  if (problem.failed) return Problem{EnterpriseProblemText(problem), ""};
  inv.estimates = e;
  inv.evaluated = true;
  return {};
}

EnterpriseReportInput MakeReportInput(const SimulatorState& state, const std::array<std::string, 8>& captions,
                                      const std::string& date, const std::string& time) {
  const EnterpriseInventoryState& inv = state.inventory;
  const MethodSettings& m = state.sampling.method;
  return EnterpriseReportInput{captions,
                               date,
                               time,
                               state.sampling.pass.passPlotTotal,
                               ModelStandCaption(state.modelStands.realStands, state.modelStands.generatedStands,
                                                 state.language),
                               state.calliper.lower,
                               m.passCode,
                               static_cast<double>(m.concentricDbhLimit[1]),
                               state.settings.forestDevelopmentTypes,
                               PositionNames(state),
                               inv.estimates,
                               inv.truth};
}

EnterpriseViewInput MakeViewInput(const SimulatorState& state) {
  const EnterpriseInventoryState& inv = state.inventory;
  return EnterpriseViewInput{inv.truth, inv.estimates, &inv.histograms, PositionNames(state), PositionHasType(state),
                             state.settings.forestDevelopmentTypes};
}

// ---- passes and runs without windows

PassOutcome RunEnterprisePass(SimulatorState& state, EnterpriseRoute& route, PassObserver& observer, bool repetition,
                              bool markPoints) {
  SampleGrid& grid = state.sampling.grid;
  const GridContext context{true, state.run.repetitionFlag, state.run.evaluationStarted};
  route.Begin(repetition, GridFilePath(state.folders.program, state.enterprise.number));
  if (!grid.exists) {
    if (!NewGrid(grid, nullptr, &route, context).ok()) return PassOutcome::GridFailed;
  }
  if (markPoints) MarkInsidePoints(grid, nullptr, &route, true, true);
  PassEnvironment env{state.sampling,  state.currentStand.trees, state.currentStand.boundary, *state.geometry,
                      state.run,       state.services,           state.language,              observer};
  env.enterprise = &route;
  env.areas = &route;
  env.gridContext = context;
  env.repetition = repetition;
  env.singleStepWait = !repetition;
  return RunSamplingPass(env);
}

bool EnterpriseRunSteps::Evaluate(int, RepetitionEstimate& estimate) {
  EnterpriseInventoryState& inv = s_.inventory;
  if (s_.evaluation.run.count == 0) {
    inv.truthKnown = false;
    inv.histograms.Clear();
  }
  if (const Outcome evaluated = EvaluateEnterprisePass(s_); !evaluated.ok()) {
    stopped = evaluated;
    s_.run.repetitionStop = true;
    return false;
  }
  estimate.plots = inv.estimates.plotCount;
  estimate.sampleTrees = s_.sampling.pass.sampleTreeTotal;
  estimate.basalArea = inv.estimates.runBasalArea;
  estimate.stemNumber = inv.estimates.runStemNumber;
  return true;
}

RunTrueValues EnterpriseRunSteps::TrueValues() {
  const StratumTruth& all = s_.inventory.truth.At(0, 0, 0);
  return MakeRunTrueValues(all.g, all.n);
}

void EnterpriseRunSteps::ShiftGridAndPass() {
  SampleGrid& grid = s_.sampling.grid;
  RandomGridOrigin(grid, s_.random);
  grid.assign = true;
  const GridContext context{true, s_.run.repetitionFlag, s_.run.evaluationStarted};
  const Outcome made = NewGrid(grid, nullptr, &route_, context);
  if (!made.ok() || RunEnterprisePass(s_, route_, observer_, true, false) != PassOutcome::Done) {
    stopped = made.ok() ? Outcome("pass without plots", "") : made;
    s_.run.repetitionStop = true;
  }
}

}  // namespace tolvek
