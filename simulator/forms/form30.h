#pragma once
// " Form30": the list of the model stands. A click loads a stand and shows it on the main window's map;
// with "Einh. Bestand wählen" the user takes one model stand for the whole enterprise ("Ja"), with
// "Bestand zeichnen" the classification of the stand can be changed (the matrix TForm36).
#include <QDialog>

#include "simulator/forms/forms.h"
#include "simulator/state.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace tolvek {

class TForm30 : public QDialog {
  Q_OBJECT
 public:
  TForm30(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);
  SimulatorState& state;
  Forms& forms;

  QLabel* Label1 = nullptr;
  QListWidget* ListBox1 = nullptr;     // the model stands: code + " > " + short name
  QLabel* LbF30Frage = nullptr;        // "Klassifikation ändern"
  QLabel* LbF30FrageW = nullptr;       // "Den gesamten Betrieb mit diesem / Bestand belegen?"
  QPushButton* BtF30Ja = nullptr;      // "Ja"
  QPushButton* BtChAKL = nullptr;      // stand type and age class
  QPushButton* BtChWET = nullptr;      // forest development type and treatment type
  QPushButton* Button1 = nullptr;      // "schliessen" (hidden)
  QPushButton* F30BtnZurueck = nullptr;  // "zurück"
  QPushButton* F30BtZurueck = nullptr;   // (hidden)
  QPushButton* SpeedButton1 = nullptr;   // closes the stand information
  QPushButton* BtnDrehen = nullptr;      // (hidden)
  QPushButton* BtDelF35 = nullptr;       // (hidden)
  int Tag = 0;

  // The list from the model-stand table, the item at the list position - 1 selected.
  void FillList();
  // Selects item index (0-based) without loading it; an index outside the list selects nothing.
  void SelectItem(int index);

  void ListBox1DblClick();
  void BtF30JaClick();
  void Button1Click();
  void F30BtnZurueckClick();
  void F30BtZurueckClick();
  void BtChAKLClick();
  void BtChWETClick();
  void SpeedButton1Click();
  void CloseStandInformation();

 private:
  void ChangeClassification(ClassificationMode mode);
};

}  // namespace tolvek
