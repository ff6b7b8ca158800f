#include "generator/forms/saving_windows.h"

#include <QEvent>
#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include "common/format.h"
#include "common/paths.h"
#include "common/qt/qt_services.h"
#include "common/qt/widget_makers.h"
#include "common/rounding.h"
#include "common/stand_register.h"
#include "common/translate.h"
#include "generator/saving.h"

namespace tolvek::generator {

namespace {

constexpr int kGridWidth = 150;
constexpr int kGridTop = 92;
constexpr int kHalfWidth = 352;  // one grid with its labels

std::string T(const GeneratorState& state, std::string_view german) { return Translate(state.language, german); }

void Say(GeneratorState& state, const std::string& text, PlatformIcon icon = PlatformIcon::Information) {
  state.services.messages->PlatformBox(text, "Vorlint", PlatformButtons::Ok, icon);
}

bool AskYes(GeneratorState& state, const std::string& text) {
  return state.services.messages->PlatformBox(text, "Vorlint", PlatformButtons::YesNo, PlatformIcon::Question) ==
         kResultYes;
}

}  // namespace

// ---- TBtnBottomDlg1

TBtnBottomDlg1::TBtnBottomDlg1() {
  setObjectName("BtnBottomDlg1");
  setWindowTitle("5 Bestand");
  setFixedSize(260, 250);
  Label1 = widgets::Named(new QLabel("Auswahl der Bestandeskennung", this), "Label1");
  Label1->setGeometry(12, 8, 236, 22);
  ListBox1 = widgets::Named(new QListWidget(this), "ListBox1");
  ListBox1->setGeometry(12, 34, 236, 160);
  OKBtn = widgets::Named(new QPushButton("OK", this), "OKBtn");
  OKBtn->setGeometry(12, 206, 110, 30);
  OKBtn->setDefault(true);
  CancelBtn = widgets::Named(new QPushButton("Abbruch", this), "CancelBtn");
  CancelBtn->setGeometry(138, 206, 110, 30);
  QObject::connect(ListBox1, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });
  QObject::connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
  QObject::connect(CancelBtn, &QPushButton::clicked, this, [this] { reject(); });
}

void TBtnBottomDlg1::FillSimulStandList() {
  ListBox1->clear();
  for (const std::string& item : SlotListItems()) ListBox1->addItem(Q(item));
  ListBox1->setCurrentRow(0);
  slot = kFirstStandSlot;
}

void TBtnBottomDlg1::ListBox1Click() {
  const int row = ListBox1->currentRow();
  if (row >= 0) slot = kFirstStandSlot + row;
}

void TBtnBottomDlg1::OKBtnClick() {
  ListBox1Click();
  accept();
}

// ---- TForm7

TForm7::TForm7(GeneratorState& st) : state(st) {
  setObjectName("Form7");
  setWindowTitle("7 Bestand");
  Label1 = widgets::Named(new QLabel("Bestandesdaten eingeben", this), "Label1");
  Label1->setGeometry(14, 8, 320, 22);
  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);
  ComboBox1 = widgets::Named(new QComboBox(this), "ComboBox1");
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->setGeometry(14, 36, 320, 26);
  ComboBox1->setToolTip(QString::fromUtf8("Bestandesnummer: 301-999 # Kurzbezeichnung: 15 Zeichen"));
  Panel1 = widgets::Named(new QFrame(this), "Panel1");
  Panel1->setFrameShape(QFrame::StyledPanel);
  Panel1->setGeometry(14, kGridTop - 24, 324, 8 * 30 + 34);
  Panel1->lower();
  ImgBtAk = widgets::Named(new QLabel(this), "ImgBtAk");
  ImgBtAk->setGeometry(kHalfWidth - kGridWidth - 20, kGridTop, kGridWidth, 8 * 30);
  ImgWET = widgets::Named(new QLabel(this), "ImgWET");
  ImgWET->setGeometry(14 + 638 - kGridWidth - 8, kGridTop, kGridWidth, 8 * 30);
  for (QLabel* image : {ImgBtAk, ImgWET}) {
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->installEventFilter(this);
  }
  LbAk = widgets::Named(new QLabel("1/2    3    4    5    6", this), "LbAk");
  LbBht = widgets::Named(new QLabel("JPF  DF  VPF  VN  DW", this), "LbBht");
  for (int i = 1; i <= 8; ++i) {
    LbBt[static_cast<std::size_t>(i)] = widgets::Named(new QLabel(this), "");
    LbBt[static_cast<std::size_t>(i)]->setObjectName(QString("LbBt%1").arg(i));
    LbWET[static_cast<std::size_t>(i)] = widgets::Named(new QLabel(this), "");
    LbWET[static_cast<std::size_t>(i)]->setObjectName(QString("LbWET%1").arg(i));
  }
  Button1 = widgets::Named(new QPushButton("speichern", this), "Button1");
  BtLoeschen = widgets::Named(new QPushButton("Löschen", this), "BtLoeschen");
  Button2 = widgets::Named(new QPushButton("zurück", this), "Button2");
  QObject::connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Select(); });
  QObject::connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  QObject::connect(BtLoeschen, &QPushButton::clicked, this, [this] { BtLoeschenClick(); });
  QObject::connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TForm7::FillCombo() {
  RegisterFile reg;
  // A register not there yet lists no stand; the save makes it.
  ReadRegisterFile(ResolveIn(state.folders.presets, kGeneratedRegisterName), reg);
  items_ = RegisterComboItems(reg);
  ComboBox1->clear();
  for (const std::string& item : items_) ComboBox1->addItem(Q(item));
  ComboBox1->setCurrentIndex(items_.empty() ? -1 : 0);
}

void TForm7::Prepare() {
  FillCombo();
  cell = RoundInt(ImgBtAk->width() / 5.0);
  for (int i = 1; i <= 8; ++i) {
    const int top = RoundInt(i * cell - cell + 2.0) + ImgBtAk->y();
    QLabel* bt = LbBt[static_cast<std::size_t>(i)];
    QLabel* wet = LbWET[static_cast<std::size_t>(i)];
    bt->setText(Q(T(state, StandTypeName(i))));
    wet->setText(QString::fromUtf8(DevelopmentTypeName(i)));
    bt->setGeometry(20, top, ImgBtAk->x() - 24, cell - 4);
    wet->setGeometry(kHalfWidth, top, ImgWET->x() - kHalfWidth - 4, cell - 4);
  }
  LbAk->setGeometry(ImgBtAk->x() + 4, kGridTop - 20, kGridWidth, 18);
  LbBht->setGeometry(ImgWET->x() + 2, kGridTop - 20, kGridWidth, 18);
  identity = GeneratedStandIdentity{};
  deleteMode = false;
  DrawGrid(false, 0, 0);
  DrawGrid(true, 0, 0);
  // Forest development types are offered with the setting, and only in German.
  const bool wet = state.settings.forestDevelopmentTypes && state.settings.language == 1;
  for (QWidget* w : std::initializer_list<QWidget*>{ImgWET, LbBht}) w->setVisible(wet);
  for (int i = 1; i <= 8; ++i) LbWET[static_cast<std::size_t>(i)]->setVisible(wet);
  const int width = wet ? 666 : kHalfWidth;
  Panel1->setGeometry(14, kGridTop - 24, wet ? 638 : 324, 8 * cell + 34);
  const int buttonsTop = kGridTop + 8 * cell + 24;
  Button1->setGeometry(14, buttonsTop, 100, 30);
  BtLoeschen->setGeometry(124, buttonsTop, 100, 30);
  Button2->setGeometry(width - 114, buttonsTop, 100, 30);
  setFixedSize(width, buttonsTop + 44);
}

void TForm7::DrawGrid(bool developmentGrid, int row, int column) {
  QImage& image = gridImages_[developmentGrid ? 1 : 0];
  image = QImage(5 * cell, 8 * cell, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setPen(Qt::black);
  for (int i = 0; i < 8; ++i)
    for (int j = 0; j < 5; ++j) p.drawRect(j * cell, i * cell, cell - 1, cell - 1);
  if (row > 0 && column > 0) {
    QFont f("Arial");
    f.setPointSize(12);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(column * cell - cell + 6, row * cell - cell + 2, cell - 6, cell - 2), Qt::AlignLeft | Qt::AlignTop,
               "X");
  }
  p.end();
  QLabel* label = developmentGrid ? ImgWET : ImgBtAk;
  label->resize(image.size());
  label->setPixmap(QPixmap::fromImage(image));
}

void TForm7::GridMouseDown(bool developmentGrid, int x, int y) {
  // A click beside the cells chooses nothing (it would give a class the simulator skips).
  const std::optional<GridClassChoice> c = ClassFromGridClick(developmentGrid, x, y, cell);
  if (!c) return;
  DrawGrid(developmentGrid, c->row, c->column);
  if (developmentGrid) {
    identity.developmentType = c->typeLetter;
    identity.treatmentDigit = c->classDigit;
  } else {
    identity.standType = c->typeLetter;
    identity.ageDigit = c->classDigit;
  }
}

void TForm7::ComboBox1Select() {
  BtLoeschen->setEnabled(true);
  Button1->setEnabled(true);
  BtLoeschen->setFocus();
}

bool TForm7::CheckNumber(int& number) {
  switch (CheckStandNumber(S(ComboBox1->currentText()), 301, 999, &number)) {
    case StandNumberCheck::Ok:
      return true;
    case StandNumberCheck::NotANumber:
      Say(state, T(state, "Korrekt: ") + "\"301 Fichte,Tanne...\"", PlatformIcon::Warning);
      return false;
    case StandNumberCheck::OutOfRange:
      Say(state, T(state, "Gültigkeitsbereich") + " 301-999 " + T(state, "nicht eingehalten"), PlatformIcon::Warning);
      return false;
  }
  return false;
}

void TForm7::Button1Click() {
  deleteMode = false;
  int number = 0;
  if (!CheckNumber(number)) return;
  const std::string text = S(ComboBox1->currentText());
  identity.number = number;
  identity.shortName = ShortNameOf(text);
  const bool wet = state.settings.forestDevelopmentTypes && state.settings.language == 1;
  if (!wet && identity.standType == ' ') {
    Say(state, T(state, "Bitte Bestandestyp / Alterklasse auswählen"), PlatformIcon::Warning);
    return;
  }
  if (wet && identity.developmentType == ' ') {
    Say(state, T(state, "Bitte Bestandestyp und WET auswählen"), PlatformIcon::Warning);
    return;
  }
  const std::string name = GeneratedStandFileName(number);
  if (RegisterListsNumber(items_, number) &&
      !AskYes(state, T(state, "Wollen Sie den Bestand ") + name + T(state, " wirklich überschreiben?")))
    return;
  done(1);
}

void TForm7::BtLoeschenClick() {
  // The last stand of the list is not deleted here.
  if (ComboBox1->count() <= 1) return;
  int number = 0;
  if (!CheckNumber(number)) return;
  const std::string name = GeneratedStandFileName(number);
  // The stand deleted is the one the text names.
  if (!RegisterListsNumber(items_, number)) {
    Say(state, T(state, "Please select file from the listbox"), PlatformIcon::Warning);
    return;
  }
  if (!AskYes(state, T(state, "Wollen Sie den Bestand ") + name + T(state, " wirklich löschen?"))) return;
  deleteMode = true;
  const StoreOutcome o = DeleteEnterpriseStand(state.folders.program, number);
  auto translate = [this](const std::string& german) { return T(state, german); };
  if (o.ok() && o.fileMissing) Say(state, T(state, "File not found"), PlatformIcon::Warning);
  Say(state, StoreMessage(o, translate), o.ok() ? PlatformIcon::Information : PlatformIcon::Warning);
  if (o.ok()) ++deletions;
  FillCombo();
}

void TForm7::Button2Click() { done(4); }

void TForm7::done(int r) { QDialog::done(r == 1 ? 1 : 4); }

bool TForm7::eventFilter(QObject* watched, QEvent* e) {
  if ((watched == ImgBtAk || watched == ImgWET) && e->type() == QEvent::MouseButtonPress) {
    const QPoint at = static_cast<QMouseEvent*>(e)->position().toPoint();
    GridMouseDown(watched == ImgWET, at.x(), at.y());
    return true;
  }
  return QDialog::eventFilter(watched, e);
}

// ---- The save step

bool WindowStandSaver::Save(const GeneratedStand& stand) {
  auto translate = [this](const std::string& german) { return T(state_, german); };
  StoreOutcome o;
  if (stand.level == GenerationLevel::kStand) {
    if (slots_.ListBox1->currentRow() < 0) {
      Say(state_, T(state_, "Bitte erst Bestand wählen"), PlatformIcon::Warning);
      return false;
    }
    if (slots_.exec() != QDialog::Accepted) return false;
    o = SaveStandLevel(state_.folders.program, slots_.slot, ForSaving(stand),
                       GeneratedDescriptionLines(stand.width, stand.height, translate));
  } else {
    identity_.Prepare();
    if (identity_.exec() != 1) {
      identity_.ComboBox1->clear();
      return false;
    }
    o = SaveEnterpriseStand(state_.folders.program, identity_.identity, ForSaving(stand));
  }
  Say(state_, StoreMessage(o, translate), o.ok() ? PlatformIcon::Information : PlatformIcon::Warning);
  if (o.ok()) ++saved;
  return o.ok();
}

}  // namespace tolvek::generator
