#include "simulator/forms/paced_picture.h"

#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace tolvek {

PacedPicture::PacedPicture(QLabel* label, const QImage* image, int intervalMs, bool fitLabel)
    : QObject(label), label_(label), image_(image), intervalMs_(intervalMs), fitLabel_(fitLabel) {
  label_->installEventFilter(this);
}

void PacedPicture::Show() {
  // A label the picture does not cover as a whole is left to paint its own pixmap.
  if (!paced_ || (!fitLabel_ && label_->size() != image_->size())) {
    live_ = false;
    if (beforeLook_) beforeLook_();
    label_->setPixmap(QPixmap::fromImage(*image_));
    if (fitLabel_) label_->resize(image_->size());
    return;
  }
  live_ = true;
  if (waiting_) return;
  const qint64 left = sinceRepaint_.isValid() ? intervalMs_ - sinceRepaint_.elapsed() : 0;
  if (left <= 0) {
    Repaint();
    return;
  }
  waiting_ = true;
  QTimer::singleShot(static_cast<int>(left), this, [this] {
    waiting_ = false;
    if (live_) Repaint();
  });
}

void PacedPicture::Repaint() {
  sinceRepaint_.start();
  if (fitLabel_) label_->resize(image_->size());
  label_->update();
}

void PacedPicture::SetPaced(bool paced) {
  if (paced == paced_) return;
  paced_ = paced;
  if (!paced_ && live_) Show();
}

bool PacedPicture::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() != QEvent::Paint || watched != label_ || !live_ || label_->size() != image_->size())
    return QObject::eventFilter(watched, e);
  if (beforeLook_) beforeLook_();
  QPainter painter(label_);
  for (const QRect& r : static_cast<QPaintEvent*>(e)->region()) painter.drawImage(r.topLeft(), *image_, r);
  return true;
}

void RaiseWhereCovered(QWidget* w) {
  QWidget* parent = w->parentWidget();
  if (!parent) return;
  const QObjectList& siblings = parent->children();
  const qsizetype at = siblings.indexOf(w);
  for (qsizetype i = at + 1; i < siblings.size(); ++i) {
    const auto* above = qobject_cast<const QWidget*>(siblings[i]);
    if (above && !above->isWindow() && above->geometry().intersects(w->geometry())) {
      w->raise();
      return;
    }
  }
}

}  // namespace tolvek
