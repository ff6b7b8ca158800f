// The result window's arithmetic: sizing, colours, the stand picture and the table.
#include "generator/result.h"

#include <gtest/gtest.h>

#include "common/recording_canvas.h"

namespace tolvek::generator {
namespace {

TEST(ResultWindow, SizedFromTheScreen) {
  const ResultWindowGeometry four3 = ResultWindowSize(1024, 768);
  EXPECT_EQ(four3.width, 1024);
  EXPECT_EQ(four3.height, 768);
  EXPECT_EQ(four3.imageSize, 691);
  EXPECT_EQ(four3.imageLeft, -1);
  const ResultWindowGeometry wide = ResultWindowSize(1920, 1080);
  EXPECT_EQ(wide.width, 1350);
  EXPECT_EQ(wide.imageSize, 972);
  EXPECT_EQ(wide.imageLeft, 358);
  const ResultWindowGeometry laptop = ResultWindowSize(1366, 768);
  EXPECT_EQ(laptop.width, 960);
  EXPECT_EQ(laptop.imageLeft, 254);  // 254.4
}

TEST(ResultWindow, Palette) {
  EXPECT_EQ(GeneratorSpeciesColour(0), 0x808080u);
  EXPECT_EQ(GeneratorSpeciesColour(2), 0x0000FFu);
  EXPECT_EQ(GeneratorSpeciesColour(3), 0xB090FFu);
  EXPECT_EQ(GeneratorSpeciesColour(9), 0xFFFF00u);
  EXPECT_EQ(GeneratorSpeciesColour(10), 0x008000u);
}

GeneratedStand Small() {
  GeneratedStand s;
  s.level = GenerationLevel::kEnterprise;
  s.width = s.height = 100.0;
  s.parameters.rows[0] = {1, 30, 20, 0, 400};
  s.parameters.rows[1] = {1, 5, 20, 0, 100};
  s.parameters.rows[2] = {5, 30, 20, 0, 100};
  auto add = [&](int row, int species, double dbh, double x, double y) {
    GeneratedTree t;
    t.row = row;
    t.species = species;
    t.dbh = dbh;
    t.x = x;
    t.y = y;
    s.trees.push_back(t);
  };
  add(1, 1, 30.0, 50.0, 50.0);
  add(1, 1, 40.0, 100.0, 20.0);  // x = W still stands
  add(1, 1, 50.0, -1.0, -1.0);   // felled: not drawn, not counted
  add(2, 1, 5.0, 10.0, 10.0);    // below 7 cm: counted, no basal area
  return s;
}

TEST(ResultWindow, PictureDrawsStandingTreesInTheirColours) {
  RecordingCanvas c;
  DrawGeneratedStand(c, 200, Small());
  const auto rects = c.OfKind(DrawCommand::Kind::Rectangle);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0]->v, (std::vector<int>{0, 0, 200, 200}));
  const auto ellipses = c.OfKind(DrawCommand::Kind::Ellipse);
  ASSERT_EQ(ellipses.size(), 3u);
  // s = 2 px/m; the 30 cm tree at (50, 50) has r = 1.5 m: x 97 … 103, y 200 − 97 … 200 − 103.
  EXPECT_EQ(ellipses[0]->v, (std::vector<int>{97, 103, 103, 97}));
  const auto pens = c.OfKind(DrawCommand::Kind::Pen);
  ASSERT_GE(pens.size(), 2u);
  EXPECT_EQ(pens[0]->colour, kRed);
  EXPECT_EQ(pens[1]->colour, GeneratorSpeciesColour(1));
}

TEST(ResultWindow, TableRowsAndSum) {
  LanguageTable german;
  const auto lines = ResultMemoLines(Small(), german);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], " Baumart S  BHD  N/ha G/ha");
  // Row 1: two trees on 1 ha; G = (30² + 40²) × π/4 cm² over 10000 m² = 0.196 m²/ha; Dg = 35.4 cm.
  EXPECT_EQ(lines[3], " Fichte      35    2   0.2");
  // Row 2, the second spruce row: letter "b"; its one tree is below 7 cm, so no basal area and no Dg.
  EXPECT_EQ(lines[4], " Fichte  b    0    1   0.0");
  // Row 3 lost every tree.
  EXPECT_EQ(lines[5], " Buche        0    0   0.0");
  EXPECT_EQ(lines[7], " Summe             3   0.2");
}

TEST(ResultWindow, TableOfACrossCheckedStand) {
  // The strict spruce lattice of 400 stems per ha on the stand level.
  GeneratedStand s;
  s.level = GenerationLevel::kStand;
  s.width = s.height = 300.0;
  s.parameters.rows[0] = {1, 30, 20, 0, 400};
  RandomGenerator r(0);
  int pass = 1;
  s = *GenerateStand(s.parameters, GenerationLevel::kStand, pass, r).stand;
  const auto lines = ResultMemoLines(s, LanguageTable{});
  EXPECT_EQ(lines[3], " Fichte      31  400  29.6");
  EXPECT_EQ(lines[5], " Summe           400  29.6");
}

}  // namespace
}  // namespace tolvek::generator
