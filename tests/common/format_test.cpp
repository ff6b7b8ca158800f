#include "common/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "common/random.h"
#include "common/rounding.h"

namespace tolvek {
namespace {

TEST(FormatInt, PadsToWidthAndNeverTruncates) {
  EXPECT_EQ(FormatInt(7, 3), "  7");
  EXPECT_EQ(FormatInt(1234, 2), "1234");
  EXPECT_EQ(FormatInt(-5, 4), "  -5");
  EXPECT_EQ(FormatInt(1, 30).size(), 20u);  // at most 19 blanks in front
}

TEST(FormatFixed, SmallValuesShowOneDecimalAtMost) {
  EXPECT_EQ(FormatFixed(8, 2, 0.004), "     0.0");
  EXPECT_EQ(FormatFixed(5, 0, -0.001), "    0");
  EXPECT_EQ(FormatFixed(1, 0, 0.0), "0");
  EXPECT_EQ(FormatFixed(3, 2, 0.0), "0.0");
}

TEST(FormatFixed, AlignsTheDecimalPoint) {
  EXPECT_EQ(FormatFixed(8, 2, 12.5), "   12.50");
  EXPECT_EQ(FormatFixed(3, 2, 1.5), "1.50");  // width grows by one when decimals + 1 >= width
  EXPECT_EQ(FormatFixed(6, 1, -3.25), "  -3.2");  // exact tie goes to the even digit
  EXPECT_EQ(FormatFixed8_2(-0.006), "   -0.01");
}

TEST(FormatFixed, TooWideValueComesBackWhole) {
  EXPECT_EQ(FormatFixed(5, 2, -9.999), "-10.00");
  EXPECT_EQ(FormatFixed(4, 1, 123456.0), "123456.0");
}

TEST(PadRight, CountsCharactersNotBytes) {
  std::string s = PadRight("Kreisfläche:", 16);
  EXPECT_EQ(Utf8Length(s), 17u);
  EXPECT_EQ(PadRight("", 0), " ");
  EXPECT_EQ(PadRight("abcdef", 3), "abcdef");
}

TEST(TrimSpaces, ShortTextsStayAndBlanksVanish) {
  EXPECT_EQ(TrimSpaces(" a"), " a");
  EXPECT_EQ(TrimSpaces("  ab  "), "ab");
  EXPECT_EQ(TrimSpaces("     "), "");
  EXPECT_EQ(TrimSpaces("ä "), "ä ");  // two characters, three bytes
}

TEST(TextToReal, WholeTextOrZero) {
  EXPECT_DOUBLE_EQ(TextToReal("12.5"), 12.5);
  EXPECT_DOUBLE_EQ(TextToReal("  -3"), -3.0);
  EXPECT_DOUBLE_EQ(TextToReal("1,5"), 0.0);
  EXPECT_FALSE(ParseReal("abc").has_value());
  EXPECT_FALSE(ParseReal("").has_value());
  EXPECT_FALSE(ParseReal("1e999").has_value());
  EXPECT_EQ(ParseInt("42").value(), 42);
}

TEST(Cutters, NothingToCutLeavesTheText) {
  EXPECT_EQ(ShortenAtSubstring("abcXYZdef", "XYZ"), "abcZdef");
  EXPECT_EQ(ShortenAtSubstring("abc", "XYZ"), "abc");
  EXPECT_EQ(CutAfterLastChar("/opt/tolvek/bin/Tolvek", '/'), "/opt/tolvek/bin");
  EXPECT_EQ(CutAfterLastChar("Tolvek", '/'), "Tolvek");
}

TEST(Encoding, NonUtf8LinesAreWindows1252) {
  EXPECT_EQ(DecodeTextLine("Kreisfl\xE4" "che"), "Kreisfläche");
  EXPECT_EQ(DecodeTextLine("Kreisfläche"), "Kreisfläche");
  EXPECT_EQ(DecodeTextLine("\x80"), "€");
  EXPECT_FALSE(IsValidUtf8("\xC3"));
  EXPECT_EQ(Utf8Mid("äöüß", 1, 2), "öü");
}

TEST(HashMarksToLineBreaks, EveryMarkBreaksTheLine) {
  // the sample-tree message: the blanks round the mark do not start or end a line
  EXPECT_EQ(HashMarksToLineBreaks("File C:/TOLVEK/Temp/ProbeBa.Txt # mit Notepad ausgeben."),
            "File C:/TOLVEK/Temp/ProbeBa.Txt\nmit Notepad ausgeben.");
  // not only the first two marks, as in the program's own box
  EXPECT_EQ(HashMarksToLineBreaks("a#b#c#d"), "a\nb\nc\nd");
  EXPECT_EQ(HashMarksToLineBreaks("##"), "\n\n");
  EXPECT_EQ(HashMarksToLineBreaks("#x#"), "\nx\n");
  // only one blank on each side goes; a text without marks stays as it is
  EXPECT_EQ(HashMarksToLineBreaks("a  #  b"), "a \n b");
  EXPECT_EQ(HashMarksToLineBreaks("Grenzdatei nicht gefunden: Bestände"), "Grenzdatei nicht gefunden: Bestände");
  EXPECT_EQ(HashMarksToLineBreaks(""), "");
}

TEST(Rounding, HalfGoesToEven) {
  EXPECT_EQ(RoundInt(0.5), 0);
  EXPECT_EQ(RoundInt(1.5), 2);
  EXPECT_EQ(RoundInt(2.5), 2);
  EXPECT_EQ(RoundInt(-2.5), -2);
  EXPECT_EQ(RoundInt(1092.5), 1092);
}

// The rounding without the library call must give std::nearbyint's value bit for bit: halves and their
// neighbours, both signs, zeros, the ends of the exact range and beyond, NaN and the infinities, and
// random values of every size.
TEST(Rounding, NearbyIntAsTheLibrary) {
  const auto same = [](double x) {
    const double expected = std::nearbyint(x), got = NearbyInt(x);
    if (std::isnan(expected)) return std::isnan(got);
    return std::memcmp(&expected, &got, sizeof got) == 0;
  };
  std::vector<double> xs = {0.0, -0.0, 0.4, -0.4, 0.5, -0.5, 0.6, 1.5, -1.5, 2.5, -2.5, 1e-300, -1e-300,
                            4503599627370495.5, -4503599627370495.5, 4503599627370496.0, 4503599627370497.0,
                            9007199254740993.0, 1e300, -1e300, std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::denorm_min()};
  for (double half = 0.5; half < 1e7; half = half * 3.0 + 1.0)
    for (double x : {half, std::nextafter(half, 0.0), std::nextafter(half, 1e9)}) {
      xs.push_back(x);
      xs.push_back(-x);
    }
  RandomGenerator r(11);
  for (int i = 0; i < 200000; ++i) {
    const double x = (r.NextReal() - 0.5) * std::pow(2.0, static_cast<int>(r.NextReal() * 120.0) - 60);
    xs.push_back(x);
    xs.push_back(std::floor(x) + 0.5);
  }
  for (double x : xs) ASSERT_TRUE(same(x)) << std::hexfloat << x;
}

}  // namespace
}  // namespace tolvek
