#include "simulator/stand/stand_choice.h"

#include <gtest/gtest.h>

#include "tests/support/fakes.h"

namespace tolvek {
namespace {

using testing::TempDir;

StandCatalogue Catalogue(const std::vector<std::string>& lines, CatalogueStyle style = CatalogueStyle::Menu) {
  LanguageTable german;
  StandCatalogue c;
  for (const auto& l : lines) c.entries.push_back(DecodeCatalogueLine(german, l, style));
  return c;
}

TEST(StandMenu, CaptionAndPlaceOfAnEntry) {
  StandCatalogue c = Catalogue({"Bestnd07.txt Fichte,80 J.    R N M  N:14",
                                "Bestnd75.txt Plenterwald     P P S",
                                "Bestnd31.txt Zufall          G S M",
                                "Bestnd20.txt Buche           R L S",
                                "Bestnd21.txt Buche           R L X"});
  const StandCatalogueEntry& e = *c.Entry(1);
  EXPECT_EQ(e.number, "07");
  EXPECT_EQ(e.typeText, "Nadelbaum - Reinbestand");
  EXPECT_EQ(StandMenuCaption(e), "(07)  Nadelbaum - Reinbestand");
  EXPECT_EQ(MenuForEntry(e), StandMenu::ConiferMedium);
  EXPECT_EQ(c.Entry(2)->typeText, "Plenterwald");
  EXPECT_EQ(MenuForEntry(*c.Entry(2)), StandMenu::ConiferPlenter);
  EXPECT_EQ(MenuForEntry(*c.Entry(3)), StandMenu::Generated);
  EXPECT_EQ(MenuForEntry(*c.Entry(4)), StandMenu::BroadleafStrong);
  EXPECT_EQ(MenuForEntry(*c.Entry(5)), StandMenu::None);  // no timber size: in no menu
}

TEST(StandMenu, NumberComesBackFromTheCaption) {
  EXPECT_EQ(NumberFromMenuCaption("(07)  Nadelbaum - Reinbestand"), "07");
  EXPECT_EQ(NumberFromMenuCaption("&(75)  Plenterwald"), "75");
  EXPECT_EQ(NumberFromMenuCaption("(1&2)  x"), "12");
}

TEST(StandChoice, EntryGivesPathsLineAndLabel) {
  ProgramFolders folders = ProgramFoldersFromFolder("/prog/");
  StandCatalogue c = Catalogue({"Bestnd07.txt Fichte,80 J.    R N M  N:14 V:21",
                                "Bestnd75.txt Hinterberg      P P S"},
                               CatalogueStyle::Thumbnails);
  StandChoice a = SelectCatalogueStand(c, folders, 1);
  EXPECT_EQ(a.catalogueIndex, 1);
  EXPECT_EQ(a.numberText, "07");
  EXPECT_EQ(a.name, "Nadelbaum-Reinbestand");
  EXPECT_EQ(a.treePath, "/prog/Bestande/Bestnd07.txt");
  EXPECT_EQ(a.boundaryPath, "/prog/Bestande/Grenze07.txt");
  EXPECT_EQ(a.descriptionPath, "/prog/Bestande/Beschr07.txt");
  EXPECT_EQ(a.chosenLine, "Bestnd07.txt Fichte,80 J.    R N M  N:14 V:21");
  EXPECT_EQ(a.chosenColumns, "Fichte,80 J.    R");
  EXPECT_EQ(StandLabel(a), "Nadelbaum-Reinbestand (07)");
  // Selection forests lie in their own folder.
  StandChoice b = SelectCatalogueStand(c, folders, 2);
  EXPECT_EQ(b.treePath, "/prog/StandsCH/Bestnd75.txt");
  EXPECT_FALSE(SelectCatalogueStand(c, folders, 3).valid());
  EXPECT_EQ(ChoiceForFileName(c, folders, "Bestnd75.txt").catalogueIndex, 2);
  EXPECT_FALSE(ChoiceForFileName(c, folders, "Bestnd99.txt").valid());

  CurrentStand stand;
  ApplyChoiceToStand(a, stand);
  EXPECT_EQ(stand.catalogueIndex, 1);
  EXPECT_EQ(stand.name, "Nadelbaum-Reinbestand");
  EXPECT_EQ(stand.chosenLine, a.chosenLine);
}

TEST(StandChoice, PreviewDescriptionIsCutAndStandsInWhenMissing) {
  TempDir dir;
  std::string text;
  for (int i = 1; i <= 25; ++i) text += "Zeile " + std::to_string(i) + "\r\n";
  dir.Write("Beschr07.txt", text);
  auto lines = PreviewDescription(dir.File("Beschr07.txt"), "07");
  ASSERT_EQ(lines.size(), 18u);
  EXPECT_EQ(lines[17], "Zeile 18");
  auto none = PreviewDescription(dir.File("Beschr75.txt"), "75");
  EXPECT_EQ(none, (std::vector<std::string>{"    Bestand Nr. 75", "    ", "    Plenterwald bislang ohne Beschreibung"}));

  dir.Write("Beschr08.txt", "  Titel\r\n  eingerückt  \r\nzweite\r\n");
  StandDescriptionView view;
  ASSERT_TRUE(ReadStandDescriptionView(dir.File("Beschr08.txt"), "08", view));
  EXPECT_EQ(view.title, "08  Titel");
  EXPECT_EQ(view.lines, (std::vector<std::string>{"   eingerückt", "   zweite"}));
  EXPECT_FALSE(ReadStandDescriptionView(dir.File("Beschr09.txt"), "09", view));
  // a generated stand's title as the generator writes it: the number does not run into it
  dir.Write("Beschr99.txt", "Künstlich erzeugter Bestand\r\n\r\nFläche:      9.00 ha\r\n");
  ASSERT_TRUE(ReadStandDescriptionView(dir.File("Beschr99.txt"), "99", view));
  EXPECT_EQ(view.title, "99  Künstlich erzeugter Bestand");
  EXPECT_EQ(view.lines, (std::vector<std::string>{"   ", "   Fläche:      9.00 ha"}));
}

TEST(StandChoice, PhotographsAndStockReplacements) {
  TempDir dir;
  ProgramFolders folders = ProgramFoldersFromFolder(dir.path());
  dir.Write("Fotos/FotogR07.jpg", "x");
  dir.Write("Fotos/Fotogr08.jpg", "x");
  dir.Write("Fotos/Fotogt08.jpg", "x");
  RandomGenerator random(42);
  auto photos = PreviewPhotos(folders, "07", random);
  EXPECT_FALSE(photos[0].stock);
  EXPECT_EQ(photos[0].path, dir.File("Fotos/FotogR07.jpg"));
  for (int i = 1; i < 3; ++i) {
    EXPECT_TRUE(photos[static_cast<std::size_t>(i)].stock);
    const std::string& p = photos[static_cast<std::size_t>(i)].path;
    const int k = std::stoi(p.substr(p.find("Foto", p.find("Fotos/") + 6) + 4));
    EXPECT_GE(k, 11);
    EXPECT_LE(k, 48);
  }
  // The slide show takes the stand's photograph and those of its further views that exist.
  auto show = SlideShowPhotos(dir.File("Fotos/Fotogr08.jpg"));
  EXPECT_EQ(show, (std::vector<std::string>{dir.File("Fotos/Fotogr08.jpg"), dir.File("Fotos/Fotogt08.jpg")}));
}

TEST(CatalogueLayout, EveryEntryHasItsOwnPlace) {
  std::vector<std::string> lines;
  const char* kinds[] = {"R N W", "M N M", "R N S", "R L W", "M L M", "R L S", "R X W"};
  for (int k = 1; k <= 52; ++k) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "Bestnd%02d.txt Bestand         %s", k, kinds[k % 7]);
    lines.push_back(buf);
  }
  StandCatalogue c = Catalogue(lines, CatalogueStyle::Thumbnails);
  CatalogueLayout L = LayOutCatalogue(c);
  ASSERT_EQ(L.thumbnails.size(), 52u);
  for (std::size_t i = 0; i < 52; ++i) {
    const LayoutRect& a = L.thumbnails[i];
    EXPECT_EQ(a.width, kThumbnailSize);
    EXPECT_LE(a.left + a.width, L.width);
    EXPECT_LE(a.top + a.height, L.backButton.top);
    for (std::size_t j = i + 1; j < 52; ++j) {
      const LayoutRect& b = L.thumbnails[j];
      const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left || a.top + a.height <= b.top ||
                         b.top + b.height <= a.top;
      EXPECT_TRUE(apart) << "entries " << i + 1 << " and " << j + 1;
    }
    EXPECT_EQ(ThumbnailAt(L, a.left + 10, a.top + 10), static_cast<int>(i) + 1);
  }
  EXPECT_EQ(ThumbnailAt(L, 1, 1), 0);
  // The generated stands share one row; entries of the same kind and size sit side by side.
  EXPECT_EQ(L.thumbnails[29].top, L.thumbnails[33].top);
  EXPECT_TRUE(IsGeneratedThumbnail(30) && IsGeneratedThumbnail(34));
  EXPECT_FALSE(IsGeneratedThumbnail(29) || IsGeneratedThumbnail(35));
  // The window fits a 768-pixel screen.
  EXPECT_LE(L.height, 700);
}

}  // namespace
}  // namespace tolvek
