#include "simulator/sampling/plan_optimisation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/recording_canvas.h"

namespace tolvek {
namespace {

PlanOptimisationModel Example() {
  PlanOptimisationModel m;
  m.sF = 10;
  m.sB = 40;
  m.A = 10;
  m.N = 400;
  return m;
}

TEST(PlanModel, MinutesAndPlots) {
  PlanOptimisationModel m = Example();
  EXPECT_NEAR(PlanMinutes(m, 3), 76.716449, 1e-6);
  EXPECT_NEAR(m.n, 6.3333333, 1e-6);
  EXPECT_NEAR(PlanMinutes(m, 10), 56.998039, 1e-6);
  EXPECT_NEAR(m.n, 2.6, 1e-12);
  EXPECT_NEAR(PlanMinutes(m, 40), 83.083315, 1e-6);
  m.sF = 30;
  m.sB = 60;
  EXPECT_NEAR(PlanMinutes(m, 10), 249.24994, 1e-5);
  EXPECT_NEAR(m.n, 12.6, 1e-12);
  EXPECT_DOUBLE_EQ(WalkMinPerM(3), 0.02);
  EXPECT_DOUBLE_EQ(WalkMinPerM(1.5), 0.04);
  EXPECT_DOUBLE_EQ(WalkMinPerM(0.1), 0.0);
}

TEST(PlanModel, Optimum) {
  PlanOptimisationModel m = Example();
  EXPECT_NEAR(OptimalTrees(m), 4 * std::sqrt(6.0), 1e-9);
  m.sF = 0.1;
  EXPECT_DOUBLE_EQ(OptimalTrees(m), 40);
  m = Example();
  m.tB = 0.05;
  OptimalTrees(m);
  EXPECT_DOUBLE_EQ(m.tB, 0.1);
  EXPECT_EQ(PlanEditFieldTexts(m).tB, "  0.1");
  m = Example();
  m.sB = 0.5;  // an optimum below one tree is drawn at one
  EXPECT_DOUBLE_EQ(OptimalTrees(m), 1.0);
}

TEST(PlanModel, EditsKeepTheModelDefined) {
  PlanOptimisationModel m = Example();
  EXPECT_FALSE(SetPlanField(m, PlanField::VC, "0"));
  EXPECT_FALSE(SetPlanField(m, PlanField::VC, "abc"));
  EXPECT_FALSE(SetPlanField(m, PlanField::A, "-3"));
  EXPECT_FALSE(SetPlanField(m, PlanField::N, "0"));
  EXPECT_FALSE(SetPlanField(m, PlanField::tF, "-1"));
  EXPECT_DOUBLE_EQ(m.VC, 10);
  EXPECT_TRUE(SetPlanField(m, PlanField::A, " 12.5"));
  EXPECT_DOUBLE_EQ(m.A, 12.5);
  EXPECT_TRUE(SetPlanField(m, PlanField::vF, "0.1"));
  EXPECT_EQ(PlanEditFieldTexts(m).vF, "0");  // no walking time
  EXPECT_TRUE(SetPlanField(m, PlanField::sF, "0"));
  EXPECT_FALSE(SetPlanField(m, PlanField::sB, "0"));  // no variation at all: no curve
}

TEST(PlanGraphTest, ScaleTicksAndLabels) {
  PlanOptimisationModel m = Example();
  RecordingCanvas c;
  LanguageTable german;
  const PlanGraph g = DrawPlanCurve(c, m, 440, 300, german);
  EXPECT_DOUBLE_EQ(g.yMax, 90);  // max(80, 90)
  EXPECT_DOUBLE_EQ(g.scaleX, 10);
  EXPECT_EQ(g.PixelX(0), 30);
  EXPECT_EQ(g.PixelY(0), 255);
  int xLabels = 0, yLabels = 0, plotLabels = 0;
  for (const DrawCommand& d : c.commands) {
    if (d.kind != DrawCommand::Kind::Text) continue;
    if (d.v[1] == 255 + 5) ++xLabels;
    if (d.v[0] == 30 - 28) ++yLabels;
    if (d.v[1] == 255 + 20 && d.text != "Flächen:") ++plotLabels;
  }
  EXPECT_EQ(xLabels, 9);      // 0, 5, ..., 40
  EXPECT_EQ(plotLabels, 8);   // 5, 10, ..., 40
  // With step 5: round(90 / 5) + 10 = 28 steps, labelled at 0, 10, 20.
  EXPECT_EQ(yLabels, 3);
  // The optimum's label.
  bool optimum = false;
  for (const DrawCommand& d : c.commands) optimum |= d.kind == DrawCommand::Kind::Text && d.text == " 9.8";
  EXPECT_TRUE(optimum);
}

TEST(PlanGraphTest, Readout) {
  PlanOptimisationModel m = Example();
  RecordingCanvas c;
  LanguageTable german;
  const PlanGraph g = DrawPlanCurve(c, m, 440, 300, german);
  PlanReadout r = ReadPlanCurve(m, g, g.PixelX(10), german);
  EXPECT_EQ(r.hint, "Bäume: 10    Flächen: 3    Minuten: 57");
  r = ReadPlanCurve(m, g, 5, german);  // left of the axis: one tree per plot, finite
  EXPECT_DOUBLE_EQ(r.x, 1.0);
  EXPECT_TRUE(std::isfinite(r.minutes));
}

}  // namespace
}  // namespace tolvek
