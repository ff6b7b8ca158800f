// The stand level as a new user walks it, on a copy of the shipped program folder and an offscreen screen
// of 1366 x 768 pixels: the way back to the title screen after a run, plot sizes the stand cannot use,
// a pass without plots, the answers that would end the program, repeat mode, the tree-centred mark, the
// radius dialog and the English texts.
#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QScrollArea>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

#include "common/circle_pi.h"
#include "common/paths.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form15.h"
#include "simulator/forms/form18.h"
#include "simulator/forms/form23.h"
#include "simulator/forms/form44.h"
#include "simulator/forms/method_dialogs.h"
#include "simulator/forms/program.h"
#include "simulator/forms/translate_forms.h"
#include "tests/support/fakes.h"
#include "tests/support/qt_helpers.h"

using namespace tolvek;
using tolvek::testing::Snapshot;
using tolvek::testing::WhenModal;

namespace {

struct Road : tolvek::testing::ShippedProgram {
  Road() { form1().show(); }
  TForm23& form23() { return *forms().form23; }
  TBtnRightDlg1& d1() { return *forms().btnRightDlg1; }
  TBtnRightDlg4& d4() { return *forms().btnRightDlg4; }
  TBtnRightDlg5& d5() { return *forms().btnRightDlg5; }
  // "Bestand" on the title screen (or "Bestände"), then a double click on the stand's thumbnail.
  bool TakeStand(const std::string& number, bool fromTitle = true) {
    int k = 0;  // the catalogue is read as its window opens
    WhenModal(&form23(), [this, number, &k] {
      k = EntryOf(number);
      if (k > 0)
        QTest::mouseDClick(form23().Image[static_cast<std::size_t>(k)], Qt::LeftButton);
      else
        form23().Button1->click();
    });
    if (fromTitle)
      form1().BtStartClick();
    else
      form1().sBtBestand->click();
    if (forms().form15) forms().form15->hide();  // "weiter" of the description window
    return state.currentStand.loaded && k > 0;
  }
  // "Verfahren": inside runs with the method window up and must close it.
  void InMethodWindow(std::function<void()> inside) {
    WhenModal(&d1(), inside);
    form1().sBtVerfahrenClick();
  }
  void ChooseFixedCircles() {
    InMethodWindow([this] {
      WhenModal(&d5(), [this] { d5().Button5->click(); });
      d1().RdBtnVollkr->click();
      d1().OKBtn->click();
    });
  }
  void GridAndPass() {
    form1().sBtGitter->click();
    form1().GitterFertig->click();
  }
  // "Auswertung" in repeat mode, stopped with "Neues Verfahren / Druck" after `count` repetitions.
  void RunFor(int count) {
    state.run.repeatMode = true;
    bool stopped = false;
    fs.pump.onPump = [this, count, &stopped](int) {
      if (!stopped && state.evaluation.run.count >= count) {
        stopped = true;
        form1().sBtNeuesVerfahren->click();
      }
    };
    form1().sBtAuswertung->click();
    fs.pump.onPump = nullptr;
  }
};

// Whether anything visible of the main window's client area lies over w.
QStringList Covering(TForm1& f, QWidget* w) {
  QStringList over;
  const QRect r(w->mapTo(&f, QPoint(0, 0)), w->size());
  for (QWidget* c : f.Client->findChildren<QWidget*>()) {
    if (c == w || !c->isVisibleTo(&f) || c->isAncestorOf(w) || w->isAncestorOf(c)) continue;
    if (c->parentWidget() != f.Client) continue;  // the client's own children; their insides go with them
    const QRect cr(c->mapTo(&f, QPoint(0, 0)), c->size());
    const QObjectList& kids = f.Client->children();
    if (cr.intersects(r) && kids.indexOf(c) > kids.indexOf(w)) over << c->objectName();
  }
  return over;
}

}  // namespace

class StandRoadTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() { QCOMPARE(QApplication::primaryScreen()->geometry().size(), QSize(1366, 768)); }

  void afterARunTheTitleScreenIsOneClickAwayAndUncovered() {
    Road r;
    QVERIFY(r.TakeStand("22"));
    r.ChooseFixedCircles();
    r.GridAndPass();
    r.RunFor(3);
    TForm1& w = r.form1();
    QVERIFY(!r.state.run.busy);
    QVERIFY(w.ImgRepeat->isVisibleTo(&w));
    // The stand choice and the title screen: one click each.
    QVERIFY(w.sBtBestand->isEnabled());
    QVERIFY(w.sBtZurueck->isEnabled());
    w.sBtZurueck->click();
    Snapshot(&w, "road_title_after_run");
    // Whatever the run and the stand showed is gone; the language buttons lie free and answer.
    for (QWidget* gone : std::initializer_list<QWidget*>{w.ImgRepeat, w.ImgRepeatN, w.ImgRepeatD, w.sBtNeuesVerfahren,
                                                         w.sBtMultiSim, w.F1BtWiederholen, w.F1BnStatus, w.LblBestand,
                                                         w.LblFlaeche, w.LbAnzStpQ, w.Panel3, w.ScrollBox1, w.PnDaten})
      QVERIFY2(!gone->isVisibleTo(&w), qPrintable(gone->objectName()));
    for (int i = 1; i <= 7; ++i) {
      QPushButton* b = w.LanguageButton(i);
      QVERIFY(b->isVisibleTo(&w));
      const QStringList over = Covering(w, b);
      QVERIFY2(over.isEmpty(), qPrintable(b->objectName() + " under " + over.join(", ")));
    }
    QVERIFY(w.Button12->isEnabled());
    w.BitBtn16->click();  // English
    QCOMPARE(r.state.settings.language, 2);
    QCOMPARE(w.Button12->text(), QString("Stand"));
    // And back into the stand: its map and data come back with it.
    WhenModal(&r.form23(), [&] { r.form23().Button1->click(); });  // the catalogue's "zurück"
    w.Button12->click();
    QVERIFY(w.ScrollBox1->isVisibleTo(&w));
    QVERIFY(w.LblBestand->isVisibleTo(&w));
    // The run's counters went with its pictures.
    for (QLabel* counter : {w.Label18, w.LbAnzStpQ, w.LbBaumZahlQ})
      QVERIFY2(!counter->isVisibleTo(&w) || counter->text().trimmed().isEmpty(), qPrintable(counter->objectName()));
  }

  void theSpecialFunctionsGiveTheWholeTitleScreenBack() {
    Road r;
    TForm1& w = r.form1();
    w.Button17->click();
    QVERIFY(!w.Button12->isEnabled());
    w.Button18->click();  // "zurück"
    QVERIFY(w.Button12->isEnabled());
    QVERIFY(w.Button14->isEnabled());
    QVERIFY(!w.sBtBestand->isEnabled());  // as on the first title screen
    for (QWidget* back : std::initializer_list<QWidget*>{w.Label1, w.Label2, w.Label14, w.LblVersion1, w.Panel6, w.BitHinweise})
      QVERIFY2(back->isVisibleTo(&w), qPrintable(back->objectName()));
    for (int i = 1; i <= 7; ++i) QVERIFY(w.LanguageButton(i)->isVisibleTo(&w));
  }

  void plotsLargerThanTheStandAreRefusedNamingTheLargest() {
    Road r;
    QVERIFY(r.TakeStand("22"));
    bool stayedOpen = false, concentricStayed = false;
    QString shown;
    r.InMethodWindow([&] {
      WhenModal(&r.d5(), [&] {
        r.d5().Memo1->setText("99999");
        r.d5().Button5->click();
        stayedOpen = r.d5().isVisible();
        if (!r.fs.messages.shown.empty()) shown = QString::fromStdString(r.fs.messages.shown.back().text);
        r.d5().Button3->click();  // 500 m²
        r.d5().Button5->click();
      });
      r.d1().RdBtnVollkr->click();
      WhenModal(&r.d4(), [&] {
        r.d4().Button1->click();  // "freie Wahl"
        for (auto [field, text] : {std::pair{r.d4().Memo4, "3"}, std::pair{r.d4().Memo5, "6"}, std::pair{r.d4().Memo6, "9"},
                                   std::pair{r.d4().Memo9, "12"}, std::pair{r.d4().Memo10, "99999"}})
          field->setText(text);
        r.d4().OKBtn->click();
        concentricStayed = r.d4().isVisible();
        r.d4().Memo10->setText("25");
        r.d4().OKBtn->click();
      });
      r.d1().RdBtnKonzKr->click();
      r.d1().OKBtn->click();
    });
    QVERIFY(stayedOpen);
    QVERIFY(concentricStayed);
    QVERIFY2(shown.startsWith("Probekreis zu groß für den Bestand. Größter Radius: "), qPrintable(shown));
    // The largest radius is that of a circle of the stand's bounding box.
    const BoundaryPolygon& b = r.state.currentStand.boundary;
    const auto [minX, maxX] = std::minmax_element(b.x.begin() + 1, b.x.begin() + b.n + 1);
    const auto [minY, maxY] = std::minmax_element(b.y.begin() + 1, b.y.begin() + b.n + 1);
    const double largest = std::floor(std::sqrt((*maxX - *minX) * (*maxY - *minY) / kCirclePi) * 100) / 100;
    QVERIFY2(shown.contains(QString::number(largest, 'f', 2) + " m"), qPrintable(shown));
    QCOMPARE(int(r.state.sampling.method.code), int(kMethodConcentric));
    QCOMPARE(r.state.sampling.method.concentricRadius[5], 25.0);
  }

  void aPassWithoutPlotsNamesItsCauseAndLeavesAWayOn() {
    Road r;
    QVERIFY(r.TakeStand("22"));
    r.ChooseFixedCircles();
    TForm1& w = r.form1();
    w.sBtGitter->click();
    SampleGrid& g = r.state.sampling.grid;
    for (int i = 1; i <= g.pointCount; ++i) g.Point(i).inside = 0;  // a grid beside the stand
    // Cancel: the end of the program is asked for; "nein" goes on with the empty pass.
    r.fs.messages.answers = {kResultCancel, kResultNo};
    w.GitterFertig->click();
    QVERIFY(r.fs.messages.Saw("Keine Probebäume gefunden"));
    QVERIFY(r.fs.messages.Saw("Programm wird beendet"));
    QCOMPARE(r.fs.exit.quits, 0);
    for (QPushButton* b : {w.sBtVerfahren, w.sBtGitter, w.sBtBestand, w.sBtZurueck, w.sBtAuswertung})
      QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
    // "Auswertung" names the cause, not a missing grid, and leaves the way on.
    r.fs.messages.shown.clear();
    w.sBtAuswertung->click();
    QVERIFY(r.fs.messages.Saw("Keine Probebäume gefunden"));
    QVERIFY(!r.fs.messages.Saw("Bitte Gitter festlegen"));
    for (QPushButton* b : {w.sBtVerfahren, w.sBtGitter, w.sBtBestand, w.sBtZurueck})
      QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
    // "ja" to the question ends the program.
    w.sBtGitter->click();
    for (int i = 1; i <= g.pointCount; ++i) g.Point(i).inside = 0;
    r.fs.messages.answers = {kResultCancel, kResultYes};
    w.GitterFertig->click();
    QCOMPARE(r.fs.exit.quits, 1);
  }

  void aMissingStandAsksBeforeTheProgramEnds() {
    Road r;
    QVERIFY(QFile::remove(QString::fromStdString(ResolveIn(r.dir.path(), "Bestande/wBestnd22.txt"))) ||
            QFile::remove(QString::fromStdString(ResolveIn(r.dir.path(), "Bestande/Bestnd22.txt"))));
    r.fs.messages.answers = {kResultNo, kResultNo};  // "Bestand nicht gefunden": No; "Programm wird beendet": nein
    WhenModal(&r.form23(), [&] {
      QTest::mouseClick(r.form23().Image[static_cast<std::size_t>(r.EntryOf("22"))], Qt::LeftButton);
      r.form23().Button1->click();
    });
    r.form1().BtStartClick();
    QVERIFY(r.fs.messages.Saw("Bestand nicht gefunden, bitte neu wählen."));
    QVERIFY(r.fs.messages.Saw("Programm wird beendet"));
    QCOMPARE(r.fs.exit.quits, 0);
  }

  void anotherMethodOrStandEndsRepeatMode() {
    Road r;
    QVERIFY(r.TakeStand("22"));
    r.ChooseFixedCircles();
    r.GridAndPass();
    r.RunFor(2);
    QVERIFY(r.state.run.repeatMode);
    TForm1& w = r.form1();
    QVERIFY(w.ImgRepeat->isVisibleTo(&w));
    // A new method: the last run's pictures go as its choice opens (they would lie under the grid group),
    // and its "Auswertung" is a single evaluation with its report, not a run.
    QStringList shownWhileChoosing;
    r.InMethodWindow([&] {
      for (QWidget* run : std::initializer_list<QWidget*>{w.ImgRepeat, w.ImgRepeatN, w.ImgRepeatD})
        if (run->isVisibleTo(&w)) shownWhileChoosing << run->objectName();
      WhenModal(&r.d5(), [&r] { r.d5().Button5->click(); });
      r.d1().RdBtnVollkr->click();
      r.d1().OKBtn->click();
    });
    QVERIFY2(shownWhileChoosing.isEmpty(), qPrintable(shownWhileChoosing.join(", ")));
    QVERIFY(!r.state.run.repeatMode);
    r.GridAndPass();
    bool reportShown = false;
    WhenModal(r.forms().form18, [&] {
      reportShown = true;
      r.forms().form18->BtnSchliessen->click();
    });
    r.form1().sBtAuswertung->click();
    QVERIFY(reportShown);
    QCOMPARE(r.state.evaluation.run.count, 0);
    // Another stand ends it as well.
    r.state.run.repeatMode = true;
    QVERIFY(r.TakeStand("01", false));
    QVERIFY(!r.state.run.repeatMode);
  }

  void theTreeCentredMarkStandsOnceAfterManyRuns() {
    Road r;
    QVERIFY(r.TakeStand("22"));
    r.ChooseFixedCircles();
    r.GridAndPass();
    for (int run = 0; run < 3; ++run) {
      r.fs.messages.answers = {kResultLeft};  // "Baum-zentriert"
      r.RunFor(2);
      r.form1().sBtAuswertung->setEnabled(true);
    }
    QCOMPARE(r.form1().LblRadius->text(), QString("Kreisfläche:       500 qm i"));
  }

  void theRadiusFieldShowsTheSizeHeld() {
    Road r;
    QVERIFY(r.TakeStand("22"));
    QString opened, afterPreset, areaAfterPreset;
    double presetArea = 0;
    r.InMethodWindow([&] {
      WhenModal(&r.d5(), [&] {
        opened = r.d5().Memo1->text() + " | " + r.d5().LbFlaeche->text().trimmed();
        r.d5().Memo1->setText("99999");
        r.d5().Button1->click();  // 25 m²
        afterPreset = r.d5().Memo1->text();
        areaAfterPreset = r.d5().LbFlaeche->text().trimmed();
        presetArea = r.d5().area;
        r.d5().Button5->click();
      });
      r.d1().RdBtnVollkr->click();
      r.d1().OKBtn->click();
    });
    QCOMPARE(opened, QString("12.6157 | 500.00 qm"));
    QCOMPARE(afterPreset, QString("2.8209"));
    QCOMPARE(areaAfterPreset, QString("25.00 qm"));
    QCOMPARE(presetArea, 25.0);
    QCOMPARE(r.state.sampling.method.circleArea, 25.0);
  }

  void englishTitlesAndTextsReadAsEnglish() {
    Road r;
    TForm1& w = r.form1();
    TranslateAllForms(r.state);
    std::map<QString, QString> german;
    for (QWidget* top : QApplication::topLevelWidgets()) german[top->objectName()] = top->windowTitle();
    w.BitBtn16->click();
    QCOMPARE(w.LblVersion1->text(), QString("Date: 24.02.2014"));
    // Every window built has a title of the table, none German or internal.
    const std::map<QString, QString> expected{
        {"Form1", "TOLVEK"},          {"BtnRightDlg1", "Sampling method"},
        {"BtnRightDlg4", "Concentric sample circles"}, {"BtnRightDlg5", "Fixed-area circles"},
        {"BtnRightDlg6", "n-tree sample"},             {"BtnRightDlg7", "Angle count sampling (Bitterlich)"},
        {"BtnRightDlg8", "Calliper threshold"},        {"BtnRightDlg40", "Understorey"},
        {"Form15", "Choose a stand"},                  {"Form18", "Stand inventory"},
        {"Form23", "Tolvek - stands"},                 {"Form35", "Stand information"},
        {"Form38", "Print position"},                  {"Form42", "Message"},
        {"Form44", "Stand preview"},                   {"BtnRightDlg3", "Tolvek"}};
    const QStringList names{"TOLVEK", "Tolvek", "Message"};
    int checked = 0;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      const QString name = top->objectName();
      if (!name.startsWith("Form") && !name.startsWith("BtnRightDlg")) continue;
      // The stand level's windows (the others' titles belong to their own levels' tests).
      if (!expected.count(name)) continue;
      const QString title = top->windowTitle();
      QCOMPARE(title, expected.at(name));
      QVERIFY2(!title.trimmed().isEmpty() && !title.contains("Form") && !QRegularExpression("^\\s*\\d+\\s*$").match(title).hasMatch(),
               qPrintable(name + ": " + title));
      QVERIFY2(title != german[name] || names.contains(title), qPrintable(name + " stays German: " + title));
      ++checked;
    }
    QCOMPARE(checked, int(expected.size()));
    // The unit and the print question.
    QVERIFY(r.TakeStand("22"));
    r.ChooseFixedCircles();
    QVERIFY2(w.LblRadius->text().endsWith("500 m²"), qPrintable(w.LblRadius->text()));
    r.GridAndPass();
    r.RunFor(2);
    QVERIFY(r.fs.messages.Saw("Print the frequency distribution?"));
  }
};

int main(int argc, char** argv) {
  const QString config = QDir::temp().filePath(QString("tolvek_stand_road_screen_%1.json").arg(QCoreApplication::applicationPid()));
  {
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return 2;
    file.write(R"({"screens":[{"name":"qa","x":0,"y":0,"width":1366,"height":768,)"
               R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
  }
  qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
  int result = 0;
  {
    QApplication app(argc, argv);
    StandRoadTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    result = QTest::qExec(&test, argc, argv);
  }
  QFile::remove(config);
  return result;
}

#include "stand_road_test.moc"
