#include "simulator/enterprise/subdivision.h"

#include <algorithm>
#include <cmath>

#include "simulator/enterprise/compartment_map.h"
#include "simulator/enterprise/polygon_intersection.h"

namespace tolvek {

namespace {

// Corners within this of the one before them (in x and in y) are one corner (m).
constexpr double kSameCorner = 0.1;
// A piece smaller than this (m²) is no stand.
constexpr double kSmallestPiece = 1.0;

// The ring in the slots 1..n of two arrays, as the point-in-polygon test takes polygons.
struct SlotArrays {
  std::vector<double> x, y;
  explicit SlotArrays(const Ring& r) : x(r.size() + 1, 0.0), y(r.size() + 1, 0.0) {
    for (std::size_t i = 0; i < r.size(); ++i) {
      x[i + 1] = r[i].x;
      y[i + 1] = r[i].y;
    }
  }
  bool Contains(double px, double py) const {
    return PointInPolygon(PolygonRef(static_cast<int>(x.size()) - 1, x.data(), y.data(),
                                     static_cast<int>(x.size()) - 1),
                          px, py);
  }
};

EnterpriseStand MakeStand(const Ring& ring, RandomDraws& random) {
  EnterpriseStand st;
  st.corners = ring;
  st.area = RingArea(ring) * 0.0001;
  st.typePosition = 1;
  st.cls = st.area > 0.0 ? random.Next(4) + 1 : 5;
  return st;
}

}  // namespace

SubdivisionKind KindTable(int kind) {
  static const SubdivisionKind kTable[10] = {{3, 3}, {3, 2}, {2, 3}, {4, 3}, {3, 2},
                                             {3, 3}, {2, 4}, {4, 2}, {3, 3}, {4, 4}};
  return kTable[(kind >= 0 && kind <= 9) ? kind : 0];
}

CrossCut RandomCutLines(const Ring& ring, int spread, RandomDraws& random) {
  // Corners 1..n - 1: the ring without its closing corner. Extents start from the first corner, so
  // coordinates of any sign and size are taken as they are.
  const std::size_t corners = ring.empty() ? 0 : ring.size() - 1;
  double sumX = 0.0, sumY = 0.0, minX = 0.0, maxX = 0.0, minY = 0.0, maxY = 0.0;
  if (corners > 0) {
    minX = maxX = ring[0].x;
    minY = maxY = ring[0].y;
  }
  for (std::size_t i = 0; i < corners; ++i) {
    minX = std::min(minX, ring[i].x);
    maxX = std::max(maxX, ring[i].x);
    minY = std::min(minY, ring[i].y);
    maxY = std::max(maxY, ring[i].y);
    sumX += ring[i].x;
    sumY += ring[i].y;
  }
  const double meanX = corners > 0 ? sumX / static_cast<double>(corners) : 0.0;
  const double meanY = corners > 0 ? sumY / static_cast<double>(corners) : 0.0;
  CrossCut c;
  c.m.x = meanX + (random.NextReal() - 0.5) * spread * 0.002 * (maxX - minX);
  c.m.y = meanY + (random.NextReal() - 0.5) * spread * 0.002 * (maxY - minY);
  const SlotArrays slots(ring);
  c.inside = corners >= 3 && slots.Contains(c.m.x, c.m.y);
  if (!c.inside) {
    const GeoPoint origin = c.m;
    const double spreadX = 0.9 * (maxX - minX), spreadY = 0.9 * (maxY - minY);
    for (int t = 0; t < 91; ++t) {
      c.m.x = origin.x + (random.NextReal() - 0.5) * spreadX;
      c.m.y = origin.y + (random.NextReal() - 0.5) * spreadY;
      if (corners >= 3 && slots.Contains(c.m.x, c.m.y)) {
        c.inside = true;
        break;
      }
    }
  }
  const double half = spread / 2.0;
  const int r1 = random.Next(spread), r2 = random.Next(spread), r3 = random.Next(spread), r4 = random.Next(spread);
  c.w = {c.m.x - kCutArmLength, c.m.y + r1 - half};
  c.n = {c.m.x + r2 - half, c.m.y + kCutArmLength};
  c.e = {c.m.x + kCutArmLength, c.m.y + r3 - half};
  c.s = {c.m.x + r4 - half, c.m.y - kCutArmLength};
  return c;
}

Ring CutPiece(const CrossCut& c, int i, int pieces, int level) {
  const GeoPoint nw{c.w.x, c.n.y}, sw{c.w.x, c.s.y}, ne{c.e.x, c.n.y}, se{c.e.x, c.s.y};
  Ring r;
  if (pieces == 2) {
    if (i == 1) r = {c.m, c.s, sw, {c.w.x, c.n.y}, c.n};
    else r = {c.m, c.n, ne, se, c.s};
  } else if (pieces == 3) {
    if (i == 1) r = {c.m, c.w, nw, c.n};
    else if (i == 2) r = {c.m, c.s, sw, c.w};
    else r = {c.m, c.n, ne, se, c.s};
  } else {
    const GeoPoint m2{c.m.x, c.m.y + 80.0 / level};
    if (i == 1) r = {c.m, c.w, nw, c.n};
    else if (i == 2) r = {c.m, c.s, sw, c.w};
    else if (i == 3) r = {m2, c.e, se, c.s};
    else r = {m2, c.n, ne, c.e};
  }
  r.push_back(r.front());
  return r;
}

void RemoveNearDuplicates(Ring& ring) {
  auto near = [](const GeoPoint& a, const GeoPoint& b) {
    return std::fabs(a.x - b.x) <= kSameCorner && std::fabs(a.y - b.y) <= kSameCorner;
  };
  std::size_t g = 0;
  while (ring.size() > 2 && g + 1 < ring.size()) {
    if (!near(ring[g], ring[g + 1])) {
      ++g;
      continue;
    }
    if (g + 2 == ring.size()) {
      // The next one closes the ring: the earlier corner goes, and the one before it is looked at again.
      ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(g));
      if (g > 0) --g;
    } else {
      ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(g + 1));
    }
  }
}

Ring ClipPiece(const Ring& ring, const Ring& piece) {
  std::vector<Ring> parts = IntersectPolygons(ring, piece);
  Ring best;
  double bestArea = 0.0;
  for (Ring& r : parts) {
    RemoveNearDuplicates(r);
    const double area = RingArea(r);
    if (r.size() >= 4 && area >= kSmallestPiece && area > bestArea) {
      bestArea = area;
      best = std::move(r);
    }
  }
  return best;
}

namespace {

// The cuts of one compartment, level by level: the pieces of a cut at level d are clipped when the
// compartment's stands lie deeper (L > d) and are stands at L = d + 1; each piece is cut again down to
// the third level whether its stands need it or not. The last clip result is handed on as it stands
// where a level makes no clip of its own.
class CrossCutter {
 public:
  CrossCutter(int kind, int spread, RandomDraws& random)
      : L_(KindTable(kind).level), P_(KindTable(kind).pieces), spread_(spread), random_(random) {}

  Subdivision Cut(const Ring& compartment) {
    const CrossCut cut = RandomCutLines(compartment, spread_, random_);
    if (cut.inside)
      Level(1, compartment, cut);
    else
      Add(compartment);
    // Only pieces too small to count were left: the compartment stays one stand.
    if (out_.stands.empty()) Add(compartment);
    return std::move(out_);
  }

 private:
  void Level(int d, const Ring& polygon, const CrossCut& cut) {
    for (int i = 1; i <= P_; ++i) {
      if (L_ > d) {
        clip_ = ClipPiece(polygon, CutPiece(cut, i, P_, L_));
        if (L_ == d + 1) Add(clip_);
      }
      if (d == 3) continue;
      const Ring piece = clip_;
      const CrossCut next = RandomCutLines(piece, spread_, random_);
      if (next.inside) {
        Level(d + 1, piece, next);
      } else if (L_ > d + 1) {
        // The piece is not cut: it stays one stand.
        Add(piece);
        if (d + 1 == 3) out_.outsideAtThirdLevel = true;
      }
    }
  }

  void Add(const Ring& r) {
    if (r.size() >= 4 && RingArea(r) >= kSmallestPiece) out_.stands.push_back(MakeStand(r, random_));
  }

  const int L_, P_, spread_;
  RandomDraws& random_;
  Ring clip_;
  Subdivision out_;
};

}  // namespace

Subdivision SubdivideRing(const Ring& compartment, int kind, int spread, RandomDraws& random) {
  return CrossCutter(kind, spread, random).Cut(compartment);
}

Subdivision SubdivideCompartment(EnterpriseSession& s, int a, RandomDraws& random) {
  Compartment& c = s.At(a);
  if (s.markedCompartment <= 0) c.kind = DefaultKind(a);
  s.markedCompartment = 0;
  const SubdivisionKind k = KindTable(c.kind);
  s.standLevel = k.level;
  s.piecesPerCut = k.pieces;
  Subdivision d = SubdivideRing(s.Outline(a), c.kind, s.cutSpread, random);
  c.stands = d.stands;
  c.area = 0.0;
  for (const EnterpriseStand& st : c.stands) c.area += st.area;
  return d;
}

Subdivision CycleCompartmentKind(EnterpriseSession& s, int a, RandomDraws& random) {
  Compartment& c = s.At(a);
  c.kind = NextKind(c.kind);
  s.markedCompartment = a;
  return SubdivideCompartment(s, a, random);
}

}  // namespace tolvek
