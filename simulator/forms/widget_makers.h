#pragma once
// Controls placed at pixel positions with their design names as objectName: the language tables and
// the tests find every control by that name.
#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <algorithm>

namespace tolvek::widgets {

inline QLabel* Label(QWidget* parent, const char* name, const char* text, QRect r) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  l->setObjectName(name);
  l->setTextFormat(Qt::PlainText);
  l->setGeometry(r);
  return l;
}

inline QPushButton* Button(QWidget* parent, const char* name, const char* caption, QRect r) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(name);
  b->setGeometry(r);
  b->setAutoDefault(false);
  return b;
}

inline QLineEdit* Edit(QWidget* parent, const char* name, QRect r) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setGeometry(r);
  return e;
}

inline QCheckBox* Check(QWidget* parent, const char* name, const char* caption, QRect r) {
  auto* c = new QCheckBox(QString::fromUtf8(caption), parent);
  c->setObjectName(name);
  c->setGeometry(r);
  return c;
}

// A translated caption may be longer than its button was made for: the font is made smaller, down to 6
// points, until the caption fits, and goes back to its own size when a shorter one comes.
inline void FitCaption(QAbstractButton* b) {
  if (!b || b->text().isEmpty()) return;
  QVariant own = b->property("tolvekOwnPointSize");
  if (!own.isValid()) {
    b->setProperty("tolvekOwnPointSize", b->font().pointSizeF());
    own = b->property("tolvekOwnPointSize");
  }
  int room = b->width() - 12;
  if (qobject_cast<::QCheckBox*>(b) || qobject_cast<::QRadioButton*>(b)) room -= 18;
  if (!b->icon().isNull()) room -= b->iconSize().width() + 4;
  QFont f = b->font();
  for (double size = own.toDouble(); size > 0; size -= 0.5) {
    f.setPointSizeF(std::max(size, 6.0));
    int widest = 0;
    for (const QString& line : b->text().split('\n')) widest = std::max(widest, QFontMetrics(f).horizontalAdvance(line));
    if (widest <= room || size <= 6.0) break;
  }
  if (f != b->font()) b->setFont(f);
}

}  // namespace tolvek::widgets
