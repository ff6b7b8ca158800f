#include "langedit/editor.h"

#include <algorithm>
#include <unordered_map>

#include "common/format.h"
#include "common/paths.h"
#include "common/settings.h"

namespace tolvek::langedit {

int RowCount(const EditorState& s) { return static_cast<int>(s.rows.size()); }

std::string EditorLanguageCode(LanguageNumber n) { return n <= kReferenceLanguage ? std::string() : LanguageCode(n); }

std::string TargetFileName(LanguageNumber n) { return "Sprache" + EditorLanguageCode(n) + ".txt"; }

namespace {

// What a target row must share with a reference row to belong to it: the form id, then the component
// name, or for rows without one the German texts without their first three characters (message rows
// were once numbered there).
template <class Row>
std::string MatchKey(const Row& r) {
  std::string key = r.field[kFieldFormId];
  key += '\0';
  const std::string& component = r.field[kFieldComponent];
  if (!component.empty()) return key + "C" + component;
  return key + "G" + Utf8Mid(r.field[kFieldGermanCaption], 3, std::string::npos) + '\0' +
         Utf8Mid(r.field[kFieldGermanHint], 3, std::string::npos);
}

bool SameGerman(const EditorRow& r, const LanguageRow& t) {
  return r.field[kFieldGermanCaption] == t.field[kFieldGermanCaption] &&
         r.field[kFieldGermanHint] == t.field[kFieldGermanHint];
}

// A blank or a single letter in the target file is a placeholder, not a translation.
void TakeTexts(EditorRow& r, const LanguageRow& t) {
  if (Utf8Length(t.field[kFieldForeignCaption]) > 1) r.field[kTargetCaption] = t.field[kFieldForeignCaption];
  if (Utf8Length(t.field[kFieldForeignHint]) > 1) r.field[kTargetHint] = t.field[kFieldForeignHint];
}

void EnglishAsTarget(std::vector<EditorRow>& rows) {
  for (EditorRow& r : rows) {
    r.field[kTargetCaption] = r.field[kFieldForeignCaption];
    r.field[kTargetHint] = r.field[kFieldForeignHint];
  }
}

}  // namespace

void MergeLanguageTables(std::vector<EditorRow>& rows, const std::vector<LanguageRow>& target) {
  EnglishAsTarget(rows);
  std::unordered_map<std::string, std::vector<std::size_t>> byKey;  // reference rows in order
  for (std::size_t r = 0; r < rows.size(); ++r) byKey[MatchKey(rows[r])].push_back(r);
  std::vector<const std::vector<std::size_t>*> candidates(target.size(), nullptr);
  for (std::size_t t = 0; t < target.size(); ++t) {
    auto it = byKey.find(MatchKey(target[t]));
    if (it != byKey.end()) candidates[t] = &it->second;
  }
  std::vector<char> paired(rows.size(), 0);
  std::vector<char> placed(target.size(), 0);
  auto pair = [&](std::size_t t, bool exactGerman) {
    if (!candidates[t] || placed[t]) return;
    for (std::size_t r : *candidates[t]) {
      if (paired[r] || (exactGerman && !SameGerman(rows[r], target[t]))) continue;
      TakeTexts(rows[r], target[t]);
      paired[r] = placed[t] = 1;
      return;
    }
  };
  for (std::size_t t = 0; t < target.size(); ++t) pair(t, true);
  for (std::size_t t = 0; t < target.size(); ++t) pair(t, false);
  // A reference row that repeats a text the target has once: the last such target row's texts.
  for (std::size_t t = 0; t < target.size(); ++t) {
    if (!candidates[t]) continue;
    for (std::size_t r : *candidates[t])
      if (!paired[r] && SameGerman(rows[r], target[t])) TakeTexts(rows[r], target[t]);
  }
}

LoadOutcome LoadReference(EditorState& s) {
  LoadOutcome out;
  out.path = ResolveIn(s.folder, LanguageFilesFor(kReferenceLanguage).table);
  std::vector<LanguageRow> read;
  s.rows.clear();
  s.referenceLoaded = false;
  s.referenceChanged = s.targetChanged = false;
  s.referenceRow = s.targetRow = kStartRow;
  if (!ReadLanguageRows(out.path, read)) {
    out.result = LoadResult::kUnreadable;
  } else if (read.empty()) {
    out.result = LoadResult::kEmpty;
  } else {
    s.rows.reserve(read.size());
    for (const LanguageRow& l : read) {
      EditorRow r;
      std::copy(l.field.begin(), l.field.end(), r.field.begin());
      s.rows.push_back(std::move(r));
    }
    EnglishAsTarget(s.rows);
    s.referenceLoaded = true;
  }
  ClampRows(s);
  return out;
}

LoadOutcome LoadTarget(EditorState& s, LanguageNumber n) {
  s.target = n;
  s.targetChanged = false;
  LoadOutcome out;
  out.path = ResolveIn(s.folder, LanguageFilesFor(n).table);
  // English needs no file: the reference carries its texts, and reading the English file again would
  // undo the reference fields edited and the rows inserted since the start.
  if (n == kReferenceLanguage) {
    EnglishAsTarget(s.rows);
    return out;
  }
  std::vector<LanguageRow> read;
  if (!ReadLanguageRows(out.path, read)) {
    out.result = LoadResult::kUnreadable;
    EnglishAsTarget(s.rows);
    return out;
  }
  MergeLanguageTables(s.rows, read);
  return out;
}

void ClampRows(EditorState& s) {
  const int last = std::max(1, RowCount(s));
  s.referenceRow = std::clamp(s.referenceRow, 1, last);
  s.targetRow = std::clamp(s.targetRow, 1, last);
}

bool StepBoth(EditorState& s, int delta) {
  const int count = RowCount(s);
  if (delta > 0 ? s.referenceRow >= count : s.referenceRow <= 1) return false;
  s.referenceRow += delta > 0 ? 1 : -1;
  s.targetRow = std::clamp(s.targetRow + (delta > 0 ? 1 : -1), 1, std::max(1, count));
  return true;
}

bool StepTarget(EditorState& s, int delta) {
  if (delta > 0 ? s.targetRow >= RowCount(s) : s.targetRow <= 1) return false;
  s.targetRow += delta > 0 ? 1 : -1;
  return true;
}

void GoToRow(EditorState& s, long long n) {
  const int row = static_cast<int>(std::clamp<long long>(n, 1, std::max(1, RowCount(s))));
  s.referenceRow = s.targetRow = row;
}

std::string CleanFieldText(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return out;
}

bool CommitReferenceFields(EditorState& s, const std::array<std::string, kEditableFields>& fields) {
  if (s.rows.empty()) return false;
  EditorRow& row = s.rows[s.referenceRow - 1];
  bool changed = false;
  for (int f = 0; f < kEditableFields; ++f) {
    std::string clean = CleanFieldText(fields[f]);
    if (clean == row.field[f]) continue;
    row.field[f] = std::move(clean);
    changed = true;
  }
  if (changed) s.referenceChanged = true;
  return changed;
}

void CopyEnglish(EditorState& s) {
  if (s.rows.empty()) return;
  const EditorRow& from = s.rows[s.referenceRow - 1];
  EditorRow& to = s.rows[s.targetRow - 1];
  to.field[kTargetCaption] = from.field[kFieldForeignCaption];
  to.field[kTargetHint] = from.field[kFieldForeignHint];
  s.targetChanged = true;
}

namespace {
void MoveTargetTexts(EditorRow& to, EditorRow& from) {
  to.field[kTargetCaption] = std::move(from.field[kTargetCaption]);
  to.field[kTargetHint] = std::move(from.field[kTargetHint]);
  from.field[kTargetCaption].clear();
  from.field[kTargetHint].clear();
}
}  // namespace

bool InsertTargetRowLosesTexts(const EditorState& s) {
  if (s.rows.empty()) return false;
  const EditorRow& last = s.rows.back();
  return !last.field[kTargetCaption].empty() || !last.field[kTargetHint].empty();
}

void InsertTargetRow(EditorState& s) {
  if (s.rows.empty()) return;
  const std::size_t current = static_cast<std::size_t>(s.targetRow - 1);
  for (std::size_t i = s.rows.size() - 1; i > current; --i) MoveTargetTexts(s.rows[i], s.rows[i - 1]);
  s.rows[current].field[kTargetCaption].clear();
  s.rows[current].field[kTargetHint].clear();
  s.targetChanged = true;
}

void DeleteTargetRow(EditorState& s) {
  if (s.rows.empty()) return;
  const std::size_t current = static_cast<std::size_t>(s.targetRow - 1);
  s.rows[current].field[kTargetCaption].clear();
  s.rows[current].field[kTargetHint].clear();
  for (std::size_t i = current; i + 1 < s.rows.size(); ++i) MoveTargetTexts(s.rows[i], s.rows[i + 1]);
  s.targetChanged = true;
}

void InsertReferenceRow(EditorState& s) {
  const std::size_t at = s.rows.empty() ? 0 : static_cast<std::size_t>(s.referenceRow - 1);
  s.rows.insert(s.rows.begin() + static_cast<std::ptrdiff_t>(at), EditorRow{});
  s.referenceChanged = true;
  ClampRows(s);
}

std::optional<int> FindRow(const EditorState& s, std::string_view term) {
  if (term.empty()) return std::nullopt;
  const int first = s.column >= 1 && s.column <= kEditableFields ? s.column - 1 : 0;
  const int last = s.column >= 1 && s.column <= kEditableFields ? s.column - 1 : kEditableFields - 1;
  for (int r = s.referenceRow; r < RowCount(s); ++r)
    for (int f = first; f <= last; ++f)
      if (s.rows[r].field[f].find(term) != std::string::npos) return r + 1;
  return std::nullopt;
}

std::vector<LanguageRow> TargetFileRows(const EditorState& s) {
  std::vector<LanguageRow> out;
  out.reserve(s.rows.size());
  for (const EditorRow& r : s.rows)
    out.push_back(LanguageRow{{r.field[kFieldFormId], r.field[kFieldComponent], r.field[kFieldGermanCaption],
                               r.field[kFieldGermanHint], r.field[kTargetCaption], r.field[kTargetHint]}});
  return out;
}

std::string TargetFilePath(const EditorState& s) { return ResolveIn(s.folder, TargetFileName(s.target)); }

Outcome WriteTargetFile(EditorState& s) {
  const std::string path = TargetFilePath(s);
  if (!s.referenceLoaded) return Problem{"no reference table", path};
  if (Outcome written = WriteLanguageRows(path, TargetFileRows(s)); !written.ok()) return written;
  s.targetChanged = s.referenceChanged = false;
  return {};
}

bool LoadEditorTexts(EditorState& s) {
  Settings settings;
  if (ReadSettingsFile(s.folder, settings) != SettingsRead::kOk) settings.language = 0;
  s.textsLanguage = settings.language;
  LanguageTable& t = s.texts;
  t.tableFile = ResolveIn(s.folder, LanguageFilesFor(settings.language).table);
  std::vector<LanguageRow> rows;
  if (ReadLanguageRows(t.tableFile, rows) && !rows.empty()) {
    t.rows = std::move(rows);
    t.selector = SelectorFor(settings.language);
    return true;
  }
  t.rows.clear();
  t.selector = 0;
  return false;
}

}  // namespace tolvek::langedit
