#include "simulator/views/stand_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>

#include "common/recording_canvas.h"
#include "common/species.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

using K = DrawCommand::Kind;

TreeRecord Tree(int species, double dbh, double x, double y) {
  TreeRecord t;
  t.species = static_cast<SpeciesCode>(species);
  t.dbh = dbh;
  t.x = x;
  t.y = y;
  return t;
}

BoundaryPolygon Square(double side) {
  BoundaryPolygon b;
  const double xs[] = {0, 0, side, side, 0}, ys[] = {0, side, side, 0, 0};
  b.n = 5;
  for (int i = 0; i < 5; ++i) {
    b.x[i + 1] = xs[i];
    b.y[i + 1] = ys[i];
  }
  b.minX = b.minY = 0;
  b.maxX = b.maxY = side;
  return b;
}

TEST(SpeciesColour, PalettesFollowTheSpeciesList) {
  EXPECT_EQ(SpeciesColour(2, 1), 0x0000FFu);
  EXPECT_EQ(SpeciesColour(2, 2), 0xB090FFu);
  EXPECT_EQ(SpeciesColour(0, 1), 0x808080u);
  EXPECT_EQ(SpeciesColour(9, 2), 0xFFFF00u);
  // Any selector but 1 takes the second palette.
  EXPECT_EQ(SpeciesColour(7, 0), 0x0000FFu);
  EXPECT_EQ(SpeciesColour(10, 1), 0x008000u);
  EXPECT_EQ(SpeciesColour(255, 2), 0x008000u);
  EXPECT_EQ(SpeciesColour(-1, 1), 0x008000u);
}

TEST(SpeciesColour, ASpeciesKeepsItsColourInBothLists) {
  for (int a = 1; a <= 9; ++a)
    for (int b = 1; b <= 9; ++b)
      if (SpeciesNameTable::Name(a, 1) == SpeciesNameTable::Name(b, 2)) {
        EXPECT_EQ(SpeciesColour(a, 1), SpeciesColour(b, 2)) << SpeciesNameTable::Name(a, 1);
      }
}

TEST(StandMapTransform, PixelPositionsRoundHalfToEven) {
  StandMapTransform t;
  t.scale = 2.0;
  t.imageHeight = 500;
  EXPECT_EQ(t.StandMapX(10), 50);
  EXPECT_EQ(t.StandMapY(10), 455);
  EXPECT_EQ(t.StandMapY(0), 475);
  t.scale = 1.0;
  EXPECT_EQ(t.StandMapX(0.5), 30);
  EXPECT_EQ(t.StandMapX(1.5), 32);
  EXPECT_EQ(t.StandMapX(2.5), 32);
  EXPECT_EQ(t.StandMapY(2.5), 500 - 2 - 25);
  t.scale = 2.0;
  EXPECT_EQ(t.StandMapXInverse(t.StandMapX(120)), 120);
  EXPECT_EQ(t.StandMapYInverse(t.StandMapY(80)), 80);
  EXPECT_EQ(t.StandMapXInverse(35), 2);  // 2.5 m goes to the even metre
  t.scale = 0.0;
  EXPECT_EQ(t.StandMapXInverse(100), 0);
}

TEST(StandMapTransform, PositionsFarOutsideTheImageSaturateInsteadOfOverflowing) {
  // A tree or corner thousands of kilometres off (or a scale gone wild) lands far outside the picture,
  // on the side it lies, and the margins added to it stay in range.
  StandMapTransform t;
  t.scale = 3.0;
  t.imageHeight = 500;
  t.enterpriseScale = 1e9;
  ThumbnailTransform th;
  th.scale = 1e3;
  for (double far : {1e9, 7.7e9, 1e300}) {
    EXPECT_EQ(t.StandMapX(far), kPixelLimit + 30);
    EXPECT_EQ(t.StandMapX(-far), -kPixelLimit + 30);
    EXPECT_EQ(t.StandMapY(far), 500 - kPixelLimit - 25);
    EXPECT_EQ(t.EnterpriseMapX(far), kPixelLimit);
    EXPECT_EQ(th.X(far), kPixelLimit + 4);
    EXPECT_EQ(th.Y(-far), 75 + kPixelLimit - 4);
  }
  const EllipseBox box = TreeDiscBox(t, 3e38, 10, 10);  // a disc larger than any picture
  EXPECT_EQ(box.x1, -kPixelLimit + 30);
  EXPECT_EQ(box.x2, kPixelLimit + 30);
  EXPECT_EQ(RoundPixel(std::nan("")), 0);
  EXPECT_EQ(RoundPixel(kPixelLimit - 0.5), kPixelLimit);  // half to even, as everywhere
  EXPECT_EQ(RoundPixel(-2.5), -2);
}

TEST(StandMapTransform, EnterpriseLinesUseTheEnterpriseMap) {
  StandMapTransform t;
  t.scale = 2.0;
  t.imageHeight = 400;
  t.enterpriseMode = true;
  t.enterpriseScale = 0.5;
  RecordingCanvas c;
  DrawWorldLine(c, t, 100, 100, 300, 200);
  ASSERT_EQ(c.commands.size(), 1u);
  EXPECT_EQ(c.commands[0].v, (std::vector<int>{50, 350, 150, 300}));
}

TEST(FitStandMapScale, FitsWithMarginsAndRefusesEmptyExtents) {
  EXPECT_NEAR(FitStandMapScale(0, 300, 0, 300, 600, 500), std::min(600.0 / 320, 500.0 / 335), 1e-12);
  EXPECT_NEAR(FitStandMapScale(0, 300, 0, 300, 600, 500), 1.4925, 1e-4);
  EXPECT_EQ(FitStandMapScale(0, -100, 0, 300, 600, 500), 1.0);
  EXPECT_EQ(FitStandMapScale(0, NAN, 0, 300, 600, 500), 1.0);
}

TEST(FitStandMapScale, WideAndTallStandsStayWithinThePictureWithTheirLabels) {
  // A stand of 720 x 260 m on the map of a 768-pixel screen once reached 20 pixels past the picture's
  // east edge, its last x label cut to its first digit. The stand's far corner and the frame's labels
  // for the extents (three digits, about 21 pixels of text) lie inside the picture.
  for (auto [w, h] : {std::pair{720.0, 260.0}, std::pair{230.0, 210.0}, std::pair{200.0, 600.0}, std::pair{60.0, 40.0}})
    for (auto [iw, ih] : {std::pair{682, 742}, std::pair{950, 742}, std::pair{600, 500}, std::pair{968, 968}}) {
      SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h) + " on " + std::to_string(iw) + " x " + std::to_string(ih));
      StandMapTransform t;
      t.scale = FitStandMapScale(0, h, 0, w, iw, ih);
      t.imageWidth = iw;
      t.imageHeight = ih;
      EXPECT_LT(t.StandMapX(w), iw);
      EXPECT_GE(t.StandMapY(h), 0);
      const int lastX = static_cast<int>(w / 50) * 50, lastY = static_cast<int>(h / 50) * 50;
      if (lastX >= 50) {
        EXPECT_LE(RoundInt(lastX * t.scale) + 20 + 21, iw);
      }
      if (lastY >= 50 && lastY <= 400) {
        EXPECT_GE(ih - RoundInt(lastY * t.scale) - 34, 0);
      }
    }
}

TEST(RotatePoint, UsesTheRoundedConstants) {
  double x = 0, y = 5;
  RotatePoint(x, y, 0);
  EXPECT_NEAR(x, 0, 1e-4);
  EXPECT_NEAR(y, 5, 1e-9);
  EXPECT_DOUBLE_EQ(x, 5 * std::cos(1.5708));
  x = -1, y = 0;
  RotatePoint(x, y, 0);
  EXPECT_NEAR(x, -1, 1e-8);
  EXPECT_NEAR(y, 0, 1e-4);
  EXPECT_DOUBLE_EQ(y, std::sin(3.1415));
  x = 10, y = 0;
  RotatePoint(x, y, kStandRotationAngle);
  EXPECT_NEAR(x, 10 * std::cos(-0.523599), 1e-12);
  EXPECT_NEAR(y, -5, 1e-5);
  x = 0, y = 0;
  RotatePoint(x, y, 1.0);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

TEST(StandMapPrimitives, TreeDiscAndCrossMark) {
  StandMapTransform t;
  t.scale = 1.0;
  t.imageHeight = 300;
  RecordingCanvas c;
  DrawTreeDisc(c, t, 50, 100, 100);  // r = 2 m
  EXPECT_EQ(c.commands[0].kind, K::Ellipse);
  EXPECT_EQ(c.commands[0].v, (std::vector<int>{128, 173, 132, 177}));
  c.commands.clear();
  DrawCrossMark(c, t, 40, 60);
  ASSERT_EQ(c.commands.size(), 2u);
  EXPECT_EQ(c.commands[0].v, (std::vector<int>{t.StandMapX(38), t.StandMapY(60), t.StandMapX(42), t.StandMapY(60)}));
  EXPECT_EQ(c.commands[1].v, (std::vector<int>{t.StandMapX(40), t.StandMapY(58), t.StandMapX(40), t.StandMapY(62)}));
  t.enterpriseMode = true;
  t.enterpriseScale = 1.0;
  c.commands.clear();
  DrawCrossMark(c, t, 40, 60);
  EXPECT_EQ(c.commands[0].v[2] - c.commands[0].v[0], 30);
}

TEST(StandMapFrame, LabelsEveryFiftyMetres) {
  StandMapTransform t;
  t.scale = 1.5;
  t.imageWidth = 1000;
  t.imageHeight = 600;
  RecordingCanvas c;
  DrawStandFrame(c, t, kWhite, 1.0);
  auto texts = c.OfKind(K::Text);
  // y labels 50 .. 350 (400 m would stand above the picture), x labels 50 .. 500.
  ASSERT_EQ(texts.size(), 17u);
  EXPECT_EQ(texts[0]->text, "50");
  EXPECT_EQ(texts[0]->v, (std::vector<int>{5, 600 - 75 - 34}));
  EXPECT_EQ(texts[6]->text, "350");
  EXPECT_EQ(texts[7]->text, "50");
  EXPECT_EQ(texts[7]->v, (std::vector<int>{75 + 20, 580}));
  EXPECT_EQ(texts[16]->text, "500");
  // A label that would reach beyond the picture is left out, not cut: on a picture 700 pixels wide
  // "450" would start at 695; on one 300 high the y labels from 200 m up would start above it.
  StandMapTransform narrow = t;
  narrow.imageWidth = 700;
  narrow.imageHeight = 300;
  RecordingCanvas n;
  DrawStandFrame(n, narrow, kWhite, 1.0);
  std::vector<std::string> shown;
  for (const DrawCommand* d : n.OfKind(K::Text)) {
    shown.push_back(d->text);
    EXPECT_GE(d->v[1], 0);
    EXPECT_LE(d->v[0] + n.TextWidth(d->text), 700);
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"50", "100", "150", "50", "100", "150", "200", "250", "300", "350", "400"}));
  EXPECT_EQ(c.OfKind(K::Line).size(), 11u * 4 + 2);
  // With the small screen's factor the marks lie closer together: 0.8 * 5 = 4 -> 200 m.
  RecordingCanvas small;
  DrawStandFrame(small, t, kWhite, 0.8);
  auto lines = small.OfKind(K::Line);
  EXPECT_EQ(lines[4 * 5]->v[1], t.StandMapY(200));
}

TEST(StandMapTrees, RingsInSpeciesColoursThenFrameAndBoundary) {
  TreeList trees{Tree(1, 30, 10, 10), Tree(5, 40, 50, 60), Tree(12, 20, 5, 5)};
  BoundaryPolygon b = Square(100);
  StandMapTransform t;
  t.scale = 2.0;
  t.imageWidth = 300;
  t.imageHeight = 300;
  RecordingCanvas c;
  DrawTrees(c, t, trees, 1, b, 1.0);
  EXPECT_EQ(c.commands[2].kind, K::Rectangle);
  EXPECT_EQ(c.commands[2].v, (std::vector<int>{0, 0, 300, 300}));
  EXPECT_EQ(c.commands[0].colour, kBlack);  // brush
  auto ellipses = c.OfKind(K::Ellipse);
  ASSERT_EQ(ellipses.size(), 3u);
  std::vector<Colour> pens;
  for (std::size_t i = 0; i < c.commands.size(); ++i)
    if (c.commands[i].kind == K::Ellipse) pens.push_back(c.commands[i - 1].colour);
  EXPECT_EQ(pens, (std::vector<Colour>{0xC0C0C0, 0x00FF00, 0x008000}));
  auto lines = c.OfKind(K::Polyline);
  ASSERT_EQ(lines.size(), 1u);
  ASSERT_EQ(lines[0]->points.size(), 5u);
  EXPECT_EQ(lines[0]->points[2].x, t.StandMapX(100));
  EXPECT_EQ(lines[0]->points[2].y, t.StandMapY(100));
  EXPECT_EQ(c.commands.back().kind, K::Polyline);
}

// The window puts a kept picture of the trees back while the key is equal, so every input DrawTrees
// reads must make the key differ when it changes, down to the last bit of a coordinate.
TEST(TreePictureKey, EqualForTheSameInputsAndDifferentWhenAnyOfThemChanges) {
  struct Inputs {
    StandMapTransform t;
    TreeList trees;
    int selector = 1;
    BoundaryPolygon boundary;
    double screenScale = 1.0;
    TreePictureKey Key() const { return TreePictureKey(t, trees, selector, boundary, screenScale); }
  };
  Inputs base;
  base.t.scale = 1.75;
  base.t.imageWidth = 640;
  base.t.imageHeight = 600;
  base.t.enterpriseScale = 0.5;
  base.trees = {Tree(1, 30, 10, 10), Tree(5, 40.5, 50, 60), Tree(12, 20, 5, 5)};
  base.boundary = Square(100);

  // Equal inputs made separately (other vectors, other arrays) give equal keys.
  const Inputs same = base;
  EXPECT_TRUE(base.Key() == same.Key());
  // Describes answers as the comparison with a key made of the inputs.
  const auto describes = [](const TreePictureKey& key, const Inputs& i) {
    return key.Describes(i.t, i.trees, i.selector, i.boundary, i.screenScale);
  };
  EXPECT_TRUE(describes(base.Key(), same));
  // Fields DrawTrees does not read leave the key alone: a pass writes them into every tree.
  Inputs passed = base;
  passed.trees[1].edgeWeight = 0.5;
  passed.trees[1].plotArea = 500;
  passed.trees[1].weightDone = 1;
  passed.trees[1].layer = 1;
  passed.boundary.minX = -3;
  passed.boundary.areaHa = 7;
  EXPECT_TRUE(base.Key() == passed.Key());
  EXPECT_TRUE(describes(base.Key(), passed));
  // A default key stands for no picture: it equals no made key, not even that of an empty stand.
  EXPECT_FALSE(TreePictureKey() == Inputs{}.Key());
  EXPECT_TRUE(TreePictureKey() == TreePictureKey());
  EXPECT_FALSE(describes(TreePictureKey(), Inputs{}));
  EXPECT_TRUE(describes(Inputs{}.Key(), Inputs{}));

  const std::pair<const char*, std::function<void(Inputs&)>> changes[] = {
      {"tree x by one ulp", [](Inputs& i) { i.trees[1].x = std::nextafter(i.trees[1].x, 1e9); }},
      {"tree y by one ulp", [](Inputs& i) { i.trees[2].y = std::nextafter(i.trees[2].y, -1e9); }},
      {"dbh", [](Inputs& i) { i.trees[0].dbh = 30.1; }},
      {"species", [](Inputs& i) { i.trees[0].species = 2; }},
      {"tree added", [](Inputs& i) { i.trees.push_back(Tree(1, 30, 80, 80)); }},
      {"tree removed", [](Inputs& i) { i.trees.pop_back(); }},
      {"trees in another order", [](Inputs& i) { std::swap(i.trees[0], i.trees[1]); }},
      {"species selector", [](Inputs& i) { i.selector = 2; }},
      {"boundary point moved", [](Inputs& i) { i.boundary.x[3] = std::nextafter(100.0, 200.0); }},
      {"boundary point added",
       [](Inputs& i) {
         i.boundary.x[6] = i.boundary.x[5];
         i.boundary.y[6] = i.boundary.y[5];
         i.boundary.n = 6;
       }},
      {"boundary gone", [](Inputs& i) { i.boundary.n = 0; }},
      {"scale", [](Inputs& i) { i.t.scale = std::nextafter(1.75, 2.0); }},
      {"image width", [](Inputs& i) { i.t.imageWidth = 641; }},
      {"image height", [](Inputs& i) { i.t.imageHeight = 601; }},
      {"enterprise mode", [](Inputs& i) { i.t.enterpriseMode = true; }},
      {"screen scale", [](Inputs& i) { i.screenScale = 0.8; }},
  };
  for (const auto& [what, change] : changes) {
    Inputs changed = base;
    change(changed);
    EXPECT_FALSE(base.Key() == changed.Key()) << what;
    EXPECT_FALSE(changed.Key() == base.Key()) << what;
    EXPECT_FALSE(describes(base.Key(), changed)) << what;
    EXPECT_FALSE(describes(changed.Key(), base)) << what;
  }
}

TEST(StandMapLegend, OneButtonPerSpeciesPresent) {
  std::array<int, 11> count{};
  count[1] = 10;
  count[5] = 3;
  count[9] = 1;
  StandMapState map;
  map.legend[7] = 4;  // left over from another stand
  RecordingCanvas c;
  int n = DrawSpeciesLegend(c, 120, 400, count, 1, 1.0, [](int i) { return SpeciesNameTable::Name(i, 1); }, map);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(map.legendCount, 3);
  EXPECT_EQ(map.legend[1], 1);
  EXPECT_EQ(map.legend[2], 5);
  EXPECT_EQ(map.legend[3], 9);
  EXPECT_EQ(map.legend[7], 0);
  auto texts = c.OfKind(K::Text);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[1]->text, "Buche");
  EXPECT_EQ(texts[1]->v, (std::vector<int>{18, 60}));
  auto fonts = c.OfKind(K::Font);
  EXPECT_EQ(fonts[1]->colour, SpeciesColour(5, 1));
  RecordingCanvas small;
  DrawSpeciesLegend(small, 120, 400, count, 1, 0.8, [](int) { return std::string("x"); }, map);
  EXPECT_EQ(small.OfKind(K::Text)[2]->v[1], 84 - 10);
}

TEST(StandMapBlink, FiveCyclesDimTheSpeciesAndRedraw) {
  testing::FakeServices fakes;
  RunControl run;
  TreeList trees{Tree(1, 30, 10, 10), Tree(5, 40, 50, 60), Tree(5, 20, 70, 70)};
  BoundaryPolygon b = Square(100);
  StandMapTransform t;
  t.scale = 1.0;
  t.imageWidth = t.imageHeight = 200;
  RecordingCanvas c;
  int shows = 0;
  const auto start = fakes.clock.now;
  BlinkSpecies(true, 5, c, t, trees, 1, b, 1.0, [&] { ++shows; }, run, fakes.services);
  EXPECT_EQ(shows, 10);
  EXPECT_GE(fakes.clock.now - start, 3000u);
  // The first dimming touches only the two trees of species 5.
  ASSERT_EQ(c.commands[0].kind, K::Pen);
  EXPECT_EQ(c.commands[0].colour, kBlinkColour);
  EXPECT_EQ(c.commands[1].kind, K::Ellipse);
  EXPECT_EQ(c.commands[2].kind, K::Ellipse);
  EXPECT_EQ(c.commands[3].kind, K::Brush);

  RecordingCanvas once;
  shows = 0;
  BlinkSpecies(false, 5, once, t, trees, 1, b, 1.0, [&] { ++shows; }, run, fakes.services);
  EXPECT_EQ(shows, 2);
}

TEST(StandMapRotation, TurnsThirtyDegreesAndShiftsToTheTreesMinima) {
  TreeList trees{Tree(1, 30, 0, 0), Tree(1, 30, 100, 0), Tree(1, 30, 0, 100)};
  BoundaryPolygon b = Square(100);
  double s = RotateStand(trees, b, 600, 500);
  // (100, 0) turns to (86.6, -50): the lowest tree; (0, 100) to (50, 86.6).
  EXPECT_NEAR(trees[1].y, 0, 1e-9);
  EXPECT_NEAR(trees[0].x, 0, 1e-9);
  EXPECT_NEAR(trees[0].y, 50, 1e-3);
  EXPECT_NEAR(trees[1].x, 86.6025, 1e-3);
  EXPECT_NEAR(trees[2].y, 136.6025, 1e-3);
  // The boundary moves by the same minima.
  EXPECT_NEAR(b.x[1], 0, 1e-9);
  EXPECT_NEAR(b.y[1], 50, 1e-3);
  EXPECT_NEAR(b.x[4], trees[1].x, 1e-9);
  // The scale takes the extents as rotated, before the shift.
  const double r = 100 * std::cos(-0.523599);
  EXPECT_NEAR(s, FitStandMapScale(-50, 1.04 * r, 0, 1.04 * r, 600, 500), 1e-4);
}

TEST(StandMapLabels, TreesPerHectareAndArea) {
  EXPECT_EQ(TreesPerHectareLabel("Bäume:", 500, 2.0), "Bäume:   250 /ha");
  EXPECT_EQ(TreesPerHectareLabel("Bäume:", 500, 0.0), "Bäume:   500");
  EXPECT_EQ(StandAreaLabel("Fläche", 9.0), "Fläche:    9.00 ha");
}

TEST(StandThumbnail, PixelsBoundaryAndCaption) {
  TreeList trees{Tree(3, 30, 100, 50)};
  BoundaryPolygon b = Square(270);
  ThumbnailTransform t;
  t.imageHeight = 75;
  t.scale = 75.0 / 270;
  RecordingCanvas c;
  DrawStandThumbnail(c, t, trees, 2, b, 31, "31  Kiefer");
  auto px = c.OfKind(K::Pixel);
  ASSERT_EQ(px.size(), 1u);
  EXPECT_EQ(px[0]->v, (std::vector<int>{RoundInt(t.scale * 50) + 4, 75 - (RoundInt(t.scale * 25) + 4)}));
  EXPECT_EQ(px[0]->colour, 0x00FF00u);
  auto poly = c.OfKind(K::Polyline);
  ASSERT_EQ(poly.size(), 1u);
  EXPECT_EQ(poly[0]->points.size(), 6u);
  EXPECT_EQ(poly[0]->points[3].x, RoundInt(t.scale * 135) + 4);
  ASSERT_EQ(c.OfKind(K::Text).size(), 1u);
  EXPECT_EQ(c.OfKind(K::Text)[0]->v, (std::vector<int>{2, -1}));
}

TEST(StandThumbnail, EveryCaptionIsWholeWithinTheThumbnail) {
  // Long descriptions (stands 14, 27, 78) went past the thumbnail's edge, and the last entry (88) had
  // none: every entry's caption stands whole, on as many lines as it needs, from its top left corner.
  TreeList trees{Tree(3, 30, 100, 50)};
  ThumbnailTransform t;
  t.imageHeight = 75;
  t.scale = 75.0 / 270;
  for (auto [entry, caption] : {std::pair{14, "14  Dgl/Fi, 100 J."}, std::pair{27, "27  Bu/Ah/Es, 145 J."},
                                std::pair{47, "78  Schwarzenegg, Fi/Ta"}, std::pair{52, "88  Toppwald-Nord,Ta/Fi/Bu"}}) {
    SCOPED_TRACE(caption);
    RecordingCanvas c;
    c.charWidthPer10Pt = 7;
    DrawStandThumbnail(c, t, trees, 2, Square(270), entry, caption);
    const auto texts = c.OfKind(K::Text);
    ASSERT_FALSE(texts.empty());
    std::string whole;
    int lastY = -100;
    for (const DrawCommand* d : texts) {
      EXPECT_EQ(d->v[0], 2);
      EXPECT_GT(d->v[1], lastY);
      lastY = d->v[1];
      EXPECT_LE(2 + c.TextWidth(d->text), 75) << d->text;
      whole += (whole.empty() ? "" : " ") + d->text;
    }
    EXPECT_GT(texts.size(), 1u);
    // Nothing of the caption is lost (blanks at the breaks aside).
    std::string squeezed(caption), joined = whole;
    std::erase(squeezed, ' ');
    std::erase(joined, ' ');
    EXPECT_EQ(joined, squeezed);
  }
}

}  // namespace
}  // namespace tolvek
