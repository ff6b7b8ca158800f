// Choosing an enterprise: the stored modes the choice window reads, its pictures, clicks and double
// clicks, the reset from the default, the start of the chosen enterprise, the assignment of model stands
// and the figures of the labels.
#include <gtest/gtest.h>

#include "common/paths.h"
#include "simulator/enterprise/enterprise_choice.h"
#include "simulator/enterprise/model_stand_assignment.h"
#include "tests/support/fakes.h"
#include "tests/support/fake_cells.h"
#include "tests/support/scripted_draws.h"

using namespace tolvek;
using tolvek::testing::FakeCells;
using tolvek::testing::ScriptedDraws;
using tolvek::testing::TempDir;

namespace {

std::string German(const std::string& s) { return s; }

}  // namespace

TEST(StoredModes, FirstLineOfEachFileOrNineWhenNotRead) {
  TempDir dir;
  dir.Write("Temp/Betrieb1.txt", "1\r\n   1   1   4   0\r\n");
  dir.Write("Temp/Betrieb3.txt", "x\r\n");
  dir.Write("Vorgaben/Betrieb2_Default.txt", "0\r\n");
  EnterpriseSession s;
  s.number = 2;
  PrepareEnterpriseChoice(s, dir.path());
  EXPECT_EQ(s.number, 0);
  EXPECT_TRUE(s.takeModeFromFile);
  EXPECT_EQ(s.storedMode[1], 1);
  EXPECT_EQ(s.storedMode[2], 0);  // made from its default on the way
  EXPECT_EQ(s.storedMode[3], 9);
  std::string copied;
  ASSERT_TRUE(ReadWholeFile(dir.File("Temp/Betrieb2.txt"), copied));
  EXPECT_EQ(copied, "0\r\n");

  // Pictures: the row of the stored mode shows the structure (picture n), the other the outlines.
  EXPECT_EQ(PreviewPicture(s, 1, false), 4);
  EXPECT_EQ(PreviewPicture(s, 4, false), 1);
  EXPECT_EQ(PreviewPicture(s, 2, true), 2);
  EXPECT_EQ(PreviewPicture(s, 5, true), 5);
  EXPECT_EQ(PreviewPicture(s, 3, true), 6);  // no stored mode: the mode in force
  EXPECT_EQ(PreviewPicture(s, 3, false), 3);

  // The mode shown is the one the structure file is read in, however its first line writes it.
  for (const std::string first : {"+1", "01", " 1\t", "1 \f"}) {
    dir.Write("Temp/Betrieb1.txt", first + "\r\n");
    EXPECT_EQ(ReadStoredMode(EnterpriseFilePath(dir.path(), 1)), 1) << first;
  }
  for (const std::string first : {"1 0", "2", "-1", "1.0", ""}) {
    dir.Write("Temp/Betrieb1.txt", first + "\r\n");
    EXPECT_EQ(ReadStoredMode(EnterpriseFilePath(dir.path(), 1)), 9) << first;
  }
}

TEST(Choice, ClicksDoubleClicksAndBack) {
  EnterpriseSession s;
  s.storedMode = {9, 0, 1, 9};
  EXPECT_TRUE(ChoiceClick(s, 1));
  EXPECT_EQ(s.number, 1);
  EXPECT_EQ(s.compartmentCount, 20);
  EXPECT_EQ(s.modeCaption, "   Akl");
  EXPECT_FALSE(ChoiceClick(s, 4));
  EXPECT_EQ(s.viewRow, 1);
  EXPECT_TRUE(ChoiceClick(s, 5));
  EXPECT_EQ(s.modeCaption, "   WET");
  // A double click on the lower row's third picture: enterprise 3, 80 compartments, development types.
  s.takeModeFromFile = true;
  EXPECT_TRUE(ChoiceDoubleClick(s, 6));
  EXPECT_EQ(s.number, 3);
  EXPECT_EQ(s.compartmentCount, 80);
  EXPECT_FALSE(s.takeModeFromFile);
  EXPECT_EQ(s.modeCaption, "   WET");
  EXPECT_FALSE(ChoiceDoubleClick(s, 2));
  EXPECT_EQ(s.modeCaption, "   Akl");
  ChoiceBack(s);
  EXPECT_EQ(s.number, 0);
}

TEST(Reset, CopiesTheDefaultOrLeavesTheFileAsItWas) {
  TempDir dir;
  dir.Write("Temp/Betrieb2.txt", "user's\r\n");
  const Outcome missing = ResetEnterpriseFile(dir.path(), 2);
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.problem().message, "Datei fehlt oder ist nicht lesbar");
  EXPECT_NE(missing.problem().where.find("Betrieb2_Default.txt"), std::string::npos);
  std::string kept;
  ASSERT_TRUE(ReadWholeFile(dir.File("Temp/Betrieb2.txt"), kept));
  EXPECT_EQ(kept, "user's\r\n");
  dir.Write("Vorgaben/Betrieb2_Default.txt", "0\r\n   1   1   1   0\r\n");
  ASSERT_TRUE(ResetEnterpriseFile(dir.path(), 2).ok());
  ASSERT_TRUE(ReadWholeFile(dir.File("Temp/Betrieb2.txt"), kept));
  EXPECT_EQ(kept, "0\r\n   1   1   1   0\r\n");
}

TEST(StartEnterprise, ReadsTheMapAndCutsEveryCompartment) {
  EnterpriseSession s;
  s.number = 3;
  MapReadProblem p;
  ASSERT_TRUE(StartEnterprise(s, JoinPath(tolvek::testing::SourceDataDir(), "Vorgaben/"), 0.8, 768, p))
      << p.reason;
  EXPECT_EQ(s.compartmentCount, 80);
  EXPECT_DOUBLE_EQ(s.mapAngle, 0.15915494307111402);
  EXPECT_DOUBLE_EQ(s.mapScale, 0.8 * 0.14181818181818182);
  EXPECT_TRUE(s.firstDrawing);
  EXPECT_EQ(s.At(7).kind, 8);
  ScriptedDraws d;
  SubdivideEnterprise(s, d);
  EXPECT_GT(s.standCount, 80 * 3);
  EXPECT_NEAR(s.totalArea, 2851.0, 28.51);

  // A map that cannot be read leaves the session as it was.
  EnterpriseSession other = s;
  other.number = 1;
  TempDir empty;
  EXPECT_FALSE(StartEnterprise(other, empty.path(), 1.0, 1024, p));
  EXPECT_EQ(other.compartmentCount, 80);
  EXPECT_EQ(p.file, "Vorgaben\\EckenAbt.txt");
}

TEST(ModelStands, PickedFromTheCellOfTheStandsTypeAndClass) {
  FakeCells cells;
  cells.cells[{1, 2}] = {4, 9};
  cells.entries[7] = {5, 3};
  ChosenTypes chosen;
  chosen.count = 2;
  chosen.codes = {0, 1, 0, 0, 0, 0};
  ScriptedDraws d;
  d.wholes = {1};
  EXPECT_EQ(PickModelStand(chosen, cells, 1, 2, d), 9);
  EXPECT_EQ(PickModelStand(chosen, cells, 1, 3, d), 0);  // nothing registered
  EXPECT_EQ(PickModelStand(chosen, cells, 2, 2, d), 0);  // no type at position 2
  EXPECT_EQ(PickModelStand(ChosenTypes{}, cells, 1, 2, d), 0);
  EXPECT_EQ(d.wholesDrawn, 1);  // only a filled cell draws

  EnterpriseSession s;
  s.compartmentCount = 2;
  s.compartments.assign(3, Compartment{});
  s.At(1).stands.assign(2, EnterpriseStand{1.0, 1, 2, 0, 0, {}});
  s.At(2).stands.assign(1, EnterpriseStand{1.0, 1, 4, 0, 0, {}});
  s.chosen = chosen;
  ScriptedDraws order;
  order.wholes = {0, 1};
  AssignModelStands(s, cells, 0, order);
  EXPECT_EQ(s.At(1).stands[0].modelStand, 4);
  EXPECT_EQ(s.At(1).stands[1].modelStand, 9);
  EXPECT_EQ(s.At(2).stands[0].modelStand, 0);
  // One model stand for the whole enterprise: its class and type, type position 1.
  AssignModelStands(s, cells, 7, order);
  for (int a = 1; a <= 2; ++a)
    for (const EnterpriseStand& st : s.At(a).stands) {
      EXPECT_EQ(st.modelStand, 7);
      EXPECT_EQ(st.cls, 3);
      EXPECT_EQ(st.typePosition, 1);
    }
  EXPECT_EQ(s.chosen.count, 1);
  EXPECT_EQ(s.chosen.codes[1], 5);
}

TEST(Labels, FiguresOfTheEnterprise) {
  EnterpriseSession s;
  s.captionPrefix = "Betrieb Nr.";
  s.number = 2;
  s.modeCaption = "   WET";
  s.standCount = 120;
  s.totalArea = 557.61;
  // Captions padded to 13 and 16 (one more character than the width), then the numbers' own fields.
  const EnterpriseLabelTexts t = MakeEnterpriseLabels(s, 2, German);
  EXPECT_EQ(t.bestand, "Betrieb Nr. 2   WET");
  EXPECT_EQ(t.flaeche, "Fläche:" + std::string(10, ' ') + "557.6 ha");
  EXPECT_EQ(t.baeume, "Bestände:" + std::string(10, ' ') + "120");
  EXPECT_EQ(t.groesse, "Mittl. Fläche:" + std::string(4, ' ') + "4.65 ha");
  s.standCount = 0;
  EXPECT_EQ(MakeEnterpriseLabels(s, 1, German).groesse, "Mittl. Fläche:" + std::string(7, ' ') + "- ha");
}
