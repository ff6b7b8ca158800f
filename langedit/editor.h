#pragma once
// The language-table editor's core: the English table as the reference (form ids, component names and
// German texts of every row), the texts of one target language placed beside the rows they belong to,
// the row operations, the search, and the writing of the target language's file.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"
#include "common/problem.h"

namespace tolvek::langedit {

// Fields of an editor row (0-based): the six fields of the reference file's row (form id, component,
// German caption and hint, English caption and hint), then the target language's caption and hint.
inline constexpr int kEditorFields = 8;
enum EditorField : int { kTargetCaption = 6, kTargetHint = 7 };
// The fields the user edits (form id, component, German caption and hint): the grid shows these.
inline constexpr int kEditableFields = 4;

struct EditorRow {
  std::array<std::string, kEditorFields> field;
};

inline constexpr LanguageNumber kReferenceLanguage = 2;
inline constexpr LanguageNumber kStartLanguage = 7;
inline constexpr int kStartRow = 10;

struct EditorState {
  std::string folder;  // the program folder, ending with "/"
  LanguageNumber target = kStartLanguage;
  std::vector<EditorRow> rows;      // the reference table; shown and addressed as rows 1 … count
  bool referenceLoaded = false;     // false when the English file could not be read: nothing to edit
  int referenceRow = kStartRow;     // 1-based; both rows move together except through the target arrows
  int targetRow = kStartRow;
  int column = 1;                   // selected grid column: 0 row number, 1 … 4 the fields 1 … 4
  bool targetChanged = false;       // target texts shifted or copied since the last load
  bool referenceChanged = false;    // reference fields edited or rows inserted
  LanguageTable texts;              // the editor's own window texts, in the language of the settings
  LanguageNumber textsLanguage = 0;  // that language (0 before the simulator has written the settings)
};

int RowCount(const EditorState& s);

// Code of a language in the file name written and on the window: empty for German and English (they
// write "Sprache.txt"), "CZ", "FR", "SP", "PL", "TR" for 3 … 7.
std::string EditorLanguageCode(LanguageNumber n);
// "Sprache" + code + ".txt".
std::string TargetFileName(LanguageNumber n);
inline bool IsEditorLanguage(long long n) { return n >= kFirstLanguage && n <= kLastLanguage; }

// Places the target file's texts into fields 7 and 8 of the reference rows, the English texts where
// the target has none. A target row belongs to a reference row with its form id and either the same
// (non-empty) component name, or, both names empty, German caption and hint equal from their fourth
// character on. A text of one character or none leaves the English one. Rows that share such a key
// are paired in order, a row with exactly the same German texts first, so repeated keys (the notes
// block, short messages) keep their own texts; a reference row left over takes the texts of a target
// row with exactly its German texts, or keeps English.
void MergeLanguageTables(std::vector<EditorRow>& rows, const std::vector<LanguageRow>& target);

enum class LoadResult { kOk, kUnreadable, kEmpty };
struct LoadOutcome {
  LoadResult result = LoadResult::kOk;
  std::string path;  // the file read, or the one that could not be read
};
// Reads "SpracheEN.txt" as the reference; both rows go to row 10 or the last row. A reference that
// cannot be read or has no rows leaves an empty table that is never written.
LoadOutcome LoadReference(EditorState& s);
// Makes n the target language. English takes the reference's own English texts; the others read their
// file and merge it. A file that cannot be read leaves the English texts as a start for the language.
LoadOutcome LoadTarget(EditorState& s, LanguageNumber n);

// ---- Moving

// Keeps both rows within 1 … count (1 in an empty table).
void ClampRows(EditorState& s);
// Both rows one on (+1) or back (-1); false when the reference row is already at the end.
bool StepBoth(EditorState& s, int delta);
// The target row alone; false at the end.
bool StepTarget(EditorState& s, int delta);
// Both rows to row n, kept within 1 … count.
void GoToRow(EditorState& s, long long n);

// ---- Editing

// A field as it can stand in a file line: TAB, CR and LF become blanks.
std::string CleanFieldText(std::string_view text);
// Fields 1 … 4 of the current reference row from the edit fields; true when one of them changed.
bool CommitReferenceFields(EditorState& s, const std::array<std::string, kEditableFields>& fields);
// "EN übernehmen": the current reference row's English texts become the current target row's texts.
void CopyEnglish(EditorState& s);
// "Zeile einfügen": the target texts from the current target row on move one row down; the current
// target row's become empty and the last row's fall out of the table.
void InsertTargetRow(EditorState& s);
// Whether "Zeile einfügen" would push target texts out of the table.
bool InsertTargetRowLosesTexts(const EditorState& s);
// "Zeile löschen": the rows from the current target row on take the target texts of the row below; the
// last row's become empty.
void DeleteTargetRow(EditorState& s);
// "+": an empty row (all eight fields) at the current reference row; the rows from there on move down.
void InsertReferenceRow(EditorState& s);

// ---- Search

// The first row after the current reference row whose field in the selected column contains the term
// (exact characters); with the row-number column selected, fields 1 … 4 are searched. An empty term
// finds nothing.
std::optional<int> FindRow(const EditorState& s, std::string_view term);

// ---- Writing

// The rows as lines of the target's file: fields 1 … 4 of the reference, the target's caption and hint.
std::vector<LanguageRow> TargetFileRows(const EditorState& s);
std::string TargetFilePath(const EditorState& s);
// Replaces the target's file atomically. On failure the old file stays; the problem names the file and
// says why (the system's own words, not a table text).
Outcome WriteTargetFile(EditorState& s);

// ---- The editor's own texts

// The language of "EinStell.Txt" (German without it) and its table for the window texts. false when the
// table cannot be read: the window then keeps its built-in German texts.
bool LoadEditorTexts(EditorState& s);

}  // namespace tolvek::langedit
