#pragma once
// Reference values for the geometry tests, computed independently of the code under test, and
// small builders for the polygons the tests use.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "simulator/sampling/geometry.h"

namespace tolvek::testing {

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

// Area of the subject polygon inside a convex window that runs clockwise (Sutherland-Hodgman). Exact
// to rounding, where Boost's intersection rescales to integers and is good to about 1e-7 only. The
// window is given closed (points 1..n, point n repeating point 1); a subject cut into several pieces
// still gives the right total area.
inline double ConvexClipArea(PolygonRef window, PointList subject) {
  if (subject.size() > 1 && subject.front() == subject.back()) subject.pop_back();
  for (int i = 1; i < window.n; ++i) {
    const double ax = window.x[i], ay = window.y[i];
    const double bx = window.x[i + 1], by = window.y[i + 1];
    auto side = [&](const std::pair<double, double>& p) {  // <= 0 on the inner (right-hand) side
      return (bx - ax) * (p.second - ay) - (by - ay) * (p.first - ax);
    };
    PointList out;
    for (std::size_t j = 0; j < subject.size(); ++j) {
      const auto& c = subject[j];
      const auto& d = subject[(j + 1) % subject.size()];
      const double sc = side(c), sd = side(d);
      if (sc <= 0) out.push_back(c);
      if ((sc < 0 && sd > 0) || (sc > 0 && sd < 0)) {
        const double t = sc / (sc - sd);
        out.emplace_back(c.first + t * (d.first - c.first), c.second + t * (d.second - c.second));
      }
    }
    subject = std::move(out);
  }
  double area = 0.0;
  for (std::size_t i = 0; i < subject.size(); ++i) {
    const auto& a = subject[i];
    const auto& b = subject[(i + 1) % subject.size()];
    area += (b.first - a.first) * 0.5 * (b.second + a.second);
  }
  return area;
}

// The exact area of the circle (cx, cy, r) inside a simple polygon given by its corners in either
// order: the sum over the edges of the circle's share of the triangle (centre, edge).
inline double CircleInsidePolygon(const PointList& corners, double cx, double cy, double r) {
  auto sector = [r](double ax, double ay, double bx, double by) {
    return 0.5 * r * r * std::atan2(ax * by - ay * bx, ax * bx + ay * by);
  };
  double sum = 0.0;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const double ax = corners[i].first - cx, ay = corners[i].second - cy;
    const auto& nb = corners[(i + 1) % corners.size()];
    const double bx = nb.first - cx, by = nb.second - cy;
    const double dx = bx - ax, dy = by - ay;
    const double qa = dx * dx + dy * dy;
    if (qa == 0.0) continue;
    const double qb = 2 * (ax * dx + ay * dy), qc = ax * ax + ay * ay - r * r;
    const double disc = qb * qb - 4 * qa * qc;
    if (disc <= 0.0) {
      sum += sector(ax, ay, bx, by);
      continue;
    }
    const double t1 = std::max(0.0, (-qb - std::sqrt(disc)) / (2 * qa));
    const double t2 = std::min(1.0, (-qb + std::sqrt(disc)) / (2 * qa));
    if (t1 >= t2) {
      sum += sector(ax, ay, bx, by);
      continue;
    }
    const double p1x = ax + t1 * dx, p1y = ay + t1 * dy;
    const double p2x = ax + t2 * dx, p2y = ay + t2 * dy;
    sum += sector(ax, ay, p1x, p1y) + 0.5 * (p1x * p2y - p1y * p2x) + sector(p2x, p2y, bx, by);
  }
  return std::fabs(sum);
}

}  // namespace tolvek::testing
