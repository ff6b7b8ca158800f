// Which file each help and document button opens, and how a missing file or viewer is told apart.
#include "simulator/documents.h"

#include <gtest/gtest.h>

#include "tests/support/fakes.h"

namespace tolvek {
namespace {

using testing::FakeDocuments;
using testing::TempDir;

TEST(Documents, ManualsByLanguageAndGermanBeforeTheFirstChoice) {
  EXPECT_EQ(ManualFileFor(1), "AnleitungDE.htm");
  EXPECT_EQ(ManualFileFor(4), "AnleitungFR.htm");
  EXPECT_EQ(ManualFileFor(7), "AnleitungTR.htm");
  // the program speaks German before a language is chosen, and so does its manual
  EXPECT_EQ(ManualFileFor(0), "AnleitungDE.htm");
  EXPECT_EQ(ManualFileFor(8), "");
  EXPECT_EQ(ManualFileFor(-1), "");
}

TEST(Documents, HelpTopicsArePagesBesideTheHelpFile) {
  TempDir dir;
  dir.Write("HelpTolvekEN/121.htm", "x");
  EXPECT_EQ(HelpTopicPath(dir.File("HelpTolvekEN.hlp"), kHelpDataStructure), dir.File("HelpTolvekEN/121.htm"));
  EXPECT_EQ(HelpTopicPath(dir.File("HelpTolvekEN.hlp"), kHelpContents), dir.File("HelpTolvekEN/contents.htm"));
  // the name as the language table writes it, in any case, still finds the folder as shipped
  EXPECT_EQ(HelpTopicPath(dir.File("helptolveken.HLP"), kHelpDataStructure), dir.File("HelpTolvekEN/121.htm"));
  // a help path that names no help file (the folder alone, before the first choice) gives no page
  EXPECT_EQ(HelpTopicPath(dir.path(), kHelpContents), "");
  EXPECT_EQ(HelpTopicPath(dir.File(".hlp"), kHelpContents), "");
  EXPECT_EQ(HelpTopicPath("", kHelpContents), "");

  LanguageTable table;
  table.helpFile = dir.path();  // language 0
  EXPECT_EQ(HelpFileOf(table, dir.path()), dir.File("HelpTolvekDE.hlp"));
  table.helpFile = dir.File("HelpTolvekEN.hlp");
  EXPECT_EQ(HelpFileOf(table, dir.path()), dir.File("HelpTolvekEN.hlp"));
}

TEST(Documents, TheoryButtonsNameTheirFiles) {
  EXPECT_EQ(TheoryDocumentFor("RbTeoBias"), "TheoBias.PDF");
  EXPECT_EQ(TheoryDocumentFor("RbTeoNBaum"), "TheoNBaum.PDF");
  EXPECT_EQ(TheoryDocumentFor("RdSuche"), "");
}

TEST(Documents, AMissingFileIsNotHandedToTheViewer) {
  TempDir dir;
  dir.Write("Vorgaben/TheoBias.PDF", "%PDF-1.4");
  FakeDocuments opener;
  EXPECT_EQ(OpenDocumentFile(opener, dir.File("Vorgaben/TheoNBaum.PDF")), DocumentOpening::kMissing);
  EXPECT_EQ(OpenDocumentFile(opener, ""), DocumentOpening::kMissing);
  EXPECT_TRUE(opener.opened.empty());
  // found without regard to case, and handed over as it lies on disk
  EXPECT_EQ(OpenDocumentFile(opener, dir.File("vorgaben/theobias.pdf")), DocumentOpening::kOpened);
  EXPECT_EQ(opener.opened.back(), dir.File("Vorgaben/TheoBias.PDF"));
  opener.result = false;
  EXPECT_EQ(OpenDocumentFile(opener, dir.File("Vorgaben/TheoBias.PDF")), DocumentOpening::kNoViewer);
}

}  // namespace
}  // namespace tolvek
