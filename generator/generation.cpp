#include "generator/generation.h"

#include <algorithm>
#include <cmath>

#include "common/rounding.h"

namespace tolvek::generator {

std::vector<std::pair<double, double>> GeneratedStand::Boundary() const {
  return {{0.0, 0.0}, {0.0, height}, {width, height}, {width, 0.0}, {0.0, 0.0}};
}

std::vector<TreeFileRecord> GeneratedStand::TreeFileRecords() const {
  std::vector<TreeFileRecord> out;
  for (const auto& t : trees) {
    if (!(t.dbh >= 0.0) || !Standing(t)) continue;
    out.push_back({static_cast<SpeciesCode>(t.species), static_cast<float>(t.dbh), static_cast<float>(t.x),
                   static_cast<float>(t.y)});
  }
  return out;
}

double NormalDeviate(RandomGenerator& random, double cv) {
  double sum = 0.0;
  for (int i = 0; i < 12; ++i) sum += random.NextReal();
  return (sum - 6.0) * cv / 100.0;
}

namespace {

constexpr double kQuarterPi = 0.78539816339744830963;
constexpr double kPi = 3.14159265358979323846;  // the group correction: full precision

// The five gap centres, by pass (m, stand level; a third of it on the enterprise level).
constexpr double kGapX[5] = {100, 180, 250, 250, 150};
constexpr double kGapY[5] = {100, 250, 200, 100, 50};

struct Gap {
  double cx = 0, cy = 0;
  double a2 = 0;  // squared half extent east–west; 0: no gap
  double q = 1.0;  // north–south over east–west
  int rest = 0;
};

struct Groups {
  int count = 0;
  double diameter = 0;
  double centre[2][2] = {};
};

// Jittered triangular lattice, or random points; the gap thinned on the way.
int PlaceTrees(std::vector<GeneratedTree>& trees, bool randomForest, double j, double b, double W, double H,
               const Gap& gap, RandomGenerator& random) {
  int removed = 0;
  const double d = b * 1.732;
  int column = 1;
  double y = 3.0 - 2.0 * d;
  double x = b / 2.0;
  for (auto& t : trees) {
    if (randomForest) {
      x = random.NextReal() * W;
      y = random.NextReal() * H;
    } else if (2.0 * d + y >= H) {
      y = column % 2 == 1 ? d + 3.0 : 3.0;
      ++column;
      x = x + b;
    } else {
      y = y + 2.0 * d;
    }
    // A gap of no extent tests no point and draws nothing.
    if (gap.a2 > 0.0) {
      const double dx = gap.cx - x;
      const double dy = (gap.cy - y) / gap.q;
      if (dx * dx + dy * dy <= gap.a2 && !(random.Next(100) < gap.rest)) {
        t.x = t.y = kGapPosition;
        ++removed;
        continue;
      }
    }
    if (randomForest) {
      t.x = x;
      t.y = y;
      continue;
    }
    double xp = x + b * (2.0 * random.NextReal() - 1.0) * j;
    double yp = y + j * b * (2.0 * random.NextReal() - 1.0);
    if (xp < 0.5) xp = random.Next(2) + 0.5;
    if (yp < 0.5) yp = random.Next(2) + 0.5;
    if (xp > W) xp = W - (random.Next(2) + 0.5);
    if (yp > H) yp = H - (random.Next(2) + 0.5);
    t.x = xp;
    t.y = yp;
  }
  return removed;
}

bool InStand(const GeneratedTree& t, double W, double H) { return t.x > 0.0 && t.x <= W && t.y > 0.0 && t.y <= H; }

}  // namespace

GenerationResult GenerateStand(const GenerationParameters& p, GenerationLevel level, int& passCounter,
                               RandomGenerator& random, CloseTreeRemoval removeClose) {
  GenerationResult result;
  const double W = StandSide(level), H = StandSide(level), A = W * H;
  const bool enterprise = level == GenerationLevel::kEnterprise;
  const auto& nine = p.nine;

  // 1.–3. Stems of each row for the whole area, and all rows together.
  double N[kRowCount + 1] = {};
  long long stemsPerHa = 0;
  for (int i = 1; i <= kRowCount; ++i) {
    const SpeciesRow& r = p.rows[i - 1];
    N[i] = static_cast<double>(RoundHalfEven(static_cast<double>(r.stems) * 0.0001 * A));
    if (r.inUse()) stemsPerHa += r.stems;
  }
  const double T = static_cast<double>(stemsPerHa) * 0.0001 * A;
  const bool randomForest = nine[kStemDistribution] == 9;
  const double j = static_cast<double>(nine[kStemDistribution]) / 10.0;

  // 4. The canopy gap.
  Gap gap;
  const int k = ((passCounter - 1) % 5 + 5) % 5 + 1;
  gap.cx = kGapX[k - 1];
  gap.cy = kGapY[k - 1];
  if (enterprise) {
    gap.cx = gap.cx / 3.0;
    gap.cy = gap.cy / 3.0;
  }
  double gE = nine[kGapEastWest];
  const double gN = nine[kGapNorthSouth];
  gap.a2 = (gE * 0.5) * (gE * 0.5);
  if (gE * gN > 0.0) {
    gap.q = gN / gE;
  } else {
    gE = 0.0;
    gap.a2 = 0.0;
    gap.q = 1.0;
  }
  gap.rest = nine[kRestStocking];

  // 5.–7. Area per tree, half spacing, node count. Nothing is drawn before these are known to be sound.
  const double m = (A - gE * kQuarterPi * gN * (1.0 - gap.rest / 100.0)) / T;
  if (!(T > 0.0) || !std::isfinite(m) || !(m > 0.0)) {
    result.outcome = Problem{"Stammzahl / ha insgesamt muss zwischen 1 und 9999 liegen", ""};
    return result;
  }
  const double b = std::sqrt(m / 3.46);
  const long long nodes = RoundHalfEven(A / m);
  if (nodes < 0 || nodes > 10000000) {
    result.outcome = Problem{"Stammzahl / ha insgesamt muss zwischen 1 und 9999 liegen", ""};
    return result;
  }
  passCounter = k;

  GeneratedStand stand;
  stand.level = level;
  stand.width = W;
  stand.height = H;
  stand.parameters = p;
  stand.pass = k;
  stand.trees.resize(static_cast<std::size_t>(nodes));
  for (std::size_t i = 0; i < stand.trees.size(); ++i) stand.trees[i].number = static_cast<int>(i + 1);

  // 8. Positions.
  result.gapRemovals = PlaceTrees(stand.trees, randomForest, j, b, W, H, gap, random);

  // 9. Layer index of each row: how many earlier rows have its species.
  const auto layerOf = RowLayers(p);

  // Group geometry of this pass, also when the second row is not in use.
  Groups groups;
  groups.count = nine[kGroups];
  groups.diameter = nine[kGroupDiameter];
  if (enterprise) {
    groups.centre[0][0] = 33; groups.centre[0][1] = 65;
    groups.centre[1][0] = 65; groups.centre[1][1] = 40;
  } else {
    groups.centre[0][0] = 100; groups.centre[0][1] = 200;
    groups.centre[1][0] = 200; groups.centre[1][1] = 100;
  }
  const double D = groups.diameter;
  const double inner2 = (D / 4.0) * (D / 4.0);
  const double outer2 = (D / 2.0) * (D / 2.0);

  // 10. Species and diameters row by row, the second row first.
  double prob = 0.0;
  for (int d : {2, 1, 3, 4, 5}) {
    const SpeciesRow& row = p.rows[d - 1];
    if (row.code <= 0 || N[d] <= 0.0) continue;
    int K = 0;
    for (const auto& t : stand.trees)
      if (t.species == 0 && InStand(t, W, H)) ++K;
    if (K == 0) continue;
    const int layer = layerOf[d - 1];
    const double s = N[d] * 100.0 / T;
    double s2 = s;
    double inner = 0.0, outer = 0.0;
    if (d == 2) {
      inner = nine[kInnerShare];
      outer = nine[kOuterShare];
      const double r1 = D * 0.25, r2 = D * 0.5;
      if (r2 > 1.0) {
        const double mean = (r1 * r1 * inner + (r2 * r2 - r1 * r1) * outer) / (r2 * r2);
        s2 = (A * s - r2 * r2 * kPi * mean) / (A - r2 * r2 * kPi);
      }
    }
    if (s > 0.0) prob = N[d] * 100.0 / K * s2 / s;
    if (d == 5) prob = 100.0;

    // AssignSpecies
    const int nGroups = std::min(groups.count, 2);
    for (auto& t : stand.trees) {
      if (t.species != 0) continue;
      bool hit = false;
      for (int g = 0; g < nGroups; ++g) {
        const double dx = t.x - groups.centre[g][0];
        const double dy = t.y - groups.centre[g][1];
        const double h = dx * dx + dy * dy;
        if (h < inner2) {
          if (random.Next(100) < inner) hit = true;
        } else if (h <= outer2) {
          if (random.Next(100) < outer) hit = true;
        }
      }
      if (random.Next(100) <= prob) hit = true;
      if (hit) {
        t.species = row.code;
        t.row = d;
        t.layer = layer;
      }
    }
    // SampleDiameters
    for (auto& t : stand.trees) {
      if (t.row != d) continue;
      if (p.plenterForest) {
        const double u = random.NextReal();
        bool found = false;
        for (int draw = 0; draw < 300; ++draw) {
          const double f = random.NextReal() * 50.0 + 10.0;
          if (10.0 / f > u) {
            t.dbh = f;
            found = true;
            break;
          }
        }
        if (!found) t.dbh = random.Next(15) + 10;
      } else {
        const double v = row.mean * (NormalDeviate(random, row.cv) + 1.0);
        t.dbh = v < 1.0 ? 1.0 : v;
      }
    }
  }

  // 11. Felling, then the close neighbours.
  for (auto& t : stand.trees)
    if (random.Next(100) < nine[kFelling]) {
      t.x = t.y = kRemovedPosition;
      ++result.felled;
    }
  result.closeRemovals = removeClose(stand.trees);
  result.stand = std::move(stand);
  return result;
}

namespace {

bool Close(const GeneratedTree& p, const GeneratedTree& q) {
  const double dx = p.x - q.x;
  const double dy = p.y - q.y;
  return dx * dx + dy * dy < 0.5;
}

}  // namespace

int RemoveCloseTreesPairwise(std::vector<GeneratedTree>& trees) {
  int removed = 0;
  for (std::size_t i = 0; i < trees.size(); ++i) {
    if (!(trees[i].x > 0.0)) continue;
    for (std::size_t k = i + 1; k < trees.size(); ++k)
      if (trees[k].x > 0.0 && Close(trees[i], trees[k])) {
        trees[k].x = trees[k].y = kRemovedPosition;
        ++removed;
      }
  }
  return removed;
}

// A tree is removed exactly when an earlier kept tree lies close to it (a removed tree removes nothing,
// since the pairwise loop passes over it). So the trees are taken in list order and each looks only at
// the kept trees in the 3 × 3 cells of 1 m around it (√0.5 m < 1 m).
int RemoveCloseTrees(std::vector<GeneratedTree>& trees) {
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  bool any = false;
  for (const auto& t : trees) {
    if (!(t.x > 0.0)) continue;
    if (!any) {
      minX = maxX = t.x;
      minY = maxY = t.y;
      any = true;
    }
    minX = std::min(minX, t.x);
    maxX = std::max(maxX, t.x);
    minY = std::min(minY, t.y);
    maxY = std::max(maxY, t.y);
  }
  if (!any) return 0;
  // Positions stay within the stand (a few hundred metres); anything wider falls back to the plain loop.
  const double spanX = std::floor(maxX - minX) + 1.0, spanY = std::floor(maxY - minY) + 1.0;
  if (!(spanX * spanY <= 4.0e7)) return RemoveCloseTreesPairwise(trees);
  const int cols = static_cast<int>(spanX), rows = static_cast<int>(spanY);
  std::vector<int> head(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows), -1);
  std::vector<int> next(trees.size(), -1);
  int removed = 0;
  for (std::size_t k = 0; k < trees.size(); ++k) {
    GeneratedTree& q = trees[k];
    if (!(q.x > 0.0)) continue;
    const int cx = static_cast<int>(std::floor(q.x - minX));
    const int cy = static_cast<int>(std::floor(q.y - minY));
    bool close = false;
    for (int yy = std::max(cy - 1, 0); yy <= std::min(cy + 1, rows - 1) && !close; ++yy)
      for (int xx = std::max(cx - 1, 0); xx <= std::min(cx + 1, cols - 1) && !close; ++xx)
        for (int i = head[static_cast<std::size_t>(yy) * cols + xx]; i >= 0; i = next[i])
          if (Close(trees[i], q)) {
            close = true;
            break;
          }
    if (close) {
      q.x = q.y = kRemovedPosition;
      ++removed;
      continue;
    }
    const std::size_t cell = static_cast<std::size_t>(cy) * cols + cx;
    next[k] = head[cell];
    head[cell] = static_cast<int>(k);
  }
  return removed;
}

int CountTrees(const GeneratedStand& s, int species) {
  int n = 0;
  for (const auto& t : s.trees)
    if (t.species == species && s.Standing(t)) ++n;
  return n;
}

int CountRowTrees(const GeneratedStand& s, int row) {
  int n = 0;
  for (const auto& t : s.trees)
    if (t.row == row && s.Standing(t)) ++n;
  return n;
}

double RowBasalAreaCm2(const GeneratedStand& s, int row) {
  double g = 0.0;
  for (const auto& t : s.trees)
    if ((row == 0 || t.row == row) && t.dbh >= 7.0 && s.Standing(t)) g += t.dbh * t.dbh * 0.785398163397448279;
  return g;
}

int CountStandingTrees(const GeneratedStand& s) {
  int n = 0;
  for (const auto& t : s.trees)
    if (t.dbh >= 0.0 && s.Standing(t)) ++n;
  return n;
}

}  // namespace tolvek::generator
