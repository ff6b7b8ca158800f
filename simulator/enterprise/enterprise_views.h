#pragma once
// The views of an evaluated enterprise inventory: the text table of one block (or all) of the report,
// and the bar charts of one evaluation unit, true value against the sample, drawn through the result
// diagram: basal area, stem number and mean diameter by species, the diameter distribution of a species,
// and the comparisons of the classes of a type and of the types of a class (area, basal area, stems).
// The view loop follows the command the result window's buttons leave behind.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "common/language.h"
#include "simulator/enterprise/enterprise_evaluation.h"
#include "simulator/enterprise/stratum_values.h"
#include "simulator/views/result_diagram.h"
#include "simulator/views/stand_diagrams.h"

namespace tolvek {

// "Behandlungstyp DF", "Alle Behandlungstypen", "Altersklasse 6+", "Alle Altersklassen".
std::string ClassLabel(int k, bool forestDevelopmentTypes, const LanguageTable& language);
// The short class labels of the comparison charts, 1..5 ("1/2" .. "6+", or "JPF" .. "DW").
std::string ShortClassLabel(int k, bool forestDevelopmentTypes);

// What the charts are made from.
struct EnterpriseViewInput {
  const StratumValues& truth;
  const EnterpriseEstimates& estimates;
  const EnterpriseHistograms* histograms = nullptr;  // the run's deviations (all-simulations view)
  // The names of type positions 0..5 (0 all types) and whether a type stands at the position.
  std::array<std::string, kStrata> positionNames;
  std::array<bool, kStrata> positionHasType{};
  bool forestDevelopmentTypes = false;
};

// What the charts keep from one to the next: the colours of the ten categories, as the result window's
// colour table keeps them (charts that set none draw with those of the chart before), and the run's
// deviations of a comparison chart gathered by category.
struct EnterpriseChartColours {
  std::array<Colour, kDiagramCategories> colours = SpeciesDiagramColours(kConiferList);
  DiagramDeviationTable comparisonDeviations{};
};

// Basal area ('G'), stem number ('Z') or mean diameter ('D') by species in stratum [t][k].
ResultDiagramData EnterpriseSpeciesChart(char code, int t, int k, const EnterpriseViewInput& in,
                                         EnterpriseChartColours& colours, const LanguageTable& language);
// The diameter distribution of species g (anything outside 0..9 counts as 0) in stratum [t][k].
ResultDiagramData EnterpriseDiameterChart(int t, int k, int g, const EnterpriseViewInput& in,
                                          EnterpriseChartColours& colours, const LanguageTable& language);
// The classes of type position t (choice row `row`) compared: area ('F'), basal area ('G'), stems ('Z').
// Nothing for area and basal area when the type has no sample basal area.
std::optional<ResultDiagramData> EnterpriseClassComparison(char code, int t, int row, const EnterpriseViewInput& in,
                                                           EnterpriseChartColours& colours,
                                                           const LanguageTable& language);
// The types of class k (choice column `column`) compared, likewise.
std::optional<ResultDiagramData> EnterpriseTypeComparison(char code, int k, int column, const EnterpriseViewInput& in,
                                                          EnterpriseChartColours& colours,
                                                          const LanguageTable& language);

// The table of the choice: the report's head and the block of type position t (choice row below 7) or
// the blocks of positions 1..5, each line with two blanks in front; with the choice row or column 7 a
// block shows its name and the 8 lines after it.
std::vector<std::string> StratumTableLines(const EnterpriseReport& report, int row, int column, int t);
std::string StratumTablePath(const std::string& programFolder);
// The red marker over the table: left 80 × column + 70.
inline int StratumTableMarkerLeft(int column) { return 80 * column + 70; }

// ---- the choice of the evaluation unit (TForm27)
// The 7 × 7 cells in the map's class colours, each below row and column 7 with its plots (tag 0) or
// its hectares of the area balance (otherwise).
void DrawUnitChoice(Canvas& canvas, const EnterpriseEstimates& estimates,
                    const std::array<std::array<double, kStrata>, kStrata>& balance, int tag, int width);
// The cell under a point of the picture: row and column 1..7.
struct UnitCell {
  int row = 6, column = 6;
};
UnitCell UnitAt(int x, int y, int width);

// ---- the view loop
// What the loop asks of the windows.
class EnterpriseViewSteps {
 public:
  virtual ~EnterpriseViewSteps() = default;
  // The show-report flag: the loop runs while it is set.
  virtual bool Showing() = 0;
  // The choice window (TForm27) filled and shown; false when it was left ("schliessen" and the like).
  virtual bool ChooseUnit(int& row, int& column) = 0;
  // The result window's area button.
  virtual void AreaButton(bool enabled) = 0;
  // A chart shown in the result window; its buttons leave the next command in the graph state.
  virtual void Draw(const ResultDiagramData& data) = 0;
  // The table shown (TForm31); its "schliessen" leaves 'G'.
  virtual void ShowTable(const std::vector<std::string>& lines, int column) = 0;
};
// How the loop ended: the choice window was left, or row 7 and column 7 ended the evaluation.
enum class EnterpriseViewEnd { Left, Ended, NotShowing };
inline constexpr int kViewsPerUnit = 21;
EnterpriseViewEnd RunEnterpriseViews(const EnterpriseViewInput& in, const EnterpriseReport& report,
                                     ResultGraphState& graph, EnterpriseChartColours& colours,
                                     EnterpriseViewSteps& steps, const LanguageTable& language);

}  // namespace tolvek
