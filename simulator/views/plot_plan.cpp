#include "simulator/views/plot_plan.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/rounding.h"
#include "common/species.h"
#include "common/translate.h"
#include "simulator/views/stand_map.h"

namespace tolvek {

namespace {

constexpr Colour kTwelveMetreCircle = 0xC0C0C0;
constexpr Colour kUnderstoreyCircle = 0xFF00FF;
constexpr double kNTreeCircle = 12.0;

void Circle(Canvas& c, double radiusMetres, double scale) {
  const int r = RoundInt(radiusMetres * scale);
  c.Ellipse(kPlotPlanCentre - r, kPlotPlanCentre - r, kPlotPlanCentre + r, kPlotPlanCentre + r);
}

}  // namespace

double PlotPlanRadius(const PlotPlanInput& in) {
  double r = 0.0;
  switch (in.method) {
    case kMethodNTree: r = in.mainRadius; break;
    case kMethodFixedCircle: r = in.circleRadius; break;
    case kMethodAngleCount: r = in.strongestRadius; break;
    case kMethodConcentric:
      if (in.rings >= 1 && in.rings <= 6) r = in.ringRadius[static_cast<std::size_t>(in.rings)];
      break;
    default: break;
  }
  return r > 0.0 && std::isfinite(r) ? r : 12.0;
}

double PlotPlanScale(double radius, int imageWidth) { return radius >= 16.0 ? imageWidth / 60.0 : imageWidth / 40.0; }

int PlanViewTransform::Column(double x, double offset) const {
  return RoundInt((x - x0) * scale + kPlotPlanCentre + offset);
}
int PlanViewTransform::Row(double y, double offset) const { return RoundInt(kPlotPlanCentre - (y - y0) * scale + offset); }

void DrawPlotPlan(Canvas& c, const PlotPlanInput& in, const LanguageTable& language) {
  const double radius = PlotPlanRadius(in);
  const PlanViewTransform t{PlotPlanScale(radius, in.imageWidth), in.centreX, in.centreY};

  // Texts: the stand, the weights, the point.
  c.SetBrush(kWhite);
  c.SetFont("Arial", 8, kBlack);
  c.Text(10, 10, Utf8Left(in.standName, 8));
  c.Text(146, 10, Translate(language, "Gewicht") + ": ");
  if (in.method == kMethodConcentric) {
    for (int i = 1; i <= std::min(in.rings, 5); ++i)
      c.Text(210, 12 * i - 2, FormatFixed(4, 2, in.ringWeight[static_cast<std::size_t>(i)]));
  } else {
    double weight = in.plotWeight;
    if (in.method == kMethodAngleCount) weight = in.strongestWeight;
    if (in.method == kMethodNTree) weight = in.mainWeight;
    c.Text(210, 10, FormatFixed(5, 2, weight));
    if (in.method == kMethodNTree && in.variant == 4 && in.understoreyInUse) {
      c.Text(210, 12, FormatFixed(5, 2, in.mainWeight));
      c.Text(210, 24, FormatFixed(5, 2, in.underWeight));
    }
  }
  c.Text(10, 235, in.pointText);

  // The point.
  c.SetPen(kBlack);
  c.Line(124, 130, 136, 130);
  c.Line(130, 124, 130, 136);

  // The stand's boundary.
  if (in.boundary != nullptr && in.boundary->n >= 2) {
    std::vector<CanvasPoint> points;
    for (int i = 1; i <= std::min(in.boundary->n, kBoundaryCapacity); ++i)
      points.push_back({t.Column(in.boundary->x[static_cast<std::size_t>(i)]), t.Row(in.boundary->y[static_cast<std::size_t>(i)])});
    c.SetPen(kBlue);
    c.Polyline(points);
  }

  // The method's circles.
  c.SetBrush(kWhite, BrushStyle::Clear);
  if (in.method == kMethodNTree) {
    c.SetPen(kTwelveMetreCircle, 1, PenStyle::Dot);
    Circle(c, kNTreeCircle, t.scale);
    if (in.variant == 4 && in.understoreyInUse) {
      c.SetPen(kUnderstoreyCircle);
      Circle(c, in.underRadius, t.scale);
    }
  }
  c.SetPen(kBlue);
  Circle(c, radius, t.scale);
  if (in.method == kMethodConcentric) {
    // The rings inside the outermost one, as far as there are any.
    if (in.rings >= 2) Circle(c, in.ringRadius[static_cast<std::size_t>(in.rings - 1)], t.scale);
    if (in.rings >= 3) Circle(c, in.ringRadius[static_cast<std::size_t>(in.rings - 2)], t.scale);
  }

  // The species found at the point.
  int k = 0;
  for (int s = 1; s <= 9; ++s) {
    if (in.speciesSeen[static_cast<std::size_t>(s)] == 0) continue;
    ++k;
    c.SetFont("Arial", 8, SpeciesColour(s, kConiferList));
    c.Text(10, 15 * k + 20, Translate(language, SpeciesNameTable::Name(s, kConiferList)));
  }
  c.SetFont("Arial", 8, kBlack);

  // The sample trees of this plot.
  for (const SampleTreeRecord& tree : in.trees) {
    const Colour colour = SpeciesColour(tree.species, kConiferList);
    c.SetBrush(colour);
    const double x = tree.x, y = tree.y;
    if (tree.layer != 0) {
      c.SetPen(colour);
      c.Rectangle(t.Column(x, -2.5), t.Row(y, -2.5), t.Column(x, 2.5), t.Row(y, 2.5));
    } else {
      c.SetPen(kBlack);
      const int r = RoundInt(static_cast<double>(tree.dbh) * 3.0 / 16.5);
      const int cx = t.Column(x), cy = t.Row(y);
      c.Ellipse(cx - r, cy - r, cx + r, cy + r);
    }
  }
}

}  // namespace tolvek
