#include "tools/makeenterprise/raster_canvas.h"

#include <algorithm>
#include <cmath>

namespace tolvek::makeenterprise {

makestands::Rgb ToRgb(Colour c) {
  return {static_cast<std::uint8_t>(ColourRed(c)), static_cast<std::uint8_t>(ColourGreen(c)),
          static_cast<std::uint8_t>(ColourBlue(c))};
}

void RasterCanvas::SetPen(Colour colour, int width, PenStyle style) {
  pen_ = ToRgb(colour);
  penWidth_ = std::max(1, width);
  penClear_ = style == PenStyle::Clear;
}

void RasterCanvas::SetBrush(Colour colour, BrushStyle style) {
  brush_ = ToRgb(colour);
  brushClear_ = style != BrushStyle::Solid;
}

void RasterCanvas::PenLine(int x1, int y1, int x2, int y2) {
  if (penClear_) return;
  // A wider pen: the same line moved right and down by each pixel of its width.
  for (int ox = 0; ox < penWidth_; ++ox)
    for (int oy = 0; oy < penWidth_; ++oy) p_.Line(x1 + dx_ + ox, y1 + dy_ + oy, x2 + dx_ + ox, y2 + dy_ + oy, pen_);
}

void RasterCanvas::Line(int x1, int y1, int x2, int y2) { PenLine(x1, y1, x2, y2); }

void RasterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (!brushClear_) p_.FillRect(x1 + dx_, y1 + dy_, x2 + dx_, y2 + dy_, brush_);
  PenLine(x1, y1, x2 - 1, y1);
  PenLine(x2 - 1, y1, x2 - 1, y2 - 1);
  PenLine(x2 - 1, y2 - 1, x1, y2 - 1);
  PenLine(x1, y2 - 1, x1, y1);
}

void RasterCanvas::Polygon(const std::vector<CanvasPoint>& points) {
  const std::size_t n = points.size();
  if (n < 2) return;
  if (!brushClear_) {
    int top = points[0].y, bottom = points[0].y;
    for (const CanvasPoint& q : points) top = std::min(top, q.y), bottom = std::max(bottom, q.y);
    std::vector<double> xs;
    for (int y = top; y <= bottom; ++y) {
      const double sy = y + 0.5;
      xs.clear();
      for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const CanvasPoint a = points[i], b = points[j];
        if ((a.y > sy) != (b.y > sy)) xs.push_back(a.x + (sy - a.y) * double(b.x - a.x) / double(b.y - a.y));
      }
      std::sort(xs.begin(), xs.end());
      for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
        // The pixels whose centres lie between the two crossings.
        const int from = static_cast<int>(std::ceil(xs[k] - 0.5)), to = static_cast<int>(std::floor(xs[k + 1] - 0.5));
        for (int x = from; x <= to; ++x) p_.Set(x + dx_, y + dy_, brush_);
      }
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    const CanvasPoint a = points[i], b = points[(i + 1) % n];
    PenLine(a.x, a.y, b.x, b.y);
  }
}

void RasterCanvas::Polyline(const std::vector<CanvasPoint>& points) {
  for (std::size_t i = 0; i + 1 < points.size(); ++i)
    PenLine(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
}

void RasterCanvas::Pixel(int x, int y, Colour colour) { p_.Set(x + dx_, y + dy_, ToRgb(colour)); }

}  // namespace tolvek::makeenterprise
