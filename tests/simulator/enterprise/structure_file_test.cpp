// The structure file: its lines byte for byte, a subdivided enterprise written and read back, the checks
// that refuse a damaged file without touching the enterprise in hand, and the model stands read from a
// file checked against the register as it is now.
#include <gtest/gtest.h>

#include "common/format.h"
#include "common/paths.h"
#include "simulator/enterprise/enterprise_choice.h"
#include "simulator/enterprise/structure_file.h"
#include "tests/support/fake_cells.h"
#include "tests/support/fakes.h"
#include "tests/support/scripted_draws.h"

using namespace tolvek;
using tolvek::testing::FakeCells;
using tolvek::testing::ScriptedDraws;

namespace {

std::string German(const std::string& s) { return s; }

// Enterprise 1 of the shipped data cut with a seed, its stands carrying values in every field.
EnterpriseSession Enterprise1(std::uint32_t seed) {
  EnterpriseSession s;
  s.number = 1;
  MapReadProblem problem;
  EXPECT_TRUE(StartEnterprise(s, JoinPath(tolvek::testing::SourceDataDir(), "Vorgaben/"), 1.0, 1024, problem));
  RandomGenerator g(seed);
  GeneratorDraws d(g);
  SubdivideEnterprise(s, d);
  s.chosen.count = 3;
  s.chosen.codes = {0, 1, 4, 6, 0, 0};
  for (int a = 1; a <= s.compartmentCount; ++a) {
    s.At(a).typePosition = a % 3 + 1;
    s.At(a).thirdValue = a;
    int j = 0;
    for (EnterpriseStand& st : s.At(a).stands) {
      st.typePosition = (a + j) % 3 + 1;
      st.cls = j % 5 + 1;
      st.modelStand = a * 3 + j;
      st.secondValue = -j;
      ++j;
    }
  }
  return s;
}

std::vector<std::string> Lines(const EnterpriseSession& s, ModelStandRegisters r = {true, false}) {
  std::vector<std::string> lines;
  const Outcome made = StructureFileLines(StructureOf(s, 1, r), lines);
  EXPECT_TRUE(made.ok()) << made.problem().where << " " << made.problem().message;
  return lines;
}

// A small file of two compartments: the first with `stands` stands of four corners each.
std::vector<std::string> SmallFile(int stands) {
  std::vector<std::string> l{"0", "   1   1" + FormatInt(stands, 4) + "   0"};
  for (int j = 1; j <= stands; ++j) {
    l.push_back("   1" + FormatInt(j, 4) + "    1.00   1   2   0     0   4");
    for (const char* c : {"       1   10.00   10.00", "       2   10.00  110.00", "       3  110.00  110.00",
                          "       4   10.00   10.00"})
      l.push_back(c);
  }
  l.push_back("   2   1   1   0");
  l.push_back("   2   1    0.50   1   3   0     0   3");
  for (const char* c : {"       1    0.0     0.0", "       2    0.0   50.00", "       3    0.0     0.0"}) l.push_back(c);
  l.push_back("     1     1     0     0     0     0");
  l.push_back("     1     0");
  return l;
}

}  // namespace

TEST(StructureFileLines, EachRecordByteForByte) {
  Compartment c;
  c.typePosition = 2;
  c.stands.resize(3);
  EXPECT_EQ(CompartmentLine(1, c), "   1   2   3   0");

  EnterpriseStand st;
  st.area = 1.5;
  st.typePosition = 2;
  st.cls = 4;
  st.modelStand = 17;
  st.corners.resize(5);
  EXPECT_EQ(StandLine(1, 2, st), "   1   2    1.50   2   4  17     0   5");
  EXPECT_EQ(CornerLine(1, {0.0, 1234.5}), "       1     0.0 1234.50");
  EXPECT_EQ(CornerLine(3, {0.004, -0.004}), "       3     0.0     0.0");
  ChosenTypes chosen;
  chosen.count = 3;
  chosen.codes = {0, 1, 3, 6, 0, 0};
  EXPECT_EQ(ChosenTypesLine(chosen), "     3     1     3     6     0     0");
  EXPECT_EQ(RegistersLine({true, false}), "     1     0");

  // A value as wide as its field keeps a blank before it: the fields never run together.
  st.modelStand = 1000;
  st.secondValue = -123456;
  EXPECT_EQ(StandLine(1, 2, st), "   1   2    1.50   2   4 1000 -123456   5");
  EXPECT_EQ(CornerLine(1, {-12345.6, 123456.78}), "       1 -12345.60 123456.78");
}

TEST(StructureFile, ASubdividedEnterpriseReadsBackAndSavesTheSameBytes) {
  const EnterpriseSession original = Enterprise1(77);
  const std::vector<std::string> first = Lines(original, {false, true});

  EnterpriseSession other = Enterprise1(5);  // another cut, to be replaced
  other.At(3).kind = 6;
  EnterpriseStructure read;
  const Outcome parsed = ParseEnterpriseFile(first, other.compartmentCount, read);
  ASSERT_TRUE(parsed.ok()) << parsed.problem().where << parsed.problem().message;
  EXPECT_EQ(read.mode, 1);
  EXPECT_EQ(read.registers, (ModelStandRegisters{false, true}));
  ApplyStructure(other, read);

  EXPECT_EQ(other.At(3).kind, 6);  // the kinds are the map's, not the file's
  EXPECT_EQ(other.standCount, original.standCount);
  EXPECT_NEAR(other.totalArea, original.totalArea, 0.005 * original.standCount);
  EXPECT_EQ(other.chosen.codes, original.chosen.codes);
  for (int a = 1; a <= original.compartmentCount; ++a) {
    ASSERT_EQ(other.At(a).stands.size(), original.At(a).stands.size());
    EXPECT_EQ(other.At(a).typePosition, original.At(a).typePosition);
    EXPECT_EQ(other.At(a).thirdValue, a);
    for (std::size_t j = 0; j < original.At(a).stands.size(); ++j) {
      const EnterpriseStand &x = original.At(a).stands[j], &y = other.At(a).stands[j];
      EXPECT_NEAR(y.area, x.area, 0.005);
      EXPECT_EQ(y.typePosition, x.typePosition);
      EXPECT_EQ(y.cls, x.cls);
      EXPECT_EQ(y.modelStand, x.modelStand);
      EXPECT_EQ(y.secondValue, x.secondValue);
      ASSERT_EQ(y.corners.size(), x.corners.size());
      for (std::size_t k = 0; k < x.corners.size(); ++k) {
        EXPECT_NEAR(y.corners[k].x, x.corners[k].x, 0.005);
        EXPECT_NEAR(y.corners[k].y, x.corners[k].y, 0.005);
      }
    }
  }
  // Saved again: the same bytes.
  EXPECT_EQ(Lines(other, {false, true}), first);

  // Through the file system as the program writes and reads it.
  tolvek::testing::TempDir dir;
  dir.Write("Temp/Betrieb3.txt", "");
  ASSERT_TRUE(WriteTextLines(dir.File("Temp/Betrieb1.txt"), first).ok());
  EnterpriseStructure again;
  ASSERT_TRUE(ReadEnterpriseStructure(EnterpriseFilePath(dir.path(), 1), 20, again).ok());
  const Outcome missing = ReadEnterpriseStructure(EnterpriseFilePath(dir.path(), 2), 20, again);
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(StructureProblemKindOf(missing.problem()), StructureProblemKind::kMissing);
}

TEST(StructureFile, StandCountsFromOneToTwentySeven) {
  EnterpriseStructure s;
  const Outcome most = ParseEnterpriseFile(SmallFile(27), 2, s);
  EXPECT_TRUE(most.ok()) << most.problem().where << most.problem().message;
  EXPECT_EQ(s.compartments[1].stands.size(), 27u);
  EXPECT_DOUBLE_EQ(s.compartments[1].area, 27.0);
  EXPECT_EQ(s.compartments[2].stands[0].corners[1].y, 50.0);

  for (int bad : {0, 28}) {
    EnterpriseStructure untouched;
    untouched.mode = 7;
    const Outcome refused = ParseEnterpriseFile(SmallFile(bad), 2, untouched);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(StructureProblemKindOf(refused.problem()), StructureProblemKind::kBadCompartment);
    EXPECT_EQ(refused.problem(), (Problem{kStructureStandCount, "2"}));
    EXPECT_EQ(untouched.mode, 7);
  }
  // A compartment out of its place: a file of another enterprise.
  std::vector<std::string> l = SmallFile(1);
  l[1] = "   2   1   1   0";
  const Outcome misplaced = ParseEnterpriseFile(l, 2, s);
  ASSERT_FALSE(misplaced.ok());
  EXPECT_EQ(StructureProblemKindOf(misplaced.problem()), StructureProblemKind::kBadCompartment);
  EXPECT_EQ(misplaced.problem().message, kStructureCompartmentNumber);
  const Outcome short3 = ParseEnterpriseFile(SmallFile(1), 3, s);  // the chosen types where compartment 3 belongs
  ASSERT_FALSE(short3.ok());
  EXPECT_EQ(short3.problem().where, "13");
}

TEST(StructureFile, EveryBadValueIsRefusedWithItsLine) {
  const struct {
    int line;  // 1-based
    const char* text;
    const char* reason;
  } cases[] = {
      {1, "2", kStructureMode},
      {3, "   1   1    1.00   0   2   0     0   4", kStructureTypePosition},
      {3, "   1   1    1.00   1   6   0     0   4", kStructureClass},
      {3, "   1   1    1.00   1   2  -1     0   4", kStructureModelStand},
      {3, "   1   1   -0.50   1   2   0     0   4", kStructureArea},
      {3, "   1   1 1000000.01   1   2   0     0   4", kStructureArea},
      {4, "       1   -1000000.5   10.00", kStructureCorner},
      {4, "       1   10.00   2e6", kStructureCorner},
      {3, "   1   1    1.00   1   2   0     0   2", kStructureCornerCount},
      {3, "   1   1    1.00   1   2   0     0  91", kStructureCornerCount},
      {3, "   1   1    1.00   1   2   0     0", kStructureFieldCount},
      {4, "       1   12,5   10.00", kStructureNotANumber},
      {4, "       1   nan   10.00", kStructureNotANumber},
      {4, "       1   1e999   10.00", kStructureNotANumber},
      {13, "     6     1     2     3     4     5", kStructureChosenCount},
      {13, "     1     9     0     0     0     0", kStructureTypeCode},
      {14, "     1     2", kStructureFlag},
      {2, "   1   9   1   0", kStructureTypePosition},
  };
  for (const auto& c : cases) {
    std::vector<std::string> l = SmallFile(1);
    l[static_cast<std::size_t>(c.line - 1)] = c.text;
    EnterpriseStructure s;
    const Outcome refused = ParseEnterpriseFile(l, 2, s);
    ASSERT_FALSE(refused.ok()) << c.text;
    EXPECT_EQ(StructureProblemKindOf(refused.problem()), StructureProblemKind::kDamaged) << c.text;
    EXPECT_EQ(refused.problem(), (Problem{c.reason, std::to_string(c.line)})) << c.text;
  }
  // Cut short, or more after the end.
  std::vector<std::string> l = SmallFile(1);
  l.resize(8);
  EnterpriseStructure s;
  const Outcome cut = ParseEnterpriseFile(l, 2, s);
  ASSERT_FALSE(cut.ok());
  EXPECT_EQ(cut.problem(), (Problem{kStructureEndsEarly, "9"}));
  l = SmallFile(1);
  l.push_back("");
  EXPECT_TRUE(ParseEnterpriseFile(l, 2, s).ok());
  l.push_back("     1     0");
  const Outcome trailing = ParseEnterpriseFile(l, 2, s);
  ASSERT_FALSE(trailing.ok());
  EXPECT_EQ(trailing.problem().message, kStructureTrailing);

  EXPECT_EQ(StructureProblemText(2, trailing.problem(), German),
            "<Betrieb2: Datei beschädigt. #<Betrieb generieren> aufrufen.#Temp\\Betrieb2.txt, Zeile 16: "
            "Zeilen nach dem Ende der Struktur");
  EXPECT_EQ(StructureProblemText(3, Problem{kMapFileMissing, ""}, German),
            "Betrieb 3 fehlt oder nicht lesbar. Standardform verwenden");
  // A file of another enterprise is said to be missing, with the line that shows it.
  EXPECT_EQ(StructureProblemText(4, Problem{kStructureCompartmentNumber, "2"}, German),
            "Betrieb 4 fehlt oder nicht lesbar. Standardform verwenden#Temp\\Betrieb4.txt, Zeile 2: "
            "Abteilungs-Nummer nicht an ihrer Stelle");
}

TEST(StructureFile, WhatCannotBeReadBackIsNotWritten) {
  EnterpriseSession s = Enterprise1(3);
  std::vector<std::string> lines;
  s.At(4).stands.clear();
  const Outcome noStands = StructureFileLines(StructureOf(s, 0, {}), lines);
  ASSERT_FALSE(noStands.ok());
  EXPECT_EQ(noStands.problem(), (Problem{kStructureStandCount, "4"}));
  s = Enterprise1(3);
  s.At(9).stands[0].corners.resize(2);
  const Outcome twoCorners = StructureFileLines(StructureOf(s, 0, {}), lines);
  ASSERT_FALSE(twoCorners.ok());
  EXPECT_EQ(twoCorners.problem(), (Problem{kStructureCornerCount, "9"}));
}

TEST(StructureFile, ModelStandsThatNoLongerFitAreDrawnAgain) {
  EnterpriseSession s;
  s.compartmentCount = 1;
  s.compartments.resize(2);
  s.chosen.count = 2;
  s.chosen.codes = {0, 1, 4, 0, 0, 0};
  auto stand = [](int t, int k, int model) {
    EnterpriseStand st;
    st.typePosition = t;
    st.cls = k;
    st.modelStand = model;
    return st;
  };
  s.At(1).stands = {stand(1, 2, 5), stand(1, 2, 6), stand(2, 3, 0), stand(2, 3, 40), stand(1, 3, 5)};
  FakeCells cells;
  cells.Add(5, 1, 2);
  cells.Add(6, 1, 3);  // reclassified since the file was saved
  cells.Add(7, 1, 2);
  cells.Add(8, 4, 3);
  ScriptedDraws draws;
  draws.wholes = {1, 0, 0};
  EXPECT_EQ(RecheckModelStands(s, cells, draws), 3);
  EXPECT_EQ(s.At(1).stands[0].modelStand, 5);  // fits
  EXPECT_EQ(s.At(1).stands[1].modelStand, 7);  // drawn among 5 and 7
  EXPECT_EQ(s.At(1).stands[2].modelStand, 0);  // none yet: left to the assignment
  EXPECT_EQ(s.At(1).stands[3].modelStand, 8);  // beyond the register
  EXPECT_EQ(s.At(1).stands[4].modelStand, 6);  // entry 5 is of another class
  EXPECT_EQ(draws.wholesDrawn, 3);
}
