#include "simulator/enterprise/model_stands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/generated_stand_store.h"
#include "common/format.h"
#include "common/paths.h"
#include "common/tree_file.h"
#include "simulator/enterprise/model_stand_loading.h"
#include "simulator/state.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

using testing::TempDir;

// A register line from its parts: file name, short name, the five code columns 30-34, the corners.
std::string Line(const std::string& file, const std::string& name, const std::string& codes,
                 const std::string& corners = {}) {
  return file + " " + RegisterShortName(name) + codes + corners;
}
// Corners as the EU folder reads them (pair 1 = width, height) and as the generator writes them.
std::string EuCorners(double w, double h) {
  return FormatFixed(7, 2, w) + FormatFixed(7, 2, h) + "   0.00" + FormatFixed(7, 2, h) + FormatFixed(7, 2, w) +
         FormatFixed(7, 2, h) + FormatFixed(7, 2, w) + "   0.00";
}
std::string GeCorners(double w, double h) {
  return "   00.0   0.00   0.00" + FormatFixed(7, 2, h) + FormatFixed(7, 2, w) + FormatFixed(7, 2, h) +
         FormatFixed(7, 2, w) + "   0.00";
}

// Real register: two stands of the EU folder and two catalogue stands (Bestnd09 without an age class),
// and a line too short to carry a class.
const std::string kReal = Line("Stand201.txt", "Fi-Ta AK2 JPF", "MaA12", EuCorners(120, 100)) + "\r\n" +
                          Line("Stand202.txt", "Bu AK6 DW", "MdD56", EuCorners(150, 120)) + "\r\n" +
                          Line("Bestnd09.txt", "Fi/Ta/Bu", "MfF3 ") + "\r\n" +
                          Line("Bestnd20.txt", "Buche", "MdD35") + "\r\n" + "kurz\r\n";
// Generated register: an empty line, and Stand302 without a development type.
const std::string kGenerated = Line("Stand301.txt", "Fichte Test", "MaA12", GeCorners(120, 100)) + "\r\n\r\n" +
                               Line("Stand302.txt", "Kiefer", "M C 4", GeCorners(90, 80)) + "\r\n";

class ModelStandsTest : public ::testing::Test {
 protected:
  ModelStandsTest() : state(fake.services) {
    state.folders = ProgramFoldersFromFolder(dir.path());
    dir.Write("Vorgaben/Tolvek03.txt", kReal);
    dir.Write("Vorgaben/TolvekGE.txt", kGenerated);
  }
  ModelStandTable Load(bool real, bool generated, ClassificationMode mode) {
    problems.clear();
    return LoadModelStandTable(state.folders, real, generated, mode, problems);
  }
  TempDir dir;
  testing::FakeServices fake;
  SimulatorState state;
  std::vector<Problem> problems;
};

TEST_F(ModelStandsTest, TheTableListsRealThenGeneratedStandsByTheMode) {
  ModelStandTable t = Load(true, true, ClassificationMode::StandTypes);
  // Bestnd09 has no age class, "kurz" no class at all.
  ASSERT_EQ(t.Count(), 5);
  EXPECT_EQ(t.Entry(1)->itemText, "Stand201 > Fi-Ta AK2 JPF");
  EXPECT_EQ(t.Entry(3)->code, "Bestnd20");
  EXPECT_EQ(t.Entry(4)->itemText, "Stand301 > Fichte Test  ");
  EXPECT_TRUE(t.Entry(5)->generatedRegister);
  EXPECT_FALSE(t.Entry(3)->generatedRegister);
  EXPECT_EQ(t.Entry(2)->cls, (RegisterClass{4, 5}));
  EXPECT_EQ(t.counts[1][1], 2);
  EXPECT_EQ(t.counts[1][0], 2);
  EXPECT_EQ(t.counts[4][0], 2);
  EXPECT_EQ(t.cells[1][1].entries, (std::vector<int>{1, 4}));
  EXPECT_EQ(t.cells[3][3].entries, std::vector<int>{5});
  EXPECT_EQ(t.highestClass[1], 1);
  EXPECT_EQ(t.highestClass[4], 5);
  // Corners are read for lines beginning with "S", also in the real register.
  ASSERT_TRUE(t.Entry(1)->hasCorners);
  EXPECT_EQ(t.Entry(1)->corners.x[0], 120.0);
  EXPECT_FALSE(t.Entry(3)->hasCorners);
  EXPECT_EQ(t.Entry(4)->corners.x, (std::array<double, 5>{0, 0, 120, 120, 0}));
  EXPECT_EQ(t.Entry(4)->corners.y, (std::array<double, 5>{0, 100, 100, 0, 0}));
  ASSERT_EQ(problems.size(), 1u);  // the short line
  EXPECT_EQ(problems[0].where, dir.File("Vorgaben/Tolvek03.txt") + ", Nr. 5");

  // By development types: Bestnd09 counts, Stand302 (no development type) does not.
  t = Load(true, true, ClassificationMode::DevelopmentTypes);
  ASSERT_EQ(t.Count(), 5);
  EXPECT_EQ(t.Entry(3)->code, "Bestnd09");
  EXPECT_EQ(t.Entry(4)->cls, (RegisterClass{4, 3}));
  EXPECT_EQ(t.cells[6][3].entries, std::vector<int>{3});

  EXPECT_EQ(Load(false, true, ClassificationMode::StandTypes).Count(), 2);
  t = Load(false, false, ClassificationMode::StandTypes);
  EXPECT_EQ(t.Count(), 0);
  EXPECT_EQ(t.counts[1][0], 0);
  EXPECT_TRUE(t.loaded);
}

TEST_F(ModelStandsTest, DamagedRegistersAreReportedAndContributeWhatIsSound) {
  std::string badCorner = Line("Stand301.txt", "Fichte Test", "MaA12", GeCorners(120, 100));
  badCorner[60] = 'x';
  dir.Write("Vorgaben/TolvekGE.txt", badCorner + "\r\n" + Line("Stand303.txt", "kurz", "MaA12", "   00.0") + "\r\n" +
                                         Line("Stand304.txt", "Gut", "MaA12", GeCorners(120, 100)) + "\r\r\n" +
                                         Line("Stand201.txt", "doppelt", "MaA12", EuCorners(100, 100)) + "\r\n");
  ModelStandTable t = Load(true, true, ClassificationMode::StandTypes);
  ASSERT_EQ(t.Count(), 5);
  EXPECT_EQ(t.Entry(4)->code, "Stand304");  // a line end written twice breaks no corner
  EXPECT_EQ(t.Entry(4)->corners.x[2], 120.0);
  ASSERT_EQ(problems.size(), 4u);
  EXPECT_EQ(problems[1].message, "Zeile des Modellbestandsregisters zu kurz, übersprungen");
  EXPECT_EQ(problems[1].where, dir.File("Vorgaben/TolvekGE.txt") + ", Nr. 2");
  EXPECT_EQ(problems[2].message, "Eckpunkt im Modellbestandsregister ist keine Zahl, Zeile übersprungen");
  EXPECT_EQ(problems[2].where, dir.File("Vorgaben/TolvekGE.txt") + ", Nr. 1");
  EXPECT_EQ(problems[3].where, "Stand201");

  // A missing register is reported and the other one still counts.
  std::filesystem::remove(dir.File("Vorgaben/Tolvek03.txt"));
  t = Load(true, true, ClassificationMode::StandTypes);
  EXPECT_EQ(t.Count(), 2);
  EXPECT_EQ(problems[0].message, "Modellbestandsregister nicht gefunden");
}

TEST_F(ModelStandsTest, EntriesOutsideTheTableAreRefusedAndHitsCountPerCell) {
  ModelStandTable t = Load(true, true, ClassificationMode::StandTypes);
  EXPECT_EQ(ModelStandTreePath(state.folders, t, 4), dir.File("Bestande/Stand301.txt"));
  EXPECT_FALSE(ModelStandTreePath(state.folders, t, 0));
  EXPECT_FALSE(ModelStandTreePath(state.folders, t, 6));
  for (int i = 0; i < 70000; ++i) CountModelStandHit(t, 2);  // beyond 16 bits
  CountModelStandHit(t, 9);
  EXPECT_EQ(t.cells[4][5].hits, std::vector<std::int32_t>{70000});

  // The cells as the assignment of model stands draws from them.
  ModelStandState m;
  m.table = t;
  EXPECT_EQ(m.CellCount(1, 1), 2);
  EXPECT_EQ(m.CellEntry(1, 1, 2), 4);
  EXPECT_EQ(m.CellEntry(1, 1, 3), 0);
  EXPECT_EQ(m.CellCount(9, 1), 0);
  EXPECT_EQ(m.EntryType(2), 4);
  EXPECT_EQ(m.EntryClass(2), 5);
}

TEST_F(ModelStandsTest, TheOverviewCountsTypesByClass) {
  ModelStandTable t = Load(true, true, ClassificationMode::StandTypes);
  const std::string text = ModelStandOverview(t, ClassificationMode::StandTypes, state.language, "Alle");
  const std::string line = "\r  " + std::string(90, '-');
  EXPECT_EQ(text.substr(0, 41), "\t\t\tAnzahl der Modell - Bestände\r\t\t\tAlle\r");
  EXPECT_NE(text.find(line + "\r    Altersklasse    \t  1./2.\t    3.\t    4.\t    5.\t    6.\t    Alle" + line),
            std::string::npos);
  // Names are cut to 20 characters, then take at least one blank, up to 19 characters.
  EXPECT_NE(text.find("\r    (A) Fichte - Ta, sLb \t     2\t     0\t     0\t     0\t     0\t     2"), std::string::npos);
  EXPECT_NE(text.find("\r    (G) Buntlaubbäume  \t"), std::string::npos);  // padded to 19
  EXPECT_NE(text.find(line + "\r   Summe:\t\t     2\t     0\t     1\t     1\t     1\t     5" + line), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - line.size()), line);

  const std::string wet = ModelStandOverview(t, ClassificationMode::DevelopmentTypes, state.language, "x");
  EXPECT_NE(wet.find("    Behandlungstyp  \t   JPF\t   DF\t  VPF\t   VN\t  DW\t  Alle"), std::string::npos);
  EXPECT_EQ(TypeChoiceCaption(t, TypeNames(ClassificationMode::StandTypes, state.language), 1),
            "(A) Fichte - Ta, sLb  ( 2)");
}

TEST_F(ModelStandsTest, TheHitStatisticsFile) {
  ModelStandTable t = Load(true, true, ClassificationMode::StandTypes);
  CountModelStandHit(t, 1);
  CountModelStandHit(t, 1);
  ModelStandStatisticsInputs in;
  in.typePosition[1] = 1;  // only type A chosen
  in.spacingX = 200.0;
  in.spacingY = 100.0;
  AddStatisticsArea(in, 1, 2, 30.0);
  AddStatisticsArea(in, 0, 2, 99.0);  // a stand without type position is not counted anywhere
  bool written = false;
  std::vector<std::string> lines = ModelStandStatisticsLines(t, in, &written);
  EXPECT_TRUE(written);
  ASSERT_EQ(lines.size(), 17u);
  EXPECT_EQ(lines[0], "Bt  Ak E(N)   Modellbestand-Nr.");
  EXPECT_EQ(lines[3], "A   1    0   #201 #301");
  EXPECT_EQ(lines[4], "         2      2    0");
  EXPECT_EQ(lines[5], "");
  EXPECT_EQ(lines[6], "A   2   15  ");
  EXPECT_EQ(lines[7], "");
  EXPECT_EQ(lines[12], "A   5    0  ");
  EXPECT_EQ(lines.back(), "S(N) - Summe der Bestandes-Häufigkeit");
  ASSERT_TRUE(WriteModelStandStatistics(state.folders, lines).ok());
  std::vector<std::string> read;
  ASSERT_TRUE(ReadTextLines(StatisticsFilePath(state.folders), read));
  EXPECT_EQ(read, lines);

  lines = ModelStandStatisticsLines(t, ModelStandStatisticsInputs{}, &written);
  EXPECT_FALSE(written);
  EXPECT_EQ(lines, (std::vector<std::string>{"", " Sorry, Tabelle nur bei Veränderung der Betriebsstruktur"}));
}

TEST_F(ModelStandsTest, TheClassMatrixRewritesOnlyItsColumns) {
  const std::string reg = dir.File("Vorgaben/TolvekGE.txt");
  EXPECT_EQ(ClassRegisterFor(state.folders, "Stand301 > Fichte"), reg);
  EXPECT_EQ(ClassRegisterFor(state.folders, "Stand201 > Fi"), dir.File("Vorgaben/Tolvek03.txt"));
  EXPECT_EQ(ClassRegisterFor(state.folders, "Bestnd09 > Fi"), dir.File("Vorgaben/Tolvek03.txt"));

  MatrixCell cell;
  ASSERT_EQ(ReadStandClass(reg, "Stand302", ClassificationMode::DevelopmentTypes, cell), ClassReadResult::Found);
  EXPECT_EQ(cell.row, 9);  // blank development type
  EXPECT_EQ(cell.column, 6);
  ASSERT_EQ(ReadStandClass(reg, "Stand302", ClassificationMode::StandTypes, cell), ClassReadResult::Found);
  EXPECT_EQ(cell.row, 3);
  EXPECT_EQ(cell.column, 3);

  ClassWriteOutcome o = WriteStandClass(reg, "Stand301", ClassificationMode::DevelopmentTypes, {3, 2});
  ASSERT_TRUE(o.ok());
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(reg, bytes));
  std::string expected = kGenerated;
  expected[30] = 'c';  // columns 31 and 33
  expected[32] = '2';
  EXPECT_EQ(bytes, expected);

  // No matching line: the register stays byte for byte, and the user learns why.
  o = WriteStandClass(reg, "Stand399", ClassificationMode::StandTypes, {1, 1});
  EXPECT_FALSE(o.ok());
  ASSERT_TRUE(ReadWholeFile(reg, bytes));
  EXPECT_EQ(bytes, expected);
  EXPECT_NE(ClassWriteMessage(o, reg, "Stand399", state.language).find("Klasse nicht geändert"), std::string::npos);
}

// A register of damaged lines (a name that is neither UTF-8 nor a whole Windows-1252 text, a control
// character in a code, a line too short): every stand it lists takes every class in both
// classifications (the first, a middle and the last type), reads it back and leaves the other lines as
// they were.
TEST_F(ModelStandsTest, EveryClassWrittenReadsBackFromADamagedRegister) {
  const std::string reg = dir.File("Vorgaben/TolvekGE.txt");
  dir.Write("Vorgaben/TolvekGE.txt", testing::BadFileBytes("register_class_turns_line_utf8.txt"));
  RegisterFile original;
  ASSERT_EQ(ReadRegisterFile(reg, original), RegisterFileProblem::None);
  int written = 0;
  for (const RegisterFileLine& line : original.lines) {
    const std::string code = RegisterCode(line.Text());
    for (ClassificationMode mode : {ClassificationMode::StandTypes, ClassificationMode::DevelopmentTypes})
      for (int row : {1, 7, kTypeCount})
        for (int column = 1; column <= kClassCount; ++column) {
          SCOPED_TRACE(code + " " + std::to_string(row) + "/" + std::to_string(column));
          RegisterFile before;
          ASSERT_EQ(ReadRegisterFile(reg, before), RegisterFileProblem::None);
          if (!WriteStandClass(reg, code, mode, {row, column}).ok()) continue;
          ++written;
          MatrixCell back;
          ASSERT_EQ(ReadStandClass(reg, code, mode, back), ClassReadResult::Found);
          EXPECT_EQ(back.row, row);
          EXPECT_EQ(back.column, column);
          RegisterFile after;
          ASSERT_EQ(ReadRegisterFile(reg, after), RegisterFileProblem::None);
          ASSERT_EQ(after.lines.size(), before.lines.size());
          const std::size_t changed = RegisterLinesOf(before, code).front();
          for (std::size_t i = 0; i < before.lines.size(); ++i) {
            if (i != changed) { EXPECT_EQ(after.lines[i].raw, before.lines[i].raw); }
          }
          EXPECT_EQ(Utf8Length(after.lines[changed].Text()), Utf8Length(before.lines[changed].Text()));
        }
  }
  EXPECT_GT(written, 4 * 2 * 3 * kClassCount);  // the register's long lines all took their classes
}

TEST_F(ModelStandsTest, AStandSavedForTheEnterpriseLoadsWithTheSameTrees) {
  StandToSave s;
  s.width = 100.0;
  s.height = 80.0;
  s.trees = {{1, 32.5, 10.25, 20.5}, {5, 18.0, 99.5, 79.75}, {3, 40.0, -1.0, 50.0}, {8, 7.5, 55.0, 1.0}};
  GeneratedStandIdentity id;
  id.number = 310;
  id.shortName = "Probe";
  id.standType = 'D';
  id.ageDigit = '5';
  ASSERT_TRUE(SaveEnterpriseStand(dir.path(), id, s).ok());

  ReloadModelStands(state);
  EXPECT_FALSE(fake.messages.Saw("TolvekGE"));  // the saved line reads back whole
  ASSERT_EQ(state.modelStands.table.Count(), 6);
  EXPECT_EQ(state.modelStands.table.Entry(6)->itemText, "Stand310 > Probe        ");
  const Outcome r = LoadModelStand(state, 6);
  ASSERT_TRUE(r.ok()) << r.problem().message;
  const CurrentStand& cs = state.currentStand;
  EXPECT_EQ(cs.files.folderKind, StandFolder::StandsGE);
  EXPECT_TRUE(cs.generated);
  EXPECT_EQ(cs.speciesList, kConiferList);  // type D, yet a model stand keeps the first list
  EXPECT_DOUBLE_EQ(cs.areaHa, 0.8);
  EXPECT_EQ(cs.boundary.n, 5);
  EXPECT_EQ(cs.boundary.x[3], 100.0);
  EXPECT_EQ(cs.boundary.y[2], 80.0);
  ASSERT_EQ(cs.TreeCount(), 3);
  std::vector<TreeFileRecord> expected = StandingTreeRecords(s);
  int i = 0;
  for (const TreeRecord& tree : cs.trees) {
    EXPECT_EQ(tree.species, expected[static_cast<std::size_t>(i)].species);
    EXPECT_EQ(tree.dbh, expected[static_cast<std::size_t>(i)].dbh);
    EXPECT_EQ(tree.x, expected[static_cast<std::size_t>(i)].x);
    EXPECT_EQ(tree.y, expected[static_cast<std::size_t>(i)].y);
    ++i;
  }

  // An entry beyond the table loads nothing and keeps the stand.
  EXPECT_FALSE(LoadModelStand(state, 7).ok());
  EXPECT_EQ(state.currentStand.files.code, "Stand310");
}

TEST_F(ModelStandsTest, ProblemsAreShownOncePerSet) {
  std::filesystem::remove(dir.File("Vorgaben/Tolvek03.txt"));
  ReloadModelStands(state);
  ReloadModelStands(state);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_NE(fake.messages.shown[0].text.find("Modellbestandsregister nicht gefunden"), std::string::npos);
  EXPECT_EQ(state.standRegister, &state.modelStands);
}

}  // namespace
}  // namespace tolvek
