#pragma once
// Which model stands the enterprise takes: real ones ("Tolvek03.txt"), generated ones ("TolvekGE.txt")
// or both. Shown modally when the enterprise structure is changed without a single model stand.
#include <QDialog>

#include "simulator/forms/forms.h"
#include "simulator/state.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace tolvek {

class TForm43 : public QDialog {
  Q_OBJECT
 public:
  TForm43(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);
  SimulatorState& state;
  Forms& forms;

  QLabel* Label1 = nullptr;
  QCheckBox* ChkBox2 = nullptr;  // "Reale Bestände"
  QCheckBox* ChkBox3 = nullptr;  // "Generierte Bestände"
  QPushButton* BtWeiter43 = nullptr;

  // The main window's check boxes take the choice, the caption follows it, the table is loaded again.
  void BtWeiter43Click();
};

}  // namespace tolvek
