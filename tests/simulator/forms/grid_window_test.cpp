// The road from a stand to marked sample trees through the windows, on a copy of the shipped program
// folder: stand from the catalogue, method and its parameters, a grid laid and edited (spacing, shift,
// rotation, a dragged plot), "weiter" with the sample trees on the map and "Auswertung" enabled; the grid
// file, and the buttons that must not act while a pass runs.
// The geometry of the core names a member "slots": Qt's keyword macros stay off in this file.
#define QT_NO_KEYWORDS
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <cstdlib>
#include <functional>
#include <memory>
#include <set>

#include "common/format.h"
#include "common/paths.h"
#include "common/qt/qt_services.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form18.h"
#include "simulator/forms/form23.h"
#include "simulator/forms/method_dialogs.h"
#include "simulator/forms/program.h"
#include "simulator/sampling/grid.h"
#include "simulator/stand/stand_choice.h"
#include "tests/support/fakes.h"
#include "tests/support/qt_helpers.h"
#include "tests/support/qt_near.h"

using namespace tolvek;
using tolvek::testing::FakeServices;
using tolvek::testing::Snapshot;
using tolvek::testing::TempDir;
using tolvek::testing::WhenModal;

namespace {

struct Fixture : tolvek::testing::ShippedProgram {
  Fixture() {
    form1().resize(1366, 742);
    form1().show();
  }

  // "Bestand": the catalogue opens; a double click on entry 1 takes Bestnd01.
  bool TakeFirstStand() {
    WhenModal(forms().form23, [this] { QTest::mouseDClick(forms().form23->Image[1], Qt::LeftButton); });
    form1().BtStartClick();
    return state.currentStand.loaded;
  }

  // "Verfahren" → "Vollkreise" → the size button of `area` (or a typed radius) → "weiter" → "weiter".
  void ChooseFixedCircles(QPushButton* TBtnRightDlg5::*size) {
    TBtnRightDlg1* d1 = forms().btnRightDlg1;
    TBtnRightDlg5* d5 = forms().btnRightDlg5;
    WhenModal(d1, [this, d1, d5, size] {
      WhenModal(d5, [this, d5, size] {
        (d5->*size)->click();
        Snapshot(d5, "grid_2a_fixed_circle_dialog");
        d5->Button5->click();
      });
      d1->RdBtnVollkr->click();
      Snapshot(d1, "grid_2b_method_window");
      d1->OKBtn->click();
    });
    form1().sBtVerfahren->click();
  }

  // The image pixel of a world point on the stand map.
  QPoint Pixel(double x, double y) {
    const StandMapTransform t = form1().MapTransform();
    return {t.StandMapX(x), t.StandMapY(y)};
  }
  // An inside grid point away from the stand's edge (1-based index).
  int InnerPoint() {
    const SampleGrid& g = state.sampling.grid;
    const BoundaryPolygon& b = state.currentStand.boundary;
    double cx = 0, cy = 0;
    for (int i = 1; i < b.n; ++i) {
      cx += b.x[static_cast<std::size_t>(i)];
      cy += b.y[static_cast<std::size_t>(i)];
    }
    cx /= b.n - 1;
    cy /= b.n - 1;
    int best = 0;
    double bestD = 1e30;
    for (int i = 1; i <= g.pointCount; ++i) {
      const GridPoint& p = g.Point(i);
      const double d = std::hypot(p.x + g.originX - cx, p.y + g.originY - cy);
      if (p.inside && d < bestD) {
        bestD = d;
        best = i;
      }
    }
    return best;
  }
};

int CountColour(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
  return n;
}

}  // namespace

class GridWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void fromStandToMarkedSampleTrees() {
    Fixture f;
    QVERIFY(f.TakeFirstStand());
    Snapshot(&f.form1(), "grid_1_stand");
    QVERIFY(f.form1().sBtGitter->isEnabled());

    f.ChooseFixedCircles(&TBtnRightDlg5::Button2);  // 100 m²
    const MethodSettings& m = f.state.sampling.method;
    QCOMPARE(int(m.code), int(kMethodFixedCircle));
    QCOMPARE(m.circleArea, 100.0);
    QCOMPARE(f.form1().LblVerfahren->text(), QString("Vollkreise"));
    QCOMPARE(f.form1().LblRadius->text(), QString::fromUtf8("Kreisfläche:       100 qm"));
    // The decision hints of the stand for fixed circles are on the remarks memo.
    QVERIFY(f.form1().sBtAnmerk->isEnabled());
    QVERIFY(f.form1().Memo1->toPlainText().contains(QString::fromStdString(f.state.currentStand.name)));
    Snapshot(&f.form1(), "grid_2_method");

    f.form1().sBtGitter->click();
    SampleGrid& g = f.state.sampling.grid;
    QVERIFY(g.exists);
    QVERIFY(f.form1().GroupBox1->isVisible());
    QCOMPARE(f.form1().GroupBox1->title(), QString("  Gitter bearbeiten "));
    QCOMPARE(g.dx, 50);
    QVERIFY(g.insideCount > 0);
    QVERIFY(f.form1().LblAnzStp->text().endsWith(QString::number(g.insideCount)));
    QVERIFY(f.form1().LblGitterAnf->text().contains("50/  50 m"));
    QVERIFY(!f.form1().sBtAuswertung->isEnabled());
    // An inside point carries a white cross.
    {
      const int i = f.InnerPoint();
      const QPoint p = f.Pixel(g.Point(i).x + g.originX, g.Point(i).y + g.originY);
      QCOMPARE(f.form1().mapImage->pixel(p), qRgb(255, 255, 255));
    }
    Snapshot(&f.form1(), "grid_3_grid");

    // Spacing +5, shift 5 m right and 1 m up, one step of rotation to the left.
    f.form1().GridButton[9]->click();
    QCOMPARE(g.dx, 55);
    QCOMPARE(g.dy, 55);
    f.form1().GridButton[1]->click();
    f.form1().GridButton[6]->click();
    QCOMPARE(g.originX, 5);
    QCOMPARE(g.originY, 1);
    const double before = g.rotation;
    f.form1().BitBtn13->click();
    QCOMPARE_NEAR(g.rotation, before + 0.0174, 1e-12);
    QCOMPARE(g.rotation, f.state.gridRotation);
    QVERIFY(f.form1().LblGitterAnf->text().contains("55/  55 m"));
    // The counts follow the grid as it is now.
    int inside = 0;
    for (int i = 1; i <= g.pointCount; ++i) inside += g.Point(i).inside;
    QCOMPARE(g.insideCount, inside);
    Snapshot(&f.form1(), "grid_4_edited");

    // A plot dragged 3 m to the right before the pass.
    const int picked = f.InnerPoint();
    const GridPoint old = g.Point(picked);
    const GridPoint other = g.Point(picked == 1 ? 2 : 1);
    const QPoint from = f.Pixel(old.x + g.originX, old.y + g.originY);
    const double scale = f.state.standMap.scale;
    const QPoint to = from + QPoint(static_cast<int>(std::lround(3 * scale)), 0);
    QTest::mousePress(f.form1().ImgBest, Qt::LeftButton, {}, from);
    QVERIFY(g.dragging);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), f.form1().ImgBest->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.form1().ImgBest, &move);
    QTest::mouseRelease(f.form1().ImgBest, Qt::LeftButton, {}, to);
    QVERIFY(!g.dragging);
    QVERIFY(std::abs(g.Point(picked).x - (old.x + 3)) <= 1);
    QCOMPARE(g.Point(picked).y, old.y);
    QCOMPARE(g.Point(picked == 1 ? 2 : 1).x, other.x);
    QCOMPARE(f.state.sampling.plots.plots.size(), std::size_t(0));  // no pass before "weiter"

    // "weiter": the pass marks its sample trees on the map in yellow and enables "Auswertung".
    const int yellowBefore = CountColour(*f.form1().mapImage, qRgb(255, 255, 0));
    f.form1().GitterFertig->click();
    QVERIFY(!f.state.sampling.plots.Empty());
    QVERIFY(f.state.sampling.pass.passDone);
    QVERIFY(f.form1().sBtAuswertung->isEnabled());
    QVERIFY(!f.form1().GroupBox1->isVisible());
    QVERIFY(!f.form1().sBtGitter->isEnabled());
    QVERIFY(!f.state.run.busy);
    QVERIFY(CountColour(*f.form1().mapImage, qRgb(255, 255, 0)) > yellowBefore + 50);
    QVERIFY(f.form1().LblBaumZahl->text().contains(QString::number(f.state.sampling.pass.sampleTreeTotal)));
    // The moved point is one of the pass's plots.
    bool dragged = false;
    for (const PlotRecord& p : f.state.sampling.plots.plots) dragged = dragged || p.gridIndex == picked;
    QVERIFY(dragged);
    Snapshot(&f.form1(), "grid_5_pass");
    // Every 100 ms wait of "weiter" went through the pump.
    QVERIFY(f.fs.pump.pumps > 0);

    // Dropping a plot after the pass runs the pass again with the moved point.
    const GridPoint now = g.Point(picked);
    const QPoint at = f.Pixel(now.x + g.originX, now.y + g.originY);
    const QPoint up = at + QPoint(0, -static_cast<int>(std::lround(4 * scale)));
    QTest::mousePress(f.form1().ImgBest, Qt::LeftButton, {}, at);
    QTest::mouseRelease(f.form1().ImgBest, Qt::LeftButton, {}, up);
    QVERIFY(std::abs(g.Point(picked).y - (now.y + 4)) <= 1);
    QVERIFY(f.form1().sBtAuswertung->isEnabled());
    QVERIFY(!f.state.sampling.plots.Empty());
  }

  void spacingStopsAtTheSmallestAndRotationStaysInRange() {
    Fixture f;
    QVERIFY(f.TakeFirstStand());
    f.ChooseFixedCircles(&TBtnRightDlg5::Button3);
    f.form1().sBtGitter->click();
    SampleGrid& g = f.state.sampling.grid;
    for (int k = 0; k < 10; ++k) f.form1().GridButton[11]->click();
    QCOMPARE(g.dx, 25);
    f.form1().GridButton[12]->click();
    f.form1().GridButton[12]->click();
    f.form1().GridButton[12]->click();
    f.form1().GridButton[12]->click();
    f.form1().GridButton[12]->click();
    QCOMPARE(g.dx, 25);  // -1 steps are refused once dx <= 25
    QVERIFY(g.pointCount <= kMaxGridPoints);
    for (int k = 0; k < 40; ++k) f.form1().BitBtn14->click();
    QVERIFY(g.rotation >= -0.3 - 0.0174 && g.rotation < -0.28);
    QCOMPARE(g.rotation, f.state.gridRotation);
    // Shifting left stops where the origin would leave the first cell.
    for (int k = 0; k < 20; ++k) f.form1().GridButton[3]->click();
    QVERIFY(g.originX + g.dx >= 5);
  }

  void gridFileIsSavedReadAndABadFileIsRefused() {
    Fixture f;
    QVERIFY(f.TakeFirstStand());
    f.ChooseFixedCircles(&TBtnRightDlg5::Button3);
    f.form1().sBtGitter->click();
    SampleGrid& g = f.state.sampling.grid;
    const std::string path = GridFilePath(f.state.folders.program, 0);

    // "lesen" before any save says so and changes nothing.
    f.form1().Button8->click();
    QVERIFY(f.fs.messages.Saw("Bitte zuerst Gitternetz speichern"));
    QVERIFY(g.exists);
    QCOMPARE(g.dx, 50);

    f.form1().GridButton[9]->click();  // 55 m
    f.form1().Button7->click();
    QVERIFY(f.fs.messages.Saw("Lage #der Probefläche im Bestand gespeichert"));
    std::string bytes;
    QVERIFY(ReadWholeFile(path, bytes));
    QCOMPARE(bytes.size(), kGridFileSize);

    f.form1().GridButton[11]->click();  // 50 m
    f.form1().Button8->click();
    QCOMPARE(g.dx, 55);
    QVERIFY(g.loadedFromFile);
    QVERIFY(f.form1().LblGitterAnf->text().contains("    55/ 55 m"));

    // A file of the wrong size is refused: the grid in hand stays as it is.
    const int count = g.pointCount, inside = g.insideCount;
    f.form1().GridButton[9]->click();  // 60 m
    QVERIFY(WriteFileAtomic(path, bytes.substr(0, 1000)).ok());
    const std::size_t shown = f.fs.messages.shown.size();
    f.form1().Button8->click();
    QVERIFY(f.fs.messages.shown.size() > shown);
    QCOMPARE(g.dx, 60);
    QVERIFY(g.pointCount != count || g.insideCount != inside || g.dx == 60);
    QCOMPARE(f.fs.exit.quits, 0);
  }

  void nothingButTheRunControlsActWhileBusy() {
    Fixture f;
    QVERIFY(f.TakeFirstStand());
    f.ChooseFixedCircles(&TBtnRightDlg5::Button3);
    f.form1().sBtGitter->click();
    SampleGrid& g = f.state.sampling.grid;
    const int dx = g.dx, ox = g.originX;
    const double rotation = g.rotation;
    f.state.run.busy = true;
    f.form1().GridButton[9]->click();
    f.form1().GridButton[1]->click();
    f.form1().BitBtn13->click();
    f.form1().GitterFertigClick();
    f.form1().sBtGitterClick();
    f.form1().sBtVerfahrenClick();
    QTest::mousePress(f.form1().ImgBest, Qt::LeftButton, {}, QPoint(200, 200));
    QCOMPARE(g.dx, dx);
    QCOMPARE(g.originX, ox);
    QCOMPARE(g.rotation, rotation);
    QVERIFY(!g.dragging);
    QVERIFY(f.state.sampling.plots.Empty());
    f.state.run.busy = false;
  }

  void blinkingEndsWithTheCrossesInPlaceAndTheButtonsFree() {
    Fixture f;
    QVERIFY(f.TakeFirstStand());
    f.ChooseFixedCircles(&TBtnRightDlg5::Button3);
    f.form1().sBtGitter->click();
    SampleGrid& g = f.state.sampling.grid;
    const std::uint64_t before = f.fs.clock.now;
    // A click on "Gitter" while the points blink finds the program busy and is ignored.
    int clicksWhileBusy = 0;
    f.fs.pump.onPump = [&](int) {
      if (f.state.run.busy && clicksWhileBusy++ == 0) f.form1().GridButton[9]->click();
    };
    f.form1().Button6->click();
    f.fs.pump.onPump = nullptr;
    QVERIFY(f.fs.clock.now - before >= 5 * 400);  // five times red and white, 200 ms each
    QVERIFY(clicksWhileBusy > 0);
    QCOMPARE(g.dx, 50);
    QVERIFY(!f.state.run.busy);
    QVERIFY(f.form1().LblAnzStp->text().contains(QString::fromUtf8("Stichproben:    ")));
    const int i = f.InnerPoint();
    QCOMPARE(f.form1().mapImage->pixel(f.Pixel(g.Point(i).x + g.originX, g.Point(i).y + g.originY)),
             qRgb(255, 255, 255));
  }

  void clicksShowCoordinatesAndCloseADigitisedBoundary() {
    Fixture f;
    QVERIFY(f.TakeFirstStand());
    const double scale = f.state.standMap.scale;
    const QPoint a = f.Pixel(20, 20), b = f.Pixel(60, 20), c = f.Pixel(40, 60);
    QTest::mouseClick(f.form1().ImgBest, Qt::RightButton, {}, a);
    f.form1().PopupMenu1->hide();
    const double x = (a.x() - 30) / scale;
    QVERIFY(f.form1().Punkt1->text().startsWith(QString::fromUtf8("Koordinaten lokal:  X=")));
    QVERIFY(f.form1().Punkt1->text().contains(QString::fromStdString(FormatFixed(6, 1, x))));
    QVERIFY(f.form1().Punkt2->text().startsWith(QString::fromUtf8("    \"      gemessen:  X=")));
    QTest::mouseClick(f.form1().ImgBest, Qt::LeftButton, {}, b);
    QTest::mouseClick(f.form1().ImgBest, Qt::LeftButton, {}, c);
    QVERIFY(!f.fs.messages.Saw("Grenze geschlossen"));
    QTest::mouseClick(f.form1().ImgBest, Qt::LeftButton, {}, a + QPoint(1, 0));  // back at the first point
    QVERIFY(f.fs.messages.Saw("Grenze geschlossen"));
    std::vector<std::string> lines;
    QVERIFY(ReadTextLines(DigitisedBoundaryPath(f.state.folders.program), lines));
    QCOMPARE(lines.size(), std::size_t(4));
    QCOMPARE(lines[0].size(), std::size_t(18));
    // No grid yet: the clicks picked no plot.
    QVERIFY(!f.state.sampling.grid.dragging);
  }

  void gridWithoutAStandAsksForOne() {
    Fixture f;
    f.form1().HideTitleScreen();
    f.form1().sBtGitterClick();
    QVERIFY(f.fs.messages.Saw("Bitte Bestand auswählen"));
    QVERIFY(!f.state.sampling.grid.exists);
    QVERIFY(!f.form1().GroupBox1->isVisible());
  }

  void aRunOfRepetitionsShiftsTheGridWithEveryPass() {
    Fixture f;
    QVERIFY(f.TakeFirstStand());
    f.ChooseFixedCircles(&TBtnRightDlg5::Button3);
    f.form1().sBtGitter->click();
    f.form1().GitterFertig->click();
    TForm1& w = f.form1();
    WhenModal(f.forms().form18, [&] { f.forms().form18->BtnSchliessen->click(); });
    w.sBtAuswertung->click();
    QVERIFY(w.F1BtWiederholen->isEnabled());
    SampleGrid& g = f.state.sampling.grid;
    std::set<std::pair<int, int>> origins;
    bool gridButtonDuringRun = false;
    f.fs.pump.onPump = [&](int) {
      if (!f.state.run.busy || f.state.evaluation.run.count < 1) return;
      origins.insert({g.originX, g.originY});
      gridButtonDuringRun = gridButtonDuringRun || w.sBtGitter->isEnabled();
      if (f.state.evaluation.run.count >= 8 && !f.state.run.repetitionStop) w.sBtNeuesVerfahren->click();
    };
    f.fs.messages.answers = {kResultLeft};  // tree-centred weighting
    w.F1BtWiederholen->click();
    f.fs.pump.onPump = nullptr;
    QVERIFY(!f.state.run.busy);
    QVERIFY(f.state.evaluation.run.count >= 8);
    QVERIFY(origins.size() > 2);  // every repetition laid the grid somewhere else
    QVERIFY(!gridButtonDuringRun);
    // The grid shifts of the run gave "Gitter" and "Verfahren" back: they come once the run has ended.
    QTRY_VERIFY(w.sBtGitter->isEnabled() && w.sBtVerfahren->isEnabled());
    QVERIFY(!f.state.sampling.plots.Empty());
    QCOMPARE(f.fs.exit.quits, 0);
  }

  void repetitionShiftLaysANewGridAndRunsThePass() {
    Fixture f;
    QVERIFY(f.TakeFirstStand());
    f.ChooseFixedCircles(&TBtnRightDlg5::Button3);
    f.form1().sBtGitter->click();
    f.form1().GitterFertig->click();
    SampleGrid& g = f.state.sampling.grid;
    g.baseOriginX = g.originX;
    g.baseOriginY = g.originY;
    f.state.run.repetitionFlag = true;
    const int pumps = f.fs.pump.pumps;
    f.form1().RandomGridShift();
    QVERIFY(std::abs(g.originX - g.baseOriginX) <= g.dx && std::abs(g.originY - g.baseOriginY) <= g.dy);
    QVERIFY(g.assign);
    QVERIFY(!f.state.sampling.plots.Empty());
    QVERIFY(f.form1().sBtGitter->isEnabled() && f.form1().sBtVerfahren->isEnabled());
    QVERIFY(!f.state.run.repetitionStop);
    // No 100 ms wait: the clock moved by the pass's own pumps only.
    QVERIFY(f.fs.pump.pumps - pumps < 5);
  }
};

QTEST_MAIN(GridWindowTest)
#include "grid_window_test.moc"
