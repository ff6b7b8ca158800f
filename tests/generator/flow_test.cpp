// A whole session scripted through the window interface, without a screen.
#include "generator/flow.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "tests/support/fakes.h"

namespace tolvek::generator {
namespace {

// Plays the user: each window answers from its script.
class ScriptedUi : public GeneratorUi {
 public:
  std::optional<GenerationLevel> level = GenerationLevel::kStand;
  // Per showing of the parameter dialog: an edit of the parameters, then true for "Bestand zeichnen".
  std::deque<std::function<bool(GeneratorState&)>> dialog;
  std::deque<ResultChoice> results;
  bool saveOnResult = false;
  std::vector<std::string> log;
  std::vector<std::vector<std::string>> memos;
  int saveOffered = 0;

  void ApplyLanguage(const LanguageTable& t) override { log.push_back("language " + std::to_string(t.selector)); }
  std::optional<GenerationLevel> AskLevel() override {
    log.push_back("level");
    return level;
  }
  bool EditParameters(GeneratorState& s) override {
    log.push_back("parameters " + std::to_string(s.passCounter));
    if (dialog.empty()) return false;
    auto step = dialog.front();
    dialog.pop_front();
    return step(s);
  }
  ResultChoice ShowResult(GeneratorState& s, const std::vector<std::string>& memo,
                          const std::function<bool()>& save) override {
    log.push_back("result " + std::to_string(s.stand->pass));
    memos.push_back(memo);
    if (save) ++saveOffered;
    if (saveOnResult && save && save()) return ResultChoice::kNext;
    ResultChoice c = results.empty() ? ResultChoice::kBackToTolvek : results.front();
    if (!results.empty()) results.pop_front();
    return c;
  }
};

bool Draw(GeneratorState&) { return true; }

struct Session {
  Session() : state(fs.services) {
    testing::CopyShippedData(dir);
    state.folders = ProgramFoldersFromFolder(dir.path());
  }
  void Run() {
    GeneratorFlow flow(state, ui);
    flow.Run();
  }
  testing::TempDir dir;
  testing::FakeServices fs;
  GeneratorState state;
  ScriptedUi ui;
};

TEST(Session, LevelParametersResultAndBackToTolvek) {
  Session s;
  s.dir.Write("EinStell.Txt", "Sprache: 2\r\nWET ja\r\n");
  s.ui.dialog = {Draw, Draw};
  s.ui.results = {ResultChoice::kNext, ResultChoice::kBackToTolvek};
  s.Run();
  EXPECT_EQ(s.state.settings.language, 2);
  EXPECT_FALSE(s.state.settings.forestDevelopmentTypes);  // only German offers them
  EXPECT_EQ(s.ui.log, (std::vector<std::string>{"language 2", "level", "parameters 1", "result 1", "parameters 2",
                                                "result 2"}));
  EXPECT_EQ(s.state.width, 300.0);
  EXPECT_EQ(s.fs.exit.quits, 1);
  EXPECT_TRUE(s.fs.messages.shown.empty());
  // The shipped parameters in English.
  EXPECT_EQ(s.ui.memos[0][1], " Species S  DBH  N/ha G/ha");
  EXPECT_EQ(s.ui.memos[0][3].substr(0, 7), " Spruce");
}

TEST(Session, TheFirstStandAfterEveryStartIsTheSame) {
  Session a, b;
  for (Session* s : {&a, &b}) {
    s->ui.dialog = {Draw};
    s->Run();
  }
  ASSERT_TRUE(a.state.stand && b.state.stand);
  EXPECT_EQ(EncodeTreeFile(a.state.stand->TreeFileRecords()), EncodeTreeFile(b.state.stand->TreeFileRecords()));
  EXPECT_EQ(a.state.random.Seed(), b.state.random.Seed());
}

TEST(Session, ARefusedDrawingCountsNoPassAndDrawsNoNumber) {
  Session s;
  s.ui.dialog = {[](GeneratorState& st) {
                   for (auto& r : st.parameters.rows) r.stems = 0;
                   return true;
                 },
                 [](GeneratorState& st) {
                   st.parameters.rows[0].stems = 100;
                   return true;
                 }};
  s.Run();
  EXPECT_TRUE(s.fs.messages.Saw("Stammzahl / ha insgesamt muss zwischen 1 und 9999 liegen"));
  EXPECT_EQ(s.ui.log, (std::vector<std::string>{"language 1", "level", "parameters 1", "parameters 1", "result 1"}));
}

TEST(Session, AStandLevelFileOnTheEnterpriseLevelPassesTheFieldRules) {
  Session s;
  s.ui.level = GenerationLevel::kEnterprise;
  s.dir.Write("Temp/Vorlint.txt", "1 30 20 0 400 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 5 150 150 0 2 150 80 40 0");
  int gap = -1, diameter = -1;
  s.ui.dialog = {[&](GeneratorState& st) {
    gap = st.parameters.nine[kGapEastWest];
    diameter = st.parameters.nine[kGroupDiameter];
    return true;
  }};
  s.Run();
  EXPECT_EQ(gap, 50);
  EXPECT_EQ(diameter, 50);
  ASSERT_TRUE(s.state.stand);
  EXPECT_EQ(s.state.stand->width, 100.0);
  EXPECT_GT(s.state.stand->trees.size(), 400u);
}

TEST(Session, MissingFilesGiveMessagesAndDefaults) {
  Session s;
  std::filesystem::remove(s.dir.File("Temp/Vorlint.txt"));
  std::filesystem::remove(s.dir.File("SpracheEN.txt"));
  s.ui.dialog = {Draw};
  s.Run();
  EXPECT_TRUE(s.fs.messages.Saw("Fremdsprache kann nicht gelesen werden"));   // no settings file
  EXPECT_TRUE(s.fs.messages.Saw("SpracheEN.txt: Datei kann nicht gelesen werden"));
  EXPECT_TRUE(s.fs.messages.Saw("Vorgabendatei nicht gefunden"));
  EXPECT_EQ(s.state.language.selector, 0);
  ASSERT_TRUE(s.state.stand);
  EXPECT_EQ(s.state.stand->parameters.rows[0].code, DefaultParameters().rows[0].code);
}

TEST(Session, LevelDialogClosedEndsTheRun) {
  Session s;
  s.ui.level = std::nullopt;
  s.Run();
  EXPECT_EQ(s.ui.log, (std::vector<std::string>{"language 1", "level"}));
  EXPECT_EQ(s.fs.exit.quits, 1);
}

class CountingSaver : public StandSaver {
 public:
  std::vector<std::size_t> saved;
  bool Save(const GeneratedStand& stand) override {
    saved.push_back(stand.TreeFileRecords().size());
    return true;
  }
};

TEST(Session, AnInstalledSaveStepIsOfferedAndASavedStandStartsTheNextPass) {
  Session s;
  CountingSaver saver;
  s.ui.dialog = {Draw, Draw};
  s.ui.saveOnResult = true;
  s.Run();
  EXPECT_EQ(s.ui.saveOffered, 0);  // without a save step "speichern" has nothing to call
  Session t;
  t.state.saver = &saver;
  t.ui.dialog = {Draw, Draw};
  t.ui.saveOnResult = true;
  t.Run();
  EXPECT_EQ(t.ui.saveOffered, 2);
  ASSERT_EQ(saver.saved.size(), 2u);
  EXPECT_GT(saver.saved[0], 0u);
}

}  // namespace
}  // namespace tolvek::generator
