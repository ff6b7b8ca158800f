// The main window's picture of a run of repetitions: the histogram of the basal-area deviations and
// the bias ± SD rows after every repetition, and the printed page of "Neues Verfahren / Druck".
#include <QDateTime>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <memory>

#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form18.h"
#include "simulator/forms/paced_picture.h"
#include "simulator/forms/small_dialogs.h"
#include "simulator/views/repetition_display.h"
#include "simulator/views/stand_report.h"

namespace tolvek {

namespace {

QLabel* RepeatLabel(QWidget* parent, const char* name, QRect r) {
  auto* l = new QLabel(parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setGeometry(r);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  l->hide();
  return l;
}

}  // namespace

void TForm1::BuildRunDisplayArea() {
  // In the data column's slot, below the run's counters and the wait panel: the run buttons and the map
  // stay free, and on a 768-pixel screen the three pictures end above the species legend.
  const int kLeft = PnDaten->x() + 1, kTop = kDataSlotTop;
  const int w = kRepeatImageWidth, h = kRepeatImageHeight, r = kRepeatRowHeight;
  ImgRepeat = RepeatLabel(Client, "ImgRepeat", QRect(kLeft, kTop, w, h));
  ImgRepeatN = RepeatLabel(Client, "ImgRepeatN", QRect(kLeft, kTop + h + 2, w, r));
  ImgRepeatD = RepeatLabel(Client, "ImgRepeatD", QRect(kLeft, kTop + h + r + 4, w, r));
  repeatImages[0] = std::make_unique<QImage>(w, h, QImage::Format_RGB32);
  repeatImages[1] = std::make_unique<QImage>(w, r, QImage::Format_RGB32);
  repeatImages[2] = std::make_unique<QImage>(w, r, QImage::Format_RGB32);
  for (const auto& image : repeatImages) image->fill(Qt::white);
  QLabel* const labels[3] = {ImgRepeat, ImgRepeatN, ImgRepeatD};
  for (int i = 0; i < 3; ++i) {
    repeatPictures_[i] = new PacedPicture(labels[i], repeatImages[i].get(), 40, false);
    repeatPictures_[i]->SetBeforeLook([this] { DrawHeldRunStatistics(); });
  }
  // What a run holds back is drawn before its loops hand over to events, where anybody may look.
  state.run.pumps.beforePump = [this] { SettleRunPictures(); };

  Panel11 = new QFrame(Client);
  Panel11->setObjectName("Panel11");
  Panel11->setGeometry(320, 200, 254, 254);
  Panel11->setFrameShape(QFrame::Box);
  Panel11->setStyleSheet("QFrame#Panel11 { background: white; }");
  Panel11->hide();
}

void TForm1::ShowRunStatistics() {
  RunStatistics& stats = state.evaluation.run;
  // The scales follow every repetition, drawn or not: the page printed after the run needs them.
  FitHistogramScales(stats);
  stats.statisticsReady = true;
  if (!state.run.graphics) return;
  // The pictures are drawn from these statistics when they are next looked at: a run shows them a few
  // dozen times a second, and drawing them for every one of hundreds of repetitions a second took
  // longer than the repetitions.
  drawnStatistics_ = stats;
  statisticsToDraw_ = true;
  QLabel* const labels[3] = {ImgRepeat, ImgRepeatN, ImgRepeatD};
  for (int i = 0; i < 3; ++i) {
    repeatPictures_[i]->Show();
    labels[i]->show();
    RaiseWhereCovered(labels[i]);
  }
}

void TForm1::DrawHeldRunStatistics() {
  if (!statisticsToDraw_) return;
  statisticsToDraw_ = false;
  QtCanvas g(*repeatImages[0]), n(*repeatImages[1]), d(*repeatImages[2]);
  DrawDeviationHistogram(drawnStatistics_, {g, repeatImages[0]->width(), repeatImages[0]->height()},
                         {n, repeatImages[1]->width(), repeatImages[1]->height()},
                         {d, repeatImages[2]->width(), repeatImages[2]->height()}, state.language);
}

void TForm1::SettleRunPictures() {
  SettleMap();
  DrawHeldRunStatistics();
}

void TForm1::PaceRunPictures(bool paced) {
  if (!paced) SettleRunPictures();
  mapPicture_->SetPaced(paced);
  for (PacedPicture* picture : repeatPictures_) picture->SetPaced(paced);
}

void TForm1::PrintRunResult() {
  QPrinter printer(QPrinter::HighResolution);
  if (choosePrinter) {
    if (!choosePrinter(printer)) return;
  } else {
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName("PrintDialog1");
    if (dialog.exec() != QDialog::Accepted) return;
  }
  if (forms.form38) forms.form38->exec();
  PrintRunResultOn(printer);
}

bool TForm1::PrintRunResultOn(QPrinter& printer) {
  QPainter painter;
  if (!BeginMetricPrinting(printer, painter, state)) return false;
  const double unit = PrinterUnitsPerTenthMm(printer);
  QtCanvas device(painter);
  ReportCanvas page(device, unit, unit);

  RunPrintInput input;
  const QRectF mm = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  if (mm.width() >= 1.0) input.pageWidth = static_cast<int>(mm.width() * 10.0);
  input.printTop = state.printTop;
  input.enterpriseMode = state.run.enterpriseMode;
  input.standNumber = std::to_string(state.currentStand.files.number);
  const char* const captions[10] = {"LblBestand",   "LblFlaeche", "LblBaeume",    "LbBestGroesse", "LbModBestande",
                                    "LblVerfahren", "LblRadius",  "LblGitterAnf", "LbAnzStpQ",     "LbBaumZahlQ"};
  for (std::size_t k = 0; k < input.captions.size(); ++k)
    if (auto* l = Client->findChild<QLabel*>(QString::fromLatin1(captions[k]))) input.captions[k] = S(l->text());
  input.dateTime = S(QDateTime::currentDateTime().toString("dd.MM.yyyy  hh:mm:ss"));
  PrintRunResultPage(page, input, state.evaluation.run, state.language);
  painter.end();
  return true;
}

}  // namespace tolvek
