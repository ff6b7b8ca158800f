#include "simulator/sampling/evaluation.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "common/format.h"
#include "common/paths.h"
#include "common/rounding.h"
#include "simulator/sampling/cost.h"
#include "simulator/translate.h"

namespace tolvek {

const StandingArea kStandingArea[10] = {
    {0.0, 0.0},   {2.85, 195.0}, {1.85, 200.0}, {1.0, 300.0}, {5.0, 200.0},
    {1.3, 300.0}, {1.1, 395.0},  {2.5, 330.0},  {2.5, 330.0}, {2.5, 330.0},
};

namespace {

constexpr double kAreaPi = 3.141592654;

std::size_t Slot(int s) { return static_cast<std::size_t>(s); }

// Species code as the sums book it: 0 (and anything out of range) counts as other broadleaves.
int BookedSpecies(int s) { return s >= 1 && s <= 9 ? s : 9; }

}  // namespace

double SampleEstimate::RunBasalArea(const MethodChoice& m) const {
  if (method == kMethodNTree && m.variant == 8) return variant8.BasalAreaPerHa();
  return gPerHa[0];
}

double SampleEstimate::RunStemNumber(const MethodChoice& m) const {
  if (method == kMethodNTree && m.variant == 8) return variant8.StemsPerHa();
  return nPerHa[0];
}

int DeviationBin(double deviation, double width) {
  if (!(width > 0.0) || !std::isfinite(deviation)) return 0;
  const double q = deviation / width;
  if (q <= -kDeviationBinLimit) return -kDeviationBinLimit;
  if (q >= kDeviationBinLimit) return kDeviationBinLimit;
  return std::clamp(RoundInt(q), -kDeviationBinLimit, kDeviationBinLimit);
}

double NTreePlotArea(int layer, std::span<const SampleTreeRecord> plotTrees, double area, int n, int variant) {
  if (variant == 5) return area;
  int i = 0;
  double sumD2 = 0.0, sumSa = 0.0, dn2 = 0.0, san = 0.0, lastDm = 0.0;
  for (const SampleTreeRecord& t : plotTrees) {
    if (t.layer != layer) continue;
    ++i;
    const int s = BookedSpecies(t.species);
    const double dm = static_cast<double>(t.dbh) * 0.01;
    sumD2 += dm * dm;
    const double sa = kStandingArea[s].a + kStandingArea[s].b * (kAreaPi * dm * dm / 4.0);
    sumSa += sa;
    if (i == n) {
      dn2 = dm * dm;
      san = sa;
    }
    lastDm = dm;
  }
  if (i != n) return area;
  double h = area;
  if (variant != 8) {
    // Trees without a diameter give no correction rather than a division by zero.
    const double denominator = sumD2 - 0.5 * dn2;
    if (denominator > 0.0) h = area * sumD2 / denominator;
  }
  if (variant == 2 && sumSa > 0.0) h = h + 0.35 * area * san / sumSa;
  if (variant == 3 || variant == 4) h = h * 1.05;
  if (variant == 6) {
    const double r = std::sqrt(std::max(h, 0.0) / kAreaPi) + 0.14;
    h = kAreaPi * r * r;
  }
  if (variant == 8) {
    const double r = std::sqrt(std::max(h, 0.0) / kAreaPi) + lastDm * 0.5;
    h = kAreaPi * r * r;
  }
  return h;
}

namespace {

struct PlotValues {
  SpeciesValues g{};
  SpeciesValues n{};
};

class Evaluator {
 public:
  Evaluator(const EvaluationInput& in, SampleEstimate& e) : in_(in), e_(e) {}

  void BookPlots() {
    const bool nTree = in_.passMethod == kMethodNTree;
    const int variant = in_.method.variant;
    plots_.assign(in_.plots.plots.size(), PlotValues{});
    for (std::size_t k = 0; k < in_.plots.plots.size(); ++k) {
      const PlotRecord& p = in_.plots.plots[k];
      const auto trees = in_.plots.TreesOf(p);
      current_ = &plots_[k];
      double mainArea = p.plotArea;
      double underArea = 0.0;
      if (nTree) {
        mainArea = NTreePlotArea(0, trees, p.plotArea, in_.method.treeNumber, variant);
        if (variant == 4) underArea = NTreePlotArea(1, trees, p.secondArea, in_.method.treeNumber, variant);
        if (variant == 8) e_.variant8.plotAreaSum += mainArea;
      }
      if (trees.empty()) {
        BookTree(0, 0.0, 0.0, mainArea, -1.0);
        e_.emptyPlots += 1;
        continue;
      }
      bool first = true;
      for (const SampleTreeRecord& t : trees) {
        double area = t.plotArea;
        if (nTree || in_.passMethod == kMethodNone) area = t.layer == 1 ? underArea : mainArea;
        BookTree(t.species, t.edgeWeight, static_cast<double>(t.dbh), area, t.distance);
        if (first && nTree && variant == 7 && p.plotArea > 0.0) e_.nTreeQ += t.edgeWeight / p.plotArea;
        first = false;
      }
    }
  }

  void PlotMeans() {
    const int m = static_cast<int>(plots_.size());
    if (in_.passMethod == kMethodNTree && in_.method.variant == 7) {
      // Ratio estimate from the distances to the first trees; the plot records do not enter.
      if (m > 0) e_.meanN[0] = (in_.method.treeNumber - 1) * 10000.0 * e_.nTreeQ / m;
      if (e_.sampleTrees[0] > 0.0) {
        e_.meanG[0] = (e_.sampleBasalArea[0] / e_.sampleTrees[0]) * e_.meanN[0] * 0.0001;
        for (int i = 1; i <= 9; ++i) {
          e_.meanN[Slot(i)] = e_.meanN[0] * e_.sampleTrees[Slot(i)] / e_.sampleTrees[0];
          e_.meanG[Slot(i)] =
              e_.sampleBasalArea[0] > 0.0 ? e_.meanG[0] * e_.sampleBasalArea[Slot(i)] / e_.sampleBasalArea[0] : 0.0;
        }
      }
    } else if (m > 0) {
      for (int i = 0; i <= 9; ++i) {
        double sg = 0.0, sn = 0.0;
        for (const PlotValues& p : plots_) {
          sg += p.g[Slot(i)];
          sn += p.n[Slot(i)];
        }
        e_.meanG[Slot(i)] = sg / m;
        e_.meanN[Slot(i)] = sn / m;
      }
    }
    e_.gPerHa = e_.meanG;
    e_.nPerHa = e_.meanN;
  }

  // Mode 0: basal area (and the stem-number series); mode 1: mean diameter in ratio form.
  void ErrorStatistics(int mode) {
    const int m0 = static_cast<int>(plots_.size());
    if (m0 < 2) return;
    ErrorSeries& out = mode == 0 ? e_.basalArea : e_.meanDiameter;
    for (int i = 0; i <= 9; ++i) {
      const std::size_t s = Slot(i);
      double s1 = 0.0, s2 = 0.0, t1 = 0.0, t2 = 0.0, c = 0.0, f = 1.0;
      int m = 0;
      if (mode == 0) {
        for (const PlotValues& p : plots_) {
          s1 += p.g[s];
          s2 += p.g[s] * p.g[s];
          t1 += p.n[s];
          t2 += p.n[s] * p.n[s];
        }
        m = m0;
      } else {
        for (const PlotValues& p : plots_) {
          if (!(p.n[s] > 0.0)) continue;
          const double q = p.g[s] / p.n[s];
          s1 += std::sqrt(std::max(q, 0.0)) * p.n[s];
          s2 += p.n[s] * p.n[s] * q;
          c += p.n[s];
          ++m;
        }
        f = c > 0.0 ? std::sqrt(kFourOverPi) * 100.0 * m / c : 1.0;
      }
      if (m > 1) {
        const double v = f * f * (s2 - s1 * s1 / m) / (m - 1);
        const double sd = v >= 0.0 ? std::sqrt(v) : 0.0;
        const double mean = f * s1 / m;
        out.sd[s] = sd;
        out.mean[s] = mean;
        out.vc[s] = mean > 0.001 ? sd / mean * 100.0 : 0.0;
        double se = sd / std::sqrt(static_cast<double>(m));
        const int standTrees = e_.truth.treeCount[s];
        if (standTrees >= 1) {
          // The finite-population factor; a sample that counts trees more than once can exceed the
          // stand, which must not turn the error negative.
          const double factor = std::clamp(1.0 - e_.sampleTrees[s] / standTrees, 0.0, 1.0);
          se *= factor;
        }
        out.se[s] = se;
        out.sePercent[s] = mean > 0.0 ? se / mean * 100.0 : 0.0;
      }
      if (mode == 0 && m > 1) {
        // Standard error of the mean stem number of the plots.
        const double var = std::max(0.0, t2 / m - (t1 / m) * (t1 / m));
        e_.stemNumberError[s] = std::sqrt(var / (m - 1));
      }
    }
  }

 private:
  void BookTree(int species, double w, double d, double area, double distance) {
    double g = 0.0, count = 0.0, gShare = 0.0, nShare = 0.0;
    if (distance > -1.0) {
      g = kEstimateBasalAreaFactor * d * d;
      count = 1.0;
      // A plot area of 0 cannot carry a tree; it adds nothing rather than an infinite share.
      if (area > 0.0) {
        gShare = g / area;
        nShare = 10000.0 / area;
      }
      if (in_.passMethod == kMethodAngleCount && in_.method.countingMode == 0) {
        d = 0.0;
        g = 0.0;
        count = 0.0;
        nShare = 0.0;
        gShare = in_.method.countingFactor;
      }
    }
    if (std::fabs(w - 1.0) > kUnweightedTolerance) {
      gShare *= w;
      nShare *= w;
    }
    if (in_.passMethod == kMethodNTree && in_.method.variant == 8) {
      e_.variant8.weightSum += w;
      e_.variant8.weightedBasalArea += g * w;
    }
    const std::size_t s = Slot(BookedSpecies(species));
    current_->g[s] += gShare;
    current_->g[0] += gShare;
    current_->n[s] += nShare;
    current_->n[0] += nShare;
    e_.sampleTrees[s] += count;
    e_.sampleTrees[0] += count;
    e_.sampleBasalArea[s] += g;
    e_.sampleBasalArea[0] += g;
    if (distance > -1.0) {
      e_.treeCounter[s] += 1;
      e_.treeCounter[0] += 1;
      e_.dbhSum[s] += d;
      e_.dbhSum[0] += d;
      e_.dbhSquareSum[s] += d * d;
      e_.dbhSquareSum[0] += d * d;
    }
    e_.stemsByClass[s][static_cast<std::size_t>(DiameterClass(d))] += nShare;
  }

  const EvaluationInput& in_;
  SampleEstimate& e_;
  std::vector<PlotValues> plots_;
  PlotValues* current_ = nullptr;
};

}  // namespace

void EvaluateSample(const EvaluationInput& input, const LanguageTable& language, SampleEstimate& estimate,
                    DeviationHistograms& histograms) {
  estimate = SampleEstimate{};
  estimate.truth = input.truth;
  estimate.method = input.passMethod;
  estimate.plotCount = static_cast<int>(input.plots.plots.size());

  Evaluator ev(input, estimate);
  ev.BookPlots();
  // "Probebäume:" is the rounded count after the last booking; rounding it once gives the same number.
  if (!input.plots.plots.empty()) estimate.sampleTreeTotal = RoundInt(estimate.sampleTrees[0]);
  ev.PlotMeans();

  const double area = input.truth.areaHa;
  if (estimate.plotCount > 0 && area > 0.0) {
    for (int i = 0; i <= 9; ++i) {
      const std::size_t s = Slot(i);
      if (!(input.truth.basalArea[s] > 0.0)) continue;
      const int bg = DeviationBin(estimate.gPerHa[s] - input.truth.basalArea[s] / area, histograms.basalAreaWidth);
      const int bn = DeviationBin(estimate.nPerHa[s] - input.truth.treeCount[s] / area, histograms.stemNumberWidth);
      auto& cg = histograms.basalArea[s][static_cast<std::size_t>(bg + kDeviationBinLimit)];
      auto& cn = histograms.stemNumber[s][static_cast<std::size_t>(bn + kDeviationBinLimit)];
      if (cg < 0xFFFF) ++cg;
      if (cn < 0xFFFF) ++cn;
    }
  }

  ev.ErrorStatistics(0);
  if (!input.enterpriseMode) {
    estimate.costRelation =
        CostRelation(input.method, estimate.plotCount, input.gridSpacing, area, input.truth.treeCount[0]);
    estimate.costText = CostRelationText(estimate.costRelation, input.method, language);
  }
  ev.ErrorStatistics(1);
}

// ---- the sample-tree table ----

std::vector<std::string> SampleTreeTableLines(const SampleEstimate& e, const PlotList& plots, MethodCode passMethod,
                                              SpeciesListSelector speciesList, const SampleTableHeader& header,
                                              const LanguageTable& language) {
  auto T = [&](const char* german) { return Translate(language, german); };
  // Names looked up once: the table lists every sample tree, and a run builds it after every pass.
  std::array<std::string, 10> names;
  for (int s = 0; s <= 9; ++s) names[static_cast<std::size_t>(s)] = Translate(language, SpeciesNameTable::Name(s, speciesList));
  static const std::string kNoName;
  auto speciesName = [&](int s) -> const std::string& {
    return s >= 0 && s <= 9 ? names[static_cast<std::size_t>(s)] : kNoName;
  };
  const std::string rule(kRuleLineLength, '-');
  const std::string cr = "\r";
  std::vector<std::string> out;
  for (const auto& l : header.standLines) out.push_back(l);
  out.emplace_back();
  for (const auto& l : header.gridLines) out.push_back(l);
  out.emplace_back();

  out.push_back(std::string(25, ' ') + T("Messwerte der Probebäume"));
  out.push_back(std::string(33, ' ') + T("Summe"));
  out.push_back(cr + std::string(13, ' ') + T("Baumart       Baumzahl      Grundfläche") + " (m²)");
  out.push_back(rule);
  for (int i = 1; i <= 10; ++i) {
    const int s = i % 10;
    if (e.truth.treeCount[Slot(s)] <= 0) continue;
    if (s == 0) out.push_back(rule);
    const std::string name = s == 0 ? T("Summe") : speciesName(s);
    out.push_back(std::string(13, ' ') + PadRight(name, 7) + FormatFixed(11, 0, e.sampleTrees[Slot(s)]) +
                  FormatFixed(18, 2, e.sampleBasalArea[Slot(s)] / 10000.0));
  }
  out.push_back(rule + cr + cr);
  out.emplace_back();
  out.push_back(std::string(24, ' ') + T("Messwerte der Probebäume"));
  out.push_back(std::string(32, ' ') + T("Einzeln"));
  out.push_back(cr + rule);
  out.push_back(T("Stichpr.Nr  Baum Nr.   Baumart        BHD        Abstand      Probefläche"));
  out.push_back("                                      cm            m              m²");
  out.push_back(rule);

  int k = 0;
  for (const PlotRecord& p : plots.plots) {
    ++k;
    std::string line = FormatFixed(5, 0, k);
    int number = 0;
    for (const SampleTreeRecord& t : plots.TreesOf(p)) {
      ++number;
      if (number > 1) line = std::string(5, ' ');
      double shownArea = t.plotArea;
      if (passMethod == kMethodNTree) shownArea = t.layer == 1 ? p.secondArea : p.plotArea;
      line += FormatInt(number, 10) + std::string(8, ' ') + PadRight(speciesName(t.species), 7) +
              FormatFixed(11, 1, static_cast<double>(t.dbh)) + FormatFixed(12, 1, t.distance) +
              FormatFixed(16, 1, shownArea);
      out.push_back(line);
    }
    if (number == 0) out.push_back(line);
    out.push_back(rule);
  }
  return out;
}

std::string SampleTreeTablePath(const std::string& programFolder) { return ResolveIn(programFolder, "Temp/ProbeBa.txt"); }

bool WriteSampleTreeTable(const std::string& programFolder, const std::vector<std::string>& lines, std::string* error) {
  const std::string path = SampleTreeTablePath(programFolder);
  // A fresh installation has no work folder yet.
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  return WriteTextLines(path, lines, error);
}

}  // namespace tolvek
