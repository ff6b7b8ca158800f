#pragma once
// "Form35": the small panel window with the stand information table and, for a model stand of the
// enterprise, the diameter histogram.
#include <QDialog>
#include <QImage>

#include "simulator/forms/forms.h"
#include "simulator/stand/stand_info.h"
#include "simulator/state.h"

class QLabel;
class QPushButton;
class QFrame;

namespace tolvek {

class TForm35 : public QDialog {
  Q_OBJECT
 public:
  TForm35(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);
  SimulatorState& state;
  Forms& forms;

  QFrame* Panel16 = nullptr;        // the table
  QLabel* LbP16Tabelle = nullptr;
  QFrame* PnDuVertlg = nullptr;     // histogram panel (enterprise loader)
  QLabel* ImgDuVertlg = nullptr;
  QPushButton* Panel1 = nullptr;    // "X"
  QPushButton* Button1 = nullptr;

  // Shows the stand information beside the preview (stand mode): the histogram panel stays hidden.
  void ShowBesidePreview(const StandInfo& info, QWidget* preview, QWidget* anchorButton);
  // Shows the stand information with the class line and the histogram (enterprise loader) at a screen
  // position.
  void ShowWithHistogram(const StandInfo& info, const SpeciesSums& sums, int left, int top);
  void Button1Click();
  void Panel1Click();

 private:
  void ShowTable(const StandInfo& info);
  QImage histogram_;
};

}  // namespace tolvek
