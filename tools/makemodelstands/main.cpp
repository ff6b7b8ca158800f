// make_model_stands: writes the model stands and the two model-stand registers into a program folder.
//   make_model_stands <program folder>
// The output depends on nothing but the plans of the stands and the generator's fixed start.
#include <iostream>

#include "tools/makemodelstands/model_stands.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_model_stands <program folder>\n";
    return 2;
  }
  std::vector<std::string> written;
  std::string error;
  if (!tolvek::makemodelstands::MakeModelStands(argv[1], written, error)) {
    std::cerr << "make_model_stands: " << error << "\n";
    return 1;
  }
  std::cout << written.size() << " files written below " << argv[1] << "\n";
  return 0;
}
