#include "simulator/forms/structure_windows.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include "common/format.h"
#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "common/rounding.h"
#include "common/wait.h"
#include "simulator/enterprise/enterprise_map.h"
#include "simulator/forms/widget_makers.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

using widgets::Button;

constexpr int kColumn = 76;  // one share column of TForm25
constexpr int kShareLeft = 20;
constexpr int kBarsHeight = 160;
constexpr int kCellChars = 7;  // characters of the matrix font a cell is wide

void Bold(QLabel* l, int points) {
  QFont f("Arial");
  f.setPointSize(points);
  f.setBold(true);
  l->setFont(f);
}

// A button that closes its window with an answer: "weiter" 0, "zurück" 1.
void Answers(QPushButton* button, QDialog* window, int& tag, int answer) {
  QObject::connect(button, &QPushButton::clicked, window, [window, &tag, answer] {
    tag = answer;
    window->done(1);
  });
}

QFont Fixed(int points) {
  QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  f.setPointSize(points);
  return f;
}

}  // namespace

// ---- TForm29

TForm29::TForm29(SimulatorState& st, QWidget* parent) : QDialog(parent), state(st) {
  setObjectName("Form29");
  setWindowTitle(QString::fromUtf8("Typen der Betriebsstruktur"));
  setModal(true);
  setFixedSize(380, 372);
  Label2 = widgets::Label(this, "Label2", "Bestandestypen", QRect(20, 10, 340, 24));
  Bold(Label2, 11);
  Label1 = widgets::Label(this, "Label1", "Bitte höchstens 5 Bestandestypen auswählen", QRect(20, 36, 340, 22));
  for (int n = 1; n <= 8; ++n) {
    CheckBox[static_cast<std::size_t>(n)] =
        widgets::Check(this, ("CheckBox" + std::to_string(n)).c_str(), "", QRect(30, 66 + (n - 1) * 27, 330, 24));
  }
  BitBtn1 = widgets::Label(this, "BitBtn1", "", QRect(20, 286, 340, 22));
  BitBtn1->setStyleSheet("color: #b00000; font-weight: bold;");
  BitBtn1->hide();
  Button1 = Button(this, "Button1", "zurück", QRect(20, 324, 110, 32));
  Button2 = Button(this, "Button2", "weiter", QRect(250, 324, 110, 32));
  connect(Button1, &QPushButton::clicked, this, &TForm29::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm29::Button2Click);
}

void TForm29::Prepare(bool wet) {
  const LanguageTable& t = state.language;
  if (wet) {
    Label2->setText(Q(Translate(t, "Waldentwicklungstypen")));
    Label2->move(60, Label2->y());
    Label1->setText(Q(Translate(t, "Bitte höchstens 5 WET auswählen")));
  } else {
    Label2->move(20, Label2->y());
    Label1->setText(Q(Translate(t, "Bitte höchstens 5 Bestandestypen auswählen")));
  }
  setToolTip(Q(Translate(t, wet ? "WET auswählen" : "Bestandestypen auswählen")));
  BitBtn1->hide();
  Button1->show();
}

void TForm29::SetTypeCaptions(const std::array<std::string, 9>& captions) {
  for (std::size_t n = 1; n <= 8; ++n) CheckBox[n]->setText(Q(captions[n]));
}

std::array<bool, 9> TForm29::Ticked() const {
  std::array<bool, 9> t{};
  for (std::size_t n = 1; n <= 8; ++n) t[n] = CheckBox[n]->isChecked();
  return t;
}

int TForm29::Ask() {
  if (!shownBefore_) {
    shownBefore_ = true;
    for (int n : {1, 3, 6}) CheckBox[static_cast<std::size_t>(n)]->setChecked(true);
  }
  Tag = 1;
  exec();  // closed without a button: "zurück"
  return Tag;
}

void TForm29::Button2Click() {
  const TypeChoice c = CollectChosenTypes(Ticked());
  if (!c.cleared.empty()) {
    for (int n : c.cleared) CheckBox[static_cast<std::size_t>(n)]->setChecked(false);
    BitBtn1->setText(Q(Translate(state.language, "Auswahl wird auf 5 beschränkt")));
    BitBtn1->show();
    state.services.beeper->Beep(440, 200);
    WaitMs(2000, state.run, state.services);
  }
  if (c.chosen.Empty()) {
    state.services.messages->PlatformBox(Translate(state.language, "Kein Bestandestyp gewählt"), "",
                                         PlatformButtons::Ok, PlatformIcon::Information);
    return;
  }
  Tag = 0;
  done(1);
}

void TForm29::Button1Click() {
  Tag = 1;
  done(1);
}

// ---- TForm25

TForm25::TForm25(SimulatorState& st, QWidget* parent) : QDialog(parent), state(st) {
  setObjectName("Form25");
  setWindowTitle(QString::fromUtf8("Anteile der Betriebsstruktur"));
  setModal(true);
  const int width = 2 * kShareLeft + 5 * kColumn;
  setFixedSize(width, 340);
  Label1n = widgets::Label(this, "Label1n", "", QRect(kShareLeft, 10, width - 2 * kShareLeft, 24));
  Bold(Label1n, 11);
  ImgProz = widgets::Label(this, "ImgProz", "", QRect(kShareLeft, 40, 5 * kColumn, kBarsHeight));
  ImgProz->setToolTip(QString::fromUtf8("Anteile mit Pfeilen ändern. Summe ist immer 100"));
  bars_ = QImage(5 * kColumn, kBarsHeight, QImage::Format_RGB32);
  bars_.fill(Qt::white);
  for (int i = 1; i <= 5; ++i) {
    auto* spin = new QSpinBox(this);
    spin->setObjectName(QString("SpinEdit%1").arg(i));
    spin->setRange(0, 100);
    spin->setGeometry(kShareLeft + (i - 1) * kColumn + 8, 40 + kBarsHeight + 4, kColumn - 16, 28);
    spin->setAlignment(Qt::AlignRight);
    connect(spin, &QSpinBox::valueChanged, this, [this, i] { SpinEdit1Change(i); });
    SpinEdit[static_cast<std::size_t>(i)] = spin;
    QLabel* name = widgets::Label(this, ("Label" + std::to_string(i)).c_str(), "",
                         QRect(kShareLeft + (i - 1) * kColumn, 40 + kBarsHeight + 36, kColumn, 20));
    name->setAlignment(Qt::AlignHCenter);
    Label[static_cast<std::size_t>(i)] = name;
  }
  LbBtAkl = widgets::Label(this, "LbBtAkl", "", QRect(kShareLeft, 262, width - 2 * kShareLeft, 22));
  LbBtAkl->setAlignment(Qt::AlignHCenter);
  Bold(LbBtAkl, 10);
  Btzurueck = Button(this, "Btzurueck", "zurück", QRect(kShareLeft, 294, 110, 32));
  Btweiter = Button(this, "Btweiter", "weiter", QRect(width - kShareLeft - 110, 294, 110, 32));
  Answers(Btzurueck, this, Tag, 1);
  Answers(Btweiter, this, Tag, 0);
}

void TForm25::PrepareTypes(bool wet) {
  const LanguageTable& t = state.language;
  const EnterpriseSession& e = state.enterprise;
  Label1n->setText(Q(Translate(t, wet ? "Anteile der Waldentwicklungstypen" : "Anteile der Bestandestypen")));
  const std::array<std::string, 6> names = PositionNames(
      e.chosen, TypeNames(wet ? ClassificationMode::DevelopmentTypes : ClassificationMode::StandTypes, t));
  for (int p = 1; p <= 5; ++p) {
    colours_[static_cast<std::size_t>(p)] = kTypeColours[static_cast<std::size_t>(p)];
    Label[static_cast<std::size_t>(p)]->setText(Q(Utf8Left(names[static_cast<std::size_t>(p)], 4)));
  }
  LbBtAkl->setText(Q(Translate(t, wet ? "Waldentwicklungstypen" : "Bestandestyp ")));
  setToolTip(Q(Translate(t, "Anteil der gewählten Bestandestypen einstellen")));
  ShowShares();
}

void TForm25::PrepareClasses(bool wet) {
  const LanguageTable& t = state.language;
  for (int p = 1; p <= 5; ++p) {
    colours_[static_cast<std::size_t>(p)] = ClassColour(1, p);
    Label[static_cast<std::size_t>(p)]->setText(Q("  " + Utf8Left(ClassName(p, wet), 5)));
  }
  LbBtAkl->setText(Q(Translate(t, wet ? "Behandlungstypen" : "Altersklassen")));
  setToolTip(Q(Translate(t, wet ? "Anteil der Behandlungstypen einstellen" : "Anteil der Altersklassen einstellen")));
  Label1n->setText(Q(Translate(t, wet ? "Anteile der Behandlungstypen" : "Anteile der Altersklassen")));
  ShowShares();
}

int TForm25::Ask() {
  Tag = 1;
  exec();
  return Tag;
}

void TForm25::SpinEdit1Change(int e) {
  if (lock_) return;
  state.structureWizard.ChangeShare(state.enterprise, e, SpinEdit[static_cast<std::size_t>(e)]->value());
  ShowShares();
}

void TForm25::ShowShares() {
  lock_ = true;
  const Shares& shares = state.structureWizard.ShareTable();
  for (int p = 1; p <= 5; ++p) {
    QSpinBox* spin = SpinEdit[static_cast<std::size_t>(p)];
    spin->setValue(RoundInt(shares[static_cast<std::size_t>(p)]));
    spin->setEnabled(spin->value() != 0);
    DrawShareBar(p);
  }
  ImgProz->setPixmap(QPixmap::fromImage(bars_));
  lock_ = false;
}

void TForm25::DrawShareBar(int index) {
  QtCanvas canvas(bars_);
  const QSpinBox* spin = SpinEdit[static_cast<std::size_t>(index)];
  const int left = spin->x() - ImgProz->x(), right = left + spin->width();
  canvas.SetPen(kWhite);
  canvas.SetBrush(kWhite);
  canvas.Rectangle(left, 0, right, kBarsHeight);
  const double share = state.structureWizard.ShareTable()[static_cast<std::size_t>(index)];
  if (share <= 0.0) return;
  canvas.SetPen(kBlack);
  canvas.SetBrush(colours_[static_cast<std::size_t>(index)]);
  canvas.Rectangle(left, kBarsHeight - 2 - ShareBarHeight(share), right, kBarsHeight - 2);
}

// ---- TForm26

TForm26::TForm26(SimulatorState& st, QWidget* parent) : QDialog(parent), state(st) {
  setObjectName("Form26");
  setWindowTitle(QString::fromUtf8("Mischung der Typen"));
  setModal(true);
  setFixedSize(400, 176);
  Label1 = widgets::Label(this, "Label1", "Bestandestypen Mischung", QRect(20, 12, 360, 24));
  Bold(Label1, 11);
  Trackbar = new QSlider(Qt::Horizontal, this);
  Trackbar->setObjectName("Trackbar");
  Trackbar->setRange(0, 100);
  Trackbar->setTickPosition(QSlider::TicksBelow);
  Trackbar->setTickInterval(10);
  Trackbar->setGeometry(20, 56, 290, 36);
  LbProzent = widgets::Label(this, "LbProzent", "", QRect(320, 60, 60, 24));
  LbProzent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Bold(LbProzent, 11);
  connect(Trackbar, &QSlider::valueChanged, this, [this](int v) { LbProzent->setText(QString("%1 %").arg(v)); });
  Button1 = Button(this, "Button1", "zurück", QRect(20, 128, 110, 32));
  Bt26weiter = Button(this, "Bt26weiter", "weiter", QRect(270, 128, 110, 32));
  Answers(Button1, this, Tag, 1);
  Answers(Bt26weiter, this, Tag, 0);
}

int TForm26::Ask() {
  Trackbar->setValue(state.structureWizard.MixPercent());
  LbProzent->setText(QString("%1 %").arg(Trackbar->value()));
  Label1->setText(Q(Translate(state.language, "Bestandestypen Mischung")));
  Tag = 1;
  exec();
  return Tag;
}

// ---- TForm33

TForm33::TForm33(SimulatorState& st, QWidget* parent) : QDialog(parent), state(st) {
  setObjectName("Form33");
  setWindowTitle(QString::fromUtf8("Flächenbilanz"));
  setModal(true);
  const QFont fixed = Fixed(9);
  const int cell = kCellChars * QFontMetrics(fixed).horizontalAdvance('0');
  const int left = 190, top = 64, side = 6 * cell;
  setFixedSize(left + side + 20, top + side + 84);
  Label1 = widgets::Label(this, "Label1", "", QRect(20, 10, left + side - 20, 24));
  Bold(Label1, 11);
  Label2 = widgets::Label(this, "Label2", "", QRect(left, top - 22, side, 20));
  Label2->setFont(fixed);
  for (int r = 1; r <= 6; ++r) {
    QLabel* l = widgets::Label(this, ("Label" + std::to_string(r + 3)).c_str(), "", QRect(10, top + (r - 1) * cell, left - 18, cell));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    RowLabel[static_cast<std::size_t>(r + 3)] = l;
  }
  ImgBtAk = widgets::Label(this, "ImgBtAk", "", QRect(left, top, side, side));
  matrix_ = QImage(side, side, QImage::Format_RGB32);
  matrix_.fill(Qt::white);
  Label10 = widgets::Label(this, "Label10", "", QRect(left, top + side + 6, side, 20));
  Button2 = Button(this, "Button2", "weiter", QRect(left + side - 110, top + side + 38, 110, 32));
  connect(Button2, &QPushButton::clicked, this, &TForm33::Button2Click);
}

void TForm33::Button1Click(const AreaBalance& balance, const std::array<std::string, 6>& names, bool wet) {
  const LanguageTable& t = state.language;
  const int cell = RoundInt(ImgBtAk->width() / 6.0);
  Button2->setText(Q(Translate(t, "weiter")));
  {
    QtCanvas canvas(matrix_);
    DrawAreaBalanceMatrix(canvas, balance, cell, S(Label2->font().family()), 9);
  }
  ImgBtAk->setPixmap(QPixmap::fromImage(matrix_));
  Label1->setText(Q(std::string(13, ' ') + Translate(t, "Flächenbilanz")));
  Label2->setText(Q(MatrixColumnHeads(wet, kCellChars)));
  Label10->setText(Q(Translate(t, "In der Tabelle Hektarwerte (gerundet)")));
  for (std::size_t p = 1; p <= 5; ++p) RowLabel[p + 3]->setText(Q(names[p]));
  RowLabel[9]->setText(Q(names[0]));
}

void TForm33::Button2Click() {
  hide();
  done(1);
}

}  // namespace tolvek
