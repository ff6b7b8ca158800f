#pragma once
// Opening the manual, the help pages and the theory documents with the system's viewers. A missing
// file or a viewer that cannot be started is reported with the file's name; the program goes on.
#include <string>

#include "simulator/state.h"

namespace tolvek {

enum class DocumentKind { kPage, kTheory };

// False (after the message) when nothing was opened.
bool OpenDocumentReported(SimulatorState& state, const std::string& path, DocumentKind kind);
// A page of the help set of the chosen language: kHelpContents or a topic number.
bool OpenHelpTopic(SimulatorState& state, int topic);

}  // namespace tolvek
