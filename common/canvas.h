#pragma once
// The drawing surface the core draws on: the stand map, diagrams, reports and the generator's views
// compute their pictures here and the windows render them (on screen, into a bitmap or on a printer).
#include <cstdint>
#include <string>
#include <vector>

namespace tolvek {

// Colours as the programs write them: $BBGGRR.
using Colour = std::uint32_t;
inline constexpr Colour kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0x0000FF, kBlue = 0xFF0000,
                        kGreen = 0x008000, kYellow = 0x00FFFF, kGray = 0x808080, kSilver = 0xC0C0C0,
                        kLime = 0x00FF00, kNavy = 0x800000, kMaroon = 0x000080, kOlive = 0x008080,
                        kPurple = 0x800080, kTeal = 0x808000, kFuchsia = 0xFF00FF, kAqua = 0xFFFF00;
inline int ColourRed(Colour c) { return static_cast<int>(c & 0xFF); }
inline int ColourGreen(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
inline int ColourBlue(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

struct CanvasPoint {
  int x = 0;
  int y = 0;
};

enum class PenStyle { Solid, Dash, Dot, DashDot, Clear };
enum class BrushStyle { Solid, Clear, Horizontal, Vertical, Cross, Diagonal, DiagonalCross };

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void SetPen(Colour colour, int width = 1, PenStyle style = PenStyle::Solid) = 0;
  virtual void SetBrush(Colour colour, BrushStyle style = BrushStyle::Solid) = 0;
  virtual void SetFont(const std::string& family, int sizePt, Colour colour, bool bold = false) = 0;
  virtual void Line(int x1, int y1, int x2, int y2) = 0;
  // Outline with the pen, filled with the brush; (x2, y2) lies just outside.
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  virtual void Polygon(const std::vector<CanvasPoint>& points) = 0;
  virtual void Polyline(const std::vector<CanvasPoint>& points) = 0;
  // Text with its top-left corner at (x, y), in the current font, on a clear background.
  virtual void Text(int x, int y, const std::string& text) = 0;
  virtual int TextWidth(const std::string& text) = 0;
  virtual int TextHeight(const std::string& text) = 0;
  virtual void Pixel(int x, int y, Colour colour) = 0;
  // Fills the area around (x, y) up to the border colour with the brush.
  virtual void FloodFill(int x, int y, Colour border) = 0;
};

}  // namespace tolvek
