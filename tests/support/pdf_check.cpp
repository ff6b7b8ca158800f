#include "tests/support/pdf_check.h"

#include <algorithm>
#include <regex>

#include "common/paths.h"

namespace tolvek::testing {

PdfFacts CheckPdf(const std::string& bytes) {
  PdfFacts f;
  auto fail = [&](const std::string& why) {
    f.problem = why;
    return f;
  };
  if (bytes.rfind("%PDF-1.", 0) != 0) return fail("no PDF header");
  const std::size_t end = bytes.rfind("%%EOF");
  if (end == std::string::npos || bytes.find_first_not_of(" \r\n", end + 5) != std::string::npos)
    return fail("no end marker");
  const std::size_t sx = bytes.rfind("startxref");
  if (sx == std::string::npos) return fail("no startxref");
  const std::size_t xref = std::stoul(bytes.substr(sx + 9, end - sx - 9));
  if (bytes.compare(xref, 4, "xref") != 0) return fail("startxref does not point at the table");
  std::size_t pos = bytes.find('\n', xref) + 1;
  const std::size_t first = std::stoul(bytes.substr(pos)), count = std::stoul(bytes.substr(bytes.find(' ', pos) + 1));
  pos = bytes.find('\n', pos) + 1;
  for (std::size_t i = 0; i < count; ++i, pos += 20) {
    if (pos + 20 > bytes.size()) return fail("table cut short");
    if (bytes[pos + 17] != 'n') continue;
    const std::size_t at = std::stoul(bytes.substr(pos, 10));
    const std::string head = std::to_string(first + i) + " 0 obj";
    if (bytes.compare(at, head.size(), head) != 0) return fail("entry " + std::to_string(first + i) + " misplaced");
  }
  if (bytes.find("trailer", pos) == std::string::npos || bytes.find("/Root", pos) == std::string::npos)
    return fail("no trailer");
  static const std::regex page(R"(/Type\s*/Page(?!s))"), font(R"(/BaseFont\s*/([^\s/<>\[\]]+))");
  f.pages = static_cast<int>(std::distance(std::sregex_iterator(bytes.begin(), bytes.end(), page), std::sregex_iterator()));
  for (auto it = std::sregex_iterator(bytes.begin(), bytes.end(), font); it != std::sregex_iterator(); ++it)
    if (std::find(f.fonts.begin(), f.fonts.end(), (*it)[1].str()) == f.fonts.end()) f.fonts.push_back((*it)[1].str());
  f.valid = true;
  return f;
}

PdfFacts CheckPdfFile(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    PdfFacts f;
    f.problem = "cannot read " + path;
    return f;
  }
  return CheckPdf(bytes);
}

}  // namespace tolvek::testing
