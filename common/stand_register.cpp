#include "common/stand_register.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <utility>

#include "common/format.h"
#include "common/paths.h"

namespace tolvek {
namespace {

constexpr std::string_view kStandTypeLetters = "ABCDEFGH";
constexpr std::string_view kDevelopmentLetters = "abcdefgh";
constexpr std::string_view kAgeDigits = "23456";
constexpr std::string_view kTreatmentDigits = "12345";

// 1-based position of c in letters, 0 when it is not there.
int PositionIn(std::string_view letters, char c) {
  std::size_t p = letters.find(c);
  return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

bool SameAsciiIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// A line's content: a line end written twice ("\r\r\n") leaves no carriage return in the columns.
std::string_view WithoutCarriageReturn(std::string_view raw) {
  while (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
  return raw;
}

// A register saved by a Windows editor as UTF-8 begins with a byte-order mark; it is no column.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The bytes of a line that hold its columns: no byte-order mark before them, no carriage return after.
std::string_view ColumnBytes(std::string_view raw) {
  raw = WithoutCarriageReturn(raw);
  if (raw.substr(0, kByteOrderMark.size()) == kByteOrderMark) raw.remove_prefix(kByteOrderMark.size());
  return raw;
}

// The byte offset of a 1-based character column in valid UTF-8 text (its size beyond the end).
std::size_t Utf8Offset(std::string_view text, int column) {
  std::size_t at = 0;
  for (int n = 1; n < column && at < text.size(); ++n) {
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
  }
  return at;
}

// Puts ASCII characters at 1-based columns (all within the line) of a raw line. The columns are those of
// Text(), and so must they be after the change: a line read as Windows-1252 keeps its bytes only while
// it still does not read as UTF-8 (one new letter can make it valid UTF-8, and then every column behind a
// character above ASCII would move). Otherwise the line is written as this program writes, in UTF-8.
void SetRawColumns(std::string& raw, std::initializer_list<std::pair<int, char>> columns) {
  const std::string_view content = ColumnBytes(raw);
  const std::size_t begin = static_cast<std::size_t>(content.data() - raw.data());
  const std::string ending = raw.substr(begin + content.size());
  std::string text = DecodeTextLine(content);
  for (const auto& [column, c] : columns) {
    const std::size_t at = Utf8Offset(text, column);
    const std::size_t next = Utf8Offset(text, column + 1);
    text.replace(at, next - at, 1, c);
  }
  std::string bytes(content);
  if (!IsValidUtf8(content)) {
    for (const auto& [column, c] : columns) bytes[static_cast<std::size_t>(column - 1)] = c;
    if (DecodeTextLine(bytes) != text) bytes = text;
  } else {
    bytes = text;
  }
  raw = raw.substr(0, begin) + bytes + ending;
}

}  // namespace

std::string RegisterColumns(std::string_view line, int first, int last) {
  if (first < 1 || last < first) return {};
  const std::size_t count = static_cast<std::size_t>(last - first + 1);
  std::string s = Utf8Mid(line, static_cast<std::size_t>(first - 1), count);
  const std::size_t have = Utf8Length(s);
  if (have < count) s.append(count - have, ' ');
  return s;
}

char RegisterColumn(std::string_view line, int column) {
  std::string c = RegisterColumns(line, column, column);
  return c.size() == 1 ? c[0] : '?';  // a character beyond ASCII is no code letter
}

std::optional<RegisterClass> DecodeRegisterClass(std::string_view line, ClassificationMode mode) {
  if (static_cast<int>(Utf8Length(line)) < kRegisterClassColumns) return std::nullopt;
  RegisterClass c;
  if (mode == ClassificationMode::DevelopmentTypes) {
    c.type = PositionIn(kDevelopmentLetters, RegisterColumn(line, 31));
    const char t = RegisterColumn(line, 33);
    c.klass = t == ' ' ? 1 : PositionIn(kTreatmentDigits, t);
  } else {
    c.type = PositionIn(kStandTypeLetters, RegisterColumn(line, 32));
    c.klass = PositionIn(kAgeDigits, RegisterColumn(line, 34));
  }
  if (c.type < 1 || c.type > kTypeCount || c.klass < 1 || c.klass > kClassCount) return std::nullopt;
  return c;
}

const char* StandTypeName(int type) {
  static const char* const kNames[kTypeCount + 1] = {
      "Alle Bestandestypen", "(A) Fichte - Ta, sLb", "(B) Tanne - Kie, sLb", "(C) Kiefer/Dgl - sLb", "(D) Buche - sLb",
      "(E) Eiche - sLb",     "(F) Fi/Ta/Bu-Ki, sLb", "(G) Buntlaubbäume",    "(H) Douglasie"};
  return type >= 0 && type <= kTypeCount ? kNames[type] : "";
}

const char* DevelopmentTypeName(int type) {
  static const char* const kNames[kTypeCount + 1] = {
      "Alle WET         ",    "(a) Fichte-Mischwald", "(b) Tanne-Mischwald", "(c) Kiefer-Mischwald", "(d) Buche-Mischwald",
      "(e) Eiche-Mischwald", "(f) lab.Fi-Mischwald", "(g) Buntlaubbäume",   "(h) Dougl.-Mischwald"};
  return type >= 0 && type <= kTypeCount ? kNames[type] : "";
}

const char* TreatmentTypeName(int treatment) {
  static const char* const kNames[kClassCount] = {"JPF", "DF", "VPF", "VN", "DW"};
  return treatment >= 1 && treatment <= kClassCount ? kNames[treatment - 1] : "";
}

char TypeLetter(ClassificationMode mode, int type) {
  if (type < 1 || type > kTypeCount) return ' ';
  const std::string_view letters = mode == ClassificationMode::DevelopmentTypes ? kDevelopmentLetters : kStandTypeLetters;
  return letters[static_cast<std::size_t>(type - 1)];
}

char ClassDigit(ClassificationMode mode, int klass) {
  if (klass < 1 || klass > kClassCount) return ' ';
  const std::string_view digits = mode == ClassificationMode::DevelopmentTypes ? kTreatmentDigits : kAgeDigits;
  return digits[static_cast<std::size_t>(klass - 1)];
}

std::string RegisterItemText(std::string_view line) {
  return RegisterColumns(line, 1, 8) + " > " + RegisterColumns(line, 14, 26);
}

std::string RegisterCode(std::string_view line) { return RegisterColumns(line, 1, 8); }
std::string RegisterFileName(std::string_view line) { return RegisterColumns(line, 1, 12); }

bool HasRegisterCorners(std::string_view line) { return !line.empty() && (line[0] == 'S' || line[0] == 's'); }

CornerProblem ReadRegisterCorners(std::string_view line, RegisterCornerValues& corners) {
  if (static_cast<int>(Utf8Length(line)) < kRegisterLineLength) return CornerProblem::TooShort;
  RegisterCornerValues v;
  for (int i = 0; i < kRegisterCorners; ++i) {
    for (int axis = 0; axis < 2; ++axis) {
      const int first = 35 + 14 * i + 7 * axis;
      std::string field = RegisterColumns(line, first, first + 6);
      const std::size_t b = field.find_first_not_of(' ');
      double value = 0.0;
      if (b != std::string::npos) {
        const std::size_t e = field.find_last_not_of(' ');
        std::optional<double> parsed = ParseReal(std::string_view(field).substr(b, e - b + 1));
        if (!parsed) return CornerProblem::NotANumber;
        value = *parsed;
      }
      (axis == 0 ? v.x : v.y)[static_cast<std::size_t>(i)] = value;
    }
  }
  corners = v;
  return CornerProblem::None;
}

std::string RegisterFileLine::Text() const { return DecodeTextLine(ColumnBytes(raw)); }

bool RegisterFileLine::Empty() const { return ColumnBytes(raw).empty(); }

RegisterFileProblem ReadRegisterFile(const std::string& path, RegisterFile& file) {
  if (!FileExists(path)) return RegisterFileProblem::Missing;
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return RegisterFileProblem::Unreadable;
  RegisterFile f;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t j = bytes.find('\n', i);
    if (j == std::string::npos) {
      f.lines.push_back({bytes.substr(i), false});
      break;
    }
    f.lines.push_back({bytes.substr(i, j - i), true});
    i = j + 1;
  }
  file = std::move(f);
  return RegisterFileProblem::None;
}

std::string EncodeRegisterFile(const RegisterFile& file) {
  std::string out;
  for (std::size_t i = 0; i < file.lines.size(); ++i) {
    const RegisterFileLine& l = file.lines[i];
    out += l.raw;
    if (l.lineFeed) {
      out += '\n';
    } else if (i + 1 < file.lines.size()) {
      if (out.empty() || out.back() != '\r') out += '\r';
      out += '\n';
    }
  }
  return out;
}

Outcome WriteRegisterFile(const std::string& path, const RegisterFile& file) {
  return WriteFileAtomic(path, EncodeRegisterFile(file));
}

RegisterFileLine NewRegisterLine(std::string_view text) { return {std::string(text) + "\r", true}; }

std::vector<std::size_t> RegisterLinesOf(const RegisterFile& file, std::string_view code) {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < file.lines.size(); ++i)
    if (SameAsciiIgnoringCase(RegisterCode(file.lines[i].Text()), code)) found.push_back(i);
  return found;
}

ClassWriteResult SetRegisterClass(RegisterFile& file, std::string_view code, ClassificationMode mode,
                                  RegisterClass cls) {
  const std::vector<std::size_t> lines = RegisterLinesOf(file, code);
  if (lines.empty()) return ClassWriteResult::NoSuchStand;
  if (lines.size() > 1) return ClassWriteResult::SeveralLines;
  RegisterFileLine& line = file.lines[lines.front()];
  if (static_cast<int>(Utf8Length(line.Text())) < kRegisterClassColumns) return ClassWriteResult::LineTooShort;
  const bool wet = mode == ClassificationMode::DevelopmentTypes;
  SetRawColumns(line.raw, {{wet ? 31 : 32, TypeLetter(mode, cls.type)}, {wet ? 33 : 34, ClassDigit(mode, cls.klass)}});
  return ClassWriteResult::Written;
}

std::string GeneratedStandFileName(int number) {
  std::string digits = std::to_string(number);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return "Stand" + digits + ".txt";
}

std::string RegisterShortName(std::string_view name) {
  std::string clean(name);
  // A tab or line break would split the line or shift its columns.
  for (char& c : clean)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  if (!IsValidUtf8(clean)) clean = Cp1252ToUtf8(clean);
  std::string s = Utf8Left(clean, kRegisterShortNameLength);
  const std::size_t have = Utf8Length(s);
  if (have < static_cast<std::size_t>(kRegisterShortNameLength))
    s.append(static_cast<std::size_t>(kRegisterShortNameLength) - have, ' ');
  return s;
}

std::optional<std::string> RegisterLineFor(const GeneratedStandIdentity& id, double w, double h,
                                           RegisterCornerForm form) {
  const std::string fh = FormatFixed(7, 2, h);
  const std::string fw = FormatFixed(7, 2, w);
  if (fh.size() != 7 || fw.size() != 7 || !(w > 0.0) || !(h > 0.0)) return std::nullopt;
  if (id.number < 0 || id.number > 999) return std::nullopt;
  std::string line = GeneratedStandFileName(id.number) + " " + RegisterShortName(id.shortName) + "M";
  line += id.developmentType;
  line += id.standType;
  line += id.treatmentDigit;
  line += id.ageDigit;
  line += form == RegisterCornerForm::Generated ? "   00.0   0.00" : fw + fh;
  line += "   0.00" + fh + fw + fh + fw + "   0.00";
  return line;
}

void ReplaceRegisterEntry(RegisterFile& file, std::string_view fileName, const std::string* newLine) {
  std::vector<RegisterFileLine> kept;
  kept.reserve(file.lines.size() + 1);
  for (RegisterFileLine& l : file.lines) {
    if (l.Empty()) continue;
    if (SameAsciiIgnoringCase(RegisterFileName(l.Text()), fileName)) continue;
    kept.push_back(std::move(l));
  }
  if (newLine) kept.push_back(NewRegisterLine(*newLine));
  file.lines = std::move(kept);
}

std::vector<std::string> RegisterComboItems(const RegisterFile& file) {
  std::vector<std::string> items;
  for (const RegisterFileLine& l : file.lines) {
    if (l.Empty()) continue;
    const std::string text = l.Text();
    items.push_back(RegisterColumns(text, 6, 8) + " " + RegisterColumns(text, 14, 29));
  }
  return items;
}

}  // namespace tolvek
