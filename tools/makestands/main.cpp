// make_stands: writes the shipped stand collection into a program folder.
//   make_stands <program folder>
// The output depends on nothing but the fixed seeds in the stand plans.
#include <iostream>

#include "tools/makestands/collection.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_stands <program folder>\n";
    return 2;
  }
  std::vector<std::string> written;
  std::string error;
  if (!tolvek::makestands::MakeCollection(argv[1], written, error)) {
    std::cerr << "make_stands: " << error << "\n";
    return 1;
  }
  std::cout << written.size() << " files written below " << argv[1] << "\n";
  return 0;
}
