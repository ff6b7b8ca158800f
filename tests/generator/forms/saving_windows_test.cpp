// Saving and deleting generated stands through the generator's windows: the slot list of the stand
// level, the stand data of the enterprise level with its overwrite and delete questions, and a save that
// cannot be written.
#include <QApplication>
#include <QtTest/QtTest>
#include <filesystem>
#include <unistd.h>

#include "common/boundary_file.h"
#include "common/paths.h"
#include "common/stand_register.h"
#include "generator/forms/program.h"
#include "tests/support/fakes.h"
#include "tests/support/qt_modal.h"

namespace tolvek::generator {

class SavingWindowsTest : public QObject {
  Q_OBJECT

  struct Program {
    explicit Program(GenerationLevel level) : state(fs.services) {
      testing::CopyShippedData(dir);
      // The shipped generated stands play no part here.
      dir.Write("Vorgaben/TolvekGE.txt", "");
      state.folders = ProgramFoldersFromFolder(dir.path());
      state.settings.language = 1;
      program = std::make_unique<GeneratorProgram>(state);
      SetLevel(state, level);
      int pass = 1;
      stand = *GenerateStand(DefaultParameters(), level, pass, state.random).stand;
    }
    TForm7& form7() { return *program->form7; }
    std::string Register() const {
      std::string bytes;
      ReadWholeFile(dir.File("Vorgaben/TolvekGE.txt"), bytes);
      return bytes;
    }
    testing::TempDir dir;
    testing::FakeServices fs;
    GeneratorState state;
    std::unique_ptr<GeneratorProgram> program;
    GeneratedStand stand;
  };

  // Types the stand's number and name and clicks the class cell (row, column) of the stand-type grid.
  static void Enter(TForm7& f, const char* text, int row, int column) {
    f.ComboBox1->setEditText(text);
    QTest::mouseClick(f.ImgBtAk, Qt::LeftButton, {},
                      QPoint((column - 1) * f.cell + f.cell / 2, (row - 1) * f.cell + f.cell / 2));
  }

 private slots:
  void enterpriseStandSavedTwiceLeavesOneLine() {
    Program p(GenerationLevel::kEnterprise);
    TForm7& f = p.form7();
    testing::WhenModal(&f, [&] {
      // A number that is none: the window stays.
      Enter(f, "abc Fichte", 1, 2);
      f.Button1->click();
      QVERIFY(f.isVisible());
      QVERIFY(p.fs.messages.Saw("Korrekt: \"301 Fichte,Tanne...\""));
      Enter(f, "305 Fichte,Tanne", 1, 2);
      testing::Snapshot(&f, "gen_stand_data");
      f.Button1->click();
    });
    QVERIFY(p.state.saver->Save(p.stand));
    QVERIFY(p.fs.messages.Saw("Stand305.txt:  Bestand in <StandsGE> gespeichert."));
    const std::string line =
        "Stand305.txt Fichte,Tanne    M A 3   00.0   0.00   0.00 100.00 100.00 100.00 100.00   0.00\r\n";
    QVERIFY(p.Register().size() >= line.size());
    QCOMPARE(p.Register().substr(p.Register().size() - line.size()), line);
    std::vector<TreeFileRecord> trees;
    QVERIFY(ReadTreeFile(p.dir.File("StandsGE/wStand305.txt"), trees).ok());
    QCOMPARE(trees.size(), p.stand.TreeFileRecords().size());

    // The second time the number is asked about: "No" keeps the window open, "Yes" replaces the line.
    p.fs.messages.answers = {kResultNo, kResultYes};
    int asked = 0;
    testing::WhenModal(&f, [&] {
      QCOMPARE(f.ComboBox1->itemText(f.ComboBox1->count() - 1), QString("305 Fichte,Tanne    "));
      Enter(f, "305 Zweiter", 3, 5);
      f.Button1->click();
      QVERIFY(f.isVisible());
      f.Button1->click();
      asked = 2;
    });
    QVERIFY(p.state.saver->Save(p.stand));
    QCOMPARE(asked, 2);
    QVERIFY(p.fs.messages.Saw("Wollen Sie den Bestand Stand305.txt wirklich überschreiben?"));
    const std::string reg = p.Register();
    QCOMPARE(std::count(reg.begin(), reg.end(), '\n'), std::ptrdiff_t{1});
    QCOMPARE(reg.substr(0, 34), std::string("Stand305.txt Zweiter         M C 6"));

    // "zurück" writes nothing.
    testing::WhenModal(&f, [&] { f.Button2->click(); });
    QVERIFY(!p.state.saver->Save(p.stand));
    QCOMPARE(p.Register(), reg);
  }

  void deleteRemovesTheLineAndTheTreeFile() {
    Program p(GenerationLevel::kEnterprise);
    TForm7& f = p.form7();
    for (const char* text : {"305 Erster", "306 Zweiter"}) {
      testing::WhenModal(&f, [&f, text] {
        Enter(f, text, 2, 1);
        f.Button1->click();
      });
      QVERIFY(p.state.saver->Save(p.stand));
    }
    p.fs.messages.answers = {kResultYes};
    testing::WhenModal(&f, [&] {
      f.ComboBox1->setCurrentIndex(0);
      f.ComboBox1Select();
      f.BtLoeschen->click();
      // The window stays for the stand still to be saved; the list no longer has 305.
      QVERIFY(f.isVisible());
      QCOMPARE(f.ComboBox1->count(), 1);
      f.Button2->click();
    });
    QVERIFY(!p.state.saver->Save(p.stand));
    QVERIFY(p.fs.messages.Saw("Stand305.txt:  Bestand in <StandsGE> gelöscht."));
    QVERIFY(!p.fs.messages.Saw("File not found"));
    const std::string reg = p.Register();
    QCOMPARE(reg.substr(0, 12), std::string("Stand306.txt"));
    QCOMPARE(std::count(reg.begin(), reg.end(), '\n'), std::ptrdiff_t{1});
    QVERIFY(!FileExists(p.dir.File("StandsGE/wStand305.txt")));
    QVERIFY(FileExists(p.dir.File("StandsGE/wStand306.txt")));
  }

  void aSaveThatCannotBeWrittenSaysSo() {
    Program p(GenerationLevel::kEnterprise);
    TForm7& f = p.form7();
    const std::string before = p.Register();
    // The register cannot be replaced (a read-only folder would do the same).
    std::filesystem::create_directories(ResolvePath(p.dir.File("Vorgaben/TolvekGE.txt")) + ".tmp" +
                                        std::to_string(::getpid()));
    testing::WhenModal(&f, [&] {
      Enter(f, "410 Probe", 4, 4);
      f.Button1->click();
    });
    QVERIFY(!p.state.saver->Save(p.stand));
    QVERIFY(p.fs.messages.Saw("Bestand nicht gespeichert"));
    QVERIFY(!p.fs.messages.Saw("gespeichert."));
    QCOMPARE(p.Register(), before);
    QVERIFY(!FileExists(p.dir.File("StandsGE/wStand410.txt")));
  }

  void developmentTypesWidenTheWindow() {
    Program p(GenerationLevel::kEnterprise);
    p.state.settings.forestDevelopmentTypes = true;
    TForm7& f = p.form7();
    testing::WhenModal(&f, [&] {
      QCOMPARE(f.width(), 666);
      QVERIFY(f.ImgWET->isVisible());
      QCOMPARE(f.LbWET[8]->text(), QString("(h) Dougl.-Mischwald"));
      testing::Snapshot(&f, "gen_stand_data_wet");
      // A development type is needed; the stand type alone does not do.
      Enter(f, "320 Mischwald", 1, 1);
      f.Button1->click();
      QVERIFY(f.isVisible());
      QTest::mouseClick(f.ImgWET, Qt::LeftButton, {}, QPoint(f.cell / 2, 7 * f.cell + f.cell / 2));
      f.Button1->click();
    });
    QVERIFY(p.state.saver->Save(p.stand));
    QVERIFY(p.fs.messages.Saw("Bitte Bestandestyp und WET auswählen"));
    QCOMPARE(p.Register().substr(29, 5), std::string("MhA12"));
  }

  void aStandLevelSlotGetsItsThreeFiles() {
    Program p(GenerationLevel::kStand);
    TBtnBottomDlg1& slotList = *p.program->btnBottomDlg1;
    QCOMPARE(slotList.ListBox1->item(4)->text(), QString("Simul-Bestand 99"));
    testing::WhenModal(&slotList, [&] {
      testing::Snapshot(&slotList, "gen_slot_list");
      QTest::mouseClick(slotList.ListBox1->viewport(), Qt::LeftButton, {},
                        slotList.ListBox1->visualItemRect(slotList.ListBox1->item(2)).center());
      slotList.OKBtn->click();
    });
    QVERIFY(p.state.saver->Save(p.stand));
    QVERIFY(p.fs.messages.Saw("Bestnd97.txt:  Bestand in <Bestande> gespeichert."));
    std::vector<BoundaryPoint> boundary;
    QVERIFY(ReadBoundaryFile(p.dir.File("Bestande/Grenze97.txt"), boundary).ok());
    QCOMPARE(boundary.size(), std::size_t{5});
    QCOMPARE(boundary[2].x, 300.0);
    std::vector<TreeFileRecord> trees;
    QVERIFY(ReadTreeFile(p.dir.File("Bestande/wBestnd97.txt"), trees).ok());
    QCOMPARE(trees.size(), p.stand.TreeFileRecords().size());
    std::string description;
    QVERIFY(ReadWholeFile(p.dir.File("Bestande/Beschr97.txt"), description));
    QCOMPARE(description, std::string("Künstlich erzeugter Bestand\r\n\r\nFläche:      9.00 ha\r\n"));
  }
};

}  // namespace tolvek::generator

QTEST_MAIN(tolvek::generator::SavingWindowsTest)
#include "saving_windows_test.moc"
