#pragma once
// The stand the user is choosing in the catalogue windows. A choice is only a pick: the loaded stand
// (CurrentStand) is replaced when the user confirms it, and only when every file of the new stand is
// sound. Looking at thumbnails, previews, photographs and descriptions never touches the loaded stand.
#include <array>
#include <string>
#include <vector>

#include "common/paths.h"
#include "common/random.h"
#include "simulator/stand/catalogue.h"
#include "simulator/stand/current_stand.h"

namespace tolvek {

struct StandChoice {
  int catalogueIndex = 0;       // 1-based; 0 = nothing chosen
  std::string numberText;       // "07"
  std::string name;             // the entry's type text
  std::string fileName;         // "Bestnd07.txt"
  std::string treePath;         // stand folder + file name (the name without "w" that is passed around)
  std::string descriptionPath;
  std::string boundaryPath;
  std::string photoPath;        // program folder + "Fotos/Fotogr" + nn + ".jpg"
  std::string chosenLine;       // the whole catalogue line (decision hints)
  std::string chosenColumns;    // its columns 14..30
  bool valid() const { return !fileName.empty(); }
};

// Program-wide state of the choice windows.
struct StandChoiceState {
  StandChoice choice;
  bool menuBuilt = false;          // the stand menus are built once per program run
  int lastClickedThumbnail = 0;    // the preview re-reads the description only for a new thumbnail
  bool pendingSelection = false;   // the catalogue closed with a stand taken
};

// Catalogue entry n becomes the choice (nothing when there is no entry n).
StandChoice SelectCatalogueStand(const StandCatalogue& catalogue, const ProgramFolders& folders, int n);
// The choice for a catalogue file name ("Bestnd07.txt"): the four paths from its number.
StandChoice ChoiceForFileName(const StandCatalogue& catalogue, const ProgramFolders& folders,
                              const std::string& fileName);
// The catalogue line of the choice (its first 8 characters equal the code) goes into the choice.
void FindChosenLine(const StandCatalogue& catalogue, StandChoice& choice);
// After a successful load: the catalogue side of the choice becomes part of the loaded stand.
void ApplyChoiceToStand(const StandChoice& choice, CurrentStand& stand);

// The stand label of the main window: type text + " (" + number + ")".
std::string StandLabel(const StandChoice& choice);

// Stand menus of the stand-choice window.
enum class StandMenu {
  None,
  ConiferWeak,
  ConiferMedium,
  ConiferStrong,
  ConiferPlenter,
  BroadleafWeak,
  BroadleafMedium,
  BroadleafStrong,
  Generated,
};
StandMenu MenuForEntry(const StandCatalogueEntry& entry);
// "(" + characters 7..8 of the file name + ")  " + type text.
std::string StandMenuCaption(const StandCatalogueEntry& entry);
// The stand number a menu caption carries (its characters 2..3 once "&" is removed).
std::string NumberFromMenuCaption(const std::string& caption);

// The preview's photographs: "Fotos/Fotog" + R/S/T + nn + ".jpg"; a missing one is replaced by a stock
// photograph "Fotos/Foto" + (11 .. 48) + ".jpg".
struct PreviewPhoto {
  std::string path;
  bool stock = false;
};
std::array<PreviewPhoto, 3> PreviewPhotos(const ProgramFolders& folders, const std::string& numberText,
                                          RandomGenerator& random);

// The preview's description: at most 18 lines of the description file, or three lines naming the stand
// when it has none.
std::vector<std::string> PreviewDescription(const std::string& descriptionPath, const std::string& numberText);

// The description shown in the stand-choice window: title = number + first line, then each further
// line trimmed and indented by three blanks. False when there is no description file.
struct StandDescriptionView {
  std::string title;
  std::vector<std::string> lines;
};
bool ReadStandDescriptionView(const std::string& descriptionPath, const std::string& numberText,
                              StandDescriptionView& view);

// The photographs of the slide show: the stand's photo and its "gs" and "gt" views, those that exist.
std::vector<std::string> SlideShowPhotos(const std::string& photoPath);

// Where each thumbnail of the catalogue window lies. Real stands (entries below 30) sit in a matrix of
// kind (conifer, broadleaf) by timber size (weak, medium, strong); the generated stands (30..34) and the
// selection forests (35 on) each fill their own rows.
struct LayoutRect {
  int left = 0, top = 0, width = 0, height = 0;
};
struct CatalogueLayout {
  int width = 0, height = 0;
  std::vector<LayoutRect> thumbnails;  // index k - 1 for entry k
  // Headings: 0 "Bestände im Überblick", 1 "reale Bestände", 2 "Nadelbaum-Bestände", 3 "Laubbaum-Bestände",
  // 4 "schwaches Baumholz", 5 "mittelstarkes Baumholz", 6 "starkes Baumholz", 7 "generierte Bestände",
  // 8 "reale Plenterbestände".
  std::array<LayoutRect, 9> labels{};
  LayoutRect backButton, indexButton;
};
inline constexpr int kThumbnailSize = 75;
// widest: the window's widest client on the screen (0: no limit); a narrower arrangement is taken
// where the usual one is wider.
CatalogueLayout LayOutCatalogue(const StandCatalogue& catalogue, int widest = 0);
// The catalogue entry whose thumbnail holds the point, 0 for none.
int ThumbnailAt(const CatalogueLayout& layout, int x, int y);

// Entries whose thumbnails are drawn afresh at every opening: the generated stands, which the
// generator may have replaced since.
inline bool IsGeneratedThumbnail(int k) { return k >= 30 && k <= 34; }

}  // namespace tolvek
