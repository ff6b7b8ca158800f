#pragma once
// The model stands of the enterprise level: the stands the two registers list ("Tolvek03.txt", real
// ones, and "TolvekGE.txt", the generator's), each with its class by the classification mode in force,
// the cells of type and class they fill, and the counts of how often an enterprise pass took each.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"
#include "common/paths.h"
#include "common/problem.h"
#include "common/stand_register.h"
#include "simulator/enterprise/model_stand_assignment.h"
#include "simulator/stand/boundary.h"
#include "simulator/stand/stand_files.h"

namespace tolvek {

// Type slots 0..8 (0 = all types) and class slots 0..6 (0 = all classes).
inline constexpr int kTypeSlots = kTypeCount + 1;
inline constexpr int kClassSlots = kClassCount + 2;

// The names of the types by the mode: row 0 all types, rows 1..8 the types. Stand-type names pass
// through the language table; the names of forest development types are used as they stand.
std::array<std::string, kTypeSlots> TypeNames(ClassificationMode mode, const LanguageTable& language);
// Which model stands are in use: "Reale und generierte Bestände", "Nur reale Bestände" or "Nur
// generierte Bestände", translated.
std::string ModelStandCaption(bool realStands, bool generatedStands, const LanguageTable& language);

struct ModelStandEntry {
  std::string itemText;  // columns 1-8 + " > " + columns 14-26: the model-stand list's item
  std::string code;      // columns 1-8, the stand code
  RegisterClass cls;     // type 1..8 and class 1..5 by the mode the table was loaded with
  bool hasCorners = false;  // a generated stand's line (column 1 "S"): its five corner pairs
  RegisterCornerValues corners;
  bool generatedRegister = false;  // listed in "TolvekGE.txt"
};

// One cell of type and class: its model stands (entry numbers, in load order) and how often each was
// hit by a sample point since the table was loaded.
struct ModelStandCell {
  std::vector<int> entries;
  std::vector<std::int32_t> hits;
};

struct ModelStandTable {
  std::vector<ModelStandEntry> entries;  // entry number n is entries[n - 1]
  std::array<std::array<std::int32_t, kClassSlots>, kTypeSlots> counts{};  // [type][class]; class 0 = all of the type
  std::array<std::array<ModelStandCell, kClassSlots>, kTypeSlots> cells{};
  std::array<std::uint8_t, kTypeSlots> highestClass{};
  bool loaded = false;

  int Count() const { return static_cast<int>(entries.size()); }
  // The entry of a number 1..Count(); null for any other number.
  const ModelStandEntry* Entry(int number) const;
};

// Builds the table from the registers chosen (a problem names the file, with the lines at fault): the real register first, then the generated one. A
// register that is missing or cannot be read contributes nothing; lines too short for their columns,
// generated lines whose corners are no numbers and codes listed twice are reported (the line is
// skipped, a second line of a code is kept). Lines without a class in the mode are skipped silently.
ModelStandTable LoadModelStandTable(const ProgramFolders& folders, bool realStands, bool generatedStands,
                                    ClassificationMode mode, std::vector<Problem>& problems);

// The register path of a name in the presets folder.
std::string RegisterPath(const ProgramFolders& folders, const char* registerName);

// One more sample point on the model stand: the counter of its cell (the first cell of types 1..8 and
// classes 1..5 holding the entry). Numbers outside the table count nothing.
void CountModelStandHit(ModelStandTable& table, int entry);

// The tree path a model stand is loaded by: program folder + "Bestande/" + code + ".txt" (the stand
// folder then follows from the code). Nothing for a number outside the table.
std::optional<std::string> ModelStandTreePath(const ProgramFolders& folders, const ModelStandTable& table, int entry);

// The overview of the available model stands: counts per type and class with row and column sums,
// as the platform's message dialog shows it ("\r" line breaks, TAB-separated columns).
std::string ModelStandOverview(const ModelStandTable& table, ClassificationMode mode, const LanguageTable& language,
                               const std::string& caption);

// The overview as a fixed-pitch dialog shows it: line breaks for "\r", the tabs laid out so that the
// type names, the head and the sum line all start their number columns at the same place.
std::string ModelStandOverviewDisplay(std::string_view overview);

// The caption of a type's check box in the type choice: its name + "  (" + its count + ")".
std::string TypeChoiceCaption(const ModelStandTable& table, const std::array<std::string, kTypeSlots>& names, int type);

// ---- The class of one stand in its register (the classification window)
// "TolvekGE.txt" when characters 6-8 of the stand's text read as a number of 300 or more, else
// "Tolvek03.txt".
std::string ClassRegisterFor(const ProgramFolders& folders, std::string_view standText);

// The stand's class as its line carries it: row = position of the type letter in "abcdefgh " or
// "ABCDEFGH " (a blank gives 9), column = position of the class digit in "12345 " or "23456 " (a blank
// gives 6). Rows and columns past 8 and 5 are no cell of the matrix.
struct MatrixCell {
  int row = 0;
  int column = 0;
};
enum class ClassReadResult { Found, NoSuchStand, SeveralLines, Unreadable };
ClassReadResult ReadStandClass(const std::string& registerPath, std::string_view code, ClassificationMode mode,
                               MatrixCell& cell);

struct ClassWriteOutcome {
  ClassWriteResult result = ClassWriteResult::NoSuchStand;
  bool unreadable = false;  // the register could not be read
  bool writeFailed = false;  // the rewrite failed
  bool ok() const { return result == ClassWriteResult::Written && !unreadable && !writeFailed; }
};
// Rewrites the stand's class letters; only when exactly one line carries the code, and atomically.
ClassWriteOutcome WriteStandClass(const std::string& registerPath, std::string_view code, ClassificationMode mode,
                                  MatrixCell cell);
// The message for a class that could not be written, translated (empty when it was written).
std::string ClassWriteMessage(const ClassWriteOutcome& outcome, const std::string& registerPath, std::string_view code,
                              const LanguageTable& language);

// ---- The hit statistics "Temp/StatModBst.txt"
struct ModelStandStatisticsInputs {
  // The position of each type code 1..8 in the chosen types (1..5), 0 for a type not chosen.
  std::array<int, kTypeSlots> typePosition{};
  // Enterprise area in ha by type position 0..5 and class 0..5 (0 = all).
  std::array<std::array<double, 6>, 6> area{};
  // Grid spacing in m: each sample point stands for spacingX * spacingY * 1e-4 ha.
  double spacingX = 0.0;
  double spacingY = 0.0;
};
// Adds a stand polygon's area to its cells: [position][class], [position][0], [0][class], [0][0].
void AddStatisticsArea(ModelStandStatisticsInputs& inputs, int typePosition, int klass, double areaHa);
// The file's lines; `written` tells whether any chosen type was written (else the "Sorry" text).
std::vector<std::string> ModelStandStatisticsLines(const ModelStandTable& table, const ModelStandStatisticsInputs& in,
                                                   bool* written = nullptr);

// "Temp/StatModBst.txt" below the program folder, and writing it (atomically).
std::string StatisticsFilePath(const ProgramFolders& folders);
Outcome WriteModelStandStatistics(const ProgramFolders& folders, const std::vector<std::string>& lines);

// The program-wide state of the model stands: the table, the choices of the model-stand panel and the
// current model stand. It is the register side of the boundary reader and of the species-list choice.
class ModelStandState final : public StandRegisterCorners, public ModelStandCells {
 public:
  ModelStandTable table;
  // The check boxes "Reale Bestände o. PW" and "Generierte Bestände".
  bool realStands = true;
  bool generatedStands = true;
  // The model stand chosen in the list: entry number (1-based, 0 = none: random choice for the
  // enterprise), the list position and the item text.
  int chosenEntry = 0;
  int listPosition = 0;
  std::string chosenText;
  bool singleModelStand = false;  // one model stand for the whole enterprise
  bool classWrite = false;        // the next class in the register is written, not read
  // The class the matrix found for the chosen stand: the stratum the enterprise views single out.
  MatrixCell stratum;
  // The model stand whose corners a boundary read takes: the one loaded last.
  int cornerEntry = 0;
  // The register problems shown last: the same problems are not shown again at every reload.
  std::string problemsShown;

  bool CurrentCorners(std::array<double, 5>& x, std::array<double, 5>& y) const override;
  int EntryCount() const override { return table.Count(); }
  std::string EntryText(int index) const override;
  std::uint8_t EntryStandType(int index) const override;
  std::uint8_t EntryAgeClass(int index) const override;

  // The cells the assignment of model stands draws from.
  int CellCount(int typeCode, int cls) const override;
  int CellEntry(int typeCode, int cls, int i) const override;
  int EntryType(int entry) const override;
  int EntryClass(int entry) const override;
};

}  // namespace tolvek
