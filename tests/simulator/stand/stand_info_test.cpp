#include "simulator/stand/stand_info.h"

#include <gtest/gtest.h>

#include "common/recording_canvas.h"

namespace tolvek {
namespace {

using K = DrawCommand::Kind;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    auto p = text.find('\n', start);
    out.push_back(text.substr(start, p == std::string::npos ? std::string::npos : p - start));
    if (p == std::string::npos) return out;
    start = p + 1;
  }
}

std::string Dashes() {
  std::string d;
  for (int i = 0; i < 26; ++i) d += "\u2014";
  return d;
}

TEST(BuildStandInfo, SpruceStandTableRowsAndPanelHeight) {
  SpeciesSums sums;
  sums.count[1] = sums.count[0] = 500;
  sums.basalArea[1] = sums.basalArea[0] = 20.0;
  LanguageTable german;
  StandInfoInputs in{sums, 2.0, "Bestnd07.txt", 1, false, nullptr};
  StandInfo info = BuildStandInfo(in, german);
  EXPECT_EQ(info.rows, 2);
  EXPECT_EQ(info.panelHeight, 174);
  EXPECT_EQ(info.separator, "\n " + Dashes());
  auto lines = Lines(info.text);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], " Bestand:         Bestnd07");
  EXPECT_EQ(lines[2], " Fläche:        2.00 ha");
  EXPECT_EQ(lines[3], " " + Dashes());
  EXPECT_EQ(lines[4], " Baumart     BHD  N/ha G/ha");
  EXPECT_EQ(lines[5], " " + Dashes());
  // sqrt(20 / 500 * 1.2732) * 100 = 22.57 cm
  // Names padded to 9 characters, then two blanks; the whole-stand row follows two blanks (which end
  // the last species row) and a separator.
  EXPECT_EQ(lines[6], " Fichte       23  250  10.0  ");
  EXPECT_EQ(lines[7], " " + Dashes());
  EXPECT_EQ(lines[8], " Bestand      23  250  10.0");
  EXPECT_EQ(lines[9], " " + Dashes());
  EXPECT_TRUE(info.caption.empty());
}

TEST(BuildStandInfo, NamesFollowTheSpeciesListAndEmptySpeciesAreLeftOut) {
  SpeciesSums sums;
  sums.count[2] = 4;
  sums.basalArea[2] = 0.2;
  sums.count[0] = 4;
  sums.basalArea[0] = 0.2;
  LanguageTable german;
  StandInfo info = BuildStandInfo({sums, 1.0, "Bestnd12", 2, false, nullptr}, german);
  EXPECT_EQ(info.rows, 2);
  EXPECT_NE(info.text.find("\n Kiefer "), std::string::npos);
  EXPECT_EQ(info.text.find("Tanne"), std::string::npos);
  EXPECT_EQ(info.text.find("Fichte"), std::string::npos);
}

TEST(BuildStandInfo, NoAreaWritesNoInfinity) {
  SpeciesSums sums;
  sums.count[1] = sums.count[0] = 3;
  sums.basalArea[1] = sums.basalArea[0] = 0.3;
  LanguageTable german;
  StandInfo info = BuildStandInfo({sums, 0.0, "Bestnd01", 1, false, nullptr}, german);
  EXPECT_EQ(info.text.find("inf"), std::string::npos);
  EXPECT_EQ(info.text.find("nan"), std::string::npos);
  EXPECT_NE(info.text.find(" Fichte       36    -     -"), std::string::npos) << info.text;
}

TEST(BuildStandInfo, ClassLinesOfAModelStand) {
  SpeciesSums sums;
  LanguageTable german;
  StandClassLine wet{true, "Fichten-Buchen-Mischwald mit Tanne", "DF", 0};
  StandInfo a = BuildStandInfo({sums, 4.0, "Stand301 > x", 1, true, &wet}, german);
  EXPECT_EQ(a.caption, " Form35   WET");
  auto lines = Lines(a.text);
  EXPECT_EQ(lines[1], " Bestand:         Stand301");
  EXPECT_EQ(lines[2], " WET: Fichten-Buchen-Misch");
  EXPECT_EQ(lines[3], " Behandlungstyp: DF");
  // A "StandsGE" stand has no layer sums to show.
  EXPECT_EQ(a.rows, 0);
  EXPECT_EQ(a.panelHeight, 146);

  StandClassLine types{false, "Fichte rein", "", 3};
  StandInfo b = BuildStandInfo({sums, 4.0, "Stand150", 1, false, &types}, german);
  EXPECT_EQ(b.caption, " Form35");
  lines = Lines(b.text);
  EXPECT_EQ(lines[2], " Bestandestyp :   Fich");
  EXPECT_EQ(lines[3], " Altersklasse:    3");
}

TEST(StandInfoPlacement, BesideThePreviewAboveItsButton) {
  auto p = PlaceStandInfoBesidePreview(174, 100, 400);
  EXPECT_EQ(p.left, 434);
  EXPECT_EQ(p.height, 164);
  EXPECT_EQ(p.top, 400 - 55 - 164);
}

std::array<std::uint32_t, kHistogramClasses + 1> Histogram() {
  std::array<std::uint32_t, kHistogramClasses + 1> h{};
  h[10] = 20;  // 20 % of the trees
  h[11] = 80;
  h[0] = 100;
  return h;
}

TEST(DrawDbhHistogram, BarsScaleToFiveTimesTheShare) {
  RecordingCanvas c;
  LanguageTable german;
  DrawDbhHistogram(c, 200, 100, Histogram(), german, false);
  auto rects = c.OfKind(K::Rectangle);
  ASSERT_EQ(rects.size(), 4u);  // clear, border, two bars
  // Class 10: a fifth of all trees reaches the full image height; it is red (a multiple of 5).
  EXPECT_EQ(rects[2]->v, (std::vector<int>{50, 90 - 100, 53, 90}));
  EXPECT_EQ(rects[3]->v, (std::vector<int>{55, 90 - 400, 58, 90}));
  const DrawCommand* brushBeforeClass10 = nullptr;
  for (const auto& cmd : c.commands) {
    if (&cmd == rects[2]) break;
    if (cmd.kind == K::Brush) brushBeforeClass10 = &cmd;
  }
  ASSERT_NE(brushBeforeClass10, nullptr);
  EXPECT_EQ(brushBeforeClass10->colour, kRed);
  auto lines = c.OfKind(K::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]->v, (std::vector<int>{0, 90, 200, 90}));
}

TEST(DrawDbhHistogram, LabelsTenToSeventyAndThePreviewsFlatBars) {
  RecordingCanvas c;
  LanguageTable german;
  DrawDbhHistogram(c, 200, 100, Histogram(), german, true);
  auto texts = c.OfKind(K::Text);
  ASSERT_EQ(texts.size(), 8u);
  EXPECT_EQ(texts[0]->text, "BHD-Verteilung");
  EXPECT_EQ(texts[0]->v, (std::vector<int>{60, 4}));
  EXPECT_EQ(texts[1]->text, "10");
  EXPECT_EQ(texts[1]->v, (std::vector<int>{23, 91}));
  EXPECT_EQ(texts[7]->text, "70");
  EXPECT_EQ(c.OfKind(K::Rectangle).size(), 2u + 40u);
  EXPECT_EQ(c.OfKind(K::Rectangle)[2]->v, (std::vector<int>{5, 90, 8, 90}));

  // An empty stand draws flat bars only, never a division by nothing.
  RecordingCanvas empty;
  DrawDbhHistogram(empty, 200, 100, {}, german, true);
  for (const auto* r : empty.OfKind(K::Rectangle))
    if (r->v[0] > 0) EXPECT_EQ(r->v[1], 90);
}

}  // namespace
}  // namespace tolvek
