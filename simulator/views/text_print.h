#pragma once
// Printing of the work files as plain text: the lines laid out in 0.1 mm, "Courier new" of height 36,
// 34 units apart from the top down; a page ends where the next line would pass 2800 units.
#include <string>
#include <vector>

#include "common/canvas.h"

namespace tolvek {

inline constexpr int kTextPrintLeft = 160;
inline constexpr int kTextPrintTop = -140;
inline constexpr int kTextPrintStep = 34;
inline constexpr int kTextPrintLimit = 2800;
inline constexpr int kTextPrintFontHeight = 36;

struct PrintedLine {
  int y = 0;  // 0.1 mm, negative below the page top
  std::string text;
};
using PrintedPage = std::vector<PrintedLine>;

// The first page starts one step below the top (at −174) and holds 78 lines; every later page starts
// with its first line at the top (−140).
std::vector<PrintedPage> LayOutTextPages(const std::vector<std::string>& lines);

// One page on a report canvas (0.1 mm units).
void DrawTextPage(Canvas& canvas, const PrintedPage& page);

}  // namespace tolvek
