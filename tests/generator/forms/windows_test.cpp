// The generator's windows on the offscreen platform: field rules as typed, sizing, translation, the
// stand picture and a whole session clicked through.
#include <QApplication>
#include <QtTest/QtTest>

#include "common/qt/qt_canvas.h"
#include "generator/forms/program.h"
#include "tests/support/fakes.h"
#include "tests/support/qt_modal.h"

namespace tolvek::generator {

class GeneratorWindowsTest : public QObject {
  Q_OBJECT

  struct Program {
    Program() : state(fs.services) {
      testing::CopyShippedData(dir);
      state.folders = ProgramFoldersFromFolder(dir.path());
      program = std::make_unique<GeneratorProgram>(state);
    }
    TBtnBottomDlg& dlg() { return *program->btnBottomDlg; }
    testing::TempDir dir;
    testing::FakeServices fs;
    GeneratorState state;
    std::unique_ptr<GeneratorProgram> program;
  };

  static void Type(QLineEdit* e, const char* text) {
    e->clear();
    QTest::keyClicks(e, text);
  }
  static void Leave(QLineEdit* e, const char* text) {
    e->setText(text);
    emit e->editingFinished();
  }

 private slots:
  void fieldRulesAsTyped() {
    Program p;
    SetLevel(p.state, GenerationLevel::kStand);
    p.state.parameters = DefaultParameters();
    p.dlg().ShowParameters();
    QCOMPARE(p.dlg().RowName[1]->text(), QString("Fichte"));
    // An invalid species character: a blank, a beep, and the row no longer takes part.
    Type(p.dlg().Edit[1], "x");
    QCOMPARE(p.dlg().Edit[1]->text(), QString(" "));
    QCOMPARE(p.fs.beeper.beeps, 1);
    QCOMPARE(p.state.parameters.rows[0].code, 0);
    QCOMPARE(p.dlg().LblBaumzahl->text(), QString("150"));
    // "0" clears the whole second row.
    Type(p.dlg().Edit[6], "0");
    QCOMPARE(p.dlg().Edit[7]->text(), QString(""));
    QCOMPARE(p.dlg().RowName[2]->text(), QString(" "));
    QCOMPARE(p.state.parameters.rows[1].stems, 0);
    // A new species and its row's values.
    Type(p.dlg().Edit[11], "3");
    QCOMPARE(p.dlg().RowName[3]->text(), QString("Kiefer"));
    Leave(p.dlg().Edit[12], "35");
    Leave(p.dlg().Edit[14], "-5");
    QCOMPARE(p.dlg().Edit[12]->text(), QString(" 35"));
    QCOMPARE(p.dlg().Edit[14]->text(), QString("   0"));
    // Gap extents by level, groups, shares.
    Leave(p.dlg().Edit[27], "200");
    QCOMPARE(p.dlg().Edit[27]->text(), QString("150"));
    SetLevel(p.state, GenerationLevel::kEnterprise);
    Leave(p.dlg().Edit[28], "200");
    QCOMPARE(p.dlg().Edit[28]->text(), QString(" 50"));
    Type(p.dlg().Edit[30], "5");
    QCOMPARE(p.dlg().Edit[30]->text(), QString("2"));
    Leave(p.dlg().Edit[32], "130");
    QCOMPARE(p.dlg().Edit[32]->text(), QString("100"));
    Type(p.dlg().Edit[30], "0");
    for (int k : {31, 32, 33}) QCOMPARE(p.dlg().Edit[k]->text(), QString("  0"));
    QCOMPARE(p.state.parameters.nine[kInnerShare], 0);
  }

  void drawingWithoutStemsStaysInTheDialog() {
    Program p;
    p.state.parameters = DefaultParameters();
    for (auto& r : p.state.parameters.rows) r.stems = 0;
    p.dlg().ShowParameters();
    p.dlg().setResult(0);
    p.dlg().BtnZeichne->click();
    QCOMPARE(p.dlg().result(), 0);
    QVERIFY(p.fs.messages.Saw("Stammzahl / ha insgesamt muss zwischen 1 und 9999 liegen"));
  }

  void windowsStayInsideTheScreen() {
    Program p;
    for (QSize screen : {QSize(1366, 768), QSize(1024, 768)}) {
      TForm3& f = *p.program->form3;
      f.FitToScreen(screen.width(), screen.height(), screen.width(), screen.height());
      QVERIFY(f.width() <= screen.width() && f.height() <= screen.height());
      for (QWidget* w : f.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        QVERIFY2(QRect(0, 0, f.width(), f.height()).contains(w->geometry()), qPrintable(w->objectName()));
      QCOMPARE(f.ImgBest->height(), 691);
      for (QWidget* d : {static_cast<QWidget*>(&p.dlg()), static_cast<QWidget*>(p.program->form6)}) {
        d->adjustSize();
        QVERIFY2(d->width() <= screen.width() && d->height() <= screen.height() - 40, qPrintable(d->objectName()));
      }
    }
    TForm3& f = *p.program->form3;
    f.FitToScreen(1366, 768, 1366, 738);  // a task bar takes 30 pixels
    QCOMPARE(f.height(), 738);
    QCOMPARE(f.ImgBest->x(), 254);
  }

  void englishTexts() {
    Program p;
    p.state.settings.language = 2;
    QVERIFY(LoadGeneratorLanguage(p.state));
    p.program->ApplyLanguage(p.state.language);
    QCOMPARE(p.dlg().BtnZeichne->text(), QString("Draw stand"));
    QCOMPARE(p.dlg().windowTitle(), QString("F4 Stand"));
    QCOMPARE(p.dlg().LbBa[1]->text(), QString("1 Spruce"));
    QCOMPARE(p.dlg().Label23->text(), QString("These targets are met in the generated stand only if"));
    QCOMPARE(p.dlg().Edit[27]->toolTip(), QString("Extent east-west. Maximum 150 m (stand) or 50 m (enterprise)"));
    QCOMPARE(p.dlg().BxPW->text(), QString("Selection forest"));
    QCOMPARE(p.program->form6->RadioButton1->text(), QString("on the stand level"));
    QCOMPARE(p.program->form3->BtnOK->text(), QString("next"));
    QCOMPARE(p.program->form3->BtnOK->toolTip(), QString("Generate another stand"));
    QCOMPARE(p.program->form3->Button2->text(), QString("back to TOLVEK"));
  }

  void standPicture() {
    Program p;
    SetLevel(p.state, GenerationLevel::kEnterprise);
    GeneratedStand s;
    s.level = GenerationLevel::kEnterprise;
    s.width = s.height = 100.0;
    s.parameters.rows[0] = {2, 40, 0, 0, 1};
    GeneratedTree t;
    t.species = 2;
    t.row = 1;
    t.dbh = 40.0;  // r = 2 m
    t.x = t.y = 50.0;
    s.trees.push_back(t);
    GeneratedTree felled = t;
    felled.x = felled.y = -1.0;
    s.trees.push_back(felled);
    TForm3& f = *p.program->form3;
    f.FitToScreen(1024, 768, 1024, 768);
    f.ShowStand(s, {"", "x"}, p.state.language, {});
    QVERIFY(!f.Button1->isEnabled());  // no save step installed
    const QImage& img = f.Picture();
    QCOMPARE(img.width(), 691);
    QCOMPARE(img.pixelColor(0, 0), QColor(Qt::red));
    const double sc = 691 / 100.0;
    const int cx = qRound(50 * sc), left = qRound(48 * sc);
    QCOMPARE(img.pixelColor(cx, cx), QColor(Qt::black));
    QCOMPARE(img.pixelColor(left, 691 - cx), QColor(255, 0, 0));  // species 2 outline: red
    // The felled tree keeps its species at (−1, −1): nothing of it in the lower-left corner.
    for (int y = 688; y < 690; ++y)
      for (int x = 1; x < 4; ++x) QCOMPARE(img.pixelColor(x, y), QColor(Qt::black));
  }

  void wholeSessionClickedThrough() {
    Program p;
    auto& prog = *p.program;
    bool sawDialog = false;
    testing::WhenModal(prog.form6, [&] {
      testing::Snapshot(prog.form6, "gen_level_dialog");
      prog.form6->RadioButton1->setChecked(true);
      testing::WhenModal(&p.dlg(), [&] {
        sawDialog = true;
        testing::Snapshot(&p.dlg(), "gen_parameter_dialog");
        testing::WhenModal(prog.form3, [&] {
          testing::Snapshot(prog.form3, "gen_result");
          // The second pass: straight back to TOLVEK.
          testing::WhenModal(&p.dlg(), [&] {
            testing::WhenModal(prog.form3, [&] { prog.form3->Button2->click(); });
            p.dlg().BtnZeichne->click();
          }, [&] { return p.state.passCounter == 2; });
          prog.form3->BtnOK->click();
        });
        p.dlg().BtnZeichne->click();
      });
      prog.form6->Button1->click();
    });
    prog.Start();
    QVERIFY(sawDialog);
    QCOMPARE(p.fs.exit.quits, 1);
    QVERIFY(p.state.stand.has_value());
    QCOMPARE(p.state.stand->width, 300.0);
    QCOMPARE(p.state.stand->pass, 2);
    QVERIFY(prog.form3->Memo1->toPlainText().isEmpty());  // cleared after the window
  }
};

}  // namespace tolvek::generator

QTEST_MAIN(tolvek::generator::GeneratorWindowsTest)
#include "windows_test.moc"
