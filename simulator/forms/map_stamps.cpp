#include "simulator/forms/map_stamps.h"

#include <QPaintEngine>
#include <algorithm>
#include <cstring>
#include <utility>

namespace tolvek {

std::optional<MapPixels> PixelsUnder(QPainter& painter, QImage& image) {
  const QImage::Format format = image.format();
  if (!painter.isActive() || painter.paintEngine()->type() != QPaintEngine::Raster ||
      (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
       format != QImage::Format_ARGB32_Premultiplied))
    return std::nullopt;
  return MapPixels{image.bits(), image.bytesPerLine(), image.width(), image.height()};
}

void StampLog::Invalidate() {
  complete = false;
  entries.clear();
  boxes.clear();
}

void StampLog::Restart(const QImage& image) {
  entries.clear();
  boxes.clear();
  complete = true;
  Clean(image);
}

void StampLog::Clean(const QImage& image) {
  stride = image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
  width = image.width();
  height = image.height();
  key = image.cacheKey();
}

void StampLog::AddBox(int x1, int y1, int x2, int y2) {
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

bool StampLog::PutBack(QImage& to, const QImage& from) {
  Begin(to);
  if (!complete || from.bytesPerLine() != to.bytesPerLine()) return false;
  // The map is the only holder of its pixels here (else this copies them first, as any drawing would).
  QRgb* const target = reinterpret_cast<QRgb*>(to.bits());
  const QRgb* const source = reinterpret_cast<const QRgb*>(from.constBits());
  for (const Entry& e : entries) {
    QRgb* const t = target + e.corner;
    const QRgb* const f = source + e.corner;
    for (const qsizetype offset : *e.offsets) t[offset] = f[offset];
  }
  for (const Box& b : boxes)
    for (int row = 0; row < b.height; ++row)
      std::memcpy(target + b.corner + row * stride, source + b.corner + row * stride,
                  static_cast<std::size_t>(b.width) * sizeof(QRgb));
  return true;
}

const std::vector<qsizetype>& Stamps::Stamp::OffsetsFor(qsizetype pictureStride) {
  if (stride != pictureStride) {
    stride = pictureStride;
    offsets.clear();
    offsets.reserve(pixels.size());
    for (const std::uint32_t p : pixels)
      offsets.push_back(static_cast<qsizetype>(p >> 16) * stride + static_cast<qsizetype>(p & 0xFFFF));
  }
  return offsets;
}

template <typename Draw>
bool Stamps::Set(const MapPixels* map, std::uint64_t key, int left, int top, int w, int h, Colour colour,
                 const Draw& draw) {
  if (!map || w < 0 || h < 0) return false;
  // A shape whose picture lies wholly beside the map sets none of its pixels: the grid reaches beyond
  // the map, and a dense grid has dozens of crosses there.
  if (left - kMargin >= map->width || top - kMargin >= map->height || left - kMargin + StampSize(w) <= 0 ||
      top - kMargin + StampSize(h) <= 0)
    return true;
  // Else the whole picture of the shape, margins and all, must lie on the map.
  if (w > kLargest || h > kLargest || left < kMargin || top < kMargin || left - kMargin + StampSize(w) > map->width ||
      top - kMargin + StampSize(h) > map->height)
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

// Rings of one size come in runs, so the last stamp is tried first.
template <typename Draw>
Stamps::Stamp* Stamps::Find(std::uint64_t key, int w, int h, const Draw& draw) {
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

EllipseBox WorldCircleBox(const StandMapTransform& t, double cx, double cy, double r) {
  return {t.StandMapX(cx - r), t.StandMapY(cy + r), t.StandMapX(cx + r), t.StandMapY(cy - r)};
}

void DrawRing(Stamps& stamps, QtCanvas& canvas, const MapPixels* map, EllipseBox b, Colour colour, bool dotted) {
  if (b.x2 < b.x1) std::swap(b.x1, b.x2);
  if (b.y2 < b.y1) std::swap(b.y1, b.y2);
  const int w = b.x2 - b.x1, h = b.y2 - b.y1;
  const PenStyle style = dotted ? PenStyle::Dot : PenStyle::Solid;
  const std::uint64_t key =
      (static_cast<std::uint64_t>(w) << 33) | (static_cast<std::uint64_t>(h) << 1) | (dotted ? 1u : 0u);
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

}  // namespace tolvek
