#pragma once
// One inventory pass: a plot at every inside grid point, its edge weight, the method's sample trees,
// all kept in the PlotList the evaluation reads. The pass is the same routine for "weiter", a dropped
// plot and every repetition, so it draws nothing itself: it reports to an observer that the window
// implements, and it reuses its storage from pass to pass.
#include <array>
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "common/canvas.h"
#include "common/platform.h"
#include "common/run_control.h"
#include "simulator/sampling/grid.h"
#include "simulator/sampling/method.h"
#include "simulator/sampling/plot_memo.h"
#include "simulator/sampling/tree_index.h"
#include "simulator/stand/tree_list.h"

namespace tolvek {

struct BoundaryPolygon;
struct GeometryContext;
struct LanguageTable;

struct SampleTreeRecord {
  // Eight-byte fields first, then the four-byte and the one-byte ones: 40 bytes with no padding, since
  // a dense grid writes and reads tens of thousands of these per pass.
  double distance = 0.0;        // m from the plot centre
  double edgeWeight = 1.0;
  double plotArea = 0.0;        // m², the tree's selection area
  float dbh = 0.0f;             // cm
  float x = 0.0f;               // m
  float y = 0.0f;
  std::uint8_t layer = 0;       // 0 main stand, 1 understorey of the n-tree sample
  std::uint8_t species = 0;
  std::uint8_t species2 = 0;
  std::uint8_t weightDone = 0;  // the tree's weight-computed flag
};
static_assert(sizeof(SampleTreeRecord) == 40);
// The record's last four bytes are layer and the tree's three bytes from its species on.
static_assert(offsetof(SampleTreeRecord, species) == offsetof(SampleTreeRecord, layer) + 1 &&
              offsetof(SampleTreeRecord, species2) == offsetof(SampleTreeRecord, layer) + 2 &&
              offsetof(SampleTreeRecord, weightDone) == offsetof(SampleTreeRecord, layer) + 3 &&
              offsetof(SampleTreeRecord, weightDone) + 1 == sizeof(SampleTreeRecord));
static_assert(sizeof(SpeciesCode) == 1 && offsetof(TreeRecord, species2) == offsetof(TreeRecord, species) + 1 &&
              offsetof(TreeRecord, weightDone) == offsetof(TreeRecord, species) + 2 &&
              offsetof(TreeRecord, weightFailed) == offsetof(TreeRecord, species) + 3);

struct PlotRecord {
  std::uint8_t standType = 0;   // enterprise: from the grid point
  std::uint8_t ageClass = 0;
  double plotArea = 0.0;        // m²: circle area (methods 2, 3), 0 (52), A₁ (n-tree)
  double secondArea = 0.0;      // m²: n-tree understorey area A₂
  double insideShare = 0.0;     // fixed circles: 1 / plot weight
  std::int32_t firstTree = 0;   // index into PlotList::trees
  std::int32_t treeCount = 0;   // 0 for a plot without trees
  std::int32_t gridIndex = 0;   // the grid point (1-based) the plot belongs to
};

// The sample trees of a pass, used like a vector of records. Every slot up to the capacity always holds
// a record, so a selection writes its trees straight into the room behind the last one and counts them
// once it is done: no check of the capacity and no update of the size per tree.
class SampleTreeStore {
 public:
  SampleTreeStore() = default;
  SampleTreeStore(std::initializer_list<SampleTreeRecord> records) { Assign(records.begin(), records.size()); }
  SampleTreeStore(const SampleTreeStore& other) { Assign(other.data(), other.size()); }
  SampleTreeStore& operator=(const SampleTreeStore& other) {
    if (this != &other) Assign(other.data(), other.size());
    return *this;
  }
  SampleTreeStore(SampleTreeStore&& other) noexcept
      : slots_(std::move(other.slots_)), size_(std::exchange(other.size_, 0)),
        capacity_(std::exchange(other.capacity_, 0)) {}
  SampleTreeStore& operator=(SampleTreeStore&& other) noexcept {
    slots_ = std::move(other.slots_);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
    return *this;
  }

  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }
  bool empty() const { return size_ == 0; }
  SampleTreeRecord* data() { return slots_.get(); }
  const SampleTreeRecord* data() const { return slots_.get(); }
  SampleTreeRecord* begin() { return data(); }
  SampleTreeRecord* end() { return data() + size_; }
  const SampleTreeRecord* begin() const { return data(); }
  const SampleTreeRecord* end() const { return data() + size_; }
  SampleTreeRecord& operator[](std::size_t i) { return slots_[i]; }
  const SampleTreeRecord& operator[](std::size_t i) const { return slots_[i]; }
  SampleTreeRecord& front() { return slots_[0]; }
  const SampleTreeRecord& front() const { return slots_[0]; }
  SampleTreeRecord& back() { return slots_[size_ - 1]; }
  const SampleTreeRecord& back() const { return slots_[size_ - 1]; }

  void clear() { size_ = 0; }
  void pop_back() { --size_; }
  // The record is made before room is made for it, since it may be a copy of one the room moves.
  void push_back(const SampleTreeRecord& r) {
    const SampleTreeRecord record = r;
    *Room(1) = record;
    ++size_;
  }
  template <class... Args>
  SampleTreeRecord& emplace_back(Args&&... args) {
    const SampleTreeRecord record{std::forward<Args>(args)...};
    SampleTreeRecord* at = Room(1);
    *at = record;
    ++size_;
    return *at;
  }
  // Shorter: the records behind are dropped; longer: the new ones are default records.
  void resize(std::size_t n) {
    if (n > size_) {
      SampleTreeRecord* const from = Room(n - size_);  // may move the records: the end is taken after
      std::fill(from, data() + n, SampleTreeRecord{});
    }
    size_ = n;
  }
  void reserve(std::size_t n) {
    if (n > capacity_) Grow(n);
  }

  // Room for `count` records behind the last one; they belong to the store once Commit counts them.
  SampleTreeRecord* Room(std::size_t count) {
    if (count > capacity_ - size_) Grow(std::max(size_ + count, capacity_ + capacity_ / 2));
    return data() + size_;
  }
  void Commit(std::size_t count) { size_ += count; }

 private:
  void Grow(std::size_t wanted) {
    std::unique_ptr<SampleTreeRecord[]> larger(new SampleTreeRecord[wanted]);
    std::copy(data(), data() + size_, larger.get());
    slots_ = std::move(larger);
    capacity_ = wanted;
  }
  void Assign(const SampleTreeRecord* from, std::size_t count) {
    size_ = 0;
    std::copy(from, from + count, Room(count));
    size_ = count;
  }

  std::unique_ptr<SampleTreeRecord[]> slots_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// The plots of the last pass in pass order, each with its sample trees in selection order. The
// storage is cleared, never freed, between passes.
struct PlotList {
  std::vector<PlotRecord> plots;
  SampleTreeStore trees;

  std::span<const SampleTreeRecord> TreesOf(const PlotRecord& p) const {
    return {trees.data() + p.firstTree, static_cast<std::size_t>(p.treeCount)};
  }
  bool Empty() const { return plots.empty(); }
  void Clear() {
    plots.clear();
    trees.clear();
  }
};

// Counters and per-point values of the pass; the plot plan and the evaluation read them.
struct PassResult {
  std::uint16_t plotCount = 0;        // plots of the pass (equals plots.size())
  std::uint16_t passPlotTotal = 0;    // plotCount copied at the end of the pass
  std::uint16_t treesOfCurrentPlot = 0;
  std::int32_t sampleTreeTotal = 0;   // every entry counts, the empty-plot entry included
  bool failed = false;                // an edge weight of the current point failed
  double plotWeight = 1.0;
  std::array<double, 6> concentricWeight{};  // 1..count
  double centreX = 0.0, centreY = 0.0;
  double savedCentreX = 0.0, savedCentreY = 0.0;
  float planCentreX = 0.0f, planCentreY = 0.0f;
  int mapX = 0, mapY = 0;             // enterprise: the grid point on the map
  double distance = 0.0;              // distance of the tree being recorded
  std::uint8_t layer = 0;             // layer of the tree being recorded (n-tree understorey: 1)
  std::array<std::uint8_t, 10> speciesSeen{};  // 1..9, cleared per point
  // the strongest tree of an angle-count point (for the plot plan)
  double strongestDbh = 0.0, strongestWeight = 0.0, strongestRadius = 0.0;
  // n-tree plot radii and weights of the current point
  double nTreeR1 = 0.0, nTreeR2 = 0.0, nTreeW1 = 0.0, nTreeW2 = 0.0;
  std::int32_t lastLoadedModelStand = -1;
  std::int32_t currentModelStand = 0;
  bool passDone = false;
  bool completed = false;             // the last pass ran to its end (not stopped by "Ende")
};

// Scratch of the selection, kept so that no point allocates.
struct SelectionScratch {
  std::vector<TreeRecord*> candidates;
  // The trees of all centres of a pass at once (methods whose trees reach distances of their own), and
  // each grid point's centre in it (-1: none).
  CentreBatch batch;
  std::vector<std::int32_t> batchCentre;
  // The angle count's limiting distance of each tree (squared, and its root) in list order, for the
  // counting factor and the tree list an index build described; `angleFor` is the list while a pass
  // may read them, null otherwise.
  std::vector<double> angleLimit2, angleRadius;
  const TreeRecord* angleFor = nullptr;
  const TreeRecord* angleTakenFor = nullptr;
  std::size_t angleTakenSize = 0;
  int angleTakenFactor = 0, angleTakenBuild = -1;
  // The n-tree sample's nearest lists, slots 1..13.
  NearestLists nearest;
};

// How far plot centres lie from the stand boundary, by square cells over the boundary: the distance of
// each cell's middle from the nearest boundary edge, so that every centre of the cell lies within half a
// diagonal of it. A circle smaller than that lies clear of the boundary and has weight 1; one larger
// surely reaches the boundary. A cell's distance is taken the first time a centre falls into it; the
// table follows the boundary by itself (a boundary of other points empties it).
struct BoundaryClearance {
  int n = 0;                        // the boundary it describes: point count and points, compared bit for bit
  std::vector<double> boundaryX, boundaryY;
  double originX = 0.0, originY = 0.0;
  double cell = 2.0;
  int columns = 0, rows = 0;
  std::vector<double> middleDistance;  // per cell; NaN: not taken yet
  // The edges that can be nearest to some centre of the cell (those within the middle's distance and a
  // diagonal of the middle), taken the first time a centre of the cell needs its exact distance:
  // nearEdges[nearStart[c] ..] up to the next 0; nearStart -1: not taken yet.
  std::vector<std::int32_t> nearStart;
  std::vector<std::uint8_t> nearEdges;
};

// Everything the sampling engine keeps program-wide.
struct SamplingState {
  MethodSettings method;
  SampleGrid grid;
  PlotList plots;
  PassResult pass;
  SelectionScratch scratch;
  TreeIndex treeIndex;  // the candidate trees of a plot by position; follows the tree list by itself
  BoundaryClearance clearance;  // stand mode only: the enterprise route changes boundaries within a pass
  PlotMemo plotMemo;            // stand mode with the tree index only
};

// What the window does while a pass runs. Every call comes after the point's plot is settled, so a
// dropped point is never drawn.
class PassObserver {
 public:
  virtual ~PassObserver() = default;
  // Start of a pass, after the old plot list is cleared (stand image: yellow pen, clear brush; show the
  // tree-count label; clear the sample's diameter-class table of the diameter-distribution diagram).
  virtual void PassStarted() {}
  // A point is about to be visited (clear the plan image).
  virtual void PointStarted(int /*gridIndex*/) {}
  // A plot circle on the stand map (stand mode, graphics on).
  virtual void PlotCircle(double /*cx*/, double /*cy*/, double /*radius*/, Colour /*colour*/,
                          bool /*dotted*/) {}
  // A sample tree in the current pen colour (MarkSampledSpecies with graphics on, stand mode).
  virtual void SampledTree(std::uint8_t /*species*/, double /*dbh*/, double /*x*/, double /*y*/,
                           Colour /*pen*/) {}
  // A plot has been recorded (enterprise outside repetitions: the plot plan).
  virtual void PlotRecorded(int /*gridIndex*/, const PlotRecord& /*plot*/) {}
  // The pass is over: the label "Probebäume:" and its text.
  virtual void PassFinished(const std::string& /*treeCountLabel*/) {}
};

// Where the trees a plot may select come from. The default walks the whole tree list; a spatial index
// may hand out fewer, but always a superset of the trees within the radius and always in tree-list order,
// so selection order and ties stay as the plain scan gives them.
class CandidateSource {
 public:
  virtual ~CandidateSource() = default;
  virtual void Candidates(TreeList& trees, double cx, double cy, double radius,
                          std::vector<TreeRecord*>& out) = 0;
  // A source that hands every point the whole list is asked once per tree list, not once per point.
  virtual bool WholeList() const { return false; }
};
// The plain scan. Without a source the pass takes the trees from SamplingState::treeIndex.
class AllTreesSource : public CandidateSource {
 public:
  void Candidates(TreeList& trees, double cx, double cy, double radius, std::vector<TreeRecord*>& out) override;
  bool WholeList() const override { return true; }
};

// The enterprise route of the pass: model stand of a point, plot position, plot plan. The enterprise
// level implements it; in stand mode none is given.
class EnterprisePassRoute {
 public:
  virtual ~EnterprisePassRoute() = default;
  // Loads the model stand of the point when it changed (its hit count outside repetitions; a failed
  // load ends the program with "1851" and the tree file name) and places the plot centre into pass and
  // point (the stored centre while a loaded grid is kept, else RandomPlotCentre). False: the point gives
  // no plot (no model stand at the point). An exception from here ends the program with "1835".
  virtual bool PreparePoint(int gridIndex, GridPoint& point, PassResult& pass) = 0;
  // After the last point: the grid's save request and the model-stand statistics of the first pass.
  virtual void PassEnded(PassResult& /*pass*/) {}
  // True when the tree index in the sampling state was lent together with the current trees and was
  // built from exactly these trees: the pass then does not compare them again.
  virtual bool IndexDescribesTrees() const { return false; }
};

// The enterprise route's plot position in a model stand: whole-metre random positions within the extents
// of the boundary as read (x then y drawn per try), up to 101 tries until one lies inside. False when none
// did ("Kein Probekreis im Bestand"); the last position drawn is left in x and y.
bool RandomPlotCentre(const BoundaryPolygon& boundary, RandomGenerator& random, double& x, double& y);

// What a pass works on.
struct PassEnvironment {
  SamplingState& sampling;
  TreeList& trees;
  const BoundaryPolygon& boundary;
  GeometryContext& geometry;
  RunControl& run;
  Services& services;
  const LanguageTable& language;
  PassObserver& observer;
  EnterprisePassRoute* enterprise = nullptr;  // the enterprise route; null in stand mode
  CandidateSource* candidates = nullptr;      // null: the tree index of the sampling state
  EnterpriseGridAreas* areas = nullptr;       // inside test of a grid made by the pass in enterprise mode
  GridContext gridContext{};
  bool repetition = false;    // inside a run of repetitions (tree-centred weights may apply)
  bool singleStepWait = true; // the single-step wait at the end of the pass
};

enum class PassOutcome {
  NoMethod,        // "Bitte Verfahren festlegen": nothing was done
  Done,            // the plot list holds the pass
  NoPlots,         // "Keine Probebäume gefunden" answered with Yes or No: the list is empty
  EndProgram,      // "Keine Probebäume gefunden" answered with Cancel: the list is empty and the program is
                   // to end once the user has confirmed it, as "Ende" asks
  Stopped,         // "Ende" while the pass ran: the list holds the plots so far
  GridFailed,      // no grid could be made
};

// The pass. Failures of its stages end the program through FatalErrorCode with the stage code:
// "1805" clearing the old list, "1851" loading a model stand, "1835" the centre and weights of an
// enterprise point, "Fehler1889" selection, "1763" recording a tree of methods 2 and 3.
PassOutcome RunSamplingPass(PassEnvironment& env);

// The random grid shift before a repetition: a new origin within one cell of the grid's base origin
// (two draws), a fresh grid that also assigns model stands, and the next pass. The 100 ms wait of "weiter"
// does not belong to it.
PassOutcome RandomGridShiftAndPass(PassEnvironment& env, RandomGenerator& random);

// The text "Probebäume:" + total after a pass.
std::string SampleTreeCountLabel(const LanguageTable& lang, std::int32_t total);

// Starts a plot for the current point (no-op while the failure flag is set).
void AppendPlot(SamplingState& s, const GridPoint* point, int gridIndex, double selectionArea, double a1,
                double a2);
// Appends a sample tree to the current plot; null records the empty plot (no tree record).
void AppendSampleTree(SamplingState& s, const TreeRecord* tree, double edgeWeight, double plotArea);
// Sets the species-seen flag of the current point.
void MarkSampledSpecies(PassResult& pass, std::uint8_t species);

// Records the sample trees of the current plot as AppendSampleTree does tree by tree, but brings the
// counters, the species-seen flags and the plot's tree count up to date once, in Finish: the selection
// loops write nothing but the records themselves, into room the store keeps for them. `room` is the
// most trees the plot may add (its candidates). Nothing is recorded while the failure flag is set or
// before a plot was started: the records are written all the same and Finish forgets them.
class SampleTreeRecorder {
 public:
  SampleTreeRecorder(SamplingState& s, std::size_t room)
      : s_(s), recording_(!s.pass.failed && !s.plots.plots.empty()), first_(s.plots.trees.Room(room)),
        next_(first_) {}

  void Add(const TreeRecord& tree, double distance, std::uint8_t layer, double edgeWeight, double plotArea) {
    // Every field given at once, so the record is written once where it lies.
    SampleTreeRecord r{distance, edgeWeight, plotArea, static_cast<float>(tree.dbh), static_cast<float>(tree.x),
                       static_cast<float>(tree.y), layer, tree.species, tree.species2, tree.weightDone};
    if constexpr (std::endian::native == std::endian::little) {
      // The tree keeps species, second species and weight flag side by side, as the record does behind
      // the layer: one read of four bytes, moved up by the layer's byte, instead of three.
      std::uint32_t bytes = 0;
      std::memcpy(&bytes, &tree.species, sizeof bytes);
      bytes = bytes << 8 | layer;
      std::memcpy(&r.layer, &bytes, sizeof bytes);
    }
    *next_++ = r;
    // The species seen, as the plot's marks want them (1..9), without reading the records back.
    const std::uint8_t species = tree.species;
    seen_ |= species <= 9 ? std::uint32_t{1} << species : 0u;
  }
  // The plot's trees are all added: counts them, or the empty-plot entry when there were none.
  void Finish() { Count(s_, recording_, first_, next_, seen_); }

 private:
  // Out of line, but given the recorder's parts rather than the recorder: its cursor stays in a register
  // through the selection loop instead of going to memory for every tree.
  static void Count(SamplingState& s, bool recording, SampleTreeRecord* first, SampleTreeRecord* next,
                    std::uint32_t seen);

  SamplingState& s_;
  bool recording_;
  SampleTreeRecord* first_;
  SampleTreeRecord* next_;
  std::uint32_t seen_ = 0;  // bit s: a tree of species s was added
};

}  // namespace tolvek
