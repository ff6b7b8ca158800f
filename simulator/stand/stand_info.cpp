#include "simulator/stand/stand_info.h"

#include <cmath>

#include "common/format.h"
#include "common/rounding.h"
#include "common/species.h"
#include "simulator/translate.h"

namespace tolvek {

void DrawDbhHistogram(Canvas& canvas, int w, int h, const std::array<std::uint32_t, kHistogramClasses + 1>& histogram,
                      const LanguageTable& language, bool drawEmptyClasses) {
  canvas.SetBrush(kWhite);
  canvas.SetPen(kWhite);
  canvas.Rectangle(0, 0, w, h);
  canvas.SetPen(kBlack);
  canvas.Rectangle(0, 0, w, h);
  canvas.Line(0, h - 10, w, h - 10);
  canvas.SetFont("arial", 8, kBlack);
  canvas.Text(60, 4, Translate(language, "BHD-Verteilung"));
  canvas.SetFont("arial", 5, kBlack);

  const double u = w / 40.0;
  const double total = histogram[0];
  for (int k = 1; k <= kHistogramClasses; ++k) {
    const Colour c = k % 5 == 0 ? kRed : kBlack;
    canvas.SetBrush(c);
    canvas.SetPen(c);
    if (histogram[k] == 0 && !drawEmptyClasses) continue;
    // An empty stand has no shares to draw: every class stays on the base line.
    const double share = total > 0 ? histogram[k] * 5.0 * h / total : 0.0;
    canvas.Rectangle(RoundInt(k * u), RoundInt(h - 10 - share), RoundInt(k * u + 3), h - 10);
  }
  canvas.SetBrush(kWhite);
  for (int k = 5; k <= 35; k += 5) canvas.Text(RoundInt(k * u - 2), h - 9, FormatInt(2 * k, 2));
}

namespace {

// A per-hectare figure in its column; without an area there is nothing to divide by.
std::string PerHectare(int width, int decimals, double value, double areaHa) {
  if (!(areaHa > 0.0)) return std::string(static_cast<std::size_t>(width - 1), ' ') + "-";
  return FormatFixed(width, decimals, value / areaHa);
}

}  // namespace

StandInfo BuildStandInfo(const StandInfoInputs& in, const LanguageTable& language) {
  auto T = [&](const std::string& german) { return Translate(language, german); };
  StandInfo info;
  std::string dashes;
  for (int i = 0; i < 26; ++i) dashes += "\u2014";
  info.separator = "\n " + dashes;
  const std::string& sep = info.separator;

  std::string& text = info.text;
  text = "\n " + T("Bestand") + ":         " + Utf8Left(in.standName, 8);
  if (in.classLine) {
    const StandClassLine& c = *in.classLine;
    info.caption = c.wet ? " Form35   WET" : " Form35";
    if (c.wet) {
      text += "\n " + Utf8Left("WET: " + Utf8Left(c.typeName, 20), 26);
      text += "\n " + T("Behandlungstyp") + ": " + c.treatmentName;
    } else {
      text += "\n " + Utf8Left(T("Bestandestyp ") + ":   " + Utf8Left(c.typeName, 4), 26);
      text += "\n " + T("Altersklasse") + ": " + FormatInt(c.ageClass, 4);
    }
  }
  text += "\n " + Utf8Left(T("Fläche:") + "     ", 15) + FormatFixed(7, 2, in.areaHa) + " ha";
  text += sep + "\n " + T("Baumart     BHD  N/ha G/ha") + sep;

  if (in.layeredFolder) {
    // A generated stand's table goes by species and layer (rows 1 … 29, then 0 for the whole stand).
    // A tree file keeps no layer: every tree counts in the first one.
    static const char* const kLayer[3] = {"  ", " b", " c"};
    for (int i = 1; i <= 30; ++i) {
      const int t = i % 30;
      if (t == 0) text += sep;
      const int species = t % 10;
      const int layer = t / 10;
      const int count = layer == 0 ? in.sums.count[species] : 0;
      if (count < 1) continue;
      const double ba = in.sums.basalArea[species];
      const double dbh = std::sqrt(ba / count * 1.2732) * 100.0;
      text += "\n " + PadRight(T(SpeciesNameTable::Name(species, in.selector)), 7) + kLayer[layer] +
              FormatFixed(5, 0, dbh) + PerHectare(5, 0, count, in.areaHa) + PerHectare(6, 1, ba, in.areaHa);
      ++info.rows;
    }
  } else {
    for (int i = 1; i <= 10; ++i) {
      const int t = i % 10;
      if (t == 0) text += "  " + sep;
      const int count = in.sums.count[t];
      if (count < 1) continue;
      const double ba = in.sums.basalArea[t];
      const double dbh = std::sqrt(ba / count * 1.2732) * 100.0;
      text += "\n " + PadRight(T(SpeciesNameTable::Name(t, in.selector)), 8) + "  " + FormatFixed(4, 0, dbh) +
              PerHectare(5, 0, count, in.areaHa) + PerHectare(6, 1, ba, in.areaHa);
      ++info.rows;
    }
  }
  text += sep;
  info.panelHeight = info.rows * 14 + 146;
  return info;
}

StandInfoPlacement PlaceStandInfoBesidePreview(int panelHeight, int previewLeft, int buttonTop) {
  StandInfoPlacement p;
  p.left = previewLeft + 334;
  p.height = panelHeight - 10;
  p.top = (buttonTop - 55) - p.height;
  return p;
}

}  // namespace tolvek
