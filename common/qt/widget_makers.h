#pragma once
// The one way the programs' windows make their controls: every control carries its design name as
// objectName, so the language tables and the tests find it by that name; most sit at pixel positions.
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

// w, named.
template <class W>
W* Named(W* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}
template <class W>
W* Named(W* w, const QString& name) {
  w->setObjectName(name);
  return w;
}

// A control of type W, named, on parent.
template <class W>
W* Make(QWidget* parent, const char* name) {
  return Named(new W(parent), name);
}

// A plain-text label.
inline QLabel* Label(QWidget* parent, const char* name, const char* text, QRect r) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  l->setObjectName(name);
  l->setTextFormat(Qt::PlainText);
  l->setGeometry(r);
  return l;
}

// A plain-text label that wraps its words.
inline QLabel* WrappingLabel(QWidget* parent, const char* name, const char* text, QRect r) {
  QLabel* l = Label(parent, name, text, r);
  l->setWordWrap(true);
  return l;
}

// A button that Enter does not press only because it has the focus; hint: its tool tip.
inline QPushButton* Button(QWidget* parent, const char* name, const char* caption, QRect r,
                           const char* hint = nullptr) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(name);
  b->setGeometry(r);
  b->setAutoDefault(false);
  if (hint) b->setToolTip(QString::fromUtf8(hint));
  return b;
}

inline QLineEdit* Edit(QWidget* parent, const char* name, QRect r) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setGeometry(r);
  return e;
}

inline QCheckBox* Check(QWidget* parent, const char* name, const char* caption, QRect r, bool checked = false) {
  auto* c = new QCheckBox(QString::fromUtf8(caption), parent);
  c->setObjectName(name);
  c->setGeometry(r);
  c->setChecked(checked);
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
    for (const QString& line : b->text().split('\n'))
      widest = std::max(widest, QFontMetrics(f).horizontalAdvance(line));
    if (widest <= room || size <= 6.0) break;
  }
  if (f != b->font()) b->setFont(f);
}

}  // namespace tolvek::widgets
