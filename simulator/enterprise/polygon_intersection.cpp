#include "simulator/enterprise/polygon_intersection.h"

#include <algorithm>
#include <cmath>

namespace tolvek {

namespace {

// Two boundaries closer than this count as touching (metres).
constexpr double kTouch = 1e-7;
// The move of b that takes touching boundaries apart, per try (metres), and the tries.
constexpr double kNudge = 1e-5;
constexpr int kTries = 8;

GeoPoint Sub(GeoPoint a, GeoPoint b) { return {a.x - b.x, a.y - b.y}; }
double Cross(GeoPoint a, GeoPoint b) { return a.x * b.y - a.y * b.x; }
double Dot(GeoPoint a, GeoPoint b) { return a.x * b.x + a.y * b.y; }
double Length(GeoPoint a) { return std::sqrt(Dot(a, a)); }

// The corners once each: without the closing repetition and without a corner equal to the one before.
std::vector<GeoPoint> Corners(const Ring& r) {
  std::vector<GeoPoint> out;
  for (const GeoPoint& p : r)
    if (out.empty() || out.back().x != p.x || out.back().y != p.y) out.push_back(p);
  while (out.size() > 1 && out.front().x == out.back().x && out.front().y == out.back().y) out.pop_back();
  return out;
}

// Even-odd test; the point is known to lie off the boundary.
bool Inside(const std::vector<GeoPoint>& poly, GeoPoint p) {
  bool in = false;
  const std::size_t n = poly.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const GeoPoint& a = poly[i];
    const GeoPoint& b = poly[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
  }
  return in;
}

// One corner or crossing on a polygon's boundary, linked in the boundary's order.
struct Node {
  GeoPoint p;
  int next = -1, prev = -1;
  bool crossing = false;
  bool entry = false;   // the boundary enters the other polygon here
  int other = -1;       // the same crossing in the other polygon's list
  bool visited = false;
};

struct Crossing {
  int i = 0, j = 0;        // edges of a and b
  double along = 0, alongB = 0;  // where on them (0..1)
  GeoPoint p;
};

// Builds the node list of a polygon's corners with the crossings on its edges, in order.
void BuildList(const std::vector<GeoPoint>& poly, std::vector<Crossing>& crossings, bool first,
               std::vector<Node>& nodes, std::vector<int>& crossingNode) {
  const int n = static_cast<int>(poly.size());
  std::vector<std::vector<int>> onEdge(static_cast<std::size_t>(n));
  for (int k = 0; k < static_cast<int>(crossings.size()); ++k)
    onEdge[static_cast<std::size_t>(first ? crossings[static_cast<std::size_t>(k)].i
                                          : crossings[static_cast<std::size_t>(k)].j)]
        .push_back(k);
  crossingNode.assign(crossings.size(), -1);
  for (int e = 0; e < n; ++e) {
    nodes.push_back({poly[static_cast<std::size_t>(e)]});
    std::vector<int>& hits = onEdge[static_cast<std::size_t>(e)];
    std::sort(hits.begin(), hits.end(), [&](int u, int v) {
      const Crossing& cu = crossings[static_cast<std::size_t>(u)];
      const Crossing& cv = crossings[static_cast<std::size_t>(v)];
      return first ? cu.along < cv.along : cu.alongB < cv.alongB;
    });
    for (int k : hits) {
      Node node{crossings[static_cast<std::size_t>(k)].p};
      node.crossing = true;
      crossingNode[static_cast<std::size_t>(k)] = static_cast<int>(nodes.size());
      nodes.push_back(node);
    }
  }
  const int m = static_cast<int>(nodes.size());
  for (int k = 0; k < m; ++k) {
    nodes[static_cast<std::size_t>(k)].next = (k + 1) % m;
    nodes[static_cast<std::size_t>(k)].prev = (k + m - 1) % m;
  }
}

// The boundary walk marks every crossing as an entry or an exit of the other polygon.
void MarkEntries(std::vector<Node>& nodes, bool startsInside) {
  bool inside = startsInside;
  for (Node& n : nodes)
    if (n.crossing) {
      n.entry = !inside;
      inside = !inside;
    }
}

Ring Closed(std::vector<GeoPoint> pts) {
  if (!pts.empty()) pts.push_back(pts.front());
  if (RingArea(pts) < 0.0) std::reverse(pts.begin(), pts.end());
  return pts;
}

// False when the boundaries touch somewhere: the caller moves b and tries again.
bool TryIntersect(const std::vector<GeoPoint>& a, const std::vector<GeoPoint>& b, std::vector<Ring>& out) {
  out.clear();
  const std::size_t na = a.size(), nb = b.size();
  std::vector<Crossing> crossings;
  for (std::size_t i = 0; i < na; ++i) {
    const GeoPoint a0 = a[i], da = Sub(a[(i + 1) % na], a0);
    const double la = Length(da);
    for (std::size_t j = 0; j < nb; ++j) {
      const GeoPoint b0 = b[j], db = Sub(b[(j + 1) % nb], b0);
      const double lb = Length(db);
      const double denom = Cross(da, db);
      const GeoPoint ab = Sub(b0, a0);
      if (std::fabs(denom) <= 1e-12 * la * lb) {
        // Parallel: they touch only when on one line and overlapping.
        if (std::fabs(Cross(da, ab)) / la > kTouch) continue;
        const double t0 = Dot(ab, da) / (la * la), t1 = Dot(Sub(b[(j + 1) % nb], a0), da) / (la * la);
        if (std::max(t0, t1) >= -kTouch / la && std::min(t0, t1) <= 1.0 + kTouch / la) return false;
        continue;
      }
      const double s = Cross(ab, db) / denom;  // along a's edge
      const double t = Cross(ab, da) / denom;  // along b's edge
      const double ea = kTouch / la, eb = kTouch / lb;
      if (s < -ea || s > 1.0 + ea || t < -eb || t > 1.0 + eb) continue;
      if (s <= ea || s >= 1.0 - ea || t <= eb || t >= 1.0 - eb) return false;
      crossings.push_back({static_cast<int>(i), static_cast<int>(j), s, t, {a0.x + s * da.x, a0.y + s * da.y}});
    }
  }
  if (crossings.empty()) {
    if (Inside(b, a[0]))
      out.push_back(Closed(a));
    else if (Inside(a, b[0]))
      out.push_back(Closed(b));
    return true;
  }
  if (crossings.size() % 2 != 0) return false;

  std::vector<Node> la, lb;
  std::vector<int> inA, inB;
  BuildList(a, crossings, true, la, inA);
  BuildList(b, crossings, false, lb, inB);
  for (std::size_t k = 0; k < crossings.size(); ++k) {
    la[static_cast<std::size_t>(inA[k])].other = inB[k];
    lb[static_cast<std::size_t>(inB[k])].other = inA[k];
  }
  MarkEntries(la, Inside(b, a[0]));
  MarkEntries(lb, Inside(a, b[0]));

  // Each unvisited crossing starts a ring: follow a boundary while it lies inside the other polygon,
  // change boundaries at every crossing.
  const std::size_t limit = 2 * (la.size() + lb.size()) + 4;
  for (Node& start : la) {
    if (!start.crossing || start.visited) continue;
    std::vector<GeoPoint> ring{start.p};
    std::vector<Node>* list = &la;
    int at = static_cast<int>(&start - la.data());
    for (std::size_t steps = 0; steps < limit; ++steps) {
      Node& cur = (*list)[static_cast<std::size_t>(at)];
      std::vector<Node>* otherList = list == &la ? &lb : &la;
      cur.visited = true;
      (*otherList)[static_cast<std::size_t>(cur.other)].visited = true;
      const bool forward = cur.entry;
      do {
        at = forward ? (*list)[static_cast<std::size_t>(at)].next : (*list)[static_cast<std::size_t>(at)].prev;
        ring.push_back((*list)[static_cast<std::size_t>(at)].p);
      } while (!(*list)[static_cast<std::size_t>(at)].crossing);
      at = (*list)[static_cast<std::size_t>(at)].other;
      list = otherList;
      if ((*list)[static_cast<std::size_t>(at)].visited) break;
    }
    ring.pop_back();  // the start again
    if (ring.size() >= 3) out.push_back(Closed(std::move(ring)));
  }
  return true;
}

}  // namespace

std::vector<Ring> IntersectPolygons(const Ring& a, const Ring& b) {
  const std::vector<GeoPoint> pa = Corners(a), pb = Corners(b);
  std::vector<Ring> out;
  if (pa.size() < 3 || pb.size() < 3) return out;
  for (int k = 0; k < kTries; ++k) {
    std::vector<GeoPoint> moved = pb;
    if (k > 0) {
      // A new direction each try, so that edges along one line do not stay on it.
      const double angle = 2.399963229728653 * k, d = kNudge * k;
      for (GeoPoint& p : moved) {
        p.x += d * std::cos(angle);
        p.y += d * std::sin(angle);
      }
    }
    if (TryIntersect(pa, moved, out)) return out;
  }
  out.clear();
  return out;
}

}  // namespace tolvek
