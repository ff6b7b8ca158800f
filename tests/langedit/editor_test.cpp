// The editor's core: merging a target table into the English reference, writing the target's file back
// without losing or shifting a row, the row operations and the search.
#include "langedit/editor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/paths.h"
#include "langedit/arrow_repeat.h"
#include "tests/langedit/fake_repeat_timer.h"
#include "tests/support/fakes.h"

namespace tolvek::langedit {
namespace {

using testing::TempDir;

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* l : lines) text += std::string(l) + "\r\n";
  return text;
}

std::string FileText(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
  return bytes;
}

std::vector<LanguageRow> Rows(std::initializer_list<const char*> lines) {
  std::vector<LanguageRow> rows;
  for (const char* l : lines) rows.push_back(SplitLanguageLine(l));
  return rows;
}

std::vector<EditorRow> Reference(std::initializer_list<const char*> lines) {
  std::vector<EditorRow> rows;
  for (const LanguageRow& l : Rows(lines)) {
    EditorRow r;
    std::copy(l.field.begin(), l.field.end(), r.field.begin());
    rows.push_back(r);
  }
  return rows;
}

// An editor on a folder holding the given English and target files, loaded as at start.
struct Editor {
  Editor(const std::string& english, const std::string& targetName, const std::string& target,
         LanguageNumber n = kStartLanguage) {
    dir.Write("SpracheEN.txt", english);
    if (!targetName.empty()) dir.Write(targetName, target);
    s.folder = dir.path();
    reference = LoadReference(s);
    loaded = LoadTarget(s, n);
  }
  // An editor on a table of n rows: form id "F<k>", component "C<k>", target texts "t<k>".
  explicit Editor(int n) {
    std::string en, tr;
    for (int k = 1; k <= n; ++k) {
      const std::string K = std::to_string(k);
      en += "F" + K + "\tC" + K + "\tde" + K + "\tDE hint " + K + "\ten" + K + "\tEN hint " + K + "\r\n";
      tr += "F" + K + "\tC" + K + "\tde" + K + "\tDE hint " + K + "\tt" + K + "\tth" + K + "\r\n";
    }
    dir.Write("SpracheEN.txt", en);
    dir.Write("SpracheTR.txt", tr);
    s.folder = dir.path();
    reference = LoadReference(s);
    loaded = LoadTarget(s, kStartLanguage);
  }
  std::string Target(int row) const {
    const EditorRow& r = s.rows[static_cast<std::size_t>(row - 1)];
    return r.field[kTargetCaption] + "|" + r.field[kTargetHint];
  }
  TempDir dir;
  EditorState s;
  LoadOutcome reference, loaded;
};

TEST(EditorMerge, TargetTextsGoToTheirReferenceRows) {
  std::vector<EditorRow> ref = Reference({
      "F4\tBtnZeichne\tBestand zeichnen\th\tDraw\thint",
      "\t\t01 Abbruch\t01 Ende\tCancel\tEnd",
      "F4\tBtnOhne\tOhne\t\tWithout\tno match",
      "F5\tBtnZeichne\tBestand zeichnen\th\tDraw 5\thint 5",
  });
  // In another order, with other numbers in front of the message, and a one-character hint.
  std::vector<LanguageRow> target = Rows({
      "\t\t99 Abbruch\t99 Ende\tİptal\tSon",
      "F4\tBtnZeichne\tanders\tanders\tÇiz\tx",
      "F4\tBtnAnders\tOhne\t\tBaşka\tbaşka",
  });
  MergeLanguageTables(ref, target);
  EXPECT_EQ(ref[0].field[kTargetCaption], "Çiz");
  EXPECT_EQ(ref[0].field[kTargetHint], "hint");  // "x" is no translation: English stays
  EXPECT_EQ(ref[1].field[kTargetCaption], "İptal");
  EXPECT_EQ(ref[1].field[kTargetHint], "Son");
  EXPECT_EQ(ref[2].field[kTargetCaption], "Without");  // another component name: no match
  EXPECT_EQ(ref[3].field[kTargetCaption], "Draw 5");   // another form id: no match
}

TEST(EditorMerge, RowsSharingAKeyKeepTheirOwnTexts) {
  // The notes block repeats its form id and component; the species names differ only in their first
  // three characters. Each row keeps its own translation, whatever the order in the target.
  std::vector<EditorRow> ref = Reference({
      "F1\tMemHilfe\t\tNotes\t\tNotes",
      "F1\tMemHilfe\t\tfirst note\t\tfirst note",
      "F1\tMemHilfe\t\tsecond note\t\tsecond note",
      "\t\t\tBuche\t\tbeech",
      "\t\t\tEiche\t\toak",
      "\t\t\tEsche\t\tash",
  });
  std::vector<LanguageRow> target = Rows({
      "\t\t\tEsche\t\tdişbudak",
      "F1\tMemHilfe\t\tNotes\t\tNotlar",
      "F1\tMemHilfe\t\tfirst note\t\tbirinci",
      "F1\tMemHilfe\t\tsecond note\t\tikinci",
      "\t\t\tBuche\t\tkayın",
      "\t\t\tEiche\t\tmeşe",
  });
  MergeLanguageTables(ref, target);
  std::vector<std::string> hints;
  for (const auto& r : ref) hints.push_back(r.field[kTargetHint]);
  EXPECT_EQ(hints, (std::vector<std::string>{"Notlar", "birinci", "ikinci", "kayın", "meşe", "dişbudak"}));

  // A changed German text still finds its row by the key; a row the reference repeats gets the text
  // twice; a target row the reference no longer has goes nowhere.
  ref = Reference({"F1\tMemHilfe\t\tNotes, new\t\tNotes", "\t\t\tja\t\tyes", "\t\t\tja\t\tyes"});
  target = Rows({"F1\tMemHilfe\t\tNotes\t\tNotlar", "\t\t\tja\t\tevet", "F1\tMemHilfe\t\tgone\t\tgitti"});
  MergeLanguageTables(ref, target);
  EXPECT_EQ(ref[0].field[kTargetHint], "Notlar");
  EXPECT_EQ(ref[1].field[kTargetHint], "evet");
  EXPECT_EQ(ref[2].field[kTargetHint], "evet");
}

TEST(EditorFile, WritesTheTargetsFileFromTheReferenceAndTheMergedTexts) {
  // Row 2 is shorter in the target (three TABs) and is written with all six fields; a trailing TAB
  // of a hint stays; a Windows-1252 line is read as such and written as UTF-8.
  Editor e(Lines({"F1\tButton12\tBestand\tBestand wählen\tStand\tChoose a stand",
                  "\t\t\tweiter\t\tnext",
                  "F2\tBtListe\tListe\tL\tList\tlist\t",
                  "F2\tBtFl\tFl\xE4" "che\t\tArea\t"}),
           "SpracheTR.txt",
           Lines({"F1\tButton12\tBestand\tBestand wählen\tMeşcere\tMeşcere seç",
                  "\t\t\tweiter",
                  "F2\tBtListe\tListe\tL\tListe\tliste\t"}));
  ASSERT_EQ(e.reference.result, LoadResult::kOk);
  ASSERT_EQ(e.loaded.result, LoadResult::kOk);
  ASSERT_TRUE(WriteTargetFile(e.s).ok());
  EXPECT_EQ(FileText(e.dir.File("SpracheTR.txt")),
            Lines({"F1\tButton12\tBestand\tBestand wählen\tMeşcere\tMeşcere seç",
                   "\t\t\tweiter\t\tnext",
                   "F2\tBtListe\tListe\tL\tListe\tliste\t",
                   "F2\tBtFl\tFläche\t\tArea\t"}));

  // English writes "Sprache.txt" with the English texts, and leaves the reference alone.
  LoadTarget(e.s, 2);
  const std::string english = FileText(e.dir.File("SpracheEN.txt"));
  ASSERT_TRUE(WriteTargetFile(e.s).ok());
  EXPECT_EQ(FileText(e.dir.File("Sprache.txt")),
            Lines({"F1\tButton12\tBestand\tBestand wählen\tStand\tChoose a stand",
                   "\t\t\tweiter\t\tnext",
                   "F2\tBtListe\tListe\tL\tList\tlist\t",
                   "F2\tBtFl\tFläche\t\tArea\t"}));
  EXPECT_EQ(FileText(e.dir.File("SpracheEN.txt")), english);
  EXPECT_EQ(TargetFileName(1), "Sprache.txt");
  EXPECT_EQ(TargetFileName(3), "SpracheCZ.txt");
}

TEST(EditorFile, ShippedTablesComeBackByteForByte) {
  TempDir dir;
  testing::CopyShippedData(dir);
  EditorState s;
  s.folder = dir.path();
  ASSERT_EQ(LoadReference(s).result, LoadResult::kOk);
  for (LanguageNumber n = 3; n <= 7; ++n) {
    ASSERT_EQ(LoadTarget(s, n).result, LoadResult::kOk);
    const std::string before = FileText(TargetFilePath(s));
    ASSERT_TRUE(WriteTargetFile(s).ok());
    EXPECT_TRUE(FileText(TargetFilePath(s)) == before) << TargetFilePath(s);
  }
  LoadTarget(s, 2);
  ASSERT_TRUE(WriteTargetFile(s).ok());
  EXPECT_TRUE(FileText(dir.File("Sprache.txt")) == FileText(dir.File("SpracheEN.txt")));
}

TEST(EditorFile, LoadSaveCyclesKeepEveryRowAndTheFirstLine) {
  const std::string header = "Tolvek Sprachtabelle";
  Editor e(Lines({header.c_str(), "F1\tB\tde\tDE\ten\tEN", "\t\t\tx\t\ty"}), "SpracheTR.txt",
           Lines({header.c_str(), "F1\tB\tde\tDE\ttr\tTR", "\t\t\tx\t\tzz"}));
  for (int cycle = 0; cycle < 3; ++cycle) {
    ASSERT_TRUE(WriteTargetFile(e.s).ok());
    std::vector<LanguageRow> read;
    ASSERT_TRUE(ReadLanguageRows(e.dir.File("SpracheTR.txt"), read));  // as the simulator reads it
    ASSERT_EQ(read.size(), 3u) << "cycle " << cycle;
    EXPECT_EQ(read[0].field[kFieldFormId], header);
    EXPECT_EQ(read[1].field[kFieldForeignCaption], "tr");
    EXPECT_EQ(read[2].field[kFieldForeignHint], "zz");
    ASSERT_EQ(LoadReference(e.s).result, LoadResult::kOk);
    ASSERT_EQ(LoadTarget(e.s, kStartLanguage).result, LoadResult::kOk);
    EXPECT_EQ(RowCount(e.s), 3);
  }
}

TEST(EditorFile, AMissingFileIsReportedAndLosesNothing) {
  // No target file: the English texts are the start of the new language's file.
  Editor e(Lines({"F1\tB\tde\tDE\ten\tEN"}), "", "", 4);
  EXPECT_EQ(e.loaded.result, LoadResult::kUnreadable);
  EXPECT_EQ(e.loaded.path, e.dir.File("SpracheFR.txt"));
  EXPECT_EQ(e.Target(1), "en|EN");
  ASSERT_TRUE(WriteTargetFile(e.s).ok());
  EXPECT_EQ(FileText(e.dir.File("SpracheFR.txt")), Lines({"F1\tB\tde\tDE\ten\tEN"}));

  // No reference, or an empty one: nothing to edit, and nothing is ever written over the target.
  TempDir dir;
  EditorState s;
  s.folder = dir.path();
  EXPECT_EQ(LoadReference(s).result, LoadResult::kUnreadable);
  dir.Write("SpracheEN.txt", "");
  dir.Write("SpracheTR.txt", Lines({"F1\tB\tde\tDE\ttr\tTR"}));
  EXPECT_EQ(LoadReference(s).result, LoadResult::kEmpty);
  EXPECT_FALSE(s.referenceLoaded);
  const Outcome refused = WriteTargetFile(s);
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.problem(), (Problem{"no reference table", TargetFilePath(s)}));
  EXPECT_EQ(FileText(dir.File("SpracheTR.txt")), Lines({"F1\tB\tde\tDE\ttr\tTR"}));
}

TEST(EditorRows, TargetTextsShiftDownAndUp) {
  Editor e(8);
  e.s.targetRow = 5;
  EXPECT_TRUE(InsertTargetRowLosesTexts(e.s));
  InsertTargetRow(e.s);
  EXPECT_EQ(e.Target(4), "t4|th4");
  EXPECT_EQ(e.Target(5), "|");
  EXPECT_EQ(e.Target(6), "t5|th5");
  EXPECT_EQ(e.Target(8), "t7|th7");  // the old row 8 is gone
  EXPECT_TRUE(e.s.targetChanged);

  DeleteTargetRow(e.s);  // back as it was, but for row 8
  EXPECT_EQ(e.Target(5), "t5|th5");
  EXPECT_EQ(e.Target(7), "t7|th7");
  EXPECT_EQ(e.Target(8), "|");
  EXPECT_FALSE(InsertTargetRowLosesTexts(e.s));

  e.s.targetRow = 7;
  DeleteTargetRow(e.s);  // the last row with texts
  EXPECT_EQ(e.Target(7), "|");
  e.s.targetRow = 8;
  DeleteTargetRow(e.s);  // the last row itself
  EXPECT_EQ(e.Target(8), "|");
  EXPECT_EQ(RowCount(e.s), 8);

  // English into the target row, which may be another than the reference row.
  e.s.referenceRow = 2;
  e.s.targetRow = 3;
  CopyEnglish(e.s);
  EXPECT_EQ(e.Target(3), "en2|EN hint 2");
  EXPECT_EQ(e.Target(2), "t2|th2");
}

TEST(EditorRows, AReferenceRowInsertedTakesItsPlaceWithoutLimit) {
  Editor e(8);
  e.s.referenceRow = 3;
  InsertReferenceRow(e.s);
  ASSERT_EQ(RowCount(e.s), 9);
  EXPECT_EQ(e.s.rows[2].field, EditorRow{}.field);
  EXPECT_EQ(e.s.rows[3].field[kFieldFormId], "F3");
  EXPECT_EQ(e.Target(4), "t3|th3");
  // No fixed capacity: a table far beyond the old 610 rows grows on.
  Editor big(700);
  big.s.referenceRow = 700;
  InsertReferenceRow(big.s);
  EXPECT_EQ(RowCount(big.s), 701);
  ASSERT_TRUE(WriteTargetFile(big.s).ok());
  std::vector<LanguageRow> read;
  ASSERT_TRUE(ReadLanguageRows(big.dir.File("SpracheTR.txt"), read));
  EXPECT_EQ(read.size(), 701u);
  EXPECT_EQ(read[700].field[kFieldFormId], "F700");
}

TEST(EditorRows, RowsStayWithinTheTable) {
  Editor e(8);
  EXPECT_EQ(e.s.referenceRow, 8);  // row 10 of a table of 8
  EXPECT_EQ(e.s.targetRow, 8);
  EXPECT_FALSE(StepBoth(e.s, +1));
  EXPECT_TRUE(StepBoth(e.s, -1));
  EXPECT_EQ(e.s.referenceRow, 7);
  EXPECT_TRUE(StepTarget(e.s, +1));
  EXPECT_FALSE(StepTarget(e.s, +1));
  EXPECT_TRUE(StepBoth(e.s, +1));  // the target row is at the end already and stays there
  EXPECT_EQ(e.s.referenceRow, 8);
  EXPECT_EQ(e.s.targetRow, 8);
  GoToRow(e.s, 0);
  EXPECT_EQ(e.s.referenceRow, 1);
  EXPECT_FALSE(StepBoth(e.s, -1));
  EXPECT_FALSE(StepTarget(e.s, -1));
  GoToRow(e.s, 99999999999LL);
  EXPECT_EQ(e.s.referenceRow, 8);
  EXPECT_EQ(e.s.targetRow, 8);
}

TEST(EditorSearch, FindsTheNextRowContainingTheTermInTheColumn) {
  std::string en;
  for (int k = 1; k <= 14; ++k) {
    const char* caption = k == 5 || k == 12 ? "Bestand wählen" : k == 13 ? "neuer Bestand" : "Liste";
    en += "F" + std::to_string(k) + "\tC\t" + caption + "\tHinweis\ten\tEN\r\n";
  }
  Editor e(en, "SpracheTR.txt", en);
  EXPECT_EQ(e.s.referenceRow, 10);
  e.s.column = 3;
  EXPECT_EQ(FindRow(e.s, "Bestand"), 12);
  e.s.referenceRow = 12;
  EXPECT_EQ(FindRow(e.s, "Bestand"), 13);  // the search starts after the current row
  e.s.referenceRow = 13;
  EXPECT_EQ(FindRow(e.s, "Bestand"), std::nullopt);
  e.s.referenceRow = 1;
  EXPECT_EQ(FindRow(e.s, "bestand"), std::nullopt);  // case counts
  EXPECT_EQ(FindRow(e.s, ""), std::nullopt);
  e.s.column = 4;
  EXPECT_EQ(FindRow(e.s, "Bestand"), std::nullopt);
  EXPECT_EQ(FindRow(e.s, "Hinweis"), 2);
  e.s.column = 0;  // the row numbers: every field
  EXPECT_EQ(FindRow(e.s, "F11"), 11);
  EXPECT_EQ(FindRow(e.s, "wählen"), 5);
}

TEST(EditorTexts, TheWindowSpeaksTheLanguageOfTheSettings) {
  TempDir dir;
  testing::CopyShippedData(dir);
  EditorState s;
  s.folder = dir.path();
  std::filesystem::remove(dir.File("EinStell.Txt"));
  ASSERT_TRUE(LoadEditorTexts(s));  // first start: the German file and columns
  EXPECT_EQ(s.texts.selector, 1);
  EXPECT_EQ(s.texts.tableFile, dir.File("Sprache.txt"));
  dir.Write("EinStell.Txt", "Sprache: 4\r\nWET no\r\n");
  ASSERT_TRUE(LoadEditorTexts(s));
  EXPECT_EQ(s.texts.selector, 2);
  EXPECT_EQ(s.texts.tableFile, dir.File("SpracheFR.txt"));
  std::filesystem::remove(dir.File("SpracheFR.txt"));
  EXPECT_FALSE(LoadEditorTexts(s));
  EXPECT_EQ(s.texts.selector, 0);
}

TEST(ArrowRepeat, StepsAtOnceThenEvery150MsWhileHeld) {
  testing::FakeRepeatTimer timer;
  ArrowRepeat repeat(timer);
  int row = 1;
  const int last = 4;
  auto down = [&] {
    if (row >= last) return false;
    ++row;
    return true;
  };
  repeat.Press(down);
  EXPECT_EQ(row, 2);
  EXPECT_TRUE(repeat.Held());
  EXPECT_EQ(timer.interval, 150u);
  EXPECT_TRUE(timer.Fire());
  EXPECT_EQ(row, 3);
  repeat.Release();
  EXPECT_FALSE(timer.Fire());
  EXPECT_EQ(row, 3);
  // Held to the end: the repeat stops by itself.
  repeat.Press(down);
  EXPECT_EQ(row, 4);
  EXPECT_TRUE(timer.Fire());
  EXPECT_FALSE(timer.running);
  EXPECT_FALSE(repeat.Held());
  // At the end already: no step and no timer.
  const int starts = timer.starts;
  repeat.Press(down);
  EXPECT_EQ(timer.starts, starts);
  EXPECT_FALSE(repeat.Held());
}

}  // namespace
}  // namespace tolvek::langedit
