// The main window's grid and inventory pass: "Gitter", the grid group (spacing, shift, rotation,
// blinking, saving and reading), plots dragged on the stand map with the digitised boundary, and
// "weiter", whose pass marks the sample trees on the map as it goes.
// The geometry of the core names a member "slots": Qt's keyword macros stay off in this file.
#define QT_NO_KEYWORDS
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/format.h"
#include "common/paths.h"
#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "common/qt/vector_state.h"
#include "common/rounding.h"
#include "common/wait.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form15.h"
#include "simulator/forms/method_dialogs.h"
#include "simulator/forms/paced_picture.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/grid.h"
#include "simulator/sampling/pass.h"
#include "simulator/translate.h"
#include "simulator/views/stand_map.h"

namespace tolvek {

namespace {

// The circle drawn around a picked or dragged plot: 500 m².
constexpr double kDragCircleRadius = 12.62;
constexpr Colour kPickedGrey = 8421504;
constexpr Colour kRubberBand = 16776960;

EllipseBox WorldCircleBox(const StandMapTransform& t, double cx, double cy, double r) {
  return {t.StandMapX(cx - r), t.StandMapY(cy + r), t.StandMapX(cx + r), t.StandMapY(cy - r)};
}

void WorldCircle(Canvas& canvas, const StandMapTransform& t, double cx, double cy, double r) {
  const EllipseBox b = WorldCircleBox(t, cx, cy, r);
  canvas.Ellipse(b.x1, b.y1, b.x2, b.y2);
}

// The pixels of the map while a painter draws on it, for setting rings and crosses straight into them.
struct MapPixels {
  uchar* bits = nullptr;
  qsizetype bytesPerLine = 0;
  int width = 0, height = 0;
};

// The map's pixels while painter draws on it, where the painter would set exactly the pen's colour;
// nothing where it would not. The painter has the image to itself once it began: its pixels are where
// the painter draws, also after the picture is shown.
std::optional<MapPixels> PixelsUnder(QPainter& painter, QImage& image) {
  const QImage::Format format = image.format();
  if (!painter.isActive() || painter.paintEngine()->type() != QPaintEngine::Raster ||
      (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
       format != QImage::Format_ARGB32_Premultiplied))
    return std::nullopt;
  return MapPixels{image.bits(), image.bytesPerLine(), image.width(), image.height()};
}

// The pixels stamps set on one picture since it was last put back to a clean state: a run draws its
// grid and plots over a kept picture of the stand at every repetition, and puts back only these
// pixels instead of copying the whole picture. Drawing of any other kind, or a change to the picture
// between the drawings logged (a redraw by a handler while events are pumped, another image), leaves
// the log incomplete, and the whole picture is copied. A drawing is logged between Begin and End,
// which the picture's cache key ties together: it changes whenever anybody may have written into the
// picture through it. Stamps write through a pointer taken once the drawing has Started, which leaves
// the key alone, so a change of the key before End means somebody else wrote (a handler, while the
// drawing pumps events). (A painter that begins may move the pixels to a copy of their own: the same
// pixels, so the log holds for the copy.)
struct StampLog {
  struct Entry {
    const std::vector<qsizetype>* offsets;  // of a stamp, which lives as long as its table
    qsizetype corner;                       // the stamp's corner in pixels from the picture's first
  };
  struct Box {
    qsizetype corner;  // in pixels from the picture's first
    int width, height;
  };
  std::vector<Entry> entries;
  std::vector<Box> boxes;
  bool complete = false;
  qsizetype stride = 0;  // of the picture, in pixels, its size and its cache key after the last drawing
  int width = 0, height = 0;
  qint64 key = 0;
  qint64 startedKey = 0;  // the key as the drawing under way started
  // Above this many stamps a copy of the whole picture costs less.
  static constexpr std::size_t kMostEntries = std::size_t{1} << 20;

  void Invalidate() {
    complete = false;
    entries.clear();
    boxes.clear();
  }
  // A clean picture (just drawn, or put back whole) from which logging starts afresh.
  void Restart(const QImage& image) {
    entries.clear();
    boxes.clear();
    complete = true;
    Clean(image);
  }
  void Begin(const QImage& image) {
    if (image.cacheKey() != key) Invalidate();
  }
  void Started(const QImage& image) { startedKey = image.cacheKey(); }
  void End(const QImage& image) {
    if (image.cacheKey() != startedKey) Invalidate();
    Clean(image);
  }
  // The picture as it is now is what the log describes.
  void Clean(const QImage& image) {
    stride = image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    width = image.width();
    height = image.height();
    key = image.cacheKey();
  }
  void Add(qsizetype pictureStride, const std::vector<qsizetype>* offsets, qsizetype corner) {
    if (!complete) return;
    if (pictureStride != stride || entries.size() >= kMostEntries) {
      Invalidate();
      return;
    }
    entries.push_back({offsets, corner});
  }
  // Something drawn another way within the box (corners included), which is widened by two pixels
  // all round for the pen.
  void AddBox(int x1, int y1, int x2, int y2) {
    if (!complete) return;
    if (boxes.size() >= kMostEntries) {
      Invalidate();
      return;
    }
    const int left = std::max(std::min(x1, x2) - 2, 0), right = std::min(std::max(x1, x2) + 2, width - 1);
    const int top = std::max(std::min(y1, y2) - 2, 0), bottom = std::min(std::max(y1, y2) + 2, height - 1);
    if (left > right || top > bottom) return;
    boxes.push_back({top * stride + left, right - left + 1, bottom - top + 1});
  }
};

// A ring, or a cross, of given corners and pen style covers the same pixels wherever it stands (the
// map is drawn without antialiasing), so its pixels are found once by drawing it into a picture of its
// own, and every one of that shape afterwards sets them in the pen's colour: a run draws thousands of
// them, and a dotted plot circle costs many times the pixels it sets. Shapes that reach within two
// pixels of the map's edge, and any that would not come out as whole pixels, are drawn as before.
class Stamps {
 public:
  static constexpr int kMargin = 2, kLargest = 400;

  // Sets the pixels of the shape of key in colour, its corner at (left, top) and w × h in size; draw
  // puts the shape on a canvas (a QtCanvas&) with its corner at (kMargin, kMargin). False where it
  // cannot be done.
  template <typename Draw>
  bool Set(const MapPixels* map, std::uint64_t key, int left, int top, int w, int h, Colour colour, const Draw& draw) {
    if (!map || w < 0 || h < 0) return false;
    // A shape whose picture lies wholly beside the map sets none of its pixels: the grid reaches beyond
    // the map, and a dense grid has dozens of crosses there.
    if (left - kMargin >= map->width || top - kMargin >= map->height || left - kMargin + StampSize(w) <= 0 ||
        top - kMargin + StampSize(h) <= 0)
      return true;
    // Else the whole picture of the shape, margins and all, must lie on the map.
    if (w > kLargest || h > kLargest || left < kMargin || top < kMargin ||
        left - kMargin + StampSize(w) > map->width || top - kMargin + StampSize(h) > map->height)
      return false;
    Stamp* const stamp = Find(key, w, h, draw);
    if (!stamp->whole) return false;
    const qsizetype stride = map->bytesPerLine / static_cast<qsizetype>(sizeof(QRgb));
    const std::vector<qsizetype>& offsets = stamp->OffsetsFor(stride);
    const QRgb rgb = qRgb(ColourRed(colour), ColourGreen(colour), ColourBlue(colour));
    const qsizetype cornerIndex = (top - kMargin) * stride + (left - kMargin);
    QRgb* const corner = reinterpret_cast<QRgb*>(map->bits) + cornerIndex;
    for (const qsizetype offset : offsets) corner[offset] = rgb;
    if (log_) log_->Add(stride, &offsets, cornerIndex);
    return true;
  }
  // What is set from now on goes into log (null: nowhere).
  void LogTo(StampLog* log) { log_ = log; }
  StampLog* Log() const { return log_; }
  // A shape was drawn on the picture another way, within this box.
  void DrawnWithin(int x1, int y1, int x2, int y2) {
    if (log_) log_->AddBox(x1, y1, x2, y2);
  }
  // Around every drawing on the picture (before its painter begins, after it has ended).
  void BeginDrawing(const QImage& image) {
    if (log_) log_->Begin(image);
  }
  // The painter has begun and the pixels are taken.
  void DrawingStarted(const QImage& image) {
    if (log_) log_->Started(image);
  }
  void EndDrawing(const QImage& image) {
    if (log_) log_->End(image);
  }

 private:
  static constexpr std::size_t kMostStamps = 512;

  static int StampSize(int extent) { return extent + 1 + 2 * kMargin; }

  struct Stamp {
    bool whole = true;                  // false: the shape does not come out as whole pixels
    std::vector<std::uint32_t> pixels;  // row << 16 | column, from the corner less the margin
    // The same as steps from that corner in a picture of the stride they were made for, taken anew
    // for a picture of another.
    qsizetype stride = 0;
    std::vector<qsizetype> offsets;

    const std::vector<qsizetype>& OffsetsFor(qsizetype pictureStride) {
      if (stride != pictureStride) {
        stride = pictureStride;
        offsets.clear();
        offsets.reserve(pixels.size());
        for (const std::uint32_t p : pixels)
          offsets.push_back(static_cast<qsizetype>(p >> 16) * stride + static_cast<qsizetype>(p & 0xFFFF));
      }
      return offsets;
    }
  };

  // The stamp of key, drawn when it is first asked for. Rings of one size come in runs, so the last
  // stamp is tried first.
  template <typename Draw>
  Stamp* Find(std::uint64_t key, int w, int h, const Draw& draw) {
    if (last_ && lastKey_ == key) return last_;
    // The sample trees' discs come in a dozen sizes, one after another in no order: a few recent
    // stamps are kept by a hash of their key, so most shapes skip the table's look-up.
    Recent& recent = recent_[(key * 0x9E3779B97F4A7C15ull) >> (64 - kRecentBits)];
    if (recent.stamp && recent.key == key) {
      lastKey_ = key;
      last_ = recent.stamp;
      return last_;
    }
    auto it = stamps_.find(key);
    if (it == stamps_.end()) {
      if (stamps_.size() >= kMostStamps) {
        // The log and the recent stamps point into the stamps.
        if (log_) log_->Invalidate();
        recent_.fill(Recent{});
        stamps_.clear();
      }
      QImage picture(StampSize(w), StampSize(h), QImage::Format_ARGB32_Premultiplied);
      picture.fill(Qt::transparent);
      {
        QtCanvas c(picture);
        draw(c);
      }
      Stamp stamp;
      for (int y = 0; y < picture.height() && stamp.whole; ++y)
        for (int x = 0; x < picture.width(); ++x) {
          const int alpha = qAlpha(picture.pixel(x, y));
          if (alpha == 255) {
            stamp.pixels.push_back(static_cast<std::uint32_t>(y) << 16 | static_cast<std::uint32_t>(x));
          } else if (alpha != 0) {
            stamp.whole = false;
            stamp.pixels.clear();
            break;
          }
        }
      it = stamps_.emplace(key, std::move(stamp)).first;
    }
    lastKey_ = key;
    last_ = &it->second;
    recent = Recent{key, last_};
    return last_;
  }

  // Stamps keep their place in the table as others come, so last_ holds until the table is cleared,
  // and the stamp made after a clear becomes the last one.
  std::unordered_map<std::uint64_t, Stamp> stamps_;
  std::uint64_t lastKey_ = 0;
  Stamp* last_ = nullptr;
  static constexpr int kRecentBits = 8;
  struct Recent {
    std::uint64_t key = 0;
    Stamp* stamp = nullptr;
  };
  std::array<Recent, std::size_t{1} << kRecentBits> recent_{};
  StampLog* log_ = nullptr;
};

// One drawing on the map: a painter over it, its pixels taken for the stamps, between the log's Begin
// and End (log null: none). draw gets the canvas and the pixels (null where they cannot be had).
template <typename Draw>
void DrawOnMap(QImage& map, StampLog* log, const Draw& draw) {
  if (log) log->Begin(map);
  {
    QPainter painter(&map);
    QtCanvas canvas(painter);
    const std::optional<MapPixels> pixels = PixelsUnder(painter, map);
    if (log) log->Started(map);
    draw(canvas, pixels ? &*pixels : nullptr);
  }
  if (log) log->End(map);
}

// A ring in the pen's colour, dotted or solid, with a clear brush.
void DrawRing(Stamps& stamps, QtCanvas& canvas, const MapPixels* map, EllipseBox b, Colour colour, bool dotted) {
  if (b.x2 < b.x1) std::swap(b.x1, b.x2);
  if (b.y2 < b.y1) std::swap(b.y1, b.y2);
  const int w = b.x2 - b.x1, h = b.y2 - b.y1;
  const PenStyle style = dotted ? PenStyle::Dot : PenStyle::Solid;
  const std::uint64_t key = (static_cast<std::uint64_t>(w) << 33) | (static_cast<std::uint64_t>(h) << 1) |
                            (dotted ? 1u : 0u);
  const bool set = stamps.Set(map, key, b.x1, b.y1, w, h, colour, [&](QtCanvas& c) {
    c.SetPen(kWhite, 1, style);
    c.SetBrush(kBlack, BrushStyle::Clear);
    c.Ellipse(Stamps::kMargin, Stamps::kMargin, Stamps::kMargin + w, Stamps::kMargin + h);
  });
  if (set) return;
  stamps.DrawnWithin(b.x1, b.y1, b.x2, b.y2);
  canvas.SetPen(colour, 1, style);
  canvas.SetBrush(kBlack, BrushStyle::Clear);
  canvas.Ellipse(b.x1, b.y1, b.x2, b.y2);
}

// A grid point's cross in the pen's colour.
void DrawCross(Stamps& stamps, QtCanvas& canvas, const MapPixels* map, const StandMapTransform& t, double x, double y,
               Colour colour) {
  const std::array<EllipseBox, 2> lines = CrossMarkLines(t, x, y);
  int left = lines[0].x1, top = lines[0].y1, right = left, bottom = top;
  for (const EllipseBox& l : lines) {
    left = std::min({left, l.x1, l.x2});
    right = std::max({right, l.x1, l.x2});
    top = std::min({top, l.y1, l.y2});
    bottom = std::max({bottom, l.y1, l.y2});
  }
  bool set = false;
  if (right - left < 256 && bottom - top < 256) {
    // The eight ends, relative to the corner, a byte each.
    std::uint64_t key = 0;
    for (const EllipseBox& l : lines)
      for (int v : {l.x1 - left, l.y1 - top, l.x2 - left, l.y2 - top}) key = key << 8 | static_cast<std::uint64_t>(v);
    set = stamps.Set(map, key, left, top, right - left, bottom - top, colour, [&](QtCanvas& c) {
      c.SetPen(kWhite);
      const int dx = Stamps::kMargin - left, dy = Stamps::kMargin - top;
      for (const EllipseBox& l : lines) c.Line(l.x1 + dx, l.y1 + dy, l.x2 + dx, l.y2 + dy);
    });
  }
  if (set) return;
  stamps.DrawnWithin(left, top, right, bottom);
  canvas.SetPen(colour);
  DrawCrossMark(canvas, t, x, y);
}

// A run's repetitions are drawn many hundred times a second and nearly all of them are drawn over by
// the next before anybody looks. While a run draws, the stand's picture is not put back under a
// repetition and its shapes are not drawn: the put-back and the shapes (with what they are drawn
// from) are noted, in order, and drawn only when the map is about to be looked at (painted, handed to
// a label, read by a handler while events are pumped) and at the run's end. A repetition then costs
// no painter and no pixel of the map; at each of those moments the map is exactly as drawing straight
// away would have left it, since the same drawing is done in the same order on the same picture.
struct DeferredDrawing {
  struct Shape {
    enum class Kind : std::uint8_t { Circle, Disc, Cross };
    Kind kind;
    bool dotted;
    Colour colour;
    Stamps* stamps;
    double a, b, c;  // circle: centre x, y and radius; disc: dbh, x, y; cross: x, y
  };
  bool putBackDue = false;  // the stand's picture comes back before the shapes
  std::vector<Shape> shapes;
  StandMapTransform transform;  // of the shapes noted
  // Does what was noted (the owner of the map knows how).
  std::function<void()> settle;
  bool settling = false;

  void Note(const StandMapTransform& t, const Shape& shape) {
    if (!shapes.empty() && !(t == transform)) Settle();
    if (shapes.empty()) transform = t;
    shapes.push_back(shape);
  }
  void Settle() {
    if ((putBackDue || !shapes.empty()) && settle && !settling) settle();
  }
  // Draws one noted shape with the map's painter and pixels.
  void Draw(const Shape& s, QtCanvas& canvas, const MapPixels* pixels) const {
    switch (s.kind) {
      case Shape::Kind::Circle:
        DrawRing(*s.stamps, canvas, pixels, WorldCircleBox(transform, s.a, s.b, s.c), s.colour, s.dotted);
        break;
      case Shape::Kind::Disc:
        DrawRing(*s.stamps, canvas, pixels, TreeDiscBox(transform, s.a, s.c, s.b), s.colour, false);
        break;
      case Shape::Kind::Cross: DrawCross(*s.stamps, canvas, pixels, transform, s.a, s.b, s.colour); break;
    }
  }
};

// Hands the mouse on the stand image to the main window's handlers. The image is known from the start:
// while the window is taken down its children still get events, and the window is no longer there to
// ask.
class StandMapMouse : public QObject {
 public:
  explicit StandMapMouse(TForm1& form) : QObject(&form), f_(form), image_(form.ImgBest) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched != image_) return false;
    switch (e->type()) {
      case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(e);
        const QPoint p = m->position().toPoint();
        f_.ImgBestMouseDown(p.x(), p.y(), m->button() == Qt::RightButton);
        return false;
      }
      case QEvent::MouseMove: {
        const QPoint p = static_cast<QMouseEvent*>(e)->position().toPoint();
        f_.ImgBestMouseMove(p.x(), p.y());
        return false;
      }
      case QEvent::MouseButtonRelease: {
        const QPoint p = static_cast<QMouseEvent*>(e)->position().toPoint();
        f_.ImgBestMouseUp(p.x(), p.y());
        return false;
      }
      default: return false;
    }
  }

 private:
  TForm1& f_;
  const QObject* image_;
};

// Draws the pass on the stand map while it runs: plot circles and the sample trees in the pen the
// pass gives; the picture reaches the screen about every 100 ms and at the end. It is put on the
// screen only when something was drawn since it was last shown: a copy of the whole map each time
// cost a run more than its passes. The painter opens at the first drawing, so a pass without the
// graphics leaves the picture untouched.
class MapPassObserver : public PassObserver {
 public:
  // The map is on the screen as the pass begins (the grid's crosses, or a repetition's, shown with the
  // rings at the end): the first 100 ms are counted from here.
  // notes: where the shapes are noted instead of drawn (null: drawn at once).
  MapPassObserver(TForm1& form, Stamps& stamps, DeferredDrawing* notes)
      : f_(form), stamps_(stamps), notes_(notes), t_(form.MapTransform()), shown_(form.state.services.clock->TickMs()) {}

  void PassStarted() override {
    f_.LblBaumZahl->show();
    RaiseWhereCovered(f_.LblBaumZahl);
  }
  void PointStarted(int) override {
    const std::uint64_t now = f_.state.services.clock->TickMs();
    if (now - shown_ < 100) return;
    shown_ = now;
    Show();
  }
  void PlotCircle(double cx, double cy, double radius, Colour colour, bool dotted) override {
    if (notes_) {
      onScreen_ = false;
      notes_->Note(t_, {DeferredDrawing::Shape::Kind::Circle, dotted, colour, &stamps_, cx, cy, radius});
      return;
    }
    Paper();
    DrawRing(stamps_, *canvas_, Pixels(), WorldCircleBox(t_, cx, cy, radius), colour, dotted);
  }
  void SampledTree(std::uint8_t, double dbh, double x, double y, Colour pen) override {
    if (notes_) {
      onScreen_ = false;
      notes_->Note(t_, {DeferredDrawing::Shape::Kind::Disc, false, pen, &stamps_, dbh, x, y});
      return;
    }
    Paper();
    DrawRing(stamps_, *canvas_, Pixels(), TreeDiscBox(t_, dbh, y, x), pen, false);
  }
  void PlotRecorded(int gridIndex, const PlotRecord& plot) override {
    if (f_.state.run.enterpriseMode) f_.ShowPlotPlan(gridIndex, plot);
  }
  void PassFinished(const std::string& label) override {
    f_.LblBaumZahl->setText(Q(label));
    Finish();
  }
  // The painter closed and the picture on the screen.
  void Finish() {
    canvas_.reset();
    const bool drew = painter_.has_value();
    painter_.reset();
    pixels_.reset();
    if (drew) stamps_.EndDrawing(*f_.mapImage);
    Show();
  }

 private:
  void Paper() {
    if (!painter_) {
      stamps_.BeginDrawing(*f_.mapImage);
      painter_.emplace(f_.mapImage);
      canvas_ = std::make_unique<QtCanvas>(*painter_);
      pixels_ = PixelsUnder(*painter_, *f_.mapImage);
      stamps_.DrawingStarted(*f_.mapImage);
      ClearUpperVectorState();  // the pass goes on after the painter began
    }
    onScreen_ = false;
  }
  const MapPixels* Pixels() const { return pixels_ ? &*pixels_ : nullptr; }
  void Show() {
    if (onScreen_) return;
    f_.ShowMap();
    onScreen_ = true;
  }

  TForm1& f_;
  Stamps& stamps_;
  DeferredDrawing* notes_;
  std::optional<QPainter> painter_;
  std::unique_ptr<QtCanvas> canvas_;
  std::optional<MapPixels> pixels_;
  StandMapTransform t_;
  bool onScreen_ = false;
  std::uint64_t shown_;
};

// The stand's description window stays open beside the map; where it would cover the grid group it
// moves beside the main window, or, without room on the screen there, closes as by "weiter" (the map
// and the tool bar leave no other place).
void KeepGridGroupClear(TForm1& f) {
  QWidget* description = f.forms.form15;
  if (!description || !description->isVisible() || description->isModal()) return;
  const QRect group(f.GroupBox1->mapToGlobal(QPoint(0, 0)), f.GroupBox1->size());
  if (!description->frameGeometry().intersects(group)) return;
  const QRect frame = f.frameGeometry();
  QScreen* screen = f.screen();
  if (screen && frame.right() + 1 + description->frameGeometry().width() <= screen->availableGeometry().right() + 1)
    description->move(frame.right() + 1, frame.top());
  else
    description->hide();
}

// Enables the buttons at once, or, while a run keeps the program busy, as soon as it has ended. Every
// repetition asks again; one waiting check serves them all (pending), else a long run would leave
// thousands of timers firing.
void EnableWhenIdle(TForm1& f, std::vector<QPushButton*> buttons, std::shared_ptr<bool> pending) {
  if (!f.state.run.busy) {
    *pending = false;
    for (QPushButton* b : buttons) b->setEnabled(true);
    return;
  }
  if (*pending) return;
  *pending = true;
  QTimer::singleShot(50, &f, [&f, buttons, pending] {
    *pending = false;
    EnableWhenIdle(f, buttons, pending);
  });
}

// A run redraws the stand under every pass, and the stand does not change while it runs: the picture
// of its trees is kept and put back as long as everything it was drawn from is the same.
struct RunPictures {
  RunPictures() {
    rings.LogTo(&log);
    crosses.LogTo(&log);
  }
  RunPictures(const RunPictures&) = delete;
  RunPictures& operator=(const RunPictures&) = delete;

  TreePictureKey key;
  QImage picture;
  QImage spare;  // the buffer the map had before the last repetition; the screen may still show it
  Stamps rings, crosses;
  StampLog log;  // what rings and crosses set on the map since the picture was put back
  DeferredDrawing deferred;  // what a run still has to draw
};

// Puts back the kept picture's pixels where the log says stamps set others since it was last put
// back; false, touching nothing, where the log does not hold every change.
bool PutBackStamped(RunPictures& kept, QImage& map) {
  StampLog& log = kept.log;
  log.Begin(map);
  if (!log.complete || kept.picture.bytesPerLine() != map.bytesPerLine()) return false;
  // The map is the only holder of its pixels here (else this copies them first, as any drawing would).
  QRgb* const to = reinterpret_cast<QRgb*>(map.bits());
  const QRgb* const from = reinterpret_cast<const QRgb*>(kept.picture.constBits());
  for (const StampLog::Entry& e : log.entries) {
    QRgb* const t = to + e.corner;
    const QRgb* const f = from + e.corner;
    for (const qsizetype offset : *e.offsets) t[offset] = f[offset];
  }
  for (const StampLog::Box& b : log.boxes)
    for (int row = 0; row < b.height; ++row)
      std::memcpy(to + b.corner + row * log.stride, from + b.corner + row * log.stride,
                  static_cast<std::size_t>(b.width) * sizeof(QRgb));
  return true;
}

// The kept picture goes into the spare buffer, which then becomes the map: the screen holds on to the
// buffer it was last given until the next picture is shown, so the one before is free again by now.
// Sharing the kept picture instead would copy it anyway at the first cross, and into memory taken
// afresh every repetition.
void PutBack(RunPictures& kept, QImage& map) {
  QImage& spare = kept.spare;
  if (spare.size() != map.size() || spare.format() != map.format() || !spare.isDetached())
    spare = QImage(map.size(), map.format());
  if (spare.sizeInBytes() != kept.picture.sizeInBytes() || spare.bytesPerLine() != kept.picture.bytesPerLine()) {
    map = kept.picture;
    return;
  }
  std::memcpy(spare.bits(), kept.picture.constBits(), static_cast<std::size_t>(spare.sizeInBytes()));
  map.swap(spare);
}

// The stand's picture as it is now, from the kept one where it still describes the stand.
void PutBackStand(TForm1& f, RunPictures& kept) {
  const CurrentStand& cs = f.state.currentStand;
  const StandMapTransform t = f.MapTransform();
  QImage& map = *f.mapImage;
  if (!kept.key.Describes(t, cs.trees, cs.speciesList, cs.boundary, f.state.screenScale) ||
      kept.picture.size() != map.size() || kept.picture.format() != map.format()) {
    f.DrawTrees();
    kept.key = TreePictureKey(t, cs.trees, cs.speciesList, cs.boundary, f.state.screenScale);
    kept.picture = map;  // shared until the map is drawn on
    kept.log.Restart(map);
    return;
  }
  if (!PutBackStamped(kept, map)) PutBack(kept, map);
  kept.log.Restart(map);
}

// Does what was noted: the stand's picture put back, then the shapes in their order.
void SettleDeferred(TForm1& f, RunPictures& kept) {
  DeferredDrawing& d = kept.deferred;
  d.settling = true;
  if (d.putBackDue) {
    d.putBackDue = false;
    PutBackStand(f, kept);
  }
  // As a repetition draws them: one painter over the map, its pixels taken for the stamps.
  if (!d.shapes.empty())
    DrawOnMap(*f.mapImage, &kept.log, [&d](QtCanvas& canvas, const MapPixels* pixels) {
      for (const DeferredDrawing::Shape& shape : d.shapes) d.Draw(shape, canvas, pixels);
    });
  d.shapes.clear();
  d.settling = false;
}

void RedrawStandFrom(TForm1& f, RunPictures& kept) {
  // What is still noted would be drawn over now: only the put-back is left to do.
  kept.deferred.shapes.clear();
  kept.deferred.putBackDue = true;
  // The rest of what DrawTrees leaves; the map reaches the screen with the grid drawn over it.
  const CurrentStand& cs = f.state.currentStand;
  f.LblFlaeche->setText(Q(StandAreaLabel(Translate(f.state.language, "Fläche"), cs.areaHa)));
  f.LblFlaeche->show();
  f.ImgBest->setToolTip(Q(Translate(f.state.language,
                                    "Linke Maustaste: Probefläche verschieben # Rechte Maustaste: Koordinaten anzeigen")));
  f.sBtDrehen->show();
}

// The crosses of the grid (blinking five times); marks inside points first. After a pass the stand is
// redrawn first, by redrawStand. show: the crosses reach the screen here; a repetition leaves that to its
// pass, which shows them with its rings (showing them first would make the pass's rings copy the map).
// notes: where the crosses are noted instead of drawn (null: drawn at once).
void DrawGridOver(TForm1& f, bool blink, bool show, const std::function<void()>& redrawStand, Stamps& stamps,
                  DeferredDrawing* notes = nullptr) {
  SimulatorState& state = f.state;
  SampleGrid& g = state.sampling.grid;
  RunControl& run = state.run;
  if (!run.enterpriseMode && g.lastPassPlotCount > 0) {
    if (run.graphics && state.currentStand.loaded) redrawStand();
    g.insideCount = 0;
    g.lastPassPlotCount = 0;
  }
  // The enterprise map too loses the last pass's crosses: over a run they would cover it.
  if (run.enterpriseMode && run.graphics && g.lastPassPlotCount > 0) f.DrawEnterpriseMap();
  if (g.points.empty()) return;
  MarkInsidePoints(g, &state.currentStand.boundary, f.enterpriseGridAreas, run.enterpriseMode, g.assign);
  if (!run.graphics) return;
  auto crosses = [&](bool highlight) {
    const StandMapTransform t = f.MapTransform();
    // Every cross the drawing takes: its centre and colour.
    const auto each = [&](const auto& cross) {
      for (int i = 1; i <= g.pointCount; ++i) {
        const GridPoint& p = g.Point(i);
        if (highlight && p.inside == 0) continue;
        cross(double(p.x + g.originX), double(p.y + g.originY), highlight ? kRed : (p.inside ? kWhite : kBlack));
      }
    };
    if (notes) {
      each([&](double x, double y, Colour colour) {
        notes->Note(t, {DeferredDrawing::Shape::Kind::Cross, false, colour, &stamps, x, y, 0.0});
      });
    } else {
      DrawOnMap(*f.mapImage, stamps.Log(), [&](QtCanvas& c, const MapPixels* pixels) {
        each([&](double x, double y, Colour colour) { DrawCross(stamps, c, pixels, t, x, y, colour); });
      });
    }
    if (show) f.ShowMap();
  };
  const bool wasBusy = run.busy;
  if (blink) run.busy = true;  // only the run controls act while the points blink
  for (int k = 0; k < (blink ? 5 : 1); ++k) {
    // The highlight is seen only where it is shown or blinks: a repetition's crosses, shown with its
    // pass, would only be drawn over at once with the same pixels.
    if (blink || show) crosses(true);
    if (blink) WaitMs(200, run, state.services);
    crosses(false);
    if (blink) WaitMs(200, run, state.services);
    if (run.endRequested) break;
  }
  run.busy = wasBusy;
}

// The pass itself (see RunPass); notes: where its shapes are noted instead of drawn (null: drawn at once).
PassOutcome RunPassOver(TForm1& f, bool wait100, bool repetition, Stamps& stamps, DeferredDrawing* notes = nullptr);

}  // namespace

void TForm1::BuildGridArea() {
  GroupBox1->setTitle("  Gitter bearbeiten ");
  // In the data column below the counters: the tool bar's run buttons, the stand's name and area and
  // the map stay in view.
  GroupBox1->setGeometry(PnDaten->x(), kDataSlotTop, PnDaten->width(), 256);
  auto button = [this](const char* name, const char* caption, QRect r) {
    auto* b = new QPushButton(QString::fromUtf8(caption), GroupBox1);
    b->setObjectName(name);
    b->setGeometry(r);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
  };
  auto label = [this](QWidget* parent, const char* name, const char* text, QRect r) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(name);
    l->setGeometry(r);
    l->setTextFormat(Qt::PlainText);
    return l;
  };
  LbAbstand = label(GroupBox1, "LbAbstand", "Abstand", QRect(8, 22, 236, 18));
  struct Spec {
    int index;
    const char* caption;
    QRect r;
  };
  const Spec specs[] = {
      {11, "−5", QRect(8, 42, 56, 28)},    {12, "−1", QRect(68, 42, 56, 28)},
      {10, "+1", QRect(128, 42, 56, 28)},  {9, "+5", QRect(188, 42, 56, 28)},
      {3, "← 5", QRect(8, 100, 56, 28)},   {4, "← 1", QRect(68, 100, 56, 28)},
      {2, "1 →", QRect(128, 100, 56, 28)}, {1, "5 →", QRect(188, 100, 56, 28)},
      {7, "↓ 5", QRect(8, 132, 56, 28)},   {8, "↓ 1", QRect(68, 132, 56, 28)},
      {6, "1 ↑", QRect(128, 132, 56, 28)}, {5, "5 ↑", QRect(188, 132, 56, 28)},
  };
  for (const Spec& s : specs) {
    const std::string name = "BitBtn" + std::to_string(s.index);
    GridButton[s.index] = button(name.c_str(), s.caption, s.r);
  }
  const char* const hints[13] = {"",
                                 "Gitter 5 m nach rechts",
                                 "Gitter 1 m nach rechts",
                                 "Gitter 5 m nach links",
                                 "Gitter 1 m nach links",
                                 "Gitter 5 m nach oben",
                                 "Gitter 1 m nach oben",
                                 "Gitter 5 m nach unten",
                                 "Gitter 1 m nach unten",
                                 "Gitterabstand 5 m größer",
                                 "Gitterabstand 1 m größer",
                                 "Gitterabstand 5 m kleiner",
                                 "Gitterabstand 1 m kleiner"};
  for (int i = 1; i <= 12; ++i) GridButton[i]->setToolTip(QString::fromUtf8(hints[i]));
  LbVerschieben = label(GroupBox1, "LbVerschieben", "verschieben", QRect(8, 80, 236, 18));
  Button6 = button("Button6", "blinken", QRect(8, 170, 76, 28));
  Button7 = button("Button7", "speichern", QRect(88, 170, 76, 28));
  Button8 = button("Button8", "lesen", QRect(168, 170, 76, 28));
  Button6->setToolTip(QString::fromUtf8("Stichprobenpunkte blinken lassen"));
  Button7->setToolTip(QString::fromUtf8("Gitter speichern"));
  Button8->setToolTip(QString::fromUtf8("Gespeichertes Gitter lesen"));
  GitterFertig = button("GitterFertig", "weiter", QRect(112, 212, 132, 34));
  GitterFertig->setToolTip(QString::fromUtf8("Probeflächen anlegen und Probebäume auswählen"));
  BitBtn13->move(8, 214);
  BitBtn14->move(54, 214);

  // The spacing and the number of points stand with the method on the stand's data panel.
  auto dataLabel = [this](QLabel* l, int top) {
    l->setParent(PnDaten);
    l->setGeometry(4, top, PnDaten->width() - 8, 22);
    QFont f("Arial");
    f.setPointSize(8);
    l->setFont(f);
    l->setStyleSheet("color: #1f3d1f; background: transparent;");
    l->setWordWrap(false);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->show();
  };
  LblGitterAnf = label(PnDaten, "LblGitterAnf", "", QRect());
  dataLabel(LblGitterAnf, 52);
  dataLabel(LblAnzStp, 74);

  for (int i : {9, 10, 11, 12}) {
    const int step = i == 9 ? 5 : i == 10 ? 1 : i == 11 ? -5 : -1;
    connect(GridButton[i], &QPushButton::clicked, this, [this, step] { BitBtn9Click(step); });
  }
  for (int i = 1; i <= 8; ++i) {
    static const int kSteps[9][2] = {{0, 0}, {5, 0}, {1, 0}, {-5, 0}, {-1, 0}, {0, 5}, {0, 1}, {0, -5}, {0, -1}};
    const int sx = kSteps[i][0], sy = kSteps[i][1];
    connect(GridButton[i], &QPushButton::clicked, this, [this, sx, sy] { BitBtn1Click(sx, sy); });
  }
  // After the frame's own handlers have turned the angle.
  connect(BitBtn13, &QPushButton::clicked, this, &TForm1::RotateGridClick);
  connect(BitBtn14, &QPushButton::clicked, this, &TForm1::RotateGridClick);
  connect(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
  connect(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
  connect(Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
  connect(GitterFertig, &QPushButton::clicked, this, &TForm1::GitterFertigClick);
  connect(sBtGitter, &QPushButton::clicked, this, &TForm1::sBtGitterClick);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  Punkt1 = PopupMenu1->addAction(QString());
  Punkt1->setObjectName("Punkt1");
  Punkt2 = PopupMenu1->addAction(QString());
  Punkt2->setObjectName("Punkt2");
  ImgBest->setMouseTracking(false);
  ImgBest->installEventFilter(new StandMapMouse(*this));

  auto pictures = std::make_shared<RunPictures>();
  pictures->deferred.settle = [this, kept = pictures.get()] { SettleDeferred(*this, *kept); };
  settleMap = [pictures] { pictures->deferred.Settle(); };
  mapPicture_->SetBeforeLook(settleMap);
  auto enablePending = std::make_shared<bool>(false);
  randomGridShift = [this, pictures, enablePending] {
    ClearUpperVectorState();  // after the last repetition's drawing, before the grid's arithmetic
    SampleGrid& g = state.sampling.grid;
    RandomGridOrigin(g, state.random);
    g.rotation = state.gridRotation;
    std::string problem;
    if (!NewGrid(g, &state.currentStand.boundary, enterpriseGridAreas, MakeGridContext(), &problem)) {
      state.services.messages->PlatformBox(T(problem), "", PlatformButtons::Ok, PlatformIcon::None);
      state.run.repetitionStop = true;
      return;
    }
    g.assign = true;
    DrawGridOver(*this, false, false, [this, pictures] { RedrawStandFrom(*this, *pictures); }, pictures->crosses,
                 &pictures->deferred);
    // The pass puts the map on the screen, crosses and rings, when it has ended.
    const PassOutcome outcome = RunPassOver(*this, false, true, pictures->rings, &pictures->deferred);
    if (outcome != PassOutcome::Done) state.run.repetitionStop = true;
    // Inside a run the buttons come back when it has ended.
    EnableWhenIdle(*this, {sBtGitter, sBtVerfahren}, enablePending);
  };
}

GridContext TForm1::MakeGridContext() const {
  GridContext c;
  c.enterpriseMode = state.run.enterpriseMode;
  c.repetitionFlag = state.run.repetitionFlag;
  c.evaluationStarted = state.run.evaluationStarted;
  return c;
}

void TForm1::ShowGridLabels() {
  const SampleGrid& g = state.sampling.grid;
  SetDataLabel(LblAnzStp, PointCountLabel(state.language, g.insideCount, 6));
  SetDataLabel(LblGitterAnf, SpacingLabel(state.language, g, 4, 4));
}

void TForm1::EraseGridCrosses() {
  const SampleGrid& g = state.sampling.grid;
  if (g.pointCount <= 0 || g.points.empty() || state.run.repetitionFlag || !state.run.graphics) return;
  PaintOnMap([&](Canvas& c, const StandMapTransform& t) {
    c.SetPen(kBlack);
    for (int i = 1; i <= g.pointCount; ++i)
      DrawCrossMark(c, t, g.Point(i).x + g.originX, g.Point(i).y + g.originY);
  });
}

void TForm1::DrawGrid(bool blink) {
  Stamps stamps;
  DrawGridOver(*this, blink, true, [this] { DrawTrees(); }, stamps);
}

void TForm1::sBtGitterClick() {
  if (GuardBusy()) return;
  // On the title screen no stand is in view to lay a grid on.
  if (Panel6->isVisible()) return;
  Button8->setEnabled(true);
  DisableResultButtons();
  CloseOperatingHelp();
  SampleGrid& g = state.sampling.grid;
  if (state.run.enterpriseMode) {
    PresetGridCommand(g, true);
    Panel5->hide();
  } else {
    if (!state.currentStand.loaded) {
      state.services.messages->PlatformBox(T("Bitte Bestand auswählen"), "", PlatformButtons::Ok,
                                           PlatformIcon::None);
      return;
    }
    PresetGridCommand(g, false);
    Memo1->hide();
    DrawTrees();
  }
  g.rotation = state.gridRotation;
  g.lastPassPlotCount = 0;
  std::string problem;
  if (!NewGrid(g, &state.currentStand.boundary, enterpriseGridAreas, MakeGridContext(), &problem)) {
    state.services.messages->PlatformBox(T(problem), "", PlatformButtons::Ok, PlatformIcon::None);
    return;
  }
  DrawGrid(false);
  GroupBox1->show();
  GroupBox1->raise();
  KeepGridGroupClear(*this);
  if (forms.btnRightDlg1 && forms.btnRightDlg1->isVisible()) forms.btnRightDlg1->done(kDialogNext);
  ShowGridLabels();
  sBtDrehen->hide();
}

void TForm1::BitBtn9Click(int step) {
  if (GuardBusy()) return;
  SampleGrid& g = state.sampling.grid;
  if (!g.exists) return;
  EraseGridCrosses();
  g.rotation = state.gridRotation;
  std::string problem;
  if (!GenerateGrid(g, &state.currentStand.boundary, step, MakeGridContext(), &problem))
    state.services.messages->PlatformBox(T(problem), "", PlatformButtons::Ok, PlatformIcon::None);
  DrawGrid(false);
  ShowGridLabels();
}

void TForm1::BitBtn1Click(int stepX, int stepY) {
  if (GuardBusy()) return;
  SampleGrid& g = state.sampling.grid;
  if (!g.exists) return;
  EraseGridCrosses();
  g.rotation = state.gridRotation;
  ShiftGrid(g, &state.currentStand.boundary, enterpriseGridAreas, stepX, stepY, MakeGridContext());
  DrawGrid(false);
  ShowGridLabels();
}

void TForm1::RotateGridClick() {
  if (GuardBusy()) return;
  SampleGrid& g = state.sampling.grid;
  if (!g.exists || g.points.empty()) {
    g.rotation = state.gridRotation;
    return;
  }
  EraseGridCrosses();
  const double before = g.rotation;
  g.rotation = state.gridRotation;
  std::string problem;
  if (!GenerateGrid(g, &state.currentStand.boundary, 0, MakeGridContext(), &problem)) {
    // The grid stays as it was, and so does its angle.
    g.rotation = before;
    state.gridRotation = before;
    state.services.messages->PlatformBox(T(problem), "", PlatformButtons::Ok, PlatformIcon::None);
  }
  DrawGrid(false);
  ShowGridLabels();
}

void TForm1::Button6Click() {
  if (GuardBusy()) return;
  const SampleGrid& g = state.sampling.grid;
  if (!g.exists) return;
  SetDataLabel(LblAnzStp, PointCountLabel(state.language, g.insideCount, 4));
  DrawGrid(true);
}

namespace {
std::string GridFile(const SimulatorState& state, const std::function<int()>& number) {
  return GridFilePath(state.folders.program, number ? number() : 0);
}
}  // namespace

void TForm1::Button7Click() {
  if (GuardBusy()) return;
  SampleGrid& g = state.sampling.grid;
  if (!g.exists) return;
  if (state.run.enterpriseMode) {
    g.saveRequest = true;
    Button8->setEnabled(false);
    state.services.messages->ShowMessageBox(
        T("Für jeden Gitterpunkt wird auch die Lage #der Probefläche im Modellbestand gespeichert.#Programm bitte bis einschl. Auswertung fortführen."),
        kKindInfo, kButtonsOk);
    return;
  }
  std::string problem;
  if (!SaveGrid(g, GridFile(state, gridFileEnterpriseNumber), problem)) {
    state.services.messages->ShowMessageBox(T(problem), kKindWarning, kButtonsOk);
    return;
  }
  Button8->setEnabled(true);
  state.services.messages->ShowMessageBox(T("Für jeden Gitterpunkt wird auch die Lage #der Probefläche im Bestand gespeichert"),
                                          kKindInfo, kButtonsOk);
}

void TForm1::Button8Click() {
  if (GuardBusy()) return;
  SampleGrid& g = state.sampling.grid;
  const bool standMap = !state.run.enterpriseMode && state.currentStand.loaded;
  if (standMap) DrawTrees();
  std::string problem;
  if (!LoadGrid(g, GridFile(state, gridFileEnterpriseNumber), problem)) {
    state.services.messages->ShowMessageBox(T(problem), kKindWarning, kButtonsOk);
    // The grid in hand stays, and with it its crosses on the redrawn map.
    if (g.exists && standMap) DrawGrid(false);
    return;
  }
  g.rotation = state.gridRotation;
  Button7->setEnabled(true);
  SetDataLabel(LblGitterAnf, SpacingLabel(state.language, g, 6, 3));
  SetDataLabel(LblAnzStp, PointCountLabel(state.language, g.insideCount, 7));
  g.lastPassPlotCount = 0;
  DrawGrid(false);
  GroupBox1->show();
  GroupBox1->raise();
}

void TForm1::GitterFertigClick() {
  if (GuardBusy()) return;
  if (state.run.enterpriseMode && !PrepareEnterprisePass()) return;
  RunPass(true, false);
}

PassOutcome TForm1::RunPass(bool wait100, bool repetition) {
  Stamps stamps;
  return RunPassOver(*this, wait100, repetition, stamps);
}

namespace {

PassOutcome RunPassOver(TForm1& f, bool wait100, bool repetition, Stamps& stamps, DeferredDrawing* notes) {
  SimulatorState& state = f.state;
  SamplingState& s = state.sampling;
  RunControl& run = state.run;
  f.sBtBestand->setEnabled(false);
  f.sBtVerfahren->setEnabled(false);
  f.sBtGitter->setEnabled(false);
  const bool wasBusy = run.busy;
  // Inside a run of repetitions nothing is enabled until the run has ended.
  if (!wasBusy) f.sBtExtras->setEnabled(true);
  s.pass.passDone = true;
  f.SetDataLabel(f.LblAnzStp, PointCountLabel(state.language, s.grid.insideCount, 6));
  if (run.enterpriseMode) {
    f.sBtZurueck->setEnabled(false);
    if (s.grid.exists && !s.grid.points.empty() && f.enterpriseGridAreas)
      MarkInsidePoints(s.grid, &state.currentStand.boundary, f.enterpriseGridAreas, true, true);
  }
  f.GroupBox1->hide();

  run.busy = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (wait100) WaitMs(100, run, state.services);

  PassOutcome outcome = PassOutcome::Stopped;
  std::optional<MapPassObserver> observer;
  if (!run.endRequested) {
    observer.emplace(f, stamps, notes);
    try {
      PassEnvironment env{s,   state.currentStand.trees, state.currentStand.boundary, *state.geometry,
                          run, state.services,           state.language,              *observer};
      env.enterprise = f.enterprisePassRoute ? f.enterprisePassRoute(repetition) : nullptr;
      env.areas = f.enterpriseGridAreas;
      env.gridContext = f.MakeGridContext();
      env.repetition = repetition;
      // A run of repetitions waits only in single steps, after each repetition; the pass's own short wait
      // for the next clock tick would idle up to a millisecond on every pass.
      env.singleStepWait = !repetition;
      ClearUpperVectorState();
      outcome = RunSamplingPass(env);
    } catch (const std::bad_alloc&) {
      QApplication::restoreOverrideCursor();
      run.busy = wasBusy;
      state.services.messages->ShowMessageBox("Select: Sorry, bitte neu starten", kKindInfo, kButtonsOk);
      TerminateProgram(state.services, 1);
    }
  }
  QApplication::restoreOverrideCursor();
  run.busy = wasBusy;
  if (observer)
    observer->Finish();
  else
    f.ShowMap();
  // Cancel in "Keine Probebäume gefunden": the program ends once that is confirmed; else, as after the
  // other answers, the empty pass stands.
  if (outcome == PassOutcome::EndProgram) {
    if (f.sBtEndeClick()) return outcome;
    outcome = PassOutcome::NoPlots;
  }
  if (wasBusy) return outcome;

  switch (outcome) {
    case PassOutcome::Done:
      f.sBtAuswertung->setEnabled(true);
      break;
    case PassOutcome::NoPlots:
      // "Auswertung" names the cause again; the method, the grid or the stand is what the user changes.
      for (QPushButton* b : {f.sBtAuswertung, f.sBtVerfahren, f.sBtGitter, f.sBtBestand, f.sBtZurueck})
        b->setEnabled(true);
      break;
    case PassOutcome::NoMethod:
    case PassOutcome::GridFailed:
      f.sBtVerfahren->setEnabled(true);
      f.sBtGitter->setEnabled(true);
      f.sBtBestand->setEnabled(true);
      break;
    case PassOutcome::EndProgram:  // confirmed above
    case PassOutcome::Stopped:
      break;
  }
  return outcome;
}

}  // namespace

void TForm1::ImgBestMouseDown(int px, int py, bool rightButton) {
  if (GuardBusy() || !ImgBest->isEnabled() || !MapTakesClicks()) return;
  if (state.run.enterpriseMode) {
    EnterpriseMapMouseDown(px, py, rightButton);
    return;
  }
  const CurrentStand& cs = state.currentStand;
  if (!cs.loaded || state.run.enterpriseMode || state.standMap.scale <= 0.0) return;
  SampleGrid& g = state.sampling.grid;
  state.sampling.pass.sampleTreeTotal = 0;
  const StandMapTransform t = MapTransform();
  int X = RoundInt(t.StandMapXInverse(px));
  int Y = RoundInt(t.StandMapYInverse(py));

  // Plots are dragged on the grid in hand: while it is being edited, or after its pass until another
  // stand, method or grid is chosen.
  const bool gridInHand = GroupBox1->isVisible() || sBtAuswertung->isEnabled();
  if (g.exists && !g.points.empty() && gridInHand) {
    const int picked = PickGridPoint(g, X, Y);
    if (picked > 0) {
      const GridPoint& p = g.Point(picked);
      X = p.x + g.originX;
      Y = p.y + g.originY;
      PaintOnMap([&](Canvas& c, const StandMapTransform& tr) {
        c.SetPen(kPickedGrey);
        DrawCrossMark(c, tr, X, Y);
        c.SetPen(kBlack);
        c.SetBrush(kBlack, BrushStyle::Clear);
        WorldCircle(c, tr, X, Y, kDragCircleRadius);
      });
      g.pickedIndex = picked;
      g.dragging = true;
      g.bandX = X;
      g.bandY = Y;
    }
  }

  double lx = (px - 30) / state.standMap.scale;
  double ly = (t.imageHeight - py - 25) / state.standMap.scale;
  Punkt1->setText(Q(T("Koordinaten lokal") + ":  X=" + FormatFixed(6, 1, lx) + "   Y=" + FormatFixed(6, 1, ly)));
  if (rightButton) {
    lx += cs.boundary.minX;
    ly += cs.boundary.minY;
  }
  Punkt2->setText(Q(std::string("    \"      ") + T("gemessen") + ":  X=" + FormatFixed(6, 1, lx) + "   Y=" +
                    FormatFixed(6, 1, ly)));
  PaintOnMap([&](Canvas& c, const StandMapTransform& tr) {
    c.SetPen(kYellow);
    DrawCrossMark(c, tr, X, Y);
  });

  if (DigitiseBoundary(g, Y, X) == DigitiseResult::Closed &&
      state.services.messages->ShowMessageBox(T("Grenze geschlossen"), kKindInfo, kButtonsOk) == kResultOk) {
    std::string problem;
    if (!WriteDigitisedBoundary(g, state.folders.program, problem))
      state.services.messages->PlatformBox(T(problem), "", PlatformButtons::Ok, PlatformIcon::Warning);
  }
  if (rightButton) PopupMenu1->popup(ImgBest->mapToGlobal(QPoint(px, py)));
}

void TForm1::ImgBestMouseMove(int px, int py) {
  SampleGrid& g = state.sampling.grid;
  if (!g.dragging) return;
  const StandMapTransform t = MapTransform();
  const int X = RoundInt(t.StandMapXInverse(px));
  const int Y = RoundInt(t.StandMapYInverse(py));
  PaintOnMap([&](Canvas& c, const StandMapTransform& tr) {
    c.SetBrush(kBlack, BrushStyle::Clear);
    c.SetPen(kBlack);
    WorldCircle(c, tr, g.bandX, g.bandY, kDragCircleRadius);
    c.SetPen(kRubberBand, 1, PenStyle::Dot);
    WorldCircle(c, tr, X, Y, kDragCircleRadius);
  });
  g.bandX = X;
  g.bandY = Y;
}

void TForm1::ImgBestMouseUp(int px, int py) {
  SampleGrid& g = state.sampling.grid;
  if (!g.dragging) return;
  const StandMapTransform t = MapTransform();
  const int X = RoundInt(t.StandMapXInverse(px));
  const int Y = RoundInt(t.StandMapYInverse(py));
  DropGridPoint(g, g.pickedIndex, X, Y);
  PaintOnMap([&](Canvas& c, const StandMapTransform& tr) {
    c.SetPen(kWhite);
    DrawCrossMark(c, tr, X, Y);
    c.SetPen(kRubberBand, 1, PenStyle::Dot);
    c.SetBrush(kBlack, BrushStyle::Clear);
    WorldCircle(c, tr, X, Y, kDragCircleRadius);
  });
  g.dragging = false;
  g.bandX = 0;
  g.bandY = 0;
  if (state.sampling.pass.passDone) {
    DrawTrees();
    DrawGrid(false);
    RunPass(true, false);
  }
}

}  // namespace tolvek
