#pragma once
// Rings and crosses set straight into the stand map's pixels.
//
// A run of repetitions draws thousands of plot circles, sample-tree discs and grid crosses a second,
// and a painter costs many times the pixels such a shape sets (a dotted circle above all). The map is
// drawn without antialiasing, so a shape of given size and pen covers the same pixels wherever it
// stands: each is drawn once into a picture of its own, and every later one of that shape only sets
// those pixels. Every shape comes out exactly as the painter would have drawn it; shapes that cannot
// (near the map's edge, not whole pixels) are drawn by the painter as before.
//
// A run also puts the stand's picture back under every repetition. The log of what the stamps set lets
// it put back only those pixels instead of copying the whole map.
#include <QImage>
#include <QPainter>
#include <QtGlobal>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "common/canvas.h"
#include "common/qt/qt_canvas.h"
#include "simulator/views/stand_map.h"

namespace tolvek {

// The map's pixels while a painter draws on it.
struct MapPixels {
  uchar* bits = nullptr;
  qsizetype bytesPerLine = 0;
  int width = 0, height = 0;
};

// The map's pixels while painter draws on it, where the painter would set exactly the pen's colour;
// nothing where it would not. The painter has the image to itself once it began: its pixels are where
// the painter draws, also after the picture is shown.
std::optional<MapPixels> PixelsUnder(QPainter& painter, QImage& image);

// The pixels stamps set on one picture since it was last put back to a clean state. Drawing of any other
// kind, or a change to the picture between the drawings logged (a redraw by a handler while events are
// pumped, another image), leaves the log incomplete, and the whole picture must be copied. A drawing is
// logged between Begin and End, which the picture's cache key ties together: it changes whenever anybody
// may have written into the picture through it. Stamps write through a pointer taken once the drawing
// has Started, which leaves the key alone, so a change of the key before End means somebody else wrote
// (a handler, while the drawing pumps events). (A painter that begins may move the pixels to a copy of
// their own: the same pixels, so the log holds for the copy.)
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

  void Invalidate();
  // A clean picture (just drawn, or put back whole) from which logging starts afresh.
  void Restart(const QImage& image);
  void Begin(const QImage& image) {
    if (image.cacheKey() != key) Invalidate();
  }
  void Started(const QImage& image) { startedKey = image.cacheKey(); }
  void End(const QImage& image) {
    if (image.cacheKey() != startedKey) Invalidate();
    Clean(image);
  }
  // The picture as it is now is what the log describes.
  void Clean(const QImage& image);
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
  void AddBox(int x1, int y1, int x2, int y2);
  // Puts back from `from` the pixels the log holds on `to`; false, touching nothing, where the log does
  // not hold every change or the two pictures are not laid out alike.
  bool PutBack(QImage& to, const QImage& from);
};

// The table of stamps of one kind of shape (the rings, or the crosses), made as they are first asked for.
class Stamps {
 public:
  static constexpr int kMargin = 2, kLargest = 400;

  Stamps() = default;
  Stamps(const Stamps&) = delete;
  Stamps& operator=(const Stamps&) = delete;

  // Sets the pixels of the shape of key in colour, its corner at (left, top) and w × h in size; draw
  // puts the shape in white on a canvas with its corner at (kMargin, kMargin). False where it cannot be
  // done. (Defined beside the shapes that use it.)
  template <typename Draw>
  bool Set(const MapPixels* map, std::uint64_t key, int left, int top, int w, int h, Colour colour, const Draw& draw);
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
  // How many shapes have a stamp.
  std::size_t Size() const { return stamps_.size(); }

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

    const std::vector<qsizetype>& OffsetsFor(qsizetype pictureStride);
  };

  // The stamp of key, drawn when it is first asked for.
  template <typename Draw>
  Stamp* Find(std::uint64_t key, int w, int h, const Draw& draw);

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

// A ring in the pen's colour, dotted or solid, with a clear brush, in the box's corners.
void DrawRing(Stamps& stamps, QtCanvas& canvas, const MapPixels* map, EllipseBox b, Colour colour, bool dotted);
// A grid point's cross in the pen's colour.
void DrawCross(Stamps& stamps, QtCanvas& canvas, const MapPixels* map, const StandMapTransform& t, double x, double y,
               Colour colour);
// The box of a circle of the world on the map.
EllipseBox WorldCircleBox(const StandMapTransform& t, double cx, double cy, double r);

}  // namespace tolvek
