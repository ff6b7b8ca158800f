#include "simulator/views/stand_report.h"

#include <gtest/gtest.h>

#include <optional>

#include "common/recording_canvas.h"

namespace tolvek {
namespace {

using K = DrawCommand::Kind;

// The text drawn at (x, y), if any.
std::optional<std::string> TextAt(const RecordingCanvas& c, int x, int y) {
  for (const DrawCommand* d : c.OfKind(K::Text))
    if (d->v[0] == x && d->v[1] == y) return d->text;
  return std::nullopt;
}

bool HasText(const RecordingCanvas& c, const std::string& text) {
  for (const DrawCommand* d : c.OfKind(K::Text))
    if (d->text == text) return true;
  return false;
}

// A stand of 1 ha with 20 spruce of 20 cm and 10 beech of 40 cm, sampled by two 500 m² circles.
StandReportInput SpruceBeechReport() {
  StandReportInput in;
  in.standNumber = "07";
  in.standCaption = "Nadelbaum - Mischbestand";
  in.areaHa = 1.0;
  in.standTrees = 30;
  in.method.code = kMethodFixedCircle;
  in.method.name = "Vollkreise";
  in.method.parameterLine = "Kreisfläche:       500 qm";
  in.method.circleArea = 500;
  in.passMethod = kMethodFixedCircle;
  in.gridSpacing = 50;
  in.originX = 3;
  in.originY = -2;
  SampleEstimate& e = in.estimate;
  e.plotCount = 2;
  e.sampleTreeTotal = 3;
  e.truth.areaHa = 1.0;
  e.truth.treeCount[0] = 30;
  e.truth.treeCount[1] = 20;
  e.truth.treeCount[5] = 10;
  e.truth.basalArea[1] = 20 * 400 * kTrueBasalAreaFactor;
  e.truth.basalArea[5] = 10 * 1600 * kTrueBasalAreaFactor;
  e.truth.basalArea[0] = e.truth.basalArea[1] + e.truth.basalArea[5];
  e.nPerHa[0] = 32;
  e.nPerHa[1] = 20;
  e.nPerHa[5] = 12;
  e.gPerHa[0] = 2.529;
  e.gPerHa[1] = 1.021;
  e.gPerHa[5] = 1.508;
  e.sampleTrees[0] = 3;
  e.sampleTrees[1] = 2;
  e.sampleTrees[5] = 1;
  e.treeCounter[0] = 3;
  e.treeCounter[1] = 2;
  e.treeCounter[5] = 1;
  e.dbhSum[0] = 90;
  e.dbhSquareSum[0] = 2900;
  e.dbhSum[1] = 50;
  e.dbhSquareSum[1] = 1300;
  e.dbhSum[5] = 40;
  e.dbhSquareSum[5] = 1600;
  e.basalArea.sd[0] = 0.689;
  e.basalArea.vc[0] = 27.23;
  e.basalArea.se[0] = 0.438;
  e.basalArea.sePercent[0] = 17.33;
  e.costText = "Kostenrelation zur Vollkluppung:   47 %";
  return in;
}

TEST(StandReport, HeaderBlockShowsStandMethodGridAndSample) {
  RecordingCanvas c;
  LanguageTable lang;
  DrawStandReport(c, SpruceBeechReport(), lang);
  EXPECT_EQ(TextAt(c, 720, -160), "Bestandesinventur");
  EXPECT_EQ(TextAt(c, 166, -408), "(07) Nadelbaum - Mischbestand");
  EXPECT_EQ(TextAt(c, 830, -408), "Vollkreise");
  EXPECT_EQ(TextAt(c, 185, -488), "Fläche:          1.00 ha");
  EXPECT_EQ(TextAt(c, 1350, -488), "Gitterabstand:   50 m");
  EXPECT_EQ(TextAt(c, 185, -552), "Bäume/ha:      30");
  EXPECT_EQ(TextAt(c, 830, -552), "Stichproben:        2");
  EXPECT_EQ(TextAt(c, 1350, -552), "Erster Punkt:   53/ 48 m");
  EXPECT_EQ(TextAt(c, 185, -616), "Kluppschwelle:   7 cm");
  EXPECT_EQ(TextAt(c, 830, -616), "Probebäume:       3");
  EXPECT_EQ(TextAt(c, 185, -784), "Kostenrelation zur Vollkluppung:   47 %");
  // the page is filled white first, everything after it in black on a clear brush
  const auto rects = c.OfKind(K::Rectangle);
  ASSERT_FALSE(rects.empty());
  EXPECT_EQ(rects[0]->v, (std::vector<int>{0, 0, 1900, -2700}));
}

TEST(StandReport, CostTextBreaksAtItsLineMark) {
  StandReportInput in = SpruceBeechReport();
  in.estimate.costText = "Für diesen Bestand kann keine # Kostenrelation berechnet werden.";
  RecordingCanvas c;
  LanguageTable lang;
  DrawStandReport(c, in, lang);
  EXPECT_EQ(TextAt(c, 185, -784), "Für diesen Bestand kann keine");
  EXPECT_EQ(TextAt(c, 185, -834), "Kostenrelation berechnet werden.");
}

TEST(StandReport, CaptionIsCutTo36Characters) {
  StandReportInput in = SpruceBeechReport();
  in.standCaption = "Laubbaum - Mischbestand mit sehr langem Namen";
  RecordingCanvas c;
  DrawStandReport(c, in, LanguageTable{});
  EXPECT_EQ(TextAt(c, 166, -408), "(07) Laubbaum - Mischbestand mit seh");
}

TEST(StandReport, RowsOnlyForSpeciesPresentWholeStandRowTwentyUnitsLower) {
  RecordingCanvas c;
  DrawStandReport(c, SpruceBeechReport(), LanguageTable{});
  EXPECT_EQ(TextAt(c, 185, -1410), "Fichte");
  EXPECT_EQ(TextAt(c, 185, -1470), "Buche");
  EXPECT_EQ(TextAt(c, 185, -1550), "Bestand");  // row 3: -(1370 + 180)
  EXPECT_FALSE(HasText(c, "Tanne"));
  // whole-stand figures: sample bold, census normal
  EXPECT_EQ(TextAt(c, 320, -1550), "    32");
  EXPECT_EQ(TextAt(c, 422, -1550), "    30");
  EXPECT_EQ(TextAt(c, 570, -1550), "  2.5");
  EXPECT_EQ(TextAt(c, 647, -1550), "    1.9");  // 0.628 + 1.257 m²
  EXPECT_EQ(TextAt(c, 1156, -1550), "   0.7");
  EXPECT_EQ(TextAt(c, 1330, -1550), "  27.2");
  EXPECT_EQ(TextAt(c, 1540, -1550), "   0.4");
  EXPECT_EQ(TextAt(c, 1720, -1550), "  17.3");
  // species rows without error statistics show their dashes
  EXPECT_EQ(TextAt(c, 1156, -1410), "     -");
  EXPECT_EQ(TextAt(c, 1330, -1410), "    - ");
  EXPECT_EQ(TextAt(c, 1540, -1410), "    - ");
  // the closing frames for three rows
  bool frame = false;
  for (const DrawCommand* d : c.OfKind(K::Rectangle))
    if (d->v == std::vector<int>{160, -1240, 1900, -(60 * 3 + 1430)}) frame = true;
  EXPECT_TRUE(frame);
}

TEST(StandReport, BoldMarksTheSampleNormalTheCensus) {
  RecordingCanvas c;
  DrawStandReport(c, SpruceBeechReport(), LanguageTable{});
  bool bold = false;
  std::optional<bool> atSample, atCensus;
  for (const DrawCommand& d : c.commands) {
    if (d.kind == K::Font) bold = d.bold;
    if (d.kind == K::Text && d.v[1] == -1550 && d.v[0] == 320) atSample = bold;
    if (d.kind == K::Text && d.v[1] == -1550 && d.v[0] == 422) atCensus = bold;
  }
  EXPECT_EQ(atSample, true);
  EXPECT_EQ(atCensus, false);
}

TEST(StandReport, MeanDiametersAndTheirAbsence) {
  StandReportInput in = SpruceBeechReport();
  // two beech only in the stand: no true mean diameter
  in.estimate.truth.treeCount[5] = 2;
  RecordingCanvas c;
  DrawStandReport(c, in, LanguageTable{});
  EXPECT_EQ(TextAt(c, 920, -1470), "    - ");
  // spruce: true √(4/π · G / N) · 100 = 20 cm; sample √(4/π · 1.021 / 20) · 100
  EXPECT_EQ(TextAt(c, 920, -1410), "  20.0");
  EXPECT_EQ(TextAt(c, 800, -1410), "  25.5");
  // dbh VC of spruce sample trees 20 and 30 cm: √(650 − 625) · 100 / 25 = 20 %
  EXPECT_EQ(TextAt(c, 1015, -1410), "    20");
  // a species estimated without any stem number has no sample mean diameter
  in.estimate.nPerHa[5] = 0;
  RecordingCanvas c2;
  DrawStandReport(c2, in, LanguageTable{});
  EXPECT_EQ(TextAt(c2, 320, -1470), "     - ");
  EXPECT_EQ(TextAt(c2, 800, -1470), "    - ");
}

TEST(StandReport, CountingModeShowsNoDiameterSpread) {
  StandReportInput in = SpruceBeechReport();
  in.passMethod = kMethodAngleCount;
  in.method.code = kMethodAngleCount;
  in.method.countingMode = 0;
  RecordingCanvas c;
  DrawStandReport(c, in, LanguageTable{});
  EXPECT_EQ(TextAt(c, 1015, -1410), "     -");
  EXPECT_EQ(TextAt(c, 1015, -1470), "     -");
  EXPECT_EQ(TextAt(c, 1015, -1550), "     -");
}

TEST(StandReport, ExpectedCoefficientOfVariationWithFootnote) {
  ExpectedVcTable table;
  table.rows.push_back(ExpectedVcRow{7, {31.25f, 55.0f, 40.0f, 45.0f, 35.0f}});
  MethodChoice m;
  m.code = kMethodFixedCircle;
  m.circleArea = 500;
  StandReportInput in = SpruceBeechReport();
  in.expectedVc = ExpectedVcText(table, m, false, "07");
  EXPECT_EQ(in.expectedVc, " 31.2");
  RecordingCanvas c;
  DrawStandReport(c, in, LanguageTable{});
  EXPECT_EQ(TextAt(c, 1465, -1550), " 31.2*");
  EXPECT_EQ(TextAt(c, 1465, -1410), "  - ");
  const auto foot = TextAt(c, 160, -(60 * 4 + 1380));
  ASSERT_TRUE(foot);
  EXPECT_EQ(*foot,
            "* -Erwartungswert des Variationskoeff. (nur WZP2/4, Vollkreise 100/500m², konz. Kreise AV)");

  m.circleArea = 400;
  in.expectedVc = ExpectedVcText(table, m, false, "07");
  EXPECT_EQ(in.expectedVc, "  -  ");
  RecordingCanvas c2;
  DrawStandReport(c2, in, LanguageTable{});
  EXPECT_EQ(TextAt(c2, 1465, -1550), "  - ");
  EXPECT_FALSE(TextAt(c2, 160, -(60 * 4 + 1380)));
}

TEST(StandReport, ExpectedValueColumnsByMethod) {
  ExpectedVcTable table;
  table.rows.push_back(ExpectedVcRow{12, {1.0f, 2.0f, 3.0f, 4.0f, 5.0f}});
  MethodChoice m;
  m.code = kMethodFixedCircle;
  m.circleArea = 100;
  EXPECT_EQ(ExpectedVcText(table, m, false, "12"), "  2.0");
  m.code = kMethodAngleCount;
  m.countingFactor = 2;
  EXPECT_EQ(ExpectedVcText(table, m, false, "12"), "  4.0");
  m.countingFactor = 1;
  EXPECT_EQ(ExpectedVcText(table, m, false, "12"), "  -  ");
  m.code = kMethodConcentric;
  m.regionCode = "AV";
  EXPECT_EQ(ExpectedVcText(table, m, false, "12"), "  5.0");
  EXPECT_EQ(ExpectedVcText(table, m, true, "12"), "  -  ");   // enterprise mode
  EXPECT_EQ(ExpectedVcText(table, m, false, "13"), "  -  ");  // stand not listed
}

TEST(StandReport, NTreeAndConcentricNotes) {
  StandReportInput in = SpruceBeechReport();
  in.passMethod = kMethodNTree;
  RecordingCanvas c;
  DrawStandReport(c, in, LanguageTable{});
  EXPECT_EQ(TextAt(c, 185, -730),
            "Überschreitet die Entfernung zum n-ten Baum 12m, wird ein 12m Vollkreis verwendet");
  in.passMethod = kMethodConcentric;
  in.method.concentricDbhLimit[1] = 10;
  RecordingCanvas c2;
  DrawStandReport(c2, in, LanguageTable{});
  EXPECT_EQ(TextAt(c2, 185, -730), "Kleinster BHD oberhalb der Kluppschwelle");
  in.method.concentricDbhLimit[1] = 7;
  RecordingCanvas c3;
  DrawStandReport(c3, in, LanguageTable{});
  EXPECT_FALSE(TextAt(c3, 185, -730));
}

TEST(StandReport, PageBoxFollowsTheWindowShape) {
  ReportPage page;  // 190 x 270
  // wide window: the page is as high as the client + 180 and centred
  ReportBox wide = PlaceReportBox(page, 900, 650);
  EXPECT_EQ(wide.height, 830);
  EXPECT_EQ(wide.width, 584);  // 830 · 190 / 270 = 584.07
  EXPECT_EQ(wide.left, 158);
  EXPECT_EQ(wide.top, 10);
  // narrow window: the page is as wide as the client − 20
  ReportBox narrow = PlaceReportBox(page, 400, 800);
  EXPECT_EQ(narrow.width, 380);
  EXPECT_EQ(narrow.height, 540);
  EXPECT_EQ(narrow.left, 35);
  EXPECT_EQ(narrow.top, 138);
}

TEST(ReportCanvas, MapsUnitsOntoTheDeviceWithUprightText) {
  RecordingCanvas device;
  ReportCanvas r(device, 0.5, 0.25, 10, 20);
  r.Text(100, -400, "x");
  r.Line(0, 0, 200, -800);
  r.SetFont("Arial", 100, kBlack, true);
  const auto texts = device.OfKind(K::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0]->v, (std::vector<int>{60, 120}));  // below the top, not mirrored
  EXPECT_EQ(device.OfKind(K::Line)[0]->v, (std::vector<int>{10, 20, 110, 220}));
  // 100 units of cell height · 0.25 px · 0.8 em share = 20 px = 15 pt at 96 px per inch
  EXPECT_EQ(device.OfKind(K::Font)[0]->v[0], 15);
  EXPECT_TRUE(device.OfKind(K::Font)[0]->bold);
}

}  // namespace
}  // namespace tolvek
