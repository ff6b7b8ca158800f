#include "simulator/generator_launch.h"

#include "common/format.h"
#include "simulator/translate.h"

namespace tolvek {

std::string GeneratorCommandLine(const LanguageTable& table, LanguageNumber language) {
  return table.helpFile + "#" + FormatInt(language, 1) + table.tableFile;
}

std::string GeneratorMissingMessage(const LanguageTable& table, const std::string& program) {
  std::string text = Translate(table, "Programm <Vorlint.exe> nicht gefunden");
  const std::string windowsName = "Vorlint.exe";
  const std::size_t at = text.find(windowsName);
  if (at != std::string::npos) text.replace(at, windowsName.size(), program);
  return text;
}

}  // namespace tolvek
