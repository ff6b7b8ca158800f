#pragma once
// "15  Bestand wählen": the stand menus built from the catalogue, the stand's description, the
// calliper threshold, the photographs of the stand and the help on choosing a stand.
#include <QDialog>
#include <map>

#include "simulator/forms/forms.h"
#include "simulator/stand/stand_choice.h"
#include "simulator/state.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;

namespace tolvek {

// Opens the help page of a topic of the stand choice (115 list of stands, 116 decision aid).
void OpenStandHelp(SimulatorState& state, int context);

class TForm15 : public QDialog {
  Q_OBJECT
 public:
  TForm15(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);
  static constexpr int kWidth = 360;
  SimulatorState& state;
  Forms& forms;

  QMenuBar* MainMenu1 = nullptr;
  QMenu* NadelholzBestnde1 = nullptr;   // "Nadelbaum-Bestände "
  QMenu* LaubholzBestnde1 = nullptr;    // "Laubbaum-Bestände  "
  QMenu* GenerierteBestnde1 = nullptr;  // "Generierte Bestände"
  QMenu* schwachesBaumholz1 = nullptr;
  QMenu* mittelstarkesBaumholz1 = nullptr;
  QMenu* starkesBaumholz1 = nullptr;
  QMenu* Plenterwald1 = nullptr;
  QMenu* schwachesBaumholz2 = nullptr;
  QMenu* mittelstarkesBaumholz2 = nullptr;
  QMenu* starkesbaumholz2 = nullptr;

  QLabel* LbTitel = nullptr;            // title of the description
  QPlainTextEdit* MemVerz = nullptr;    // stand folder
  QPlainTextEdit* MemCode = nullptr;    // chosen code
  QPlainTextEdit* Memo1 = nullptr;      // description
  QPushButton* BtnKluppschw = nullptr;  // "Kluppschwelle"
  QPushButton* BtnFoto = nullptr;       // "Foto"
  QPushButton* BtnWeiter = nullptr;     // "weiter"
  QPushButton* BtnAbbruch = nullptr;    // "Abbruch"
  QPushButton* BtnVerzeichnis = nullptr;  // "Verzeichnis der Bestände"
  QPushButton* BtnEntschHilfe = nullptr;  // "Entscheidungshilfe"
  QPushButton* Button1 = nullptr;       // "Beschreibung"
  QPushButton* ButonDrehen = nullptr;   // rotate the stand

  // Menus once per program run; every time the folder and code of the choice and its catalogue line.
  // In menu mode the choice first falls to catalogue entry 9.
  void BuildStandMenu(bool menuMode);
  // The choice's file names; enables the photo button and shows the description.
  void BuildStandFileNames();
  // The description of the choice in this window (nothing without a choice).
  void ShowStandDescription();
  // Menu mode: the window is shown modally so the stand can be picked from its menus; true when the
  // user went on with "weiter".
  bool RunMenuMode();

  void schwachesBaumholz1Click(const QString& caption);
  void BtnKluppschwClick();
  void BtnFotoClick();
  void BtnWeiterClick();
  void BtnAbbruchClick();
  void BtnVerzeichnisClick();
  void BtnEntschHilfeClick();
  void Button1Click();
  void ButonDrehenClick();
  bool slideShowRunning() const { return slideShow_; }

 protected:
  void closeEvent(QCloseEvent* e) override;  // Form15Close

 private:
  QMenu* MenuFor(StandMenu m) const;
  bool menuMode_ = false;
  bool slideShow_ = false;
};

}  // namespace tolvek
