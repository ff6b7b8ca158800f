// The tree file: decoding, and the list and sums the stand is built from, under the calliper limits and
// the special rules of stands 71 and 88.
#include <cmath>

#include "common/tree_file.h"
#include "simulator/stand/tree_list.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  std::vector<TreeFileRecord> records;
  if (!DecodeTreeFile(bytes, records).ok()) return 0;
  fuzz::Check(records.size() * kTreeFileRecordSize == size, "one record per 16 bytes");

  // Written again, every byte but the three reserved ones of each record comes back.
  const std::string again = EncodeTreeFile(records);
  fuzz::Check(again.size() == size, "the writer writes what was read");
  for (std::size_t i = 0; i < size; ++i)
    if (i % kTreeFileRecordSize == 0 || i % kTreeFileRecordSize >= 4)
      fuzz::Check(again[i] == bytes[i], "the writer writes what was read");

  struct Rule {
    int number;
    const char* text;
    double lower;
  };
  for (Rule rule : {Rule{7, "07", 7.0}, Rule{71, "71", 0.0}, Rule{88, "88", 40.0}}) {
    TreeReadRules rules{rule.number, rule.text, CalliperLimits{rule.lower, 999.0}};
    RandomGenerator random(static_cast<std::uint32_t>(size));
    TreeList trees;
    SpeciesSums sums;
    BuildTreeList(records, rules, random, trees, sums);
    fuzz::Check(static_cast<std::int64_t>(trees.size()) == sums.count[0], "the count is the list's length");
    fuzz::Check(sums.histogram[0] == trees.size(), "the histogram holds every tree");
    fuzz::Check(rule.number != 71 || trees.size() <= static_cast<std::size_t>(kStand71TreeCap),
                "stand 71 keeps at most 1121 trees");
    const double shift = rule.number == 88 ? 30.0 : 0.0;
    for (const TreeRecord& t : trees) {
      fuzz::Check(t.dbh >= rule.lower && t.dbh <= 999.0, "kept trees lie within the calliper limits");
      // x > 0 in the file; stand 88's shift may round a tiny x to the shift itself.
      fuzz::Check(t.x > 0.0 && t.x >= shift && t.x <= kMaxTreeCoordinate + shift, "kept trees stand at x > 0");
      fuzz::Check(t.y >= 0.0 && t.y <= kMaxTreeCoordinate + 20.0, "y is read as its absolute value");
    }
    fuzz::Check(std::isfinite(sums.basalArea[0]) && std::isfinite(sums.dbhSum[0]), "the sums are numbers");
  }
  return 0;
}
