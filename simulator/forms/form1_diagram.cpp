// The main window's result diagrams: "Diagramm" runs the diagram loop over the last evaluation, the
// stand's values gathered by the core and drawn in the result window.
#include <QLabel>
#include <QPushButton>

#include "common/qt/qt_services.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form2.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

// The stand route of the diagram loop: each kind's values from the stand and the last evaluation,
// the result window's buttons switched as the diagram needs them.
class StandDiagramSteps : public DiagramSteps {
 public:
  StandDiagramSteps(SimulatorState& state, TForm2& window) : state_(state), w_(window) {}

  DiagramShown Draw(DiagramKind kind) override {
    const CurrentStand& cs = state_.currentStand;
    const StandDiagramInput in{cs.sums, cs.areaHa, cs.speciesList, state_.evaluation.estimate,
                               state_.sampling.method.countingMode};
    const LanguageTable& language = state_.language;
    switch (kind) {
      case DiagramKind::BasalArea: {
        // "Grundfläche" is what is shown.
        w_.BtGrundfl->setEnabled(false);
        const DiagramShown shown = Show(DiagramBasalArea(in, language));
        w_.Button14->setEnabled(true);
        w_.BtGrundfl->setEnabled(true);
        return shown;
      }
      case DiagramKind::StemNumber: {
        w_.BtGrundfl->setEnabled(true);
        const DiagramShown shown = Show(DiagramStemNumber(in, language));
        w_.Button14->setEnabled(true);
        return shown;
      }
      case DiagramKind::MeanDiameter: {
        const StandDiagram d = DiagramDbh(in, language);
        if (!d.refusal.empty()) return Refuse(d);
        w_.Button14->setEnabled(false);
        const DiagramShown shown = Show(d);
        w_.Button14->setEnabled(true);
        return shown;
      }
      case DiagramKind::Distribution:
        return Show(DiagramDiameterClasses(in, state_.graph.graphSpecies, state_.graph.barCategory));
      case DiagramKind::Exit: break;
    }
    return DiagramShown::NotShown;
  }

 private:
  DiagramShown Show(const StandDiagram& d) {
    if (!d.refusal.empty()) return Refuse(d);
    ResultDiagramData data = d.data;
    // All simulations: the spread of the repetitions' deviations by species.
    if (data.code == 'G') data.deviations = &state_.evaluation.histograms.basalArea;
    if (data.code == 'Z') data.deviations = &state_.evaluation.histograms.stemNumber;
    return w_.DrawResultDiagram(data);
  }
  DiagramShown Refuse(const StandDiagram& d) {
    state_.services.messages->PlatformBox(Translate(state_.language, d.refusal), "", PlatformButtons::OkCancel,
                                          PlatformIcon::None);
    state_.graph.kind = d.kindAfterRefusal;
    return DiagramShown::Refused;
  }

  SimulatorState& state_;
  TForm2& w_;
};

}  // namespace

void TForm1::BuildDiagramArea() { connect(sBtDiagramm, &QPushButton::clicked, this, &TForm1::sBtDiagrammClick); }

void TForm1::sBtDiagrammClick() {
  if (GuardBusy()) return;
  ShowStandDiagrams();
}

void TForm1::ShowStandDiagrams() {
  // The diagrams show the last evaluation of the stand.
  if (!forms.form2 || !state.evaluation.evaluated) return;
  StandDiagramSteps steps(state, *forms.form2);
  RunDiagramLoop(state.graph, steps);
}

void TForm1::ClearInfoLabels() {
  for (const char* name : {"LblFlaeche", "LblRadius", "LblBaeume", "LblAnzStp", "LblBestand", "LblGitterAnf",
                           "LblVerfahren", "LbBestGroesse"})
    if (auto* label = Client->findChild<QLabel*>(QString::fromLatin1(name))) label->clear();
}

}  // namespace tolvek
