#include "simulator/stand/catalogue.h"

#include <cctype>

#include "common/format.h"
#include "common/paths.h"
#include "simulator/translate.h"

namespace tolvek {
namespace {

char CharAt(const std::string& s, std::size_t index) { return index < s.size() ? s[index] : ' '; }

}  // namespace

const StandCatalogueEntry* StandCatalogue::Entry(int k) const {
  if (k < 1 || k > Count()) return nullptr;
  return &entries[static_cast<std::size_t>(k - 1)];
}

const StandCatalogueEntry* StandCatalogue::FindByCode(std::string_view code) const {
  std::string_view want = code.substr(0, 8);
  for (const auto& e : entries)
    if (SameIgnoringCase(std::string_view(e.fileName).substr(0, std::min<std::size_t>(8, e.fileName.size())), want))
      return &e;
  return nullptr;
}

std::string BuildCatalogueTypeText(const LanguageTable& language, char kind, char mixture, CatalogueStyle style) {
  // A selection forest is a type of its own, whatever the kind column says.
  if (mixture == 'P') return TrimSpaces(Translate(language, "Plenterwald"));
  const std::string sep = style == CatalogueStyle::Menu ? " - " : "-";
  std::string text = Translate(language, "Generierter");
  if (kind == 'N') text = Translate(language, "Nadelbaum");
  if (kind == 'L') text = Translate(language, "Laubbaum");
  if (mixture == 'R') text += sep + Translate(language, "Reinbestand");
  if (mixture == 'M') text += sep + Translate(language, "Mischbestand");
  if (mixture == 'G') text += " " + Translate(language, "Bestand");
  return TrimSpaces(text);
}

StandCatalogueEntry DecodeCatalogueLine(const LanguageTable& language, std::string_view line, CatalogueStyle style) {
  StandCatalogueEntry e;
  e.line = std::string(line);
  // Fixed columns count characters; the file name and codes are plain ASCII.
  std::string padded = e.line;
  std::size_t chars = Utf8Length(padded);
  if (chars < 34) padded.append(34 - chars, ' ');
  e.fileName = TrimSpaces(Utf8Left(padded, 12));
  std::string description = TrimSpaces(Utf8Mid(padded, 13, 16));
  std::size_t comma = description.find(',');
  if (comma != std::string::npos) description.insert(comma + 1, " ");
  e.description = description;
  std::string codes = Utf8Mid(padded, 29, 5);
  e.mixture = CharAt(codes, 0);
  e.kind = CharAt(codes, 2);
  e.timberSize = CharAt(codes, 4);
  e.hints = Utf8Mid(padded, 34, Utf8Length(padded));
  std::size_t dot = e.line.find('.');
  if (dot != std::string::npos && dot >= 2) e.number = e.line.substr(dot - 2, 2);
  e.typeText = BuildCatalogueTypeText(language, e.kind, e.mixture, style);
  return e;
}

CatalogueReadResult ReadStandCatalogue(const LanguageTable& language, const std::string& path,
                                       CatalogueStyle style, StandCatalogue& catalogue) {
  std::vector<std::string> lines;
  if (!ReadTextLines(path, lines)) {
    CatalogueReadResult result;
    result.outcome = Problem{"Bestandeskatalog nicht gefunden", path};
    return result;
  }
  return ParseStandCatalogue(language, lines, path, style, catalogue);
}

CatalogueReadResult ParseStandCatalogue(const LanguageTable& language, const std::vector<std::string>& lines,
                                        const std::string& path, CatalogueStyle style, StandCatalogue& catalogue) {
  CatalogueReadResult result;
  StandCatalogue read;
  for (const auto& line : lines) {
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    if (read.Count() >= kMaxCatalogueEntries) {
      result.tooMany = true;
      break;
    }
    read.entries.push_back(DecodeCatalogueLine(language, line, style));
  }
  if (read.entries.empty()) {
    result.outcome = Problem{"Bestandeskatalog ist leer", path};
    return result;
  }
  catalogue = std::move(read);
  return result;
}

}  // namespace tolvek
