#include "simulator/stand/stand_loader.h"

#include <gtest/gtest.h>

#include <chrono>

#include "common/paths.h"
#include "common/tree_file.h"
#include "simulator/stand/catalogue.h"
#include "simulator/stand/expected_vc.h"
#include "simulator/state.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

class FakeRegister : public StandRegisterCorners {
 public:
  std::vector<std::pair<std::string, std::uint8_t>> entries;  // item text, stand type
  bool CurrentCorners(std::array<double, 5>& x, std::array<double, 5>& y) const override {
    x = {0, 0, 100, 100, 0};
    y = {0, 50, 50, 0, 0};
    return true;
  }
  int EntryCount() const override { return static_cast<int>(entries.size()); }
  std::string EntryText(int i) const override { return entries[static_cast<std::size_t>(i - 1)].first; }
  std::uint8_t EntryStandType(int i) const override { return entries[static_cast<std::size_t>(i - 1)].second; }
  std::uint8_t EntryAgeClass(int) const override { return 3; }
};

class StandLoaderTest : public ::testing::Test {
 protected:
  StandLoaderTest() : state(fake.services) {
    state.folders = ProgramFoldersFromFolder(dir.path());
    state.random.SetSeed(7);
  }
  void WriteStand(const std::string& folder, const std::string& code, const std::vector<TreeFileRecord>& trees,
                  const std::string& boundary) {
    dir.Write(folder + "/w" + code + ".txt", EncodeTreeFile(trees));
    if (!boundary.empty()) dir.Write(folder + "/Grenze" + code.substr(6, 2) + ".txt", boundary);
  }
  std::string Path(const std::string& code) { return dir.path() + "Bestande/" + code + ".txt"; }

  testing::TempDir dir;
  testing::FakeServices fake;
  SimulatorState state;
  const std::string square = "0 0\n0 100\n100 100\n100 0\n0 0\n";
};

TEST_F(StandLoaderTest, LoadsTreesBoundaryAndAreaTogether) {
  WriteStand("Bestande", "Bestnd07", {{1, 20.0f, 10.0f, 10.0f}, {6, 30.0f, 50.0f, 50.0f}}, square);
  const Outcome r = LoadStand(state, Path("Bestnd07"));
  ASSERT_TRUE(r.ok()) << r.problem().message;
  const CurrentStand& s = state.currentStand;
  EXPECT_TRUE(s.loaded);
  EXPECT_EQ(s.TreeCount(), 2);
  EXPECT_EQ(s.files.code, "Bestnd07");
  EXPECT_EQ(s.boundary.n, 5);
  EXPECT_DOUBLE_EQ(s.areaHa, 1.0);
  EXPECT_EQ(s.speciesList, kConiferList);
  EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(StandLoaderTest, AFailedLoadKeepsThePreviousStandWhole) {
  WriteStand("Bestande", "Bestnd07", {{1, 20.0f, 10.0f, 10.0f}}, square);
  ASSERT_TRUE(LoadStand(state, Path("Bestnd07")).ok());
  state.currentStand.name = "Nadelbaum-Reinbestand";
  const std::uint32_t seed = state.random.Seed();

  struct Case {
    std::string code;
    std::string treeBytes;
    std::string boundary;
    std::string expect;
  };
  const std::string oneTree = EncodeTreeFile({{1, 20.0f, 10.0f, 10.0f}});
  std::string badSpecies = oneTree;
  badSpecies[0] = 12;
  const std::string nanTree = EncodeTreeFile({{1, 20.0f, 10.0f, std::numeric_limits<float>::quiet_NaN()}});
  std::string tooMany;
  for (int i = 0; i < 60; ++i) tooMany += std::to_string(i) + " " + std::to_string(i % 3) + "\n";
  const std::string removedTrees = EncodeTreeFile({{1, 20.0f, -1.0f, 10.0f}, {2, 30.0f, -10.0f, 5.0f}});
  const std::vector<Case> cases{
      {"Bestnd11", oneTree.substr(0, 10), square, "Baumdatei unvollständig"},
      {"Bestnd12", badSpecies, square, "ungültigen Baumartencode"},
      {"Bestnd13", nanTree, square, "ungültigen Zahlenwert"},
      {"Bestnd14", oneTree, tooMany + "0 0\n", "mehr als 59 Punkte"},
      {"Bestnd15", oneTree, "0 0\n0 100\n100 100\n100 0\n", "nicht geschlossen"},
      {"Bestnd16", oneTree, "0 0\n0 100\n0 0\n", "weniger als 3 Eckpunkte"},
      {"Bestnd17", oneTree, "0 0\n0 100\n0 50\n0 0\n", "Bestandesfläche ist 0"},
      {"Bestnd18", oneTree, "", "Grenzdatei nicht gefunden"},
      {"Bestnd20", "", square, "Baumdatei enthält keinen Baum"},
      {"Bestnd21", removedTrees, square, "Baumdatei enthält keinen Baum"},
  };
  for (const auto& c : cases) {
    dir.Write("Bestande/w" + c.code + ".txt", c.treeBytes);
    if (!c.boundary.empty()) dir.Write("Bestande/Grenze" + c.code.substr(6, 2) + ".txt", c.boundary);
    fake.messages.shown.clear();
    const Outcome r = LoadStand(state, Path(c.code));
    ASSERT_FALSE(r.ok()) << c.code;
    const std::string message = StandLoadMessage(state.language, r.problem(), Path(c.code));
    EXPECT_NE(message.find(c.expect), std::string::npos) << message;
    EXPECT_NE(message.find(c.code), std::string::npos) << message;  // names the file and the stand
    EXPECT_NE(message.find("Bestand nicht geladen"), std::string::npos) << message;
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, message);
    EXPECT_EQ(state.currentStand.files.code, "Bestnd07");
    EXPECT_EQ(state.currentStand.TreeCount(), 1);
    EXPECT_DOUBLE_EQ(state.currentStand.areaHa, 1.0);
    EXPECT_EQ(state.currentStand.name, "Nadelbaum-Reinbestand");
  }
  EXPECT_EQ(state.random.Seed(), seed);  // no histogram draws for a stand that was not taken
  // The shown text: the problem with its file, then the stand by its code, or by the path when it names none.
  fake.messages.shown.clear();
  EXPECT_FALSE(LoadStand(state, Path("Bestnd19")).ok());  // no tree file at all
  EXPECT_FALSE(LoadStand(state, dir.path() + "Bestande/Bogus.txt").ok());
  ASSERT_EQ(fake.messages.shown.size(), 2u);
  EXPECT_EQ(fake.messages.shown[0].text,
            "Baumdatei nicht gefunden: " + dir.path() + "Bestande/wBestnd19.txt#Bestand nicht geladen: Bestnd19");
  EXPECT_EQ(fake.messages.shown[1].text, "Unbekannter Bestandescode: " + dir.path() +
                                             "Bestande/Bogus.txt#Bestand nicht geladen: " + dir.path() +
                                             "Bestande/Bogus.txt");
}

TEST_F(StandLoaderTest, ARefusalIsShownInTheProgramsLanguage) {
  state.language.selector = 2;
  state.language.rows = {LanguageRow{{"", "", "", "Baumdatei nicht gefunden", "", "Tree file not found"}},
                         LanguageRow{{"", "", "", "Bestand nicht geladen", "", "Stand not loaded"}}};
  EXPECT_FALSE(LoadStand(state, Path("Bestnd19")).ok());
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].text,
            "Tree file not found: " + dir.path() + "Bestande/wBestnd19.txt#Stand not loaded: Bestnd19");
}

TEST_F(StandLoaderTest, BroadleafStandsUseTheSecondSpeciesList) {
  FakeRegister reg;
  reg.entries = {{"Bestnd05 > Fichte rein", 1}, {"Bestnd07 > Buche alt", 4}, {"Stand301 > Eiche", 5}};
  state.standRegister = &reg;
  WriteStand("Bestande", "Bestnd07", {{5, 20.0f, 10.0f, 10.0f}}, square);
  ASSERT_TRUE(LoadStand(state, Path("Bestnd07")).ok());
  EXPECT_EQ(state.currentStand.speciesList, kBroadleafList);
  EXPECT_EQ(FindStandClass(&reg, "Bestnd07.txt").ageClass, 3);
  EXPECT_EQ(FindStandClass(&reg, "Bestnd08.txt").standType, 0);
  EXPECT_EQ(ChooseSpeciesList(false, &reg, "Bestnd05.txt"), kConiferList);
  EXPECT_EQ(ChooseSpeciesList(false, nullptr, "Bestnd07.txt"), kConiferList);
  // In enterprise mode the first list is used whatever the type.
  EXPECT_EQ(ChooseSpeciesList(true, &reg, "Stand301.txt"), kConiferList);
}

TEST_F(StandLoaderTest, ModelStandsTakeTheirBoundaryFromTheRegister) {
  dir.Write("StandsGE/wStand301.txt", EncodeTreeFile({{1, 20.0f, 10.0f, 10.0f}}));
  EXPECT_FALSE(LoadStand(state, Path("Stand301")).ok());  // no register yet
  EXPECT_NE(fake.messages.shown.back().text.find("Bestandesregister"), std::string::npos);
  FakeRegister reg;
  state.standRegister = &reg;
  ASSERT_TRUE(LoadStand(state, Path("Stand301")).ok());
  EXPECT_DOUBLE_EQ(state.currentStand.areaHa, 0.5);
  EXPECT_TRUE(state.currentStand.generated);
  EXPECT_EQ(state.currentStand.files.folderKind, StandFolder::StandsGE);
}

TEST_F(StandLoaderTest, CalliperThresholdReadsTheStandAgain) {
  WriteStand("Bestande", "Bestnd07", {{1, 8.0f, 10.0f, 10.0f}, {1, 25.0f, 10.0f, 10.0f}}, square);
  ASSERT_TRUE(LoadStand(state, Path("Bestnd07")).ok());
  EXPECT_EQ(state.currentStand.TreeCount(), 2);
  ASSERT_TRUE(ApplyCalliperThreshold(state, 20.0).ok());
  EXPECT_EQ(state.calliper.lower, 20.0);
  EXPECT_EQ(state.currentStand.TreeCount(), 1);

  // A threshold above every tree leaves no stand to sample: refused, and the old limit and stand stay.
  fake.messages.shown.clear();
  EXPECT_FALSE(ApplyCalliperThreshold(state, 30.0).ok());
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_NE(fake.messages.shown[0].text.find("Kein Baum des Bestandes liegt innerhalb der Kluppschwelle: " +
                                             dir.path() + "Bestande/wBestnd07.txt, BHD 30.0 - 999.0 cm"),
            std::string::npos)
      << fake.messages.shown[0].text;
  EXPECT_EQ(state.calliper.lower, 20.0);
  EXPECT_EQ(state.currentStand.TreeCount(), 1);

  // When the stand can no longer be read, the old limit and stand stay.
  dir.Write("Bestande/wBestnd07.txt", "short");
  EXPECT_FALSE(ApplyCalliperThreshold(state, 0.0).ok());
  EXPECT_EQ(state.calliper.lower, 20.0);
  EXPECT_EQ(state.currentStand.TreeCount(), 1);
}

// The files that once made the readers misbehave: each ends in a clear message naming the file (or
// loads, where its data is sound), at once, and a refused one leaves the loaded stand as it was.
TEST_F(StandLoaderTest, BadFilesEndInAClearMessageAtOnce) {
  WriteStand("Bestande", "Bestnd07", {{1, 20.0f, 10.0f, 10.0f}}, square);
  ASSERT_TRUE(LoadStand(state, Path("Bestnd07")).ok());
  struct Case {
    std::string code;
    std::string treeFile;  // a file of tests/bad_files, or empty for one sound tree
    std::string boundaryFile;
    std::string expect;  // empty: the stand loads
  };
  const std::vector<Case> cases{
      {"Bestnd01", "wBestnd01_tree_x_1e9.txt", "", "Baum außerhalb von ±1000000 m: "},
      {"Bestnd02", "", "boundary_negative_area.txt", "Bestandesfläche ist 0: "},
      {"Bestnd03", "", "boundary_infinite_area.txt", "Eckpunkt außerhalb des zulässigen Bereichs: "},
      {"Bestnd04", "", "Grenze_gauss_krueger.txt", ""},
  };
  for (const Case& c : cases) {
    const std::string nn = c.code.substr(6, 2);
    dir.Write("Bestande/w" + c.code + ".txt",
              c.treeFile.empty() ? EncodeTreeFile({{1, 20.0f, 50.0f, 50.0f}}) : testing::BadFileBytes(c.treeFile));
    dir.Write("Bestande/Grenze" + nn + ".txt", c.boundaryFile.empty() ? square : testing::BadFileBytes(c.boundaryFile));
    const auto start = std::chrono::steady_clock::now();
    const Outcome r = TryLoadStand(state, Path(c.code));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500)) << c.code;
    if (c.expect.empty()) {
      ASSERT_TRUE(r.ok()) << r.problem().message;
      continue;
    }
    ASSERT_FALSE(r.ok()) << c.code;
    const std::string message = StandLoadMessage(state.language, r.problem(), Path(c.code));
    EXPECT_NE(message.find(c.expect), std::string::npos) << message;
    EXPECT_NE(message.find(c.code), std::string::npos) << message;
    EXPECT_EQ(state.currentStand.files.code, "Bestnd07");
  }
  const Outcome far = TryLoadStand(state, Path("Bestnd01"));
  ASSERT_FALSE(far.ok());
  EXPECT_NE(StandLoadMessage(state.language, far.problem(), Path("Bestnd01")).find("Bestande/wBestnd01.txt, Nr. 2"),
            std::string::npos);
  // The national grid square lies at its true minimum, a hectare, with its tree inside.
  const CurrentStand& s = state.currentStand;
  EXPECT_EQ(s.files.code, "Bestnd04");
  EXPECT_EQ(s.boundary.minX, 3500000.0);
  EXPECT_EQ(s.boundary.minY, 5400000.0);
  EXPECT_EQ(s.boundary.x[1], 0.0);
  EXPECT_EQ(s.boundary.y[1], 0.0);
  EXPECT_EQ(s.boundary.x[3], 100.0);
  EXPECT_DOUBLE_EQ(s.areaHa, 1.0);
}

TEST(CalliperThreshold, ListAndPreselection) {
  std::vector<std::string> texts = CalliperThresholdTexts();
  ASSERT_EQ(texts.size(), 15u);
  EXPECT_EQ(texts[0], " 0");
  EXPECT_EQ(texts[1], " 7");
  EXPECT_EQ(texts[14], "40");
  EXPECT_EQ(CalliperThresholdIndex(7.0), 1);
  EXPECT_EQ(CalliperThresholdIndex(12.05), 6);
  EXPECT_EQ(CalliperThresholdIndex(20.0), 10);
  EXPECT_EQ(CalliperThresholdIndex(20.05), 1);  // exact match needed from 20 on
  EXPECT_EQ(CalliperThresholdIndex(0.0), 0);
}

// Every stand the catalogue lists must load from the shipped program folder, with its trees inside its
// boundary's extents.
TEST(ShippedStands, EveryCatalogueStandLoads) {
  const std::string data = testing::SourceDataDir();
  testing::FakeServices fake;
  SimulatorState state(fake.services);
  state.folders = ProgramFoldersFromFolder(data);
  const std::string cataloguePath = JoinPath(state.folders.presets, "Tolvek01.txt");
  if (!FileExists(ResolvePath(cataloguePath))) GTEST_SKIP() << "no shipped catalogue yet";
  CatalogueReadResult c = ReadStandCatalogue(state.language, cataloguePath, CatalogueStyle::Thumbnails, state.standCatalogue);
  ASSERT_TRUE(c.outcome.ok()) << ProblemMessage(state.language, c.outcome.problem());
  EXPECT_FALSE(c.tooMany);
  int loaded = 0;
  for (const auto& e : state.standCatalogue.entries) {
    const Outcome r = TryLoadStand(state, JoinPath(state.folders.stands, e.fileName));
    if (!r.ok() && r.problem().message.find("Bestandesregister") != std::string::npos) continue;  // register stands
    EXPECT_TRUE(r.ok()) << e.fileName << ": " << ProblemMessage(state.language, r.problem());
    if (!r.ok()) continue;
    ++loaded;
    const CurrentStand& s = state.currentStand;
    EXPECT_GT(s.areaHa, 0.0) << e.fileName;
    const double w = s.boundary.maxX - s.boundary.minX, h = s.boundary.maxY - s.boundary.minY;
    for (const auto& t : s.trees) {
      EXPECT_LE(t.x, w + 0.5 + (s.files.numberText == "88" ? 30.0 : 0.0)) << e.fileName;
      EXPECT_LE(t.y, h + 0.5 + (s.files.numberText == "88" ? 20.0 : 0.0)) << e.fileName;
    }
  }
  EXPECT_EQ(loaded, state.standCatalogue.Count());
  const std::string vcPath = JoinPath(state.folders.presets, "Tolvek02.txt");
  if (FileExists(ResolvePath(vcPath))) {
    Outcome read;
    read = ReadExpectedVcTable(vcPath, state.expectedVc);
    EXPECT_TRUE(read.ok()) << ProblemMessage(state.language, read.problem());
  }
}

}  // namespace
}  // namespace tolvek
