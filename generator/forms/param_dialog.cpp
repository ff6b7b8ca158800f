#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/format.h"
#include "common/qt/qt_services.h"
#include "common/qt/widget_makers.h"
#include "common/translate.h"
#include "generator/flow.h"
#include "generator/forms/windows.h"

namespace tolvek::generator {

namespace {

QLabel* NamedLabel(const QString& text, const QString& name) { return widgets::Named(new QLabel(text), name); }

// The row of a species edit (Edit1 … Edit24): the integer part of number / 5 + 1.
int RowOf(int editNumber) { return editNumber / 5 + 1; }

}  // namespace

QLineEdit* TBtnBottomDlg::AddEdit(int number, int maxLength, int width) {
  auto* e = new QLineEdit;
  e->setObjectName(QString("Edit%1").arg(number));
  e->setMaxLength(maxLength);
  e->setFixedWidth(width);
  e->setAlignment(Qt::AlignRight);
  Edit[number] = e;
  return e;
}

TBtnBottomDlg::TBtnBottomDlg(GeneratorState& state) : state_(state) {
  setObjectName("BtnBottomDlg");
  setWindowTitle("F4 Bestand");
  auto* outer = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  outer->addLayout(top);

  // The species rows.
  auto* rowsBox = new QGroupBox;
  rowsBox->setObjectName("GroupBox1");
  auto* g = new QGridLayout(rowsBox);
  const char* heads[] = {"Nr.", "Baumart", "BHD cm", "VK %", "N/ha", "G/ha"};
  for (int c = 0; c < 6; ++c) {
    QLabel* h = NamedLabel(heads[c], QString("Label%1").arg(6 + c));
    h->setAlignment(c == 1 ? Qt::AlignLeft : Qt::AlignRight);
    g->addWidget(h, 0, c);
  }
  for (int row = 1; row <= kRowCount; ++row) {
    const int first = 5 * row - 4;
    QLineEdit* code = AddEdit(first, 1, 28);
    code->setAlignment(Qt::AlignCenter);
    g->addWidget(code, row, 0);
    RowName[row] = NamedLabel(" ", QString("Label%1").arg(row));
    RowName[row]->setMinimumWidth(90);
    g->addWidget(RowName[row], row, 1);
    g->addWidget(AddEdit(first + 1, 3, 48), row, 2);
    g->addWidget(AddEdit(first + 2, 3, 48), row, 3);
    g->addWidget(AddEdit(first + 3, 4, 56), row, 4);
    RowG[row] = NamedLabel("0.0", QString("Label%1").arg(14 + row));
    RowG[row]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    RowG[row]->setMinimumWidth(56);
    g->addWidget(RowG[row], row, 5);
    QObject::connect(code, &QLineEdit::textEdited, this, [this, first] { GibBaName(first); });
    QObject::connect(code, &QLineEdit::editingFinished, this, [this, first] { GibBaName(first); });
    for (int k = first + 1; k <= first + 3; ++k)
      QObject::connect(Edit[k], &QLineEdit::editingFinished, this, [this, k] { VC_Feld(k); });
  }
  g->addWidget(NamedLabel("Summe", "Label12"), kRowCount + 1, 1);
  LblBaumzahl = NamedLabel("0", "LblBaumzahl");
  LblBaumzahl->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  g->addWidget(LblBaumzahl, kRowCount + 1, 4);
  Label20 = NamedLabel("0.0", "Label20");
  Label20->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  g->addWidget(Label20, kRowCount + 1, 5);
  g->setRowStretch(kRowCount + 2, 1);
  top->addWidget(rowsBox);

  // Pattern, gap, groups and felling.
  auto* nineBox = new QGroupBox;
  nineBox->setObjectName("GroupBox2");
  auto* n = new QGridLayout(nineBox);
  const char* names[kNineCount] = {"Stammverteilung (0-9)", "Blöße Ost-West (m)", "Blöße Nord-Süd (m)",
                                   "Restbestockung (%)",    "Gruppen (0-2)",      "Gruppendurchmesser (m)",
                                   "Anteil innen (%)",      "Anteil außen (%)",   "Hiebsentnahme (%)"};
  const int labelNumbers[kNineCount] = {21, 22, 24, 25, 26, 27, 28, 29, 30};
  for (int i = 0; i < kNineCount; ++i) {
    n->addWidget(NamedLabel(names[i], QString("Label%1").arg(labelNumbers[i])), i, 0);
    QLineEdit* e = AddEdit(26 + i, 3, 48);
    n->addWidget(e, i, 1);
    const bool onChange = i == kStemDistribution || i == kGroups;
    if (onChange) QObject::connect(e, &QLineEdit::textEdited, this, [this, i] { NineChanged(i, false); });
    QObject::connect(e, &QLineEdit::editingFinished, this, [this, i] { NineChanged(i, true); });
  }
  BxPW = new QCheckBox("Plenterwald");
  BxPW->setObjectName("BxPW");
  BxPW->setToolTip("Wenn gesetzt, dann BHD-Vorgabe unwirsam");
  QObject::connect(BxPW, &QCheckBox::toggled, this, [this](bool on) { state_.parameters.plenterForest = on; });
  n->addWidget(BxPW, kNineCount, 0, 1, 2);
  n->setRowStretch(kNineCount + 1, 1);
  top->addWidget(nineBox);

  // The species codes and the notes.
  auto* legend = new QGridLayout;
  legend->addWidget(NamedLabel("Baumarten:", "Label13"), 0, 0);
  for (int code = 1; code <= 9; ++code) {
    LbBa[code] = NamedLabel(QString("%1").arg(code), QString("LbBa%1").arg(code));
    legend->addWidget(LbBa[code], (code - 1) / 5, 1 + (code - 1) % 5);
  }
  outer->addLayout(legend);
  Label23 = NamedLabel("Diese Vorgaben werden im generierten Bestand nur erreicht, wenn", "Label23");
  Label31 = NamedLabel("keine Blöße, Hiebsentnahme und gruppenweise Mischung vorkommt.", "Label31");
  outer->addWidget(Label23);
  outer->addWidget(Label31);

  auto* buttons = new QHBoxLayout;
  BtnZeichne = new QPushButton("Bestand zeichnen");
  BtnZeichne->setObjectName("BtnZeichne");
  BtnZeichne->setDefault(true);
  BtnSpeichern = new QPushButton("Vorgaben speichern");
  BtnSpeichern->setObjectName("BtnSpeichern");
  BtnLesen = new QPushButton("Vorgaben lesen");
  BtnLesen->setObjectName("BtnLesen");
  CancelBtn = new QPushButton("Abbruch");
  CancelBtn->setObjectName("CancelBtn");
  for (QPushButton* b : {BtnZeichne, BtnSpeichern, BtnLesen, CancelBtn}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  BtnZeichne->setAutoDefault(true);
  outer->addLayout(buttons);
  outer->setSizeConstraint(QLayout::SetFixedSize);
  QObject::connect(BtnZeichne, &QPushButton::clicked, this, [this] { BtnZeichneClick(); });
  QObject::connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
  QObject::connect(BtnSpeichern, &QPushButton::clicked, this, [this] { BtnSpeichernClick(); });
  QObject::connect(BtnLesen, &QPushButton::clicked, this, [this] { BtnLesenClick(); });
}

void TBtnBottomDlg::ShowParameters() {
  showing_ = true;
  const GenerationParameters& p = state_.parameters;
  for (int row = 1; row <= kRowCount; ++row) {
    const SpeciesRow& r = p.rows[row - 1];
    const int first = 5 * row - 4;
    const bool used = r.inUse();
    Edit[first]->setText(used ? Q(FormatIntPositive(r.code, 1)) : " ");
    Edit[first + 1]->setText(used ? Q(RowFieldText(RowField::kMean, r.mean)) : "");
    Edit[first + 2]->setText(used ? Q(RowFieldText(RowField::kCv, r.cv)) : "");
    Edit[first + 3]->setText(used ? Q(RowFieldText(RowField::kStems, r.stems)) : "");
    RowName[row]->setText(used ? Q(SpeciesNameOf(r.code, state_.language)) : " ");
  }
  for (int i = 0; i < kNineCount; ++i) Edit[26 + i]->setText(Q(NineText(i, p.nine[i])));
  BxPW->setChecked(p.plenterForest);
  showing_ = false;
  UpdateBasalAreas();
}

void TBtnBottomDlg::UpdateBasalAreas() {
  const ParameterTotals t = generator::UpdateBasalAreas(state_.parameters);
  for (int row = 1; row <= kRowCount; ++row) {
    const SpeciesRow& r = state_.parameters.rows[row - 1];
    RowG[row]->setText(Q(FixedText(r.inUse() ? r.basalArea : 0.0, 1)));
  }
  Label20->setText(Q(FixedText(t.basalArea, 1)));
  LblBaumzahl->setText(QString::number(t.stems));
}

void TBtnBottomDlg::GibBaName(int editNumber) {
  if (showing_) return;
  const int row = RowOf(editNumber);
  SpeciesRow& r = state_.parameters.rows[row - 1];
  const CodeEdit e = ApplyCodeRule(S(Edit[editNumber]->text()));
  if (e.beep) state_.services.beeper->Beep(440, 100);
  if (Q(e.text) != Edit[editNumber]->text()) Edit[editNumber]->setText(Q(e.text));
  switch (e.action) {
    case CodeEdit::Action::kLeave:
      break;
    case CodeEdit::Action::kClearRow:
      r = SpeciesRow{};
      for (int k = editNumber + 1; k <= editNumber + 3; ++k) Edit[k]->setText("");
      RowName[row]->setText(" ");
      break;
    case CodeEdit::Action::kSetCode:
    case CodeEdit::Action::kRefuse:
      r.code = e.code;
      RowName[row]->setText(e.code > 0 ? Q(SpeciesNameOf(e.code, state_.language)) : " ");
      break;
  }
  UpdateBasalAreas();
}

void TBtnBottomDlg::VC_Feld(int editNumber) {
  if (showing_) return;
  const int row = RowOf(editNumber);
  SpeciesRow& r = state_.parameters.rows[row - 1];
  const RowField f = editNumber % 5 == 2 ? RowField::kMean : editNumber % 5 == 3 ? RowField::kCv : RowField::kStems;
  const int v = ClampRowField(f, FieldInt(S(Edit[editNumber]->text())));
  if (f == RowField::kMean)
    r.mean = v;
  else if (f == RowField::kCv)
    r.cv = v;
  else
    r.stems = v;
  Edit[editNumber]->setText(r.inUse() ? Q(RowFieldText(f, v)) : "");
  UpdateBasalAreas();
}

void TBtnBottomDlg::NineChanged(int index, bool left) {
  if (showing_) return;
  QLineEdit* e = Edit[26 + index];
  int& value = state_.parameters.nine[index];
  const std::optional<long long> typed = ParseInt(TrimSpaces(S(e->text())));
  if (!left) {
    // Stem distribution and groups take a valid number as it is typed; a number out of range is
    // replaced at once.
    if (!typed) return;
    value = ClampNine(index, *typed, state_.level);
    if (value != *typed) e->setText(QString::number(value));
  } else {
    const bool keepLastValid = index == kStemDistribution || index == kGroups;
    value = ClampNine(index, typed ? *typed : (keepLastValid ? value : 0), state_.level);
    e->setText(Q(NineText(index, value)));
  }
  if (index == kGroups && value < 1) {
    for (int k : {kGroupDiameter, kInnerShare, kOuterShare}) {
      state_.parameters.nine[k] = 0;
      Edit[26 + k]->setText("  0");
    }
  }
}

void TBtnBottomDlg::TakeAllFields() {
  for (int row = 1; row <= kRowCount; ++row) {
    const int first = 5 * row - 4;
    GibBaName(first);
    for (int k = first + 1; k <= first + 3; ++k) VC_Feld(k);
  }
  for (int i = 0; i < kNineCount; ++i) NineChanged(i, true);
}

void TBtnBottomDlg::BtnZeichneClick() {
  TakeAllFields();
  ValidateAll(state_.parameters, state_.level);
  if (const Outcome drawable = CheckDrawable(state_.parameters); !drawable.ok()) {
    state_.services.messages->PlatformBox(ProblemMessage(state_.language, drawable.problem()), "Vorlint",
                                          PlatformButtons::Ok, PlatformIcon::Information);
    return;
  }
  UpdateBasalAreas();
  accept();
}

void TBtnBottomDlg::CancelBtnClick() { reject(); }

void TBtnBottomDlg::BtnSpeichernClick() {
  TakeAllFields();
  SaveParameters(state_);
  ShowParameters();
}

void TBtnBottomDlg::BtnLesenClick() {
  LoadParameters(state_);
  ShowParameters();
}

}  // namespace tolvek::generator
