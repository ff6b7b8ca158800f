#pragma once
// Two small summaries of a stand: the species table of the stand-information panel and the diameter
// histogram of 40 classes of 2 cm.
#include <array>
#include <cstdint>
#include <string>

#include "common/canvas.h"
#include "common/language.h"
#include "simulator/stand/tree_list.h"

namespace tolvek {

// Draws the histogram into an image of width w and height h. The preview's histogram draws empty
// classes too (a flat bar on the base line); the panel's leaves them out.
void DrawDbhHistogram(Canvas& canvas, int w, int h, const std::array<std::uint32_t, kHistogramClasses + 1>& histogram,
                      const LanguageTable& language, bool drawEmptyClasses);

// The class line of a model stand (enterprise loader only).
struct StandClassLine {
  bool wet = false;            // forest development types chosen over stand types
  std::string typeName;        // development-type name, or stand-type name, of the first class byte
  std::string treatmentName;   // with wet: the treatment-type name of the second class byte
  int ageClass = 0;            // without wet: the age class number (second class byte + 1)
};

struct StandInfoInputs {
  const SpeciesSums& sums;
  double areaHa = 0.0;
  std::string standName;          // the name given to FindStandClass; its first 8 characters are shown
  int selector = 1;               // species list of the stand
  bool layeredFolder = false;     // a model stand of "StandsGE": its table is by species and layer
  const StandClassLine* classLine = nullptr;  // enterprise loader only
};

struct StandInfo {
  std::string text;        // lines separated by "\n"
  std::string separator;   // line break, a blank and 26 dashes; reused by other reports
  int rows = 0;            // species rows written
  int panelHeight = 0;     // rows * 14 + 146
  std::string caption;     // panel window caption (set with a class line only)
};

StandInfo BuildStandInfo(const StandInfoInputs& in, const LanguageTable& language);

// The panel window's height and top next to the preview's "Baumarten-Anteile" button (stand mode).
struct StandInfoPlacement {
  int left = 0;
  int top = 0;
  int height = 0;
};
StandInfoPlacement PlaceStandInfoBesidePreview(int panelHeight, int previewLeft, int buttonTop);

}  // namespace tolvek
