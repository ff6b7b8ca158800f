#pragma once
// The compartment outlines of the model enterprises, read from the presets folder:
// - enterprises 1 and 3: a corner table ("EckenAbt.txt", "GrEckenAbt.txt": index, x, y a line) and the
//   corner lists of the compartments ("LinienAbt.txt", "GrLinienAbt.txt": a compartment number and ten
//   corner indices, 0 for none, separated by blanks or line breaks);
// - enterprise 2: "AbtEcken.txt", per compartment a token and nine x values, then a token and nine y
//   values; a slot with x = 0 is no corner.
// Every reader is strict: a bad value stops it with the file, the line and the reason, so the caller can
// say what is wrong and keep the program as it was.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "simulator/enterprise/enterprise_model.h"

namespace tolvek {

inline constexpr int kCornerTableSize = 365;
inline constexpr int kCornerListLength = 10;
inline constexpr int kCornerSlots = 9;  // enterprise 2
// The cut arms reach this far from a cut's centre (in x and in y).
inline constexpr double kCutArmLength = 700.0;
// The cut spread every compartment is cut with (per cent).
inline constexpr int kCompartmentCutSpread = 70;

// Why a map input is refused: German texts, shown through the language table.
inline constexpr const char* kMapFileMissing = "Datei fehlt oder ist nicht lesbar";
inline constexpr const char* kMapNotANumber = "ganze Zahl erwartet";
inline constexpr const char* kMapThreeNumbers = "drei ganze Zahlen erwartet";
inline constexpr const char* kMapCornerNumber = "Eckpunkt-Nummer nicht zwischen 1 und 365";
inline constexpr const char* kMapCompartmentNumber = "Abteilungs-Nummer nicht zwischen 1 und 80";
inline constexpr const char* kMapTooManyCompartments = "mehr als 80 Abteilungen";
inline constexpr const char* kMapCutShort = "Datei endet mitten in einer Abteilung";
inline constexpr const char* kMapCornerMissing = "Eckpunkt nicht definiert";
inline constexpr const char* kMapCompartmentMissing = "Abteilung fehlt";
inline constexpr const char* kMapTooFewCorners = "Abteilung hat weniger als drei Ecken";
inline constexpr const char* kMapBeyondTheCuts = "Abteilung reicht weiter als 700 m von ihrer Mitte";
inline constexpr const char* kMapReasons[] = {kMapFileMissing,        kMapNotANumber,          kMapThreeNumbers,
                                              kMapCornerNumber,       kMapCompartmentNumber,   kMapTooManyCompartments,
                                              kMapCutShort,           kMapCornerMissing,       kMapCompartmentMissing,
                                              kMapTooFewCorners,      kMapBeyondTheCuts};

struct MapReadProblem {
  std::string file;        // as the program addresses it: "Vorgaben\EckenAbt.txt"
  int line = 0;            // 1-based; 0: the file as a whole
  int compartment = 0;     // the compartment concerned; 0: none
  int corner = 0;          // the corner concerned; 0: none
  std::string reason;      // one of kMapReasons
};

// The message to show: which map could not be read, where and why. tr translates German texts.
std::string MapProblemText(const MapReadProblem& p, const TranslateFn& tr);

// Corner table of enterprises 1 and 3: corners 1..365 as stored (metres), with whether each was given.
struct CornerTable {
  std::array<GeoPoint, kCornerTableSize + 1> at{};
  std::array<bool, kCornerTableSize + 1> given{};
};
// Corner lists of the compartments 1..80 (index 1..80, positions 0..9) and the line each list began on.
struct CornerLists {
  std::array<std::array<int, kCornerListLength>, kMaxCompartments + 1> index{};
  std::array<int, kMaxCompartments + 1> line{};  // 0: no list read
};

// The readers on the lines of one file; name is the file's name for the problem.
bool ParseCornerTable(const std::vector<std::string>& lines, int enterprise, const std::string& name,
                      CornerTable& out, MapReadProblem& problem);
bool ParseCornerLists(const std::vector<std::string>& lines, const std::string& name, CornerLists& out,
                      MapReadProblem& problem);
// Outlines 1..count from the table and the lists (a list's zeros skipped, the ring closed).
bool BuildOutlines(const CornerTable& corners, const CornerLists& lists, int count, const std::string& listFile,
                   std::vector<Ring>& outlines, MapReadProblem& problem);
// Enterprise 2: outlines 1..count (the file may hold more compartments, at most 80); firstLines, when
// given, gets the line each compartment begins on.
bool ParseCompartmentCorners(const std::vector<std::string>& lines, int count, const std::string& name,
                             std::vector<Ring>& outlines, MapReadProblem& problem,
                             std::vector<int>* firstLines = nullptr);

// How far (in x or in y) a compartment reaches from the farthest place its first cut's centre can take
// near the mean of its corners. Up to kCutArmLength the arms of that cut cover it whole.
double CutReach(const Ring& ring);

// Each outline 1..count: at least three distinct corners, an area, and within the reach of the cuts.
// Outlines that run counter-clockwise are turned.
bool CheckOutlines(std::vector<Ring>& outlines, int count, const std::vector<int>& lines, const std::string& file,
                   MapReadProblem& problem);

// The whole read of enterprise 1, 2 or 3 from the presets folder: outlines 1..count (index 0 unused).
bool ReadEnterpriseOutlines(const std::string& presetsFolder, int enterprise, std::vector<Ring>& outlines,
                            MapReadProblem& problem);

// The names of the map inputs of an enterprise, as the program addresses them.
std::vector<std::string> EnterpriseMapFiles(int enterprise);

}  // namespace tolvek
