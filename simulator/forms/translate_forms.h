#pragma once
// The window translation: the texts worked out by the core (simulator/form_ids.h) set on the windows,
// found by objectName among the application's top-level windows. A window or control that does not
// exist is passed over.
#include <string>
#include <vector>

#include "simulator/form_ids.h"
#include "simulator/state.h"

class QObject;
class QWidget;

namespace tolvek {

class TForm1;

// The top-level window with that objectName, or nullptr.
QWidget* FindWindowByName(const std::string& name);
// The window itself (empty name) or its descendant (widget, action, menu) with that objectName.
QObject* FindControl(QWidget* window, const std::string& name);
// Whether the object is a control of the kind (the structural check of the lists uses it).
bool MatchesKind(QObject* control, ControlKind kind);

// Sets the texts. All text is plain (labels never read markup). A text left to the control's own
// brings back the control's built-in text, unless the program has changed it since it was last set
// here.
void ApplyTexts(const std::vector<TextAssignment>& texts);

// The title screen: its texts, the tool-bar buttons shown with the work buttons disabled.
void TranslateStartScreen(TForm1& form);
// Every window of the lists, in their order; the current form id ends as "F1".
void TranslateAllForms(SimulatorState& state);
// The captions of the window's buttons made to fit them (a smaller font where one is too long).
void FitCaptions(QWidget* window);
// The message box's "ja", "nein" and "OK" (form id "F42"): run before a question is asked.
void TranslateMessageBoxButtons(SimulatorState& state);

}  // namespace tolvek
