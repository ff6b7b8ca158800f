#include "simulator/stand/expected_vc.h"

#include <sstream>

#include "common/format.h"
#include "common/paths.h"

namespace tolvek {

const ExpectedVcRow* ExpectedVcTable::Find(int standNumber) const {
  for (const auto& r : rows)
    if (r.standNumber == standNumber) return &r;
  return nullptr;
}

bool ReadExpectedVcTable(const std::string& path, ExpectedVcTable& table, LoadProblem& problem) {
  std::vector<std::string> lines;
  if (!ReadTextLines(path, lines)) {
    problem = {"Datei der erwarteten Variationskoeffizienten nicht gefunden", path};
    return false;
  }
  return ParseExpectedVcTable(lines, path, table, problem);
}

bool ParseExpectedVcTable(const std::vector<std::string>& lines, const std::string& path, ExpectedVcTable& table,
                          LoadProblem& problem) {
  ExpectedVcTable read;
  int lineNumber = 0;
  for (const auto& line : lines) {
    ++lineNumber;
    std::istringstream fields(line);
    std::vector<std::string> words;
    for (std::string w; fields >> w;) words.push_back(w);
    if (words.empty()) continue;
    const std::string where = path + " (" + std::to_string(lineNumber) + ")";
    if (static_cast<int>(read.rows.size()) >= kMaxExpectedVcRows) {
      problem = {"Mehr als 52 Zeilen in der Datei der erwarteten Variationskoeffizienten", where};
      return false;
    }
    auto number = ParseInt(words[0]);
    if (words.size() < 16 || !number) {
      problem = {"Zeile der erwarteten Variationskoeffizienten unvollständig oder fehlerhaft", where};
      return false;
    }
    if (*number < 0 || *number > 65535) {
      problem = {"Bestandesnummer außerhalb 0 bis 65535", where};
      return false;
    }
    ExpectedVcRow row;
    row.standNumber = static_cast<std::uint16_t>(*number);
    for (int k = 1; k <= 15; ++k) {
      auto v = ParseReal(words[static_cast<std::size_t>(k)]);
      if (!v) {
        problem = {"Zeile der erwarteten Variationskoeffizienten unvollständig oder fehlerhaft", where};
        return false;
      }
      // The 5th, 7th, 9th, 11th and 13th value are the ones the report uses.
      if (k >= 5 && k <= 13 && k % 2 == 1) row.vc[static_cast<std::size_t>((k - 5) / 2)] = static_cast<float>(*v);
    }
    read.rows.push_back(row);
  }
  table = std::move(read);
  return true;
}

}  // namespace tolvek
