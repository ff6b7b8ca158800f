#pragma once
// A structural check of a PDF file as the programs and tools write it: header, cross-reference table
// whose every entry points at its object, trailer, end marker; and what a test wants to know of it.
#include <string>
#include <vector>

namespace tolvek::testing {

struct PdfFacts {
  bool valid = false;
  std::string problem;             // why it is not valid
  int pages = 0;                   // page objects
  std::vector<std::string> fonts;  // base font names, each once
};

PdfFacts CheckPdf(const std::string& bytes);
PdfFacts CheckPdfFile(const std::string& path);

}  // namespace tolvek::testing
