#pragma once
// All program-wide state of the simulator lives in one object, passed by reference to the windows and
// the core, so a test can build a fresh program in one process. Each module adds its own struct here.
#include "common/language.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/random.h"
#include "common/run_control.h"
#include "common/settings.h"
#include "simulator/stand/boundary.h"
#include "simulator/stand/catalogue.h"
#include "simulator/stand/current_stand.h"
#include "simulator/stand/expected_vc.h"
#include "simulator/stand/stand_choice.h"
#include "simulator/stand/tree_list.h"
#include <memory>

#include "simulator/enterprise/enterprise_inventory.h"
#include "simulator/enterprise/model_stands.h"
#include "simulator/enterprise/enterprise_model.h"
#include "simulator/enterprise/structure_wizard.h"
#include "simulator/sampling/evaluation.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/pass.h"
#include "simulator/sampling/true_values.h"
#include "simulator/translate.h"
#include "simulator/views/stand_diagrams.h"
#include "simulator/views/stand_map.h"

namespace tolvek {

struct SimulatorState {
  explicit SimulatorState(Services& s) : services(s) {}
  Services& services;
  ProgramFolders folders;
  RunControl run;
  RandomGenerator random;
  double screenScale = 1.0;
  LanguageTable language;
  // "EinStell.Txt": language number and the forest-development-type flag (the enterprise level's
  // classification mode); the window translation's current form id.
  Settings settings;
  TranslationState translation;
  // Main-window frame: the grid rotation of the rotation buttons (rad, kept within about -0.3 .. 0.3)
  // and the number of sample trees of the last evaluation ("Probebäume" shows at most 1500).
  double gridRotation = 0.06;
  int sampleTreeCount = 0;
  // Small dialogs: the answer flag of the enterprise-structure question (TForm32: "No" 1, "Yes" 0),
  // the print top position of TForm38 (printer units) and the message box's remembered top.
  int structureAnswer = 0;
  int printTop = 70;
  int messageTop = 350;
  // The loaded stand, the catalogue, the expected coefficients of variation and the calliper limits.
  CurrentStand currentStand;
  StandCatalogue standCatalogue;
  ExpectedVcTable expectedVc;
  CalliperLimits calliper;
  // Set by the model-stand register once it is loaded; stands of the register folders need it.
  const StandRegisterCorners* standRegister = nullptr;
  // The model stands of the registers, the model-stand panel's choices and the current model stand.
  ModelStandState modelStands;
  // The stand map's scale and legend, and the stand being picked in the catalogue windows.
  StandMapState standMap;
  StandChoiceState standChoice;
  // The sampling engine: method settings, grid, plot list of the last pass and its counters.
  SamplingState sampling;
  // The edge correction's working storage and what it keeps of the boundary and of circles met before;
  // one for the program's life, so a run of repetitions does not build it again for every pass.
  std::unique_ptr<GeometryContext> geometry = std::make_unique<GeometryContext>();
  // The evaluation of the last pass, the deviation histograms and the statistics of a repetition run.
  EvaluationState evaluation;
  // The result window: the diagram to draw next, the command its buttons left, the species chosen.
  ResultGraphState graph;
  // The enterprise level: the chosen model enterprise, its compartments and stands, the map.
  EnterpriseSession enterprise;
  // The structure wizard between its windows (and the mixing slider between runs).
  StructureWizard structureWizard;
  // "E-Wert der Varianz" and "Optimierung".
  TrueValueState trueValues;
  // The inventory of a whole enterprise: its model stands as read, true values, estimates, report.
  EnterpriseInventoryState inventory;
};

}  // namespace tolvek
