#include "common/stand_register.h"

#include <gtest/gtest.h>

#include <array>

#include "common/format.h"
#include "common/paths.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

using testing::TempDir;

const std::string kLine301 =
    "Stand301.txt Fichte Test     MaA12   00.0   0.00   0.00 100.00 120.00 100.00 120.00   0.00";

// The line with one column (1-based) replaced.
std::string WithColumn(std::string line, int column, char c) {
  line[static_cast<std::size_t>(column - 1)] = c;
  return line;
}

TEST(RegisterLine, TheGeneratorsLineIsNinetyCharactersInItsColumns) {
  GeneratedStandIdentity id;
  id.number = 305;
  id.shortName = "Fichte,Tanne";
  id.standType = 'A';
  id.ageDigit = '3';
  std::optional<std::string> line = GeneratedRegisterLine(id, 100.0, 100.0);
  ASSERT_TRUE(line);
  EXPECT_EQ(*line, "Stand305.txt Fichte,Tanne    M A 3   00.0   0.00   0.00 100.00 100.00 100.00 100.00   0.00");

  // Corner 2 y and corner 3 y carry the height, corners 3 x and 4 x the width.
  id.developmentType = 'c';
  id.treatmentDigit = '2';
  line = GeneratedRegisterLine(id, 120.0, 80.5);
  ASSERT_TRUE(line);
  EXPECT_EQ(*line, "Stand305.txt Fichte,Tanne    McA23   00.0   0.00   0.00  80.50 120.00  80.50 120.00   0.00");
  EXPECT_EQ(line->size(), 90u);

  // Read back: class in both modes, list text, and the rectangle of the corners.
  EXPECT_EQ(DecodeRegisterClass(*line, ClassificationMode::StandTypes), (RegisterClass{1, 2}));
  EXPECT_EQ(DecodeRegisterClass(*line, ClassificationMode::DevelopmentTypes), (RegisterClass{3, 2}));
  EXPECT_EQ(RegisterItemText(*line), "Stand305 > Fichte,Tanne ");
  RegisterCornerValues c;
  ASSERT_EQ(ReadRegisterCorners(*line, c), CornerProblem::None);
  EXPECT_EQ(c.x, (std::array<double, 5>{0, 0, 120, 120, 0}));
  EXPECT_EQ(c.y, (std::array<double, 5>{0, 80.5, 80.5, 0, 0}));

  // The folder "StandsEU" reads the size from corner 1.
  line = RegisterLineFor(id, 120.0, 80.5, RegisterCornerForm::SizeFirst);
  ASSERT_TRUE(line);
  EXPECT_EQ(line->substr(34), " 120.00  80.50   0.00  80.50 120.00  80.50 120.00   0.00");

  // A size that does not fit seven columns is refused, not written wider.
  EXPECT_FALSE(GeneratedRegisterLine(id, 12000.0, 100.0));
  EXPECT_FALSE(GeneratedRegisterLine(id, 0.0, 100.0));
}

TEST(RegisterLine, ShortNamesTakeExactlySixteenCharacters) {
  EXPECT_EQ(RegisterShortName("Buche"), "Buche           ");
  EXPECT_EQ(RegisterShortName("Fichte,Tanne,Buche,Eiche"), "Fichte,Tanne,Buc");
  // A tab or line break would split the register's line; umlauts count as one column each.
  EXPECT_EQ(RegisterShortName("a\tb\r\nc"), "a b  c          ");
  GeneratedStandIdentity id;
  id.number = 999;
  id.shortName = "Lärchen-Öde,Fö";
  std::optional<std::string> line = GeneratedRegisterLine(id, 100.0, 100.0);
  ASSERT_TRUE(line);
  EXPECT_EQ(Utf8Length(*line), 90u);
  EXPECT_EQ(RegisterColumns(*line, 30, 30), "M");
  EXPECT_EQ(GeneratedStandFileName(7), "Stand007.txt");
}

TEST(RegisterLine, DecodingFollowsTheModeWithItsBlanks) {
  EXPECT_EQ(DecodeRegisterClass(kLine301, ClassificationMode::StandTypes), (RegisterClass{1, 1}));
  EXPECT_EQ(DecodeRegisterClass(kLine301, ClassificationMode::DevelopmentTypes), (RegisterClass{1, 1}));
  EXPECT_EQ(RegisterItemText(kLine301), "Stand301 > Fichte Test  ");

  // A blank treatment counts as JPF; a blank age class or development type is no class.
  EXPECT_EQ(DecodeRegisterClass(WithColumn(kLine301, 33, ' '), ClassificationMode::DevelopmentTypes),
            (RegisterClass{1, 1}));
  EXPECT_FALSE(DecodeRegisterClass(WithColumn(kLine301, 34, ' '), ClassificationMode::StandTypes));
  EXPECT_FALSE(DecodeRegisterClass(WithColumn(kLine301, 31, ' '), ClassificationMode::DevelopmentTypes));
  // Letters past H / h and digits past the classes, and lines that stop before column 34.
  EXPECT_FALSE(DecodeRegisterClass(WithColumn(kLine301, 32, 'I'), ClassificationMode::StandTypes));
  EXPECT_FALSE(DecodeRegisterClass(WithColumn(kLine301, 34, '7'), ClassificationMode::StandTypes));
  EXPECT_FALSE(DecodeRegisterClass(WithColumn(kLine301, 33, '6'), ClassificationMode::DevelopmentTypes));
  EXPECT_FALSE(DecodeRegisterClass(kLine301.substr(0, 33), ClassificationMode::StandTypes));
  EXPECT_EQ(DecodeRegisterClass(WithColumn(WithColumn(kLine301, 32, 'H'), 34, '6'), ClassificationMode::StandTypes),
            (RegisterClass{8, 5}));
  // Columns count characters: an umlaut in the short name shifts nothing.
  std::string umlaut = kLine301;
  umlaut.replace(13, 2, "Fö");
  EXPECT_EQ(DecodeRegisterClass(umlaut, ClassificationMode::StandTypes), (RegisterClass{1, 1}));
}

TEST(RegisterLine, CornersOfShortOrDamagedLinesAreRefused) {
  RegisterCornerValues c;
  ASSERT_EQ(ReadRegisterCorners(kLine301, c), CornerProblem::None);
  EXPECT_EQ(c.x, (std::array<double, 5>{0, 0, 120, 120, 0}));
  EXPECT_EQ(c.y, (std::array<double, 5>{0, 100, 100, 0, 0}));
  // Corner 5 written out is read.
  ASSERT_EQ(ReadRegisterCorners(kLine301 + "   1.50  -2.00", c), CornerProblem::None);
  EXPECT_EQ(c.x[4], 1.5);
  EXPECT_EQ(c.y[4], -2.0);

  RegisterCornerValues before = c;
  EXPECT_EQ(ReadRegisterCorners(kLine301.substr(0, 89), c), CornerProblem::TooShort);
  EXPECT_EQ(ReadRegisterCorners(WithColumn(kLine301, 60, 'x'), c), CornerProblem::NotANumber);
  EXPECT_EQ(ReadRegisterCorners(kLine301 + "   1,50", c), CornerProblem::NotANumber);
  EXPECT_EQ(c.x, before.x);
}

TEST(RegisterFile, LinesComeBackByteForByteWhateverTheirEnds) {
  TempDir dir;
  // CRLF, LF only, a Windows-1252 line (0xF6 = ö), an empty line and a last line without an end.
  const std::string bytes = kLine301 + "\r\n" + "Bestnd09.txt Fi/Ta/Bu       M fF36\n" + "Stand302.txt K\xF6hler\r\n" +
                            "\r\n" + "Stand303.txt";
  dir.Write("r.txt", bytes);
  RegisterFile f;
  ASSERT_EQ(ReadRegisterFile(dir.File("r.txt"), f), RegisterFileProblem::None);
  ASSERT_EQ(f.lines.size(), 5u);
  EXPECT_EQ(f.lines[0].Text(), kLine301);  // the carriage return is no column
  EXPECT_EQ(f.lines[2].Text(), "Stand302.txt Köhler");
  EXPECT_TRUE(f.lines[3].Empty());
  EXPECT_EQ(EncodeRegisterFile(f), bytes);

  // A line appended after a last line without an end starts on a line of its own.
  f.lines.push_back(NewRegisterLine("Stand304.txt"));
  EXPECT_EQ(EncodeRegisterFile(f), bytes + "\r\nStand304.txt\r\n");
  EXPECT_EQ(ReadRegisterFile(dir.File("none.txt"), f), RegisterFileProblem::Missing);
}

TEST(RegisterFile, AClassIsWrittenIntoItsTwoColumnsOnly) {
  const std::string other = "Stand302.txt K\xF6hler          MbB24   00.0   0.00   0.00 100.00 100.00 100.00 100.00   0.00";
  RegisterFile f;
  f.lines = {{"Bestnd09.txt Fi/Ta/Bu       MfF36\r", true}, {kLine301 + "\r", true}, {other, true}};
  const RegisterFile before = f;

  ASSERT_EQ(SetRegisterClass(f, "Stand301", ClassificationMode::DevelopmentTypes, {3, 2}),
            ClassWriteResult::Written);
  std::string expected = WithColumn(WithColumn(kLine301, 31, 'c'), 33, '2') + "\r";
  EXPECT_EQ(f.lines[1].raw, expected);
  EXPECT_EQ(f.lines[0].raw, before.lines[0].raw);
  EXPECT_EQ(f.lines[2].raw, before.lines[2].raw);

  // Mode 0 writes the type letter and the age digit; a Windows-1252 line keeps its other bytes.
  ASSERT_EQ(SetRegisterClass(f, "Stand302", ClassificationMode::StandTypes, {8, 5}), ClassWriteResult::Written);
  EXPECT_EQ(f.lines[2].raw, WithColumn(WithColumn(other, 32, 'H'), 34, '6'));
  // The same on a UTF-8 line whose name holds a two-byte character before the class columns.
  RegisterFile u;
  u.lines = {{"Stand302.txt Köhler          MbB24", true}};
  ASSERT_EQ(SetRegisterClass(u, "stand302", ClassificationMode::StandTypes, {1, 1}), ClassWriteResult::Written);
  EXPECT_EQ(u.lines[0].raw, "Stand302.txt Köhler          MbA22");

  // Nothing is written without exactly one line of the stand, or into a line too short for the columns.
  RegisterFile g = f;
  EXPECT_EQ(SetRegisterClass(g, "Stand999", ClassificationMode::StandTypes, {1, 1}), ClassWriteResult::NoSuchStand);
  g.lines.push_back({kLine301, false});
  EXPECT_EQ(SetRegisterClass(g, "Stand301", ClassificationMode::StandTypes, {1, 1}), ClassWriteResult::SeveralLines);
  RegisterFile s;
  s.lines = {{"Stand301.txt kurz", true}};
  EXPECT_EQ(SetRegisterClass(s, "Stand301", ClassificationMode::StandTypes, {1, 1}), ClassWriteResult::LineTooShort);
  EXPECT_EQ(s.lines[0].raw, "Stand301.txt kurz");
  EXPECT_EQ(EncodeRegisterFile(g).substr(0, EncodeRegisterFile(f).size()), EncodeRegisterFile(f));
}

// Writing a class into a line must leave it reading at the columns it was written to, whatever the
// line's bytes: the characters of the decoded line are those before, but the two class columns.
TEST(RegisterFile, AClassReadsBackAtItsColumnsInEveryEncoding) {
  struct Case {
    const char* what;
    std::string raw;
    std::array<bool, 2> keepsBytes;  // by mode: the line keeps its bytes but the two columns
  };
  const std::string tail = "   00.0   0.00   0.00 100.00 100.00 100.00 100.00   0.00";
  const std::vector<Case> cases = {
      {"Windows-1252 name", "Stand302.txt L\xE4rche \xFC" "berall  MbB34" + tail + "\r", {true, true}},
      {"UTF-8 name", "Stand302.txt Lärche überall  MbB34" + tail + "\r", {true, true}},
      // 0xE7 0xB2 0x9E is a whole UTF-8 character, 0xBE makes the line Windows-1252; a class letter in
      // place of 0xBE (column 32) leaves valid UTF-8, which would read two columns further left.
      {"letter completes UTF-8", "Stand302.txt A Fi 1/2 JPFg  \xE7\xB2\x9E\xBE" "12" + tail + "\r", {false, true}},
      {"byte-order mark", "\xEF\xBB\xBFStand302.txt L\xC3\xA4rche          MbB34" + tail + "\r\r", {true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (ClassificationMode mode : {ClassificationMode::StandTypes, ClassificationMode::DevelopmentTypes}) {
      RegisterFile f;
      f.lines = {{kLine301 + "\r", true}, {c.raw, true}};
      const std::string text = f.lines[1].Text();
      ASSERT_EQ(RegisterCode(text), "Stand302");
      ASSERT_EQ(SetRegisterClass(f, "Stand302", mode, {7, 5}), ClassWriteResult::Written);
      const bool wet = mode == ClassificationMode::DevelopmentTypes;
      std::string want = text;
      const std::size_t typeAt = Utf8Left(text, wet ? 30 : 31).size();
      const std::size_t classAt = Utf8Left(text, wet ? 32 : 33).size();
      want.replace(classAt, Utf8Left(text, wet ? 33 : 34).size() - classAt, 1, ClassDigit(mode, 5));
      want.replace(typeAt, Utf8Left(text, wet ? 31 : 32).size() - typeAt, 1, TypeLetter(mode, 7));
      EXPECT_EQ(f.lines[1].Text(), want);
      EXPECT_EQ(DecodeRegisterClass(f.lines[1].Text(), mode), (RegisterClass{7, 5}));
      EXPECT_EQ(f.lines[0].raw, kLine301 + "\r");
      EXPECT_EQ(f.lines[1].raw.size() == c.raw.size(), c.keepsBytes[wet ? 1 : 0]);
      // The line end (doubled carriage returns included) and a byte-order mark stay where they were.
      EXPECT_EQ(f.lines[1].raw.substr(0, 3) == "\xEF\xBB\xBF", c.raw.substr(0, 3) == "\xEF\xBB\xBF");
      EXPECT_EQ(f.lines[1].raw.back(), '\r');
      EXPECT_EQ(f.lines[1].raw.ends_with("\r\r"), c.raw.ends_with("\r\r"));
    }
  }
}

TEST(RegisterFile, TheGeneratorReplacesAndRemovesWholeLines) {
  // A hand-made line of 104 characters (with corner 5) and an empty line.
  const std::string longLine = kLine301 + "   0.00   0.00";
  RegisterFile f;
  f.lines = {{longLine + "\r", true}, {"\r", true}, {"Stand305.txt alt", true}, {"Stand306.txt X", true}};
  const std::string newLine = "Stand305.txt neu";
  ReplaceRegisterEntry(f, "Stand305.txt", &newLine);
  ReplaceRegisterEntry(f, "Stand305.txt", &newLine);  // saving twice leaves one line
  EXPECT_EQ(EncodeRegisterFile(f), longLine + "\r\nStand306.txt X\nStand305.txt neu\r\n");
  EXPECT_EQ(RegisterComboItems(f), (std::vector<std::string>{"301 Fichte Test     ", "306 X               ",
                                                             "305 neu             "}));
  ReplaceRegisterEntry(f, "Stand305.txt", nullptr);
  EXPECT_EQ(EncodeRegisterFile(f), longLine + "\r\nStand306.txt X\n");
}

TEST(RegisterNames, TypeNamesAndCodesOfBothClassifications) {
  EXPECT_STREQ(StandTypeName(1), "(A) Fichte - Ta, sLb");
  EXPECT_STREQ(DevelopmentTypeName(0), "Alle WET         ");
  EXPECT_STREQ(DevelopmentTypeName(8), "(h) Dougl.-Mischwald");
  EXPECT_STREQ(TreatmentTypeName(3), "VPF");
  EXPECT_EQ(TypeLetter(ClassificationMode::DevelopmentTypes, 6), 'f');
  EXPECT_EQ(ClassDigit(ClassificationMode::StandTypes, 1), '2');
  EXPECT_EQ(ClassDigit(ClassificationMode::DevelopmentTypes, 6), ' ');
}

}  // namespace
}  // namespace tolvek
