#include "simulator/stand/stand_files.h"

#include <gtest/gtest.h>

namespace tolvek {
namespace {

TEST(StandFolderFor, CatalogueCodesByNumber) {
  EXPECT_EQ(StandFolderFor(true, 7), StandFolder::Bestande);
  EXPECT_EQ(StandFolderFor(true, 70), StandFolder::Bestande);
  EXPECT_EQ(StandFolderFor(true, 71), StandFolder::StandsCH);
  EXPECT_EQ(StandFolderFor(true, 90), StandFolder::StandsCH);
  EXPECT_EQ(StandFolderFor(true, 91), StandFolder::Bestande);
}

TEST(StandFolderFor, ThreeDigitCodesByNumber) {
  EXPECT_EQ(StandFolderFor(false, 100), StandFolder::ProgramFolder);
  EXPECT_EQ(StandFolderFor(false, 101), StandFolder::StandsWW);
  EXPECT_EQ(StandFolderFor(false, 199), StandFolder::StandsWW);
  EXPECT_EQ(StandFolderFor(false, 200), StandFolder::ProgramFolder);
  EXPECT_EQ(StandFolderFor(false, 201), StandFolder::StandsEU);
  EXPECT_EQ(StandFolderFor(false, 299), StandFolder::StandsEU);
  EXPECT_EQ(StandFolderFor(false, 300), StandFolder::StandsGE);
  EXPECT_EQ(StandFolderFor(false, 999), StandFolder::StandsGE);
  EXPECT_EQ(StandFolderFor(false, 71), StandFolder::ProgramFolder);
}

TEST(ResolveStandFiles, PlenterStandLiesInStandsCH) {
  ProgramFolders folders{"/p/", "/p/Bestande/", "/p/Vorgaben/"};
  StandFiles f;
  ASSERT_TRUE(ResolveStandFiles(folders, "/p/Bestande/Bestnd75.txt", f).ok());
  EXPECT_EQ(f.code, "Bestnd75");
  EXPECT_EQ(f.number, 75);
  EXPECT_EQ(f.numberText, "75");
  EXPECT_TRUE(f.selectionForest);
  EXPECT_EQ(f.treeFile, "/p/StandsCH/wBestnd75.txt");
  EXPECT_EQ(f.catalogueTreeFile, "/p/StandsCH/Bestnd75.txt");
  EXPECT_EQ(f.boundaryFile, "/p/StandsCH/Grenze75.txt");
  EXPECT_EQ(f.descriptionFile, "/p/StandsCH/Beschr75.txt");
  EXPECT_EQ(f.photoFile, "/p/Fotos/Fotogr75.jpg");
}

TEST(ResolveStandFiles, ThreeDigitCodesShareTheBoundaryNameGrenze00) {
  ProgramFolders folders{"/p/", "/p/Bestande/", "/p/Vorgaben/"};
  StandFiles f;
  ASSERT_TRUE(ResolveStandFiles(folders, "C:\\TOLVEK\\Bestande\\Stand150.txt", f).ok());
  EXPECT_EQ(f.number, 150);
  EXPECT_EQ(f.numberText, "00");
  EXPECT_FALSE(f.selectionForest);
  EXPECT_EQ(f.treeFile, "/p/StandsWW/wStand150.txt");
  EXPECT_EQ(f.boundaryFile, "/p/StandsWW/Grenze00.txt");

  ASSERT_TRUE(ResolveStandFiles(folders, "Stand100.txt", f).ok());
  EXPECT_EQ(f.treeFile, "/p/wStand100.txt");
  ASSERT_TRUE(ResolveStandFiles(folders, "Bestnd07.TXT", f).ok());
  EXPECT_EQ(f.treeFile, "/p/Bestande/wBestnd07.txt");
}

TEST(ResolveStandFiles, UnknownCodesAreRefusedWithTheName) {
  ProgramFolders folders{"/p/", "/p/Bestande/", "/p/Vorgaben/"};
  StandFiles f;
  f.code = "keep";
  Outcome read;
  for (const char* bad : {"Bestnd7.txt", "/p/StandABC.txt", "Bestnd07.dat", "/p/x/Stand301", "a/b/c.txt"}) {
    read = ResolveStandFiles(folders, bad, f);
    EXPECT_FALSE(read.ok()) << bad;
    EXPECT_EQ(read.problem().where, bad);
  }
  EXPECT_EQ(f.code, "keep");
}

TEST(StandPhotos, FurtherViewsChangeOnlyTheFileName) {
  EXPECT_EQ(SecondPhotoPath("/home/gregor/Fotos/Fotogr12.jpg"), "/home/gregor/Fotos/Fotogs12.jpg");
  EXPECT_EQ(ThirdPhotoPath("/home/gregor/Fotos/Fotogr12.jpg"), "/home/gregor/Fotos/Fotogt12.jpg");
}

}  // namespace
}  // namespace tolvek
