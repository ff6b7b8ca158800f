// The shipped language files are made from tools/langtables/master.tsv; these tests keep the two in
// step and check what the programs rely on in the tables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>

#include "common/language.h"
#include "common/paths.h"
#include "tests/support/fakes.h"
#include "tools/langtables/master_table.h"

namespace tolvek {
namespace {

namespace fs = std::filesystem;

std::string SourceDir() {
  const char* d = std::getenv("TOLVEK_SOURCE_DIR");
  return d ? std::string(d) + "/" : std::string("./");
}

std::vector<langtables::MasterRow> Master() {
  std::string text;
  EXPECT_TRUE(ReadWholeFile(SourceDir() + "tools/langtables/master.tsv", text));
  std::vector<langtables::MasterRow> rows;
  std::string error;
  EXPECT_TRUE(langtables::ParseMaster(text, rows, error)) << error;
  return rows;
}

TEST(LangTables, ToolReproducesTheShippedFilesByteForByte) {
  testing::TempDir dir;
  for (const auto& f : langtables::AllLanguageFiles(Master())) {
    ASSERT_TRUE(WriteLanguageRows(dir.File(f.name), f.rows));
    std::string made, shipped;
    ASSERT_TRUE(ReadWholeFile(dir.File(f.name), made));
    ASSERT_TRUE(ReadWholeFile(testing::SourceDataDir() + f.name, shipped)) << f.name << " is not shipped";
    EXPECT_TRUE(made == shipped) << f.name
                                 << " differs from master.tsv: run make_langtables tools/langtables/master.tsv data";
  }
}

TEST(LangTables, MasterRowsAreWellFormed) {
  std::string text;
  ASSERT_TRUE(ReadWholeFile(SourceDir() + "tools/langtables/master.tsv", text));
  int lineNo = 0;
  for (const auto& line : SplitTextLines(text)) {
    ++lineNo;
    if (line.empty() || line[0] == '#') continue;
    EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 15) << "master.tsv line " << lineNo << ": " << line;
  }
  std::vector<langtables::MasterRow> rows;
  std::string error;
  EXPECT_FALSE(langtables::ParseMaster("F1\tA" + std::string(16, '\t') + "\n", rows, error));
  EXPECT_NE(error.find("line 1"), std::string::npos);
}

TEST(LangTables, ShippedTablesSurviveAReadWriteRoundTrip) {
  testing::TempDir dir;
  for (const char* name : {"Sprache.txt", "SpracheEN.txt", "SpracheCZ.txt", "SpracheFR.txt", "SpracheSP.txt",
                           "SprachePL.txt", "SpracheTR.txt"}) {
    std::vector<LanguageRow> rows;
    ASSERT_TRUE(ReadLanguageRows(testing::SourceDataDir() + name, rows)) << name;
    ASSERT_TRUE(WriteLanguageRows(dir.File(name), rows));
    std::string before, after;
    ASSERT_TRUE(ReadWholeFile(testing::SourceDataDir() + name, before));
    ASSERT_TRUE(ReadWholeFile(dir.File(name), after));
    EXPECT_TRUE(before == after) << name;
  }
}

}  // namespace
}  // namespace tolvek
