#pragma once
// The one-page stand report "Bestandesinventur": stand, method, grid and sample figures, and the
// per-hectare values by species, sample against full census, with the error statistics of the basal
// area. The layout is in 0.1 mm with y upwards from the page top (all positions below it negative);
// ReportCanvas maps it onto a screen or printer canvas without mirroring text.
#include <string>

#include "common/canvas.h"
#include "common/language.h"
#include "common/species.h"
#include "simulator/sampling/evaluation.h"
#include "simulator/sampling/method.h"
#include "simulator/stand/expected_vc.h"

namespace tolvek {

struct SimulatorState;

// Page size in millimetres; the printer's size replaces the default when it is known.
struct ReportPage {
  int widthMm = 190;
  int heightMm = 270;
};

// Where the page lies in the window's client area (pixels).
struct ReportBox {
  int left = 0, top = 0, width = 0, height = 0;
};
ReportBox PlaceReportBox(const ReportPage& page, int clientWidth, int clientHeight);

// The expected coefficient of variation of the stand for the method, five characters, "  -  " when
// there is none (enterprise mode, a method without a column, a stand not in the table).
std::string ExpectedVcText(const ExpectedVcTable& table, const MethodChoice& method, bool enterpriseMode,
                           const std::string& standNumberText);

// Everything the report shows.
struct StandReportInput {
  ReportPage page;
  std::string standNumber;   // two-character number text
  std::string standCaption;  // catalogue caption of the stand
  double areaHa = 0.0;
  int standTrees = 0;
  SpeciesListSelector speciesList = kConiferList;
  MethodChoice method;
  MethodCode passMethod = kMethodNone;
  int gridSpacing = 0;
  int originX = 0, originY = 0;
  double calliperThreshold = 7.0;
  std::string expectedVc = "  -  ";
  SampleEstimate estimate;
};

// The report's input from the program state after an evaluation.
StandReportInput MakeStandReportInput(const SimulatorState& state, const ReportPage& page);

// The report in 0.1 mm units. Fonts: SetFont's size is the font height in 0.1 mm.
void DrawStandReport(Canvas& canvas, const StandReportInput& input, const LanguageTable& language);

// Maps report units onto a device canvas: x' = left + x·sx, y' = top − y·sy; font heights in 0.1 mm
// become the device canvas's font sizes (points at 96 pixels per inch of the device).
class ReportCanvas : public Canvas {
 public:
  ReportCanvas(Canvas& target, double unitsToPixelsX, double unitsToPixelsY, int left = 0, int top = 0);
  void SetPen(Colour colour, int width = 1, PenStyle style = PenStyle::Solid) override;
  void SetBrush(Colour colour, BrushStyle style = BrushStyle::Solid) override;
  void SetFont(const std::string& family, int heightUnits, Colour colour, bool bold = false) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Polygon(const std::vector<CanvasPoint>& points) override;
  void Polyline(const std::vector<CanvasPoint>& points) override;
  void Text(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;
  void Pixel(int x, int y, Colour colour) override;
  void FloodFill(int x, int y, Colour border) override;

  int X(int x) const;
  int Y(int y) const;

 private:
  Canvas& target_;
  double sx_, sy_;
  int left_, top_;
};

}  // namespace tolvek
