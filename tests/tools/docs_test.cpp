// The shipped documents: make_docs reproduces them byte for byte, every document and help page the
// simulator opens is in the program folder, the PDFs are sound and the help pages' links lead somewhere.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <string>

#include <unistd.h>

#include "common/paths.h"
#include "simulator/documents.h"
#include "tests/support/fakes.h"
#include "tests/support/pdf_check.h"

namespace fs = std::filesystem;
using namespace tolvek;
using tolvek::testing::CheckPdfFile;
using tolvek::testing::TempDir;

namespace {

std::string DataDir() { return tolvek::testing::SourceDataDir(); }
std::string SourceRoot() {
  const char* d = std::getenv("TOLVEK_SOURCE_DIR");
  return d ? d : fs::path(DataDir()).parent_path().parent_path().string();  // DataDir ends with "/"
}

// Pages of each theory document: a change of a source that moves a page break shows up here too.
const std::map<std::string, int> kPages = {
    {"TheoAllgemein.PDF", 4},   {"TheoBHD.PDF", 4},         {"TheoGrundflaeche.PDF", 6}, {"TheoVarianz.PDF", 4},
    {"TheoOptimierung.PDF", 4}, {"TheoBias.PDF", 4},        {"TheoNBaum.PDF", 4},
};

TEST(ShippedDocuments, EveryDocumentTheProgramOpensIsThere) {
  const std::vector<std::string> paths = AllOpenedDocuments(DataDir());
  // 8 language numbers × (manual + 5 help pages) + 7 theory documents
  EXPECT_EQ(paths.size(), 8u * 6u + 7u);
  for (const std::string& p : paths) EXPECT_TRUE(FileExists(p)) << p;
}

TEST(ShippedDocuments, TheoryDocumentsAreSoundPdfWithTheirPages) {
  for (const TheoryDocument& d : kTheoryDocuments) {
    const auto facts = CheckPdfFile(ResolveIn(DataDir(), std::string("Vorgaben/") + d.file));
    ASSERT_TRUE(facts.valid) << d.file << ": " << facts.problem;
    EXPECT_EQ(facts.pages, kPages.at(d.file)) << d.file;
    // the fonts travel with the document, so any viewer shows the formulas as drawn
    EXPECT_NE(std::find(facts.fonts.begin(), facts.fonts.end(), "DejaVuSerif"), facts.fonts.end()) << d.file;
  }
}

TEST(ShippedDocuments, LinksOfHelpPagesAndManualsLeadToFiles) {
  static const std::regex href(R"(href="([^"#]+)(#[^"]*)?")");
  std::vector<std::string> pages;
  for (const char* set : {"HelpTolvekDE", "HelpTolvekEN"})
    for (const auto& e : fs::directory_iterator(fs::path(DataDir()) / set)) pages.push_back(e.path().string());
  for (LanguageNumber n = 1; n <= kLastLanguage; ++n) pages.push_back(JoinPath(DataDir(), ManualFileFor(n)));
  int links = 0;
  for (const std::string& page : pages) {
    std::string html;
    ASSERT_TRUE(ReadWholeFile(page, html)) << page;
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos) << page;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), href); it != std::sregex_iterator(); ++it, ++links)
      EXPECT_TRUE(fs::exists(fs::path(page).parent_path() / (*it)[1].str())) << page << " -> " << (*it)[1];
  }
  EXPECT_GT(links, 50);
}

TEST(ShippedDocuments, MakeDocsReproducesTheShippedFiles) {
  TempDir out;
  const std::string command = std::string(TOLVEK_MAKE_DOCS) + " '" + SourceRoot() + "' '" + out.path() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  std::vector<std::string> made;
  for (const TheoryDocument& d : kTheoryDocuments) made.push_back(std::string("Vorgaben/") + d.file);
  for (const char* code : {"CZ", "FR", "SP", "PL", "TR"}) made.push_back(std::string("Anleitung") + code + ".htm");
  for (const std::string& name : made) {
    std::string shipped, remade;
    ASSERT_TRUE(ReadWholeFile(JoinPath(DataDir(), name), shipped)) << name;
    ASSERT_TRUE(ReadWholeFile(out.File(name), remade)) << name;
    EXPECT_TRUE(shipped == remade) << name << " differs from what make_docs gives: run make_docs and commit";
  }
  // The manuals of the other languages carry the English text under their own title page.
  std::string french, english;
  ASSERT_TRUE(ReadWholeFile(out.File("AnleitungFR.htm"), french));
  ASSERT_TRUE(ReadWholeFile(JoinPath(DataDir(), "AnleitungEN.htm"), english));
  EXPECT_NE(french.find("<html lang=\"fr\">"), std::string::npos);
  EXPECT_NE(french.find("Mode d'emploi"), std::string::npos);
  EXPECT_NE(french.find(english.substr(english.find("<!-- /title -->"))), std::string::npos);
}

}  // namespace
