#pragma once
// The stand parameters of the generator: five species rows and nine whole numbers, the rules every
// field of the parameter dialog obeys, and the parameter file "Temp\Vorlint.txt".
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"
#include "common/problem.h"

namespace tolvek::generator {

// 0 stand level (300 × 300 m, "Bestande"), 1 enterprise level (100 × 100 m, "StandsGE").
enum class GenerationLevel { kStand = 0, kEnterprise = 1 };

// Side length of the square stand in metres.
inline double StandSide(GenerationLevel level) { return level == GenerationLevel::kStand ? 300.0 : 100.0; }

struct SpeciesRow {
  int code = 0;          // species code 1 … 9; 0 or less: the row is not in use
  double mean = 0.0;     // mean dbh, cm
  double cv = 0.0;       // coefficient of variation of the dbh, %
  double basalArea = 0;  // m²/ha, derived from mean and stems
  int stems = 0;         // stems per ha
  bool inUse() const { return code > 0; }
};

// The nine whole numbers after the rows, in their file and dialog order (Edit26 … Edit34).
enum NineIndex : int {
  kStemDistribution = 0,  // 0 strict lattice … 8 irregular lattice, 9 random
  kGapEastWest,           // m
  kGapNorthSouth,         // m
  kRestStocking,          // % of the stand's stocking left in the gap
  kGroups,                // 0 … 2
  kGroupDiameter,         // m
  kInnerShare,            // % of the second row in a group's inner circle
  kOuterShare,            // % in the group's outer ring
  kFelling,               // % of all trees
  kNineCount
};

inline constexpr int kRowCount = 5;
inline constexpr int kMaxStemsPerHa = 9999;  // the four-digit fields, for a row and for the total

struct GenerationParameters {
  std::array<SpeciesRow, kRowCount> rows{};
  std::array<int, kNineCount> nine{};
  bool plenterForest = false;  // "Plenterwald": diameters of a selection forest instead of the rows' means
};

// The layer index of each row (0-based): how many earlier rows have its species code.
std::array<int, kRowCount> RowLayers(const GenerationParameters& p);

// Defaults when no parameter file can be read: a spruce–beech stand with a gap and beech groups.
GenerationParameters DefaultParameters();

// mean² × 0.78539816339744830963 × N / 10000 (m²/ha).
double RowBasalArea(double mean, int stems);
struct ParameterTotals {
  double basalArea = 0.0;  // m²/ha over the rows in use
  // Stems per ha over the rows in use; wide, as a file read before the field rules may hold any whole
  // number in every row.
  long long stems = 0;
};
// Recomputes each row's basal area (0 for rows not in use) and returns the totals.
ParameterTotals UpdateBasalAreas(GenerationParameters& p);

// ---- Field rules of the parameter dialog

// What a species-code edit does with its text.
struct CodeEdit {
  enum class Action { kLeave, kSetCode, kClearRow, kRefuse } action = Action::kLeave;
  int code = 0;      // the row's code afterwards (kSetCode; 0 for kClearRow and kRefuse)
  std::string text;  // the edit's text afterwards
  bool beep = false;
};
// A digit 1 … 9 sets the code; "0" clears the row; a single blank is left alone; an empty text (the
// digit deleted) leaves the row without a code; anything else becomes a blank with a beep.
CodeEdit ApplyCodeRule(std::string_view text);

// The value of a whole-number field: the text as a whole number, invalid text giving 0.
int FieldInt(std::string_view text);

// Row fields: mean and coefficient of variation (0 … 999, shown width 3), stems (0 … 9999, width 4).
enum class RowField { kMean, kCv, kStems };
int ClampRowField(RowField f, long long v);
std::string RowFieldText(RowField f, double v);

// The nine: the largest value a field allows on the level (gap extents and group diameter 150 m on the
// stand level, 50 m on the enterprise level; shares, rest and felling 100 %; stem distribution 9; groups 2).
int NineMaximum(int index, GenerationLevel level);
int ClampNine(int index, long long v, GenerationLevel level);
// FormatInt width 3; stem distribution and groups width 1.
std::string NineText(int index, int v);

// Every field rule applied to parameters that did not come through the dialog (the parameter file):
// codes outside 0 … 9 and rows without a code cleared, rows and the nine clamped, groups below 1 without
// diameter and shares, means and coefficients of variation whole numbers as the dialog shows them.
void ValidateAll(GenerationParameters& p, GenerationLevel level);

// Whether "Bestand zeichnen" can generate from these parameters, or why not (German message, to be
// translated): the stems per ha of the rows in use must add up to 1 … 9999.
Outcome CheckDrawable(const GenerationParameters& p);

// ---- Texts of the generator

// Decimal text right-aligned to width; empty for 0 and below.
std::string FormatIntPositive(long long value, int width);
// " " for 0 (not translated), "Fichte" … "s.Laubb" for 1 … 9, "Alle BA" for any other code; the names
// pass through the language table.
std::string SpeciesNameOf(int code, const LanguageTable& table);

// ---- The parameter file "Temp\Vorlint.txt"

inline constexpr const char* kParameterFileName = "Temp\\Vorlint.txt";
std::string ParameterFilePath(const std::string& programFolder);

// 14 lines: a row each (code FormatInt 8, mean, cv and basal area FormatFixed 8.1, stems FormatInt 8),
// then the nine (FormatInt 8). A row without a code is written, and left in p, as zeros.
std::vector<std::string> ParameterFileLines(GenerationParameters& p);
Outcome WriteParameterFile(const std::string& programFolder, GenerationParameters& p);

enum class ParameterFileRead { kOk, kMissing, kBad };
// Free format: five times whole number, real, real, real, whole number, then nine whole numbers,
// separated by blanks or line ends; the basal areas are recomputed. kMissing leaves p alone. kBad (a
// token that is not the number expected, or too few): the values up to the fault are kept, the rest 0.
ParameterFileRead ParseParameterText(std::string_view text, GenerationParameters& p);
ParameterFileRead ReadParameterFile(const std::string& programFolder, GenerationParameters& p);

}  // namespace tolvek::generator
