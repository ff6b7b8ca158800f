// The main window's grid and inventory pass: "Gitter", the grid group (spacing, shift, rotation,
// blinking, saving and reading), plots dragged on the stand map with the digitised boundary, and
// "weiter", whose pass marks the sample trees on the map as it goes.
// The geometry of the core names a member "slots": Qt's keyword macros stay off in this file.
#define QT_NO_KEYWORDS
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/format.h"
#include "common/paths.h"
#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "common/qt/vector_state.h"
#include "common/qt/widget_makers.h"
#include "common/rounding.h"
#include "common/wait.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form15.h"
#include "simulator/forms/map_run_drawing.h"
#include "simulator/forms/map_stamps.h"
#include "simulator/forms/method_dialogs.h"
#include "simulator/forms/paced_picture.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/grid.h"
#include "simulator/sampling/pass.h"
#include "simulator/translate.h"
#include "simulator/views/stand_map.h"

namespace tolvek {

namespace {

// The circle drawn around a picked or dragged plot: 500 m².
constexpr double kDragCircleRadius = 12.62;
constexpr Colour kPickedGrey = 8421504;
constexpr Colour kRubberBand = 16776960;

void WorldCircle(Canvas& canvas, const StandMapTransform& t, double cx, double cy, double r) {
  const EllipseBox b = WorldCircleBox(t, cx, cy, r);
  canvas.Ellipse(b.x1, b.y1, b.x2, b.y2);
}

// Hands the mouse on the stand image to the main window's handlers. The image is known from the start:
// while the window is taken down its children still get events, and the window is no longer there to
// ask.
class StandMapMouse : public QObject {
 public:
  explicit StandMapMouse(TForm1& form) : QObject(&form), f_(form), image_(form.ImgBest) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched != image_) return false;
    switch (e->type()) {
      case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(e);
        const QPoint p = m->position().toPoint();
        f_.ImgBestMouseDown(p.x(), p.y(), m->button() == Qt::RightButton);
        return false;
      }
      case QEvent::MouseMove: {
        const QPoint p = static_cast<QMouseEvent*>(e)->position().toPoint();
        f_.ImgBestMouseMove(p.x(), p.y());
        return false;
      }
      case QEvent::MouseButtonRelease: {
        const QPoint p = static_cast<QMouseEvent*>(e)->position().toPoint();
        f_.ImgBestMouseUp(p.x(), p.y());
        return false;
      }
      default:
        return false;
    }
  }

 private:
  TForm1& f_;
  const QObject* image_;
};

// Draws the pass on the stand map while it runs: plot circles and the sample trees in the pen the
// pass gives; the picture reaches the screen about every 100 ms and at the end. It is put on the
// screen only when something was drawn since it was last shown: a copy of the whole map each time
// cost a run more than its passes. The painter opens at the first drawing, so a pass without the
// graphics leaves the picture untouched.
class MapPassObserver : public PassObserver {
 public:
  // The map is on the screen as the pass begins (the grid's crosses, or a repetition's, shown with the
  // rings at the end): the first 100 ms are counted from here.
  // notes: where the shapes are noted instead of drawn (null: drawn at once).
  MapPassObserver(TForm1& form, Stamps& stamps, DeferredDrawing* notes)
      : f_(form),
        stamps_(stamps),
        notes_(notes),
        t_(form.MapTransform()),
        shown_(form.state.services.clock->TickMs()) {}

  void PassStarted() override {
    f_.LblBaumZahl->show();
    RaiseWhereCovered(f_.LblBaumZahl);
  }
  void PointStarted(int) override {
    const std::uint64_t now = f_.state.services.clock->TickMs();
    if (now - shown_ < 100) return;
    shown_ = now;
    Show();
  }
  void PlotCircle(double cx, double cy, double radius, Colour colour, bool dotted) override {
    if (notes_) {
      onScreen_ = false;
      notes_->Note(t_, {DeferredDrawing::Shape::Kind::Circle, dotted, colour, &stamps_, cx, cy, radius});
      return;
    }
    Paper();
    DrawRing(stamps_, *canvas_, Pixels(), WorldCircleBox(t_, cx, cy, radius), colour, dotted);
  }
  void SampledTree(std::uint8_t, double dbh, double x, double y, Colour pen) override {
    if (notes_) {
      onScreen_ = false;
      notes_->Note(t_, {DeferredDrawing::Shape::Kind::Disc, false, pen, &stamps_, dbh, x, y});
      return;
    }
    Paper();
    DrawRing(stamps_, *canvas_, Pixels(), TreeDiscBox(t_, dbh, y, x), pen, false);
  }
  void PlotRecorded(int gridIndex, const PlotRecord& plot) override {
    if (f_.state.run.enterpriseMode) f_.ShowPlotPlan(gridIndex, plot);
  }
  void PassFinished(const std::string& label) override {
    f_.LblBaumZahl->setText(Q(label));
    Finish();
  }
  // The painter closed and the picture on the screen.
  void Finish() {
    canvas_.reset();
    const bool drew = painter_.has_value();
    painter_.reset();
    pixels_.reset();
    if (drew) stamps_.EndDrawing(*f_.mapImage);
    Show();
  }

 private:
  void Paper() {
    if (!painter_) {
      stamps_.BeginDrawing(*f_.mapImage);
      painter_.emplace(f_.mapImage);
      canvas_ = std::make_unique<QtCanvas>(*painter_);
      pixels_ = PixelsUnder(*painter_, *f_.mapImage);
      stamps_.DrawingStarted(*f_.mapImage);
      ClearUpperVectorState();  // the pass goes on after the painter began
    }
    onScreen_ = false;
  }
  const MapPixels* Pixels() const { return pixels_ ? &*pixels_ : nullptr; }
  void Show() {
    if (onScreen_) return;
    f_.ShowMap();
    onScreen_ = true;
  }

  TForm1& f_;
  Stamps& stamps_;
  DeferredDrawing* notes_;
  std::optional<QPainter> painter_;
  std::unique_ptr<QtCanvas> canvas_;
  std::optional<MapPixels> pixels_;
  StandMapTransform t_;
  bool onScreen_ = false;
  std::uint64_t shown_;
};

// The stand's description window stays open beside the map; where it would cover the grid group it
// moves beside the main window, or, without room on the screen there, closes as by "weiter" (the map
// and the tool bar leave no other place).
void KeepGridGroupClear(TForm1& f) {
  QWidget* description = f.forms.form15;
  if (!description || !description->isVisible() || description->isModal()) return;
  const QRect group(f.GroupBox1->mapToGlobal(QPoint(0, 0)), f.GroupBox1->size());
  if (!description->frameGeometry().intersects(group)) return;
  const QRect frame = f.frameGeometry();
  QScreen* screen = f.screen();
  if (screen && frame.right() + 1 + description->frameGeometry().width() <= screen->availableGeometry().right() + 1)
    description->move(frame.right() + 1, frame.top());
  else
    description->hide();
}

// Enables the buttons at once, or, while a run keeps the program busy, as soon as it has ended. Every
// repetition asks again; one waiting check serves them all (pending), else a long run would leave
// thousands of timers firing.
void EnableWhenIdle(TForm1& f, std::vector<QPushButton*> buttons, std::shared_ptr<bool> pending) {
  if (!f.state.run.busy) {
    *pending = false;
    for (QPushButton* b : buttons) b->setEnabled(true);
    return;
  }
  if (*pending) return;
  *pending = true;
  QTimer::singleShot(50, &f, [&f, buttons, pending] {
    *pending = false;
    EnableWhenIdle(f, buttons, pending);
  });
}

// The stand's picture as it is now, from the one the run kept where that still describes the stand.
void PutBackStand(TForm1& f, RunMapDrawing& kept) {
  const CurrentStand& cs = f.state.currentStand;
  const StandMapTransform t = f.MapTransform();
  QImage& map = *f.mapImage;
  if (kept.PutBack(map, kept.Key().Describes(t, cs.trees, cs.speciesList, cs.boundary, f.state.screenScale))) return;
  f.DrawTrees();
  kept.Keep(map, TreePictureKey(t, cs.trees, cs.speciesList, cs.boundary, f.state.screenScale));
}

void RedrawStandFrom(TForm1& f, RunMapDrawing& kept) {
  // What is still noted would be drawn over now: only the put-back is left to do.
  kept.deferred.shapes.clear();
  kept.deferred.putBackDue = true;
  // The rest of what DrawTrees leaves; the map reaches the screen with the grid drawn over it.
  const CurrentStand& cs = f.state.currentStand;
  f.LblFlaeche->setText(Q(StandAreaLabel(Translate(f.state.language, "Fläche"), cs.areaHa)));
  f.LblFlaeche->show();
  f.ImgBest->setToolTip(Q(Translate(
      f.state.language, "Linke Maustaste: Probefläche verschieben # Rechte Maustaste: Koordinaten anzeigen")));
  f.sBtDrehen->show();
}

// The crosses of the grid (blinking five times); marks inside points first. After a pass the stand is
// redrawn first, by redrawStand. show: the crosses reach the screen here; a repetition leaves that to its
// pass, which shows them with its rings (showing them first would make the pass's rings copy the map).
// notes: where the crosses are noted instead of drawn (null: drawn at once).
void DrawGridOver(TForm1& f, bool blink, bool show, const std::function<void()>& redrawStand, Stamps& stamps,
                  DeferredDrawing* notes = nullptr) {
  SimulatorState& state = f.state;
  SampleGrid& g = state.sampling.grid;
  RunControl& run = state.run;
  if (!run.enterpriseMode && g.lastPassPlotCount > 0) {
    if (run.graphics && state.currentStand.loaded) redrawStand();
    g.insideCount = 0;
    g.lastPassPlotCount = 0;
  }
  // The enterprise map too loses the last pass's crosses: over a run they would cover it.
  if (run.enterpriseMode && run.graphics && g.lastPassPlotCount > 0) f.DrawEnterpriseMap();
  if (g.points.empty()) return;
  MarkInsidePoints(g, &state.currentStand.boundary, f.enterpriseGridAreas, run.enterpriseMode, g.assign);
  if (!run.graphics) return;
  auto crosses = [&](bool highlight) {
    const StandMapTransform t = f.MapTransform();
    // Every cross the drawing takes: its centre and colour.
    const auto each = [&](const auto& cross) {
      for (int i = 1; i <= g.pointCount; ++i) {
        const GridPoint& p = g.Point(i);
        if (highlight && p.inside == 0) continue;
        cross(double(p.x + g.originX), double(p.y + g.originY), highlight ? kRed : (p.inside ? kWhite : kBlack));
      }
    };
    if (notes) {
      each([&](double x, double y, Colour colour) {
        notes->Note(t, {DeferredDrawing::Shape::Kind::Cross, false, colour, &stamps, x, y, 0.0});
      });
    } else {
      DrawOnMap(*f.mapImage, stamps.Log(), [&](QtCanvas& c, const MapPixels* pixels) {
        each([&](double x, double y, Colour colour) { DrawCross(stamps, c, pixels, t, x, y, colour); });
      });
    }
    if (show) f.ShowMap();
  };
  const bool wasBusy = run.busy;
  if (blink) run.busy = true;  // only the run controls act while the points blink
  for (int k = 0; k < (blink ? 5 : 1); ++k) {
    // The highlight is seen only where it is shown or blinks: a repetition's crosses, shown with its
    // pass, would only be drawn over at once with the same pixels.
    if (blink || show) crosses(true);
    if (blink) WaitMs(200, run, state.services);
    crosses(false);
    if (blink) WaitMs(200, run, state.services);
    if (run.endRequested) break;
  }
  run.busy = wasBusy;
}

// The pass itself (see RunPass); notes: where its shapes are noted instead of drawn (null: drawn at once).
PassOutcome RunPassOver(TForm1& f, bool wait100, bool repetition, Stamps& stamps, DeferredDrawing* notes = nullptr);

}  // namespace

void TForm1::BuildGridArea() {
  GroupBox1->setTitle("  Gitter bearbeiten ");
  // In the data column below the counters: the tool bar's run buttons, the stand's name and area and
  // the map stay in view.
  GroupBox1->setGeometry(PnDaten->x(), kDataSlotTop, PnDaten->width(), 256);
  auto button = [this](const char* name, const char* caption, QRect r, const char* hint = nullptr) {
    return widgets::TabButton(GroupBox1, name, caption, r, hint);
  };
  LbAbstand = widgets::Label(GroupBox1, "LbAbstand", "Abstand", QRect(8, 22, 236, 18));
  struct Spec {
    int index;
    const char* caption;
    QRect r;
    const char* hint;
  };
  const Spec specs[] = {
      {11, "−5", QRect(8, 42, 56, 28), "Gitterabstand 5 m kleiner"},
      {12, "−1", QRect(68, 42, 56, 28), "Gitterabstand 1 m kleiner"},
      {10, "+1", QRect(128, 42, 56, 28), "Gitterabstand 1 m größer"},
      {9, "+5", QRect(188, 42, 56, 28), "Gitterabstand 5 m größer"},
      {3, "← 5", QRect(8, 100, 56, 28), "Gitter 5 m nach links"},
      {4, "← 1", QRect(68, 100, 56, 28), "Gitter 1 m nach links"},
      {2, "1 →", QRect(128, 100, 56, 28), "Gitter 1 m nach rechts"},
      {1, "5 →", QRect(188, 100, 56, 28), "Gitter 5 m nach rechts"},
      {7, "↓ 5", QRect(8, 132, 56, 28), "Gitter 5 m nach unten"},
      {8, "↓ 1", QRect(68, 132, 56, 28), "Gitter 1 m nach unten"},
      {6, "1 ↑", QRect(128, 132, 56, 28), "Gitter 1 m nach oben"},
      {5, "5 ↑", QRect(188, 132, 56, 28), "Gitter 5 m nach oben"},
  };
  for (const Spec& s : specs) {
    const std::string name = "BitBtn" + std::to_string(s.index);
    GridButton[s.index] = button(name.c_str(), s.caption, s.r, s.hint);
  }
  LbVerschieben = widgets::Label(GroupBox1, "LbVerschieben", "verschieben", QRect(8, 80, 236, 18));
  Button6 = button("Button6", "blinken", QRect(8, 170, 76, 28), "Stichprobenpunkte blinken lassen");
  Button7 = button("Button7", "speichern", QRect(88, 170, 76, 28), "Gitter speichern");
  Button8 = button("Button8", "lesen", QRect(168, 170, 76, 28), "Gespeichertes Gitter lesen");
  GitterFertig =
      button("GitterFertig", "weiter", QRect(112, 212, 132, 34), "Probeflächen anlegen und Probebäume auswählen");
  BitBtn13->move(8, 214);
  BitBtn14->move(54, 214);

  // The spacing and the number of points stand with the method on the stand's data panel.
  auto dataLabel = [this](QLabel* l, int top) {
    l->setParent(PnDaten);
    l->setGeometry(4, top, PnDaten->width() - 8, 22);
    QFont f("Arial");
    f.setPointSize(8);
    l->setFont(f);
    l->setStyleSheet("color: #1f3d1f; background: transparent;");
    l->setWordWrap(false);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->show();
  };
  LblGitterAnf = widgets::Label(PnDaten, "LblGitterAnf", "", QRect());
  dataLabel(LblGitterAnf, 52);
  dataLabel(LblAnzStp, 74);

  for (int i : {9, 10, 11, 12}) {
    const int step = i == 9 ? 5 : i == 10 ? 1 : i == 11 ? -5 : -1;
    connect(GridButton[i], &QPushButton::clicked, this, [this, step] { BitBtn9Click(step); });
  }
  for (int i = 1; i <= 8; ++i) {
    static const int kSteps[9][2] = {{0, 0}, {5, 0}, {1, 0}, {-5, 0}, {-1, 0}, {0, 5}, {0, 1}, {0, -5}, {0, -1}};
    const int sx = kSteps[i][0], sy = kSteps[i][1];
    connect(GridButton[i], &QPushButton::clicked, this, [this, sx, sy] { BitBtn1Click(sx, sy); });
  }
  // After the frame's own handlers have turned the angle.
  connect(BitBtn13, &QPushButton::clicked, this, &TForm1::RotateGridClick);
  connect(BitBtn14, &QPushButton::clicked, this, &TForm1::RotateGridClick);
  connect(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
  connect(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
  connect(Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
  connect(GitterFertig, &QPushButton::clicked, this, &TForm1::GitterFertigClick);
  connect(sBtGitter, &QPushButton::clicked, this, &TForm1::sBtGitterClick);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  Punkt1 = PopupMenu1->addAction(QString());
  Punkt1->setObjectName("Punkt1");
  Punkt2 = PopupMenu1->addAction(QString());
  Punkt2->setObjectName("Punkt2");
  ImgBest->setMouseTracking(false);
  ImgBest->installEventFilter(new StandMapMouse(*this));

  runMap_ = std::make_unique<RunMapDrawing>();
  runMap_->deferred.settle = [this] { runMap_->Settle(*mapImage, [this] { PutBackStand(*this, *runMap_); }); };
  mapPicture_->SetBeforeLook([this] { SettleMap(); });
}

void TForm1::SettleMap() {
  if (runMap_) runMap_->deferred.Settle();
}

void TForm1::RandomGridShift() {
  ClearUpperVectorState();  // after the last repetition's drawing, before the grid's arithmetic
  SampleGrid& g = state.sampling.grid;
  RandomGridOrigin(g, state.random);
  g.rotation = state.gridRotation;
  if (const Outcome made = NewGrid(g, &state.currentStand.boundary, enterpriseGridAreas, MakeGridContext());
      !made.ok()) {
    state.services.messages->PlatformBox(ProblemMessage(state.language, made.problem()), "", PlatformButtons::Ok,
                                         PlatformIcon::None);
    state.run.repetitionStop = true;
    return;
  }
  g.assign = true;
  RunMapDrawing& kept = *runMap_;
  DrawGridOver(
      *this, false, false, [this, &kept] { RedrawStandFrom(*this, kept); }, kept.crosses, &kept.deferred);
  // The pass puts the map on the screen, crosses and rings, when it has ended.
  const PassOutcome outcome = RunPassOver(*this, false, true, kept.rings, &kept.deferred);
  if (outcome != PassOutcome::Done) state.run.repetitionStop = true;
  // Inside a run the buttons come back when it has ended.
  EnableWhenIdle(*this, {sBtGitter, sBtVerfahren}, shiftEnablePending_);
}

GridContext TForm1::MakeGridContext() const {
  GridContext c;
  c.enterpriseMode = state.run.enterpriseMode;
  c.repetitionFlag = state.run.repetitionFlag;
  c.evaluationStarted = state.run.evaluationStarted;
  return c;
}

void TForm1::ShowGridLabels() {
  const SampleGrid& g = state.sampling.grid;
  SetDataLabel(LblAnzStp, PointCountLabel(state.language, g.insideCount, 6));
  SetDataLabel(LblGitterAnf, SpacingLabel(state.language, g, 4, 4));
}

void TForm1::EraseGridCrosses() {
  const SampleGrid& g = state.sampling.grid;
  if (g.pointCount <= 0 || g.points.empty() || state.run.repetitionFlag || !state.run.graphics) return;
  PaintOnMap([&](Canvas& c, const StandMapTransform& t) {
    c.SetPen(kBlack);
    for (int i = 1; i <= g.pointCount; ++i) DrawCrossMark(c, t, g.Point(i).x + g.originX, g.Point(i).y + g.originY);
  });
}

void TForm1::DrawGrid(bool blink) {
  Stamps stamps;
  DrawGridOver(
      *this, blink, true, [this] { DrawTrees(); }, stamps);
}

void TForm1::sBtGitterClick() {
  if (GuardBusy()) return;
  // On the title screen no stand is in view to lay a grid on.
  if (Panel6->isVisible()) return;
  Button8->setEnabled(true);
  DisableResultButtons();
  CloseOperatingHelp();
  SampleGrid& g = state.sampling.grid;
  if (state.run.enterpriseMode) {
    PresetGridCommand(g, true);
    Panel5->hide();
  } else {
    if (!state.currentStand.loaded) {
      state.services.messages->PlatformBox(T("Bitte Bestand auswählen"), "", PlatformButtons::Ok, PlatformIcon::None);
      return;
    }
    PresetGridCommand(g, false);
    Memo1->hide();
    DrawTrees();
  }
  g.rotation = state.gridRotation;
  g.lastPassPlotCount = 0;
  if (const Outcome made = NewGrid(g, &state.currentStand.boundary, enterpriseGridAreas, MakeGridContext());
      !made.ok()) {
    state.services.messages->PlatformBox(ProblemMessage(state.language, made.problem()), "", PlatformButtons::Ok,
                                         PlatformIcon::None);
    return;
  }
  DrawGrid(false);
  GroupBox1->show();
  GroupBox1->raise();
  KeepGridGroupClear(*this);
  if (forms.btnRightDlg1 && forms.btnRightDlg1->isVisible()) forms.btnRightDlg1->done(kDialogNext);
  ShowGridLabels();
  sBtDrehen->hide();
}

void TForm1::BitBtn9Click(int step) {
  if (GuardBusy()) return;
  SampleGrid& g = state.sampling.grid;
  if (!g.exists) return;
  EraseGridCrosses();
  g.rotation = state.gridRotation;
  if (const Outcome made = GenerateGrid(g, &state.currentStand.boundary, step, MakeGridContext()); !made.ok())
    state.services.messages->PlatformBox(ProblemMessage(state.language, made.problem()), "", PlatformButtons::Ok,
                                         PlatformIcon::None);
  DrawGrid(false);
  ShowGridLabels();
}

void TForm1::BitBtn1Click(int stepX, int stepY) {
  if (GuardBusy()) return;
  SampleGrid& g = state.sampling.grid;
  if (!g.exists) return;
  EraseGridCrosses();
  g.rotation = state.gridRotation;
  ShiftGrid(g, &state.currentStand.boundary, enterpriseGridAreas, stepX, stepY, MakeGridContext());
  DrawGrid(false);
  ShowGridLabels();
}

void TForm1::RotateGridClick() {
  if (GuardBusy()) return;
  SampleGrid& g = state.sampling.grid;
  if (!g.exists || g.points.empty()) {
    g.rotation = state.gridRotation;
    return;
  }
  EraseGridCrosses();
  const double before = g.rotation;
  g.rotation = state.gridRotation;
  if (const Outcome made = GenerateGrid(g, &state.currentStand.boundary, 0, MakeGridContext()); !made.ok()) {
    // The grid stays as it was, and so does its angle.
    g.rotation = before;
    state.gridRotation = before;
    state.services.messages->PlatformBox(ProblemMessage(state.language, made.problem()), "", PlatformButtons::Ok,
                                         PlatformIcon::None);
  }
  DrawGrid(false);
  ShowGridLabels();
}

void TForm1::Button6Click() {
  if (GuardBusy()) return;
  const SampleGrid& g = state.sampling.grid;
  if (!g.exists) return;
  SetDataLabel(LblAnzStp, PointCountLabel(state.language, g.insideCount, 4));
  DrawGrid(true);
}

namespace {
std::string GridFile(const SimulatorState& state) { return GridFilePath(state.folders.program, state.enterprise.number); }
}  // namespace

void TForm1::Button7Click() {
  if (GuardBusy()) return;
  SampleGrid& g = state.sampling.grid;
  if (!g.exists) return;
  if (state.run.enterpriseMode) {
    g.saveRequest = true;
    Button8->setEnabled(false);
    state.services.messages->ShowMessageBox(
        T("Für jeden Gitterpunkt wird auch die Lage #der Probefläche im Modellbestand gespeichert.#Programm bitte bis "
          "einschl. Auswertung fortführen."),
        MessageKind::Info, MessageButtons::Ok);
    return;
  }
  if (const Outcome saved = SaveGrid(g, GridFile(state)); !saved.ok()) {
    state.services.messages->ShowMessageBox(ProblemMessage(state.language, saved.problem()), MessageKind::Warning,
                                            MessageButtons::Ok);
    return;
  }
  Button8->setEnabled(true);
  state.services.messages->ShowMessageBox(
      T("Für jeden Gitterpunkt wird auch die Lage #der Probefläche im Bestand gespeichert"), MessageKind::Info,
      MessageButtons::Ok);
}

void TForm1::Button8Click() {
  if (GuardBusy()) return;
  SampleGrid& g = state.sampling.grid;
  const bool standMap = !state.run.enterpriseMode && state.currentStand.loaded;
  if (standMap) DrawTrees();
  if (const Outcome read = LoadGrid(g, GridFile(state)); !read.ok()) {
    state.services.messages->ShowMessageBox(ProblemMessage(state.language, read.problem()), MessageKind::Warning,
                                            MessageButtons::Ok);
    // The grid in hand stays, and with it its crosses on the redrawn map.
    if (g.exists && standMap) DrawGrid(false);
    return;
  }
  g.rotation = state.gridRotation;
  Button7->setEnabled(true);
  SetDataLabel(LblGitterAnf, SpacingLabel(state.language, g, 6, 3));
  SetDataLabel(LblAnzStp, PointCountLabel(state.language, g.insideCount, 7));
  g.lastPassPlotCount = 0;
  DrawGrid(false);
  GroupBox1->show();
  GroupBox1->raise();
}

void TForm1::GitterFertigClick() {
  if (GuardBusy()) return;
  if (state.run.enterpriseMode && !PrepareEnterprisePass()) return;
  RunPass(true, false);
}

PassOutcome TForm1::RunPass(bool wait100, bool repetition) {
  Stamps stamps;
  return RunPassOver(*this, wait100, repetition, stamps);
}

namespace {

// The window as a pass begins: the buttons that would change what it samples off, the grid group away.
void BeforePass(TForm1& f, bool wasBusy) {
  SimulatorState& state = f.state;
  SamplingState& s = state.sampling;
  f.sBtBestand->setEnabled(false);
  f.sBtVerfahren->setEnabled(false);
  f.sBtGitter->setEnabled(false);
  // Inside a run of repetitions nothing is enabled until the run has ended.
  if (!wasBusy) f.sBtExtras->setEnabled(true);
  s.pass.passDone = true;
  f.SetDataLabel(f.LblAnzStp, PointCountLabel(state.language, s.grid.insideCount, 6));
  if (state.run.enterpriseMode) {
    f.sBtZurueck->setEnabled(false);
    if (s.grid.exists && !s.grid.points.empty() && f.enterpriseGridAreas)
      MarkInsidePoints(s.grid, &state.currentStand.boundary, f.enterpriseGridAreas, true, true);
  }
  f.GroupBox1->hide();
}

// The buttons the outcome of a pass outside a run gives back.
void AfterPass(TForm1& f, PassOutcome outcome) {
  switch (outcome) {
    case PassOutcome::Done:
      f.sBtAuswertung->setEnabled(true);
      break;
    case PassOutcome::NoPlots:
      // "Auswertung" names the cause again; the method, the grid or the stand is what the user changes.
      for (QPushButton* b : {f.sBtAuswertung, f.sBtVerfahren, f.sBtGitter, f.sBtBestand, f.sBtZurueck})
        b->setEnabled(true);
      break;
    case PassOutcome::NoMethod:
    case PassOutcome::GridFailed:
      f.sBtVerfahren->setEnabled(true);
      f.sBtGitter->setEnabled(true);
      f.sBtBestand->setEnabled(true);
      break;
    case PassOutcome::EndProgram:  // confirmed by the pass's caller
    case PassOutcome::Stopped:
      break;
  }
}

PassOutcome RunPassOver(TForm1& f, bool wait100, bool repetition, Stamps& stamps, DeferredDrawing* notes) {
  SimulatorState& state = f.state;
  SamplingState& s = state.sampling;
  RunControl& run = state.run;
  const bool wasBusy = run.busy;
  BeforePass(f, wasBusy);

  run.busy = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (wait100) WaitMs(100, run, state.services);

  PassOutcome outcome = PassOutcome::Stopped;
  std::optional<MapPassObserver> observer;
  if (!run.endRequested) {
    observer.emplace(f, stamps, notes);
    try {
      PassEnvironment env{s,
                          state.currentStand.trees,
                          state.currentStand.boundary,
                          *state.geometry,
                          run,
                          state.services,
                          state.language,
                          *observer};
      env.enterprise = f.BeginEnterprisePass(repetition);
      env.areas = f.enterpriseGridAreas;
      env.gridContext = f.MakeGridContext();
      env.repetition = repetition;
      // A run of repetitions waits only in single steps, after each repetition; the pass's own short wait
      // for the next clock tick would idle up to a millisecond on every pass.
      env.singleStepWait = !repetition;
      ClearUpperVectorState();
      outcome = RunSamplingPass(env);
    } catch (const std::bad_alloc&) {
      QApplication::restoreOverrideCursor();
      run.busy = wasBusy;
      state.services.messages->ShowMessageBox("Select: Sorry, bitte neu starten", MessageKind::Info,
                                              MessageButtons::Ok);
      TerminateProgram(state.services, 1);
    }
  }
  QApplication::restoreOverrideCursor();
  run.busy = wasBusy;
  if (observer)
    observer->Finish();
  else
    f.ShowMap();
  f.ShowEnterprisePassEnd();
  // Cancel in "Keine Probebäume gefunden": the program ends once that is confirmed; else, as after the
  // other answers, the empty pass stands.
  if (outcome == PassOutcome::EndProgram) {
    if (f.sBtEndeClick()) return outcome;
    outcome = PassOutcome::NoPlots;
  }
  if (!wasBusy) AfterPass(f, outcome);
  return outcome;
}

}  // namespace

void TForm1::ImgBestMouseDown(int px, int py, bool rightButton) {
  if (GuardBusy() || !ImgBest->isEnabled() || !MapTakesClicks()) return;
  if (state.run.enterpriseMode) {
    EnterpriseMapMouseDown(px, py, rightButton);
    return;
  }
  const CurrentStand& cs = state.currentStand;
  if (!cs.loaded || state.run.enterpriseMode || state.standMap.scale <= 0.0) return;
  SampleGrid& g = state.sampling.grid;
  state.sampling.pass.sampleTreeTotal = 0;
  const StandMapTransform t = MapTransform();
  int X = RoundInt(t.StandMapXInverse(px));
  int Y = RoundInt(t.StandMapYInverse(py));

  // Plots are dragged on the grid in hand: while it is being edited, or after its pass until another
  // stand, method or grid is chosen.
  const bool gridInHand = GroupBox1->isVisible() || sBtAuswertung->isEnabled();
  if (g.exists && !g.points.empty() && gridInHand) {
    const int picked = PickGridPoint(g, X, Y);
    if (picked > 0) {
      const GridPoint& p = g.Point(picked);
      X = p.x + g.originX;
      Y = p.y + g.originY;
      PaintOnMap([&](Canvas& c, const StandMapTransform& tr) {
        c.SetPen(kPickedGrey);
        DrawCrossMark(c, tr, X, Y);
        c.SetPen(kBlack);
        c.SetBrush(kBlack, BrushStyle::Clear);
        WorldCircle(c, tr, X, Y, kDragCircleRadius);
      });
      g.pickedIndex = picked;
      g.dragging = true;
      g.bandX = X;
      g.bandY = Y;
    }
  }

  double lx = (px - 30) / state.standMap.scale;
  double ly = (t.imageHeight - py - 25) / state.standMap.scale;
  Punkt1->setText(Q(T("Koordinaten lokal") + ":  X=" + FormatFixed(6, 1, lx) + "   Y=" + FormatFixed(6, 1, ly)));
  if (rightButton) {
    lx += cs.boundary.minX;
    ly += cs.boundary.minY;
  }
  Punkt2->setText(Q(std::string("    \"      ") + T("gemessen") + ":  X=" + FormatFixed(6, 1, lx) +
                    "   Y=" + FormatFixed(6, 1, ly)));
  PaintOnMap([&](Canvas& c, const StandMapTransform& tr) {
    c.SetPen(kYellow);
    DrawCrossMark(c, tr, X, Y);
  });

  if (DigitiseBoundary(g, Y, X) == DigitiseResult::Closed &&
      state.services.messages->ShowMessageBox(T("Grenze geschlossen"), MessageKind::Info, MessageButtons::Ok) ==
          kResultOk) {
    if (const Outcome written = WriteDigitisedBoundary(g, state.folders.program); !written.ok())
      state.services.messages->PlatformBox(ProblemMessage(state.language, written.problem()), "", PlatformButtons::Ok,
                                           PlatformIcon::Warning);
  }
  if (rightButton) PopupMenu1->popup(ImgBest->mapToGlobal(QPoint(px, py)));
}

void TForm1::ImgBestMouseMove(int px, int py) {
  SampleGrid& g = state.sampling.grid;
  if (!g.dragging) return;
  const StandMapTransform t = MapTransform();
  const int X = RoundInt(t.StandMapXInverse(px));
  const int Y = RoundInt(t.StandMapYInverse(py));
  PaintOnMap([&](Canvas& c, const StandMapTransform& tr) {
    c.SetBrush(kBlack, BrushStyle::Clear);
    c.SetPen(kBlack);
    WorldCircle(c, tr, g.bandX, g.bandY, kDragCircleRadius);
    c.SetPen(kRubberBand, 1, PenStyle::Dot);
    WorldCircle(c, tr, X, Y, kDragCircleRadius);
  });
  g.bandX = X;
  g.bandY = Y;
}

void TForm1::ImgBestMouseUp(int px, int py) {
  SampleGrid& g = state.sampling.grid;
  if (!g.dragging) return;
  const StandMapTransform t = MapTransform();
  const int X = RoundInt(t.StandMapXInverse(px));
  const int Y = RoundInt(t.StandMapYInverse(py));
  DropGridPoint(g, g.pickedIndex, X, Y);
  PaintOnMap([&](Canvas& c, const StandMapTransform& tr) {
    c.SetPen(kWhite);
    DrawCrossMark(c, tr, X, Y);
    c.SetPen(kRubberBand, 1, PenStyle::Dot);
    c.SetBrush(kBlack, BrushStyle::Clear);
    WorldCircle(c, tr, X, Y, kDragCircleRadius);
  });
  g.dragging = false;
  g.bandX = 0;
  g.bandY = 0;
  if (state.sampling.pass.passDone) {
    DrawTrees();
    DrawGrid(false);
    RunPass(true, false);
  }
}

}  // namespace tolvek
