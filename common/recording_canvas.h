#pragma once
// A canvas that keeps what is drawn as a list of commands: lets tests check geometry without a
// screen, and lets a picture be computed once and rendered on several devices.
#include <string>
#include <vector>

#include "common/canvas.h"

namespace tolvek {

struct DrawCommand {
  enum class Kind { Pen, Brush, Font, Line, Rectangle, Ellipse, Polygon, Polyline, Text, Pixel, FloodFill };
  Kind kind{};
  std::vector<int> v;       // coordinates or parameters in call order
  std::string text;         // text, font family
  Colour colour = 0;
  int style = 0;
  bool bold = false;
  std::vector<CanvasPoint> points;
};

class RecordingCanvas : public Canvas {
 public:
  // Text metrics without a font engine: a fixed share of the font height per character.
  int charWidthPer10Pt = 6;
  std::vector<DrawCommand> commands;

  void SetPen(Colour colour, int width, PenStyle style) override;
  void SetBrush(Colour colour, BrushStyle style) override;
  void SetFont(const std::string& family, int sizePt, Colour colour, bool bold) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Polygon(const std::vector<CanvasPoint>& points) override;
  void Polyline(const std::vector<CanvasPoint>& points) override;
  void Text(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;
  void Pixel(int x, int y, Colour colour) override;
  void FloodFill(int x, int y, Colour border) override;

  // Replays the commands on another canvas.
  void ReplayOn(Canvas& target) const;
  std::vector<const DrawCommand*> OfKind(DrawCommand::Kind kind) const;

 private:
  int fontSize_ = 8;
};

}  // namespace tolvek
