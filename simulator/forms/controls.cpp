#include "simulator/forms/controls.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace tolvek {

QPushButton* NamedButton(QWidget* parent, const char* name, const char* caption, QRect place, const char* hint) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(name);
  b->setGeometry(place);
  if (hint) b->setToolTip(QString::fromUtf8(hint));
  return b;
}

QLabel* NamedLabel(QWidget* parent, const char* name, const char* text, QRect place) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  l->setObjectName(name);
  l->setGeometry(place);
  l->setTextFormat(Qt::PlainText);
  l->setWordWrap(true);
  return l;
}

QCheckBox* NamedCheckBox(QWidget* parent, const char* name, const char* caption, QRect place, bool checked) {
  auto* c = new QCheckBox(QString::fromUtf8(caption), parent);
  c->setObjectName(name);
  c->setGeometry(place);
  c->setChecked(checked);
  return c;
}

}  // namespace tolvek
