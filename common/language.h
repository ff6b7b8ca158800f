#pragma once
// Language tables: one row per line of a language file, six TAB-separated fields. The same reader and
// writer serve the simulator, the stand generator and the table editor, so a table saved by one is
// read back by the others without a lost or shifted row.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "common/problem.h"

namespace tolvek {

// Field positions of a row (0-based in code; the files count them 1 … 6).
enum LanguageField : int {
  kFieldFormId = 0,
  kFieldComponent = 1,
  kFieldGermanCaption = 2,
  kFieldGermanHint = 3,
  kFieldForeignCaption = 4,
  kFieldForeignHint = 5,
};

struct LanguageRow {
  // form id, component name, German caption, German hint or message, foreign caption, foreign hint
  std::array<std::string, 6> field;
};

struct LanguageTable {
  std::vector<LanguageRow> rows;
  int selector = 0;  // 0 built-in texts, 1 German columns, 2 foreign columns
  std::string helpFile;   // full path of the help file; the program folder alone when there is none
  std::string tableFile;  // full path of the table file
};

// 1 German, 2 English, 3 Czech, 4 French, 5 Spanish, 6 Polish, 7 Turkish; 0 before the first start.
using LanguageNumber = int;
inline constexpr LanguageNumber kFirstLanguage = 1;
inline constexpr LanguageNumber kLastLanguage = 7;

struct LanguageFiles {
  std::string table;  // "SpracheEN.txt" …, "Sprache.txt" for any number outside 1 … 7
  std::string help;   // "HelpTolvekDE.hlp", "HelpTolvekEN.hlp", or empty
};
// The files of a language number, the same for all three programs. German reads the German columns
// of the English file.
LanguageFiles LanguageFilesFor(LanguageNumber n);
// Two-letter code of a language ("DE", "EN", "CZ", "FR", "SP", "PL", "TR"); empty outside 1 … 7.
std::string LanguageCode(LanguageNumber n);
// Column selector for a loaded table: German columns below 2, else the foreign ones.
inline int SelectorFor(LanguageNumber n) { return n < 2 ? 1 : 2; }

// One line split into its six fields: each TAB ends a field up to the fifth; a line with fewer TABs
// leaves the rest of the line in the last field it reaches and the later fields empty; the sixth
// field takes everything after the fifth TAB, further TABs included.
LanguageRow SplitLanguageLine(std::string_view line);
// The six fields joined by TABs: the inverse of SplitLanguageLine for every line with five TABs or more.
std::string JoinLanguageRow(const LanguageRow& row);

// One row per line.
std::vector<LanguageRow> LanguageRowsFromLines(const std::vector<std::string>& lines);
// Reads every line of the file as a row (no header line is skipped). False when the file cannot be read;
// rows are then left untouched.
bool ReadLanguageRows(const std::string& path, std::vector<LanguageRow>& rows);
// Writes one line per row (UTF-8, CRLF), atomically: a failed write leaves the old file as it was.
Outcome WriteLanguageRows(const std::string& path, const std::vector<LanguageRow>& rows);

// The generator's message-section marker: the 0-based index of the last row whose form id is empty,
// 0 when there is none. The generator searches labels and check boxes from this row on.
std::size_t MessageSectionStart(const std::vector<LanguageRow>& rows);

}  // namespace tolvek
