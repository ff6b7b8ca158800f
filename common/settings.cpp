#include "common/settings.h"

#include "common/format.h"
#include "common/paths.h"

namespace tolvek {

std::vector<std::string> SettingsLines(const Settings& s) {
  return {"Sprache:" + FormatInt(s.language, 2), s.forestDevelopmentTypes ? "WET ja" : "WET no"};
}

SettingsRead ParseSettingsLines(const std::vector<std::string>& lines, Settings& s) {
  SettingsRead result = SettingsRead::kOk;
  std::string first = lines.empty() ? std::string() : Utf8Left(lines[0], 10);
  std::optional<long long> n = ParseInt(Utf8Mid(first, 8, 2));
  if (n && *n >= 0 && *n <= kLastLanguage) {
    s.language = static_cast<LanguageNumber>(*n);
  } else {
    s.language = 0;
    result = SettingsRead::kBadLanguage;
  }
  std::string second = lines.size() < 2 ? std::string() : Utf8Left(lines[1], 10);
  s.forestDevelopmentTypes = Utf8Mid(second, 4, 2) == "ja";
  return result;
}

std::string SettingsPath(const std::string& programFolder) { return ResolveIn(programFolder, kSettingsFileName); }

SettingsRead ReadSettingsFile(const std::string& programFolder, Settings& s) {
  std::vector<std::string> lines;
  if (!ReadTextLines(SettingsPath(programFolder), lines)) return SettingsRead::kMissing;
  return ParseSettingsLines(lines, s);
}

Outcome WriteSettingsFile(const std::string& programFolder, const Settings& s) {
  return WriteTextLines(SettingsPath(programFolder), SettingsLines(s));
}

}  // namespace tolvek
