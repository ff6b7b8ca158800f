// Catalogue line, expected-variation line and description of a stand.
#include <cmath>

#include "common/format.h"
#include "common/rounding.h"
#include "common/species.h"
#include "tools/makestands/stands.h"

namespace tolvek::makestands {

namespace {

std::string PadTo(const std::string& text, std::size_t width) {
  std::string s = Utf8Left(text, width);
  while (Utf8Length(s) < width) s += ' ';
  return s;
}

bool IsConvex(const std::vector<BoundaryPoint>& ring) {
  int sign = 0;
  const std::size_t n = ring.size() - 1;
  for (std::size_t i = 0; i < n; ++i) {
    const BoundaryPoint& a = ring[i];
    const BoundaryPoint& b = ring[(i + 1) % n];
    const BoundaryPoint& c = ring[(i + 2) % n];
    const double cross = (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
    if (std::fabs(cross) < 1e-9) continue;
    const int s = cross > 0 ? 1 : -1;
    if (sign == 0) sign = s;
    else if (s != sign) return false;
  }
  return true;
}

// Word-wraps "label text" into lines of at most width characters.
void AddWrapped(std::vector<std::string>& lines, const std::string& text, std::size_t width = 62) {
  std::string line;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find(' ', pos);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(pos, end - pos);
    if (!line.empty() && Utf8Length(line) + 1 + Utf8Length(word) > width) {
      lines.push_back(line);
      line = "      " + word;
    } else {
      line += (line.empty() ? "" : " ") + word;
    }
    pos = end + 1;
  }
  if (!line.empty()) lines.push_back(line);
}

std::string SpeciesMix(const double share[10]) {
  std::string s;
  for (int sp = 1; sp <= 9; ++sp) {
    if (share[sp] <= 0.0) continue;
    const int pct = RoundInt(share[sp] * 100.0);
    if (!s.empty()) s += ", ";
    s += SpeciesNameTable::Name(sp, 1) + " " + std::to_string(pct < 1 ? 1 : pct) + " %";
  }
  return s;
}

}  // namespace

// Decision-hint codes after the method letters, chosen from what the stand is like:
// N 11 homogeneous, 12 groups or clusters, 13 several layers, 14 planted rows;
// V 21 many thin trees, 22 few strong trees, 23 gaps, 24 irregular boundary;
// W 31 strong timber, 32 weak timber, 33 several layers (hidden trees), 34 broadleaf crowns;
// K 41 selection forest, 42 even-aged and uniform, 43 two layers.
std::string HintCodes(const StandPlan& plan, const std::vector<BoundaryPoint>& ring) {
  bool grouped = false, layered = false, rows = false;
  for (const Component& c : plan.components) {
    grouped = grouped || c.pattern == Pattern::Cluster || c.pattern == Pattern::Groups;
    layered = layered || c.inhibition < 1.0;
    rows = rows || c.pattern == Pattern::Lattice;
  }
  const bool selection = plan.mixture == 'P';
  std::string n = selection ? "13 " : layered ? "13 " : rows ? "14 " : grouped ? "12 " : "11 ";
  if (selection && grouped) n += "12 ";
  std::string v = plan.size == 'W' ? "21 " : plan.size == 'S' ? "22 " : "21 22 ";
  if (plan.gaps > 0) v += "23 ";
  if (!IsConvex(ring)) v += "24 ";
  std::string w = plan.size == 'S' ? "31 " : plan.size == 'W' ? "32 " : "31 32 ";
  if (layered || selection) w += "33 ";
  if (plan.kind == 'L') w += "34 ";
  std::string k = selection ? "41 " : layered ? "43 " : "42 ";
  return "N:" + n + "V:" + v + "W:" + w + "K:" + k;
}

std::string CatalogueLine(const StandPlan& plan) {
  char nn[3];
  nn[0] = static_cast<char>('0' + plan.number / 10);
  nn[1] = static_cast<char>('0' + plan.number % 10);
  nn[2] = 0;
  std::string line = std::string("Bestnd") + nn + ".txt";
  line += ' ';
  line += PadTo(plan.shortText, 16);
  line += plan.mixture;
  line += ' ';
  line += plan.kind;
  line += ' ';
  line += plan.size;
  line += "  ";
  line += plan.hints;
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

std::string ExpectedVcLine(const StandPlan& plan, const StandFigures& f) {
  std::string line = FormatInt(plan.number, 3);
  for (int i = 0; i < 15; ++i) line += " " + FormatFixed(8, 2, f.vcLine[i]);
  return line;
}

std::vector<std::string> DescriptionLines(const MadeStand& stand, const StandFigures& f) {
  const StandPlan& p = stand.plan;
  std::vector<std::string> lines;
  const std::string trees = std::to_string(stand.trees.size());
  const std::string mix = SpeciesMix(f.speciesShare);
  const std::string figures = "Grundfläche " + FormatFixed(0, 1, f.basalAreaPerHa) + " m²/ha, dg " +
                              FormatFixed(0, 0, f.quadraticMeanDbh) + " cm, BHD " + FormatFixed(0, 0, f.minDbh) +
                              " bis " + FormatFixed(0, 0, f.maxDbh) + " cm";
  if (p.mixture == 'G') {
    // The generator's own head, then what kind of stand it is.
    lines.push_back("Künstlich erzeugter Bestand");
    lines.push_back("");
    lines.push_back("Fläche:" + FormatFixed(10, 2, stand.areaHa) + " ha");
    AddWrapped(lines, "Aufbau: " + p.structure);
    AddWrapped(lines, "Baumarten (Stammzahl): " + mix);
    lines.push_back("Bäume ab 7 cm BHD: " + trees + " (" + FormatFixed(0, 0, f.stemsPerHa) + " je ha)");
    AddWrapped(lines, figures);
    AddWrapped(lines, "Hinweis: " + p.note);
    return lines;
  }
  lines.push_back("  " + p.title);
  AddWrapped(lines, "Ort: " + p.location);
  AddWrapped(lines, "Standort: " + p.site);
  lines.push_back("Fläche: " + FormatFixed(0, 2, stand.areaHa) + " ha");
  AddWrapped(lines, "Alter: " + p.age);
  AddWrapped(lines, "Baumarten (Stammzahl): " + mix);
  lines.push_back("Bäume ab 7 cm BHD: " + trees + " (" + FormatFixed(0, 0, f.stemsPerHa) + " je ha)");
  AddWrapped(lines, figures);
  AddWrapped(lines, "Aufbau: " + p.structure);
  AddWrapped(lines, "Behandlung: " + p.treatment);
  AddWrapped(lines, "Hinweis: " + p.note);
  return lines;
}

}  // namespace tolvek::makestands
