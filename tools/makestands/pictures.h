#pragma once
// Pictures of the collection: stand photographs rendered from a stand's own trees (written as JPEG
// with libjpeg) and the catalogue's overview map (written as a 24-bit BMP).
#include <cstdint>
#include <string>
#include <vector>

#include "tools/makestands/stands.h"

namespace tolvek::makestands {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // rows top to bottom
  Picture(int w, int h, Rgb fill = {});
  Rgb Get(int x, int y) const;
  void Set(int x, int y, Rgb c);
  void Blend(int x, int y, Rgb c, double alpha);
  void FillRect(int x0, int y0, int x1, int y1, Rgb c);  // x1, y1 exclusive
  void Line(int x0, int y0, int x1, int y1, Rgb c);
  // Text with the small or the heading font; returns the width drawn. Clipped to [clipX0, clipX1).
  int Text(int x, int y, const std::string& utf8, Rgb c, bool heading = false, int clipX0 = 0, int clipX1 = 1 << 30);
  static int TextWidth(const std::string& utf8, bool heading = false);
};

// How a photograph looks at the stand.
struct PhotoView {
  int kind = 0;       // 0 from the edge towards the middle, 1 from the middle, 2 from a corner
  int season = 0;     // 0 summer, 1 autumn, 2 early spring
  std::uint32_t seed = 1;
  double turn = 0.0;  // extra turn of the view direction (radians)
};

Picture RenderPhoto(const MadeStand& stand, const PhotoView& view, int width = 400, int height = 300);

std::string EncodeJpeg(const Picture& picture, int quality, bool progressive);
std::string EncodeBmp(const Picture& picture);

// The overview map of the catalogue, laid out as the catalogue window lays out its thumbnails: every
// stand as a 75 x 75 thumbnail at its place, the groups on soft panels.
Picture RenderOverview(const std::vector<MadeStand>& stands);

}  // namespace tolvek::makestands
