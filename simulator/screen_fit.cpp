#include "simulator/screen_fit.h"

#include <algorithm>

#include "common/rounding.h"

namespace tolvek {

ScreenFit FitToScreen(int screenHeight) {
  ScreenFit f;
  f.windowHeight = screenHeight - 26;
  if (screenHeight == 768) {
    f.scale = 0.8;
    f.windowWidth = RoundInt(f.windowHeight / 0.75);
    f.mapLeft = 380;
    f.mapSize = 898;
  } else {
    f.scale = 1.0;
    f.windowWidth = RoundInt(f.windowHeight / 0.8);
    f.mapLeft = 308;
    f.mapSize = 968;
  }
  return f;
}

PixelRect PlaceMainWindow(const ScreenFit& fit, const PixelRect& available, const FrameMargins& frame) {
  const int frameWidth = std::min(fit.windowWidth, available.width);
  const int frameHeight = std::min(fit.windowHeight, available.height);
  PixelRect client;
  client.left = available.left + frame.left;
  client.top = available.top + frame.top;
  client.width = std::max(1, frameWidth - frame.left - frame.right);
  client.height = std::max(1, frameHeight - frame.top - frame.bottom);
  return client;
}

int ScaleInt(int value, double scale) { return RoundInt(value * scale); }

double RotateGridLeft(double angle) { return angle < 0.3 ? angle + 0.0174 : angle; }
double RotateGridRight(double angle) { return angle <= -0.3 ? angle : angle - 0.0174; }

}  // namespace tolvek
