// "E-Wert der Varianz" and "Optimierung" on the offscreen platform: the checks before the computation,
// the result box, the step display with its option window, and the plan optimisation with its edits and
// the read-out, leaving the user's method and the stand's area as they were.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "simulator/forms/form1.h"
#include "simulator/forms/form22.h"
#include "simulator/forms/form24.h"
#include "simulator/sampling/method.h"
#include "simulator/stand/stand_loader.h"
#include "tests/support/qt_helpers.h"

using namespace tolvek;

namespace {

struct Fixture : tolvek::testing::ShippedProgram {
  explicit Fixture(bool withStand = true) {
    if (withStand) loaded = TryLoadStand(state, dir.path() + "Bestande/wBestnd01.txt").ok();
  }
  void ChooseAngleCount() {
    BeginAngleCount(state.sampling.method, state.language);
    static_cast<void>(ConfirmAngleCount(state.sampling.method, state.language, 4, 1));
  }
  testing::FakeMessages& messages() { return fs.messages; }
  bool loaded = false;
};

}  // namespace

class TrueValuesWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void refusesWithoutStandOrMethodAndForTheNTreeSample() {
    Fixture none(false);
    none.form1().BtVarianzClick();
    QVERIFY(none.messages().Saw("Bitte zuerst Bestand wählen"));

    Fixture f;
    QVERIFY(f.loaded);
    f.form1().BtVarianzClick();
    QVERIFY(f.messages().Saw("Bitte zuerst Verfahren wählen"));
    BeginNTree(f.state.sampling.method, f.state.language);
    ConfirmNTree(f.state.sampling.method, f.state.language, 6, 1, 0, 0);
    f.form1().BtVarianzClick();
    QVERIFY(f.messages().Saw("Für N-Baum-Stichprobe Varianzberechnung # nicht möglich"));
    QCOMPARE(f.state.trueValues.last.N, 0);  // nothing computed
  }

  void computesAfterTheQuestionAndShowsTheBox() {
    Fixture f;
    f.ChooseAngleCount();
    f.messages().answers = {kResultNo};
    f.form1().BtVarianzClick();
    QCOMPARE(f.state.trueValues.last.N, 0);  // "nein": nothing computed

    f.messages().answers = {kResultYes};
    f.form1().BtVarianzClick();
    QCOMPARE(f.state.trueValues.last.N, f.state.currentStand.TreeCount());
    QVERIFY(f.messages().Saw("\tWahre Bestandeswerte"));
    QVERIFY(!f.form1().Panel15->isVisible());
    QVERIFY(!f.state.run.busy);
    // The pass's weights are left alone.
    for (const TreeRecord& t : f.state.currentStand.trees) QCOMPARE(int(t.weightDone), 0);
  }

  void stepDisplayDrawsTheChosenAreas() {
    Fixture f;
    f.ChooseAngleCount();
    f.form1().show();
    f.form1().BtVarianzMouseDown(true);
    f.messages().answers = {kResultYes};
    TForm22* options = f.forms().form22;
    bool optionsShown = false;
    tolvek::testing::WhenModal(options, [&] {
      optionsShown = true;
      QVERIFY(!options->chkAnzeigeEinz->isChecked());  // cleared at every start
      options->chkAnzeigeEinz->setChecked(true);
      options->chkAnzeigeUber->setChecked(true);
      options->Button1->click();
    });
    f.form1().BtVarianzClick();
    QVERIFY(optionsShown);
    // The last text of the side panel names a tree and its area with the boundary.
    QVERIFY(f.form1().LbAuswahl->text().contains("mit Grenze"));
    QVERIFY(!f.form1().PnAuswahl->isVisible());
    tolvek::testing::Snapshot(&f.form1(), "true_values_step_display");
  }

  void nothingTickedIsSaidAndTheComputationGoesOn() {
    Fixture f;
    f.ChooseAngleCount();
    f.form1().BtVarianzMouseDown(true);
    f.messages().answers = {kResultYes};
    tolvek::testing::WhenModal(f.forms().form22, [&] { f.forms().form22->Button1->click(); });
    f.form1().BtVarianzClick();
    QVERIFY(f.messages().Saw("Keine Alternative gewählt"));
    QCOMPARE(f.state.trueValues.last.N, f.state.currentStand.TreeCount());
  }

  void optimisationKeepsMethodAndStandArea() {
    Fixture f;
    f.ChooseAngleCount();
    const double area = f.state.currentStand.areaHa;
    TForm24* plan = f.forms().form24;
    bool shown = false;
    tolvek::testing::WhenModal(plan, [&] {
      shown = true;
      tolvek::testing::Snapshot(plan, "plan_optimisation");
      QCOMPARE(plan->Ed_VC->text(), QString("   10"));
      // A precision of 0 leaves the model undefined: the old value comes back.
      plan->Ed_VC->setText("0");
      plan->Ed_VCExit(plan->Ed_VC);
      QCOMPARE(plan->Ed_VC->text(), QString("   10"));
      // The area is a what-if value of this window only.
      plan->Ed_BestFl->setText("99");
      plan->Ed_VCExit(plan->Ed_BestFl);
      QCOMPARE(plan->Ed_BestFl->text(), QString("99.00"));
      plan->ImgZeitMouseDown(plan->graph().PixelX(10), 100);
      QVERIFY(plan->ImgZeit->toolTip().startsWith(QString::fromUtf8("Bäume: 10")));
      plan->ImgZeitMouseUp();
      plan->Button1->click();
    });
    f.form1().BtOptomClick();
    QVERIFY(shown);
    QCOMPARE(int(f.state.sampling.method.code), int(kMethodAngleCount));
    QCOMPARE(f.state.currentStand.areaHa, area);
    QVERIFY(f.state.trueValues.e16 > f.state.trueValues.e8);
    QVERIFY(f.messages().Saw("St-Abw. zwischen  Flächen"));
  }

  void aStandWithoutVariationIsAbandoned() {
    Fixture f;
    // No tree: both circles give a variance of 0 and there is nothing to split.
    f.state.currentStand.trees.clear();
    bool planShown = false;
    tolvek::testing::WhenModal(f.forms().form24, [&] {
      planShown = true;
      f.forms().form24->Button1->click();
    });
    f.form1().BtOptomClick();
    QVERIFY(f.messages().Saw("Berechnung abgebrochen. "));
    QVERIFY(!planShown);
    QCOMPARE(f.fs.exit.quits, 0);  // the program goes on
  }
};

QTEST_MAIN(TrueValuesWindowTest)
#include "true_values_window_test.moc"
