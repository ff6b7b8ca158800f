#pragma once
// Tree species codes and their names. A species code is one byte in every file and table of trees:
// 1 Fichte, 2 Tanne, 3 Kiefer, 4 Douglas, 5 Buche, 6 Eiche, 7 Esche, 8 Ahorn, 9 other broadleaves;
// 0 stands for the whole stand. Codes 2 to 8 change their meaning with the species list of the stand.
#include <cstdint>
#include <string>

namespace tolvek {

using SpeciesCode = std::uint8_t;

inline constexpr SpeciesCode kAllSpecies = 0;
inline constexpr SpeciesCode kHighestSpeciesCode = 9;

// Which of the two species lists (names and colours) a stand uses: 1 the conifer-first list, 2 the
// broadleaf list. Kept as the byte the stand state stores.
using SpeciesListSelector = std::uint8_t;
inline constexpr SpeciesListSelector kConiferList = 1;
inline constexpr SpeciesListSelector kBroadleafList = 2;

// Ten rows (row 0 the whole stand) by two columns (the species lists). German texts; they pass
// through the language table where they are shown.
struct SpeciesNameTable {
  static constexpr int kRows = 10;
  static const char* const kNames[kRows][2];
  // The name of a code in the given list; a code above 9 or a list other than 1 or 2 gives "".
  static std::string Name(int code, int selector);
};

inline bool IsValidSpeciesCode(int code) { return code >= 0 && code <= kHighestSpeciesCode; }

// Diameter class of the per-species counts: integer part of (dbh + 4) / 8, at most 10. Class k (1..9)
// covers 8k - 4 up to 8k + 4 cm; class 0 lies below 4 cm, class 10 holds 76 cm and above. Inline: the
// evaluation takes it for every sample tree of every pass.
inline int DiameterClass(double dbh) {
  const double c = (dbh + 4.0) / 8.0;
  if (!(c > 0.0)) return 0;  // also a dbh that is not a number
  if (c >= 10.0) return 10;
  return static_cast<int>(c);
}

}  // namespace tolvek
