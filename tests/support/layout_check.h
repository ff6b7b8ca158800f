#pragma once
// A check of what a user sees of the windows: no two visible controls a user needs overlap, none is cut
// by the window or panel it sits in, its caption fits it, and every one lies inside the screen.
//
// Controls a user needs: buttons, check and radio buttons, labels that show a text or a picture, edits,
// lists, memos, group boxes and the scroll box of the stand map (its contents scroll, they are not
// checked). Plain frames and panels are the ground controls stand on and are not checked themselves; a
// picture label is the ground of the controls that lie wholly on it and are stacked above it (the legend's
// species buttons on the legend picture). Of a label its text as laid out counts, not its whole box.
// Other visible top-level windows (the stand description beside the main window) cover what lies under
// their frames.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScreen>
#include <QStyle>
#include <QStringList>
#include <QTextEdit>
#include <QWidget>
#include <vector>

namespace tolvek::testing {

struct SeenControl {
  QWidget* widget = nullptr;
  QRect rect;  // global: what of it shows
  bool picture = false;
};

inline QString NameOf(const QWidget* w) {
  QString n = w->objectName().isEmpty() ? QString(w->metaObject()->className()) : w->objectName();
  if (const QWidget* win = w->window(); win && win != w) n = win->objectName() + "." + n;
  return n;
}

inline QRect GlobalRect(const QWidget* w, const QRect& local) { return QRect(w->mapToGlobal(local.topLeft()), local.size()); }

// The part of a label that shows: its text as laid out in it, or its picture.
inline QRect LabelContent(const QLabel* l) {
  const QRect box = l->contentsRect();
  if (!l->pixmap().isNull()) {
    if (l->hasScaledContents()) return box;
    QRect p(QPoint(0, 0), l->pixmap().deviceIndependentSize().toSize());
    return QStyle::alignedRect(l->layoutDirection(), l->alignment(), p.size(), box);
  }
  if (l->text().trimmed().isEmpty()) return {};
  const int flags = int(l->alignment()) | (l->wordWrap() ? int(Qt::TextWordWrap) : 0);
  const QRect text = QFontMetrics(l->font()).boundingRect(box, flags, l->text());
  return text;
}

inline bool IsControl(const QWidget* w) {
  return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLabel*>(w) ||
         qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractScrollArea*>(w) ||
         qobject_cast<const QGroupBox*>(w);
}

inline void CollectControls(QWidget* w, std::vector<SeenControl>& out) {
  for (QObject* o : w->children()) {
    auto* c = qobject_cast<QWidget*>(o);
    if (!c || c->isWindow() || !c->isVisible()) continue;
    if (IsControl(c)) {
      QRect local = c->rect();
      bool picture = false;
      if (auto* l = qobject_cast<QLabel*>(c)) {
        local = LabelContent(l);
        picture = !l->pixmap().isNull();
      }
      if (!local.isEmpty()) out.push_back({c, GlobalRect(c, local), picture});
    }
    // What scrolls inside a scroll area (the stand map) is not laid out by the window.
    if (!qobject_cast<QAbstractScrollArea*>(c)) CollectControls(c, out);
  }
}

inline bool IsAncestor(const QWidget* a, const QWidget* b) {
  for (const QWidget* p = b->parentWidget(); p; p = p->parentWidget())
    if (p == a) return true;
  return false;
}

// Whether a lies above b where they overlap: the one later among the children of their nearest common
// ancestor.
inline bool StackedAbove(const QWidget* a, const QWidget* b) {
  std::vector<const QWidget*> chainA, chainB;
  for (const QWidget* p = a; p; p = p->parentWidget()) chainA.push_back(p);
  for (const QWidget* p = b; p; p = p->parentWidget()) chainB.push_back(p);
  while (chainA.size() > 1 && chainB.size() > 1 && chainA[chainA.size() - 2] == chainB[chainB.size() - 2]) {
    chainA.pop_back();
    chainB.pop_back();
  }
  const QWidget* ca = chainA.size() > 1 ? chainA[chainA.size() - 2] : a;
  const QWidget* cb = chainB.size() > 1 ? chainB[chainB.size() - 2] : b;
  const QObjectList& kids = chainA.back()->children();
  return kids.indexOf(const_cast<QWidget*>(ca)) > kids.indexOf(const_cast<QWidget*>(cb));
}

// A caption wider than its control is cut.
inline bool CaptionCut(const QWidget* w) {
  if (auto* b = qobject_cast<const QAbstractButton*>(w)) {
    if (b->text().isEmpty()) return false;
    int room = b->width() - 8;
    if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) room -= 18;
    if (!b->icon().isNull()) room -= b->iconSize().width() + 4;
    int widest = 0;
    for (const QString& line : b->text().split('\n')) widest = std::max(widest, QFontMetrics(b->font()).horizontalAdvance(line));
    return widest > room;
  }
  if (auto* g = qobject_cast<const QGroupBox*>(w))
    return QFontMetrics(g->font()).horizontalAdvance(g->title()) + 16 > g->width();
  if (auto* l = qobject_cast<const QLabel*>(w)) {
    if (!l->pixmap().isNull() || l->text().trimmed().isEmpty()) return false;
    const QRect text = LabelContent(l);
    const QRect box = l->contentsRect();
    return text.width() > box.width() + 1 || text.height() > box.height() + 1;
  }
  return false;
}

// Everything wrong with what the windows show on the screen. windows: the main window first; every
// other visible top-level window counts as covering what lies under it.
inline QStringList LayoutProblems(const std::vector<QWidget*>& windows, const QRect& screen) {
  QStringList problems;
  std::vector<SeenControl> controls;
  for (QWidget* win : windows) {
    if (!win || !win->isVisible()) continue;
    if (!screen.contains(win->frameGeometry()))
      problems << QString("%1: window %2 reaches beyond the screen %3")
                      .arg(win->objectName())
                      .arg(QString("%1,%2 %3x%4").arg(win->frameGeometry().x()).arg(win->frameGeometry().y())
                                                 .arg(win->frameGeometry().width()).arg(win->frameGeometry().height()))
                      .arg(QString("%1x%2").arg(screen.width()).arg(screen.height()));
    std::vector<SeenControl> own;
    CollectControls(win, own);
    for (const SeenControl& c : own) {
      if (!screen.contains(c.rect)) problems << NameOf(c.widget) + ": outside the screen";
      // Cut by a panel or window it sits in.
      for (QWidget* p = c.widget->parentWidget(); p; p = p->parentWidget()) {
        if (p->isWindow()) {
          if (!GlobalRect(p, p->rect()).contains(GlobalRect(c.widget, c.widget->rect())))
            problems << NameOf(c.widget) + ": cut by its window";
          break;
        }
        if (qobject_cast<QAbstractScrollArea*>(p)) break;
        if (!GlobalRect(p, p->rect()).contains(GlobalRect(c.widget, c.widget->rect()))) {
          problems << NameOf(c.widget) + ": cut by " + NameOf(p);
          break;
        }
      }
      if (CaptionCut(c.widget)) problems << NameOf(c.widget) + ": caption cut";
      // Under another window's frame.
      for (QWidget* other : windows)
        if (other && other != win && other->isVisible() && other != c.widget->window() &&
            other->frameGeometry().intersects(c.rect) && win == windows.front())
          problems << NameOf(c.widget) + ": under window " + other->objectName();
    }
    controls.insert(controls.end(), own.begin(), own.end());
  }
  for (std::size_t i = 0; i < controls.size(); ++i)
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const SeenControl& a = controls[i];
      const SeenControl& b = controls[j];
      if (a.widget->window() != b.widget->window()) continue;
      if (!a.rect.intersects(b.rect)) continue;
      if (IsAncestor(a.widget, b.widget) || IsAncestor(b.widget, a.widget)) continue;
      // A picture as the ground of a control laid wholly on it.
      if (a.picture && a.rect.contains(b.rect) && StackedAbove(b.widget, a.widget)) continue;
      if (b.picture && b.rect.contains(a.rect) && StackedAbove(a.widget, b.widget)) continue;
      problems << NameOf(a.widget) + " and " + NameOf(b.widget) + " overlap";
    }
  return problems;
}

}  // namespace tolvek::testing
