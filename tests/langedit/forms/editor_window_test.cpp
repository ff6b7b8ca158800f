// Diruvori's window on a copy of the shipped program folder: what it shows at start, the arrows and
// their repeat, editing and saving, the search, the language field, and every way out.
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "common/paths.h"
#include "common/qt/qt_services.h"
#include "langedit/forms/form1.h"
#include "tests/langedit/fake_repeat_timer.h"
#include "tests/support/fakes.h"
#include "tests/support/qt_helpers.h"

using namespace tolvek;
using namespace tolvek::langedit;
using EditorForm = tolvek::langedit::TForm1;
using tolvek::testing::FakeRepeatTimer;
using tolvek::testing::FakeServices;
using tolvek::testing::TempDir;

namespace {

struct Editor {
  // settings: the text of "EinStell.Txt", none when empty (the window then speaks German).
  explicit Editor(const std::string& settings = {}) {
    testing::CopyShippedData(dir);
    std::filesystem::remove(dir.File("EinStell.Txt"));
    if (!settings.empty()) dir.Write("EinStell.Txt", settings);
    state.folder = dir.path();
    LoadEditorTexts(state);
    form = std::make_unique<EditorForm>(state, fs.services, timer);
  }
  EditorForm& f() { return *form; }
  std::vector<std::string> FileLines(const std::string& name) {
    std::vector<std::string> lines;
    ReadTextLines(dir.File(name), lines);
    return lines;
  }
  std::vector<LanguageRow> Shipped(const std::string& name) {
    std::vector<LanguageRow> rows;
    ReadLanguageRows(testing::SourceDataDir() + name, rows);
    return rows;
  }
  void Leave(QLineEdit* e, const QString& text) {
    e->setText(text);
    emit e->editingFinished();
  }
  TempDir dir;
  FakeServices fs;
  FakeRepeatTimer timer;
  EditorState state;
  std::unique_ptr<EditorForm> form;
};

std::string Text(QLineEdit* e) { return S(e->text()); }

}  // namespace

class EditorWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startShowsRowTenOfTurkishBesideTheReference() {
    Editor e;
    const auto en = e.Shipped("SpracheEN.txt");
    const auto tr = e.Shipped("SpracheTR.txt");
    QCOMPARE(e.f().edSprache->text(), QString("7"));  // the language loaded, not "3"
    QCOMPARE(e.f().lbSP->text(), QString("TR"));
    QCOMPARE(e.f().lbRowNr->text(), QString("10"));
    QCOMPARE(e.f().edRowNr3->text(), QString("10"));
    QCOMPARE(Text(e.f().Edit0), en[9].field[0]);
    QCOMPARE(Text(e.f().Edit2), en[9].field[2]);
    QCOMPARE(Text(e.f().Edit4), en[9].field[4]);
    QCOMPARE(Text(e.f().Edit6), tr[9].field[4]);
    // Fields that are never written back cannot be typed into.
    for (QLineEdit* r : {e.f().Edit4, e.f().Edit5, e.f().Edit6, e.f().Edit7}) QVERIFY(r->isReadOnly());
    QVERIFY(!e.f().Edit2->isReadOnly());
    // The grid holds every row, not 509 at most.
    QCOMPARE(e.f().StringGrid1->model()->rowCount(), static_cast<int>(en.size()));
    QCOMPARE(e.f().StringGrid1->currentIndex().row(), 9);
    QCOMPARE(e.f().StringGrid1->model()->headerData(4, Qt::Horizontal).toString(), QString("Hinweis / Meldung"));
    QVERIFY(e.fs.messages.shown.empty());
    e.f().show();
    QVERIFY(QTest::qWaitForWindowExposed(&e.f()));
    testing::Snapshot(&e.f(), "diruvori_start");
  }

  void arrowsStepAndRepeatWhileHeld() {
    Editor e;
    QTest::mousePress(e.f().sbDown, Qt::LeftButton);
    QCOMPARE(e.state.referenceRow, 11);
    QCOMPARE(e.timer.interval, 150u);
    QVERIFY(e.timer.Fire());
    QVERIFY(e.timer.Fire());
    QCOMPARE(e.f().lbRowNr->text(), QString("13"));
    QCOMPARE(e.f().edRowNr3->text(), QString("13"));
    QCOMPARE(e.f().StringGrid1->currentIndex().row(), 12);
    QTest::mouseRelease(e.f().sbDown, Qt::LeftButton);
    QVERIFY(!e.timer.Fire());
    QCOMPARE(e.state.referenceRow, 13);
    // The target arrows move the target row alone.
    QTest::mousePress(e.f().sb3UP, Qt::LeftButton);
    QTest::mouseRelease(e.f().sb3UP, Qt::LeftButton);
    QCOMPARE(e.f().edRowNr3->text(), QString("12"));
    QCOMPARE(e.f().lbRowNr->text(), QString("13"));
    QCOMPARE(Text(e.f().Edit6), e.Shipped("SpracheTR.txt")[11].field[4]);
  }

  void rowNumbersOutOfRangeAreKeptWithinTheTable() {
    Editor e;
    e.Leave(e.f().edRowNr, "100000");
    QCOMPARE(e.state.referenceRow, static_cast<int>(e.state.rows.size()));
    QCOMPARE(e.f().edRowNr->text(), QString::number(e.state.rows.size()));
    e.Leave(e.f().edRowNr, "zwölf");
    QCOMPARE(e.f().edRowNr->text(), QString::number(e.state.rows.size()));
    e.Leave(e.f().edRowNr, "0");
    QCOMPARE(e.state.referenceRow, 1);
  }

  void everyEditedRowIsSavedAndTheProgramEnds() {
    Editor e;
    const std::size_t rows = e.state.rows.size();
    // A TAB and a line break pasted into fields, then another row edited after moving on.
    e.f().Edit2->setText("Stand\tzeichnen");
    e.f().Edit3->setText("zwei\r\nZeilen");
    QTest::mousePress(e.f().sbDown, Qt::LeftButton);
    QTest::mouseRelease(e.f().sbDown, Qt::LeftButton);
    QCOMPARE(e.f().StringGrid1->model()->index(9, 3).data().toString(), QString("Stand zeichnen"));
    e.f().Edit3->setText("neuer Hinweis");
    e.fs.messages.answers = {kResultOk};
    QTest::mouseClick(e.f().btWrite, Qt::LeftButton);
    const auto lines = e.FileLines("SpracheTR.txt");
    QCOMPARE(lines.size(), rows);
    const LanguageRow row10 = SplitLanguageLine(lines[9]), row11 = SplitLanguageLine(lines[10]);
    QCOMPARE(row10.field[kFieldGermanCaption], std::string("Stand zeichnen"));
    QCOMPARE(row10.field[kFieldGermanHint], std::string("zwei  Zeilen"));
    QCOMPARE(row11.field[kFieldGermanHint], std::string("neuer Hinweis"));
    QVERIFY(e.fs.messages.Saw("Datei erfolgreich gespeichert"));
    QCOMPARE(e.fs.exit.quits, 1);
  }

  void aFailedWriteKeepsTheWindowAndItsEdits() {
    Editor e;
    e.f().show();
    QVERIFY(QTest::qWaitForWindowExposed(&e.f()));
    // The folder read-only, and (for a user whom that does not stop) the file's name taken by a folder.
    const std::string target = e.dir.File("SpracheTR.txt");
    std::filesystem::remove(target);
    std::filesystem::create_directory(target);
    std::filesystem::permissions(e.dir.path(), std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                                   std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    e.f().Edit2->setText("bleibt");
    QTest::mouseClick(e.f().btWrite, Qt::LeftButton);
    QVERIFY(e.fs.messages.Saw("Datei konnte nicht geschrieben werden:"));
    QVERIFY(!e.fs.messages.Saw("erfolgreich"));
    QCOMPARE(e.fs.exit.quits, 0);
    QVERIFY(e.f().isVisible());
    QCOMPARE(e.state.rows[9].field[kFieldGermanCaption], std::string("bleibt"));
    // Closing asks to save; the write fails again and the window stays.
    e.fs.messages.answers = {kResultYes};
    e.f().close();
    QVERIFY(e.f().isVisible());
    QCOMPARE(e.fs.exit.quits, 0);
    // Once the way is free, "Ende" and "ja" save and end.
    std::filesystem::permissions(e.dir.path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    std::filesystem::remove(target);
    e.fs.messages.answers = {kResultYes, kResultOk};
    QTest::mouseClick(e.f().btEnde, Qt::LeftButton);
    QVERIFY(!e.f().isVisible());
    QCOMPARE(e.fs.exit.quits, 1);
    QCOMPARE(SplitLanguageLine(e.FileLines("SpracheTR.txt")[9]).field[kFieldGermanCaption], std::string("bleibt"));
  }

  void closingAsksAndNoWritesNothing() {
    Editor e;
    e.f().show();
    QVERIFY(QTest::qWaitForWindowExposed(&e.f()));
    std::string before;
    ReadWholeFile(e.dir.File("SpracheTR.txt"), before);
    e.f().Edit2->setText("verworfen");
    e.fs.messages.answers = {kResultNo};
    e.f().close();
    QVERIFY(e.fs.messages.Saw("Dateien speichern?"));
    QVERIFY(!e.f().isVisible());
    QCOMPARE(e.fs.exit.quits, 1);
    std::string after;
    ReadWholeFile(e.dir.File("SpracheTR.txt"), after);
    QVERIFY(after == before);
  }

  void searchFindsTheNextRowOrSaysSo() {
    Editor e;
    e.f().show();
    QVERIFY(QTest::qWaitForWindowExposed(&e.f()));
    // Column 3 (German captions) chosen by a click into the grid at row 10.
    QTableView* grid = e.f().StringGrid1;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(9, 3)).center());
    QCOMPARE(e.state.column, 3);
    QTest::keyClicks(e.f().Edit8, "Bestand");
    QTest::mouseClick(e.f().Bt1, Qt::LeftButton);
    const auto en = e.Shipped("SpracheEN.txt");
    int expected = 0;
    for (std::size_t r = 10; r < en.size() && !expected; ++r)
      if (en[r].field[kFieldGermanCaption].find("Bestand") != std::string::npos) expected = static_cast<int>(r) + 1;
    QVERIFY(expected > 0);
    QCOMPARE(e.state.referenceRow, expected);
    QCOMPARE(e.state.targetRow, expected);
    QCOMPARE(grid->currentIndex().row(), expected - 1);
    QCOMPARE(Text(e.f().Edit2), en[static_cast<std::size_t>(expected - 1)].field[kFieldGermanCaption]);
    // Case counts.
    e.f().Edit8->setText("bestand");
    QTest::mouseClick(e.f().Bt1, Qt::LeftButton);
    QVERIFY(e.fs.messages.Saw("nich gefunden"));
    QCOMPARE(e.state.referenceRow, expected);
  }

  void languageFieldSwitchesAndRefusesWhatItCannot() {
    Editor e;
    e.Leave(e.f().edSprache, "9");
    QVERIFY(e.fs.messages.Saw("Nur die Sprachen 1 bis 7 sind möglich"));
    QCOMPARE(e.f().edSprache->text(), QString("7"));
    QCOMPARE(e.state.target, 7);
    e.Leave(e.f().edSprache, "3");
    QCOMPARE(e.f().lbSP->text(), QString("CZ"));
    QCOMPARE(Text(e.f().Edit6), e.Shipped("SpracheCZ.txt")[9].field[4]);
    // Copied texts would be lost: the switch asks, and "nein" keeps Czech.
    QTest::mouseClick(e.f().Button1, Qt::LeftButton);
    QCOMPARE(Text(e.f().Edit6), Text(e.f().Edit4));
    e.fs.messages.answers = {kResultNo};
    e.Leave(e.f().edSprache, "4");
    QCOMPARE(e.state.target, 3);
    QCOMPARE(e.f().edSprache->text(), QString("3"));
    QCOMPARE(Text(e.f().Edit6), Text(e.f().Edit4));
    // English writes "Sprache.txt"; the reference edits stay through the switch.
    e.f().Edit2->setText("geändert");
    e.fs.messages.answers = {kResultYes};
    e.Leave(e.f().edSprache, "2");
    QCOMPARE(e.f().lbSP->text(), QString());
    QCOMPARE(e.state.rows[9].field[kFieldGermanCaption], std::string("geändert"));
    QCOMPARE(TargetFilePath(e.state), e.dir.File("Sprache.txt"));
  }

  void rowButtonsShiftTheTargetTexts() {
    Editor e;
    const auto tr = e.Shipped("SpracheTR.txt");
    // The last row has texts: inserting asks first, and "nein" changes nothing.
    e.fs.messages.answers = {kResultNo};
    QTest::mouseClick(e.f().BtRowAdd, Qt::LeftButton);
    QVERIFY(e.fs.messages.Saw("Die Texte der letzten Zeile gehen verloren"));
    QCOMPARE(Text(e.f().Edit6), tr[9].field[4]);
    e.fs.messages.answers = {kResultYes};
    QTest::mouseClick(e.f().BtRowAdd, Qt::LeftButton);
    QCOMPARE(Text(e.f().Edit6), std::string());
    QTest::mouseClick(e.f().sb3Down, Qt::LeftButton);
    QCOMPARE(Text(e.f().Edit6), tr[9].field[4]);
    // Deleting at row 10 brings the old row 11 up; the last row is empty now, so inserting asks nothing.
    QTest::mouseClick(e.f().sb3UP, Qt::LeftButton);
    QTest::mouseClick(e.f().BzRowDel, Qt::LeftButton);
    QTest::mouseClick(e.f().BzRowDel, Qt::LeftButton);
    QCOMPARE(Text(e.f().Edit6), tr[10].field[4]);
    const std::size_t asked = e.fs.messages.shown.size();
    QTest::mouseClick(e.f().BtRowAdd, Qt::LeftButton);
    QCOMPARE(e.fs.messages.shown.size(), asked);
    // "+" adds a reference row and the grid grows with it.
    const int rows = e.f().StringGrid1->model()->rowCount();
    QTest::mouseClick(e.f().BtPlus, Qt::LeftButton);
    QCOMPARE(e.f().StringGrid1->model()->rowCount(), rows + 1);
    QCOMPARE(Text(e.f().Edit0), std::string());
  }

  void windowTextsComeFromTheEditorsRows() {
    Editor e("Sprache: 2\r\nWET no\r\n");
    QCOMPARE(e.f().btWrite->text(), QString("save"));
    QCOMPARE(e.f().Bt1->text(), QString("search"));
    QCOMPARE(e.f().Label1->text(), QString("Language"));
    QCOMPARE(e.f().BtPlus->text(), QString("+"));
    QCOMPARE(e.f().Edit8->toolTip(), QString("Search term"));
    QCOMPARE(e.f().StringGrid1->model()->headerData(0, Qt::Horizontal).toString(), QString("No."));
    // Every row of the editor's form id names a control of the window.
    int editorRows = 0;
    for (const LanguageRow& r : e.Shipped("SpracheEN.txt")) {
      if (r.field[kFieldFormId] != kEditorFormId) continue;
      ++editorRows;
      QVERIFY2(e.f().findChild<QWidget*>(Q(r.field[kFieldComponent])), r.field[kFieldComponent].c_str());
    }
    QCOMPARE(editorRows, 25);
    // Messages in the chosen language too.
    e.f().Edit8->setText("gibt es nicht");
    QTest::mouseClick(e.f().Bt1, Qt::LeftButton);
    QVERIFY(e.fs.messages.Saw("not found"));
    e.f().show();
    QVERIFY(QTest::qWaitForWindowExposed(&e.f()));
    testing::Snapshot(&e.f(), "diruvori_english");
  }

  void withoutTheReferenceOnlyEndIsLeft() {
    TempDir dir;
    testing::CopyShippedData(dir);
    std::filesystem::remove(dir.File("SpracheEN.txt"));
    FakeServices fs;
    FakeRepeatTimer timer;
    EditorState state;
    state.folder = dir.path();
    EditorForm form(state, fs.services, timer);
    QVERIFY(fs.messages.Saw("SpracheEN.txt: Datei kann nicht gelesen werden"));
    QVERIFY(!form.btWrite->isEnabled());
    QVERIFY(!form.BtPlus->isEnabled());
    QVERIFY(form.btEnde->isEnabled());
    form.show();
    QTest::mouseClick(form.btEnde, Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QCOMPARE(fs.messages.shown.size(), std::size_t{1});  // nothing to save, nothing asked
    QVERIFY(FileExists(dir.File("SpracheTR.txt")));
  }
};

QTEST_MAIN(EditorWindowTest)
#include "editor_window_test.moc"
