#pragma once
// The settings file "EinStell.Txt" in the program folder: the chosen language and whether forest
// development types are offered. The simulator writes it; the simulator and the stand generator read it.
#include <string>
#include <vector>

#include "common/language.h"
#include "common/problem.h"

namespace tolvek {

inline constexpr const char* kSettingsFileName = "EinStell.Txt";

struct Settings {
  LanguageNumber language = 0;  // 0 until the first language is chosen
  // The enterprise level's classification mode: forest development types with treatment types when
  // set, stand types with age classes otherwise. Only German offers it.
  bool forestDevelopmentTypes = false;
};

// The file's two lines: "Sprache:" + FormatInt(language, 2) and "WET ja" / "WET no".
std::vector<std::string> SettingsLines(const Settings& s);

enum class SettingsRead {
  kOk,
  kMissing,      // no file (or it cannot be read); the values are left as they were
  kBadLanguage,  // characters 9 and 10 of line 1 are no language number 0 … 7: language 0 (German)
};
// Reads at most 10 characters of each line: the language from characters 9 and 10 of line 1 (a leading
// blank allowed), the flag on exactly when characters 5 and 6 of line 2 are "ja".
SettingsRead ParseSettingsLines(const std::vector<std::string>& lines, Settings& s);

std::string SettingsPath(const std::string& programFolder);
SettingsRead ReadSettingsFile(const std::string& programFolder, Settings& s);
// Replaces the file atomically (CRLF lines).
Outcome WriteSettingsFile(const std::string& programFolder, const Settings& s);

}  // namespace tolvek
