// Help and documents on the main window: "Anweisung" with the operating-help group, every button and
// the file it has the (fake) viewer open, the theory group, "Wichtige Hinweise", and what a missing
// document or viewer does.
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "common/paths.h"
#include "simulator/documents.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form15.h"
#include "simulator/forms/method_dialogs.h"
#include "simulator/translate.h"
#include "tests/support/qt_helpers.h"

using namespace tolvek;
using tolvek::testing::Snapshot;

namespace {

struct Fixture : tolvek::testing::ShippedProgram {
  Fixture() {
    form1().show();
    form1().HideTitleScreen();  // the tool bar with "Anweisung"
  }
  void Language(LanguageNumber n) {
    SwitchLanguage(state.folders, n, state.settings, state.language, fs.messages);
  }
  // The last file the fake viewer was asked to open, relative to the program folder.
  QString Opened() const {
    if (fs.documents.opened.empty()) return {};
    const std::string& p = fs.documents.opened.back();
    return QString::fromStdString(p.rfind(dir.path(), 0) == 0 ? p.substr(dir.path().size()) : p);
  }
};

}  // namespace

class HelpDocumentsTest : public QObject {
  Q_OBJECT

 private slots:
  void anweisungShowsAndHidesTheOperatingHelp() {
    Fixture f;
    TForm1& w = f.form1();
    w.RdNeue->setChecked(true);
    w.sBtAnweisung->click();
    QVERIFY(w.GrpDtEng->isVisible());
    QCOMPARE(w.sBtAnweisung->text(), QString(" Anweisung schliessen"));
    QVERIFY(!w.RdNeue->isChecked());
    w.RdSuche->click();
    QVERIFY(w.GbNbaum->isVisible());
    Snapshot(&w, "help_theory_group");
    w.sBtAnweisung->click();
    QVERIFY(!w.GrpDtEng->isVisible());
    QVERIFY(!w.GbNbaum->isVisible());
    QVERIFY(!w.RdSuche->isChecked());
    QCOMPARE(w.sBtAnweisung->text(), QString("        Anweisung"));
    // Other commands close it as well: "Zurück zum Hauptmenü" here.
    w.sBtAnweisung->click();
    w.sBtZurueck->click();
    QVERIFY(!w.GrpDtEng->isVisible());
    QCOMPARE(w.sBtAnweisung->text(), QString("        Anweisung"));
  }

  void eachButtonOpensItsFile() {
    Fixture f;
    TForm1& w = f.form1();
    f.Language(4);  // French: its own manual, the English help
    w.sBtAnweisung->click();
    w.RdDtsch->click();
    QCOMPARE(f.Opened(), QString("AnleitungFR.htm"));
    QVERIFY(!w.BtWarten->isVisible());
    w.RdBenutzer->click();
    QCOMPARE(f.Opened(), QString("HelpTolvekEN/contents.htm"));
    w.RdNeue->click();
    QCOMPARE(f.Opened(), QString("HelpTolvekEN/121.htm"));
    w.RdAnwend->click();
    QCOMPARE(f.Opened(), QString("HelpTolvekEN/122.htm"));
    w.RdSuche->click();
    for (int i = 0; i < 7; ++i) {
      w.RbTeo[i]->click();
      QCOMPARE(f.Opened(), QString("Vorgaben/") + kTheoryDocuments[i].file);
      QVERIFY(!w.RdSuche->isChecked());
    }
    // the stand choice and the method window open the topics of their own
    f.forms().form15->BtnVerzeichnis->click();
    QCOMPARE(f.Opened(), QString("HelpTolvekEN/115.htm"));
    f.forms().btnRightDlg1->Button1->click();
    QCOMPARE(f.Opened(), QString("HelpTolvekEN/116.htm"));
    // German has its own help set
    f.Language(1);
    w.RdNeue->click();
    QCOMPARE(f.Opened(), QString("HelpTolvekDE/121.htm"));
    w.RdDtsch->click();
    QCOMPARE(f.Opened(), QString("AnleitungDE.htm"));
    for (const std::string& p : f.fs.documents.opened) QVERIFY2(FileExists(p), p.c_str());
    QCOMPARE(f.fs.messages.shown.size(), size_t(0));
  }

  void beforeTheFirstLanguageTheGermanDocumentsOpen() {
    Fixture f;
    QCOMPARE(f.state.settings.language, 0);
    TForm1& w = f.form1();
    w.sBtAnweisung->click();
    w.RdDtsch->click();
    QCOMPARE(f.Opened(), QString("AnleitungDE.htm"));
    w.RdBenutzer->click();
    QCOMPARE(f.Opened(), QString("HelpTolvekDE/contents.htm"));
  }

  void aMissingDocumentOrViewerIsNamedAndTheProgramGoesOn() {
    Fixture f;
    TForm1& w = f.form1();
    QFile::remove(QString::fromStdString(f.dir.File("Vorgaben/TheoBias.PDF")));
    w.sBtAnweisung->click();
    w.RdSuche->click();
    w.RbTeo[5]->click();
    QVERIFY(f.fs.documents.opened.empty());  // nothing handed to the viewer
    QVERIFY(f.fs.messages.Saw("Datei nicht gefunden!"));
    QVERIFY(f.fs.messages.Saw("TheoBias.PDF"));
    QVERIFY(!w.RdSuche->isChecked());

    // A viewer that cannot be started: OK no longer ends the program.
    f.fs.documents.result = false;
    f.fs.messages.answers = {kResultOk};
    w.RbTeo[6]->click();
    QVERIFY(f.fs.messages.Saw("AcrobatReader nicht gefunden. Bitte anderen Editor verwenden"));
    QVERIFY(f.fs.messages.shown.back().text.find("TheoNBaum.PDF") != std::string::npos);
    w.RdDtsch->click();
    QVERIFY(f.fs.messages.Saw("Kein Programm zum Anzeigen gefunden:"));
    QVERIFY(f.fs.messages.shown.back().text.find("AnleitungDE.htm") != std::string::npos);
    QCOMPARE(f.fs.exit.quits, 0);
    QVERIFY(w.isVisible());
  }

  void importantNotesShowTheTableBlockAndCloseOnAClick() {
    Fixture f;
    TForm1& w = f.form1();
    w.sBtZurueck->click();  // the title screen shows "Wichtige Hinweise"
    f.Language(2);
    QVERIFY(w.BitHinweise->isVisible());
    w.BitHinweise->click();
    QVERIFY(w.MemHilfe->isVisible());
    QVERIFY(!w.BitHinweise->isVisible());
    const QStringList lines = w.MemHilfe->toPlainText().split('\n');
    QCOMPARE(lines.size(), int(ImportantNotes(f.state.language).size()));
    QVERIFY(lines[0].startsWith("Tolvek is a learning program"));
    QCOMPARE(lines[1], QString());
    Snapshot(&w, "help_important_notes");
    QTest::mouseClick(w.MemHilfe->viewport(), Qt::LeftButton);
    QVERIFY(!w.MemHilfe->isVisible());
    QVERIFY(w.BitHinweise->isVisible());
  }
};

QTEST_MAIN(HelpDocumentsTest)
#include "help_documents_test.moc"
