#pragma once
// "Auswahlfläche anzeigen": which selection areas the step display of the true values draws, and
// whether it pauses after each ("schrittweise") or not ("schnell").
#include <QDialog>

#include "simulator/state.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace tolvek {

class TForm1;

class TForm22 : public QDialog {
  Q_OBJECT
 public:
  TForm22(SimulatorState& state, TForm1* main, QWidget* parent = nullptr);
  SimulatorState& state;
  TForm1* main;

  QLabel* Label1 = nullptr;
  QCheckBox* chkAnzeigeEinz = nullptr;  // "Einzelbaum an Bestandesgrenze"
  QCheckBox* chkAnzeigeUber = nullptr;  // "Überlappung an Bestandesgrenze"
  QCheckBox* chkAnzeigeImBe = nullptr;  // "Überlappung im Bestandesinneren"
  QPushButton* Button1 = nullptr;       // "weiter"
  QPushButton* Button2 = nullptr;       // "Abbrechen"
  QPushButton* Panel3 = nullptr;        // "schnell" / "schrittweise"

  // Clears the three options (every computation starts without them).
  void ClearOptions();
  void Button1Click();
  void Button2Click();
  void Panel3Click();
};

}  // namespace tolvek
