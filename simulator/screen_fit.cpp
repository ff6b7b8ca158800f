#include "simulator/screen_fit.h"

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

int ScaleInt(int value, double scale) { return RoundInt(value * scale); }

std::string HintText(const std::string& hint) {
  if (hint.size() <= 1) return hint;
  std::size_t p = hint.find('#');
  if (p == std::string::npos) return hint;
  std::string s = hint;
  // The mark and the one character after it (a whole UTF-8 character) give way to the break.
  std::size_t n = 1;
  if (p + 1 < s.size()) {
    n = 2;
    while (p + n < s.size() && (static_cast<unsigned char>(s[p + n]) & 0xC0) == 0x80) ++n;
  }
  s.replace(p, n, "\r");
  return s;
}

double RotateGridLeft(double angle) { return angle < 0.3 ? angle + 0.0174 : angle; }
double RotateGridRight(double angle) { return angle <= -0.3 ? angle : angle - 0.0174; }

}  // namespace tolvek
