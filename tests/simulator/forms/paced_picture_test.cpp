// A picture label paced by a run: the screen catches up with the last picture within the interval, the
// label paints the picture pixel for pixel as its own pixmap would, and unpaced it holds the picture.
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QtTest>

#include "simulator/forms/paced_picture.h"

using namespace tolvek;

namespace {

// A picture with something in every row and column, so a shifted or cut paint shows.
void Draw(QImage& image, int seed) {
  image.fill(Qt::black);
  QPainter p(&image);
  for (int i = 0; i < 40; ++i) {
    p.setPen(QColor::fromRgb(static_cast<QRgb>(0xFF000000u | (seed * 7919u + i * 104729u))));
    p.drawEllipse((i * 37 + seed * 11) % image.width(), (i * 53 + seed * 5) % image.height(), 9 + i % 7, 9 + i % 5);
  }
  p.drawLine(0, 0, image.width() - 1, image.height() - 1);
}

// What the window's backing store holds where the label lies.
QImage OnScreen(QWidget& window, QLabel& label) {
  const QPoint at = label.mapTo(&window, QPoint(0, 0));
  return window.screen()->grabWindow(window.winId()).toImage().copy(QRect(at, label.size()))
      .convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class PacedPictureTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void screenCatchesUpWithTheLastPicture() {
    QWidget window;
    window.resize(300, 260);
    auto* label = new QLabel(&window);
    label->move(10, 12);
    QImage image(240, 200, QImage::Format_RGB32);
    Draw(image, 1);
    PacedPicture picture(label, &image, 40, true);
    picture.Show();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(OnScreen(window, *label), image);

    picture.SetPaced(true);
    const QPixmap before = label->pixmap();
    for (int seed = 2; seed <= 30; ++seed) {
      Draw(image, seed);
      picture.Show();
      QCoreApplication::processEvents();
      // Painted from the picture itself, exactly as its pixmap would be.
      QCOMPARE(label->grab().toImage().convertToFormat(QImage::Format_RGB32), image);
    }
    QCOMPARE(label->pixmap().cacheKey(), before.cacheKey());  // no pixmap made meanwhile
    QTRY_COMPARE_WITH_TIMEOUT(OnScreen(window, *label), image, 1000);

    // Unpaced: the label holds the last picture as its pixmap, also for what draws on the image later.
    picture.SetPaced(false);
    const QImage last = image.copy();
    Draw(image, 31);
    QCOMPARE(label->pixmap().toImage().convertToFormat(QImage::Format_RGB32), last);
    QTRY_COMPARE_WITH_TIMEOUT(OnScreen(window, *label), last, 1000);
  }

  // A label the picture does not cover is shown the plain way even while paced.
  void labelOfAnotherSizeKeepsItsPixmap() {
    QWidget window;
    auto* label = new QLabel(&window);
    label->resize(100, 50);
    QImage image(80, 40, QImage::Format_RGB32);
    Draw(image, 3);
    PacedPicture picture(label, &image, 40, false);
    picture.SetPaced(true);
    picture.Show();
    QCOMPARE(label->size(), QSize(100, 50));
    QCOMPARE(label->pixmap().toImage().convertToFormat(QImage::Format_RGB32), image);
  }

  // Raised only where a sibling above it overlaps it.
  void raisesOnlyWhereCovered() {
    QWidget parent;
    auto* w = new QWidget(&parent);
    w->setGeometry(0, 0, 50, 20);
    auto* apart = new QWidget(&parent);  // after w, beside it
    apart->setGeometry(100, 100, 10, 10);
    RaiseWhereCovered(w);
    QCOMPARE(parent.children().indexOf(w), 0);
    auto* over = new QWidget(&parent);
    over->setGeometry(40, 10, 30, 30);
    RaiseWhereCovered(w);
    QCOMPARE(parent.children().indexOf(w), parent.children().size() - 1);
  }
};

QTEST_MAIN(PacedPictureTest)
#include "paced_picture_test.moc"
