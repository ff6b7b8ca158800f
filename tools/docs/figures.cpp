#include "tools/docs/figures.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace docs {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The simulator's own random generator, so the figures are the same on every run.
class Lcg {
 public:
  explicit Lcg(std::uint32_t seed) : seed_(seed) {}
  double Next() {
    seed_ = seed_ * 134775813u + 1u;
    return seed_ / 4294967296.0;
  }
  double Normal() {
    double s = 0;
    for (int i = 0; i < 12; ++i) s += Next();
    return s - 6;
  }

 private:
  std::uint32_t seed_;
};

struct Tree {
  double x, y, d;  // m, m, cm
};

// Drawing in millimetres from the figure's top-left corner.
class Canvas {
 public:
  Canvas(QPainter* p, const QRectF& r, qreal k) : p_(p), r_(r), k_(k) {}
  QPointF P(double x, double y) const { return r_.topLeft() + QPointF(x * k_, y * k_); }
  double K() const { return k_; }
  void Pen(QColor c, double widthMm, Qt::PenStyle s = Qt::SolidLine) {
    p_->setPen(QPen(c, widthMm * k_, s, Qt::RoundCap, Qt::RoundJoin));
  }
  void Brush(QColor c) { p_->setBrush(c); }
  void NoBrush() { p_->setBrush(Qt::NoBrush); }
  void Line(double x1, double y1, double x2, double y2) { p_->drawLine(P(x1, y1), P(x2, y2)); }
  void Circle(double x, double y, double r) { p_->drawEllipse(P(x, y), r * k_, r * k_); }
  void Rect(double x, double y, double w, double h) { p_->drawRect(QRectF(P(x, y), QSizeF(w * k_, h * k_))); }
  void Polygon(const std::vector<QPointF>& mm) {
    QPolygonF poly;
    for (const QPointF& q : mm) poly << P(q.x(), q.y());
    p_->drawPolygon(poly);
  }
  void Path(const QPainterPath& mm) {
    QTransform t;
    t.translate(r_.left(), r_.top());
    t.scale(k_, k_);
    p_->drawPath(t.map(mm));
  }
  // align: -1 left, 0 centre, 1 right of x; y is the baseline.
  void Text(double x, double y, const QString& t, double pt = 7, int align = -1, bool italic = false,
            bool bold = false) {
    QFont f("DejaVu Sans");
    f.setPointSizeF(pt);
    f.setItalic(italic);
    f.setBold(bold);
    p_->setFont(f);
    QFontMetricsF m(f, p_->device());
    const double w = m.horizontalAdvance(t) / k_;
    const double left = align < 0 ? x : align == 0 ? x - w / 2 : x - w;
    p_->drawText(P(left, y), t);
  }
  QPainter* painter() { return p_; }
  void Clip(double x, double y, double w, double h) { p_->setClipRect(QRectF(P(x, y), QSizeF(w * k_, h * k_))); }
  void NoClip() { p_->setClipping(false); }

 private:
  QPainter* p_;
  QRectF r_;
  qreal k_;
};

const QColor kInk(30, 30, 30);
const QColor kGreen(46, 125, 50);
const QColor kLightGreen(200, 230, 201);
const QColor kRed(198, 40, 40);
const QColor kBlue(21, 101, 192);
const QColor kLightBlue(187, 222, 251);
const QColor kGrey(150, 150, 150);
const QColor kYellow(249, 168, 37);

// A small stand of trees in a square of side s metres: positions from the simulator's generator, the
// thicker trees thinned so no two stand closer than a metre.
std::vector<Tree> SampleStand(std::uint32_t seed, double side, int count) {
  Lcg g(seed);
  std::vector<Tree> t;
  while (static_cast<int>(t.size()) < count) {
    Tree n{g.Next() * side, g.Next() * side, 12 + 30 * g.Next() * g.Next() + 10 * g.Next()};
    bool close = false;
    for (const Tree& o : t) close = close || std::hypot(o.x - n.x, o.y - n.y) < 1.6;
    if (!close) t.push_back(n);
  }
  return t;
}

void Panel(Canvas& c, double x0, double y0, double size, const QString& title) {
  c.Pen(kGrey, 0.2);
  c.NoBrush();
  c.Rect(x0, y0, size, size);
  c.Pen(kInk, 0.2);
  c.Text(x0 + size / 2, y0 + size + 4.2, title, 6.8, 0, false, true);
}

void Cross(Canvas& c, double x, double y, double s = 1.0) {
  c.Pen(kRed, 0.35);
  c.Line(x - s, y, x + s, y);
  c.Line(x, y - s, x, y + s);
}

// Four panels: which trees each method takes at one sample point.
void Methods(Canvas& c, bool en) {
  const double size = 36, gap = 5.5, m = size / 30.0;  // 30 m of stand in 36 mm
  const std::vector<Tree> stand = SampleStand(7, 30, 46);
  const double cx = 15, cy = 15;
  const QStringList titles = en ? QStringList{"fixed circle", "angle count", "n-tree sample (n = 6)",
                                              "concentric circles"}
                                : QStringList{"Vollkreis", "Winkelzählprobe", "n-Baum-Stichprobe (n = 6)",
                                              "konzentrische Kreise"};
  std::vector<std::pair<double, int>> byDistance;
  for (int i = 0; i < static_cast<int>(stand.size()); ++i)
    byDistance.push_back({std::hypot(stand[i].x - cx, stand[i].y - cy), i});
  std::sort(byDistance.begin(), byDistance.end());
  for (int panel = 0; panel < 4; ++panel) {
    const double x0 = panel * (size + gap), y0 = 1;
    Panel(c, x0, y0, size, titles[panel]);
    auto X = [&](double x) { return x0 + x * m; };
    auto Y = [&](double y) { return y0 + size - y * m; };
    std::vector<bool> taken(stand.size(), false);
    c.NoBrush();
    c.Clip(x0, y0, size, size);
    if (panel == 0) {
      c.Pen(kBlue, 0.35, Qt::DashLine);
      c.Circle(X(cx), Y(cy), 8 * m);
      for (std::size_t i = 0; i < stand.size(); ++i) taken[i] = std::hypot(stand[i].x - cx, stand[i].y - cy) < 8;
    } else if (panel == 1) {
      // limiting circles R = d / (2 sqrt k) with the counting factor k = 4
      for (std::size_t i = 0; i < stand.size(); ++i) {
        const double r = stand[i].d / (2.0 * std::sqrt(4.0));
        taken[i] = std::hypot(stand[i].x - cx, stand[i].y - cy) < r;
        if (taken[i] || i % 5 == 0) {
          c.Pen(taken[i] ? kBlue : kGrey, 0.2, Qt::DotLine);
          c.Circle(X(stand[i].x), Y(stand[i].y), r * m);
        }
      }
    } else if (panel == 2) {
      for (int k = 0; k < 6; ++k) taken[byDistance[k].second] = true;
      c.Pen(kBlue, 0.35, Qt::DashLine);
      c.Circle(X(cx), Y(cy), byDistance[5].first * m);
    } else {
      const double radii[3] = {3.5, 7, 11.5}, limits[3] = {7, 20, 30};
      for (double r : radii) {
        c.Pen(kBlue, 0.3, Qt::DashLine);
        c.Circle(X(cx), Y(cy), r * m);
      }
      for (std::size_t i = 0; i < stand.size(); ++i) {
        const double dist = std::hypot(stand[i].x - cx, stand[i].y - cy);
        for (int k = 2; k >= 0; --k)
          if (stand[i].d >= limits[k] && dist <= radii[k]) {
            taken[i] = true;
            break;
          }
      }
    }
    for (std::size_t i = 0; i < stand.size(); ++i) {
      c.Pen(kInk, 0.15);
      c.Brush(taken[i] ? kGreen : QColor(255, 255, 255));
      c.Circle(X(stand[i].x), Y(stand[i].y), std::max(0.45, stand[i].d / 100.0 * m * 2.2));
    }
    Cross(c, X(cx), Y(cy));
    c.NoClip();
  }
}

// A plot circle with its part in the stand green and the part outside red.
void CircleAtEdge(Canvas& c, double cx, double cy, double r, const QPainterPath& stand) {
  QPainterPath circle;
  circle.addEllipse(QPointF(cx, cy), r, r);
  c.Pen(Qt::transparent, 0);
  c.Brush(kLightGreen);
  c.Path(circle.intersected(stand));
  c.Brush(QColor(255, 205, 210));
  c.Path(circle.subtracted(stand));
  c.NoBrush();
  c.Pen(kInk, 0.3);
  c.Circle(cx, cy, r);
}

// Edge correction: a circle cut by a straight edge, and one around a corner of the boundary.
void Edge(Canvas& c, bool en) {
  const double r = 18;
  // chord case
  {
    const double cx = 30, cy = 24, edgeX = cx + 9;
    QPainterPath stand;
    stand.addRect(cx - r - 2, cy - r - 2, edgeX - (cx - r - 2), 2 * r + 4);
    CircleAtEdge(c, cx, cy, r, stand);
    c.Pen(kInk, 0.6);
    c.Line(edgeX, cy - r - 4, edgeX, cy + r + 4);
    const double half = std::sqrt(r * r - 9.0 * 9.0);
    c.Pen(kBlue, 0.3);
    c.Line(cx, cy, edgeX, cy - half);
    c.Line(cx, cy, edgeX, cy + half);
    c.Pen(kRed, 0.3, Qt::DashLine);
    c.Line(cx, cy, cx - r, cy);
    Cross(c, cx, cy);
    c.Pen(kInk, 0.2);
    c.Text(cx - r / 2, cy - 1.2, "r", 7.5, 0, true);
    c.Text(edgeX + 1.2, cy + 1.2, "2s", 7.5, -1, true);
    c.Text(cx + 5.2, cy + 1.0, "θ", 7.5, -1, true);
    c.Text(edgeX + 2, cy - r - 1, en ? "stand boundary" : "Bestandesgrenze", 6.5);
    c.Text(cx - 8, cy + r + 5, en ? "inside: a − S" : "innen: a − S", 6.5, 0);
    c.Text(edgeX + 3.5, cy + r - 3, "S", 7.5, -1, true);
  }
  // corner case
  {
    const double cx = 104, cy = 22;
    const QPointF corner(cx + 8, cy + 6);
    QPainterPath stand;
    stand.moveTo(corner);
    stand.lineTo(corner.x(), cy - r - 30);
    stand.lineTo(cx - r - 30, cy - r - 30);
    stand.lineTo(cx - r - 30, corner.y());
    stand.closeSubpath();
    CircleAtEdge(c, cx, cy, r, stand);
    c.Pen(kInk, 0.6);
    c.Line(corner.x(), corner.y(), corner.x(), cy - r - 4);
    c.Line(corner.x(), corner.y(), cx - r - 4, corner.y());
    Cross(c, cx, cy);
    c.Pen(kInk, 0.2);
    c.Text(corner.x() + 1.5, corner.y() + 3.5, en ? "corner" : "Eckpunkt", 6.5);
    c.Text(cx, cy + r + 5, en ? "inside area by clipping" : "Innenfläche durch Verschneiden", 6.5, 0);
  }
}

// The histogram of the per-cent deviations over the repetitions, with the bias and ± one SD.
void Histogram(Canvas& c, bool en) {
  Lcg g(2024);
  std::vector<int> count(51, 0);
  double sum = 0, sum2 = 0;
  const int n = 500;
  for (int i = 0; i < n; ++i) {
    const double dev = 1.2 + 6.5 * g.Normal();
    sum += dev;
    sum2 += dev * dev;
    const int k = std::clamp(static_cast<int>(std::nearbyint(dev)), -25, 25);
    ++count[k + 25];
  }
  const double bias = sum / n, sd = std::sqrt(sum2 / n - bias * bias);
  const double x0 = 12, y0 = 44, w = 100, unit = w / 51.0;
  const int top = *std::max_element(count.begin(), count.end());
  const double scale = 34.0 / top;
  c.Pen(kInk, 0.2);
  c.Brush(kGreen);
  for (int k = 0; k < 51; ++k)
    if (count[k]) c.Rect(x0 + k * unit, y0 - count[k] * scale, unit * 0.8, count[k] * scale);
  c.NoBrush();
  c.Pen(kInk, 0.3);
  c.Line(x0, y0, x0 + w, y0);
  for (int p = -25; p <= 25; p += 5) {
    const double x = x0 + (p + 25 + 0.4) * unit;
    c.Line(x, y0, x, y0 + 1.2);
    c.Text(x, y0 + 4.2, QString::number(p), 6, 0);
  }
  const double xb = x0 + (bias + 25 + 0.4) * unit;
  c.Pen(kRed, 0.45);
  c.Line(xb, y0 + 6, xb, y0 - 38);
  c.Line(xb - sd * unit, y0 - 38, xb + sd * unit, y0 - 38);
  c.Line(xb - sd * unit, y0 - 39.5, xb - sd * unit, y0 - 36.5);
  c.Line(xb + sd * unit, y0 - 39.5, xb + sd * unit, y0 - 36.5);
  c.Pen(kInk, 0.2);
  c.Text(x0 + w + 2, y0 + 4.2, "%", 6.5);
  c.Text(xb + sd * unit + 1.5, y0 - 37, QString(en ? "bias %1 %, SD %2 %" : "Bias %1 %, SD %2 %")
                                            .arg(bias, 0, 'f', 1)
                                            .arg(sd, 0, 'f', 1),
         6.5);
  c.Text(x0, y0 - 42, en ? "frequency of 500 repetitions" : "Häufigkeit bei 500 Wiederholungen", 6.5);
}

// Selection circles of trees, a plot centre that selects two of them, and the lens where both are
// selected together; one circle is cut by the boundary.
void Selection(Canvas& c, bool en) {
  struct C {
    double x, y, r;
  };
  const C t1{40, 27, 15}, t2{58, 30, 11}, t3{96, 20, 13};
  QPainterPath a, b, boundaryInside;
  a.addEllipse(QPointF(t1.x, t1.y), t1.r, t1.r);
  b.addEllipse(QPointF(t2.x, t2.y), t2.r, t2.r);
  c.Pen(Qt::transparent, 0);
  c.Brush(kLightBlue);
  c.Path(a.united(b));
  c.Brush(QColor(144, 202, 249));
  c.Path(a.intersected(b));
  c.NoBrush();
  c.Pen(kBlue, 0.3);
  c.Circle(t1.x, t1.y, t1.r);
  c.Circle(t2.x, t2.y, t2.r);
  c.Pen(kInk, 0.2);
  c.Brush(kGreen);
  c.Circle(t1.x, t1.y, 1.3);
  c.Circle(t2.x, t2.y, 1.0);
  c.NoBrush();
  c.Text(t1.x - 10, t1.y - 8, "R₁", 7, -1, true);
  c.Text(t2.x + 3, t2.y - 6, "R₂", 7, -1, true);
  c.Text(49.5, 30.5, "p₁₂", 6.5, 0, true);
  Cross(c, 50, 38, 0.9);
  c.Text(51.5, 41.5, en ? "plot centre" : "Probepunkt", 6);
  // a tree near the boundary
  QPainterPath d;
  d.addEllipse(QPointF(t3.x, t3.y), t3.r, t3.r);
  QPainterPath inside;
  inside.addRect(70, -5, 38, 60);
  c.Pen(Qt::transparent, 0);
  c.Brush(kLightBlue);
  c.Path(d.intersected(inside));
  c.NoBrush();
  c.Pen(kBlue, 0.3);
  c.Circle(t3.x, t3.y, t3.r);
  c.Pen(kInk, 0.6);
  c.Line(108, 2, 108, 46);
  c.Pen(kInk, 0.2);
  c.Brush(kGreen);
  c.Circle(t3.x, t3.y, 1.2);
  c.NoBrush();
  c.Text(110, 8, en ? "boundary" : "Grenze", 6.5);
  c.Text(t3.x, t3.y + t3.r + 6, en ? "p = inside area / A" : "p = Fläche innen / A", 6.5, 0);
  c.Text(t1.x + 8, t1.y + t1.r + 6, en ? "selection areas and their overlap" : "Auswahlflächen und ihre Überlappung",
         6.5, 0);
}

// Working time of the whole inventory against the number of trees per plot, with the optimum.
void Optimum(Canvas& c, bool en) {
  const double tF = 6, tB = 1, sF = 10, sB = 40, VC = 5, A = 20, N = 400, wF = 0.02, wB = 0.04;
  auto minutes = [&](double x) {
    const double n = (sF * sF + sB * sB / x) / (VC * VC);
    return n * (100 * std::sqrt(A / n) * wF + tF + x * (std::sqrt(10000 / N) * wB + tB));
  };
  const double x0 = 14, y0 = 50, w = 100, h = 42, xmax = 40;
  double tmax = 0;
  for (int x = 3; x <= 40; ++x) tmax = std::max(tmax, minutes(x));
  tmax = std::ceil(tmax / 100) * 100;
  auto X = [&](double x) { return x0 + x / xmax * w; };
  auto Y = [&](double t) { return y0 - t / tmax * h; };
  c.Pen(kInk, 0.3);
  c.Line(x0, y0, x0 + w, y0);
  c.Line(x0, y0, x0, y0 - h - 2);
  for (int x = 0; x <= 40; x += 5) {
    c.Line(X(x), y0, X(x), y0 + 1.2);
    c.Text(X(x), y0 + 4.2, QString::number(x), 6, 0);
  }
  for (int t = 0; t <= tmax; t += static_cast<int>(tmax / 4)) {
    c.Line(x0 - 1.2, Y(t), x0, Y(t));
    c.Text(x0 - 2, Y(t) + 1, QString::number(t), 6, 1);
  }
  QPainterPath curve;
  curve.moveTo(X(3), Y(minutes(3)));
  for (double x = 3.25; x <= 40; x += 0.25) curve.lineTo(X(x), Y(minutes(x)));
  c.Pen(kBlue, 0.45);
  c.NoBrush();
  c.Path(curve);
  double best = 3;
  for (double x = 3; x <= 40; x += 0.01)
    if (minutes(x) < minutes(best)) best = x;
  const double formula = std::sqrt(tF / tB) * sB / sF;
  c.Pen(kRed, 0.45);
  c.Line(X(formula), Y(minutes(formula)) - 3, X(formula), Y(minutes(formula)) + 3);
  c.Pen(kInk, 0.2);
  c.Text(X(formula) + 1.5, Y(minutes(formula)) - 4, QString("x* = %1").arg(formula, 0, 'f', 1), 6.5, -1, true);
  c.Text(x0 + w, y0 + 8.5, en ? "trees per plot x" : "Bäume je Probefläche x", 6.5, 1);
  c.Text(x0 - 12, y0 - h - 4, en ? "minutes" : "Minuten", 6.5);
  Q_UNUSED(best);
}

// A model enterprise: compartments in colours of their strata, and the grid of sample points.
void Strata(Canvas& c, bool en) {
  const QColor colours[4] = {QColor(200, 230, 201), QColor(165, 214, 167), QColor(255, 224, 178),
                             QColor(187, 222, 251)};
  Lcg g(99);
  const double x0 = 4, y0 = 4, cell = 11;
  for (int i = 0; i < 10; ++i)
    for (int j = 0; j < 4; ++j) {
      const int s = static_cast<int>(g.Next() * 4);
      c.Pen(kInk, 0.2);
      c.Brush(colours[s]);
      c.Rect(x0 + i * cell, y0 + j * cell, cell, cell);
    }
  c.NoBrush();
  for (double x = x0 + 2.75; x < x0 + 10 * cell; x += 5.5)
    for (double y = y0 + 2.75; y < y0 + 4 * cell; y += 2.75 * 2) Cross(c, x, y, 0.6);
  const QStringList names = en ? QStringList{"stratum 1", "stratum 2", "stratum 3", "stratum 4"}
                               : QStringList{"Stratum 1", "Stratum 2", "Stratum 3", "Stratum 4"};
  for (int s = 0; s < 4; ++s) {
    c.Pen(kInk, 0.2);
    c.Brush(colours[s]);
    c.Rect(120, 6 + s * 7, 5, 4);
    c.NoBrush();
    c.Text(127, 9.6 + s * 7, names[s], 6.5);
  }
  Cross(c, 122.5, 36.5, 0.6);
  c.Text(127, 38, en ? "sample point" : "Stichprobenpunkt", 6.5);
}

// The n-tree sample: trees by distance, the radius to the n-th and (n+1)-th tree.
void NTree(Canvas& c, bool en) {
  const std::vector<Tree> stand = SampleStand(31, 40, 60);
  const double cx = 20, cy = 20, m = 1.15, x0 = 6, y0 = 2;
  std::vector<std::pair<double, int>> by;
  for (int i = 0; i < static_cast<int>(stand.size()); ++i)
    by.push_back({std::hypot(stand[i].x - cx, stand[i].y - cy), i});
  std::sort(by.begin(), by.end());
  auto X = [&](double x) { return x0 + x * m; };
  auto Y = [&](double y) { return y0 + 40 * m - y * m; };
  c.Pen(kGrey, 0.2);
  c.NoBrush();
  c.Rect(x0, y0, 40 * m, 40 * m);
  const double r6 = by[5].first, r7 = by[6].first, kleinn = std::sqrt((r6 * r6 + r7 * r7) / 2);
  c.Pen(kBlue, 0.35, Qt::DashLine);
  c.Circle(X(cx), Y(cy), r6 * m);
  c.Pen(kYellow, 0.35, Qt::DashLine);
  c.Circle(X(cx), Y(cy), r7 * m);
  c.Pen(kRed, 0.3, Qt::DotLine);
  c.Circle(X(cx), Y(cy), kleinn * m);
  for (int k = 0; k < static_cast<int>(by.size()); ++k) {
    const Tree& t = stand[by[k].second];
    if (t.x < 0.5 || t.y < 0.5 || t.x > 39.5 || t.y > 39.5) continue;
    c.Pen(kInk, 0.15);
    c.Brush(k < 6 ? kGreen : (k == 6 ? kYellow : QColor(255, 255, 255)));
    c.Circle(X(t.x), Y(t.y), 0.75);
    if (k < 7) {
      c.NoBrush();
      c.Text(X(t.x) + 1, Y(t.y) - 1, QString::number(k + 1), 5.5);
    }
  }
  Cross(c, X(cx), Y(cy));
  const double lx = x0 + 40 * m + 6;
  c.Pen(kBlue, 0.35, Qt::DashLine);
  c.Line(lx, 10, lx + 6, 10);
  c.Pen(kYellow, 0.35, Qt::DashLine);
  c.Line(lx, 17, lx + 6, 17);
  c.Pen(kRed, 0.3, Qt::DotLine);
  c.Line(lx, 24, lx + 6, 24);
  c.Pen(kInk, 0.2);
  c.Text(lx + 8, 11.2, QString(en ? "R₆ = %1 m: distance of the 6th tree" : "R₆ = %1 m: Abstand des 6. Baums")
                           .arg(r6, 0, 'f', 2),
         6.3);
  c.Text(lx + 8, 18.2, QString(en ? "R₇ = %1 m: the 7th tree" : "R₇ = %1 m: der 7. Baum").arg(r7, 0, 'f', 2), 6.3);
  c.Text(lx + 8, 25.2, QString(en ? "√((R₆² + R₇²)/2) = %1 m (variant 5)" : "√((R₆² + R₇²)/2) = %1 m (Variante 5)")
                           .arg(kleinn, 0, 'f', 2),
         6.3);
}

// Three spatial patterns as the stand generator makes them.
void Patterns(Canvas& c, bool en) {
  const double size = 40, gap = 12, side = 60, m = size / side;
  const QStringList titles = en ? QStringList{"regular (lattice, jitter 0.3)", "random", "clustered (2 groups)"}
                                : QStringList{"regelmäßig (Gitter, Streuung 0,3)", "zufällig", "geklumpt (2 Gruppen)"};
  for (int panel = 0; panel < 3; ++panel) {
    const double x0 = 4 + panel * (size + gap), y0 = 1;
    Panel(c, x0, y0, size, titles[panel]);
    Lcg g(77u + panel);
    std::vector<QPointF> pts;
    const double areaPerTree = 18.0, b = std::sqrt(areaPerTree / 3.46), d = b * 1.732;
    if (panel == 0) {
      int column = 1;
      double x = b / 2, y = 3 - 2 * d;
      const int count = static_cast<int>(side * side / areaPerTree);
      for (int i = 0; i < count; ++i) {
        if (2 * d + y >= side) {
          y = (column % 2) ? d + 3 : 3;
          ++column;
          x += b;
        } else {
          y += 2 * d;
        }
        const double jx = x + b * (2 * g.Next() - 1) * 0.3, jy = y + 0.3 * b * (2 * g.Next() - 1);
        if (jx > 0 && jx < side && jy > 0 && jy < side) pts.push_back({jx, jy});
      }
    } else if (panel == 1) {
      for (int i = 0; i < 200; ++i) pts.push_back({g.Next() * side, g.Next() * side});
    } else {
      const QPointF centres[2] = {{18, 40}, {42, 20}};
      for (int i = 0; i < 200; ++i) {
        const QPointF q(g.Next() * side, g.Next() * side);
        bool keep = g.Next() < 0.35;
        for (const QPointF& ctr : centres)
          if (std::hypot(q.x() - ctr.x(), q.y() - ctr.y()) < 11) keep = g.Next() < 0.95;
        if (keep) pts.push_back(q);
      }
      c.Pen(kGrey, 0.2, Qt::DashLine);
      c.NoBrush();
      for (const QPointF& ctr : centres) c.Circle(x0 + ctr.x() * m, y0 + size - ctr.y() * m, 11 * m);
    }
    c.Pen(Qt::transparent, 0);
    c.Brush(kGreen);
    for (const QPointF& q : pts) c.Circle(x0 + q.x() * m, y0 + size - q.y() * m, 0.45);
    c.NoBrush();
  }
}

// Plots as points (N per ha, G per ha) and the ratio line through the origin.
void Ratio(Canvas& c, bool en) {
  Lcg g(5);
  const double x0 = 14, y0 = 46, w = 90, h = 40;
  std::vector<QPointF> plots;
  double sumN = 0, sumG = 0;
  for (int i = 0; i < 30; ++i) {
    const double n = 150 + 650 * g.Next();
    const double gha = n * (0.055 + 0.02 * g.Normal() * 0.5) + 4 * g.Normal();
    plots.push_back({n, std::max(2.0, gha)});
    sumN += n;
    sumG += plots.back().y();
  }
  auto X = [&](double n) { return x0 + n / 900 * w; };
  auto Y = [&](double gha) { return y0 - gha / 60 * h; };
  c.Pen(kInk, 0.3);
  c.Line(x0, y0, x0 + w, y0);
  c.Line(x0, y0, x0, y0 - h - 1);
  for (int n = 0; n <= 900; n += 300) {
    c.Line(X(n), y0, X(n), y0 + 1.2);
    c.Text(X(n), y0 + 4.2, QString::number(n), 6, 0);
  }
  for (int gha = 0; gha <= 60; gha += 20) {
    c.Line(x0 - 1.2, Y(gha), x0, Y(gha));
    c.Text(x0 - 2, Y(gha) + 1, QString::number(gha), 6, 1);
  }
  c.Pen(kRed, 0.4);
  c.Line(X(0), Y(0), X(900), Y(900 * sumG / sumN));
  c.Pen(kInk, 0.15);
  c.Brush(kGreen);
  for (const QPointF& p : plots) c.Circle(X(p.x()), Y(p.y()), 0.8);
  c.NoBrush();
  c.Text(x0 + w, y0 + 8.5, en ? "N per ha of the plot" : "N/ha der Probefläche", 6.5, 1);
  c.Text(x0 - 12, y0 - h - 3, en ? "G m²/ha" : "G m²/ha", 6.5);
  c.Text(X(900) - 2, Y(900 * sumG / sumN) + 5, en ? "slope Ĝ / N̂" : "Steigung Ĝ / N̂", 6.5, 1);
}

struct FigureDef {
  const char* name;
  double w, h;
  std::function<void(Canvas&, bool)> draw;
};

const std::vector<FigureDef>& Figures() {
  static const std::vector<FigureDef> f = {
      {"methods", 162, 44, Methods},     {"edge", 140, 48, Edge},          {"histogram", 130, 52, Histogram},
      {"selection", 130, 50, Selection}, {"optimum", 120, 62, Optimum},    {"strata", 150, 50, Strata},
      {"ntree", 140, 52, NTree},         {"patterns", 148, 47, Patterns}, {"ratio", 110, 58, Ratio},
  };
  return f;
}

}  // namespace

QSizeF FigureSizeMm(const QString& name) {
  for (const FigureDef& f : Figures())
    if (name == f.name) return {f.w, f.h};
  return {};
}

void DrawFigure(QPainter* p, const QString& name, const QRectF& rect, qreal dotsPerMm, bool english) {
  for (const FigureDef& f : Figures())
    if (name == f.name) {
      p->save();
      p->setRenderHint(QPainter::Antialiasing);
      Canvas c(p, rect, dotsPerMm);
      f.draw(c, english);
      p->restore();
      return;
    }
}

}  // namespace docs
