#pragma once
// Which texts the generator's windows take from the language table. Captions and hints of single
// controls come from the rows of the window's form id; hints of the parameter fields and a few captions
// are messages of the table. The windows apply what is worked out here.
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"
#include "common/translate.h"

namespace tolvek::generator {

// The generator's windows by objectName and their form ids.
struct GeneratorForm {
  const char* formId;
  const char* window;
};
inline constexpr GeneratorForm kGeneratorForms[] = {
    {"F3", "Form3"}, {"F4", "BtnBottomDlg"}, {"F5", "BtnBottomDlg1"}, {"F6", "Form6"}, {"F7", "Form7"}};

enum class ControlKind { kButton, kRadioButton, kLabel, kCheckBox, kWindow };

// The row of a control: buttons, radio buttons and the window itself are looked for from the first
// row, labels and check boxes from the last message row on (the generator's rows follow the messages).
ComponentTexts GeneratorControlTexts(const LanguageTable& table, std::string_view formId, std::string_view name,
                                     ControlKind kind);

// A text set on a control by the program rather than by its row.
struct FixedText {
  std::string window;     // objectName
  std::string component;  // objectName; empty for the window itself
  bool hint = true;       // hint, else caption
  std::string text;       // as shown (translated)
};
// The parameter dialog's field hints, its two note labels and its species legend.
std::vector<FixedText> ParameterDialogTexts(const LanguageTable& table);

// The words of buttons the program translates by their caption, whatever their row says.
inline constexpr const char* kTranslatedButtonWords[] = {"weiter", "speichern", "zurück", "löschen"};

}  // namespace tolvek::generator
