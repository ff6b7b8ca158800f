#pragma once
// A label showing a picture that a run of repetitions redraws many hundred times a second. Made into a
// pixmap at every show, each picture was copied when the next drawing began on the image the pixmap
// shared, and the label repainted all of it at every event pump: more than the repetition itself cost.
// While paced, a show makes no pixmap: the label paints the parts asked for straight from the image, at
// most once an interval (the last picture follows within it). Unpaced, a show hands the label the image
// as its pixmap, as plain labels are shown.
#include <QElapsedTimer>
#include <QObject>
#include <functional>

class QImage;
class QLabel;
class QWidget;

namespace tolvek {

class PacedPicture : public QObject {
 public:
  // image: the picture the label shows, drawn on by its owner; it outlives this. fitLabel: a show sizes
  // the label to the picture.
  PacedPicture(QLabel* label, const QImage* image, int intervalMs, bool fitLabel);

  // The image changed: unpaced, it becomes the label's pixmap; paced, the label repaints it within the
  // interval.
  void Show();
  // Pacing off: a picture shown paced becomes the label's pixmap, so the label holds what the screen
  // shows, as after an unpaced show.
  void SetPaced(bool paced);
  bool Paced() const { return paced_; }
  // Runs just before the picture is painted or copied: its owner may hold drawing back until then.
  void SetBeforeLook(std::function<void()> beforeLook) { beforeLook_ = std::move(beforeLook); }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void Repaint();

  QLabel* label_;
  const QImage* image_;
  int intervalMs_;
  bool fitLabel_;
  bool paced_ = false;
  bool live_ = false;     // the label paints from the image, not from its pixmap
  bool waiting_ = false;  // a repaint is due when the interval has passed
  QElapsedTimer sinceRepaint_;
  std::function<void()> beforeLook_;
};

// Raises w over its siblings only where one of those stacked above it overlaps it: a raise repaints
// the widget and all that lies under it, and a run raises its labels at every repetition.
void RaiseWhereCovered(QWidget* w);

}  // namespace tolvek
