#include "common/qt/hint_filter.h"

#include <QHelpEvent>
#include <QPalette>
#include <QToolTip>
#include <QWidget>

#include "common/qt/qt_services.h"
#include "common/translate.h"

namespace tolvek {

void HintFilter::SetHintPalette() {
  QPalette p = QToolTip::palette();
  p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xAC));  // $ACFFFF
  p.setColor(QPalette::ToolTipText, Qt::black);
  QToolTip::setPalette(p);
}

bool HintFilter::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
  auto* w = static_cast<QWidget*>(watched);
  if (w->toolTip().isEmpty()) return false;
  std::string hint = HintText(S(w->toolTip()));
  for (char& c : hint)
    if (c == '\r') c = '\n';
  auto* he = static_cast<QHelpEvent*>(e);
  QString text = Q(hint).toHtmlEscaped().replace("\n", "<br>");
  QToolTip::showText(he->globalPos(), "<qt>" + text + "</qt>", w, QRect(), 5000);
  return true;
}

}  // namespace tolvek
