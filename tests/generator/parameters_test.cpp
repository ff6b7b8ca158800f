// The parameter file and the field rules of the parameter dialog.
#include "generator/parameters.h"

#include <gtest/gtest.h>

#include "common/paths.h"
#include "tests/support/fakes.h"

namespace tolvek::generator {
namespace {

TEST(ParameterFile, WritesFourteenLinesAndReadsThemBackByteForByte) {
  testing::TempDir dir;
  GenerationParameters p;
  p.rows[0] = {1, 30, 20, 0, 400};
  p.rows[2] = {0, 45, 10, 3.0, 120};  // no code: written, and kept, as zeros
  UpdateBasalAreas(p);
  ASSERT_TRUE(WriteParameterFile(dir.path(), p).ok());
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(dir.File("Temp/Vorlint.txt"), bytes));
  std::string expected = "       1    30.0    20.0    28.3     400\r\n";
  for (int i = 0; i < 4; ++i) expected += "       0     0.0     0.0     0.0       0\r\n";
  for (int i = 0; i < 9; ++i) expected += "       0\r\n";
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(p.rows[2].stems, 0);

  GenerationParameters back;
  ASSERT_EQ(ReadParameterFile(dir.path(), back), ParameterFileRead::kOk);
  EXPECT_EQ(back.rows[0].code, 1);
  EXPECT_DOUBLE_EQ(back.rows[0].basalArea, RowBasalArea(30, 400));
  ASSERT_TRUE(WriteParameterFile(dir.path(), back).ok());
  std::string again;
  ASSERT_TRUE(ReadWholeFile(dir.File("Temp/Vorlint.txt"), again));
  EXPECT_EQ(again, bytes);
}

TEST(ParameterFile, TheLargestBasalAreaTheFieldsAllowReadsBack) {
  // 999 cm at 9999 stems per ha: 783749.8 m²/ha fills all eight characters of its field.
  testing::TempDir dir;
  GenerationParameters p;
  p.rows[0] = {1, 999, 1, 0, 9999};
  UpdateBasalAreas(p);
  ASSERT_TRUE(WriteParameterFile(dir.path(), p).ok());
  GenerationParameters back;
  ASSERT_EQ(ReadParameterFile(dir.path(), back), ParameterFileRead::kOk);
  EXPECT_EQ(back.rows[0].mean, 999.0);
  EXPECT_EQ(back.rows[0].cv, 1.0);
  EXPECT_EQ(back.rows[0].stems, 9999);
  EXPECT_EQ(ParameterFileLines(p)[0], "       1   999.0     1.0 783749.8    9999");
}

TEST(ParameterFile, TheShippedFileHoldsTheDefaults) {
  GenerationParameters d = DefaultParameters();
  std::string lines;
  for (const auto& l : ParameterFileLines(d)) lines += l + "\r\n";
  std::string shipped;
  ASSERT_TRUE(ReadWholeFile(testing::SourceDataDir() + "Temp/Vorlint.txt", shipped));
  EXPECT_EQ(shipped, lines);
}

TEST(ParameterFile, MissingAndDamagedFiles) {
  testing::TempDir dir;
  GenerationParameters p = DefaultParameters();
  EXPECT_EQ(ReadParameterFile(dir.path(), p), ParameterFileRead::kMissing);
  EXPECT_EQ(p.rows[0].code, 1);  // left alone
  // A real where a whole number belongs (row 2's code): what came before is kept, the rest is 0.
  dir.Write("Temp/Vorlint.txt", "1 30.0 20.0 28.3 400\n2.5 30 20 1 100\n");
  EXPECT_EQ(ReadParameterFile(dir.path(), p), ParameterFileRead::kBad);
  EXPECT_EQ(p.rows[0].stems, 400);
  EXPECT_EQ(p.rows[1].code, 0);
  EXPECT_EQ(p.nine[kFelling], 0);
  // Free format: numbers may share lines and a final line break may be missing.
  dir.Write("Temp/Vorlint.txt",
            "1 30 20 0 400 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n9 60 40 20 2 100 80 40 10");
  EXPECT_EQ(ReadParameterFile(dir.path(), p), ParameterFileRead::kOk);
  EXPECT_EQ(p.nine[kStemDistribution], 9);
  EXPECT_EQ(p.nine[kFelling], 10);
}

TEST(FieldRules, SpeciesCode) {
  CodeEdit x = ApplyCodeRule("x");
  EXPECT_EQ(x.action, CodeEdit::Action::kRefuse);
  EXPECT_EQ(x.text, " ");
  EXPECT_TRUE(x.beep);
  EXPECT_EQ(x.code, 0);
  EXPECT_EQ(ApplyCodeRule("0").action, CodeEdit::Action::kClearRow);
  EXPECT_EQ(ApplyCodeRule(" ").action, CodeEdit::Action::kLeave);
  const CodeEdit seven = ApplyCodeRule("7");
  EXPECT_EQ(seven.action, CodeEdit::Action::kSetCode);
  EXPECT_EQ(seven.code, 7);
  EXPECT_FALSE(ApplyCodeRule("").beep);
  EXPECT_TRUE(ApplyCodeRule("12").beep);
}

TEST(FieldRules, LimitsByLevel) {
  EXPECT_EQ(ClampNine(kGapEastWest, 200, GenerationLevel::kStand), 150);
  EXPECT_EQ(ClampNine(kGapEastWest, 200, GenerationLevel::kEnterprise), 50);
  EXPECT_EQ(ClampNine(kGroupDiameter, -5, GenerationLevel::kStand), 0);
  EXPECT_EQ(ClampNine(kGroups, 5, GenerationLevel::kStand), 2);
  EXPECT_EQ(ClampNine(kInnerShare, 130, GenerationLevel::kStand), 100);
  EXPECT_EQ(ClampNine(kRestStocking, 250, GenerationLevel::kStand), 100);
  EXPECT_EQ(ClampNine(kStemDistribution, 12, GenerationLevel::kStand), 9);
  EXPECT_EQ(NineText(kGapEastWest, 7), "  7");
  EXPECT_EQ(NineText(kGroups, 2), "2");
  EXPECT_EQ(ClampRowField(RowField::kStems, 123456), 9999);
  EXPECT_EQ(RowFieldText(RowField::kMean, 30), " 30");
  EXPECT_EQ(RowFieldText(RowField::kStems, 400), " 400");
  EXPECT_EQ(FieldInt(" 42 "), 42);
  EXPECT_EQ(FieldInt("4x"), 0);
}

TEST(FieldRules, ValidateAllAndTheDrawingRefusal) {
  GenerationParameters p;
  p.rows[0] = {12, 30, 20, 0, 100};      // no such species: the row goes
  p.rows[1] = {3, 32.5, -4, 0, 20000};   // a whole mean as shown, no negative variation, at most 9999 stems
  p.nine = {-3, -1000, -1000, 140, 0, 80, 60, 60, 120};
  ValidateAll(p, GenerationLevel::kStand);
  EXPECT_EQ(p.rows[0].code, 0);
  EXPECT_EQ(p.rows[1].mean, 32.0);  // half to even
  EXPECT_EQ(p.rows[1].cv, 0.0);
  EXPECT_EQ(p.rows[1].stems, 9999);
  EXPECT_EQ(p.nine, (std::array<int, kNineCount>{0, 0, 0, 100, 0, 0, 0, 0, 100}));  // no groups: no diameter, shares
  EXPECT_TRUE(CheckDrawable(p).ok());
  p.rows[1].stems = 0;
  EXPECT_FALSE(CheckDrawable(p).ok());
  p.rows[0] = {1, 30, 20, 0, 6000};
  p.rows[1].stems = 6000;
  EXPECT_FALSE(CheckDrawable(p).ok());  // 12000 stems per ha are more than the fields can hold
}

TEST(FieldRules, BasalAreasAndTotals) {
  GenerationParameters p;
  p.rows[0] = {1, 30, 20, 0, 400};
  p.rows[3] = {5, 20, 20, 0, 100};
  p.rows[4] = {0, 50, 20, 0, 100};  // not in use
  const ParameterTotals t = UpdateBasalAreas(p);
  EXPECT_NEAR(p.rows[0].basalArea, 28.274, 0.001);
  EXPECT_EQ(p.rows[4].basalArea, 0.0);
  EXPECT_EQ(t.stems, 500);
  EXPECT_NEAR(t.basalArea, 28.274 + 3.1416, 0.001);
  // A file's rows before the field rules: their sum is not cut short.
  for (auto& r : p.rows) r = {1, 30, 20, 0, 2147483647};
  EXPECT_EQ(UpdateBasalAreas(p).stems, 2147483647LL * static_cast<long long>(p.rows.size()));
}

}  // namespace
}  // namespace tolvek::generator
