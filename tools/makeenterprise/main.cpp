// make_enterprise: writes the model enterprises' maps, the enterprise choice's pictures and the arrow
// glyphs into a program folder.
//   make_enterprise <program folder>
// The output depends on nothing but the fixed designs and seeds in enterprise_data.cpp.
#include <iostream>

#include "tools/makeenterprise/enterprise_data.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_enterprise <program folder>\n";
    return 2;
  }
  std::vector<std::string> written;
  std::string error;
  if (!tolvek::makeenterprise::MakeEnterpriseData(argv[1], written, error)) {
    std::cerr << "make_enterprise: " << error << "\n";
    return 1;
  }
  std::cout << written.size() << " files written below " << argv[1] << "\n";
  return 0;
}
