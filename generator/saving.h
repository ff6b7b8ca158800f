#pragma once
// What the saving windows hand to the stand store: the generated stand as trees with positions on its
// rectangle.
#include "common/generated_stand_store.h"
#include "generator/generation.h"

namespace tolvek::generator {

StandToSave ForSaving(const GeneratedStand& stand);

}  // namespace tolvek::generator
