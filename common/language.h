#pragma once
// Language tables: one row per line of a language file, six TAB-separated fields.
#include <array>
#include <string>
#include <vector>

namespace tolvek {

struct LanguageRow {
  // form id, component name, German caption, German hint or message, foreign caption, foreign hint
  std::array<std::string, 6> field;
};

struct LanguageTable {
  std::vector<LanguageRow> rows;
  int selector = 0;  // 0 built-in texts, 1 German columns, 2 foreign columns
  std::string helpFile;
  std::string tableFile;
};

}  // namespace tolvek
