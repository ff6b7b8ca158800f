#pragma once
// What a run of repetitions shows: on the main window the histogram of the per-cent deviations of the
// basal-area estimate with the running bias ± one standard deviation of basal area, stem number and
// mean diameter, and the same picture printed with the stand, method and grid data on one page.
#include <array>
#include <string>

#include "common/canvas.h"
#include "common/language.h"
#include "simulator/sampling/repetitions.h"

namespace tolvek {

// The three quantities of a run: 1 basal area, 2 stem number, 3 mean diameter.
inline constexpr int kQuantityBasalArea = 1;
inline constexpr int kQuantityStemNumber = 2;
inline constexpr int kQuantityMeanDiameter = 3;
// German label and row colour of a quantity (index 1 .. 3).
const char* QuantityLabel(int index);
Colour QuantityColour(int index);

// The screen images: ImgRepeat holds the histogram and basal area, ImgRepeatN and ImgRepeatD one row
// each. The histogram's bars need 130 pixels above the axis at H - 38 and below the frame at 70.
inline constexpr int kRepeatImageWidth = 250;  // room right of +25 % (220) for the axis text
inline constexpr int kRepeatImageHeight = 250;
inline constexpr int kRepeatRowHeight = 40;
// Bars above this many pixels make both scales shrink.
inline constexpr int kScreenBarLimit = 130;

// x pixel of a per-cent value on the screen images: -25 % -> 20, 0 -> 120, +25 % -> 220. Values far
// off the axis are still placed by the formula, only kept within what a pixel position can hold.
int DeviationToPixel(double percent);

// One image to draw on and its size.
struct RepeatImage {
  Canvas& canvas;
  int width;
  int height;
};

// Shrinks the screen and print scales when the highest bar would rise above 130 pixels: screen
// 65 / m, print 210 / m pixels per count. They never grow again during a run.
void FitHistogramScales(RunStatistics& stats);

// One quantity's bias line and ± SD bar (red), its label and, from the second repetition on, the
// text of bias, SD and the standard error SD / sqrt(n).
void DrawQuantityResult(int index, RepeatImage image, double sd, double bias, int count,
                        const LanguageTable& language);

// The whole run display after a repetition: the statistics are marked ready, the scales fitted, the
// histogram drawn on ImgRepeat and the three quantity rows.
void DrawDeviationHistogram(RunStatistics& stats, RepeatImage histogram, RepeatImage rowN, RepeatImage rowD,
                            const LanguageTable& language);

// The printed page. Its layout is in 0.1 mm with y negative downwards from the page top, as the stand
// report's (ReportCanvas maps it onto the printer); SetFont's size is the font height in 0.1 mm. The
// unit u is a two-hundredth of the page width.
struct RunPrintInput {
  int pageWidth = 1900;  // 0.1 mm
  int printTop = 70;     // "oben" 70, "mitte" 155, "unten" 240 (in u)
  bool enterpriseMode = false;
  std::string standNumber;
  // Captions of LblBestand, LblFlaeche, LblBaeume, LbBestGroesse, LbModBestande, LblVerfahren,
  // LblRadius, LblGitterAnf, LbAnzStpQ and LbBaumZahlQ.
  std::array<std::string, 10> captions;
  std::string dateTime;  // date, two blanks, time
};

// Where the printed histogram lies (positions with y downwards; the page negates them).
struct RunPrintLayout {
  int u = 10;
  int y0 = 700;  // the axis
  int x0 = 900;  // class -25
  int printTop = 70;
  int count = 0;  // repetitions
};
RunPrintLayout MakeRunPrintLayout(const RunPrintInput& input, int count);

// Pixels per count of the printed bars: the run's print scale, taken smaller where the highest bar
// would rise beyond the frame above the axis.
double PrintedBarScale(const RunStatistics& stats, int u);

// One quantity on the printed page.
void PrintQuantityResult(Canvas& page, const RunPrintLayout& layout, int index, double bias, double sd,
                         const LanguageTable& language);

// The page of the frequency distribution.
void PrintRunResultPage(Canvas& page, const RunPrintInput& input, const RunStatistics& stats,
                        const LanguageTable& language);

}  // namespace tolvek
