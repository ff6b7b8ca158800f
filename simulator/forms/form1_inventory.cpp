// The main window's part in an enterprise inventory: the route the pass takes over the enterprise (the
// model stand of every grid point, the plot inside it), the plot plan of each point, and after the pass
// the evaluation by strata with its report, the choice of the evaluation unit and the views.
#include <QDate>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QTime>

#include "common/format.h"
#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "common/wait.h"
#include "simulator/enterprise/enterprise_inventory.h"
#include "simulator/enterprise/enterprise_views.h"
#include "simulator/enterprise/model_stand_loading.h"
#include "simulator/forms/enterprise_results.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form2.h"
#include "simulator/sampling/grid.h"
#include "simulator/translate.h"
#include "simulator/views/plot_plan.h"

namespace tolvek {

namespace {

// The result window's button of a chart's quantity, disabled while the chart is shown.
QPushButton* QuantityButton(TForm2& f, char code) {
  switch (code) {
    case 'G': return f.BtGrundfl;
    case 'Z': return f.BtBaumZahl;
    case 'F': return f.BtFlaeche;
    case 'D': return f.Button14;
    default: return nullptr;
  }
}

// The views through the windows: the choice (TForm27), the charts (TForm2), the table (TForm31).
class WindowViews final : public EnterpriseViewSteps {
 public:
  explicit WindowViews(TForm1& f) : f_(f) {}
  bool Showing() override { return f_.state.run.showReport; }
  bool ChooseUnit(int& row, int& column) override {
    TForm27* c = f_.forms.form27;
    if (c == nullptr) return false;
    c->leave = false;
    c->Button1Click();
    // Closed by its frame's close box, the window is left as by "schliessen".
    if (c->exec() != QDialog::Accepted) c->leave = true;
    if (c->leave) return false;
    row = f_.state.inventory.chosenRow;
    column = f_.state.inventory.chosenColumn;
    return true;
  }
  void AreaButton(bool enabled) override {
    if (f_.forms.form2) f_.forms.form2->BtFlaeche->setEnabled(enabled);
  }
  void Draw(const ResultDiagramData& data) override {
    TForm2* g = f_.forms.form2;
    if (g == nullptr) {
      f_.state.graph.command = 'E';
      return;
    }
    QPushButton* button = QuantityButton(*g, data.code);
    if (button) button->setEnabled(false);
    if (g->DrawResultDiagram(data) == DiagramShown::NotShown) f_.state.graph.command = 'E';
    if (button) button->setEnabled(true);
  }
  void ShowTable(const std::vector<std::string>& lines, int column) override {
    if (f_.forms.form31) f_.forms.form31->ShowStratumTable(lines, column);
  }

 private:
  TForm1& f_;
};

}  // namespace

void TForm1::BuildInventoryArea() {
  enterpriseRoute_ = std::make_unique<EnterpriseRoute>(state);
  enterpriseGridAreas = enterpriseRoute_.get();
}

EnterprisePassRoute* TForm1::BeginEnterprisePass(bool repetition) {
  if (!state.run.enterpriseMode) return nullptr;
  enterpriseRoute_->Begin(repetition, GridFilePath(state.folders.program, state.enterprise.number));
  if (!repetition) {
    state.inventory.planView = true;
    planImage->fill(Qt::white);
    ImgKR->setPixmap(QPixmap::fromImage(*planImage));
    Panel11->show();
    Panel11->raise();
  }
  return enterpriseRoute_.get();
}

void TForm1::ShowEnterprisePassEnd() {
  if (!state.run.enterpriseMode || enterpriseRoute_->ended.ok()) return;
  const Problem problem = enterpriseRoute_->ended.problem();
  enterpriseRoute_->ended = {};
  state.services.messages->ShowMessageBox(ProblemMessage(state.language, problem), MessageKind::Warning,
                                          MessageButtons::Ok);
}

RunTrueValues TForm1::EnterpriseTrueValues() const {
  const StratumTruth& all = state.inventory.truth.At(0, 0, 0);
  return MakeRunTrueValues(all.g, all.n);
}

bool TForm1::PrepareEnterprisePass() {
  int entry = 0;
  const Outcome prepared = PrepareModelStands(state, entry);
  if (prepared.ok()) return true;
  state.services.messages->ShowMessageBox(ModelStandLoadMessage(state, entry, prepared.problem()), MessageKind::Warning,
                                          MessageButtons::Ok);
  return false;
}

void TForm1::ShowPlotPlan(int gridIndex, const PlotRecord& plot) {
  if (!enterpriseRoute_ || enterpriseRoute_->Repetition() || plot.treeCount <= 0) return;
  const SamplingState& sm = state.sampling;
  const PassResult& pass = sm.pass;
  const MethodSettings& m = sm.method;
  EnterpriseInventoryState& inv = state.inventory;
  if (inv.planView) {
    PlotPlanInput in;
    in.method = m.passCode;
    in.variant = m.variant;
    const int n = std::clamp(m.treeNumber, 2, 7);
    in.mainRadius = std::sqrt(sm.scratch.nearest.mainDist[static_cast<std::size_t>(n)]);
    in.underRadius = std::sqrt(std::max(sm.scratch.nearest.underDist[static_cast<std::size_t>(n)], 0.0));
    in.understoreyInUse = m.variant == 4 && m.understoreyRadiusSq > 0.0 &&
                          sm.scratch.nearest.underDist[1] < m.understoreyRadiusSq;
    in.mainWeight = pass.nTreeW1;
    in.underWeight = pass.nTreeW2;
    in.circleRadius = std::sqrt(m.circleArea / kCirclePi);
    in.plotWeight = pass.plotWeight;
    in.strongestRadius = pass.strongestRadius;
    in.strongestWeight = pass.strongestWeight;
    in.rings = std::min<int>(m.circleCount, kMaxConcentricCircles);
    for (int i = 1; i <= 6; ++i) in.ringRadius[static_cast<std::size_t>(i)] = m.concentricRadius[static_cast<std::size_t>(i)];
    for (int i = 1; i <= 5; ++i) in.ringWeight[static_cast<std::size_t>(i)] = pass.concentricWeight[static_cast<std::size_t>(i)];
    in.centreX = pass.planCentreX;
    in.centreY = pass.planCentreY;
    in.standName = enterpriseRoute_->CurrentStandName();
    in.pointText = FormatInt(gridIndex, 4) + ":  X=" + FormatInt(pass.mapX, 5) + "  Y=" + FormatInt(pass.mapY, 5);
    in.speciesSeen = pass.speciesSeen;
    in.boundary = &state.currentStand.boundary;
    in.trees = sm.plots.TreesOf(plot);
    in.imageWidth = planImage->width();
    planImage->fill(Qt::white);
    {
      QtCanvas canvas(*planImage);
      DrawPlotPlan(canvas, in, state.language);
    }
    ImgKR->setPixmap(QPixmap::fromImage(*planImage));
    Panel11->show();
    Panel11->raise();
    sBtExtras->setEnabled(false);
    const int answer = state.services.messages->AskYesNoAt(T("Lageplan weiter anzeigen?"), MessageKind::Question, 3, 460);
    if (answer == kResultNo) {
      inv.planView = false;
      Panel11->hide();
      sBtAuswertung->setEnabled(true);
      sBtAnmerk->setEnabled(false);
      WaitMs(200, state.run, state.services);
    }
    Panel8->hide();
    // The plan is cleared for the next point.
    planImage->fill(Qt::white);
    {
      QtCanvas canvas(*planImage);
      canvas.SetPen(kBlack);
      canvas.SetBrush(kWhite, BrushStyle::Clear);
      canvas.Rectangle(0, 0, planImage->width(), planImage->height());
    }
    ImgKR->setPixmap(QPixmap::fromImage(*planImage));
    Panel11->move(Panel11->x(), 200);
  }
  // The point on the map, plan or no plan.
  if (state.run.graphics)
    PaintOnMap([&](Canvas& c, const StandMapTransform& t) {
      c.SetPen(kFuchsia);
      DrawCrossMark(c, t, pass.mapX, pass.mapY);
      c.SetPen(kBlack);
    });
}

bool TForm1::EvaluateEnterpriseRun(RepetitionEstimate& estimate) {
  EnterpriseInventoryState& inv = state.inventory;
  // A new "Auswertung": its true values are taken afresh, its deviations start at nothing.
  if (state.evaluation.run.count == 0) {
    inv.truthKnown = false;
    inv.histograms.Clear();
  }
  if (!inv.truthKnown) {
    if (!PrepareEnterprisePass()) return false;
    const TruthOutcome truth = ComputeStratumTrueValues(state);
    const StratumSumReport& r = truth.report;
    // Stands that borrow no trees are never sampled, and their area is no part of the strata's: said
    // once for every structure that has them.
    const std::string unassigned =
        r.standsWithoutModel > 0 ? std::to_string(r.standsWithoutModel) + "|" + FixedText(r.areaWithoutModel, 2) : "";
    if (!unassigned.empty() && unassigned != inv.unassignedShown) {
      state.services.messages->ShowMessageBox(
          T("Bestände ohne Modellbestand:") + " " + std::to_string(r.standsWithoutModel) + " (" +
              FormatFixed(1, 1, r.areaWithoutModel) + " ha)#" + T("Sie werden nicht beprobt."),
          MessageKind::Info, MessageButtons::Ok);
    }
    inv.unassignedShown = unassigned;
  }
  if (const Outcome evaluated = EvaluateEnterprisePass(state); !evaluated.ok()) {
    state.services.messages->ShowMessageBox(ProblemMessage(state.language, evaluated.problem()), MessageKind::Warning,
                                            MessageButtons::Ok);
    return false;
  }
  const SamplingState& sm = state.sampling;
  estimate.plots = inv.estimates.plotCount;
  estimate.sampleTrees = sm.pass.sampleTreeTotal;
  estimate.basalArea = inv.estimates.runBasalArea;
  estimate.stemNumber = inv.estimates.runStemNumber;
  SetDataLabel(LblAnzStp, T("Stichproben:") + "      " + FormatInt(sm.pass.passPlotTotal, 9));
  const EnterpriseSession& e = state.enterprise;
  state.graph.enterprise = {std::to_string(e.number), e.modeCaption, e.totalArea, e.standCount};
  if (state.run.showReport) {
    WriteEnterpriseReport();
    if (sm.grid.insideCount >= 2) RunEnterpriseViewLoop();
  }
  return true;
}

bool TForm1::WriteEnterpriseReport() {
  EnterpriseInventoryState& inv = state.inventory;
  std::vector<std::string> lines;
  if (state.sampling.grid.insideCount >= 2 && inv.evaluated) {
    std::array<std::string, 8> captions;
    const QLabel* labels[8] = {LblBestand, LblFlaeche, LblBaeume, LbBestGroesse, LblVerfahren, LblRadius, LblGitterAnf, LblBaumZahl};
    for (std::size_t i = 0; i < captions.size(); ++i) captions[i] = labels[i] ? S(labels[i]->text()) : std::string();
    const QLocale locale = QLocale::system();
    inv.report = EnterpriseReportLines(
        MakeReportInput(state, captions, S(locale.toString(QDate::currentDate(), QLocale::ShortFormat)),
                        S(locale.toString(QTime::currentTime(), QLocale::LongFormat))),
        state.language);
    lines = inv.report.lines;
  } else {
    inv.report = {};
  }
  const Outcome written = WriteTextLines(EnterpriseReportPath(state.folders.program), lines);
  if (written.ok()) return true;
  state.services.messages->PlatformBox(ProblemMessage(state.language, written.problem()), "", PlatformButtons::Ok,
                                       PlatformIcon::Warning);
  return false;
}

void TForm1::RunEnterpriseViewLoop() {
  if (forms.form2) forms.form2->BtListe->setEnabled(true);
  WindowViews steps(*this);
  const EnterpriseViewInput in = MakeViewInput(state);
  RunEnterpriseViews(in, state.inventory.report, state.graph, state.inventory.colours, steps, state.language);
  if (forms.form2) forms.form2->BtFlaeche->setEnabled(true);
}

}  // namespace tolvek
