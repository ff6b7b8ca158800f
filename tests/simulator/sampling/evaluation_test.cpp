#include "simulator/sampling/evaluation.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "common/circle_pi.h"
#include "common/format.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

struct T {
  int species;
  double dbh;
  double weight = 1.0;
  double plotArea = 0.0;
  double distance = 1.0;
  int layer = 0;
};

void AddPlot(PlotList& list, double plotArea, std::initializer_list<T> trees, double secondArea = 0.0) {
  PlotRecord p;
  p.plotArea = plotArea;
  p.secondArea = secondArea;
  p.firstTree = static_cast<int>(list.trees.size());
  for (const T& t : trees) {
    SampleTreeRecord r;
    r.species = static_cast<std::uint8_t>(t.species);
    r.dbh = static_cast<float>(t.dbh);
    r.edgeWeight = t.weight;
    r.plotArea = t.plotArea;
    r.distance = t.distance;
    r.layer = static_cast<std::uint8_t>(t.layer);
    list.trees.push_back(r);
  }
  p.treeCount = static_cast<int>(trees.size());
  list.plots.push_back(p);
}

TrueStandValues Stand(double areaHa, std::initializer_list<std::pair<int, double>> trees) {
  TreeList list;
  for (auto [s, d] : trees) {
    TreeRecord r;
    r.species = static_cast<SpeciesCode>(s);
    r.dbh = d;
    list.push_back(r);
  }
  return ComputeTrueStandValues(list, areaHa);
}

// 30 trees on 1 ha: 20 spruce of 20 cm and 10 beech of 40 cm.
TrueStandValues SpruceBeech() {
  TreeList list;
  for (int i = 0; i < 20; ++i) list.push_back(TreeRecord{.number = 0, .species = 1, .dbh = 20.0});
  for (int i = 0; i < 10; ++i) list.push_back(TreeRecord{.number = 0, .species = 5, .dbh = 40.0});
  return ComputeTrueStandValues(list, 1.0);
}

struct Case {
  MethodChoice method;
  MethodCode pass = kMethodFixedCircle;
  PlotList plots;
  TrueStandValues truth = SpruceBeech();
  SampleEstimate e;
  DeviationHistograms h;
  LanguageTable lang;
  void Evaluate(int dx = 50) {
    EvaluationInput in{method, pass, plots, truth, dx, false};
    EvaluateSample(in, lang, e, h);
  }
};

TEST(TrueStandValues, CountsAndBasalAreaBySpeciesWithTheTrueValueConstant) {
  TrueStandValues v = SpruceBeech();
  EXPECT_EQ(v.treeCount[0], 30);
  EXPECT_EQ(v.treeCount[1], 20);
  EXPECT_EQ(v.treeCount[5], 10);
  EXPECT_DOUBLE_EQ(v.basalArea[1], 20 * 400 * 7.853981635e-5);
  EXPECT_DOUBLE_EQ(v.BasalAreaPerHa(5), 10 * 1600 * 7.853981635e-5);
  EXPECT_NEAR(v.QuadraticMeanDiameter(1), 20.0, 1e-6);
  EXPECT_EQ(Stand(0.0, {{1, 20}}).StemsPerHa(1), 0.0);  // no area: no division
}

TEST(Evaluation, FixedCirclesBookEachTreeOverItsPlotArea) {
  Case r;
  r.method.code = kMethodFixedCircle;
  AddPlot(r.plots, 500, {{1, 20, 1.0, 500}, {1, 30, 1.0, 500}});
  AddPlot(r.plots, 500, {{5, 40, 1.2, 500}});
  r.Evaluate();
  const SampleEstimate& e = r.e;
  EXPECT_EQ(e.plotCount, 2);
  // plot 1: (314.1592 + 706.8582) cm² / 500 m²; plot 2: 1256.637 / 500 × 1.2
  EXPECT_NEAR(e.gPerHa[0], 2.52898156, 1e-8);
  EXPECT_NEAR(e.gPerHa[1], 2.0420348 / 2, 1e-8);
  EXPECT_NEAR(e.gPerHa[5], 3.01592832 / 2, 1e-8);
  EXPECT_DOUBLE_EQ(e.nPerHa[0], 32.0);  // (40 + 24) / 2
  EXPECT_DOUBLE_EQ(e.nPerHa[1], 20.0);
  EXPECT_DOUBLE_EQ(e.nPerHa[5], 12.0);
  EXPECT_DOUBLE_EQ(e.sampleTrees[0], 3.0);
  EXPECT_EQ(e.sampleTreeTotal, 3);
  EXPECT_EQ(e.treeCounter[1], 2);
  EXPECT_DOUBLE_EQ(e.dbhSum[0], 90.0);
  EXPECT_DOUBLE_EQ(e.dbhSquareSum[0], 400.0 + 900.0 + 1600.0);
  EXPECT_NEAR(e.sampleBasalArea[0], 0.785398 * 2900, 1e-9);
  // classes of 20, 30 and 40 cm: 3, 4, 5; weighted N shares
  EXPECT_DOUBLE_EQ(e.stemsByClass[1][3], 20.0);
  EXPECT_DOUBLE_EQ(e.stemsByClass[5][5], 24.0);
  // errors of G between the two plots, with the finite-population factor 1 − 3/30
  EXPECT_NEAR(e.basalArea.mean[0], 2.52898156, 1e-8);
  EXPECT_NEAR(e.basalArea.sd[0], 0.6886467121, 1e-8);
  EXPECT_NEAR(e.basalArea.vc[0], 27.23019903, 1e-6);
  EXPECT_NEAR(e.basalArea.se[0], 0.438252084, 1e-8);
  EXPECT_NEAR(e.basalArea.sePercent[0], 17.32919255, 1e-6);
  // N of the plots 40 and 24: standard error of their mean
  EXPECT_DOUBLE_EQ(e.stemNumberError[0], 8.0);
  // mean diameter in ratio form
  EXPECT_NEAR(e.meanDiameter.mean[0], 30.93443276, 1e-6);
  EXPECT_NEAR(e.meanDiameter.sd[0], 1.321491899, 1e-6);
}

TEST(Evaluation, WeightsCloseToOneAreIgnoredOthersMultiplyBothShares) {
  Case r;
  AddPlot(r.plots, 100, {{1, 20, 1.00005, 100}});
  AddPlot(r.plots, 100, {{1, 20, 1.001, 100}});
  r.Evaluate();
  // plot 1 unweighted: N 100; plot 2: 100.1
  EXPECT_NEAR(r.e.nPerHa[0], (100.0 + 100.1) / 2, 1e-9);
  EXPECT_NEAR(r.e.gPerHa[0], (0.785398 * 400 / 100) * (1 + 1.001) / 2, 1e-9);
}

// The sums of a species are carried over runs of its trees; interrupted runs, species codes that share
// the slot of other broadleaves, empty plots, weights, entries that are no tree and plots of different
// areas must leave every sum as booking tree after tree adds it up, bit for bit.
TEST(Evaluation, SumsBySpeciesAreAddedTreeAfterTreeInPassOrder) {
  Case r;
  AddPlot(r.plots, 500, {{1, 21.3, 1.0, 500}, {1, 17.1, 1.7, 500}, {5, 33.3, 1.0, 500}, {1, 8.9, 1.0, 500}, {0, 12.7, 1.0, 500}});
  AddPlot(r.plots, 0, {});
  AddPlot(r.plots, 200, {{9, 45.1, 1.0, 200}, {12, 3.3, 1.0, 200}, {9, 77.7, 1.3, 200}, {1, 5.5, 1.0, 0},
                         {1, 29.9, 2.0, 300, -2.0}, {5, 61.1, 1.0, 200}});
  AddPlot(r.plots, 500, {{5, 14.2, 1.0, 500}, {1, 19.9, 1.00004, 500}});
  r.Evaluate();

  struct Sums {
    double count = 0, basal = 0, dbh = 0, dbhSquare = 0;
    std::array<double, kEstimateDiameterClasses> byClass{};
  };
  std::array<Sums, 10> want{};
  std::vector<SpeciesValues> plotG, plotN;
  for (const PlotRecord& p : r.plots.plots) {
    SpeciesValues g{}, n{};
    for (const SampleTreeRecord& t : r.plots.TreesOf(p)) {
      const std::size_t s = t.species >= 1 && t.species <= 9 ? t.species : 9;
      const bool tree = t.distance > -1.0;
      const double d = t.dbh;
      const double basal = tree ? kEstimateBasalAreaFactor * d * d : 0.0;
      double gShare = tree && t.plotArea > 0 ? basal / t.plotArea : 0.0;
      double nShare = tree && t.plotArea > 0 ? 10000.0 / t.plotArea : 0.0;
      if (std::fabs(t.edgeWeight - 1.0) > kUnweightedTolerance) {
        gShare *= t.edgeWeight;
        nShare *= t.edgeWeight;
      }
      for (std::size_t slot : {s, std::size_t{0}}) {
        g[slot] += gShare;
        n[slot] += nShare;
        want[slot].count += tree ? 1 : 0;
        want[slot].basal += basal;
        if (tree) {
          want[slot].dbh += d;
          want[slot].dbhSquare += d * d;
        }
      }
      want[s].byClass[static_cast<std::size_t>(DiameterClass(d))] += nShare;
    }
    plotG.push_back(g);
    plotN.push_back(n);
  }
  for (std::size_t s = 0; s <= 9; ++s) {
    SCOPED_TRACE(s);
    EXPECT_EQ(r.e.sampleTrees[s], want[s].count);
    EXPECT_EQ(r.e.treeCounter[s], static_cast<int>(want[s].count));
    EXPECT_EQ(r.e.sampleBasalArea[s], want[s].basal);
    EXPECT_EQ(r.e.dbhSum[s], want[s].dbh);
    EXPECT_EQ(r.e.dbhSquareSum[s], want[s].dbhSquare);
    if (s > 0) {
      EXPECT_EQ(r.e.stemsByClass[s], want[s].byClass);
    }
    double sg = 0, sn = 0, sg2 = 0;
    for (std::size_t k = 0; k < plotG.size(); ++k) {
      sg += plotG[k][s];
      sn += plotN[k][s];
      sg2 += plotG[k][s] * plotG[k][s];
    }
    EXPECT_EQ(r.e.gPerHa[s], sg / 4);
    EXPECT_EQ(r.e.nPerHa[s], sn / 4);
    if (s == 0) {
      EXPECT_EQ(r.e.basalArea.sd[0], std::sqrt((sg2 - sg * sg / 4) / 3));
    }
  }
  EXPECT_EQ(r.e.emptyPlots, 1);
  EXPECT_EQ(r.e.treeCounter[9], 4);  // codes 0, 9 and 12 share the slot
}

TEST(Evaluation, EmptyPlotLowersTheMeansButAddsNoTree) {
  Case r;
  AddPlot(r.plots, 500, {{1, 20, 1.0, 500}});
  AddPlot(r.plots, 500, {});
  r.Evaluate();
  EXPECT_EQ(r.e.emptyPlots, 1);
  EXPECT_DOUBLE_EQ(r.e.nPerHa[0], 10.0);
  EXPECT_EQ(r.e.treeCounter[0], 1);
  EXPECT_EQ(r.e.treeCounter[9], 0);
  EXPECT_DOUBLE_EQ(r.e.dbhSum[0], 20.0);
  EXPECT_DOUBLE_EQ(r.e.stemsByClass[9][0], 0.0);
}

TEST(Evaluation, AngleCountNormalModeGivesTheFactorPerTree) {
  Case r;
  r.pass = kMethodAngleCount;
  r.method.code = kMethodAngleCount;
  r.method.countingFactor = 4;
  r.method.countingMode = 1;
  // Selection area of a tree in angle count with k = 4: π (d / 4)² m² for d in cm.
  auto area = [](double d) { return kCirclePi * (d / 4) * (d / 4); };
  AddPlot(r.plots, 0, {{1, 20, 1.0, area(20)}, {5, 40, 1.0, area(40)}});
  AddPlot(r.plots, 0, {{1, 32, 1.0, area(32)}});
  r.Evaluate();
  EXPECT_NEAR(r.e.gPerHa[0], 4.0 * 3 / 2, 1e-5);
  EXPECT_NEAR(r.e.gPerHa[5], 4.0 / 2, 1e-5);
}

TEST(Evaluation, AngleCountCountingModeAddsTheFactorToGAndNothingToN) {
  Case r;
  r.pass = kMethodAngleCount;
  r.method.code = kMethodAngleCount;
  r.method.countingFactor = 2;
  r.method.countingMode = 0;
  AddPlot(r.plots, 0, {{1, 20, 1.0, 50}, {5, 40, 1.0, 200}});
  AddPlot(r.plots, 0, {{1, 32, 1.0, 80}});
  r.Evaluate();
  EXPECT_DOUBLE_EQ(r.e.gPerHa[0], (4.0 + 2.0) / 2);
  EXPECT_DOUBLE_EQ(r.e.nPerHa[0], 0.0);
  EXPECT_DOUBLE_EQ(r.e.sampleTrees[0], 0.0);  // no tree counted, no diameter
  EXPECT_DOUBLE_EQ(r.e.dbhSum[0], 0.0);
  EXPECT_EQ(r.e.treeCounter[0], 3);
  // The report's "Probebäume:" is the number of measured trees, none in counting mode; the pass's own
  // count of selected trees (the main window's label) still holds the three.
  EXPECT_EQ(r.e.sampleTreeTotal, 0);
}

TEST(Evaluation, ConcentricCirclesUseEachTreesOwnCircle) {
  Case r;
  r.pass = kMethodConcentric;
  r.method.code = kMethodConcentric;
  // a small tree in the 3 m circle, a large one in the 12 m circle
  const double a3 = kCirclePi * 9, a12 = kCirclePi * 144;
  AddPlot(r.plots, 0, {{1, 12, 1.0, a3}, {5, 40, 1.0, a12}});
  r.Evaluate();
  EXPECT_NEAR(r.e.nPerHa[0], 10000 / a3 + 10000 / a12, 1e-9);
  EXPECT_NEAR(r.e.gPerHa[1], 0.785398 * 144 / a3, 1e-12);
  EXPECT_NEAR(r.e.gPerHa[5], 0.785398 * 1600 / a12, 1e-12);
}

TEST(NTreePlotArea, VariantsCorrectTheAreaOnlyWhenTheLayerHoldsNTrees) {
  std::vector<SampleTreeRecord> six(6);
  for (auto& t : six) {
    t.species = 1;
    t.dbh = 30.0f;
  }
  const double a = 50.0;
  EXPECT_NEAR(NTreePlotArea(0, six, a, 6, 1), a * 6 / 5.5, 1e-9);
  EXPECT_NEAR(NTreePlotArea(0, six, a, 6, 2), 57.46212121, 1e-6);  // + 0.35 A · sa_n / Σsa
  EXPECT_NEAR(NTreePlotArea(0, six, a, 6, 3), a * 6 / 5.5 * 1.05, 1e-9);
  EXPECT_DOUBLE_EQ(NTreePlotArea(0, six, a, 6, 5), a);
  EXPECT_NEAR(NTreePlotArea(0, six, a, 6, 6), 58.27235275, 1e-6);  // radius + 14 cm
  EXPECT_NEAR(NTreePlotArea(0, six, a, 6, 8), 53.83062825, 1e-6);  // radius + half the last dbh
  std::vector<SampleTreeRecord> five(six.begin(), six.begin() + 5);
  EXPECT_DOUBLE_EQ(NTreePlotArea(0, five, a, 6, 1), a);
  // understorey trees do not count for the main layer
  six[5].layer = 1;
  EXPECT_DOUBLE_EQ(NTreePlotArea(0, six, a, 6, 1), a);
  // trees without diameter: no correction instead of a division by zero
  std::vector<SampleTreeRecord> zero(6);
  EXPECT_DOUBLE_EQ(NTreePlotArea(0, zero, a, 6, 1), a);
}

TEST(Evaluation, NTreeSampleBooksOnTheCorrectedArea) {
  Case r;
  r.pass = kMethodNTree;
  r.method.code = kMethodNTree;
  r.method.treeNumber = 2;
  r.method.variant = 1;
  // two trees of equal dbh: corrected area = A · 2 / 1.5
  AddPlot(r.plots, 30, {{1, 20}, {1, 20}});
  r.Evaluate();
  const double h = 30.0 * 2 / 1.5;
  EXPECT_NEAR(r.e.nPerHa[0], 2 * 10000 / h, 1e-9);
}

TEST(Evaluation, NTreeVariant7IsARatioEstimate) {
  Case r;
  r.pass = kMethodNTree;
  r.method.code = kMethodNTree;
  r.method.treeNumber = 3;
  r.method.variant = 7;
  AddPlot(r.plots, 40, {{1, 20, 1.0}, {1, 20}, {5, 40}});
  AddPlot(r.plots, 80, {{1, 20, 2.0}, {5, 40}, {5, 40}});
  r.Evaluate();
  const double q = 1.0 / 40 + 2.0 / 80;
  const double n0 = (3 - 1) * 10000 * q / 2;
  EXPECT_NEAR(r.e.nPerHa[0], n0, 1e-9);
  const double gMean = 0.785398 * (3 * 400 + 3 * 1600) / 6;
  EXPECT_NEAR(r.e.gPerHa[0], gMean * n0 * 0.0001, 1e-9);
  EXPECT_NEAR(r.e.nPerHa[5], n0 * 3 / 6, 1e-9);
  EXPECT_NEAR(r.e.gPerHa[1], r.e.gPerHa[0] * 1200 / 6000, 1e-9);
}

TEST(Evaluation, NTreeVariant8SumsGiveTheRunItsRatioOfSums) {
  Case r;
  r.pass = kMethodNTree;
  r.method.code = kMethodNTree;
  r.method.treeNumber = 2;
  r.method.variant = 8;
  AddPlot(r.plots, 30, {{1, 20, 1.0}, {1, 20, 1.0}});
  AddPlot(r.plots, 50, {{5, 40, 1.0}, {5, 40, 1.5}});
  r.Evaluate();
  auto corrected = [](double a, double dm) {
    const double rr = std::sqrt(a / kCirclePi) + dm * 0.5;
    return kCirclePi * rr * rr;
  };
  const double areas = corrected(30, 0.2) + corrected(50, 0.4);
  const VariantEightSums& s = r.e.variant8;
  EXPECT_DOUBLE_EQ(s.weightSum, 4.5);
  EXPECT_NEAR(s.plotAreaSum, areas, 1e-9);
  EXPECT_NEAR(s.weightedBasalArea, 0.785398 * (400 + 400 + 1600 + 1600 * 1.5), 1e-9);
  EXPECT_NEAR(r.e.RunStemNumber(r.method), 4.5 / areas * 10000, 1e-9);
  EXPECT_NEAR(r.e.RunBasalArea(r.method), s.weightedBasalArea / areas, 1e-12);
  // other variants hand the run the published estimate
  r.method.variant = 1;
  EXPECT_DOUBLE_EQ(r.e.RunStemNumber(r.method), r.e.nPerHa[0]);
}

TEST(Evaluation, ErrorsNeedTwoPlotsAndIdenticalPlotsHaveNone) {
  Case one;
  AddPlot(one.plots, 500, {{1, 20, 1.0, 500}});
  one.Evaluate();
  EXPECT_EQ(one.e.basalArea.sd[0], 0.0);
  EXPECT_EQ(one.e.basalArea.se[0], 0.0);
  EXPECT_EQ(one.e.stemNumberError[0], 0.0);

  Case ten;
  for (int i = 0; i < 10; ++i) AddPlot(ten.plots, 500, {{1, 20, 1.0, 500}, {5, 40, 1.0, 500}});
  ten.Evaluate();
  EXPECT_NEAR(ten.e.basalArea.sd[0], 0.0, 1e-7);
  EXPECT_EQ(ten.e.stemNumberError[0], 0.0);
  EXPECT_EQ(ten.e.stemNumberError[1], 0.0);
}

TEST(Evaluation, FinitePopulationFactorNeverTurnsTheErrorNegative) {
  Case r;
  r.truth = Stand(0.1, {{1, 20}, {1, 30}});  // two trees in the stand, sampled again and again
  AddPlot(r.plots, 500, {{1, 20, 1.0, 500}, {1, 30, 1.0, 500}});
  AddPlot(r.plots, 500, {{1, 20, 1.0, 500}});
  AddPlot(r.plots, 500, {{1, 30, 1.0, 500}});
  r.Evaluate();
  EXPECT_GT(r.e.basalArea.sd[0], 0.0);
  EXPECT_EQ(r.e.basalArea.se[0], 0.0);
  EXPECT_EQ(r.e.basalArea.sePercent[0], 0.0);
}

TEST(Evaluation, PassWithoutPlotsGivesZerosAndNoHistogramCount) {
  Case r;
  r.Evaluate();
  for (int i = 0; i <= 9; ++i) {
    EXPECT_EQ(r.e.gPerHa[i], 0.0);
    EXPECT_EQ(r.e.nPerHa[i], 0.0);
    EXPECT_EQ(r.e.basalArea.se[i], 0.0);
    EXPECT_TRUE(std::isfinite(r.e.meanDiameter.mean[i]));
  }
  int total = 0;
  for (const auto& row : r.h.basalArea)
    for (auto c : row) total += c;
  EXPECT_EQ(total, 0);
}

TEST(Evaluation, DeviationHistogramsAccumulateAcrossEvaluations) {
  EXPECT_EQ(DeviationBin(-4.0, 0.25), -15);  // -16 clamped
  EXPECT_EQ(DeviationBin(0.125, 0.25), 0);   // half to even
  EXPECT_EQ(DeviationBin(0.375, 0.25), 2);
  EXPECT_EQ(DeviationBin(12.5, 5.0), 2);

  Case r;
  r.truth = Stand(1.0, {{1, 20}});
  // the one plot estimates 20 trees/ha for a stand of 1 tree/ha: N bin +3 (19 / 5 = 3.8 → 4)
  AddPlot(r.plots, 500, {{1, 20, 1.0, 500}});
  r.Evaluate();
  r.Evaluate();
  EXPECT_EQ(r.h.stemNumber[1][15 + 4], 2);
  EXPECT_EQ(r.h.stemNumber[0][15 + 4], 2);
  // species without trees in the stand are not counted
  EXPECT_EQ(r.h.stemNumber[5][15], 0);
}

TEST(Evaluation, CostRelationOnlyOutsideTheEnterprise) {
  Case r;
  r.method.code = kMethodFixedCircle;
  r.method.circleArea = 400;
  AddPlot(r.plots, 400, {{1, 20, 1.0, 400}});
  r.Evaluate();
  EXPECT_EQ(r.e.costText, "Kostenrelationen können nur für # 500 qm Probekreise ermittelt werden.");
  EvaluationInput in{r.method, r.pass, r.plots, r.truth, 50, true};
  EvaluateSample(in, r.lang, r.e, r.h);
  EXPECT_EQ(r.e.costText, "");
}

TEST(SampleTreeTable, ExactLayout) {
  Case r;
  r.truth = Stand(1.0, {{1, 20}, {5, 40}});
  AddPlot(r.plots, 500, {{1, 20.0, 1.0, 500.0, 3.26}, {5, 41.3, 1.0, 500.0, 11.0}});
  AddPlot(r.plots, 500, {});
  r.Evaluate();
  SampleTableHeader header{{"Bestand 01", "Fläche: 1 ha", "Bäume: 2", "groß", "Vollkreise", "Kreisfläche: 500 qm"},
                           {"Gitterabstand: 50/50 m", "Stichproben: 2", "Probebäume: 3"}};
  auto lines = SampleTreeTableLines(r.e, r.plots, kMethodFixedCircle, kConiferList, header, r.lang);
  const std::string rule(76, '-');
  const std::vector<std::string> expected = {
      "Bestand 01", "Fläche: 1 ha", "Bäume: 2", "groß", "Vollkreise", "Kreisfläche: 500 qm", "",
      "Gitterabstand: 50/50 m", "Stichproben: 2", "Probebäume: 3", "",
      std::string(25, ' ') + "Messwerte der Probebäume",
      std::string(33, ' ') + "Summe",
      "\r" + std::string(13, ' ') + "Baumart       Baumzahl      Grundfläche (m²)",
      rule,
      "             Fichte            1              0.03",
      "             Buche             1              0.13",
      rule,
      "             Summe             2              0.17",
      rule + "\r\r",
      "",
      std::string(24, ' ') + "Messwerte der Probebäume",
      std::string(32, ' ') + "Einzeln",
      "\r" + rule,
      "Stichpr.Nr  Baum Nr.   Baumart        BHD        Abstand      Probefläche",
      "                                      cm            m              m²",
      rule,
      "    1         1        Fichte         20.0         3.3           500.0",
      "              2        Buche          41.3        11.0           500.0",
      rule,
      "    2",
      rule,
  };
  ASSERT_EQ(lines.size(), expected.size());
  for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i;

  testing::TempDir dir;
  ASSERT_TRUE(WriteSampleTreeTable(dir.path(), lines).ok());
  std::ifstream f(dir.File("Temp/ProbeBa.txt"), std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  const std::string bytes = ss.str();
  EXPECT_EQ(bytes.substr(0, 12), "Bestand 01\r\n");
  EXPECT_NE(bytes.find(rule + "\r\r\r\n\r\n"), std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - 78), rule + "\r\n");
}

TEST(SampleTreeTable, NTreePlotsShowTheStoredAreaOfEachLayer) {
  Case r;
  r.truth = Stand(1.0, {{1, 20}});
  AddPlot(r.plots, 60.0, {{1, 20, 1.0, 0.0, 2.0, 0}, {1, 9, 1.0, 0.0, 1.0, 1}}, 12.5);
  auto lines = SampleTreeTableLines(r.e, r.plots, kMethodNTree, kConiferList, SampleTableHeader{}, r.lang);
  const std::size_t first = lines.size() - 3;
  EXPECT_EQ(lines[first].substr(lines[first].size() - 16), FormatFixed(16, 1, 60.0));
  EXPECT_EQ(lines[first + 1].substr(lines[first + 1].size() - 16), FormatFixed(16, 1, 12.5));
}

}  // namespace
}  // namespace tolvek
