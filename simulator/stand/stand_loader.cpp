#include "simulator/stand/stand_loader.h"

#include <cctype>
#include <cmath>

#include "common/format.h"
#include "common/tree_file.h"
#include "simulator/state.h"
#include "simulator/translate.h"

namespace tolvek {
namespace {

Problem TreeFileProblemFor(const TreeFileReadResult& r, const std::string& path) {
  const std::string record = path + ", Nr. " + std::to_string(r.recordIndex + 1);
  switch (r.problem) {
    case TreeFileProblem::None:
      return {};
    case TreeFileProblem::CannotRead:
      return {"Baumdatei nicht gefunden", path};
    case TreeFileProblem::Truncated:
      return {"Baumdatei unvollständig (Länge kein Vielfaches von 16 Byte)", path};
    case TreeFileProblem::BadSpecies:
      return {"Baumdatei enthält einen ungültigen Baumartencode", record};
    case TreeFileProblem::NonFinite:
      return {"Baumdatei enthält einen ungültigen Zahlenwert", record};
    case TreeFileProblem::OutOfRange:
      return {"Baumdatei enthält einen Baum außerhalb von ±1000000 m", record};
    case TreeFileProblem::TooLarge:
      return {"Baumdatei zu groß (mehr als 1000000 Bäume)", path};
  }
  return {};
}

// A stand without a tree cannot be sampled: its true values have no mean diameter and every plot is empty.
// Either the file holds no standing tree (none at all, or only trees removed by the generator, which
// lie at x <= 0), or the calliper limits leave none of them.
Problem NoTreeProblem(const std::vector<TreeFileRecord>& records, const CalliperLimits& limits,
                      const std::string& path) {
  for (const TreeFileRecord& r : records)
    if (r.x > 0.0f)
      return {"Kein Baum des Bestandes liegt innerhalb der Kluppschwelle",
              path + ", BHD " + FormatFixed(1, 1, limits.lower) + " - " + FormatFixed(1, 1, limits.upper) + " cm"};
  return {"Baumdatei enthält keinen Baum", path};
}

}  // namespace

std::string StandLoadMessage(const LanguageTable& language, const Problem& problem, std::string_view treePath) {
  StandFiles files;
  const std::string stand = ResolveStandFiles({}, treePath, files).ok() ? files.code : std::string(treePath);
  return ProblemMessage(language, problem) + "#" + Translate(language, "Bestand nicht geladen") + ": " + stand;
}

StandClass FindStandClass(const StandRegisterCorners* standRegister, std::string_view name) {
  // The list holds code + " > " + short name while callers pass code + ".txt": the stand code, the
  // first 8 characters of both, is what identifies the stand.
  if (!standRegister || name.size() < 8) return {};
  std::string_view code = name.substr(0, 8);
  for (int i = 1; i <= standRegister->EntryCount(); ++i) {
    std::string text = standRegister->EntryText(i);
    if (text.size() >= 8 && SameIgnoringCase(std::string_view(text).substr(0, 8), code))
      return {standRegister->EntryStandType(i), standRegister->EntryAgeClass(i)};
  }
  return {};
}

SpeciesListSelector ChooseSpeciesList(bool enterpriseMode, const StandRegisterCorners* standRegister,
                                      std::string_view code) {
  if (enterpriseMode) return kConiferList;
  StandClass c = FindStandClass(standRegister, code);
  // Beech (D), oak (E) and valuable broadleaves (G) are named with the broadleaf list.
  return (c.standType == 4 || c.standType == 5 || c.standType == 7) ? kBroadleafList : kConiferList;
}

Outcome ReadStandInto(const StandLoadInputs& inputs, std::string_view treePath, CurrentStand& into) {
  StandFiles files;
  if (Outcome resolved = ResolveStandFiles(inputs.folders, treePath, files); !resolved.ok()) return resolved;

  std::vector<TreeFileRecord> records;
  TreeFileReadResult treeRead = ReadTreeFile(files.treeFile, records);
  if (!treeRead.ok()) return TreeFileProblemFor(treeRead, files.treeFile);

  BoundaryPolygon boundary;
  if (Outcome read = ReadBoundary(files.boundaryFile, inputs.standRegister, boundary); !read.ok()) return read;

  // Only now, with every file sound, are random numbers drawn for the histogram.
  // An empty list took no draws, so a refused empty stand leaves the sequence as it was.
  CurrentStand stand;
  TreeReadRules rules{files.number, files.numberText, inputs.calliper};
  BuildTreeList(records, rules, inputs.random, stand.trees, stand.sums);
  if (stand.trees.empty()) return NoTreeProblem(records, inputs.calliper, files.treeFile);
  stand.boundary = boundary;
  stand.areaHa = boundary.areaHa;
  stand.speciesList = ChooseSpeciesList(inputs.enterpriseMode, inputs.standRegister, files.code);
  stand.generated = !files.code.empty() && (files.code[0] == 'S' || files.code[0] == 's');
  stand.files = std::move(files);
  stand.loaded = true;
  into = std::move(stand);
  return {};
}

Outcome TryLoadStand(SimulatorState& state, std::string_view treePath) {
  StandLoadInputs inputs{state.folders, state.calliper, state.run.enterpriseMode, state.standRegister, state.random};
  CurrentStand fresh;
  Outcome r = ReadStandInto(inputs, treePath, fresh);
  if (!r.ok()) return r;
  // The catalogue choice belongs to the user's pick, not to the files: it carries over.
  CurrentStand& current = state.currentStand;
  fresh.name = std::move(current.name);
  fresh.catalogueIndex = current.catalogueIndex;
  fresh.chosenLine = std::move(current.chosenLine);
  fresh.chosenColumns = std::move(current.chosenColumns);
  current = std::move(fresh);
  return r;
}

Outcome LoadStand(SimulatorState& state, std::string_view treePath) {
  Outcome r = TryLoadStand(state, treePath);
  if (!r.ok() && state.services.messages)
    state.services.messages->ShowMessageBox(StandLoadMessage(state.language, r.problem(), treePath),
                                            MessageKind::Warning, MessageButtons::Ok);
  return r;
}

std::vector<std::string> CalliperThresholdTexts() {
  std::vector<std::string> texts;
  for (int v : kCalliperThresholds) texts.push_back(FormatInt(v, 2));
  return texts;
}

int CalliperThresholdIndex(double lowerLimit) {
  for (std::size_t i = 0; i < kCalliperThresholds.size(); ++i) {
    const int v = kCalliperThresholds[i];
    const bool match = v <= 15 ? std::fabs(lowerLimit - v) <= 0.1 : lowerLimit == v;
    if (v != 0 && match) return static_cast<int>(i);
    if (v == 0 && lowerLimit == 0.0) return static_cast<int>(i);
  }
  return 1;  // " 7"
}

Outcome ApplyCalliperThreshold(SimulatorState& state, double lowerLimit) {
  const double previous = state.calliper.lower;
  state.calliper.lower = lowerLimit;
  if (!state.currentStand.loaded) return {};
  Outcome r = LoadStand(state, state.currentStand.files.catalogueTreeFile);
  if (!r.ok()) state.calliper.lower = previous;
  return r;
}

}  // namespace tolvek
