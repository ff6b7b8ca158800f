#include "simulator/screen_fit.h"

#include <gtest/gtest.h>

namespace tolvek {
namespace {

TEST(ScreenFit, OnlyAScreenOfExactly768PixelsScales) {
  ScreenFit f = FitToScreen(768);
  EXPECT_DOUBLE_EQ(f.scale, 0.8);
  EXPECT_EQ(f.windowHeight, 742);
  EXPECT_EQ(f.windowWidth, 989);  // round(742 / 0.75)
  EXPECT_EQ(f.mapLeft, 380);
  EXPECT_EQ(f.mapSize, 898);
  for (int h : {767, 769}) {
    ScreenFit g = FitToScreen(h);
    EXPECT_DOUBLE_EQ(g.scale, 1.0) << h;
    EXPECT_EQ(g.mapLeft, 308) << h;
    EXPECT_EQ(g.mapSize, 968) << h;
  }
}

TEST(ScreenFit, WidthRoundsHalfToEven) {
  ScreenFit f = FitToScreen(900);
  EXPECT_EQ(f.windowHeight, 874);
  EXPECT_EQ(f.windowWidth, 1092);  // 874 / 0.8 = 1092.5
  EXPECT_EQ(ScaleInt(5, 0.5), 2);
  EXPECT_EQ(ScaleInt(7, 0.5), 4);
  EXPECT_EQ(ScaleInt(968, 0.8), 774);
}

TEST(HintText, FirstMarkAndTheCharacterAfterItBecomeABreak) {
  EXPECT_EQ(HintText("a#bc"), "a\rc");
  EXPECT_EQ(HintText("Gitter#anlegen"), "Gitter\rnlegen");
  EXPECT_EQ(HintText("a#b#c"), "a\r#c");  // only the first mark
  EXPECT_EQ(HintText("#"), "#");
  EXPECT_EQ(HintText(""), "");
  EXPECT_EQ(HintText("ohne"), "ohne");
  EXPECT_EQ(HintText("a#"), "a\r");
  EXPECT_EQ(HintText("a#äb"), "a\rb");  // a whole character, not a byte of it
}

TEST(GridRotation, StaysWithinAboutPointThreeRadians) {
  double a = 0.06;
  for (int i = 0; i < 100; ++i) a = RotateGridLeft(a);
  EXPECT_LT(a, 0.3 + 0.0175);
  EXPECT_GE(a, 0.3);
  for (int i = 0; i < 200; ++i) a = RotateGridRight(a);
  EXPECT_GT(a, -0.3 - 0.0175);
  EXPECT_LE(a, -0.3);
  EXPECT_DOUBLE_EQ(RotateGridLeft(-0.3 - 0.001), -0.3 - 0.001 + 0.0174);
}

}  // namespace
}  // namespace tolvek
