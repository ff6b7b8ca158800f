#include "common/generated_stand_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "common/paths.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string Same(const std::string& s) { return s; }

std::string Bytes(const std::string& path) {
  std::string b;
  EXPECT_TRUE(ReadWholeFile(path, b)) << path;
  return b;
}

// Makes the next atomic write of path fail, as a read-only folder would: its temporary name is taken.
void BlockWrite(const std::string& path) { fs::create_directories(path + ".tmp" + std::to_string(::getpid())); }

StandToSave SmallStand() {
  StandToSave s;
  s.width = 100.0;
  s.height = 100.0;
  s.trees = {{1, 30.0, 10.0, 20.0},  {5, 25.0, -1.0, 30.0}, {3, 12.0, -10.0, -10.0}, {2, -1.0, 5.0, 5.0},
             {9, 8.0, 100.0, 100.0}, {4, 40.0, 0.0, 50.0},  {6, 20.0, 50.0, 100.5}};
  return s;
}

GeneratedStandIdentity Identity(int number, const std::string& name) {
  GeneratedStandIdentity id;
  id.number = number;
  id.shortName = name;
  id.standType = 'A';
  id.ageDigit = '3';
  return id;
}

TEST(GeneratedStand, OnlyStandingTreesAreWrittenInListOrder) {
  std::vector<TreeFileRecord> r = StandingTreeRecords(SmallStand());
  // Felled (x = -1), gap (-10), negative dbh, x = 0 and y beyond the stand go; x = W and y = H stay.
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].species, 1);
  EXPECT_EQ(r[1].species, 9);
  EXPECT_FLOAT_EQ(r[1].x, 100.0f);
}

TEST(GeneratedStand, AStandLevelSlotGetsTreeBoundaryAndDescription) {
  TempDir dir;
  fs::create_directories(dir.File("Bestande"));
  StandToSave s = SmallStand();
  s.width = s.height = 300.0;
  StoreOutcome o = SaveStandLevel(dir.path(), 95, s, GeneratedDescriptionLines(300.0, 300.0, Same));
  ASSERT_EQ(o.status, StoreStatus::Saved);
  EXPECT_EQ(StoreMessage(o, Same), "Bestnd95.txt:  Bestand in <Bestande> gespeichert.");
  EXPECT_EQ(Bytes(dir.File("Bestande/Grenze95.txt")),
            "       0.0       0.0\r\n       0.0     300.0\r\n     300.0     300.0\r\n     300.0       0.0\r\n"
            "       0.0       0.0\r\n");
  EXPECT_EQ(Bytes(dir.File("Bestande/Beschr95.txt")), "Künstlich erzeugter Bestand\r\n\r\nFläche:      9.00 ha\r\n");
  std::vector<TreeFileRecord> trees;
  ASSERT_TRUE(ReadTreeFile(dir.File("Bestande/wBestnd95.txt"), trees).ok());
  EXPECT_EQ(trees.size(), StandingTreeRecords(s).size());

  // Without the stand folder nothing is written; the program goes on with a message.
  TempDir empty;
  o = SaveStandLevel(empty.path(), 97, s, {});
  EXPECT_EQ(o.status, StoreStatus::SlotMissing);
  EXPECT_FALSE(fs::exists(empty.File("Bestande")));
}

TEST(GeneratedStand, AFailedSlotWritePutsBackWhatWasThere) {
  TempDir dir;
  dir.Write("Bestande/wBestnd96.txt", "old trees");
  dir.Write("Bestande/Grenze96.txt", "old boundary");
  BlockWrite(dir.File("Bestande/Beschr96.txt"));
  StoreOutcome o = SaveStandLevel(dir.path(), 96, SmallStand(), {"t"});
  EXPECT_EQ(o.status, StoreStatus::WriteFailed);
  EXPECT_EQ(o.path, dir.File("Bestande/Beschr96.txt"));
  EXPECT_EQ(StoreMessage(o, Same).find("gespeichert."), std::string::npos);
  EXPECT_EQ(Bytes(dir.File("Bestande/wBestnd96.txt")), "old trees");
  EXPECT_EQ(Bytes(dir.File("Bestande/Grenze96.txt")), "old boundary");
}

TEST(GeneratedStand, SavingTwiceLeavesOneLineAndOtherLinesUntouched) {
  TempDir dir;
  const std::string before = "Stand301.txt Fichte         M A2    00.0   0.00   0.00 100.00 100.00 100.00 100.00   0.00\r\n"
                             "\r\n"
                             "Stand302.txt K\xF6hler\n";
  dir.Write("Vorgaben/TolvekGE.txt", before);
  StandToSave s = SmallStand();
  ASSERT_TRUE(SaveEnterpriseStand(dir.path(), Identity(305, "Erst"), s).ok());
  StoreOutcome o = SaveEnterpriseStand(dir.path(), Identity(305, "Zweit"), s);
  ASSERT_TRUE(o.ok());
  EXPECT_EQ(StoreMessage(o, Same), "Stand305.txt:  Bestand in <StandsGE> gespeichert.");
  EXPECT_EQ(Bytes(dir.File("Vorgaben/TolvekGE.txt")),
            "Stand301.txt Fichte         M A2    00.0   0.00   0.00 100.00 100.00 100.00 100.00   0.00\r\n"
            "Stand302.txt K\xF6hler\n"
            "Stand305.txt Zweit           M A 3   00.0   0.00   0.00 100.00 100.00 100.00 100.00   0.00\r\n");
  // The folder of generated stands is made when it is missing.
  std::vector<TreeFileRecord> trees;
  ASSERT_TRUE(ReadTreeFile(dir.File("StandsGE/wStand305.txt"), trees).ok());
  EXPECT_EQ(trees.size(), 2u);

  // A register not there yet is started.
  TempDir fresh;
  fs::create_directories(fresh.File("Vorgaben"));
  ASSERT_TRUE(SaveEnterpriseStand(fresh.path(), Identity(400, "Neu"), s).ok());
  EXPECT_EQ(Bytes(fresh.File("Vorgaben/TolvekGE.txt")).substr(0, 29), "Stand400.txt Neu             ");
}

TEST(GeneratedStand, AFailedSaveLeavesRegisterAndTreeFileAsTheyWere) {
  TempDir dir;
  const std::string reg = "Stand305.txt Alt             M A 3   00.0   0.00   0.00 100.00 100.00 100.00 100.00   0.00\r\n";
  dir.Write("Vorgaben/TolvekGE.txt", reg);
  dir.Write("StandsGE/wStand305.txt", "old trees");

  // The register cannot be replaced: the tree file that was written goes back.
  BlockWrite(dir.File("Vorgaben/TolvekGE.txt"));
  StoreOutcome o = SaveEnterpriseStand(dir.path(), Identity(305, "Neu"), SmallStand());
  EXPECT_EQ(o.status, StoreStatus::WriteFailed);
  EXPECT_EQ(Bytes(dir.File("StandsGE/wStand305.txt")), "old trees");
  EXPECT_EQ(Bytes(dir.File("Vorgaben/TolvekGE.txt")), reg);
  o = SaveEnterpriseStand(dir.path(), Identity(306, "Neu"), SmallStand());
  EXPECT_FALSE(fs::exists(dir.File("StandsGE/wStand306.txt")));

  // The tree file cannot be written: the register is not touched.
  TempDir dir2;
  dir2.Write("Vorgaben/TolvekGE.txt", reg);
  BlockWrite(dir2.File("StandsGE/wStand307.txt"));
  o = SaveEnterpriseStand(dir2.path(), Identity(307, "Neu"), SmallStand());
  EXPECT_EQ(o.status, StoreStatus::WriteFailed);
  EXPECT_EQ(Bytes(dir2.File("Vorgaben/TolvekGE.txt")), reg);
  const std::string message = StoreMessage(o, Same);
  EXPECT_NE(message.find("Bestand nicht gespeichert"), std::string::npos);
  EXPECT_EQ(message.find("gespeichert."), std::string::npos);

  // A number outside 301..999 writes nothing.
  EXPECT_EQ(SaveEnterpriseStand(dir2.path(), Identity(300, "x"), SmallStand()).status, StoreStatus::BadNumber);
}

TEST(GeneratedStand, DeletingRemovesTheLineAndTheStandsFiles) {
  TempDir dir;
  dir.Write("Vorgaben/TolvekGE.txt",
            "Stand305.txt A\r\nStand306.txt B\r\nStand305.txt A again\r\n");
  dir.Write("StandsGE/wStand305.txt", "trees");
  dir.Write("StandsGE/Stand305.txt", "plain");
  StoreOutcome o = DeleteEnterpriseStand(dir.path(), 305);
  ASSERT_EQ(o.status, StoreStatus::Deleted);
  EXPECT_FALSE(o.fileMissing);
  EXPECT_EQ(StoreMessage(o, Same), "Stand305.txt:  Bestand in <StandsGE> gelöscht.");
  EXPECT_EQ(Bytes(dir.File("Vorgaben/TolvekGE.txt")), "Stand306.txt B\r\n");
  EXPECT_FALSE(fs::exists(dir.File("StandsGE/wStand305.txt")));
  EXPECT_FALSE(fs::exists(dir.File("StandsGE/Stand305.txt")));

  // A stand whose files are gone still loses its line, and says so.
  o = DeleteEnterpriseStand(dir.path(), 306);
  EXPECT_TRUE(o.fileMissing);
  EXPECT_EQ(Bytes(dir.File("Vorgaben/TolvekGE.txt")), "");

  // A register that cannot be rewritten keeps the line and the files.
  dir.Write("Vorgaben/TolvekGE.txt", "Stand307.txt C\r\n");
  dir.Write("StandsGE/wStand307.txt", "trees");
  BlockWrite(dir.File("Vorgaben/TolvekGE.txt"));
  o = DeleteEnterpriseStand(dir.path(), 307);
  EXPECT_EQ(o.status, StoreStatus::WriteFailed);
  EXPECT_NE(StoreMessage(o, Same).find("Bestand nicht gelöscht"), std::string::npos);
  EXPECT_TRUE(fs::exists(dir.File("StandsGE/wStand307.txt")));
}

TEST(GeneratedStand, TheIdentityWindowsRules) {
  int n = 0;
  EXPECT_EQ(CheckStandNumber("abc x", 301, 999), StandNumberCheck::NotANumber);
  EXPECT_EQ(CheckStandNumber("300 Test", 301, 999), StandNumberCheck::OutOfRange);
  EXPECT_EQ(CheckStandNumber("999 Test", 301, 999, &n), StandNumberCheck::Ok);
  EXPECT_EQ(n, 999);
  EXPECT_EQ(ShortNameOf("999 Test"), "Test");
  EXPECT_EQ(ShortNameOf("305 Fichte,Tanne,Buche,Ei"), "Fichte,Tanne,Buc");
  EXPECT_TRUE(RegisterListsNumber({"301 A", "305 B"}, 305));
  EXPECT_FALSE(RegisterListsNumber({"301 A", "3050 B"}, 30));

  // Cells of 40 pixels: stand types by age class, development types by treatment type.
  std::optional<GridClassChoice> c = ClassFromGridClick(false, 90, 50, 40);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->typeLetter, 'B');
  EXPECT_EQ(c->classDigit, '4');
  c = ClassFromGridClick(true, 10, 300, 40);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->typeLetter, 'h');
  EXPECT_EQ(c->classDigit, '1');
  // Right of the five columns or below the eight rows is no cell.
  EXPECT_FALSE(ClassFromGridClick(false, 5 * 40 + 1, 10, 40));
  EXPECT_FALSE(ClassFromGridClick(true, 10, 8 * 40, 40));
}

}  // namespace
}  // namespace tolvek
