#include "simulator/views/stand_report.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/rounding.h"
#include "simulator/state.h"
#include "simulator/translate.h"

namespace tolvek {

ReportBox PlaceReportBox(const ReportPage& page, int clientWidth, int clientHeight) {
  ReportBox b;
  const double rPage = static_cast<double>(std::max(page.widthMm, 1)) / std::max(page.heightMm, 1);
  const int cw = std::max(clientWidth - 35, 1);
  const int ch = std::max(clientHeight - 10, 1);
  const double rClient = static_cast<double>(cw) / ch;
  if (rClient >= rPage) {
    b.height = clientHeight + 180;
    b.width = RoundInt(b.height * rPage);
    b.left = RoundInt(clientWidth / 2.0 - b.width / 2.0);
    b.top = 10;
  } else {
    b.width = clientWidth - 20;
    b.height = RoundInt(b.width / rPage);
    b.top = RoundInt(clientHeight / 2.0 + 8 - b.height / 2.0);
    b.left = 35;
  }
  return b;
}

std::string ExpectedVcText(const ExpectedVcTable& table, const MethodChoice& method, bool enterpriseMode,
                           const std::string& standNumberText) {
  int column = 0;
  if (method.code == kMethodFixedCircle) {
    if (method.circleArea == 500.0) column = 1;
    else if (method.circleArea == 100.0) column = 2;
  } else if (method.code == kMethodAngleCount) {
    if (method.countingFactor == 4) column = 3;
    else if (method.countingFactor == 2) column = 4;
  } else if (method.code == kMethodConcentric && method.regionCode == "AV") {
    column = 5;
  }
  std::string text = "  -  ";
  if (enterpriseMode || column == 0) return text;
  const auto number = ParseInt(TrimSpaces(standNumberText));
  if (!number) return text;
  const ExpectedVcRow* row = nullptr;
  for (const auto& r : table.rows)
    if (r.standNumber == *number) {
      row = &r;
      break;
    }
  if (!row) return text;
  return Utf8Left(FormatFixed(5, 1, static_cast<double>(row->vc[static_cast<std::size_t>(column - 1)])), 5);
}

StandReportInput MakeStandReportInput(const SimulatorState& state, const ReportPage& page) {
  StandReportInput in;
  in.page = page;
  const CurrentStand& stand = state.currentStand;
  in.standNumber = stand.files.numberText;
  in.standCaption = stand.name;
  in.areaHa = stand.areaHa;
  in.standTrees = stand.TreeCount();
  in.speciesList = stand.speciesList;
  in.method = state.sampling.method;
  in.passMethod = state.sampling.method.passCode;
  in.gridSpacing = state.sampling.grid.dx;
  in.originX = state.sampling.grid.originX;
  in.originY = state.sampling.grid.originY;
  in.calliperThreshold = state.calliper.lower;
  in.expectedVc = ExpectedVcText(state.expectedVc, in.method, state.run.enterpriseMode, stand.files.numberText);
  in.estimate = state.evaluation.estimate;
  return in;
}

namespace {

constexpr const char* kArial = "Arial";
constexpr const char* kCourier = "Courier new";

class ReportWriter {
 public:
  ReportWriter(Canvas& c, const LanguageTable& l) : c_(c), lang_(l) {}
  std::string T(const char* german) const { return Translate(lang_, german); }
  void Font(const char* family, int height) {
    family_ = family;
    height_ = height;
    c_.SetFont(family_, height_, kBlack, bold_);
  }
  // Style 0 normal, 1 bold (italic is drawn upright: no report line uses it).
  void Text(int style, int x, const std::string& text, int y) {
    const bool bold = style == 1;
    if (bold != bold_) {
      bold_ = bold;
      c_.SetFont(family_, height_, kBlack, bold_);
    }
    c_.Text(x, y, text);
  }

 private:
  Canvas& c_;
  const LanguageTable& lang_;
  std::string family_ = kArial;
  int height_ = 50;
  bool bold_ = false;
};

}  // namespace

void DrawStandReport(Canvas& c, const StandReportInput& in, const LanguageTable& language) {
  ReportWriter w(c, language);
  const SampleEstimate& e = in.estimate;
  const TrueStandValues& truth = e.truth;
  const int pw = in.page.widthMm * 10, ph = in.page.heightMm * 10;

  // The page, white on white.
  c.SetPen(kWhite);
  c.SetBrush(kWhite);
  c.Rectangle(0, 0, pw, -ph);
  c.SetPen(kBlack);
  c.SetBrush(kWhite, BrushStyle::Clear);

  w.Font(kArial, 75);
  w.Text(0, 720, w.T("Bestandesinventur"), -160);
  w.Font(kArial, 55);
  w.Text(0, 720, w.T("Bestandeswerte"), -260);

  c.Rectangle(160, -400, 1900, -720);
  c.Line(160, -470, 1900, -470);
  c.Line(800, -400, 800, -720);
  c.Line(1300, -400, 1300, -720);
  w.Font(kArial, 50);

  w.Text(1, 166, Utf8Left("(" + in.standNumber + ") " + in.standCaption, 36), -408);
  w.Text(1, 830, in.method.name, -408);
  w.Text(1, 1350, w.T("Netzdichte"), -408);

  const double area = in.areaHa;
  w.Text(0, 185, w.T("Fläche:") + "       " + FormatFixed(7, 2, area) + " ha", -488);
  w.Text(0, 830, in.method.parameterLine, -488);
  w.Text(0, 1350, w.T("Gitterabstand:") + FormatInt(in.gridSpacing, 5) + " m", -488);

  const int treesPerHa = area > 0.0 ? RoundInt(in.standTrees / area) : 0;
  w.Text(0, 185, w.T("Bäume/ha:") + FormatInt(treesPerHa, 8), -552);
  w.Text(0, 830, w.T("Stichproben:") + FormatInt(e.plotCount, 9), -552);
  w.Text(0, 1350,
         w.T("Erster Punkt:") + " " + FormatInt(in.originX + in.gridSpacing, 4) + "/" +
             FormatInt(in.originY + in.gridSpacing, 3) + " m",
         -552);

  w.Text(0, 185, w.T("Kluppschwelle:") + FormatFixed(4, 0, in.calliperThreshold) + " cm", -616);
  w.Text(0, 830, w.T("Probebäume:") + FormatInt(e.sampleTreeTotal, 8), -616);

  if (in.passMethod == kMethodNTree) {
    w.Text(0, 185, w.T("Überschreitet die Entfernung zum n-ten Baum 12m, wird ein 12m Vollkreis verwendet"), -730);
  } else if (in.passMethod == kMethodConcentric) {
    const double limit = in.method.concentricDbhLimit[1];
    if (std::fabs(limit - in.calliperThreshold) > 0.1) {
      w.Text(0, 185,
             limit > in.calliperThreshold ? w.T("Kleinster BHD oberhalb der Kluppschwelle")
                                          : w.T("Kleinster BHD kleiner als Kluppschwelle"),
             -730);
    }
  }
  // The cost texts mark a line break with "#" like the messages do; a report shows no "#".
  {
    const std::size_t mark = e.costText.find('#');
    if (mark == std::string::npos) {
      w.Text(0, 185, e.costText, -784);
    } else {
      std::string second = e.costText.substr(mark + 1);
      if (!second.empty() && second.front() == ' ') second.erase(0, 1);
      std::string first = e.costText.substr(0, mark);
      while (!first.empty() && first.back() == ' ') first.pop_back();
      w.Text(0, 185, first, -784);
      w.Text(0, 185, second, -834);
    }
  }

  // The table.
  c.Rectangle(160, -1100, 1900, -1385);
  c.Rectangle(160, -1250, 1900, -1251);
  w.Font(kArial, 55);
  w.Text(0, 450, w.T("Bestandeswerte je ha"), -1110);
  w.Text(0, 1370, w.T("Fehlerrechnung"), -1110);
  w.Font(kArial, 45);
  w.Text(0, 280, "- " + w.T("Stichprobe (fett)") + " " + w.T("und Vollaufnahme (normal)") + " -", -1180);
  w.Text(0, 1410, "- " + w.T("Grundfläche") + " -", -1180);

  w.Text(0, 200, w.T("Baumart"), -1270);
  w.Text(0, 355, "  " + w.T("Baumzahl"), -1270);
  w.Text(0, 570, "  " + w.T("Grundfläche"), -1270);
  w.Text(0, 835, "   " + w.T("BH-Durchmesser"), -1270);
  w.Text(0, 1170, "   " + w.T("Standard-"), -1270);
  w.Text(0, 1375, w.T("Variations-"), -1270);
  w.Text(0, 1590, w.T("Standard-Fehler"), -1270);
  w.Text(0, 690, w.T("qm"), -1320);
  w.Text(0, 850, w.T("Mittelwert") + "    VC%", -1320);
  w.Text(0, 1200, w.T("abweich."), -1320);
  w.Text(0, 1380, w.T("koeffizient"), -1320);
  w.Text(0, 1590, "  " + w.T("qm"), -1320);
  w.Text(0, 1750, "  %", -1320);

  const bool countingMode = in.passMethod == kMethodAngleCount && in.method.countingMode == 0;
  bool expectedShown = false;
  int k = 0;
  for (int i = 1; i <= 10; ++i) {
    const int s = i % 10;
    const std::size_t si = static_cast<std::size_t>(s);
    if (!(truth.treeCount[si] + e.nPerHa[si] > 0.0)) continue;
    ++k;
    const int y = s == 0 ? -(1370 + 60 * k) : -(1350 + 60 * k);
    w.Font(kArial, 44);
    w.Text(0, 185, Translate(language, SpeciesNameTable::Name(s, in.speciesList)), y);
    w.Font(kCourier, 44);

    const double nHat = e.nPerHa[si];
    const double gHat = e.gPerHa[si];
    w.Text(1, 320, nHat > 0.0 ? FormatFixed(6, 0, nHat) : "     - ", y);
    const double trueN = area > 0.0 ? truth.treeCount[si] / area : 0.0;
    w.Text(0, 422, FormatFixed(6, 0, trueN), y);
    w.Text(1, 570, FormatFixed(5, 1, gHat), y);
    w.Text(0, 647, FormatFixed(7, 1, area > 0.0 ? truth.basalArea[si] / area : 0.0), y);

    std::string meanD = "    - ";
    if (nHat > 0.0 && gHat >= 0.0) meanD = FormatFixed(6, 1, std::sqrt(kFourOverPi * gHat / nHat) * 100.0);
    w.Text(1, 800, meanD, y);

    double trueD = 0.0;
    if (trueN >= 0.01 && truth.treeCount[si] > 0 && truth.basalArea[si] >= 0.0)
      trueD = std::sqrt(kFourOverPi * truth.basalArea[si] / truth.treeCount[si]) * 100.0;
    w.Text(0, 920, truth.treeCount[si] < 3 ? "    - " : FormatFixed(6, 1, trueD), y);

    double dbhVc = 0.0;
    const int n = e.treeCounter[si];
    if (trueD > 0.01 && e.sampleTrees[si] > 0.1 && !countingMode && n > 0) {
      const double mean = e.dbhSum[si] / n;
      const double var = e.dbhSquareSum[si] / n - mean * mean;
      if (mean > 0.0) dbhVc = std::sqrt(std::max(var, 0.0)) * 100.0 / mean;
    }
    w.Text(1, 1015, dbhVc > 0.1 ? FormatFixed(6, 0, dbhVc) : "     -", y);

    const double sd = e.basalArea.sd[si];
    const double vc = e.basalArea.vc[si];
    const double se = e.basalArea.se[si];
    w.Text(1, 1156, sd > 0.1 ? FormatFixed(6, 1, sd) : "     -", y);
    w.Text(1, 1330, vc > 0.1 ? FormatFixed(6, 1, vc) : "    - ", y);
    if (s == 0 && in.expectedVc != "  -  ") {
      w.Text(0, 1465, in.expectedVc + "*", y);
      expectedShown = true;
    } else {
      w.Text(0, 1465, "  - ", y);
    }
    w.Text(1, 1540, se > 0.01 ? FormatFixed(6, 1, se) : "    - ", y);
    w.Text(1, 1720, se > 0.01 ? FormatFixed(6, 1, e.basalArea.sePercent[si]) : "    - ", y);
  }

  c.Rectangle(160, -1240, 1900, -(60 * k + 1430));
  c.Line(1180, -1100, 1180, -(60 * k + 1430));
  c.Rectangle(160, -1100, 1900, -(60 * (k - 1) + 1410));

  if (expectedShown) {
    w.Font(kArial, 42);
    w.Text(0, 160,
           "* -" + w.T("Erwartungswert des Variationskoeff.") + " (" + w.T("nur") + " WZP2/4, " + w.T("Vollkreise") +
               " 100/500m², " + w.T("konz. Kreise") + " AV" + ")",
           -(60 * (k + 1) + 1380));
  }
}

// ---- mapping onto a device ----

ReportCanvas::ReportCanvas(Canvas& target, double sx, double sy, int left, int top)
    : target_(target), sx_(sx), sy_(sy), left_(left), top_(top) {}

int ReportCanvas::X(int x) const { return left_ + RoundInt(x * sx_); }
int ReportCanvas::Y(int y) const { return top_ + RoundInt(-y * sy_); }

void ReportCanvas::SetPen(Colour colour, int width, PenStyle style) {
  target_.SetPen(colour, width <= 1 ? width : std::max(1, RoundInt(width * sx_)), style);
}
void ReportCanvas::SetBrush(Colour colour, BrushStyle style) { target_.SetBrush(colour, style); }
void ReportCanvas::SetFont(const std::string& family, int heightUnits, Colour colour, bool bold) {
  // The height is the cell height; the em of Arial is 0.87 of it. Fonts standing in for Arial run
  // wider, so the em is taken a little smaller to keep the columns apart. The device canvas takes
  // points at 96 pixels per inch.
  const double pixels = heightUnits * sy_ * 0.8;
  target_.SetFont(family, std::max(1, RoundInt(pixels * 72.0 / 96.0)), colour, bold);
}
void ReportCanvas::Line(int x1, int y1, int x2, int y2) { target_.Line(X(x1), Y(y1), X(x2), Y(y2)); }
void ReportCanvas::Rectangle(int x1, int y1, int x2, int y2) { target_.Rectangle(X(x1), Y(y1), X(x2), Y(y2)); }
void ReportCanvas::Ellipse(int x1, int y1, int x2, int y2) { target_.Ellipse(X(x1), Y(y1), X(x2), Y(y2)); }
void ReportCanvas::Polygon(const std::vector<CanvasPoint>& points) {
  std::vector<CanvasPoint> p;
  for (const auto& q : points) p.push_back({X(q.x), Y(q.y)});
  target_.Polygon(p);
}
void ReportCanvas::Polyline(const std::vector<CanvasPoint>& points) {
  std::vector<CanvasPoint> p;
  for (const auto& q : points) p.push_back({X(q.x), Y(q.y)});
  target_.Polyline(p);
}
void ReportCanvas::Text(int x, int y, const std::string& text) { target_.Text(X(x), Y(y), text); }
int ReportCanvas::TextWidth(const std::string& text) {
  return sx_ > 0.0 ? RoundInt(target_.TextWidth(text) / sx_) : 0;
}
int ReportCanvas::TextHeight(const std::string& text) {
  return sy_ > 0.0 ? RoundInt(target_.TextHeight(text) / sy_) : 0;
}
void ReportCanvas::Pixel(int x, int y, Colour colour) { target_.Pixel(X(x), Y(y), colour); }
void ReportCanvas::FloodFill(int x, int y, Colour border) { target_.FloodFill(X(x), Y(y), border); }

}  // namespace tolvek
