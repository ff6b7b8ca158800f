#include "simulator/views/plot_plan.h"

#include <gtest/gtest.h>

#include "common/recording_canvas.h"
#include "common/rounding.h"
#include "simulator/views/stand_map.h"

namespace tolvek {
namespace {

// Radii of the circles drawn around the plan's centre, in drawing order.
std::vector<int> CircleRadii(const RecordingCanvas& c) {
  std::vector<int> radii;
  for (const DrawCommand* e : c.OfKind(DrawCommand::Kind::Ellipse))
    if (e->v[0] + e->v[2] == 2 * kPlotPlanCentre && e->v[1] + e->v[3] == 2 * kPlotPlanCentre)
      radii.push_back((e->v[2] - e->v[0]) / 2);
  return radii;
}

std::vector<std::string> Texts(const RecordingCanvas& c) {
  std::vector<std::string> texts;
  for (const DrawCommand* t : c.OfKind(DrawCommand::Kind::Text)) texts.push_back(t->text);
  return texts;
}

SampleTreeRecord Tree(int species, double dbh, double x, double y, int layer = 0) {
  SampleTreeRecord r;
  r.species = static_cast<std::uint8_t>(species);
  r.dbh = static_cast<float>(dbh);
  r.x = static_cast<float>(x);
  r.y = static_cast<float>(y);
  r.layer = static_cast<std::uint8_t>(layer);
  return r;
}

TEST(PlotPlanTest, ScaleAndCircleOfEachMethod) {
  PlotPlanInput in;
  in.method = kMethodFixedCircle;
  in.circleRadius = 12.6157;
  EXPECT_DOUBLE_EQ(PlotPlanScale(PlotPlanRadius(in), 250), 6.25);
  LanguageTable german;
  RecordingCanvas fixed;
  DrawPlotPlan(fixed, in, german);
  EXPECT_EQ(CircleRadii(fixed), std::vector<int>{79});

  in.method = kMethodAngleCount;
  in.strongestRadius = 20.0;
  in.strongestWeight = 1.2345;
  RecordingCanvas angle;
  DrawPlotPlan(angle, in, german);
  EXPECT_EQ(CircleRadii(angle), std::vector<int>{83});
  EXPECT_EQ(Texts(angle)[2], " 1.23");  // the weight of the thickest tree

  // Concentric circles: the outermost ring and those inside it, as far as there are any.
  in.method = kMethodConcentric;
  in.ringRadius = {0.0, 2.0, 4.0, 6.0, 8.0, 10.0, 0.0};
  in.ringWeight = {0.0, 1.0, 1.1, 1.2, 1.3, 0.0};
  in.rings = 2;
  RecordingCanvas two;
  DrawPlotPlan(two, in, german);
  EXPECT_EQ(CircleRadii(two), (std::vector<int>{25, 12}));
  in.rings = 4;
  RecordingCanvas four;
  DrawPlotPlan(four, in, german);
  EXPECT_EQ(CircleRadii(four), (std::vector<int>{50, 38, 25}));
  // Ring weights one under the other at (210, 12 i - 2).
  const auto texts = four.OfKind(DrawCommand::Kind::Text);
  EXPECT_EQ(texts[2]->text, "1.00");
  EXPECT_EQ(texts[2]->v[1], 10);
  EXPECT_EQ(texts[5]->text, "1.30");
  EXPECT_EQ(texts[5]->v[1], 46);
  in.rings = 1;
  RecordingCanvas one;
  DrawPlotPlan(one, in, german);
  EXPECT_EQ(CircleRadii(one), std::vector<int>{12});

  // The n-tree sample: the 12 m circle dotted, the n-th tree's circle, the understorey's in variant 4.
  in.method = kMethodNTree;
  in.mainRadius = 9.0;
  in.variant = 4;
  in.understoreyInUse = true;
  in.underRadius = 4.0;
  RecordingCanvas nTree;
  DrawPlotPlan(nTree, in, german);
  EXPECT_EQ(CircleRadii(nTree), (std::vector<int>{75, 25, 56}));
}

TEST(PlotPlanTest, TreesBoundaryAndLegendAroundThePlotCentre) {
  BoundaryPolygon b;
  b.n = 5;
  b.x = {0, 0, 0, 100, 100, 0};
  b.y = {0, 0, 100, 100, 0, 0};
  const std::vector<SampleTreeRecord> trees{Tree(1, 33.0, 54.0, 48.0), Tree(5, 8.0, 50.0, 52.0),
                                            Tree(2, 10.0, 51.0, 50.0, 1)};
  PlotPlanInput in;
  in.method = kMethodFixedCircle;
  in.circleRadius = 12.6157;
  in.centreX = 50.0;
  in.centreY = 50.0;
  in.boundary = &b;
  in.trees = trees;
  in.standName = "Stand201 > Fi-Ta";
  in.pointText = "17";
  in.speciesSeen[1] = in.speciesSeen[5] = 1;
  const PlanViewTransform t{6.25, 50.0, 50.0};
  EXPECT_EQ(t.Column(54.0), 155);
  EXPECT_EQ(t.Row(48.0), 142);  // 142.5 goes to the even neighbour

  LanguageTable german;
  RecordingCanvas c;
  DrawPlotPlan(c, in, german);
  const std::vector<std::string> texts = Texts(c);
  EXPECT_EQ(texts[0], "Stand201");
  EXPECT_EQ(texts[1], "Gewicht: ");
  EXPECT_EQ(texts[3], "17");
  EXPECT_EQ(texts[4], "Fichte");
  EXPECT_EQ(texts[5], "Buche");
  const auto legend = c.OfKind(DrawCommand::Kind::Text);
  EXPECT_EQ(legend[5]->v[1], 50);  // the second species present: 15 k + 20

  // Boundary: corner (0, 0) lies 50 m left and below the centre.
  const auto polyline = c.OfKind(DrawCommand::Kind::Polyline);
  ASSERT_EQ(polyline.size(), 1u);
  EXPECT_EQ(polyline[0]->points[0].x, RoundInt(-50 * 6.25 + 130));
  EXPECT_EQ(polyline[0]->points[0].y, RoundInt(130 + 50 * 6.25));

  // Discs of radius round(dbh · 3 / 16.5): 6 px for 33 cm, 1 px for 8 cm; the understorey tree a square.
  const auto ellipses = c.OfKind(DrawCommand::Kind::Ellipse);
  const DrawCommand* thick = ellipses[ellipses.size() - 2];
  EXPECT_EQ(thick->v, (std::vector<int>{149, 136, 161, 148}));
  const DrawCommand* thin = ellipses.back();
  EXPECT_EQ(thin->v[2] - thin->v[0], 2);
  const auto squares = c.OfKind(DrawCommand::Kind::Rectangle);
  ASSERT_EQ(squares.size(), 1u);
  EXPECT_EQ(squares[0]->v, (std::vector<int>{RoundInt(136.25 - 2.5), 128, RoundInt(136.25 + 2.5), 132}));
}

}  // namespace
}  // namespace tolvek
