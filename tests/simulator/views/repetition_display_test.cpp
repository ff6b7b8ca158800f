#include "simulator/views/repetition_display.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "common/recording_canvas.h"

namespace tolvek {
namespace {

using K = DrawCommand::Kind;

const LanguageTable kGerman{};

bool HasText(const RecordingCanvas& c, const std::string& fragment) {
  for (const DrawCommand* d : c.OfKind(K::Text))
    if (d->text.find(fragment) != std::string::npos) return true;
  return false;
}

std::optional<std::string> TextAt(const RecordingCanvas& c, int x, int y) {
  for (const DrawCommand* d : c.OfKind(K::Text))
    if (d->v[0] == x && d->v[1] == y) return d->text;
  return std::nullopt;
}

bool HasLine(const RecordingCanvas& c, int x1, int y1, int x2, int y2) {
  for (const DrawCommand* d : c.OfKind(K::Line))
    if (d->v == std::vector<int>{x1, y1, x2, y2}) return true;
  return false;
}

bool HasRectangle(const RecordingCanvas& c, int x1, int y1, int x2, int y2) {
  for (const DrawCommand* d : c.OfKind(K::Rectangle))
    if (d->v == std::vector<int>{x1, y1, x2, y2}) return true;
  return false;
}

// The pen colour in force when the line from (x1, y1) to (x2, y2) was drawn.
std::optional<Colour> PenOfLine(const RecordingCanvas& c, int x1, int y1, int x2, int y2) {
  std::optional<Colour> pen;
  for (const DrawCommand& d : c.commands) {
    if (d.kind == K::Pen) pen = d.colour;
    if (d.kind == K::Line && d.v == std::vector<int>{x1, y1, x2, y2}) return pen;
  }
  return std::nullopt;
}

struct Screen {
  RecordingCanvas g, n, d;
  void Draw(RunStatistics& s) {
    DrawDeviationHistogram(s, {g, kRepeatImageWidth, kRepeatImageHeight}, {n, kRepeatImageWidth, kRepeatRowHeight},
                           {d, kRepeatImageWidth, kRepeatRowHeight}, kGerman);
  }
};

RunStatistics RunWith(int count, std::initializer_list<std::pair<int, int>> classes) {
  RunStatistics s;
  s.count = count;
  for (auto [c, k] : classes) s.histogram[c + kDeviationClassLimit] = k;
  return s;
}

TEST(DeviationToPixel, PlacesTheAxisAndRoundsHalvesToEven) {
  EXPECT_EQ(DeviationToPixel(-25), 20);
  EXPECT_EQ(DeviationToPixel(0), 120);
  EXPECT_EQ(DeviationToPixel(25), 220);
  EXPECT_EQ(DeviationToPixel(40), 280);    // beyond the axis, where the formula puts it
  EXPECT_EQ(DeviationToPixel(0.125), 120);  // 120.5
  EXPECT_EQ(DeviationToPixel(0.375), 122);  // 121.5
  EXPECT_EQ(DeviationToPixel(3.8), 135);    // right edge of the bar of class 3
  // absurd values stay pixel positions far outside the picture
  EXPECT_GT(DeviationToPixel(1e300), 10000);
  EXPECT_LT(DeviationToPixel(-1e300), -10000);
}

TEST(HistogramScales, ShrinkOnceTheHighestBarPasses130PixelsAndNeverGrow) {
  RunStatistics s = RunWith(60, {{0, 43}});
  FitHistogramScales(s);  // 129 pixels: still room
  EXPECT_DOUBLE_EQ(s.screenScale, 3.0);
  EXPECT_DOUBLE_EQ(s.printScale, 9.0);
  s.histogram[kDeviationClassLimit] = 50;  // 150 pixels
  FitHistogramScales(s);
  EXPECT_DOUBLE_EQ(s.screenScale, 1.3);
  EXPECT_DOUBLE_EQ(s.printScale, 4.2);
  s.histogram[kDeviationClassLimit] = 51;
  FitHistogramScales(s);
  EXPECT_DOUBLE_EQ(s.screenScale, 1.3);
  EXPECT_DOUBLE_EQ(s.printScale, 4.2);
  s.histogram[kDeviationClassLimit] = 101;  // 131.3 pixels
  FitHistogramScales(s);
  EXPECT_DOUBLE_EQ(s.screenScale, 65.0 / 101);
  EXPECT_DOUBLE_EQ(s.printScale, 210.0 / 101);
  // an empty histogram leaves them
  RunStatistics empty;
  FitHistogramScales(empty);
  EXPECT_DOUBLE_EQ(empty.screenScale, 3.0);
}

TEST(DeviationHistogram, BarsFrameTicksAndTexts) {
  RunStatistics s = RunWith(6, {{-25, 1}, {0, 3}, {25, 2}});
  Screen sc;
  sc.Draw(s);
  EXPECT_TRUE(s.statisticsReady);
  const int h = kRepeatImageHeight;
  // the picture starts white, the frame stands from 70 to H - 35
  EXPECT_TRUE(HasRectangle(sc.g, 0, 0, kRepeatImageWidth, h));
  EXPECT_TRUE(HasRectangle(sc.g, 0, 70, kRepeatImageWidth, h - 35));
  // one 3-pixel bar per filled class, 3 pixels per count above H - 38
  EXPECT_TRUE(HasRectangle(sc.g, 20, h - 38 - 3, 23, h - 38));
  EXPECT_TRUE(HasRectangle(sc.g, 120, h - 38 - 9, 123, h - 38));
  EXPECT_TRUE(HasRectangle(sc.g, 220, h - 38 - 6, 223, h - 38));
  EXPECT_EQ(sc.g.OfKind(K::Rectangle).size(), 2u + 3u + 1u);  // and the ground of the bias text
  for (int p = -25; p <= 25; p += 5) EXPECT_TRUE(HasLine(sc.g, DeviationToPixel(p), h - 32, DeviationToPixel(p), h - 36));
  EXPECT_EQ(TextAt(sc.g, 10, h - 32), "-25%                           0                            +25%");
  EXPECT_EQ(TextAt(sc.g, 25, 0), "Häufigkeitsverteilung");
  EXPECT_EQ(TextAt(sc.g, 20, 20), "der Simulationsergebnisse");
  EXPECT_EQ(TextAt(sc.g, 46, 36), "Abweichungen in %");
  EXPECT_EQ(TextAt(sc.g, 10, 53), "Anzahl Simulationen:    6    ");
  EXPECT_EQ(TextAt(sc.g, 5, 82), "Grundfläche");
  EXPECT_EQ(TextAt(sc.n, 5, 6), "Baumzahl");
  EXPECT_EQ(TextAt(sc.d, 5, 6), "BHD");
}

TEST(DeviationHistogram, ReducedScaleStaysForTheRestOfTheRun) {
  RunStatistics s = RunWith(50, {{2, 50}});
  Screen first;
  first.Draw(s);
  EXPECT_DOUBLE_EQ(s.screenScale, 1.3);
  EXPECT_DOUBLE_EQ(s.printScale, 4.2);
  EXPECT_TRUE(HasRectangle(first.g, 128, kRepeatImageHeight - 38 - 65, 131, kRepeatImageHeight - 38));
  s.histogram[2 + kDeviationClassLimit] = 60;
  s.count = 60;
  Screen next;
  next.Draw(s);
  EXPECT_DOUBLE_EQ(s.screenScale, 1.3);
  EXPECT_TRUE(HasRectangle(next.g, 128, kRepeatImageHeight - 38 - 78, 131, kRepeatImageHeight - 38));
}

TEST(QuantityResult, BiasLineAndSpreadInRedWithTheirText) {
  RunStatistics s = RunWith(4, {{3, 4}});
  s.g = {0, 0, 0, 2.5, 5.0};
  s.n = {0, 0, 0, -10.0, 1.5};
  s.d = {0, 0, 0, 40.0, 2.0};
  Screen sc;
  sc.Draw(s);
  const int h = kRepeatImageHeight;
  // G: bias 2.5 -> x 130, SD 5 -> 110 .. 150, line up to y 80
  EXPECT_EQ(PenOfLine(sc.g, 130, h, 130, 80), kRed);
  EXPECT_TRUE(HasLine(sc.g, 110, h - 20, 150, h - 20));
  EXPECT_TRUE(HasLine(sc.g, 110, h, 110, h - 24));
  EXPECT_TRUE(HasLine(sc.g, 150, h, 150, h - 24));
  EXPECT_EQ(TextAt(sc.g, 84, h - 16), "  2.50 ± 5.00         (Err: 2.50)");  // SD / sqrt(4)
  // N on its silver band; the row is cleared in full first
  const int r = kRepeatRowHeight;
  EXPECT_TRUE(HasRectangle(sc.n, 0, 0, kRepeatImageWidth, r));
  EXPECT_TRUE(HasRectangle(sc.n, 0, 5, kRepeatImageWidth, 38));
  bool silver = false;
  for (const DrawCommand* b : sc.n.OfKind(K::Brush)) silver = silver || b->colour == 12632256;
  EXPECT_TRUE(silver);
  EXPECT_TRUE(HasLine(sc.n, 80, r, 80, 4));
  EXPECT_EQ(TextAt(sc.n, 84, r - 16), "-10.00 ± 1.50         (Err: 0.75)");
  // d: a bias of +40 % lies outside the axis and is drawn where the formula puts it
  EXPECT_TRUE(HasLine(sc.d, 280, r, 280, 4));
  EXPECT_TRUE(HasLine(sc.d, 272, r - 20, 288, r - 20));
}

TEST(QuantityResult, TheTextStandsOverTheLinesOnTheRowsGround) {
  // The bias line and the ends of the SD bar run through the text's place: the text comes last, on a
  // ground of the row's colour, so no line crosses it.
  RunStatistics s = RunWith(9, {{0, 9}});
  s.g = {0, 0, 0, 0.08, 1.63};
  s.n = {0, 0, 0, -0.5, 3.0};
  s.d = {0, 0, 0, 0.3, 2.0, 7};
  Screen sc;
  sc.Draw(s);
  for (auto [c, h, ground] : {std::tuple{&sc.g, kRepeatImageHeight, kWhite}, std::tuple{&sc.n, kRepeatRowHeight, Colour{12632256}},
                              std::tuple{&sc.d, kRepeatRowHeight, Colour{12639424}}}) {
    const auto& cmds = c->commands;
    std::size_t text = cmds.size();
    for (std::size_t i = 0; i < cmds.size(); ++i)
      if (cmds[i].kind == K::Text && cmds[i].text.find("±") != std::string::npos) text = i;
    ASSERT_LT(text, cmds.size());
    EXPECT_EQ(cmds[text].v[0], 84);
    EXPECT_EQ(cmds[text].v[1], h - 16);
    for (std::size_t i = text + 1; i < cmds.size(); ++i) EXPECT_NE(cmds[i].kind, K::Line);
    // The ground just before it, in the row's colour, under the whole text.
    std::optional<Colour> brush;
    const DrawCommand* groundBox = nullptr;
    for (std::size_t i = 0; i < text; ++i) {
      if (cmds[i].kind == K::Brush) brush = cmds[i].colour;
      if (cmds[i].kind == K::Rectangle) groundBox = &cmds[i];
    }
    ASSERT_NE(groundBox, nullptr);
    EXPECT_EQ(brush, ground);
    EXPECT_LE(groundBox->v[0], 84);
    EXPECT_LE(groundBox->v[1], h - 16);
    EXPECT_GE(groundBox->v[2], 84 + c->TextWidth(cmds[text].text));
  }
  // d's error is over the repetitions with a mean diameter: 2 / sqrt(7).
  EXPECT_TRUE(HasText(sc.d, "(Err: 0.76)"));
}

TEST(QuantityResult, OneRepetitionDrawsOnlyTheLines) {
  RunStatistics s = RunWith(1, {{-4, 1}});
  s.g = {0, 0, 0, -4.0, 0.0};
  Screen sc;
  sc.Draw(s);
  for (const RecordingCanvas* c : {&sc.g, &sc.n, &sc.d}) {
    EXPECT_FALSE(HasText(*c, "±"));
    EXPECT_FALSE(HasText(*c, "Err"));
  }
  EXPECT_TRUE(HasLine(sc.g, 104, kRepeatImageHeight, 104, 80));
  EXPECT_TRUE(HasLine(sc.n, 120, kRepeatRowHeight, 120, 4));
}

TEST(QuantityResult, NoRepetitionOrAbsurdSpreadGivesNoNonNumberText) {
  bool bad = false;
  auto look = [&bad](const RecordingCanvas& c) {
    for (const DrawCommand* d : c.OfKind(K::Text))
      for (const char* word : {"nan", "inf", "NaN", "Inf"}) bad = bad || d->text.find(word) != std::string::npos;
  };
  RunStatistics none = RunWith(0, {});
  Screen empty;
  empty.Draw(none);
  look(empty.g);
  EXPECT_EQ(TextAt(empty.g, 10, 53), "Anzahl Simulationen:    0    ");
  RunStatistics wild = RunWith(3, {{25, 3}});
  wild.g = {0, 0, 0, 1e12, 1e15};
  Screen sc;
  sc.Draw(wild);
  look(sc.g);
  RecordingCanvas page;
  PrintRunResultPage(page, RunPrintInput{}, wild, kGerman);
  look(page);
  EXPECT_FALSE(bad);
}

RunPrintInput PageInput(int top) {
  RunPrintInput in;
  in.pageWidth = 2000;
  in.printTop = top;
  in.standNumber = "7";
  for (std::size_t k = 0; k < in.captions.size(); ++k) in.captions[k] = "Zeile " + std::to_string(k);
  in.dateTime = "08.12.2026  23:02:00";
  return in;
}

TEST(PrintedPage, LayoutInTenthsOfAMillimetre) {
  RunStatistics s = RunWith(5, {{-25, 1}, {0, 2}, {25, 2}});
  s.g = {0, 0, 0, 2.0, 4.0};
  s.n = {0, 0, 0, -1.0, 8.0};
  s.d = {0, 0, 0, 1.5, 2.0};
  RecordingCanvas page;
  PrintRunResultPage(page, PageInput(70), s, kGerman);
  // u = 10, y0 = 700, x0 = 900; the page has y negative downwards
  EXPECT_EQ(TextAt(page, 0, 0), " ");
  EXPECT_EQ(TextAt(page, 500, -200), "Häufigkeitsverteilung der Simulationsergebnisse");
  EXPECT_EQ(TextAt(page, 850, -300), "Anzahl Simulationen:    5");
  EXPECT_EQ(TextAt(page, 1350, -300), "08.12.2026  23:02:00");
  EXPECT_EQ(TextAt(page, 250, -350), "Bestand Nr.: 7");
  for (int k = 0; k < 10; ++k) EXPECT_EQ(TextAt(page, 250, -(400 + 50 * k)), "Zeile " + std::to_string(k));
  EXPECT_TRUE(HasRectangle(page, 850, -800, 1700, -350));
  EXPECT_TRUE(HasLine(page, 900, -700, 1650, -700));
  for (int k = -5; k <= 5; ++k) EXPECT_TRUE(HasLine(page, 1275 + 75 * k, -700, 1275 + 75 * k, -710));
  EXPECT_EQ(TextAt(page, 870, -720), "-25%");
  EXPECT_EQ(TextAt(page, 1605, -720), "+25%");
  // bars 1 mm wide every 1.5 mm, 9 units per count above 0.5 mm
  EXPECT_TRUE(HasRectangle(page, 895, -(700 - 14), 905, -695));
  EXPECT_TRUE(HasRectangle(page, 1270, -(700 - 23), 1280, -695));
  EXPECT_TRUE(HasRectangle(page, 1645, -(700 - 23), 1655, -695));
  // fonts: 6u for the title, 4u for texts, 3u for the axis
  std::vector<int> fonts;
  for (const DrawCommand* f : page.OfKind(K::Font)) fonts.push_back(f->v[0]);
  EXPECT_EQ(fonts, (std::vector<int>{60, 40, 30, 40}));

  // G: centre x0 + 37.5u + 2 * 1.5u = 1305, half width 60; its label inside the frame
  EXPECT_EQ(TextAt(page, 900, -400), "Grundfläche");
  EXPECT_TRUE(HasLine(page, 1305, -750, 1305, -690));
  EXPECT_TRUE(HasLine(page, 1245, -740, 1365, -740));
  EXPECT_TRUE(HasLine(page, 1245, -750, 1245, -730));
  EXPECT_TRUE(HasLine(page, 1365, -750, 1365, -730));
  EXPECT_EQ(TextAt(page, 1185, -750), "  2.00 ± 4.00        (Err=2.00)");  // SD / sqrt(n - 1)
  // N in its own frame 12u lower
  EXPECT_TRUE(HasRectangle(page, 850, -920, 1700, -810));
  EXPECT_EQ(TextAt(page, 900, -822), "Baumzahl");
  EXPECT_TRUE(HasLine(page, 1260, -870, 1260, -810));
  EXPECT_EQ(TextAt(page, 1140, -870), " -1.00 ± 8.00        (Err=4.00)");
  // d 24u lower
  EXPECT_TRUE(HasRectangle(page, 850, -1040, 1700, -930));
  EXPECT_EQ(TextAt(page, 900, -942), "BHD");
}

TEST(PrintedPage, LowerPositionsEnterpriseAndSingleRepetition) {
  RunStatistics s = RunWith(1, {{0, 1}});
  s.g = {0, 0, 0, 40.0, 0.0};
  RunPrintInput in = PageInput(155);
  in.enterpriseMode = true;
  RecordingCanvas page;
  PrintRunResultPage(page, in, s, kGerman);
  EXPECT_FALSE(HasText(page, "Häufigkeitsverteilung"));  // the title only at the top
  EXPECT_FALSE(HasText(page, "Nr.:"));
  EXPECT_FALSE(HasText(page, "Err"));
  EXPECT_EQ(TextAt(page, 850, -1150), "Anzahl Simulationen:    1");
  // +40 %: beyond the frame, where the formula puts it
  EXPECT_TRUE(HasLine(page, 1875, -1600, 1875, -1540));
  // a page width of 190 mm halves to an even unit: 9.5 -> 10
  in.pageWidth = 1900;
  EXPECT_EQ(MakeRunPrintLayout(in, 1).u, 10);
  in.pageWidth = 2500;
  EXPECT_EQ(MakeRunPrintLayout(in, 1).u, 12);
}

TEST(PrintedPage, BarsStayInsideTheFrame) {
  // 40 counts at 9 units would rise 36.5 mm above the axis, beyond the frame 35 mm up
  RunStatistics s = RunWith(40, {{0, 40}});
  EXPECT_DOUBLE_EQ(PrintedBarScale(s, 10), 335.0 / 40);
  RecordingCanvas page;
  PrintRunResultPage(page, PageInput(70), s, kGerman);
  EXPECT_TRUE(HasRectangle(page, 1270, -(700 - 340), 1280, -695));
  // below that the run's scale is used as it is
  RunStatistics low = RunWith(10, {{0, 10}});
  EXPECT_DOUBLE_EQ(PrintedBarScale(low, 10), 9.0);
  low.printScale = 4.2;
  EXPECT_DOUBLE_EQ(PrintedBarScale(low, 10), 4.2);
}

}  // namespace
}  // namespace tolvek
