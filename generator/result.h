#pragma once
// The result window's arithmetic: its size from the screen, the stand picture drawn on a Canvas, and
// the table of results per species row.
#include <string>
#include <vector>

#include "common/canvas.h"
#include "common/language.h"
#include "generator/generation.h"

namespace tolvek::generator {

struct ResultWindowGeometry {
  int width = 0;
  int height = 0;
  int imageSize = 0;    // the square stand picture
  int imageLeft = -1;   // -1: the window's own (4:3 screens)
};
// A 4:3 screen (height / width within 0.005 of 0.75): width = rnd(height / 0.75); any other: width =
// rnd(height / 0.8) and the picture at rnd(width × 0.265). Window height = screen height; the picture
// rnd(0.9 × height) square.
ResultWindowGeometry ResultWindowSize(int screenWidth, int screenHeight);

// The generator's species colours ($BBGGRR): 0 grey, 1 silver, 2 red, 3 pink, 4 magenta, 5 bright green,
// 6 medium green, 7 light blue, 8 blue, 9 cyan, any other dark green.
Colour GeneratorSpeciesColour(int code);

// Metres to picture pixels: s = picture height / H; x → rnd(s·x), y → height − rnd(s·y) (y grows upwards).
struct StandImageTransform {
  double s = 1.0;
  int imageHeight = 0;
  int ToScreenX(double v) const;
  int ToScreenY(double v) const;
};
StandImageTransform TransformFor(int imageSize, double standHeight);

// Ten times the stem radius, m: dbh × 5 / 100.
inline double TreeCircleRadius(double dbh) { return dbh * 5.0 / 100.0; }

// A black square in a red frame, and every standing tree of a species as a circle of ten times its
// stem radius, outlined in the species colour.
void DrawGeneratedStand(Canvas& canvas, int imageSize, const GeneratedStand& stand);

// The table beside the picture: per species row in use the name, the layer letter, the quadratic mean
// diameter Dg, stems and basal area per ha, then the sum. Stems count every standing tree, basal area
// and Dg only trees of 7 cm and more.
std::vector<std::string> ResultMemoLines(const GeneratedStand& stand, const LanguageTable& table);
// The caption above the table: "Ergebnis für den Bestand" (translated, trimmed) + " ( /ha )".
std::string ResultCaption(const LanguageTable& table);

}  // namespace tolvek::generator
