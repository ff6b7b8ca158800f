#include "simulator/sampling/grid.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "common/format.h"
#include "common/paths.h"
#include "common/rounding.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/prepared_inside.h"
#include "simulator/stand/boundary.h"
#include "simulator/translate.h"
#include "simulator/views/stand_map.h"

namespace tolvek {

namespace {

constexpr double kMinRotation = 1e-4;

// The x and y values of the lattice before rotation: first value, step and count per axis.
struct LatticeRange {
  int x0 = 0, nx = 0;
  int y0 = 0, ny = 0;
};

// The fixed lattice of the mode, widened where the stand reaches past it. Only whole columns or rows
// that can hold a point of the stand are added, so a stand that lies within the lattice keeps exactly
// its points.
LatticeRange LatticeFor(const SampleGrid& g, const BoundaryPolygon* boundary, bool enterprise) {
  const int ex = enterprise ? 5800 : 720;
  const int ey = enterprise ? 5800 : 620;
  LatticeRange r;
  r.x0 = 1 - 2 * g.dx;
  int xLast = r.x0;
  while (xLast + g.dx <= ex + g.dx) xLast += g.dx;
  r.y0 = -2 * g.dy;
  int yLast = r.y0;
  while (yLast + g.dy <= ey + g.dy) yLast += g.dy;

  if (!enterprise && boundary != nullptr && boundary->n >= 2) {
    // The stand in lattice coordinates: relative to the origin, turned back by the rotation.
    const double angle = std::fabs(g.rotation) >= kMinRotation ? g.rotation : 0.0;
    const double c = std::cos(angle), s = std::sin(angle);
    double uMin = 1e300, uMax = -1e300, vMin = 1e300, vMax = -1e300;
    for (int i = 1; i <= boundary->n; ++i) {
      const double px = boundary->x[static_cast<std::size_t>(i)] - g.originX;
      const double py = boundary->y[static_cast<std::size_t>(i)] - g.originY;
      const double u = px * c + py * s;
      const double v = -px * s + py * c;
      uMin = std::min(uMin, u);
      uMax = std::max(uMax, u);
      vMin = std::min(vMin, v);
      vMax = std::max(vMax, v);
    }
    // Whole steps past the lattice that still reach the stand, with one metre of slack for the rounding
    // of the stored positions. A stand too far out for any grid shows as too many points.
    const auto steps = [](double distance, int step) {
      if (!(distance >= 0.0)) return std::isnan(distance) ? -1.0 : 0.0;
      return std::floor(distance / step);
    };
    const double left = steps(r.x0 - (uMin - 1.0), g.dx), right = steps((uMax + 1.0) - xLast, g.dx);
    const double below = steps(r.y0 - (vMin - 1.0), g.dy), above = steps((vMax + 1.0) - yLast, g.dy);
    for (double k : {left, right, below, above}) {
      if (k < 0.0 || k > kMaxGridPoints) {
        r.nx = r.ny = kMaxGridPoints + 1;
        return r;
      }
    }
    r.x0 -= static_cast<int>(left) * g.dx;
    xLast += static_cast<int>(right) * g.dx;
    r.y0 -= static_cast<int>(below) * g.dy;
    yLast += static_cast<int>(above) * g.dy;
  }
  r.nx = (xLast - r.x0) / g.dx + 1;
  r.ny = (yLast - r.y0) / g.dy + 1;
  return r;
}

void PutI32(std::string& out, std::size_t at, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int k = 0; k < 4; ++k) out[at + k] = static_cast<char>((u >> (8 * k)) & 0xFF);
}
void PutF64(std::string& out, std::size_t at, double v) {
  std::uint64_t u = 0;
  std::memcpy(&u, &v, sizeof u);
  for (int k = 0; k < 8; ++k) out[at + k] = static_cast<char>((u >> (8 * k)) & 0xFF);
}
std::int32_t GetI32(const std::string& in, std::size_t at) {
  std::uint32_t u = 0;
  for (int k = 0; k < 4; ++k) u |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + k])) << (8 * k);
  return static_cast<std::int32_t>(u);
}
double GetF64(const std::string& in, std::size_t at) {
  std::uint64_t u = 0;
  for (int k = 0; k < 8; ++k) u |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[at + k])) << (8 * k);
  double v = 0.0;
  std::memcpy(&v, &u, sizeof v);
  return v;
}

constexpr std::size_t kTrailer = kMaxGridPoints * kGridPointRecordSize;
constexpr const char* kBadGridFile = "Gitternetz-Datei fehlerhaft, Gitter bleibt unverändert";

}  // namespace

bool ApplySpacingStep(SampleGrid& grid, int step, const GridContext& ctx) {
  if (step == 0) return true;
  if (ctx.repetitionFlag && ctx.evaluationStarted) return false;
  if (!(step > 0 || (step < 0 && grid.dx > 25))) return false;
  if (!ctx.enterpriseMode) {
    grid.dx += step;
    grid.dy += step;
    return true;
  }
  switch (step) {
    case 5: grid.dx += 25; return true;
    case -5:
      if (grid.dx > 100) { grid.dx -= 25; return true; }
      return false;
    case 1: grid.dy += 25; return true;
    case -1:
      if (grid.dy > 100) { grid.dy -= 25; return true; }
      return false;
    default: return false;
  }
}

Outcome GenerateGrid(SampleGrid& grid, const BoundaryPolygon* boundary, int step, const GridContext& ctx) {
  const int oldDx = grid.dx, oldDy = grid.dy;
  ApplySpacingStep(grid, step, ctx);
  if (grid.dx <= 0 || grid.dy <= 0) {  // only a damaged setting gets here; never divide by it
    grid.dx = oldDx > 0 ? oldDx : 50;
    grid.dy = oldDy > 0 ? oldDy : 50;
  }
  const LatticeRange lattice = LatticeFor(grid, boundary, ctx.enterpriseMode);
  if (static_cast<long long>(lattice.nx) * lattice.ny > kMaxGridPoints) {
    grid.dx = oldDx;
    grid.dy = oldDy;
    return Problem{"nur 4200 Stichproben zulässig", ""};
  }
  grid.extentX = ctx.enterpriseMode ? 5800 : 720;
  grid.extentY = ctx.enterpriseMode ? 5800 : 620;
  // Only points 1..pointCount are ever read: those after them are left as they are.
  if (grid.points.size() != static_cast<std::size_t>(kMaxGridPoints)) grid.points.resize(kMaxGridPoints);
  // A grid turned by less than 1e-4 rad is laid unturned.
  const bool rotate = std::fabs(grid.rotation) >= kMinRotation;
  GridMemo::Turned& turned = grid.memo.turned;
  if (rotate && !(turned.made && turned.x0 == lattice.x0 && turned.nx == lattice.nx && turned.y0 == lattice.y0 &&
                  turned.ny == lattice.ny && turned.dx == grid.dx && turned.dy == grid.dy &&
                  std::bit_cast<std::uint64_t>(turned.rotation) == std::bit_cast<std::uint64_t>(grid.rotation))) {
    turned = {true, lattice.x0, lattice.nx, lattice.y0, lattice.ny, grid.dx, grid.dy, grid.rotation, {}};
    turned.xy.reserve(2 * static_cast<std::size_t>(lattice.nx) * static_cast<std::size_t>(lattice.ny));
    for (int cx = 0; cx < lattice.nx; ++cx) {
      for (int cy = 0; cy < lattice.ny; ++cy) {
        double x = lattice.x0 + cx * grid.dx;
        double y = lattice.y0 + cy * grid.dy;
        RotatePoint(x, y, grid.rotation);
        turned.xy.push_back(RoundInt(x));
        turned.xy.push_back(RoundInt(y));
      }
    }
  }
  int i = 0;
  for (int cx = 0; cx < lattice.nx; ++cx) {
    for (int cy = 0; cy < lattice.ny; ++cy) {
      GridPoint& p = grid.points[static_cast<std::size_t>(i)];
      p = GridPoint{};
      if (rotate) {
        p.x = turned.xy[2 * static_cast<std::size_t>(i)];
        p.y = turned.xy[2 * static_cast<std::size_t>(i) + 1];
      } else {
        p.x = RoundInt(lattice.x0 + cx * grid.dx);
        p.y = RoundInt(lattice.y0 + cy * grid.dy);
      }
      ++i;
    }
  }
  grid.pointCount = i;
  grid.insideCount = 0;
  grid.exists = true;
  return {};
}

void MarkInsidePoints(SampleGrid& grid, const BoundaryPolygon* boundary, EnterpriseGridAreas* areas,
                      bool enterpriseMode, bool assign) {
  grid.insideCount = grid.pointCount;
  const bool standBoundary = !enterpriseMode && boundary != nullptr && boundary->n >= 4;
  PreparedInsideMemo& standTest = grid.memo.inside;
  standTest.For(standBoundary ? PolygonRef(*boundary) : PolygonRef());
  if (enterpriseMode && areas != nullptr) areas->BeginMarking();
  for (int i = 1; i <= grid.pointCount; ++i) {
    GridPoint& p = grid.Point(i);
    const int ix = p.x + grid.originX, iy = p.y + grid.originY;
    const double gx = ix;
    const double gy = iy;
    p.standNumber = 0;
    bool inside = false;
    if (!enterpriseMode) {
      inside = standBoundary && standTest.InsideAt(ix, iy);
    } else if (areas != nullptr) {
      inside = areas->InsideCompartment(gx, gy);
      if (inside && assign) areas->AssignModelStand(gx, gy, p);
    }
    p.inside = inside ? 1 : 0;
    if (!inside) --grid.insideCount;
  }
}

Outcome NewGrid(SampleGrid& grid, const BoundaryPolygon* boundary, EnterpriseGridAreas* areas, const GridContext& ctx) {
  grid.pointCount = 0;
  grid.insideCount = 0;
  grid.loadedFromFile = false;
  Outcome made = GenerateGrid(grid, boundary, 0, ctx);
  MarkInsidePoints(grid, boundary, areas, ctx.enterpriseMode, grid.assign);
  return made;
}

bool ShiftGrid(SampleGrid& grid, const BoundaryPolygon* boundary, EnterpriseGridAreas* areas, int stepX,
               int stepY, const GridContext& ctx) {
  if (ctx.enterpriseMode) {
    stepX *= 4;
    stepY *= 4;
  }
  bool accepted = true;
  const int oldX = grid.originX, oldY = grid.originY;
  if (stepX < 0 && grid.originX + grid.dx + stepX < 5) accepted = false;
  else grid.originX += stepX;
  if (stepY < 0 && grid.originY + grid.dy + stepY < 5) accepted = false;
  else grid.originY += stepY;
  // The lattice may have to widen for the new origin; where it cannot, the grid stays where it was.
  if (!GenerateGrid(grid, boundary, 0, ctx).ok()) {
    grid.originX = oldX;
    grid.originY = oldY;
    (void)GenerateGrid(grid, boundary, 0, ctx);  // the old origin fitted before
    accepted = false;
  }
  MarkInsidePoints(grid, boundary, areas, ctx.enterpriseMode, false);
  return accepted;
}

void RandomGridOrigin(SampleGrid& grid, RandomGenerator& random) {
  const int ex = random.Next(grid.dx);
  const int ey = random.Next(grid.dy);
  const double r = std::sqrt(static_cast<double>(ex) * ex + static_cast<double>(ey) * ey);
  const double a = std::fabs(static_cast<double>(ex)) <= 0.1 ? 1.5708 : std::atan(static_cast<double>(ey) / ex);
  grid.originX = grid.baseOriginX + RoundInt(r * std::cos(a + grid.rotation));
  grid.originY = grid.baseOriginY + RoundInt(r * std::sin(a + grid.rotation));
}

void PresetGridCommand(SampleGrid& grid, bool enterpriseMode) {
  grid.dx = enterpriseMode ? 200 : 50;
  grid.dy = enterpriseMode ? 100 : 50;
  grid.originX = 0;
  grid.originY = 0;
}

void ForgetGridUnlessLoaded(SampleGrid& grid) {
  if (!grid.loadedFromFile) grid.exists = false;
}

std::string ResultSpacingLabel(const LanguageTable& lang, const SampleGrid& grid) {
  return Translate(lang, "Gitterabstand:") + std::to_string(grid.dx) + " m";
}

std::string ResultOriginLabel(const LanguageTable& lang, const SampleGrid& grid) {
  return Translate(lang, "Erster Punkt:") + std::to_string(grid.originX) + "/" + std::to_string(grid.originY) + " m";
}

std::string PointCountLabel(const LanguageTable& lang, int insideCount, int blanks) {
  return Translate(lang, "Stichproben:") + std::string(static_cast<std::size_t>(std::max(blanks, 0)), ' ') +
         FormatInt(insideCount, 9);
}

std::string SpacingLabel(const LanguageTable& lang, const SampleGrid& grid, int widthX, int widthY) {
  return PadRight(Translate(lang, "Gitterabstand:"), 15) + FormatFixed(widthX, 0, grid.dx) + "/" +
         FormatFixed(widthY, 0, grid.dy) + " m";
}

// ---- grid file ----

std::string GridFilePath(const std::string& programFolder, int enterpriseNumber) {
  return ResolveIn(programFolder, "Temp/Betrieb" + FormatInt(enterpriseNumber, 1) + "Netz.txt");
}

std::string EncodeGridFile(const SampleGrid& grid) {
  std::string out(kGridFileSize, '\0');
  const int count = std::clamp(grid.pointCount, 0, std::min(kMaxGridPoints, static_cast<int>(grid.points.size())));
  for (int i = 0; i < count; ++i) {
    const GridPoint& p = grid.points[static_cast<std::size_t>(i)];
    const std::size_t at = static_cast<std::size_t>(i) * kGridPointRecordSize;
    PutI32(out, at, p.x);
    PutI32(out, at + 4, p.y);
    out[at + 8] = static_cast<char>(p.inside);
    PutI32(out, at + 12, p.standNumber);
    out[at + 16] = static_cast<char>(p.standType);
    out[at + 17] = static_cast<char>(p.ageClass);
    PutF64(out, at + 24, p.centreX);
    PutF64(out, at + 32, p.centreY);
  }
  PutI32(out, kTrailer, grid.dx);
  PutI32(out, kTrailer + 4, grid.dy);
  PutI32(out, kTrailer + 8, grid.originX);
  PutI32(out, kTrailer + 12, grid.originY);
  PutI32(out, kTrailer + 16, count);
  PutI32(out, kTrailer + 20, grid.insideCount);
  return out;
}

Outcome DecodeGridFile(const std::string& bytes, SampleGrid& grid) {
  if (bytes.size() != kGridFileSize) return Problem{kBadGridFile, ""};
  const std::int32_t dx = GetI32(bytes, kTrailer), dy = GetI32(bytes, kTrailer + 4);
  const std::int32_t ox = GetI32(bytes, kTrailer + 8), oy = GetI32(bytes, kTrailer + 12);
  const std::int32_t count = GetI32(bytes, kTrailer + 16), inside = GetI32(bytes, kTrailer + 20);
  constexpr std::int32_t kFar = 1000000;
  bool ok = dx >= 1 && dx <= 100000 && dy >= 1 && dy <= 100000 && ox > -kFar && ox < kFar && oy > -kFar &&
            oy < kFar && count >= 0 && count <= kMaxGridPoints && inside >= 0 && inside <= count;
  std::vector<GridPoint> points(kMaxGridPoints);
  for (int i = 0; ok && i < kMaxGridPoints; ++i) {
    const std::size_t at = static_cast<std::size_t>(i) * kGridPointRecordSize;
    if (i >= count) {
      // The array is cleared before every generation: a record past the count holds nothing.
      for (std::size_t k = 0; k < kGridPointRecordSize; ++k)
        if (bytes[at + k] != '\0') ok = false;
      continue;
    }
    GridPoint& p = points[static_cast<std::size_t>(i)];
    p.x = GetI32(bytes, at);
    p.y = GetI32(bytes, at + 4);
    p.inside = static_cast<std::uint8_t>(bytes[at + 8]);
    p.standNumber = GetI32(bytes, at + 12);
    p.standType = static_cast<std::uint8_t>(bytes[at + 16]);
    p.ageClass = static_cast<std::uint8_t>(bytes[at + 17]);
    p.centreX = GetF64(bytes, at + 24);
    p.centreY = GetF64(bytes, at + 32);
    if (p.inside > 1 || p.x <= -kFar || p.x >= kFar || p.y <= -kFar || p.y >= kFar || p.standNumber < 0 ||
        !std::isfinite(p.centreX) || !std::isfinite(p.centreY))
      ok = false;
  }
  if (!ok) return Problem{kBadGridFile, ""};
  grid.points = std::move(points);
  grid.dx = dx;
  grid.dy = dy;
  grid.originX = ox;
  grid.originY = oy;
  grid.pointCount = count;
  grid.insideCount = inside;
  grid.exists = true;
  return {};
}

Outcome SaveGrid(const SampleGrid& grid, const std::string& path) {
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (!WriteFileAtomic(path, EncodeGridFile(grid)).ok())
    return Problem{"Gitternetz konnte nicht gespeichert werden", ""};
  return {};
}

Outcome LoadGrid(SampleGrid& grid, const std::string& path) {
  if (!FileExists(path)) return Problem{"Bitte zuerst Gitternetz speichern", ""};
  // A file of another size is no grid: it is refused without reading it whole.
  std::string bytes;
  if (ReadFileUpTo(path, kGridFileSize, bytes) != FileRead::kOk) return Problem{kBadGridFile, ""};
  if (Outcome decoded = DecodeGridFile(bytes, grid); !decoded.ok()) return decoded;
  grid.loadedFromFile = true;
  return {};
}

// ---- picking and dragging ----

int PickGridPoint(const SampleGrid& grid, int X, int Y) {
  int picked = 0;
  for (int i = 1; i <= grid.pointCount; ++i) {
    const GridPoint& p = grid.Point(i);
    if (p.inside == 1 && std::abs(p.x + grid.originX - X) < 10 && std::abs(p.y + grid.originY - Y) < 10)
      picked = i;
  }
  return picked;
}

void DropGridPoint(SampleGrid& grid, int index, int X, int Y) {
  if (index < 1 || index > grid.pointCount) return;
  GridPoint& p = grid.Point(index);
  p.x = X - grid.originX;
  p.y = Y - grid.originY;
}

// ---- digitised boundary ----

DigitiseResult DigitiseBoundary(SampleGrid& grid, double y, double x) {
  if (grid.digitisedCount >= kMaxDigitisedPoints) return DigitiseResult::Full;
  const int k = grid.digitisedCount;
  grid.digitisedX[static_cast<std::size_t>(k)] = x;
  grid.digitisedY[static_cast<std::size_t>(k)] = y;
  grid.digitisedCount = k + 1;
  if (k >= 1 && std::fabs(x - grid.digitisedX[0]) < 2.0 && std::fabs(y - grid.digitisedY[0]) < 2.0)
    return DigitiseResult::Closed;
  return DigitiseResult::Added;
}

std::vector<std::string> DigitisedBoundaryLines(const SampleGrid& grid) {
  std::vector<std::string> lines;
  for (int i = 0; i < grid.digitisedCount; ++i)
    lines.push_back(FormatFixed(9, 2, grid.digitisedX[static_cast<std::size_t>(i)]) +
                    FormatFixed(9, 2, grid.digitisedY[static_cast<std::size_t>(i)]));
  return lines;
}

std::string DigitisedBoundaryPath(const std::string& programFolder) {
  return ResolveIn(programFolder, "Temp/Grenze.txt");
}

Outcome WriteDigitisedBoundary(const SampleGrid& grid, const std::string& programFolder) {
  const std::string path = DigitisedBoundaryPath(programFolder);
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  if (!WriteTextLines(path, DigitisedBoundaryLines(grid)).ok())
    return Problem{"Grenze konnte nicht gespeichert werden", ""};
  return {};
}

}  // namespace tolvek
