#include "simulator/stand/catalogue.h"

#include <gtest/gtest.h>

#include "simulator/stand/expected_vc.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

// columns: 1-12 file, 14-29 description, 30 mixture, 32 kind, 34 timber size, 35.. hints
const char* kLine07 = "Bestnd07.txt Fi,Ta 120 Jahre R N M ABC";

TEST(CatalogueLine, ColumnsAndTypeTextOfBothReaders) {
  LanguageTable language;
  StandCatalogueEntry e = DecodeCatalogueLine(language, kLine07, CatalogueStyle::Thumbnails);
  EXPECT_EQ(e.fileName, "Bestnd07.txt");
  EXPECT_EQ(e.number, "07");
  EXPECT_EQ(e.description, "Fi, Ta 120 Jahre");
  EXPECT_EQ(e.mixture, 'R');
  EXPECT_EQ(e.kind, 'N');
  EXPECT_EQ(e.timberSize, 'M');
  EXPECT_EQ(e.hints, " ABC");  // from column 35 on
  EXPECT_EQ(e.typeText, "Nadelbaum-Reinbestand");
  EXPECT_EQ(DecodeCatalogueLine(language, kLine07, CatalogueStyle::Menu).typeText, "Nadelbaum - Reinbestand");
}

TEST(CatalogueLine, TypeTexts) {
  LanguageTable language;
  EXPECT_EQ(BuildCatalogueTypeText(language, 'L', 'M', CatalogueStyle::Menu), "Laubbaum - Mischbestand");
  EXPECT_EQ(BuildCatalogueTypeText(language, 'S', 'G', CatalogueStyle::Thumbnails), "Generierter Bestand");
  // The selection forest gets its caption from both readers.
  EXPECT_EQ(BuildCatalogueTypeText(language, 'P', 'P', CatalogueStyle::Thumbnails), "Plenterwald");
  EXPECT_EQ(BuildCatalogueTypeText(language, 'P', 'P', CatalogueStyle::Menu), "Plenterwald");
  // Short lines are read as blank columns.
  EXPECT_EQ(DecodeCatalogueLine(language, "Bestnd01.txt", CatalogueStyle::Menu).typeText, "Generierter");
}

TEST(CatalogueFile, ReadsAtMost52EntriesAndFindsByCode) {
  testing::TempDir dir;
  LanguageTable language;
  std::string text;
  for (int i = 1; i <= 53; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "Bestnd%02d.txt", i);
    text += std::string(name) + " Beschreibung    M L S\r\n";
  }
  dir.Write("Tolvek01.txt", text);
  StandCatalogue catalogue;
  CatalogueReadResult r = ReadStandCatalogue(language, dir.File("Tolvek01.txt"), CatalogueStyle::Thumbnails, catalogue);
  EXPECT_TRUE(r.outcome.ok());
  EXPECT_TRUE(r.tooMany);
  EXPECT_EQ(catalogue.Count(), 52);
  ASSERT_NE(catalogue.Entry(52), nullptr);
  EXPECT_EQ(catalogue.Entry(52)->number, "52");
  EXPECT_EQ(catalogue.Entry(53), nullptr);
  EXPECT_EQ(catalogue.Entry(0), nullptr);
  ASSERT_NE(catalogue.FindByCode("BESTND09"), nullptr);
  EXPECT_EQ(catalogue.FindByCode("Bestnd09")->fileName, "Bestnd09.txt");
}

TEST(CatalogueFile, MissingOrEmptyFileKeepsTheOldCatalogue) {
  testing::TempDir dir;
  LanguageTable language;
  StandCatalogue catalogue;
  catalogue.entries.push_back({});
  CatalogueReadResult r = ReadStandCatalogue(language, dir.File("Tolvek01.txt"), CatalogueStyle::Menu, catalogue);
  ASSERT_FALSE(r.outcome.ok());
  EXPECT_EQ(r.outcome.problem().where, dir.File("Tolvek01.txt"));
  dir.Write("Tolvek01.txt", "\r\n  \r\n");
  EXPECT_FALSE(ReadStandCatalogue(language, dir.File("Tolvek01.txt"), CatalogueStyle::Menu, catalogue).outcome.ok());
  EXPECT_EQ(catalogue.Count(), 1);
}

std::string VcLine(int number) {
  std::string line = std::to_string(number);
  for (int k = 1; k <= 15; ++k) line += " " + std::to_string(k) + ".5";
  return line;
}

TEST(ExpectedVc, KeepsTheOddValuesFromTheFifthOn) {
  testing::TempDir dir;
  dir.Write("Tolvek02.txt", VcLine(7) + "\n\n" + VcLine(75) + "\n");
  ExpectedVcTable table;
  Outcome read;
  read = ReadExpectedVcTable(dir.File("Tolvek02.txt"), table);
  ASSERT_TRUE(read.ok());
  ASSERT_EQ(table.rows.size(), 2u);
  ASSERT_NE(table.Find(75), nullptr);
  const auto& vc = table.Find(75)->vc;
  EXPECT_FLOAT_EQ(vc[0], 5.5f);
  EXPECT_FLOAT_EQ(vc[1], 7.5f);
  EXPECT_FLOAT_EQ(vc[4], 13.5f);
  EXPECT_EQ(table.Find(8), nullptr);
}

TEST(ExpectedVc, BadFilesLeaveTheTableAsItWas) {
  testing::TempDir dir;
  ExpectedVcTable table;
  table.rows.push_back({99, {}});
  Outcome read;
  read = ReadExpectedVcTable(dir.File("Tolvek02.txt"), table);
  ASSERT_FALSE(read.ok());

  std::string many;
  for (int i = 1; i <= 53; ++i) many += VcLine(i) + "\n";
  const std::vector<std::string> bad{many, VcLine(70000) + "\n", VcLine(5).substr(0, 20) + "\n",
                                     "x" + VcLine(5) + "\n"};
  for (const auto& text : bad) {
    dir.Write("Tolvek02.txt", text);
    read = ReadExpectedVcTable(dir.File("Tolvek02.txt"), table);
    EXPECT_FALSE(read.ok()) << text.substr(0, 30);
    EXPECT_NE(read.problem().where.find("Tolvek02.txt"), std::string::npos);
  }
  ASSERT_EQ(table.rows.size(), 1u);
  EXPECT_EQ(table.rows[0].standNumber, 99);
}

}  // namespace
}  // namespace tolvek
