#include "simulator/views/stand_map.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/wait.h"

namespace tolvek {

namespace {

constexpr Colour kPalette1[10] = {0x808080, 0xC0C0C0, 0x0000FF, 0xB090FF, 0xFF00FF,
                                  0x00FF00, 0x00B000, 0xFF8080, 0xFF0000, 0xFFFF00};
constexpr Colour kPalette2[10] = {0x808080, 0xC0C0C0, 0xB090FF, 0x00FF00, 0x00B000,
                                  0xFF8080, 0xFF0000, 0x0000FF, 0xFF00FF, 0xFFFF00};

int ScaleInt(int value, double screenScale) { return RoundInt(value * screenScale); }

}  // namespace

Colour SpeciesColour(int code, int selector) {
  if (code < 0 || code > 9) return kUnknownSpeciesColour;
  return selector == 1 ? kPalette1[code] : kPalette2[code];
}

double StandMapTransform::StandMapXInverse(int column) const {
  if (!(scale > 0.0)) return 0.0;
  return NearbyInt((column - 30) / scale) + 0.0;  // whole metres, -0 as 0
}

double StandMapTransform::StandMapYInverse(int row) const {
  if (!(scale > 0.0)) return 0.0;
  return NearbyInt((imageHeight - row - 25) / scale) + 0.0;
}

double FitStandMapScale(double ymin, double ymax, double xmin, double xmax, int imageWidth, int imageHeight) {
  const double spanX = xmax - xmin + 20.0;
  const double spanY = ymax - ymin + 35.0;
  if (!(spanX > 0.0) || !(spanY > 0.0) || !std::isfinite(spanX) || !std::isfinite(spanY)) return 1.0;
  double s = std::min(imageWidth / spanX, imageHeight / spanY);
  // The margins of 20 and 35 m are pixels in the frame's offsets: at a scale below 1.5 they leave a
  // wide stand's east edge and its last x label beyond the picture (and below 0.7 a tall stand's top).
  // The stand and the labels of its frame stay within the picture.
  if (xmax - xmin > 0.0) s = std::min(s, (imageWidth - kMapRightRoom) / (xmax - xmin));
  if (ymax - ymin > 0.0) s = std::min(s, (imageHeight - kMapTopRoom) / (ymax - ymin));
  return s > 0.0 ? s : 1.0;
}

void RotatePoint(double& x, double& y, double angle) {
  const double r = std::sqrt(x * x + y * y);
  double phi = std::fabs(x) <= 1e-4 ? 1.5708 : std::atan(y / x);
  if (x < 0.0) phi = phi + 3.1415;
  x = r * std::cos(angle + phi);
  y = r * std::sin(angle + phi);
}

EllipseBox TreeDiscBox(const StandMapTransform& t, double dbh, double y, double x) {
  const double r = 0.04 * dbh;
  return {t.StandMapX(x - r), t.StandMapY(y + r), t.StandMapX(x + r), t.StandMapY(y - r)};
}

void DrawTreeDisc(Canvas& canvas, const StandMapTransform& t, double dbh, double y, double x) {
  const EllipseBox b = TreeDiscBox(t, dbh, y, x);
  canvas.Ellipse(b.x1, b.y1, b.x2, b.y2);
}

void DrawWorldLine(Canvas& canvas, const StandMapTransform& t, double x1, double y1, double x2, double y2) {
  canvas.Line(t.WorldX(x1), t.WorldY(y1), t.WorldX(x2), t.WorldY(y2));
}

std::array<EllipseBox, 2> CrossMarkLines(const StandMapTransform& t, double x, double y) {
  const double d = t.enterpriseMode ? 15.0 : 2.0;
  return {EllipseBox{t.WorldX(x - d), t.WorldY(y), t.WorldX(x + d), t.WorldY(y)},
          EllipseBox{t.WorldX(x), t.WorldY(y - d), t.WorldX(x), t.WorldY(y + d)}};
}

void DrawCrossMark(Canvas& canvas, const StandMapTransform& t, double x, double y) {
  for (const EllipseBox& l : CrossMarkLines(t, x, y)) canvas.Line(l.x1, l.y1, l.x2, l.y2);
}

void DrawStandFrame(Canvas& canvas, const StandMapTransform& t, Colour colour, double screenScale) {
  canvas.SetPen(colour);
  for (int i = 0; i <= 10; ++i) {
    const double step = ScaleInt(i, screenScale) * 50.0;
    DrawCrossMark(canvas, t, 0.0, step);
    DrawCrossMark(canvas, t, step, 0.0);
  }
  DrawWorldLine(canvas, t, 0, 0, 500, 0);
  DrawWorldLine(canvas, t, 0, 0, 0, 500);
  canvas.SetFont("arial", 9, kFrameTextColour);
  // A label that would stand partly beyond the picture is left out (a "2" of a cut "200" misleads).
  for (int i = 1; i <= 8; ++i) {
    const int y = t.imageHeight - RoundPixel(i * 50 * t.scale) - 34;
    if (y >= 0) canvas.Text(5, y, std::to_string(i * 50));
  }
  for (int i = 1; i <= 10; ++i) {
    const std::string text = std::to_string(i * 50);
    const int x = RoundPixel(i * 50 * t.scale) + 20;
    if (x + canvas.TextWidth(text) <= t.imageWidth) canvas.Text(x, t.imageHeight - 20, text);
  }
}

void DrawBoundary(Canvas& canvas, const StandMapTransform& t, const BoundaryPolygon& boundary) {
  if (boundary.n < 2) return;
  canvas.SetPen(kRed);
  std::vector<CanvasPoint> line;
  line.reserve(static_cast<std::size_t>(boundary.n));
  for (int i = 1; i <= boundary.n; ++i) line.push_back({t.StandMapX(boundary.x[i]), t.StandMapY(boundary.y[i])});
  canvas.Polyline(line);
}

void DrawTrees(Canvas& canvas, const StandMapTransform& t, const TreeList& trees, int selector,
               const BoundaryPolygon& boundary, double screenScale) {
  canvas.SetBrush(kBlack);
  canvas.SetPen(kWhite);
  canvas.Rectangle(0, 0, t.imageWidth, t.imageHeight);
  for (const auto& tree : trees) {
    canvas.SetPen(SpeciesColour(tree.species, selector));
    DrawTreeDisc(canvas, t, tree.dbh, tree.y, tree.x);
  }
  DrawStandFrame(canvas, t, kWhite, screenScale);
  DrawBoundary(canvas, t, boundary);
}

TreePictureKey::TreePictureKey(const StandMapTransform& t, const TreeList& trees, int selector,
                               const BoundaryPolygon& boundary, double screenScale)
    : made_(true), transform_(t), selector_(selector), screenScale_(screenScale) {
  trees_.reserve(trees.size());
  for (const TreeRecord& tree : trees) trees_.push_back(Tree::Of(tree));
  if (boundary.n >= 2) {
    boundary_.reserve(2 * static_cast<std::size_t>(boundary.n));
    for (int i = 1; i <= boundary.n; ++i) {
      boundary_.push_back(boundary.x[i]);
      boundary_.push_back(boundary.y[i]);
    }
  }
}

bool TreePictureKey::Describes(const StandMapTransform& t, const TreeList& trees, int selector,
                               const BoundaryPolygon& boundary, double screenScale) const {
  if (!made_ || !(transform_ == t) || selector_ != selector || !(screenScale_ == screenScale) ||
      trees_.size() != trees.size())
    return false;
  for (std::size_t i = 0; i < trees.size(); ++i)
    if (!(trees_[i] == Tree::Of(trees[i]))) return false;
  const std::size_t points = boundary.n >= 2 ? 2 * static_cast<std::size_t>(boundary.n) : 0;
  if (boundary_.size() != points) return false;
  for (std::size_t i = 0; i < points / 2; ++i)
    if (!(boundary_[2 * i] == boundary.x[i + 1]) || !(boundary_[2 * i + 1] == boundary.y[i + 1])) return false;
  return true;
}

int DrawSpeciesLegend(Canvas& legend, int width, int height, const std::array<int, 11>& treeCount, int selector,
                      double screenScale, const std::function<std::string(int)>& names, StandMapState& map) {
  // The earlier legend is cleared as a whole: the names of another stand may have stood anywhere.
  legend.SetBrush(kBlack);
  legend.SetPen(kBlack);
  legend.Rectangle(0, 0, width, height);
  map.legend.fill(0);
  int k = 0;
  for (int i = 1; i <= 9; ++i) {
    if (treeCount[i] <= 0) continue;
    ++k;
    map.legend[k] = i;
    legend.SetFont("arial", 10, SpeciesColour(i, selector), true);
    legend.Text(18, ScaleInt(k * 35, screenScale) - 10, names(i));
  }
  map.legendCount = k;
  return k;
}

void BlinkSpecies(bool repeat, int species, Canvas& canvas, const StandMapTransform& t,
                  const TreeList& trees, int selector, const BoundaryPolygon& boundary,
                  double screenScale, const std::function<void()>& show, RunControl& run, Services& services) {
  const int times = repeat ? 5 : 1;
  for (int n = 0; n < times; ++n) {
    canvas.SetPen(kBlinkColour);
    for (const auto& tree : trees)
      if (tree.species == species) DrawTreeDisc(canvas, t, tree.dbh, tree.y, tree.x);
    if (show) show();
    WaitMs(300, run, services);
    DrawTrees(canvas, t, trees, selector, boundary, screenScale);
    if (show) show();
    WaitMs(300, run, services);
  }
}

double RotateStand(TreeList& trees, BoundaryPolygon& boundary, int imageWidth, int imageHeight) {
  double maxX = 0.0, maxY = 0.0, minX = 999.0, minY = 999.0;
  for (auto& tree : trees) {
    RotatePoint(tree.x, tree.y, kStandRotationAngle);
    maxX = std::max(maxX, tree.x);
    maxY = std::max(maxY, tree.y);
    minX = std::min(minX, tree.x);
    minY = std::min(minY, tree.y);
  }
  for (auto& tree : trees) {
    tree.x -= minX;
    tree.y -= minY;
  }
  for (int i = 1; i <= boundary.n; ++i) {
    RotatePoint(boundary.x[i], boundary.y[i], kStandRotationAngle);
    boundary.x[i] -= minX;
    boundary.y[i] -= minY;
  }
  return FitStandMapScale(minY, 1.04 * maxY, minX, 1.04 * maxX, imageWidth, imageHeight);
}

double StandScaleForBoundary(const BoundaryPolygon& boundary, int imageWidth, int imageHeight) {
  return FitStandMapScale(boundary.minY, boundary.maxY, boundary.minX, boundary.maxX, imageWidth, imageHeight);
}

std::string TreesPerHectareLabel(const std::string& prefix, int treeCount, double areaHa) {
  if (!(areaHa > 0.0)) return prefix + FormatInt(treeCount, 6);
  return prefix + FormatFixed(6, 0, treeCount / areaHa) + " /ha";
}

std::string StandAreaLabel(const std::string& areaWord, double areaHa) {
  return areaWord + ":" + FormatFixed(8, 2, areaHa) + " ha";
}

void DrawStandThumbnail(Canvas& canvas, const ThumbnailTransform& t, const TreeList& trees, int selector,
                        const BoundaryPolygon& boundary, int entry, const std::string& caption) {
  canvas.SetBrush(kBlack);
  canvas.SetPen(kBlack);
  canvas.Rectangle(0, 0, 400, 400);
  for (const auto& tree : trees) canvas.Pixel(t.X(tree.x), t.Y(tree.y), SpeciesColour(tree.species, selector));
  if (boundary.n >= 2) {
    canvas.SetPen(kRed);
    std::vector<CanvasPoint> line;
    line.push_back({t.X(boundary.x[1]), t.Y(boundary.y[1])});
    for (int i = 1; i <= boundary.n; ++i) line.push_back({t.X(boundary.x[i]), t.Y(boundary.y[i])});
    canvas.Polyline(line);
  }
  // Every entry has its caption (the last one once had none), in lines that fit the thumbnail.
  if (entry < 1) return;
  canvas.SetFont("arial", 7, kWhite);
  int y = -1;
  for (const std::string& line : FitLines(canvas, caption, t.imageHeight - 4)) {
    canvas.Text(2, y, line);
    y += canvas.TextHeight(line) - 2;
  }
}

std::vector<std::string> FitLines(Canvas& canvas, const std::string& text, int width) {
  std::vector<std::string> lines;
  std::string rest = text;
  while (!rest.empty()) {
    if (canvas.TextWidth(rest) <= width) {
      lines.push_back(rest);
      break;
    }
    // The longest start that fits, ended after a blank or comma where there is one; at least one
    // character a line.
    std::size_t fits = 0, cut = 0;
    for (std::size_t i = 1; i <= rest.size(); ++i) {
      if (i < rest.size() && (static_cast<unsigned char>(rest[i]) & 0xC0) == 0x80) continue;  // inside a character
      if (canvas.TextWidth(rest.substr(0, i)) > width) break;
      fits = i;
      if (rest[i - 1] == ' ' || rest[i - 1] == ',') cut = i;
    }
    if (fits == 0) {
      fits = 1;
      while (fits < rest.size() && (static_cast<unsigned char>(rest[fits]) & 0xC0) == 0x80) ++fits;
    }
    const std::size_t take = cut > 0 ? cut : fits;
    std::string line = rest.substr(0, take);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(line);
    rest = rest.substr(take);
    while (!rest.empty() && rest.front() == ' ') rest.erase(rest.begin());
  }
  return lines;
}

}  // namespace tolvek
