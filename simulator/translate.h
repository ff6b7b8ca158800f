#pragma once
// Text look-up in the loaded language table, and the simulator's settings and table loading.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"
#include "common/platform.h"
#include "common/settings.h"
#include "common/translate.h"

namespace tolvek {

struct ProgramFolders;

// The hint or message of the row after the control's row; empty when there is no such row or the
// control's row is the last one.
std::string LookupNextRowText(const LanguageTable& table, std::string_view formId, std::string_view name);

// The 0-based index of the first row from row 201 (index 200) on whose component name equals name;
// nothing when no row there carries it.
inline constexpr std::size_t kNotesSearchStart = 200;
std::optional<std::size_t> FindRowIndexFrom(const LanguageTable& table, std::string_view name,
                                            std::size_t firstIndex = kNotesSearchStart);

// The lines of "Wichtige Hinweise": the rows after the "MemHilfe" header row (found from row 201 on)
// as long as their component is "MemHilfe", in the chosen language, with one empty line after the first.
std::vector<std::string> ImportantNotes(const LanguageTable& table);

// The window translation's program-wide state: the form id the component look-ups compare with.
struct TranslationState {
  std::string formId = "F1";
};

// ---- Settings and table loading of the simulator

// The message shown when a language table cannot be opened; the program goes on with its own German
// texts (selector 0) and the settings switched to German.
inline constexpr const char* kTableUnreadable = ":  Auf Datei kann nicht zugegrriffen werden. Auf Deutsch umgeschaltet";

// Reads "EinStell.Txt" into settings; creates it with the current values when it is missing and says so
// when that fails. A first line without a language number (an empty file, say) is reported, read as
// German and written back as German, so the report comes once.
void ReadSettings(const ProgramFolders& folders, Settings& settings, const LanguageTable& table,
                  MessageService& messages);
// Writes "EinStell.Txt"; a failure is reported, the program goes on.
bool WriteSettings(const ProgramFolders& folders, const Settings& settings, const LanguageTable& table,
                   MessageService& messages);
// Replaces the table with the rows of the language's file and sets the selector and the help and table
// paths. When the file cannot be read or is empty: the built-in German texts (selector 0, no rows), language 1
// written to the settings, and a warning naming the file. false in that case.
bool LoadLanguageTable(const ProgramFolders& folders, LanguageNumber n, LanguageTable& table, Settings& settings,
                       MessageService& messages);
// Start-up steps 5 and 6: read the settings, switch forest development types off for any language but
// German, load the table.
void LoadStartLanguage(const ProgramFolders& folders, Settings& settings, LanguageTable& table,
                       MessageService& messages);
// A language button: the new number (the flag off for any language but German), settings written, table
// loaded. false when the table could not be read (the program then shows German).
bool SwitchLanguage(const ProgramFolders& folders, LanguageNumber n, Settings& settings, LanguageTable& table,
                    MessageService& messages);

}  // namespace tolvek
