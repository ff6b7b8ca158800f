// The model enterprises' maps, choice pictures and arrow glyphs.
#include "tools/makeenterprise/enterprise_data.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

#include "common/format.h"
#include "common/paths.h"
#include "common/random.h"
#include "common/rounding.h"
#include "simulator/enterprise/compartment_map.h"
#include "simulator/enterprise/enterprise_choice.h"
#include "simulator/enterprise/enterprise_map.h"
#include "simulator/enterprise/structure_file.h"
#include "simulator/enterprise/structure_wizard.h"
#include "simulator/enterprise/subdivision.h"
#include "tools/makeenterprise/raster_canvas.h"
#include "tools/makestands/collection.h"
#include "tools/makestands/pictures.h"

namespace tolvek::makeenterprise {

namespace {

constexpr int kPreviewSize = 200;
constexpr int kGlyphSize = 16;
constexpr double kSizeTolerance = 0.01;

// The corners of the grid (col 0..cols, row 0..rows; row 0 at the bottom) that belong to a compartment,
// at their places on the turned map, and the compartments as lists of corners.
struct Layout {
  std::map<std::pair<int, int>, GeoPoint> corners;
  std::vector<std::array<std::pair<int, int>, 4>> cells;  // clockwise from the south-west corner
};

bool Present(const EnterpriseDesign& d, int col, int row) {
  if (col < 0 || row < 0 || col >= d.cols || row >= d.rows) return false;
  return std::find(d.missing.begin(), d.missing.end(), std::make_pair(col, row)) == d.missing.end();
}

Layout Lay(const EnterpriseDesign& d) {
  Layout l;
  RandomGenerator random(d.seed);
  for (int row = d.rows; row >= 0; --row)
    for (int col = 0; col <= d.cols; ++col) {
      const bool sw = Present(d, col - 1, row - 1), se = Present(d, col, row - 1), nw = Present(d, col - 1, row),
                 ne = Present(d, col, row);
      const int around = sw + se + nw + ne;
      if (around == 0) continue;
      GeoPoint p{d.x0 + col * d.cellW, d.y0 + row * d.cellH};
      const double jx = (random.NextReal() - 0.5) * 2.0, jy = (random.NextReal() - 0.5) * 2.0;
      if (around == 4) {
        p.x += jx * d.innerJitter;
        p.y += jy * d.innerJitter;
      } else if (around == 2 && sw == nw && se == ne) {
        p.x += jx * d.edgeJitter;  // on a west or east edge: moved across it
      } else if (around == 2 && sw == se && nw == ne) {
        p.y += jy * d.edgeJitter;  // on a south or north edge
      }
      l.corners[{col, row}] = p;
    }
  for (int row = d.rows - 1; row >= 0; --row)
    for (int col = 0; col < d.cols; ++col)
      if (Present(d, col, row))
        l.cells.push_back({std::make_pair(col, row), std::make_pair(col, row + 1), std::make_pair(col + 1, row + 1),
                           std::make_pair(col + 1, row)});
  return l;
}

// A point of the turned map back in the map's own metres.
GeoPoint Stored(const EnterpriseDesign& d, GeoPoint shown) {
  return RotateByGridAngle(-ModelEnterprise(d.number).angle, shown.y, shown.x);
}

bool Convex(const Ring& r) {
  if (r.size() < 4) return false;
  const std::size_t n = r.size() - 1;  // the corners without the closing one
  for (std::size_t i = 0; i < n; ++i) {
    const GeoPoint& a = r[i];
    const GeoPoint& b = r[(i + 1) % n];
    const GeoPoint& c = r[(i + 2) % n];
    // Clockwise: every turn to the right.
    if ((b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x) > 0.0) return false;
  }
  return true;
}

// The enterprise's map as the program reads it: in its default structure's class colours, or its bare
// compartments in the first drawing's light green.
makestands::Picture Preview(const EnterpriseDesign& d, const std::vector<Ring>& outlines, bool structure) {
  EnterpriseSession s;
  if (structure) {
    s = DefaultStructure(d, outlines);
  } else {
    s.number = d.number;
    s.compartmentCount = ModelEnterprise(d.number).compartments;
    s.outlines = outlines;
    s.compartments.assign(static_cast<std::size_t>(s.compartmentCount) + 1, Compartment{});
    for (int a = 1; a <= s.compartmentCount; ++a) s.At(a).stands.push_back(EnterpriseStand{0.0, 1, 1, 0, 0, s.Outline(a)});
    s.firstDrawing = true;
  }
  // Fitted into the picture and centred.
  const double angle = ModelEnterprise(d.number).angle;
  double minX = 1e18, maxX = -1e18, minY = 1e18, maxY = -1e18;
  for (int a = 1; a <= s.compartmentCount; ++a)
    for (const GeoPoint& p : s.Outline(a)) {
      const GeoPoint q = RotateByGridAngle(angle, p.y, p.x);
      minX = std::min(minX, q.x), maxX = std::max(maxX, q.x), minY = std::min(minY, q.y), maxY = std::max(maxY, q.y);
    }
  const int margin = 6;
  const double scale = std::min((kPreviewSize - 2 * margin) / (maxX - minX), (kPreviewSize - 2 * margin) / (maxY - minY));
  const EnterpriseMapTransform t{angle, scale, kPreviewSize};
  const int dx = (kPreviewSize - RoundInt((maxX - minX) * scale)) / 2 - RoundInt(minX * scale);
  const int dy = -(kPreviewSize - RoundInt((maxY - minY) * scale)) / 2 + RoundInt(minY * scale);
  makestands::Picture picture(kPreviewSize, kPreviewSize, ToRgb(kWhite));
  RasterCanvas canvas(picture, dx, dy);
  for (int a = 1; a <= s.compartmentCount; ++a) DrawCompartment(canvas, s, a, 0, t);
  return picture;
}

// An arrow pointing right, east, and the other three made from it.
makestands::Picture Glyph(int direction) {
  static const CanvasPoint kRight[7] = {{2, 6}, {8, 6}, {8, 2}, {14, 8}, {8, 14}, {8, 10}, {2, 10}};
  std::vector<CanvasPoint> pts;
  for (CanvasPoint p : kRight) {
    switch (direction) {
      case 1: p = {kGlyphSize - 1 - p.x, p.y}; break;  // west
      case 2: p = {p.y, kGlyphSize - 1 - p.x}; break;  // north
      case 3: p = {p.y, p.x}; break;                   // south
      default: break;
    }
    pts.push_back(p);
  }
  // The bottom-left pixel's colour is the glyph's transparent one: the button face shows through.
  makestands::Picture picture(kGlyphSize, kGlyphSize, ToRgb(kSilver));
  RasterCanvas canvas(picture);
  const Colour arrow = 0x345E1F;
  canvas.SetPen(arrow, 1, PenStyle::Solid);
  canvas.SetBrush(arrow, BrushStyle::Solid);
  canvas.Polygon(pts);
  return picture;
}

}  // namespace

const DefaultStructureDesign& DefaultStructureOf(int enterprise) {
  static const DefaultStructureDesign kDefaults[3] = {
      {0, {{1, 40}, {4, 30}, {6, 30}}, 4101},
      {1, {{1, 40}, {3, 20}, {4, 20}, {7, 20}}, 4202},
      {0, {{1, 30}, {2, 15}, {3, 15}, {4, 25}, {5, 15}}, 4303},
  };
  return kDefaults[(enterprise >= 1 && enterprise <= 3) ? enterprise - 1 : 0];
}

EnterpriseSession DefaultStructure(const EnterpriseDesign& d, const std::vector<Ring>& outlines) {
  const DefaultStructureDesign& structure = DefaultStructureOf(d.number);
  EnterpriseSession s;
  s.number = d.number;
  s.compartmentCount = ModelEnterprise(d.number).compartments;
  s.outlines = outlines;
  s.compartments.assign(static_cast<std::size_t>(s.compartmentCount) + 1, Compartment{});
  for (int a = 1; a <= s.compartmentCount; ++a) s.At(a).kind = DefaultKind(a);
  RandomGenerator generator(structure.seed);
  GeneratorDraws random(generator);
  SubdivideEnterprise(s, random);
  Shares types{};
  for (const auto& [code, share] : structure.types) {
    s.chosen.codes[static_cast<std::size_t>(++s.chosen.count)] = code;
    types[static_cast<std::size_t>(s.chosen.count)] = share;
  }
  DealTypes(s, types, s.chosen.count, random);
  MixTypes(s, types, s.chosen.count, 15, random);
  DealClasses(s, types, EvenShares(5), random);
  return s;
}

const std::vector<EnterpriseDesign>& EnterpriseDesigns() {
  // Sizes and places chosen so that every compartment stays within the cuts' reach (under 700 m with its
  // jitter), the three enterprises come to their captions' sizes (564, 558 and 2851 ha), and each map
  // lies within the picture the main window shows on a screen 1024 pixels high and within the sample
  // grid's 5800 m (laid at its usual turn). Enterprise 2's map must also keep every x above 0 (0 marks an
  // empty slot in its file).
  static const std::vector<EnterpriseDesign> designs = {
      {1, 4, 5, 100, 150, 531, 531, {}, 40, 20, 1101},
      {2, 4, 5, 450, 200, 528, 528, {}, 40, 20, 2202},
      {3, 9, 9, 40, 330, 590, 604, {{8, 0}}, 40, 20, 3303},
  };
  return designs;
}

std::vector<std::vector<std::string>> MapInputLines(const EnterpriseDesign& d) {
  const Layout l = Lay(d);
  std::vector<std::vector<std::string>> out;
  if (d.number == 2) {
    std::vector<std::string> lines;
    int m = 0;
    for (const auto& cell : l.cells) {
      ++m;
      std::string xs = FormatInt(m, 3), ys = FormatInt(m, 3);
      for (int k = 0; k < kCornerSlots; ++k) {
        int x = 0, y = 0;
        if (k < 5) {
          const GeoPoint p = Stored(d, l.corners.at(cell[static_cast<std::size_t>(k % 4)]));
          x = RoundInt(p.x / 1.4275);
          y = RoundInt(p.y / 1.6);
        }
        xs += FormatInt(x, 6);
        ys += FormatInt(y, 6);
      }
      lines.push_back(xs);
      lines.push_back(ys);
    }
    out.push_back(lines);
    return out;
  }
  std::map<std::pair<int, int>, int> index;
  std::vector<std::string> table, lists;
  for (int row = d.rows; row >= 0; --row)
    for (int col = 0; col <= d.cols; ++col) {
      auto it = l.corners.find({col, row});
      if (it == l.corners.end()) continue;
      const int i = static_cast<int>(index.size()) + 1;
      index[it->first] = i;
      const GeoPoint p = Stored(d, it->second);
      long long x, y;
      if (d.number == 1) {
        x = RoundInt(p.x) + 8;
        y = RoundInt(p.y) - 500;
      } else {
        x = RoundInt((p.x - 692) / 1.1);
        y = RoundInt((p.y + 300) / 1.1);
      }
      table.push_back(FormatInt(i, 4) + FormatInt(x, 7) + FormatInt(y, 7));
    }
  int m = 0;
  for (const auto& cell : l.cells) {
    std::string line = FormatInt(++m, 4);
    for (int k = 0; k < kCornerListLength; ++k)
      line += FormatInt(k < 5 ? index.at(cell[static_cast<std::size_t>(k % 4)]) : 0, 5);
    lists.push_back(line);
  }
  out.push_back(table);
  out.push_back(lists);
  return out;
}

bool CheckShippedOutlines(int enterprise, const std::vector<Ring>& outlines, std::string& reason) {
  const ModelEnterpriseInfo& e = ModelEnterprise(enterprise);
  if (static_cast<int>(outlines.size()) != e.compartments + 1) {
    reason = "wrong number of compartments";
    return false;
  }
  double total = 0.0;
  for (int a = 1; a <= e.compartments; ++a) {
    const Ring& r = outlines[static_cast<std::size_t>(a)];
    if (!Convex(r)) {
      reason = "compartment " + std::to_string(a) + " is not convex";
      return false;
    }
    if (RingArea(r) <= 0.0) {
      reason = "compartment " + std::to_string(a) + " is not clockwise";
      return false;
    }
    total += RingArea(r) * 1e-4;
  }
  const double caption = std::stod(e.sizeCaption);
  if (std::fabs(total - caption) > kSizeTolerance * caption) {
    reason = "total area " + std::to_string(total) + " ha, not within 1 % of " + e.sizeCaption;
    return false;
  }
  return true;
}

bool MakeEnterpriseData(const std::string& programFolder, std::vector<std::string>& written, std::string& error) {
  namespace fs = std::filesystem;
  for (const char* sub : {"Vorgaben", "Bitmap"}) {
    std::error_code ec;
    fs::create_directories(fs::path(programFolder) / sub, ec);
    if (ec) {
      error = "cannot create " + std::string(sub) + ": " + ec.message();
      return false;
    }
  }
  auto note = [&](const Outcome& o, const std::string& rel) {
    return makestands::NoteWritten(o.ok(), rel, written, error);
  };
  std::vector<std::vector<Ring>> read;
  for (const EnterpriseDesign& d : EnterpriseDesigns()) {
    const std::vector<std::vector<std::string>> inputs = MapInputLines(d);
    const std::vector<std::string> files = EnterpriseMapFiles(d.number);
    for (std::size_t f = 0; f < files.size(); ++f) {
      const std::string rel = "Vorgaben/" + files[f].substr(files[f].find('\\') + 1);
      if (!note(WriteTextLines(JoinPath(programFolder, rel), inputs[f]), rel)) return false;
    }
    std::vector<Ring> outlines;
    MapReadProblem problem;
    if (!ReadEnterpriseOutlines(JoinPath(programFolder, "Vorgaben/"), d.number, outlines, problem)) {
      error = "enterprise " + std::to_string(d.number) + ": " + problem.file + " line " +
              std::to_string(problem.line) + ": " + problem.reason;
      return false;
    }
    std::string reason;
    if (!CheckShippedOutlines(d.number, outlines, reason)) {
      error = "enterprise " + std::to_string(d.number) + ": " + reason;
      return false;
    }
    read.push_back(std::move(outlines));
  }
  // The default structures: their model stands are dealt from the register in use when one is read.
  for (std::size_t e = 0; e < read.size(); ++e) {
    const EnterpriseDesign& d = EnterpriseDesigns()[e];
    const std::string rel = "Vorgaben/Betrieb" + std::to_string(d.number) + "_Default.txt";
    std::vector<std::string> lines;
    const EnterpriseStructure structure =
        StructureOf(DefaultStructure(d, read[e]), DefaultStructureOf(d.number).mode, {true, false});
    if (const Outcome made = StructureFileLines(structure, lines); !made.ok()) {
      error = rel + ": compartment " + made.problem().where + ": " + made.problem().message;
      return false;
    }
    if (!note(WriteTextLines(JoinPath(programFolder, rel), lines), rel)) return false;
  }
  // Pictures 1..3: each enterprise in its default structure's class colours; 4..6: its bare compartments.
  for (int k = 1; k <= 6; ++k) {
    const std::size_t e = static_cast<std::size_t>((k - 1) % 3);
    const std::string rel = "Bitmap/Betrieb" + std::to_string(k) + ".bmp";
    const makestands::Picture picture = Preview(EnterpriseDesigns()[e], read[e], k <= 3);
    if (!note(WriteFileAtomic(JoinPath(programFolder, rel), makestands::EncodeBmp(picture)), rel))
      return false;
  }
  const char* const glyphs[4] = {"gonext", "goprev", "goup", "godown"};
  for (int g = 0; g < 4; ++g) {
    const std::string rel = std::string("Bitmap/") + glyphs[g] + ".bmp";
    if (!note(WriteFileAtomic(JoinPath(programFolder, rel), makestands::EncodeBmp(Glyph(g))), rel)) return false;
  }
  return true;
}

}  // namespace tolvek::makeenterprise
