#include "common/recording_canvas.h"

#include "common/format.h"

namespace tolvek {

using K = DrawCommand::Kind;

void RecordingCanvas::SetPen(Colour colour, int width, PenStyle style) {
  commands.push_back({K::Pen, {width}, {}, colour, static_cast<int>(style), false, {}});
}
void RecordingCanvas::SetBrush(Colour colour, BrushStyle style) {
  commands.push_back({K::Brush, {}, {}, colour, static_cast<int>(style), false, {}});
}
void RecordingCanvas::SetFont(const std::string& family, int sizePt, Colour colour, bool bold) {
  fontSize_ = sizePt;
  commands.push_back({K::Font, {sizePt}, family, colour, 0, bold, {}});
}
void RecordingCanvas::Line(int x1, int y1, int x2, int y2) { commands.push_back({K::Line, {x1, y1, x2, y2}, {}, 0, 0, false, {}}); }
void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  commands.push_back({K::Rectangle, {x1, y1, x2, y2}, {}, 0, 0, false, {}});
}
void RecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  commands.push_back({K::Ellipse, {x1, y1, x2, y2}, {}, 0, 0, false, {}});
}
void RecordingCanvas::Polygon(const std::vector<CanvasPoint>& points) {
  commands.push_back({K::Polygon, {}, {}, 0, 0, false, points});
}
void RecordingCanvas::Polyline(const std::vector<CanvasPoint>& points) {
  commands.push_back({K::Polyline, {}, {}, 0, 0, false, points});
}
void RecordingCanvas::Text(int x, int y, const std::string& text) { commands.push_back({K::Text, {x, y}, text, 0, 0, false, {}}); }
int RecordingCanvas::TextWidth(const std::string& text) {
  return static_cast<int>(Utf8Length(text)) * charWidthPer10Pt * fontSize_ / 10;
}
int RecordingCanvas::TextHeight(const std::string&) { return fontSize_ * 4 / 3 + 2; }
void RecordingCanvas::Pixel(int x, int y, Colour colour) { commands.push_back({K::Pixel, {x, y}, {}, colour, 0, false, {}}); }
void RecordingCanvas::FloodFill(int x, int y, Colour border) {
  commands.push_back({K::FloodFill, {x, y}, {}, border, 0, false, {}});
}

void RecordingCanvas::ReplayOn(Canvas& t) const {
  for (const auto& c : commands) {
    switch (c.kind) {
      case K::Pen: t.SetPen(c.colour, c.v[0], static_cast<PenStyle>(c.style)); break;
      case K::Brush: t.SetBrush(c.colour, static_cast<BrushStyle>(c.style)); break;
      case K::Font: t.SetFont(c.text, c.v[0], c.colour, c.bold); break;
      case K::Line: t.Line(c.v[0], c.v[1], c.v[2], c.v[3]); break;
      case K::Rectangle: t.Rectangle(c.v[0], c.v[1], c.v[2], c.v[3]); break;
      case K::Ellipse: t.Ellipse(c.v[0], c.v[1], c.v[2], c.v[3]); break;
      case K::Polygon: t.Polygon(c.points); break;
      case K::Polyline: t.Polyline(c.points); break;
      case K::Text: t.Text(c.v[0], c.v[1], c.text); break;
      case K::Pixel: t.Pixel(c.v[0], c.v[1], c.colour); break;
      case K::FloodFill: t.FloodFill(c.v[0], c.v[1], c.colour); break;
    }
  }
}

std::vector<const DrawCommand*> RecordingCanvas::OfKind(DrawCommand::Kind kind) const {
  std::vector<const DrawCommand*> out;
  for (const auto& c : commands)
    if (c.kind == kind) out.push_back(&c);
  return out;
}

}  // namespace tolvek
