#pragma once
// One inventory pass: a plot at every inside grid point, its edge weight, the method's sample trees,
// all kept in the PlotList the evaluation reads. The pass is the same routine for "weiter", a dropped
// plot and every repetition, so it draws nothing itself: it reports to an observer that the window
// implements, and it reuses its storage from pass to pass.
//
// What a pass reads (PassEnvironment): the method settings and the grid of the SamplingState (a grid is
// made when none exists), the tree list, the stand boundary, the run controls ("Ende", graphics,
// enterprise mode, the run's pump schedule), and in enterprise mode the route that places each point.
// What it writes: SamplingState::plots (the plots and their sample trees, sample_trees.h), the counters
// and per-point values of SamplingState::pass, the grid's plot count, and its caches (tree index, plot
// memo, boundary clearance, selection scratch), which change no result. What it tells: the observer,
// as each plot settles. What it returns: a PassOutcome; a failed stage ends the program instead.
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "common/canvas.h"
#include "common/platform.h"
#include "common/run_control.h"
#include "simulator/sampling/boundary_clearance.h"
#include "simulator/sampling/grid.h"
#include "simulator/sampling/method.h"
#include "simulator/sampling/plot_memo.h"
#include "simulator/sampling/sample_trees.h"
#include "simulator/sampling/tree_index.h"
#include "simulator/stand/tree_list.h"

namespace tolvek {

struct BoundaryPolygon;
struct GeometryContext;
struct LanguageTable;
struct SamplingState;
class CandidateSource;
class EnterprisePassRoute;
class PassObserver;

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
  bool repetition = false;     // inside a run of repetitions (tree-centred weights may apply)
  bool singleStepWait = true;  // the single-step wait at the end of the pass
};

enum class PassOutcome {
  NoMethod,    // "Bitte Verfahren festlegen": nothing was done
  Done,        // the plot list holds the pass
  NoPlots,     // "Keine Probebäume gefunden" answered with Yes or No: the list is empty
  EndProgram,  // "Keine Probebäume gefunden" answered with Cancel: the list is empty and the program is
               // to end once the user has confirmed it, as "Ende" asks
  Stopped,     // "Ende" while the pass ran: the list holds the plots so far
  GridFailed,  // no grid could be made
};

// The pass. Failures of its stages end the program through FatalErrorCode with the stage code:
// "1805" clearing the old list, "1851" loading a model stand, "1835" the centre and weights of an
// enterprise point, "Fehler1889" selection, "1763" recording a tree of methods 2 and 3.
PassOutcome RunSamplingPass(PassEnvironment& env);

// The random grid shift before a repetition: a new origin within one cell of the grid's base origin
// (two draws), a fresh grid that also assigns model stands, and the next pass. The 100 ms wait of "weiter"
// does not belong to it.
PassOutcome RandomGridShiftAndPass(PassEnvironment& env, RandomGenerator& random);

// Counters and per-point values of the pass; the plot plan and the evaluation read them.
struct PassResult {
  std::uint16_t plotCount = 0;      // plots of the pass (equals plots.size())
  std::uint16_t passPlotTotal = 0;  // plotCount copied at the end of the pass
  std::uint16_t treesOfCurrentPlot = 0;
  std::int32_t sampleTreeTotal = 0;  // every entry counts, the empty-plot entry included
  bool failed = false;               // an edge weight of the current point failed
  double plotWeight = 1.0;
  std::array<double, 6> concentricWeight{};  // 1..count
  double centreX = 0.0, centreY = 0.0;
  float planCentreX = 0.0f, planCentreY = 0.0f;  // the plot plan of the enterprise pass reads them
  int mapX = 0, mapY = 0;                        // enterprise: the grid point on the map, for the route placing it
  double distance = 0.0;                         // distance of the tree being recorded
  std::uint8_t layer = 0;                        // layer of the tree being recorded (n-tree understorey: 1)
  std::array<std::uint8_t, 10> speciesSeen{};    // 1..9, cleared per point
  // the strongest tree of an angle-count point (for the plot plan)
  double strongestDbh = 0.0, strongestWeight = 0.0, strongestRadius = 0.0;
  // n-tree plot radii and weights of the current point
  double nTreeR1 = 0.0, nTreeR2 = 0.0, nTreeW1 = 0.0, nTreeW2 = 0.0;
  std::int32_t lastLoadedModelStand = -1;
  std::int32_t currentModelStand = 0;  // the enterprise route's model stand of the current point
  bool passDone = false;
  bool completed = false;  // the last pass ran to its end (not stopped by "Ende")
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

// Everything the sampling engine keeps program-wide.
struct SamplingState {
  MethodSettings method;
  SampleGrid grid;
  PlotList plots;
  PassResult pass;
  SelectionScratch scratch;
  TreeIndex treeIndex;          // the candidate trees of a plot by position; follows the tree list by itself
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
  virtual void PlotCircle(double /*cx*/, double /*cy*/, double /*radius*/, Colour /*colour*/, bool /*dotted*/) {}
  // A sample tree in the current pen colour (MarkSampledSpecies with graphics on, stand mode).
  virtual void SampledTree(std::uint8_t /*species*/, double /*dbh*/, double /*x*/, double /*y*/, Colour /*pen*/) {}
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
  virtual void Candidates(TreeList& trees, double cx, double cy, double radius, std::vector<TreeRecord*>& out) = 0;
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

// The text "Probebäume:" + total after a pass.
std::string SampleTreeCountLabel(const LanguageTable& lang, std::int32_t total);

// Starts a plot for the current point (no-op while the failure flag is set).
void AppendPlot(SamplingState& s, const GridPoint* point, int gridIndex, double selectionArea, double a1, double a2);
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
      : s_(s), recording_(!s.pass.failed && !s.plots.plots.empty()), first_(s.plots.trees.Room(room)), next_(first_) {}

  void Add(const TreeRecord& tree, double distance, std::uint8_t layer, double edgeWeight, double plotArea) {
    // Every field given at once, so the record is written once where it lies.
    SampleTreeRecord r{distance,
                       edgeWeight,
                       plotArea,
                       static_cast<float>(tree.dbh),
                       static_cast<float>(tree.x),
                       static_cast<float>(tree.y),
                       layer,
                       tree.species,
                       tree.species2,
                       tree.weightDone};
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
