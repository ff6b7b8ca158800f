#pragma once
// The windows of entering enterprise mode: the choice of a model enterprise (TForm37) and the reset of
// an enterprise's structure file to its shipped default (TForm41).
#include <QDialog>
#include <array>
#include <functional>

#include "simulator/forms/forms.h"
#include "simulator/state.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace tolvek {

// Two rows of the three enterprises' pictures: stand types with age classes above, forest development
// types with treatment types below. A click shows the stored structure, a double click chooses.
class TForm37 : public QDialog {
  Q_OBJECT
 public:
  TForm37(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);
  SimulatorState& state;
  Forms& forms;
  QLabel* Label1 = nullptr;  // "Betriebsstruktur nach Altersklassen"
  QLabel* Label2 = nullptr;  // "Betriebsstruktur nach Wald- Entwicklungstypen"
  QLabel* Label3 = nullptr;  // what to do
  std::array<QLabel*, 7> Image{};       // Image1 .. Image6 (index 1..6)
  std::array<QLabel*, 4> LbGroesse{};   // the enterprises' sizes (index 1..3)
  QPushButton* BtZurueck = nullptr;

  // The pictures as the stored modes and the classification in force give them.
  void LoadPictures();
  void Image1Click(int image);
  void Image1DblClick(int image);  // also Image4DblClick: the row is the image's
  void BtZurueckClick();
  // The area balance of the enterprise's stored structure (the structure's owner sets it), and where it
  // goes: right of the pictures, level with the row (0 upper, 1 lower), in screen coordinates.
  std::function<void(int enterprise)> showStoredStructure;
  QPoint PreviewCorner(int row) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
};

// "Betrieb neu erzeugen": a radio button per enterprise; choosing one copies its default structure over
// its structure file.
class TForm41 : public QDialog {
  Q_OBJECT
 public:
  TForm41(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);
  SimulatorState& state;
  Forms& forms;
  std::array<QRadioButton*, 4> RbBetrieb{};  // RbBetrieb1 .. RbBetrieb3 (index 1..3)
  // Opened over the enterprise map (a structure file could not be read): a reset leaves the map in view.
  bool inEnterpriseView = false;
  void RbBetrieb1Click(int n);
};

}  // namespace tolvek
