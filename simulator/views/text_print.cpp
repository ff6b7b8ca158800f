#include "simulator/views/text_print.h"

#include <cstdlib>

namespace tolvek {

std::vector<PrintedPage> LayOutTextPages(const std::vector<std::string>& lines) {
  std::vector<PrintedPage> pages(1);
  int y = kTextPrintTop;
  for (const std::string& line : lines) {
    y -= kTextPrintStep;
    if (std::abs(y) > kTextPrintLimit) {
      pages.emplace_back();
      y = kTextPrintTop;
    }
    pages.back().push_back({y, line});
  }
  return pages;
}

void DrawTextPage(Canvas& canvas, const PrintedPage& page) {
  canvas.SetFont("Courier new", kTextPrintFontHeight, kBlack, false);
  for (const PrintedLine& l : page) canvas.Text(kTextPrintLeft, l.y, l.text);
}

}  // namespace tolvek
