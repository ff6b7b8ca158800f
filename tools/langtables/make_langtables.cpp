// make_langtables MASTER.tsv OUTDIR: writes the seven language files from the master table.
#include <iostream>
#include <string>
#include <vector>

#include "common/language.h"
#include "common/paths.h"
#include "tools/langtables/master_table.h"

int main(int argc, char** argv) {
  using namespace tolvek;
  if (argc != 3) {
    std::cerr << "usage: make_langtables tools/langtables/master.tsv data\n";
    return 2;
  }
  std::string text;
  if (!ReadWholeFile(argv[1], text)) {
    std::cerr << argv[1] << ": cannot be read\n";
    return 1;
  }
  std::vector<langtables::MasterRow> rows;
  std::string error;
  if (!langtables::ParseMaster(text, rows, error)) {
    std::cerr << error << "\n";
    return 1;
  }
  for (const auto& f : langtables::AllLanguageFiles(rows)) {
    std::string path = JoinPath(argv[2], f.name);
    if (!WriteLanguageRows(path, f.rows).ok()) {
      std::cerr << path << ": cannot write\n";
      return 1;
    }
  }
  std::cout << rows.size() << " rows written to 7 files in " << argv[2] << "\n";
  return 0;
}
