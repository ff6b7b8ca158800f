// Enterprise mode in the main window, on a copy of the shipped program folder and a screen of 1366 × 768
// pixels: choosing each model enterprise, its map drawn and coloured by class, a click re-cutting a
// compartment, the way back, a map that cannot be read, and the reset window.
// Run under Xvfb with QT_QPA_PLATFORM=xcb and TOLVEK_SCREENSHOT_DIR set, it keeps pictures of what it saw.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QtTest>
#include <filesystem>

#include "simulator/enterprise/enterprise_choice.h"
#include "simulator/enterprise/subdivision.h"
#include "simulator/forms/enterprise_windows.h"
#include "simulator/forms/form1.h"
#include "tests/support/qt_helpers.h"
#include "tests/support/qt_near.h"

using namespace tolvek;
using tolvek::testing::Shot;
using tolvek::testing::WhenModal;

namespace {

struct Fixture : tolvek::testing::ShippedProgram {
  Fixture() { form1().show(); }
  TForm37& form37() { return *program->forms.form37; }

  // "Betrieb", then a double click on picture 1..6 of the choice window (or "zurück" for 0).
  void Enter(int image) {
    WhenModal(&form37(), [this, image] {
      Shot(&form37(), "enterprise_choice");
      if (image == 0)
        form37().BtZurueck->click();
      else
        QTest::mouseDClick(form37().Image[static_cast<std::size_t>(image)], Qt::LeftButton);
    });
    form1().Button14->click();
  }

  // Pixels of the map picture in a colour.
  int MapPixels(Colour c) {
    const QImage& map = *form1().mapImage;
    const QRgb want = qRgb(ColourRed(c), ColourGreen(c), ColourBlue(c));
    int n = 0;
    for (int y = 0; y < map.height(); ++y)
      for (int x = 0; x < map.width(); ++x)
        if ((map.pixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF)) ++n;
    return n;
  }

  // The pixel of the map where the middle of compartment a is drawn.
  QPoint Middle(int a) {
    const EnterpriseSession& e = state.enterprise;
    GeoPoint m{0, 0};
    const Ring& r = e.Outline(a);
    for (std::size_t i = 0; i + 1 < r.size(); ++i) m = {m.x + r[i].x, m.y + r[i].y};
    m = {m.x / double(r.size() - 1), m.y / double(r.size() - 1)};
    const CanvasPoint p = form1().EnterpriseTransform().ToPixel(m);
    return {p.x, p.y};
  }
};

}  // namespace

class EnterpriseWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void eachEnterpriseOpensWithItsMapAndFigures() {
    const struct {
      int image, number, compartments;
      double hectares;
      const char* caption;
    } cases[] = {{4, 1, 20, 564, "   WET"}, {2, 2, 20, 558, "   Akl"}, {6, 3, 80, 2851, "   WET"}};
    // Each in the row its shipped default structure is not stored in: the map newly cut, not read.
    for (const auto& c : cases) {
      Fixture f;
      f.Enter(c.image);
      const EnterpriseSession& e = f.state.enterprise;
      QVERIFY(f.state.run.enterpriseMode);
      QCOMPARE(e.number, c.number);
      QCOMPARE(e.compartmentCount, c.compartments);
      QCOMPARE(e.modeCaption, std::string(c.caption));
      QCOMPARE(f.state.settings.forestDevelopmentTypes, c.image > 3);
      QCOMPARE_NEAR(e.totalArea, c.hectares, 0.01 * c.hectares);
      QVERIFY(e.standCount >= c.compartments * 3);
      // The labels as the figures give them; the map first drawn all light green on white.
      QVERIFY(f.form1().LblBestand->isVisible());
      QCOMPARE(f.form1().LblBestand->text(), QString("Betrieb Nr.%1").arg(c.number, 2) + c.caption);
      QVERIFY(f.form1().LblBaeume->text().endsWith(QString::number(e.standCount)));
      QVERIFY(f.MapPixels(kFirstDrawingColour) > 1000);
      QVERIFY(f.form1().Panel8->isVisible());
      QVERIFY(!f.form1().Button24->isEnabled());
      QVERIFY(!f.form1().sBtAuswertung->isEnabled());
      Shot(&f.form1(), "enterprise" + std::to_string(c.number) + "_first");
      // A frame the window manager draws late places the window again: the map's picture stays whole.
      f.form1().PlaceOnScreen();
      QVERIFY(f.MapPixels(kFirstDrawingColour) > 1000);
      // Drawn again as the map is drawn whole: the stands in their class colours.
      f.form1().DrawEnterpriseMap();
      QCOMPARE(f.MapPixels(kFirstDrawingColour), 0);
      int classed = 0;
      for (int k = 1; k <= 4; ++k) classed += f.MapPixels(ClassColour(1, k)) > 0;
      QCOMPARE(classed, 4);
      // The whole map within the picture; no compartment cut off at its edges.
      const MapReach reach = EnterpriseMapReach(e.outlines, e.mapAngle, e.mapScale);
      QVERIFY(reach.columns < f.form1().mapImage->width());
      QVERIFY(reach.rows < f.form1().mapImage->height());
      Shot(&f.form1(), "enterprise" + std::to_string(c.number) + "_classes");
    }
  }

  void aClickReCutsTheCompartmentWithItsNextKind() {
    Fixture f;
    f.Enter(1);
    f.form1().DrawEnterpriseMap();
    EnterpriseSession& e = f.state.enterprise;
    QCOMPARE(e.At(7).kind, 8);
    QCOMPARE(int(e.At(7).stands.size()), 9);
    const int before = e.standCount;
    QTest::mouseClick(f.form1().ImgBest, Qt::LeftButton, {}, f.Middle(7));
    QCOMPARE(e.At(7).kind, 1);
    QCOMPARE(int(e.At(7).stands.size()), 4);
    QCOMPARE(e.standCount, before - 5);
    QVERIFY(f.form1().LblBaeume->text().endsWith(QString::number(before - 5)));
    QCOMPARE_NEAR(e.At(7).area, RingArea(e.Outline(7)) * 1e-4, 0.01 * e.At(7).area);
    // Four vertical strips: the map shows them in class colours at once.
    Shot(&f.form1(), "enterprise1_recut");
    // Again: kind 2, three stands. The right button only marks.
    QTest::mouseClick(f.form1().ImgBest, Qt::LeftButton, {}, f.Middle(7));
    QCOMPARE(int(e.At(7).stands.size()), 3);
    QTest::mouseClick(f.form1().ImgBest, Qt::RightButton, {}, f.Middle(12));
    QCOMPARE(e.markedCompartment, 12);
    QCOMPARE(e.At(12).kind, DefaultKind(12));
    // Outside every compartment nothing happens.
    const std::vector<EnterpriseStand> kept = e.At(7).stands;
    QTest::mouseClick(f.form1().ImgBest, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(e.At(7).stands.size(), kept.size());
  }

  void theGridButtonsTurnIntoArrowsAndBack() {
    Fixture f;
    QPushButton* wider = f.form1().GridButton[9];
    const QString standCaption = wider->text();
    f.Enter(2);
    QVERIFY(!wider->icon().isNull());
    QVERIFY(wider->text().isEmpty());
    QCOMPARE(wider->toolTip(), QString::fromUtf8("Gitterabstand in x-Richtung 25 m größer"));
    QCOMPARE(f.form1().GridButton[12]->toolTip(), QString::fromUtf8("Gitterabstand in y-Richtung 25 m kleiner"));
    f.form1().GroupBox1->show();
    Shot(f.form1().GroupBox1, "enterprise_grid_arrows");
    f.form1().sBtZurueck->click();
    QVERIFY(wider->icon().isNull());
    QCOMPARE(wider->text(), standCaption);
    QVERIFY(f.form1().Panel6->isVisible());
    QVERIFY(!f.form1().ScrollBox1->isVisible());
    QVERIFY(!f.form1().LblBaeume->isVisible());
    // In English the hints come from the row after the button's own.
    f.form1().BitBtn16Click(2);
    f.Enter(4);
    QCOMPARE(wider->toolTip(), QString("Grid spacing in x 25 m wider"));
  }

  void backFromTheChoiceAndAMapThatCannotBeRead() {
    Fixture f;
    f.Enter(0);
    QVERIFY(!f.state.run.enterpriseMode);
    QVERIFY(f.form1().Panel6->isVisible());
    QCOMPARE(f.state.enterprise.number, 0);

    std::filesystem::remove(f.dir.File("Vorgaben/GrLinienAbt.txt"));
    f.Enter(6);
    QVERIFY(f.fs.messages.Saw("Karte des Betriebs nicht lesbar"));
    QVERIFY(f.fs.messages.Saw("GrLinienAbt.txt"));
    QVERIFY(!f.state.run.enterpriseMode);
    QVERIFY(f.form1().Panel6->isVisible());
    QCOMPARE(f.fs.exit.quits, 0);
    // The other enterprises still open.
    f.Enter(1);
    QVERIFY(f.state.run.enterpriseMode);
  }

  void theChoiceReadsOnlyTheStoredModes() {
    Fixture f;
    f.dir.Write("Temp/Betrieb2.txt", "1\r\nnot a structure\r\n");
    int shown = 0;
    f.form37().showStoredStructure = [&](int n) {
      QCOMPARE(n, 2);
      ++shown;
    };
    WhenModal(&f.form37(), [&] {
      QTest::mouseClick(f.form37().Image[2], Qt::LeftButton);  // row of the stand types: not its mode
      QTest::mouseClick(f.form37().Image[5], Qt::LeftButton);  // forest development types: its mode
      f.form37().BtZurueck->click();
    });
    f.form1().Button14->click();
    QCOMPARE(shown, 1);
    QCOMPARE(f.state.enterprise.storedMode[2], 1);
    QCOMPARE(f.state.enterprise.storedMode[1], 0);  // made from its shipped default
    QVERIFY(f.fs.messages.shown.empty());           // no file read with its messages, no reset window
  }

  void theResetWindowCopiesTheDefault() {
    Fixture f;
    TForm41* w = f.program->forms.form41;
    std::filesystem::remove(f.dir.File("Vorgaben/Betrieb3_Default.txt"));
    WhenModal(w, [&] {
      w->RbBetrieb[3]->click();  // no default shipped for it here
      QVERIFY(w->isVisible());
      QVERIFY(f.fs.messages.Saw("Sorry, Betrieb nicht generiert"));
      f.dir.Write("Vorgaben/Betrieb3_Default.txt", "0\r\n");
      w->RbBetrieb[3]->click();
    });
    f.form1().Button4->click();
    QVERIFY(!w->isVisible());
    QVERIFY(f.fs.messages.Saw("Betrieb erfolgreich generiert"));
    QCOMPARE(ReadStoredMode(EnterpriseFilePath(f.state.folders.program, 3)), 0);
    QVERIFY(f.form1().Button14->isEnabled());
  }
};

// A screen of 1366 × 768 pixels, as on many class-room laptops; under Xvfb the real one.
int main(int argc, char** argv) { return tolvek::testing::RunOnScreen<EnterpriseWindowTest>(1366, 768, argc, argv); }

#include "enterprise_window_test.moc"
