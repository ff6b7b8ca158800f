#pragma once
// The program-wide state of the loaded stand.
#include <cstdint>
#include <string>

#include "common/species.h"
#include "simulator/stand/boundary.h"
#include "simulator/stand/stand_files.h"
#include "simulator/stand/tree_list.h"

namespace tolvek {

struct CurrentStand {
  bool loaded = false;            // trees and boundary of one stand are in place
  StandFiles files;               // paths, code, number, folder, selection-forest flag
  std::string name;               // catalogue type text
  int catalogueIndex = 0;         // 1-based, 0 = not chosen from the catalogue
  std::string chosenLine;         // the whole catalogue line (decision hints)
  std::string chosenColumns;      // its columns 14..30 (description and mixture code)
  TreeList trees;
  SpeciesSums sums;
  BoundaryPolygon boundary;
  double areaHa = 0.0;            // stand area in hectares
  SpeciesListSelector speciesList = kConiferList;
  bool generated = false;         // model stand whose code begins with "S"

  int TreeCount() const { return static_cast<int>(trees.size()); }
};

}  // namespace tolvek
