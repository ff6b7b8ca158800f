#pragma once
// Looking texts up in a loaded language table: shared by the simulator and the stand generator.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/language.h"

namespace tolvek {

// The text to show for a German text: the first row whose German hint/message field equals it gives the
// field of the chosen language without one trailing TAB. Selector 0, no such row, or a row whose field
// is empty give the German text itself, never a blank.
std::string Translate(const LanguageTable& table, std::string_view german);

// The texts a control's row gives: a caption or hint only when the row was found and the field is
// longer than one character; otherwise the control keeps its own.
struct ComponentTexts {
  bool found = false;
  std::optional<std::string> caption;
  std::optional<std::string> hint;
};
// The first row (from firstRow, 0-based) whose form id and component name equal the given ones.
ComponentTexts LookupComponentTexts(const LanguageTable& table, std::string_view formId, std::string_view name,
                                    std::size_t firstRow = 0);

// A hint as shown: the first "#" and the character after it become a line break ("\r"); hints of one
// character or none are unchanged.
std::string HintText(const std::string& hint);

// Field of the selected language, 0-based: caption 2s, hint 2s + 1 (2s + 1 and 2s + 2 counted from 1).
inline int CaptionField(const LanguageTable& t) { return 2 * t.selector; }
inline int HintField(const LanguageTable& t) { return 2 * t.selector + 1; }
inline bool TableInUse(const LanguageTable& t) { return t.selector == 1 || t.selector == 2; }
std::string WithoutTrailingTab(std::string t);

}  // namespace tolvek
