// The table of expected coefficients of variation "Tolvek02.txt".
#include <cmath>

#include "common/paths.h"
#include "simulator/stand/expected_vc.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ExpectedVcTable table;
  if (const Outcome parsed = ParseExpectedVcTable(SplitTextLines(fuzz::Bytes(data, size)), "Tolvek02.txt", table);
      !parsed.ok()) {
    fuzz::Check(!parsed.problem().message.empty() && table.rows.empty(), "a refusal says why and keeps nothing");
    return 0;
  }
  fuzz::Check(table.rows.size() <= static_cast<std::size_t>(kMaxExpectedVcRows), "at most 52 rows");
  for (const ExpectedVcRow& row : table.rows) {
    fuzz::Check(table.Find(row.standNumber) != nullptr, "every row is found by its stand");
    for (float v : row.vc) fuzz::Check(!std::isnan(v), "the values are numbers");
  }
  return 0;
}
