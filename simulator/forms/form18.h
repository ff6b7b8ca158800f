#pragma once
// The stand report window "Bestandesinventur": the report page drawn on PaintBox1, printed on the
// printer and saved as a picture. It shows whatever the last evaluation left, redrawn on every paint.
#include <QDialog>
#include <QWidget>
#include <string>

#include "simulator/forms/forms.h"
#include "simulator/state.h"
#include "simulator/views/stand_report.h"

class QPrinter;
class QPushButton;
class QScrollArea;

namespace tolvek {

class TForm18;

// Starts a print job drawn in 0.1 mm on the printer's printable area. False, after the message
// "Kein Drucker installiert.", when the job cannot start.
bool BeginMetricPrinting(QPrinter& printer, class QPainter& painter, SimulatorState& state);
// Printer pixels per 0.1 mm.
double PrinterUnitsPerTenthMm(const QPrinter& printer);

// The page on screen: the report mapped from 0.1 mm onto the box.
class ReportPaintBox : public QWidget {
  Q_OBJECT
 public:
  explicit ReportPaintBox(TForm18& owner, QWidget* parent = nullptr);

 protected:
  void paintEvent(class QPaintEvent* e) override;

 private:
  TForm18& owner_;
};

class TForm18 : public QDialog {
  Q_OBJECT
 public:
  TForm18(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);

  SimulatorState& state;
  Forms& forms;

  QScrollArea* ScrollBox = nullptr;
  ReportPaintBox* PaintBox1 = nullptr;
  QPushButton* BtnSchliessen = nullptr;  // "schliessen"
  QPushButton* BtMultiSim27 = nullptr;   // "Diagramm"
  QPushButton* Button1 = nullptr;        // "drucken"
  QPushButton* Button2 = nullptr;        // "speichern"

  // The page size: the default printer's printable size when one is installed, else 190 x 270 mm
  // (after telling the user once).
  void SetupReportPage();
  const ReportPage& Page() const { return page_; }
  // What the report shows now.
  StandReportInput ReportInput() const;

  void Button1Click();        // print through the print dialog
  void Button2Click();        // save the window's picture
  void BtnSchliessenClick();  // close and hand the buttons back to the main window
  void BtMultiSim27Click();   // the result diagrams over the report

  // Prints the report on an already set-up printer; false (with the message) when the job cannot start.
  bool PrintOn(QPrinter& printer);
  // Saves the window's picture; false (with the message) when it could not be written.
  bool SavePictureTo(const std::string& path);
  // Closing hands "Diagramm", "Bestände", "Verfahren" and "Gitter" back to the main window. Closed
  // during a run of repetitions, that waits for the end of the run.
  void ApplyPendingButtons();

 protected:
  void resizeEvent(class QResizeEvent* e) override;
  void showEvent(class QShowEvent* e) override;
  // However the window closes ("schliessen", the close box, Escape), the main window gets its buttons back.
  void done(int result) override;

 private:
  void PlaceBox();
  std::string T(const char* german) const;
  ReportPage page_;
  void GiveButtonsBack();
  bool pageKnown_ = false;
  bool buttonsPending_ = false;
};

}  // namespace tolvek
