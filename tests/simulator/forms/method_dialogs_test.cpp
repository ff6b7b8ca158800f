// The method window and its parameter dialogs driven as a user would, on a copy of the shipped program
// folder: what each dialog stores, the inputs it refuses while staying open, "zurück" bringing back the
// last confirmed method, the loop of "Verfahren" until a method is set, and the decision hints.
#include "simulator/forms/method_dialogs.h"

#include <QApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <cstdlib>
#include <functional>
#include <memory>

#include "common/paths.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form23.h"
#include "simulator/forms/program.h"
#include "simulator/sampling/decision_hints.h"
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

// Runs step as soon as w is the modal window on top and ready() holds.

struct Fixture : tolvek::testing::ShippedProgram {
  Fixture() { form1().show(); }
  TBtnRightDlg1& d1() { return *program->forms.btnRightDlg1; }
  TBtnRightDlg4& d4() { return *program->forms.btnRightDlg4; }
  TBtnRightDlg5& d5() { return *program->forms.btnRightDlg5; }
  TBtnRightDlg6& d6() { return *program->forms.btnRightDlg6; }
  TBtnRightDlg7& d7() { return *program->forms.btnRightDlg7; }
  TBtnRightDlg40& d40() { return *program->forms.btnRightDlg40; }
  const MethodSettings& m() const { return state.sampling.method; }

  bool TakeFirstStand() {
    WhenModal(program->forms.form23, [this] { QTest::mouseDClick(program->forms.form23->Image[1], Qt::LeftButton); });
    form1().BtStartClick();
    return state.currentStand.loaded;
  }

  // The method window opened by "Verfahren"; inside runs with the window up and must close it.
  void InMethodWindow(std::function<void()> inside) {
    WhenModal(&d1(), inside);
    form1().sBtVerfahrenClick();
  }

  // Fixed circles of the given area through the dialog's size button, confirmed in both windows.
  void ChooseFixedCircles(QPushButton* TBtnRightDlg5::*size) {
    InMethodWindow([this, size] {
      WhenModal(&d5(), [this, size] {
        (d5().*size)->click();
        d5().Button5->click();
      });
      d1().RdBtnVollkr->click();
      d1().OKBtn->click();
    });
  }
};

}  // namespace

class MethodDialogsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void plainWeiterChoosesFixedCirclesOf500() {
    Fixture f;
    double shownArea = 0;
    f.InMethodWindow([&] {
      WhenModal(&f.d5(), [&] {
        shownArea = f.d5().area;
        Snapshot(&f.d5(), "dlg5_fixed_circles");
        f.d5().Button5->click();
      });
      f.d1().OKBtn->click();
    });
    QCOMPARE(shownArea, 500.0);
    QCOMPARE(int(f.m().code), int(kMethodFixedCircle));
    QCOMPARE(f.m().circleArea, 500.0);
    QVERIFY(f.m().confirmed.has_value());
    QCOMPARE(f.form1().LblVerfahren->text(), QString("Vollkreise"));
  }

  void typedRadiusGivesItsAreaAtOnceAndANonNumberIsRefused() {
    Fixture f;
    bool stayedOpen = false;
    QString caption;
    double typedArea = 0;
    f.InMethodWindow([&] {
      WhenModal(&f.d5(), [&] {
        f.d5().Memo1->setText("12.62");
        typedArea = f.d5().area;
        caption = f.d5().Button4->text();
        f.d5().Memo1->setText("abc");
        f.d5().Button5->click();  // refused: the dialog stays
        stayedOpen = f.d5().isVisible();
        f.d5().Memo1->setText("12.62");
        f.d5().Button5->click();
      });
      f.d1().RdBtnVollkr->click();
      Snapshot(&f.d1(), "dlg1_methods");
      f.d1().OKBtn->click();
    });
    QCOMPARE_NEAR(typedArea, 500.34, 0.01);
    QCOMPARE(caption.trimmed(), QString("500.34"));
    QVERIFY(stayedOpen);
    QVERIFY(f.fs.messages.Saw("positiven Radius"));
    QCOMPARE_NEAR(f.m().circleArea, 500.34, 0.01);
    QCOMPARE_NEAR(f.m().circleRadius, 12.62, 1e-9);
  }

  void zurueckInADialogBringsBackTheLastConfirmedMethod() {
    Fixture f;
    f.ChooseFixedCircles(&TBtnRightDlg5::Button2);  // 100 m² confirmed
    QCOMPARE(f.m().circleArea, 100.0);
    // Angle count opened, then left with "zurück": fixed circles of 100 m² stand again, not a bare code 3.
    f.InMethodWindow([&] {
      WhenModal(&f.d7(), [&] { f.d7().CancelBtn->click(); });
      f.d1().RdBtnWZP->click();
      QVERIFY(f.d1().RdBtnVollkr->isChecked());
      QVERIFY(!f.d1().RdBtnWZP->isChecked());
      f.d1().OKBtn->click();
    });
    QCOMPARE(int(f.m().code), int(kMethodFixedCircle));
    QCOMPARE(f.m().circleArea, 100.0);
    QCOMPARE(f.form1().LblVerfahren->text(), QString("Vollkreise"));
    QVERIFY(f.form1().LblRadius->text().contains("100 qm"));
  }

  void aNewMethodForgetsTreeCentredWeightsAlsoAfterAPlotCentredRun() {
    // A tree-centred run of fixed circles, then a plot-centred run: the trees still hold the circle's
    // weights when the next method is chosen, and a tree-centred run of that method must not read them.
    Fixture f;
    QVERIFY(f.TakeFirstStand());
    QVERIFY(!f.state.currentStand.trees.empty());
    for (TreeRecord& t : f.state.currentStand.trees) {
      t.weightDone = 1;
      t.edgeWeight = 1.7;
    }
    f.state.sampling.method.weighting = WeightingMode::PlotCentred;
    f.ChooseFixedCircles(&TBtnRightDlg5::Button2);
    for (const TreeRecord& t : f.state.currentStand.trees) QCOMPARE(int(t.weightDone), 0);
  }

  void verfahrenAsksAgainUntilAMethodIsSetAndZurueckLeavesWithout() {
    Fixture f;
    int openings = 0;
    std::function<void()> each = [&] {
      ++openings;
      if (openings == 1) {
        // "weiter" opens the fixed circles; their "zurück" leaves no method: the window comes back.
        WhenModal(&f.d5(), [&] { f.d5().CancelBtn->click(); });
        WhenModal(&f.d1(), each, [&] { return f.fs.messages.Saw("Bitte Verfahren festlegen"); });
        f.d1().OKBtn->click();
      } else {
        f.d1().CancelBtn->click();
      }
    };
    f.InMethodWindow(each);
    QCOMPARE(openings, 2);
    QVERIFY(f.fs.messages.Saw("Bitte Verfahren festlegen"));
    QCOMPARE(int(f.m().code), int(kMethodNone));
    QVERIFY(!f.m().confirmed.has_value());
    QCOMPARE(f.d1().Tag, 1);
    QVERIFY(f.form1().LblVerfahren->text().isEmpty());
    QVERIFY(f.form1().sBtBestand->isEnabled());
  }

  void withZurueckDisabledTheWindowOnlyClosesByAMethod() {
    // As a run of repetitions left early leaves it: "zurück" off, the radio buttons unchecked.
    Fixture f;
    f.d1().CancelBtn->setEnabled(false);
    bool stillOpen = false;
    f.InMethodWindow([&] {
      QTest::keyClick(&f.d1(), Qt::Key_Escape);
      stillOpen = f.d1().isVisible();
      WhenModal(&f.d6(), [&] { f.d6().Button2->click(); });
      f.d1().RdBtn6BaumClick(false);
      f.d1().OKBtn->click();
    });
    QVERIFY(stillOpen);
    QCOMPARE(int(f.m().code), int(kMethodNTree));
    QVERIFY(f.d1().CancelBtn->isEnabled());  // the n-tree handler gives "zurück" back
  }

  void nTreeVariantsAndTheUnderstorey() {
    Fixture f;
    // Without Ctrl the variants 5 .. 8 are hidden; with it they are offered.
    bool hidden = false, shown = false;
    f.InMethodWindow([&] {
      WhenModal(&f.d6(), [&] {
        hidden = !f.d6().RadioButton[5]->isVisible() && !f.d6().RadioButton[8]->isVisible();
        f.d6().Button1->click();
      });
      f.d1().RdBtn6BaumClick(false);
      WhenModal(&f.d6(), [&] {
        shown = f.d6().RadioButton[5]->isVisible() && f.d6().RadioButton[8]->isVisible();
        Snapshot(&f.d6(), "dlg6_ntree");
        // n = 4 with variant 6: only a notice, the choice stays.
        f.d6().ListBox1->setCurrentRow(2);
        f.d6().RadioButton[6]->setChecked(true);
        f.d6().Button2->click();
      });
      f.d1().RdBtn6BaumClick(true);
      f.d1().OKBtn->click();
    });
    QVERIFY(hidden);
    QVERIFY(shown);
    QCOMPARE(f.m().treeNumber, 4);
    QCOMPARE(int(f.m().variant), 6);
    QVERIFY(f.fs.messages.Saw("Nur für 6-Baum Stichprobr geeignet"));
    QCOMPARE(f.form1().LblRadius->text(), QString("Baumzahl: 4  Variante: 6"));
    // The same through the mouse: Ctrl held while clicking offers the extra variants.
    bool shownByMouse = false;
    f.InMethodWindow([&] {
      WhenModal(&f.d6(), [&] {
        shownByMouse = f.d6().RadioButton[8]->isVisible();
        f.d6().Button2->click();
      });
      QTest::mouseClick(f.d1().RdBtn6Baum, Qt::LeftButton, Qt::ControlModifier);
      f.d1().OKBtn->click();
    });
    QVERIFY(shownByMouse);
    // Let go of Ctrl again: the program reads the keys' state from the last input.
    QTest::mouseClick(f.form1().LblVerfahren, Qt::LeftButton, Qt::NoModifier);
    QVERIFY(!QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier));

    // Variant 4 asks for the understorey limits: 14 cm and 4 m preset.
    f.InMethodWindow([&] {
      WhenModal(&f.d6(), [&] {
        WhenModal(&f.d40(), [&] {
          Snapshot(&f.d40(), "dlg40_understorey");
          f.d40().Button1->click();
        });
        f.d6().RadioButton[4]->setChecked(true);
        f.d6().Button2->click();
      });
      f.d1().RdBtn6BaumClick(false);
      f.d1().OKBtn->click();
    });
    QCOMPARE(f.m().treeNumber, 6);
    QCOMPARE(int(f.m().variant), 4);
    QCOMPARE(f.m().understoreyDbhLimit, 14.0);
    QCOMPARE(f.m().understoreyRadius, 4.0);
    QCOMPARE(f.m().understoreyRadiusSq, 16.0);
    QCOMPARE(f.form1().LblRadius->text(), QString("Baumzahl: 6  Variante: 4/14/ 4"));
    // A double click on a tree number takes it.
    f.InMethodWindow([&] {
      WhenModal(&f.d6(), [&] {
        f.d6().RadioButton[1]->setChecked(true);
        QListWidgetItem* five = f.d6().ListBox1->item(3);
        f.d6().ListBox1->setCurrentItem(five);
        Q_EMIT f.d6().ListBox1->itemDoubleClicked(five);
        if (f.d6().isVisible()) f.d6().Button1->click();  // never left hanging
      });
      f.d1().RdBtn6BaumClick(false);
      f.d1().OKBtn->click();
    });
    QCOMPARE(int(f.m().code), int(kMethodNTree));
    QCOMPARE(f.m().treeNumber, 5);
    QCOMPARE(int(f.m().variant), 1);
    // A hidden extra variant is not taken silently on the next plain opening.
    f.d6().RadioButton[7]->setChecked(true);
    f.d6().Prepare(false);
    QCOMPARE(f.d6().Variant(), 1);
  }

  void angleCountWithFactorTwoAndCounting() {
    Fixture f;
    f.InMethodWindow([&] {
      WhenModal(&f.d7(), [&] {
        QCOMPARE(f.d7().ListBox1->currentItem()->text(), QString("4"));
        QVERIFY(f.d7().RadioButton1->isChecked());
        Snapshot(&f.d7(), "dlg7_angle_count");
        f.d7().ListBox1->setCurrentRow(1);
        f.d7().RadioButton2->click();
        f.d7().BitBtn1->click();
      });
      f.d1().RdBtnWZP->click();
      f.d1().OKBtn->click();
    });
    QCOMPARE(int(f.m().code), int(kMethodAngleCount));
    QCOMPARE(int(f.m().countingFactor), 2);
    QCOMPARE(int(f.m().countingMode), 0);
    QCOMPARE(f.form1().LblRadius->text(), QString::fromUtf8("Zählbreite: 2 zählen"));
    QCOMPARE(f.form1().LblVerfahren->text(), QString("WZP"));
    QCOMPARE(f.m().name, std::string("Winkelzählprobe WZP"));
    QCOMPARE(f.d7().ListBox1->count(), 0);  // the list is cleared after the opening
  }

  void concentricPresetsCountsAndRefusedRadii() {
    Fixture f;
    bool stayedOpen = false;
    f.InMethodWindow([&] {
      WhenModal(&f.d4(), [&] {
        QCOMPARE(f.d4().Memo1->text(), QString("10.0"));  // "Arvenland" at each opening
        QVERIFY(!f.d4().Memo8->isVisible());
        f.d4().Button5->click();  // Ruskaria: five circles
        QVERIFY(f.d4().Memo8->isVisible());
        Snapshot(&f.d4(), "dlg4_concentric");
        f.d4().Memo5->setText("2.0");  // radius 2 below radius 1: refused, the dialog stays
        f.d4().OKBtn->click();
        stayedOpen = f.d4().isVisible();
        f.d4().Memo5->setText(" 5.0");
        f.d4().Memo8->setText("");  // dbh of circle 5 emptied: four circles
        f.d4().OKBtn->click();
      });
      f.d1().RdBtnKonzKr->click();
      f.d1().OKBtn->click();
    });
    QVERIFY(stayedOpen);
    QVERIFY(f.fs.messages.Saw("Die Radien müssen von Kreis zu Kreis zunehmen"));
    QCOMPARE(int(f.m().code), int(kMethodConcentric));
    QCOMPARE(int(f.m().circleCount), 4);
    QCOMPARE(f.m().circleArea, 15.0);
    QCOMPARE(f.form1().LblRadius->text(), QString("max. Radius  15.00 m"));
    QCOMPARE(f.form1().LblVerfahren->text(), QString("Konzentr. Kreise RK"));
    // Smallest dbh 7 cm with the threshold 7 cm: no calliper notice.
    QVERIFY(!f.fs.messages.Saw("Kluppschwelle:"));

    // "Arvenland" after a five-circle choice keeps three circles and tells about the threshold.
    f.InMethodWindow([&] {
      WhenModal(&f.d4(), [&] {
        f.d4().Button2->click();
        f.d4().OKBtn->click();
      });
      f.d1().RdBtnKonzKr->click();
      f.d1().OKBtn->click();
    });
    QCOMPARE(int(f.m().circleCount), 3);
    QCOMPARE(f.m().circleArea, 12.0);
    QVERIFY(f.fs.messages.Saw("Kleinster BHD oberhalb der Kluppschwelle"));
  }

  void decisionHintsOfTheStandForTheChosenMethod() {
    Fixture f;
    QVERIFY(f.TakeFirstStand());
    f.ChooseFixedCircles(&TBtnRightDlg5::Button3);
    const QString memo = f.form1().Memo1->toPlainText();
    QVERIFY(memo.contains(QString::fromUtf8("Folgende Überlegungen")));
    // The first stand names V:21 24: both blocks are there, indented, without their "@" lines.
    QVERIFY(memo.contains(QString::fromUtf8("   Vollkreise bei vielen schwachen Bäumen:")));
    QVERIFY(memo.contains(QString::fromUtf8("   Vollkreise bei unregelmäßiger Bestandesgrenze:")));
    QVERIFY(!memo.contains("@"));
    QVERIFY(f.form1().sBtAnmerk->isEnabled());
    // "Anmerkungen" shows them.
    f.form1().sBtAnmerk->click();
    QVERIFY(f.form1().Memo1->isVisible());
    Snapshot(&f.form1(), "main_decision_hints");
  }

  void dialogsAndGridGroupSpeakTheChosenLanguage() {
    Fixture f;
    f.form1().BitBtn16Click(2);  // English
    QCOMPARE(f.d1().RdBtnVollkr->text(), QString("  Fixed circles"));
    QCOMPARE(f.d1().RdBtn6Baum->text(), QString("  n-tree sample"));
    QCOMPARE(f.d1().OKBtn->text(), QString("next"));
    QCOMPARE(f.d4().Label6->text(), QString("(3) large circle"));
    QCOMPARE(f.d40().Label3->text(), QString("Radius (m)"));
    QCOMPARE(f.d7().RadioButton2->text(), QString("Counting method"));
    QCOMPARE(f.form1().GroupBox1->title(), QString("  Edit grid "));
    QCOMPARE(f.form1().Button8->text(), QString("read"));
    QCOMPARE(f.form1().GridButton[9]->toolTip(), QString("Spacing 5 m wider"));
    // The labels the dialogs write at their opening follow as well.
    f.d40().Prepare();
    QCOMPARE(f.d40().Label2->text(), QString("Limits for the understorey"));
  }

  void everyCatalogueCodeHasItsHintBlock() {
    Fixture f;
    std::vector<std::string> lines;
    QVERIFY(ReadTextLines(JoinPath(f.state.folders.presets, "TxtBaust.txt"), lines));
    for (const char* letter : {"N", "V", "W", "K"})
      for (const StandCatalogueEntry& e : f.state.standCatalogue.entries) {
        bool found = false;
        for (const std::string& code : HintCodes(e.line, letter, found))
          QVERIFY2(!HintBlock(lines, letter, code).empty(), (std::string(letter) + code).c_str());
      }
  }
};

QTEST_MAIN(MethodDialogsTest)
#include "method_dialogs_test.moc"
