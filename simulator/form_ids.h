#pragma once
// Which controls of which window the window translation sets, as data: per form id the window (by its
// objectName) and the controls (by objectName) with their kind. The texts they get are worked out here
// too, so the windows only apply them.
#include <optional>
#include <string>
#include <vector>

#include "common/language.h"

namespace tolvek {

// Kinds of control, each with its own rule of which texts it takes from its row.
enum class ControlKind {
  kBitmapButton,  // hint only
  kButton,        // caption and hint (also a bitmap button with text)
  kSpeedButton,   // caption and hint
  kLabel,
  kGroupBox,
  kRadioGroup,
  kImage,         // hint only
  kMenuItem,      // caption only
  kCheckBox,
  kRadioButton,
  kWidget,        // memo, list, panel, bevel: only fixed texts are set on it
  kWindow,        // the window itself
};

enum class TextProperty { kCaption, kHint };

// How an entry gets its text.
enum class EntrySource {
  kRow,    // the control's row of the window's form id
  kNext,   // caption := Translate("weiter")
  kBack,   // caption := Translate("zurück")
  kFixed,  // the property := the translations of `german`, joined by line breaks
};

struct FormEntry {
  std::string component;  // objectName; empty for the window itself
  ControlKind kind = ControlKind::kButton;
  EntrySource source = EntrySource::kRow;
  TextProperty property = TextProperty::kCaption;  // kFixed only
  std::vector<std::string> german;                 // kFixed only
  std::string window;  // a control of another window than the list's (its objectName)
  // The found texts also go to this control of the main window (the calliper-threshold button).
  std::string copyToMain;
};

struct FormList {
  std::string formId;  // "F1", "G4", ...
  std::string window;  // objectName of the window ("Form1", "BtnRightDlg1", ...)
  std::vector<FormEntry> entries;
};

inline constexpr const char* kMainWindow = "Form1";

// The lists of the whole window translation, in their order ("F8" and "G1" both name BtnRightDlg1).
const std::vector<FormList>& AllFormLists();
// The title screen's list (form id "F1").
const FormList& StartScreenList();
// The message box's buttons (form id "F42").
const FormList& MessageBoxList();

// Whether a control of the kind takes its caption / hint from its row.
bool TakesCaption(ControlKind k);
bool TakesHint(ControlKind k);

// One text to set: nothing in text means the control's own (built-in) text.
struct TextAssignment {
  std::string window;
  std::string component;  // empty: the window itself
  ControlKind kind = ControlKind::kButton;
  TextProperty property = TextProperty::kCaption;
  std::optional<std::string> text;
};

// The texts of one list for the loaded table.
std::vector<TextAssignment> PlanFormTexts(const LanguageTable& table, const FormList& list);

}  // namespace tolvek
