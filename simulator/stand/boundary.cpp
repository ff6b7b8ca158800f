#include "simulator/stand/boundary.h"

#include <cmath>
#include <utility>

#include "simulator/sampling/geometry.h"

namespace tolvek {
namespace {

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

std::string_view FileNameOf(std::string_view path) {
  std::size_t at = path.find_last_of("/\\");
  return at == std::string_view::npos ? path : path.substr(at + 1);
}

// Three-digit stand codes all share this boundary name: their corners come from the register.
bool IsRegisterBoundaryName(std::string_view path) { return Contains(FileNameOf(path), "Grenze00"); }

const char* BoundaryProblemText(BoundaryFileProblem p) {
  switch (p) {
    case BoundaryFileProblem::None: return "";
    case BoundaryFileProblem::CannotRead: return "Grenzdatei nicht gefunden";
    case BoundaryFileProblem::NotANumber: return "Grenzdatei enthält einen ungültigen Zahlenwert";
    case BoundaryFileProblem::OddValueCount: return "Grenzdatei unvollständig: x-Wert ohne y-Wert";
    case BoundaryFileProblem::TooManyPoints: return "Grenzdatei hat mehr als 59 Punkte";
    case BoundaryFileProblem::NotClosed: return "Grenze nicht geschlossen";
    case BoundaryFileProblem::TooFewPoints: return "Grenze hat weniger als 3 Eckpunkte";
    case BoundaryFileProblem::OutOfRange: return "Grenze hat einen Eckpunkt außerhalb des zulässigen Bereichs";
  }
  return "";
}

// A ring whose area vanishes against its extents encloses nothing: its corners lie on a line and only
// rounding gave it an area (of either sign).
bool EnclosesNoArea(const BoundaryPolygon& b) {
  return !(b.signedArea != 0.0) || !(b.areaHa * 1e4 > 1e-9 * (b.maxX - b.minX) * (b.maxY - b.minY));
}

// The corner pairs of a register stand, as the three register folders lay them out.
bool RegisterPoints(BoundarySource source, const StandRegisterCorners& reg, std::vector<BoundaryPoint>& pts) {
  std::array<double, 5> x{}, y{};
  if (!reg.CurrentCorners(x, y)) return false;
  for (int i = 0; i < 5; ++i)
    if (!std::isfinite(x[i]) || !std::isfinite(y[i])) return false;
  pts.clear();
  switch (source) {
    case BoundarySource::RegisterEU:
      pts = {{0.0, 0.0}, {0.0, y[0]}, {x[0], y[0]}, {x[0], 0.0}, {0.0, 0.0}};
      break;
    case BoundarySource::RegisterWW: {
      // Pairs (0, 0) keep their place as the origin; the last non-zero pair ends the ring, which the
      // first point then closes.
      int count = 0;
      std::array<BoundaryPoint, 5> p{};
      for (int i = 0; i < 5; ++i) {
        if (std::fabs(x[i]) + std::fabs(y[i]) > 0.0) {
          p[i] = {x[i], y[i]};
          count = i + 1;
        }
      }
      pts.assign(p.begin(), p.begin() + count);
      if (count > 0) pts.push_back(pts.front());
      break;
    }
    case BoundarySource::RegisterGE:
      for (int i = 0; i < 5; ++i) pts.push_back({x[i], y[i]});
      break;
    case BoundarySource::File:
      return false;
  }
  return true;
}

}  // namespace

BoundarySource BoundarySourceFor(std::string_view path) {
  // Only the stand folder and the file name decide: a program folder that happens to be called
  // "Bestande" or "StandsEU" must not change the route.
  std::size_t nameAt = path.find_last_of("/\\");
  std::string_view folder;
  if (nameAt != std::string_view::npos) {
    std::string_view parent = path.substr(0, nameAt);
    std::size_t folderAt = parent.find_last_of("/\\");
    folder = folderAt == std::string_view::npos ? parent : parent.substr(folderAt + 1);
  }
  const bool register00 = IsRegisterBoundaryName(path);
  if ((SameIgnoringCase(folder, "Bestande") || SameIgnoringCase(folder, "StandsCH")) && !register00)
    return BoundarySource::File;
  if (SameIgnoringCase(folder, "StandsEU")) return BoundarySource::RegisterEU;
  if (SameIgnoringCase(folder, "StandsWW")) return BoundarySource::RegisterWW;
  if (SameIgnoringCase(folder, "StandsGE")) return BoundarySource::RegisterGE;
  // A "Grenze00" name in any other folder, or a stand directly in the program folder: no register
  // corners apply, so only a real boundary file can serve.
  return BoundarySource::File;
}

double BoundarySignedArea(const BoundaryPolygon& b) {
  // The boundary is closed by construction, so the area routine has nothing to report here; in stand
  // mode and enterprise mode alike the trapezoid sum is the same.
  GeometryContext g;
  return ClosedPolygonArea(g, b);
}

void OrientBoundary(BoundaryPolygon& b) {
  b.signedArea = BoundarySignedArea(b);
  if (b.signedArea < 0.0) {
    for (int i = 1; i <= b.n / 2; ++i) {
      std::swap(b.x[i], b.x[b.n + 1 - i]);
      std::swap(b.y[i], b.y[b.n + 1 - i]);
    }
  }
}

void SetBoundaryPoints(const std::vector<BoundaryPoint>& points, BoundaryPolygon& b) {
  BoundaryPolygon p;
  p.n = static_cast<int>(points.size() > kBoundaryCapacity ? kBoundaryCapacity : points.size());
  if (p.n > 0) {
    // The extents start from the first corner, so corners of any size (national grid coordinates in the
    // millions) are shifted to their true minimum.
    p.minX = p.maxX = points[0].x;
    p.minY = p.maxY = points[0].y;
  }
  for (int i = 1; i <= p.n; ++i) {
    p.x[i] = points[i - 1].x;
    p.y[i] = points[i - 1].y;
    if (p.x[i] < p.minX) p.minX = p.x[i];
    if (p.x[i] > p.maxX) p.maxX = p.x[i];
    if (p.y[i] < p.minY) p.minY = p.y[i];
    if (p.y[i] > p.maxY) p.maxY = p.y[i];
  }
  for (int i = 1; i <= p.n; ++i) {
    p.x[i] = p.x[i] - p.minX;
    p.y[i] = p.y[i] - p.minY;
  }
  OrientBoundary(p);
  // The area of the ring as it now runs: summed in reversed order, a reversed ring's area need not be
  // exactly the negated first sum.
  p.areaHa = BoundarySignedArea(p) * 1e-4;
  b = p;
}

Outcome BoundaryFromPoints(const std::vector<BoundaryPoint>& points, const std::string& path, BoundaryPolygon& b) {
  BoundaryFileProblem ring = CheckBoundaryRing(points);
  if (ring != BoundaryFileProblem::None) return Problem{BoundaryProblemText(ring), path};
  if (int far = FirstCornerOutOfRange(points))
    return Problem{BoundaryProblemText(BoundaryFileProblem::OutOfRange), path + ", Punkt " + std::to_string(far)};
  BoundaryPolygon read;
  SetBoundaryPoints(points, read);
  // Judged on the ring as it runs after the orientation: that is the area every later step uses.
  if (!std::isfinite(read.signedArea) || !std::isfinite(read.areaHa))
    return Problem{BoundaryProblemText(BoundaryFileProblem::NotANumber), path};
  if (EnclosesNoArea(read)) return Problem{"Bestandesfläche ist 0", path};
  b = read;
  return {};
}

Outcome ReadBoundary(std::string_view boundaryPath, const StandRegisterCorners* standRegister, BoundaryPolygon& b) {
  const std::string path(boundaryPath);
  std::vector<BoundaryPoint> points;
  BoundarySource source = BoundarySourceFor(boundaryPath);
  if (source == BoundarySource::File && IsRegisterBoundaryName(boundaryPath))
    return Problem{"Keine Grenze für diesen Bestand vorhanden", path};
  if (source == BoundarySource::File) {
    BoundaryFileReadResult r = ReadBoundaryFile(path, points);
    if (!r.ok()) {
      const std::string where = r.point > 0 ? path + ", Punkt " + std::to_string(r.point) : path;
      return Problem{BoundaryProblemText(r.problem), where};
    }
  } else if (!standRegister || !RegisterPoints(source, *standRegister, points))
    return Problem{"Keine Eckpunkte im Bestandesregister für diesen Bestand", path};
  return BoundaryFromPoints(points, path, b);
}

}  // namespace tolvek
