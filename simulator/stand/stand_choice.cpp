#include "simulator/stand/stand_choice.h"

#include "common/description_file.h"
#include "common/format.h"

namespace tolvek {

namespace {

StandChoice ChoiceFromEntry(const StandCatalogueEntry& e, const ProgramFolders& folders) {
  StandChoice c;
  c.fileName = e.fileName;
  c.numberText = e.number;
  c.name = e.typeText;
  StandFiles files;
  if (ResolveStandFiles(folders, JoinPath(folders.stands, e.fileName), files).ok()) {
    c.numberText = files.numberText;
    c.treePath = files.catalogueTreeFile;
    c.descriptionPath = files.descriptionFile;
    c.boundaryPath = files.boundaryFile;
    c.photoPath = files.photoFile;
  } else {
    // A file name that names no stand: the paths still say which file is meant, and loading it reports
    // the problem.
    c.treePath = JoinPath(folders.stands, e.fileName);
    c.descriptionPath = JoinPath(folders.stands, "Beschr" + e.number + ".txt");
    c.boundaryPath = JoinPath(folders.stands, "Grenze" + e.number + ".txt");
    c.photoPath = ResolveIn(folders.program, "Fotos/Fotogr" + e.number + ".jpg");
  }
  return c;
}

}  // namespace

StandChoice SelectCatalogueStand(const StandCatalogue& catalogue, const ProgramFolders& folders, int n) {
  const StandCatalogueEntry* e = catalogue.Entry(n);
  if (!e) return {};
  StandChoice c = ChoiceFromEntry(*e, folders);
  c.catalogueIndex = n;
  FindChosenLine(catalogue, c);
  return c;
}

StandChoice ChoiceForFileName(const StandCatalogue& catalogue, const ProgramFolders& folders,
                              const std::string& fileName) {
  for (int k = 1; k <= catalogue.Count(); ++k)
    if (catalogue.Entry(k)->fileName == fileName) return SelectCatalogueStand(catalogue, folders, k);
  return {};
}

void FindChosenLine(const StandCatalogue& catalogue, StandChoice& choice) {
  const std::string code = Utf8Left(choice.fileName, 8);
  for (const auto& e : catalogue.entries) {
    if (Utf8Left(e.line, 8) == code) {
      choice.chosenLine = e.line;
      choice.chosenColumns = Utf8Mid(e.line, 13, 17);
      return;
    }
  }
}

void ApplyChoiceToStand(const StandChoice& choice, CurrentStand& stand) {
  stand.name = choice.name;
  stand.catalogueIndex = choice.catalogueIndex;
  stand.chosenLine = choice.chosenLine;
  stand.chosenColumns = choice.chosenColumns;
}

std::string StandLabel(const StandChoice& choice) { return choice.name + " (" + choice.numberText + ")"; }

StandMenu MenuForEntry(const StandCatalogueEntry& e) {
  switch (e.kind) {
    case 'N':
      if (e.timberSize == 'W') return StandMenu::ConiferWeak;
      if (e.timberSize == 'M') return StandMenu::ConiferMedium;
      if (e.timberSize == 'S') return StandMenu::ConiferStrong;
      return StandMenu::None;
    case 'L':
      if (e.timberSize == 'W') return StandMenu::BroadleafWeak;
      if (e.timberSize == 'M') return StandMenu::BroadleafMedium;
      if (e.timberSize == 'S') return StandMenu::BroadleafStrong;
      return StandMenu::None;
    case 'P': return StandMenu::ConiferPlenter;
    case 'S': return StandMenu::Generated;
    default: return StandMenu::None;
  }
}

std::string StandMenuCaption(const StandCatalogueEntry& e) {
  return "(" + Utf8Mid(e.fileName, 6, 2) + ")  " + e.typeText;
}

std::string NumberFromMenuCaption(const std::string& caption) {
  std::string plain;
  for (char ch : caption)
    if (ch != '&') plain += ch;
  return Utf8Mid(plain, 1, 2);
}

std::array<PreviewPhoto, 3> PreviewPhotos(const ProgramFolders& folders, const std::string& numberText,
                                          RandomGenerator& random) {
  std::array<PreviewPhoto, 3> photos;
  const char letters[3] = {'R', 'S', 'T'};
  for (int i = 0; i < 3; ++i) {
    std::string path = ResolveIn(folders.program, std::string("Fotos/Fotog") + letters[i] + numberText + ".jpg");
    if (FileExists(path)) {
      photos[i] = {path, false};
    } else {
      const int k = 11 + random.Next(38);
      photos[i] = {ResolveIn(folders.program, "Fotos/Foto" + std::to_string(k) + ".jpg"), true};
    }
  }
  return photos;
}

std::vector<std::string> PreviewDescription(const std::string& descriptionPath, const std::string& numberText) {
  std::vector<std::string> lines;
  if (!ReadTextLines(ResolvePath(descriptionPath), lines))
    return {"    Bestand Nr. " + numberText, "    ", "    Plenterwald bislang ohne Beschreibung"};
  if (lines.size() > 18) lines.resize(18);
  return lines;
}

bool ReadStandDescriptionView(const std::string& descriptionPath, const std::string& numberText,
                              StandDescriptionView& view) {
  DescriptionFile d;
  if (!ReadDescriptionFile(ResolvePath(descriptionPath), d)) return false;
  // The catalogue's own descriptions start their title with blanks; a generated stand's title starts with
  // its first word and gets the same two blanks, so that the number does not run into it.
  const bool spaced = !d.title.empty() && (d.title[0] == ' ' || d.title[0] == '\t');
  view.title = numberText + (spaced || d.title.empty() ? "" : "  ") + d.title;
  view.lines.clear();
  for (const auto& line : d.lines) view.lines.push_back("   " + TrimSpaces(line));
  return true;
}

std::vector<std::string> SlideShowPhotos(const std::string& photoPath) {
  std::vector<std::string> out;
  for (const std::string& p : {photoPath, SecondPhotoPath(photoPath), ThirdPhotoPath(photoPath)}) {
    std::string resolved = ResolvePath(p);
    if (FileExists(resolved)) out.push_back(resolved);
  }
  return out;
}

CatalogueLayout LayOutCatalogue(const StandCatalogue& catalogue, int widest) {
  constexpr int kStep = kThumbnailSize + 4;  // thumbnail and gap
  constexpr int kRowLabelWidth = 150;
  constexpr int kMatrixTop = 80;
  // Four thumbnails a cell and nine selection forests a row; where that is wider than the screen allows,
  // three and seven (the selection forests then take a third row).
  const auto widthOf = [&](int columns, int plenter) {
    const int width = columns * kStep + 12;
    const int plenterLeft = 10 + 5 * kStep + 30;
    return std::max(kRowLabelWidth + 3 * width, plenterLeft + plenter * kStep) + 10;
  };
  const bool narrow = widest > 0 && widthOf(4, 9) > widest;
  const int cellColumns = narrow ? 3 : 4, cellRows = 2, plenterColumns = narrow ? 7 : 9;
  const int cellWidth = cellColumns * kStep + 12;
  const int cellHeight = cellRows * kStep + 6;
  CatalogueLayout L;
  auto rect = [](int left, int top, int w, int h) { return LayoutRect{left, top, w, h}; };
  L.labels[0] = rect(10, 6, 600, 24);
  L.labels[1] = rect(10, 34, 300, 20);
  L.labels[2] = rect(10, kMatrixTop + 4, kRowLabelWidth - 10, 40);
  L.labels[3] = rect(10, kMatrixTop + cellHeight + 4, kRowLabelWidth - 10, 40);
  for (int c = 0; c < 3; ++c) L.labels[4 + c] = rect(kRowLabelWidth + c * cellWidth, 58, cellWidth - 12, 20);

  const int bandTop = kMatrixTop + 2 * cellHeight + 8;
  const int generatedLeft = 10, plenterLeft = generatedLeft + 5 * kStep + 30;
  L.labels[7] = rect(generatedLeft, bandTop, 5 * kStep, 20);
  L.labels[8] = rect(plenterLeft, bandTop, plenterColumns * kStep, 20);
  const int bandRows = bandTop + 22;
  const int plenterRows = (18 + plenterColumns - 1) / plenterColumns;
  const int bandBottom = bandRows + std::max(2, plenterRows) * kStep;
  L.width = widthOf(cellColumns, plenterColumns);
  const int spareColumns = (L.width - 20) / kStep;

  const int count = catalogue.Count();
  L.thumbnails.assign(static_cast<std::size_t>(count), LayoutRect{});
  auto thumb = [&](int left, int top) { return rect(left, top, kThumbnailSize, kThumbnailSize); };

  // Free places for entries that fit nowhere else: the second row of the generated band, then new rows.
  int spareUsed = 0;
  int extraRows = 0;
  auto spare = [&]() {
    LayoutRect r;
    if (spareUsed < 5) {
      r = thumb(generatedLeft + spareUsed * kStep, bandRows + kStep);
    } else {
      const int i = spareUsed - 5;
      const int row = i / spareColumns, col = i % spareColumns;
      r = thumb(10 + col * kStep, bandBottom + 8 + row * kStep);
      extraRows = row + 1;
    }
    ++spareUsed;
    return r;
  };

  std::array<int, 6> cellUsed{};
  int generatedUsed = 0, plenterUsed = 0;
  for (int k = 1; k <= count; ++k) {
    const StandCatalogueEntry& e = *catalogue.Entry(k);
    LayoutRect& r = L.thumbnails[static_cast<std::size_t>(k - 1)];
    if (IsGeneratedThumbnail(k) && generatedUsed < 5) {
      r = thumb(generatedLeft + generatedUsed++ * kStep, bandRows);
    } else if (k > 34 && plenterUsed < 18) {
      r = thumb(plenterLeft + (plenterUsed % plenterColumns) * kStep, bandRows + (plenterUsed / plenterColumns) * kStep);
      ++plenterUsed;
    } else {
      int row = e.kind == 'N' ? 0 : e.kind == 'L' ? 1 : -1;
      int col = e.timberSize == 'W' ? 0 : e.timberSize == 'M' ? 1 : e.timberSize == 'S' ? 2 : -1;
      if (k < 30 && row >= 0 && col >= 0 && cellUsed[static_cast<std::size_t>(row * 3 + col)] < cellColumns * cellRows) {
        int& used = cellUsed[static_cast<std::size_t>(row * 3 + col)];
        r = thumb(kRowLabelWidth + col * cellWidth + (used % cellColumns) * kStep,
                  kMatrixTop + row * cellHeight + (used / cellColumns) * kStep);
        ++used;
      } else {
        r = spare();
      }
    }
  }
  const int contentBottom = bandBottom + (extraRows > 0 ? 8 + extraRows * kStep : 0);
  L.backButton = rect(L.width - 140, contentBottom + 8, 130, 30);
  L.indexButton = rect(10, contentBottom + 8, 220, 30);
  L.height = contentBottom + 46;
  return L;
}

int ThumbnailAt(const CatalogueLayout& layout, int x, int y) {
  for (std::size_t i = 0; i < layout.thumbnails.size(); ++i) {
    const LayoutRect& r = layout.thumbnails[i];
    if (r.width > 0 && x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height)
      return static_cast<int>(i) + 1;
  }
  return 0;
}

}  // namespace tolvek
