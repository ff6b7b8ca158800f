#pragma once
// The one way the programs' windows make their controls: every control carries its design name as
// objectName, so the language tables and the tests find it by that name; most sit at pixel positions.
#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
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

// A control of type W, named, on parent at r.
template <class W>
W* Make(QWidget* parent, const char* name, QRect r) {
  W* w = Make<W>(parent, name);
  w->setGeometry(r);
  return w;
}

// A framed panel at r.
inline ::QFrame* Panel(QWidget* parent, const char* name, QRect r) {
  auto* p = Make<::QFrame>(parent, name, r);
  p->setFrameShape(::QFrame::StyledPanel);
  return p;
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

// A main-window button that takes the focus by Tab only: a click leaves the focus where the user was.
inline QPushButton* TabButton(QWidget* parent, const char* name, const char* caption, QRect r,
                              const char* hint = nullptr) {
  QPushButton* b = Button(parent, name, caption, r, hint);
  b->setFocusPolicy(Qt::TabFocus);
  return b;
}

// A dialog's button that Enter presses while it has the focus, as a dialog's buttons do by default.
inline QPushButton* DialogButton(QWidget* parent, const char* name, const char* caption, QRect r) {
  QPushButton* b = Button(parent, name, caption, r);
  b->setAutoDefault(true);
  return b;
}

inline ::QRadioButton* Radio(QWidget* parent, const char* name, const char* caption, QRect r) {
  auto* b = new ::QRadioButton(QString::fromUtf8(caption), parent);
  b->setObjectName(name);
  b->setGeometry(r);
  return b;
}

// A main-window choice that takes the focus by Tab only, as TabButton.
inline ::QRadioButton* TabRadio(QWidget* parent, const char* name, const char* caption, QRect r) {
  ::QRadioButton* b = Radio(parent, name, caption, r);
  b->setFocusPolicy(Qt::TabFocus);
  return b;
}

inline QLineEdit* Edit(QWidget* parent, const char* name, QRect r) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setGeometry(r);
  return e;
}

// An edit for a number, right-aligned as numbers are.
inline QLineEdit* NumberEdit(QWidget* parent, const char* name, QRect r) {
  QLineEdit* e = Edit(parent, name, r);
  e->setAlignment(Qt::AlignRight);
  return e;
}

// A text the user reads and cannot change.
inline ::QPlainTextEdit* Memo(QWidget* parent, const char* name, QRect r) {
  auto* m = new ::QPlainTextEdit(parent);
  m->setObjectName(name);
  m->setReadOnly(true);
  m->setGeometry(r);
  return m;
}

// A menu of a menu bar or of another menu.
template <class MenuOwner>
::QMenu* SubMenu(MenuOwner* parent, const char* name, const char* caption) {
  ::QMenu* m = parent->addMenu(QString::fromUtf8(caption));
  m->setObjectName(name);
  return m;
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
