// The model stands through the windows: the "Sonderfunktionen" panel, the model-stand list with the
// single-stand choice and the classification matrix, the real/generated choice, the overview and the
// start of the generator, on a program folder whose registers the test writes.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QtTest>

#include "common/format.h"
#include "common/stand_register.h"
#include "common/generated_stand_store.h"
#include "common/tree_file.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form30.h"
#include "simulator/forms/form35.h"
#include "simulator/forms/form36.h"
#include "simulator/forms/form43.h"
#include "simulator/generator_launch.h"
#include "tests/support/qt_helpers.h"

using namespace tolvek;
using tolvek::testing::Snapshot;
using tolvek::testing::WhenModal;

namespace {

// A stand of w x h metres with trees of two species on a lattice.
StandToSave LatticeStand(double w, double h, int first, int second) {
  StandToSave s;
  s.width = w;
  s.height = h;
  int i = 0;
  for (double y = 4.0; y < h; y += 7.0)
    for (double x = 3.0; x < w; x += 6.5, ++i) s.trees.push_back({i % 3 ? first : second, 12.0 + (i * 7) % 30, x, y});
  return s;
}

// Leaves the model-stand list with "zurück" should a check inside its modal loop fail and return early.
struct LeaveList {
  TForm30& list;
  ~LeaveList() {
    if (list.isVisible()) list.F30BtnZurueck->click();
  }
};

struct Fixture : tolvek::testing::ShippedProgram {
  Fixture() {
    // Real register: three stands of the EU folder; generated register: eight stands of the generator.
    std::string real;
    for (int i = 0; i < 3; ++i) {
      const int number = 201 + i;
      const double w = 100.0 + 10 * i, h = 100.0;
      QVERIFY(WriteTreeFile(dir.File("StandsEU/wStand" + std::to_string(number) + ".txt"),
                            StandingTreeRecords(LatticeStand(w, h, 1, 5)))
                  .ok());
      real += "Stand" + std::to_string(number) + ".txt " + RegisterShortName("Fi-Bu " + std::to_string(i)) + "MaA1" +
              std::string(1, static_cast<char>('2' + i)) + FormatFixed(7, 2, w) + FormatFixed(7, 2, h) + "   0.00" +
              FormatFixed(7, 2, h) + FormatFixed(7, 2, w) + FormatFixed(7, 2, h) + FormatFixed(7, 2, w) + "   0.00\r\n";
    }
    dir.Write("Vorgaben/Tolvek03.txt", real);
    dir.Write("Vorgaben/TolvekGE.txt", "");
    for (int i = 0; i < 8; ++i) Save(301 + i, "Gen " + std::to_string(i), static_cast<char>('A' + i), '3');
    form1().show();
  }
  void Save(int number, const std::string& name, char type, char age) {
    GeneratedStandIdentity id;
    id.number = number;
    id.shortName = name;
    id.standType = type;
    id.ageDigit = age;
    QVERIFY(SaveEnterpriseStand(dir.path(), id, LatticeStand(100.0, 100.0, 3, 6)).ok());
  }
  TForm30& list() { return *forms().form30; }
  QListWidget& items() { return *list().ListBox1; }
  void OpenSpecialFunctions() { form1().Button17->click(); }
};

}  // namespace

class ModelStandWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void specialFunctionsOpenThePanel() {
    Fixture f;
    f.OpenSpecialFunctions();
    TForm1& m = f.form1();
    QVERIFY(m.Panel7->isVisible());
    QVERIFY(m.CheckBox2->isEnabled() && m.CheckBox3->isEnabled());
    QVERIFY(!m.Button12->isEnabled() && !m.Button14->isEnabled());
    QVERIFY(f.state.run.specialFunctions);
    Snapshot(&m, "special_functions_panel");

    // The overview counts the stands of both registers by type and age class.
    m.Button22->click();
    QCOMPARE(f.fs.messages.shown.size(), std::size_t{1});
    const std::string text = f.fs.messages.shown[0].text;
    QVERIFY(text.find("Anzahl der Modell - Bestände") != std::string::npos);
    QVERIFY(text.find("Reale und generierte Bestände") != std::string::npos);
    QVERIFY(text.find("\t") == std::string::npos);  // laid out for the fixed-pitch box
    // Ticking a box only changes the choice; the table follows at its next load.
    m.CheckBox2->setChecked(false);
    QCOMPARE(f.fs.messages.shown.size(), std::size_t{1});
    QVERIFY(!f.state.modelStands.realStands);
    m.Button22->click();
    QVERIFY(f.fs.messages.shown[1].text.find("Nur generierte Bestände") != std::string::npos);
    QCOMPARE(f.state.modelStands.table.Count(), 8);
  }

  void oneModelStandForTheWholeEnterprise() {
    Fixture f;
    f.OpenSpecialFunctions();
    bool checked = false;
    WhenModal(&f.list(), [&] {
      LeaveList leave{f.list()};
      // Stand 9 of the list is shown first.
      QCOMPARE(f.items().count(), 11);
      QCOMPARE(f.items().currentRow(), 8);
      QCOMPARE(QString::fromStdString(f.state.currentStand.files.code), QString("Stand306"));
      QVERIFY(f.list().BtF30Ja->isVisible());
      QVERIFY(!f.list().BtChAKL->isVisible());
      // A click shows another stand with its information and histogram.
      QTest::mouseClick(f.items().viewport(), Qt::LeftButton, {},
                        f.items().visualItemRect(f.items().item(3)).center());
      QCOMPARE(QString::fromStdString(f.state.currentStand.files.code), QString("Stand301"));
      QVERIFY(f.forms().form35->isVisible());
      QVERIFY(f.forms().form35->LbP16Tabelle->text().contains("Kiefer"));
      QVERIFY(f.form1().ScrollBox1->isVisible());
      Snapshot(&f.list(), "model_stand_list_single");
      Snapshot(&f.form1(), "model_stand_map");
      Snapshot(f.forms().form35, "model_stand_information");
      checked = true;
      f.list().BtF30Ja->click();
    });
    f.form1().Button15->click();
    QVERIFY(checked);
    const ModelStandState& m = f.state.modelStands;
    QVERIFY(m.singleModelStand);
    QCOMPARE(m.chosenEntry, 4);
    QCOMPARE(f.form1().LbEinhBest->text(), QString("Bestand: Stand301"));
    QVERIFY(!f.form1().Button12->isEnabled());
    QVERIFY(!f.forms().form35->isVisible());

    // "zurück" in a later choice leaves this one as it was.
    WhenModal(&f.list(), [&] { f.list().F30BtnZurueck->click(); });
    f.form1().Button15->click();
    QVERIFY(m.singleModelStand);
    QCOMPARE(m.chosenEntry, 4);
  }

  void theMatrixRewritesTheStandsClass() {
    Fixture f;
    f.OpenSpecialFunctions();
    const std::string registerPath = f.dir.File("Vorgaben/TolvekGE.txt");
    RegisterFile expected;
    QCOMPARE(ReadRegisterFile(registerPath, expected), RegisterFileProblem::None);
    // Stand306 (type F, age digit 3) becomes type B, age digit 5; nothing else changes.
    RegisterFileLine& line = expected.lines[5];
    QCOMPARE(QString::fromStdString(RegisterCode(line.Text())), QString("Stand306"));
    line.raw[31] = 'B';
    line.raw[33] = '5';
    bool checked = false;
    WhenModal(&f.list(), [&] {
      LeaveList leave{f.list()};
      TForm30& l = f.list();
      TForm36& matrix = *f.forms().form36;
      QVERIFY(!l.BtF30Ja->isVisible());
      QVERIFY(l.BtChAKL->isVisible() && l.BtChAKL->isEnabled());
      l.BtChAKL->click();
      QVERIFY(matrix.isVisible());
      QCOMPARE(matrix.LbBestand->text(), QString("Stand306"));
      QCOMPARE(matrix.Marked().row, 6);
      QCOMPARE(matrix.Marked().column, 2);
      QCOMPARE(matrix.Label[6]->text(), QString("(F) Fi/Ta/Bu-Ki, sLb"));
      Snapshot(&matrix, "classification_matrix");
      // Type B (row 2), age class 5 (column 4).
      QTest::mouseClick(matrix.ImgMatrix, Qt::LeftButton, {},
                        QPoint(matrix.cell * 3 + matrix.cell / 2, matrix.cell + matrix.cell / 2));
      QVERIFY(!matrix.isVisible());
      QCOMPARE(l.ListBox1->currentRow(), 9);  // on to the next stand
      checked = true;
      l.F30BtnZurueck->click();
    });
    f.form1().Button1->click();
    QVERIFY(checked);
    std::string bytes;
    QVERIFY(ReadWholeFile(registerPath, bytes));
    QCOMPARE(bytes, EncodeRegisterFile(expected));
    QVERIFY(f.fs.messages.shown.empty());
  }

  void theOverviewLinesUpItsColumns() {
    Fixture f;
    f.OpenSpecialFunctions();
    f.form1().Button22->click();
    QCOMPARE(f.fs.messages.shown.size(), std::size_t{1});
    QStringList lines = QString::fromStdString(f.fs.messages.shown[0].text).split('\n');
    QString typeA, sum;
    for (const QString& l : lines) {
      if (l.startsWith("    (A)")) typeA = l;
      if (l.startsWith("   Summe:")) sum = l;
    }
    // Stand A: 1, 2, 1, 0, 0 (4); all: 1, 9, 1, 0, 0 (11); first number column at 26, then every 8.
    QCOMPARE(typeA.mid(26, 6), QString("     1"));
    QCOMPARE(typeA.mid(34, 6), QString("     2"));
    QCOMPARE(sum.mid(26, 6), QString("     1"));
    QCOMPARE(sum.mid(34, 6), QString("     9"));
    QVERIFY(sum.endsWith("    11"));
  }

  void realOrGeneratedStands() {
    Fixture f;
    TForm43& choice = *f.forms().form43;
    WhenModal(&choice, [&] {
      choice.ChkBox2->setChecked(false);
      Snapshot(&choice, "real_or_generated");
      choice.BtWeiter43->click();
    });
    choice.exec();
    QVERIFY(!f.form1().CheckBox2->isChecked());
    QVERIFY(f.form1().CheckBox3->isChecked());
    QCOMPARE(f.form1().LbModBestande->text(), QString("Nur generierte Bestände"));
    QCOMPARE(f.state.modelStands.table.Count(), 8);
  }

  void aStandTheGeneratorSavesIsListedAndLoads() {
    Fixture f;
    f.OpenSpecialFunctions();
    f.form1().Button22->click();  // the table as it was
    f.Save(512, "Neu gespeichert", 'G', '6');
    bool checked = false;
    WhenModal(&f.list(), [&] {
      LeaveList leave{f.list()};
      QCOMPARE(f.items().count(), 12);
      QCOMPARE(f.items().item(11)->text(), QString("Stand512 > Neu gespeiche"));
      QTest::mouseClick(f.items().viewport(), Qt::LeftButton, {},
                        f.items().visualItemRect(f.items().item(11)).center());
      QCOMPARE(QString::fromStdString(f.state.currentStand.files.code), QString("Stand512"));
      QCOMPARE(f.state.currentStand.TreeCount(), static_cast<int>(StandingTreeRecords(LatticeStand(100, 100, 3, 6)).size()));
      checked = true;
      f.list().F30BtnZurueck->click();
    });
    f.form1().Button15->click();
    QVERIFY(checked);
  }

  void bestandGenerierenStartsTheGenerator() {
    Fixture f;
    f.OpenSpecialFunctions();
    f.form1().Button16->click();
    QCOMPARE(f.fs.launcher.started.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(f.fs.launcher.started[0].first), QString::fromStdString(f.dir.File("Vorlint")));
    const LanguageTable& t = f.state.language;
    QCOMPARE(QString::fromStdString(f.fs.launcher.started[0].second),
             QString::fromStdString(t.helpFile + "#" + std::to_string(f.state.settings.language) + t.tableFile));
    QVERIFY(f.fs.messages.shown.empty());

    // A start that fails names the program looked for, and the simulator goes on.
    f.fs.launcher.result = false;
    f.fs.messages.answers = {kResultOk};
    f.form1().Button16->click();
    QCOMPARE(f.fs.messages.shown.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(f.fs.messages.shown[0].text),
             QString::fromStdString("Programm <" + f.dir.File("Vorlint") + "> nicht gefunden"));
    QCOMPARE(f.fs.exit.quits, 0);
    QVERIFY(f.form1().Panel7->isVisible());
  }
};

QTEST_MAIN(ModelStandWindowsTest)
#include "model_stand_windows_test.moc"
