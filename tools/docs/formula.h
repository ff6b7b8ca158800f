#pragma once
// Displayed formulas of the theory documents, written in a small TeX-like notation and laid out with
// Qt's painter, so the PDF carries real text and lines:
//   letters are italic, digits and operators upright; x_i, x^2, x_{ij}^{2}; \frac{a}{b}; \sqrt{a};
//   \sum_{i=1}^{n}; \bar{x}, \hat{G}; \left( … \right) (also [ ] and |); \text{words}; \sin, \cos,
//   \arctan, \arccos, \ln, \min, \max; Greek letters (\pi, \theta, \Sigma …); \pm \le \ge \approx \ne
//   \cdot \times \ast \lt \gt; spaces \, \; \quad.
#include <QFont>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <vector>

class QPainter;
class QPaintDevice;

namespace docs {

class Formula {
 public:
  // base: the font of the surrounding text; device: where it will be drawn (for the font metrics).
  Formula(const QString& source, const QFont& base, QPaintDevice* device);
  bool ok() const { return error_.isEmpty(); }
  const QString& error() const { return error_; }
  qreal width() const { return box_.w; }
  qreal ascent() const { return box_.asc; }
  qreal descent() const { return box_.desc; }
  // Draws with the left end of the baseline at origin.
  void draw(QPainter* p, QPointF origin) const;

  struct Op {
    enum Kind { kText, kLine, kPath } kind = kText;
    QPointF a, b;  // text position / line ends (relative to the box's baseline-left)
    QString text;
    QFont font;
    QPainterPath path;
    qreal pen = 0;
  };
  struct Box {
    qreal w = 0, asc = 0, desc = 0;
    std::vector<Op> ops;
    void Put(const Box& b, qreal dx, qreal dy);  // b's ops moved by (dx, dy), y downwards
  };

 private:
  Box box_;
  QString error_;
};

}  // namespace docs
