#include "simulator/forms/text_viewer.h"

#include <QFileDialog>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/paths.h"
#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form18.h"
#include "simulator/translate.h"
#include "simulator/views/stand_report.h"
#include "simulator/views/text_print.h"

namespace tolvek {

TBtnRightDlg3::TBtnRightDlg3(SimulatorState& st, Forms& fm, QWidget* parent)
    : QDialog(parent), state(st), forms(fm) {
  setObjectName("BtnRightDlg3");
  setWindowTitle("Tolvek");
  resize(760, 620);
  auto* layout = new QHBoxLayout(this);
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont mono("Courier New");
  mono.setStyleHint(QFont::Monospace);
  mono.setPointSize(9);
  Memo1->setFont(mono);
  layout->addWidget(Memo1, 1);
  auto* column = new QVBoxLayout();
  auto button = [&](const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setMinimumWidth(100);
    column->addWidget(b);
    return b;
  };
  BtnSchliessen = button("BtnSchliessen", "schliessen");
  Button1 = button("Button1", "drucken");
  Button2 = button("Button2", "speichern");
  column->addStretch(1);
  layout->addLayout(column);
  connect(BtnSchliessen, &QPushButton::clicked, this, &TBtnRightDlg3::BtnSchliessenClick);
  connect(Button1, &QPushButton::clicked, this, &TBtnRightDlg3::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TBtnRightDlg3::Button2Click);
}

std::string TBtnRightDlg3::T(const char* german) const { return Translate(state.language, german); }

bool TBtnRightDlg3::ShowTextFile(int kind, const std::string& path) {
  std::vector<std::string> lines;
  if (!ReadTextLines(path, lines)) {
    state.services.messages->PlatformBox(T("Datei nicht gefunden!") + " " + path, "", PlatformButtons::Ok,
                                         PlatformIcon::Warning);
    return false;
  }
  QStringList text;
  text << " ";
  for (const std::string& l : lines) text << Q("     " + l);
  Memo1->setPlainText(text.join('\n'));
  kind_ = kind;
  shownFile_ = path;
  BtnSchliessen->setText(Q(T("schliessen")));
  Button1->setText(Q(T("drucken")));
  Button2->setText(Q(T("speichern")));
  show();
  raise();
  return true;
}

namespace {

bool ReadForPrinting(SimulatorState& state, const std::string& path, std::vector<std::string>& lines) {
  if (ReadTextLines(path, lines)) return true;
  // Nothing is printed and the program goes on: every answer would do the same, so OK is the one.
  state.services.messages->PlatformBox(Translate(state.language, "Datei nicht gefunden!") + "\n" + path, "",
                                       PlatformButtons::Ok, PlatformIcon::Warning);
  return false;
}

}  // namespace

bool PrintTextFileTo(SimulatorState& state, const std::string& path, QPrinter& printer) {
  std::vector<std::string> lines;
  if (!ReadForPrinting(state, path, lines)) return false;
  QPainter painter;
  if (!BeginMetricPrinting(printer, painter, state)) return false;
  const double unit = PrinterUnitsPerTenthMm(printer);
  QtCanvas device(painter);
  ReportCanvas page(device, unit, unit);
  const std::vector<PrintedPage> pages = LayOutTextPages(lines);
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (i > 0) printer.newPage();
    DrawTextPage(page, pages[i]);
  }
  painter.end();
  return true;
}

bool TBtnRightDlg3::PrintTextFileOn(const std::string& path, QPrinter& printer) {
  return PrintTextFileTo(state, path, printer);
}

void TBtnRightDlg3::PrintTextFile(const std::string& path) {
  std::vector<std::string> lines;
  if (!ReadForPrinting(state, path, lines)) return;
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  PrintTextFileOn(path, printer);
}

void TBtnRightDlg3::Button1Click() { PrintTextFile(shownFile_); }

bool TBtnRightDlg3::SaveShownFileTo(const std::string& target) {
  // The table the user looks at is the one saved, byte for byte.
  std::string bytes;
  if (!ReadWholeFile(shownFile_, bytes) || !WriteFileAtomic(target, bytes).ok()) {
    state.services.messages->PlatformBox(T("Datei konnte nicht gespeichert werden:") + " " + target, "",
                                         PlatformButtons::Ok, PlatformIcon::Warning);
    return false;
  }
  state.services.messages->PlatformBox(T("Tabelle gespeichert als <") + target + ">", "", PlatformButtons::Ok,
                                       PlatformIcon::Information);
  return true;
}

void TBtnRightDlg3::Button2Click() {
  const QString file = QFileDialog::getSaveFileName(this, QString(), QString(), "*.txt");
  if (file.isEmpty()) return;
  SaveShownFileTo(S(file));
}

void TBtnRightDlg3::BtnSchliessenClick() {
  close();
  if (TForm1* f = forms.form1) {
    if (auto* rd = f->findChild<QRadioButton*>("RdDtsch")) {
      const bool exclusive = rd->autoExclusive();
      rd->setAutoExclusive(false);
      rd->setChecked(false);
      rd->setAutoExclusive(exclusive);
    }
    if (auto* group = f->findChild<QGroupBox*>("GrpDtEng")) group->hide();
  }
}

}  // namespace tolvek
