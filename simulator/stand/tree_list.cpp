#include "simulator/stand/tree_list.h"

#include <cmath>

#include "common/rounding.h"

namespace tolvek {

void BuildTreeList(const std::vector<TreeFileRecord>& records, const TreeReadRules& rules,
                   RandomGenerator& random, TreeList& trees, SpeciesSums& sums) {
  TreeList list;
  list.reserve(records.size());
  SpeciesSums s;
  const bool shift88 = rules.numberText == "88";
  const bool cap71 = rules.standNumber == 71;
  for (const auto& r : records) {
    if (cap71 && static_cast<int>(list.size()) >= kStand71TreeCap) break;
    const double dbh = static_cast<double>(r.dbh);
    const double x = static_cast<double>(r.x);
    if (!(x > 0.0) || dbh < rules.calliper.lower || dbh > rules.calliper.upper) continue;

    TreeRecord t;
    t.species = r.species;
    t.dbh = dbh;
    t.x = x;
    t.y = std::fabs(static_cast<double>(r.y));
    if (shift88) {
      t.x = t.x + 30.0;
      t.y = t.y + 20.0;
    }
    list.push_back(t);

    const int sp = r.species;
    const double g = dbh * dbh * 7.853e-5;
    // Species 0 means "no species": its trees count once, in the whole-stand slot only.
    s.basalArea[0] += g;
    s.count[0] += 1;
    s.dbhSum[0] += dbh;
    if (sp != 0) {
      s.basalArea[sp] += g;
      s.count[sp] += 1;
      s.dbhSum[sp] += dbh;
    }
    s.classCounts[sp][DiameterClass(dbh)] += 1;

    // Slot 0 counts the trees, so a tree thinner than the first class is put into class 1.
    const double u = random.NextReal();
    int cls = RoundInt((u + dbh - 0.5) / 2.0);
    if (cls > kHistogramClasses) cls = kHistogramClasses;
    if (cls < 1) cls = 1;
    s.histogram[cls] += 1;
    s.histogram[0] += 1;
  }
  trees = std::move(list);
  sums = s;
}

}  // namespace tolvek
