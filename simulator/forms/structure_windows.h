#pragma once
// The windows of the enterprise structure: the type choice (TForm29), the share window for types and
// classes (TForm25), the mixing of types between compartments (TForm26) and the colour matrix of the
// area balance (TForm33). They report "weiter" (Tag 0) and "zurück" (Tag 1); the main window's wizard
// steps through them.
#include <QDialog>
#include <QImage>
#include <array>
#include <string>

#include "simulator/enterprise/area_balance.h"
#include "simulator/forms/forms.h"
#include "simulator/state.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace tolvek {

// "Bitte höchstens 5 Bestandestypen auswählen": eight check boxes, one per type.
class TForm29 : public QDialog {
  Q_OBJECT
 public:
  TForm29(SimulatorState& state, QWidget* parent = nullptr);
  SimulatorState& state;
  QLabel* Label1 = nullptr;  // what to do
  QLabel* Label2 = nullptr;  // "Bestandestypen" or "Waldentwicklungstypen"
  std::array<QCheckBox*, 9> CheckBox{};  // CheckBox1 .. CheckBox8 (index 1..8)
  QLabel* BitBtn1 = nullptr;             // "Auswahl wird auf 5 beschränkt"
  QPushButton* Button1 = nullptr;        // "zurück"
  QPushButton* Button2 = nullptr;        // "weiter"
  int Tag = 1;

  // Texts by the classification and the type names (with their model-stand counts where known).
  void Prepare(bool forestDevelopmentTypes);
  void SetTypeCaptions(const std::array<std::string, 9>& captions);
  std::array<bool, 9> Ticked() const;
  // Shown modally: 0 "weiter" with at least one type ticked, 1 "zurück" or closed.
  int Ask();
  void Button2Click();
  void Button1Click();

 private:
  bool shownBefore_ = false;
};

// The shares of the chosen types or of the classes: a spin edit and a bar per position; the shares
// always sum to 100.
class TForm25 : public QDialog {
  Q_OBJECT
 public:
  TForm25(SimulatorState& state, QWidget* parent = nullptr);
  SimulatorState& state;
  QLabel* Label1n = nullptr;  // "Anteile der Bestandestypen"
  QLabel* ImgProz = nullptr;  // the bars
  std::array<QSpinBox*, 6> SpinEdit{};  // SpinEdit1 .. SpinEdit5 (index 1..5)
  std::array<QLabel*, 6> Label{};       // Label1 .. Label5: the positions' names
  QLabel* LbBtAkl = nullptr;            // "Bestandestyp " / "Altersklassen" ...
  QPushButton* Btzurueck = nullptr;
  QPushButton* Btweiter = nullptr;
  int Tag = 1;

  // The window for the wizard's share step in hand: the type shares or the class shares.
  void PrepareTypes(bool forestDevelopmentTypes);
  void PrepareClasses(bool forestDevelopmentTypes);
  // Shown modally: 0 "weiter", 1 "zurück" or closed.
  int Ask();
  // A spin edit changed (1..5).
  void SpinEdit1Change(int e);
  // The spin edits and bars as the wizard's table has them.
  void ShowShares();

 private:
  QImage bars_;
  std::array<Colour, 6> colours_{};
  bool lock_ = false;
  void DrawShareBar(int index);
};

// "Bestandestypen Mischung": how many stands take a type other than their compartment's.
class TForm26 : public QDialog {
  Q_OBJECT
 public:
  TForm26(SimulatorState& state, QWidget* parent = nullptr);
  SimulatorState& state;
  QLabel* Label1 = nullptr;
  QSlider* Trackbar = nullptr;  // 0..100 per cent
  QLabel* LbProzent = nullptr;
  QPushButton* Button1 = nullptr;     // "zurück"
  QPushButton* Bt26weiter = nullptr;  // "weiter"
  int Tag = 1;
  // Shown modally with the slider where it was left: 0 "weiter", 1 "zurück" or closed.
  int Ask();
};

// "Flächenbilanz": the area balance as a matrix in the map's class colours.
class TForm33 : public QDialog {
  Q_OBJECT
 public:
  TForm33(SimulatorState& state, QWidget* parent = nullptr);
  SimulatorState& state;
  QLabel* Label1 = nullptr;   // "Flächenbilanz"
  QLabel* Label2 = nullptr;   // the classes over the columns
  std::array<QLabel*, 10> RowLabel{};  // Label4 .. Label8: the chosen types; Label9 the sums (index 4..9)
  QLabel* Label10 = nullptr;  // "In der Tabelle Hektarwerte (gerundet)"
  QLabel* ImgBtAk = nullptr;
  QPushButton* Button2 = nullptr;  // "weiter"
  // Draws the matrix of the balance with the names of the chosen types.
  void Button1Click(const AreaBalance& balance, const std::array<std::string, 6>& names, bool forestDevelopmentTypes);
  void Button2Click();

 private:
  QImage matrix_;
};

}  // namespace tolvek
