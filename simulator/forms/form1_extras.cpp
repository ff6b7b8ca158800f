// "E-Wert der Varianz" and "Optimierung" of the extras group: the true values of the chosen method's
// design on the loaded stand, drawn tree by tree when asked for, and the split of the fixed circles'
// variation that the sample-plan optimisation starts from.
#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cmath>
#include <memory>

#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "common/qt/widget_makers.h"
#include "common/wait.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form22.h"
#include "simulator/forms/form24.h"
#include "simulator/forms/paced_picture.h"
#include "simulator/sampling/edge_correction.h"
#include "simulator/sampling/true_values.h"
#include "simulator/translate.h"
#include "simulator/views/stand_map.h"

namespace tolvek {

namespace {

constexpr int kPlanSize = 250;
constexpr double kPlanRadius = 10.0;  // metres the plan view shows around its tree
constexpr double kPlanScale = kPlanSize / (2.6 * kPlanRadius);

int PlanX(double x) { return RoundInt(x * kPlanScale) + kPlanSize / 2; }
int PlanY(double y) { return kPlanSize / 2 - RoundInt(y * kPlanScale); }

template <class P>
std::vector<CanvasPoint> PlanPoints(const P& polygon, int count) {
  std::vector<CanvasPoint> points;
  for (int i = 1; i <= count; ++i) {
    points.push_back({PlanX(polygon.x[static_cast<std::size_t>(i)]), PlanY(polygon.y[static_cast<std::size_t>(i)])});
  }
  return points;
}

void CircleAt(Canvas& c, int px, int py, int radius) { c.Ellipse(px - radius, py - radius, px + radius, py + radius); }

// The arc of the circle around c1 (radius r1) that bounds the lens with the circle around c2, as plan
// points relative to `origin`.
std::vector<CanvasPoint> LensArc(GeoPoint c1, double r1, GeoPoint c2, double r2, GeoPoint origin) {
  std::vector<CanvasPoint> arc;
  const double dx = c2.x - c1.x, dy = c2.y - c1.y;
  const double d = std::sqrt(dx * dx + dy * dy);
  double half = kCirclePi;  // the whole circle when it lies within the other
  if (d > 0.0 && d + r1 > r2) {
    const double cosine = (r1 * r1 + d * d - r2 * r2) / (2.0 * r1 * d);
    half = std::acos(std::clamp(cosine, -1.0, 1.0));
  }
  const double towards = std::atan2(dy, dx);
  constexpr int kSteps = 24;
  for (int k = 0; k <= kSteps; ++k) {
    const double a = towards - half + 2.0 * half * k / kSteps;
    arc.push_back({PlanX(c1.x + r1 * std::cos(a) - origin.x), PlanY(c1.y + r1 * std::sin(a) - origin.y)});
  }
  return arc;
}

}  // namespace

// What the step display shows of a computation: selection circles on the stand map, clips and lenses in
// the plan view, their areas in the side panel. It also keeps the window alive while the pairs are
// summed, and stops the computation when the program is to end.
class SelectionAreaDisplay : public TrueValueObserver, public GeometryObserver {
 public:
  explicit SelectionAreaDisplay(TForm1& f) : f_(f), throttle_(20, &f.state.run.pumps) {}

  void SelectionAreaDone(const TreeRecord& tree, double r, const TreeShare& share) override {
    if (!Step() || !f_.state.trueValues.showSingle) return;
    MapCircles({{tree.x, tree.y, r}});
    SelectionAreaFigures fig;
    fig.number = tree.number;
    fig.r = r;
    fig.insideArea = share.insideArea;
    Show(1, fig);
  }

  void TreeStarted(const TreeRecord& tree) override {
    if (f_.state.run.graphics) {
      f_.PaintOnMap(
          [&](Canvas& c, const StandMapTransform& t) { c.Pixel(t.StandMapX(tree.x), t.StandMapY(tree.y), kYellow); });
    }
    throttle_.Tick(f_.state.services);
  }

  void BoundaryPair(const TreeRecord& a, double ra, const TreeRecord& b, double rb, const BoundaryOverlap& overlap,
                    const OverlapWork& work) override {
    if (!Step() || !f_.state.trueValues.showBoundaryPairs) return;
    PaintPlan([&](Canvas& c) {
      c.SetBrush(kWhite, BrushStyle::Clear);
      c.SetPen(kBlue);
      CircleAt(c, PlanX(0), PlanY(0), RoundInt(ra * kPlanScale));
      CircleAt(c, PlanX(b.x - a.x), PlanY(b.y - a.y), RoundInt(rb * kPlanScale));
      c.SetPen(kRed);
      if (work.lens.n > 1) c.Polyline(PlanPoints(work.lens, work.lens.n));
      c.SetPen(kRed, 2);
      if (work.inside.n > 1) c.Polyline(PlanPoints(work.inside, work.inside.n));
      c.SetPen(kGreen);
      if (work.shiftedBoundary.n > 1) c.Polyline(PlanPoints(work.shiftedBoundary, work.shiftedBoundary.n));
    });
    MapCircles({{a.x, a.y, ra}, {b.x, b.y, rb}});
    SelectionAreaFigures fig;
    fig.number = a.number;
    fig.r = ra;
    fig.partner = b.number;
    fig.overlap = overlap.lensArea;
    fig.insideArea = overlap.insideArea;
    Show(2, fig);
  }

  void InnerPair(const TreeRecord& a, double ra, const TreeRecord& b, double rb, double lens) override {
    if (!Step() || !f_.state.trueValues.showInnerPairs) return;
    PaintPlan([&](Canvas& c) {
      c.SetBrush(kWhite, BrushStyle::Clear);
      c.SetPen(kBlue);
      CircleAt(c, PlanX(0), PlanY(0), RoundInt(ra * kPlanScale));
      CircleAt(c, PlanX(b.x - a.x), PlanY(b.y - a.y), RoundInt(rb * kPlanScale));
      c.SetPen(kRed, 2);
      const GeoPoint ca{a.x, a.y}, cb{b.x, b.y};
      c.Polyline(LensArc(ca, ra, cb, rb, ca));
      c.Polyline(LensArc(cb, rb, ca, ra, ca));
    });
    MapCircles({{a.x, a.y, ra}, {b.x, b.y, rb}});
    SelectionAreaFigures fig;
    fig.number = a.number;
    fig.r = ra;
    fig.partner = b.number;
    fig.overlap = lens;
    Show(3, fig);
  }

  bool Cancelled() override { return f_.state.run.endRequested; }

  // The clip of a single tree's circle against the boundary, relative to the tree.
  void ClipInput(const CirclePolygonPoints& circle, const StandPolygonPoints& boundary) override {
    PaintPlan([&](Canvas& c) {
      c.SetBrush(kWhite, BrushStyle::Clear);
      c.SetPen(kBlue);
      c.Polyline(PlanPoints(circle, circle.n));
      c.Polyline(PlanPoints(boundary, boundary.n));
    });
  }
  void ClipOutput(const ClipPolygonPoints& result) override {
    if (result.n < 2) return;
    PaintPlan([&](Canvas& c) {
      c.SetPen(kRed, 2);
      c.Polyline(PlanPoints(result, result.n));
    });
  }

 private:
  struct Circle {
    double x, y, r;
  };

  bool Step() const { return f_.state.trueValues.stepDisplay && !f_.state.run.endRequested; }

  void MapCircles(std::vector<Circle> circles) {
    // Green while its text is read, then grey, so the areas seen so far stay faintly on the map.
    const auto draw = [this, circles = std::move(circles)](Colour colour) {
      f_.PaintOnMap([&](Canvas& c, const StandMapTransform& t) {
        c.SetBrush(kBlack, BrushStyle::Clear);
        c.SetPen(colour);
        for (const Circle& k : circles) CircleAt(c, t.StandMapX(k.x), t.StandMapY(k.y), RoundInt(k.r * t.scale));
        c.SetPen(kWhite);
        DrawBoundary(c, t, f_.state.currentStand.boundary);
      });
    };
    draw(kLime);
    greyDraw_ = [draw] { draw(kGray); };
  }

  void Show(int mode, const SelectionAreaFigures& fig) {
    f_.LbAuswahl->setText(Q(SelectionAreaText(mode, fig, f_.state.language)));
    if (!f_.state.trueValues.fast)
      WaitMs(1000, f_.state.run, f_.state.services);
    else
      WaitMs(0, f_.state.run, f_.state.services);
    if (greyDraw_) greyDraw_();
    greyDraw_ = nullptr;
    PaintPlan([](Canvas& c) {
      c.SetPen(kBlack);
      c.SetBrush(kWhite);
      c.Rectangle(0, 0, kPlanSize, kPlanSize);
    });
  }

  void PaintPlan(const std::function<void(Canvas&)>& paint) {
    {
      QtCanvas canvas(*f_.planImage);
      paint(canvas);
    }
    f_.ImgKR->setPixmap(QPixmap::fromImage(*f_.planImage));
  }

  TForm1& f_;
  PumpThrottle throttle_;
  std::function<void()> greyDraw_;
};

void TForm1::BuildTrueValueArea() {
  PnAuswahl = new QFrame(Client);
  PnAuswahl->setObjectName("PnAuswahl");
  PnAuswahl->setFrameShape(QFrame::Box);
  PnAuswahl->setStyleSheet("QFrame#PnAuswahl { background: #fffff0; }");
  PnAuswahl->setGeometry(8, 470, 300, 120);
  LbAuswahlTitel = widgets::Label(PnAuswahl, "LbAuswahlTitel", "Auswahlflächen der Bäume", QRect(6, 4, 288, 20));
  QFont bold = LbAuswahlTitel->font();
  bold.setBold(true);
  LbAuswahlTitel->setFont(bold);
  LbAuswahl = widgets::Label(PnAuswahl, "LbAuswahl", "", QRect(6, 26, 288, 90));
  LbAuswahl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont mono("Liberation Mono");
  mono.setStyleHint(QFont::Monospace);
  mono.setPointSize(7);
  LbAuswahl->setFont(mono);
  PnAuswahl->hide();

  ImgKR = widgets::Label(Panel11, "ImgKR", "", QRect(2, 2, kPlanSize, kPlanSize));
  planImage = std::make_unique<QImage>(kPlanSize, kPlanSize, QImage::Format_RGB32);
  planImage->fill(Qt::white);

  connect(BtVarianz, &QPushButton::clicked, this, &TForm1::BtVarianzClick);
  connect(BtOptom, &QPushButton::clicked, this, &TForm1::BtOptomClick);
}

void TForm1::BtVarianzMouseDown(bool ctrlAndLeft) { state.trueValues.stepDisplay = ctrlAndLeft; }

void TForm1::BtVarianzClick() {
  if (GuardBusy()) return;
  const auto refuse = [this](const char* german) {
    state.services.messages->ShowMessageBox(T(german), MessageKind::Info, MessageButtons::Ok);
    GrpExtras->hide();
  };
  const MethodSettings& m = state.sampling.method;
  if (!state.currentStand.loaded) return refuse("Bitte zuerst Bestand wählen");
  if (m.code == kMethodNone) return refuse("Bitte zuerst Verfahren wählen");
  if (m.code == kMethodNTree) return refuse("Für N-Baum-Stichprobe Varianzberechnung # nicht möglich");
  ComputeTrueValuesNow(1);
}

std::optional<DesignValues> TForm1::ComputeTrueValuesNow(int ask) {
  auto& tv = state.trueValues;
  CurrentStand& cs = state.currentStand;
  if (!cs.loaded) {
    state.services.messages->PlatformBox(T("Bitte Bestand auswählen"), "", PlatformButtons::Ok,
                                         PlatformIcon::Information);
    GrpExtras->hide();
    return std::nullopt;
  }
  if (ask != 1) tv.stepDisplay = false;  // "Optimierung" runs silently
  // Set-up: a black map with the boundary, on which the trees are marked as they are summed.
  Memo1->hide();
  sBtDrehen->hide();
  Panel3->hide();
  ImgLeg->hide();
  GroupBox1->hide();
  tv.fast = true;
  if (forms.form22) {
    forms.form22->ClearOptions();
    forms.form22->Panel3->setText(Q(T("schnell")));
  }
  tv.showSingle = tv.showBoundaryPairs = tv.showInnerPairs = false;
  const auto blackMap = [this] {
    PaintOnMap([this](Canvas& c, const StandMapTransform& t) {
      c.SetPen(kBlack);
      c.SetBrush(kBlack);
      c.Rectangle(0, 0, t.imageWidth, t.imageHeight);
      c.SetPen(kWhite);
      DrawBoundary(c, t, state.currentStand.boundary);
    });
  };
  blackMap();

  const auto restore = [this] {
    Panel15->hide();
    Panel11->hide();
    PnAuswahl->hide();
    BtVarianz->show();
    DrawStand();
    Panel3->show();
    ImgLeg->show();
  };
  if (ask == 1) {
    const int answer =
        state.services.messages->AskYesNoAt("      " + T("weiter") + "?", MessageKind::Question, 55, 300);
    if (answer != kResultYes) {
      restore();
      return std::nullopt;
    }
  }

  if (!tv.stepDisplay) {
    Panel15->show();
    Panel15->raise();
  } else {
    LbAuswahl->clear();
    LbAuswahlTitel->setText(Q(T("Auswahlflächen der Bäume")));
    PnAuswahl->show();
    PnAuswahl->raise();
    planImage->fill(Qt::white);
    ImgKR->setPixmap(QPixmap::fromImage(*planImage));
    Panel11->show();
    Panel11->raise();
    GrpExtras->hide();
    if (forms.form22) forms.form22->exec();
    blackMap();
  }

  SelectionAreaDisplay display(*this);
  GeometryContext g;  // its own: the pass's kept boundary tables stay as they are
  g.cornersPerCircle = state.sampling.method.cornersPerCircle;
  if (tv.stepDisplay && tv.showSingle) g.observer = &display;
  RunControl& run = state.run;
  run.busy = true;
  bool cancelled = false;
  // Every tree marks the map: shown at the screen's pace, not once per tree, or a large stand waits on the
  // picture rather than on the sums.
  mapPicture_->SetPaced(true);
  const std::optional<DesignValues> values =
      ComputeTrueValues(g, cs.trees, cs.boundary, cs.areaHa, state.sampling.method, &display, &cancelled);
  mapPicture_->SetPaced(false);
  run.busy = false;
  if (run.endRequested) return std::nullopt;
  if (values) tv.last = *values;
  if (values && !tv.quiet) {
    state.services.messages->PlatformBox(TrueValuesText(*values, cs.areaHa, state.language), "", PlatformButtons::Ok,
                                         PlatformIcon::None);
  }
  restore();
  return values;
}

void TForm1::BtOptomClick() {
  if (GuardBusy()) return;
  auto& tv = state.trueValues;
  CurrentStand& cs = state.currentStand;
  if (!cs.loaded) {
    state.services.messages->ShowMessageBox(T("Bitte Bestand auswählen"), MessageKind::Info, MessageButtons::Ok);
    GrpExtras->hide();
    return;
  }
  GrpExtras->hide();
  tv.quiet = true;
  Panel3->hide();
  ImgLeg->hide();
  // Both runs take fixed circles; the user's own method comes back afterwards.
  const MethodSettings saved = state.sampling.method;
  MethodSettings& m = state.sampling.method;
  m.code = kMethodFixedCircle;
  const QString waitText = Panel15Text->text();
  Panel15Text->setText(Q(T("Bitte warten ...") + " 2 cycles"));

  m.circleRadius = 8.0;
  const std::optional<DesignValues> at8 = ComputeTrueValuesNow(2);
  std::optional<DesignValues> at16;
  if (at8 && !state.run.endRequested) {
    m.circleRadius = 16.0;
    at16 = ComputeTrueValuesNow(2);
  }
  state.sampling.method = saved;
  Panel15Text->setText(waitText);
  tv.quiet = false;
  if (state.run.endRequested) return;
  std::optional<VarianceSplit> split;
  if (at8 && at16) {
    tv.e8 = at8->En;
    tv.sd8 = at8->sdPerHa;
    tv.e16 = at16->En;
    tv.sd16 = at16->sdPerHa;
    split = SplitVariance(tv.e8, tv.sd8, tv.e16, tv.sd16);
  }
  if (!split) {
    state.services.messages->ShowMessageBox(T("Berechnung abgebrochen. "), MessageKind::Info, MessageButtons::Ok);
    return;
  }
  tv.split = *split;
  const double basalPerHa = cs.areaHa > 0.0 ? cs.sums.basalArea[0] / cs.areaHa : 0.0;
  state.services.messages->PlatformBox(VarianceSplitText(basalPerHa, *split, state.language), "", PlatformButtons::Ok,
                                       PlatformIcon::None);
  const double sF = basalPerHa > 0.0 ? split->between * 100.0 / basalPerHa : 0.0;
  const double sB = basalPerHa > 0.0 ? split->within * 100.0 / basalPerHa : 0.0;
  if (forms.form24) {
    forms.form24->InitPlanOptimisation(sF, sB);
    forms.form24->exec();
  }
  GrpExtras->hide();
}

void TForm1::EndSelectionAreaDisplay() {
  PnAuswahl->hide();
  Panel11->hide();
  GrpExtras->setEnabled(true);
  state.trueValues.stepDisplay = false;
  DrawStand();
}

void TForm1::ShowLegendAgain() {
  Panel3->show();
  ImgLeg->show();
}

}  // namespace tolvek
