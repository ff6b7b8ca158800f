#pragma once
// Small modal windows: the lower-diameter-limit list, the enterprise-structure question, a yes/no
// question kept for the species call and the print-position choice. Each closes with result 1.
#include <QDialog>
#include <string>
#include <vector>

#include "simulator/state.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace tolvek {

// "Dialog": the caller fills ListBox1 and reads the selected line after "OK".
class TBtnRightDlg8 : public QDialog {
  Q_OBJECT
 public:
  explicit TBtnRightDlg8(QWidget* parent = nullptr);
  QLabel* Label1 = nullptr;  // "BHD Grenzdurchmesser "
  QLabel* Label2 = nullptr;  // "cm"
  QListWidget* ListBox1 = nullptr;
  QPushButton* BtWeiter = nullptr;
};

// Enterprise-structure question: "No" sets the answer flag to 1, "Yes" to 0.
class TForm32 : public QDialog {
  Q_OBJECT
 public:
  TForm32(SimulatorState& state, QWidget* parent = nullptr);
  SimulatorState& state;
  QLabel* LbFrage = nullptr;
  QLabel* LbTabelle = nullptr;
  QPushButton* Button1 = nullptr;  // "No"
  QPushButton* Button2 = nullptr;  // "Yes"

  // The area balance as a table in a font of even widths. As a preview: without buttons, not waiting,
  // with its top-left corner at `at` (screen), above `over` (the window it belongs to). As a question:
  // modal, with the question below the table; the answer goes to the structure answer flag.
  void ShowTablePreview(const std::vector<std::string>& lines, QPoint at, QWidget* over);
  void AskAboutTable(const std::vector<std::string>& lines, const std::string& question, QPoint at);

 private:
  // Table and window sized to the lines; the question's room below the table when asked.
  void LayOutTable(const std::vector<std::string>& lines, int points, bool withQuestion);
};

// Yes/no question reporting through its tag: "ja" 1, "nein" 0.
class TForm34 : public QDialog {
  Q_OBJECT
 public:
  explicit TForm34(QWidget* parent = nullptr);
  QLabel* LbFrage = nullptr;
  QPushButton* BtNein = nullptr;
  QPushButton* Btja = nullptr;
  int Tag = 0;
};

// Print position of the frequency distribution: "oben" 70, "mitte" 155, "unten" 240.
class TForm38 : public QDialog {
  Q_OBJECT
 public:
  TForm38(SimulatorState& state, QWidget* parent = nullptr);
  SimulatorState& state;
  QLabel* Label1 = nullptr;  // "Druckposition"
  QPushButton* BtOben = nullptr;
  QPushButton* BtMitte = nullptr;
  QPushButton* BtUnten = nullptr;
};

}  // namespace tolvek
