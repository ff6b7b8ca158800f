#pragma once
// Loading a stand: tree file, boundary and species list of one stand, read together as one
// transaction. Everything is read into a fresh CurrentStand; only when all of it is sound does it
// replace the loaded stand, so trees and boundary always belong to the same stand.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"
#include "common/paths.h"
#include "common/problem.h"
#include "common/random.h"
#include "simulator/stand/boundary.h"
#include "simulator/stand/current_stand.h"
#include "simulator/stand/tree_list.h"

namespace tolvek {

struct SimulatorState;

struct StandLoadInputs {
  const ProgramFolders& folders;
  const CalliperLimits& calliper;
  bool enterpriseMode = false;
  const StandRegisterCorners* standRegister = nullptr;  // may be null
  RandomGenerator& random;
};

// The species list of a stand: 1 in enterprise mode; otherwise by the stand type of its entry in
// the model-stand list (4, 5 and 7, broadleaf types, give 2; unknown stands 1).
SpeciesListSelector ChooseSpeciesList(bool enterpriseMode, const StandRegisterCorners* standRegister,
                                      std::string_view code);

// The stand type and age class stored for a stand in the model-stand list, matched by the stand code
// (the first 8 characters of name and of the entry text); (0, 0) when the list has no such stand.
struct StandClass {
  std::uint8_t standType = 0;
  std::uint8_t ageClass = 0;
};
StandClass FindStandClass(const StandRegisterCorners* standRegister, std::string_view name);

// Reads the stand named by treePath (a code + ".txt", without "w") into `into`. On failure `into`
// is left untouched, no random number is drawn, and the problem says what is wrong and in which file
// (or record). A stand that keeps no tree (an empty tree file, only removed trees, or none within the
// calliper limits) is refused.
Outcome ReadStandInto(const StandLoadInputs& inputs, std::string_view treePath, CurrentStand& into);

// The text every window shows for a stand that was not loaded: the problem, then that the stand named by
// treePath (its code, or the path itself when it names no stand) was not loaded.
std::string StandLoadMessage(const LanguageTable& language, const Problem& problem, std::string_view treePath);

// The transaction: on success the new stand replaces state.currentStand (keeping its catalogue
// choice fields), on failure the loaded stand stays as it was. The problem is not shown.
Outcome TryLoadStand(SimulatorState& state, std::string_view treePath);
// TryLoadStand, and a failure is shown in the program's own message box (warning, OK).
Outcome LoadStand(SimulatorState& state, std::string_view treePath);

// The calliper-threshold choice: the texts of its list (" 0", " 7" ... "40") and the entry to preselect
// for a lower limit (within 0.1 cm for 7..15, exactly for 20..40; " 7" when none matches).
std::vector<std::string> CalliperThresholdTexts();
int CalliperThresholdIndex(double lowerLimit);

// Sets the lower dbh limit and reads the loaded stand again with it. Should that read fail, the old
// limit and the old stand stay in force and the failure is shown.
Outcome ApplyCalliperThreshold(SimulatorState& state, double lowerLimit);

}  // namespace tolvek
