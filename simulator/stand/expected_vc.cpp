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

Outcome ReadExpectedVcTable(const std::string& path, ExpectedVcTable& table) {
  std::vector<std::string> lines;
  if (!ReadTextLines(path, lines)) return Problem{"Datei der erwarteten Variationskoeffizienten nicht gefunden", path};
  return ParseExpectedVcTable(lines, path, table);
}

Outcome ParseExpectedVcTable(const std::vector<std::string>& lines, const std::string& path, ExpectedVcTable& table) {
  ExpectedVcTable read;
  int lineNumber = 0;
  for (const auto& line : lines) {
    ++lineNumber;
    std::istringstream fields(line);
    std::vector<std::string> words;
    for (std::string w; fields >> w;) words.push_back(w);
    if (words.empty()) continue;
    const std::string where = path + " (" + std::to_string(lineNumber) + ")";
    if (static_cast<int>(read.rows.size()) >= kMaxExpectedVcRows)
      return Problem{"Mehr als 52 Zeilen in der Datei der erwarteten Variationskoeffizienten", where};
    auto number = ParseInt(words[0]);
    if (words.size() < 16 || !number)
      return Problem{"Zeile der erwarteten Variationskoeffizienten unvollständig oder fehlerhaft", where};
    if (*number < 0 || *number > 65535) return Problem{"Bestandesnummer außerhalb 0 bis 65535", where};
    ExpectedVcRow row;
    row.standNumber = static_cast<std::uint16_t>(*number);
    for (int k = 1; k <= 15; ++k) {
      auto v = ParseReal(words[static_cast<std::size_t>(k)]);
      if (!v) return Problem{"Zeile der erwarteten Variationskoeffizienten unvollständig oder fehlerhaft", where};
      // The 5th, 7th, 9th, 11th and 13th value are the ones the report uses.
      if (k >= 5 && k <= 13 && k % 2 == 1) row.vc[static_cast<std::size_t>((k - 5) / 2)] = static_cast<float>(*v);
    }
    read.rows.push_back(row);
  }
  table = std::move(read);
  return {};
}

}  // namespace tolvek
