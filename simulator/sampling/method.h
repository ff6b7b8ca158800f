#pragma once
// The sampling method and its parameters. The method dialogs fill these fields through the Confirm*
// functions below, which check the input first: a dialog whose input is refused stays open with the
// message, and "zurück" in a parameter dialog brings back the last confirmed choice (or none), so a
// method code never stands without the parameters it needs.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/circle_pi.h"
#include "common/language.h"
#include "common/problem.h"

namespace tolvek {

// One byte; concentric circles are 52, not 4.
enum MethodCode : std::uint8_t {
  kMethodNone = 0,
  kMethodNTree = 1,
  kMethodFixedCircle = 2,
  kMethodAngleCount = 3,
  kMethodConcentric = 52,
};

// True for 1, 2, 3 and 52.
bool IsSamplingMethod(int code);

// n-tree estimator variant 1..8 (the estimators themselves belong to the evaluation).
using NTreeVariant = std::uint8_t;
inline constexpr int kNTreeVariants = 8;
// Captions of the variant radio buttons, index 1..8 (index 0 empty).
extern const std::array<const char*, kNTreeVariants + 1> kNTreeVariantCaptions;

enum class WeightingMode : std::uint8_t { PlotCentred = 0, TreeCentred = 1 };

inline constexpr int kMaxConcentricCircles = 5;

// What a method choice consists of: the part that "zurück" restores as a whole.
struct MethodChoice {
  MethodCode code = kMethodNone;
  std::string name;           // translated, at most 80 characters; concentric: + " " + region code
  std::string parameterLine;  // the line shown under the name
  // n-tree sample
  int treeNumber = 6;                  // n, 2..7
  NTreeVariant variant = 1;            // 1..8
  double understoreyDbhLimit = 0.0;    // cm, variant 4 only
  double understoreyRadius = 0.0;      // m, variant 4 only
  double understoreyRadiusSq = 0.0;    // m²
  // angle count
  std::uint8_t countingFactor = 4;     // 1, 2 or 4
  std::uint8_t countingMode = 1;       // 1 normal, 0 counting ("zählen")
  // fixed circles: area in m² and its radius; concentric circles: circleArea holds the largest radius
  double circleArea = 500.0;
  double circleRadius = 0.0;
  // concentric circles, index 1..count (radius slot 6 exists but is not used)
  std::array<double, 7> concentricRadius{};
  std::array<std::uint16_t, 6> concentricDbhLimit{};
  std::uint8_t circleCount = 0;        // 2..5
  std::uint16_t circleCount16 = 0;     // the same count, as the evaluation reads it
  std::string regionCode;              // "AV", "VK", "TV", "RK" or "nn"
};

// Program-wide: the current choice plus the fields other parts set.
struct MethodSettings : MethodChoice {
  MethodCode passCode = kMethodNone;   // copy taken by each inventory pass at its start
  int cornersPerCircle = 36;
  WeightingMode weighting = WeightingMode::PlotCentred;
  // The last choice the user confirmed with "weiter"; none before the first.
  std::optional<MethodChoice> confirmed;
};

// "weiter" of a parameter dialog: the current choice becomes the confirmed one.
void ConfirmChoice(MethodSettings& m);
// "zurück" of a parameter dialog: back to the last confirmed choice, or to no method at all.
void RestoreConfirmedChoice(MethodSettings& m);
// "zurück" of the method window: no method, nothing confirmed, both texts empty.
void ClearMethod(MethodSettings& m);

// Decision-hint key of a method: 1 "N", 2 "V", 3 "W", 52 "K", else empty.
std::string MethodLetter(int code);
// The stored method name (the evaluation's title).
inline const std::string& MethodName(const MethodSettings& m) { return m.name; }

// The checks below accept the input or give the German message to show (translated by the caller,
// which leaves its dialog open); the input names no file, so `where` stays empty.

// ---- the largest plot ----
// A plot larger than the stand's bounding box is of no use: nearly every point's circle reaches far
// beyond the stand and fails the edge correction. The largest plot a user may type is a circle of the
// bounding box's area (boxArea, m²; 0 when no stand is at hand), and never more than the area fields
// hold (99999 m²).
struct PlotSizeLimit {
  double area = 0.0;    // m²
  double radius = 0.0;  // m, of a circle of that area
};
inline constexpr double kLargestPlotArea = 99999.0;
PlotSizeLimit LargestPlot(double boxArea);
// The area of the bounding box of corners 1..n (0 for fewer than two or corners that are no numbers).
double BoundingBoxArea(int n, const double* x, const double* y);
// Accepted when a circle of that radius fits the limit, else the message that names the largest radius
// and area allowed. It carries figures, so it is translated here: the window shows it as it stands.
Outcome PlotTooLarge(const LanguageTable& lang, double radius, const PlotSizeLimit& limit);

// ---- n-tree sample ----
// The radio handler's start: name "N-Baum Stichprobe", code 1, n := 6.
void BeginNTree(MethodSettings& m, const LanguageTable& lang);
// "weiter" of the n-tree dialog (and of the understorey dialog for variant 4). n 2..7, variant 1..8;
// the understorey values count for variant 4 only (dbh limit 0..20 cm, radius 0..6 m).
Outcome CheckNTree(int n, int variant, double understoreyDbh, double understoreyRadius);
// Stores the values, builds the parameter line and confirms. Returns true when the platform notice
// "Nur für 6-Baum Stichprobr geeignet" is due (variant 6 with n other than 6; the choice stays).
bool ConfirmNTree(MethodSettings& m, const LanguageTable& lang, int n, int variant, double understoreyDbh,
                  double understoreyRadius);
std::string NTreeParameterLine(const MethodSettings& m, const LanguageTable& lang);

// ---- fixed-area circles ----
// The radio handler's start: name "Vollkreise", code 2, area 500 m², radius from it.
void BeginFixedCircle(MethodSettings& m, const LanguageTable& lang);
// The area a typed radius text stands for (r × r × π; 0 for a text that is no number), as the dialog
// shows it at once on every change of the radius field.
double AreaOfRadiusText(std::string_view radiusText);
// The caption of the button that shows the area of the typed radius.
std::string RadiusAreaCaption(std::string_view radiusText);
Outcome CheckFixedCircleArea(double area);
// Stores the area (and the radius from it), builds the parameter line and confirms; a refused area
// changes nothing.
Outcome ConfirmFixedCircle(MethodSettings& m, const LanguageTable& lang, double area);
std::string FixedCircleParameterLine(const MethodSettings& m, const LanguageTable& lang);

// ---- angle-count sampling ----
// The radio handler's start: name "Winkelzählprobe WZP", code 3, factor 4, normal mode.
void BeginAngleCount(MethodSettings& m, const LanguageTable& lang);
Outcome CheckAngleCount(int factor, int countingMode);
Outcome ConfirmAngleCount(MethodSettings& m, const LanguageTable& lang, int factor, int countingMode);
std::string AngleCountParameterLine(const MethodSettings& m, const LanguageTable& lang);

// ---- concentric circles ----
struct ConcentricCirclePreset {
  const char* caption;
  const char* region;
  int count;
  std::array<const char*, 5> dbhText;
  std::array<const char*, 5> radiusText;
};
// "Arvenland", "Velmark", "Torvenhald", "Ruskaria", "freie Wahl" (buttons 2, 3, 4, 5, 1).
extern const std::array<ConcentricCirclePreset, 5> kConcentricPresets;
const ConcentricCirclePreset* FindConcentricPreset(std::string_view region);

// The texts of the concentric dialog: dbh and radius of circles 1..5 (index 0..4), the count and the
// region code the last preset set. The fields of circles 4 and 5 keep their texts while hidden.
struct ConcentricTexts {
  std::array<std::string, 5> dbh;
  std::array<std::string, 5> radius;
  int count = 3;
  std::string region = "AV";
};
ConcentricTexts PresetTexts(const ConcentricCirclePreset& preset);
// The radio handler's start: name "Konzentr. Kreise", code 52.
void BeginConcentric(MethodSettings& m, const LanguageTable& lang);
// The count the dialog's texts give: an empty or zero dbh text of circle 5, 4 or 3 lowers the count
// below that circle. It never raises the count, so a stale text in a hidden field cannot add a circle.
int ConcentricCount(const ConcentricTexts& texts);
// Radii 1..count must be positive numbers and grow from circle to circle. A dbh text that is no number
// counts as 0 cm; only a negative dbh limit is refused.
Outcome CheckConcentric(const ConcentricTexts& texts);
// Stores count, dbh limits (rounded to whole cm), radii, the largest radius in circleArea, the name with
// its region code and the parameter line; confirms. The problem when the texts are refused (nothing is
// changed then).
Outcome ConfirmConcentric(MethodSettings& m, const LanguageTable& lang, const ConcentricTexts& texts);
std::string ConcentricParameterLine(const MethodSettings& m);
// The calliper notice after confirmation: empty when |dbh limit 1 − threshold| ≤ 0.1, else the text of
// the platform information dialog.
// The threshold is the lower calliper limit of the stand (CalliperLimits::lower).
std::string ConcentricCalliperNotice(const MethodSettings& m, const LanguageTable& lang,
                                     double calliperThreshold);

}  // namespace tolvek
