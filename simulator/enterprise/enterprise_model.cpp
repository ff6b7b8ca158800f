#include "simulator/enterprise/enterprise_model.h"

#include "common/format.h"

namespace tolvek {

double RingArea(const Ring& ring) {
  double sum = 0.0;
  for (std::size_t i = 0; i + 1 < ring.size(); ++i)
    sum += (ring[i + 1].x - ring[i].x) * 0.5 * (ring[i + 1].y + ring[i].y);
  return sum;
}

const ModelEnterpriseInfo& ModelEnterprise(int number) {
  static const ModelEnterpriseInfo kTable[4] = {
      {0, 20, "564 ha", -0.1273239544568912, 0.312, 0.312},
      {1, 20, "564 ha", -0.1273239544568912, 0.312, 0.312},
      {2, 20, "558 ha", -0.1273239544568912, 0.26, 0.26},
      {3, 80, "2851 ha", 0.15915494307111402, 0.15294117647058825, 0.14181818181818182},
  };
  return kTable[(number >= 1 && number <= kEnterpriseCount) ? number : 0];
}

double EnterpriseMapScale(int number, double screenScale, int screenHeight) {
  const ModelEnterpriseInfo& e = ModelEnterprise(number);
  return screenScale * (screenHeight > 768 ? e.factor : e.factorSmallScreen);
}

Colour ClassColour(int typePosition, int cls) {
  static const Colour kTable[7][7] = {
      {0xBBFFBB, 0x77FF77, 0x00FF00, 0x00CF00, 0x009F00, 0xFFFFFF, 0x808080},
      {0xAAAAFF, 0x7777FF, 0x0000FF, 0x0000DF, 0x0000BF, 0xFFFFFF, 0x808080},
      {0xCCCCCC, 0xBBBBBB, 0xAAAAAA, 0x888888, 0x555555, 0xFFFFFF, 0x808080},
      {0xAAFFFF, 0x99FFFF, 0x77FFFF, 0x44FFFF, 0x11FFFF, 0xFFFFFF, 0x808080},
      {0xFFDDDD, 0xFFBBBB, 0xFF7777, 0xFF4444, 0xFF1111, 0xFFFFFF, 0x808080},
      {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x808080},
      {0x808080, 0x808080, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF},
  };
  if (typePosition < 1 || typePosition > 7 || cls < 1 || cls > 7) return 1;
  return kTable[typePosition - 1][cls - 1];
}

void SumEnterpriseArea(EnterpriseSession& s) {
  s.standCount = 0;
  s.totalArea = 0.0;
  for (std::size_t a = 1; a < s.compartments.size(); ++a) {
    s.standCount += static_cast<int>(s.compartments[a].stands.size());
    s.totalArea += s.compartments[a].area;
  }
}

EnterpriseLabelTexts MakeEnterpriseLabels(const EnterpriseSession& s, int numberWidth, const TranslateFn& tr) {
  EnterpriseLabelTexts t;
  t.bestand = s.captionPrefix + FormatInt(s.number, numberWidth) + s.modeCaption;
  t.flaeche = PadRight(tr("Fläche:"), 13) + FormatFixed(8, 1, s.totalArea) + " ha";
  t.baeume = PadRight(tr("Bestände:"), 13) + FormatInt(s.standCount, 8);
  // Without stands there is no mean to show.
  t.groesse = PadRight(tr("Mittl. Fläche:"), 16) +
              (s.standCount > 0 ? FormatFixed(5, 2, s.totalArea / s.standCount) : std::string("    -")) + " ha";
  return t;
}

}  // namespace tolvek
