#pragma once
// The expected coefficients of variation per stand, "Tolvek02.txt" in the presets folder.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "simulator/stand/stand_files.h"

namespace tolvek {

inline constexpr int kMaxExpectedVcRows = 52;

struct ExpectedVcRow {
  std::uint16_t standNumber = 0;
  // Per cent, for circles of 500 m², circles of 100 m², angle count with factor 4, angle count with
  // factor 2 and the "AV" concentric circles (the 5th, 7th, 9th, 11th and 13th value of the line).
  std::array<float, 5> vc{};
};

struct ExpectedVcTable {
  std::vector<ExpectedVcRow> rows;  // file order
  const ExpectedVcRow* Find(int standNumber) const;
};

// The problem when the file is missing or a line is damaged, holds a stand number above 65535 or is the
// 53rd; the table is then left as it was.
Outcome ReadExpectedVcTable(const std::string& path, ExpectedVcTable& table);
// The same from the file's lines (path names the file in messages).
Outcome ParseExpectedVcTable(const std::vector<std::string>& lines, const std::string& path, ExpectedVcTable& table);

}  // namespace tolvek
