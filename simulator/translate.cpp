#include "simulator/translate.h"

#include "common/format.h"
#include "common/paths.h"

namespace tolvek {

std::string LookupNextRowText(const LanguageTable& table, std::string_view formId, std::string_view name) {
  if (!TableInUse(table)) return {};
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    const LanguageRow& row = table.rows[i];
    if (row.field[kFieldComponent] != name || row.field[kFieldFormId] != formId) continue;
    if (i + 1 >= table.rows.size()) return {};
    return table.rows[i + 1].field[HintField(table)];
  }
  return {};
}

std::optional<std::size_t> FindRowIndexFrom(const LanguageTable& table, std::string_view name, std::size_t firstIndex) {
  for (std::size_t i = firstIndex; i < table.rows.size(); ++i)
    if (table.rows[i].field[kFieldComponent] == name) return i;
  return std::nullopt;
}

std::vector<std::string> ImportantNotes(const LanguageTable& table) {
  std::vector<std::string> lines;
  if (!TableInUse(table)) return lines;
  std::optional<std::size_t> header = FindRowIndexFrom(table, "MemHilfe");
  if (!header) return lines;
  for (std::size_t i = *header + 1; i < table.rows.size(); ++i) {
    const LanguageRow& row = table.rows[i];
    if (row.field[kFieldComponent] != "MemHilfe") break;
    lines.push_back(WithoutTrailingTab(row.field[HintField(table)]));
    if (lines.size() == 1) lines.emplace_back();
  }
  return lines;
}

void ReadSettings(const ProgramFolders& folders, Settings& settings, const LanguageTable& table,
                  MessageService& messages) {
  const std::string path = SettingsPath(folders.program);
  switch (ReadSettingsFile(folders.program, settings)) {
    case SettingsRead::kOk:
      return;
    case SettingsRead::kBadLanguage:
      messages.ShowMessageBox(path + ": " + Translate(table, "Sprachnummer ungültig, Deutsch gewählt"),
                              MessageKind::Info, MessageButtons::Ok);
      // Written back as read (German), so the notice is given once and not at every start.
      WriteSettings(folders, settings, table, messages);
      return;
    case SettingsRead::kMissing:
      break;
  }
  if (FileExists(path)) {
    // There, but not readable: leave the user's file alone and go on with the values as they are.
    messages.ShowMessageBox(path + ": " + Translate(table, "Datei kann nicht gelesen werden"), MessageKind::Info,
                            MessageButtons::Ok);
    return;
  }
  if (!WriteSettingsFile(folders.program, settings).ok())
    messages.ShowMessageBox(path + ": " + Translate(table, "Datei kann nicht erzeugt werden"), MessageKind::Info,
                            MessageButtons::Ok);
}

bool WriteSettings(const ProgramFolders& folders, const Settings& settings, const LanguageTable& table,
                   MessageService& messages) {
  if (WriteSettingsFile(folders.program, settings).ok()) return true;
  messages.ShowMessageBox(SettingsPath(folders.program) + ": " + Translate(table, "Datei kann nicht erzeugt werden"),
                          MessageKind::Info, MessageButtons::Ok);
  return false;
}

bool LoadLanguageTable(const ProgramFolders& folders, LanguageNumber n, LanguageTable& table, Settings& settings,
                       MessageService& messages) {
  const LanguageFiles files = LanguageFilesFor(n);
  table.helpFile = folders.program + files.help;
  table.tableFile = ResolveIn(folders.program, files.table);
  std::vector<LanguageRow> rows;
  // An empty file is as good as none: it would leave every text to the built-in German silently.
  if (ReadLanguageRows(table.tableFile, rows) && !rows.empty()) {
    table.rows = std::move(rows);
    table.selector = SelectorFor(n);
    return true;
  }
  // The program's own German texts stand in; the next start is German.
  table.rows.clear();
  table.selector = 0;
  settings.language = 1;
  WriteSettings(folders, settings, table, messages);
  messages.PlatformBox(table.tableFile + kTableUnreadable, "", PlatformButtons::Ok, PlatformIcon::Warning);
  return false;
}

void LoadStartLanguage(const ProgramFolders& folders, Settings& settings, LanguageTable& table,
                       MessageService& messages) {
  table.selector = 1;
  ReadSettings(folders, settings, table, messages);
  if (settings.language != 1) settings.forestDevelopmentTypes = false;
  LoadLanguageTable(folders, settings.language, table, settings, messages);
}

bool SwitchLanguage(const ProgramFolders& folders, LanguageNumber n, Settings& settings, LanguageTable& table,
                    MessageService& messages) {
  settings.language = n;
  if (n != 1) settings.forestDevelopmentTypes = false;
  WriteSettings(folders, settings, table, messages);
  return LoadLanguageTable(folders, n, table, settings, messages);
}

}  // namespace tolvek
