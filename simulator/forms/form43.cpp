#include "simulator/forms/form43.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "simulator/forms/form1.h"

namespace tolvek {

TForm43::TForm43(SimulatorState& st, Forms& fm, QWidget* parent) : QDialog(parent), state(st), forms(fm) {
  setObjectName("Form43");
  setWindowTitle(" Form43");
  setFixedSize(300, 150);
  Label1 = new QLabel(QString::fromUtf8("Modellbestände für die Betriebsinventur"), this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(16, 10, 270, 22);
  Label1->setWordWrap(true);
  ChkBox2 = new QCheckBox(QString::fromUtf8("Reale Bestände"), this);
  ChkBox2->setObjectName("ChkBox2");
  ChkBox2->setGeometry(24, 40, 260, 24);
  ChkBox2->setChecked(true);
  ChkBox3 = new QCheckBox(QString::fromUtf8("Generierte Bestände"), this);
  ChkBox3->setObjectName("ChkBox3");
  ChkBox3->setGeometry(24, 68, 260, 24);
  ChkBox3->setChecked(true);
  BtWeiter43 = new QPushButton("weiter", this);
  BtWeiter43->setObjectName("BtWeiter43");
  BtWeiter43->setGeometry(184, 108, 100, 30);
  connect(BtWeiter43, &QPushButton::clicked, this, &TForm43::BtWeiter43Click);
}

void TForm43::BtWeiter43Click() {
  forms.form1->SetModelStandChoice(ChkBox2->isChecked(), ChkBox3->isChecked());
  forms.form1->LoadModelStandTable();
  done(1);
}

}  // namespace tolvek
