// A stand's description file, read the ways the stand-choice window and the preview read it.
#include "simulator/stand/stand_choice.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchFolder folder;
  folder.Write("Bestande/Beschr07.txt", fuzz::Bytes(data, size));
  const std::string path = folder.path() + "Bestande/Beschr07.txt";
  StandDescriptionView view;
  fuzz::Check(ReadStandDescriptionView(path, "07", view), "a file that is there is read");
  fuzz::Check(view.title.rfind("07", 0) == 0, "the title starts with the stand number");
  for (const std::string& line : view.lines) fuzz::Check(line.rfind("   ", 0) == 0, "lines are indented");
  fuzz::Check(PreviewDescription(path, "07").size() <= 18, "the preview shows at most 18 lines");
  return 0;
}
