#include "common/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/fakes.h"

namespace tolvek {
namespace {

using testing::TempDir;

TEST(ProgramFolders, FolderWithHashUsesTheFixedFolder) {
  ProgramFolders f = ProgramFoldersFromFolder("/home/user/Kurs#2/tolvek");
  EXPECT_EQ(f.program, kFixedProgramFolder);
  EXPECT_EQ(f.stands, std::string(kFixedProgramFolder) + "Bestande/");
  EXPECT_EQ(f.presets, std::string(kFixedProgramFolder) + "Vorgaben/");
}

TEST(ProgramFolders, OrdinaryFolderKeepsItsCaseAndGetsASlash) {
  ProgramFolders f = ProgramFoldersFromFolder("/opt/Wald/bin");
  EXPECT_EQ(f.program, "/opt/Wald/bin/");
  EXPECT_EQ(f.stands, "/opt/Wald/bin/Bestande/");
  EXPECT_EQ(ProgramFoldersFromFolder("C:\\Wald\\").program, "C:/Wald/");
}

TEST(Paths, JoinTakesBackslashesAndOneSeparator) {
  EXPECT_EQ(JoinPath("/a/b/", "\\Temp\\ProbeBa.Txt"), "/a/b/Temp/ProbeBa.Txt");
  EXPECT_EQ(JoinPath("/a/b", "Temp//x.txt"), "/a/b/Temp/x.txt");
}

TEST(Paths, ResolvesNamesWhateverTheirCase) {
  TempDir dir;
  std::filesystem::create_directories(dir.File("Vorgaben"));
  dir.Write("Vorgaben/Tolvek01.txt", "x\r\n");
  EXPECT_EQ(ResolveIn(dir.path(), "VORGABEN\\tolvek01.TXT"), dir.File("Vorgaben/Tolvek01.txt"));
  EXPECT_TRUE(FileExists(dir.File("vorgaben/TOLVEK01.txt")));
  // What does not exist is kept as written, so a new file gets the name the program gives it.
  EXPECT_EQ(ResolveIn(dir.path(), "vorgaben\\Neu.txt"), dir.File("Vorgaben/Neu.txt"));
  EXPECT_EQ(ResolveIn(dir.path(), "Temp\\ProbeBa.Txt"), dir.File("Temp/ProbeBa.Txt"));
}

TEST(Paths, TextLinesAreWrittenWithCrLfAndReadWithEither) {
  TempDir dir;
  ASSERT_TRUE(WriteTextLines(dir.File("a.txt"), {"Fläche", "", "Ende"}).ok());
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(dir.File("a.txt"), bytes));
  EXPECT_EQ(bytes, "Fläche\r\n\r\nEnde\r\n");
  dir.Write("b.txt", "eins\nzwei\r\ndrei");
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadTextLines(dir.File("B.TXT"), lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"eins", "zwei", "drei"}));
  EXPECT_FALSE(ReadTextLines(dir.File("fehlt.txt"), lines));
  // A byte-order mark is no text of the first line (only at the start of the file); a first line that
  // begins with its character is written so that it reads back as written.
  EXPECT_EQ(SplitTextLines("\xEF\xBB\xBF" "F1\tx\r\n\xEF\xBB\xBF" "F2"),
            (std::vector<std::string>{"F1\tx", "\xEF\xBB\xBF" "F2"}));
  const std::vector<std::string> marked{"\xEF\xBB\xBF" "F1", "F2"};
  ASSERT_TRUE(WriteTextLines(dir.File("c.txt"), marked).ok());
  ASSERT_TRUE(ReadTextLines(dir.File("c.txt"), lines));
  EXPECT_EQ(lines, marked);
}

TEST(Paths, BoundedReadRefusesALargerFileUnread) {
  TempDir dir;
  dir.Write("a.bin", "123456");
  std::string bytes = "old";
  EXPECT_EQ(ReadFileUpTo(dir.File("a.bin"), 5, bytes), FileRead::kTooLarge);
  EXPECT_EQ(bytes, "old");
  EXPECT_EQ(ReadFileUpTo(dir.File("A.BIN"), 6, bytes), FileRead::kOk);
  EXPECT_EQ(bytes, "123456");
  EXPECT_EQ(ReadFileUpTo(dir.File("fehlt.bin"), 6, bytes), FileRead::kCannotRead);
}

TEST(Paths, FailedAtomicWriteLeavesTheOldFile) {
  TempDir dir;
  dir.Write("Grenze.txt", "alt");
  // The temporary file cannot be made where a folder of its name stands in the way.
  std::filesystem::create_directories(dir.File("Grenze.txt.tmp" + std::to_string(::getpid())));
  const Outcome written = WriteFileAtomic(dir.File("Grenze.txt"), "neu");
  ASSERT_FALSE(written.ok());
  // The user is told which file it was, not the temporary one.
  EXPECT_EQ(written.problem(), (Problem{"Datei konnte nicht geschrieben werden:", dir.File("Grenze.txt")}));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(dir.File("Grenze.txt"), bytes));
  EXPECT_EQ(bytes, "alt");
  // A folder that does not exist fails too, without leaving anything behind.
  EXPECT_FALSE(WriteFileAtomic(dir.File("fehlt/x.txt"), "neu").ok());
  EXPECT_FALSE(std::filesystem::exists(dir.File("fehlt")));
}

}  // namespace
}  // namespace tolvek
