#pragma once
// Arithmetic of the main window's start-up fit and the small rules of its tool bar, kept apart from
// the window so it can be checked without a screen.
#include <string>

#include "common/translate.h"  // HintText, the hint handler

namespace tolvek {

struct ScreenFit {
  double scale = 1.0;     // 0.8 on a screen exactly 768 pixels high
  int windowWidth = 0;
  int windowHeight = 0;
  int mapLeft = 308;      // stand-map scroll box
  int mapSize = 968;
};

ScreenFit FitToScreen(int screenHeight);

struct PixelRect {
  int left = 0, top = 0, width = 0, height = 0;
};
struct FrameMargins {
  int left = 0, top = 0, right = 0, bottom = 0;  // borders and title bar the window system adds
};
// The main window's client area on the screen. The fitted size is the whole window's, frame and title
// bar included, as the height the fit derives from the screen's is: the frame stands at the top left of
// the screen's free area and the client within it, both never beyond that area.
PixelRect PlaceMainWindow(const ScreenFit& fit, const PixelRect& available, const FrameMargins& frame);
// round(value * scale), a half to even.
int ScaleInt(int value, double scale);
// One press of the left (+0.0174 while below 0.3) or right (-0.0174 unless at or below -0.3) button.
double RotateGridLeft(double angle);
double RotateGridRight(double angle);

}  // namespace tolvek
