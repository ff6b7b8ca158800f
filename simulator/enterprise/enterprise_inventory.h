#pragma once
// The inventory of a whole model enterprise: the grid's points inside the compartments with the model
// stand of the stand each lies in, the pass that places every plot at random inside its point's model
// stand, the true values by stratum, the evaluation with its report, and what the views read of it.
//
// Model stands are read once and kept, each with its tree index, while the registers, the calliper
// limits and the program folder stay the same: a pass lends the kept trees and index to the sampling
// engine for the points of a model stand (an exchange of storage, not a copy) and takes them back when
// the next model stand comes, so no point reads a tree file and no index is built twice. A route that
// reads every model stand afresh (as each change of model stand once did) gives the same results; the
// benchmark and the tests compare the two.
#include <array>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "simulator/enterprise/enterprise_evaluation.h"
#include "simulator/enterprise/enterprise_views.h"
#include "simulator/enterprise/stratum_values.h"
#include "simulator/sampling/grid.h"
#include "simulator/sampling/pass.h"
#include "simulator/sampling/repetitions.h"
#include "simulator/stand/current_stand.h"
#include "simulator/stand/stand_loader.h"

namespace tolvek {

struct SimulatorState;

// One model stand as read: its trees (with their sums), boundary and area, and the tree index the pass
// builds for it.
struct KeptModelStand {
  Outcome read;  // whether it could be read, and why not
  CurrentStand stand;
  TreeIndex index;
  bool indexBuilt = false;
  ModelStandFacts facts;
};

class ModelStandStore {
 public:
  // Reads a model stand by its entry number.
  using Reader = std::function<Outcome(int entry, CurrentStand& into)>;
  // Keeps what it holds while `key` stays the same; another key empties it.
  void Follow(const std::string& key);
  // The model stand of an entry, read when first asked for (null for entries below 1).
  KeptModelStand* Get(int entry, const Reader& read);
  // What an entry holds, without reading it.
  KeptModelStand* Kept(int entry);
  // Forgets the tree-centred weights of every kept tree (another method or circle).
  void ForgetTreeWeights();
  void Clear();
  int reads = 0;  // model stands read so far

 private:
  std::string key_;
  std::vector<std::unique_ptr<KeptModelStand>> kept_;  // index: entry number
};

// Reads the model stand of an entry for the enterprise: its boundary from its file or its register
// corners, its trees coded in the first species list. The spread of the stand's diameter histogram,
// which the enterprise never shows, draws from a generator of its own, so reading a model stand leaves
// the program's random numbers alone.
Outcome ReadModelStand(SimulatorState& state, int entry, CurrentStand& into);

// What the store's contents depend on.
std::string ModelStandStoreKey(const SimulatorState& state);

// Which compartment, and which stand of which compartment, a point of the enterprise map lies in. The
// polygons are sorted into square cells, so a point is tested against the few near it only.
class EnterpriseAreaIndex {
 public:
  // Made again whenever the compartments' or stands' corners differ from those it was made from.
  void Follow(const EnterpriseSession& session);
  bool InsideCompartment(double px, double py) const;
  // The model stand, type position and class of the stand at the point, as the grid stores them: the
  // last stand (in compartment and stand order) that holds the point; tried again up to five times
  // 0.1 m lower and to the left while none with a model stand does (a point on a shared edge).
  void AssignStand(const EnterpriseSession& session, double px, double py, GridPoint& point) const;

 private:
  struct Shape {
    std::vector<double> x, y;  // slots 1..n, slot 0 unused
    int n = 0;
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    // Within the box (edges included): only there can the polygon hold the point.
    bool Holds(double px, double py) const { return px >= minX && px <= maxX && py >= minY && py <= maxY; }
  };
  int CellOf(double px, double py) const;
  std::uint64_t made_ = 0;
  bool any_ = false;
  double originX_ = 0.0, originY_ = 0.0, cell_ = 100.0;
  int columns_ = 0, rows_ = 0;
  std::vector<Shape> compartments_;                  // index a - 1
  std::vector<std::vector<Shape>> stands_;           // [a - 1][j - 1]
  std::vector<std::int32_t> compartmentStart_, compartmentCells_;  // per cell: compartments (a)
  std::vector<std::int32_t> standStart_;
  std::vector<std::pair<std::int32_t, std::int32_t>> standCells_;  // per cell: (a, j)
};

// Everything of an enterprise inventory a program run keeps.
struct EnterpriseInventoryState {
  ModelStandStore store;
  EnterpriseAreaIndex areas;
  StratumValues truth;          // finished
  bool truthKnown = false;
  bool truthFromCache = false;
  EnterpriseEstimates estimates;
  EnterpriseHistograms histograms;
  EnterpriseReport report;
  bool evaluated = false;
  // The choice window's row and column (1..7), kept between evaluations.
  int chosenRow = 6, chosenColumn = 6;
  EnterpriseChartColours colours;
  // The plot plan goes on from point to point while this is set (it starts set with every pass outside
  // a run; "nein" clears it).
  bool planView = true;
  // Model stands are read afresh at every change of model stand instead of being kept (comparison).
  bool freshReads = false;
  // The stands without a model stand last reported (count and area), so each assignment is said once.
  std::string unassignedShown;
};

// Reads every model stand the structure uses into the store. The problem of the first one that cannot be
// read, with its entry number in `failedEntry` (for ModelStandLoadMessage): the pass is then not started.
Outcome PrepareModelStands(SimulatorState& state, int& failedEntry);

// The route of the pass and of the grid's inside test in enterprise mode.
class EnterpriseRoute final : public EnterprisePassRoute, public EnterpriseGridAreas {
 public:
  explicit EnterpriseRoute(SimulatorState& state) : s_(state) {}
  // Before a pass: whether it is one of a run (no hit counts, no statistics) and where the grid is saved.
  void Begin(bool repetition, std::string gridFile);
  bool Repetition() const { return repetition_; }

  void BeginMarking() override;
  bool InsideCompartment(double gx, double gy) override;
  void AssignModelStand(double gx, double gy, GridPoint& point) override;
  bool PreparePoint(int gridIndex, GridPoint& point, PassResult& pass) override;
  void PassEnded(PassResult& pass) override;
  bool IndexDescribesTrees() const override { return lent_ != 0; }

  // What the plot plan needs at a recorded plot besides the pass: the model stand's name.
  std::string CurrentStandName() const;
  // What could not be saved at the end of the pass (the grid, the model-stand statistics), for the window
  // to show; ok when everything was saved.
  Outcome ended;
  int freshReads = 0;  // model stands read afresh (the route that keeps none)

 private:
  bool Lend(int entry);
  void TakeBack();
  GeoPoint ToCompartments(double gx, double gy);
  double turnAngle_ = std::numeric_limits<double>::quiet_NaN(), turnCos_ = 1.0, turnSin_ = 0.0;
  SimulatorState& s_;
  bool repetition_ = false;
  std::string gridFile_;
  int lent_ = 0;  // the model stand whose trees and index the sampling engine holds
  std::string lentName_;
  std::string methodKey_;  // the circles the kept trees' tree-centred weights belong to
};

// The true values by stratum for the evaluation: read from "Temp\SP_Gitter.txt" when the grid was read
// from its file and the file's key matches the enterprise, else summed from the model stands (and then
// written to the file when the grid is to be saved). Problems with the file make the values be summed.
struct TruthOutcome {
  bool fromCache = false;
  Outcome cache;  // why the file was not used or not written; ok when nothing went wrong
  StratumSumReport report;
};
TruthOutcome ComputeStratumTrueValues(SimulatorState& state);

// The key of the cache for the enterprise and registers as they are now.
std::string CurrentTrueValueCacheKey(const SimulatorState& state);

// The names of the type positions 0..5 as the report and the views show them, and which carry a type.
std::array<std::string, kStrata> PositionNames(const SimulatorState& state);
std::array<bool, kStrata> PositionHasType(const SimulatorState& state);

// The evaluation of the last pass; a problem when it had to be abandoned.
Outcome EvaluateEnterprisePass(SimulatorState& state);

// The report's input from the state and the captions of the main window.
EnterpriseReportInput MakeReportInput(const SimulatorState& state, const std::array<std::string, 8>& captions,
                                      const std::string& date, const std::string& time);

// What the views read.
EnterpriseViewInput MakeViewInput(const SimulatorState& state);

// ---- passes and runs without windows (the benchmark, tests)
// One pass over the enterprise grid as "weiter" makes it: a grid where there is none, the points marked
// with their model stands, the pass over them.
// markPoints false: the grid was just made with its points marked (a run's random shift).
PassOutcome RunEnterprisePass(SimulatorState& state, EnterpriseRoute& route, PassObserver& observer, bool repetition,
                              bool markPoints = true);

// The run of repetitions on the enterprise: the core loop of the stand level with the enterprise's
// evaluation, true values and grid shift.
class EnterpriseRunSteps final : public RepetitionSteps {
 public:
  EnterpriseRunSteps(SimulatorState& state, EnterpriseRoute& route, PassObserver& observer)
      : s_(state), route_(route), observer_(observer) {}
  bool Evaluate(int repetition, RepetitionEstimate& estimate) override;
  void AfterFirstEvaluation() override {}
  RunTrueValues TrueValues() override;
  void ShowCounters(const RunStatistics&) override {}
  void ShowStatistics(const RunStatistics&) override {}
  void ShiftGridAndPass() override;
  Outcome stopped;  // why the run stopped early

 private:
  SimulatorState& s_;
  EnterpriseRoute& route_;
  PassObserver& observer_;
};

}  // namespace tolvek
