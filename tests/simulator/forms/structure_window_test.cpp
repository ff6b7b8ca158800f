// The enterprise structure in the main window, on a copy of the shipped program folder and a screen of
// 1366 × 768 pixels: the stored structure read on entry and previewed in the choice window, the wizard
// walked forwards and back through its windows, the area balance with its colour matrix, the structure
// saved and read back by a program started afresh, and damaged files that leave everything as it was.
// Run under Xvfb with QT_QPA_PLATFORM=xcb and TOLVEK_SCREENSHOT_DIR set, it keeps pictures of what it saw.
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>
#include <filesystem>

#include "simulator/enterprise/enterprise_choice.h"
#include "simulator/enterprise/structure_file.h"
#include "simulator/forms/enterprise_windows.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form43.h"
#include "simulator/forms/method_dialogs.h"
#include "simulator/forms/small_dialogs.h"
#include "simulator/forms/structure_windows.h"
#include "tests/support/qt_helpers.h"

using namespace tolvek;
using tolvek::testing::WhenModal;

namespace {

// Pictures of the whole screen under Xvfb: the wizard's windows stand over the map.
void Shot(QWidget* w, const std::string& name) { tolvek::testing::Shot(w, name, true); }

// Steps run one after the other, each when its window is the modal one on top.
using Step = std::pair<QWidget*, std::function<void()>>;
void Steps(std::vector<Step> steps, std::size_t i = 0) {
  if (i >= steps.size()) return;
  WhenModal(steps[i].first, [steps, i] {
    Steps(steps, i + 1);
    steps[i].second();
  });
}

struct Fixture : tolvek::testing::ShippedProgram {
  Fixture() { form1().show(); }
  TForm37& form37() { return *program->forms.form37; }
  TForm29& form29() { return *program->forms.form29; }
  TForm25& form25() { return *program->forms.form25; }
  TForm26& form26() { return *program->forms.form26; }
  TForm32& form32() { return *program->forms.form32; }
  TForm33& form33() { return *program->forms.form33; }
  TForm43& form43() { return *program->forms.form43; }
  // "Struktur ändern" first asks which model stands to take: real and generated ones.
  Step Registers() {
    return {&form43(), [this] { form43().BtWeiter43->click(); }};
  }

  // "Betrieb", then a double click on picture 1..6 of the choice window.
  void Enter(int image, const std::function<void()>& inChoice = {}) {
    WhenModal(&form37(), [this, image, inChoice] {
      if (inChoice) inChoice();
      QTest::mouseDClick(form37().Image[static_cast<std::size_t>(image)], Qt::LeftButton);
    });
    form1().Button14->click();
  }

  std::string TempFile(int n) { return EnterpriseFilePath(state.folders.program, n); }
};

std::vector<std::string> FileLines(const std::string& path) {
  std::vector<std::string> lines;
  ReadTextLines(path, lines);
  return lines;
}

}  // namespace

class StructureWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void theStoredStructureIsPreviewedAndReadOnEntry() {
    Fixture f;
    f.Enter(1, [&] {
      // A click on the upper row of enterprise 1 (stand types, its default's mode): its balance beside.
      QTest::mouseClick(f.form37().Image[1], Qt::LeftButton);
      QVERIFY(f.form32().isVisible());
      QVERIFY(!f.form32().isModal());
      QVERIFY(!f.form32().Button1->isVisible());
      QVERIFY(f.form32().LbTabelle->text().contains(QString::fromUtf8("(A) Fichte - Ta, sLb")));
      QVERIFY(f.form32().LbTabelle->text().contains("Alle Bestandestypen"));
      Shot(&f.form37(), "structure_choice_preview");
      // Enterprise 2 is stored by forest development types: its lower row shows the balance.
      QTest::mouseClick(f.form37().Image[2], Qt::LeftButton);
      QVERIFY(!f.form32().isVisible());
      QTest::mouseClick(f.form37().Image[5], Qt::LeftButton);
      QVERIFY(f.form32().isVisible());
      QVERIFY(f.form32().LbTabelle->text().contains("(g) Buntlaubb"));
      QTest::mouseClick(f.form37().Image[1], Qt::LeftButton);
    });
    QVERIFY(!f.form32().isVisible());
    const EnterpriseSession& e = f.state.enterprise;
    // The default's structure replaced the random cut: three types, the figures with a one-digit number.
    QCOMPARE(e.chosen.count, 3);
    QCOMPARE(e.chosen.codes[2], 4);
    QVERIFY(f.form1().Button25->isEnabled());
    QVERIFY(!f.form1().Button24->isEnabled());
    QCOMPARE(f.form1().LblBestand->text(), QString("Betrieb Nr.1   Akl"));
    QVERIFY(f.fs.messages.shown.empty());
    Shot(&f.form1(), "structure_read_on_entry");
    // "Struktur beibehalten": the structure panel.
    f.form1().Button25->click();
    QVERIFY(f.form1().Panel5->isVisible());
    QVERIFY(!f.form1().Panel8->isVisible());
    QVERIFY(!f.form1().MapTakesClicks());
    auto counts = [&] {
      std::vector<std::size_t> n;
      for (int a = 1; a <= e.compartmentCount; ++a) n.push_back(e.At(a).stands.size());
      return n;
    };
    const std::vector<std::size_t> before = counts();
    for (int a = 1; a <= e.compartmentCount; ++a) {
      const CanvasPoint p = f.form1().EnterpriseTransform().ToPixel(e.Outline(a)[0]);
      QTest::mouseClick(f.form1().ImgBest, Qt::LeftButton, {}, QPoint(p.x + 12, p.y + 12));
    }
    QVERIFY(counts() == before);  // no compartment cut anew
    QVERIFY(!f.form1().Button10->isEnabled());
    Shot(&f.form1(), "structure_panel");
  }

  void theWizardWalkedForwardsAndBack() {
    Fixture f;
    f.Enter(4);  // enterprise 1 by forest development types: its file is of stand types, not read
    EnterpriseSession& e = f.state.enterprise;
    QCOMPARE(e.chosen.count, 0);
    QVERIFY(!f.form1().Button25->isEnabled());
    int shownTypes = 0;
    Steps({
        f.Registers(),
        {&f.form29(),
         [&] {
           ++shownTypes;
           QCOMPARE(f.form29().Label2->text(), QString("Waldentwicklungstypen"));
           QVERIFY(f.form29().CheckBox[1]->isChecked() && f.form29().CheckBox[3]->isChecked() &&
                   f.form29().CheckBox[6]->isChecked());
           QVERIFY(f.form29().CheckBox[4]->text().startsWith("(d) Buche"));
           Shot(&f.form29(), "structure_wizard_types");
           f.form29().Button2->click();
         }},
        {&f.form25(),
         [&] {
           QCOMPARE(f.form25().SpinEdit[1]->value(), 33);
           QVERIFY(!f.form25().SpinEdit[4]->isEnabled());
           f.form25().Btzurueck->click();  // back to the types
         }},
        {&f.form29(),
         [&] {
           ++shownTypes;
           f.form29().CheckBox[6]->setChecked(false);
           f.form29().Button2->click();
         }},
        {&f.form25(),
         [&] {
           QCOMPARE(f.form25().SpinEdit[1]->value(), 50);
           f.form25().SpinEdit[1]->setValue(70);
           QCOMPARE(f.form25().SpinEdit[2]->value(), 30);
           QCOMPARE(f.form25().Label[2]->text(), QString("(c) "));
           Shot(&f.form25(), "structure_wizard_type_shares");
           f.form25().Btweiter->click();
         }},
        {&f.form26(),
         [&] {
           QVERIFY(!e.firstDrawing);  // the types are dealt and shown
           QCOMPARE(f.form26().Trackbar->value(), 15);
           Shot(&f.form1(), "structure_wizard_types_dealt");
           f.form26().Button1->click();  // back to the type shares
         }},
        {&f.form25(),
         [&] {
           QCOMPARE(f.form25().SpinEdit[1]->value(), 50);
           f.form25().Btweiter->click();
         }},
        {&f.form26(),
         [&] {
           f.form26().Trackbar->setValue(30);
           Shot(&f.form26(), "structure_wizard_mixing");
           f.form26().Bt26weiter->click();
         }},
        {&f.form25(),
         [&] {
           QCOMPARE(f.form25().Label[3]->text(), QString("  VPF"));
           QCOMPARE(f.form25().SpinEdit[5]->value(), 20);
           QVERIFY(f.form25().SpinEdit[5]->isEnabled());
           f.form25().SpinEdit[2]->setValue(40);  // class 3 would fall to 0: 39
           f.form25().Btzurueck->click();  // back to the mixing, the class shares kept
         }},
        {&f.form26(),
         [&] {
           QCOMPARE(f.form26().Trackbar->value(), 30);
           f.form26().Bt26weiter->click();
         }},
        {&f.form25(),
         [&] {
           QCOMPARE(f.form25().SpinEdit[2]->value(), 39);
           QCOMPARE(f.form25().SpinEdit[3]->value(), 1);
           Shot(&f.form25(), "structure_wizard_class_shares");
           f.form25().Btweiter->click();
         }},
    });
    f.form1().Button23->click();
    QCOMPARE(shownTypes, 2);
    QCOMPARE(e.chosen.count, 2);
    QCOMPARE(e.chosen.codes[2], 3);
    QVERIFY(f.form1().Panel5->isVisible());
    QVERIFY(f.form1().sBtZurueck->isEnabled());
    for (int a = 1; a <= e.compartmentCount; ++a)
      for (const EnterpriseStand& st : e.At(a).stands) {
        QVERIFY(st.typePosition == 1 || st.typePosition == 2);
        QVERIFY(st.cls >= 1 && st.cls <= 5);
      }
    Shot(&f.form1(), "structure_wizard_done");

    // Leaving the wizard from its first window: the entry panel again.
    Steps({f.Registers(), {&f.form29(), [&] { f.form29().Button1->click(); }}});
    f.form1().Panel5->hide();
    f.form1().Button23->click();
    QVERIFY(f.form1().Panel8->isVisible());
    QVERIFY(f.form1().MapTakesClicks());
  }

  void theBalanceAndItsColourMatrix() {
    Fixture f;
    f.Enter(3);  // enterprise 3 with its default of five stand types
    f.form1().Button25->click();
    Steps({{&f.form32(),
            [&] {
              QVERIFY(f.form32().Button2->isVisible());
              QCOMPARE(f.form32().LbFrage->text(), QString::fromUtf8("Farben der Karte erläutern?"));
              QVERIFY(f.form32().LbTabelle->text().contains("(E) Eiche - sLb"));
              Shot(&f.form32(), "structure_balance_table");
              f.form32().Button2->click();  // "Ja"
            }},
           {&f.form33(), [&] {
              QCOMPARE(f.form33().RowLabel[8]->text(), QString("(E) Eiche - sLb"));
              QCOMPARE(f.form33().RowLabel[9]->text(), QString("Alle Bestandestypen"));
              const QImage m = f.form33().ImgBtAk->pixmap().toImage();
              const int cell = m.width() / 6;
              QCOMPARE(m.pixel(cell + cell / 2, 2 * cell - 3) & 0xFFFFFF, qRgb(0xFF, 0x77, 0x77) & 0xFFFFFF);  // type 2, class 2: light red
              Shot(&f.form33(), "structure_balance_matrix");
              f.form33().Button2->click();
            }}});
    f.form1().Button26->click();
    QVERIFY(!f.form33().isVisible());
    QCOMPARE(f.state.structureAnswer, 0);
  }

  // The same walk in English: every window of the structure speaks it, the type names included.
  void theWizardAndTheBalanceInEnglish() {
    Fixture f;
    f.form1().BitBtn16Click(2);
    f.Enter(3);
    QCOMPARE(f.state.enterprise.chosen.count, 5);
    const auto english = [](const QString& text) {
      for (const char* german : {"weiter", "zur\xc3\xbc", "Bestand", "Anteil", "Fl\xc3\xa4", "Eiche", "Fichte"})
        if (text.contains(QString::fromUtf8(german))) return false;
      return !text.isEmpty();
    };
    Steps({f.Registers(),
           {&f.form29(),
            [&] {
              QCOMPARE(f.form29().Label2->text(), QString("Stand types"));
              QVERIFY(english(f.form29().Button2->text()));
              QVERIFY2(english(f.form29().CheckBox[8]->text()), qPrintable(f.form29().CheckBox[8]->text()));
              Shot(&f.form29(), "structure_wizard_types_en");
              f.form29().Button2->click();
            }},
           {&f.form25(),
            [&] {
              QVERIFY2(english(f.form25().Label1n->text()), qPrintable(f.form25().Label1n->text()));
              QVERIFY(english(f.form25().Btweiter->text()));
              Shot(&f.form25(), "structure_wizard_type_shares_en");
              f.form25().Btweiter->click();
            }},
           {&f.form26(),
            [&] {
              QVERIFY2(english(f.form26().Label1->text()), qPrintable(f.form26().Label1->text()));
              Shot(&f.form26(), "structure_wizard_mixing_en");
              f.form26().Bt26weiter->click();
            }},
           {&f.form25(),
            [&] {
              QVERIFY2(english(f.form25().LbBtAkl->text()), qPrintable(f.form25().LbBtAkl->text()));
              Shot(&f.form25(), "structure_wizard_class_shares_en");
              f.form25().Btweiter->click();
            }}});
    f.form1().Button23->click();
    QVERIFY(f.form1().Panel5->isVisible());
    Shot(&f.form1(), "structure_panel_en");
    Steps({{&f.form32(),
            [&] {
              QVERIFY2(english(f.form32().LbFrage->text()), qPrintable(f.form32().LbFrage->text()));
              QVERIFY(f.form32().LbTabelle->text().contains("All stand types"));
              Shot(&f.form32(), "structure_balance_table_en");
              f.form32().Button2->click();
            }},
           {&f.form33(), [&] {
              QVERIFY2(english(f.form33().Label1->text()), qPrintable(f.form33().Label1->text()));
              QVERIFY2(english(f.form33().RowLabel[4]->text()), qPrintable(f.form33().RowLabel[4]->text()));
              QVERIFY2(english(f.form33().Label10->text()), qPrintable(f.form33().Label10->text()));
              Shot(&f.form33(), "structure_balance_matrix_en");
              f.form33().Button2->click();
            }}});
    f.form1().Button26->click();
    QVERIFY(f.fs.messages.shown.empty());
  }

  void theStructureSavedAndReadByAFreshProgram() {
    std::vector<std::string> saved;
    tolvek::testing::TempDir keep;
    std::string folder;
    {
      Fixture f;
      f.Enter(2);  // enterprise 2's default is by forest development types: not read in this row
      // Deal a structure of one type and save it.
      Steps({f.Registers(),
             {&f.form29(),
              [&] {
                for (int n = 1; n <= 8; ++n) f.form29().CheckBox[static_cast<std::size_t>(n)]->setChecked(n == 8);
                f.form29().Button2->click();
              }},
             {&f.form25(), [&] { f.form25().Btweiter->click(); }},
             {&f.form26(), [&] { f.form26().Bt26weiter->click(); }},
             {&f.form25(), [&] { f.form25().Btweiter->click(); }}});
      f.form1().Button23->click();
      QVERIFY(f.form1().Button10->isEnabled());
      f.form1().Button10->click();
      QVERIFY(f.fs.messages.Saw("Betrieb erfolgreich gespeichert"));
      saved = FileLines(f.TempFile(2));
      QCOMPARE(saved.front(), std::string("0"));
      QCOMPARE(saved.back(), std::string("     1     1"));  // real and generated model stands
      QCOMPARE(f.state.enterprise.storedMode[2], 0);
      // Kept for the second program.
      std::filesystem::copy(f.dir.path(), keep.path(), std::filesystem::copy_options::recursive);
      folder = keep.path();
    }
    // A program started afresh on the same folder: the stand-type row of enterprise 2 now reads it.
    tolvek::testing::FakeServices fs;
    SimulatorState state(fs.services);
    state.folders = ProgramFoldersFromFolder(folder);
    SimulatorProgram program(state, false);
    program.forms.form1->show();
    WhenModal(program.forms.form37, [&] { QTest::mouseDClick(program.forms.form37->Image[2], Qt::LeftButton); });
    program.forms.form1->Button14->click();
    QCOMPARE(state.enterprise.chosen.count, 1);
    QCOMPARE(state.enterprise.chosen.codes[1], 8);
    std::vector<std::string> again;
    QVERIFY(state.modelStands.realStands && state.modelStands.generatedStands);  // as the file keeps them
    QVERIFY(
        StructureFileLines(
            StructureOf(state.enterprise, 0, {state.modelStands.realStands, state.modelStands.generatedStands}), again)
            .ok());
    QVERIFY(again == saved);
    Shot(program.forms.form1, "structure_read_after_restart");
  }

  void modelStandsCheckedOnReadingAndDealtOnWeiter() {
    Fixture f;
    // A stored model stand the register no longer has: drawn again when the file is read, with one notice.
    EnterpriseStructure stored;
    QVERIFY(ReadEnterpriseStructure(DefaultEnterpriseFilePath(f.state.folders.program, 1), 20, stored).ok());
    stored.compartments[1].stands[0].modelStand = 9999;
    std::vector<std::string> lines;
    QVERIFY(StructureFileLines(stored, lines).ok());
    QVERIFY(WriteTextLines(f.TempFile(1), lines).ok());
    f.Enter(1);
    QVERIFY(f.fs.messages.Saw("1 Modellbestände passten nicht mehr zum Register und wurden neu gewählt"));
    EnterpriseSession& e = f.state.enterprise;
    const ModelStandState& m = f.state.modelStands;
    auto fits = [&](const EnterpriseStand& st) {
      return st.modelStand >= 1 && m.EntryType(st.modelStand) == e.chosen.codes[static_cast<std::size_t>(st.typePosition)] &&
             m.EntryClass(st.modelStand) == st.cls;
    };
    QVERIFY(fits(e.At(1).stands[0]));
    QCOMPARE(e.At(1).stands[1].modelStand, 0);  // none stored: dealt on "weiter"

    // "Struktur beibehalten", "weiter": every stand gets a model stand of its type and class, then the method.
    f.form1().Button25->click();
    bool methodAsked = false;
    WhenModal(f.program->forms.btnRightDlg1, [&] {
      methodAsked = true;
      f.program->forms.btnRightDlg1->CancelBtn->click();
    });
    f.form1().Button3->click();
    QVERIFY(methodAsked);
    for (int a = 1; a <= e.compartmentCount; ++a)
      for (const EnterpriseStand& st : e.At(a).stands) QVERIFY(fits(st));
  }

  void damagedFilesLeaveEverythingAsItWas() {
    Fixture f;
    // A token that is no number in enterprise 1's file: a message, the random cut kept, the reset offered.
    std::vector<std::string> lines = FileLines(DefaultEnterpriseFilePath(f.state.folders.program, 1));
    lines[3] = "       1   12,5   10.00";
    QVERIFY(WriteTextLines(f.TempFile(1), lines).ok());
    bool resetOffered = false;
    WhenModal(f.program->forms.form41, [&] {
      resetOffered = true;
      f.program->forms.form41->reject();
    });
    f.Enter(1);
    QVERIFY(resetOffered);
    QVERIFY(f.fs.messages.Saw("<Betrieb1: Datei beschädigt."));
    QVERIFY(f.fs.messages.Saw("Zeile 4: Zahl erwartet"));
    QCOMPARE(f.fs.exit.quits, 0);
    QVERIFY(std::filesystem::exists(f.TempFile(1)));  // the user's file is kept
    QCOMPARE(f.state.enterprise.chosen.count, 0);
    QVERIFY(f.form1().ScrollBox1->isVisible());
    QVERIFY(!f.form1().Button25->isEnabled());
    QVERIFY(f.form1().Panel8->isVisible());

    // A save that cannot be written says so and claims no success.
    std::filesystem::remove(f.TempFile(1));
    std::filesystem::create_directories(f.TempFile(1) + "/in the way");
    f.form1().Button10->click();
    QVERIFY(f.fs.messages.Saw("Betrieb nicht gespeichert#Datei konnte nicht geschrieben werden: "));
    QVERIFY(!f.fs.messages.Saw("Betrieb erfolgreich gespeichert"));
  }
};

int main(int argc, char** argv) { return tolvek::testing::RunOnScreen<StructureWindowTest>(1366, 768, argc, argv); }

#include "structure_window_test.moc"
