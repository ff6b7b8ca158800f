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

TEST(ScreenFit, TheFrameStandsOnTheScreenNotAboveIt) {
  // A title bar of 26 and borders of 4 pixels on a 1366 x 768 screen: the frame's top left corner is
  // the screen's, the client lies below the title bar, and the whole window (742 high, as fitted) ends
  // within the screen.
  const ScreenFit f = FitToScreen(768);
  const FrameMargins frame{4, 26, 4, 4};
  const PixelRect c = PlaceMainWindow(f, {0, 0, 1366, 768}, frame);
  EXPECT_EQ(c.left, 4);
  EXPECT_EQ(c.top, 26);
  EXPECT_EQ(c.width, 989 - 8);
  EXPECT_EQ(c.height, 742 - 30);
  EXPECT_LE(c.top + c.height + frame.bottom, 768);
  // Without a frame (a screen without window manager) the client is the fitted window at (0, 0).
  const PixelRect bare = PlaceMainWindow(f, {0, 0, 1366, 768}, {});
  EXPECT_EQ(bare.left, 0);
  EXPECT_EQ(bare.top, 0);
  EXPECT_EQ(bare.width, 989);
  EXPECT_EQ(bare.height, 742);
  // A panel at the screen's top leaves less room: the window starts below it and stays on the screen.
  const PixelRect below = PlaceMainWindow(f, {0, 32, 1024, 736}, frame);
  EXPECT_EQ(below.top, 32 + 26);
  EXPECT_LE(below.top + below.height + frame.bottom, 768);
  EXPECT_LE(below.left + below.width + frame.right, 1024);
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
