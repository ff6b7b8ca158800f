#pragma once
// The master language table (master.tsv) and the seven language files made from it. Kept in a header
// so that the tool and its test build the files the same way.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"
#include "common/paths.h"

namespace tolvek::langtables {

inline constexpr int kMasterFields = 16;

// One master row: form id, component, German caption and hint, then caption and hint of
// EN, CZ, FR, SP, PL, TR.
struct MasterRow {
  std::array<std::string, kMasterFields> field;
  int line = 0;  // line number in master.tsv, for messages
};

// The six foreign languages in the order of the master columns, with their file names.
struct ForeignLanguage {
  const char* code;
  const char* file;
};
inline constexpr std::array<ForeignLanguage, 6> kForeignLanguages{{{"EN", "SpracheEN.txt"},
                                                                  {"CZ", "SpracheCZ.txt"},
                                                                  {"FR", "SpracheFR.txt"},
                                                                  {"SP", "SpracheSP.txt"},
                                                                  {"PL", "SprachePL.txt"},
                                                                  {"TR", "SpracheTR.txt"}}};
inline constexpr const char* kGermanFile = "Sprache.txt";

// Parses master.tsv text. Lines starting with "#" and empty lines are comments; a row may have fewer
// than 16 fields (the missing ones are empty) but not more. false with a message naming the line.
inline bool ParseMaster(std::string_view text, std::vector<MasterRow>& rows, std::string& error) {
  rows.clear();
  // An editor may have put a byte-order mark in front: it is not part of the first row.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int lineNo = 0;
  for (const std::string& line : SplitTextLines(text)) {
    ++lineNo;
    if (line.empty() || line.front() == '#') continue;
    MasterRow row;
    row.line = lineNo;
    std::size_t start = 0;
    int f = 0;
    for (;;) {
      std::size_t tab = line.find('\t', start);
      if (f >= kMasterFields) {
        error = "master.tsv line " + std::to_string(lineNo) + ": more than 16 fields";
        return false;
      }
      row.field[f++] = line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    if (row.field[kFieldFormId].empty() && row.field[kFieldComponent].empty() &&
        row.field[kFieldGermanHint].empty()) {
      error = "master.tsv line " + std::to_string(lineNo) + ": a message row needs its German text in field 4";
      return false;
    }
    rows.push_back(std::move(row));
  }
  return true;
}

// The stand generator's own windows: their rows must follow every message row (its label look-up
// starts at the last row with an empty form id).
inline bool IsGeneratorForm(const std::string& formId) {
  return formId == "F3" || formId == "F4" || formId == "F5" || formId == "F6" || formId == "F7";
}
// The notes block of "Wichtige Hinweise": looked for from row 201 on, so it comes last.
inline bool IsNotesRow(const MasterRow& r) { return r.field[kFieldComponent] == "MemHilfe"; }

// Master rows in file order: the simulator's and message rows first, then the generator's windows,
// then the notes block; each group keeps the order of master.tsv.
inline std::vector<const MasterRow*> OrderedRows(const std::vector<MasterRow>& rows) {
  std::vector<const MasterRow*> out;
  for (const auto& r : rows)
    if (!IsNotesRow(r) && !IsGeneratorForm(r.field[kFieldFormId])) out.push_back(&r);
  for (const auto& r : rows)
    if (!IsNotesRow(r) && IsGeneratorForm(r.field[kFieldFormId])) out.push_back(&r);
  for (const auto& r : rows)
    if (IsNotesRow(r)) out.push_back(&r);
  return out;
}

// The rows of one language file. foreign -1 makes "Sprache.txt", whose foreign columns repeat the
// German ones; 0 … 5 the files of kForeignLanguages.
inline std::vector<LanguageRow> LanguageRowsFor(const std::vector<MasterRow>& rows, int foreign) {
  std::vector<LanguageRow> out;
  for (const MasterRow* m : OrderedRows(rows)) {
    LanguageRow r;
    for (int f = 0; f < 4; ++f) r.field[f] = m->field[f];
    if (foreign < 0) {
      r.field[kFieldForeignCaption] = m->field[kFieldGermanCaption];
      r.field[kFieldForeignHint] = m->field[kFieldGermanHint];
    } else {
      r.field[kFieldForeignCaption] = m->field[4 + 2 * foreign];
      r.field[kFieldForeignHint] = m->field[5 + 2 * foreign];
    }
    out.push_back(std::move(r));
  }
  return out;
}

struct LanguageFileOut {
  std::string name;
  std::vector<LanguageRow> rows;
};
inline std::vector<LanguageFileOut> AllLanguageFiles(const std::vector<MasterRow>& rows) {
  std::vector<LanguageFileOut> files;
  files.push_back({kGermanFile, LanguageRowsFor(rows, -1)});
  for (int i = 0; i < static_cast<int>(kForeignLanguages.size()); ++i)
    files.push_back({kForeignLanguages[i].file, LanguageRowsFor(rows, i)});
  return files;
}

}  // namespace tolvek::langtables
