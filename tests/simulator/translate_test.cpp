#include "simulator/translate.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/paths.h"
#include "simulator/form_ids.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

LanguageTable Table(int selector, std::vector<LanguageRow> rows) {
  LanguageTable t;
  t.selector = selector;
  t.rows = std::move(rows);
  return t;
}

TEST(Translate, FirstRowWinsAndUnknownTextComesBackUnchanged) {
  LanguageTable t = Table(2, {LanguageRow{{"", "", "", "weiter", "", "next"}}, LanguageRow{{"", "", "", "weiter", "", "continue"}}});
  EXPECT_EQ(Translate(t, "weiter"), "next");
  EXPECT_EQ(Translate(t, "zurück"), "zurück");
  // Same characters, same length: no prefix or trimmed match.
  EXPECT_EQ(Translate(t, "weiter "), "weiter ");
  EXPECT_EQ(Translate(t, "weite"), "weite");
}

TEST(Translate, SelectorsZeroAndOneGiveTheGermanText) {
  LanguageTable t = Table(0, {LanguageRow{{"", "", "", "weiter", "", "next"}}});
  EXPECT_EQ(Translate(t, "weiter"), "weiter");
  t.selector = 1;
  EXPECT_EQ(Translate(t, "weiter"), "weiter");
}

TEST(Translate, OneTrailingTabIsDroppedAndAnEmptyFieldShowsGerman) {
  LanguageTable t = Table(2, {LanguageRow{{"", "", "", "a", "", "A\t"}}, LanguageRow{{"", "", "", "b", "", "B\t\t"}},
                              LanguageRow{{"", "", "", "c", "", ""}}, LanguageRow{{"", "", "", "d", "", "\t"}}});
  EXPECT_EQ(Translate(t, "a"), "A");
  EXPECT_EQ(Translate(t, "b"), "B\t");
  EXPECT_EQ(Translate(t, "c"), "c");  // never a blank message
  EXPECT_EQ(Translate(t, "d"), "d");
}

TEST(ComponentLookup, RowOfTheCurrentFormOnlyAndOneCharacterKeepsTheOwnText) {
  LanguageTable t = Table(2, {LanguageRow{{"F2", "Button1", "Liste", "Hinweis", "List", "Hint"}},
                              LanguageRow{{"F1", "Button1", "Start", "", " ", "Starts the run"}},
                              LanguageRow{{"F1", "Button1", "Later", "", "Later", "Later hint"}}});
  ComponentTexts c = LookupComponentTexts(t, "F1", "Button1");
  EXPECT_TRUE(c.found);
  EXPECT_FALSE(c.caption);  // a blank caption leaves the control's own
  EXPECT_EQ(c.hint, "Starts the run");
  ComponentTexts none = LookupComponentTexts(t, "F1", "Button2");
  EXPECT_FALSE(none.found);
  EXPECT_FALSE(none.caption);
  EXPECT_FALSE(none.hint);
  // From a later first row (the generator's labels).
  EXPECT_EQ(LookupComponentTexts(t, "F1", "Button1", 2).caption, "Later");
  // German columns.
  t.selector = 1;
  EXPECT_EQ(LookupComponentTexts(t, "F2", "Button1").caption, "Liste");
  // No table in use: nothing found, however the rows read.
  t.selector = 0;
  EXPECT_FALSE(LookupComponentTexts(t, "F2", "Button1").found);
}

TEST(NextRowText, RowAfterTheControlsRowOrNothing) {
  LanguageTable t = Table(2, {LanguageRow{{"F1", "BitBtn9", "", "x", "", "X"}}, LanguageRow{{"", "", "", "y", "", "Y"}},
                              LanguageRow{{"F1", "BitBtn10", "", "z", "", "Z"}}});
  EXPECT_EQ(LookupNextRowText(t, "F1", "BitBtn9"), "Y");
  EXPECT_EQ(LookupNextRowText(t, "F1", "BitBtn10"), "");  // the last row: nothing after it
  EXPECT_EQ(LookupNextRowText(t, "F1", "BitBtn11"), "");
  EXPECT_EQ(LookupNextRowText(t, "F2", "BitBtn9"), "");
}

LanguageTable NotesTable(std::size_t headerIndex, std::size_t rowsAfterNotes) {
  LanguageTable t;
  t.selector = 2;
  for (std::size_t i = 0; i < headerIndex; ++i) t.rows.push_back(LanguageRow{{"F1", "X", "", "x", "", "X"}});
  t.rows.push_back(LanguageRow{{"F1", "MemHilfe", "", "Kopf", "", "Head"}});
  t.rows.push_back(LanguageRow{{"F1", "MemHilfe", "", "Eins", "", "One"}});
  t.rows.push_back(LanguageRow{{"F1", "MemHilfe", "", "Zwei", "", "Two\t"}});
  for (std::size_t i = 0; i < rowsAfterNotes; ++i) t.rows.push_back(LanguageRow{{"F1", "Y", "", "y", "", "Y"}});
  return t;
}

TEST(FindRowIndexFrom, SearchesFromRow201AndNeverBeyondTheTable) {
  LanguageTable t = NotesTable(205, 0);
  EXPECT_EQ(FindRowIndexFrom(t, "MemHilfe"), 205u);
  EXPECT_EQ(FindRowIndexFrom(t, "Nothing"), std::nullopt);
  // A row before 201 is not seen.
  LanguageTable early = NotesTable(10, 300);
  EXPECT_EQ(FindRowIndexFrom(early, "MemHilfe"), std::nullopt);
  // The very last row is seen.
  t.rows.push_back(LanguageRow{{"F1", "Last", "", "", "", ""}});
  EXPECT_EQ(FindRowIndexFrom(t, "Last"), t.rows.size() - 1);
  // A table shorter than 201 rows.
  EXPECT_EQ(FindRowIndexFrom(Table(2, {LanguageRow{{"F1", "MemHilfe"}}}), "MemHilfe"), std::nullopt);
}

TEST(ImportantNotes, RowsAfterTheHeaderWithAnEmptyLineAfterTheFirst) {
  std::vector<std::string> expected{"One", "", "Two"};
  EXPECT_EQ(ImportantNotes(NotesTable(200, 0)), expected);  // the block ends the table
  EXPECT_EQ(ImportantNotes(NotesTable(250, 3)), expected);  // the block ends at the next other row
  LanguageTable german = NotesTable(200, 0);
  german.selector = 1;
  EXPECT_EQ(ImportantNotes(german), (std::vector<std::string>{"Eins", "", "Zwei"}));
  EXPECT_TRUE(ImportantNotes(NotesTable(20, 0)).empty());
}

class StartLanguage : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::CopyShippedData(dir);
    folders = ProgramFoldersFromFolder(dir.path());
  }
  testing::FakeServices fake;
  testing::TempDir dir;
  ProgramFolders folders;
  Settings settings;
  LanguageTable table;
  std::string SettingsBytes() {
    std::string b;
    ReadWholeFile(dir.File("EinStell.Txt"), b);
    return b;
  }
};

TEST_F(StartLanguage, FirstStartCreatesTheSettingsAndReadsGerman) {
  ASSERT_FALSE(FileExists(dir.File("EinStell.Txt"))) << "the settings file is not shipped";
  LoadStartLanguage(folders, settings, table, fake.messages);
  EXPECT_EQ(SettingsBytes(), "Sprache: 0\r\nWET no\r\n");
  EXPECT_EQ(settings.language, 0);
  EXPECT_EQ(table.selector, 1);
  EXPECT_EQ(table.tableFile, dir.File("Sprache.txt"));
  EXPECT_EQ(table.helpFile, dir.path());
  EXPECT_FALSE(table.rows.empty());
  EXPECT_TRUE(fake.messages.shown.empty());
  EXPECT_EQ(Translate(table, "weiter"), "weiter");
}

TEST_F(StartLanguage, GermanAndEnglishShareTheEnglishFile) {
  dir.Write("EinStell.Txt", "Sprache: 1\r\nWET ja\r\n");
  LoadStartLanguage(folders, settings, table, fake.messages);
  EXPECT_EQ(table.tableFile, dir.File("SpracheEN.txt"));
  EXPECT_EQ(table.selector, 1);
  EXPECT_EQ(table.helpFile, dir.File("HelpTolvekDE.hlp"));
  EXPECT_TRUE(settings.forestDevelopmentTypes);
  EXPECT_EQ(Translate(table, "weiter"), "weiter");

  dir.Write("EinStell.Txt", "Sprache: 2\r\nWET no\r\n");
  LoadStartLanguage(folders, settings, table, fake.messages);
  EXPECT_EQ(table.tableFile, dir.File("SpracheEN.txt"));
  EXPECT_EQ(table.selector, 2);
  EXPECT_EQ(Translate(table, "weiter"), "next");
}

TEST_F(StartLanguage, ForestDevelopmentTypesOnlyInGerman) {
  dir.Write("EinStell.Txt", "Sprache: 3\r\nWET ja\r\n");
  LoadStartLanguage(folders, settings, table, fake.messages);
  EXPECT_EQ(settings.language, 3);
  EXPECT_FALSE(settings.forestDevelopmentTypes);
  EXPECT_EQ(Translate(table, "zurück"), "zpět");
}

TEST_F(StartLanguage, MissingTableStartsInGermanAndSaysWhichFile) {
  dir.Write("EinStell.Txt", "Sprache: 4\r\nWET no\r\n");
  std::filesystem::remove(dir.File("SpracheFR.txt"));
  LoadStartLanguage(folders, settings, table, fake.messages);
  EXPECT_EQ(fake.exit.quits, 0);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].text,
            dir.File("SpracheFR.txt") + ":  Auf Datei kann nicht zugegrriffen werden. Auf Deutsch umgeschaltet");
  EXPECT_EQ(table.selector, 0);
  EXPECT_TRUE(table.rows.empty());
  EXPECT_EQ(Translate(table, "weiter"), "weiter");
  EXPECT_EQ(SettingsBytes(), "Sprache: 1\r\nWET no\r\n");
}

TEST_F(StartLanguage, EmptyTableIsReportedLikeAMissingOne) {
  dir.Write("EinStell.Txt", "Sprache: 5\r\nWET no\r\n");
  dir.Write("SpracheSP.txt", "");
  LoadStartLanguage(folders, settings, table, fake.messages);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_NE(fake.messages.shown[0].text.find("SpracheSP.txt:  Auf Datei"), std::string::npos);
  EXPECT_EQ(table.selector, 0);
  EXPECT_EQ(SettingsBytes(), "Sprache: 1\r\nWET no\r\n");
}

TEST_F(StartLanguage, UnreadableLanguageNumberIsReportedOnceAndGermanIsKept) {
  // No language number, an empty file, or one whose byte-order mark is followed by no number: German,
  // said once, and the file written back so that the next start is German without a word.
  for (const std::string bytes : {"Sprache:??\r\nWET no\r\n", "", "\xEF\xBB\xBF", "\xEF\xBB\xBFSprache"}) {
    dir.Write("EinStell.Txt", bytes);
    fake.messages.shown.clear();
    settings = Settings{};
    LoadStartLanguage(folders, settings, table, fake.messages);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, dir.File("EinStell.Txt") + ": Sprachnummer ungültig, Deutsch gewählt");
    EXPECT_EQ(settings.language, 0);
    EXPECT_EQ(table.selector, 1);
    EXPECT_EQ(SettingsBytes(), "Sprache: 0\r\nWET no\r\n");

    LoadStartLanguage(folders, settings, table, fake.messages);
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(settings.language, 0);
  }
  // A byte-order mark before a sound first line is no part of it: the language stays the user's.
  dir.Write("EinStell.Txt", "\xEF\xBB\xBFSprache: 2\r\nWET no\r\n");
  fake.messages.shown.clear();
  LoadStartLanguage(folders, settings, table, fake.messages);
  EXPECT_TRUE(fake.messages.shown.empty());
  EXPECT_EQ(settings.language, 2);
  EXPECT_EQ(Translate(table, "weiter"), "next");
}

TEST_F(StartLanguage, SettingsThatCannotBeCreatedAreReportedAndTheProgramGoesOn) {
  ProgramFolders missing = ProgramFoldersFromFolder(dir.File("no/such/folder"));
  LoadStartLanguage(missing, settings, table, fake.messages);
  ASSERT_GE(fake.messages.shown.size(), 1u);
  EXPECT_NE(fake.messages.shown[0].text.find("EinStell.Txt: Datei kann nicht erzeugt werden"), std::string::npos);
  EXPECT_EQ(fake.exit.quits, 0);
}

TEST_F(StartLanguage, ChosenLanguageSurvivesARestart) {
  LoadStartLanguage(folders, settings, table, fake.messages);
  ASSERT_TRUE(SwitchLanguage(folders, 6, settings, table, fake.messages));
  EXPECT_EQ(Translate(table, "zurück"), "wstecz");
  EXPECT_EQ(SettingsBytes(), "Sprache: 6\r\nWET no\r\n");

  // A fresh program in the same folder.
  Settings again;
  LanguageTable table2;
  LoadStartLanguage(folders, again, table2, fake.messages);
  EXPECT_EQ(again.language, 6);
  EXPECT_EQ(table2.tableFile, dir.File("SprachePL.txt"));
  EXPECT_EQ(Translate(table2, "zurück"), "wstecz");
}

TEST_F(StartLanguage, SwitchToGermanKeepsTheForestDevelopmentTypeFlag) {
  settings.forestDevelopmentTypes = true;
  ASSERT_TRUE(SwitchLanguage(folders, 1, settings, table, fake.messages));
  EXPECT_EQ(SettingsBytes(), "Sprache: 1\r\nWET ja\r\n");
  ASSERT_TRUE(SwitchLanguage(folders, 2, settings, table, fake.messages));
  EXPECT_EQ(SettingsBytes(), "Sprache: 2\r\nWET no\r\n");
}

// ---- The lists of the window translation

std::vector<TextAssignment> For(const std::vector<TextAssignment>& all, const std::string& window,
                                const std::string& component) {
  std::vector<TextAssignment> out;
  for (const auto& a : all)
    if (a.window == window && a.component == component) out.push_back(a);
  return out;
}

TEST(FormLists, KindsTakeTheirTexts) {
  LanguageTable t = Table(2, {LanguageRow{{"F1", "BitBtn9", "Cap", "Hinweis", "Caption", "Hint"}},
                              LanguageRow{{"F1", "Button12", "Bestand", "", "Stand", ""}},
                              LanguageRow{{"F15", "NadelholzBestnde1", "Nadel", "NH", "Conifers", "conifer hint"}},
                              LanguageRow{{"", "", "", "weiter", "", "next"}},
                              LanguageRow{{"", "", "", "Bestand wählen", "", "Choose a stand"}}});
  auto f1 = PlanFormTexts(t, AllFormLists()[0]);
  // A bitmap button takes only its hint.
  auto bit = For(f1, "Form1", "BitBtn9");
  ASSERT_EQ(bit.size(), 1u);
  EXPECT_EQ(bit[0].property, TextProperty::kHint);
  EXPECT_EQ(bit[0].text, "Hint");
  // A button takes its caption; its empty hint leaves the own one.
  auto b = For(f1, "Form1", "Button12");
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0].text, "Stand");
  EXPECT_FALSE(b[1].text);
  // A control without a row keeps both.
  for (const auto& a : For(f1, "Form1", "Button17")) EXPECT_FALSE(a.text);
  // "weiter" buttons and fixed texts go through Translate.
  EXPECT_EQ(For(f1, "Form1", "GitterFertig").at(0).text, "next");

  const FormList* f15 = nullptr;
  for (const auto& l : AllFormLists())
    if (l.formId == "F15") f15 = &l;
  ASSERT_NE(f15, nullptr);
  auto plan = PlanFormTexts(t, *f15);
  auto menu = For(plan, "Form15", "NadelholzBestnde1");
  ASSERT_EQ(menu.size(), 1u);  // a menu item takes no hint
  EXPECT_EQ(menu[0].text, "Conifers");
  EXPECT_EQ(For(plan, "Form15", "").at(0).text, "Choose a stand");
  // The calliper-threshold texts also go to the main window's button.
  EXPECT_EQ(For(plan, "Form1", "BtKluppschwelle").size(), 2u);
}

TEST(FormLists, OneWindowUnderTwoFormIdsAndTheJoinedLegend) {
  int dialog1 = 0;
  for (const auto& l : AllFormLists())
    if (l.window == "BtnRightDlg1") ++dialog1;
  EXPECT_EQ(dialog1, 2);
  LanguageTable t = Table(2, {LanguageRow{{"", "", "", "N - Baumzahl je Hektar", "", "N - stems per ha"}}});
  for (const auto& l : AllFormLists()) {
    if (l.formId != "F31") continue;
    auto memo = For(PlanFormTexts(t, l), "Form31", "Memo1");
    ASSERT_EQ(memo.size(), 1u);
    EXPECT_EQ(*memo[0].text,
              "G - Grundfläche je Hektar\nN - stems per ha\nD - mittlerer BHD\nS - Ergebnis aus Probefläche\n"
              "E - Erwartungswert (wahrer Wert)");
  }
}

TEST(FormLists, MessageBoxButtonsUnderF42) {
  LanguageTable t = Table(2, {LanguageRow{{"F42", "btnYES", "ja", "", "yes", ""}}, LanguageRow{{"F42", "btnNO", "nein", "", "no", ""}}});
  auto plan = PlanFormTexts(t, MessageBoxList());
  EXPECT_EQ(For(plan, "Form42", "btnYES").at(0).text, "yes");
  EXPECT_EQ(For(plan, "Form42", "btnNO").at(0).text, "no");
  EXPECT_FALSE(For(plan, "Form42", "btnOK").at(0).text);
}

}  // namespace
}  // namespace tolvek
