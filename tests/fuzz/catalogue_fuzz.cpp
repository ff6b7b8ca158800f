// The stand catalogue "Tolvek01.txt" in both readers' styles, and what the catalogue windows make of
// it: the choice of every entry with its paths, the menu captions and the thumbnail layout.
#include "common/format.h"
#include "common/paths.h"
#include "simulator/stand/catalogue.h"
#include "simulator/stand/stand_choice.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> lines = SplitTextLines(fuzz::Bytes(data, size));
  const LanguageTable language;
  const ProgramFolders folders = ProgramFoldersFromFolder("/opt/tolvek/");
  for (CatalogueStyle style : {CatalogueStyle::Thumbnails, CatalogueStyle::Menu}) {
    StandCatalogue catalogue;
    const CatalogueReadResult r = ParseStandCatalogue(language, lines, "Tolvek01.txt", style, catalogue);
    if (!r.outcome.ok()) {
      fuzz::Check(!r.outcome.problem().message.empty() && catalogue.Count() == 0, "a refusal says why and keeps nothing");
      continue;
    }
    fuzz::Check(catalogue.Count() >= 1 && catalogue.Count() <= kMaxCatalogueEntries, "1 to 52 entries");
    for (int k = 1; k <= catalogue.Count(); ++k) {
      const StandCatalogueEntry& e = *catalogue.Entry(k);
      fuzz::Check(Utf8Length(e.fileName) <= 12 && e.number.size() <= 2, "fixed columns stay in their widths");
      if (k == 1 || k == catalogue.Count()) {  // the choice looks at the file system: two are enough
        const StandChoice c = SelectCatalogueStand(catalogue, folders, k);
        fuzz::Check(c.catalogueIndex == k, "every entry can be chosen");
      }
      StandMenuCaption(e);
      NumberFromMenuCaption(StandMenuCaption(e));
      MenuForEntry(e);
      catalogue.FindByCode(e.fileName);
    }
    const CatalogueLayout layout = LayOutCatalogue(catalogue);
    fuzz::Check(static_cast<int>(layout.thumbnails.size()) == catalogue.Count(), "one thumbnail an entry");
  }
  return 0;
}
