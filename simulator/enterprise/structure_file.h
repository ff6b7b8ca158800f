#pragma once
// The structure file of a model enterprise, "Temp/Betrieb<n>.txt": every stand of every compartment with
// its polygon, type position, class and model stand, the chosen types and which model-stand registers
// are in use. One record a line, every number right-aligned in a field of fixed width:
//
//   mode                      "0" stand types with age classes, "1" forest development types
//   per compartment i         i, type position, stand count, third value          (4 × 4)
//     per stand j             i, j, area ha (8.2), type position, class, model stand (4 each),
//                             second value (6), corner count (4)
//       per corner k          four blanks, k (4), x (8.2), y (8.2)                  (metres of the map)
//   chosen types              count and five type codes                            (6 × 6)
//   model-stand registers     real, generated: 1 or 0                              (6 × 2)
//
// The compartment count (20 or 80) is the enterprise's, not the file's. The reader parses into a
// structure of its own and checks every value, so a damaged file never touches the enterprise in hand.
#include <optional>
#include <string>
#include <vector>

#include "common/problem.h"
#include "simulator/enterprise/enterprise_model.h"
#include "simulator/enterprise/model_stand_assignment.h"

namespace tolvek {

// Limits of the file's values.
inline constexpr int kMaxStandCorners = 90;
inline constexpr int kMinStandCorners = 3;

// Which model-stand registers the structure was made with.
struct ModelStandRegisters {
  bool real = true;        // "Reale Bestände"
  bool generated = false;  // "Generierte Bestände"
  bool operator==(const ModelStandRegisters&) const = default;
};

// What a structure file holds.
struct EnterpriseStructure {
  int mode = 0;  // 0 stand types, 1 forest development types
  // Compartments 1..count (index 0 unused): type position, third value and stands; the areas summed.
  std::vector<Compartment> compartments;
  ChosenTypes chosen;
  ModelStandRegisters registers;
};

// The lines of each record as the file holds them. A value wider than its field keeps one blank in
// front, so fields never run together.
std::string CompartmentLine(int i, const Compartment& c);
std::string StandLine(int i, int j, const EnterpriseStand& s);
std::string CornerLine(int k, GeoPoint p);
std::string ChosenTypesLine(const ChosenTypes& chosen);
std::string RegistersLine(const ModelStandRegisters& r);

// The structure's lines, or the problem of the first compartment that cannot be stored so that it reads
// back (the German reason, where: the compartment's number): a compartment without stands or with more
// than 27, a stand with fewer than 3 or more than 90 corners.
Outcome StructureFileLines(const EnterpriseStructure& s, std::vector<std::string>& lines);
// The enterprise in hand as a structure (its compartments, chosen types and the registers given).
EnterpriseStructure StructureOf(const EnterpriseSession& s, int mode, ModelStandRegisters registers);

// A refused file's problem is the reason (German, shown through the language table) and where: the
// line it was met in (1-based), or nothing when the file could not be read at all. The reason tells the
// kind: a file that cannot be read (kMissing) and one of another enterprise, whose compartments are not
// where they belong (kBadCompartment), are reported as "Betrieb n fehlt oder nicht lesbar"; every other
// fault (kDamaged) as "Datei beschädigt".
enum class StructureProblemKind { kMissing, kBadCompartment, kDamaged };
StructureProblemKind StructureProblemKindOf(const Problem& problem);

// Reasons (German texts of the language table).
inline constexpr const char* kStructureEndsEarly = "Datei endet vorzeitig";
inline constexpr const char* kStructureNotANumber = "Zahl erwartet";
inline constexpr const char* kStructureFieldCount = "falsche Anzahl von Zahlen";
inline constexpr const char* kStructureMode = "Klassifikation nicht 0 oder 1";
inline constexpr const char* kStructureCompartmentNumber = "Abteilungs-Nummer nicht an ihrer Stelle";
inline constexpr const char* kStructureStandCount = "Zahl der Bestände nicht zwischen 1 und 27";
inline constexpr const char* kStructureTypePosition = "Typ nicht zwischen 1 und 5";
inline constexpr const char* kStructureClass = "Klasse nicht zwischen 1 und 5";
inline constexpr const char* kStructureModelStand = "Modellbestand negativ";
inline constexpr const char* kStructureArea = "Fläche nicht zwischen 0 und 1000000 ha";
inline constexpr const char* kStructureCorner = "Eckpunkt außerhalb von ±1000000 m";
inline constexpr const char* kStructureCornerCount = "Zahl der Ecken nicht zwischen 3 und 90";
inline constexpr const char* kStructureChosenCount = "Zahl der Typen nicht zwischen 0 und 5";
inline constexpr const char* kStructureTypeCode = "Typ-Code nicht zwischen 0 und 8";
inline constexpr const char* kStructureFlag = "Kennzeichen nicht 0 oder 1";
inline constexpr const char* kStructureTrailing = "Zeilen nach dem Ende der Struktur";
inline constexpr const char* kStructureReasons[] = {
    kStructureEndsEarly,    kStructureNotANumber,   kStructureFieldCount,    kStructureMode,
    kStructureCompartmentNumber, kStructureStandCount, kStructureTypePosition, kStructureClass,
    kStructureModelStand,   kStructureCornerCount,  kStructureChosenCount,   kStructureTypeCode,
    kStructureFlag,         kStructureTrailing,     kStructureArea,          kStructureCorner};

// The mode a structure file's first line gives, read as the whole file is read ("0" or "1" as its only
// number, "+1" and " 0 " among the ways to write it); nothing when it gives neither.
std::optional<int> StructureModeOf(const std::string& firstLine);

// Parses the lines of a structure file for an enterprise of compartmentCount compartments. On a problem
// out is untouched.
Outcome ParseEnterpriseFile(const std::vector<std::string>& lines, int compartmentCount, EnterpriseStructure& out);
// The file read and parsed; a file that does not exist or cannot be read is kMissing.
Outcome ReadEnterpriseStructure(const std::string& path, int compartmentCount, EnterpriseStructure& out);

// The message for a refused file of enterprise n: the text the program has for its kind, and where and
// why. tr translates German texts.
std::string StructureProblemText(int n, const Problem& p, const TranslateFn& tr);

// The structure replaces the enterprise's stands, compartment types and chosen types (the kinds of the
// compartments stay); compartment areas and the enterprise's figures are summed again.
void ApplyStructure(EnterpriseSession& s, EnterpriseStructure structure);

// Model-stand references read from a file name entries of the register as it was then. Each stand
// whose model stand is no entry of the table now, or one of another type or class, gets one drawn
// again (0 when none fits). Returns how many were drawn again.
int RecheckModelStands(EnterpriseSession& s, const ModelStandCells& cells, RandomDraws& random);

}  // namespace tolvek
