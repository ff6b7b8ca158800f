#pragma once
// File names as the programs address them ("Temp\ProbeBa.txt", "Vorgaben\Tolvek01.txt") on a file
// system that is case-sensitive and uses "/".
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/problem.h"

namespace tolvek {

// Environment variable that overrides the program folder of all three programs (tests use it).
inline constexpr const char* kProgramDirVariable = "TOLVEK_PROGRAM_DIR";
// The fixed program folder used when the executable's folder contains "#".
inline constexpr const char* kFixedProgramFolder = "/opt/tolvek/";

// Program folder and the stand and preset folders below it; each ends with "/".
struct ProgramFolders {
  std::string program;
  std::string stands;   // program + "Bestande/"
  std::string presets;  // program + "Vorgaben/"
};

// From the executable's folder: its case kept, a trailing "/" added; a folder containing "#" gives
// kFixedProgramFolder. The environment override wins over both.
ProgramFolders ProgramFoldersFor(const std::string& executableFolder);
// Like ProgramFoldersFor, but only the rule, without looking at the environment.
ProgramFolders ProgramFoldersFromFolder(const std::string& folder);

// "\" becomes "/", repeated separators collapse; a trailing separator is kept.
std::string NormalizeSeparators(std::string_view path);
// Joins folder and a relative name with exactly one "/" between them.
std::string JoinPath(std::string_view folder, std::string_view name);
// Resolves each component of path case-insensitively against what exists; the parts that do not
// exist are kept as given (so a file about to be created gets its name as written).
std::string ResolvePath(std::string_view path);
// JoinPath + ResolvePath.
std::string ResolveIn(std::string_view folder, std::string_view name);

bool FileExists(const std::string& path);
bool ReadWholeFile(const std::string& path, std::string& bytes);

enum class FileRead { kOk, kCannotRead, kTooLarge };
// Like ReadWholeFile, for files whose sound size is bounded: a file above maxBytes is refused from its
// size alone, before anything is read, so a damaged or foreign file of gigabytes costs nothing.
FileRead ReadFileUpTo(const std::string& path, std::size_t maxBytes, std::string& bytes);

// Writes to a temporary file beside the target and renames it over the target: a reader never sees a
// half-written file and a failed write leaves the old file intact. A failure names the target (the
// temporary file is gone by then). Temporary files that a killed writer left beside the target are removed.
Outcome WriteFileAtomic(const std::string& path, std::string_view bytes);

// Text lines: readers take LF and CRLF, a line that is not valid UTF-8 is read as Windows-1252, and a
// UTF-8 byte-order mark at the start of the file is no part of the first line; false when the file
// cannot be read. No line is produced for the end after a final line break.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);
// Writes each line followed by CRLF, atomically; what ReadTextLines gives back is the lines as written.
Outcome WriteTextLines(const std::string& path, const std::vector<std::string>& lines);
// Splits a file's bytes into decoded lines (the reading rule above).
std::vector<std::string> SplitTextLines(std::string_view bytes);

}  // namespace tolvek
