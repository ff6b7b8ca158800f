#include "simulator/views/result_diagram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/format.h"
#include "common/rounding.h"

namespace tolvek {
namespace {

using K = DrawCommand::Kind;
using namespace diagram_layout;

const LanguageTable kGerman{};
constexpr int H = kChartHeight;

std::vector<std::vector<int>> Rectangles(const RecordingCanvas& c) {
  std::vector<std::vector<int>> r;
  for (const DrawCommand* d : c.OfKind(K::Rectangle)) r.push_back(d->v);
  return r;
}

bool HasRectangle(const RecordingCanvas& c, std::vector<int> v) {
  for (const auto& r : Rectangles(c))
    if (r == v) return true;
  return false;
}

bool HasLine(const RecordingCanvas& c, std::vector<int> v) {
  for (const DrawCommand* d : c.OfKind(K::Line))
    if (d->v == v) return true;
  return false;
}

// The pen colour in force when the line was drawn.
Colour PenOfLine(const RecordingCanvas& c, std::vector<int> v) {
  Colour pen = 0xFFFFFFFF;
  for (const DrawCommand& d : c.commands) {
    if (d.kind == K::Pen) pen = d.colour;
    if (d.kind == K::Line && d.v == v) return pen;
  }
  return 0xFFFFFFFF;
}

// The y of the axis label with that text.
int AxisLabelY(const ResultDiagramPicture& p, const std::string& text) {
  for (const DrawCommand* d : p.axis.OfKind(K::Text))
    if (d->text == text) return d->v[1];
  return std::numeric_limits<int>::min();
}

ResultDiagramData Data(char code) {
  ResultDiagramData d;
  d.code = code;
  for (int q = 0; q < kDiagramCategories; ++q) d.colours[static_cast<std::size_t>(q)] = 0x0000A0 + q;
  return d;
}

ResultDiagramSetting StandSetting() {
  ResultDiagramSetting s;
  s.standNumber = "07";
  s.standAreaHa = 2.5;
  s.standTrees = 1000;
  s.gridDx = 50;
  s.gridDy = 50;
  s.plotsLine = "Stichproben:      12";
  s.sampleTreesLine = "Probebäume: 80";
  return s;
}

TEST(ResultDiagram, BarsErrorBarAndTableOfOneCategory) {
  ResultDiagramData d = Data('G');
  d.trueValues[0] = 30.0;
  d.estimates[0] = 28.0;
  d.standardErrors[0] = 2.0;
  d.counts[0] = 41.0;
  d.labels[0] = "Bestand";
  const ResultDiagramPicture p = LayOutResultDiagram(d, StandSetting(), kGerman);
  EXPECT_DOUBLE_EQ(p.maximum, 30.0);
  EXPECT_NEAR(p.pixelsPerUnit, 8.3733, 1e-4);
  // frame, true bar of 251 pixels (hatched), estimate bar of 234 pixels (solid), overlapping by 8
  EXPECT_TRUE(HasRectangle(p.chart, {0, 0, kChartWidth - 1, H - 1}));
  EXPECT_TRUE(HasRectangle(p.chart, {4, H - 1, 27, H - 251}));
  EXPECT_TRUE(HasRectangle(p.chart, {19, H - 1, 42, H - 234}));
  // error 2 m²/ha = 17 pixels around the estimate's top, with the second stroke 2 pixels left
  EXPECT_TRUE(HasLine(p.chart, {31, 97, 31, 63}));
  EXPECT_TRUE(HasLine(p.chart, {25, 63, 37, 63}));
  EXPECT_TRUE(HasLine(p.chart, {29, 97, 29, 63}));
  // both bars in the category's colour, the true one hatched
  bool hatched = false, solid = false;
  for (const DrawCommand* b : p.chart.OfKind(K::Brush)) {
    hatched |= b->colour == 0x0000A0 && b->style == static_cast<int>(BrushStyle::DiagonalCross);
    solid |= b->colour == 0x0000A0 && b->style == static_cast<int>(BrushStyle::Solid);
  }
  EXPECT_TRUE(hatched && solid);
  EXPECT_EQ(p.table[1][1], "   30.0");
  EXPECT_EQ(p.table[2][1], "   28.0");
  EXPECT_EQ(p.table[3][1], "    7.1");
  EXPECT_EQ(p.table[4][1], "     41");
  EXPECT_EQ(p.table[4][0], "Bäume");
  // the other nine categories have no bars and no columns, but keep their places
  EXPECT_EQ(Rectangles(p.chart).size(), 3u);
  for (int k = 2; k <= 10; ++k)
    for (int row = 0; row < kTableRows; ++row) EXPECT_EQ(p.table[row][k], "") << row << "/" << k;
  for (int k = 1; k <= 10; ++k) EXPECT_EQ(p.barCategory[k], k - 1);
  EXPECT_EQ(p.buttonCaptions[0], "Bestand");
  EXPECT_EQ(p.buttonCaptions[1], "");
}

TEST(ResultDiagram, HeadersOfBothModesNeverDivideByNothing) {
  ResultDiagramData d = Data('Z');
  d.typeText = "(A) Fichte rein";
  ResultDiagramSetting s = StandSetting();
  ResultDiagramPicture p = LayOutResultDiagram(d, s, kGerman);
  EXPECT_EQ(p.lblBaeume, "Bäume:   400 /ha");
  EXPECT_EQ(p.lblGitterAnf, "Gitterabstand:      50/ 50 m");
  EXPECT_EQ(p.lblBTAK, "");  // the type belongs to the enterprise views
  EXPECT_FALSE(p.allSimulationsEnabled);  // no repetition yet
  s.standAreaHa = 0.0;
  s.repetitionCount = 1;
  p = LayOutResultDiagram(d, s, kGerman);
  EXPECT_EQ(p.lblBaeume, "Bäume:     0 /ha");
  EXPECT_TRUE(p.allSimulationsEnabled);
  s.enterpriseMode = true;
  s.enterprise = {"1", "   WET", 250.0, 0};
  p = LayOutResultDiagram(d, s, kGerman);
  EXPECT_EQ(p.lblBestand, "Betrieb Nr.1   WET");
  EXPECT_EQ(p.lbBestGroesse, "Mittl. Fläche:     0.0 ha");
  EXPECT_EQ(p.lblBTAK, "Typ: Fichte rein");  // "(A) " drops
  EXPECT_EQ(p.table[4][0], "Probeflächen");
  EXPECT_FALSE(p.firstButtonEnabled);
}

TEST(ResultDiagram, EmptyNegativeAndNonNumbersDrawNoBarsAndNoColumns) {
  ResultDiagramData d = Data('G');
  d.estimates[3] = -4.0;
  d.trueValues[5] = -1.0;
  d.trueValues[2] = std::numeric_limits<double>::infinity();
  d.estimates[1] = std::numeric_limits<double>::quiet_NaN();
  const ResultDiagramPicture p = LayOutResultDiagram(d, StandSetting(), kGerman);
  EXPECT_DOUBLE_EQ(p.maximum, 999.0);  // 10000 for a diagram without values, then capped
  EXPECT_EQ(Rectangles(p.chart).size(), 1u);  // the frame alone
  EXPECT_TRUE(p.chart.OfKind(K::Line).empty());
  for (int k = 1; k <= 10; ++k)
    for (int row = 1; row < kTableRows; ++row) EXPECT_EQ(p.table[row][k], "");
  // a column with a true value shows no "?" for an estimate that is no number
  d.trueValues[1] = 30.0;
  d.standardErrors[1] = std::numeric_limits<double>::infinity();
  const ResultDiagramPicture q = LayOutResultDiagram(d, StandSetting(), kGerman);
  EXPECT_DOUBLE_EQ(q.maximum, 30.0);
  EXPECT_EQ(q.table[2][2], "    0.0");
  EXPECT_EQ(q.table[3][2], "    0.0");
}

TEST(ResultDiagram, BarsBeyondTheScaleEndAtTheFrame) {
  ResultDiagramData d = Data('Z');
  d.trueValues[0] = 2500.0;
  d.estimates[0] = 2400.0;
  d.standardErrors[0] = 100.0;
  const ResultDiagramPicture p = LayOutResultDiagram(d, StandSetting(), kGerman);
  EXPECT_DOUBLE_EQ(p.maximum, 999.0);
  EXPECT_TRUE(HasRectangle(p.chart, {4, H - 1, 27, 1}));
  EXPECT_TRUE(HasRectangle(p.chart, {19, H - 1, 42, 1}));
  EXPECT_TRUE(p.chart.OfKind(K::Line).empty());  // the error bar would reach the top edge
  EXPECT_EQ(p.table[1][1], "   2500");
  // a value far beyond anything a pixel can hold
  d.estimates[0] = 1e300;
  const ResultDiagramPicture far = LayOutResultDiagram(d, StandSetting(), kGerman);
  EXPECT_TRUE(HasRectangle(far.chart, {19, H - 1, 42, 1}));
  // an error bar is drawn only while it stays below the frame's top line: 251 + e < 313
  d = Data('G');
  d.trueValues[0] = d.estimates[0] = 30.0;
  d.standardErrors[0] = 61.0 / (251.2 / 30.0);
  EXPECT_FALSE(LayOutResultDiagram(d, StandSetting(), kGerman).chart.OfKind(K::Line).empty());
  d.standardErrors[0] = 62.0 / (251.2 / 30.0);
  EXPECT_TRUE(LayOutResultDiagram(d, StandSetting(), kGerman).chart.OfKind(K::Line).empty());
}

TEST(ResultDiagram, AxisStepsOfTheQuantities) {
  ResultDiagramData z = Data('Z');
  z.trueValues[0] = 500.0;
  ResultDiagramPicture p = LayOutResultDiagram(z, StandSetting(), kGerman);
  EXPECT_EQ(p.tickStep, 10);
  // s = 251.2 / 500: the label "100" at tick 10, y = rnd(314 - 10 * 10 * s) = 264, drawn 4 pixels higher
  EXPECT_EQ(AxisLabelY(p, "100"), 264 - 4);
  EXPECT_EQ(AxisLabelY(p, "500"), RoundInt(314 - 500 * 251.2 / 500) - 4);
  EXPECT_TRUE(HasLine(p.axis, {12, 264, 6, 264}));  // every fifth tick long
  EXPECT_TRUE(HasLine(p.axis, {12, RoundInt(314 - 10 * 251.2 / 500), 9, RoundInt(314 - 10 * 251.2 / 500)}));
  EXPECT_EQ(p.table[1][1], "    500");  // stems without decimals
  // basal area: half a unit is no whole step; ticks go by 1 m²/ha, labels every 10
  ResultDiagramData g = Data('G');
  g.trueValues[0] = 40.0;
  p = LayOutResultDiagram(g, StandSetting(), kGerman);
  EXPECT_EQ(p.tickStep, 1);
  EXPECT_EQ(AxisLabelY(p, " 10"), RoundInt(314 - 10 * 251.2 / 40) - 4);
  EXPECT_EQ(AxisLabelY(p, " 40"), RoundInt(314 - 40 * 251.2 / 40) - 4);
  // mean diameter and distribution: unit 0.5, step 1
  ResultDiagramData dd = Data('D');
  dd.trueValues[0] = 30.0;
  EXPECT_EQ(LayOutResultDiagram(dd, StandSetting(), kGerman).tickStep, 1);
}

TEST(ResultDiagram, DistributionOfDiameterClasses) {
  ResultDiagramData d = Data('V');
  for (int q = 0; q < kDiagramCategories; ++q) d.labels[static_cast<std::size_t>(q)] = FormatInt(8 * (q + 1), 3);
  d.trueValues[1] = 12.0;
  d.estimates[1] = 10.5;
  d.standardErrors[1] = 2.0;  // never shown for a distribution
  ResultDiagramSetting s = StandSetting();
  s.graphSpeciesName = "Fichte";
  const ResultDiagramPicture p = LayOutResultDiagram(d, s, kGerman);
  EXPECT_DOUBLE_EQ(p.maximum, 50.0);
  EXPECT_TRUE(p.chart.OfKind(K::Line).empty());
  EXPECT_EQ(p.label2, "D-Stufe:");
  EXPECT_EQ(p.lblMerkmal, "Fichte:  BHD-Verteilung  (Baumzahl  /ha)");
  EXPECT_EQ(p.table[1][2], "     12");
  EXPECT_EQ(p.table[2][2], "     10");  // 10.5: half to even
  EXPECT_EQ(p.table[3][2], "");
  EXPECT_EQ(p.table[4][2], "");
  EXPECT_EQ(p.table[3][0], "");
  EXPECT_EQ(p.table[4][0], "");
  EXPECT_EQ(p.buttonCaptions[9], " 80");
}

TEST(ResultDiagram, AllSimulationsShowTheSpreadOfTheRepetitions) {
  DiagramDeviationTable deviations{};
  auto& spruce = deviations[1];
  spruce[15] = 6;       // class 0
  spruce[15 - 2] = 2;   // -0.5 m²/ha
  spruce[15 + 2] = 2;   // +0.5 m²/ha
  deviations[2][15] = 3;
  ResultDiagramData d = Data('G');
  d.deviations = &deviations;
  d.trueValues[1] = 20.0;
  d.estimates[1] = 21.0;
  d.trueValues[2] = 1.5;  // too little basal area for a spread
  d.estimates[2] = 1.0;
  ResultDiagramSetting s = StandSetting();
  s.allSimulations = true;
  s.repetitionCount = 10;
  const ResultDiagramPicture p = LayOutResultDiagram(d, s, kGerman);
  EXPECT_EQ(p.table[2][2], "   20.0");  // the mean of the repetitions' estimates
  EXPECT_EQ(p.table[3][2], "    1.6");  // sd 0.3162 of 20
  EXPECT_EQ(p.table[4][2], "      9");
  EXPECT_EQ(p.table[4][0], "Simulationen");
  EXPECT_EQ(p.table[2][3], "    1.0");
  EXPECT_EQ(p.table[3][3], " ");
  EXPECT_EQ(p.table[4][3], " ");
  // no estimate bars; the class counts as black marks from x 15 of the column, 3 pixels per count
  const double sc = 251.2 / 21.0;
  const int column = kBarPitch;
  const int y0 = H - RoundInt(20.0 * sc);
  EXPECT_TRUE(HasRectangle(p.chart, {column + 15, y0, column + 15 + 18, y0 - 2}));
  const int yUp = H - RoundInt(20.5 * sc);
  EXPECT_TRUE(HasRectangle(p.chart, {column + 15, yUp, column + 15 + 6, yUp - 2}));
  EXPECT_FALSE(HasRectangle(p.chart, {column + 19, H - 1, column + 42, H - RoundInt(21.0 * sc)}));
  // the range of the classes in silver, ± one sd in red, both at the true value
  const int ty = RoundInt(sc * 20.0);
  const int range = RoundInt(-15 * 0.25 * sc);
  EXPECT_EQ(PenOfLine(p.chart, {column + 15, H - (ty - range), column + 15, H - (ty + range)}), 12632256u);
  const int e = RoundInt(sc * std::sqrt(0.1));
  EXPECT_EQ(PenOfLine(p.chart, {column + 11, H - (ty - e), column + 11, H - (ty + e)}), 255u);
}

}  // namespace
}  // namespace tolvek
