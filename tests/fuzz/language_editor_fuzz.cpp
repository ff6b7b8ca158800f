// The language-table editor's reading: the English table as the reference and a target language's
// table merged beside it, then written as the target's file, which reads back as the rows written.
// Input: the reference file's text, a line "##ZIEL##", the target file's text.
#include "common/language.h"
#include "common/paths.h"
#include "langedit/editor.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;
using namespace tolvek::langedit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchFolder folder;
  const fuzz::TwoFiles in = fuzz::SplitAt(fuzz::Bytes(data, size), "\n##ZIEL##\n");
  folder.Write("SpracheEN.txt", in.first);
  folder.Write("SpracheCZ.txt", in.second);

  EditorState s;
  s.folder = folder.path();
  const LoadOutcome reference = LoadReference(s);
  fuzz::Check(reference.result != LoadResult::kUnreadable, "a file that is there is read");
  if (!s.referenceLoaded) {
    fuzz::Check(RowCount(s) == 0, "an empty reference leaves nothing to edit");
    return 0;
  }
  LoadTarget(s, 3);
  fuzz::Check(s.referenceRow >= 1 && s.referenceRow <= RowCount(s), "the rows stay within the table");
  FindRow(s, "Bestand");
  StepBoth(s, 1);
  InsertTargetRow(s);
  DeleteTargetRow(s);

  const std::vector<LanguageRow> rows = TargetFileRows(s);
  fuzz::Check(static_cast<int>(rows.size()) == RowCount(s), "one line per row");
  fuzz::Check(WriteTargetFile(s).ok(), "the target file can be written");
  std::vector<LanguageRow> back;
  fuzz::Check(ReadLanguageRows(TargetFilePath(s), back), "the written file reads");
  fuzz::Check(back.size() == rows.size(), "the written file has a line per row");
  for (std::size_t i = 0; i < rows.size(); ++i)
    fuzz::Check(back[i].field == rows[i].field, "every row reads back as written");
  return 0;
}
