#pragma once
// The time model of a sample plan: for a wanted sampling error, how many plots an inventory needs with
// x sample trees per plot, and how many minutes of field work that costs (walking between plots, work
// per plot, walking between trees, work per tree). Fewer trees per plot need more plots; the curve of
// minutes over x has its optimum where both costs balance.
#include <optional>
#include <string>

#include "common/canvas.h"
#include "common/language.h"

namespace tolvek {

struct PlanOptimisationModel {
  double tF = 6.0;   // minutes per plot
  double tB = 1.0;   // minutes per tree
  double vF = 3.0;   // walking speed between plots, km/h
  double vB = 1.5;   // walking speed between trees, km/h
  double sF = 0.0;   // SD between plots, % of the basal area per ha
  double sB = 0.0;   // SD between trees within plots, %
  double A = 0.0;    // stand area, ha (a what-if value: never written back to the stand)
  double N = 0.0;    // trees per ha
  double VC = 10.0;  // wanted sampling error, %
  double n = 0.0;    // plots needed for the last x worked out
};

// Walking minutes per metre at v km/h; no walking time at 0.1 km/h or less.
double WalkMinPerM(double v);

// Minutes of the whole inventory with x trees per plot; sets model.n.
double PlanMinutes(PlanOptimisationModel& model, double x);

// The number of trees per plot with the least minutes, within 1..40 (minutes per tree below 0.1 are
// taken as 0.1 and stored so).
double OptimalTrees(PlanOptimisationModel& model);

// Whether the model's inputs give a defined curve (positive error, area and tree count; no negative
// times, speeds or deviations).
bool PlanInputsValid(const PlanOptimisationModel& model);

// The graph's scale, as the drawing and the mouse read-out share it.
struct PlanGraph {
  int width = 0, height = 0;
  double yMax = 400.0;
  double scaleX = 0.0, scaleY = 0.0;
  // Pixel positions of graph values (clamped to the picture's neighbourhood).
  int PixelX(double x) const;
  int PixelY(double minutes) const;
  double ValueX(int pixelX) const;
};

// Draws axes, curve, plot numbers and the optimum on a white picture of the given size.
PlanGraph DrawPlanCurve(Canvas& canvas, PlanOptimisationModel& model, int width, int height, const LanguageTable& lang);

// The texts of the nine edit fields after a drawing, in the order tF, vF, tB, vB, sF, sB, A, N, VC.
struct PlanEditTexts {
  std::string tF, vF, tB, vB, sF, sB, A, N, VC;
};
PlanEditTexts PlanEditFieldTexts(const PlanOptimisationModel& model);

// Which value an edit field stands for.
enum class PlanField { tF, tB, vF, vB, sF, sB, A, N, VC };
// Takes an edited text into the model. A text that is no number, or a value that leaves the model
// undefined, is refused: the model keeps its value and false comes back.
bool SetPlanField(PlanOptimisationModel& model, PlanField field, const std::string& text);

// The read-out of a mouse press at pixel x: "Bäume: 10    Flächen: 3    Minuten: 57", and the curve point.
struct PlanReadout {
  std::string hint;
  double x = 0.0;
  double minutes = 0.0;
};
PlanReadout ReadPlanCurve(PlanOptimisationModel& model, const PlanGraph& graph, int pixelX, const LanguageTable& lang);

}  // namespace tolvek
