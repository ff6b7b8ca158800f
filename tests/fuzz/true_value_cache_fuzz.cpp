// The enterprise's true values kept beside a saved grid, "Temp/SP_Gitter.txt", read back as the program
// reads it: against the key line the file carries (so that its numbers are read) or against another
// key, then made per hectare; sums read are stored again and read back the same.
// Input: the file's bytes.
#include <cmath>

#include "common/paths.h"
#include "simulator/enterprise/stratum_values.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchFolder folder;
  const std::string_view input = fuzz::Bytes(data, size);
  folder.Write("Temp/SP_Gitter.txt", input);
  std::vector<std::string> lines;
  fuzz::Check(ReadTextLines(TrueValueCachePath(folder.path()), lines), "the cache file is read");

  std::string key = "# key of another structure";
  if (fuzz::Checksum(input) % 8 != 0)
    for (const std::string& line : lines)
      if (line.rfind("#", 0) == 0) {
        key = line;
        break;
      }
  StratumValues sums;
  if (const Outcome parsed = ParseTrueValueCache(lines, key, sums); !parsed.ok()) {
    fuzz::Check(!parsed.problem().message.empty(), "a refused cache says why");
    return 0;
  }
  const std::vector<std::string> stored = TrueValueCacheLines(sums, key);
  fuzz::Check(static_cast<int>(stored.size()) == kTrueValueCacheLines + 1, "a line a stratum and the key");
  StratumValues again;
  fuzz::Check(ParseTrueValueCache(stored, key, again).ok(), "stored sums read back");
  fuzz::Check(TrueValueCacheLines(again, key) == stored, "stored sums store the same twice");

  FinishStratumValues(sums);
  for (const auto& byClass : sums.cells)
    for (const auto& bySpecies : byClass)
      for (const StratumTruth& c : bySpecies)
        fuzz::Check(std::isfinite(c.n) && std::isfinite(c.g) && std::isfinite(c.dg), "true values are numbers");
  return 0;
}
