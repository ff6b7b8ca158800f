#include "simulator/forms/map_run_drawing.h"

#include <cstring>

namespace tolvek {

void DeferredDrawing::Draw(const Shape& s, QtCanvas& canvas, const MapPixels* pixels) const {
  switch (s.kind) {
    case Shape::Kind::Circle:
      DrawRing(*s.stamps, canvas, pixels, WorldCircleBox(transform, s.a, s.b, s.c), s.colour, s.dotted);
      break;
    case Shape::Kind::Disc:
      DrawRing(*s.stamps, canvas, pixels, TreeDiscBox(transform, s.a, s.c, s.b), s.colour, false);
      break;
    case Shape::Kind::Cross:
      DrawCross(*s.stamps, canvas, pixels, transform, s.a, s.b, s.colour);
      break;
  }
}

RunMapDrawing::RunMapDrawing() {
  rings.LogTo(&log);
  crosses.LogTo(&log);
}

bool RunMapDrawing::PutBack(QImage& map, bool standUnchanged) {
  if (!standUnchanged || picture_.size() != map.size() || picture_.format() != map.format()) return false;
  if (!log.PutBack(map, picture_)) CopyBack(map);
  log.Restart(map);
  return true;
}

void RunMapDrawing::Keep(const QImage& map, const TreePictureKey& key) {
  key_ = key;
  picture_ = map;  // shared until the map is drawn on
  log.Restart(map);
}

// The kept picture goes into the spare buffer, which then becomes the map: the screen holds on to the
// buffer it was last given until the next picture is shown, so the one before is free again by now.
// Sharing the kept picture instead would copy it anyway at the first cross, and into memory taken
// afresh every repetition.
void RunMapDrawing::CopyBack(QImage& map) {
  if (spare_.size() != map.size() || spare_.format() != map.format() || !spare_.isDetached())
    spare_ = QImage(map.size(), map.format());
  if (spare_.sizeInBytes() != picture_.sizeInBytes() || spare_.bytesPerLine() != picture_.bytesPerLine()) {
    map = picture_;
    return;
  }
  std::memcpy(spare_.bits(), picture_.constBits(), static_cast<std::size_t>(spare_.sizeInBytes()));
  map.swap(spare_);
}

void RunMapDrawing::Settle(QImage& map, const std::function<void()>& putBackStand) {
  DeferredDrawing& d = deferred;
  // Putting the stand back may show the map, which would settle again.
  d.settling = true;
  if (d.putBackDue) {
    d.putBackDue = false;
    putBackStand();
  }
  if (!d.shapes.empty())
    DrawOnMap(map, &log, [&d](QtCanvas& canvas, const MapPixels* pixels) {
      for (const DeferredDrawing::Shape& shape : d.shapes) d.Draw(shape, canvas, pixels);
    });
  d.shapes.clear();
  d.settling = false;
}

}  // namespace tolvek
