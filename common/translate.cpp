#include "common/translate.h"

#include "common/format.h"

namespace tolvek {

namespace {

// A field long enough to replace a control's own text (one character, such as a blank, is not).
std::optional<std::string> UsableText(const std::string& field) {
  if (Utf8Length(field) > 1) return field;
  return std::nullopt;
}

}  // namespace

std::string WithoutTrailingTab(std::string t) {
  if (!t.empty() && t.back() == '\t') t.pop_back();
  return t;
}

std::string Translate(const LanguageTable& table, std::string_view german) {
  if (!TableInUse(table)) return std::string(german);
  for (const auto& row : table.rows) {
    if (row.field[kFieldGermanHint] != german) continue;
    std::string t = WithoutTrailingTab(row.field[HintField(table)]);
    if (t.empty()) return std::string(german);
    return t;
  }
  return std::string(german);
}

ComponentTexts LookupComponentTexts(const LanguageTable& table, std::string_view formId, std::string_view name,
                                    std::size_t firstRow) {
  ComponentTexts out;
  if (!TableInUse(table)) return out;
  for (std::size_t i = firstRow; i < table.rows.size(); ++i) {
    const LanguageRow& row = table.rows[i];
    if (row.field[kFieldComponent] != name || row.field[kFieldFormId] != formId) continue;
    out.found = true;
    out.caption = UsableText(row.field[CaptionField(table)]);
    out.hint = UsableText(row.field[HintField(table)]);
    return out;
  }
  return out;
}

std::string HintText(const std::string& hint) {
  if (hint.size() <= 1) return hint;
  std::size_t p = hint.find('#');
  if (p == std::string::npos) return hint;
  std::string s = hint;
  // The mark and the one character after it (a whole UTF-8 character) give way to the break.
  std::size_t n = 1;
  if (p + 1 < s.size()) {
    n = 2;
    while (p + n < s.size() && (static_cast<unsigned char>(s[p + n]) & 0xC0) == 0x80) ++n;
  }
  s.replace(p, n, "\r");
  return s;
}

}  // namespace tolvek
