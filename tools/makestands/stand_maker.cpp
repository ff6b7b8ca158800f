// Boundaries and trees of the shipped stands, and the figures computed from them.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "common/rounding.h"
#include "tools/makestands/noise.h"
#include "tools/makestands/stands.h"

namespace tolvek::makestands {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kCalliper = 7.0;

double Round1(double v) { return static_cast<double>(RoundHalfEven(v * 10.0)) / 10.0; }

struct Box {
  double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
};

Box BoxOf(const std::vector<BoundaryPoint>& ring) {
  Box b;
  for (const auto& p : ring) {
    b.minX = std::min(b.minX, p.x);
    b.minY = std::min(b.minY, p.y);
    b.maxX = std::max(b.maxX, p.x);
    b.maxY = std::max(b.maxY, p.y);
  }
  return b;
}

double SegmentDistance(double px, double py, const BoundaryPoint& a, const BoundaryPoint& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0.0 ? ((px - a.x) * dx + (py - a.y) * dy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  const double qx = a.x + t * dx - px, qy = a.y + t * dy - py;
  return std::sqrt(qx * qx + qy * qy);
}

double EdgeDistance(const std::vector<BoundaryPoint>& ring, double x, double y) {
  double best = 1e18;
  for (std::size_t i = 0; i + 1 < ring.size(); ++i) best = std::min(best, SegmentDistance(x, y, ring[i], ring[i + 1]));
  return best;
}

// The outline roughened along its edges like a surveyed boundary, rounded to 0.1 m, shifted to a
// minimum of 0 and closed; clockwise unless the plan asks for the other order.
std::vector<BoundaryPoint> MakeBoundary(const StandPlan& plan) {
  std::vector<BoundaryPoint> corners = plan.outline;
  double segment = plan.roughSegment;
  std::vector<BoundaryPoint> ring;
  for (;;) {
    ring.clear();
    RandomGenerator local(plan.seed ^ 0x5A5A5A5Au);
    for (std::size_t i = 0; i < corners.size(); ++i) {
      const BoundaryPoint a = corners[i];
      const BoundaryPoint b = corners[(i + 1) % corners.size()];
      ring.push_back(a);
      if (segment <= 0.0) continue;
      const double dx = b.x - a.x, dy = b.y - a.y;
      const double len = std::sqrt(dx * dx + dy * dy);
      const int inserted = std::max(0, RoundInt(len / segment) - 1);
      const double nx = -dy / len, ny = dx / len;
      for (int k = 1; k <= inserted; ++k) {
        const double t = static_cast<double>(k) / (inserted + 1);
        const double off = plan.roughAmplitude * (2.0 * local.NextReal() - 1.0);
        ring.push_back({a.x + t * dx + off * nx, a.y + t * dy + off * ny});
      }
    }
    if (static_cast<int>(ring.size()) <= kMaxBoundaryPoints - 1 || segment <= 0.0) break;
    segment *= 1.15;
  }
  for (auto& p : ring) {
    p.x = Round1(p.x);
    p.y = Round1(p.y);
  }
  const Box box = BoxOf(ring);
  for (auto& p : ring) {
    p.x = Round1(p.x - box.minX);
    p.y = Round1(p.y - box.minY);
  }
  ring.push_back(ring.front());
  const bool clockwise = RingArea(ring) > 0.0;
  if (clockwise == plan.counterClockwise) std::reverse(ring.begin(), ring.end());
  return ring;
}

// Neighbour look-up for the inhibition between trees.
class SpatialHash {
 public:
  explicit SpatialHash(double cell) : cell_(cell) {}
  void Add(int index, double x, double y) { cells_[Key(Cell(x), Cell(y))].push_back(index); }
  template <typename F>
  void ForNear(double x, double y, double radius, F f) const {
    const int r = static_cast<int>(std::ceil(radius / cell_));
    const int cx = Cell(x), cy = Cell(y);
    for (int ix = cx - r; ix <= cx + r; ++ix)
      for (int iy = cy - r; iy <= cy + r; ++iy) {
        auto it = cells_.find(Key(ix, iy));
        if (it == cells_.end()) continue;
        for (int i : it->second) f(i);
      }
  }

 private:
  int Cell(double v) const { return static_cast<int>(std::floor(v / cell_)); }
  static std::int64_t Key(int ix, int iy) { return (static_cast<std::int64_t>(ix) << 32) ^ static_cast<std::uint32_t>(iy); }
  double cell_;
  std::unordered_map<std::int64_t, std::vector<int>> cells_;
};

struct Circle {
  double x, y, r;
};

struct ComponentState {
  std::vector<BoundaryPoint> centres;  // cluster parents or group centres
  std::vector<BoundaryPoint> nodes;    // lattice nodes, shuffled
  std::size_t nextNode = 0;
};

}  // namespace

double Uniform(RandomGenerator& random) {
  double u;
  do u = random.NextReal();
  while (u <= 0.0);
  return u;
}

double StandardNormal(RandomGenerator& random) {
  const double u1 = Uniform(random);
  const double u2 = random.NextReal();
  return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * kPi * u2);
}

double DrawDbh(RandomGenerator& random, const Component& c) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    double d = 0.0;
    switch (c.dbh) {
      case DbhModel::Weibull: {
        const double g1 = std::tgamma(1.0 + 1.0 / c.d3);
        const double g2 = std::tgamma(1.0 + 2.0 / c.d3);
        const double scale = c.d2 / std::sqrt(g2 - g1 * g1);
        const double location = c.d1 - scale * g1;
        d = location + scale * std::pow(-std::log(Uniform(random)), 1.0 / c.d3);
        break;
      }
      case DbhModel::Normal:
        d = c.d1 + c.d2 * StandardNormal(random);
        break;
      case DbhModel::ReverseJ: {
        // Negative exponential between the calliper threshold and the largest dbh: the stem number
        // falls by the factor q from one 5-cm class to the next.
        const double k = std::log(c.d1) / 5.0;
        const double span = 1.0 - std::exp(-k * (c.d2 - kCalliper));
        d = kCalliper - std::log(1.0 - Uniform(random) * span) / k;
        break;
      }
    }
    if (d >= kCalliper) return d;
  }
  return kCalliper + 0.5;
}

double RingArea(const std::vector<BoundaryPoint>& ring) {
  double sum = 0.0;
  for (std::size_t i = 0; i + 1 < ring.size(); ++i) sum += (ring[i + 1].x - ring[i].x) * (ring[i + 1].y + ring[i].y);
  return sum / 2.0;
}

bool InsideRing(const std::vector<BoundaryPoint>& ring, double x, double y) {
  bool inside = false;
  for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
    const BoundaryPoint& a = ring[i];
    const BoundaryPoint& b = ring[i + 1];
    if ((a.y > y) != (b.y > y)) {
      const double cx = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
      if (x < cx) inside = !inside;
    }
  }
  return inside;
}

MadeStand MakeStand(const StandPlan& plan) {
  MadeStand stand;
  stand.plan = plan;
  RandomGenerator random(plan.seed);
  stand.boundary = MakeBoundary(plan);
  stand.plan.hints = HintCodes(plan, stand.boundary);
  const double area = std::fabs(RingArea(stand.boundary));
  stand.areaHa = area * 1e-4;
  const Box box = BoxOf(stand.boundary);
  stand.width = box.maxX;
  stand.height = box.maxY;

  const int total = plan.exactTrees > 0 ? plan.exactTrees : RoundInt(plan.stemsPerHa * stand.areaHa);

  // Stem numbers of the components by largest remainder.
  const std::size_t nc = plan.components.size();
  std::vector<int> counts(nc, 0);
  {
    double shareSum = 0.0;
    for (const auto& c : plan.components) shareSum += c.share;
    std::vector<std::pair<double, std::size_t>> rest;
    int given = 0;
    for (std::size_t i = 0; i < nc; ++i) {
      const double exact = total * plan.components[i].share / shareSum;
      counts[i] = static_cast<int>(std::floor(exact));
      given += counts[i];
      rest.push_back({exact - counts[i], i});
    }
    std::stable_sort(rest.begin(), rest.end(), [](auto a, auto b) { return a.first > b.first; });
    for (std::size_t k = 0; given < total; ++k, ++given) counts[rest[k % nc].second] += 1;
  }

  auto randomInside = [&](double& x, double& y) {
    for (;;) {
      x = box.minX + random.NextReal() * (box.maxX - box.minX);
      y = box.minY + random.NextReal() * (box.maxY - box.minY);
      if (InsideRing(stand.boundary, x, y)) return;
    }
  };

  // Canopy gaps.
  std::vector<Circle> gaps;
  for (int g = 0; g < plan.gaps; ++g) {
    Circle c{};
    randomInside(c.x, c.y);
    c.r = plan.gapRadiusMin + random.NextReal() * (plan.gapRadiusMax - plan.gapRadiusMin);
    gaps.push_back(c);
  }

  // Pattern state of each component; the circles of group mixtures, which the other species leave.
  std::vector<ComponentState> states(nc);
  std::vector<Circle> groups;
  for (std::size_t i = 0; i < nc; ++i) {
    const Component& c = plan.components[i];
    ComponentState& s = states[i];
    if (c.pattern == Pattern::Groups) {
      // Groups take as much of the area as the species has of the stem number, so the density inside
      // a group is that of the stand; their centres keep apart so the groups hardly overlap.
      double shareSum = 0.0;
      for (const auto& other : plan.components) shareSum += other.share;
      const int n = std::max(1, RoundInt(c.share / shareSum * area / (kPi * c.s2 * c.s2)));
      for (int k = 0; k < n; ++k) {
        BoundaryPoint p;
        for (int attempt = 0; attempt < 200; ++attempt) {
          randomInside(p.x, p.y);
          bool apart = true;
          for (const Circle& g : groups)
            if (std::hypot(p.x - g.x, p.y - g.y) < 0.8 * (c.s2 + g.r)) apart = false;
          if (apart) break;
        }
        s.centres.push_back(p);
        groups.push_back({p.x, p.y, c.s2});
      }
      continue;
    }
    const bool clustered = c.pattern == Pattern::Cluster || c.clusterBelow > 0.0;
    if (clustered) {
      const int n = std::max(1, RoundInt(c.s1 * stand.areaHa));
      for (int k = 0; k < n; ++k) {
        BoundaryPoint p;
        randomInside(p.x, p.y);
        s.centres.push_back(p);
      }
    }
    if (c.pattern == Pattern::Lattice) {
      const double a = c.s3 * kPi / 180.0;
      const double ca = std::cos(a), sa = std::sin(a);
      const double reach = std::hypot(box.maxX, box.maxY);
      for (double u = -reach; u <= reach; u += c.s1)
        for (double v = -reach; v <= reach; v += c.s2) {
          const double x = box.maxX / 2 + u * ca - v * sa;
          const double y = box.maxY / 2 + u * sa + v * ca;
          if (InsideRing(stand.boundary, x, y)) s.nodes.push_back({x, y});
        }
      for (std::size_t k = s.nodes.size(); k > 1; --k) std::swap(s.nodes[k - 1], s.nodes[random.Next(static_cast<int>(k))]);
    }
  }

  // Diameters first, then the positions from the thickest tree down: the big trees claim their
  // space, the thinner ones fill what is left.
  struct Pending {
    std::size_t component;
    double dbh;
  };
  std::vector<Pending> pending;
  for (std::size_t i = 0; i < nc; ++i)
    for (int k = 0; k < counts[i]; ++k) pending.push_back({i, Round1(DrawDbh(random, plan.components[i]))});
  std::stable_sort(pending.begin(), pending.end(), [](const Pending& a, const Pending& b) { return a.dbh > b.dbh; });

  double maxReach = 0.0;
  for (const auto& p : pending) maxReach = std::max(maxReach, plan.hardCore * 2.0 * p.dbh / 100.0);
  SpatialHash hash(5.0);
  std::vector<double> weightOf;  // inhibition weight of each placed tree

  auto propose = [&](std::size_t ci, double dbh, double& x, double& y) {
    const Component& c = plan.components[ci];
    ComponentState& s = states[ci];
    Pattern pattern = c.pattern;
    if (c.clusterBelow > 0.0) pattern = dbh < c.clusterBelow ? Pattern::Cluster : Pattern::Poisson;
    switch (pattern) {
      case Pattern::Poisson:
        x = box.minX + random.NextReal() * (box.maxX - box.minX);
        y = box.minY + random.NextReal() * (box.maxY - box.minY);
        break;
      case Pattern::Cluster: {
        const BoundaryPoint& p = s.centres[random.Next(static_cast<int>(s.centres.size()))];
        x = p.x + c.s2 * StandardNormal(random);
        y = p.y + c.s2 * StandardNormal(random);
        break;
      }
      case Pattern::Groups: {
        const BoundaryPoint& p = s.centres[random.Next(static_cast<int>(s.centres.size()))];
        const double r = c.s2 * std::sqrt(random.NextReal());
        const double a = 2.0 * kPi * random.NextReal();
        x = p.x + r * std::cos(a);
        y = p.y + r * std::sin(a);
        break;
      }
      case Pattern::Lattice:
        if (s.nextNode < s.nodes.size()) {
          const BoundaryPoint& p = s.nodes[s.nextNode++];
          x = p.x + 0.25 * StandardNormal(random);
          y = p.y + 0.25 * StandardNormal(random);
        } else {
          x = box.minX + random.NextReal() * (box.maxX - box.minX);
          y = box.minY + random.NextReal() * (box.maxY - box.minY);
        }
        break;
    }
    x = Round1(x);
    y = Round1(y);
  };

  auto usable = [&](std::size_t ci, double x, double y) {
    if (x <= plan.offsetX + 0.05 || y <= plan.offsetY + 0.05) return false;
    if (plan.components[ci].pattern != Pattern::Groups)
      for (const auto& g : groups)
        if (std::hypot(x - g.x, y - g.y) < g.r) return false;
    if (!InsideRing(stand.boundary, x, y)) return false;
    if (plan.heterogeneity > 0.0) {
      const double field = 1.0 + plan.heterogeneity * (2.0 * SmoothNoise(x / 40.0, y / 40.0, plan.seed + 77) - 1.0);
      if (random.NextReal() * (1.0 + plan.heterogeneity) > field) return false;
    }
    if (EdgeDistance(stand.boundary, x, y) < 0.05) return false;
    for (const auto& g : gaps)
      if (std::hypot(x - g.x, y - g.y) < g.r) return false;
    return true;
  };

  for (const Pending& p : pending) {
    const double w = plan.components[p.component].inhibition;
    double bestX = 0.0, bestY = 0.0, bestScore = -1.0;
    int valid = 0;
    // A planted tree stands where it was planted: the first free lattice node is taken as it is.
    if (plan.components[p.component].pattern == Pattern::Lattice) {
      for (int attempt = 0; attempt < 4000 && bestScore < 0.0; ++attempt) {
        double x, y;
        propose(p.component, p.dbh, x, y);
        if (usable(p.component, x, y)) bestX = x, bestY = y, bestScore = 1.0;
      }
    }
    for (int attempt = 0; attempt < 4000 && (bestScore < 1.0) && (valid < 40 || bestScore < 0.0); ++attempt) {
      double x, y;
      propose(p.component, p.dbh, x, y);
      if (!usable(p.component, x, y)) continue;
      ++valid;
      double score = 1e9;
      hash.ForNear(x, y, maxReach, [&](int j) {
        const Tree& t = stand.trees[j];
        const double need = plan.hardCore * (w * p.dbh + weightOf[j] * t.dbh) / 100.0;
        if (need <= 0.0) return;
        score = std::min(score, std::hypot(x - t.x, y - t.y) / need);
      });
      if (score > bestScore) {
        bestScore = score;
        bestX = x;
        bestY = y;
      }
    }
    if (bestScore < 0.0) continue;  // no room at all (never happens with the shipped plans)
    Tree t;
    t.species = plan.components[p.component].species;
    t.dbh = p.dbh;
    t.x = bestX;
    t.y = bestY;
    hash.Add(static_cast<int>(stand.trees.size()), bestX, bestY);
    stand.trees.push_back(t);
    weightOf.push_back(w);
  }

  // File order: along the survey strips (10-m strips in x, then y), as a stem map is measured.
  std::stable_sort(stand.trees.begin(), stand.trees.end(), [](const Tree& a, const Tree& b) {
    const int sa = static_cast<int>(a.x / 10.0), sb = static_cast<int>(b.x / 10.0);
    if (sa != sb) return sa < sb;
    return (sa % 2 == 0) ? a.y < b.y : a.y > b.y;
  });
  return stand;
}

StandFigures ComputeFigures(const MadeStand& stand) {
  StandFigures f;
  f.areaHa = stand.areaHa;
  const auto& trees = stand.trees;
  double g = 0.0, dsum = 0.0;
  double gs[10] = {};
  f.minDbh = 1e9;
  for (const Tree& t : trees) {
    const double gi = t.dbh * t.dbh * 7.853981635e-5;
    g += gi;
    dsum += t.dbh;
    gs[t.species] += gi;
    f.speciesShare[t.species] += 1.0;
    f.minDbh = std::min(f.minDbh, t.dbh);
    f.maxDbh = std::max(f.maxDbh, t.dbh);
  }
  const double n = static_cast<double>(trees.size());
  for (int s = 0; s < 10; ++s) {
    f.speciesShare[s] = n > 0 ? f.speciesShare[s] / n : 0.0;
    f.speciesBasalShare[s] = g > 0 ? gs[s] / g : 0.0;
  }
  f.stemsPerHa = n / f.areaHa;
  f.basalAreaPerHa = g / f.areaHa;
  f.quadraticMeanDbh = n > 0 ? std::sqrt(g / n / 7.853981635e-5) : 0.0;
  f.meanDbh = n > 0 ? dsum / n : 0.0;

  // Test points on a lattice inside the stand, far enough from the edge for a 500 m² circle.
  SpatialHash hash(5.0);
  for (std::size_t i = 0; i < trees.size(); ++i) hash.Add(static_cast<int>(i), trees[i].x, trees[i].y);
  double maxDbh = f.maxDbh;
  const double reach = std::max(12.62, maxDbh / (2.0 * std::sqrt(2.0)));
  std::vector<BoundaryPoint> points;
  for (double step : {5.0, 2.5}) {
    points.clear();
    for (double x = step / 2; x < stand.width; x += step)
      for (double y = step / 2; y < stand.height; y += step)
        if (InsideRing(stand.boundary, x, y) && EdgeDistance(stand.boundary, x, y) >= 12.62) points.push_back({x, y});
    if (points.size() >= 60) break;
  }
  // Per method: sum and square sum of the basal area per ha, and the trees per plot.
  double sum[5] = {}, sq[5] = {}, cnt[5] = {};
  const double r500 = std::sqrt(500.0 / kPi), r100 = std::sqrt(100.0 / kPi);
  for (const auto& p : points) {
    double est[5] = {};
    double num[5] = {};
    hash.ForNear(p.x, p.y, reach, [&](int j) {
      const Tree& t = trees[j];
      const double d = std::hypot(t.x - p.x, t.y - p.y);
      const double gi = t.dbh * t.dbh * 7.853981635e-5;
      if (d <= r500) est[0] += gi * 10000.0 / 500.0, num[0] += 1;
      if (d <= r100) est[1] += gi * 10000.0 / 100.0, num[1] += 1;
      if (d <= t.dbh / (2.0 * std::sqrt(4.0))) est[2] += 4.0, num[2] += 1;
      if (d <= t.dbh / (2.0 * std::sqrt(2.0))) est[3] += 2.0, num[3] += 1;
      double r = 0.0;
      if (t.dbh >= 30.0) r = 12.0;
      else if (t.dbh >= 15.0) r = 6.0;
      else if (t.dbh >= 10.0) r = 3.0;
      if (r > 0.0 && d <= r) est[4] += gi * 10000.0 / (kPi * r * r), num[4] += 1;
    });
    for (int m = 0; m < 5; ++m) {
      sum[m] += est[m];
      sq[m] += est[m] * est[m];
      cnt[m] += num[m];
    }
  }
  const double np = static_cast<double>(points.size());
  f.vcLine[0] = f.areaHa;
  f.vcLine[1] = f.stemsPerHa;
  f.vcLine[2] = f.basalAreaPerHa;
  f.vcLine[3] = f.quadraticMeanDbh;
  for (int m = 0; m < 5; ++m) {
    double cv = 0.0;
    if (np > 1) {
      const double mean = sum[m] / np;
      const double var = std::max(0.0, (sq[m] - np * mean * mean) / (np - 1));
      cv = mean > 0 ? std::sqrt(var) / mean * 100.0 : 0.0;
    }
    f.vcLine[4 + 2 * m] = cv;
    f.vcLine[5 + 2 * m] = np > 0 ? cnt[m] / np : 0.0;
  }
  f.vcLine[14] = np;
  return f;
}

std::vector<TreeFileRecord> TreeRecords(const MadeStand& stand) {
  std::vector<TreeFileRecord> records;
  records.reserve(stand.trees.size());
  for (const Tree& t : stand.trees) {
    TreeFileRecord r;
    r.species = t.species;
    r.dbh = static_cast<float>(t.dbh);
    r.x = static_cast<float>(Round1(t.x - stand.plan.offsetX));
    r.y = static_cast<float>(Round1(t.y - stand.plan.offsetY));
    records.push_back(r);
  }
  return records;
}

}  // namespace tolvek::makestands
