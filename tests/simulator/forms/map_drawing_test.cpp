// The stand map as the main window draws it during a pass and a run of repetitions, against the same
// picture drawn the plain way with QPainter: the stand's trees, the grid's crosses, each plot circle and
// each sample tree's ring in the pen the pass gives. The window sets most rings and crosses straight into
// the map's pixels and puts a kept picture of the stand back between repetitions; neither may change a
// single pixel, at the map's edges either, nor leave an older picture on the screen.
// The geometry of the core names a member "slots": Qt's keyword macros stay off in this file.
#define QT_NO_KEYWORDS
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/paths.h"
#include "common/qt/qt_canvas.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/program.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/grid.h"
#include "simulator/sampling/method.h"
#include "simulator/sampling/pass.h"
#include "simulator/stand/stand_loader.h"
#include "simulator/views/stand_map.h"
#include "tests/support/fakes.h"
#include "tests/support/qt_helpers.h"
#include "tests/support/run_watch.h"

using namespace tolvek;
using tolvek::testing::FakeServices;
using tolvek::testing::TempDir;

Q_DECLARE_METATYPE(MethodCode)

namespace {

// One ring a pass asks the window for: a plot circle (centre and radius) or a sample tree (dbh and
// position).
struct Shape {
  bool tree = false;
  double a = 0, b = 0, c = 0;
  Colour colour = 0;
  bool dotted = false;
};

class ShapeRecorder : public PassObserver {
 public:
  void PlotCircle(double cx, double cy, double radius, Colour colour, bool dotted) override {
    shapes.push_back({false, cx, cy, radius, colour, dotted});
  }
  void SampledTree(std::uint8_t, double dbh, double x, double y, Colour pen) override {
    shapes.push_back({true, dbh, x, y, pen, false});
  }
  std::vector<Shape> shapes;
};

// Where a ring lies on the map, as the plain drawing puts it.
EllipseBox BoxOf(const StandMapTransform& t, const Shape& s) {
  if (s.tree) return TreeDiscBox(t, s.a, s.c, s.b);
  return {t.StandMapX(s.a - s.c), t.StandMapY(s.b + s.c), t.StandMapX(s.a + s.c), t.StandMapY(s.b - s.c)};
}

// The plain picture: the rings of the pass drawn one by one with QPainter over `under`.
QImage WithRings(const QImage& under, const StandMapTransform& t, const std::vector<Shape>& shapes) {
  QImage image = under.copy();
  QtCanvas c(image);
  for (const Shape& s : shapes) {
    c.SetPen(s.colour, 1, s.dotted ? PenStyle::Dot : PenStyle::Solid);
    c.SetBrush(kBlack, BrushStyle::Clear);
    const EllipseBox b = BoxOf(t, s);
    c.Ellipse(b.x1, b.y1, b.x2, b.y2);
  }
  return image;
}

// The stand's trees, frame and boundary drawn afresh.
QImage StandPicture(const SimulatorState& state, const StandMapTransform& t, QImage::Format format) {
  QImage image(t.imageWidth, t.imageHeight, format);
  image.fill(Qt::black);
  QtCanvas c(image);
  const CurrentStand& cs = state.currentStand;
  DrawTrees(c, t, cs.trees, cs.speciesList, cs.boundary, state.screenScale);
  return image;
}

// The grid's crosses drawn over image as the window lays a grid: the inside points' crosses in red,
// then every cross in white inside the stand and black outside. erase: every cross in black, as the
// window takes the crosses off before a grid button moves them.
void DrawGridCrosses(QImage& image, const SampleGrid& g, const StandMapTransform& t, bool erase = false) {
  QtCanvas c(image);
  for (const bool highlight : {true, false}) {
    if (erase && highlight) continue;
    for (int i = 1; i <= g.pointCount; ++i) {
      const GridPoint& p = g.Point(i);
      if (highlight && p.inside == 0) continue;
      c.SetPen(erase ? kBlack : highlight ? kRed : (p.inside ? kWhite : kBlack));
      DrawCrossMark(c, t, p.x + g.originX, p.y + g.originY);
    }
  }
}

// The plain picture of the stand with the grid laid over it.
QImage StandWithGrid(const SimulatorState& state, const StandMapTransform& t, QImage::Format format) {
  QImage image = StandPicture(state, t, format);
  DrawGridCrosses(image, state.sampling.grid, t);
  return image;
}

// Empty when the pictures are the same pixel for pixel; else how many pixels differ and the first.
QString Difference(const QImage& actual, const QImage& expected) {
  if (actual.size() != expected.size())
    return QString("size %1×%2, expected %3×%4")
        .arg(actual.width())
        .arg(actual.height())
        .arg(expected.width())
        .arg(expected.height());
  const QImage a = actual.convertToFormat(QImage::Format_RGB32);
  const QImage e = expected.convertToFormat(QImage::Format_RGB32);
  int count = 0;
  QString first;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != e.pixel(x, y)) {
        if (count++ == 0)
          first = QString("(%1, %2): %3, expected %4")
                      .arg(x)
                      .arg(y)
                      .arg(a.pixel(x, y) & 0xFFFFFF, 6, 16, QChar('0'))
                      .arg(e.pixel(x, y) & 0xFFFFFF, 6, 16, QChar('0'));
      }
  return count == 0 ? QString() : QString("%1 pixels differ, first at %2").arg(count).arg(first);
}

#define COMPARE_PICTURES(actual, expected, what)                       \
  do {                                                                 \
    const QString d = Difference(actual, expected);                    \
    QVERIFY2(d.isEmpty(), qPrintable(QString("%1: %2").arg(what, d))); \
  } while (false)

// A stand drawn by the window, a method and a grid laid on it, on a copy of the shipped program folder.
struct Program {
  // mapSide > 0: the map that size, as a smaller screen gives it, with the frame's factor of a
  // 768-pixel screen.
  explicit Program(int mapSide = 0) : state(fs.services) {
    tolvek::testing::CopyShippedData(dir);
    state.folders = ProgramFoldersFromFolder(dir.path());
    program = std::make_unique<SimulatorProgram>(state, false);
    if (mapSide > 0) {
      w().ImgBest->resize(mapSide, mapSide);
      state.screenScale = 0.8;
    }
    state.random.SetSeed(815);
    w().show();
    tolvek::testing::Snapshot(&w(), "map_0_title");
    w().HideTitleScreen();
    tolvek::testing::Snapshot(&w(), "map_1_no_stand");
  }
  bool Load(const char* number) {
    if (!TryLoadStand(state, dir.path() + "Bestande/Bestnd" + number + ".txt").ok()) return false;
    w().DrawStand();
    return true;
  }
  void Choose(MethodCode method, double value) {
    MethodSettings& m = state.sampling.method;
    switch (method) {
      case kMethodFixedCircle:
        BeginFixedCircle(m, state.language);
        static_cast<void>(ConfirmFixedCircle(m, state.language, value));
        break;
      case kMethodAngleCount:
        BeginAngleCount(m, state.language);
        static_cast<void>(ConfirmAngleCount(m, state.language, static_cast<int>(value), 1));
        break;
      case kMethodConcentric:
        BeginConcentric(m, state.language);
        static_cast<void>(
            ConfirmConcentric(m, state.language, PresetTexts(kConcentricPresets[static_cast<std::size_t>(value)])));
        break;
      default:  // the n-tree sample with its understorey (variant 4), in the understorey's own pen
        BeginNTree(m, state.language);
        ConfirmNTree(m, state.language, static_cast<int>(value), 4, 10.0, 5.0);
        break;
    }
    state.run.graphics = true;
  }
  // The grid as "Gitter" lays it, shifted by the grid group's buttons (index of BitBtn<n>).
  void LayGrid(std::initializer_list<int> buttons = {}) {
    w().sBtGitter->setEnabled(true);
    w().sBtGitter->click();
    for (int b : buttons) w().GridButton[b]->click();
  }

  // The rings the pass over the window's grid as it is now draws: the same pass on copies of the
  // sampling state, the trees and the run.
  std::vector<Shape> ShapesOfPass(bool repetition, int* plots = nullptr, int* trees = nullptr) {
    SamplingState sampling = state.sampling;
    TreeList treeList = state.currentStand.trees;
    RunControl run = state.run;
    FakeServices quiet;
    auto geometry = std::make_unique<GeometryContext>();
    ShapeRecorder recorder;
    PassEnvironment env{sampling,       treeList, state.currentStand.boundary, *geometry, run, quiet.services,
                        state.language, recorder};
    env.gridContext = w().MakeGridContext();
    env.repetition = repetition;
    env.singleStepWait = false;
    RunSamplingPass(env);
    if (plots) *plots = static_cast<int>(sampling.plots.plots.size());
    if (trees) *trees = static_cast<int>(sampling.plots.trees.size());
    return recorder.shapes;
  }
  // The picture a repetition must leave: the stand drawn afresh, the grid and the rings of its pass.
  QImage Repetition(const std::vector<Shape>& shapes) {
    const StandMapTransform t = w().MapTransform();
    return WithRings(StandWithGrid(state, t, w().mapImage->format()), t, shapes);
  }
  // The map as whoever looks at it gets it: a run holds its drawing back until then.
  QImage Map() {
    w().SettleMap();
    return *w().mapImage;
  }
  QImage OnScreen() { return w().ImgBest->pixmap().toImage(); }
  // What the map's label paints now: inside a run it paints from the map, not from a pixmap.
  QImage Painted() { return w().ImgBest->grab().toImage(); }

  TForm1& w() { return *program->forms.form1; }

  TempDir dir;
  FakeServices fs;
  SimulatorState state;
  std::unique_ptr<SimulatorProgram> program;
};

// How many rings lie where the window cannot set them from a stamp: within two pixels of the map's
// edge or beyond it, or larger than a stamp is made for.
int RingsAtTheEdge(const StandMapTransform& t, const std::vector<Shape>& shapes) {
  int n = 0;
  for (const Shape& s : shapes) {
    const EllipseBox b = BoxOf(t, s);
    n += b.x1 < 3 || b.y1 < 3 || b.x2 + 3 > t.imageWidth || b.y2 + 3 > t.imageHeight || b.x2 - b.x1 > 400;
  }
  return n;
}

}  // namespace

class MapDrawingTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void passDrawsEveryRingAsQPainterWould_data() {
    QTest::addColumn<int>("mapSide");
    QTest::addColumn<QString>("stand");
    QTest::addColumn<MethodCode>("method");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("edges");
    QTest::newRow("fixed circles 500 m²") << 0 << "01" << kMethodFixedCircle << 500.0 << false;
    QTest::newRow("angle count k=1") << 0 << "02" << kMethodAngleCount << 1.0 << false;
    QTest::newRow("concentric circles") << 0 << "01" << kMethodConcentric << 0.0 << false;
    QTest::newRow("n-tree sample with understorey") << 0 << "01" << kMethodNTree << 6.0 << false;
    // Circles over the map's edges and larger than any stamp, on a small map.
    QTest::newRow("fixed circles 20000 m², small map") << 500 << "01" << kMethodFixedCircle << 20000.0 << true;
    QTest::newRow("fixed circles 3000 m²") << 0 << "02" << kMethodFixedCircle << 3000.0 << true;
    // Dotted circles of the size of solid tree rings: neither may take the other's pixels.
    QTest::newRow("fixed circles 5 m²") << 0 << "01" << kMethodFixedCircle << 5.0 << false;
  }
  // "weiter": the map after the pass is the map before it with the pass's rings drawn over it.
  void passDrawsEveryRingAsQPainterWould() {
    QFETCH(int, mapSide);
    QFETCH(QString, stand);
    QFETCH(MethodCode, method);
    QFETCH(double, value);
    QFETCH(bool, edges);
    Program p(mapSide);
    QVERIFY(p.Load(stand.toLatin1().constData()));
    p.Choose(method, value);
    p.LayGrid({3, 7});  // shifted 5 m left and down: crosses and circles over the frame's lines
    QVERIFY(p.state.sampling.grid.insideCount > 0);
    const QImage before = p.Map();
    int plots = 0, trees = 0;
    const std::vector<Shape> shapes = p.ShapesOfPass(false, &plots, &trees);
    p.w().GitterFertig->click();
    QCOMPARE(int(p.state.sampling.plots.plots.size()), plots);
    QCOMPARE(int(p.state.sampling.plots.trees.size()), trees);
    QVERIFY(shapes.size() > 10);
    const StandMapTransform t = p.w().MapTransform();
    if (edges) QVERIFY(RingsAtTheEdge(t, shapes) > 0);
    const QImage expected = WithRings(before, t, shapes);
    QVERIFY(!Difference(before, expected).isEmpty());
    COMPARE_PICTURES(p.Map(), expected, "map");
    COMPARE_PICTURES(p.OnScreen(), expected, "on the screen");
  }

  void crossesOfTheGridAsQPainterDrawsThem_data() {
    QTest::addColumn<int>("mapSide");
    QTest::newRow("the window's map") << 0;
    QTest::newRow("small map") << 420;
  }
  // "Gitter" and its buttons: the stand drawn afresh and the crosses; the smallest spacing puts crosses
  // on the map's edges and over the frame.
  void crossesOfTheGridAsQPainterDrawsThem() {
    QFETCH(int, mapSide);
    Program p(mapSide);
    QVERIFY(p.Load("01"));
    p.Choose(kMethodFixedCircle, 500.0);
    p.LayGrid();
    const StandMapTransform t = p.w().MapTransform();
    QImage expected = StandWithGrid(p.state, t, p.Map().format());
    COMPARE_PICTURES(p.Map(), expected, "grid");
    // Down to the smallest spacing and shifted: crosses over the frame's lines and at the map's edges.
    for (const int button : {11, 11, 11, 11, 11, 3, 4, 7, 8}) {
      DrawGridCrosses(expected, p.state.sampling.grid, t, true);
      p.w().GridButton[button]->click();
      DrawGridCrosses(expected, p.state.sampling.grid, t);
      COMPARE_PICTURES(p.Map(), expected, QString("after button %1").arg(button));
    }
    QCOMPARE(p.state.sampling.grid.dx, 25);
    COMPARE_PICTURES(p.OnScreen(), expected, "on the screen");
  }

  // A run of repetitions with the graphics on: after every repetition the map is the stand drawn afresh,
  // the crosses of the shifted grid and the rings of its pass, also where the kept picture of the stand
  // was put back, and the label paints it (from the map itself while the run goes on); after the run the
  // label's own picture is the last one.
  void everyRepetitionOfARunDrawsTheFreshPicture() {
    Program p(500);
    QVERIFY(p.Load("01"));
    p.Choose(kMethodFixedCircle, 5000.0);  // circles over the map's edges
    p.LayGrid();
    QCOMPARE(p.w().RunPass(false, false), PassOutcome::Done);
    struct Seen {
      QImage map, screen, expected;
      int edgeRings = 0;
    };
    std::vector<Seen> seen;
    tolvek::testing::RunWatch watch(p.w());
    watch.gridShifted = [&] {
      const std::vector<Shape> shapes = p.ShapesOfPass(true);
      // The screen first: the label's painting must bring the map up to date by itself.
      const QImage screen = p.Painted();
      seen.push_back({p.Map(), screen, p.Repetition(shapes), RingsAtTheEdge(p.w().MapTransform(), shapes)});
      if (seen.size() == 4) p.w().sBtNeuesVerfahren->click();  // the print question gets "nein"
    };
    // Whatever handles events during the run finds the map as drawn so far, nothing held back. (Work
    // takes time here, so the run's loops hand over to events.)
    p.fs.clock.msPerRead = 20;
    int pumps = 0, heldBack = 0;
    p.fs.pump.onPump = [&](int) {
      ++pumps;
      const QImage now = p.w().mapImage->copy();
      heldBack += p.Map() != now;
    };
    p.state.run.repeatMode = true;
    p.w().sBtAuswertung->setEnabled(true);
    p.w().sBtAuswertung->click();
    p.fs.pump.onPump = nullptr;
    QVERIFY(pumps > 0);
    QCOMPARE(heldBack, 0);
    QCOMPARE(int(seen.size()), 4);
    COMPARE_PICTURES(*p.w().mapImage, seen.back().expected, "the map itself after the run");
    int edgeRings = 0;
    for (std::size_t i = 0; i < seen.size(); ++i) {
      const QString what = QString("repetition %1").arg(i + 1);
      COMPARE_PICTURES(seen[i].map, seen[i].expected, what);
      COMPARE_PICTURES(seen[i].screen, seen[i].expected, what + " on the screen");
      edgeRings += seen[i].edgeRings;
    }
    QVERIFY(edgeRings > 0);
    COMPARE_PICTURES(p.OnScreen(), seen.back().expected, "the label's picture after the run");
    COMPARE_PICTURES(p.Painted(), seen.back().expected, "painted after the run");
    // The repetitions laid different grids: the pictures compared are not one picture four times.
    QVERIFY(!Difference(seen[1].expected, seen[2].expected).isEmpty());
  }

  // Repetitions that nobody looked at (no events handled, nothing painted) leave nothing behind: the
  // map looked at after the next one shows that one alone, the stand under it put back.
  void repetitionsNobodyLookedAtLeaveNothingBehind() {
    Program p(500);
    QVERIFY(p.Load("01"));
    p.Choose(kMethodFixedCircle, 5000.0);  // rings over the map's edges as well
    p.LayGrid();
    QCOMPARE(p.w().RunPass(false, false), PassOutcome::Done);
    int repetitions = 0, looked = 0;
    tolvek::testing::RunWatch watch(p.w());
    watch.gridShifted = [&] {
      if (++repetitions % 3 != 0) return;
      if (repetitions == 6) p.w().sBtNeuesVerfahren->click();  // the print question gets "nein"
      const QImage expected = p.Repetition(p.ShapesOfPass(true));
      COMPARE_PICTURES(p.Painted(), expected, QString("repetition %1 on the screen").arg(repetitions));
      COMPARE_PICTURES(p.Map(), expected, QString("repetition %1").arg(repetitions));
      ++looked;
    };
    p.state.run.repeatMode = true;
    p.w().sBtAuswertung->setEnabled(true);
    p.w().sBtAuswertung->click();
    QCOMPARE(looked, 2);
  }

  // The kept picture of the stand serves only the stand it was drawn from: after any change the next
  // repetition draws the stand afresh.
  void keptStandPictureFollowsTheStand() {
    Program p;
    QVERIFY(p.Load("01"));
    p.Choose(kMethodFixedCircle, 500.0);
    p.LayGrid();
    QCOMPARE(p.w().RunPass(false, false), PassOutcome::Done);
    auto repetition = [&](const std::string& what) {
      p.w().RandomGridShift();
      const QImage expected = p.Repetition(p.ShapesOfPass(true));
      COMPARE_PICTURES(p.Map(), expected, QString::fromStdString(what));
      COMPARE_PICTURES(p.OnScreen(), expected, QString::fromStdString(what + " on the screen"));
    };
    tolvek::testing::Snapshot(&p.w(), "map_2_pass");
    // Twice over the same stand: the second puts the kept picture back.
    repetition("first repetition");
    repetition("kept picture");
    tolvek::testing::Snapshot(&p.w(), "map_3_repetition");
    if (QTest::currentTestFailed()) return;

    const std::pair<const char*, std::function<bool()>> changes[] = {
        {"one tree a metre over",
         [&] {
           TreeRecord& tree = p.state.currentStand.trees[p.state.currentStand.trees.size() / 2];
           tree.x += 1.0;
           return true;
         }},
        {"stand turned",
         [&] {
           p.w().sBtDrehen->click();
           return true;
         }},
        {"another stand",
         [&] {
           if (!p.Load("02")) return false;
           p.LayGrid();
           return p.w().RunPass(false, false) == PassOutcome::Done;
         }},
        {"species list",
         [&] {
           CurrentStand& cs = p.state.currentStand;
           cs.speciesList = cs.speciesList == 1 ? 2 : 1;
           return true;
         }},
        {"a smaller map",
         [&] {
           p.w().ImgBest->resize(p.Map().width() - 100, p.Map().height() - 60);
           p.w().DrawStand();
           p.LayGrid();
           return p.w().RunPass(false, false) == PassOutcome::Done;
         }},
    };
    for (const auto& [what, change] : changes) {
      const QImage kept = StandPicture(p.state, p.w().MapTransform(), p.Map().format());
      QVERIFY2(change(), what);
      // Else the kept picture would pass for the changed stand.
      QVERIFY2(!Difference(StandPicture(p.state, p.w().MapTransform(), p.Map().format()), kept).isEmpty(), what);
      repetition(what);
      repetition(std::string(what) + ", kept");
      if (QTest::currentTestFailed()) return;
    }
    tolvek::testing::Snapshot(&p.w(), "map_4_smaller_map");
  }
};

QTEST_MAIN(MapDrawingTest)
#include "map_drawing_test.moc"
