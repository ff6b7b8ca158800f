#pragma once
// True values of a sampling design on the loaded stand: what one plot estimate of the stand's basal
// area gives on average and how much it varies, worked out exactly from every tree instead of by
// simulation. Each tree is sampled from the plot centres within its limiting radius (its selection
// circle, cut by the stand boundary); that area's share of the stand is the tree's inclusion
// probability, and the overlap of two trees' circles gives their joint inclusion probability. The
// Horvitz-Thompson variance of a single plot's estimate follows from these, in two forms that agree up
// to rounding.
#include <cstdint>
#include <optional>
#include <string>

#include "common/language.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/method.h"
#include "simulator/sampling/plan_optimisation.h"
#include "simulator/sampling/true_values_basic.h"
#include "simulator/stand/tree_list.h"

namespace tolvek {

// Limiting radius of a tree (m) under the chosen method: the circle radius for fixed circles,
// dbh / √(4k) for the angle count, the radius of the last concentric circle whose dbh limit the tree
// reaches (0 below the first); 0 for any other method.
double SelectionRadius(const MethodChoice& method, double dbh);

// Whether a circle of radius r around c reaches the segment a-b.
bool CircleCutsEdge(GeoPoint a, GeoPoint b, GeoPoint c, double r);
// Squared centre distance below 0.99 (r1 + r2)²: touching circles do not count as overlapping.
bool CirclesOverlap(double r1, GeoPoint c1, double r2, GeoPoint c2);
// Area of the overlap of two circles (m²).
double LensArea(double r1, GeoPoint c1, double r2, GeoPoint c2);

struct TreeShare {
  double share = 0.0;        // area share of the selection circle inside the stand
  double insideArea = 0.0;   // area of the selection circle inside the stand (m²); π r² away from the boundary
  bool atBoundary = false;   // the circle reaches the boundary
  bool clipFailed = false;   // the clip failed: the share is that of the whole circle
};
// The share of one tree's selection circle. standM2 > 0.
TreeShare TreeSelectionArea(GeometryContext& g, PolygonRef boundary, GeoPoint centre, double r, double standM2);

struct BoundaryOverlap {
  double lensArea = 0.0;     // overlap of the two circles (as polygons), m²
  double insideArea = 0.0;   // the part of it inside the stand, m²
  bool ok = true;            // false: a clip failed; the caller takes the circles' lens instead
};
// Overlap of two selection circles that both reach the boundary, and its part inside the stand. The
// last lens polygon (relative to tree i's centre) and the boundary shifted alongside stay in `lens`
// and `shiftedBoundary` for a drawing.
struct OverlapWork {
  ClipPolygonPoints lens;
  ClipPolygonPoints inside;
  StandPolygonPoints shiftedBoundary;
};
BoundaryOverlap OverlapAtBoundary(GeometryContext& g, PolygonRef boundary, GeoPoint ci, double ri, GeoPoint cj,
                                  double rj, OverlapWork& work);

// What the step display sees of a computation; every hook may pump events and draw.
class TrueValueObserver {
 public:
  virtual ~TrueValueObserver() = default;
  // A tree's share is known (after its clip at the boundary).
  virtual void SelectionAreaDone(const TreeRecord& tree, double r, const TreeShare& share) {}
  // Tree i's sums are in; its pairs follow.
  virtual void TreeStarted(const TreeRecord& tree) {}
  // A pair whose circles overlap at the boundary, with the work of its clips.
  virtual void BoundaryPair(const TreeRecord& a, double ra, const TreeRecord& b, double rb,
                            const BoundaryOverlap& overlap, const OverlapWork& work) {}
  // A pair whose circles overlap and of which at least one lies clear of the boundary.
  virtual void InnerPair(const TreeRecord& a, double ra, const TreeRecord& b, double rb, double lens) {}
  // Asked after each tree: true abandons the computation.
  virtual bool Cancelled() { return false; }
};

// Numbers the trees and fills basal area, selection-circle area, area share and boundary flag.
// Returns the number of failed clips.
int NumberTrees(GeometryContext& g, TreeList& trees, PolygonRef boundary, double standM2, const MethodChoice& method,
                TrueValueObserver* observer);

// The whole computation. Empty when the stand's area is not positive or the observer cancelled
// (`cancelled` tells which).
std::optional<DesignValues> ComputeTrueValues(GeometryContext& g, TreeList& trees, PolygonRef boundary,
                                                 double standHa, const MethodChoice& method,
                                                 TrueValueObserver* observer, bool* cancelled = nullptr);

// The text of the result box "Wahre Bestandeswerte" (tabs and line breaks as the box shows them).
std::string TrueValuesText(const DesignValues& v, double standHa, const LanguageTable& lang);

// The side panel's text of one selection area: 1 a tree at the boundary, 2 an overlap at the
// boundary, 3 an overlap inside the stand.
struct SelectionAreaFigures {
  int number = 0;
  double r = 0.0;
  int partner = 0;
  double overlap = 0.0;        // modes 2, 3
  double insideArea = 0.0;     // modes 1, 2: area inside the stand
};
std::string SelectionAreaText(int mode, const SelectionAreaFigures& f, const LanguageTable& lang);

// The two parts of the variation of fixed-circle plots, from the true values at 8 m and 16 m:
// SD² = between² + within² / E(n). Empty when the figures do not allow it (the larger circle does not
// vary less, or a value is out of bounds).
struct VarianceSplit {
  double within = 0.0;   // m²/ha
  double between = 0.0;  // m²/ha
};
std::optional<VarianceSplit> SplitVariance(double e8, double sd8, double e16, double sd16);

// The result box of "Optimierung": three lines of label and value.
std::string VarianceSplitText(double basalAreaPerHa, const VarianceSplit& split, const LanguageTable& lang);

// What the true-value computation keeps between its runs and shows while it runs.
struct TrueValueState {
  // Ctrl + left button on "E-Wert der Varianz": the selection areas are drawn one by one.
  bool stepDisplay = false;
  bool quiet = false;  // "Optimierung" runs the computation without its result box
  bool fast = true;    // "schnell": no pause after each selection-area text
  // The display options of "Auswahlfläche anzeigen".
  bool showSingle = false;         // "Einzelbaum an Bestandesgrenze"
  bool showBoundaryPairs = false;  // "Überlappung an Bestandesgrenze"
  bool showInnerPairs = false;     // "Überlappung im Bestandesinneren"
  DesignValues last;               // of the last computation
  // "Optimierung": the runs at 8 m and 16 m, their split and the plan built on it.
  double e8 = 0.0, sd8 = 0.0, e16 = 0.0, sd16 = 0.0;
  VarianceSplit split;
  PlanOptimisationModel plan;
};

}  // namespace tolvek
