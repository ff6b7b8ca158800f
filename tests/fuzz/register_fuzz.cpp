// The model-stand registers "Tolvek03.txt" and "TolvekGE.txt" as the programs use them: the model-stand
// table in both classifications with its overview, the boundary a stand's register corners give in each
// of the three register folders, a class written by the classification window and read back, and the
// generator's replacement of its stand's line. Every rewrite keeps the lines it does not change byte for
// byte.
// Input: the register's bytes. A checksum of the input picks the register, the stand whose class is
// written and the class, so that mutations wander through all of them.
#include <cmath>

#include "common/paths.h"
#include "common/stand_register.h"
#include "simulator/enterprise/model_stands.h"
#include "simulator/stand/boundary.h"
#include "simulator/stand/stand_files.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;

namespace {

std::string FileBytes(const std::string& path) {
  std::string bytes;
  fuzz::Check(ReadWholeFile(path, bytes), "the register reads back");
  return bytes;
}

void CheckTable(const ModelStandTable& t, const std::vector<Problem>& problems) {
  for (const Problem& p : problems)
    fuzz::Check(!p.message.empty() && !p.where.empty(), "a problem says what and where");
  int counted = 0;
  for (int ty = 1; ty <= kTypeCount; ++ty) {
    int ofType = 0;
    for (int k = 1; k <= kClassCount; ++k) {
      const ModelStandCell& c = t.cells[static_cast<std::size_t>(ty)][static_cast<std::size_t>(k)];
      fuzz::Check(static_cast<int>(c.entries.size()) == t.counts[static_cast<std::size_t>(ty)][static_cast<std::size_t>(k)] &&
                      c.hits.size() == c.entries.size(),
                  "a cell holds as many stands as it counts");
      for (int e : c.entries) {
        const ModelStandEntry* entry = t.Entry(e);
        fuzz::Check(entry && entry->cls == RegisterClass{ty, k}, "a cell holds stands of its class");
      }
      ofType += static_cast<int>(c.entries.size());
    }
    fuzz::Check(t.counts[static_cast<std::size_t>(ty)][0] == ofType, "a type counts the stands of its classes");
    counted += ofType;
  }
  fuzz::Check(counted == t.Count(), "every stand is in one cell");
}

// The boundary of every stand with corners (the first few), as each register folder lays them out.
void CheckCornerBoundaries(const ModelStandTable& t, const std::string& scratch) {
  ModelStandState state;
  state.table = t;
  int tried = 0;
  for (int n = 1; n <= t.Count() && tried < 3; ++n) {
    if (!t.Entry(n)->hasCorners) continue;
    ++tried;
    state.cornerEntry = n;
    for (const char* folder : {"StandsEU", "StandsWW", "StandsGE"}) {
      BoundaryPolygon b;
      if (const Outcome read = ReadBoundary(scratch + folder + "/Grenze00.txt", &state, b); !read.ok()) {
        fuzz::Check(!read.problem().message.empty(), "a refused boundary says why");
        fuzz::Check(b.n == 0, "a refused boundary leaves the polygon untouched");
        continue;
      }
      fuzz::Check(std::isfinite(b.areaHa) && b.areaHa > 0.0, "a boundary has a positive area");
      double minX = b.x[1], minY = b.y[1];
      for (int i = 1; i <= b.n; ++i) {
        fuzz::Check(std::isfinite(b.x[i]) && std::isfinite(b.y[i]), "corners are numbers");
        minX = std::min(minX, b.x[i]);
        minY = std::min(minY, b.y[i]);
      }
      fuzz::Check(minX == 0.0 && minY == 0.0, "a boundary is shifted to a minimum of 0");
    }
  }
}

// The lines of two files that are not at index `changed` must be the same bytes.
void CheckOtherLinesKept(const RegisterFile& before, const RegisterFile& after, std::size_t changed) {
  fuzz::Check(before.lines.size() == after.lines.size(), "a class write keeps the number of lines");
  for (std::size_t i = 0; i < before.lines.size(); ++i)
    if (i != changed)
      fuzz::Check(before.lines[i].raw == after.lines[i].raw, "a class write keeps the other lines byte for byte");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchFolder folder;
  static const ProgramFolders folders = ProgramFoldersFromFolder(folder.path());
  const std::string_view input = fuzz::Bytes(data, size);
  const unsigned sum = fuzz::Checksum(input);
  const bool generated = sum % 2 == 1;
  const std::string path = RegisterPath(folders, generated ? kGeneratedRegisterName : kRealRegisterName);
  folder.Write(std::string("Vorgaben/") + (generated ? kGeneratedRegisterName : kRealRegisterName), input);

  RegisterFile file;
  fuzz::Check(ReadRegisterFile(path, file) == RegisterFileProblem::None, "a register is read");
  fuzz::Check(EncodeRegisterFile(file) == input, "a register is written back byte for byte");

  // The simulator's table, overview and the corners' boundaries, in both classifications.
  const LanguageTable language;
  for (ClassificationMode mode : {ClassificationMode::StandTypes, ClassificationMode::DevelopmentTypes}) {
    std::vector<Problem> problems;
    const ModelStandTable t = LoadModelStandTable(folders, !generated, generated, mode, problems);
    CheckTable(t, problems);
    ModelStandOverviewDisplay(ModelStandOverview(t, mode, language, ModelStandCaption(!generated, generated, language)));
    CheckCornerBoundaries(t, folder.path());
  }

  // The classification window: the class of a stand the register lists (or of the first line's code).
  const ClassificationMode mode = (sum / 2) % 2 == 0 ? ClassificationMode::StandTypes : ClassificationMode::DevelopmentTypes;
  const MatrixCell cell{static_cast<int>((sum / 4) % kTypeCount) + 1, static_cast<int>((sum / 32) % kClassCount) + 1};
  const std::string code = file.lines.empty() ? std::string("Stand301") : RegisterCode(file.lines[(sum / 160) % file.lines.size()].Text());
  const ClassWriteOutcome written = WriteStandClass(path, code, mode, cell);
  RegisterFile after;
  fuzz::Check(ReadRegisterFile(path, after) == RegisterFileProblem::None, "a register is read after a class write");
  if (!written.ok()) {
    fuzz::Check(FileBytes(path) == input, "a class not written leaves the register as it was");
    fuzz::Check(!ClassWriteMessage(written, path, code, language).empty(), "a class not written is reported");
  } else {
    const std::vector<std::size_t> lines = RegisterLinesOf(file, RegisterColumns(code, 1, 8));
    fuzz::Check(lines.size() == 1, "a class is written to the one line of the stand");
    CheckOtherLinesKept(file, after, lines.front());
    MatrixCell back;
    fuzz::Check(ReadStandClass(path, code, mode, back) == ClassReadResult::Found, "a written class is found");
    fuzz::Check(back.row == cell.row && back.column == cell.column, "a written class reads back");
  }

  // The generator: its stand's line replaced or appended, the others kept in order, byte for byte.
  const int number = 301 + static_cast<int>(sum % 699);
  GeneratedStandIdentity id;
  id.number = number;
  id.shortName = "Gen";
  id.standType = 'C';
  id.ageDigit = '4';
  const std::optional<std::string> line = GeneratedRegisterLine(id, 123.0, 45.5);
  fuzz::Check(line.has_value(), "a generated stand has a line");
  RegisterFile replaced = file;
  ReplaceRegisterEntry(replaced, GeneratedStandFileName(number), &*line);
  fuzz::Check(WriteRegisterFile(path, replaced).ok(), "the register is rewritten");
  RegisterFile reread;
  fuzz::Check(ReadRegisterFile(path, reread) == RegisterFileProblem::None, "the rewritten register is read");
  fuzz::Check(!reread.lines.empty() && reread.lines.back().Text() == *line, "the stand's line is last");
  std::size_t k = 0;
  for (const RegisterFileLine& l : file.lines) {
    if (l.Empty() || SameIgnoringCase(RegisterFileName(l.Text()), GeneratedStandFileName(number))) continue;
    fuzz::Check(k + 1 < reread.lines.size(), "the other lines are kept");
    // A last line without a line end gets one when a line follows it.
    const std::string& kept = reread.lines[k++].raw;
    fuzz::Check(kept == l.raw || (!l.lineFeed && kept == l.raw + "\r"), "the other lines are kept byte for byte");
  }
  fuzz::Check(k + 1 == reread.lines.size(), "nothing but the stand's line is added");
  fuzz::Check(RegisterComboItems(reread).size() == reread.lines.size(), "every line is listed");
  return 0;
}
