#pragma once
// The result bar chart of the simulator: per category (species, diameter class, or whatever the caller
// counts) the true value as a hatched bar against the estimate from the sample as a solid bar with its
// error bar, a value axis, and a small table under the chart. The stand diagrams and the enterprise views
// both draw through here; they hand in plain values per category. The layout comes back as texts for
// the result window's labels, table and category buttons, and as drawing commands for its two pictures.
#include <array>
#include <cstdint>
#include <string>

#include "common/canvas.h"
#include "common/language.h"
#include "common/recording_canvas.h"

namespace tolvek {

inline constexpr int kDiagramCategories = 10;
// Deviation classes -15 .. +15 of the repetitions, by category: [category][class + 15].
inline constexpr int kDiagramDeviationClassLimit = 15;
using DiagramDeviationTable = std::array<std::array<std::uint16_t, 2 * kDiagramDeviationClassLimit + 1>, 10>;
using CategoryValues = std::array<double, kDiagramCategories>;

// The result window in pixels.
namespace diagram_layout {
inline constexpr int kWindowWidth = 690, kWindowHeight = 540;
inline constexpr int kChartLeft = 196, kChartTop = 51, kChartWidth = 470, kChartHeight = 314;
inline constexpr int kAxisLeft = 183, kAxisWidth = 13;
inline constexpr int kTableTop = 369, kTableLeft = 148, kTableWidth = 518, kTableHeight = 101;
inline constexpr int kTableColumns = 11, kTableRows = 5, kColumnWidth = 46, kRowHeight = 19;
inline constexpr int kCategoryGroupTop = 364, kCategoryGroupLeft = 148, kCategoryGroupWidth = 519;
inline constexpr int kLabelPanelTop = 364, kLabelPanelLeft = 110, kLabelPanelWidth = 86;
// Tops of the command buttons on the left.
inline constexpr int kAllSimulationsTop = 332, kTableButtonTop = 363, kAreaButtonTop = 384,
                     kBasalAreaButtonTop = 407, kStemNumberButtonTop = 428, kDbhButtonTop = 449;
// Bars: a category's column is 47 pixels wide; the true bar 23 pixels from x 4, the estimate 23 pixels
// from x 19, so the two overlap by 8.
inline constexpr int kBarPitch = 47, kBarWidth = 23, kTrueBarOffset = 4, kEstimateBarOffset = 19;
// Left of the category button of category q (Button2 .. Button11) within their group.
inline int CategoryButtonLeft(int q) { return q == 0 ? 47 : (q + 1) * kBarPitch + 1; }
inline int CategoryButtonWidth(int q) { return q == 0 ? 49 : 48; }
}  // namespace diagram_layout

// What the caller hands in: the quantity and its values per category 0 .. 9.
struct ResultDiagramData {
  // "G" basal area per ha, "Z" stem number per ha, "D" mean diameter, "V" diameter distribution (stems
  // per ha by diameter class), "F" area.
  char code = 'G';
  CategoryValues trueValues{};      // hatched bar, first table row
  CategoryValues estimates{};       // solid bar, second row
  CategoryValues standardErrors{};  // error bar; third row as per cent of the estimate
  CategoryValues counts{};          // fourth row: sample trees (stand) or sample plots (enterprise)
  std::string typeText;             // enterprise: the evaluation unit's type; "(A) " prefixes drop
  std::string unitText;             // enterprise: the unit's second line
  std::array<std::string, kDiagramCategories> labels;  // caption per category, empty without data
  std::array<Colour, kDiagramCategories> colours{};    // one per category, both bars
  // The counts of the repetitions' deviations by category and class of this quantity, read for "G"
  // and "Z" in the all-simulations view (null: nothing to show there).
  const DiagramDeviationTable* deviations = nullptr;
};

// The header of the enterprise view; the enterprise level fills it.
struct EnterpriseDiagramHeader {
  std::string numberText = "1";
  std::string classification;  // "   WET" or "   Akl"
  double totalAreaHa = 0.0;
  int standCount = 0;
};

// What the drawing reads besides the data: the program's mode and flags and the header figures.
struct ResultDiagramSetting {
  bool enterpriseMode = false;
  bool allSimulations = false;
  int repetitionCount = 0;
  // Axis units, the class widths of the repetitions' deviation tables.
  double basalAreaUnit = 0.25;
  double stemNumberUnit = 5.0;
  std::string graphSpeciesName;  // German name of the species whose distribution "V" shows
  // Stand mode.
  std::string standNumber;
  double standAreaHa = 0.0;
  int standTrees = 0;
  // Enterprise mode.
  EnterpriseDiagramHeader enterprise;
  int gridDx = 0, gridDy = 0;
  // The main window's plot and sample-tree lines (of the last or of all simulations).
  std::string plotsLine, sampleTreesLine;
};

// Everything the result window shows of one diagram.
struct ResultDiagramPicture {
  std::string label3, lblBestand, lblFlaeche, lblBaeume, lbBestGroesse, lblGitter, lblGitterAnf, lblAuswEinh,
      lblBTAK, lblBTAk2, lblMerkmal, lblAnzStp, lblBaumZahl, label2, btBaumZahl;
  std::array<std::array<std::string, diagram_layout::kTableColumns>, diagram_layout::kTableRows> table;
  std::array<std::string, kDiagramCategories> buttonCaptions;
  bool firstButtonEnabled = true;
  bool allSimulationsEnabled = false;
  // Bar position 1 .. 10 -> category drawn there (slot 0 unused).
  std::array<std::uint8_t, kDiagramCategories + 1> barCategory{};
  double maximum = 0.0;        // value at 80 % of the chart's height
  double pixelsPerUnit = 0.0;  // of value
  int tickStep = 0;            // value between two ticks
  RecordingCanvas chart;       // Graf, kChartWidth x kChartHeight
  RecordingCanvas axis;        // Graf1, kAxisWidth x kChartHeight
};

// Lays out and draws one diagram. Values that are not numbers count as 0; bars taller than the chart
// end at its frame.
ResultDiagramPicture LayOutResultDiagram(const ResultDiagramData& data, const ResultDiagramSetting& setting,
                                         const LanguageTable& language);

// An error bar on a picture of the given height, in the current pen, with y counted upwards from its
// bottom: a vertical line at x over y ± e, a cap of halfWidth on either side at both ends, and with
// style 2 a second vertical line 2 pixels to the left.
void DrawErrorBar(Canvas& canvas, int pictureHeight, int x, int y, int e, int halfWidth, int style);

// The quantity's axis unit: 0.25 for basal area, 5 for stem number and area, 0.5 otherwise.
double DiagramAxisUnit(char code, const ResultDiagramSetting& setting);

}  // namespace tolvek
