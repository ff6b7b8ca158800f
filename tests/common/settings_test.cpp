#include "common/settings.h"

#include <gtest/gtest.h>

#include "common/paths.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

TEST(SettingsFile, TwoCrlfLinesExactly) {
  testing::TempDir dir;
  ASSERT_TRUE(WriteSettingsFile(dir.path(), Settings{0, false}).ok());
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(dir.File("EinStell.Txt"), bytes));
  EXPECT_EQ(bytes, "Sprache: 0\r\nWET no\r\n");

  ASSERT_TRUE(WriteSettingsFile(dir.path(), Settings{1, true}).ok());
  ASSERT_TRUE(ReadWholeFile(dir.File("EinStell.Txt"), bytes));
  EXPECT_EQ(bytes, "Sprache: 1\r\nWET ja\r\n");
}

TEST(SettingsFile, ReadBackWhatWasWritten) {
  testing::TempDir dir;
  for (int n = 0; n <= 7; ++n) {
    for (bool wet : {false, true}) {
      ASSERT_TRUE(WriteSettingsFile(dir.path(), Settings{n, wet}).ok());
      Settings s{5, !wet};
      EXPECT_EQ(ReadSettingsFile(dir.path(), s), SettingsRead::kOk);
      EXPECT_EQ(s.language, n);
      EXPECT_EQ(s.forestDevelopmentTypes, wet);
    }
  }
}

TEST(SettingsFile, ReadersTakeTenCharactersAndTheNamedPositions) {
  Settings s;
  // A leading blank or none; anything beyond the tenth character is not read.
  EXPECT_EQ(ParseSettingsLines({"Sprache: 3", "WET ja"}, s), SettingsRead::kOk);
  EXPECT_EQ(s.language, 3);
  EXPECT_TRUE(s.forestDevelopmentTypes);
  EXPECT_EQ(ParseSettingsLines({"Sprache:04xyz", "WET jawohl"}, s), SettingsRead::kOk);
  EXPECT_EQ(s.language, 4);
  EXPECT_TRUE(s.forestDevelopmentTypes);
  // The flag is on exactly when characters 5 and 6 are "ja"; LF files and a lost second line read too.
  EXPECT_EQ(ParseSettingsLines({"Sprache: 2", "WET Ja"}, s), SettingsRead::kOk);
  EXPECT_FALSE(s.forestDevelopmentTypes);
  EXPECT_EQ(ParseSettingsLines({"Sprache: 2"}, s), SettingsRead::kOk);
  EXPECT_FALSE(s.forestDevelopmentTypes);
}

TEST(SettingsFile, NoLanguageNumberIsReportedAndReadAsGerman) {
  Settings s{3, false};
  EXPECT_EQ(ParseSettingsLines({"Sprache:xx", "WET no"}, s), SettingsRead::kBadLanguage);
  EXPECT_EQ(s.language, 0);
  s.language = 3;
  EXPECT_EQ(ParseSettingsLines({"Sprache:12", "WET no"}, s), SettingsRead::kBadLanguage);
  EXPECT_EQ(s.language, 0);
  EXPECT_EQ(ParseSettingsLines({}, s), SettingsRead::kBadLanguage);
}

TEST(SettingsFile, MissingFileIsSaidAndChangesNothing) {
  testing::TempDir dir;
  Settings s{6, true};
  EXPECT_EQ(ReadSettingsFile(dir.path(), s), SettingsRead::kMissing);
  EXPECT_EQ(s.language, 6);
  EXPECT_TRUE(s.forestDevelopmentTypes);
}

TEST(SettingsFile, NameIsFoundWhateverItsCase) {
  testing::TempDir dir;
  dir.Write("einstell.txt", "Sprache: 5\r\nWET no\r\n");
  Settings s;
  EXPECT_EQ(ReadSettingsFile(dir.path(), s), SettingsRead::kOk);
  EXPECT_EQ(s.language, 5);
}

}  // namespace
}  // namespace tolvek
