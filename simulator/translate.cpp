#include "simulator/translate.h"

namespace tolvek {

std::string Translate(const LanguageTable& table, std::string_view german) {
  if (table.selector <= 0) return std::string(german);
  const int col = 2 * table.selector + 1;  // hint/message field of the selected language, 0-based
  for (const auto& row : table.rows) {
    if (row.field[3] == german) {
      std::string t = row.field[col];
      if (!t.empty() && t.back() == '\t') t.pop_back();
      if (t.empty()) return std::string(german);
      return t;
    }
  }
  return std::string(german);
}

}  // namespace tolvek
