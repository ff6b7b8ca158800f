#include "simulator/enterprise/enterprise_views.h"

#include <gtest/gtest.h>

#include <deque>

#include "common/format.h"
#include "simulator/views/stand_map.h"

namespace tolvek {
namespace {

class EnterpriseViewsTest : public ::testing::Test {
 protected:
  EnterpriseViewInput Input() {
    EnterpriseViewInput in{truth, estimates};
    in.positionNames = {"Alle Bestandestypen", "(A) Fichte", "(D) Buche", "(F) Fichte-Buche", "", ""};
    in.positionHasType = {false, true, true, true, false, false};
    return in;
  }
  StratumValues truth;
  EnterpriseEstimates estimates;
  EnterpriseChartColours colours;
  LanguageTable german;
};

TEST_F(EnterpriseViewsTest, ClassLabelsOfBothClassifications) {
  EXPECT_EQ(ClassLabel(2, true, german), "Behandlungstyp DF");
  EXPECT_EQ(ClassLabel(0, true, german), "Alle Behandlungstypen");
  EXPECT_EQ(ClassLabel(5, false, german), "Altersklasse 6+");
  EXPECT_EQ(ClassLabel(0, false, german), "Alle Altersklassen");
  EXPECT_EQ(ShortClassLabel(1, false), "1/2");
  EXPECT_EQ(ShortClassLabel(1, true), "JPF");
}

TEST_F(EnterpriseViewsTest, SpeciesChartsLeaveSpeciesWithoutTruthEmpty) {
  truth.At(1, 2, 0) = {300.0, 25.0, 4.0, 32.6, {}};
  truth.At(1, 2, 1) = {300.0, 25.0, 4.0, 32.6, {}};
  estimates.At(1, 2, 0).plots = 7;
  estimates.At(1, 2, 1).plots = 7;
  estimates.At(1, 2, 3).plots = 2;  // a species the truth lacks (a stray tree)
  estimates.At(1, 2, 1).meanG = 24.0;
  estimates.At(1, 2, 1).seG = 1.5;
  const ResultDiagramData g = EnterpriseSpeciesChart('G', 1, 2, Input(), colours, german);
  EXPECT_EQ(g.code, 'G');
  EXPECT_EQ(g.counts[1], 7.0);
  EXPECT_EQ(g.counts[3], 0.0);
  EXPECT_EQ(g.trueValues[1], 25.0);
  EXPECT_EQ(g.estimates[1], 24.0);
  EXPECT_EQ(g.standardErrors[1], 1.5);
  EXPECT_EQ(g.labels[1], "Fichte");
  EXPECT_EQ(g.labels[2], "");
  EXPECT_EQ(g.unitText, "Altersklasse 3");
  EXPECT_EQ(g.typeText, "(A) Fichte");
  EXPECT_EQ(g.colours[0], 8421504u);
  EXPECT_EQ(g.colours[5], SpeciesColour(5, kConiferList));

  // The mean diameter shows the sample only where it has plots and basal area, and keeps the colours
  // the chart before it left.
  estimates.At(1, 2, 1).dg = 31.0;
  estimates.At(1, 2, 1).dCount = 7;
  colours.colours[1] = 0x123456;
  const ResultDiagramData d = EnterpriseSpeciesChart('D', 1, 2, Input(), colours, german);
  EXPECT_EQ(d.trueValues[1], 32.6);
  EXPECT_EQ(d.estimates[1], 31.0);
  EXPECT_EQ(d.counts[1], 7.0);
  EXPECT_EQ(d.colours[1], 0x123456u);
  estimates.At(1, 2, 1).meanG = 0.0;
  EXPECT_EQ(EnterpriseSpeciesChart('D', 1, 2, Input(), colours, german).estimates[1], 0.0);
}

TEST_F(EnterpriseViewsTest, DiameterDistributionOverAllPlotsOfTheStratum) {
  truth.At(1, 1, 0).area = 2.0;
  truth.At(1, 1, 4).classes[3] = 800;
  estimates.At(1, 1, 4).classes[3] = 60;
  estimates.At(1, 1, 0).plots = 2;
  estimates.Unit(1, 1).emptyPlots = 1;
  const ResultDiagramData v = EnterpriseDiameterChart(1, 1, 4, Input(), colours, german);
  EXPECT_EQ(v.trueValues[3], 400.0);
  EXPECT_EQ(v.labels[3], " 32");
  EXPECT_EQ(v.estimates[3], 20.0);  // 60 stems over 3 plots, the empty one among them
  EXPECT_EQ(v.colours[7], SpeciesColour(4, kConiferList));
  EXPECT_EQ(colours.colours[4], SpeciesColour(4, kConiferList));  // the species colours come back
  // The choice "99" of the view loop counts as all species; no plots: only the true bars.
  EnterpriseEstimates none;
  EnterpriseViewInput in = Input();
  EnterpriseViewInput noSample{truth, none};
  EXPECT_EQ(EnterpriseDiameterChart(1, 1, 99, noSample, colours, german).estimates, CategoryValues{});
  EXPECT_EQ(EnterpriseDiameterChart(1, 1, 99, noSample, colours, german).colours[0], SpeciesColour(0, kConiferList));
  // A stratum without true area shows no true stems.
  EXPECT_EQ(EnterpriseDiameterChart(2, 1, 4, in, colours, german).trueValues, CategoryValues{});
}

TEST_F(EnterpriseViewsTest, ComparisonsOfClassesAndTypes) {
  for (int k = 0; k <= 5; ++k) {
    truth.At(2, k, 0).area = 10.0 + k;
    estimates.Unit(2, k).area = 9.0 + k;
    estimates.At(2, k, 0).plots = 3 + k;
  }
  // No sample basal area of the type: area and basal area are not drawn, the stems are.
  EXPECT_FALSE(EnterpriseClassComparison('F', 2, 2, Input(), colours, german));
  EXPECT_FALSE(EnterpriseClassComparison('G', 2, 2, Input(), colours, german));
  EXPECT_TRUE(EnterpriseClassComparison('Z', 2, 2, Input(), colours, german));
  estimates.At(2, 0, 0).meanG = 20.0;
  const auto f = EnterpriseClassComparison('F', 2, 2, Input(), colours, german);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->trueValues[3], 13.0);
  EXPECT_EQ(f->estimates[0], 9.0);
  EXPECT_EQ(f->counts[5], 8.0);
  EXPECT_EQ(f->labels[1], "1/2");
  EXPECT_EQ(f->labels[0], "alle");
  EXPECT_EQ(f->colours[1], ClassColour(2, 1));
  EXPECT_EQ(f->colours[7], ClassColour(2, 7));
  EXPECT_EQ(f->unitText, "Alle Altersklassen");
  EXPECT_EQ(f->typeText, "(D) Buche");
  // Basal area after it keeps the colours of the area chart.
  EXPECT_EQ(EnterpriseClassComparison('G', 2, 2, Input(), colours, german)->colours[3], ClassColour(2, 3));
  // The "all types" row takes the colours of row 5.
  estimates.At(0, 0, 0).meanG = 1.0;
  EXPECT_EQ(EnterpriseClassComparison('F', 0, 6, Input(), colours, german)->colours[2], ClassColour(5, 2));

  // Types compared for class 4: labels where a type stands, 4 characters; positions 4 and 5 stay empty.
  estimates.At(0, 4, 0).meanG = 20.0;
  const auto types = EnterpriseTypeComparison('F', 4, 4, Input(), colours, german);
  ASSERT_TRUE(types);
  EXPECT_EQ(types->labels[1], "(A) ");
  EXPECT_EQ(types->labels[3], "(F) ");
  EXPECT_EQ(types->labels[4], "");
  EXPECT_EQ(types->labels[5], "");
  EXPECT_EQ(types->colours[2], ClassColour(2, 4));
  EXPECT_EQ(types->unitText, "Altersklasse 5");
  EXPECT_EQ(types->typeText, "Alle Bestandestypen");
  const auto g = EnterpriseTypeComparison('G', 4, 4, Input(), colours, german);
  EXPECT_EQ(g->unitText, "Alle Bestandestypen");
  EXPECT_EQ(g->typeText, "Altersklasse 5");
}

EnterpriseReport SampleReport() {
  EnterpriseReport r;
  for (int i = 0; i < kReportHeadLines; ++i) r.lines.push_back("head " + std::to_string(i));
  r.lines.push_back("");
  r.lines.push_back("");
  for (const int t : {1, 2, 3, 0}) {
    r.blockStart[static_cast<std::size_t>(t)] = static_cast<int>(r.lines.size());
    r.lines.push_back("");
    r.lines.push_back("type " + std::to_string(t));
    for (int i = 0; i < 12; ++i) r.lines.push_back("row " + std::to_string(t) + "." + std::to_string(i));
    r.lines.push_back("");
    r.blockEnd[static_cast<std::size_t>(t)] = static_cast<int>(r.lines.size());
  }
  return r;
}

TEST(StratumTableTest, OneBlockOrAllTypesWithTheirHead) {
  const EnterpriseReport r = SampleReport();
  const std::vector<std::string> one = StratumTableLines(r, 2, 3, 2);
  ASSERT_EQ(one.size(), 11u + 1 + 1 + 12 + 1);
  EXPECT_EQ(one[0], "  head 0");
  EXPECT_EQ(one[11], "  ");
  EXPECT_EQ(one[12], "  type 2");
  EXPECT_EQ(one.back(), "  ");
  // Row 7 with three types: the head and the blocks 1..3 in order, each its name and 8 lines.
  const std::vector<std::string> all = StratumTableLines(r, 7, 2, 1);
  ASSERT_EQ(all.size(), 11u + 3 * 10);
  EXPECT_EQ(all[12], "  type 1");
  EXPECT_EQ(all[20], "  row 1.7");
  EXPECT_EQ(all[22], "  type 2");
  EXPECT_EQ(all[32], "  type 3");
  // A type without a block: the head and the empty line.
  EXPECT_EQ(StratumTableLines(r, 4, 1, 4).size(), 12u);
  EXPECT_EQ(StratumTableMarkerLeft(3), 310);
}

// The windows of the loop, scripted: the units chosen, the command each chart leaves.
class ScriptedViews : public EnterpriseViewSteps {
 public:
  explicit ScriptedViews(ResultGraphState& g) : graph(g) {}
  bool Showing() override { return showing; }
  bool ChooseUnit(int& row, int& column) override {
    ++choices;
    if (units.empty()) {
      showing = false;
      return false;
    }
    std::tie(row, column) = units.front();
    units.pop_front();
    return true;
  }
  void AreaButton(bool enabled) override { areaEnabled = enabled; }
  void Draw(const ResultDiagramData& data) override {
    drawn.push_back(data.code);
    graph.command = commands.empty() ? 'G' : commands.front();
    if (!commands.empty()) commands.pop_front();
  }
  void ShowTable(const std::vector<std::string>&, int column) override {
    ++tables;
    tableColumn = column;
    graph.command = 'G';
  }
  ResultGraphState& graph;
  bool showing = true;
  std::deque<std::pair<int, int>> units;
  std::deque<char> commands;
  std::string drawn;
  int choices = 0, tables = 0, tableColumn = 0;
  bool areaEnabled = true;
};

TEST_F(EnterpriseViewsTest, ViewLoopFollowsTheCommandsTheChartsLeave) {
  estimates.At(1, 2, 0).plots = 5;
  ResultGraphState graph;
  ScriptedViews steps(graph);
  steps.units = {{1, 2}};
  steps.commands = {'Z', 'D', 'V', 'T', 'E'};
  const EnterpriseReport report = SampleReport();
  EXPECT_EQ(RunEnterpriseViews(Input(), report, graph, colours, steps, german), EnterpriseViewEnd::Left);
  EXPECT_EQ(steps.drawn, "GZDVG");
  EXPECT_EQ(steps.tables, 1);
  EXPECT_EQ(steps.tableColumn, 2);
  EXPECT_FALSE(steps.areaEnabled);
  EXPECT_EQ(steps.choices, 2);

  // Row 7 and column 7 end the evaluation at once.
  ScriptedViews end(graph);
  end.units = {{7, 7}, {1, 2}};
  EXPECT_EQ(RunEnterpriseViews(Input(), report, graph, colours, end, german), EnterpriseViewEnd::Ended);
  EXPECT_EQ(end.drawn, "");

  // A unit that never leaves "E" goes back to the choice after 21 views.
  ScriptedViews endless(graph);
  endless.units = {{1, 2}, {1, 2}};
  EXPECT_EQ(RunEnterpriseViews(Input(), report, graph, colours, endless, german), EnterpriseViewEnd::Left);
  EXPECT_EQ(endless.drawn.size(), 2u * kViewsPerUnit);
  EXPECT_EQ(endless.choices, 3);

  // A stratum without plots shows nothing; the comparison of classes starts with the area.
  estimates.At(1, 0, 0).meanG = 3.0;
  ScriptedViews columns(graph);
  columns.units = {{3, 3}, {1, 7}};
  columns.commands = {'E'};
  RunEnterpriseViews(Input(), report, graph, colours, columns, german);
  EXPECT_EQ(columns.drawn, "F");
}

}  // namespace
}  // namespace tolvek
