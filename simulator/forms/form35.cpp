#include "simulator/forms/form35.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {
constexpr int kWidth = 260;
constexpr int kHistogramHeight = 130;
}  // namespace

TForm35::TForm35(SimulatorState& st, Forms& fm, QWidget* parent) : QDialog(parent, Qt::Tool), state(st), forms(fm) {
  setObjectName("Form35");
  setWindowTitle(" Form35");
  resize(kWidth, 300);
  Panel16 = new QFrame(this);
  Panel16->setObjectName("Panel16");
  Panel16->setGeometry(0, 0, kWidth, 160);
  Panel16->setStyleSheet("QFrame#Panel16 { background: #fffff0; }");
  LbP16Tabelle = new QLabel(Panel16);
  LbP16Tabelle->setObjectName("LbP16Tabelle");
  LbP16Tabelle->setTextFormat(Qt::PlainText);
  LbP16Tabelle->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont mono("Courier New");
  mono.setStyleHint(QFont::Monospace);
  mono.setPixelSize(11);
  LbP16Tabelle->setFont(mono);
  LbP16Tabelle->setGeometry(4, 0, kWidth - 8, 160);
  Panel1 = new QPushButton("X", Panel16);
  Panel1->setObjectName("Panel1");
  Panel1->setGeometry(kWidth - 24, 4, 20, 20);
  PnDuVertlg = new QFrame(this);
  PnDuVertlg->setObjectName("PnDuVertlg");
  PnDuVertlg->setGeometry(0, 160, kWidth, kHistogramHeight);
  ImgDuVertlg = new QLabel(PnDuVertlg);
  ImgDuVertlg->setObjectName("ImgDuVertlg");
  ImgDuVertlg->setGeometry(5, 5, kWidth - 10, kHistogramHeight - 10);
  PnDuVertlg->hide();
  Button1 = new QPushButton("OK", this);
  Button1->setObjectName("Button1");
  Button1->hide();
  connect(Panel1, &QPushButton::clicked, this, &TForm35::Panel1Click);
  connect(Button1, &QPushButton::clicked, this, &TForm35::Button1Click);
}

void TForm35::ShowTable(const StandInfo& info) {
  LbP16Tabelle->setText(Q(info.text));
  Panel16->setGeometry(0, 0, kWidth, info.panelHeight);
  LbP16Tabelle->setGeometry(4, 0, kWidth - 8, info.panelHeight);
}

void TForm35::ShowBesidePreview(const StandInfo& info, QWidget* preview, QWidget* anchorButton) {
  ShowTable(info);
  PnDuVertlg->hide();
  const int previewLeft = preview ? preview->x() : 0;
  const int buttonTop = anchorButton ? anchorButton->mapToGlobal(QPoint(0, 0)).y() : 400;
  StandInfoPlacement p = PlaceStandInfoBesidePreview(info.panelHeight, previewLeft, buttonTop);
  // The table may be taller than the placement leaves room for: it is never cut.
  setFixedSize(kWidth, std::max(p.height, info.panelHeight));
  move(p.left, std::max(0, p.top));
  show();
  raise();
}

void TForm35::ShowWithHistogram(const StandInfo& info, const SpeciesSums& sums, int left, int top) {
  ShowTable(info);
  if (!info.caption.empty()) setWindowTitle(Q(Translate(state.language, info.caption)));
  const int height = info.panelHeight - 2 + kHistogramHeight + 20;
  setFixedSize(kWidth, height);
  move(left, top);
  // The designed height counted the title bar, which a Qt window's height does not: 20 pixels less.
  PnDuVertlg->setGeometry(0, height - kHistogramHeight - 34 + 20, kWidth, kHistogramHeight);
  PnDuVertlg->show();
  histogram_ = QImage(ImgDuVertlg->width(), ImgDuVertlg->height(), QImage::Format_RGB32);
  {
    QtCanvas c(histogram_);
    DrawDbhHistogram(c, histogram_.width(), histogram_.height(), sums.histogram, state.language, false);
  }
  ImgDuVertlg->setPixmap(QPixmap::fromImage(histogram_));
  show();
  raise();
}

void TForm35::Button1Click() { close(); }
void TForm35::Panel1Click() { close(); }

}  // namespace tolvek
