// "Auswertung" on the offscreen platform: a shipped stand sampled by the core pass, one evaluation with
// its stand report (on screen, printed to PDF, saved as a picture), and a run of repetitions driven by
// the main window's buttons while it runs.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "common/paths.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form18.h"
#include "simulator/forms/method_dialogs.h"
#include "simulator/forms/program.h"
#include "simulator/forms/text_viewer.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/grid.h"
#include "simulator/sampling/pass.h"
#include "simulator/stand/expected_vc.h"
#include "simulator/stand/stand_loader.h"
#include "tests/support/fakes.h"
#include "tests/support/qt_helpers.h"
#include "tests/support/run_watch.h"

using namespace tolvek;
using tolvek::testing::FakeServices;
using tolvek::testing::TempDir;

namespace {

// Where pictures and printouts of the test are kept for looking at them.
QString OutputFile(const char* name) {
  const QByteArray dir = qgetenv("TOLVEK_TEST_OUTPUT");
  return dir.isEmpty() ? QString() : QString::fromLocal8Bit(dir) + "/" + name;
}

// A program with a stand loaded, fixed circles of 500 m² chosen and a 50 m grid laid; the pass is the
// core's, without drawing.
struct Fixture : tolvek::testing::ShippedProgram {
  Fixture() {
    state.random.SetSeed(4711);
    const Outcome r = TryLoadStand(state, dir.path() + "Bestande/Bestnd01.txt");
    loaded = r.ok();
    state.currentStand.name = "Nadelbaum - Reinbestand";
    static_cast<void>(ReadExpectedVcTable(JoinPath(state.folders.presets, "Tolvek02.txt"), state.expectedVc));
    MethodSettings& m = state.sampling.method;
    BeginFixedCircle(m, state.language);
    static_cast<void>(ConfirmFixedCircle(m, state.language, 500.0));
    GridContext ctx;
    static_cast<void>(NewGrid(state.sampling.grid, &state.currentStand.boundary, nullptr, ctx));
    watch.gridShifted = [this] { ++passes; };
  }
  PassOutcome Pass() {
    PassEnvironment env{state.sampling,
                        state.currentStand.trees,
                        state.currentStand.boundary,
                        geometry,
                        state.run,
                        state.services,
                        state.language,
                        observer};
    env.singleStepWait = false;
    return RunSamplingPass(env);
  }
  TForm18& form18() { return *program->forms.form18; }

  GeometryContext geometry;
  PassObserver observer;
  tolvek::testing::RunWatch watch{form1()};
  bool loaded = false;
  int passes = 0;
};

// As soon as the stand report is up: look at it, then close it with "schliessen".
void CloseReportSoon(Fixture& f, std::function<void(TForm18&)> look = {}) {
  QTimer::singleShot(0, [&f, look] {
    if (QApplication::activeModalWidget() != &f.form18()) {
      CloseReportSoon(f, look);
      return;
    }
    if (look) look(f.form18());
    f.form18().BtnSchliessen->click();
  });
}

}  // namespace

class EvaluationWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void singleEvaluationShowsTheReportAndWritesTheTable() {
    Fixture f;
    QVERIFY(f.loaded);
    QCOMPARE(f.Pass(), PassOutcome::Done);
    QVERIFY(!f.state.sampling.plots.Empty());
    f.form1().sBtDiagramm->setEnabled(false);
    bool seen = false;
    CloseReportSoon(f, [&](TForm18& r) {
      seen = true;
      r.resize(900, 720);
      QApplication::processEvents();
      const QImage picture = r.grab().toImage();
      if (!OutputFile("report.png").isEmpty()) picture.save(OutputFile("report.png"));
      // the page is white where the table frames and texts are not
      const QPoint centre = r.PaintBox1->mapTo(&r, QPoint(r.PaintBox1->width() / 2, 2));
      QCOMPARE(picture.pixelColor(centre), QColor(Qt::white));
    });
    f.form1().sBtAuswertung->setEnabled(true);
    f.form1().sBtAuswertung->click();
    QVERIFY(seen);
    // The report prints to a PDF file where no printer is installed: no alarm about a missing printer.
    QVERIFY(!f.fs.messages.Saw("Kein Drucker installiert"));
    const SampleEstimate& e = f.state.evaluation.estimate;
    QCOMPARE(e.plotCount, static_cast<int>(f.state.sampling.plots.plots.size()));
    QVERIFY(e.gPerHa[0] > 0.0);
    // the table of the evaluation the user looked at
    QVERIFY(FileExists(SampleTreeTablePath(f.state.folders.program)));
    // the report gave the buttons back; the run can be started now
    QVERIFY(f.form1().sBtDiagramm->isEnabled());
    QVERIFY(f.form1().sBtVerfahren->isEnabled());
    QVERIFY(f.form1().F1BtWiederholen->isEnabled());
    QVERIFY(f.form1().sBtProbeBaeume->isEnabled());
  }

  void reportPrintsOnAPdfPage() {
    Fixture f;
    QVERIFY(f.loaded);
    QCOMPARE(f.Pass(), PassOutcome::Done);
    f.state.run.showReport = false;
    f.form1().EvaluateStandRun();
    TempDir out;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QString pdf = OutputFile("report.pdf");
    if (pdf.isEmpty()) pdf = QString::fromStdString(out.File("report.pdf"));
    printer.setOutputFileName(pdf);
    QVERIFY(f.form18().PrintOn(printer));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.size() > 1000);
    QVERIFY(file.read(4) == "%PDF");
  }

  void reportPictureIsSaved() {
    Fixture f;
    QVERIFY(f.loaded);
    f.form18().resize(600, 500);
    TempDir out;
    QVERIFY(f.form18().SavePictureTo(out.File("report.png")));
    QVERIFY(FileExists(out.File("report.png")));
    QVERIFY(f.fs.messages.Saw("Tabelle gespeichert als <" + out.File("report.png") + ">"));
    // a folder that does not exist: a message, and nothing claims success
    f.fs.messages.shown.clear();
    QVERIFY(!f.form18().SavePictureTo(out.File("missing/report.png")));
    QVERIFY(!f.fs.messages.Saw("Tabelle gespeichert"));
  }

  void printingAMissingFileSaysSoAndGoesOn() {
    Fixture f;
    TBtnRightDlg3& viewer = *f.program->forms.btnRightDlg3;
    f.fs.messages.answers = {kResultCancel};
    viewer.PrintTextFile(f.dir.File("Temp/nothing.txt"));  // Cancel no longer ends the program
    QVERIFY(f.fs.messages.Saw("Datei nicht gefunden!"));
    QCOMPARE(f.fs.exit.quits, 0);
    // a file that is there prints, page after page
    std::vector<std::string> lines(100, "Zeile");
    QVERIFY(WriteTextLines(f.dir.File("lines.txt"), lines).ok());
    TempDir out;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(out.File("lines.pdf")));
    QVERIFY(viewer.PrintTextFileOn(f.dir.File("lines.txt"), printer));
    QVERIFY(QFileInfo(QString::fromStdString(out.File("lines.pdf"))).size() > 1000);
  }

  void evaluationWithoutGridSaysSoAndGivesTheGridButtonBack() {
    Fixture f;
    QVERIFY(f.loaded);
    QCOMPARE(f.Pass(), PassOutcome::Done);
    f.state.sampling.plots.Clear();
    f.state.sampling.grid.exists = false;
    f.form1().sBtAuswertung->setEnabled(true);
    f.form1().sBtAuswertung->click();
    QVERIFY(f.fs.messages.Saw("Bitte Gitter festlegen"));
    QVERIFY(f.form1().sBtGitter->isEnabled());
    QVERIFY(!f.form1().sBtBestand->isEnabled());
    QVERIFY(!f.state.evaluation.evaluated);
  }

  void wiederholenGoesWithTheMethodItWouldRepeat() {
    Fixture f;
    QVERIFY(f.loaded);
    QCOMPARE(f.Pass(), PassOutcome::Done);
    TForm1& w = f.form1();
    CloseReportSoon(f);
    w.sBtAuswertung->setEnabled(true);
    w.sBtAuswertung->click();
    QVERIFY(w.F1BtWiederholen->isEnabled());
    // "Verfahren", then "zurück" without a method
    TBtnRightDlg1& dialog = *f.program->forms.btnRightDlg1;
    QTimer::singleShot(0, [&] { dialog.CancelBtn->click(); });
    for (QLabel* l : {w.Label18, w.LbAnzStpQ, w.LbBaumZahlQ, w.LblGitterAnf, w.LblAnzStp}) l->setText("vorher");
    w.sBtVerfahren->setEnabled(true);
    w.sBtVerfahren->click();
    QCOMPARE(int(f.state.sampling.method.code), int(kMethodNone));
    QVERIFY(!w.F1BtWiederholen->isEnabled());
    QVERIFY(w.sBtBestand->isEnabled());
    // the figures of the grid the new choice forgot are gone with it
    QVERIFY(!f.state.sampling.grid.exists);
    for (QLabel* l : {w.Label18, w.LbAnzStpQ, w.LbBaumZahlQ, w.LblGitterAnf, w.LblAnzStp})
      QVERIFY2(l->text().isEmpty(), qPrintable(l->objectName()));
    // Were it pressed all the same: the grid is missing, and both the grid and the method can be chosen.
    w.F1BtWiederholenClick();
    QVERIFY(f.fs.messages.Saw("Bitte Gitter festlegen"));
    QVERIFY(w.sBtGitter->isEnabled());
    QVERIFY(w.sBtVerfahren->isEnabled());
    QVERIFY(!f.state.run.busy);
  }

  void repetitionsCountUpdateAndStopOnNeuesVerfahren() {
    Fixture f;
    QVERIFY(f.loaded);
    QCOMPARE(f.Pass(), PassOutcome::Done);
    TForm1& w = f.form1();
    // "Simulation wiederholen" after a single evaluation
    CloseReportSoon(f);
    w.sBtAuswertung->setEnabled(true);
    w.sBtAuswertung->click();
    QVERIFY(w.F1BtWiederholen->isEnabled());

    // While the run lets events through: "Zwischenergebnisse" at repetition 5 (the report opens with the
    // intermediate results), "Neues Verfahren / Druck" at repetition 12.
    int reportsSeen = 0, reportsAsked = 0;
    QString countAtStop;
    bool gridButtonDuringRun = true;
    // the table is written for the evaluations the user looks at, not for every repetition
    const std::string table = SampleTreeTablePath(f.state.folders.program);
    QVERIFY(FileExists(table));
    QFile::remove(QString::fromStdString(table));
    bool tableDuringRun = true;
    w.HideTitleScreen();
    for (QWidget* b : std::initializer_list<QWidget*>{w.sBtBestand, w.sBtVerfahren, w.sBtGitter, w.sBtAuswertung,
                                                      w.sBtDiagramm, w.sBtProbeBaeume, w.sBtZurueck, w.BtEnde})
      b->show();
    f.fs.pump.onPump = [&](int) {
      if (f.passes == 3) tableDuringRun = FileExists(table);
      if (f.passes == 10 && !OutputFile("run.png").isEmpty()) w.grab().save(OutputFile("run.png"));
      if (f.passes == 4 && !f.state.run.showReport && reportsAsked++ == 0) {
        w.sBtMultiSim->click();
        CloseReportSoon(f, [&](TForm18&) { ++reportsSeen; });
      }
      if (f.passes == 9) gridButtonDuringRun = w.sBtGitter->isEnabled();
      if (f.passes == 12 && !f.state.run.repetitionStop) {
        countAtStop = w.Label18->text();
        w.sBtNeuesVerfahren->click();
        // only the stop flag acts while the run goes on
        QVERIFY(f.state.run.busy);
      }
    };
    w.F1BtWiederholen->click();
    QVERIFY(!f.state.run.busy);
    QVERIFY(f.state.run.repeatMode);
    // stopped as the 12th repetition had shifted the grid and made its pass
    QCOMPARE(f.state.evaluation.run.count, 12);
    QCOMPARE(countAtStop, QString("  12"));
    QCOMPARE(w.Label18->text(), QString("  12"));
    QVERIFY(w.LbAnzStpQ->text().startsWith("Stichproben i.M."));
    QVERIFY(w.LbBaumZahlQ->text().startsWith("Probebäume i.M."));
    QCOMPARE(reportsSeen, 1);
    QVERIFY(!tableDuringRun);
    QVERIFY(FileExists(table));
    // closing the intermediate report gives the buttons back only when the run has ended
    QVERIFY(!gridButtonDuringRun);
    QVERIFY(w.sBtGitter->isEnabled());
    // the weighting question before the first repetition, the print question after the stop
    QVERIFY(f.fs.messages.Saw("Gewichtung der Probebäume [Baum-zentriert,Probekreis-zentriert]"));
    QVERIFY(f.fs.messages.Saw("Häufigkeitsverteilung drucken?"));
    QVERIFY(!f.state.run.repetitionFlag);
    // bias and spread of a real run are numbers, the histogram holds every counted repetition
    const RunStatistics& s = f.state.evaluation.run;
    int total = 0;
    for (int c = -25; c <= 25; ++c) total += s.HistogramCount(c);
    QCOMPARE(total, 12);
    QVERIFY(s.g.sd > 0.0);
    QVERIFY(std::isfinite(s.d.bias));
    // the grid stayed within one cell of the origin the user chose
    QVERIFY(std::abs(f.state.sampling.grid.originX - f.state.sampling.grid.baseOriginX) <= f.state.sampling.grid.dx);
  }

  void treeCentredWeightingAppliesFromTheNextPass() {
    Fixture f;
    QVERIFY(f.loaded);
    QCOMPARE(f.Pass(), PassOutcome::Done);
    TForm1& w = f.form1();
    f.state.run.repeatMode = true;
    f.fs.messages.answers = {kResultLeft};  // "Baum-zentriert"
    f.fs.pump.onPump = [&](int) {
      if (f.passes == 2) w.sBtNeuesVerfahren->click();
    };
    w.sBtAuswertung->setEnabled(true);
    w.sBtAuswertung->click();
    QVERIFY(f.state.sampling.method.weighting == WeightingMode::TreeCentred);
    QCOMPARE(f.state.evaluation.run.count, 2);
    // "Neues Verfahren / Druck" put the single-step button away again
    QVERIFY(!w.sBtPausePlus->isVisibleTo(&w));
  }

  void singleStepsPauseAndAusEndsThePause() {
    Fixture f;
    QVERIFY(f.loaded);
    QCOMPARE(f.Pass(), PassOutcome::Done);
    TForm1& w = f.form1();
    f.state.run.repeatMode = true;
    w.sBtPausePlus->click();
    QVERIFY(f.state.run.singleStep);
    QVERIFY(w.sBtFin->isVisibleTo(&w));
    const std::uint64_t start = f.fs.clock.now;
    f.fs.pump.onPump = [&](int) {
      // "aus" two seconds into the first 9 s pause; the stop after the third pass
      if (f.fs.clock.now - start > 2000 && f.state.run.singleStep) w.sBtFin->click();
      if (f.passes == 3) w.sBtNeuesVerfahren->click();
    };
    w.sBtAuswertung->setEnabled(true);
    w.sBtAuswertung->click();
    QCOMPARE(f.state.evaluation.run.count, 3);  // stopped as the 3rd repetition had shifted the grid
    QVERIFY(!f.state.run.singleStep);
    QVERIFY(f.fs.clock.now - start < 9000);
  }
};

QTEST_MAIN(EvaluationWindowTest)
#include "evaluation_window_test.moc"
