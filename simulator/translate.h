#pragma once
#include <string>
#include <string_view>

#include "common/language.h"

namespace tolvek {

// The text to show for a German text: the first row whose German hint/message field equals it gives the
// field of the chosen language; selector 0 (or no row, or an empty field) gives the German text itself.
std::string Translate(const LanguageTable& table, std::string_view german);

}  // namespace tolvek
