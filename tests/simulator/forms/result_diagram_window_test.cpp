// "Diagramm" on the offscreen platform: after one evaluation of a mixed stand the result window shows
// the species diagrams and the diameter distributions its buttons ask for, prints its picture on a PDF
// page, saves it, and gives back every button it hid for that.
#include <QApplication>
#include <QFileInfo>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QToolTip>
#include <QtTest>
#include <functional>
#include <vector>

#include "common/paths.h"
#include "common/qt/qt_canvas.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form18.h"
#include "simulator/forms/form2.h"
#include "simulator/sampling/grid.h"
#include "simulator/sampling/pass.h"
#include "simulator/stand/stand_loader.h"
#include "simulator/views/stand_map.h"
#include "tests/support/fakes.h"
#include "tests/support/qt_helpers.h"

using namespace tolvek;
using tolvek::testing::Snapshot;
using tolvek::testing::TempDir;
using tolvek::testing::WhenModal;

namespace {

// A mixed stand of spruce, fir and beech, 500 m² circles on a 30 m grid, one pass (the core's) and its
// evaluation through "Auswertung" with the report closed at once.
struct Fixture : tolvek::testing::ShippedProgram {
  Fixture() {
    state.random.SetSeed(4711);
    loaded = TryLoadStand(state, dir.path() + "Bestande/Bestnd09.txt").ok();
    MethodSettings& m = state.sampling.method;
    BeginFixedCircle(m, state.language);
    static_cast<void>(ConfirmFixedCircle(m, state.language, 500.0));
    state.sampling.grid.dx = state.sampling.grid.dy = 30;
    GridContext ctx;
    static_cast<void>(NewGrid(state.sampling.grid, &state.currentStand.boundary, nullptr, ctx));
    PassEnvironment env{state.sampling, state.currentStand.trees, state.currentStand.boundary, geometry,
                        state.run,      state.services,           state.language, observer};
    env.singleStepWait = false;
    passed = RunSamplingPass(env) == PassOutcome::Done;
    TForm18* report = forms().form18;
    WhenModal(report, [report] { report->BtnSchliessen->click(); });
    form1().sBtAuswertung->setEnabled(true);
    form1().sBtAuswertung->click();
  }
  TForm2& form2() { return *forms().form2; }
  StandDiagramInput Input() const {
    return {state.currentStand.sums, state.currentStand.areaHa, state.currentStand.speciesList,
            state.evaluation.estimate, 1};
  }
  // Runs the steps one after another, each when the result window is up again.
  void Script(std::vector<std::function<void(TForm2&)>> steps) {
    if (steps.empty()) return;
    auto step = steps.front();
    steps.erase(steps.begin());
    TForm2* w = &form2();
    WhenModal(w, [this, w, step, steps] {
      step(*w);
      Script(steps);
    });
  }

  GeometryContext geometry;
  PassObserver observer;
  bool loaded = false;
  bool passed = false;
};

int CountPixels(const QImage& image, const QColor& colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == colour) ++n;
  return n;
}

QString Cell(TForm2& w, int row, int column) { return w.Tabelle->item(row, column)->text(); }

// The hint a pause of the mouse over w brings up (the window's own, where w has none).
QString HintShown(QWidget* w) {
  QToolTip::hideText();
  w->window()->setToolTip("Baumarten-Schalter");
  QHelpEvent e(QEvent::ToolTip, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(w, &e);
  return QToolTip::isVisible() ? QToolTip::text() : QString();
}

}  // namespace

class ResultDiagramWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void diagramShowsSpeciesThenDistributionsAsTheButtonsAsk() {
    Fixture f;
    QVERIFY(f.loaded && f.passed);
    TForm1& main = f.form1();
    QVERIFY(main.sBtDiagramm->isEnabled());
    const QColor spruce = ToQColor(SpeciesColour(1, f.state.currentStand.speciesList));
    QStringList seen;
    f.Script({
        [&](TForm2& w) {
          Snapshot(&w, "diagram_basal_area");
          seen << w.LblMerkmal->text();
          // "Grundfläche" is what is shown; the whole stand and its three species have columns
          QVERIFY(!w.BtGrundfl->isEnabled());
          QCOMPARE(w.CategoryButton[0]->text(), QString("Bestand"));
          QCOMPARE(w.CategoryButton[1]->text(), QString("Fichte"));
          QCOMPARE(w.CategoryButton[4]->text(), QString(""));
          QCOMPARE(Cell(w, 1, 0), QString("tatsächlich"));
          QVERIFY(!Cell(w, 1, 1).trimmed().isEmpty());
          QVERIFY(Cell(w, 1, 5).isEmpty());
          QVERIFY(w.LblBestand->text().startsWith("Bestand Nr. 09"));
          QVERIFY(CountPixels(w.Graf->image, spruce) > 100);  // the spruce's solid bar
          QVERIFY(!w.BtGesamt->isEnabled());                   // no repetitions yet
          w.CategoryButton[1]->click();                        // Fichte: its diameter distribution
        },
        [&](TForm2& w) {
          Snapshot(&w, "diagram_spruce_distribution");
          seen << w.LblMerkmal->text();
          QCOMPARE(w.Label2->text(), QString("D-Stufe:"));
          QCOMPARE(w.CategoryButton[0]->text(), QString("  8"));
          QCOMPARE(w.CategoryButton[9]->text(), QString(" 80"));
          QVERIFY(CountPixels(w.Graf->image, spruce) > 100);
          // another category button changes nothing while a distribution is shown
          w.CategoryButton[3]->click();
          QVERIFY(w.isVisible());
          // and the window's hints are off after a category button
          QVERIFY(HintShown(w.Graf).isEmpty());
          w.BtBaumZahl->click();
        },
        [&](TForm2& w) {
          seen << w.LblMerkmal->text();
          QVERIFY(HintShown(w.Graf).contains("Baumarten-Schalter"));
          QVERIFY(w.BtGrundfl->isEnabled());
          w.Button14->click();  // "BHD"
        },
        [&](TForm2& w) {
          Snapshot(&w, "diagram_mean_diameter");
          seen << w.LblMerkmal->text();
          QVERIFY(!w.Button14->isEnabled());
          w.CategoryButton[0]->click();  // the whole stand's distribution
        },
        [&](TForm2& w) {
          Snapshot(&w, "diagram_stand_distribution");
          seen << w.LblMerkmal->text();
          w.reject();  // the close box
        },
    });
    main.sBtDiagramm->click();
    QCOMPARE(seen, QStringList({"Grundfläche / ha", "Fichte:  BHD-Verteilung  (Baumzahl  /ha)", "Baumzahl / ha",
                                "mittl. Durchmesser", "Bestand:  BHD-Verteilung  (Baumzahl  /ha)"}));
    QVERIFY(f.state.graph.kind == DiagramKind::Exit);
    QCOMPARE(f.state.graph.command, 'E');
    QCOMPARE(f.state.graph.graphSpecies, 0);
    QVERIFY(!f.form2().isVisible());
  }

  void allSimulationsShowTheSpreadOfTheRepetitions() {
    Fixture f;
    QVERIFY(f.loaded && f.passed);
    // as after a run of eleven evaluations: the whole stand's basal area 0.5 m²/ha off in four of them
    f.state.evaluation.run.count = 10;
    f.state.evaluation.histograms.Clear();
    f.state.evaluation.histograms.basalArea[0][15] = 7;
    f.state.evaluation.histograms.basalArea[0][17] = 4;
    f.form1().LbAnzStpQ->setText("Stichproben i.M.       64");
    QString heading, spread, plots;
    f.Script({[&](TForm2& w) {
                QVERIFY(w.BtGesamt->isEnabled());
                w.BtGesamt->click();
              },
              [&](TForm2& w) {
                Snapshot(&w, "diagram_all_simulations");
                heading = Cell(w, 4, 0);
                spread = Cell(w, 4, 1);
                plots = w.LblAnzStp->text();
                QCOMPARE(w.BtGesamt->text(), QString("Letzte Simulation"));
                QVERIFY(w.Label3->text().endsWith("Alle Simulationen"));
                w.BtGesamt->click();  // back to the last simulation
              },
              [&](TForm2& w) {
                QVERIFY(w.Label3->text().endsWith("Letzte Simulation"));
                w.Button13->click();
              }});
    f.form1().sBtDiagramm->click();
    QCOMPARE(heading, QString("Simulationen"));
    QCOMPARE(spread, QString("     10"));
    QCOMPARE(plots, QString("Stichproben i.M.       64"));
    QVERIFY(!f.state.graph.allSimulations);
  }

  void countedTreesHaveNoDiameterDiagram() {
    Fixture f;
    QVERIFY(f.loaded && f.passed);
    // as after an angle count that only counted the trees
    f.state.evaluation.estimate.method = kMethodAngleCount;
    f.state.sampling.method.countingMode = 0;
    int basalAreaShown = 0;
    f.Script({[&](TForm2& w) {
                ++basalAreaShown;
                w.Button14->click();
              },
              [&](TForm2& w) {
                ++basalAreaShown;
                QVERIFY(!w.BtGrundfl->isEnabled());
                w.Button13->click();
              }});
    f.form1().sBtDiagramm->click();
    QCOMPARE(basalAreaShown, 2);
    QVERIFY(f.fs.messages.Saw("Keine BHD-Auswertung möglich"));
  }

  void reportOpensTheDiagramsAndComesBack() {
    Fixture f;
    QVERIFY(f.loaded && f.passed);
    bool diagramSeen = false, reportBack = false;
    TForm18* report = f.forms().form18;
    WhenModal(report, [&, report] {
      f.Script({[&](TForm2& w) {
        diagramSeen = true;
        w.Button13->click();
      }});
      report->BtMultiSim27->click();
      reportBack = report->isVisible();
      report->BtnSchliessen->click();
    });
    f.form1().sBtAuswertung->setEnabled(true);
    f.form1().sBtAuswertung->click();
    QVERIFY(diagramSeen);
    QVERIFY(reportBack);
  }

  void nothingIsShownDuringARun() {
    Fixture f;
    f.state.run.busy = true;
    f.state.run.showReport = false;
    ResultDiagramData data;
    QVERIFY(f.form2().DrawResultDiagram(data) == DiagramShown::NotShown);
    QVERIFY(!f.form2().isVisible());
    f.state.run.busy = false;
  }

  void printedPageHoldsFrameAndBarsAndTheButtonsComeBack() {
    Fixture f;
    QVERIFY(f.loaded && f.passed);
    TForm2& w = f.form2();
    w.Fill(DiagramBasalArea(f.Input(), f.state.language).data);

    // The page rendered offscreen as the printer gets it: A4 at 100 dpi.
    QImage page(827, 1169, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
      QPainter painter(&page);
      w.PaintPage(painter, page.rect());
    }
    if (const char* d = std::getenv("TOLVEK_SCREENSHOT_DIR")) page.save(QString("%1/diagram_printed_page.png").arg(d));
    // the chart's frame: a dark line across most of the chart's width, where the picture puts it
    const double scale = 827.0 / 690.0;
    const int frameTop = static_cast<int>((diagram_layout::kChartTop) * scale + 0.5);
    int darkOnFrame = 0;
    for (int x = static_cast<int>(220 * scale); x < static_cast<int>(640 * scale); ++x)
      for (int dy = -1; dy <= 1; ++dy)
        if (qGray(page.pixel(x, frameTop + dy)) < 110) {
          ++darkOnFrame;
          break;
        }
    QVERIFY2(darkOnFrame > 300, qPrintable(QString::number(darkOnFrame)));
    // the bars in the grey of the whole stand and the species' colours, below the frame's top
    const QColor grey = ToQColor(8421504);
    int greyPixels = 0;
    for (int y = frameTop; y < static_cast<int>((diagram_layout::kChartTop + diagram_layout::kChartHeight) * scale); ++y)
      for (int x = 0; x < page.width(); ++x) {
        const QColor c = page.pixelColor(x, y);
        if (std::abs(c.red() - grey.red()) < 12 && std::abs(c.green() - grey.green()) < 12 &&
            std::abs(c.blue() - grey.blue()) < 12)
          ++greyPixels;
      }
    QVERIFY2(greyPixels > 500, qPrintable(QString::number(greyPixels)));
    // nothing below the picture
    QCOMPARE(CountPixels(page.copy(0, 700, page.width(), 400), Qt::white), page.width() * 400);

    // Printing through the print dialog (a PDF file here) hides the command buttons meanwhile and gives
    // every one back, "Alle Simulationen" included.
    TempDir out;
    const QString pdf = QString::fromStdString(out.File("diagram.pdf"));
    bool hiddenWhilePrinting = false;
    w.choosePrinter = [&](QPrinter& printer) {
      hiddenWhilePrinting = w.Button1->isHidden() && w.BtGesamt->isHidden() && w.Button13->isHidden();
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      return true;
    };
    w.BtListe->hide();  // hidden before: stays hidden
    w.Button1Click();
    QVERIFY(hiddenWhilePrinting);
    QVERIFY(QFileInfo(pdf).size() > 1000);
    for (QPushButton* b : {w.BtFlaeche, w.BtGrundfl, w.Button14, w.Button1, w.Button13, w.BtSpeich, w.BtBaumZahl,
                           w.BtGesamt})
      QVERIFY2(!b->isHidden(), qPrintable(b->objectName()));
    QVERIFY(w.BtListe->isHidden());
    if (const char* d = std::getenv("TOLVEK_SCREENSHOT_DIR")) {
      QFile::remove(QString("%1/diagram.pdf").arg(d));
      QFile::copy(pdf, QString("%1/diagram.pdf").arg(d));
    }
  }

  void savedPictureHoldsTheDrawingAlone() {
    Fixture f;
    QVERIFY(f.loaded && f.passed);
    TForm2& w = f.form2();
    w.Fill(DiagramStemNumber(f.Input(), f.state.language).data);
    TempDir out;
    w.chooseSaveFile = [&] { return std::pair<std::string, std::string>{out.File("grafik"), "PNG"}; };
    w.BtSpeichClick();
    const std::string png = out.File("grafik.png");
    QVERIFY(f.fs.messages.Saw("Grafik gespeichert als <" + png + ">"));
    const QImage picture(QString::fromStdString(png));
    QCOMPARE(picture.size(), QSize(diagram_layout::kWindowWidth, diagram_layout::kWindowHeight));
    // where "schliessen" stands on the screen the picture is blank
    const QRect close = w.Button13->geometry();
    QCOMPARE(CountPixels(picture.copy(close), Qt::white), close.width() * close.height());
    QVERIFY(!w.Button13->isHidden());
    // a bitmap by its suffix; a folder that is not there: a message and no claim of success
    QVERIFY(w.SavePictureTo(out.File("grafik.bmp"), "PNG"));
    QCOMPARE(QImage(QString::fromStdString(out.File("grafik.bmp")), "BMP").size(), picture.size());
    f.fs.messages.shown.clear();
    QVERIFY(!w.SavePictureTo(out.File("missing/grafik.png")));
    QVERIFY(f.fs.messages.Saw("Datei konnte nicht gespeichert werden:"));
    QVERIFY(!f.fs.messages.Saw("Grafik gespeichert"));
  }
};

QTEST_MAIN(ResultDiagramWindowTest)
#include "result_diagram_window_test.moc"
