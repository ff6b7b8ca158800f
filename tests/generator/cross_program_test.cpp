// A stand the generator makes and saves is read back by the simulator's own loaders with the same trees:
// on the enterprise level through the model-stand register, on the stand level through its slot.
#include <gtest/gtest.h>

#include "common/generated_stand_store.h"
#include "common/paths.h"
#include "generator/generation.h"
#include "generator/saving.h"
#include "simulator/enterprise/model_stand_loading.h"
#include "simulator/state.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

using generator::GenerationLevel;

// The trees the simulator holds, as the records of a tree file.
std::vector<TreeFileRecord> Loaded(const CurrentStand& cs) {
  std::vector<TreeFileRecord> out;
  for (const TreeRecord& t : cs.trees)
    out.push_back({t.species, static_cast<float>(t.dbh), static_cast<float>(t.x), static_cast<float>(t.y)});
  return out;
}

// The records the simulator keeps of a tree file: x > 0 and a dbh within the calliper limits.
std::vector<TreeFileRecord> Kept(const std::vector<TreeFileRecord>& records, const CalliperLimits& limits) {
  std::vector<TreeFileRecord> out;
  for (const TreeFileRecord& r : records)
    if (r.x > 0.0f && r.dbh >= limits.lower && r.dbh <= limits.upper) out.push_back(r);
  return out;
}

bool Same(const std::vector<TreeFileRecord>& a, const std::vector<TreeFileRecord>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].species != b[i].species || a[i].dbh != b[i].dbh || a[i].x != b[i].x || a[i].y != b[i].y) return false;
  return true;
}

class CrossProgram : public ::testing::Test {
 protected:
  CrossProgram() : state(fake.services) {
    testing::CopyShippedData(dir);
    state.folders = ProgramFoldersFromFolder(dir.path());
  }
  generator::GeneratedStand Generate(GenerationLevel level) {
    int pass = 1;
    return *generator::GenerateStand(generator::DefaultParameters(), level, pass, random).stand;
  }
  testing::TempDir dir;
  testing::FakeServices fake;
  SimulatorState state;
  RandomGenerator random{0};
};

TEST_F(CrossProgram, AnEnterpriseStandLoadsAsAModelStand) {
  const generator::GeneratedStand stand = Generate(GenerationLevel::kEnterprise);
  GeneratedStandIdentity id;
  id.number = 777;
  id.shortName = "Quer";
  id.standType = 'F';
  id.ageDigit = '4';
  ASSERT_TRUE(SaveEnterpriseStand(dir.path(), id, generator::ForSaving(stand)).ok());

  ReloadModelStands(state);
  int entry = 0;
  for (int i = 1; i <= state.modelStands.table.Count(); ++i)
    if (state.modelStands.table.Entry(i)->code == "Stand777") entry = i;
  ASSERT_GT(entry, 0);
  EXPECT_EQ(state.modelStands.table.Entry(entry)->cls, (RegisterClass{6, 3}));
  const Outcome r = LoadModelStand(state, entry);
  ASSERT_TRUE(r.ok()) << r.problem().message;
  EXPECT_TRUE(Same(Loaded(state.currentStand), Kept(stand.TreeFileRecords(), state.calliper)));
  EXPECT_DOUBLE_EQ(state.currentStand.areaHa, 1.0);
}

TEST_F(CrossProgram, AStandLevelStandLoadsFromItsSlot) {
  const generator::GeneratedStand stand = Generate(GenerationLevel::kStand);
  ASSERT_TRUE(SaveStandLevel(dir.path(), 98, generator::ForSaving(stand),
                             GeneratedDescriptionLines(stand.width, stand.height, [](const std::string& s) { return s; }))
                  .ok());
  const Outcome r = TryLoadStand(state, JoinPath(state.folders.stands, "Bestnd98.txt"));
  ASSERT_TRUE(r.ok()) << r.problem().message;
  EXPECT_TRUE(Same(Loaded(state.currentStand), Kept(stand.TreeFileRecords(), state.calliper)));
  EXPECT_DOUBLE_EQ(state.currentStand.areaHa, 9.0);
}

}  // namespace
}  // namespace tolvek
