#pragma once
// The drawing surface of the core on Qt: stand map, diagrams and thumbnails are computed on the Canvas
// interface and land here on a QImage (where flood fills and single pixels work) or on any QPainter
// (printer, widget).
#include <QFont>
#include <QImage>
#include <QPainter>
#include <memory>

#include "common/canvas.h"

namespace tolvek {

QColor ToQColor(Colour c);

class QtCanvas : public Canvas {
 public:
  // Paints on the image until the canvas is destroyed.
  explicit QtCanvas(QImage& image);
  // Paints with a painter someone else owns (no flood fill there).
  explicit QtCanvas(QPainter& painter);
  ~QtCanvas() override;
  QtCanvas(const QtCanvas&) = delete;
  QtCanvas& operator=(const QtCanvas&) = delete;

  void SetPen(Colour colour, int width = 1, PenStyle style = PenStyle::Solid) override;
  void SetBrush(Colour colour, BrushStyle style = BrushStyle::Solid) override;
  void SetFont(const std::string& family, int sizePt, Colour colour, bool bold = false) override;
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

 private:
  void Setup();
  QImage* image_ = nullptr;
  std::unique_ptr<QPainter> own_;
  QPainter* p_ = nullptr;
  QPen pen_;
  QBrush brush_;
  QFont font_;
  QColor fontColour_;
};

}  // namespace tolvek
