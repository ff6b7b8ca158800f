#include "simulator/enterprise/model_stand_loading.h"

#include "simulator/state.h"
#include "simulator/translate.h"

namespace tolvek {

ClassificationMode CurrentClassification(const SimulatorState& state) {
  return state.settings.forestDevelopmentTypes ? ClassificationMode::DevelopmentTypes : ClassificationMode::StandTypes;
}

void SetClassification(SimulatorState& state, ClassificationMode mode) {
  state.settings.forestDevelopmentTypes = mode == ClassificationMode::DevelopmentTypes;
}

void ReloadModelStands(SimulatorState& state) {
  ModelStandState& m = state.modelStands;
  std::vector<RegisterProblem> problems;
  m.table = LoadModelStandTable(state.folders, m.realStands, m.generatedStands, CurrentClassification(state), problems);
  state.standRegister = &m;
  std::string text;
  for (const RegisterProblem& p : problems) {
    if (!text.empty()) text += "#";
    text += Translate(state.language, p.text) + ": " + p.file;
  }
  if (text != m.problemsShown && !text.empty() && state.services.messages)
    state.services.messages->ShowMessageBox(text, kKindWarning, kButtonsOk);
  m.problemsShown = text;
}

StandLoadResult LoadModelStand(SimulatorState& state, int entry) {
  ModelStandState& m = state.modelStands;
  const std::optional<std::string> path = ModelStandTreePath(state.folders, m.table, entry);
  if (!path) {
    StandLoadResult r;
    r.message = Translate(state.language, "Modellbestand nicht in der Liste") + ": " + std::to_string(entry);
    return r;
  }
  const int previousCorners = m.cornerEntry;
  m.cornerEntry = entry;
  // Model stands are enterprise stands: their trees are always coded in the first species list.
  StandLoadInputs inputs{state.folders, state.calliper, true, &m, state.random, state.language};
  CurrentStand fresh;
  StandLoadResult r = ReadStandInto(inputs, *path, fresh);
  if (!r.ok) {
    m.cornerEntry = previousCorners;
    return r;
  }
  fresh.name = m.table.Entry(entry)->itemText;
  state.currentStand = std::move(fresh);
  return r;
}

}  // namespace tolvek
