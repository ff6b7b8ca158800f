#pragma once
// The decision hints the main window shows for a chosen method and stand: the stand's catalogue line
// names hint codes after a method letter and ":", each code names a text block of "TxtBaust.txt".
#include <string>
#include <string_view>
#include <vector>

namespace tolvek {

// The hint codes of a letter in a catalogue line ("N: 1 12 3 V: 2" gives 1, 12, 3 for "N").
// found is false when the line has no letter + ":" at all.
std::vector<std::string> HintCodes(std::string_view catalogueLine, std::string_view letter, bool& found);

// The lines of the block "@" + letter + code: the lines after the first line containing that text, up
// to the next line that begins with "@" (or the end of the file). Empty when no line contains it.
std::vector<std::string> HintBlock(const std::vector<std::string>& fileLines, std::string_view letter,
                                   std::string_view code);

// The whole memo text: an empty line, "   " + stand name, an empty line, then either
// "   kein Hinweis gefunden" or the introduction and every block indented by three blanks.
std::vector<std::string> DecisionHintLines(std::string_view catalogueLine, std::string_view standName,
                                           std::string_view letter,
                                           const std::vector<std::string>& fileLines);

// Reads "TxtBaust.txt" from the presets folder; a missing file gives no lines (no block is found).
std::vector<std::string> ReadDecisionHintFile(const std::string& presetsFolder);

// The memo height for a number of lines: 16 pixels a line plus 80.
inline int DecisionHintMemoHeight(int lineCount) { return 16 * lineCount + 80; }

}  // namespace tolvek
