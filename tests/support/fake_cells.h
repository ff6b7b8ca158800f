#pragma once
// A model-stand register with its cells given by hand.
#include <map>
#include <utility>
#include <vector>

#include "simulator/enterprise/model_stand_assignment.h"

namespace tolvek::testing {

class FakeCells : public ModelStandCells {
 public:
  std::map<std::pair<int, int>, std::vector<int>> cells;  // (type code, class) -> entries
  std::map<int, std::pair<int, int>> entries;             // entry -> (type code, class)

  // Registers entry e in the cell of its type and class.
  void Add(int e, int type, int cls) {
    entries[e] = {type, cls};
    cells[{type, cls}].push_back(e);
  }
  int CellCount(int t, int k) const override {
    auto it = cells.find({t, k});
    return it == cells.end() ? 0 : static_cast<int>(it->second.size());
  }
  int CellEntry(int t, int k, int i) const override { return cells.at({t, k})[static_cast<std::size_t>(i - 1)]; }
  int EntryType(int e) const override {
    auto it = entries.find(e);
    return it == entries.end() ? 0 : it->second.first;
  }
  int EntryClass(int e) const override {
    auto it = entries.find(e);
    return it == entries.end() ? 0 : it->second.second;
  }
};

}  // namespace tolvek::testing
