#pragma once
// The stand map: every tree a ring in its species colour on black, the boundary in red, a frame in
// metres, and the species legend beside it. Everything here draws on the Canvas interface, so pixel
// positions and colours are tested without a screen; the main window only shows the picture.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "common/canvas.h"
#include "common/platform.h"
#include "common/rounding.h"
#include "common/run_control.h"
#include "simulator/stand/boundary.h"
#include "simulator/stand/tree_list.h"

namespace tolvek {

// One rotation of the stand turns it by -30 degrees.
inline constexpr double kStandRotationAngle = -0.523599;
// Colour of the frame's metre labels, of a blinking species' trees, and of species codes outside 0..9.
inline constexpr Colour kFrameTextColour = 0xE6E6C8;
inline constexpr Colour kBlinkColour = 0x444444;
inline constexpr Colour kUnknownSpeciesColour = 0x008000;

// Colour of a species on the map and in the diagrams: palette 1 for species list 1, palette 2 for
// every other selector; codes outside 0..9 are dark green.
Colour SpeciesColour(int code, int selector);

// World (metres, y up) to pixels (y down) of the stand image; positions saturate far outside the image. In enterprise mode the world lines go
// through the enterprise map instead (no margins).
struct StandMapTransform {
  double scale = 1.0;        // pixels per metre
  int imageWidth = 0;
  int imageHeight = 0;
  bool enterpriseMode = false;
  double enterpriseScale = 1.0;

  int StandMapX(double x) const { return RoundPixel(scale * x) + 30; }
  int StandMapY(double y) const { return imageHeight - RoundPixel(scale * y) - 25; }
  // Whole metres under a pixel (mouse handlers); 0 while the scale is not set.
  double StandMapXInverse(int column) const;
  double StandMapYInverse(int row) const;
  int EnterpriseMapX(double x) const { return RoundPixel(x * enterpriseScale); }
  int EnterpriseMapY(double y) const { return imageHeight - RoundPixel(y * enterpriseScale); }
  // The route a world line takes in the current mode.
  int WorldX(double x) const { return enterpriseMode ? EnterpriseMapX(x) : StandMapX(x); }
  int WorldY(double y) const { return enterpriseMode ? EnterpriseMapY(y) : StandMapY(y); }
  bool operator==(const StandMapTransform&) const = default;
};

// Pixels the frame needs beside the stand: the x offset of 30 and the widest x label (three digits) at
// the east, the y offset of 25 and a y label above its tick at the north.
inline constexpr double kMapRightRoom = 30.0 + 20.0;
inline constexpr double kMapTopRoom = 25.0 + 14.0;

// The largest scale at which the extents fit the image with room for the frame's margins (20 m and 35 m
// beyond the extents, and never less than kMapRightRoom / kMapTopRoom pixels). Extents that leave no
// room (empty or inverted) keep the scale at 1 rather than dividing by nothing.
double FitStandMapScale(double ymin, double ymax, double xmin, double xmax, int imageWidth, int imageHeight);

// Turns (x, y) about the origin by angle (radians), with the rounded constants the grid and the stand
// rotation have always used (1.5708 and 3.1415), so rotated stands and grids keep their old positions.
void RotatePoint(double& x, double& y, double angle);

// Program-wide state of the map: the scale (also used by the catalogue thumbnails), the species on
// each legend button, and the species chosen last for blinking.
struct StandMapState {
  double scale = 1.0;
  double enterpriseScale = 1.0;  // pixels per metre of the enterprise map (set by the enterprise map)
  std::array<int, 10> legend{};  // legend[k] = species of button BitBa<k>, k = 1..9; 0 = none
  int legendCount = 0;
  int blinkSpecies = 0;
};

// Drawing primitives in world coordinates.
// Two corners in pixels: the box of an ellipse DrawTreeDisc draws (Canvas::Ellipse corners), or the
// ends of a line.
struct EllipseBox {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
EllipseBox TreeDiscBox(const StandMapTransform& t, double dbh, double y, double x);
void DrawTreeDisc(Canvas& canvas, const StandMapTransform& t, double dbh, double y, double x);
// The two lines of DrawCrossMark, each as the corners Canvas::Line takes: across, then up.
std::array<EllipseBox, 2> CrossMarkLines(const StandMapTransform& t, double x, double y);
void DrawCrossMark(Canvas& canvas, const StandMapTransform& t, double x, double y);
void DrawWorldLine(Canvas& canvas, const StandMapTransform& t, double x1, double y1, double x2, double y2);

// The cross marks every 50 m (spaced by the screen scale), the two axes and the metre labels.
void DrawStandFrame(Canvas& canvas, const StandMapTransform& t, Colour colour, double screenScale);

// Red boundary from point 1 through points 2..n (the ring is closed in the data).
void DrawBoundary(Canvas& canvas, const StandMapTransform& t, const BoundaryPolygon& boundary);

// Black field with a white frame, every tree a ring in its species colour, then frame and boundary.
void DrawTrees(Canvas& canvas, const StandMapTransform& t, const TreeList& trees, int selector,
               const BoundaryPolygon& boundary, double screenScale);

// Everything the picture DrawTrees makes depends on. Two equal keys give the same picture, so a window
// that redraws an unchanged stand again and again (under every pass of a run) may keep the picture and
// put it back instead of drawing every tree anew. A default key equals no made one.
class TreePictureKey {
 public:
  TreePictureKey() = default;
  TreePictureKey(const StandMapTransform& t, const TreeList& trees, int selector, const BoundaryPolygon& boundary,
                 double screenScale);
  bool operator==(const TreePictureKey&) const = default;
  // The same as comparing with the key of these inputs, without making one: a run asks at every
  // repetition, and a key copies every tree.
  bool Describes(const StandMapTransform& t, const TreeList& trees, int selector, const BoundaryPolygon& boundary,
                 double screenScale) const;

 private:
  struct Tree {
    double x, y, dbh;
    int species;
    bool operator==(const Tree&) const = default;
    // What the picture takes of a tree.
    static Tree Of(const TreeRecord& t) { return {t.x, t.y, t.dbh, t.species}; }
  };
  bool made_ = false;
  StandMapTransform transform_;
  std::vector<Tree> trees_;
  int selector_ = 0;
  std::vector<double> boundary_;  // x and y of points 1..n in turn
  double screenScale_ = 0.0;
};

// Legend image: black field, the name of each species present in its colour. Fills the
// legend entries; returns the number of buttons to show (BitBa1 .. BitBa<n>).
// names(i) is the translated name of species i in the stand's list.
int DrawSpeciesLegend(Canvas& legend, int width, int height, const std::array<int, 11>& treeCount, int selector,
                      double screenScale, const std::function<std::string(int)>& names, StandMapState& map);

// Blinks the trees of one species: dim grey, wait, redraw the map, wait; five times when repeat is set.
// show() puts the canvas on the screen before each wait; the waits pump events and a stop ends them.
void BlinkSpecies(bool repeat, int species, Canvas& canvas, const StandMapTransform& t,
                  const TreeList& trees, int selector, const BoundaryPolygon& boundary,
                  double screenScale, const std::function<void()>& show, RunControl& run, Services& services);

// Rotates trees and boundary by one step about the origin and shifts both by the trees' minima, so the
// trees stay in the first quadrant (the boundary may reach below 0). Returns the scale that fits the
// rotated trees.
double RotateStand(TreeList& trees, BoundaryPolygon& boundary, int imageWidth, int imageHeight);

// Scale of a freshly drawn stand: the boundary's extents fitted to the image.
double StandScaleForBoundary(const BoundaryPolygon& boundary, int imageWidth, int imageHeight);

// The map's labels. Without an area the tree label shows the plain count rather than a division by nothing.
std::string TreesPerHectareLabel(const std::string& prefix, int treeCount, double areaHa);
std::string StandAreaLabel(const std::string& areaWord, double areaHa);

// Catalogue thumbnail: black square, each tree one pixel, the boundary in red, and the number and
// description in white, on as many lines as the square's width asks.
struct ThumbnailTransform {
  double scale = 1.0;  // image height / 270
  int imageHeight = 75;
  int X(double x) const { return RoundPixel(scale * 0.5 * x) + 4; }
  int Y(double y) const { return imageHeight - (RoundPixel(scale * 0.5 * y) + 4); }
};
void DrawStandThumbnail(Canvas& canvas, const ThumbnailTransform& t, const TreeList& trees, int selector,
                        const BoundaryPolygon& boundary, int entry, const std::string& caption);
// The text in lines no wider than width in the canvas's font, broken after a blank or comma where one
// lies within the line, else within a word.
std::vector<std::string> FitLines(Canvas& canvas, const std::string& text, int width);

}  // namespace tolvek
