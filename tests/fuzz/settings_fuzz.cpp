// The settings file "EinStell.Txt": whatever it holds, a language 0..7 comes out, and what is written
// for it reads back the same.
#include "common/paths.h"
#include "common/settings.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Settings s{5, true};
  const SettingsRead r = ParseSettingsLines(SplitTextLines(fuzz::Bytes(data, size)), s);
  fuzz::Check(r != SettingsRead::kMissing, "a file that was read is not missing");
  fuzz::Check(s.language >= 0 && s.language <= kLastLanguage, "a language 0..7");
  fuzz::Check(r == SettingsRead::kOk || s.language == 0, "an unreadable number reads as German");

  std::string file;
  for (const std::string& line : SettingsLines(s)) file += line + "\r\n";
  Settings back{3, !s.forestDevelopmentTypes};
  fuzz::Check(ParseSettingsLines(SplitTextLines(file), back) == SettingsRead::kOk, "what is written reads back");
  fuzz::Check(back.language == s.language && back.forestDevelopmentTypes == s.forestDevelopmentTypes,
              "what is written reads back the same");
  return 0;
}
