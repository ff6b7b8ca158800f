#include "simulator/forms/form42.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "common/qt/qt_services.h"
#include "common/qt/widget_makers.h"

namespace tolvek {

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, int width) {
  return widgets::Button(parent, name, caption, QRect(0, 0, width, 25));
}

QLabel* MakeIcon(QWidget* parent, const char* name) {
  QLabel* l = widgets::Make<QLabel>(parent, name);
  l->setGeometry(6, 6, 28, 28);
  return l;
}

}  // namespace

TForm42::TForm42(SimulatorState& st, QWidget* parent) : QDialog(parent), state(st) {
  setObjectName("Form42");
  setWindowTitle("Message");
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setModal(true);
  setStyleSheet("QDialog#Form42 { background: white; border: 1px solid #404040; }");

  PnMsg = new QFrame(this);
  PnMsg->setObjectName("PnMsg");
  PnMsg->setStyleSheet("QFrame#PnMsg { background: white; }");
  LbMeldung = new QLabel(PnMsg);
  LbMeldung->setObjectName("LbMeldung");
  LbMeldung->setTextFormat(Qt::PlainText);
  LbMeldung->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont f("Arial");
  f.setPixelSize(11);
  LbMeldung->setFont(f);
  ImgWarning = MakeIcon(PnMsg, "ImgWarning");
  ImgWarning->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(28, 28));
  ImgInfo = MakeIcon(PnMsg, "ImgInfo");
  ImgInfo->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(28, 28));
  ImgConfirm = MakeIcon(PnMsg, "ImgConfirm");
  ImgConfirm->setText(" ?");
  QFont qf("Arial");
  qf.setPixelSize(22);
  qf.setBold(true);
  ImgConfirm->setFont(qf);
  ImgConfirm->setStyleSheet("color: #1a5fb4;");

  btnYES = MakeButton(this, "btnYES", "ja", 60);
  btnNO = MakeButton(this, "btnNO", "nein", 60);
  btnOK = MakeButton(this, "btnOK", "OK", 60);
  BtLinks = MakeButton(this, "BtLinks", "", 103);
  BtRechts = MakeButton(this, "BtRechts", "", 103);
  connect(btnYES, &QPushButton::clicked, this, [this] { btnYESClick(MessageButton::Yes); });
  connect(btnNO, &QPushButton::clicked, this, [this] { btnYESClick(MessageButton::No); });
  connect(btnOK, &QPushButton::clicked, this, [this] { btnYESClick(MessageButton::Ok); });
  connect(BtLinks, &QPushButton::clicked, this, [this] { btnYESClick(MessageButton::Left); });
  connect(BtRechts, &QPushButton::clicked, this, [this] { btnYESClick(MessageButton::Right); });
  Prepare("", MessageKind::None, MessageButtons::Ok);
}

void TForm42::Prepare(const std::string& text, MessageKind kind, MessageButtons buttons) {
  layout_ = LayoutMessage(text, kind, buttons);
  int textWidth = 0;
  for (const QString& line : Q(layout_.text).split('\n'))
    textWidth = std::max(textWidth, LbMeldung->fontMetrics().horizontalAdvance(line));
  WidenMessageLayout(layout_, textWidth);
  const QFontMetrics buttonFont = BtLinks->fontMetrics();
  FitNamedButtons(layout_, buttonFont.horizontalAdvance(Q(layout_.leftCaption)),
                  buttonFont.horizontalAdvance(Q(layout_.rightCaption)));
  const MessageLayout& m = layout_;
  setFixedSize(m.width, m.height);
  LbMeldung->setGeometry(m.labelLeft, m.labelTop, m.labelWidth, m.labelHeight);
  LbMeldung->setText(Q(m.text));
  btnYES->move(m.yesLeft, m.buttonTop);
  btnNO->move(m.noLeft, m.buttonTop);
  btnOK->move(m.okLeft, m.buttonTop);
  BtLinks->setGeometry(m.leftLeft, m.buttonTop, m.leftWidth, 25);
  BtRechts->setGeometry(m.rightLeft, m.buttonTop, m.rightWidth, 25);
  for (QWidget* w : {static_cast<QWidget*>(btnYES), static_cast<QWidget*>(btnNO), static_cast<QWidget*>(btnOK),
                     static_cast<QWidget*>(BtLinks), static_cast<QWidget*>(BtRechts), static_cast<QWidget*>(ImgWarning),
                     static_cast<QWidget*>(ImgInfo), static_cast<QWidget*>(ImgConfirm)})
    w->hide();
  ImgWarning->setVisible(m.icon == MessageIcon::Warning);
  ImgInfo->setVisible(m.icon == MessageIcon::Info);
  ImgConfirm->setVisible(m.icon == MessageIcon::Question);
  btnOK->setVisible(m.showOk);
  btnYES->setVisible(m.showYes);
  btnNO->setVisible(m.showNo);
  BtLinks->setText(Q(m.leftCaption));
  BtRechts->setText(Q(m.rightCaption));
  BtLinks->setVisible(m.showLeft);
  BtRechts->setVisible(m.showRight);
  PnMsg->setGeometry(1, 0, m.width - 2, m.height - 2);
  PnMsg->lower();
  // The first button a user would take has the focus, so Enter answers like a click.
  QPushButton* first = m.showYes ? btnYES : m.showOk ? btnOK : BtLinks;
  first->setDefault(true);
  first->setFocus();
}

int TForm42::ShowMessageBox(const std::string& text, MessageKind kind, MessageButtons buttons) {
  Prepare(text, kind, buttons);
  if (state.services.beeper) state.services.beeper->Beep(300, 200);
  int screenHeight = 768;
  if (QScreen* s = QGuiApplication::primaryScreen()) screenHeight = s->availableGeometry().bottom() + 1;
  move(2, ClampMessageTop(state.messageTop, height(), screenHeight));
  return exec();
}

int TForm42::AskYesNoAt(const std::string& text, MessageKind kind, int left, int top) {
  state.messageTop = top;
  Prepare(text, kind, MessageButtons::YesNo);
  if (state.services.beeper) state.services.beeper->Beep(300, 200);
  int screenHeight = 768;
  if (QScreen* s = QGuiApplication::primaryScreen()) screenHeight = s->availableGeometry().bottom() + 1;
  move(left, ClampMessageTop(top, height(), screenHeight));
  return exec();
}

void TForm42::btnYESClick(MessageButton b) { done(MessageButtonResult(b)); }

void TForm42::reject() { done(MessageCloseResult(layout_)); }

}  // namespace tolvek
