#include "simulator/enterprise/model_stand_assignment.h"

namespace tolvek {

int PickModelStand(const ChosenTypes& chosen, const ModelStandCells& cells, int t, int k, RandomDraws& random) {
  if (chosen.Empty() || t < 1 || t > 5) return 0;
  const int code = chosen.codes[static_cast<std::size_t>(t)];
  if (code == 0) return 0;
  const int count = cells.CellCount(code, k);
  if (count <= 0) return 0;
  return cells.CellEntry(code, k, random.Next(count) + 1);
}

void AssignModelStands(EnterpriseSession& s, const ModelStandCells& cells, int singleEntry, RandomDraws& random) {
  if (singleEntry > 0) {
    s.chosen = ChosenTypes{};
    s.chosen.count = 1;
    s.chosen.codes[1] = cells.EntryType(singleEntry);
  }
  for (int a = 1; a <= s.compartmentCount; ++a)
    for (EnterpriseStand& st : s.At(a).stands) {
      if (singleEntry > 0) {
        st.modelStand = singleEntry;
        st.cls = cells.EntryClass(singleEntry);
        st.typePosition = 1;
      } else {
        st.modelStand = PickModelStand(s.chosen, cells, st.typePosition, st.cls, random);
      }
    }
}

}  // namespace tolvek
