#include "simulator/sampling/method.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/rounding.h"
#include "simulator/translate.h"

namespace tolvek {

const std::array<const char*, kNTreeVariants + 1> kNTreeVariantCaptions = {
    "",
    "(1) Prodan: keine Korrektur",
    "(2) OXV: Standfl.- Korrektur",
    "(3) OXV: Flächenkorrektur 5% ",
    "(4) OXV: doppelte Stp +5%",
    "(5) Kleinn:  (Kn +Kn+1)/2",
    "(6)OXV:  klassisch +14 cm",
    "(7) Suzuki/Sloboda",
    "(8)  Prodan / Suzuki ",
};

const std::array<ConcentricCirclePreset, 5> kConcentricPresets = {{
    {"Arvenland", "AV", 3, {"10.0", "15.0", "30.0", "", ""}, {" 3.0", " 6.0", "12.0", "", ""}},
    {"Velmark", "VK", 3, {" 7.0", "20.0", "30.0", "", ""}, {"5.64", " 7.98", "12.62", "", ""}},
    {"Torvenhald", "TV", 3, {"12.0", "36.0", "50.0", "", ""}, {"8.0", "12.0", "20.0", "", ""}},
    {"Ruskaria", "RK", 5, {" 7.0", "10.0", "20.0", "30.0", "50.0"}, {" 2.5", " 5.0", "10.0", "15.0", "25.0"}},
    {"freie Wahl", "nn", 5, {" 7.0", "10.0", "20.0", "30.0", "40.0"}, {"   ", "   ", "   ", "   ", "   "}},
}};

namespace {

constexpr std::size_t kMaxNameChars = 80;

std::string MethodTitle(const LanguageTable& lang, const char* german) {
  return Utf8Left(Translate(lang, german), kMaxNameChars);
}

// Sets the code and name of a method whose dialog is about to open.
void Begin(MethodSettings& m, const LanguageTable& lang, MethodCode code, const char* german) {
  m.name = MethodTitle(lang, german);
  m.parameterLine.clear();
  m.code = code;
}

bool Finite(double v) { return std::isfinite(v); }

}  // namespace

bool IsSamplingMethod(int code) {
  return code == kMethodNTree || code == kMethodFixedCircle || code == kMethodAngleCount ||
         code == kMethodConcentric;
}

void ConfirmChoice(MethodSettings& m) { m.confirmed = static_cast<const MethodChoice&>(m); }

void RestoreConfirmedChoice(MethodSettings& m) {
  if (m.confirmed) {
    static_cast<MethodChoice&>(m) = *m.confirmed;
    return;
  }
  m.code = kMethodNone;
  m.name.clear();
  m.parameterLine.clear();
}

void ClearMethod(MethodSettings& m) {
  m.code = kMethodNone;
  m.name.clear();
  m.parameterLine.clear();
  m.confirmed.reset();
}

std::string MethodLetter(int code) {
  switch (code) {
    case kMethodNTree: return "N";
    case kMethodFixedCircle: return "V";
    case kMethodAngleCount: return "W";
    case kMethodConcentric: return "K";
    default: return "";
  }
}

// ---- the largest plot ----

PlotSizeLimit LargestPlot(double boxArea) {
  PlotSizeLimit l;
  l.area = Finite(boxArea) && boxArea > 0.0 ? std::min(boxArea, kLargestPlotArea) : kLargestPlotArea;
  l.radius = std::sqrt(l.area / kCirclePi);
  return l;
}

double BoundingBoxArea(int n, const double* x, const double* y) {
  if (n < 2 || x == nullptr || y == nullptr) return 0.0;
  double minX = x[1], maxX = x[1], minY = y[1], maxY = y[1];
  for (int i = 2; i <= n; ++i) {
    minX = std::min(minX, x[i]);
    maxX = std::max(maxX, x[i]);
    minY = std::min(minY, y[i]);
    maxY = std::max(maxY, y[i]);
  }
  const double area = (maxX - minX) * (maxY - minY);
  return Finite(area) ? area : 0.0;
}

Outcome PlotTooLarge(const LanguageTable& lang, double radius, const PlotSizeLimit& limit) {
  // Compared by radius, with the limit's radius shown to two places: a radius typed as shown is taken.
  const double largest = std::floor(limit.radius * 100.0) / 100.0;
  if (Finite(radius) && radius <= largest) return {};
  return Problem{Translate(lang, "Probekreis zu groß für den Bestand. Größter Radius:") + " " +
                     FormatFixed(0, 2, largest) + " m (" + FormatFixed(0, 0, largest * largest * kCirclePi) + " " +
                     Translate(lang, "qm") + ")",
                 ""};
}

// ---- n-tree sample ----

void BeginNTree(MethodSettings& m, const LanguageTable& lang) {
  Begin(m, lang, kMethodNTree, "N-Baum Stichprobe");
  m.treeNumber = 6;
}

Outcome CheckNTree(int n, int variant, double understoreyDbh, double understoreyRadius) {
  if (n < 2 || n > 7) return Problem{"Baumzahl nur von 2 bis 7 möglich", ""};
  if (variant < 1 || variant > kNTreeVariants) return Problem{"Bitte eine Variante wählen", ""};
  if (variant == 4) {
    if (!Finite(understoreyDbh) || understoreyDbh < 0.0 || understoreyDbh > 20.0 || !Finite(understoreyRadius) ||
        understoreyRadius < 0.0 || understoreyRadius > 6.0)
      return Problem{"Grenzwerte für den Unterstand ungültig", ""};
  }
  return {};
}

std::string NTreeParameterLine(const MethodSettings& m, const LanguageTable& lang) {
  std::string line = Translate(lang, "Baumzahl") + ":" + FormatInt(m.treeNumber, 2) + "  " +
                     Translate(lang, "Variante") + ": " + FormatInt(m.variant, 1);
  if (m.variant == 4)
    line += "/" + FormatFixed(2, 0, m.understoreyDbhLimit) + "/" + FormatFixed(1, 0, m.understoreyRadius);
  return line;
}

bool ConfirmNTree(MethodSettings& m, const LanguageTable& lang, int n, int variant, double understoreyDbh,
                  double understoreyRadius) {
  m.code = kMethodNTree;
  m.treeNumber = n;
  m.variant = static_cast<NTreeVariant>(variant);
  m.understoreyDbhLimit = 0.0;
  // The understorey list only belongs to variant 4: a radius left from an earlier variant-4 choice
  // must not put understorey trees into another variant's plots.
  m.understoreyRadius = 0.0;
  if (variant == 4) {
    m.understoreyDbhLimit = understoreyDbh;
    m.understoreyRadius = understoreyRadius;
  }
  m.understoreyRadiusSq = m.understoreyRadius * m.understoreyRadius;
  if (m.name.empty()) m.name = MethodTitle(lang, "N-Baum Stichprobe");
  m.parameterLine = NTreeParameterLine(m, lang);
  ConfirmChoice(m);
  return n != 6 && variant == 6;
}

// ---- fixed-area circles ----

void BeginFixedCircle(MethodSettings& m, const LanguageTable& lang) {
  Begin(m, lang, kMethodFixedCircle, "Vollkreise");
  m.circleArea = 500.0;
  m.circleRadius = std::sqrt(m.circleArea / kCirclePi);
}

double AreaOfRadiusText(std::string_view radiusText) {
  const double r = TextToReal(radiusText);
  return r * r * kCirclePi;
}

std::string RadiusAreaCaption(std::string_view radiusText) { return FormatFixed8_2(AreaOfRadiusText(radiusText)); }

Outcome CheckFixedCircleArea(double area) {
  if (!Finite(area) || area <= 0.0)
    return Problem{"Bitte einen positiven Radius oder eine positive Fläche eingeben", ""};
  return {};
}

std::string FixedCircleParameterLine(const MethodSettings& m, const LanguageTable& lang) {
  return PadRight(Translate(lang, "Kreisfläche:"), 16) + FormatFixed(5, 0, m.circleArea) + " " + Translate(lang, "qm");
}

Outcome ConfirmFixedCircle(MethodSettings& m, const LanguageTable& lang, double area) {
  if (Outcome checked = CheckFixedCircleArea(area); !checked.ok()) return checked;
  m.code = kMethodFixedCircle;
  if (m.name.empty()) m.name = MethodTitle(lang, "Vollkreise");
  m.circleArea = area;
  m.circleRadius = std::sqrt(area / kCirclePi);
  m.parameterLine = FixedCircleParameterLine(m, lang);
  ConfirmChoice(m);
  return {};
}

// ---- angle-count sampling ----

void BeginAngleCount(MethodSettings& m, const LanguageTable& lang) {
  Begin(m, lang, kMethodAngleCount, "Winkelzählprobe WZP");
  m.countingFactor = 4;
  m.countingMode = 1;
}

Outcome CheckAngleCount(int factor, int countingMode) {
  if (factor != 1 && factor != 2 && factor != 4) return Problem{"Bitte Zählbreite 1, 2 oder 4 wählen", ""};
  if (countingMode != 0 && countingMode != 1) return Problem{"Bitte Zählbreite 1, 2 oder 4 wählen", ""};
  return {};
}

std::string AngleCountParameterLine(const MethodSettings& m, const LanguageTable& lang) {
  const std::string mode = m.countingMode == 1 ? std::string("normal") : Utf8Left(Translate(lang, "zählen"), 6);
  return Translate(lang, "Zählbreite") + ": " + FormatInt(m.countingFactor, 0) + " " + mode;
}

Outcome ConfirmAngleCount(MethodSettings& m, const LanguageTable& lang, int factor, int countingMode) {
  if (Outcome checked = CheckAngleCount(factor, countingMode); !checked.ok()) return checked;
  m.code = kMethodAngleCount;
  if (m.name.empty()) m.name = MethodTitle(lang, "Winkelzählprobe WZP");
  m.countingFactor = static_cast<std::uint8_t>(factor);
  m.countingMode = static_cast<std::uint8_t>(countingMode);
  m.parameterLine = AngleCountParameterLine(m, lang);
  ConfirmChoice(m);
  return {};
}

// ---- concentric circles ----

const ConcentricCirclePreset* FindConcentricPreset(std::string_view region) {
  for (const auto& p : kConcentricPresets)
    if (region == p.region) return &p;
  return nullptr;
}

ConcentricTexts PresetTexts(const ConcentricCirclePreset& preset) {
  ConcentricTexts t;
  for (int i = 0; i < 5; ++i) {
    t.dbh[i] = preset.dbhText[i];
    t.radius[i] = preset.radiusText[i];
  }
  t.count = preset.count;
  t.region = preset.region;
  return t;
}

void BeginConcentric(MethodSettings& m, const LanguageTable& lang) {
  Begin(m, lang, kMethodConcentric, "Konzentr. Kreise");
}

int ConcentricCount(const ConcentricTexts& texts) {
  int count = texts.count;
  if (count > kMaxConcentricCircles) count = kMaxConcentricCircles;
  // Each empty circle lowers the count below it; a text left in a hidden field never adds a circle.
  if (TextToReal(texts.dbh[4]) <= 0.0 && count > 4) count = 4;
  if (TextToReal(texts.dbh[3]) <= 0.0 && count > 3) count = 3;
  if (TextToReal(texts.dbh[2]) <= 0.0 && count > 2) count = 2;
  return count;
}

Outcome CheckConcentric(const ConcentricTexts& texts) {
  const int count = ConcentricCount(texts);
  if (count < 2) return Problem{"Bitte mindestens zwei Kreise festlegen", ""};
  double lastRadius = 0.0;
  for (int i = 0; i < count; ++i) {
    const std::optional<double> r = ParseReal(texts.radius[i]);
    if (!r || !Finite(*r) || *r <= 0.0) return Problem{"Bitte für jeden Kreis einen positiven Radius eingeben", ""};
    if (*r <= lastRadius) return Problem{"Die Radien müssen von Kreis zu Kreis zunehmen", ""};
    lastRadius = *r;
    // A dbh text that is no number is a limit of 0 cm; limits in any order give a sound ring look-up
    // (a circle whose limit is not above an inner one's merely takes that circle's trees). Only a
    // negative limit, which names no diameter, is refused.
    if (TextToReal(texts.dbh[i]) < 0.0) return Problem{"Bitte für jeden Kreis eine BHD-Grenze eingeben", ""};
  }
  return {};
}

std::string ConcentricParameterLine(const MethodSettings& m) {
  return "max. Radius" + FormatFixed(7, 2, m.concentricRadius[m.circleCount]) + " m";
}

Outcome ConfirmConcentric(MethodSettings& m, const LanguageTable& lang, const ConcentricTexts& texts) {
  if (Outcome checked = CheckConcentric(texts); !checked.ok()) return checked;
  const int count = ConcentricCount(texts);
  m.code = kMethodConcentric;
  m.circleCount = static_cast<std::uint8_t>(count);
  const int read = count > 3 ? 5 : 3;
  for (int i = 1; i <= read; ++i) {
    const double d = TextToReal(texts.dbh[i - 1]);
    const long long rounded = RoundHalfEven(d);
    m.concentricDbhLimit[i] = static_cast<std::uint16_t>(rounded < 0 ? 0 : (rounded > 65535 ? 65535 : rounded));
    m.concentricRadius[i] = TextToReal(texts.radius[i - 1]);
  }
  // Circles beyond the count are not part of this choice.
  for (int i = count + 1; i <= kMaxConcentricCircles; ++i) {
    if (i > read) {
      m.concentricDbhLimit[i] = 0;
      m.concentricRadius[i] = 0.0;
    }
  }
  m.circleCount16 = static_cast<std::uint16_t>(count);
  m.circleArea = m.concentricRadius[count];
  m.regionCode = texts.region;
  m.name = MethodTitle(lang, "Konzentr. Kreise") + " " + texts.region;
  m.parameterLine = ConcentricParameterLine(m);
  ConfirmChoice(m);
  return {};
}

std::string ConcentricCalliperNotice(const MethodSettings& m, const LanguageTable& lang, double calliperThreshold) {
  const double first = m.concentricDbhLimit[1];
  if (std::fabs(first - calliperThreshold) <= 0.1) return std::string();
  std::string text = Translate(lang, "Kluppschwelle:") + FormatFixed(5, 1, calliperThreshold) + " cm" + "\r";
  text += first > calliperThreshold ? Translate(lang, "Kleinster BHD oberhalb der Kluppschwelle")
                                    : Translate(lang, "Kleinster BHD kleiner als Kluppschwelle");
  return text;
}

}  // namespace tolvek
