#pragma once
// Every stand polygon of the enterprise borrows the trees of one model stand: drawn at random among the
// model stands registered for its type and class, or one model stand chosen for the whole enterprise.
#include "simulator/enterprise/enterprise_model.h"

namespace tolvek {

// What the assignment needs of the model-stand register: the entries (1-based, in register order)
// registered for a type code 1..8 and a class 1..5, and the type code and class of an entry (0 for a
// number that is no entry of the register).
class ModelStandCells {
 public:
  virtual ~ModelStandCells() = default;
  virtual int CellCount(int typeCode, int cls) const = 0;
  virtual int CellEntry(int typeCode, int cls, int i) const = 0;  // i = 1..CellCount
  virtual int EntryType(int entry) const = 0;
  virtual int EntryClass(int entry) const = 0;
};

// A model stand for type position t and class k: 0 when no types are chosen, position t holds no type,
// or no model stand is registered for its type and k; else one of them, drawn as Random(count) + 1.
int PickModelStand(const ChosenTypes& chosen, const ModelStandCells& cells, int t, int k, RandomDraws& random);

// Every stand of every compartment, in compartment and stand order. With singleEntry > 0 (one model
// stand for the whole enterprise) each stand takes it, its class and type position 1, and the chosen
// types become that stand's type alone.
void AssignModelStands(EnterpriseSession& s, const ModelStandCells& cells, int singleEntry, RandomDraws& random);

}  // namespace tolvek
