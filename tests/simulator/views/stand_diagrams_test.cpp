#include "simulator/views/stand_diagrams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "simulator/views/stand_map.h"

namespace tolvek {
namespace {

const LanguageTable kGerman{};

// A pure spruce stand of 2 ha: 300 trees, 24 m² of basal area, sampled by 10 plots.
struct SpruceStand {
  SpruceStand() {
    sums.count[0] = sums.count[1] = 300;
    sums.basalArea[0] = sums.basalArea[1] = 24.0;
    sums.classCounts[1][2] = 100;  // 12 .. 20 cm
    sums.classCounts[1][3] = 200;  // 20 .. 28 cm
    e.method = kMethodFixedCircle;
    e.plotCount = 10;
    e.gPerHa[0] = e.gPerHa[1] = 11.0;
    e.nPerHa[0] = e.nPerHa[1] = 140.0;
    e.basalArea.se[0] = 1.2;
    e.stemNumberError[0] = 9.0;
    e.meanDiameter.se[0] = 0.8;
    e.sampleTrees[0] = e.sampleTrees[1] = 35.0;
    e.stemsByClass[1][2] = 600.0;   // summed over the 10 plots
    e.stemsByClass[1][3] = 800.0;
  }
  StandDiagramInput In(int countingMode = 1) const { return {sums, 2.0, kConiferList, e, countingMode}; }
  SpeciesSums sums;
  SampleEstimate e;
};

TEST(StandDiagrams, SpeciesDiagramsOfAPureSpruceStand) {
  SpruceStand st;
  const StandDiagram g = DiagramBasalArea(st.In(), kGerman);
  ASSERT_TRUE(g.refusal.empty());
  // only the whole stand and the spruce have labels, counts and values
  EXPECT_EQ(g.data.labels[0], "Bestand");
  EXPECT_EQ(g.data.labels[1], "Fichte");
  for (int s = 2; s < 10; ++s) {
    EXPECT_EQ(g.data.labels[s], "");
    EXPECT_EQ(g.data.trueValues[s] + g.data.counts[s], 0.0);
  }
  EXPECT_DOUBLE_EQ(g.data.trueValues[0], 12.0);
  EXPECT_DOUBLE_EQ(g.data.counts[1], 35.0);
  EXPECT_EQ(g.data.colours[0], 8421504u);
  EXPECT_EQ(g.data.colours[1], SpeciesColour(1, kConiferList));
  EXPECT_DOUBLE_EQ(DiagramStemNumber(st.In(), kGerman).data.standardErrors[0], 9.0);

  // the mean diameter: quadratic means of the stand and of the estimates
  st.e.nPerHa[1] = 0.0;  // a species the sample found no stems of keeps no estimate, error or count
  st.e.meanDiameter.se[1] = 5.0;
  const StandDiagram d = DiagramDbh(st.In(), kGerman);
  EXPECT_NEAR(d.data.trueValues[0], std::sqrt(24.0 * kFourOverPi / 300.0) * 100.0, 1e-12);
  EXPECT_NEAR(d.data.estimates[0], std::sqrt(11.0 * kFourOverPi / 140.0) * 100.0, 1e-12);
  EXPECT_DOUBLE_EQ(d.data.counts[0], 35.0);
  EXPECT_GT(d.data.trueValues[1], 0.0);
  EXPECT_EQ(d.data.estimates[1] + d.data.standardErrors[1] + d.data.counts[1], 0.0);
}

TEST(StandDiagrams, DistributionOfOneSpeciesAndOfTheWholeStand) {
  SpruceStand st;
  ResultGraphState graph;
  StandDiagram v = DiagramDiameterClasses(st.In(), 1, graph.barCategory);
  ASSERT_TRUE(v.refusal.empty());
  EXPECT_EQ(v.data.code, 'V');
  const std::vector<std::string> labels(v.data.labels.begin(), v.data.labels.end());
  EXPECT_EQ(labels, (std::vector<std::string>{"  8", " 16", " 24", " 32", " 40", " 48", " 56", " 64", " 72", " 80"}));
  // class 2 (12 .. 20 cm) on the second bar: 100 trees on 2 ha, 600 stems over 10 plots
  EXPECT_DOUBLE_EQ(v.data.trueValues[1], 50.0);
  EXPECT_DOUBLE_EQ(v.data.estimates[1], 60.0);
  EXPECT_DOUBLE_EQ(v.data.estimates[2], 80.0);
  for (int q = 0; q < 10; ++q) {
    EXPECT_EQ(v.data.standardErrors[q], 0.0);
    EXPECT_EQ(v.data.counts[q], 0.0);
    EXPECT_EQ(v.data.colours[q], SpeciesColour(1, kConiferList));
  }
  // the whole stand adds up species 1 .. 9 (its own row of the tables is not read)
  st.sums.classCounts[5][2] = 40;
  st.e.stemsByClass[5][2] = 100.0;
  st.sums.classCounts[0][2] = 999;
  v = DiagramDiameterClasses(st.In(), 0, graph.barCategory);
  EXPECT_DOUBLE_EQ(v.data.trueValues[1], 70.0);
  EXPECT_DOUBLE_EQ(v.data.estimates[1], 70.0);
  // no plot: no estimate rather than a division by nothing
  st.e.plotCount = 0;
  v = DiagramDiameterClasses(st.In(), 1, graph.barCategory);
  EXPECT_EQ(v.data.estimates[1], 0.0);
  EXPECT_DOUBLE_EQ(v.data.trueValues[1], 50.0);
}

TEST(StandDiagrams, CountingWithoutDiametersRefusesTheDiameterDiagrams) {
  SpruceStand st;
  st.e.method = kMethodAngleCount;
  ResultGraphState graph;
  const StandDiagram d = DiagramDbh(st.In(0), kGerman);
  EXPECT_EQ(d.refusal, "Keine BHD-Auswertung möglich");
  EXPECT_EQ(d.kindAfterRefusal, DiagramKind::BasalArea);
  const StandDiagram v = DiagramDiameterClasses(st.In(0), 1, graph.barCategory);
  EXPECT_EQ(v.refusal, "Keine Stärkeklassen-Auswertung möglich");
  EXPECT_EQ(v.kindAfterRefusal, DiagramKind::MeanDiameter);
  // measured angle counts have both
  EXPECT_TRUE(DiagramDbh(st.In(1), kGerman).refusal.empty());
  EXPECT_TRUE(DiagramDiameterClasses(st.In(1), 1, graph.barCategory).refusal.empty());
}

// The loop with scripted windows: each shown diagram "presses" the next button of the script.
struct ScriptedWindow : DiagramSteps {
  ScriptedWindow(ResultGraphState& g, std::vector<DiagramKind> presses) : graph(g), script(std::move(presses)) {}
  DiagramShown Draw(DiagramKind kind) override {
    drawn.push_back(kind);
    if (refuse.count(kind)) {
      graph.kind = refuse[kind];
      return DiagramShown::Refused;
    }
    if (blocked) return DiagramShown::NotShown;
    graph.kind = next < script.size() ? script[next++] : DiagramKind::Exit;
    return DiagramShown::Shown;
  }
  ResultGraphState& graph;
  std::vector<DiagramKind> script;
  std::size_t next = 0;
  std::map<DiagramKind, DiagramKind> refuse;
  bool blocked = false;
  std::vector<DiagramKind> drawn;
};

TEST(StandDiagrams, LoopFollowsTheButtons) {
  using DK = DiagramKind;
  ResultGraphState graph;
  graph.kind = DK::Exit;  // whatever the last loop left: it starts with basal area
  ScriptedWindow w(graph, {DK::Distribution, DK::StemNumber, DK::MeanDiameter, DK::Exit});
  RunDiagramLoop(graph, w);
  EXPECT_EQ(w.drawn, (std::vector<DK>{DK::BasalArea, DK::Distribution, DK::StemNumber, DK::MeanDiameter}));
  EXPECT_EQ(graph.kind, DK::Exit);
}

TEST(StandDiagrams, RefusalsOfCountedTreesEndOnBasalArea) {
  using DK = DiagramKind;
  ResultGraphState graph;
  ScriptedWindow w(graph, {DK::Distribution, DK::Exit});
  w.refuse = {{DK::Distribution, DK::MeanDiameter}, {DK::MeanDiameter, DK::BasalArea}};
  RunDiagramLoop(graph, w);
  // a species button: the classes are refused, then the mean diameter, and basal area shows again
  EXPECT_EQ(w.drawn, (std::vector<DK>{DK::BasalArea, DK::Distribution, DK::MeanDiameter, DK::BasalArea}));
}

TEST(StandDiagrams, LoopEndsWhenNothingCanBeShown) {
  ResultGraphState graph;
  ScriptedWindow w(graph, {});
  w.blocked = true;
  RunDiagramLoop(graph, w);
  EXPECT_EQ(w.drawn.size(), 1u);
}

}  // namespace
}  // namespace tolvek
