#pragma once
// The binary tree file of a stand ("w" + code + ".txt"): no header, no trailer, one 16-byte record a
// tree, little-endian: species byte, three zero bytes, then dbh (cm), x and y (m) as IEEE singles.
// Records are decoded byte by byte so the format does not depend on the host's layout or byte order.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/problem.h"
#include "common/species.h"

namespace tolvek {

inline constexpr std::size_t kTreeFileRecordSize = 16;
// No stand comes near this many trees (the generator's densest stand holds about 90 000); a larger file
// is refused from its size before it is read.
inline constexpr std::size_t kMaxTreeFileRecords = 1000000;
// Trees lie within this distance of their stand's origin corner (m); a tree beyond it is a damaged record.
inline constexpr double kMaxTreeCoordinate = 1e6;

struct TreeFileRecord {
  SpeciesCode species = 0;
  float dbh = 0.0f;
  float x = 0.0f;
  float y = 0.0f;
};

enum class TreeFileProblem {
  None,
  CannotRead,       // missing or unreadable file
  Truncated,        // size not a multiple of 16
  BadSpecies,       // species byte above 9
  NonFinite,        // dbh, x or y is infinite or not a number
  OutOfRange,       // x or y beyond ±kMaxTreeCoordinate
  TooLarge,         // more than kMaxTreeFileRecords records
};

struct TreeFileReadResult {
  TreeFileProblem problem = TreeFileProblem::None;
  std::size_t recordIndex = 0;  // 0-based record at fault (BadSpecies, NonFinite, OutOfRange)
  bool ok() const { return problem == TreeFileProblem::None; }
};

// Decodes all records; any record with a species above 9, a non-finite number or a position beyond
// ±kMaxTreeCoordinate refuses the whole file, since such a file is damaged and its other trees cannot be
// trusted either.
TreeFileReadResult DecodeTreeFile(std::string_view bytes, std::vector<TreeFileRecord>& records);
TreeFileReadResult ReadTreeFile(const std::string& path, std::vector<TreeFileRecord>& records);

// Encodes records in file order; the reserved bytes are written as zeros.
std::string EncodeTreeFile(const std::vector<TreeFileRecord>& records);
// Atomic: a reader never sees a half-written tree file, and a failed write keeps the old one.
Outcome WriteTreeFile(const std::string& path, const std::vector<TreeFileRecord>& records);

}  // namespace tolvek
