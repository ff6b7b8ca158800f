#include "simulator/sampling/decision_hints.h"

#include "common/format.h"
#include "common/paths.h"

namespace tolvek {

std::vector<std::string> HintCodes(std::string_view catalogueLine, std::string_view letter, bool& found) {
  std::vector<std::string> codes;
  const std::string key = std::string(letter) + ":";
  const std::size_t p = catalogueLine.find(key);
  found = p != std::string_view::npos && !letter.empty();
  if (!found) return codes;
  std::string_view rest = catalogueLine.substr(p + key.size());
  // Another letter's list follows: this one ends before that letter.
  const std::size_t colon = rest.find(':');
  if (colon != std::string_view::npos) rest = rest.substr(0, colon == 0 ? 0 : colon - 1);
  std::string s = TrimSpaces(rest);
  std::size_t i = 0;
  while (i < s.size()) {
    if (s[i] == ' ') {  // a stray extra blank between codes
      ++i;
      continue;
    }
    // Codes are one or two characters, each followed by a blank; the last one may end the text, also
    // when it is a single character.
    if (i + 1 >= s.size() || s[i + 1] == ' ') {
      codes.emplace_back(s.substr(i, 1));
      i += 2;
    } else {
      codes.emplace_back(s.substr(i, 2));
      i += 3;
    }
  }
  return codes;
}

std::vector<std::string> HintBlock(const std::vector<std::string>& fileLines, std::string_view letter,
                                   std::string_view code) {
  std::vector<std::string> block;
  const std::string key = "@" + std::string(letter) + std::string(code);
  std::size_t i = 0;
  while (i < fileLines.size() && fileLines[i].find(key) == std::string::npos) ++i;
  if (i == fileLines.size()) return block;
  for (++i; i < fileLines.size(); ++i) {
    if (!fileLines[i].empty() && fileLines[i][0] == '@') break;
    block.push_back(fileLines[i]);
  }
  return block;
}

std::vector<std::string> DecisionHintLines(std::string_view catalogueLine, std::string_view standName,
                                           std::string_view letter,
                                           const std::vector<std::string>& fileLines) {
  std::vector<std::string> memo{"", "   " + std::string(standName), ""};
  bool found = false;
  const std::vector<std::string> codes = HintCodes(catalogueLine, letter, found);
  if (!found) {
    memo.emplace_back("   kein Hinweis gefunden");
    return memo;
  }
  memo.emplace_back("   Folgende Überlegungen sollten Sie in Ihre Auswahl einbeziehen:");
  memo.emplace_back("");
  for (const std::string& code : codes)
    for (const std::string& line : HintBlock(fileLines, letter, code)) memo.push_back("   " + line);
  return memo;
}

std::vector<std::string> ReadDecisionHintFile(const std::string& presetsFolder) {
  std::vector<std::string> lines;
  if (!ReadTextLines(ResolveIn(presetsFolder, "TxtBaust.txt"), lines)) lines.clear();
  return lines;
}

}  // namespace tolvek
