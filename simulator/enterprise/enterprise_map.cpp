#include "simulator/enterprise/enterprise_map.h"

#include <algorithm>
#include <cmath>

#include "common/rounding.h"

namespace tolvek {

GeoPoint RotateByGridAngle(double angle, double y, double x) {
  // The exact turn: the polar form with a rounded pi would move points kilometres out by half a metre.
  const double c = std::cos(angle), s = std::sin(angle);
  return {x * c - y * s, x * s + y * c};
}

int EnterpriseMapTransform::EnterpriseMapX(double x) const { return RoundInt(x * scale); }
int EnterpriseMapTransform::EnterpriseMapY(double y) const { return imageHeight - RoundInt(y * scale); }

CanvasPoint EnterpriseMapTransform::ToPixel(GeoPoint p) const {
  const GeoPoint r = RotateByGridAngle(angle, p.y, p.x);
  return {EnterpriseMapX(r.x), EnterpriseMapY(r.y)};
}

GeoPoint EnterpriseMapTransform::ToMetres(int column, int row) const {
  const double x = column / scale, y = (imageHeight - row) / scale;
  return RotateByGridAngle(-angle, y, x);
}

Colour StandFillColour(const EnterpriseSession& s, int compartment, const EnterpriseStand& stand, int mode) {
  Colour c = ClassColour(stand.typePosition, stand.cls);
  const int compartmentType = s.At(compartment).typePosition;
  if (compartment == s.markedCompartment && compartmentType != 0) c = ClassColour(compartmentType, stand.cls);
  if (mode == 1)
    c = (stand.typePosition >= 1 && stand.typePosition <= 5) ? kTypeColours[static_cast<std::size_t>(stand.typePosition)]
                                                              : kWhite;
  if (s.firstDrawing) c = kFirstDrawingColour;
  return c;
}

void DrawCompartment(Canvas& canvas, EnterpriseSession& s, int a, int mode, const EnterpriseMapTransform& t) {
  canvas.SetPen(kBlack, 1);
  Compartment& c = s.At(a);
  c.area = 0.0;
  for (const EnterpriseStand& st : c.stands) c.area += st.area;
  std::vector<CanvasPoint> pts;
  for (const EnterpriseStand& st : c.stands) {
    pts.clear();
    for (const GeoPoint& p : st.corners) pts.push_back(t.ToPixel(p));
    canvas.SetBrush(StandFillColour(s, a, st, mode));
    canvas.Polygon(pts);
  }
  pts.clear();
  for (const GeoPoint& p : s.Outline(a)) pts.push_back(t.ToPixel(p));
  canvas.SetPen(kBlack, 2);
  canvas.Polyline(pts);
  canvas.SetPen(kBlack, 1);
}

void DrawEnterpriseMap(Canvas& canvas, EnterpriseSession& s, const EnterpriseMapTransform& t, int width, int height) {
  canvas.SetPen(kBlack, 1);
  canvas.SetBrush(kBlack);
  canvas.Rectangle(0, 0, width, height);
  s.firstDrawing = false;
  for (int a = 1; a <= s.compartmentCount; ++a) DrawCompartment(canvas, s, a, 0, t);
}

int CompartmentAt(const EnterpriseSession& s, GeoPoint p) {
  std::vector<double> x, y;
  for (int a = 1; a <= s.compartmentCount && static_cast<std::size_t>(a) < s.outlines.size(); ++a) {
    const Ring& r = s.Outline(a);
    x.assign(r.size() + 1, 0.0);
    y.assign(r.size() + 1, 0.0);
    for (std::size_t i = 0; i < r.size(); ++i) {
      x[i + 1] = r[i].x;
      y[i + 1] = r[i].y;
    }
    const int n = static_cast<int>(r.size());
    if (PointInPolygon(PolygonRef(n, x.data(), y.data(), n), p.x, p.y)) return a;
  }
  return 0;
}

MapReach EnterpriseMapReach(const std::vector<Ring>& outlines, double angle, double scale) {
  MapReach r;
  for (const Ring& ring : outlines)
    for (const GeoPoint& p : ring) {
      const GeoPoint q = RotateByGridAngle(angle, p.y, p.x);
      r.columns = std::max(r.columns, RoundInt(q.x * scale));
      r.rows = std::max(r.rows, RoundInt(q.y * scale));
    }
  return r;
}

}  // namespace tolvek
