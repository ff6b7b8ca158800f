#include "simulator/forms/method_dialogs.h"

#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>
#include <optional>

#include "common/format.h"
#include "common/qt/qt_services.h"
#include "common/qt/widget_makers.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form15.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

void FillList(QListWidget* list, std::initializer_list<const char*> items, const char* selected) {
  list->clear();
  for (const char* item : items) {
    list->addItem(QString::fromUtf8(item));
    if (std::string(item) == selected) list->setCurrentRow(list->count() - 1);
  }
}

// Unchecks every radio button of a group, which an exclusive group does not allow by itself.
void UncheckAll(std::initializer_list<QRadioButton*> buttons) {
  for (QRadioButton* b : buttons) {
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(true);
  }
}

std::string Selected(const QListWidget* list) {
  const QListWidgetItem* item = list->currentItem();
  return item ? S(item->text()) : std::string();
}

// The largest plot the loaded stand can use; in enterprise mode, where every model stand differs, only
// what the fields hold.
PlotSizeLimit StandPlotLimit(const SimulatorState& state) {
  const BoundaryPolygon& b = state.currentStand.boundary;
  if (state.run.enterpriseMode || !state.currentStand.loaded) return LargestPlot(0.0);
  return LargestPlot(BoundingBoxArea(b.n, b.x.data(), b.y.data()));
}

// A plot of that largest radius refused with its message (true), or accepted.
bool RefusedAsTooLarge(SimulatorState& state, double radius) {
  const Outcome tooLarge = PlotTooLarge(state.language, radius, StandPlotLimit(state));
  if (tooLarge.ok()) return false;
  state.services.messages->ShowMessageBox(tooLarge.problem().message, MessageKind::Info, MessageButtons::Ok);
  return true;
}

}  // namespace

void ShowDialogProblem(SimulatorState& state, const Problem& problem) {
  state.services.messages->ShowMessageBox(ProblemMessage(state.language, problem), MessageKind::Info,
                                          MessageButtons::Ok);
}

// ---------------------------------------------------------------- n-tree sample

TBtnRightDlg6::TBtnRightDlg6(SimulatorState& st, Forms& fm, QWidget* parent) : QDialog(parent), state(st), forms(fm) {
  setObjectName("BtnRightDlg6");
  setWindowTitle(QString::fromUtf8("N-Baum Stichprobe"));
  setModal(true);
  setFixedSize(470, 300);
  Label2 = widgets::Label(this, "Label2", "Baumzahl", QRect(12, 10, 90, 20));
  ListBox1 = widgets::Make<QListWidget>(this, "ListBox1", QRect(12, 34, 70, 150));
  Label1 = widgets::Label(this, "Label1", "Schätzvariante", QRect(110, 10, 220, 20));
  for (int v = 1; v <= kNTreeVariants; ++v) {
    const std::string name = "RadioButton" + std::to_string(v);
    RadioButton[static_cast<std::size_t>(v)] = widgets::Radio(
        this, name.c_str(), kNTreeVariantCaptions[static_cast<std::size_t>(v)], QRect(110, 10 + v * 28, 240, 24));
  }
  RadioButton[1]->setChecked(true);
  Button2 = widgets::Button(this, "Button2", "weiter", QRect(360, 14, 98, 30));
  Button2->setDefault(true);
  Button1 = widgets::Button(this, "Button1", "zurück", QRect(360, 52, 98, 30));
  connect(Button1, &QPushButton::clicked, this, &TBtnRightDlg6::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TBtnRightDlg6::Button2Click);
  connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) { ListBox1DblClick(); });
}

void TBtnRightDlg6::Prepare(bool extraVariants) {
  for (int v = 5; v <= kNTreeVariants; ++v) RadioButton[static_cast<std::size_t>(v)]->setVisible(extraVariants);
  // A hidden variant cannot stay chosen: it would be taken without the user seeing it.
  if (!extraVariants && Variant() >= 5) RadioButton[1]->setChecked(true);
  FillList(ListBox1, {"2", "3", "4", "5", "6", "7"}, "6");
}

int TBtnRightDlg6::Variant() const {
  int v = 1;
  for (int i = 2; i <= kNTreeVariants; ++i)
    if (RadioButton[static_cast<std::size_t>(i)]->isChecked()) v = i;
  return v;
}

void TBtnRightDlg6::Button1Click() {
  ListBox1->clear();
  done(kDialogBack);
}

void TBtnRightDlg6::reject() { Button1Click(); }

// A double click on a tree number takes it, as "weiter" does (it once closed the dialog as "zurück",
// throwing away the number the user had just picked).
void TBtnRightDlg6::ListBox1DblClick() { Button2Click(); }

void TBtnRightDlg6::Button2Click() {
  const int row = ListBox1->currentRow();
  const int n = row < 0 ? 0 : row + 2;
  const int v = Variant();
  double dbh = 0.0, radius = 0.0;
  if (v == 4 && forms.btnRightDlg40) {
    TBtnRightDlg40& under = *forms.btnRightDlg40;
    under.Prepare();
    if (under.exec() != kDialogNext) return;  // the understorey was not set: the n-tree dialog stays
    dbh = under.SelectedDbh();
    radius = under.SelectedRadius();
  }
  if (const Outcome checked = CheckNTree(n, v, dbh, radius); !checked.ok()) {
    ShowDialogProblem(state, checked.problem());
    return;
  }
  treeNumber = n;
  variant = v;
  understoreyDbh = dbh;
  understoreyRadius = radius;
  if (forms.form1) forms.form1->sBtGitter->setEnabled(true);
  done(kDialogNext);
}

TBtnRightDlg40::TBtnRightDlg40(SimulatorState& st, QWidget* parent) : QDialog(parent), state(st) {
  setObjectName("BtnRightDlg40");
  setWindowTitle(QString::fromUtf8("Unterstand"));
  setModal(true);
  setFixedSize(330, 260);
  Label2 = widgets::Label(this, "Label2", "Grenzwerte für den Unterstand", QRect(12, 8, 300, 20));
  Label1 = widgets::Label(this, "Label1", "BHD (cm)", QRect(12, 34, 90, 20));
  Label3 = widgets::Label(this, "Label3", "Radius (m)", QRect(112, 34, 90, 20));
  ListBox1 = widgets::Make<QListWidget>(this, "ListBox1", QRect(12, 58, 80, 190));
  ListBox2 = widgets::Make<QListWidget>(this, "ListBox2", QRect(112, 58, 80, 190));
  Button1 = widgets::Button(this, "Button1", "weiter", QRect(218, 14, 100, 30));
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &TBtnRightDlg40::Button1Click);
}

void TBtnRightDlg40::Prepare() {
  Label2->setText(Q(Translate(state.language, "Grenzwerte für den Unterstand")));
  ListBox1->clear();
  for (int d : {0, 10, 12, 14, 16, 18, 20}) {
    ListBox1->addItem(Q(FormatInt(d, 2)));
    if (d == 14) ListBox1->setCurrentRow(ListBox1->count() - 1);
  }
  ListBox2->clear();
  for (int r = 0; r <= 6; ++r) {
    ListBox2->addItem(Q(FormatInt(r, 2)));
    if (r == 4) ListBox2->setCurrentRow(ListBox2->count() - 1);
  }
}

void TBtnRightDlg40::Button1Click() {
  if (!ListBox1->currentItem() || !ListBox2->currentItem()) {
    ShowDialogProblem(state, Problem{"Grenzwerte für den Unterstand ungültig", ""});
    return;
  }
  done(kDialogNext);
}

double TBtnRightDlg40::SelectedDbh() const { return TextToReal(Selected(ListBox1)); }
double TBtnRightDlg40::SelectedRadius() const { return TextToReal(Selected(ListBox2)); }

// ---------------------------------------------------------------- fixed-area circles

TBtnRightDlg5::TBtnRightDlg5(SimulatorState& st, QWidget* parent) : QDialog(parent), state(st) {
  setObjectName("BtnRightDlg5");
  setWindowTitle(QString::fromUtf8("Vollkreise"));
  setModal(true);
  setFixedSize(420, 250);
  Label1 = widgets::Label(this, "Label1", "Probekreisgröße wählen", QRect(12, 10, 260, 20));
  Button1 = widgets::Button(this, "Button1", "R = 2.82 m / 25 qm", QRect(12, 38, 180, 30));
  Button2 = widgets::Button(this, "Button2", "R = 5.64 m / 100 qm", QRect(12, 74, 180, 30));
  Button3 = widgets::Button(this, "Button3", "R = 12.62 m / 500 qm", QRect(12, 110, 180, 30));
  Label2 = widgets::Label(this, "Label2", "Radius (m):", QRect(12, 156, 90, 24));
  Memo1 = widgets::NumberEdit(this, "Memo1", QRect(100, 154, 92, 28));
  Button4 = widgets::Button(this, "Button4", "", QRect(12, 190, 180, 30));
  LbFlaeche = widgets::Label(this, "LbFlaeche", "", QRect(210, 196, 200, 20));
  Button5 = widgets::Button(this, "Button5", "weiter", QRect(300, 14, 108, 30));
  Button5->setDefault(true);
  CancelBtn = widgets::Button(this, "CancelBtn", " zurück", QRect(300, 52, 108, 30));
  Button1->setToolTip(QString::fromUtf8("Probekreis-Radius 2,82 Meter"));
  Button2->setToolTip(QString::fromUtf8("Probekreis-Radius 5,64 Meter"));
  Button3->setToolTip(QString::fromUtf8("Probekreis-Radius 12,62 Meter"));
  Memo1->setToolTip(QString::fromUtf8("Radius eingeben und Schaltfläche drücken"));
  for (QPushButton* b : {Button1, Button2, Button3, Button4})
    connect(b, &QPushButton::clicked, this, [this, b] { Button1Click(b); });
  connect(Memo1, &QLineEdit::textChanged, this, &TBtnRightDlg5::Memo1Change);
  connect(Button5, &QPushButton::clicked, this, &TBtnRightDlg5::Button5Click);
  connect(CancelBtn, &QPushButton::clicked, this, &TBtnRightDlg5::CancelBtnClick);
}

void TBtnRightDlg5::ShowArea() {
  LbFlaeche->setText(Q(FormatFixed(8, 2, area) + " " + Translate(state.language, "qm")));
}

void TBtnRightDlg5::Prepare() {
  const std::string unit = " " + Translate(state.language, "qm");
  Button1->setText(Q("R = 2.82 m / 25" + unit));
  Button2->setText(Q("R = 5.64 m / 100" + unit));
  Button3->setText(Q("R = 12.62 m / 500" + unit));
  // Opened as the size handler leaves it for a sender that is no size button: 500 m², with the radius
  // of that area in the field (it once showed 12.0000 beside 500 m²).
  Button1Click(nullptr);
}

void TBtnRightDlg5::ShowRadiusOfArea() {
  // The field shows the radius of the size held; written here it must not set the area from its
  // rounded text.
  const QSignalBlocker quiet(Memo1);
  Memo1->setText(Q(FormatFixed(0, 4, std::sqrt(area / kCirclePi))));
  Button4->setText(Q(FormatFixed8_2(area)));
}

void TBtnRightDlg5::Button1Click(QObject* sender) {
  if (sender == Button4) {
    area = AreaOfRadiusText(S(Memo1->text()));
  } else {
    area = sender == Button1 ? 25.0 : sender == Button2 ? 100.0 : 500.0;
    ShowRadiusOfArea();
  }
  ShowArea();
}

void TBtnRightDlg5::Memo1Change() {
  const std::string text = S(Memo1->text());
  Button4->setText(Q(RadiusAreaCaption(text)));
  area = AreaOfRadiusText(text);
  ShowArea();
}

void TBtnRightDlg5::Button5Click() {
  if (const Outcome checked = CheckFixedCircleArea(area); !checked.ok()) {
    ShowDialogProblem(state, checked.problem());
    return;
  }
  if (RefusedAsTooLarge(state, std::sqrt(area / kCirclePi))) return;
  done(kDialogNext);
}

void TBtnRightDlg5::CancelBtnClick() { done(kDialogBack); }
void TBtnRightDlg5::reject() { CancelBtnClick(); }

// ---------------------------------------------------------------- angle count

TBtnRightDlg7::TBtnRightDlg7(SimulatorState& st, QWidget* parent) : QDialog(parent), state(st) {
  setObjectName("BtnRightDlg7");
  setWindowTitle(QString::fromUtf8("Winkelzählprobe WZP"));
  setModal(true);
  setFixedSize(380, 220);
  Bevel1 = widgets::Panel(this, "Bevel1", QRect(8, 8, 250, 200));
  Bevel1->setToolTip(QString::fromUtf8("Verfahrensvariante und Zählbreite wählen"));
  RadioButton1 = widgets::Radio(this, "RadioButton1", "Normalverfahren", QRect(20, 16, 220, 24));
  RadioButton2 = widgets::Radio(this, "RadioButton2", "Zählverfahren", QRect(20, 44, 220, 24));
  Label1 = widgets::Label(this, "Label1", "Zählbreite", QRect(20, 80, 120, 20));
  ListBox1 = widgets::Make<QListWidget>(this, "ListBox1", QRect(20, 104, 80, 90));
  BitBtn1 = widgets::Button(this, "BitBtn1", "weiter", QRect(268, 14, 100, 30));
  BitBtn1->setDefault(true);
  CancelBtn = widgets::Button(this, "CancelBtn", "zurück", QRect(268, 52, 100, 30));
  connect(RadioButton1, &QRadioButton::clicked, this, &TBtnRightDlg7::RadioButton1Click);
  connect(RadioButton2, &QRadioButton::clicked, this, &TBtnRightDlg7::RadioButton2Click);
  connect(BitBtn1, &QPushButton::clicked, this, &TBtnRightDlg7::BitBtn1Click);
  connect(CancelBtn, &QPushButton::clicked, this, &TBtnRightDlg7::CancelBtnClick);
}

void TBtnRightDlg7::Prepare() {
  RadioButton1->setChecked(true);
  countingMode = 1;
  FillList(ListBox1, {"1", "2", "4"}, "4");
}

void TBtnRightDlg7::RadioButton1Click() { countingMode = 1; }
void TBtnRightDlg7::RadioButton2Click() { countingMode = 0; }

void TBtnRightDlg7::BitBtn1Click() {
  const int f = static_cast<int>(TextToReal(Selected(ListBox1)));
  if (const Outcome checked = CheckAngleCount(f, countingMode); !checked.ok()) {
    ShowDialogProblem(state, checked.problem());
    return;
  }
  factor = f;
  done(kDialogNext);
}

void TBtnRightDlg7::CancelBtnClick() { done(kDialogBack); }
void TBtnRightDlg7::reject() { CancelBtnClick(); }

// ---------------------------------------------------------------- concentric circles

TBtnRightDlg4::TBtnRightDlg4(SimulatorState& st, QWidget* parent) : QDialog(parent), state(st) {
  setObjectName("BtnRightDlg4");
  setWindowTitle(QString::fromUtf8("Konzentrische Probekreise"));
  setModal(true);
  setFixedSize(560, 330);
  setToolTip(QString::fromUtf8("Verfahren auswählen "));
  Label1 = widgets::Label(this, "Label1", "Konzentrische Probekreise: Grenzradien für BHD-Bereiche", QRect(12, 8, 420, 20));
  Bevel1 = widgets::Panel(this, "Bevel1", QRect(8, 34, 400, 250));
  Bevel1->setToolTip(QString::fromUtf8("Vorgaben können verändert werden"));
  Label2 = widgets::Label(this, "Label2", "BHD", QRect(200, 42, 80, 20));
  Label3 = widgets::Label(this, "Label3", "Radius", QRect(300, 42, 80, 20));
  Label4 = widgets::Label(this, "Label4", "(1) kleiner Kreis", QRect(20, 72, 170, 24));
  Label5 = widgets::Label(this, "Label5", "(2) mittllerer Kreis", QRect(20, 112, 170, 24));
  Label6 = widgets::Label(this, "Label6", "(3) großer Kreis", QRect(20, 152, 170, 24));
  Label7 = widgets::Label(this, "Label7", "(4)", QRect(20, 192, 170, 24));
  Label8 = widgets::Label(this, "Label8", "(5)", QRect(20, 232, 170, 24));
  const char* dbhNames[5] = {"Memo1", "Memo2", "Memo3", "Memo7", "Memo8"};
  const char* radiusNames[5] = {"Memo4", "Memo5", "Memo6", "Memo9", "Memo10"};
  QLineEdit** dbhSlots[5] = {&Memo1, &Memo2, &Memo3, &Memo7, &Memo8};
  QLineEdit** radiusSlots[5] = {&Memo4, &Memo5, &Memo6, &Memo9, &Memo10};
  for (int i = 0; i < 5; ++i) {
    *dbhSlots[i] = widgets::NumberEdit(this, dbhNames[i], QRect(200, 70 + i * 40, 80, 28));
    (*dbhSlots[i])->setToolTip(QString::fromUtf8("BHD kann verändert werden"));
    *radiusSlots[i] = widgets::NumberEdit(this, radiusNames[i], QRect(300, 70 + i * 40, 80, 28));
    (*radiusSlots[i])->setToolTip(QString::fromUtf8("Radius kann verändert werden"));
  }
  OKBtn = widgets::Button(this, "OKBtn", "weiter", QRect(424, 14, 124, 30));
  OKBtn->setDefault(true);
  CancelBtn = widgets::Button(this, "CancelBtn", "zurück", QRect(424, 52, 124, 30));
  Button2 = widgets::Button(this, "Button2", "Arvenland", QRect(424, 110, 124, 28));
  Button3 = widgets::Button(this, "Button3", "Velmark", QRect(424, 142, 124, 28));
  Button4 = widgets::Button(this, "Button4", "Torvenhald", QRect(424, 174, 124, 28));
  Button5 = widgets::Button(this, "Button5", "Ruskaria", QRect(424, 206, 124, 28));
  Button1 = widgets::Button(this, "Button1", "freie Wahl", QRect(424, 238, 124, 28));
  const std::pair<QPushButton*, const char*> presets[] = {
      {Button1, "nn"}, {Button2, "AV"}, {Button3, "VK"}, {Button4, "TV"}, {Button5, "RK"}};
  for (const auto& [button, region] : presets) {
    const std::string code = region;
    connect(button, &QPushButton::clicked, this, [this, code] { ApplyPreset(code); });
  }
  connect(OKBtn, &QPushButton::clicked, this, &TBtnRightDlg4::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &TBtnRightDlg4::CancelBtnClick);
  ApplyPreset("AV");
}

void TBtnRightDlg4::ApplyPreset(const std::string& region) {
  const ConcentricCirclePreset* preset = FindConcentricPreset(region);
  if (!preset) return;
  const auto dbh = DbhFields();
  const auto radius = RadiusFields();
  const int filled = preset->count > 3 ? 5 : 3;
  for (int i = 0; i < filled; ++i) {
    dbh[static_cast<std::size_t>(i)]->setText(QString::fromUtf8(preset->dbhText[static_cast<std::size_t>(i)]));
    radius[static_cast<std::size_t>(i)]->setText(QString::fromUtf8(preset->radiusText[static_cast<std::size_t>(i)]));
  }
  const bool five = preset->count > 3;
  for (QWidget* w : std::initializer_list<QWidget*>{Memo7, Memo8, Memo9, Memo10, Label7, Label8}) w->setVisible(five);
  count_ = preset->count;
  region_ = preset->region;
}

ConcentricTexts TBtnRightDlg4::Texts() const {
  ConcentricTexts t;
  const auto dbh = DbhFields();
  const auto radius = RadiusFields();
  for (std::size_t i = 0; i < 5; ++i) {
    t.dbh[i] = S(dbh[i]->text());
    t.radius[i] = S(radius[i]->text());
  }
  t.count = count_;
  t.region = region_;
  return t;
}

void TBtnRightDlg4::OKBtnClick() {
  const ConcentricTexts texts = Texts();
  if (const Outcome checked = CheckConcentric(texts); !checked.ok()) {
    ShowDialogProblem(state, checked.problem());
    return;
  }
  // The radii grow from circle to circle: the last one is the largest.
  if (RefusedAsTooLarge(state, TextToReal(texts.radius[static_cast<std::size_t>(ConcentricCount(texts) - 1)]))) return;
  done(kDialogNext);
}

void TBtnRightDlg4::CancelBtnClick() { done(kDialogBack); }
void TBtnRightDlg4::reject() { CancelBtnClick(); }

// ---------------------------------------------------------------- method choice

TBtnRightDlg1::TBtnRightDlg1(SimulatorState& st, Forms& fm, QWidget* parent) : QDialog(parent), state(st), forms(fm) {
  setObjectName("BtnRightDlg1");
  setWindowTitle(QString::fromUtf8("Stichproben-Verfahren"));
  setModal(true);
  setFixedSize(440, 220);
  RadioGroup1 = widgets::Make<QGroupBox>(this, "RadioGroup1", QRect(10, 8, 270, 200));
  RadioGroup1->setTitle(QString::fromUtf8("Stichproben-Verfahren"));
  RdBtn6Baum = widgets::Radio(RadioGroup1, "RdBtn6Baum", "  n-Baum Verfahren", QRect(12, 30, 250, 28));
  RdBtn6Baum->setToolTip(QString::fromUtf8("Mausklick:: Standardverfahren # STRG & Mausklick: zusätzliche Verfahren"));
  RdBtnVollkr = widgets::Radio(RadioGroup1, "RdBtnVollkr", "  Vollkreise", QRect(12, 70, 250, 28));
  RdBtnVollkr->setToolTip(QString::fromUtf8("Probeflächen: Vollkreise mit wählbarem Radius"));
  RdBtnWZP = widgets::Radio(RadioGroup1, "RdBtnWZP", "  WZP", QRect(12, 110, 250, 28));
  RdBtnWZP->setToolTip(QString::fromUtf8("Probeflächen: Winkelzählprobe nach Bitterlich"));
  RdBtnKonzKr = widgets::Radio(RadioGroup1, "RdBtnKonzKr", "  konzentrische Kreise", QRect(12, 150, 250, 28));
  RdBtnKonzKr->setToolTip(QString::fromUtf8("Probeflächen: 3-5 konzentrische Kreis"));
  RdBtnVollkr->setChecked(true);
  OKBtn = widgets::Button(this, "OKBtn", "weiter", QRect(294, 14, 134, 30));
  OKBtn->setDefault(true);
  CancelBtn = widgets::Button(this, "CancelBtn", "zurück", QRect(294, 52, 134, 30));
  Button1 = widgets::Button(this, "Button1", "Entscheidungshilfe", QRect(294, 130, 134, 30));
  Button2 = widgets::Button(this, "Button2", "Kluppschwelle", QRect(294, 168, 134, 30));
  connect(RdBtn6Baum, &QRadioButton::clicked, this,
          [this] { RdBtn6BaumClick(QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier)); });
  connect(RdBtnVollkr, &QRadioButton::clicked, this, &TBtnRightDlg1::RdBtnVollkrClick);
  connect(RdBtnWZP, &QRadioButton::clicked, this, &TBtnRightDlg1::RdBtnWZPClick);
  connect(RdBtnKonzKr, &QRadioButton::clicked, this, &TBtnRightDlg1::RdBtnKonzKrClick);
  connect(OKBtn, &QPushButton::clicked, this, &TBtnRightDlg1::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &TBtnRightDlg1::CancelBtnClick);
  connect(Button1, &QPushButton::clicked, this, &TBtnRightDlg1::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TBtnRightDlg1::Button2Click);
}

int TBtnRightDlg1::OpenBeside(QDialog* dialog) {
  bool* placed = dialog == static_cast<QDialog*>(forms.btnRightDlg6)   ? &placedNTree_
                 : dialog == static_cast<QDialog*>(forms.btnRightDlg5) ? &placedCircle_
                 : dialog == static_cast<QDialog*>(forms.btnRightDlg7) ? &placedAngle_
                                                                       : &placedConcentric_;
  // Beside the method window, placed once (the user may move it from there), and always on the screen:
  // where there is no room on the right it goes to the left of the method window, else to the edge.
  if (!*placed) {
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
    const QRect frame = frameGeometry();
    // The dialog has no frame before it is first shown: it takes the method window's.
    const QSize size = dialog->size() + (frame.size() - this->size());
    int left = frame.right() + 8;
    if (!screen.isEmpty() && left + size.width() > screen.left() + screen.width()) {
      left = frame.left() - 8 - size.width();
      if (left < screen.left()) left = screen.left() + screen.width() - size.width();
    }
    int top = frame.top();
    if (!screen.isEmpty()) {
      left = std::max(screen.left(), left);
      top = std::max(screen.top(), std::min(top, screen.top() + screen.height() - size.height()));
    }
    dialog->move(left, top);
    *placed = true;
  }
  return dialog->exec();
}

void TBtnRightDlg1::StartMethod() {
  if (forms.form1) {
    forms.form1->Memo1->hide();
    forms.form1->LblRadius->clear();
  }
}

void TBtnRightDlg1::Accepted(bool showOk) {
  TForm1* f = forms.form1;
  if (f) {
    f->ShowMethodLabels();
    f->MethodLetterChosen(state.sampling.method.code);
    if (state.run.enterpriseMode) f->Memo1->hide();
  }
  if (showOk) OKBtn->show();
}

void TBtnRightDlg1::BackInParameterDialog() {
  // Back to the last confirmed choice (or none), never a method code without its parameters.
  RestoreConfirmedChoice(state.sampling.method);
  ShowMethodInRadios();
  if (forms.form1) forms.form1->ShowMethodLabels();
}

void TBtnRightDlg1::ShowMethodInRadios() {
  UncheckAll({RdBtn6Baum, RdBtnVollkr, RdBtnWZP, RdBtnKonzKr});
  switch (state.sampling.method.code) {
    case kMethodNTree:
      RdBtn6Baum->setChecked(true);
      break;
    case kMethodFixedCircle:
      RdBtnVollkr->setChecked(true);
      break;
    case kMethodAngleCount:
      RdBtnWZP->setChecked(true);
      break;
    case kMethodConcentric:
      RdBtnKonzKr->setChecked(true);
      break;
    default:
      break;
  }
}

void TBtnRightDlg1::RdBtn6BaumClick(bool ctrl) {
  TBtnRightDlg6* d = forms.btnRightDlg6;
  if (!d) return;
  CancelBtn->setEnabled(true);
  StartMethod();
  MethodSettings& m = state.sampling.method;
  BeginNTree(m, state.language);
  if (forms.form1) forms.form1->ShowMethodLabels();
  d->Prepare(ctrl);
  if (OpenBeside(d) != kDialogNext) {
    BackInParameterDialog();
    return;
  }
  if (ConfirmNTree(m, state.language, d->treeNumber, d->variant, d->understoreyDbh, d->understoreyRadius))
    state.services.messages->PlatformBox(Translate(state.language, "Nur für 6-Baum Stichprobr geeignet"), "",
                                         PlatformButtons::Ok, PlatformIcon::Information);
  d->ListBox1->clear();
  Accepted(true);
}

void TBtnRightDlg1::RdBtnVollkrClick() {
  TBtnRightDlg5* d = forms.btnRightDlg5;
  if (!d) return;
  StartMethod();
  MethodSettings& m = state.sampling.method;
  BeginFixedCircle(m, state.language);
  if (forms.form1) forms.form1->ShowMethodLabels();
  d->Prepare();
  if (OpenBeside(d) != kDialogNext) {
    BackInParameterDialog();
    return;
  }
  if (const Outcome confirmed = ConfirmFixedCircle(m, state.language, d->area); !confirmed.ok()) {
    ShowDialogProblem(state, confirmed.problem());
    BackInParameterDialog();
    return;
  }
  Accepted(true);
}

void TBtnRightDlg1::RdBtnWZPClick() {
  TBtnRightDlg7* d = forms.btnRightDlg7;
  if (!d) return;
  StartMethod();
  MethodSettings& m = state.sampling.method;
  BeginAngleCount(m, state.language);
  if (forms.form1) forms.form1->ShowMethodLabels();
  d->Prepare();
  if (OpenBeside(d) != kDialogNext) {
    d->ListBox1->clear();
    BackInParameterDialog();
    return;
  }
  const Outcome confirmed = ConfirmAngleCount(m, state.language, d->factor, d->countingMode);
  d->ListBox1->clear();
  if (!confirmed.ok()) {
    ShowDialogProblem(state, confirmed.problem());
    BackInParameterDialog();
    return;
  }
  Accepted(true);
}

void TBtnRightDlg1::RdBtnKonzKrClick() {
  TBtnRightDlg4* d = forms.btnRightDlg4;
  if (!d) return;
  StartMethod();
  MethodSettings& m = state.sampling.method;
  BeginConcentric(m, state.language);
  RdBtnKonzKr->setChecked(true);
  if (forms.form1) forms.form1->ShowMethodLabels();
  d->ApplyPreset("AV");
  if (OpenBeside(d) == kDialogBack) {
    BackInParameterDialog();
    return;
  }
  if (const Outcome confirmed = ConfirmConcentric(m, state.language, d->Texts()); !confirmed.ok()) {
    ShowDialogProblem(state, confirmed.problem());
    BackInParameterDialog();
    return;
  }
  Accepted(false);
  const std::string notice = ConcentricCalliperNotice(m, state.language, state.calliper.lower);
  if (!notice.empty()) state.services.messages->PlatformBox(notice, "", PlatformButtons::Ok, PlatformIcon::Information);
}

void TBtnRightDlg1::OKBtnClick() {
  if (forms.form1) forms.form1->Memo1->hide();
  Tag = 0;
  if (forms.btnRightDlg4 && forms.btnRightDlg4->isVisible()) forms.btnRightDlg4->done(kDialogBack);
  // A plain "weiter" chooses fixed circles.
  if (state.sampling.method.code == kMethodNone) RdBtnVollkrClick();
  done(kDialogNext);
  if (state.run.enterpriseMode && !state.sampling.grid.loadedFromFile && forms.form1) forms.form1->sBtGitterClick();
}

void TBtnRightDlg1::CancelBtnClick() {
  if (TForm1* f = forms.form1) {
    f->Memo1->hide();
    if (state.run.enterpriseMode)
      f->Panel8->show();
    else
      f->sBtBestand->setEnabled(true);
  }
  UncheckAll({RdBtn6Baum, RdBtnVollkr, RdBtnWZP, RdBtnKonzKr});
  ClearMethod(state.sampling.method);
  Tag = 1;
  if (forms.form1) forms.form1->ShowMethodLabels();
  done(kDialogBack);
}

void TBtnRightDlg1::reject() {
  // Closing the window is "zurück", and like it not available while "zurück" is disabled.
  if (CancelBtn->isEnabled()) CancelBtnClick();
}

void TBtnRightDlg1::Button1Click() {
  if (forms.form15) forms.form15->BtnEntschHilfeClick();
}

void TBtnRightDlg1::Button2Click() {
  if (forms.form15) forms.form15->BtnKluppschwClick();
}

}  // namespace tolvek
