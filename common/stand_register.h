#pragma once
// The model-stand registers "Vorgaben/Tolvek03.txt" (real model stands) and "Vorgaben/TolvekGE.txt"
// (stands of the generator): one fixed-column line a stand, no header. The simulator reads them, the
// classification window rewrites a stand's class letters, the generator appends and removes lines.
// Every column of a line is read and written here and nowhere else.
//
//   1-12  stand file name ("Stand305.txt"); 1-8 is the stand code that names the tree file
//   13    blank
//   14-29 short name, 16 characters
//   30    mixture code ("M" from the generator)
//   31    forest development type a-h, or blank
//   32    stand type A-H
//   33    treatment type 1-5
//   34    age class digit 2-6
//   35-90 corners 1-4, x and y, 7 characters each; corner 5 (91-104) is not written and reads as (0, 0)
//
// Columns count characters of the decoded line: a line that is valid UTF-8 is read as UTF-8, any other as
// Windows-1252 (one byte a character); a byte-order mark before a line is no column. Reading and writing
// count alike. A rewrite keeps every line it does not change byte for byte, its line end included,
// whatever the encoding the line was written in.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/problem.h"

namespace tolvek {

inline constexpr const char* kRealRegisterName = "Tolvek03.txt";
inline constexpr const char* kGeneratedRegisterName = "TolvekGE.txt";

// The length of a line as the generator writes it; corner 5 lies beyond it.
inline constexpr int kRegisterLineLength = 90;
// A line must reach the age-class column to carry a class.
inline constexpr int kRegisterClassColumns = 34;
inline constexpr int kRegisterShortNameLength = 16;
inline constexpr int kRegisterCorners = 5;

// Which pair of codes classifies a stand: stand types A-H with age classes, or forest development
// types a-h with treatment types.
enum class ClassificationMode : std::uint8_t { StandTypes = 0, DevelopmentTypes = 1 };

// Classes 1..8 of a type and 1..5 of an age class (age digits 2 and lower together) or treatment type.
inline constexpr int kTypeCount = 8;
inline constexpr int kClassCount = 5;

struct RegisterClass {
  int type = 0;   // 1..8
  int klass = 0;  // 1..5
  bool operator==(const RegisterClass&) const = default;
};

// Characters first..last (1-based, inclusive) of a decoded line; blanks stand in beyond its end.
std::string RegisterColumns(std::string_view line, int first, int last);
// The character at a 1-based column, ' ' beyond the end (only meaningful for ASCII columns).
char RegisterColumn(std::string_view line, int column);

// The stand's class by the mode, or nothing when the line does not carry one: mode 1 takes the type from
// column 31 ("abcdefgh") and the treatment from column 33 ("12345", a blank counting as 1); mode 0 the
// type from column 32 ("ABCDEFGH") and the age class from column 34 ("23456"). A line shorter than
// its class columns carries none.
std::optional<RegisterClass> DecodeRegisterClass(std::string_view line, ClassificationMode mode);

// The German names of the types, row 0 naming all types: stand types "(A) Fichte - Ta, sLb" …, forest
// development types "(a) Fichte-Mischwald" …; "" outside 0..8. Stand-type names are translated where
// they are shown, the others are shown as they stand.
const char* StandTypeName(int type);
const char* DevelopmentTypeName(int type);
// "JPF", "DF", "VPF", "VN", "DW" for treatment types 1..5; "" outside.
const char* TreatmentTypeName(int treatment);

// The letters and digits a class is written with.
char TypeLetter(ClassificationMode mode, int type);    // 'A'..'H' / 'a'..'h'; ' ' outside 1..8
char ClassDigit(ClassificationMode mode, int klass);   // '2'..'6' / '1'..'5'; ' ' outside 1..5

// The list text of a line: columns 1-8 + " > " + columns 14-26.
std::string RegisterItemText(std::string_view line);
// The stand code (columns 1-8) and the stand file name (columns 1-12).
std::string RegisterCode(std::string_view line);
std::string RegisterFileName(std::string_view line);
// Whether the line is a generated stand's: it begins with "S", and its corners are read.
bool HasRegisterCorners(std::string_view line);

enum class CornerProblem { None, TooShort, NotANumber };
struct RegisterCornerValues {
  std::array<double, kRegisterCorners> x{};
  std::array<double, kRegisterCorners> y{};
};
// The five corner pairs. A line must reach column 90 (corners 1-4); corner 5 and empty fields read as 0.
CornerProblem ReadRegisterCorners(std::string_view line, RegisterCornerValues& corners);

// ---- One line of the register file as it lies on disk.
struct RegisterFileLine {
  std::string raw;     // the bytes before the line feed (a carriage return included)
  bool lineFeed = true;  // false only for a last line without a line end
  // The line decoded (UTF-8 kept, anything else read as Windows-1252), its carriage return and a
  // byte-order mark before it removed.
  std::string Text() const;
  bool Empty() const;
};

struct RegisterFile {
  std::vector<RegisterFileLine> lines;
};

enum class RegisterFileProblem { None, Missing, Unreadable };
// Reads the file's lines; the file is left as it is on disk.
RegisterFileProblem ReadRegisterFile(const std::string& path, RegisterFile& file);
// The bytes of the file: every line as it was read, a last line without a line end getting CRLF when
// a line follows it.
std::string EncodeRegisterFile(const RegisterFile& file);
// Replaces the file atomically.
Outcome WriteRegisterFile(const std::string& path, const RegisterFile& file);
// A new line in this program's writing (UTF-8, CRLF).
RegisterFileLine NewRegisterLine(std::string_view text);

// ---- Writing a stand's class (the classification window).
enum class ClassWriteResult { Written, NoSuchStand, SeveralLines, LineTooShort };
// Sets the class columns of the one line whose columns 1-8 equal the code: mode 1 columns 31 and 33,
// mode 0 columns 32 and 34. Only that line changes, and only in those two columns; a line in
// Windows-1252 that the new letters would turn into valid UTF-8 is written in UTF-8, so that it still
// reads with the same characters at the same columns. When no line, or
// more than one, carries the code, or the line does not reach column 34, the file is left as it was.
ClassWriteResult SetRegisterClass(RegisterFile& file, std::string_view code, ClassificationMode mode,
                                  RegisterClass cls);
// The indexes of the lines whose columns 1-8 carry the code (compared without regard to case).
std::vector<std::size_t> RegisterLinesOf(const RegisterFile& file, std::string_view code);

// ---- The generator's side: lines of its stands "Stand" + NNN + ".txt".
struct GeneratedStandIdentity {
  int number = 0;             // 301..999
  std::string shortName;      // shown cut or padded to 16 characters
  char standType = ' ';       // 'A'..'H' or ' '
  char ageDigit = ' ';        // '2'..'6' or ' '
  char developmentType = ' ';  // 'a'..'h' or ' '
  char treatmentDigit = ' ';  // '1'..'5' or ' '
};

// "Stand" + three digits + ".txt".
std::string GeneratedStandFileName(int number);
// The short name as it goes into its 16 columns: control characters become blanks, cut or padded to
// exactly 16 characters.
std::string RegisterShortName(std::string_view name);
// How a line's corners describe the stand's rectangle of width w and height h: as the generator writes
// them (corner 1 "00.0", then (0, h), (w, h), (w, 0)), or with the size as corner 1, (w, h), which is
// all the folder "StandsEU" reads (corners 2-4 as the generator writes them).
enum class RegisterCornerForm { Generated, SizeFirst };
// The line of a stand "Stand" + number of width w and height h (metres): 90 characters. Nothing when w or
// h does not fit its 7 columns.
std::optional<std::string> RegisterLineFor(const GeneratedStandIdentity& id, double w, double h,
                                           RegisterCornerForm form);
inline std::optional<std::string> GeneratedRegisterLine(const GeneratedStandIdentity& id, double w, double h) {
  return RegisterLineFor(id, w, h, RegisterCornerForm::Generated);
}
// Drops the empty lines and every line whose columns 1-12 name the file; with a new line, appends it.
void ReplaceRegisterEntry(RegisterFile& file, std::string_view fileName, const std::string* newLine);
// The generator's list of its stands: columns 6-8 + " " + columns 14-29 of every line that is not empty.
std::vector<std::string> RegisterComboItems(const RegisterFile& file);

}  // namespace tolvek
