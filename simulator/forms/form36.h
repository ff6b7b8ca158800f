#pragma once
// The classification matrix: 8 types by 5 classes. It marks the class a stand has in its register;
// a click into a cell writes that class into the register, "OK" moves on to the next stand.
#include <QImage>
#include <QWidget>
#include <array>

#include "simulator/forms/forms.h"
#include "simulator/state.h"

class QLabel;
class QPushButton;

namespace tolvek {

class TForm36 : public QWidget {
  Q_OBJECT
 public:
  TForm36(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);
  SimulatorState& state;
  Forms& forms;

  QLabel* LbBestand = nullptr;   // the stand code
  QLabel* LbKLassen = nullptr;   // the column heads
  QLabel* ImgMatrix = nullptr;   // 5 cells wide, 8 cells high
  std::array<QLabel*, 9> Label{};  // Label1 .. Label8: the type names of the rows
  QPushButton* Button1 = nullptr;  // "OK"
  QPushButton* Button2 = nullptr;  // "zurück"
  int cell = 0;
  int result = 0;

  // The matrix for the chosen stand (cells drawn, type names and column heads by the mode); shown.
  void Prepare();
  // Reads the stand's class from its register and marks it, or (with the classification-write flag)
  // writes the class of the marked cell into the register.
  void StandClassInRegister();
  void ImgMatrixMouseDown(int x, int y);
  void Button1Click();
  void Button2Click();
  // The cell marked last (row 1..8, column 1..5; 0 = none).
  MatrixCell Marked() const { return marked_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void DrawMatrix();
  QImage image_;
  MatrixCell marked_;
};

}  // namespace tolvek
