#include "simulator/forms/form18.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QVBoxLayout>

#include "common/qt/qt_canvas.h"
#include "common/rounding.h"
#include "common/qt/qt_services.h"
#include "simulator/forms/form1.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {
constexpr int kButtonBarHeight = 40;
}

ReportPaintBox::ReportPaintBox(TForm18& owner, QWidget* parent) : QWidget(parent), owner_(owner) {
  setObjectName("PaintBox1");
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ReportPaintBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QtCanvas device(painter);
  const ReportPage& page = owner_.Page();
  ReportCanvas report(device, static_cast<double>(width()) / (page.widthMm * 10.0),
                      static_cast<double>(height()) / (page.heightMm * 10.0));
  DrawStandReport(report, owner_.ReportInput(), owner_.state.language);
}

TForm18::TForm18(SimulatorState& st, Forms& fm, QWidget* parent) : QDialog(parent), state(st), forms(fm) {
  setObjectName("Form18");
  setWindowTitle("Bestandesinventur");
  resize(RoundInt(900 * state.screenScale), RoundInt(720 * state.screenScale));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* bar = new QWidget(this);
  bar->setObjectName("Panel1");
  bar->setFixedHeight(kButtonBarHeight);
  auto* barLayout = new QHBoxLayout(bar);
  barLayout->setContentsMargins(8, 4, 8, 4);
  auto button = [&](const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), bar);
    b->setObjectName(name);
    b->setMinimumWidth(110);
    b->setAutoDefault(false);
    barLayout->addWidget(b);
    return b;
  };
  BtnSchliessen = button("BtnSchliessen", "schliessen");
  BtMultiSim27 = button("BtMultiSim27", "Diagramm");
  Button1 = button("Button1", "drucken");
  Button2 = button("Button2", "speichern");
  barLayout->addStretch(1);
  layout->addWidget(bar);

  ScrollBox = new QScrollArea(this);
  ScrollBox->setObjectName("ScrollBox");
  ScrollBox->setWidgetResizable(false);
  ScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ScrollBox->setStyleSheet("QScrollArea { background: #d0d0d0; }");
  auto* content = new QWidget();
  content->setObjectName("ReportClient");
  PaintBox1 = new ReportPaintBox(*this, content);
  ScrollBox->setWidget(content);
  layout->addWidget(ScrollBox, 1);

  connect(BtnSchliessen, &QPushButton::clicked, this, &TForm18::BtnSchliessenClick);
  connect(BtMultiSim27, &QPushButton::clicked, this, &TForm18::BtMultiSim27Click);
  connect(Button1, &QPushButton::clicked, this, &TForm18::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm18::Button2Click);
}

std::string TForm18::T(const char* german) const { return Translate(state.language, german); }

StandReportInput TForm18::ReportInput() const { return MakeStandReportInput(state, page_); }

void TForm18::SetupReportPage() {
  if (pageKnown_) return;
  pageKnown_ = true;
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) {
    page_ = ReportPage{};
    // Without an installed printer the report can still be printed to a PDF file: nothing to alarm the
    // user about, the screen layout simply uses the default page.
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    if (pdf.outputFormat() == QPrinter::PdfFormat && pdf.isValid()) return;
    // Told once: the screen layout then uses the default page.
    state.services.messages->PlatformBox(T("Kein Drucker installiert. Es werden Standardwerte gesetzt"), "",
                                         PlatformButtons::Ok, PlatformIcon::Information);
    page_ = ReportPage{};
    return;
  }
  QPrinter printer(info, QPrinter::HighResolution);
  const QRectF mm = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  if (mm.width() >= 1.0 && mm.height() >= 1.0) {
    page_.widthMm = static_cast<int>(mm.width());
    page_.heightMm = static_cast<int>(mm.height());
  }
}

void TForm18::PlaceBox() {
  QWidget* viewport = ScrollBox->viewport();
  const int cw = viewport->width(), ch = viewport->height();
  const ReportBox b = PlaceReportBox(page_, cw, ch);
  PaintBox1->setGeometry(std::max(0, b.left), std::max(0, b.top), b.width, b.height);
  ScrollBox->widget()->resize(std::max(cw, b.left + b.width), std::max(ch, b.top + b.height + 10));
  PaintBox1->update();
}

void TForm18::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  PlaceBox();
}

void TForm18::showEvent(QShowEvent* e) {
  SetupReportPage();
  // The window translation sets the other three buttons.
  BtMultiSim27->setText(Q(T("Diagramm")));
  QDialog::showEvent(e);
  PlaceBox();
}

bool BeginMetricPrinting(QPrinter& printer, QPainter& painter, SimulatorState& state) {
  if (painter.begin(&printer)) return true;
  state.services.messages->PlatformBox(Translate(state.language, "Kein Drucker installiert."), "", PlatformButtons::Ok,
                                       PlatformIcon::Information);
  return false;
}

double PrinterUnitsPerTenthMm(const QPrinter& printer) { return printer.resolution() / 254.0; }

bool TForm18::PrintOn(QPrinter& printer) {
  QPainter painter;
  if (!BeginMetricPrinting(printer, painter, state)) return false;
  const double unit = PrinterUnitsPerTenthMm(printer);
  QtCanvas device(painter);
  ReportCanvas report(device, unit, unit);
  StandReportInput input = ReportInput();
  const QRectF mm = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  if (mm.width() >= 1.0 && mm.height() >= 1.0) {
    input.page.widthMm = static_cast<int>(mm.width());
    input.page.heightMm = static_cast<int>(mm.height());
  }
  DrawStandReport(report, input, state.language);
  painter.end();
  return true;
}

void TForm18::Button1Click() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  PrintOn(printer);
}

bool TForm18::SavePictureTo(const std::string& path) {
  const QPixmap picture = grab();
  // A name typed without a suffix is saved as a bitmap, the first type the dialog offers.
  const QString file = Q(path);
  const char* format = QFileInfo(file).suffix().isEmpty() ? "BMP" : nullptr;
  if (!picture.save(file, format)) {
    state.services.messages->PlatformBox(T("Datei konnte nicht gespeichert werden:") + " " + path, "",
                                         PlatformButtons::Ok, PlatformIcon::Warning);
    return false;
  }
  state.services.messages->PlatformBox(T("Tabelle gespeichert als <") + path + T(">"), "", PlatformButtons::Ok,
                                       PlatformIcon::Information);
  return true;
}

void TForm18::Button2Click() {
  const QString file =
      QFileDialog::getSaveFileName(this, QString(), QString(), "Bitmap (*.bmp);;PNG (*.png);;JPEG (*.jpg)");
  if (file.isEmpty()) return;
  SavePictureTo(S(file));
}

void TForm18::GiveButtonsBack() {
  TForm1* f = forms.form1;
  if (!f) return;
  if (!state.run.repeatMode) f->sBtMultiSim->setEnabled(false);
  f->sBtDiagramm->setEnabled(true);
  f->sBtBestand->setEnabled(true);
  f->sBtVerfahren->setEnabled(true);
  f->sBtGitter->setEnabled(true);
}

void TForm18::ApplyPendingButtons() {
  if (!buttonsPending_) return;
  buttonsPending_ = false;
  GiveButtonsBack();
}

void TForm18::done(int result) {
  state.run.showReport = false;
  if (state.run.busy) buttonsPending_ = true;  // only the run controls act while a run goes on
  else GiveButtonsBack();
  QDialog::done(result);
}

void TForm18::BtnSchliessenClick() { done(QDialog::Accepted); }

void TForm18::BtMultiSim27Click() {
  // The main window's diagrams over the report, which shows again when they close; within a run of
  // repetitions they show its intermediate results.
  if (forms.form1) forms.form1->ShowStandDiagrams();
}

}  // namespace tolvek
