#include "simulator/forms/form22.h"

#include "common/qt/widget_makers.h"
#include "simulator/forms/form1.h"
#include "simulator/translate.h"

namespace tolvek {

TForm22::TForm22(SimulatorState& st, TForm1* m, QWidget* parent) : QDialog(parent), state(st), main(m) {
  setObjectName("Form22");
  setWindowTitle(QString::fromUtf8("Auswahlfläche anzeigen"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint);
  setModal(true);
  setFixedSize(350, 214);
  Label1 = widgets::Label(this, "Label1", "Welche Auswahlflächen sollen gezeigt werden?", QRect(16, 10, 320, 20));
  chkAnzeigeEinz = widgets::Check(this, "chkAnzeigeEinz", "Einzelbaum an Bestandesgrenze", QRect(16, 38, 320, 24));
  chkAnzeigeUber = widgets::Check(this, "chkAnzeigeUber", "Überlappung an Bestandesgrenze", QRect(16, 68, 320, 24));
  chkAnzeigeImBe = widgets::Check(this, "chkAnzeigeImBe", "Überlappung im Bestandesinneren", QRect(16, 98, 320, 24));
  Panel3 = widgets::Button(this, "Panel3", "schnell", QRect(16, 134, 150, 26));
  Panel3->setStyleSheet("QPushButton#Panel3 { background: #ffffc0; }");
  Button1 = widgets::Button(this, "Button1", "weiter", QRect(16, 174, 150, 28));
  Button2 = widgets::Button(this, "Button2", "Abbrechen", QRect(184, 174, 150, 28));
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TForm22::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm22::Button2Click);
  connect(Panel3, &QPushButton::clicked, this, &TForm22::Panel3Click);
}

void TForm22::ClearOptions() {
  for (QCheckBox* c : {chkAnzeigeEinz, chkAnzeigeUber, chkAnzeigeImBe}) c->setChecked(false);
}

void TForm22::Button1Click() {
  auto& tv = state.trueValues;
  tv.showSingle = chkAnzeigeEinz->isChecked();
  tv.showBoundaryPairs = chkAnzeigeUber->isChecked();
  tv.showInnerPairs = chkAnzeigeImBe->isChecked();
  if (!tv.showSingle && !tv.showBoundaryPairs && !tv.showInnerPairs) {
    state.services.messages->PlatformBox(Translate(state.language, "Keine Alternative gewählt"), "",
                                         PlatformButtons::Ok, PlatformIcon::Information);
  }
  done(1);
}

void TForm22::Button2Click() {
  // The computation goes on, only without its step display.
  auto& tv = state.trueValues;
  tv.showSingle = tv.showBoundaryPairs = tv.showInnerPairs = false;
  if (main) main->EndSelectionAreaDisplay();
  done(2);
}

void TForm22::Panel3Click() {
  auto& tv = state.trueValues;
  tv.fast = !tv.fast;
  Panel3->setText(QString::fromStdString(Translate(state.language, tv.fast ? "schnell" : "schrittweise")));
}

}  // namespace tolvek
