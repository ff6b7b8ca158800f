// The main window's evaluation: "Auswertung" once or as a run of repetitions, the run controls and
// the stand report after a single evaluation. The arithmetic is the core's; this file drives it and
// shows what it left behind.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "common/format.h"
#include "common/qt/qt_services.h"
#include "common/qt/vector_state.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form18.h"
#include "simulator/forms/translate_forms.h"
#include "simulator/sampling/repetitions.h"
#include "simulator/sampling/true_values_basic.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

QLabel* LabelNamed(QWidget* root, const char* name) { return root->findChild<QLabel*>(QString::fromLatin1(name)); }

}  // namespace

// The stand route of a run: one evaluation per repetition, the counters on the main window, the
// random grid shift with the next pass.
class StandRunSteps : public RepetitionSteps {
 public:
  StandRunSteps(TForm1& form, const TrueStandValues& truth) : f_(form), truth_(truth) {}

  bool Evaluate(int, RepetitionEstimate& estimate) override {
    SimulatorState& st = f_.state;
    bool ok = false;
    if (st.run.enterpriseMode) {
      ok = f_.EvaluateEnterpriseRun(estimate);
    } else {
      ClearUpperVectorState();
      ok = f_.EvaluateStandRun(&truth_);
      const SampleEstimate& e = st.evaluation.estimate;
      estimate.plots = e.plotCount;
      estimate.sampleTrees = st.sampling.pass.sampleTreeTotal;
      estimate.basalArea = e.RunBasalArea(st.sampling.method);
      estimate.stemNumber = e.RunStemNumber(st.sampling.method);
    }
    f_.sBtNeuesVerfahren->setEnabled(true);
    if (st.run.repetitionFlag) f_.Panel15->show();
    return ok;
  }
  void AfterFirstEvaluation() override { f_.WeightingQuestion(); }
  RunTrueValues TrueValues() override {
    if (f_.state.run.enterpriseMode) return f_.EnterpriseTrueValues();
    return MakeRunTrueValues(truth_.BasalAreaPerHa(0), truth_.StemsPerHa(0));
  }
  void ShowCounters(const RunStatistics& stats) override {
    const RunCounterTexts t = MakeRunCounterTexts(stats, f_.state.language);
    for (auto [label, text] : {std::pair{f_.Label18, &t.count}, std::pair{f_.LbAnzStpQ, &t.meanPlots},
                               std::pair{f_.LbBaumZahlQ, &t.meanSampleTrees}}) {
      label->setText(Q(*text));
      label->show();
    }
  }
  void ShowStatistics(const RunStatistics&) override {
    // The histogram of the deviations and the bias ± SD rows are drawn here by the run display.
    if (f_.runWatcher) f_.runWatcher->ShowingStatistics();
    f_.ShowRunStatistics();
    if (f_.runWatcher) f_.runWatcher->StatisticsShown();
  }
  void ShiftGridAndPass() override {
    f_.Panel15->show();
    f_.RandomGridShift();
    f_.Panel11->hide();
    if (f_.runWatcher) f_.runWatcher->GridShifted();
  }

 private:
  TForm1& f_;
  const TrueStandValues& truth_;
};

namespace {

// The run's counters and the wait panel put where the mode leaves room for them.
void PlaceRunCounters(TForm1& f) {
  // At the stand level they stand below the method's figures, the wait panel between them and the run's
  // pictures, where no button lies. In an enterprise its own figures take that room, so both go below
  // the pictures, which end well above the data column's foot there (no species legend).
  const int waitHeight = TForm1::kDataSlotTop - TForm1::kDataWaitTop - 4;
  int countersTop = TForm1::kDataCountersTop;  // in the data panel
  if (f.state.run.enterpriseMode) countersTop = f.ImgRepeatD->geometry().bottom() + 6 - f.PnDaten->y();
  const int waitTop = f.PnDaten->y() + countersTop + (TForm1::kDataWaitTop - TForm1::kDataCountersTop);
  QLabel* const counters[3] = {f.Label18, f.LbAnzStpQ, f.LbBaumZahlQ};
  for (int i = 0; i < 3; ++i) counters[i]->move(counters[i]->x(), countersTop + 18 * i);
  f.Panel15->setGeometry(f.PnDaten->x() + 4, waitTop, f.PnDaten->width() - 8, waitHeight);
  f.Panel15Text->setGeometry(0, 0, f.Panel15->width(), f.Panel15->height());
}

}  // namespace

void TForm1::BuildEvaluationArea() {
  // The run's counters stand on the stand's data panel, below the grid figures and above the wait panel
  // "Bitte warten ..." that a run shows.
  auto dataLabel = [this](QLabel* l, int top, bool bold) {
    l->setParent(PnDaten);
    l->setGeometry(6, top, PnDaten->width() - 12, 18);
    l->setTextFormat(Qt::PlainText);
    QFont f("Arial");
    f.setPointSize(8);
    f.setBold(bold);
    l->setFont(f);
    l->setStyleSheet("color: #1f3d1f; background: transparent;");
    l->setWordWrap(false);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->hide();
  };
  Label18 = new QLabel(PnDaten);
  Label18->setObjectName("Label18");
  dataLabel(Label18, kDataCountersTop, true);
  dataLabel(LbAnzStpQ, kDataCountersTop + 18, false);
  dataLabel(LbBaumZahlQ, kDataCountersTop + 36, false);
  connect(sBtAuswertung, &QPushButton::clicked, this, &TForm1::sBtAuswertungClick);
  connect(F1BtWiederholen, &QPushButton::clicked, this, &TForm1::F1BtWiederholenClick);
  connect(sBtMultiSim, &QPushButton::clicked, this, &TForm1::sBtMultiSimClick);
  connect(sBtPausePlus, &QPushButton::clicked, this, &TForm1::sBtPausePlusClick);
  connect(sBtFin, &QPushButton::clicked, this, &TForm1::sBtFinClick);
  connect(sBtNeuesVerfahren, &QPushButton::clicked, this, &TForm1::sBtNeuesVerfahrenClick);
}

SampleTableHeader TForm1::SampleTableCaptions() const {
  SampleTableHeader h;
  static constexpr const char* kNames[9] = {"LblBestand", "LblFlaeche",   "LblBaeume", "LbBestGroesse", "LblVerfahren",
                                            "LblRadius",  "LblGitterAnf", "LblAnzStp", "LblBaumZahl"};
  const auto caption = [this](int i) {
    QPointer<QLabel>& label = captionLabels_[static_cast<std::size_t>(i)];
    if (!label) label = LabelNamed(Client, kNames[i]);
    return label ? S(label->text()) : std::string();
  };
  for (int i = 0; i < 6; ++i) h.standLines[static_cast<std::size_t>(i)] = caption(i);
  for (int i = 0; i < 3; ++i) h.gridLines[static_cast<std::size_t>(i)] = caption(6 + i);
  return h;
}

bool TForm1::WriteSampleTreeTableNow() {
  EvaluationState& ev = state.evaluation;
  if (!ev.evaluated) return false;
  if (tablePending_) {
    ev.sampleTreeTable = SampleTreeTableLines(ev.estimate, tablePlots_, tableMethod_, state.currentStand.speciesList,
                                              tableCaptions_, state.language);
    tablePending_ = false;
  }
  const Outcome written = WriteSampleTreeTable(state.folders.program, ev.sampleTreeTable);
  if (written.ok()) return true;
  state.services.messages->PlatformBox(ProblemMessage(state.language, written.problem()), "", PlatformButtons::Ok,
                                       PlatformIcon::Warning);
  return false;
}

bool TForm1::EvaluateStandRun(const TrueStandValues* runTruth) {
  SamplingState& sm = state.sampling;
  EvaluationState& ev = state.evaluation;
  const TrueStandValues truth =
      runTruth ? *runTruth : ComputeTrueStandValues(state.currentStand.trees, state.currentStand.areaHa);
  const EvaluationInput input{sm.method, sm.method.passCode, sm.plots, truth, sm.grid.dx, state.run.enterpriseMode};
  EvaluateSample(input, state.language, ev.estimate, ev.histograms);
  ev.evaluated = true;
  // Kept in memory: the file is written only for the evaluations the user looks at.
  if (state.run.busy && !state.run.showReport) {
    tablePlots_.plots = sm.plots.plots;
    tablePlots_.trees = sm.plots.trees;
    tableMethod_ = sm.method.passCode;
    tableCaptions_ = SampleTableCaptions();
    tablePending_ = true;
  } else {
    ev.sampleTreeTable = SampleTreeTableLines(ev.estimate, sm.plots, sm.method.passCode, state.currentStand.speciesList,
                                              SampleTableCaptions(), state.language);
    tablePending_ = false;
  }
  state.sampleTreeCount = ev.estimate.sampleTreeTotal;
  sBtProbeBaeume->setEnabled(true);
  if (state.run.showReport) {
    WriteSampleTreeTableNow();
    if (forms.form18) forms.form18->exec();
  }
  return true;
}

void TForm1::sBtAuswertungClick() {
  if (GuardBusy()) return;
  RunControl& run = state.run;
  SamplingState& sm = state.sampling;
  EvaluationState& ev = state.evaluation;

  run.waitAbort = false;
  run.repetitionStop = false;
  stopPending_ = false;
  PlaceRunCounters(*this);
  sBtDrehen->hide();
  sm.grid.baseOriginX = sm.grid.originX;
  sm.grid.baseOriginY = sm.grid.originY;
  if (auto* lesen = Client->findChild<QPushButton*>("Button8")) lesen->setEnabled(true);
  run.evaluationStarted = true;
  sBtBestand->setEnabled(false);
  sBtGitter->setEnabled(false);
  sBtVerfahren->setEnabled(false);

  // Nothing to evaluate: say what is missing and give back the button that supplies it.
  if (state.currentStand.trees.empty()) {
    state.services.messages->PlatformBox(T("Bitte Bestand auswählen"), "", PlatformButtons::Ok, PlatformIcon::None);
    sBtBestand->setEnabled(true);
    return;
  }
  if (!IsSamplingMethod(sm.method.passCode)) {
    state.services.messages->PlatformBox(T("Bitte Verfahren festlegen"), "", PlatformButtons::Ok, PlatformIcon::None);
    sBtVerfahren->setEnabled(true);
    return;
  }
  if (sm.grid.exists && sm.plots.Empty() && sm.pass.completed) {
    // The grid was laid and sampled, but no point gave a plot (plots too large for the stand, a grid
    // beside it): that is the cause, and another method, grid or stand the way on.
    state.services.messages->PlatformBox(T("Keine Probebäume gefunden"), "", PlatformButtons::Ok, PlatformIcon::None);
    for (QPushButton* b : {sBtVerfahren, sBtGitter, sBtBestand, sBtZurueck}) b->setEnabled(true);
    return;
  }
  if (!sm.grid.exists || sm.plots.Empty()) {
    state.services.messages->PlatformBox(T("Bitte Gitter festlegen"), "", PlatformButtons::Ok, PlatformIcon::None);
    sBtGitter->setEnabled(true);
    // A grid needs a method to be sampled with: without one, "Verfahren" must be there to choose it.
    if (sm.method.code == kMethodNone) sBtVerfahren->setEnabled(true);
    return;
  }

  StartRunStatistics(ev.run);
  ev.histograms.Clear();
  run.showReport = true;

  if (!run.repeatMode) {
    if (run.enterpriseMode) {
      RepetitionEstimate unused;
      EvaluateEnterpriseRun(unused);
    } else {
      EvaluateStandRun();
    }
    run.showReport = true;
    F1BtWiederholen->show();
    F1BtWiederholen->setEnabled(true);
    return;
  }

  // A run of repetitions: the stand report opens only after "Zwischenergebnisse".
  run.showReport = false;
  sBtMultiSim->show();
  sBtNeuesVerfahren->show();
  Label18->setText(Q(FormatInt(0, 4)));
  Label18->show();
  const TrueStandValues truth = ComputeTrueStandValues(state.currentStand.trees, state.currentStand.areaHa);
  StandRunSteps steps(*this, truth);
  run.busy = true;
  PaceRunPictures(true);
  RunRepetitions(ev.run, run, state.services, steps);
  PaceRunPictures(false);
  run.busy = false;
  Panel15->hide();
  if (run.endRequested) return;
  // After a run the stand choice and the title screen are one click away.
  sBtBestand->setEnabled(true);
  sBtZurueck->setEnabled(true);
  if (forms.form18) forms.form18->ApplyPendingButtons();
  // The sample-tree table, or the enterprise report, of the run's last evaluation.
  if (run.enterpriseMode)
    WriteEnterpriseReport();
  else
    WriteSampleTreeTableNow();
  if (stopPending_) {
    stopPending_ = false;
    FinishNeuesVerfahren();
  }
}

void TForm1::ClearRunLabels(bool withGrid) {
  for (QLabel* l : {Label18, LbAnzStpQ, LbBaumZahlQ}) l->clear();
  if (withGrid)
    for (QLabel* l : {LblGitterAnf, LblAnzStp}) l->clear();
}

void TForm1::F1BtWiederholenClick() {
  if (GuardBusy()) return;
  F1BtWiederholen->setEnabled(false);
  sBtMultiSim->show();
  sBtMultiSim->setEnabled(true);
  state.run.repeatMode = true;
  sBtAuswertungClick();
}

void TForm1::sBtMultiSimClick() { state.run.showReport = true; }

void TForm1::sBtPausePlusClick() {
  state.run.graphics = true;
  if (state.run.singleStep) state.run.waitAbort = true;
  state.run.singleStep = true;
  sBtFin->show();
}

void TForm1::sBtFinClick() {
  state.run.singleStep = false;
  state.run.waitAbort = true;
  sBtFin->hide();
}

void TForm1::WeightingQuestion() {
  const int answer = state.services.messages->AskYesNoAt(
      T("Gewichtung der Probebäume [Baum-zentriert,Probekreis-zentriert]"), MessageKind::Question, 3, 560);
  SamplingState& sm = state.sampling;
  // Tree-centred weighting is marked by " i" after the parameter line, once, however many runs asked.
  sm.method.weighting = answer == kResultLeft ? WeightingMode::TreeCentred : WeightingMode::PlotCentred;
  SetDataLabel(LblRadius, sm.method.parameterLine + (answer == kResultLeft ? " i" : ""));
  sBtNeuesVerfahren->setEnabled(true);
  if (!state.run.enterpriseMode) {
    sBtPausePlus->show();
    F1BnStatus->show();
  }
  state.run.repetitionFlag = true;
  UncheckMethodButtons();
}

void TForm1::UncheckMethodButtons() {
  QWidget* dialog = FindWindowByName("BtnRightDlg1");
  if (!dialog) return;
  for (const char* name : {"RdBtn6Baum", "RdBtnVollkr", "RdBtnWZP", "RdBtnKonzKr"}) {
    if (auto* b = dialog->findChild<QRadioButton*>(QString::fromLatin1(name))) {
      const bool exclusive = b->autoExclusive();
      b->setAutoExclusive(false);
      b->setChecked(false);
      b->setAutoExclusive(exclusive);
    }
  }
}

void TForm1::sBtNeuesVerfahrenClick() {
  state.run.repetitionStop = true;
  state.run.repetitionFlag = false;
  if (state.run.busy) {
    // The run stops after its current repetition; the rest follows when it has.
    stopPending_ = true;
    return;
  }
  FinishNeuesVerfahren();
}

void TForm1::FinishNeuesVerfahren() {
  RunStatistics& stats = state.evaluation.run;
  if (stats.statisticsReady) {
    const int answer =
        state.services.messages->AskYesNoAt(T("Häufigkeitsverteilung drucken?"), MessageKind::Question, 8, 540);
    if (answer == kResultYes) PrintRunResult();
    stats.statisticsReady = false;
  } else {
    // Back to the method choice, which must now be made afresh.
    QWidget* dialog = FindWindowByName("BtnRightDlg1");
    if (dialog)
      if (auto* back = dialog->findChild<QPushButton*>("CancelBtn", Qt::FindDirectChildrenOnly))
        back->setEnabled(false);
    UncheckMethodButtons();
    state.sampling.grid.loadedFromFile = false;
    // The last run's picture belongs to the method now left.
    for (QLabel* picture : {ImgRepeat, ImgRepeatN, ImgRepeatD}) picture->hide();
    sBtVerfahren->setEnabled(true);
    sBtVerfahren->click();
  }
  Panel15->hide();
  Panel11->hide();
  sBtPausePlus->hide();
}

}  // namespace tolvek
