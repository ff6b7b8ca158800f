#pragma once
// "Optimierung des Stichprobenplans": minutes of field work over the number of sample trees per plot
// for a wanted sampling error, with the optimum marked. The inputs are what-if values: editing the
// stand area here never changes the loaded stand.
#include <QDialog>
#include <QImage>

#include "simulator/sampling/plan_optimisation.h"
#include "simulator/state.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tolvek {

class TForm1;

class TForm24 : public QDialog {
  Q_OBJECT
 public:
  TForm24(SimulatorState& state, TForm1* main, QWidget* parent = nullptr);
  SimulatorState& state;
  TForm1* main;

  QLabel* ImgZeit = nullptr;       // the graph
  QGroupBox* GrpVorgaben = nullptr;  // "Vorgaben"
  QLineEdit* Ed_tF0 = nullptr;     // minutes per plot
  QLineEdit* Ed_tB0 = nullptr;     // minutes per tree
  QLineEdit* Ed_tFMkm = nullptr;   // walking speed between plots
  QLineEdit* Ed_tBMkm = nullptr;   // walking speed between trees
  QLineEdit* Ed_SigF = nullptr;    // SD between plots, %
  QLineEdit* Ed_sigB = nullptr;    // SD between trees, %
  QLineEdit* Ed_BestFl = nullptr;  // stand area, ha
  QLineEdit* Ed_AnzB = nullptr;    // trees per ha
  QLineEdit* Ed_VC = nullptr;      // wanted sampling error, %
  QLabel* LbKurve1 = nullptr;      // Label2 "Die Baumzahl-Flächenzahl-Kominationen der Kurve"
  QLabel* LbKurve2 = nullptr;      // Label3 "gewährleisten den vorgegebenen Stichprobenfehler"
  QPushButton* Button1 = nullptr;  // "beenden"

  // Start values from the loaded stand and the two deviations of the variance split; clears and draws.
  void InitPlanOptimisation(double sF, double sB);
  void DrawPlanCurveNow();
  // An edit was left: its value is taken when it keeps the model defined, the old one comes back otherwise.
  void Ed_VCExit(QLineEdit* edit);
  void Button1Click();
  void ImgZeitMouseDown(int x, int y);
  void ImgZeitMouseUp();

  const QImage& graphImage() const { return image_; }
  const PlanGraph& graph() const { return graph_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  PlanOptimisationModel& model() { return state.trueValues.plan; }
  void ShowGraph();
  QImage image_;
  PlanGraph graph_;
  bool marked_ = false;
  int markX_ = 0, markY_ = 0;
};

}  // namespace tolvek
