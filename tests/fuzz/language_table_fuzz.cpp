// A language file: one row per line, and the look-ups every window and message makes in it.
#include "common/language.h"
#include "common/paths.h"
#include "simulator/translate.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> lines = SplitTextLines(fuzz::Bytes(data, size));
  LanguageTable table;
  table.rows = LanguageRowsFromLines(lines);
  fuzz::Check(table.rows.size() == lines.size(), "every line is a row");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::size_t tabs = 0;
    for (char c : lines[i]) tabs += c == '\t';
    if (tabs >= 5) fuzz::Check(JoinLanguageRow(table.rows[i]) == lines[i], "a full row is written back as read");
  }
  MessageSectionStart(table.rows);
  for (int selector : {1, 2}) {
    table.selector = selector;
    for (std::size_t i = 0; i < table.rows.size() && i < 64; ++i) {
      const LanguageRow& row = table.rows[i];
      Translate(table, row.field[kFieldGermanHint]);
      LookupComponentTexts(table, row.field[kFieldFormId], row.field[kFieldComponent]);
      LookupNextRowText(table, row.field[kFieldFormId], row.field[kFieldComponent]);
    }
    Translate(table, "weiter");
    ImportantNotes(table);
  }
  return 0;
}
