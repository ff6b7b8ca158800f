#include "simulator/enterprise/enterprise_inventory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>

#include "common/paths.h"
#include "simulator/enterprise/enterprise_choice.h"
#include "simulator/enterprise/model_stand_assignment.h"
#include "simulator/enterprise/model_stand_loading.h"
#include "simulator/state.h"
#include "tests/support/fakes.h"
#include "tests/support/dealt_structure.h"
#include "tests/support/pass_pair.h"

namespace tolvek {
namespace {

std::string Why(const Outcome& o) { return o.ok() ? std::string() : o.problem().message; }

using testing::TempDir;

// A program without windows on a copy of the shipped folder, in enterprise 1 with a structure dealt by
// rule: three types by compartment, the classes by stand, model stands drawn for every stand.
struct Enterprise {
  explicit Enterprise(std::uint32_t seed = 17, MethodCode method = kMethodFixedCircle) : state(fake.services) {
    testing::CopyShippedData(dir);
    state.folders = ProgramFoldersFromFolder(dir.path());
    state.random.SetSeed(seed);
    ReloadModelStands(state);
    EnterpriseSession& e = state.enterprise;
    ChoiceDoubleClick(e, 1);
    MapReadProblem problem;
    EXPECT_TRUE(StartEnterprise(e, state.folders.presets, 1.0, 1024, problem));
    GeneratorDraws draws(state.random);
    SubdivideEnterprise(e, draws);
    testing::DealStructureByRule(e);
    AssignModelStands(e, state.modelStands, 0, draws);
    state.run.enterpriseMode = true;
    MethodSettings& m = state.sampling.method;
    m.code = method;
    m.circleArea = 500.0;
    m.countingFactor = 2;
    PresetGridCommand(state.sampling.grid, true);
  }
  PassOutcome Pass(bool repetition = false) { return RunEnterprisePass(state, route, observer, repetition); }

  TempDir dir;
  testing::FakeServices fake;
  SimulatorState state;
  EnterpriseRoute route{state};
  PassObserver observer;
};

TEST(EnterpriseInventoryTest, KeptModelStandsGiveTheRunOfModelStandsReadAfresh) {
  for (const MethodCode method : {kMethodFixedCircle, kMethodAngleCount}) {
    Enterprise kept(5, method), fresh(5, method);
    fresh.state.inventory.freshReads = true;
    int failed = 0;
    const Outcome prepared = PrepareModelStands(kept.state, failed);
    ASSERT_TRUE(prepared.ok()) << ModelStandLoadMessage(kept.state, failed, prepared.problem());
    ASSERT_EQ(kept.Pass(), PassOutcome::Done);
    ASSERT_EQ(fresh.Pass(), PassOutcome::Done);
    // After every pass, a run's too, the current stand is the last model stand visited, whole.
    auto expectSameCurrentStand = [&](const std::string& when) {
      const CurrentStand &a = kept.state.currentStand, &b = fresh.state.currentStand;
      EXPECT_FALSE(a.trees.empty()) << when;
      EXPECT_EQ(a.trees.size(), b.trees.size()) << when;
      EXPECT_EQ(a.boundary.n, b.boundary.n) << when;
      EXPECT_EQ(a.boundary.x, b.boundary.x) << when;
      EXPECT_EQ(a.areaHa, b.areaHa) << when;
      EXPECT_EQ(a.name, b.name) << when;
    };
    expectSameCurrentStand("first pass");
    EnterpriseRunSteps keptRun(kept.state, kept.route, kept.observer), freshRun(fresh.state, fresh.route, fresh.observer);
    for (int r = 0; r < 6; ++r) {
      testing::ExpectSamePlots(kept.state.sampling.plots, fresh.state.sampling.plots, "pass " + std::to_string(r));
      RepetitionEstimate a, b;
      ASSERT_TRUE(keptRun.Evaluate(r + 1, a)) << Why(keptRun.stopped);
      ASSERT_TRUE(freshRun.Evaluate(r + 1, b)) << Why(freshRun.stopped);
      EXPECT_EQ(a.basalArea, b.basalArea);
      EXPECT_EQ(a.stemNumber, b.stemNumber);
      EXPECT_EQ(a.plots, b.plots);
      EXPECT_GT(a.plots, 100);
      ++kept.state.evaluation.run.count;
      ++fresh.state.evaluation.run.count;
      keptRun.ShiftGridAndPass();
      freshRun.ShiftGridAndPass();
      ASSERT_TRUE(keptRun.stopped.ok()) << Why(keptRun.stopped);
      expectSameCurrentStand("pass " + std::to_string(r + 1));
    }
    // Each model stand read once, against once per change of model stand.
    std::set<int> used;
    const EnterpriseSession& e = kept.state.enterprise;
    for (int a = 1; a <= e.compartmentCount; ++a)
      for (const EnterpriseStand& st : e.At(a).stands) used.insert(st.modelStand);
    EXPECT_EQ(kept.state.inventory.store.reads, static_cast<int>(used.size()));
    EXPECT_GT(fresh.route.freshReads, 20 * static_cast<int>(used.size()));
  }
}

TEST(EnterpriseInventoryTest, PlotsLieInsideTheirModelStandsInTheirPointsStrata) {
  Enterprise f;
  int failed = 0;
  ASSERT_TRUE(PrepareModelStands(f.state, failed).ok());
  ASSERT_EQ(f.Pass(), PassOutcome::Done);
  const SampleGrid& grid = f.state.sampling.grid;
  int inside = 0, withModel = 0;
  for (int i = 1; i <= grid.pointCount; ++i) {
    const GridPoint& p = grid.Point(i);
    if (p.inside == 0) continue;
    ++inside;
    if (p.standNumber < 1) continue;
    ++withModel;
    const KeptModelStand* k = f.state.inventory.store.Kept(p.standNumber);
    ASSERT_NE(k, nullptr);
    EXPECT_TRUE(PointInPolygon(PolygonRef(k->stand.boundary), p.centreX, p.centreY));
    EXPECT_EQ(p.centreX, std::floor(p.centreX));
    EXPECT_GE(p.standType, 1);
    EXPECT_LE(p.ageClass, 5);
  }
  // Enterprise 1 has about 564 ha: a point every 2 ha.
  EXPECT_NEAR(inside, 282, 20);
  EXPECT_EQ(withModel, inside);
  EXPECT_EQ(static_cast<int>(f.state.sampling.plots.plots.size()), f.state.sampling.pass.plotCount);
  for (const PlotRecord& p : f.state.sampling.plots.plots) {
    EXPECT_EQ(p.standType, grid.Point(p.gridIndex).standType);
    EXPECT_EQ(p.ageClass, grid.Point(p.gridIndex).ageClass);
  }
  // The statistics of the model stands' hits, outside a run.
  EXPECT_TRUE(FileExists(StatisticsFilePath(f.state.folders)));
}

TEST(EnterpriseInventoryTest, TrueValuesFromTheCacheOnlyWhileItsKeyHolds) {
  Enterprise f;
  int failed = 0;
  ASSERT_TRUE(PrepareModelStands(f.state, failed).ok());
  SampleGrid& grid = f.state.sampling.grid;
  grid.saveRequest = true;
  const TruthOutcome first = ComputeStratumTrueValues(f.state);
  EXPECT_FALSE(first.fromCache);
  EXPECT_FALSE(grid.saveRequest);
  ASSERT_TRUE(FileExists(TrueValueCachePath(f.state.folders.program)));
  const StratumValues computed = f.state.inventory.truth;
  // The area of all strata is that of the stands with a model stand: here every stand.
  EXPECT_NEAR(computed.At(0, 0, 0).area, f.state.enterprise.totalArea, 1e-6);
  EXPECT_GT(computed.At(0, 0, 0).g, 10.0);
  EXPECT_EQ(first.report.standsWithoutModel, 0);

  grid.loadedFromFile = true;
  grid.saveRequest = true;
  const TruthOutcome cached = ComputeStratumTrueValues(f.state);
  EXPECT_TRUE(cached.fromCache);
  EXPECT_FALSE(grid.saveRequest);  // read, not written again
  for (int t = 0; t < kStrata; ++t)
    for (int k = 0; k < kStrata; ++k)
      for (int s = 0; s < kStratumSpecies; ++s) {
        // The file keeps the sums to two decimals: stems per ha times area give them back.
        const StratumTruth &read = f.state.inventory.truth.At(t, k, s), &made = computed.At(t, k, s);
        EXPECT_NEAR(read.area, made.area, 0.005);
        EXPECT_NEAR(read.n * read.area, made.n * made.area, 0.006);
        EXPECT_EQ(f.state.inventory.truth.At(t, k, s).classes, computed.At(t, k, s).classes);
      }

  // Another structure: the cache is not used and the values follow the structure.
  EnterpriseStand& st = f.state.enterprise.At(2).stands[0];
  st.cls = st.cls % 5 + 1;
  const TruthOutcome changed = ComputeStratumTrueValues(f.state);
  EXPECT_FALSE(changed.fromCache);
  EXPECT_FALSE(changed.cache.ok());
  // A stand without a model stand: its area leaves the strata and is reported.
  st.modelStand = 0;
  const TruthOutcome unassigned = ComputeStratumTrueValues(f.state);
  EXPECT_EQ(unassigned.report.standsWithoutModel, 1);
  EXPECT_NEAR(f.state.inventory.truth.At(0, 0, 0).area, f.state.enterprise.totalArea - st.area, 1e-6);
}

TEST(EnterpriseInventoryTest, AModelStandThatCannotBeReadStopsThePassBeforeItStarts) {
  Enterprise f;
  const int m = f.state.enterprise.At(1).stands[0].modelStand;
  const std::string code = f.state.modelStands.table.Entry(m)->code;
  std::filesystem::remove(f.dir.File("StandsEU/w" + code + ".txt"));
  int failed = 0;
  const Outcome prepared = PrepareModelStands(f.state, failed);
  ASSERT_FALSE(prepared.ok());
  EXPECT_EQ(failed, m);
  const std::string message = ModelStandLoadMessage(f.state, failed, prepared.problem());
  EXPECT_EQ(message.rfind("Baumdatei nicht gefunden: ", 0), 0u) << message;
  const std::string tail = "StandsEU/w" + code + ".txt#Bestand nicht geladen: " + code;
  EXPECT_EQ(message.substr(message.size() - std::min(message.size(), tail.size())), tail) << message;
  EXPECT_EQ(f.fake.exit.quits, 0);

  // Loaded as the current stand, neither it nor an entry outside the table replaces the stand in force.
  int other = 1;
  while (other == m) ++other;
  ASSERT_TRUE(LoadModelStand(f.state, other).ok());
  const std::string otherCode = f.state.currentStand.files.code;
  const std::size_t otherTrees = f.state.currentStand.trees.size();
  const Outcome unread = LoadModelStand(f.state, m);
  ASSERT_FALSE(unread.ok());
  EXPECT_EQ(ModelStandLoadMessage(f.state, m, unread.problem()), message);
  const int outside = f.state.modelStands.table.Count() + 1;
  const Outcome unlisted = LoadModelStand(f.state, outside);
  ASSERT_FALSE(unlisted.ok());
  EXPECT_EQ(ModelStandLoadMessage(f.state, outside, unlisted.problem()),
            "Modellbestand nicht in der Liste: " + std::to_string(outside));
  EXPECT_EQ(f.state.currentStand.files.code, otherCode);
  EXPECT_EQ(f.state.currentStand.trees.size(), otherTrees);
  EXPECT_EQ(f.state.modelStands.cornerEntry, other);
}

TEST(EnterpriseInventoryTest, PointsOnASharedEdgeTakeTheLastStandAndGapsAreNudged) {
  EnterpriseSession s;
  s.compartmentCount = 1;
  s.outlines.resize(2);
  s.outlines[1] = {{0, 0}, {0, 100}, {200, 100}, {200, 0}, {0, 0}};
  s.compartments.resize(2);
  EnterpriseStand left, right;
  left.corners = {{0, 0}, {0, 100}, {100, 100}, {100, 0}, {0, 0}};
  left.modelStand = 3;
  left.cls = 2;
  right.corners = {{100, 0}, {100, 100}, {200, 100}, {200, 0}, {100, 0}};
  right.modelStand = 0;
  right.typePosition = 2;
  s.compartments[1].stands = {left, right};
  EnterpriseAreaIndex index;
  index.Follow(s);
  EXPECT_TRUE(index.InsideCompartment(150, 50));
  EXPECT_FALSE(index.InsideCompartment(250, 50));
  GridPoint p;
  index.AssignStand(s, 50, 50, p);
  EXPECT_EQ(p.standNumber, 3);
  EXPECT_EQ(p.ageClass, 2);
  // In the right stand (no model stand): nudged 0.1 m left and down five times, still there.
  GridPoint q;
  index.AssignStand(s, 150, 50, q);
  EXPECT_EQ(q.standNumber, 0);
  EXPECT_EQ(q.standType, 2);
  // Just right of the shared edge: a nudge takes it into the left stand.
  GridPoint r;
  index.AssignStand(s, 100.05, 50, r);
  EXPECT_EQ(r.standNumber, 3);
  // The index follows a re-cut.
  s.compartments[1].stands[1].modelStand = 7;
  s.compartments[1].stands[1].corners[0].x = 100.0 + 1e-9;
  index.Follow(s);
  GridPoint t;
  index.AssignStand(s, 150, 50, t);
  EXPECT_EQ(t.standNumber, 7);
}

}  // namespace
}  // namespace tolvek
