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
  std::vector<Problem> problems;
  m.table = LoadModelStandTable(state.folders, m.realStands, m.generatedStands, CurrentClassification(state), problems);
  state.standRegister = &m;
  std::string text;
  for (const Problem& p : problems) {
    if (!text.empty()) text += "#";
    text += ProblemMessage(state.language, p);
  }
  if (text != m.problemsShown && !text.empty() && state.services.messages)
    state.services.messages->ShowMessageBox(text, MessageKind::Warning, MessageButtons::Ok);
  m.problemsShown = text;
}

Outcome ReadModelStandInto(SimulatorState& state, int entry, RandomGenerator& spread, CurrentStand& into) {
  ModelStandState& m = state.modelStands;
  const std::optional<std::string> path = ModelStandTreePath(state.folders, m.table, entry);
  if (!path) return Problem{"Modellbestand nicht in der Liste", std::to_string(entry)};
  // The boundary reader takes the register corners of the model stand being read.
  const int previousCorners = m.cornerEntry;
  m.cornerEntry = entry;
  // Model stands are enterprise stands: their trees are always coded in the first species list.
  const StandLoadInputs inputs{state.folders, state.calliper, true, &m, spread};
  Outcome r = ReadStandInto(inputs, *path, into);
  m.cornerEntry = previousCorners;
  if (r.ok()) into.name = m.table.Entry(entry)->itemText;
  return r;
}

std::string ModelStandLoadMessage(const SimulatorState& state, int entry, const Problem& problem) {
  const std::optional<std::string> path = ModelStandTreePath(state.folders, state.modelStands.table, entry);
  return path ? StandLoadMessage(state.language, problem, *path) : ProblemMessage(state.language, problem);
}

Outcome LoadModelStand(SimulatorState& state, int entry) {
  CurrentStand fresh;
  Outcome r = ReadModelStandInto(state, entry, state.random, fresh);
  if (!r.ok()) return r;
  state.currentStand = std::move(fresh);
  state.modelStands.cornerEntry = entry;
  return r;
}

}  // namespace tolvek
