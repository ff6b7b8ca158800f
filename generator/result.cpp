#include "generator/result.h"

#include <cmath>

#include "common/format.h"
#include "common/rounding.h"
#include "common/translate.h"

namespace tolvek::generator {

ResultWindowGeometry ResultWindowSize(int screenWidth, int screenHeight) {
  ResultWindowGeometry g;
  const double h = screenHeight;
  if (screenWidth > 0 && std::fabs(h / screenWidth - 0.75) < 0.005) {
    g.width = RoundInt(h / 0.75);
  } else {
    g.width = RoundInt(h / 0.8);
    g.imageLeft = RoundInt(g.width * 0.265);
  }
  g.height = screenHeight;
  g.imageSize = RoundInt(g.height * 0.9);
  return g;
}

Colour GeneratorSpeciesColour(int code) {
  static const Colour kPalette[10] = {8421504, 12632256, 255,   11571455, 16711935,
                                      65280,   45056,    16744576, 16711680, 16776960};
  if (code >= 0 && code <= 9) return kPalette[code];
  return 32768;
}

int StandImageTransform::ToScreenX(double v) const { return RoundInt(s * v); }
int StandImageTransform::ToScreenY(double v) const { return imageHeight - RoundInt(s * v); }

StandImageTransform TransformFor(int imageSize, double standHeight) {
  StandImageTransform t;
  t.imageHeight = imageSize;
  t.s = standHeight > 0.0 ? imageSize / standHeight : 1.0;
  return t;
}

void DrawGeneratedStand(Canvas& canvas, int imageSize, const GeneratedStand& stand) {
  canvas.SetBrush(kBlack);
  canvas.SetPen(kRed);
  canvas.Rectangle(0, 0, imageSize, imageSize);
  const StandImageTransform tr = TransformFor(imageSize, stand.height);
  int pen = -1;
  for (const auto& t : stand.trees) {
    // Felled and removed trees keep their species at (−1, −1) or (−10, −10): only standing ones are drawn.
    if (t.species <= 0 || !stand.Standing(t)) continue;
    if (t.species != pen) {
      canvas.SetPen(GeneratorSpeciesColour(t.species));
      pen = t.species;
    }
    const double r = TreeCircleRadius(t.dbh);
    canvas.Ellipse(tr.ToScreenX(t.x - r), tr.ToScreenY(t.y - r), tr.ToScreenX(t.x + r), tr.ToScreenY(t.y + r));
  }
}

namespace {

// Blanks appended, at least one, until the text has `width` characters.
std::string PadAtLeastOne(std::string t, std::size_t width) {
  do t.push_back(' ');
  while (Utf8Length(t) < width);
  return t;
}

std::string LayerLetter(int layer) {
  static const char* const kLetters[] = {" ", "b", "c", "d", "e"};
  return layer >= 0 && layer < 5 ? kLetters[layer] : " ";
}

}  // namespace

std::vector<std::string> ResultMemoLines(const GeneratedStand& stand, const LanguageTable& table) {
  const double A = stand.Area();
  const double area = A * 0.0001;
  std::vector<std::string> lines{"", " " + Translate(table, "Baumart S  BHD  N/ha G/ha"), ""};
  int total = 0;
  const auto layer = RowLayers(stand.parameters);
  for (int d = 1; d <= kRowCount; ++d) {
    const SpeciesRow& row = stand.parameters.rows[d - 1];
    if (!row.inUse()) continue;
    std::string name = " " + SpeciesNameOf(row.code, table);
    name = PadAtLeastOne(name, 9);
    const int n = CountRowTrees(stand, d);
    total += n;
    const double nha = n / area;
    const double gha = RowBasalAreaCm2(stand, d) / A;
    const double dg = nha > 0.0 ? std::sqrt(gha / nha * 4.0 / 3.1415926535897932385) * 100.0 : 0.0;
    lines.push_back(name + LayerLetter(layer[d - 1]) + FormatFixed(5, 0, dg) + FormatFixed(5, 0, nha) +
                    FormatFixed(6, 1, gha));
  }
  lines.push_back("");
  std::string sum = Translate(table, " Summe");
  sum = PadAtLeastOne(sum, 8);
  lines.push_back(sum + FormatFixed(12, 0, total / area) + FormatFixed(6, 1, RowBasalAreaCm2(stand, 0) / A));
  lines.push_back("");
  return lines;
}

std::string ResultCaption(const LanguageTable& table) {
  return TrimSpaces(Translate(table, "Ergebnis für den Bestand")) + " ( /ha )";
}

}  // namespace tolvek::generator
