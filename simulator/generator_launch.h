#pragma once
// Starting the stand generator: its program file and the one parameter the simulator hands it.
#include <string>

#include "common/language.h"

namespace tolvek {

// The generator's program in a folder: "Vorlint" (the program file "Vorlint.exe" elsewhere).
inline constexpr const char* kGeneratorProgram = "Vorlint";

// The start parameter: the help path of the table, "#", the language number as one digit and the
// table path, with nothing between them.
std::string GeneratorCommandLine(const LanguageTable& table, LanguageNumber language);

// The message when the generator could not be started: the translated "Programm <Vorlint.exe> nicht
// gefunden" naming the program that was looked for.
std::string GeneratorMissingMessage(const LanguageTable& table, const std::string& program);

}  // namespace tolvek
