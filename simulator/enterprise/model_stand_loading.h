#pragma once
// The model stands in the running simulator: the table loaded from the registers the model-stand panel
// chose, and a model stand loaded as the current stand.
#include <string>

#include "common/stand_register.h"
#include "simulator/stand/stand_loader.h"

namespace tolvek {

struct SimulatorState;

// The classification mode in force: the settings' forest-development-type flag, which the enterprise
// choice and the model-stand windows set.
ClassificationMode CurrentClassification(const SimulatorState& state);
void SetClassification(SimulatorState& state, ClassificationMode mode);

// Builds the model-stand table by the panel's check boxes and the classification mode in force, and
// makes it the register the boundary reader and the species-list choice consult. Problems with the
// registers are shown in the program's message box, each set of problems once (a reload that meets the
// same problems stays quiet). The hit counters start again at 0.
void ReloadModelStands(SimulatorState& state);

// Reads the model stand of an entry number (its trees, and its boundary from its file or its register
// corners) and makes it the current stand. A model stand's trees are coded in the first species list.
// A number outside the table, or a stand that cannot be read, leaves the current stand as it was.
Outcome LoadModelStand(SimulatorState& state, int entry);

// Reads the model stand of an entry number into `into`, named by its list item, without touching the
// current stand; `spread` draws the spread of its diameter histogram. The corner entry is the stand's
// own while it is read and as it was afterwards.
Outcome ReadModelStandInto(SimulatorState& state, int entry, RandomGenerator& spread, CurrentStand& into);

// The text shown for a model stand that could not be read, as for any stand; a number outside the table
// is said alone. Composed while the table is the one the stand was read from.
std::string ModelStandLoadMessage(const SimulatorState& state, int entry, const Problem& problem);

}  // namespace tolvek
