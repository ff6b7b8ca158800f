// The area balance: strata summed with their totals, the text table and its lay-out for the window, and
// the colour matrix.
#include <gtest/gtest.h>

#include <cstdlib>

#include "simulator/enterprise/area_balance.h"
#include "simulator/enterprise/model_stands.h"
#include "common/recording_canvas.h"

using namespace tolvek;

namespace {

std::string German(const std::string& s) { return s; }

std::array<std::string, 9> Names(ClassificationMode mode) { return TypeNames(mode, LanguageTable{}); }

std::vector<Compartment> Stands(std::initializer_list<std::tuple<int, int, double>> stands) {
  std::vector<Compartment> c(2);
  for (auto [t, k, area] : stands) {
    EnterpriseStand st;
    st.typePosition = t;
    st.cls = k;
    st.area = area;
    c[1].stands.push_back(st);
  }
  return c;
}

}  // namespace

TEST(AreaBalance, StrataWithTheirSums) {
  const AreaBalance b = BuildAreaBalance(Stands({{1, 2, 3.0}, {2, 2, 1.0}, {0, 2, 9.0}, {2, 6, 9.0}}));
  EXPECT_EQ(b[1][2], 3.0);
  EXPECT_EQ(b[2][2], 1.0);
  EXPECT_EQ(b[0][2], 4.0);
  EXPECT_EQ(b[1][0], 3.0);
  EXPECT_EQ(b[2][0], 1.0);
  EXPECT_EQ(b[0][0], 4.0);  // stands outside the strata (as a bad file could carry them) count nowhere
  EXPECT_EQ(BalanceCellText(b, 6, 6), "    4");
  EXPECT_EQ(BalanceCellText(b, 1, 6), "    3");
  EXPECT_EQ(BalanceCellText(b, 6, 2), "    4");
}

TEST(AreaBalance, TextOfTheStandTypesAndItsLayout) {
  const AreaBalance b = BuildAreaBalance(Stands({{1, 2, 3.0}, {2, 2, 1.04}, {2, 5, 12.26}}));
  ChosenTypes chosen;
  chosen.count = 2;
  chosen.codes = {0, 1, 7, 0, 0, 0};
  const std::array<std::string, 6> names = PositionNames(chosen, Names(ClassificationMode::StandTypes));
  EXPECT_EQ(names[0], "Alle Bestandestypen");
  EXPECT_EQ(names[2], "(G) Buntlaubbäume");
  EXPECT_EQ(names[3], "");
  const std::string d = "\r    " + std::string(102, '-');
  const std::string text = AreaBalanceText(b, false, names, German);
  EXPECT_EQ(text, "\t\t\tÜbersicht der Bestandes-Flächen\r" + d + "\r" +
                      "    Altersklasse    \t  1./2.\t    3.\t    4.\t    5.\t    6.\t    Alle" + d +
                      "\r    (A) Fichte - Ta, sLb\t   0.0\t   3.0\t   0.0\t   0.0\t   0.0\t   3.0" +
                      "\r    (G) Buntlaubbäume  \t   0.0\t   1.0\t   0.0\t   0.0\t  12.3\t  13.3" + d +
                      "\r    Alle Bestandestypen\t   0.0\t   4.0\t   0.0\t   0.0\t  12.3\t  16.3" + d +
                      "\r   Bei großen Beständen können die Flächen von den Vorgaben abweichen");

  // For the window: the columns right-aligned behind the widest name, the rules as wide as the table.
  const std::vector<std::string> lines = AreaBalanceDisplayLines(text);
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0], std::string(21, ' ') + "Übersicht der Bestandes-Flächen");  // centred
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[3], "    Altersklasse            1./2.      3.      4.      5.      6.     Alle");
  EXPECT_EQ(lines[5], "    (A) Fichte - Ta, sLb      0.0     3.0     0.0     0.0     0.0     3.0");
  EXPECT_EQ(lines[6], "    (G) Buntlaubbäume         0.0     1.0     0.0     0.0    12.3    13.3");
  EXPECT_EQ(lines[4], "    " + std::string(lines[3].size() - 4, '-'));
}

TEST(AreaBalance, TextOfTheForestDevelopmentTypes) {
  const AreaBalance b = BuildAreaBalance(Stands({{3, 1, 2.0}}));
  ChosenTypes chosen;
  chosen.count = 3;
  chosen.codes = {0, 1, 2, 8, 0, 0};
  const std::string text = AreaBalanceText(b, true, PositionNames(chosen, Names(ClassificationMode::DevelopmentTypes)), German);
  EXPECT_NE(text.find("    Behandlungstyp  \t   JPF\t   DF\t  VPF\t   VN\t  DW\t  Alle\r    ---"), std::string::npos);
  EXPECT_NE(text.find("\r    (h) Dougl.-Mischwald\t   2.0\t   0.0"), std::string::npos);
  EXPECT_NE(text.find("\r    Alle WET           \t   2.0"), std::string::npos);
  EXPECT_EQ(text.find("(a) Fichte"), std::string::npos);  // a type without area gives no row
  EXPECT_EQ(ClassName(3, true), "VPF");
  EXPECT_EQ(ClassName(5, false), "6.+");
}

TEST(AreaBalance, MatrixInTheMapColours) {
  AreaBalance b{};
  b[1][1] = 12.6;
  b[0][0] = 12.6;
  b[1][0] = 12.6;
  b[0][1] = 12.6;
  RecordingCanvas canvas;
  DrawAreaBalanceMatrix(canvas, b, 40, "Mono", 9);
  std::vector<std::string> texts;
  for (const DrawCommand* c : canvas.OfKind(DrawCommand::Kind::Text)) texts.push_back(c->text);
  const int fills = static_cast<int>(canvas.OfKind(DrawCommand::Kind::Rectangle).size());
  EXPECT_EQ(fills, 36);
  ASSERT_EQ(texts.size(), 36u);
  EXPECT_EQ(texts[0], "   13");
  EXPECT_EQ(texts[5], "   13");   // row 1, the sum column
  EXPECT_EQ(texts[35], "   13");  // the sum of all
  EXPECT_EQ(texts[7], "    0");
  // Row 2, column 3: the class colour of type 2 (red shades), its number 2 right of and 10 below the corner.
  const DrawCommand* cell = canvas.OfKind(DrawCommand::Kind::Text)[8];
  EXPECT_EQ(cell->v, (std::vector<int>{82, 50}));
  const DrawCommand* brush = canvas.OfKind(DrawCommand::Kind::Brush)[8];
  EXPECT_EQ(brush->colour, ClassColour(2, 3));
  // Each number in a colour that stands out from its cell: black on the light shades and the white sums,
  // white on the darkest shade of every type.
  const auto fonts = canvas.OfKind(DrawCommand::Kind::Font);
  ASSERT_EQ(fonts.size(), 36u);
  for (int r = 1; r <= 6; ++r)
    for (int q = 1; q <= 6; ++q) {
      const Colour fill = ClassColour(r, q);
      const Colour ink = fonts[static_cast<std::size_t>((r - 1) * 6 + q - 1)]->colour;
      const auto brightness = [](Colour c) { return ColourRed(c) + ColourGreen(c) + ColourBlue(c); };
      EXPECT_GT(std::abs(brightness(fill) - brightness(ink)), 180) << r << "," << q;
    }
  EXPECT_EQ(fonts[0]->colour, kBlack);   // type 1, class 1: the lightest green
  EXPECT_EQ(fonts[4]->colour, kWhite);   // type 1, class 5: the darkest green
  EXPECT_EQ(fonts[35]->colour, kBlack);  // the sum of all
}
