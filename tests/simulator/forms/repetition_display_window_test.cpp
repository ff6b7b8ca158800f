// The run's picture on the offscreen platform: the histogram and the bias ± SD rows after every
// repetition, the stop with "Neues Verfahren / Druck" and the printed frequency distribution.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <optional>

#include "common/paths.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/method_dialogs.h"
#include "simulator/forms/program.h"
#include "simulator/forms/small_dialogs.h"
#include "simulator/sampling/grid.h"
#include "simulator/stand/stand_loader.h"
#include "simulator/views/repetition_display.h"
#include "tests/support/fakes.h"
#include "tests/support/run_watch.h"

using namespace tolvek;
using tolvek::testing::FakeServices;
using tolvek::testing::TempDir;

namespace {

QString OutputFile(const char* name) {
  const QByteArray dir = qgetenv("TOLVEK_TEST_OUTPUT");
  return dir.isEmpty() ? QString() : QString::fromLocal8Bit(dir) + "/" + name;
}

// Stand 1 drawn on the map, fixed circles of 500 m² on a 50 m grid and its first pass, all by the
// main window's own work; every repetition shifts the grid with the window's random shift.
struct Program {
  Program() : state(fs.services) {
    // Work takes time: a run's loops handle events every 20 ms, here at every look at the clock.
    fs.clock.msPerRead = 20;
    tolvek::testing::CopyShippedData(dir);
    state.folders = ProgramFoldersFromFolder(dir.path());
    program = std::make_unique<SimulatorProgram>(state, false);
    state.random.SetSeed(815);
    loaded = TryLoadStand(state, dir.path() + "Bestande/Bestnd01.txt").ok();
    w().HideTitleScreen();
    if (loaded) w().DrawStand();
    BeginFixedCircle(state.sampling.method, state.language);
    static_cast<void>(ConfirmFixedCircle(state.sampling.method, state.language, 500.0));
    static_cast<void>(NewGrid(state.sampling.grid, &state.currentStand.boundary, nullptr, w().MakeGridContext()));
    firstPass = w().RunPass(false, false);
    watch.emplace(w());
    watch->gridShifted = [this] { ++passes; };
    w().choosePrinter = [this](QPrinter& printer) {
      ++printDialogs;
      if (!printerAccepted) return false;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      return true;
    };
    state.run.repeatMode = true;
  }
  // "Auswertung" with repetitions; "Neues Verfahren / Druck" while the given pass runs.
  void RunAndStopAt(int pass) {
    fs.pump.onPump = [this, pass](int) {
      if (onPass) onPass(passes);
      if (passes == pass && !state.run.repetitionStop) w().sBtNeuesVerfahren->click();
    };
    w().sBtAuswertung->setEnabled(true);
    w().sBtAuswertung->click();
    fs.pump.onPump = nullptr;
  }
  TForm1& w() { return *program->forms.form1; }
  QImage Picture(QLabel* l) { return l->pixmap().toImage(); }

  TempDir dir;
  FakeServices fs;
  SimulatorState state;
  std::unique_ptr<SimulatorProgram> program;
  std::optional<tolvek::testing::RunWatch> watch;
  bool loaded = false;
  PassOutcome firstPass = PassOutcome::Stopped;
  int passes = 0;
  int printDialogs = 0;
  bool printerAccepted = true;
  QString pdf;
  std::function<void(int)> onPass;
};

// As soon as the window is up modally, act on it.
void WhenModal(QWidget* window, std::function<void()> act, bool* seen = nullptr) {
  QTimer::singleShot(0, [window, act, seen] {
    if (QApplication::activeModalWidget() != window) {
      WhenModal(window, act, seen);
      return;
    }
    if (seen) *seen = true;
    act();
  });
}

int DarkPixelsInColumn(const QImage& image, int x, int fromY, int toY) {
  int n = 0;
  for (int y = fromY; y < toY; ++y)
    if (qGray(image.pixel(x, y)) < 64) ++n;
  return n;
}

}  // namespace

class RepetitionDisplayWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void histogramFollowsEveryRepetitionWhileTheGraphicsAreOn() {
    Program p;
    QVERIFY(p.loaded);
    QCOMPARE(p.firstPass, PassOutcome::Done);
    TForm1& w = p.w();
    w.resize(1000, 760);
    qint64 keyAtFive = 0;
    int countShownAtFive = 0;
    p.onPass = [&](int passes) {
      if (passes == 5 && keyAtFive == 0) {
        keyAtFive = w.ImgRepeat->pixmap().cacheKey();
        countShownAtFive = p.state.evaluation.run.count;
        p.state.run.graphics = false;  // "Grafik aus"
      }
      if (passes == 8) p.state.run.graphics = true;
      if (passes == 7) QCOMPARE(w.ImgRepeat->pixmap().cacheKey(), keyAtFive);  // no drawing meanwhile
    };
    p.RunAndStopAt(12);
    QVERIFY(countShownAtFive >= 5);
    QVERIFY(w.ImgRepeat->isVisibleTo(&w));
    QVERIFY(w.ImgRepeatN->isVisibleTo(&w));
    QVERIFY(w.ImgRepeatD->isVisibleTo(&w));
    if (!OutputFile("histogram_run.png").isEmpty()) w.grab().save(OutputFile("histogram_run.png"));

    // the picture holds the run as it ended: every counted repetition a bar of 3 pixels a count
    const RunStatistics& s = p.state.evaluation.run;
    const QImage g = p.Picture(w.ImgRepeat);
    QCOMPARE(g.width(), kRepeatImageWidth);
    const int axis = kRepeatImageHeight - 38;
    int counted = 0;
    for (int j = -25; j <= 25; ++j) {
      const int bar = DarkPixelsInColumn(g, DeviationToPixel(j) + 1, 100, axis);  // below the label
      QCOMPARE(bar, RoundInt(s.HistogramCount(j) * s.screenScale));
      counted += s.HistogramCount(j);
    }
    QCOMPARE(counted, s.count);
    // the red bias line of basal area stands where the bias is
    const QColor bias = g.pixelColor(DeviationToPixel(s.g.bias), 100);
    QVERIFY(bias.red() > 200 && bias.green() < 60);
    // stem number on silver, mean diameter on pale green
    QCOMPARE(p.Picture(w.ImgRepeatN).pixelColor(2, 20), QColor(192, 192, 192));
    QCOMPARE(p.Picture(w.ImgRepeatD).pixelColor(2, 20), QColor(192, 220, 192));
  }

  // While a run goes on, the histogram is drawn when it is looked at, from the statistics of the last
  // repetition shown: whenever the label paints, its bars are the run's counts so far.
  void histogramLookedAtInARunShowsTheRunSoFar() {
    Program p;
    QVERIFY(p.loaded);
    TForm1& w = p.w();
    w.resize(1000, 760);
    p.fs.clock.msPerRead = 0;  // no events handled inside the run: only the label's own painting draws
    int looked = 0;
    p.watch->gridShifted = [&] {
      const RunStatistics& s = p.state.evaluation.run;
      const auto look = [&] {
        const QImage g = w.ImgRepeat->grab().toImage();
        const int axis = kRepeatImageHeight - 38;
        for (int j = -25; j <= 25; ++j)
          QCOMPARE(DarkPixelsInColumn(g, DeviationToPixel(j) + 1, 100, axis),
                   RoundInt(s.HistogramCount(j) * s.screenScale));
        ++looked;
      };
      if (s.count >= 2 && w.ImgRepeat->isVisible() && !QTest::currentTestFailed()) look();
      if (s.count >= 6 && !p.state.run.repetitionStop) w.sBtNeuesVerfahren->click();
    };
    w.show();
    w.sBtAuswertung->setEnabled(true);
    w.sBtAuswertung->click();
    QVERIFY(looked >= 3);
  }

  // A run puts the stand's picture back under every repetition by undoing only what it drew over it.
  // Pixels somebody else wrote meanwhile (between two drawings, and while a pass draws and handles
  // events) must not survive, and the map must end exactly as in a run nobody wrote into.
  void theMapEndsAsInARunNobodyWroteInto() {
    Program plain, touched;
    QVERIFY(plain.loaded && touched.loaded);
    // A dense grid: a pass handles events between its plots too.
    for (Program* p : {&plain, &touched}) p->state.sampling.grid.dx = p->state.sampling.grid.dy = 15;
    // The map as the third repetition has drawn it, the first write two repetitions back.
    QImage plainAtThree, touchedAtThree;
    plain.onPass = [&](int passes) {
      if (passes == 3 && plainAtThree.isNull()) plainAtThree = plain.w().mapImage->copy();
    };
    plain.RunAndStopAt(6);
    int pumpsAtFour = 0;
    bool between = false, during = false;
    // Blocks in the middle of the map, where rings and crosses are set as stamps.
    const auto block = [&](int left, QRgb colour) {
      QImage& map = *touched.w().mapImage;
      const int top = map.height() / 2;
      left += map.width() / 2;
      for (int y = top; y < top + 20; ++y)
        for (int x = left; x < left + 20; ++x) map.setPixel(x, y, colour);
    };
    touched.onPass = [&](int passes) {
      if (passes == 2 && !between) {
        block(-40, qRgb(255, 0, 255));
        between = true;
      }
      if (passes == 3 && touchedAtThree.isNull()) touchedAtThree = touched.w().mapImage->copy();
      if (passes == 4 && ++pumpsAtFour == 3) {
        block(20, qRgb(0, 255, 255));
        during = true;
      }
    };
    touched.RunAndStopAt(6);
    QVERIFY2(between && during, std::to_string(pumpsAtFour).c_str());
    QCOMPARE(touched.state.evaluation.run.count, plain.state.evaluation.run.count);
    QVERIFY(!plainAtThree.isNull() && touchedAtThree == plainAtThree);
    QVERIFY(*touched.w().mapImage == *plain.w().mapImage);
  }

  void neinStopsWithoutPrintingAndThePressAfterReopensTheMethodChoice() {
    Program p;
    QVERIFY(p.loaded);
    QCOMPARE(p.firstPass, PassOutcome::Done);
    TForm1& w = p.w();
    bool methodChoiceOpened = false;
    auto* dialog = p.program->forms.btnRightDlg1;
    p.RunAndStopAt(3);  // the print question gets "nein"
    QVERIFY(p.fs.messages.Saw("Häufigkeitsverteilung drucken?"));
    QCOMPARE(p.fs.messages.shown.back().left, 8);
    QCOMPARE(p.fs.messages.shown.back().top, 540);
    QCOMPARE(p.printDialogs, 0);
    QVERIFY(!p.state.evaluation.run.statisticsReady);
    QVERIFY(!w.Panel11->isVisibleTo(&w));
    QVERIFY(!w.sBtPausePlus->isVisibleTo(&w));
    QVERIFY(w.ImgRepeat->isVisibleTo(&w));  // the run's result stays to be looked at
    QVERIFY(!dialog->isVisible());

    // pressed again: no question, the method choice opens afresh and the run's picture goes
    const std::size_t questions = p.fs.messages.shown.size();
    // closed without a method and with its tag set: the choice is left
    WhenModal(
        dialog,
        [dialog] {
          dialog->Tag = 1;  // its "zurück" is disabled now
          dialog->done(0);
        },
        &methodChoiceOpened);
    w.sBtNeuesVerfahren->setEnabled(true);
    w.sBtNeuesVerfahren->click();
    QVERIFY(methodChoiceOpened);
    QCOMPARE(p.fs.messages.shown.size(), questions);
    QVERIFY(!w.ImgRepeat->isVisibleTo(&w));
  }

  void jaPrintsThePageAtTheChosenPosition() {
    Program p;
    QVERIFY(p.loaded);
    QCOMPARE(p.firstPass, PassOutcome::Done);
    TempDir out;
    p.pdf = OutputFile("frequency.pdf");
    if (p.pdf.isEmpty()) p.pdf = QString::fromStdString(out.File("frequency.pdf"));
    // plot-centred weighting, then "ja" to the print question; "mitte" in the print-position window
    p.fs.messages.answers = {kResultYes, kResultYes};
    bool positionAsked = false;
    TForm38* position = p.program->forms.form38;
    WhenModal(
        position, [position] { position->BtMitte->click(); }, &positionAsked);
    p.RunAndStopAt(6);
    QCOMPARE(p.printDialogs, 1);
    QVERIFY(positionAsked);
    QCOMPARE(p.state.printTop, 155);
    QFile file(p.pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.size() > 1000);
    QVERIFY(file.read(4) == "%PDF");
    QVERIFY(!p.state.evaluation.run.statisticsReady);
  }

  void cancelledPrintDialogPrintsNothing() {
    Program p;
    QVERIFY(p.loaded);
    QCOMPARE(p.firstPass, PassOutcome::Done);
    TempDir out;
    p.pdf = QString::fromStdString(out.File("none.pdf"));
    p.printerAccepted = false;
    p.fs.messages.answers = {kResultYes, kResultYes};
    p.RunAndStopAt(3);  // the print-position window would wait here for an answer
    QCOMPARE(p.printDialogs, 1);
    QVERIFY(!QFile::exists(p.pdf));
    QCOMPARE(p.state.printTop, 70);
    QVERIFY(!p.state.evaluation.run.statisticsReady);
  }
};

QTEST_MAIN(RepetitionDisplayWindowTest)
#include "repetition_display_window_test.moc"
