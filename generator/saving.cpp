#include "generator/saving.h"

namespace tolvek::generator {

StandToSave ForSaving(const GeneratedStand& stand) {
  StandToSave s;
  s.width = stand.width;
  s.height = stand.height;
  s.trees.reserve(stand.trees.size());
  for (const GeneratedTree& t : stand.trees) s.trees.push_back({t.species, t.dbh, t.x, t.y});
  return s;
}

}  // namespace tolvek::generator
