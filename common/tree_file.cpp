#include "common/tree_file.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "common/paths.h"

namespace tolvek {
namespace {

float FloatAt(std::string_view bytes, std::size_t pos) {
  std::uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) bits = (bits << 8) | static_cast<unsigned char>(bytes[pos + i]);
  return std::bit_cast<float>(bits);
}

void PutFloat(std::string& out, float v) {
  std::uint32_t bits = std::bit_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFFu));
}

}  // namespace

TreeFileReadResult DecodeTreeFile(std::string_view bytes, std::vector<TreeFileRecord>& records) {
  TreeFileReadResult result;
  if (bytes.size() > kMaxTreeFileRecords * kTreeFileRecordSize) {
    result.problem = TreeFileProblem::TooLarge;
    return result;
  }
  if (bytes.size() % kTreeFileRecordSize != 0) {
    result.problem = TreeFileProblem::Truncated;
    result.recordIndex = bytes.size() / kTreeFileRecordSize;
    return result;
  }
  std::vector<TreeFileRecord> decoded;
  decoded.reserve(bytes.size() / kTreeFileRecordSize);
  for (std::size_t pos = 0, i = 0; pos < bytes.size(); pos += kTreeFileRecordSize, ++i) {
    TreeFileRecord r;
    r.species = static_cast<unsigned char>(bytes[pos]);
    r.dbh = FloatAt(bytes, pos + 4);
    r.x = FloatAt(bytes, pos + 8);
    r.y = FloatAt(bytes, pos + 12);
    if (!IsValidSpeciesCode(r.species)) {
      result.problem = TreeFileProblem::BadSpecies;
      result.recordIndex = i;
      return result;
    }
    if (!std::isfinite(r.dbh) || !std::isfinite(r.x) || !std::isfinite(r.y)) {
      result.problem = TreeFileProblem::NonFinite;
      result.recordIndex = i;
      return result;
    }
    if (std::fabs(r.x) > kMaxTreeCoordinate || std::fabs(r.y) > kMaxTreeCoordinate) {
      result.problem = TreeFileProblem::OutOfRange;
      result.recordIndex = i;
      return result;
    }
    decoded.push_back(r);
  }
  records = std::move(decoded);
  return result;
}

TreeFileReadResult ReadTreeFile(const std::string& path, std::vector<TreeFileRecord>& records) {
  std::string bytes;
  switch (ReadFileUpTo(path, kMaxTreeFileRecords * kTreeFileRecordSize, bytes)) {
    case FileRead::kOk: return DecodeTreeFile(bytes, records);
    case FileRead::kTooLarge: return {TreeFileProblem::TooLarge, 0};
    case FileRead::kCannotRead: break;
  }
  return {TreeFileProblem::CannotRead, 0};
}

std::string EncodeTreeFile(const std::vector<TreeFileRecord>& records) {
  std::string out;
  out.reserve(records.size() * kTreeFileRecordSize);
  for (const auto& r : records) {
    out.push_back(static_cast<char>(r.species));
    out.append(3, '\0');
    PutFloat(out, r.dbh);
    PutFloat(out, r.x);
    PutFloat(out, r.y);
  }
  return out;
}

Outcome WriteTreeFile(const std::string& path, const std::vector<TreeFileRecord>& records) {
  return WriteFileAtomic(path, EncodeTreeFile(records));
}

}  // namespace tolvek
