#include "generator/forms/windows.h"

#include <QFontDatabase>
#include <QImage>
#include <QPixmap>
#include <QVBoxLayout>

#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "generator/forms/named.h"
#include "common/translate.h"

namespace tolvek::generator {

// ---- TForm1

TForm1::TForm1(std::function<void()> start) : start_(std::move(start)) {
  setObjectName("Form1");
  setWindowFlags(Qt::FramelessWindowHint);
  BtnStart = Named(new QPushButton("Bestand wird generiert", this), "BtnStart");
  BtnStart->hide();
  Timer1 = Named(new QTimer(this), "Timer1");
  Timer1->setInterval(1);
  QObject::connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  QObject::connect(BtnStart, &QPushButton::clicked, this, [this] { BtnStartClick(); });
}

void TForm1::Timer1Timer() { BtnStartClick(); }

void TForm1::BtnStartClick() {
  // The timer goes off first, so the session starts exactly once.
  Timer1->stop();
  hide();
  if (start_) start_();
}

// ---- TForm6

TForm6::TForm6() {
  setObjectName("Form6");
  setWindowTitle("6 Bestand");
  Label1 = Named(new QLabel("Bestand generieren für Simulation "), "Label1");
  Label2 = Named(new QLabel("Die Kluppschwelle ist dabei ohne Bedeutung"), "Label2");
  RadioButton1 = Named(new QRadioButton("auf Bestandesebene"), "RadioButton1");
  RadioButton1->setToolTip("Bestand der Größe 300x300m wird erzeugt");
  RadioButton2 = Named(new QRadioButton("auf Betriebsebene"), "RadioButton2");
  RadioButton2->setToolTip("Bestand der Größe 100x100m wird erzeugt");
  RadioButton2->setChecked(true);
  Button1 = Named(new QPushButton("weiter"), "Button1");
  Button1->setDefault(true);
  auto* l = new QVBoxLayout(this);
  QFont big = Label1->font();
  big.setPointSize(big.pointSize() + 2);
  big.setBold(true);
  Label1->setFont(big);
  l->addWidget(Label1);
  l->addSpacing(6);
  l->addWidget(RadioButton1);
  l->addWidget(RadioButton2);
  l->addSpacing(6);
  l->addWidget(Label2);
  l->addSpacing(10);
  l->addWidget(Button1, 0, Qt::AlignRight);
  l->setSizeConstraint(QLayout::SetFixedSize);
  QObject::connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

void TForm6::Button1Click() {
  level = RadioButton1->isChecked() ? GenerationLevel::kStand : GenerationLevel::kEnterprise;
  done(1);
}

// ---- TForm3

TForm3::TForm3() {
  setObjectName("Form3");
  setWindowTitle("F3  Bestand");
  ImgBest = Named(new QLabel(this), "ImgBest");
  Label1 = Named(new QLabel(this), "Label1");
  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);
  Memo1 = Named(new QPlainTextEdit(this), "Memo1");
  Memo1->setReadOnly(true);
  Memo1->setToolTip("Angaben je Hektar");
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPointSize(9);
  Memo1->setFont(fixed);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Label2 = Named(new QLabel("Abweichungen von den Vorgaben möglich", this), "Label2");
  Label2->setWordWrap(true);
  BtnOK = Named(new QPushButton("weiter", this), "BtnOK");
  BtnOK->setToolTip("Einen weiteren Bestand generieren");
  BtnOK->setDefault(true);
  Button1 = Named(new QPushButton("speichern", this), "Button1");
  Button2 = Named(new QPushButton("zurück zu TOLVEK", this), "Button2");
  QObject::connect(BtnOK, &QPushButton::clicked, this, [this] { BtnOKClick(); });
  QObject::connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  QObject::connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  FitToScreen(1024, 768, 1024, 768);
}

void TForm3::FitToScreen(int screenWidth, int screenHeight, int availableWidth, int availableHeight) {
  geometry_ = ResultWindowSize(screenWidth, screenHeight);
  // The window takes the screen's height; where a task bar or frame leaves less, what is left.
  const int w = std::min(geometry_.width, availableWidth);
  const int h = std::min(geometry_.height, availableHeight);
  const int margin = 8;
  int size = std::min(geometry_.imageSize, h - 2 * margin);
  int left = geometry_.imageLeft >= 0 ? geometry_.imageLeft : geometry_.width - geometry_.imageSize - 3 * margin / 2;
  if (left + size + margin > w) size = std::max(100, w - left - margin);
  geometry_.imageSize = size;
  setFixedSize(w, h);
  ImgBest->setGeometry(left, margin, size, size);
  const int colW = left - 2 * margin;
  int y = margin;
  Label1->setGeometry(margin, y, colW, 22);
  y += 26;
  const int buttonsH = 3 * 30 + 2 * 6;
  const int memoH = std::max(120, std::min(360, h - y - buttonsH - 60 - 3 * margin));
  Memo1->setGeometry(margin, y, colW, memoH);
  y += memoH + margin;
  Label2->setGeometry(margin, y, colW, 40);
  y += 48;
  for (QPushButton* b : {BtnOK, Button1, Button2}) {
    b->setGeometry(margin, y, colW, 30);
    y += 36;
  }
}

void TForm3::ShowStand(const GeneratedStand& stand, const std::vector<std::string>& memo, const LanguageTable& table,
                       std::function<bool()> save) {
  picture_ = QImage(geometry_.imageSize, geometry_.imageSize, QImage::Format_RGB32);
  picture_.fill(Qt::white);
  {
    QtCanvas canvas(picture_);
    DrawGeneratedStand(canvas, geometry_.imageSize, stand);
  }
  ImgBest->setPixmap(QPixmap::fromImage(picture_));
  Label1->setText(Q(ResultCaption(table)));
  Memo1->setToolTip(Q(Translate(table, "Angaben je Hektar")));
  QStringList lines;
  for (const auto& l : memo) lines << Q(l);
  Memo1->setPlainText(lines.join('\n'));
  save_ = std::move(save);
  // Storing stands is a step of its own; until one is installed the button has nothing to do.
  Button1->setEnabled(static_cast<bool>(save_));
  choice = ResultChoice::kNext;
}

void TForm3::BtnOKClick() {
  choice = ResultChoice::kNext;
  accept();
}

void TForm3::Button1Click() {
  if (!save_) return;
  // Once stored, the window closes and the next pass begins.
  if (save_()) {
    choice = ResultChoice::kNext;
    accept();
  }
}

void TForm3::Button2Click() {
  choice = ResultChoice::kBackToTolvek;
  accept();
}

}  // namespace tolvek::generator
