#include "simulator/enterprise/enterprise_evaluation.h"

#include <gtest/gtest.h>

#include "common/format.h"

namespace tolvek {
namespace {

struct TreeSpec {
  int species;
  double dbh;
  double weight = 1.0;
};

// Plots of one pass: each with its stratum and its sample trees, all on fixed circles of `area`.
class Pass {
 public:
  explicit Pass(double area = 500.0) : area_(area) {}
  Pass& Plot(int t, int k, std::vector<TreeSpec> trees) {
    PlotRecord p;
    p.standType = static_cast<std::uint8_t>(t);
    p.ageClass = static_cast<std::uint8_t>(k);
    p.plotArea = area_;
    p.firstTree = static_cast<std::int32_t>(list.trees.size());
    for (const TreeSpec& s : trees) {
      SampleTreeRecord r;
      r.species = static_cast<std::uint8_t>(s.species);
      r.dbh = static_cast<float>(s.dbh);
      r.edgeWeight = s.weight;
      r.plotArea = area_;
      list.trees.push_back(r);
    }
    p.treeCount = static_cast<std::int32_t>(trees.size());
    list.plots.push_back(p);
    return *this;
  }
  PlotList list;

 private:
  double area_;
};

class EnterpriseEvaluationTest : public ::testing::Test {
 protected:
  EnterpriseEvaluationTest() { method.code = kMethodFixedCircle; }
  EnterpriseEstimates Evaluate(const PlotList& plots, MethodCode code = kMethodFixedCircle) {
    return EvaluateEnterprise({method, code, plots, truth}, histograms);
  }
  MethodChoice method;
  StratumValues truth;
  EnterpriseHistograms histograms;
};

TEST_F(EnterpriseEvaluationTest, ThreePlotsWithAnEmptyOneGiveMeansAndErrors) {
  Pass pass;
  pass.Plot(1, 1, {{1, 30.0}, {1, 30.0}}).Plot(1, 1, {{5, 40.0}}).Plot(1, 1, {});
  const EnterpriseEstimates e = Evaluate(pass.list);
  for (const auto& [t, k] : {std::pair{1, 1}, std::pair{0, 0}, std::pair{1, 0}, std::pair{0, 1}}) {
    const StratumSample& all = e.At(t, k, 0);
    EXPECT_EQ(all.plots, 2.0);
    EXPECT_EQ(e.Unit(t, k).emptyPlots, 1);
    EXPECT_NEAR(all.meanG, 1.78024, 5e-6);
    EXPECT_NEAR(all.seG, 0.89473, 5e-6);
    EXPECT_NEAR(all.meanN, 20.0, 1e-12);
    EXPECT_NEAR(all.seN, 11.547, 5e-4);
    EXPECT_NEAR(all.dg, 33.66, 5e-3);
    // The plots' mean diameters 30 and 40: the standard error of their mean.
    EXPECT_NEAR(all.seD, 5.0, 1e-12);
  }
  EXPECT_NEAR(e.At(1, 1, 1).meanG, 0.94248, 5e-6);
  EXPECT_NEAR(e.At(1, 1, 1).seG, 0.94248, 5e-6);
  // Class counts for the species and for all species: 20 stems/ha each for the dbh-30 trees.
  EXPECT_EQ(e.At(1, 1, 1).classes[3], 40);
  EXPECT_EQ(e.At(1, 1, 0).classes[3], 40);
  EXPECT_EQ(e.At(0, 0, 0).classes[4], 20);
  EXPECT_EQ(e.At(1, 1, 5).classes[4], 20);
}

TEST_F(EnterpriseEvaluationTest, OneOrTwoPlotsHaveNoErrorButOnePlotShowsItsStems) {
  Pass pass;
  pass.Plot(2, 3, {{1, 30.0}});
  const EnterpriseEstimates e = Evaluate(pass.list);
  const StratumSample& c = e.At(2, 3, 0);
  EXPECT_NEAR(c.meanN, 20.0, 1e-12);
  EXPECT_EQ(c.seN, 0.0);
  EXPECT_EQ(c.seG, 0.0);
  EXPECT_NEAR(c.dg, 30.0, 1e-3);
  Pass two;
  two.Plot(2, 3, {{1, 30.0}}).Plot(2, 3, {{1, 40.0}});
  const EnterpriseEstimates e2 = Evaluate(two.list);
  EXPECT_EQ(e2.At(2, 3, 0).seG, 0.0);
  EXPECT_GT(e2.At(2, 3, 0).seN, -1.0);
}

TEST_F(EnterpriseEvaluationTest, AreaSharesCountEmptyPlotsOfTheAreaOfStandsWithModels) {
  truth.At(0, 0, 0).area = 100.0;
  Pass pass;
  pass.Plot(1, 1, {{1, 30.0}}).Plot(1, 1, {{1, 30.0}}).Plot(1, 1, {}).Plot(1, 2, {{1, 30.0}});
  const EnterpriseEstimates e = Evaluate(pass.list);
  EXPECT_DOUBLE_EQ(e.areaBase, 100.0);
  EXPECT_NEAR(e.Unit(1, 1).area, 75.0, 1e-12);
  EXPECT_NEAR(e.Unit(1, 1).areaSE, 25.0, 1e-12);
  EXPECT_NEAR(e.Unit(1, 2).area, 25.0, 1e-12);
  EXPECT_NEAR(e.Unit(1, 0).area, 100.0, 1e-12);
  EXPECT_EQ(e.Unit(1, 0).areaSE, 0.0);  // a share of 1
  EXPECT_EQ(e.Unit(3, 1).area, 0.0);
  EXPECT_EQ(e.Unit(3, 1).areaSE, 0.0);

  // A stratum of only empty plots still has its share of the area; no plot with trees divides nothing.
  Pass empty;
  empty.Plot(4, 4, {}).Plot(4, 4, {});
  const EnterpriseEstimates e2 = Evaluate(empty.list);
  EXPECT_NEAR(e2.Unit(4, 4).area, 100.0, 1e-12);
  EXPECT_EQ(e2.At(4, 4, 0).meanG, 0.0);
  EXPECT_EQ(e2.At(0, 0, 0).meanN, 0.0);
  EXPECT_EQ(e2.At(0, 0, 0).dg, 0.0);
}

TEST_F(EnterpriseEvaluationTest, AreaErrorBetweenItsLimits) {
  truth.At(0, 0, 0).area = 10.0;
  Pass pass;
  for (int i = 0; i < 101; ++i) pass.Plot(i < 50 ? 1 : 2, 1, {{1, 20.0}});
  pass.list.plots.push_back(pass.list.plots.back());  // 102 plots: 50 of type 1
  const EnterpriseEstimates e = Evaluate(pass.list);
  const double p = 50.0 / 102.0;
  EXPECT_NEAR(e.Unit(1, 1).areaSE, std::sqrt(p * (1.0 - p) / 101.0) * 10.0, 1e-12);
  // A single plot: n - 1 is 0 and the error 0.
  Pass one;
  one.Plot(1, 1, {{1, 20.0}});
  EXPECT_EQ(Evaluate(one.list).Unit(1, 1).areaSE, 0.0);
}

TEST_F(EnterpriseEvaluationTest, CountingOnlyAngleCountBooksTheFactorAndNoStems) {
  method.code = kMethodAngleCount;
  method.countingFactor = 4;
  method.countingMode = 0;
  Pass pass(0.0);
  pass.Plot(1, 1, {{1, 30.0}, {1, 40.0}, {5, 50.0}});
  for (SampleTreeRecord& t : pass.list.trees) t.plotArea = 300.0;
  const EnterpriseEstimates e = Evaluate(pass.list, kMethodAngleCount);
  EXPECT_DOUBLE_EQ(e.At(1, 1, 0).meanG, 12.0);
  EXPECT_DOUBLE_EQ(e.At(1, 1, 1).meanG, 8.0);
  EXPECT_EQ(e.At(1, 1, 0).meanN, 0.0);
  EXPECT_EQ(e.At(1, 1, 0).dg, 0.0);
  EXPECT_EQ(e.At(1, 1, 0).classes, (std::array<std::int32_t, 10>{}));
}

TEST_F(EnterpriseEvaluationTest, EdgeWeightsAndTreesWithoutAreaAndPlotsOutsideTheStrata) {
  Pass pass;
  pass.Plot(1, 1, {{1, 30.0, 1.00005}, {1, 30.0, 2.0}});
  pass.list.trees.push_back(pass.list.trees.back());
  pass.list.trees.back().plotArea = 0.0;
  pass.list.plots.back().treeCount = 3;
  const EnterpriseEstimates e = Evaluate(pass.list);
  // A weight within 1e-4 of 1 books unweighted; a tree without area is left out and counted.
  EXPECT_NEAR(e.At(1, 1, 0).meanN, 20.0 + 40.0, 1e-12);
  EXPECT_EQ(e.skippedTrees, 1);

  Pass bad;
  bad.Plot(1, 1, {{1, 30.0}}).Plot(0, 3, {{1, 30.0}});
  EnterpriseEvaluationProblem problem;
  EvaluateEnterprise({method, kMethodFixedCircle, bad.list, truth}, histograms, &problem);
  EXPECT_TRUE(problem.failed);
  EXPECT_EQ(problem.plot, 2);
  EXPECT_EQ(EnterpriseProblemText(problem), "16/259 BT, AK  0  3");
}

TEST_F(EnterpriseEvaluationTest, DeviationHistogramsCountRoundedClampedBins) {
  truth.At(1, 1, 0).g = 20.0;
  truth.At(1, 1, 0).n = 40.0;
  Pass pass;
  // Mean G = 0.7854 · d² / 500 · ... chosen through one plot of a tree of weight w: G = 0.7854·30²/500·w.
  const double g1 = 0.7854 * 900.0 / 500.0;
  pass.Plot(1, 1, {{1, 30.0, 20.3 / g1}});
  Evaluate(pass.list);
  // (20.3 - 20) / 0.25 = 1.2 -> bin 1 -> slot 16; N: 20.3/g1 · 20 - 40 over 5.
  EXPECT_EQ(histograms.basalArea[1][1][0][16], 1);
  Pass far;
  far.Plot(1, 1, {{1, 30.0, 30.0 / g1}});
  Evaluate(far.list);
  EXPECT_EQ(histograms.basalArea[1][1][0][30], 1);  // (30 - 20) / 0.25 = 40 -> clamped to 15
  // Strata without true basal area count nothing.
  EXPECT_EQ(histograms.basalArea[0][0][0], (std::array<std::uint16_t, 31>{}));
}

TEST(EnterpriseReportTest, BlocksInOrderWithHeadLegendAndPlusMinus) {
  LanguageTable german;
  MethodChoice method;
  StratumValues truth;
  truth.At(0, 0, 0).area = 50.0;
  for (const auto& [t, k] : {std::pair{2, 1}, std::pair{1, 3}, std::pair{0, 0}}) {
    truth.At(t, k, 0).area = 10.0;
    truth.At(t, k, 0).g = 25.0;
  }
  Pass pass;
  pass.Plot(2, 1, {{1, 30.0}, {2, 20.0}}).Plot(2, 1, {{1, 34.0}}).Plot(1, 3, {{5, 44.0}}).Plot(1, 3, {});
  EnterpriseHistograms histograms;
  const EnterpriseEstimates e = EvaluateEnterprise({method, kMethodFixedCircle, pass.list, truth}, histograms);
  EnterpriseReportInput in{{"Betrieb Nr. 1   Akl", "Fläche:        564.0 ha", "Bestände:  3", "Mittl.", "Vollkreise",
                            "500 m²", "Gitterabstand:", "Probebäume:    4"},
                           "09.12.2025",
                           "12:00:00",
                           4,
                           "Reale und generierte Bestände",
                           7.0,
                           kMethodFixedCircle,
                           0.0,
                           false,
                           {"Alle Bestandestypen", "(A) Fichte", "(D) Buche", "", "", ""},
                           e,
                           truth};
  const EnterpriseReport r = EnterpriseReportLines(in, german);
  const auto& l = r.lines;
  ASSERT_GE(l.size(), 13u);
  EXPECT_EQ(l[0], PadRight("Betrieb Nr. 1   Akl", 50) + "09.12.2025  12:00:00");
  EXPECT_EQ(l[1], PadRight("Fläche:        564.0 ha", 40) + "Legende:");
  EXPECT_EQ(l[2], PadRight("Bestände:  3", 40) + "G - Grundfläche je Hektar");
  EXPECT_EQ(l[7], PadRight("Stichproben:", 16) + "    4");
  EXPECT_EQ(l[10], "Kluppschwelle:     7.0  ");
  EXPECT_EQ(l[11], "");
  EXPECT_EQ(l[12], "");
  // Blocks 1, 2 and 0 with plots, in the order 1, 2, then 0; none for 3..5.
  EXPECT_EQ(r.blockStart[1], 13);
  EXPECT_GT(r.blockStart[2], r.blockStart[1]);
  EXPECT_GT(r.blockStart[0], r.blockStart[2]);
  EXPECT_EQ(r.blockStart[3], -1);
  EXPECT_EQ(l[14], "(A) Fichte");
  EXPECT_EQ(l[15], "Altersklasse 1/2         3         4         5         6     alle AK");
  // Area: S with errors (" ±" and a whole number), E in 6.1 with four blanks after each.
  const std::string& area = l[16];
  EXPECT_EQ(area.rfind("Fläche   S", 0), 0u);
  EXPECT_NE(area.find("\xC2\xB1"), std::string::npos);
  EXPECT_EQ(l[17], "         E   0.0       0.0      10.0       0.0       0.0       0.0    ");
  // The species rows of type 1: all species and the beech; the G row's E line beneath it.
  const int first = r.blockStart[1] + 7;
  EXPECT_EQ(l[static_cast<std::size_t>(first)].substr(0, 11), "Alle BA G S");
  EXPECT_EQ(l[static_cast<std::size_t>(first + 1)].substr(0, 11), "          E");
  EXPECT_EQ(l[static_cast<std::size_t>(first + 2)].substr(0, 11), "        N S");
  EXPECT_EQ(l[static_cast<std::size_t>(first + 6)].substr(0, 11), "Buche   G S");
  // The block ends with an empty line.
  EXPECT_EQ(l[static_cast<std::size_t>(r.blockEnd[1] - 1)], "");
  EXPECT_EQ(r.blockEnd[1], r.blockStart[2]);

  // Development types take their own head; concentric circles whose first limit lies below the
  // calliper threshold are noted.
  in.forestDevelopmentTypes = true;
  in.passMethod = kMethodConcentric;
  in.firstConcentricDbhLimit = 5.0;
  const EnterpriseReport w = EnterpriseReportLines(in, german);
  EXPECT_EQ(w.lines[15], "Beh.-Typ     JPF        DF       VPF        VN        DW     alle Beh-Typen");
  EXPECT_EQ(w.lines[10], "Kluppschwelle:     7.0  Kleinster BHD kleiner als Kluppschwelle");
}

TEST(EnterpriseReportTest, ChoiceCellsShowPlotsOrAreas) {
  EnterpriseEstimates e;
  e.At(1, 2, 0).plots = 17;
  e.At(0, 0, 0).plots = 40;
  std::array<std::array<double, kStrata>, kStrata> balance{};
  balance[1][2] = 123.4;
  EXPECT_EQ(ChoiceCellText(e, balance, 0, 1, 2), "  17");
  EXPECT_EQ(ChoiceCellText(e, balance, 0, 6, 6), "  40");
  EXPECT_EQ(ChoiceCellText(e, balance, 1, 1, 2), "  123");
}

}  // namespace
}  // namespace tolvek
