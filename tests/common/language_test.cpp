#include "common/language.h"

#include <gtest/gtest.h>

#include "common/paths.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

TEST(LanguageLine, FiveTabsGiveSixFields) {
  LanguageRow r = SplitLanguageLine("F1\tButton12\tBestand\tHint\tStand\tEN hint");
  EXPECT_EQ(r.field, (LanguageRow{{"F1", "Button12", "Bestand", "Hint", "Stand", "EN hint"}}.field));
}

TEST(LanguageLine, ShortLinesLeaveTheRestInTheLastFieldReached) {
  // Exactly three TABs: the four parts, fields 5 and 6 empty.
  EXPECT_EQ(SplitLanguageLine("\t\t\tweiter").field, (LanguageRow{{"", "", "", "weiter", "", ""}}.field));
  // Four TABs: field 5 takes the rest.
  EXPECT_EQ(SplitLanguageLine("a\tb\tc\td\te").field, (LanguageRow{{"a", "b", "c", "d", "e", ""}}.field));
  // Fewer than three: what there is, nothing lost.
  EXPECT_EQ(SplitLanguageLine("a\tb").field, (LanguageRow{{"a", "b", "", "", "", ""}}.field));
  EXPECT_EQ(SplitLanguageLine("only").field, (LanguageRow{{"only", "", "", "", "", ""}}.field));
  EXPECT_EQ(SplitLanguageLine("").field, (LanguageRow{{"", "", "", "", "", ""}}.field));
}

TEST(LanguageLine, SixthFieldKeepsFurtherTabs) {
  // Six TABs with the sixth one last: field 6 is that one TAB.
  EXPECT_EQ(SplitLanguageLine("a\tb\tc\td\te\t\t").field[5], "\t");
  EXPECT_EQ(SplitLanguageLine("a\tb\tc\td\te\tx\ty\tz").field[5], "x\ty\tz");
}

TEST(LanguageLine, JoinIsTheInverseOfSplit) {
  for (const char* line : {"F1\tB\tc\td\te\tf", "\t\t\t\t\t", "a\tb\tc\td\te\tf\t", "a\tb\tc\td\te\t\tx\t\t"}) {
    EXPECT_EQ(JoinLanguageRow(SplitLanguageLine(line)), line);
  }
}

TEST(LanguageFile, EveryLineIsARowAndWritingKeepsEveryByte) {
  testing::TempDir dir;
  // The first line is a row like any other (a program that dropped it would lose "ja" on every save).
  const std::string bytes = "F42\tbtnYES\tja\t\tyes\t\r\n\t\t\tweiter\t\tnext\r\nF1\tX\tä\tö\tü\t\t\r\n";
  dir.Write("SpracheEN.txt", bytes);
  std::vector<LanguageRow> rows;
  ASSERT_TRUE(ReadLanguageRows(dir.File("SpracheEN.txt"), rows));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].field[2], "ja");
  EXPECT_EQ(rows[2].field[5], "\t");
  ASSERT_TRUE(WriteLanguageRows(dir.File("out.txt"), rows).ok());
  std::string out;
  ASSERT_TRUE(ReadWholeFile(dir.File("out.txt"), out));
  EXPECT_EQ(out, bytes);
}

TEST(LanguageFile, LfLinesAndWindows1252AreRead) {
  testing::TempDir dir;
  dir.Write("t.txt", "\t\t\tzur\xFC" "ck\t\tback\n\t\t\tweiter\t\tnext");
  std::vector<LanguageRow> rows;
  ASSERT_TRUE(ReadLanguageRows(dir.File("t.txt"), rows));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].field[3], "zurück");
  EXPECT_EQ(rows[1].field[5], "next");
}

TEST(LanguageFile, MissingFileLeavesTheRowsAlone) {
  testing::TempDir dir;
  std::vector<LanguageRow> rows{LanguageRow{{"F1", "a", "b", "c", "d", "e"}}};
  EXPECT_FALSE(ReadLanguageRows(dir.File("none.txt"), rows));
  EXPECT_EQ(rows.size(), 1u);
}

TEST(LanguageFiles, NumbersPickTablesAndHelpFiles) {
  EXPECT_EQ(LanguageFilesFor(1).table, "SpracheEN.txt");
  EXPECT_EQ(LanguageFilesFor(1).help, "HelpTolvekDE.hlp");
  EXPECT_EQ(LanguageFilesFor(2).table, "SpracheEN.txt");
  EXPECT_EQ(LanguageFilesFor(2).help, "HelpTolvekEN.hlp");
  EXPECT_EQ(LanguageFilesFor(3).table, "SpracheCZ.txt");
  EXPECT_EQ(LanguageFilesFor(7).table, "SpracheTR.txt");
  EXPECT_EQ(LanguageFilesFor(7).help, "HelpTolvekEN.hlp");
  for (int n : {0, 8, -1, 99}) {
    EXPECT_EQ(LanguageFilesFor(n).table, "Sprache.txt") << n;
    EXPECT_EQ(LanguageFilesFor(n).help, "") << n;
  }
  EXPECT_EQ(SelectorFor(0), 1);
  EXPECT_EQ(SelectorFor(1), 1);
  EXPECT_EQ(SelectorFor(2), 2);
  EXPECT_EQ(LanguageCode(5), "SP");
  EXPECT_EQ(LanguageCode(0), "");
}

TEST(LanguageFile, GeneratorMessageSectionIsTheLastMessageRow) {
  std::vector<LanguageRow> rows{LanguageRow{{"F4", "Label1"}}, LanguageRow{{"", "", "", "weiter"}}, LanguageRow{{"F4", "Label2"}},
                                LanguageRow{{"", "", "", "zurück"}}, LanguageRow{{"F4", "Label3"}}};
  EXPECT_EQ(MessageSectionStart(rows), 3u);
  rows.pop_back();
  rows.pop_back();
  rows.pop_back();
  rows.pop_back();
  EXPECT_EQ(MessageSectionStart(rows), 0u);
}

}  // namespace
}  // namespace tolvek
