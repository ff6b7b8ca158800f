#pragma once
// The stand map's drawing during a run of repetitions.
//
// A run's repetitions are drawn many hundred times a second and nearly all of them are drawn over by the
// next before anybody looks. So while a run draws, the stand's picture is not put back under a
// repetition and its shapes are not drawn: the put-back and the shapes (with what they are drawn from)
// are noted, in order, and drawn only when the map is about to be looked at (painted, handed to a label,
// read by a handler while events are pumped) and at the run's end. A repetition then costs no painter and
// no pixel of the map; at each of those moments the map is exactly as drawing straight away would have
// left it, since the same drawing is done in the same order on the same picture.
//
// The stand does not change while a run goes on, so the picture of its trees is kept and put back under
// every repetition, only where the stamps set pixels when the log allows (see map_stamps.h).
#include <QImage>
#include <cstdint>
#include <functional>
#include <vector>

#include "simulator/forms/map_stamps.h"
#include "simulator/views/stand_map.h"

namespace tolvek {

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

  // Shapes of another transform than those noted before them are drawn on their own: what was noted
  // is settled first.
  void Note(const StandMapTransform& t, const Shape& shape) {
    if (!shapes.empty() && !(t == transform)) Settle();
    if (shapes.empty()) transform = t;
    shapes.push_back(shape);
  }
  void Settle() {
    if ((putBackDue || !shapes.empty()) && settle && !settling) settle();
  }
  // Draws one noted shape with the map's painter and pixels.
  void Draw(const Shape& s, QtCanvas& canvas, const MapPixels* pixels) const;
};

// What a run keeps of the map from one repetition to the next.
class RunMapDrawing {
 public:
  RunMapDrawing();
  RunMapDrawing(const RunMapDrawing&) = delete;
  RunMapDrawing& operator=(const RunMapDrawing&) = delete;

  Stamps rings, crosses;
  StampLog log;              // what rings and crosses set on the map since the picture was put back
  DeferredDrawing deferred;  // what a run still has to draw

  // Puts the kept picture of the stand back on map; false, touching nothing, where there is none that
  // fits it, or it was drawn from another stand (standUnchanged false, as its key says).
  bool PutBack(QImage& map, bool standUnchanged);
  // The stand was just drawn afresh on map: its picture is kept, with what it was drawn from.
  void Keep(const QImage& map, const TreePictureKey& key);
  const TreePictureKey& Key() const { return key_; }
  // Does what was noted: putBackStand when the stand is due, then the shapes in their order, with one
  // painter over the map and its pixels taken for the stamps.
  void Settle(QImage& map, const std::function<void()>& putBackStand);

 private:
  void CopyBack(QImage& map);

  TreePictureKey key_;
  QImage picture_;
  QImage spare_;  // the buffer the map had before the last repetition; the screen may still show it
};

}  // namespace tolvek
