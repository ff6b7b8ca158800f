#pragma once
// The enterprise map: compartments and their stands drawn turned and scaled into the main window's
// picture, and the way back from a pixel to the compartment under it.
#include <array>

#include "common/canvas.h"
#include "simulator/enterprise/enterprise_model.h"

namespace tolvek {

// (x, y) turned about the origin by angle (radians).
GeoPoint RotateByGridAngle(double angle, double y, double x);

// Metres of the enterprise map to pixels of a picture imageHeight high, and back.
struct EnterpriseMapTransform {
  double angle = 0.0;
  double scale = 1.0;  // pixels per metre
  int imageHeight = 0;

  int EnterpriseMapX(double x) const;  // of a point already turned
  int EnterpriseMapY(double y) const;
  CanvasPoint ToPixel(GeoPoint p) const;
  // The point of the map under a pixel.
  GeoPoint ToMetres(int column, int row) const;
};

// The colours of the types in the structure's share window, by type position 1..5 (index 0 unused).
inline constexpr std::array<Colour, 6> kTypeColours{0x000000, 0x008000, 0x0000FF, 0x808080, 0x00FFFF, 0xFF0000};

// How a stand is filled: by its type position and class; in the marked compartment (with a type) by the
// compartment's type; in mode 1 by its type's colour; light green while the map is drawn the first time.
Colour StandFillColour(const EnterpriseSession& s, int compartment, const EnterpriseStand& stand, int mode);

// Compartment a: its area summed from its stands, its stands filled (black edges), its outline drawn
// twice as thick.
void DrawCompartment(Canvas& canvas, EnterpriseSession& s, int a, int mode, const EnterpriseMapTransform& t);
// The whole map on black: the first drawing ends here.
void DrawEnterpriseMap(Canvas& canvas, EnterpriseSession& s, const EnterpriseMapTransform& t, int width, int height);

// The compartment whose outline holds the point (metres of the map); 0 none.
int CompartmentAt(const EnterpriseSession& s, GeoPoint p);

// How far the compartments reach into a picture at this angle and scale: the largest column, and the
// largest height above the bottom row (pixels).
struct MapReach {
  int columns = 0;
  int rows = 0;
};
MapReach EnterpriseMapReach(const std::vector<Ring>& outlines, double angle, double scale);

}  // namespace tolvek
