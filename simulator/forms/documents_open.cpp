#include "simulator/forms/documents_open.h"

#include "simulator/documents.h"
#include "simulator/translate.h"

namespace tolvek {

bool OpenDocumentReported(SimulatorState& state, const std::string& path, DocumentKind kind) {
  const DocumentOpening result = OpenDocumentFile(*state.services.documents, path);
  if (result == DocumentOpening::kOpened) return true;
  const auto T = [&](const char* german) { return Translate(state.language, german); };
  std::string text;
  PlatformButtons buttons = PlatformButtons::Ok;
  if (result == DocumentOpening::kMissing) {
    text = T("Datei nicht gefunden!") + "\n" + path;
  } else if (kind == DocumentKind::kTheory) {
    // OK and Cancel both return: a missing PDF viewer is no reason to lose the session's work.
    text = T("AcrobatReader nicht gefunden. Bitte anderen Editor verwenden") + "\n" + path;
    buttons = PlatformButtons::OkCancel;
  } else {
    text = T("Kein Programm zum Anzeigen gefunden:") + "\n" + path;
  }
  state.services.messages->PlatformBox(text, "", buttons, PlatformIcon::Warning);
  return false;
}

bool OpenHelpTopic(SimulatorState& state, int topic) {
  const std::string page = HelpTopicPath(HelpFileOf(state.language, state.folders.program), topic);
  return OpenDocumentReported(state, page, DocumentKind::kPage);
}

}  // namespace tolvek
