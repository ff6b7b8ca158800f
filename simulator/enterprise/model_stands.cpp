#include "simulator/enterprise/model_stands.h"

#include <filesystem>
#include <map>
#include <system_error>

#include "common/format.h"
#include "simulator/translate.h"

namespace tolvek {
namespace {

std::string LineNumbers(const std::vector<int>& lines) {
  std::string s;
  for (int n : lines) {
    if (!s.empty()) s += ' ';
    s += std::to_string(n);
  }
  return s;
}

// Reads one register into the table; what is wrong with it goes into problems.
void LoadRegister(const std::string& path, bool generated, ClassificationMode mode, ModelStandTable& t,
                  std::vector<Problem>& problems) {
  RegisterFile file;
  switch (ReadRegisterFile(path, file)) {
    case RegisterFileProblem::Missing:
      problems.push_back({"Modellbestandsregister nicht gefunden", path});
      return;
    case RegisterFileProblem::Unreadable:
      problems.push_back({"Datei kann nicht gelesen werden", path});
      return;
    case RegisterFileProblem::None:
      break;
  }
  std::vector<int> shortLines, badCorners;
  for (std::size_t i = 0; i < file.lines.size(); ++i) {
    const std::string line = file.lines[i].Text();
    if (line.find_first_not_of(' ') == std::string::npos) continue;
    const int lineNumber = static_cast<int>(i) + 1;
    if (static_cast<int>(Utf8Length(line)) < kRegisterClassColumns) {
      shortLines.push_back(lineNumber);
      continue;
    }
    std::optional<RegisterClass> cls = DecodeRegisterClass(line, mode);
    if (!cls) continue;  // no class in this mode: not a model stand of it
    ModelStandEntry e;
    e.itemText = RegisterItemText(line);
    e.code = RegisterCode(line);
    e.cls = *cls;
    e.generatedRegister = generated;
    if (HasRegisterCorners(line)) {
      const CornerProblem p = ReadRegisterCorners(line, e.corners);
      if (p == CornerProblem::TooShort) {
        shortLines.push_back(lineNumber);
        continue;
      }
      if (p == CornerProblem::NotANumber) {
        badCorners.push_back(lineNumber);
        continue;
      }
      e.hasCorners = true;
    }
    t.entries.push_back(std::move(e));
    const int number = t.Count();
    const auto ty = static_cast<std::size_t>(cls->type);
    const auto k = static_cast<std::size_t>(cls->klass);
    ++t.counts[ty][k];
    ++t.counts[ty][0];
    t.cells[ty][k].entries.push_back(number);
    t.cells[ty][k].hits.push_back(0);
    if (cls->klass > t.highestClass[ty]) t.highestClass[ty] = static_cast<std::uint8_t>(cls->klass);
  }
  if (!shortLines.empty())
    problems.push_back(
        {"Zeile des Modellbestandsregisters zu kurz, übersprungen", path + ", Nr. " + LineNumbers(shortLines)});
  if (!badCorners.empty())
    problems.push_back({"Eckpunkt im Modellbestandsregister ist keine Zahl, Zeile übersprungen",
                        path + ", Nr. " + LineNumbers(badCorners)});
}

// The name a model stand has in the statistics: "# 95" for "Bestnd95", "#305" for "Stand305".
std::string StatisticsName(const std::string& itemText) {
  const std::string code = Utf8Left(itemText, 8);
  if (code.rfind("Bestnd", 0) == 0) return "# " + Utf8Mid(code, 6, 2);
  if (code.rfind("Stand", 0) == 0) return "#" + Utf8Mid(code, 5, 3);
  return code;
}

}  // namespace

std::array<std::string, kTypeSlots> TypeNames(ClassificationMode mode, const LanguageTable& language) {
  std::array<std::string, kTypeSlots> names;
  for (int t = 0; t <= kTypeCount; ++t)
    names[static_cast<std::size_t>(t)] = mode == ClassificationMode::DevelopmentTypes
                                             ? std::string(DevelopmentTypeName(t))
                                             : Translate(language, StandTypeName(t));
  return names;
}

std::string ModelStandCaption(bool realStands, bool generatedStands, const LanguageTable& language) {
  if (realStands && !generatedStands) return Translate(language, "Nur reale Bestände");
  if (generatedStands && !realStands) return Translate(language, "Nur generierte Bestände");
  return Translate(language, "Reale und generierte Bestände");
}

const ModelStandEntry* ModelStandTable::Entry(int number) const {
  if (number < 1 || number > Count()) return nullptr;
  return &entries[static_cast<std::size_t>(number - 1)];
}

std::string RegisterPath(const ProgramFolders& folders, const char* registerName) {
  return ResolveIn(folders.presets, registerName);
}

ModelStandTable LoadModelStandTable(const ProgramFolders& folders, bool realStands, bool generatedStands,
                                    ClassificationMode mode, std::vector<Problem>& problems) {
  ModelStandTable t;
  if (realStands) LoadRegister(RegisterPath(folders, kRealRegisterName), false, mode, t, problems);
  if (generatedStands) LoadRegister(RegisterPath(folders, kGeneratedRegisterName), true, mode, t, problems);
  // A code listed twice: the list shows both, the classification cannot tell which line to change.
  std::map<std::string, int> seen;
  std::string twice;
  for (const ModelStandEntry& e : t.entries)
    if (++seen[e.code] == 2) twice += (twice.empty() ? "" : ", ") + e.code;
  if (!twice.empty()) problems.push_back({"Bestand steht mehrfach im Modellbestandsregister", twice});
  t.loaded = true;
  return t;
}

void CountModelStandHit(ModelStandTable& table, int entry) {
  for (int ty = 1; ty <= kTypeCount; ++ty) {
    for (int k = 1; k <= kClassCount; ++k) {
      ModelStandCell& c = table.cells[static_cast<std::size_t>(ty)][static_cast<std::size_t>(k)];
      for (std::size_t i = 0; i < c.entries.size(); ++i) {
        if (c.entries[i] == entry) {
          ++c.hits[i];
          return;
        }
      }
    }
  }
}

std::optional<std::string> ModelStandTreePath(const ProgramFolders& folders, const ModelStandTable& table, int entry) {
  const ModelStandEntry* e = table.Entry(entry);
  if (!e) return std::nullopt;
  return JoinPath(folders.program, "Bestande/" + e->code + ".txt");
}

std::string ModelStandOverview(const ModelStandTable& table, ClassificationMode mode, const LanguageTable& language,
                               const std::string& caption) {
  const std::string cr = "\r";
  const std::string tab = "\t";
  const std::string line = cr + "  " + std::string(90, '-');
  std::string s = tab + tab + tab + Translate(language, "Anzahl der Modell - Bestände") + cr + tab + tab + tab +
                  caption + cr + line + cr;
  if (mode == ClassificationMode::DevelopmentTypes) {
    s += "    " + PadRight(Translate(language, "Behandlungstyp"), 15) + tab + "   JPF" + tab + "   DF" + tab + "  VPF" +
         tab + "   VN" + tab + "  DW" + tab + "  Alle" + line;
  } else {
    s += "    " + PadRight(Translate(language, "Altersklasse"), 15) + tab + "  1./2.";
    for (int k = 3; k <= 6; ++k) s += tab + FormatInt(k, 5) + ".";
    s += tab + "    Alle" + line;
  }
  const std::array<std::string, kTypeSlots> names = TypeNames(mode, language);
  std::array<long long, kClassCount + 1> columnSums{};
  long long total = 0;
  for (int ty = 1; ty <= kTypeCount; ++ty) {
    std::string name = Utf8Left(Translate(language, names[static_cast<std::size_t>(ty)]), 20);
    do name += ' ';
    while (Utf8Length(name) < 19);
    s += cr + "    " + name;
    long long rowSum = 0;
    for (int k = 1; k <= kClassCount; ++k) {
      const std::int32_t n = table.counts[static_cast<std::size_t>(ty)][static_cast<std::size_t>(k)];
      s += tab + FormatInt(n, 6);
      rowSum += n;
      columnSums[static_cast<std::size_t>(k)] += n;
    }
    s += tab + FormatInt(rowSum, 6);
    total += rowSum;
  }
  s += line + cr + "   " + Translate(language, "Summe:") + tab;
  for (int k = 1; k <= kClassCount; ++k) s += tab + FormatInt(columnSums[static_cast<std::size_t>(k)], 6);
  s += tab + FormatInt(total, 6) + line;
  return s;
}

std::string ModelStandOverviewDisplay(std::string_view overview) {
  // Tab stops at 16 and 26 characters, then every 8: the sum line reaches the first number column
  // with two tabs, the rows with one after their name.
  auto nextStop = [](std::size_t column) -> std::size_t {
    if (column < 16) return 16;
    if (column < 26) return 26;
    return 26 + ((column - 26) / 8 + 1) * 8;
  };
  std::string out;
  std::size_t column = 0;
  for (std::size_t i = 0; i < overview.size(); ++i) {
    const char c = overview[i];
    if (c == '\r' || c == '\n') {
      out += '\n';
      column = 0;
    } else if (c == '\t') {
      const std::size_t stop = nextStop(column);
      out.append(stop - column, ' ');
      column = stop;
    } else {
      out += c;
      if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++column;
    }
  }
  return out;
}

std::string TypeChoiceCaption(const ModelStandTable& table, const std::array<std::string, kTypeSlots>& names,
                              int type) {
  if (type < 1 || type > kTypeCount) return {};
  return names[static_cast<std::size_t>(type)] + "  (" + FormatInt(table.counts[static_cast<std::size_t>(type)][0], 2) +
         ")";
}

std::string ClassRegisterFor(const ProgramFolders& folders, std::string_view standText) {
  std::optional<long long> n = ParseInt(Utf8Mid(standText, 5, 3));
  return RegisterPath(folders, n && *n >= 300 ? kGeneratedRegisterName : kRealRegisterName);
}

ClassReadResult ReadStandClass(const std::string& registerPath, std::string_view code, ClassificationMode mode,
                               MatrixCell& cell) {
  RegisterFile file;
  if (ReadRegisterFile(registerPath, file) != RegisterFileProblem::None) return ClassReadResult::Unreadable;
  const std::vector<std::size_t> found = RegisterLinesOf(file, RegisterColumns(code, 1, 8));
  if (found.empty()) return ClassReadResult::NoSuchStand;
  if (found.size() > 1) return ClassReadResult::SeveralLines;
  const std::string text = file.lines[found.front()].Text();
  const bool wet = mode == ClassificationMode::DevelopmentTypes;
  const std::string rows = wet ? "abcdefgh " : "ABCDEFGH ";
  const std::string columns = wet ? "12345 " : "23456 ";
  const std::size_t r = rows.find(RegisterColumn(text, wet ? 31 : 32));
  const std::size_t c = columns.find(RegisterColumn(text, wet ? 33 : 34));
  cell.row = r == std::string::npos ? 0 : static_cast<int>(r) + 1;
  cell.column = c == std::string::npos ? 0 : static_cast<int>(c) + 1;
  return ClassReadResult::Found;
}

ClassWriteOutcome WriteStandClass(const std::string& registerPath, std::string_view code, ClassificationMode mode,
                                  MatrixCell cell) {
  ClassWriteOutcome o;
  RegisterFile file;
  if (ReadRegisterFile(registerPath, file) != RegisterFileProblem::None) {
    o.unreadable = true;
    return o;
  }
  o.result = SetRegisterClass(file, RegisterColumns(code, 1, 8), mode, {cell.row, cell.column});
  if (o.result != ClassWriteResult::Written) return o;
  o.writeFailed = !WriteRegisterFile(registerPath, file).ok();
  return o;
}

std::string ClassWriteMessage(const ClassWriteOutcome& o, const std::string& registerPath, std::string_view code,
                              const LanguageTable& language) {
  if (o.ok()) return {};
  if (o.unreadable) return Translate(language, "Datei kann nicht gelesen werden") + ": " + registerPath;
  if (o.writeFailed) return Translate(language, "Datei konnte nicht geschrieben werden:") + " " + registerPath;
  const std::string stand = std::string(code) + ": " + registerPath;
  switch (o.result) {
    case ClassWriteResult::NoSuchStand:
      return Translate(language, "Bestand nicht im Modellbestandsregister, Klasse nicht geändert") + "#" + stand;
    case ClassWriteResult::SeveralLines:
      return Translate(language, "Bestand steht mehrfach im Modellbestandsregister, Klasse nicht geändert") + "#" +
             stand;
    case ClassWriteResult::LineTooShort:
      return Translate(language, "Zeile des Modellbestandsregisters zu kurz, Klasse nicht geändert") + "#" + stand;
    case ClassWriteResult::Written:
      break;
  }
  return {};
}

void AddStatisticsArea(ModelStandStatisticsInputs& in, int typePosition, int klass, double areaHa) {
  // A position or class outside the table would be counted in the sums as well as in a wrong cell.
  if (typePosition < 1 || typePosition > 5 || klass < 1 || klass > 5) return;
  const auto p = static_cast<std::size_t>(typePosition);
  const auto k = static_cast<std::size_t>(klass);
  in.area[p][k] += areaHa;
  in.area[p][0] += areaHa;
  in.area[0][k] += areaHa;
  in.area[0][0] += areaHa;
}

std::vector<std::string> ModelStandStatisticsLines(const ModelStandTable& table, const ModelStandStatisticsInputs& in,
                                                   bool* written) {
  const double density = in.spacingX * in.spacingY * 1e-4;
  std::vector<std::string> lines = {"Bt  Ak E(N)   Modellbestand-Nr.", "       S(N)   Häufigkeit", ""};
  bool any = false;
  for (int ty = 1; ty <= kTypeCount; ++ty) {
    const int position = in.typePosition[static_cast<std::size_t>(ty)];
    if (position < 1 || position > 5) continue;
    any = true;
    for (int k = 1; k <= kClassCount; ++k) {
      const ModelStandCell& cell = table.cells[static_cast<std::size_t>(ty)][static_cast<std::size_t>(k)];
      const double expected =
          density > 0.0 ? in.area[static_cast<std::size_t>(position)][static_cast<std::size_t>(k)] / density : 0.0;
      std::string first =
          std::string(1, static_cast<char>('A' + ty - 1)) + FormatInt(k, 4) + FormatFixed(5, 0, expected) + "  ";
      for (int e : cell.entries) {
        const ModelStandEntry* entry = table.Entry(e);
        first += ' ';
        if (entry) first += StatisticsName(entry->itemText);
      }
      lines.push_back(first);
      if (!cell.entries.empty()) {
        long long sum = 0;
        std::string counters;
        for (std::int32_t h : cell.hits) {
          sum += h;
          counters += FormatInt(h, 5);
        }
        lines.push_back("     " + FormatInt(sum, 5) + "  " + counters);
      }
      lines.push_back("");
    }
  }
  if (any) {
    lines.push_back("Bt   - Bestandestyp, Ak - Altersklasse)");
    lines.push_back("E(N) - Erwartungswert der Häufigkeiten (Fläche/Gitterdichte)");
    lines.push_back("S(N) - Summe der Bestandes-Häufigkeit");
  } else {
    lines = {"", " Sorry, Tabelle nur bei Veränderung der Betriebsstruktur"};
  }
  if (written) *written = any;
  return lines;
}

Outcome WriteModelStandStatistics(const ProgramFolders& folders, const std::vector<std::string>& lines) {
  std::error_code ec;
  std::filesystem::create_directories(ResolveIn(folders.program, "Temp/"), ec);
  return WriteTextLines(StatisticsFilePath(folders), lines);
}

std::string StatisticsFilePath(const ProgramFolders& folders) {
  return ResolveIn(folders.program, "Temp/StatModBst.txt");
}

bool ModelStandState::CurrentCorners(std::array<double, 5>& x, std::array<double, 5>& y) const {
  const ModelStandEntry* e = table.Entry(cornerEntry);
  if (!e || !e->hasCorners) return false;
  x = e->corners.x;
  y = e->corners.y;
  return true;
}

std::string ModelStandState::EntryText(int index) const {
  const ModelStandEntry* e = table.Entry(index);
  return e ? e->itemText : std::string();
}

std::uint8_t ModelStandState::EntryStandType(int index) const {
  const ModelStandEntry* e = table.Entry(index);
  return e ? static_cast<std::uint8_t>(e->cls.type) : 0;
}

std::uint8_t ModelStandState::EntryAgeClass(int index) const {
  const ModelStandEntry* e = table.Entry(index);
  return e ? static_cast<std::uint8_t>(e->cls.klass) : 0;
}

}  // namespace tolvek

namespace tolvek {

namespace {
const ModelStandCell* CellOf(const ModelStandTable& t, int typeCode, int cls) {
  if (typeCode < 1 || typeCode > kTypeCount || cls < 1 || cls > kClassCount) return nullptr;
  return &t.cells[static_cast<std::size_t>(typeCode)][static_cast<std::size_t>(cls)];
}
}  // namespace

int ModelStandState::CellCount(int typeCode, int cls) const {
  const ModelStandCell* c = CellOf(table, typeCode, cls);
  return c ? static_cast<int>(c->entries.size()) : 0;
}

int ModelStandState::CellEntry(int typeCode, int cls, int i) const {
  const ModelStandCell* c = CellOf(table, typeCode, cls);
  if (!c || i < 1 || i > static_cast<int>(c->entries.size())) return 0;
  return c->entries[static_cast<std::size_t>(i - 1)];
}

int ModelStandState::EntryType(int entry) const { return EntryStandType(entry); }
int ModelStandState::EntryClass(int entry) const { return EntryAgeClass(entry); }

}  // namespace tolvek
