#include "common/description_file.h"

#include <gtest/gtest.h>

#include "common/paths.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

TEST(DescriptionFile, TitleThenLinesRoundTripWithCrlf) {
  testing::TempDir dir;
  DescriptionFile d{"Künstlich erzeugter Bestand", {"", "Fläche:      9.00 ha"}};
  ASSERT_TRUE(WriteDescriptionFile(dir.File("Beschr95.txt"), d).ok());
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(dir.File("Beschr95.txt"), bytes));
  EXPECT_EQ(bytes, "Künstlich erzeugter Bestand\r\n\r\nFläche:      9.00 ha\r\n");
  DescriptionFile back;
  ASSERT_TRUE(ReadDescriptionFile(dir.File("Beschr95.txt"), back));
  EXPECT_EQ(back.title, d.title);
  EXPECT_EQ(back.lines, d.lines);
}

TEST(DescriptionFile, OldFilesInWindows1252AndMissingFiles) {
  testing::TempDir dir;
  dir.Write("Beschr07.txt", "Fichten-Altholz\nGr\xF6\xDF" "e: 3 ha\n");
  DescriptionFile d;
  ASSERT_TRUE(ReadDescriptionFile(dir.File("Beschr07.txt"), d));
  ASSERT_EQ(d.lines.size(), 1u);
  EXPECT_EQ(d.lines[0], "Größe: 3 ha");
  d.title = "keep";
  EXPECT_FALSE(ReadDescriptionFile(dir.File("Beschr08.txt"), d));
  EXPECT_EQ(d.title, "keep");
}

}  // namespace
}  // namespace tolvek
