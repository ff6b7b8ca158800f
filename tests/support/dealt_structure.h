#pragma once
// A structure dealt by rule instead of by the wizard, the same in every test that inventories an
// enterprise: types (A) (D) (F) by compartment, the classes by stand.
#include "simulator/enterprise/enterprise_model.h"

namespace tolvek::testing {

inline void DealStructureByRule(EnterpriseSession& e) {
  e.chosen.count = 3;
  e.chosen.codes = {0, 1, 4, 6, 0, 0};
  for (int a = 1; a <= e.compartmentCount; ++a) {
    e.At(a).typePosition = 1 + a % 3;
    int j = 0;
    for (EnterpriseStand& st : e.At(a).stands) {
      st.typePosition = e.At(a).typePosition;
      st.cls = 1 + (a + j++) % 5;
    }
  }
}

}  // namespace tolvek::testing
