#pragma once
// The core's drawings rasterised without a window system, so the shipped pictures come out the same on
// every machine: polygons filled by scan lines through the pixel centres, lines one pixel (or the pen's
// width) wide. Only what the enterprise map and the glyphs draw is supported.
#include "common/canvas.h"
#include "tools/makestands/pictures.h"

namespace tolvek::makeenterprise {

class RasterCanvas : public Canvas {
 public:
  // Every coordinate is moved by (dx, dy) before it is drawn.
  RasterCanvas(makestands::Picture& picture, int dx = 0, int dy = 0) : p_(picture), dx_(dx), dy_(dy) {}

  void SetPen(Colour colour, int width, PenStyle style) override;
  void SetBrush(Colour colour, BrushStyle style) override;
  void SetFont(const std::string&, int, Colour, bool) override {}
  void Line(int x1, int y1, int x2, int y2) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int, int, int, int) override {}
  void Polygon(const std::vector<CanvasPoint>& points) override;
  void Polyline(const std::vector<CanvasPoint>& points) override;
  void Text(int, int, const std::string&) override {}
  int TextWidth(const std::string&) override { return 0; }
  int TextHeight(const std::string&) override { return 0; }
  void Pixel(int x, int y, Colour colour) override;
  void FloodFill(int, int, Colour) override {}

 private:
  void PenLine(int x1, int y1, int x2, int y2);
  makestands::Picture& p_;
  int dx_ = 0, dy_ = 0;
  makestands::Rgb pen_{}, brush_{};
  int penWidth_ = 1;
  bool penClear_ = false, brushClear_ = false;
};

makestands::Rgb ToRgb(Colour c);

}  // namespace tolvek::makeenterprise
