#include "common/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QPolygon>
#include <vector>

#include "common/qt/qt_services.h"
#include "common/qt/vector_state.h"

namespace tolvek {

QColor ToQColor(Colour c) { return QColor(ColourRed(c), ColourGreen(c), ColourBlue(c)); }

QtCanvas::QtCanvas(QImage& image) : image_(&image), own_(std::make_unique<QPainter>(&image)), p_(own_.get()) {
  Setup();
}

QtCanvas::QtCanvas(QPainter& painter) : p_(&painter) { Setup(); }

QtCanvas::~QtCanvas() {
  own_.reset();
  ClearUpperVectorState();
}

void QtCanvas::Setup() {
  pen_ = QPen(Qt::black, 1);
  brush_ = QBrush(Qt::white);
  // Sizes in points as on a 96-dpi screen, whatever resolution the image claims.
  font_ = QFont("Arial");
  font_.setPixelSize(11);
  fontColour_ = Qt::black;
  p_->setRenderHint(QPainter::Antialiasing, false);
  p_->setRenderHint(QPainter::TextAntialiasing, true);
  p_->setPen(pen_);
  p_->setBrush(brush_);
  p_->setFont(font_);
  ClearUpperVectorState();
}

void QtCanvas::SetPen(Colour colour, int width, PenStyle style) {
  pen_ = QPen(ToQColor(colour));
  pen_.setWidth(width <= 1 ? 0 : width);  // cosmetic 1-pixel pen for the thin lines
  switch (style) {
    case PenStyle::Solid: pen_.setStyle(Qt::SolidLine); break;
    case PenStyle::Dash: pen_.setStyle(Qt::DashLine); break;
    case PenStyle::Dot: pen_.setStyle(Qt::DotLine); break;
    case PenStyle::DashDot: pen_.setStyle(Qt::DashDotLine); break;
    case PenStyle::Clear: pen_.setStyle(Qt::NoPen); break;
  }
  p_->setPen(pen_);
}

void QtCanvas::SetBrush(Colour colour, BrushStyle style) {
  Qt::BrushStyle s = Qt::SolidPattern;
  switch (style) {
    case BrushStyle::Solid: s = Qt::SolidPattern; break;
    case BrushStyle::Clear: s = Qt::NoBrush; break;
    case BrushStyle::Horizontal: s = Qt::HorPattern; break;
    case BrushStyle::Vertical: s = Qt::VerPattern; break;
    case BrushStyle::Cross: s = Qt::CrossPattern; break;
    case BrushStyle::Diagonal: s = Qt::BDiagPattern; break;
    case BrushStyle::DiagonalCross: s = Qt::DiagCrossPattern; break;
  }
  brush_ = QBrush(ToQColor(colour), s);
  p_->setBrush(brush_);
}

void QtCanvas::SetFont(const std::string& family, int sizePt, Colour colour, bool bold) {
  font_ = QFont(Q(family));
  font_.setPixelSize(sizePt * 96 / 72 > 0 ? sizePt * 96 / 72 : 1);
  font_.setBold(bold);
  fontColour_ = ToQColor(colour);
  p_->setFont(font_);
}

void QtCanvas::Line(int x1, int y1, int x2, int y2) { p_->drawLine(x1, y1, x2, y2); }

void QtCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  const int w = x2 - x1, h = y2 - y1;
  if (w <= 0 || h <= 0) return;
  if (brush_.style() != Qt::NoBrush) p_->fillRect(x1, y1, w, h, brush_);
  if (pen_.style() != Qt::NoPen) {
    p_->save();
    p_->setBrush(Qt::NoBrush);
    p_->drawRect(x1, y1, w - 1, h - 1);
    p_->restore();
  }
}

void QtCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  p_->drawEllipse(x1, y1, std::max(0, x2 - x1 - 1), std::max(0, y2 - y1 - 1));
}

static QPolygon ToPolygon(const std::vector<CanvasPoint>& points) {
  QPolygon poly;
  poly.reserve(static_cast<int>(points.size()));
  for (const auto& p : points) poly << QPoint(p.x, p.y);
  return poly;
}

void QtCanvas::Polygon(const std::vector<CanvasPoint>& points) { p_->drawPolygon(ToPolygon(points)); }
void QtCanvas::Polyline(const std::vector<CanvasPoint>& points) { p_->drawPolyline(ToPolygon(points)); }

void QtCanvas::Text(int x, int y, const std::string& text) {
  p_->save();
  p_->setPen(fontColour_);
  QFontMetrics fm(font_);
  p_->drawText(x, y + fm.ascent(), Q(text));
  p_->restore();
}

int QtCanvas::TextWidth(const std::string& text) { return QFontMetrics(font_).horizontalAdvance(Q(text)); }
int QtCanvas::TextHeight(const std::string&) { return QFontMetrics(font_).height(); }

void QtCanvas::Pixel(int x, int y, Colour colour) {
  p_->save();
  p_->setPen(QPen(ToQColor(colour), 0));
  p_->drawPoint(x, y);
  p_->restore();
}

void QtCanvas::FloodFill(int x, int y, Colour border) {
  if (!image_ || x < 0 || y < 0 || x >= image_->width() || y >= image_->height()) return;
  // The fill works on the pixels themselves, so the painter lets go of the image meanwhile.
  own_->end();
  const QRgb stop = ToQColor(border).rgb() & 0xFFFFFF;
  const QRgb fill = brush_.color().rgb() & 0xFFFFFF;
  QImage& img = *image_;
  auto at = [&](int px, int py) { return img.pixel(px, py) & 0xFFFFFF; };
  if (at(x, y) != stop && at(x, y) != fill) {
    std::vector<QPoint> todo{QPoint(x, y)};
    while (!todo.empty()) {
      QPoint q = todo.back();
      todo.pop_back();
      int px = q.x(), py = q.y();
      if (px < 0 || py < 0 || px >= img.width() || py >= img.height()) continue;
      const QRgb c = at(px, py);
      if (c == stop || c == fill) continue;
      img.setPixel(px, py, brush_.color().rgb());
      todo.emplace_back(px + 1, py);
      todo.emplace_back(px - 1, py);
      todo.emplace_back(px, py + 1);
      todo.emplace_back(px, py - 1);
    }
  }
  own_->begin(image_);
  p_->setRenderHint(QPainter::Antialiasing, false);
  p_->setPen(pen_);
  p_->setBrush(brush_);
  p_->setFont(font_);
}

}  // namespace tolvek
