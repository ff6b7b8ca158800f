#include "simulator/forms/form30.h"

#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "common/qt/qt_services.h"
#include "common/qt/widget_makers.h"
#include "simulator/enterprise/model_stand_loading.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form35.h"
#include "simulator/forms/form36.h"

namespace tolvek {

TForm30::TForm30(SimulatorState& st, Forms& fm, QWidget* parent) : QDialog(parent), state(st), forms(fm) {
  setObjectName("Form30");
  setWindowTitle(" Form30");
  setFixedSize(232, 392);
  Label1 = widgets::WrappingLabel(this, "Label1", "Modellbestände", QRect(8, 4, 170, 22));
  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);
  SpeedButton1 = widgets::Button(this, "SpeedButton1", "x", QRect(202, 4, 22, 22), "Bestandesdaten schliessen");
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setGeometry(8, 30, 216, 246);
  ListBox1->setToolTip(QString::fromUtf8("Bestand mit Doppelklick wählen"));
  QFont mono("Courier New");
  mono.setStyleHint(QFont::Monospace);
  mono.setPointSize(9);
  ListBox1->setFont(mono);
  LbF30Frage = widgets::WrappingLabel(this, "LbF30Frage", "Klassifikation ändern", QRect(13, 282, 190, 22));
  LbF30FrageW = widgets::WrappingLabel(this, "LbF30FrageW", "", QRect(8, 280, 156, 40));
  BtF30Ja = widgets::Button(this, "BtF30Ja", "Ja", QRect(168, 284, 56, 28));
  BtChAKL =
      widgets::Button(this, "BtChAKL", "BT / Akl", QRect(13, 310, 90, 28), "Bestandestyp und Altersklasse ändern");
  BtChWET = widgets::Button(this, "BtChWET", "WET / BHT", QRect(109, 310, 90, 28),
                            "Waldentwicklungstyp und Behandlungstyp ändern");
  F30BtnZurueck = widgets::Button(this, "F30BtnZurueck", "zurück", QRect(8, 352, 216, 30));
  Button1 = widgets::Button(this, "Button1", "schliessen", QRect(8, 352, 216, 30));
  F30BtZurueck = widgets::Button(this, "F30BtZurueck", "zurück", QRect(8, 352, 216, 30));
  BtnDrehen = widgets::Button(this, "BtnDrehen", "", QRect(0, 0, 0, 0));
  BtDelF35 = widgets::Button(this, "BtDelF35", "", QRect(0, 0, 0, 0));
  for (QWidget* w : std::initializer_list<QWidget*>{Button1, F30BtZurueck, BtnDrehen, BtDelF35, LbF30FrageW, BtF30Ja})
    w->hide();

  connect(ListBox1, &QListWidget::itemClicked, this, [this] { ListBox1DblClick(); });
  connect(BtF30Ja, &QPushButton::clicked, this, &TForm30::BtF30JaClick);
  connect(Button1, &QPushButton::clicked, this, &TForm30::Button1Click);
  connect(F30BtnZurueck, &QPushButton::clicked, this, &TForm30::F30BtnZurueckClick);
  connect(F30BtZurueck, &QPushButton::clicked, this, &TForm30::F30BtZurueckClick);
  connect(BtChAKL, &QPushButton::clicked, this, &TForm30::BtChAKLClick);
  connect(BtChWET, &QPushButton::clicked, this, &TForm30::BtChWETClick);
  connect(SpeedButton1, &QPushButton::clicked, this, &TForm30::SpeedButton1Click);
  connect(BtnDrehen, &QPushButton::clicked, this, &TForm30::CloseStandInformation);
  connect(BtDelF35, &QPushButton::clicked, this, &TForm30::CloseStandInformation);
}

void TForm30::FillList() {
  // The list is refilled only when the table changed: a click on an item reloads the table while the
  // list still handles that click.
  const auto& entries = state.modelStands.table.entries;
  bool same = ListBox1->count() == static_cast<int>(entries.size());
  for (int i = 0; same && i < ListBox1->count(); ++i)
    same = S(ListBox1->item(i)->text()) == entries[static_cast<std::size_t>(i)].itemText;
  if (!same) {
    ListBox1->clear();
    for (const ModelStandEntry& e : entries) ListBox1->addItem(Q(e.itemText));
  }
  SelectItem(state.modelStands.listPosition - 1);
}

void TForm30::SelectItem(int index) {
  if (index >= 0 && index < ListBox1->count())
    ListBox1->setCurrentRow(index);
  else
    ListBox1->setCurrentRow(-1);
}

void TForm30::ListBox1DblClick() {
  const int index = ListBox1->currentRow();
  if (index < 0) return;
  ModelStandState& m = state.modelStands;
  m.chosenText = S(ListBox1->item(index)->text());
  m.chosenEntry = m.listPosition = index + 1;
  BtChWET->setEnabled(true);
  BtChAKL->setEnabled(true);
  forms.form1->LoadSelectedStand();
  // The question of the single-stand choice stands where this label would.
  if (BtF30Ja->isHidden()) LbF30Frage->show();
  if (forms.form36) forms.form36->close();
}

void TForm30::BtF30JaClick() {
  ModelStandState& m = state.modelStands;
  m.singleModelStand = true;
  m.chosenEntry = m.listPosition;
  forms.form1->ShowSingleModelStand();
  Tag = 1;
  if (forms.form35) forms.form35->PnDuVertlg->hide();
  done(1);
}

void TForm30::Button1Click() {
  ModelStandState& m = state.modelStands;
  m.singleModelStand = true;
  Tag = 1;
  m.chosenEntry = m.listPosition = 0;
  done(1);
}

void TForm30::F30BtnZurueckClick() {
  if (forms.form35) forms.form35->PnDuVertlg->hide();
  forms.form1->sBtZurueck->show();
  done(2);
}

void TForm30::F30BtZurueckClick() { done(1); }

void TForm30::ChangeClassification(ClassificationMode mode) {
  ModelStandState& m = state.modelStands;
  SetClassification(state, mode);
  m.classWrite = false;
  if (!forms.form36) return;
  forms.form36->Prepare();
  forms.form36->StandClassInRegister();
  forms.form1->LoadSelectedStand();
}

void TForm30::BtChAKLClick() { ChangeClassification(ClassificationMode::StandTypes); }
void TForm30::BtChWETClick() { ChangeClassification(ClassificationMode::DevelopmentTypes); }

void TForm30::SpeedButton1Click() {
  SelectItem(state.modelStands.chosenEntry - 1);
  CloseStandInformation();
}

void TForm30::CloseStandInformation() {
  if (forms.form35) forms.form35->close();
}

}  // namespace tolvek
