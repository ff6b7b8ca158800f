#pragma once
// The stand catalogue "Tolvek01.txt": one stand a line in fixed columns.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"
#include "simulator/stand/stand_files.h"

namespace tolvek {

inline constexpr int kMaxCatalogueEntries = 52;

struct StandCatalogueEntry {
  std::string fileName;     // columns 1..12, "Bestnd" + nn + ".txt"
  std::string typeText;     // built from kind and mixture code (see BuildCatalogueTypeText)
  std::string description;  // columns 14..29 trimmed, a blank after its first ","
  std::string number;       // two characters before the first "." of the line
  char mixture = ' ';       // column 30: R pure, M mixed, G generated, P selection forest
  char kind = ' ';          // column 32: N conifer, L broadleaf, P selection forest, S generated
  char timberSize = ' ';    // column 34: W weak, M medium, S strong
  std::string hints;        // rest of the line from column 35: decision-hint codes
  std::string line;         // the whole line as read
};

// The two readers build the type text with different separators.
enum class CatalogueStyle { Thumbnails, Menu };  // "-" and " - "

struct StandCatalogue {
  std::vector<StandCatalogueEntry> entries;  // entry k is entries[k - 1]
  int Count() const { return static_cast<int>(entries.size()); }
  const StandCatalogueEntry* Entry(int k) const;  // 1-based; nullptr outside 1..Count()
  // The entry whose file name starts with the code (first 8 characters, case-insensitive).
  const StandCatalogueEntry* FindByCode(std::string_view code) const;
};

// Translate("Nadelbaum") + separator + Translate("Reinbestand") and so on; mixture "P" gives
// Translate("Plenterwald") in both styles.
std::string BuildCatalogueTypeText(const LanguageTable& language, char kind, char mixture,
                                   CatalogueStyle style);

// Decodes one catalogue line (short lines are padded with blanks).
StandCatalogueEntry DecodeCatalogueLine(const LanguageTable& language, std::string_view line,
                                        CatalogueStyle style);

struct CatalogueReadResult {
  Outcome outcome;       // the file was read (possibly cut to 52 entries), or why not
  bool tooMany = false;  // more than 52 lines: the first 52 are kept
};

// Reads the catalogue file; on failure the catalogue is left as it was.
CatalogueReadResult ReadStandCatalogue(const LanguageTable& language, const std::string& path,
                                       CatalogueStyle style, StandCatalogue& catalogue);
// The same from the file's lines (path names the file in messages).
CatalogueReadResult ParseStandCatalogue(const LanguageTable& language, const std::vector<std::string>& lines,
                                        const std::string& path, CatalogueStyle style, StandCatalogue& catalogue);

}  // namespace tolvek
