#include "simulator/forms/form43.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "simulator/forms/controls.h"
#include "simulator/forms/form1.h"

namespace tolvek {

TForm43::TForm43(SimulatorState& st, Forms& fm, QWidget* parent) : QDialog(parent), state(st), forms(fm) {
  setObjectName("Form43");
  setWindowTitle(" Form43");
  setFixedSize(300, 150);
  Label1 = NamedLabel(this, "Label1", "Modellbestände für die Betriebsinventur", QRect(16, 10, 270, 22));
  ChkBox2 = NamedCheckBox(this, "ChkBox2", "Reale Bestände", QRect(24, 40, 260, 24), true);
  ChkBox3 = NamedCheckBox(this, "ChkBox3", "Generierte Bestände", QRect(24, 68, 260, 24), true);
  BtWeiter43 = NamedButton(this, "BtWeiter43", "weiter", QRect(184, 108, 100, 30));
  connect(BtWeiter43, &QPushButton::clicked, this, &TForm43::BtWeiter43Click);
}

void TForm43::BtWeiter43Click() {
  forms.form1->SetModelStandChoice(ChkBox2->isChecked(), ChkBox3->isChecked());
  forms.form1->LoadModelStandTable();
  done(1);
}

}  // namespace tolvek
