#pragma once
// The model stands the enterprise level borrows its trees from, made with the stand generator's core:
// "Vorgaben/Tolvek03.txt" lists 80 stands of the folder "StandsEU" (Stand201 … Stand280), two for every
// type and class; "Vorgaben/TolvekGE.txt" lists 8 stands of the generator's own folder "StandsGE"
// (Stand301 … Stand308), one per type. Every line carries both classifications (stand type A–H with
// age class, forest development type a–h with treatment type), so both modes find the same stands.
#include <string>
#include <vector>

#include "generator/parameters.h"

namespace tolvek::makemodelstands {

struct ModelStandPlan {
  int number = 0;       // 201 … 280, 301 … 308
  int type = 0;         // 1 … 8: A–H and a–h
  int klass = 0;        // 1 … 5: age class (digit klass + 1) and treatment type (digit klass)
  int variant = 0;      // 0 single-tree mixture, 1 group mixture
  std::string shortName;
  generator::GenerationParameters parameters;
};

// The stands in the order they are made (the one random generator runs through them in this order).
std::vector<ModelStandPlan> RealModelStandPlans();
std::vector<ModelStandPlan> GeneratedModelStandPlans();

// Writes the registers and the tree files below folder; the paths written (relative to folder) go to
// written. False with a reason when a file could not be written or a stand could not be made.
bool MakeModelStands(const std::string& folder, std::vector<std::string>& written, std::string& error);

}  // namespace tolvek::makemodelstands
