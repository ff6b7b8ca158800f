// The simulator's frame on the offscreen platform: windows built in order, title screen, ending, the
// own message box answered by a timer clicking its buttons, and the small dialogs.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <QtTest>
#include <functional>
#include <memory>

#include "simulator/forms/form1.h"
#include "simulator/forms/form42.h"
#include "simulator/forms/program.h"
#include "simulator/forms/small_dialogs.h"
#include "simulator/forms/text_viewer.h"
#include "tests/support/fakes.h"

using namespace tolvek;
using tolvek::testing::FakeServices;
using tolvek::testing::TempDir;

namespace {

// A fresh program per test: fake services, its own state and all windows.
struct Fixture {
  explicit Fixture(bool ownBox = false) : state(fs.services) {
    tolvek::testing::CopyShippedData(dir);
    state.folders = ProgramFoldersFromFolder(dir.path());
    program = std::make_unique<SimulatorProgram>(state, ownBox);
  }
  TForm1& form1() { return *program->forms.form1; }
  TempDir dir;
  FakeServices fs;
  SimulatorState state;
  std::unique_ptr<SimulatorProgram> program;
};

// Clicks, as soon as a modal window is up, the button of that name in it.
void ClickInModalSoon(const char* buttonName, QString* textSeen = nullptr) {
  QTimer::singleShot(0, [buttonName, textSeen] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
      ClickInModalSoon(buttonName, textSeen);
      return;
    }
    if (textSeen)
      if (auto* l = modal->findChild<QLabel*>("LbMeldung")) *textSeen = l->text();
    if (QString(buttonName) == "Escape") {
      QTest::keyClick(modal, Qt::Key_Escape);
      return;
    }
    auto* b = modal->findChild<QPushButton*>(buttonName);
    QVERIFY(b && b->isVisible());
    b->click();
  });
}

}  // namespace

class FrameTest : public QObject {
  Q_OBJECT

 private slots:
  void windowsAreBuiltInOrder() {
    Fixture f;
    QVERIFY(f.program->forms.form1);
    QVERIFY(f.program->forms.form42);
    QVERIFY(f.program->forms.btnRightDlg8 && f.program->forms.form32 && f.program->forms.form34 &&
            f.program->forms.form38);
    QCOMPARE(f.form1().objectName(), QString("Form1"));
    QCOMPARE(f.fs.messages.shown.size(), size_t(0));  // start-up asks nothing
    QCOMPARE(f.state.gridRotation, 0.06);
    QVERIFY(f.state.run.graphics);
    QVERIFY(!f.state.run.enterpriseMode);
    QCOMPARE(f.state.random.Seed(), f.fs.clock.seed);  // seeded from the clock
  }

  void titleScreenShowsModesAndLanguages() {
    Fixture f;
    f.form1().show();
    for (const char* name : {"Button12", "Button14", "Button17", "BtEnde"}) {
      auto* b = f.form1().findChild<QPushButton*>(name);
      QVERIFY2(b && b->isVisible(), name);
    }
    QCOMPARE(f.form1().findChild<QPushButton*>("Button12")->text(), QString("Bestand"));
    for (int i = 15; i <= 21; ++i) {
      auto* b = f.form1().findChild<QPushButton*>(QString("BitBtn%1").arg(i));
      QVERIFY(b && b->isVisible());
    }
    QCOMPARE(f.form1().BitBtn15->toolTip(), QString("Deutsch"));
    QCOMPARE(f.form1().BitBtn16->toolTip(), QString("Englisch"));
    QVERIFY(!f.form1().sBtGitter->isEnabled());  // the bar stands ready, its work buttons off
    QVERIFY(!f.form1().GrpExtras->isVisible());
    QVERIFY(!f.form1().GroupBox1->isVisible());
    QVERIFY(!f.form1().sBtNeuesVerfahren->isEnabled());
    QVERIFY(!f.form1().sBtMultiSim->isEnabled());
    QCOMPARE(f.form1().LblVersion1->text(), QString("Datum: 24.02.2014"));
    // Captions keep the blanks that leave room for a glyph.
    QCOMPARE(f.form1().sBtBestand->text(), QString::fromUtf8("       Bestände"));
    QCOMPARE(f.form1().sBtGitter->text(), QString("         Gitter"));
  }

  void standModeShowsTheToolBarAndHidesTheTitle() {
    Fixture f;
    f.form1().show();
    ClickInModalSoon("Escape");  // the stand choice opens at once: left without a stand
    f.form1().BtStartClick();
    QVERIFY(f.form1().sBtBestand->isVisible() && f.form1().sBtBestand->isEnabled());
    QVERIFY(f.form1().sBtVerfahren->isVisible());
    QVERIFY(f.form1().sBtAuswertung->isVisible() && !f.form1().sBtAuswertung->isEnabled());
    QVERIFY(!f.form1().Button12->isVisible());
    QVERIFY(!f.form1().BitBtn21->isVisible());
    QVERIFY(f.form1().BitStop->isVisible());
    f.form1().sBtZurueckClick();
    QVERIFY(f.form1().BitBtn15->isVisible() && f.form1().BitBtn21->isVisible());
    QVERIFY(f.form1().Button12->isVisible() && f.form1().Button12->isEnabled());
    QVERIFY(f.form1().Label1->isVisible());
    QVERIFY(!f.form1().ScrollBox1->isVisible());
    QVERIFY(!f.form1().ImgText->isVisible());
  }

  void specialFunctionsKeepTheModeButtonsAndFreeBetriebAfterwards() {
    Fixture f;
    f.form1().show();
    f.form1().Button17->click();
    QVERIFY(f.state.run.specialFunctions);
    QVERIFY(f.form1().Panel7->isVisible());
    QVERIFY(f.form1().Button14->isVisible() && !f.form1().Button14->isEnabled());
    QVERIFY(!f.form1().Button12->isEnabled());
    QVERIFY(!f.form1().Label1->isVisible());
    f.form1().Button21->click();
    QVERIFY(!f.form1().Panel7->isVisible());
    QVERIFY(f.form1().Button14->isVisible() && f.form1().Button14->isEnabled());
  }

  void endeAsksAndNeinReturns() {
    Fixture f;
    f.fs.messages.answers = {kResultNo};
    f.form1().BtEnde->click();
    QCOMPARE(f.fs.messages.shown.size(), size_t(1));
    const auto& m = f.fs.messages.shown[0];
    QCOMPARE(QString::fromStdString(m.text), QString("Programm wird beendet"));
    QCOMPARE(m.kind, int(kKindQuestion));
    QCOMPARE(m.left, 3);
    QCOMPARE(m.top, 650);
    QCOMPARE(f.fs.exit.quits, 0);
  }

  void endeJaQuitsAndBitStopDoesTheSame() {
    Fixture f;
    f.fs.messages.answers = {kResultYes};
    f.form1().BitStop->click();
    QCOMPARE(f.fs.exit.quits, 1);
    f.form1().BtEnde->click();  // already ending: not asked twice
    QCOMPARE(f.fs.messages.shown.size(), size_t(1));
  }

  void endeWhileALoopRunsStopsTheLoopFirst() {
    Fixture f;
    f.state.run.busy = true;
    f.fs.messages.answers = {kResultYes};
    f.form1().BtEnde->click();
    QVERIFY(f.state.run.repetitionStop);
    QVERIFY(f.state.run.endRequested);
    QVERIFY(f.state.run.waitAbort);
    QCOMPARE(f.fs.exit.quits, 1);
  }

  void busyLoopLetsOnlyTheRunControlsAct() {
    Fixture f;
    ClickInModalSoon("Escape");
    f.form1().BtStartClick();
    f.state.run.busy = true;
    QVERIFY(f.form1().GuardBusy());
    f.form1().sBtExtras->setEnabled(true);
    f.form1().sBtExtras->click();
    QVERIFY(!f.form1().GrpExtras->isVisibleTo(&f.form1()));
    f.form1().F1BnStatus->click();  // a run control: acts
    QVERIFY(!f.state.run.graphics);
    QCOMPARE(f.form1().F1BnStatus->text(), QString("Grafik ein"));
    QVERIFY(!f.form1().sBtPausePlus->isEnabled());
    f.state.run.busy = false;
    f.form1().sBtExtras->click();
    QVERIFY(f.form1().GrpExtras->isVisibleTo(&f.form1()));
    f.form1().Button19->click();
    QVERIFY(!f.form1().GrpExtras->isVisibleTo(&f.form1()));
  }

  void cancelOnTheSampleTreeMessageAsksBeforeTheProgramEnds() {
    Fixture f;
    f.state.sampleTreeCount = 1501;
    f.fs.messages.answers = {kResultCancel, kResultNo};
    f.form1().sBtProbeBaeumeClick();
    QCOMPARE(f.fs.messages.shown.size(), size_t(2));
    QVERIFY(f.fs.messages.Saw("Nur bis 1500 Probebäume darstellbar. File "));
    QVERIFY(f.fs.messages.shown[0].platform);
    QCOMPARE(QString::fromStdString(f.fs.messages.shown[1].text), QString("Programm wird beendet"));
    QCOMPARE(f.fs.exit.quits, 0);
    // "ja" to the question ends it; Yes and No to the message itself never ask.
    f.fs.messages.answers = {kResultCancel, kResultYes};
    f.form1().sBtProbeBaeumeClick();
    QCOMPARE(f.fs.exit.quits, 1);
    Fixture g;
    g.state.sampleTreeCount = 1501;
    for (int answer : {kResultYes, kResultNo}) {
      g.fs.messages.answers = {answer};
      g.form1().sBtProbeBaeumeClick();
    }
    QVERIFY(!g.fs.messages.Saw("Programm wird beendet"));
  }

  void sampleTreesUpTo1500AreShownInTheViewer() {
    Fixture f;
    f.dir.Write("Temp/ProbeBa.Txt", "Nr  BHD\r\n 1  32.5\r\n");
    f.state.sampleTreeCount = 1500;
    f.form1().sBtProbeBaeumeClick();
    QVERIFY(f.program->forms.btnRightDlg3->isVisible());
    QVERIFY(f.program->forms.btnRightDlg3->Memo1->toPlainText().contains("32.5"));
    f.program->forms.btnRightDlg3->hide();
  }

  void aClickOnTheWaitPanelAsksBeforeTheProgramEnds() {
    // A click on "Bitte warten ..." during a run: "nein" lets the run go on, "ja" ends it as "Ende" does.
    Fixture f;
    f.form1().show();
    f.form1().Panel15->show();
    f.state.run.busy = true;
    f.fs.messages.answers = {kResultNo};
    QTest::mouseClick(f.form1().Panel15, Qt::LeftButton);
    QVERIFY(f.fs.messages.Saw("Programm wird beendet"));
    QCOMPARE(f.fs.exit.quits, 0);
    QVERIFY(!f.state.run.repetitionStop);
    QVERIFY(!f.state.run.endRequested);
    f.fs.messages.answers = {kResultYes};
    QTest::mouseClick(f.form1().Panel15Text, Qt::LeftButton);
    QCOMPARE(f.fs.exit.quits, 1);
    QVERIFY(f.state.run.repetitionStop);
    QVERIFY(f.state.run.endRequested);
    f.state.run.busy = false;
  }

  void rotationButtonsKeepTheGridNearlyStraight() {
    Fixture f;
    for (int i = 0; i < 40; ++i) f.form1().BitBtn13->click();
    QVERIFY(f.state.gridRotation < 0.32 && f.state.gridRotation >= 0.3);
    for (int i = 0; i < 80; ++i) f.form1().BitBtn14->click();
    QVERIFY(f.state.gridRotation > -0.32 && f.state.gridRotation <= -0.3);
  }

  void remarksButtonTogglesTheMemo() {
    Fixture f;
    f.form1().show();
    f.form1().sBtAnmerkClick();
    QVERIFY(f.form1().Memo1->isVisible());
    QCOMPARE(f.form1().sBtAnmerk->text(), QString("Anmerkung schliessen"));
    f.form1().sBtAnmerkClick();
    QVERIFY(!f.form1().Memo1->isVisible());
    QCOMPARE(f.form1().sBtAnmerk->text(), QString("       Anmerkung"));
  }

  void ownMessageBoxAnswersWithTheButtonPressed() {
    Fixture f(true);
    ClickInModalSoon("btnNO");
    QCOMPARE(f.state.services.messages->AskYesNoAt("Programm wird beendet", kKindQuestion, 3, 650), 7);
    QCOMPARE(f.state.messageTop, 650);
    QCOMPARE(f.fs.beeper.beeps, 1);
    ClickInModalSoon("btnYES");
    QCOMPARE(f.state.services.messages->AskYesNoAt("Noch einmal?", kKindQuestion, 3, 650), 6);
    // "Ende" through the own box: "ja" quits.
    ClickInModalSoon("btnYES");
    f.form1().BtEnde->click();
    QCOMPARE(f.fs.exit.quits, 1);
  }

  void ownMessageBoxKeepsTheTopAndShowsPlainText() {
    Fixture f(true);
    TForm42& box = *f.program->forms.form42;
    ClickInModalSoon("btnYES");
    f.state.services.messages->AskYesNoAt("Frage", kKindQuestion, 3, 300);
    QString seen;
    ClickInModalSoon("btnOK", &seen);
    QCOMPARE(f.state.services.messages->ShowMessageBox("<b>fett</b>#zweite", kKindInfo, kButtonsOk), 1);
    QCOMPARE(seen, QString("<b>fett</b>\nzweite"));
    QCOMPARE(box.LbMeldung->textFormat(), Qt::PlainText);
    QCOMPARE(box.x(), 2);
    QCOMPARE(box.y(), 300);
    QCOMPARE(box.height(), 90);
    QVERIFY(!box.ImgConfirm->isVisibleTo(&box));
  }

  void ownMessageBoxNamedButtonsAndEscape() {
    Fixture f(true);
    ClickInModalSoon("BtLinks");
    QCOMPARE(f.state.services.messages->ShowMessageBox(
                 "Gewichtung der Probebäume [Baum-zentriert,Probekreis-zentriert]", kKindQuestion, kButtonsYesNo),
             5);
    QCOMPARE(f.program->forms.form42->BtLinks->text(), QString("Baum-zentriert"));
    // 230 wide, or wider where the screen font needs room for "Probekreis-zentriert".
    TForm42& box = *f.program->forms.form42;
    QVERIFY(box.width() >= 230);
    QVERIFY(box.BtRechts->width() >= box.BtRechts->fontMetrics().horizontalAdvance("Probekreis-zentriert"));
    QVERIFY(box.BtRechts->geometry().right() < box.width());
    ClickInModalSoon("BtRechts");
    QCOMPARE(f.state.services.messages->ShowMessageBox("x [a,b]", kKindQuestion, kButtonsYesNo), 6);
    ClickInModalSoon("Escape");
    QCOMPARE(f.state.services.messages->AskYesNoAt("Lageplan weiter anzeigen?", kKindQuestion, 3, 460), 7);
    ClickInModalSoon("Escape");
    QCOMPARE(f.state.services.messages->ShowMessageBox("Hinweis", kKindInfo, kButtonsOk), 1);
  }

  void ownMessageBoxTopIsClampedOnScreen() {
    Fixture f(true);
    TForm42& box = *f.program->forms.form42;
    const int screenHeight = QGuiApplication::primaryScreen()->availableGeometry().bottom() + 1;
    ClickInModalSoon("btnNO");
    f.state.services.messages->AskYesNoAt("Frage", kKindQuestion, 3, screenHeight + 500);
    QVERIFY(box.y() + box.height() <= screenHeight);
    QCOMPARE(f.state.messageTop, screenHeight + 500);  // remembered as given
  }

  void hintsBreakAtTheFirstMarkAndStayPlain() {
    Fixture f;
    f.form1().show();
    QPushButton* b = f.form1().BtEnde;
    b->setToolTip("a#bc");
    QHelpEvent e(QEvent::ToolTip, QPoint(2, 2), b->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(b, &e);
    QCOMPARE(QToolTip::text(), QString("<qt>a<br>c</qt>"));
    b->setToolTip("<b>x</b>");
    QHelpEvent e2(QEvent::ToolTip, QPoint(2, 2), b->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(b, &e2);
    QCOMPARE(QToolTip::text(), QString("<qt>&lt;b&gt;x&lt;/b&gt;</qt>"));
    QToolTip::hideText();
  }

  void smallDialogsSetTheirFlags() {
    Fixture f;
    ClickInModalSoon("BtMitte");
    QCOMPARE(f.program->forms.form38->exec(), 1);
    QCOMPARE(f.state.printTop, 155);
    ClickInModalSoon("BtUnten");
    f.program->forms.form38->exec();
    QCOMPARE(f.state.printTop, 240);
    ClickInModalSoon("Button1");
    QCOMPARE(f.program->forms.form32->exec(), 1);
    QCOMPARE(f.state.structureAnswer, 1);
    ClickInModalSoon("Button2");
    f.program->forms.form32->exec();
    QCOMPARE(f.state.structureAnswer, 0);
    ClickInModalSoon("Btja");
    f.program->forms.form34->exec();
    QCOMPARE(f.program->forms.form34->Tag, 1);
    ClickInModalSoon("BtWeiter");
    QCOMPARE(f.program->forms.btnRightDlg8->exec(), 1);
  }
};

QTEST_MAIN(FrameTest)
#include "frame_test.moc"
