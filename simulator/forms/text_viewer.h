#pragma once
// The text viewer: shows a work file ("Temp\ProbeBa.txt", "Temp\StatModBst.Txt"), prints it and saves
// a copy of it.
#include <QDialog>
#include <string>
#include <vector>

#include "simulator/forms/forms.h"
#include "simulator/state.h"

class QPlainTextEdit;
class QPrinter;
class QPushButton;

namespace tolvek {

// Prints a text file on a printer already chosen, 0.1 mm units, Courier New, each page its own job. A file
// that cannot be read is reported and nothing is printed; false then, and when the job cannot start.
bool PrintTextFileTo(SimulatorState& state, const std::string& path, QPrinter& printer);

class TBtnRightDlg3 : public QDialog {
  Q_OBJECT
 public:
  TBtnRightDlg3(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);

  SimulatorState& state;
  Forms& forms;
  QPlainTextEdit* Memo1 = nullptr;
  QPushButton* BtnSchliessen = nullptr;  // "schliessen"
  QPushButton* Button1 = nullptr;        // "drucken"
  QPushButton* Button2 = nullptr;        // "speichern"

  // Fills the viewer with the file (each line indented by five blanks) and shows it, not modally.
  // False with a message when the file cannot be read: the viewer then stays as it was.
  bool ShowTextFile(int kind, const std::string& path);
  const std::string& ShownFile() const { return shownFile_; }

  void Button1Click();        // print the shown file
  void Button2Click();        // save a copy of the shown file
  void BtnSchliessenClick();  // close

  // Prints a text file after the print dialog. A file that cannot be read is reported and nothing is
  // printed.
  void PrintTextFile(const std::string& path);
  // The printing itself on a set-up printer; false when the file cannot be read or the job cannot start.
  bool PrintTextFileOn(const std::string& path, QPrinter& printer);
  // Copies the shown file into the target; false with a message when that failed.
  bool SaveShownFileTo(const std::string& target);

 private:
  std::string T(const char* german) const;
  std::string shownFile_;
  int kind_ = 0;
};

}  // namespace tolvek
