// An enterprise inventoried in the main window, on a copy of the shipped program folder and a screen of
// 1366 × 768 pixels: enterprise 1 with a structure dealt by rule, fixed circles of 500 m² on its
// 200 × 100 m grid; one pass with the plot plan stepping through points, the evaluation with the choice
// of the evaluation unit, the charts and the table (each printed to PDF), and a run of 100 repetitions.
// Run under Xvfb with QT_QPA_PLATFORM=xcb and TOLVEK_SCREENSHOT_DIR set, it keeps pictures of what it saw.
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>
#include <deque>
#include <filesystem>
#include <functional>

#include "common/paths.h"
#include "simulator/enterprise/enterprise_inventory.h"
#include "simulator/enterprise/model_stand_assignment.h"
#include "simulator/forms/enterprise_results.h"
#include "simulator/forms/enterprise_windows.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form2.h"
#include "simulator/sampling/grid.h"
#include "tests/simulator/forms/enterprise_program.h"
#include "tests/support/pdf_check.h"
#include "tests/support/qt_helpers.h"

using namespace tolvek;
using tolvek::testing::Snapshot;
using tolvek::testing::WhenModal;

namespace {

void Shot(QWidget* w, const std::string& name) {
  QCoreApplication::processEvents();
  Snapshot(w, name.c_str());
}

// Modal windows answered one after another, in the order they come up. The next window is waited for
// only after a step has acted: a step's screenshot handles events, and a wait set up before it would
// take the window still on screen for the next one when two steps answer the same window.
class Script {
 public:
  void Then(QWidget* w, std::function<void()> step) { steps_.push_back({w, std::move(step)}); }
  void Start() { Next(); }
  bool Done() const { return steps_.empty(); }

 private:
  void Next() {
    if (steps_.empty()) return;
    auto [w, step] = steps_.front();
    WhenModal(w, [this, step] {
      steps_.pop_front();
      step();
      Next();
    });
  }
  std::deque<std::pair<QWidget*, std::function<void()>>> steps_;
};

// A PDF printer into the test's folder; the file is checked to hold a page.
struct PdfPrinter {
  explicit PdfPrinter(const std::string& path) : file(path) {}
  std::function<bool(QPrinter&)> Chooser() {
    return [this](QPrinter& p) {
      p.setOutputFormat(QPrinter::PdfFormat);
      p.setOutputFileName(QString::fromStdString(file));
      return true;
    };
  }
  std::string file;
};

// The texts the windows show in the language a test runs in.
struct Texts {
  int language;  // the language button's number
  const char* prefix;  // of the screenshots' names
  const char* planQuestion;
  const char* basalArea;
  const char* inventory;
  const char* stems;
  const char* distribution;
  const char* area;
};
const Texts kGerman{1, "de_", "Lageplan weiter anzeigen?", "Grundfläche / ha", "Betriebsinventur", "Baumzahl",
                    "BHD-Verteilung", "Fläche (ha)"};
const Texts kEnglish{2, "en_", "Go on showing the plot plan?", "Basal area / ha", "Enterprise inventory", "Trees",
                     "DBH distribution", "Area (ha)"};

// Keeps a printed PDF beside the screenshots, to be looked at as pictures.
void KeepPdf(const std::string& file, const std::string& name) {
  if (const char* d = std::getenv("TOLVEK_SCREENSHOT_DIR"))
    std::filesystem::copy_file(file, std::string(d) + "/" + name + ".pdf",
                               std::filesystem::copy_options::overwrite_existing);
}

using Fixture = tolvek::testing::EnterpriseProgram;

}  // namespace

class EnterpriseInventoryWindowTest : public QObject {
  Q_OBJECT

  // One pass with the plot plan, then the evaluation's views, in the language of `x`.
  void PassWithThePlotPlanThenTheViews(const Texts& x) {
    const std::string pre = x.prefix;
    Fixture f(x.language);
    f.EnterWithStructure();
    QVERIFY(f.state.sampling.grid.insideCount > 250);
    Shot(&f.f1(), pre + "inventory_grid");

    // The plan at each point with trees: "ja" three times, then "nein".
    int plans = 0;
    f.fs.messages.onShow = [&](const tolvek::testing::ShownMessage& m) {
      if (m.text != x.planQuestion) return;
      ++plans;
      QVERIFY(f.f1().Panel11->isVisible());
      QCOMPARE(m.left, 3);
      QCOMPARE(m.top, 460);
      if (plans <= 3) {
        Shot(&f.f1(), pre + "inventory_plan_" + std::to_string(plans));
        Shot(f.f1().Panel11, pre + "inventory_plan_panel_" + std::to_string(plans));
      }
    };
    f.fs.messages.answers = {kResultYes, kResultYes, kResultYes, kResultNo};
    f.f1().GitterFertig->click();
    f.fs.messages.onShow = nullptr;
    QCOMPARE(plans, 4);
    QVERIFY(!f.f1().Panel11->isVisible());
    QVERIFY(f.f1().sBtAuswertung->isEnabled());
    QVERIFY(f.state.sampling.pass.plotCount > 250);
    QVERIFY(FileExists(StatisticsFilePath(f.state.folders)));
    Shot(&f.f1(), pre + "inventory_after_pass");

    // "Auswertung": the choice, the basal-area chart of stratum (1, 1), its table, the stems, back to
    // the choice, the classes of type 1 compared (area), and row 7 / column 7 to leave.
    TForm27* choice = f.forms().form27;
    TForm2* chart = f.forms().form2;
    TForm31* table = f.forms().form31;
    PdfPrinter chartPdf(f.dir.File("chart.pdf")), tablePdf(f.dir.File("table.pdf"));
    chart->choosePrinter = chartPdf.Chooser();
    table->choosePrinter = tablePdf.Chooser();
    const int cell = choice->ImgBTAk->width() / 7;
    auto clickCell = [&](int row, int column) {
      QTest::mouseClick(choice->ImgBTAk, Qt::LeftButton, {}, QPoint((column - 1) * cell + cell / 2, (row - 1) * cell + cell / 2));
    };
    Script script;
    script.Then(choice, [&] {
      Shot(choice, pre + "inventory_choice");
      clickCell(1, 1);
    });
    script.Then(chart, [&] {
      QCOMPARE(chart->LblMerkmal->text(), QString::fromUtf8(x.basalArea));
      QVERIFY(chart->Label3->text().startsWith(x.inventory));
      QVERIFY(!chart->CategoryButton[0]->isEnabled());
      Shot(chart, pre + "inventory_chart_basal_area");
      chart->Button1->click();
      chart->BtListe->click();
    });
    script.Then(table, [&] {
      QVERIFY(table->Memo1->toPlainText().contains("Alle BA G S"));
      QCOMPARE(table->Panel1->x(), 80 * 1 + 70);
      Shot(table, pre + "inventory_table");
      table->Button2->click();
      table->Button1->click();
    });
    script.Then(chart, [&] { chart->BtBaumZahl->click(); });
    script.Then(chart, [&] {
      QVERIFY(chart->LblMerkmal->text().startsWith(x.stems));
      Shot(chart, pre + "inventory_chart_stems");
      chart->CategoryButton[1]->click();  // the spruce's diameter distribution
    });
    script.Then(chart, [&] {
      QVERIFY(chart->LblMerkmal->text().contains(x.distribution));
      Shot(chart, pre + "inventory_chart_distribution");
      chart->Button13->click();
    });
    script.Then(choice, [&] { clickCell(1, 7); });
    script.Then(chart, [&] {
      QCOMPARE(chart->LblMerkmal->text(), QString::fromUtf8(x.area));
      Shot(chart, pre + "inventory_chart_classes_area");
      chart->Button13->click();
    });
    script.Then(choice, [&] { clickCell(7, 2); });
    script.Then(chart, [&] {
      Shot(chart, pre + "inventory_chart_types_area");
      chart->BtListe->click();
    });
    script.Then(table, [&] {
      // Row 7: the head and the blocks of the three types.
      const QString text = table->Memo1->toPlainText();
      QVERIFY(text.contains("(A)") && text.contains("(D)") && text.contains("(F)"));
      Shot(table, pre + "inventory_table_types");
      table->Button1->click();
    });
    script.Then(chart, [&] { chart->Button13->click(); });
    script.Then(choice, [&] { clickCell(7, 7); });
    script.Start();
    f.f1().sBtAuswertung->click();
    QVERIFY(script.Done());

    // The report: its head and blocks, "±" as the file's code page writes it.
    std::string report;
    QVERIFY(ReadWholeFile(EnterpriseReportPath(f.state.folders.program), report));
    QVERIFY(report.find(x.language == 1 ? "Legende:" : "Legend:") != std::string::npos);
    QVERIFY(report.find("Alle BA G S") != std::string::npos);
    QVERIFY(report.find(" \xC2\xB1") != std::string::npos);
    std::string extract;
    QVERIFY(ReadWholeFile(StratumTablePath(f.state.folders.program), extract));
    QVERIFY(extract.rfind("  ", 0) == 0);
    QVERIFY(tolvek::testing::CheckPdfFile(chartPdf.file).pages >= 1);
    QVERIFY(tolvek::testing::CheckPdfFile(tablePdf.file).pages >= 1);
    KeepPdf(chartPdf.file, pre + "inventory_chart");
    KeepPdf(tablePdf.file, pre + "inventory_table");
  }

 private Q_SLOTS:
  void aPassWithThePlotPlanThenTheViews() { PassWithThePlotPlanThenTheViews(kGerman); }
  void theSameInEnglish() { PassWithThePlotPlanThenTheViews(kEnglish); }

  void aGridThatCannotBeSavedIsSaidSoAndThePassStands() {
    Fixture f(kGerman.language);
    f.EnterWithStructure();
    f.f1().Button7->click();  // saved at the end of the next pass
    QVERIFY(f.state.sampling.grid.saveRequest);
    std::filesystem::create_directories(GridFilePath(f.state.folders.program, f.state.enterprise.number) +
                                        "/in the way");
    f.f1().GitterFertig->click();
    QVERIFY(f.fs.messages.Saw("Gitternetz konnte nicht gespeichert werden"));
    QVERIFY(f.f1().sBtAuswertung->isEnabled());
    // Said once: the next pass has nothing left to report.
    const std::size_t shown = f.fs.messages.shown.size();
    f.f1().ShowEnterprisePassEnd();
    QCOMPARE(f.fs.messages.shown.size(), shown);
  }

  void aRunOfOneHundredRepetitions() { RunOfOneHundredRepetitions(kGerman); }
  void theRunInEnglish() { RunOfOneHundredRepetitions(kEnglish); }

 private:
  void RunOfOneHundredRepetitions(const Texts& x) {
    Fixture f(x.language);
    f.EnterWithStructure();
    const int crossPixels = f.WhitePixels();
    f.f1().GitterFertig->click();
    // Stopped after 100 repetitions as a user stops it; the print question answered "nein".
    f.fs.pump.onPump = [&](int) {
      if (f.state.evaluation.run.count >= 100 && !f.state.run.repetitionStop) f.f1().sBtNeuesVerfahren->click();
    };
    f.f1().F1BtWiederholen->setEnabled(true);
    f.f1().F1BtWiederholen->click();
    f.fs.pump.onPump = nullptr;
    const RunStatistics& run = f.state.evaluation.run;
    QVERIFY(run.count >= 100);
    QVERIFY(run.count < 120);
    int counted = 0;
    for (int c : run.histogram) counted += c;
    QCOMPARE(counted, run.count);
    // A sample of the whole enterprise: the basal area within a few per cent of the truth on average.
    QVERIFY(std::abs(run.g.bias) < 5.0);
    QVERIFY(run.g.sd > 0.5 && run.g.sd < 15.0);
    QVERIFY(f.f1().ImgRepeat->isVisible());
    Shot(&f.f1(), std::string(x.prefix) + "inventory_run_100");
    // Each repetition's grid is drawn on the map as it was: the crosses of earlier grids are gone.
    QVERIFY(f.WhitePixels() < 2 * crossPixels);
    // The deviations of the strata were collected over the run: the chart of all simulations has them.
    int binned = 0;
    for (std::uint16_t c : f.state.inventory.histograms.basalArea[0][0][0]) binned += c;
    QCOMPARE(binned, run.count);
    std::string report;
    QVERIFY(ReadWholeFile(EnterpriseReportPath(f.state.folders.program), report));
    QVERIFY(report.find("Alle BA G S") != std::string::npos);
  }
};

int main(int argc, char** argv) {
  return tolvek::testing::RunOnScreen<EnterpriseInventoryWindowTest>(1366, 768, argc, argv);
}

#include "enterprise_inventory_window_test.moc"
