// The stand map's stamps, their log and a run's held-back drawing, on pictures of their own: every
// shape set from a stamp must be the painter's to the pixel, the log must put back exactly what was
// drawn over, and a held-back drawing must leave the map as drawing at once would.
#include "simulator/forms/map_stamps.h"

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <cstdint>
#include <vector>

#include "common/qt/qt_canvas.h"
#include "simulator/forms/map_run_drawing.h"
#include "simulator/views/stand_map.h"

using namespace tolvek;

namespace {

constexpr int kSide = 300;

// A picture every pixel of which differs from its neighbours, so that a pixel put back from the wrong
// place shows.
QImage Noise(std::uint32_t seed) {
  QImage image(kSide, kSide, QImage::Format_RGB32);
  std::uint32_t v = seed;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      v = v * 1664525u + 1013904223u;
      image.setPixel(x, y, 0xFF000000u | (v >> 8));
    }
  return image;
}

struct Ring {
  EllipseBox box;
  Colour colour;
  bool dotted;
};

// Rings of many sizes and both pens, inside the picture, across its edges, beside it, and the same
// shapes again elsewhere (from their stamps then).
std::vector<Ring> Rings() {
  std::vector<Ring> rings;
  int k = 0;
  for (int w : {0, 1, 2, 5, 9, 24, 37, 80, 151})
    for (int x : {-20, 0, 1, 2, 40, 130, kSide - 60, kSide - 3, kSide + 5})
      for (bool dotted : {false, true}) {
        const int y = (x * 7 + w * 3 + 11) % kSide - 10;
        rings.push_back({{x, y, x + w, y + w * 2 / 3}, k++ % 2 ? kYellow : kRed, dotted});
      }
  return rings;
}

// Draws the rings on image: from stamps where pixels are given, else all with the painter.
void DrawRings(QImage& image, Stamps& stamps, StampLog* log, const std::vector<Ring>& rings, bool withPixels) {
  DrawOnMap(image, log, [&](QtCanvas& canvas, const MapPixels* pixels) {
    for (const Ring& r : rings) DrawRing(stamps, canvas, withPixels ? pixels : nullptr, r.box, r.colour, r.dotted);
  });
}

// The crosses of a grid laid over the picture and past its edges.
void DrawCrosses(QImage& image, Stamps& stamps, StampLog* log, const StandMapTransform& t, bool withPixels) {
  DrawOnMap(image, log, [&](QtCanvas& canvas, const MapPixels* pixels) {
    for (int x = -30; x <= 330; x += 17)
      for (int y = -30; y <= 330; y += 23)
        DrawCross(stamps, canvas, withPixels ? pixels : nullptr, t, x, y, (x + y) % 2 ? kWhite : kBlack);
  });
}

StandMapTransform Transform(double scale) {
  StandMapTransform t;
  t.scale = scale;
  t.imageWidth = kSide;
  t.imageHeight = kSide;
  return t;
}

QString FirstDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return "sizes differ";
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        return QString("pixel (%1, %2): %3 against %4")
            .arg(x)
            .arg(y)
            .arg(a.pixel(x, y), 8, 16)
            .arg(b.pixel(x, y), 8, 16);
  return {};
}

#define COMPARE_IMAGES(actual, expected)                          \
  do {                                                            \
    const QString difference = FirstDifference(actual, expected); \
    if (!difference.isEmpty()) QFAIL(qPrintable(difference));     \
  } while (false)

}  // namespace

class MapStampsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void stampedShapesAreThePaintersToThePixel() {
    for (double scale : {1.0, 2.37}) {
      QImage stamped = Noise(1), painted = Noise(1);
      Stamps rings, crosses, plain;
      DrawRings(stamped, rings, nullptr, Rings(), true);
      DrawRings(painted, plain, nullptr, Rings(), false);
      DrawCrosses(stamped, crosses, nullptr, Transform(scale), true);
      DrawCrosses(painted, plain, nullptr, Transform(scale), false);
      COMPARE_IMAGES(stamped, painted);
      QVERIFY(rings.Size() > 10);  // the stamps were used, not only the painter
      QVERIFY(crosses.Size() >= 1);
      QCOMPARE(plain.Size(), std::size_t{0});
    }
  }

  void logPutsBackExactlyWhatWasDrawnOver() {
    const QImage kept = Noise(2);
    QImage map = kept;
    map.detach();
    StampLog log;
    Stamps rings, crosses;
    rings.LogTo(&log);
    crosses.LogTo(&log);
    for (int repetition = 0; repetition < 3; ++repetition) {
      log.Restart(map);
      DrawCrosses(map, crosses, &log, Transform(1.0 + repetition), true);
      DrawRings(map, rings, &log, Rings(), true);
      QVERIFY(!FirstDifference(map, kept).isEmpty());
      QVERIFY(log.PutBack(map, kept));
      COMPARE_IMAGES(map, kept);
    }
  }

  // Anybody else writing on the map between the logged drawings (a handler while events are pumped),
  // another picture, or a stamp table that was cleared leaves the log unable to put back.
  void logGivesUpWhereItCannotHoldEveryChange() {
    const QImage kept = Noise(3);
    Stamps rings;
    StampLog log;
    rings.LogTo(&log);
    const std::vector<Ring> all = Rings();
    const std::vector<Ring> some(all.begin(), all.begin() + 20);
    {
      QImage map = kept.copy();
      log.Restart(map);
      DrawRings(map, rings, &log, some, true);
      map.setPixel(150, 150, 0xFF123456u);
      DrawRings(map, rings, &log, some, true);
      QVERIFY(!log.PutBack(map, kept));
      QCOMPARE(map.pixel(150, 150), 0xFF123456u);  // touched nothing
    }
    {
      QImage map = kept.copy();
      log.Restart(map);
      DrawRings(map, rings, &log, some, true);
      QImage other = kept.copy();
      QVERIFY(!log.PutBack(other, kept));
    }
    {
      // More shapes than the table keeps: the log's stamps are gone with it.
      QImage map = kept.copy();
      log.Restart(map);
      DrawOnMap(map, &log, [&](QtCanvas& canvas, const MapPixels* pixels) {
        for (int w = 1; w <= 30; ++w)
          for (int h = 1; h <= 20; ++h) DrawRing(rings, canvas, pixels, {100, 100, 100 + w, 100 + h}, kRed, false);
      });
      QVERIFY(!log.PutBack(map, kept));
    }
  }

  // The put-back and the shapes noted come out on the map, in their order, as drawn at once; a shape of
  // another scale settles what was noted before it.
  void heldBackDrawingLeavesTheMapAsDrawingAtOnce() {
    const QImage stand = Noise(4);
    QImage map = stand.copy(), expected = stand.copy();
    RunMapDrawing run;
    int settles = 0, putBacks = 0;
    run.deferred.settle = [&] {
      ++settles;
      run.Settle(map, [&] {
        ++putBacks;
        if (!run.PutBack(map, true)) {
          map = stand.copy();
          run.Keep(map, TreePictureKey());
        }
      });
    };
    const StandMapTransform t1 = Transform(1.0), t2 = Transform(1.5);
    Stamps plain;
    for (int repetition = 0; repetition < 3; ++repetition) {
      run.deferred.shapes.clear();
      run.deferred.putBackDue = true;
      const double shift = 7.0 * repetition;
      for (int i = 0; i < 12; ++i) {
        using Kind = DeferredDrawing::Shape::Kind;
        run.deferred.Note(t1, {Kind::Cross, false, kWhite, &run.crosses, 20.0 * i + shift, 30.0 + shift, 0.0});
        run.deferred.Note(t1, {Kind::Circle, i % 2 == 1, kYellow, &run.rings, 25.0 * i, 100.0 + shift, 12.6});
        run.deferred.Note(t1, {Kind::Disc, false, kRed, &run.rings, 30.0 + i * 4, 15.0 * i, 200.0 - shift});
      }
      QCOMPARE(settles, repetition);  // nothing drawn while only noted
      run.deferred.Settle();
      QCOMPARE(putBacks, repetition + 1);
      expected = stand.copy();
      DrawOnMap(expected, nullptr, [&](QtCanvas& canvas, const MapPixels*) {
        for (int i = 0; i < 12; ++i) {
          DrawCross(plain, canvas, nullptr, t1, 20.0 * i + shift, 30.0 + shift, kWhite);
          DrawRing(plain, canvas, nullptr, WorldCircleBox(t1, 25.0 * i, 100.0 + shift, 12.6), kYellow, i % 2 == 1);
          DrawRing(plain, canvas, nullptr, TreeDiscBox(t1, 30.0 + i * 4, 200.0 - shift, 15.0 * i), kRed, false);
        }
      });
      COMPARE_IMAGES(map, expected);
      settles = repetition + 1;
    }
    // Another transform: the shapes of the first are drawn before the new one is noted.
    run.deferred.Note(t1, {DeferredDrawing::Shape::Kind::Cross, false, kRed, &run.crosses, 50.0, 50.0, 0.0});
    run.deferred.Note(t2, {DeferredDrawing::Shape::Kind::Cross, false, kRed, &run.crosses, 50.0, 50.0, 0.0});
    QCOMPARE(run.deferred.shapes.size(), std::size_t{1});
    QCOMPARE(run.deferred.transform, t2);
  }

  void keptStandPictureServesOnlyItsStand() {
    QImage map = Noise(5);
    RunMapDrawing run;
    QVERIFY(!run.PutBack(map, true));  // nothing kept yet
    run.Keep(map, TreePictureKey());
    const QImage kept = map.copy();
    DrawRings(map, run.rings, &run.log, Rings(), true);
    QVERIFY(!run.PutBack(map, false));  // another stand
    QVERIFY(run.PutBack(map, true));
    COMPARE_IMAGES(map, kept);
    QImage larger(kSide + 1, kSide, QImage::Format_RGB32);
    QVERIFY(!run.PutBack(larger, true));
  }
};

QTEST_MAIN(MapStampsTest)
#include "map_stamps_test.moc"
