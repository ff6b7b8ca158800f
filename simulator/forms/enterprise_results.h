#pragma once
// The windows of an evaluated enterprise inventory: the choice of the evaluation unit (TForm27), the
// result table of the report's blocks (TForm31) and the empty window TForm16.
#include <QDialog>
#include <QImage>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "simulator/forms/forms.h"
#include "simulator/state.h"

class QLabel;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QFrame;

namespace tolvek {

// "Wahl der Auswertungseinheit": 7 × 7 cells of type positions (rows) and classes (columns), row and
// column 7 the comparisons; a click chooses the unit and closes the window.
class TForm27 : public QDialog {
  Q_OBJECT
 public:
  TForm27(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);
  SimulatorState& state;
  Forms& forms;

  std::array<QLabel*, 13> Label{};  // Label1 .. Label12 (index 1..12)
  QLabel* ImgBTAk = nullptr;
  QImage picture;
  QPushButton* Button2 = nullptr;       // "weiter": the unit chosen last
  QPushButton* Button3 = nullptr;       // "Anweisung": leaves, with the operating help
  QPushButton* BtMultiSim27 = nullptr;  // "schliessen": leaves the views
  bool leave = false;                   // the view loop ends

  // Fills the window: the cells with their plots (tag 0) or areas, the names of the types and classes.
  void Button1Click();
  void ImgBTAkMouseDown(int x, int y);
  void Button2Click();
  void Button3Click();
  void BtMultiSim27Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
};

// The result table: the report's head and the blocks of the chosen unit, with a red line over the
// column the charts show.
class TForm31 : public QDialog {
  Q_OBJECT
 public:
  TForm31(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);
  SimulatorState& state;
  Forms& forms;
  QPlainTextEdit* Memo1 = nullptr;
  QFrame* Panel1 = nullptr;         // the red line
  QPushButton* Button1 = nullptr;   // "schliessen"
  QPushButton* Button2 = nullptr;   // "drucken"

  // Writes the lines to "temp\tempG.txt", shows them and places the marker over the column; modal.
  // False (with the message) when the file could not be written; the table is shown all the same.
  bool ShowStratumTable(const std::vector<std::string>& lines, int column);
  void Fill(const std::vector<std::string>& lines, int column);
  void Button1Click();
  void Button2Click();
  // Prints "temp\tempG.txt" on a printer already chosen.
  bool PrintOn(QPrinter& printer);
  // The print dialog; tests put a PDF printer here.
  std::function<bool(QPrinter&)> choosePrinter;
};

// An empty window of the enterprise result views; its one button closes it.
class TForm16 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm16(QWidget* parent = nullptr);
  QPushButton* BtnStop = nullptr;
  void BtnStopClick();
};

}  // namespace tolvek
