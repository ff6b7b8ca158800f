// The shipped language files are made from tools/langtables/master.tsv; these tests keep the two in
// step and check what the programs rely on in the tables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "common/format.h"
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
    ASSERT_TRUE(WriteLanguageRows(dir.File(f.name), f.rows).ok());
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
  // A byte-order mark, CRLF lines and short rows.
  ASSERT_TRUE(langtables::ParseMaster("\xEF\xBB\xBF# comment\r\n\r\nF1\tButton1\tKnopf\r\n", rows, error)) << error;
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].field[kFieldGermanCaption], "Knopf");
  EXPECT_EQ(rows[0].field[15], "");
  EXPECT_EQ(rows[0].line, 3);
}

TEST(LangTables, ShippedTablesSurviveAReadWriteRoundTrip) {
  testing::TempDir dir;
  for (const char* name : {"Sprache.txt", "SpracheEN.txt", "SpracheCZ.txt", "SpracheFR.txt", "SpracheSP.txt",
                           "SprachePL.txt", "SpracheTR.txt"}) {
    std::vector<LanguageRow> rows;
    ASSERT_TRUE(ReadLanguageRows(testing::SourceDataDir() + name, rows)) << name;
    ASSERT_TRUE(WriteLanguageRows(dir.File(name), rows).ok());
    std::string before, after;
    ASSERT_TRUE(ReadWholeFile(testing::SourceDataDir() + name, before));
    ASSERT_TRUE(ReadWholeFile(dir.File(name), after));
    EXPECT_TRUE(before == after) << name;
  }
}

std::vector<LanguageRow> Shipped(const std::string& name) {
  std::vector<LanguageRow> rows;
  EXPECT_TRUE(ReadLanguageRows(testing::SourceDataDir() + name, rows)) << name;
  return rows;
}

TEST(LangTables, EveryLineHasSixFields) {
  for (const auto& f : langtables::AllLanguageFiles(Master())) {
    std::string text;
    ASSERT_TRUE(ReadWholeFile(testing::SourceDataDir() + f.name, text));
    int lineNo = 0;
    for (const auto& line : SplitTextLines(text)) {
      ++lineNo;
      EXPECT_GE(std::count(line.begin(), line.end(), '\t'), 5) << f.name << " line " << lineNo;
    }
  }
}

TEST(LangTables, EveryRowIsTranslatedIntoEveryLanguage) {
  for (const auto& r : Master()) {
    for (int lang = 0; lang < 6; ++lang) {
      const std::string& code = langtables::kForeignLanguages[lang].code;
      if (!r.field[kFieldGermanCaption].empty() && r.field[kFieldGermanCaption] != " ") {
        EXPECT_FALSE(r.field[4 + 2 * lang].empty()) << "master.tsv line " << r.line << ": no " << code << " caption";
      }
      if (!r.field[kFieldGermanHint].empty()) {
        EXPECT_FALSE(r.field[5 + 2 * lang].empty()) << "master.tsv line " << r.line << ": no " << code << " text";
      }
    }
  }
}

TEST(LangTables, NoMessageRowIsWrittenTwice) {
  // The first row with a German text wins: a second one would never be read.
  std::map<std::string, int> first;
  for (const auto& r : Master()) {
    if (!r.field[kFieldFormId].empty() || !r.field[kFieldComponent].empty()) continue;
    auto [it, fresh] = first.emplace(r.field[kFieldGermanHint], r.line);
    EXPECT_TRUE(fresh) << "master.tsv line " << r.line << " repeats line " << it->second << ": "
                       << r.field[kFieldGermanHint];
  }
}

TEST(LangTables, LineMarksAreFollowedByABlank) {
  // A control's hint shows its first "#" and the character after it as a line break: "#x" would lose
  // the x. Messages break at "#" alone and keep their texts as the program passes them.
  for (const auto& r : Master())
    for (int f = 3; f < langtables::kMasterFields; f += 2) {
      if (r.field[kFieldComponent].empty()) continue;
      const std::string& t = r.field[f];
      for (std::size_t p = t.find('#'); p != std::string::npos; p = t.find('#', p + 1))
        EXPECT_TRUE(p + 1 == t.size() || t[p + 1] == ' ') << "master.tsv line " << r.line << ": " << t;
    }
}

TEST(LangTables, MessageBoxButtonsAndNotesAreWhereTheProgramLooks) {
  for (const auto& f : langtables::AllLanguageFiles(Master())) {
    const auto rows = Shipped(f.name);
    for (const char* button : {"btnYES", "btnNO", "btnOK"}) {
      bool found = false;
      for (const auto& r : rows)
        if (r.field[kFieldFormId] == "F42" && r.field[kFieldComponent] == button) {
          found = true;
          EXPECT_GT(Utf8Length(r.field[kFieldForeignCaption]), 1u) << f.name << " " << button;
        }
      EXPECT_TRUE(found) << f.name << " has no F42 row for " << button;
    }
    // The notes of "Wichtige Hinweise" are looked for from row 201 on: a header and at least one line.
    std::size_t first = rows.size();
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (rows[i].field[kFieldComponent] == "MemHilfe") {
        first = i;
        break;
      }
    ASSERT_LT(first + 1, rows.size()) << f.name << " has no notes block";
    EXPECT_GE(first, 200u) << f.name << ": the notes block must start at row 201 or later";
    EXPECT_EQ(rows[first + 1].field[kFieldComponent], "MemHilfe");
    // The generator's labels are looked for from the last message row on.
    const std::size_t messages = MessageSectionStart(rows);
    for (std::size_t i = 0; i < messages; ++i)
      EXPECT_FALSE(langtables::IsGeneratorForm(rows[i].field[kFieldFormId])) << f.name << " row " << i + 1;
  }
}

// The German texts the sources pass to Translate(table, "...") or T("...") as a whole literal.
std::set<std::string> TranslatedLiterals(std::vector<std::string>& where) {
  static const std::regex call(
      R"re(\b(?:Translate\s*\(\s*[^,()"]+(?:\([^()]*\))?[^,()"]*,|T\s*\()\s*"((?:[^"\\]|\\.)*)"\s*\))re");
  std::set<std::string> literals;
  for (const char* dir : {"simulator", "common", "generator", "langedit"}) {
    std::error_code ec;
    if (!fs::exists(SourceDir() + dir, ec)) continue;
    for (const auto& e : fs::recursive_directory_iterator(SourceDir() + dir, ec)) {
      const std::string ext = e.path().extension().string();
      if (ext != ".cpp" && ext != ".h") continue;
      std::string text;
      if (!ReadWholeFile(e.path().string(), text)) continue;
      for (std::sregex_iterator m(text.begin(), text.end(), call), end; m != end; ++m) {
        std::string lit, raw = (*m)[1];
        for (std::size_t i = 0; i < raw.size(); ++i) {
          if (raw[i] == '\\' && i + 1 < raw.size()) {
            ++i;
            lit += raw[i] == 'n' ? '\n' : raw[i] == 't' ? '\t' : raw[i];
          } else {
            lit += raw[i];
          }
        }
        if (literals.insert(lit).second) where.push_back(lit + "  (" + e.path().filename().string() + ")");
      }
    }
  }
  return literals;
}

TEST(LangTables, EveryTranslatedTextOfTheSourcesHasARow) {
  std::set<std::string> keys;
  for (const auto& r : Master()) keys.insert(r.field[kFieldGermanHint]);
  std::vector<std::string> where;
  const auto literals = TranslatedLiterals(where);
  EXPECT_GT(literals.size(), 10u);
  for (const auto& w : where) {
    const std::string lit = w.substr(0, w.rfind("  ("));
    EXPECT_TRUE(keys.count(lit)) << "no row in tools/langtables/master.tsv for \"" << w << "\"";
  }
}

}  // namespace
}  // namespace tolvek
