#pragma once
// Reference values for the geometry tests, computed with Boost.Geometry rather than with the code
// under test, and small builders for the polygons the tests use.
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#include <boost/geometry/multi/geometries/multi_polygon.hpp>

#include <cmath>
#include <utility>
#include <vector>

#include "simulator/sampling/geometry.h"

namespace tolvek::testing {

namespace bg = boost::geometry;
using RefPoint = bg::model::d2::point_xy<double>;
using RefPolygon = bg::model::polygon<RefPoint>;  // clockwise, closed
using RefMulti = bg::model::multi_polygon<RefPolygon>;

using PointList = std::vector<std::pair<double, double>>;

// A polygon record from points given in order; closes it when the last point differs from the first.
template <int Slots>
Polygon<Slots> MakePolygon(const PointList& pts, bool close = true) {
  Polygon<Slots> p;
  int n = 0;
  for (const auto& [x, y] : pts) {
    ++n;
    p.x[n] = x;
    p.y[n] = y;
  }
  if (close && (pts.front() != pts.back())) {
    ++n;
    p.x[n] = pts.front().first;
    p.y[n] = pts.front().second;
  }
  p.n = n;
  return p;
}

inline RefPolygon ToRef(PolygonRef p) {
  RefPolygon r;
  for (int i = 1; i <= p.n; ++i) bg::append(r.outer(), RefPoint(p.x[i], p.y[i]));
  bg::correct(r);  // orientation and closure as Boost expects
  return r;
}

inline RefPolygon ToRef(const PointList& pts) {
  RefPolygon r;
  for (const auto& [x, y] : pts) bg::append(r.outer(), RefPoint(x, y));
  bg::correct(r);
  return r;
}

// Area of the intersection of two polygons (absolute, m²) and how many pieces it has.
inline double IntersectionArea(const RefPolygon& a, const RefPolygon& b, int* pieces = nullptr) {
  RefMulti out;
  bg::intersection(a, b, out);
  if (pieces) *pieces = static_cast<int>(out.size());
  return bg::area(out);
}

// A fine polygon standing in for a true circle (area error far below the tests' tolerances).
inline RefPolygon FineCircle(double cx, double cy, double r, int corners = 20000) {
  RefPolygon c;
  for (int k = 0; k < corners; ++k) {
    const double a = -2.0 * M_PI * k / corners;  // clockwise
    bg::append(c.outer(), RefPoint(cx + r * std::cos(a), cy + r * std::sin(a)));
  }
  bg::correct(c);
  return c;
}

}  // namespace tolvek::testing
