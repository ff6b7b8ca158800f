#pragma once
// The sample grid: a square (stand) or rectangular (enterprise) lattice, turned by a small angle about
// its origin and placed by an origin offset. Points are kept relative to the origin so that shifting the
// grid only changes the offset. Drawing belongs to the grid window; this is the arithmetic and the file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/platform.h"
#include "common/problem.h"
#include "common/random.h"
#include "common/run_control.h"
#include "simulator/sampling/prepared_inside.h"

namespace tolvek {

struct BoundaryPolygon;
struct LanguageTable;

inline constexpr int kMaxGridPoints = 4200;
inline constexpr std::size_t kGridPointRecordSize = 48;
inline constexpr std::size_t kGridFileSize = 201624;  // 4200 records of 48 bytes + six 32-bit values
inline constexpr int kMaxDigitisedPoints = 20;

struct GridPoint {
  std::int32_t x = 0;            // m, relative to the origin after rotation, whole metres
  std::int32_t y = 0;
  std::uint8_t inside = 0;       // 1: point + origin lies in the stand (or in a compartment)
  std::int32_t standNumber = 0;  // enterprise: the model stand at the point, 0 none
  std::uint8_t standType = 0;    // enterprise: type position of the enterprise stand
  std::uint8_t ageClass = 0;     // enterprise: class of the enterprise stand
  double centreX = 0.0;          // enterprise: the plot position drawn inside the model stand
  double centreY = 0.0;
};

// What laying a grid keeps from one time to the next, found again from its inputs whenever they
// differ: a run lays the same lattice, turned by the same angle, on the same stand at every repetition,
// only moved by the origin.
struct GridMemo {
  // The lattice's points turned by the angle and rounded to whole metres, in the order they are laid.
  struct Turned {
    bool made = false;
    int x0 = 0, nx = 0, y0 = 0, ny = 0, dx = 0, dy = 0;
    double rotation = 0.0;
    std::vector<std::int32_t> xy;
  } turned;
  PreparedInsideMemo inside;  // the stand boundary's inside test
};

struct SampleGrid {
  // Room for kMaxGridPoints once the first grid is made; points 1..pointCount are points[0..count-1].
  std::vector<GridPoint> points;
  bool exists = false;             // a grid has been laid (or read) since the last method choice
  bool loadedFromFile = false;     // the grid came from "lesen"
  int pointCount = 0;
  int dx = 50, dy = 50;            // spacing, m
  int originX = 0, originY = 0;    // m, stand (or enterprise map) coordinates
  int baseOriginX = 0, baseOriginY = 0;  // origin at the start of a repetition run
  double rotation = 0.06;          // rad; the rotation buttons (RotateGridLeft/Right) set it
  int extentX = 720, extentY = 620;
  int insideCount = 0;
  std::uint16_t lastPassPlotCount = 0;   // the next redraw in stand mode redraws the stand map first
  bool saveRequest = false;        // enterprise: save at the end of the next pass
  bool assign = false;             // MarkInsidePoints also assigns model stands (enterprise)
  // dragging a plot on the stand map
  bool dragging = false;
  int pickedIndex = 0;             // 1-based
  int bandX = 0, bandY = 0;
  // the boundary digitised by clicks on the stand map
  std::array<double, kMaxDigitisedPoints> digitisedX{};
  std::array<double, kMaxDigitisedPoints> digitisedY{};
  int digitisedCount = 0;
  GridMemo memo;

  GridPoint& Point(int i) { return points[static_cast<std::size_t>(i - 1)]; }  // i = 1..pointCount
  const GridPoint& Point(int i) const { return points[static_cast<std::size_t>(i - 1)]; }
};

// The flags generation depends on besides the grid itself.
struct GridContext {
  bool enterpriseMode = false;
  bool repetitionFlag = false;     // set by the weighting question of a run: spacing stays
  bool evaluationStarted = false;  // set by every "Auswertung"
};

// Inside test of the enterprise route: whether a point of the enterprise map lies in a compartment,
// and the model stand found there. The enterprise level implements it.
class EnterpriseGridAreas {
 public:
  virtual ~EnterpriseGridAreas() = default;
  // Before the points of a grid are marked (the compartments may have been cut anew since).
  virtual void BeginMarking() {}
  virtual bool InsideCompartment(double gx, double gy) = 0;
  // With assign set: store stand number, type and class of the enterprise stand at (gx, gy).
  virtual void AssignModelStand(double gx, double gy, GridPoint& point) = 0;
};

// Applies a spacing step (0, ±1, ±5) under the rules of the spacing buttons; false when refused.
bool ApplySpacingStep(SampleGrid& grid, int step, const GridContext& ctx);

// The lattice for the current spacing, rotation and origin. Ordinary stands get exactly the fixed
// lattice (720 × 620 in stand mode); where a rotated or large stand would reach past it the index
// ranges are extended so that the whole stand is covered. False with the message
// "nur 4200 Stichproben zulässig" when that would need more than 4200 points: the grid is kept as it was.
// The grid's problems name no file (the grid is the one in hand), so their `where` stays empty.
Outcome GenerateGrid(SampleGrid& grid, const BoundaryPolygon* boundary, int step, const GridContext& ctx);

// Inside flags and inside count (stand mode with the boundary, enterprise mode with the areas).
void MarkInsidePoints(SampleGrid& grid, const BoundaryPolygon* boundary, EnterpriseGridAreas* areas,
                      bool enterpriseMode, bool assign);

// A fresh grid: room for 4200 points, generation without spacing change, inside marking.
Outcome NewGrid(SampleGrid& grid, const BoundaryPolygon* boundary, EnterpriseGridAreas* areas, const GridContext& ctx);

// The shift buttons: regenerate, then move the origin (steps × 4 in enterprise mode). A negative step
// is refused where origin + spacing + step would drop below 5. Returns false when a step was refused.
bool ShiftGrid(SampleGrid& grid, const BoundaryPolygon* boundary, EnterpriseGridAreas* areas, int stepX,
               int stepY, const GridContext& ctx);

// The random origin of one repetition: a random point of one grid cell, turned with the grid, added to
// the base origin. Two draws (x then y).
void RandomGridOrigin(SampleGrid& grid, RandomGenerator& random);

// "Gitter": spacing 50 × 50 (stand) or 200 × 100 (enterprise) and the origin at (0, 0); the caller then
// makes a new grid.
void PresetGridCommand(SampleGrid& grid, bool enterpriseMode);
// "Verfahren": a grid that was not read from a file is forgotten (the next pass lays a new one).
void ForgetGridUnlessLoaded(SampleGrid& grid);

// Label texts. The main window: "Stichproben:" + blanks (6 after "Gitter" and "weiter", 4 after
// "blinken", 7 after "lesen") + count; "Gitterabstand:" with dx and dy in widths 4/4 (6/3 after "lesen").
std::string PointCountLabel(const LanguageTable& lang, int insideCount, int blanks = 6);
std::string SpacingLabel(const LanguageTable& lang, const SampleGrid& grid, int widthX = 4, int widthY = 4);
// The result graphic window (stand mode): "Gitterabstand:" + dx + " m" and "Erster Punkt:" + origin.
std::string ResultSpacingLabel(const LanguageTable& lang, const SampleGrid& grid);
std::string ResultOriginLabel(const LanguageTable& lang, const SampleGrid& grid);

// ---- the grid file ("Temp\Betrieb" + n + "Netz.txt") ----
std::string GridFilePath(const std::string& programFolder, int enterpriseNumber);
// The 201624 bytes of the file.
std::string EncodeGridFile(const SampleGrid& grid);
// Checks size and content; on success fills the grid's points, spacing, origin and counts. On failure
// returns the German message and leaves the grid as it was.
Outcome DecodeGridFile(const std::string& bytes, SampleGrid& grid);
// Writes the file atomically; a problem when it could not be written.
Outcome SaveGrid(const SampleGrid& grid, const std::string& path);
// "Bitte zuerst Gitternetz speichern" when the file does not exist; the size and content check above
// otherwise. On success the grid counts as read from a file.
Outcome LoadGrid(SampleGrid& grid, const std::string& path);

// ---- picking and dragging a plot on the stand map ----
// The inside point within 10 m of (X, Y) in both axes (the last that matches), 0 for none.
int PickGridPoint(const SampleGrid& grid, int X, int Y);
// The picked point moves to (X, Y) in stand coordinates.
void DropGridPoint(SampleGrid& grid, int index, int X, int Y);

// ---- the digitised boundary ----
enum class DigitiseResult { Added, Closed, Full };
// Adds a clicked point; Closed when it lies within 2 m of the first (from the second point on), Full when
// 20 points are held already (the click is then ignored).
DigitiseResult DigitiseBoundary(SampleGrid& grid, double y, double x);
// The text of "Temp\Grenze.txt": one line per point, FormatFixed(9, 2, x) + FormatFixed(9, 2, y).
std::vector<std::string> DigitisedBoundaryLines(const SampleGrid& grid);
std::string DigitisedBoundaryPath(const std::string& programFolder);
// Rewrites "Temp\Grenze.txt" below the program folder with the points (after "Grenze geschlossen" was
// confirmed). A problem when it could not be written; an older file then stays whole.
Outcome WriteDigitisedBoundary(const SampleGrid& grid, const std::string& programFolder);

}  // namespace tolvek
