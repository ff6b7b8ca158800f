// The shipped model stands: make_model_stands reproduces them byte for byte, both classifications find two
// stands in every cell of type and class, every stand loads through the simulator's loader, and the
// stands fit their classes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "common/paths.h"
#include "simulator/enterprise/model_stand_loading.h"
#include "simulator/state.h"
#include "tests/support/fakes.h"
#include "tools/makemodelstands/model_stands.h"

namespace fs = std::filesystem;
using namespace tolvek;

namespace {

std::string DataDir() {
  const char* d = std::getenv("TOLVEK_DATA_DIR");
  return std::string(d ? d : "data") + "/";
}

class ModelStandData : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    out_ =
        new std::string((fs::temp_directory_path() / ("makemodelstands_" + std::to_string(::getpid()))).string() + "/");
    fs::remove_all(*out_);
    written_ = new std::vector<std::string>();
    std::string error;
    ok_ = makemodelstands::MakeModelStands(*out_, *written_, error);
    ASSERT_TRUE(ok_) << error;
  }
  static void TearDownTestSuite() {
    fs::remove_all(*out_);
    delete out_;
    delete written_;
  }
  void SetUp() override { ASSERT_TRUE(ok_); }

  static std::string* out_;
  static std::vector<std::string>* written_;
  static bool ok_;
};
std::string* ModelStandData::out_ = nullptr;
std::vector<std::string>* ModelStandData::written_ = nullptr;
bool ModelStandData::ok_ = false;

TEST_F(ModelStandData, TheToolReproducesTheShippedFilesByteForByte) {
  ASSERT_EQ(written_->size(), 90u);
  for (const std::string& name : *written_) {
    std::string made, shipped;
    ASSERT_TRUE(ReadWholeFile(*out_ + name, made)) << name;
    ASSERT_TRUE(ReadWholeFile(DataDir() + name, shipped)) << name << " is not shipped";
    EXPECT_TRUE(made == shipped) << name << " differs from what the tool makes: run make_model_stands data";
  }
  // Nothing is shipped in the model-stand folders that the tool does not make.
  const std::set<std::string> made(written_->begin(), written_->end());
  for (const char* folder : {"StandsEU", "StandsGE"})
    for (const auto& e : fs::directory_iterator(DataDir() + folder)) {
      const std::string name = std::string(folder) + "/" + e.path().filename().string();
      if (e.path().filename() != ".keep") {
        EXPECT_TRUE(made.count(name)) << name << " is not made by the tool";
      }
    }
}

TEST_F(ModelStandData, EveryCellOfBothClassificationsHoldsTwoStands) {
  const ProgramFolders folders = ProgramFoldersFromFolder(*out_);
  std::vector<std::string> codes[2];
  for (ClassificationMode mode : {ClassificationMode::StandTypes, ClassificationMode::DevelopmentTypes}) {
    std::vector<Problem> problems;
    // The real register alone covers every cell; with the generated stands every entry counts once.
    ModelStandTable real = LoadModelStandTable(folders, true, false, mode, problems);
    ModelStandTable both = LoadModelStandTable(folders, true, true, mode, problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(real.Count(), 80);
    EXPECT_EQ(both.Count(), 88);
    for (int t = 1; t <= kTypeCount; ++t)
      for (int k = 1; k <= kClassCount; ++k) EXPECT_GE(real.counts[t][k], 2) << "type " << t << " class " << k;
    for (const ModelStandEntry& e : both.entries) codes[static_cast<int>(mode)].push_back(e.code);
  }
  // Entry numbers mean the same stands in both modes: every line carries both classes.
  EXPECT_EQ(codes[0], codes[1]);
}

TEST_F(ModelStandData, EveryStandLoadsAndFitsItsClass) {
  tolvek::testing::FakeServices fake;
  SimulatorState state(fake.services);
  state.folders = ProgramFoldersFromFolder(*out_);
  ReloadModelStands(state);
  ASSERT_TRUE(fake.messages.shown.empty());
  // Leading species of the types A–H (first species list).
  const int leading[9] = {0, 1, 2, 3, 5, 6, 0, 0, 4};
  std::map<int, std::vector<double>> meanDbhByClass;
  for (int e = 1; e <= state.modelStands.table.Count(); ++e) {
    const Outcome r = LoadModelStand(state, e);
    ASSERT_TRUE(r.ok()) << r.problem().message;
    const CurrentStand& cs = state.currentStand;
    const RegisterClass c = state.modelStands.table.Entry(e)->cls;
    EXPECT_DOUBLE_EQ(cs.areaHa, 1.0) << e;
    ASSERT_GT(cs.TreeCount(), 150) << e;
    for (const TreeRecord& t : cs.trees) ASSERT_TRUE(t.x > 0 && t.x <= 100 && t.y > 0 && t.y <= 100) << e;
    // The type's leading species has the most stems (mixed and valuable broadleaf types have none).
    if (leading[c.type]) {
      int most = 1;
      for (int s = 1; s <= 9; ++s)
        if (cs.sums.count[s] > cs.sums.count[most]) most = s;
      EXPECT_EQ(most, leading[c.type]) << e;
    }
    meanDbhByClass[c.klass].push_back(cs.sums.dbhSum[0] / cs.sums.count[0]);
  }
  // Even-aged classes grow thicker from class to class; no stand of a class overlaps the next one.
  for (int k = 1; k <= 3; ++k)
    EXPECT_LT(*std::max_element(meanDbhByClass[k].begin(), meanDbhByClass[k].end()),
              *std::min_element(meanDbhByClass[k + 1].begin(), meanDbhByClass[k + 1].end()))
        << "class " << k;
}

}  // namespace
