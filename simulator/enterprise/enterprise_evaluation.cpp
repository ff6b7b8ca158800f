#include "simulator/enterprise/enterprise_evaluation.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "common/format.h"
#include "common/paths.h"
#include "common/rounding.h"
#include "common/species.h"
#include "common/translate.h"
#include "simulator/sampling/evaluation.h"

namespace tolvek {

namespace {

constexpr double kUnweighted = 1e-4;

bool InStrata(int v) { return v >= 1 && v <= 5; }


// The means and standard errors of one stratum and species from its sums; m counts its empty plots too.
void Estimate(StratumSample& c, double m) {
  if (m > 0.0) c.meanG = c.gSum / m;
  if (m > 2.0) {
    const double v = (c.g2Sum / m - c.meanG * c.meanG) / (m - 1.0);
    c.seG = v > 0.0 ? std::sqrt(v) : 0.0;
  }
  // A stratum of one plot has its stem number as well; its standard error is 0.
  if (m >= 1.0) c.meanN = c.nSum / m;
  if (m > 1.0) {
    const double v = c.n2Sum / m - c.meanN * c.meanN;
    c.seN = v >= 0.0 ? std::sqrt(v / (m - 1.0)) : 0.0;
  }
  if (c.meanN > 0.0) c.dg = 100.0 * std::sqrt(c.meanG / c.meanN * 1.2732);
  const double q = c.dCount;
  if (q > 1.0) {
    const double meanD = c.dSum / q;
    const double v = c.d2Sum / q - meanD * meanD;
    // The standard error of the mean of q plots: the variance between plots over q - 1.
    if (v > 0.0) c.seD = std::sqrt(v / (q - 1.0));
  }
}

void CountDeviation(DiagramDeviationTable& table, int s, double deviation, double width) {
  if (!(width > 0.0) || !std::isfinite(deviation)) return;
  auto& bin = table[static_cast<std::size_t>(s)][static_cast<std::size_t>(DeviationBin(deviation, width) + 15)];
  if (bin < UINT16_MAX) ++bin;
}

}  // namespace

EnterpriseEstimates EvaluateEnterprise(const EnterpriseEvaluationInput& in, EnterpriseHistograms& histograms,
                                       EnterpriseEvaluationProblem* problem) {
  EnterpriseEstimates e;
  EnterpriseEvaluationProblem local;
  EnterpriseEvaluationProblem& p = problem ? *problem : local;
  p = {};
  const bool nTree = in.passMethod == kMethodNTree;
  const int variant = in.method.variant;
  const bool countingOnly = in.passMethod == kMethodAngleCount && in.method.countingMode == 0;
  const double countingFactor = in.method.countingFactor;
  double sigma7 = 0.0;
  double gTotal = 0.0, nTotal = 0.0;
  VariantEightSums v8;

  // The cells as one array: stratum [t][k] species s at Cell(t, k) + s.
  StratumSample* const flat = &e.cells[0][0][0];
  const auto Cell = [](int t, int k) { return (static_cast<std::size_t>(t) * kStrata + static_cast<std::size_t>(k)) * kStratumSpecies; };
  std::array<std::array<std::int32_t, kStrata>, kStrata> withTrees{};
  int index = 0;
  for (const PlotRecord& plot : in.plots.plots) {
    ++index;
    const int t = plot.standType, k = plot.ageClass;
    if (!InStrata(t) || !InStrata(k)) {
      p = {true, index, t, k};
      return EnterpriseEstimates{};
    }
    ++e.plotCount;
    const auto trees = in.plots.TreesOf(plot);
    if (trees.empty()) {
      for (const auto& [a, b] : {std::pair{t, k}, std::pair{0, k}, std::pair{t, 0}, std::pair{0, 0}})
        e.Unit(a, b).emptyPlots += 1;
      continue;
    }
    double a1 = plot.plotArea, a2 = 0.0;
    if (nTree) {
      a1 = NTreePlotArea(0, trees, plot.plotArea, in.method.treeNumber, variant);
      if (variant == 4) a2 = NTreePlotArea(1, trees, plot.secondArea, in.method.treeNumber, variant);
      if (variant == 8) v8.plotAreaSum += a1;
      if (variant == 7 && plot.plotArea > 0.0) sigma7 += trees.front().edgeWeight / plot.plotArea;
    }
    std::array<double, kStratumSpecies> g{}, n{}, dsum{};
    // The plot's stems by species and class, booked into the strata once the plot is summed (whole
    // numbers: the same sums in any order).
    std::array<std::array<std::int32_t, kStratumClasses>, kStratumSpecies> plotClasses{};
    std::array<std::uint32_t, kStratumSpecies> classesTaken{};  // bit c: class c + 1 has stems
    for (const SampleTreeRecord& tree : trees) {
      const double area = nTree ? (tree.layer != 0 ? a2 : a1) : tree.plotArea;
      // A tree without a plot area has no share per hectare: it is left out and counted.
      if (!(area > 0.0)) {
        ++e.skippedTrees;
        continue;
      }
      const int s = tree.species >= 1 && tree.species <= 9 ? tree.species : 0;
      double d = static_cast<double>(tree.dbh);
      const double basal = kEnterpriseBasalAreaFactor * d * d;
      double gc = basal / area;
      double nc = 10000.0 / area;
      if (countingOnly) {
        gc = countingFactor;
        d = 0.0;
      }
      const double w = tree.edgeWeight;
      if (std::fabs(w - 1.0) > kUnweighted) {
        gc = gc * w;
        nc = nc * w;
      }
      if (variant == 8 && nTree) {
        v8.weightSum += w;
        v8.weightedBasalArea += basal * w;
      }
      g[static_cast<std::size_t>(s)] += gc;
      if (s != 0) g[0] += gc;
      if (countingOnly) continue;
      n[static_cast<std::size_t>(s)] += nc;
      if (s != 0) n[0] += nc;
      dsum[static_cast<std::size_t>(s)] += d * nc;
      if (s != 0) dsum[0] += d * nc;
      const auto cls = static_cast<std::size_t>(std::max(1, DiameterClass(d)) - 1);
      const auto stems = static_cast<std::int32_t>(RoundHalfEven(nc));
      // All species get the tree as well.
      plotClasses[static_cast<std::size_t>(s)][cls] += stems;
      classesTaken[static_cast<std::size_t>(s)] |= 1u << cls;
      if (s != 0) {
        plotClasses[0][cls] += stems;
        classesTaken[0] |= 1u << cls;
      }
    }
    gTotal += g[0];
    nTotal += n[0];
    // The plot's four strata: its own, its type over all classes, its class over all types, all.
    // Every plot with trees counts once for every species of its strata.
    const std::array<std::size_t, 4> strata{Cell(t, k), Cell(0, k), Cell(t, 0), Cell(0, 0)};
    for (const auto& [a, b] : {std::pair{t, k}, std::pair{0, k}, std::pair{t, 0}, std::pair{0, 0}})
      withTrees[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] += 1;
    for (int s = 0; s < kStratumSpecies; ++s) {
      const auto si = static_cast<std::size_t>(s);
      const double gs = g[si], ns = n[si];
      // A species the plot lacks adds nothing to the sums (0 and its square).
      if (gs == 0.0 && ns == 0.0) continue;
      const bool hasD = ns > 0.0;
      const double dm = hasD ? dsum[si] / ns : 0.0;
      const auto& stems = plotClasses[si];
      for (const std::size_t q : strata) {
        StratumSample& c = flat[q + si];
        for (std::uint32_t taken = classesTaken[si]; taken != 0; taken &= taken - 1) {
          const auto cls = static_cast<std::size_t>(std::countr_zero(taken));
          c.classes[cls] += stems[cls];
        }
        c.gSum += gs;
        c.g2Sum += gs * gs;
        c.nSum += ns;
        c.n2Sum += ns * ns;
        if (hasD) {
          c.dSum += dm;
          c.d2Sum += dm * dm;
          c.dCount += 1.0;
        }
      }
    }
  }

  // Estimates per stratum and species; m counts the stratum's empty plots too.
  for (int t = 0; t < kStrata; ++t)
    for (int k = 0; k < kStrata; ++k)
      for (int s = 0; s < kStratumSpecies; ++s) {
        StratumSample& c = e.At(t, k, s);
        c.plots = withTrees[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)];
        Estimate(c, c.plots + e.Unit(t, k).emptyPlots);
      }

  // The whole enterprise as a run compares it.
  e.runBasalArea = e.At(0, 0, 0).meanG;
  e.runStemNumber = e.At(0, 0, 0).meanN;
  if (nTree && variant == 7) {
    const double n7 = e.plotCount > 0 ? (in.method.treeNumber - 1) * 10000.0 * sigma7 / e.plotCount : 0.0;
    e.runStemNumber = n7;
    e.runBasalArea = nTotal > 0.0 ? gTotal / nTotal * n7 : 0.0;
  } else if (nTree && variant == 8) {
    e.runBasalArea = v8.BasalAreaPerHa();
    e.runStemNumber = v8.StemsPerHa();
  }

  // Deviation histograms: where the stratum has true basal area and plots with trees.
  for (int t = 0; t < kStrata; ++t)
    for (int k = 0; k < kStrata; ++k)
      for (int s = 0; s < kStratumSpecies; ++s) {
        const StratumTruth& truth = in.truth.At(t, k, s);
        const StratumSample& c = e.At(t, k, s);
        if (!(truth.g > 0.0) || !(c.plots > 0.0)) continue;
        const double m = c.plots + e.Unit(t, k).emptyPlots;
        double meanG = c.gSum / m, meanN = c.nSum / m;
        if (t == 0 && k == 0 && s == 0 && nTree && (variant == 7 || variant == 8)) {
          meanG = e.runBasalArea;
          meanN = e.runStemNumber;
        }
        CountDeviation(histograms.basalArea[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)], s,
                       meanG - truth.g, in.basalAreaWidth);
        CountDeviation(histograms.stemNumber[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)], s,
                       meanN - truth.n, in.stemNumberWidth);
      }

  // Stratum areas from their shares of all plots, empty ones included, of the area of the stands with
  // a model stand.
  e.areaBase = in.truth.At(0, 0, 0).area;
  const double all = e.AllPlots(0, 0);
  const double n = e.plotCount;
  for (int t = 0; t < kStrata; ++t)
    for (int k = 0; k < kStrata; ++k) {
      StratumUnit& u = e.Unit(t, k);
      const double share = all > 0.0 ? e.AllPlots(t, k) / all : 0.0;
      u.area = share * e.areaBase;
      u.areaSE = (share <= 0.001 || share >= 0.99 || n <= 1.0)
                     ? 0.0
                     : std::sqrt(share * (1.0 - share) / (n - 1.0)) * e.areaBase;
    }
  return e;
}

std::string EnterpriseProblemText(const EnterpriseEvaluationProblem& problem) {
  return "16/259 BT, AK" + FormatInt(problem.typePosition, 3) + FormatInt(problem.cls, 3);
}

// ---- the report

namespace {

const std::string kPlusMinus = " \xC2\xB1";

std::string AreaError(double se, bool all) {
  if (se == 0.0) return "    ";
  const double r = static_cast<double>(RoundHalfEven(se));
  return kPlusMinus + (all ? FormatFixed(4, 1, r) : FormatInt(static_cast<long long>(r), 2));
}

// The classes in the report's column order: 1..5, then all.
constexpr std::array<int, 6> kColumns{1, 2, 3, 4, 5, 0};

}  // namespace

EnterpriseReport EnterpriseReportLines(const EnterpriseReportInput& in, const LanguageTable& language) {
  const auto T = [&](const char* german) { return Translate(language, german); };
  EnterpriseReport r;
  std::vector<std::string>& out = r.lines;
  const auto& c = in.captions;
  out.push_back(PadRight(c[0], 50) + in.date + "  " + in.time);
  out.push_back(PadRight(c[1], 40) + T("Legende:"));
  out.push_back(PadRight(c[2], 40) + ShortenAtSubstring(T("G - Grundfläche je Hektar"), "  "));
  out.push_back(PadRight(c[3], 40) + ShortenAtSubstring(T("N - Baumzahl je Hektar"), "  "));
  out.push_back(PadRight(c[4], 40) + T("D - mittlerer BHD"));
  out.push_back(PadRight(c[5], 40) + ShortenAtSubstring(T("S - Ergebnis aus Probefläche"), "   "));
  out.push_back(PadRight(c[6], 40) + ShortenAtSubstring(T("E - Erwartungswert (wahrer Wert)"), "  "));
  out.push_back(PadRight(T("Stichproben:"), 16) + FormatInt(in.plotsOfPass, 5));
  out.push_back(PadRight(c[7], 25));
  out.push_back(PadRight(T("Modelbestände:"), 18) + in.modelStandCaption);
  std::string calliper = PadRight(T("Kluppschwelle:"), 17) + FormatFixed(4, 1, in.calliperThreshold) + "  ";
  // The smallest dbh of the concentric circles says something only where those circles are used.
  if (in.passMethod == kMethodConcentric) {
    if (in.firstConcentricDbhLimit > in.calliperThreshold + 0.1) calliper += T("Kleinster BHD oberhalb der Kluppschwelle");
    if (in.firstConcentricDbhLimit < in.calliperThreshold) calliper += T("Kleinster BHD kleiner als Kluppschwelle");
  }
  out.push_back(calliper);
  out.push_back("");
  out.push_back("");

  const EnterpriseEstimates& e = in.estimates;
  for (const int t : {1, 2, 3, 4, 5, 0}) {
    if (!(e.AllPlots(t, 0) > 0.0)) continue;
    r.blockStart[static_cast<std::size_t>(t)] = static_cast<int>(out.size());
    out.push_back("");
    out.push_back(in.positionNames[static_cast<std::size_t>(t)]);
    if (in.forestDevelopmentTypes) {
      out.push_back("Beh.-Typ     JPF        DF       VPF        VN        DW     alle Beh-Typen");
    } else {
      std::string head = T("Altersklasse") + " 1/2   ";
      for (int k = 3; k <= 6; ++k) head += FormatInt(k, 7) + "   ";
      out.push_back(head + "  " + T("alle AK"));
    }
    std::string area = T("Fläche");
    if (Utf8Length(area) < 7) area += " ";
    area += "  S";
    std::string areaTrue = "         E";
    for (const int k : kColumns) {
      const StratumUnit& u = e.Unit(t, k);
      area += FormatFixed(6, 1, u.area) + AreaError(u.areaSE, k == 0);
      areaTrue += FormatFixed(6, 1, in.truth.At(t, k, 0).area) + "    ";
    }
    out.push_back(area);
    out.push_back(areaTrue);
    out.push_back("");
    out.push_back("");
    for (int s = 0; s < kStratumSpecies; ++s) {
      if (!(e.At(t, 0, s).meanG > 0.0)) continue;
      std::string label = s == 0 ? std::string("Alle BA") : T(SpeciesNameTable::Name(s, kConiferList).c_str());
      label = Utf8Left(PadRight(label, 7), 7);
      std::string gS = label + " G S", gE = "          E";
      std::string nS = "        N S", nE = "          E";
      std::string dS = "        D S", dE = "          E";
      for (const int k : kColumns) {
        const StratumSample& x = e.At(t, k, s);
        const StratumTruth& truth = in.truth.At(t, k, s);
        const bool all = k == 0;
        gS += FormatFixed(5, 1, x.meanG) + kPlusMinus + (all ? FormatFixed(4, 2, x.seG) : FormatFixed(3, 1, x.seG));
        gE += FormatFixed(5, 1, truth.g) + "     ";
        nS += FormatFixed(5, 0, x.meanN) + kPlusMinus + (all ? FormatFixed(4, 1, x.seN) : FormatFixed(3, 0, x.seN));
        nE += FormatFixed(5, 0, truth.n) + "     ";
        dS += FormatFixed(5, 1, x.dg) + kPlusMinus + (all ? FormatFixed(4, 2, x.seD) : FormatFixed(3, 1, x.seD));
        dE += FormatFixed(5, 1, truth.dg) + "     ";
      }
      for (std::string* line : {&gS, &gE, &nS, &nE, &dS, &dE}) out.push_back(*line);
    }
    out.push_back("");
    r.blockEnd[static_cast<std::size_t>(t)] = static_cast<int>(out.size());
  }
  return r;
}

std::string EnterpriseReportPath(const std::string& programFolder) { return ResolveIn(programFolder, "temp/temp.txt"); }

std::string ChoiceCellText(const EnterpriseEstimates& estimates,
                           const std::array<std::array<double, kStrata>, kStrata>& balance, int tag, int row,
                           int column) {
  const int t = row % 6, k = column % 6;
  if (tag == 0) return FormatFixed(4, 0, estimates.At(t, k, 0).plots);
  return FormatFixed(5, 0, balance[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)]);
}

}  // namespace tolvek
