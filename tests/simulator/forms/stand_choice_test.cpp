// Choosing a stand through the windows, on a copy of the shipped program folder: the catalogue with its
// thumbnails, the preview, taking a stand, "zurück", a stand that cannot be read, the calliper threshold
// and the rotation of the map.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QtTest>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include "simulator/forms/form1.h"
#include "simulator/forms/form15.h"
#include "simulator/forms/form23.h"
#include "simulator/forms/form35.h"
#include "simulator/forms/form44.h"
#include "simulator/forms/program.h"
#include "simulator/forms/small_dialogs.h"
#include "tests/support/fakes.h"
#include "tests/support/qt_helpers.h"

using namespace tolvek;
using tolvek::testing::FakeServices;
using tolvek::testing::TempDir;
using tolvek::testing::Snapshot;
using tolvek::testing::WhenModal;

namespace {

struct Fixture : tolvek::testing::ShippedProgram {
  Fixture() {
    program->forms.form1->show();
  }
  TForm23& form23() { return *program->forms.form23; }
  TForm44& form44() { return *program->forms.form44; }
};

// Saves a picture of a window when TOLVEK_SCREENSHOT_DIR names a folder (for looking at the windows).

// Runs step as soon as the catalogue is up (it is modal), then the next steps in turn.
void WhenCatalogueIsUp(std::function<void()> step) {
  QTimer::singleShot(0, [step] {
    if (QApplication::activeModalWidget() == nullptr) {
      WhenCatalogueIsUp(step);
      return;
    }
    step();
  });
}

QLabel* Thumbnail(TForm23& f, int k) { return f.Image[static_cast<std::size_t>(k)]; }

// The first catalogue entry whose stand can be read, after `after`.
int ReadableEntry(SimulatorState& s, int after = 0) {
  for (int k = after + 1; k <= s.standCatalogue.Count(); ++k) {
    StandChoice c = SelectCatalogueStand(s.standCatalogue, s.folders, k);
    StandFiles files;
    if (ResolveStandFiles(s.folders, c.treePath, files).ok() && FileExists(ResolvePath(files.treeFile)) &&
        FileExists(ResolvePath(files.boundaryFile)))
      return k;
  }
  return 0;
}

// Takes catalogue entry k through the windows: preview by a click, then "OK" of the preview.
void TakeThroughPreview(Fixture& f, int& entry, bool* previewShown = nullptr) {
  WhenCatalogueIsUp([&f, &entry, previewShown] {
    entry = ReadableEntry(f.state);
    if (entry == 0) {
      f.form23().Button1->click();
      return;
    }
    QTest::mouseClick(Thumbnail(f.form23(), entry), Qt::LeftButton);
    if (previewShown) *previewShown = f.form44().isVisible();
    f.form44().BtAuswahl->click();
  });
  f.form1().sBtBestandClick();
}

}  // namespace

class StandChoiceTest : public QObject {
  Q_OBJECT

 private slots:
  void anotherStandClearsTheFiguresOfTheLastRun() {
    Fixture f;
    TForm1& w = f.form1();
    for (QLabel* l : {w.Label18, w.LbAnzStpQ, w.LbBaumZahlQ, w.LblGitterAnf, w.LblAnzStp}) l->setText("vorher 279");
    w.F1BtWiederholen->setEnabled(true);
    int entry = 0;
    TakeThroughPreview(f, entry);
    QVERIFY(entry > 0);
    QVERIFY(f.state.currentStand.loaded);
    // the last evaluation belongs to the stand left: it cannot be repeated on this one
    QVERIFY(!w.F1BtWiederholen->isEnabled());
    for (QLabel* l : {w.Label18, w.LbAnzStpQ, w.LbBaumZahlQ, w.LblGitterAnf, w.LblAnzStp})
      QVERIFY2(l->text().isEmpty(), qPrintable(l->objectName()));
    // "zurück" in the catalogue keeps the stand and what was shown for it
    w.LblAnzStp->setText("Stichproben: 12");
    WhenCatalogueIsUp([&f] { f.form23().Button1->click(); });
    w.sBtBestandClick();
    QCOMPARE(w.LblAnzStp->text(), QString("Stichproben: 12"));
  }

  void catalogueShowsThumbnailsPreviewAndTakesTheStand() {
    Fixture f;
    int entry = 0;
    bool thumbnailsDrawn = false, previewShown = false, descriptionShown = false;
    WhenCatalogueIsUp([&] {
      TForm23& cat = f.form23();
      QVERIFY(cat.isVisible());
      QVERIFY(f.state.standCatalogue.Count() > 0);
      // Every entry of the catalogue has its thumbnail in place; a readable stand's is drawn.
      entry = ReadableEntry(f.state);
      QVERIFY(entry > 0);
      QLabel* thumb = Thumbnail(cat, entry);
      thumbnailsDrawn = thumb->isVisible() && !thumb->pixmap().isNull();
      Snapshot(&cat, "catalogue");
      QVERIFY(!f.state.currentStand.loaded);  // looking does not load
      QTest::mouseClick(thumb, Qt::LeftButton);
      previewShown = f.form44().isVisible();
      descriptionShown = !f.form44().Memo1->toPlainText().isEmpty();
      Snapshot(&f.form44(), "preview");
      f.form44().BtBaAnteile->click();
      QVERIFY(f.program->forms.form35->isVisible());
      QVERIFY(f.program->forms.form35->LbP16Tabelle->text().contains("Baumart"));
      Snapshot(f.program->forms.form35, "standinfo");
      QVERIFY(!f.state.currentStand.loaded);
      f.form44().BtAuswahl->click();
    });
    f.form1().sBtBestandClick();
    QVERIFY(thumbnailsDrawn);
    QVERIFY(previewShown);
    QVERIFY(descriptionShown);
    QVERIFY(!f.form23().isVisible());
    QVERIFY(!f.form44().isVisible());

    const CurrentStand& cs = f.state.currentStand;
    QVERIFY(cs.loaded);
    QCOMPARE(cs.catalogueIndex, entry);
    QCOMPARE(QString::fromStdString(cs.files.code),
             QString::fromStdString(f.state.standCatalogue.Entry(entry)->fileName.substr(0, 8)));
    QVERIFY(cs.TreeCount() > 0);
    QVERIFY(!cs.chosenLine.empty());
    QVERIFY(f.form1().ScrollBox1->isVisible());
    QVERIFY(f.form1().sBtGitter->isEnabled());
    QVERIFY(f.form1().sBtVerfahren->isEnabled());
    QVERIFY(!f.form1().sBtAuswertung->isEnabled());
    QVERIFY(f.form1().LblBaumZahl->text().contains("/ha"));
    QVERIFY(f.form1().LblFlaeche->text().contains("ha"));
    // One legend button per species present.
    int species = 0;
    for (int s = 1; s <= 9; ++s) species += cs.sums.count[static_cast<std::size_t>(s)] > 0;
    for (int k = 1; k <= 9; ++k) QCOMPARE(f.form1().BitBa[k]->isVisibleTo(f.form1().Panel3), k <= species);
    QVERIFY(f.state.standMap.scale > 0);
    // The map shows the trees: some pixels are neither black nor white.
    QImage map = *f.form1().mapImage;
    int coloured = 0;
    for (int y = 0; y < map.height(); y += 2)
      for (int x = 0; x < map.width(); x += 2) {
        QRgb p = map.pixel(x, y) & 0xFFFFFF;
        if (p != 0 && p != 0xFFFFFF) ++coloured;
      }
    QVERIFY(coloured > 50);
    // The description is filled; its window stands beside the main window where the screen has room,
    // never over it (this screen of 800 pixels has none).
    QVERIFY(!f.program->forms.form15->Memo1->toPlainText().isEmpty());
    Snapshot(f.program->forms.form15, "stand_description");
    if (f.program->forms.form15->isVisible())
      QVERIFY(!f.program->forms.form15->frameGeometry().intersects(f.form1().frameGeometry()));
    f.form1().resize(1366, 768);
    Snapshot(&f.form1(), "standmap");
    QCOMPARE(f.fs.exit.quits, 0);
  }

  void backLeavesTheLoadedStandAsItWas() {
    Fixture f;
    int first = 0;
    TakeThroughPreview(f, first);
    QVERIFY(f.state.currentStand.loaded);
    const std::string code = f.state.currentStand.files.code;
    const int trees = f.state.currentStand.TreeCount();
    const double scale = f.state.standMap.scale;

    WhenCatalogueIsUp([&] {
      // Preview another stand, then go back.
      const int other = ReadableEntry(f.state, first);
      if (other > 0) QTest::mouseClick(Thumbnail(f.form23(), other), Qt::LeftButton);
      f.form23().Button1->click();
    });
    f.form1().sBtBestandClick();
    QCOMPARE(f.state.currentStand.files.code, code);
    QCOMPARE(f.state.currentStand.TreeCount(), trees);
    QCOMPARE(f.state.standMap.scale, scale);  // drawing thumbnails leaves the map's scale alone
    QVERIFY(f.form1().ScrollBox1->isVisible());
    QVERIFY(f.form1().sBtZurueck->isEnabled());
  }

  void aStandThatCannotBeReadKeepsTheOldOneUsable() {
    // A stand whose boundary is missing, and one whose tree file holds no tree: each is refused with a
    // message naming the file, and the stand loaded before stays in place, shown and ready for a grid.
    Fixture f;
    int first = 0;
    TakeThroughPreview(f, first);
    const std::string code = f.state.currentStand.files.code;
    const std::string line = f.state.currentStand.chosenLine;
    const int second = ReadableEntry(f.state, first);
    const int third = ReadableEntry(f.state, second);
    if (third == 0) QSKIP("the shipped catalogue holds fewer than three readable stands");
    const StandChoice noBoundary = SelectCatalogueStand(f.state.standCatalogue, f.state.folders, second);
    std::filesystem::remove(ResolvePath(noBoundary.boundaryPath));
    const StandChoice noTree = SelectCatalogueStand(f.state.standCatalogue, f.state.folders, third);
    StandFiles files;
    QVERIFY(ResolveStandFiles(f.state.folders, noTree.treePath, files).ok());
    std::filesystem::resize_file(ResolvePath(files.treeFile), 0);

    for (int entry : {second, third}) {
      f.fs.messages.shown.clear();
      WhenCatalogueIsUp([&] { QTest::mouseDClick(Thumbnail(f.form23(), entry), Qt::LeftButton); });
      f.form1().sBtBestandClick();
      QVERIFY(!f.fs.messages.shown.empty());
      const std::string& said = f.fs.messages.shown.back().text;
      if (entry == third) {
        // The preview refuses it, naming the problem, its file and the stand.
        QCOMPARE(said, "Baumdatei enthält keinen Baum: " + ResolvePath(files.treeFile) +
                           "#Bestand nicht geladen: " + files.code);
        Snapshot(&f.form1(), "empty_stand_refused");
      }
      QCOMPARE(f.state.currentStand.files.code, code);
      QCOMPARE(f.state.standChoice.choice.catalogueIndex, first);
      QCOMPARE(f.state.currentStand.chosenLine, line);
      QVERIFY(f.form1().ScrollBox1->isVisible());
      QVERIFY(f.form1().LblBaumZahl->isVisible() && f.form1().LblBaumZahl->text().contains("/ha"));
      QVERIFY(f.form1().sBtGitter->isEnabled());
      QCOMPARE(f.fs.exit.quits, 0);
    }
    // The old stand takes a grid as before.
    f.form1().sBtGitter->click();
    QVERIFY(f.state.sampling.grid.insideCount > 0);
  }

  void calliperThresholdReadsTheStandAgain() {
    Fixture f;
    int entry = 0;
    TakeThroughPreview(f, entry);
    QVERIFY(f.state.currentStand.loaded);
    const int before = f.state.currentStand.TreeCount();
    QTimer::singleShot(0, [&] {
      TBtnRightDlg8& dlg = *f.program->forms.btnRightDlg8;
      QCOMPARE(dlg.ListBox1->count(), 15);
      QCOMPARE(dlg.ListBox1->currentItem()->text(), QString(" 7"));
      auto items = dlg.ListBox1->findItems("20", Qt::MatchExactly);
      QCOMPARE(items.size(), 1);
      dlg.ListBox1->setCurrentItem(items[0]);
      dlg.BtWeiter->click();
    });
    f.form1().BtKluppschwelle->click();
    QCOMPARE(f.state.calliper.lower, 20.0);
    QVERIFY(f.state.currentStand.TreeCount() <= before);
    for (const auto& t : f.state.currentStand.trees) QVERIFY(t.dbh >= 20.0);
    QVERIFY(f.form1().LblBaumZahl->text().contains("/ha"));
  }

  void rotationTurnsTheMapAndBlinkingReturns() {
    Fixture f;
    int entry = 0;
    TakeThroughPreview(f, entry);
    QVERIFY(f.state.currentStand.loaded);
    const TreeRecord t0 = f.state.currentStand.trees.front();
    f.form1().sBtDrehenClick();
    const TreeRecord t1 = f.state.currentStand.trees.front();
    QVERIFY(t0.x != t1.x || t0.y != t1.y);
    for (const auto& t : f.state.currentStand.trees) QVERIFY(t.x >= -1e-9 && t.y >= -1e-9);
    // Blinking species 1 waits ten times 300 ms on the fake clock and leaves the run free again.
    const auto start = f.fs.clock.now;
    f.form1().BitBa[1]->click();
    QVERIFY(f.fs.clock.now - start >= 3000);
    QVERIFY(!f.state.run.busy);
    // While a run is busy the stand handlers do nothing.
    f.state.run.busy = true;
    const TreeRecord t2 = f.state.currentStand.trees.front();
    f.form1().sBtDrehenClick();
    QCOMPARE(f.state.currentStand.trees.front().x, t2.x);
    f.state.run.busy = false;
  }

  void standMenusOfferEveryStandAndLoadThePickedOne() {
    Fixture f;
    TForm15& f15 = *f.program->forms.form15;
    f15.BuildStandMenu(false);
    QVERIFY(f.state.standChoice.menuBuilt);
    // Every catalogue entry with a kind and timber size has its item in the right menu.
    int items = 0;
    for (QMenu* m : {f15.schwachesBaumholz1, f15.mittelstarkesBaumholz1, f15.starkesBaumholz1, f15.Plenterwald1,
                     f15.schwachesBaumholz2, f15.mittelstarkesBaumholz2, f15.starkesbaumholz2,
                     f15.GenerierteBestnde1})
      for (QAction* a : m->actions())
        if (!a->menu()) ++items;
    int placed = 0;
    for (const auto& e : f.state.standCatalogue.entries) placed += MenuForEntry(e) != StandMenu::None;
    QCOMPARE(items, placed);
    // A second call builds nothing twice.
    f15.BuildStandMenu(false);
    int again = 0;
    for (QAction* a : f15.schwachesBaumholz1->actions()) again += !a->menu();
    QVERIFY(again <= items);

    const int entry = ReadableEntry(f.state);
    const StandCatalogueEntry& e = *f.state.standCatalogue.Entry(entry);
    QMenu* menu = nullptr;
    for (QMenu* m : {f15.schwachesBaumholz1, f15.mittelstarkesBaumholz1, f15.starkesBaumholz1, f15.Plenterwald1,
                     f15.schwachesBaumholz2, f15.mittelstarkesBaumholz2, f15.starkesbaumholz2,
                     f15.GenerierteBestnde1})
      for (QAction* a : m->actions())
        if (a->text() == QString::fromStdString(StandMenuCaption(e))) menu = m;
    QVERIFY(menu);
    for (QAction* a : menu->actions())
      if (a->text() == QString::fromStdString(StandMenuCaption(e))) a->trigger();
    QVERIFY(f.state.currentStand.loaded);
    QCOMPARE(QString::fromStdString(f.state.currentStand.files.code),
             QString::fromStdString(e.fileName.substr(0, 8)));
    QVERIFY(f.form1().sBtGitter->isEnabled());
    QVERIFY(!f15.Memo1->toPlainText().isEmpty());
  }

  void photographsShowInTurnAndWeiterEndsTheShow() {
    Fixture f;
    int entry = 0;
    TakeThroughPreview(f, entry);
    TForm15& f15 = *f.program->forms.form15;
    const auto photos = SlideShowPhotos(f.state.standChoice.choice.photoPath);
    if (photos.empty()) QSKIP("the shipped stand has no photograph");
    QVERIFY(f15.BtnFoto->isEnabled());
    bool shownDuringWait = false;
    f.fs.pump.onPump = [&](int) { shownDuringWait = shownDuringWait || f.form1().ImgFoto->isVisible(); };
    const auto start = f.fs.clock.now;
    f15.BtnFoto->click();
    QVERIFY(shownDuringWait);
    QVERIFY(f.fs.clock.now - start >= 3000 * photos.size());
    QVERIFY(!f.form1().ImgFoto->isVisible());
    QVERIFY(!f.state.run.busy);
    QVERIFY(!f15.BtnFoto->isEnabled());

    // "weiter" during the first photograph ends the show at once.
    f15.BtnFoto->setEnabled(true);
    int pumps = 0;
    f.fs.pump.onPump = [&](int) {
      if (++pumps == 3) f15.BtnWeiter->click();
    };
    const auto start2 = f.fs.clock.now;
    f15.BtnFoto->click();
    QVERIFY(f.fs.clock.now - start2 < 3000);
    QVERIFY(!f15.slideShowRunning());
    QVERIFY(!f.state.run.busy);
    f.fs.pump.onPump = nullptr;

    // A damaged photograph is said with the decoder's reason and skipped; the show goes on.
    if (photos.size() < 2) return;
    std::filesystem::resize_file(photos[1], 0);
    f.fs.messages.shown.clear();
    f15.BtnFoto->setEnabled(true);
    const auto start3 = f.fs.clock.now;
    f15.BtnFoto->click();
    QCOMPARE(f.fs.messages.shown.size(), std::size_t{1});
    QCOMPARE(f.fs.messages.shown[0].text, "Bestandesfoto leider nicht vorhanden: " + photos[1] + " empty file");
    QVERIFY(f.fs.clock.now - start3 >= 3000 * (photos.size() - 1));
  }

  void standInformationWithClassLineShowsTheHistogram() {
    Fixture f;
    int entry = 0;
    TakeThroughPreview(f, entry);
    const CurrentStand& cs = f.state.currentStand;
    StandClassLine line{true, "Fichten-Buchen-Mischwald", "DF", 0};
    StandInfoInputs in{cs.sums, cs.areaHa, cs.files.code, cs.speciesList, false, &line};
    StandInfo info = BuildStandInfo(in, f.state.language);
    TForm35& panel = *f.program->forms.form35;
    panel.ShowWithHistogram(info, cs.sums, 196, 120);
    QVERIFY(panel.isVisible());
    QVERIFY(panel.PnDuVertlg->isVisible());
    QCOMPARE(panel.windowTitle(), QString(" Form35   WET"));
    QVERIFY(panel.LbP16Tabelle->text().contains("WET: Fichten-Buchen-Misch"));
    QVERIFY(!panel.ImgDuVertlg->pixmap().isNull());
    // The histogram lies inside the window, below the table.
    QVERIFY(panel.PnDuVertlg->geometry().bottom() <= panel.height());
    QVERIFY(panel.PnDuVertlg->y() >= info.panelHeight - 20);
    Snapshot(&panel, "standinfo_class");
    panel.Panel1->click();
    QVERIFY(!panel.isVisible());
  }
};

QTEST_MAIN(StandChoiceTest)
#include "stand_choice_test.moc"
