#include "simulator/sampling/evaluation.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

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
    const double dm = static_cast<double>(t.dbh) * 0.01;
    sumD2 += dm * dm;
    // The standing areas enter variant 2 only.
    double sa = 0.0;
    if (variant == 2) {
      const int s = BookedSpecies(t.species);
      sa = kStandingArea[s].a + kStandingArea[s].b * (kCirclePi * dm * dm / 4.0);
      sumSa += sa;
    }
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
    const double r = std::sqrt(std::max(h, 0.0) / kCirclePi) + 0.14;
    h = kCirclePi * r * r;
  }
  if (variant == 8) {
    const double r = std::sqrt(std::max(h, 0.0) / kCirclePi) + lastDm * 0.5;
    h = kCirclePi * r * r;
  }
  return h;
}

namespace {

using SpeciesSums = std::array<double, 10>;  // slot 0 the whole stand, 1..9 the species

// Sums over the plots of a pass by species, each in plot order: the plot means and the errors between
// plots are made of them. A plot is added as soon as its trees are booked, so no plot is kept.
struct PlotSums {
  SpeciesSums g{}, gSquare{}, n{}, nSquare{};
  // The quadratic mean diameter in ratio form, over the plots holding stems of the species.
  SpeciesSums rootSum{}, ratioSum{}, stems{};
  std::array<int, 10> plotsWithStems{};

  void Add(const SpeciesSums& pg, const SpeciesSums& pn) {
    for (std::size_t s = 0; s < 10; ++s) {
      g[s] += pg[s];
      gSquare[s] += pg[s] * pg[s];
      n[s] += pn[s];
      nSquare[s] += pn[s] * pn[s];
    }
    for (std::size_t s = 0; s < 10; ++s) {
      if (!(pn[s] > 0.0)) continue;
      const double q = pg[s] / pn[s];
      rootSum[s] += std::sqrt(std::max(q, 0.0)) * pn[s];
      ratioSum[s] += pn[s] * pn[s] * q;
      stems[s] += pn[s];
      ++plotsWithStems[s];
    }
  }
};

// Two sums that receive the same additions, lane 0 the whole stand's and lane 1 a species': one vector
// addition books a value into both, and each lane is rounded exactly as a sum of its own.
using SumPair = double __attribute__((vector_size(16)));

// Books every plot of the pass: the plot's G and N by species into the plot sums, the sample-tree sums
// into the estimate. The method's choices are template arguments so that the loop over the trees
// carries none of them: kCounting the counting mode of the angle count, kLayerAreas the areas of the
// n-tree layers (also a pass without method), kWeightSums the sums of n-tree variant 8.
// Every sum is a local while the trees are booked and goes into the estimate at the end. Neighbouring
// trees mostly share their species (a stand of one species has nothing else), so the sums of the
// species in hand are held in registers, paired with the whole stand's, over its run of trees and go
// back to their slot when the run ends. Each sum receives the same additions in the same order. Counts
// that only ever grow by one are integers, exact and the same number once converted.
template <bool kCounting, bool kLayerAreas, bool kWeightSums>
void BookPlots(const EvaluationInput& in, SampleEstimate& e, PlotSums& plotSums) {
  const bool nTree = in.passMethod == kMethodNTree;
  const int variant = in.method.variant;
  const double countingFactor = in.method.countingFactor;
  // Slots 1..9 by species; slot 0 unused (the whole stand's sums are lane 0 of the pairs below).
  SpeciesSums pg{}, pn{};                        // the current plot's G and N
  std::array<std::int32_t, 10> booked{};         // trees booked (the count of sample trees unless counting)
  SpeciesSums basal{}, dbh{}, dbhSquare{};
  std::array<std::array<double, kEstimateDiameterClasses>, 10> byClass{};
  SumPair basalPair{}, dbhPair{}, dbhSquarePair{};
  double weightSum = 0.0, weightedBasalArea = 0.0;
  // 10000 / area of the last area seen: the trees of a plot mostly share it.
  double lastArea = std::numeric_limits<double>::quiet_NaN();
  double lastStemShare = 0.0;
  bool lastAreaCarries = false;

  // One entry of the plot list (a sample tree, or the entry of an empty plot) into the pairs of its
  // species and the diameter classes.
  auto book = [&](SumPair& gPair, SumPair& nPair, std::int32_t& bookedTrees,
                  std::array<double, kEstimateDiameterClasses>& classes, double w, double d, double area,
                  double distance) {
    double g = 0.0, gShare = 0.0, nShare = 0.0;
    const bool isTree = distance > -1.0;
    if (isTree) {
      if constexpr (kCounting) {
        d = 0.0;
        gShare = countingFactor;
      } else {
        g = kEstimateBasalAreaFactor * d * d;
        if (!(area == lastArea)) {
          lastArea = area;
          // A plot area of 0 cannot carry a tree; it adds nothing rather than an infinite share.
          lastAreaCarries = area > 0.0;
          lastStemShare = lastAreaCarries ? 10000.0 / area : 0.0;
        }
        if (lastAreaCarries) {
          gShare = g / area;
          nShare = lastStemShare;
        }
      }
    }
    // Near the boundary weighted and unweighted trees alternate as no predictor guesses: a factor of
    // exactly 1 (which changes no product) instead of a branch.
    const double factor = std::fabs(w - 1.0) > kUnweightedTolerance ? w : 1.0;
    gShare *= factor;
    nShare *= factor;
    if constexpr (kWeightSums) {
      weightSum += w;
      weightedBasalArea += g * w;
    }
    gPair += SumPair{gShare, gShare};
    nPair += SumPair{nShare, nShare};
    basalPair += SumPair{g, g};
    if (isTree) {
      bookedTrees += 1;
      const SumPair dd{d, d};
      dbhPair += dd;
      dbhSquarePair += dd * dd;
    }
    classes[static_cast<std::size_t>(DiameterClass(d))] += nShare;
  };
  // The species' sums enter lane 1 for a run of its trees and leave it afterwards.
  auto enter = [](SumPair& pair, double value) { pair[1] = value; };
  auto leave = [](const SumPair& pair, double& value) { value = pair[1]; };

  for (const PlotRecord& p : in.plots.plots) {
    const auto trees = in.plots.TreesOf(p);
    pg.fill(0.0);
    pn.fill(0.0);
    SumPair gPair{}, nPair{};
    double mainArea = p.plotArea;
    double underArea = 0.0;
    if (nTree) {
      mainArea = NTreePlotArea(0, trees, p.plotArea, in.method.treeNumber, variant);
      if (variant == 4) underArea = NTreePlotArea(1, trees, p.secondArea, in.method.treeNumber, variant);
      if (variant == 8) e.variant8.plotAreaSum += mainArea;
    }
    const SampleTreeRecord* t = trees.data();
    const SampleTreeRecord* const last = t + trees.size();
    const bool empty = trees.empty();
    while (empty || t != last) {
      // The entry of an empty plot books as species 0.
      const int species = empty ? 0 : t->species;
      const std::size_t s = Slot(BookedSpecies(species));
      enter(gPair, pg[s]);
      enter(nPair, pn[s]);
      enter(basalPair, basal[s]);
      enter(dbhPair, dbh[s]);
      enter(dbhSquarePair, dbhSquare[s]);
      std::int32_t bookedTrees = booked[s];
      auto& classes = byClass[s];
      if (empty) {
        book(gPair, nPair, bookedTrees, classes, 0.0, 0.0, mainArea, -1.0);
      } else {
        do {
          const double area = kLayerAreas ? (t->layer == 1 ? underArea : mainArea) : t->plotArea;
          book(gPair, nPair, bookedTrees, classes, t->edgeWeight, static_cast<double>(t->dbh), area, t->distance);
          ++t;
        } while (t != last && t->species == species);
      }
      leave(gPair, pg[s]);
      leave(nPair, pn[s]);
      leave(basalPair, basal[s]);
      leave(dbhPair, dbh[s]);
      leave(dbhSquarePair, dbhSquare[s]);
      booked[s] = bookedTrees;
      if (empty) break;
    }
    if (empty) {
      e.emptyPlots += 1;
    } else if (nTree && variant == 7 && p.plotArea > 0.0) {
      e.nTreeQ += trees.front().edgeWeight / p.plotArea;
    }
    pg[0] = gPair[0];
    pn[0] = nPair[0];
    plotSums.Add(pg, pn);
  }

  std::int32_t bookedAll = 0;
  for (std::size_t s = 1; s <= 9; ++s) {
    bookedAll += booked[s];
    e.sampleTrees[s] = kCounting ? 0 : booked[s];
    e.treeCounter[s] = booked[s];
    e.sampleBasalArea[s] = basal[s];
    e.dbhSum[s] = dbh[s];
    e.dbhSquareSum[s] = dbhSquare[s];
    e.stemsByClass[s] = byClass[s];
  }
  e.sampleTrees[0] = kCounting ? 0 : bookedAll;
  e.treeCounter[0] = bookedAll;
  e.sampleBasalArea[0] = basalPair[0];
  e.dbhSum[0] = dbhPair[0];
  e.dbhSquareSum[0] = dbhSquarePair[0];
  e.variant8.weightSum = weightSum;
  e.variant8.weightedBasalArea = weightedBasalArea;
}

void BookPass(const EvaluationInput& in, SampleEstimate& e, PlotSums& plotSums) {
  if (in.passMethod == kMethodAngleCount && in.method.countingMode == 0)
    BookPlots<true, false, false>(in, e, plotSums);
  else if (in.passMethod == kMethodNTree && in.method.variant == 8)
    BookPlots<false, true, true>(in, e, plotSums);
  else if (in.passMethod == kMethodNTree || in.passMethod == kMethodNone)
    BookPlots<false, true, false>(in, e, plotSums);
  else
    BookPlots<false, false, false>(in, e, plotSums);
}

void PlotMeans(const EvaluationInput& in, const PlotSums& sums, SampleEstimate& e) {
  const int m = static_cast<int>(in.plots.plots.size());
  if (in.passMethod == kMethodNTree && in.method.variant == 7) {
    // Ratio estimate from the distances to the first trees; the plot records do not enter.
    if (m > 0) e.meanN[0] = (in.method.treeNumber - 1) * 10000.0 * e.nTreeQ / m;
    if (e.sampleTrees[0] > 0.0) {
      e.meanG[0] = (e.sampleBasalArea[0] / e.sampleTrees[0]) * e.meanN[0] * 0.0001;
      for (int i = 1; i <= 9; ++i) {
        e.meanN[Slot(i)] = e.meanN[0] * e.sampleTrees[Slot(i)] / e.sampleTrees[0];
        e.meanG[Slot(i)] =
            e.sampleBasalArea[0] > 0.0 ? e.meanG[0] * e.sampleBasalArea[Slot(i)] / e.sampleBasalArea[0] : 0.0;
      }
    }
  } else if (m > 0) {
    for (std::size_t s = 0; s <= 9; ++s) {
      e.meanG[s] = sums.g[s] / m;
      e.meanN[s] = sums.n[s] / m;
    }
  }
  e.gPerHa = e.meanG;
  e.nPerHa = e.meanN;
}

// Mode 0: basal area (and the stem-number series); mode 1: mean diameter in ratio form.
void ErrorStatistics(int mode, int plotCount, const PlotSums& sums, SampleEstimate& e) {
  if (plotCount < 2) return;
  ErrorSeries& out = mode == 0 ? e.basalArea : e.meanDiameter;
  for (std::size_t s = 0; s <= 9; ++s) {
    double s1 = 0.0, s2 = 0.0, f = 1.0;
    int m = 0;
    if (mode == 0) {
      s1 = sums.g[s];
      s2 = sums.gSquare[s];
      m = plotCount;
    } else {
      s1 = sums.rootSum[s];
      s2 = sums.ratioSum[s];
      m = sums.plotsWithStems[s];
      const double c = sums.stems[s];
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
      const int standTrees = e.truth.treeCount[s];
      if (standTrees >= 1) {
        // The finite-population factor; a sample that counts trees more than once can exceed the
        // stand, which must not turn the error negative.
        const double factor = std::clamp(1.0 - e.sampleTrees[s] / standTrees, 0.0, 1.0);
        se *= factor;
      }
      out.se[s] = se;
      out.sePercent[s] = mean > 0.0 ? se / mean * 100.0 : 0.0;
    }
    if (mode == 0 && m > 1) {
      // Standard error of the mean stem number of the plots.
      const double t1 = sums.n[s], t2 = sums.nSquare[s];
      const double var = std::max(0.0, t2 / m - (t1 / m) * (t1 / m));
      e.stemNumberError[s] = std::sqrt(var / (m - 1));
    }
  }
}

}  // namespace

void EvaluateSample(const EvaluationInput& input, const LanguageTable& language, SampleEstimate& estimate,
                    DeviationHistograms& histograms) {
  estimate = SampleEstimate{};
  estimate.truth = input.truth;
  estimate.method = input.passMethod;
  estimate.plotCount = static_cast<int>(input.plots.plots.size());

  PlotSums plotSums;
  BookPass(input, estimate, plotSums);
  // "Probebäume:" is the rounded count after the last booking; rounding it once gives the same number.
  if (!input.plots.plots.empty()) estimate.sampleTreeTotal = RoundInt(estimate.sampleTrees[0]);
  PlotMeans(input, plotSums, estimate);

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

  ErrorStatistics(0, estimate.plotCount, plotSums, estimate);
  if (!input.enterpriseMode) {
    estimate.costRelation =
        CostRelation(input.method, estimate.plotCount, input.gridSpacing, area, input.truth.treeCount[0]);
    estimate.costText = CostRelationText(estimate.costRelation, input.method, language);
  }
  ErrorStatistics(1, estimate.plotCount, plotSums, estimate);
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

Outcome WriteSampleTreeTable(const std::string& programFolder, const std::vector<std::string>& lines) {
  const std::string path = SampleTreeTablePath(programFolder);
  // A fresh installation has no work folder yet.
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  return WriteTextLines(path, lines);
}

}  // namespace tolvek
