#include "common/language.h"

#include "common/paths.h"

namespace tolvek {

LanguageFiles LanguageFilesFor(LanguageNumber n) {
  switch (n) {
    case 1: return {"SpracheEN.txt", "HelpTolvekDE.hlp"};
    case 2: return {"SpracheEN.txt", "HelpTolvekEN.hlp"};
    case 3: return {"SpracheCZ.txt", "HelpTolvekEN.hlp"};
    case 4: return {"SpracheFR.txt", "HelpTolvekEN.hlp"};
    case 5: return {"SpracheSP.txt", "HelpTolvekEN.hlp"};
    case 6: return {"SprachePL.txt", "HelpTolvekEN.hlp"};
    case 7: return {"SpracheTR.txt", "HelpTolvekEN.hlp"};
    default: return {"Sprache.txt", ""};
  }
}

std::string LanguageCode(LanguageNumber n) {
  static const char* const kCodes[] = {"DE", "EN", "CZ", "FR", "SP", "PL", "TR"};
  if (n < kFirstLanguage || n > kLastLanguage) return {};
  return kCodes[n - 1];
}

LanguageRow SplitLanguageLine(std::string_view line) {
  LanguageRow row;
  std::size_t start = 0;
  for (int f = 0; f < 5; ++f) {
    std::size_t tab = line.find('\t', start);
    if (tab == std::string_view::npos) {
      row.field[f] = std::string(line.substr(start));
      return row;
    }
    row.field[f] = std::string(line.substr(start, tab - start));
    start = tab + 1;
  }
  row.field[5] = std::string(line.substr(start));
  return row;
}

std::string JoinLanguageRow(const LanguageRow& row) {
  std::string line = row.field[0];
  for (int f = 1; f < 6; ++f) {
    line += '\t';
    line += row.field[f];
  }
  return line;
}

std::vector<LanguageRow> LanguageRowsFromLines(const std::vector<std::string>& lines) {
  std::vector<LanguageRow> rows;
  rows.reserve(lines.size());
  for (const auto& l : lines) rows.push_back(SplitLanguageLine(l));
  return rows;
}

bool ReadLanguageRows(const std::string& path, std::vector<LanguageRow>& rows) {
  std::vector<std::string> lines;
  if (!ReadTextLines(path, lines)) return false;
  rows = LanguageRowsFromLines(lines);
  return true;
}

Outcome WriteLanguageRows(const std::string& path, const std::vector<LanguageRow>& rows) {
  std::vector<std::string> lines;
  lines.reserve(rows.size());
  for (const auto& r : rows) lines.push_back(JoinLanguageRow(r));
  return WriteTextLines(path, lines);
}

std::size_t MessageSectionStart(const std::vector<LanguageRow>& rows) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].field[kFieldFormId].empty()) start = i;
  return start;
}

}  // namespace tolvek
