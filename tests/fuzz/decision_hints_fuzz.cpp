// The decision hints: the hint codes of a catalogue line and the blocks of "TxtBaust.txt". Every line of
// the input serves as the catalogue line in turn, over the whole input as the hint file.
#include "common/paths.h"
#include "simulator/sampling/decision_hints.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> lines = SplitTextLines(fuzz::Bytes(data, size));
  for (std::size_t i = 0; i < lines.size() && i < 16; ++i) {
    for (const char* letter : {"N", "V", "W", "K", ""}) {
      const std::vector<std::string> memo = DecisionHintLines(lines[i], "Bestand", letter, lines);
      fuzz::Check(memo.size() >= 4, "the memo opens with the stand and says what it found");
      fuzz::Check(DecisionHintMemoHeight(static_cast<int>(memo.size())) > 0, "the memo has a height");
    }
  }
  return 0;
}
