#include "simulator/enterprise/compartment_map.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/paths.h"
#include "common/rounding.h"

namespace tolvek {

namespace {

// Coordinates and indices far beyond any map; a value outside is a damaged file, not a map.
constexpr long long kLargestValue = 1000000;

struct Token {
  std::string text;
  int line = 0;
};

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> out;
  std::string cur;
  for (char c : line) {
    if (c == ' ' || c == '\t' || c == '\r') {
      if (!cur.empty()) out.push_back(std::move(cur));
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) out.push_back(std::move(cur));
  return out;
}

// The numbers of a file that separates them by blanks or line breaks, each with its line.
class TokenStream {
 public:
  explicit TokenStream(const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i)
      for (std::string& t : Split(lines[i])) tokens_.push_back({std::move(t), static_cast<int>(i) + 1});
  }
  bool AtEnd() const { return next_ >= tokens_.size(); }
  // The line of the next token (or of the last one at the end).
  int Line() const {
    if (tokens_.empty()) return 0;
    return tokens_[std::min(next_, tokens_.size() - 1)].line;
  }
  const Token* Take() { return AtEnd() ? nullptr : &tokens_[next_++]; }

 private:
  std::vector<Token> tokens_;
  std::size_t next_ = 0;
};

bool Fail(MapReadProblem& p, const std::string& file, int line, const std::string& reason, int compartment = 0) {
  p.file = file;
  p.line = line;
  p.compartment = compartment;
  p.corner = 0;
  p.reason = reason;
  return false;
}

std::optional<int> WholeNumber(const std::string& text) {
  std::optional<long long> v = ParseInt(text);
  if (!v || *v < -kLargestValue || *v > kLargestValue) return std::nullopt;
  return static_cast<int>(*v);
}

// The next whole number of the stream; false with the problem at its line.
bool TakeNumber(TokenStream& s, const std::string& file, int& value, MapReadProblem& p, int compartment = 0) {
  const int line = s.Line();
  const Token* t = s.Take();
  if (!t) return Fail(p, file, line, kMapCutShort, compartment);
  std::optional<int> v = WholeNumber(t->text);
  if (!v) return Fail(p, file, t->line, kMapNotANumber, compartment);
  value = *v;
  return true;
}

std::string FileName(const char* name) { return std::string("Vorgaben\\") + name; }

}  // namespace

double CutReach(const Ring& ring) {
  if (ring.size() < 2) return 0.0;
  const std::size_t n = ring.size() - 1;
  double sumX = 0.0, sumY = 0.0, minX = ring[0].x, maxX = ring[0].x, minY = ring[0].y, maxY = ring[0].y;
  for (std::size_t i = 0; i < n; ++i) {
    sumX += ring[i].x;
    sumY += ring[i].y;
    minX = std::min(minX, ring[i].x);
    maxX = std::max(maxX, ring[i].x);
    minY = std::min(minY, ring[i].y);
    maxY = std::max(maxY, ring[i].y);
  }
  const double cx = sumX / static_cast<double>(n), cy = sumY / static_cast<double>(n);
  // The first cut's centre lies within 0.07 of the extent of the corners' mean.
  const double shift = 0.5 * kCompartmentCutSpread * 0.002;
  double reach = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    reach = std::max(reach, std::fabs(ring[i].x - cx) + shift * (maxX - minX));
    reach = std::max(reach, std::fabs(ring[i].y - cy) + shift * (maxY - minY));
  }
  return reach;
}

std::string MapProblemText(const MapReadProblem& p, const TranslateFn& tr) {
  std::string text = tr("Karte des Betriebs nicht lesbar") + "#" + p.file;
  if (p.line > 0) text += ", " + tr("Zeile") + " " + std::to_string(p.line);
  text += ": " + tr(p.reason);
  if (p.corner > 0) text += " " + std::to_string(p.corner);
  if (p.compartment > 0) text += " (" + tr("Abteilung") + " " + std::to_string(p.compartment) + ")";
  return text;
}

bool ParseCornerTable(const std::vector<std::string>& lines, int enterprise, const std::string& name,
                      CornerTable& out, MapReadProblem& problem) {
  out = CornerTable{};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    const std::vector<std::string> t = Split(lines[i]);
    if (t.empty()) continue;
    // Three whole numbers; whatever follows on the line is a remark.
    if (t.size() < 3) return Fail(problem, name, line, kMapThreeNumbers);
    std::optional<int> index = WholeNumber(t[0]), x = WholeNumber(t[1]), y = WholeNumber(t[2]);
    if (!index || !x || !y) return Fail(problem, name, line, kMapNotANumber);
    if (*index <= 0) continue;
    if (*index > kCornerTableSize) return Fail(problem, name, line, kMapCornerNumber);
    GeoPoint& c = out.at[static_cast<std::size_t>(*index)];
    if (enterprise == 1) {
      c = {double(*x - 8), double(*y + 500)};
    } else {
      c = {double(RoundInt(1.1 * *x) + 692), double(RoundInt(1.1 * *y) - 300)};
    }
    out.given[static_cast<std::size_t>(*index)] = true;
  }
  return true;
}

bool ParseCornerLists(const std::vector<std::string>& lines, const std::string& name, CornerLists& out,
                      MapReadProblem& problem) {
  out = CornerLists{};
  TokenStream s(lines);
  while (!s.AtEnd()) {
    int m = 0;
    const int line = s.Line();
    if (!TakeNumber(s, name, m, problem)) return false;
    if (m < 1) break;  // a compartment number below 1 ends the lists
    if (m > kMaxCompartments) return Fail(problem, name, line, kMapCompartmentNumber);
    std::array<int, kCornerListLength> list{};
    for (int& index : list) {
      if (!TakeNumber(s, name, index, problem, m)) return false;
      if (index < 0 || index > kCornerTableSize)
        return Fail(problem, name, s.Line(), kMapCornerNumber, m);
    }
    out.index[static_cast<std::size_t>(m)] = list;
    out.line[static_cast<std::size_t>(m)] = line;
  }
  return true;
}

bool BuildOutlines(const CornerTable& corners, const CornerLists& lists, int count, const std::string& listFile,
                   std::vector<Ring>& outlines, MapReadProblem& problem) {
  outlines.assign(static_cast<std::size_t>(count) + 1, Ring{});
  for (int m = 1; m <= count; ++m) {
    const int line = lists.line[static_cast<std::size_t>(m)];
    if (line == 0) return Fail(problem, listFile, 0, kMapCompartmentMissing, m);
    Ring& ring = outlines[static_cast<std::size_t>(m)];
    for (int index : lists.index[static_cast<std::size_t>(m)]) {
      if (index == 0) continue;  // no corner at this place
      if (!corners.given[static_cast<std::size_t>(index)]) {
        Fail(problem, listFile, line, kMapCornerMissing, m);
        problem.corner = index;
        return false;
      }
      ring.push_back(corners.at[static_cast<std::size_t>(index)]);
    }
  }
  return true;
}

bool ParseCompartmentCorners(const std::vector<std::string>& lines, int count, const std::string& name,
                             std::vector<Ring>& outlines, MapReadProblem& problem, std::vector<int>* firstLines) {
  outlines.assign(static_cast<std::size_t>(count) + 1, Ring{});
  if (firstLines) firstLines->assign(static_cast<std::size_t>(count) + 1, 0);
  TokenStream s(lines);
  int i = 0;
  while (!s.AtEnd()) {
    ++i;
    if (i > kMaxCompartments) return Fail(problem, name, s.Line(), kMapTooManyCompartments);
    std::array<int, kCornerSlots> x{}, y{};
    if (firstLines && i <= count) (*firstLines)[static_cast<std::size_t>(i)] = s.Line();
    s.Take();  // the compartment's token before its x values
    for (int& v : x)
      if (!TakeNumber(s, name, v, problem, i)) return false;
    if (s.AtEnd()) return Fail(problem, name, s.Line(), kMapCutShort, i);
    s.Take();  // and before its y values
    for (int& v : y)
      if (!TakeNumber(s, name, v, problem, i)) return false;
    if (i > count) continue;
    Ring& ring = outlines[static_cast<std::size_t>(i)];
    for (int k = 0; k < kCornerSlots; ++k)
      if (x[static_cast<std::size_t>(k)] > 0)
        ring.push_back({x[static_cast<std::size_t>(k)] * 1.4275, y[static_cast<std::size_t>(k)] * 1.6});
  }
  if (i < count) return Fail(problem, name, 0, kMapCompartmentMissing, i + 1);
  return true;
}

bool CheckOutlines(std::vector<Ring>& outlines, int count, const std::vector<int>& lines, const std::string& file,
                   MapReadProblem& problem) {
  for (int m = 1; m <= count; ++m) {
    Ring& ring = outlines[static_cast<std::size_t>(m)];
    const int line = static_cast<std::size_t>(m) < lines.size() ? lines[static_cast<std::size_t>(m)] : 0;
    // The list is a closed ring; one given open is closed here.
    if (!ring.empty() && (ring.front().x != ring.back().x || ring.front().y != ring.back().y))
      ring.push_back(ring.front());
    std::vector<GeoPoint> distinct;
    for (std::size_t i = 0; i + 1 < ring.size(); ++i)
      if (std::none_of(distinct.begin(), distinct.end(),
                       [&](const GeoPoint& d) { return d.x == ring[i].x && d.y == ring[i].y; }))
        distinct.push_back(ring[i]);
    const double area = RingArea(ring);
    if (distinct.size() < 3 || std::fabs(area) < 1.0)
      return Fail(problem, file, line, kMapTooFewCorners, m);
    if (CutReach(ring) > kCutArmLength) return Fail(problem, file, line, kMapBeyondTheCuts, m);
    if (area < 0.0) std::reverse(ring.begin(), ring.end());
  }
  return true;
}

std::vector<std::string> EnterpriseMapFiles(int enterprise) {
  switch (enterprise) {
    case 1: return {FileName("EckenAbt.txt"), FileName("LinienAbt.txt")};
    case 2: return {FileName("AbtEcken.txt")};
    case 3: return {FileName("GrEckenAbt.txt"), FileName("GrLinienAbt.txt")};
    default: return {};
  }
}

bool ReadEnterpriseOutlines(const std::string& presetsFolder, int enterprise, std::vector<Ring>& outlines,
                            MapReadProblem& problem) {
  const std::vector<std::string> files = EnterpriseMapFiles(enterprise);
  if (files.empty()) return Fail(problem, "", 0, kMapFileMissing);
  const int count = ModelEnterprise(enterprise).compartments;
  std::vector<std::vector<std::string>> texts;
  for (const std::string& f : files) {
    std::vector<std::string> lines;
    // The names as the program writes them ("Vorgaben\..."): the folder part is the presets folder.
    if (!ReadTextLines(ResolveIn(presetsFolder, f.substr(f.find('\\') + 1)), lines))
      return Fail(problem, f, 0, kMapFileMissing);
    texts.push_back(std::move(lines));
  }
  std::vector<int> lines(static_cast<std::size_t>(count) + 1, 0);
  if (enterprise == 2) {
    if (!ParseCompartmentCorners(texts[0], count, files[0], outlines, problem, &lines)) return false;
    return CheckOutlines(outlines, count, lines, files[0], problem);
  }
  CornerTable corners;
  CornerLists lists;
  if (!ParseCornerTable(texts[0], enterprise, files[0], corners, problem)) return false;
  if (!ParseCornerLists(texts[1], files[1], lists, problem)) return false;
  if (!BuildOutlines(corners, lists, count, files[1], outlines, problem)) return false;
  for (int m = 1; m <= count; ++m) lines[static_cast<std::size_t>(m)] = lists.line[static_cast<std::size_t>(m)];
  return CheckOutlines(outlines, count, lines, files[1], problem);
}

}  // namespace tolvek
