#pragma once
// Controls placed at pixel positions with their design names as objectName: the language tables and
// the tests find every control by that name.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QString>

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

}  // namespace tolvek::widgets
