#include "simulator/forms/translate_forms.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVariant>
#include <QWidget>

#include "common/qt/qt_services.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/widget_makers.h"

namespace tolvek {

namespace {

// Dynamic properties remembering a control's built-in text and the text last set here.
const char* OwnProperty(TextProperty p) { return p == TextProperty::kCaption ? "tolvekOwnCaption" : "tolvekOwnHint"; }
const char* SetProperty(TextProperty p) { return p == TextProperty::kCaption ? "tolvekSetCaption" : "tolvekSetHint"; }

QString CurrentText(QObject* o, TextProperty p, bool isWindow) {
  if (p == TextProperty::kHint) {
    if (auto* a = qobject_cast<QAction*>(o)) return a->toolTip();
    if (auto* w = qobject_cast<QWidget*>(o)) return w->toolTip();
    return {};
  }
  if (isWindow) return static_cast<QWidget*>(o)->windowTitle();
  if (auto* b = qobject_cast<QAbstractButton*>(o)) return b->text();
  if (auto* l = qobject_cast<QLabel*>(o)) return l->text();
  if (auto* g = qobject_cast<QGroupBox*>(o)) return g->title();
  if (auto* m = qobject_cast<QMenu*>(o)) return m->title();
  if (auto* a = qobject_cast<QAction*>(o)) return a->text();
  return {};
}

void SetText(QObject* o, TextProperty p, bool isWindow, const QString& text) {
  if (p == TextProperty::kHint) {
    if (auto* a = qobject_cast<QAction*>(o)) a->setToolTip(text);
    else if (auto* w = qobject_cast<QWidget*>(o)) w->setToolTip(text);
    return;
  }
  if (isWindow) {
    static_cast<QWidget*>(o)->setWindowTitle(text);
  } else if (auto* b = qobject_cast<QAbstractButton*>(o)) {
    b->setText(text);
  } else if (auto* l = qobject_cast<QLabel*>(o)) {
    // "Programm <Vorlint.exe> nicht gefunden" must not vanish as markup.
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
  } else if (auto* g = qobject_cast<QGroupBox*>(o)) {
    g->setTitle(text);
  } else if (auto* m = qobject_cast<QMenu*>(o)) {
    m->setTitle(text);
  } else if (auto* a = qobject_cast<QAction*>(o)) {
    a->setText(text);
  }
}

void Apply(QObject* o, const TextAssignment& t) {
  const bool isWindow = t.component.empty();
  const QString current = CurrentText(o, t.property, isWindow);
  const QVariant own = o->property(OwnProperty(t.property));
  if (!t.text) {
    // Back to the built-in text, but never over a text the program has set since.
    if (own.isValid() && current == o->property(SetProperty(t.property)).toString()) {
      SetText(o, t.property, isWindow, own.toString());
      o->setProperty(SetProperty(t.property), own);
    }
    return;
  }
  if (!own.isValid()) o->setProperty(OwnProperty(t.property), current);
  const QString text = Q(*t.text);
  SetText(o, t.property, isWindow, text);
  o->setProperty(SetProperty(t.property), text);
}

void TranslateList(SimulatorState& state, const FormList& list) {
  state.translation.formId = list.formId;
  ApplyTexts(PlanFormTexts(state.language, list));
}

}  // namespace

QWidget* FindWindowByName(const std::string& name) {
  const QString n = Q(name);
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == n) return w;
  return nullptr;
}

namespace {

// Windows parented to another window (the dialogs of the main window) are not its controls: the search
// does not go into them. Menus are windows too, but belong to the window that holds them.
bool OwnChild(QObject* o) {
  if (!o->isWidgetType()) return true;
  auto* w = static_cast<QWidget*>(o);
  return !w->isWindow() || qobject_cast<QMenu*>(w) != nullptr;
}

QObject* FindOwnChild(QObject* parent, const QString& name) {
  for (QObject* c : parent->children())
    if (OwnChild(c) && c->objectName() == name) return c;
  for (QObject* c : parent->children())
    if (OwnChild(c))
      if (QObject* found = FindOwnChild(c, name)) return found;
  return nullptr;
}

}  // namespace

QObject* FindControl(QWidget* window, const std::string& name) {
  if (!window) return nullptr;
  if (name.empty()) return window;
  return FindOwnChild(window, Q(name));
}

bool MatchesKind(QObject* o, ControlKind kind) {
  if (!o) return false;
  switch (kind) {
    case ControlKind::kBitmapButton:
    case ControlKind::kButton:
    case ControlKind::kSpeedButton:
      return qobject_cast<QAbstractButton*>(o) != nullptr;
    case ControlKind::kLabel:
      return qobject_cast<QLabel*>(o) != nullptr;
    case ControlKind::kGroupBox:
    case ControlKind::kRadioGroup:
      return qobject_cast<QGroupBox*>(o) != nullptr;
    case ControlKind::kMenuItem:
      return qobject_cast<QAction*>(o) != nullptr || qobject_cast<QMenu*>(o) != nullptr;
    case ControlKind::kCheckBox:
      return qobject_cast<QCheckBox*>(o) != nullptr;
    case ControlKind::kRadioButton:
      return qobject_cast<QRadioButton*>(o) != nullptr;
    case ControlKind::kImage:
    case ControlKind::kWidget:
    case ControlKind::kWindow:
      return o->isWidgetType();
  }
  return false;
}

void ApplyTexts(const std::vector<TextAssignment>& texts) {
  for (const TextAssignment& t : texts) {
    QObject* o = FindControl(FindWindowByName(t.window), t.component);
    if (o) Apply(o, t);
  }
}

void TranslateStartScreen(TForm1& form) {
  SimulatorState& state = form.state;
  const FormList& list = StartScreenList();
  state.translation.formId = list.formId;
  // The texts of the title screen's labels and buttons, then the tool bar as the title screen shows it.
  ApplyTexts(PlanFormTexts(state.language, list));
  for (QPushButton* b : {form.sBtBestand, form.sBtVerfahren, form.sBtGitter, form.sBtAuswertung, form.sBtDiagramm,
                         form.sBtProbeBaeume, form.sBtExtras, form.sBtAnweisung, form.sBtAnmerk, form.sBtZurueck,
                         form.BtEnde}) {
    if (b) b->show();
  }
  for (QPushButton* b : {form.sBtBestand, form.sBtVerfahren, form.sBtGitter, form.sBtAuswertung, form.sBtDiagramm,
                         form.sBtProbeBaeume, form.sBtExtras}) {
    if (b) b->setEnabled(false);
  }
  FitCaptions(&form);
}

void FitCaptions(QWidget* window) {
  if (!window) return;
  for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) widgets::FitCaption(b);
}

void TranslateAllForms(SimulatorState& state) {
  for (const FormList& list : AllFormLists()) TranslateList(state, list);
  // The graphics button names what it will do: "Grafik aus" only while the graphics are on.
  if (!state.run.graphics)
    ApplyTexts({{kMainWindow, "F1BnStatus", ControlKind::kSpeedButton, TextProperty::kCaption,
                 Translate(state.language, "Grafik ein")}});
  state.translation.formId = "F1";
  // Captions of another language may be longer than their buttons were made for.
  for (QWidget* window : QApplication::topLevelWidgets()) FitCaptions(window);
}

void TranslateMessageBoxButtons(SimulatorState& state) { TranslateList(state, MessageBoxList()); }

}  // namespace tolvek
