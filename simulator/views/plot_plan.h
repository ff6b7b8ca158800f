#pragma once
// The plot plan: one sample point of an enterprise pass drawn enlarged (250 × 250 pixels), centred on the
// plot: the point's cross, the model stand's boundary, the method's circle or circles, the plot's weights,
// the species found there and the sample trees of the plot in their colours.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "common/canvas.h"
#include "common/language.h"
#include "simulator/sampling/method.h"
#include "simulator/sampling/pass.h"
#include "simulator/stand/boundary.h"

namespace tolvek {

inline constexpr int kPlotPlanSize = 250;
inline constexpr int kPlotPlanCentre = 130;

// What one point shows.
struct PlotPlanInput {
  MethodCode method = kMethodNone;
  int variant = 1;                 // of the n-tree sample
  double mainRadius = 12.0;        // n-tree: the distance of the n-th nearest tree of the main list (12 m without)
  double underRadius = 0.0;        // n-tree variant 4: that of the understorey list
  bool understoreyInUse = false;   // n-tree variant 4: the understorey list holds trees
  double mainWeight = 1.0, underWeight = 1.0;  // n-tree: the weights of the two plot circles
  double circleRadius = 0.0;       // fixed circles
  double plotWeight = 1.0;         // fixed circles
  double strongestRadius = 0.0;    // angle count: the selection circle of the thickest tree, and its weight
  double strongestWeight = 1.0;
  int rings = 0;                   // concentric circles: radii and weights of rings 1..rings
  std::array<double, 7> ringRadius{};
  std::array<double, 6> ringWeight{};
  double centreX = 0.0, centreY = 0.0;  // the plot centre in metres of the stand
  std::string standName;
  std::string pointText;
  std::array<std::uint8_t, 10> speciesSeen{};  // 1..9
  const BoundaryPolygon* boundary = nullptr;
  std::span<const SampleTreeRecord> trees;  // the sample trees of the plot
  int imageWidth = kPlotPlanSize;
};

// The radius the plan is scaled for: the n-tree sample's n-th distance, the fixed circle, the thickest
// tree's circle of the angle count, the outermost concentric ring; 12 m otherwise.
double PlotPlanRadius(const PlotPlanInput& in);
// Pixels per metre: the image width over 60 m for radii of 16 m and more, else over 40 m.
double PlotPlanScale(double radius, int imageWidth);

// Metres of the stand to pixels of the plan, centred on (x0, y0) at pixel (130, 130); offset in pixels.
struct PlanViewTransform {
  double scale = 1.0;
  double x0 = 0.0, y0 = 0.0;
  int Column(double x, double offset = 0.0) const;
  int Row(double y, double offset = 0.0) const;
};

// Draws the whole plan onto a white picture.
void DrawPlotPlan(Canvas& canvas, const PlotPlanInput& in, const LanguageTable& language);

}  // namespace tolvek
