#include "simulator/sampling/cost.h"

#include <gtest/gtest.h>

namespace tolvek {
namespace {

MethodChoice FixedCircle(double area) {
  MethodChoice m;
  m.code = kMethodFixedCircle;
  m.circleArea = area;
  return m;
}

MethodChoice AngleCount(int factor, int mode) {
  MethodChoice m;
  m.code = kMethodAngleCount;
  m.countingFactor = static_cast<std::uint8_t>(factor);
  m.countingMode = static_cast<std::uint8_t>(mode);
  return m;
}

TEST(CostRelation, ModelRowsByMethodAndParameters) {
  MethodChoice n;
  n.code = kMethodNTree;
  n.treeNumber = 6;
  EXPECT_EQ(CostModelRow(n), 1);
  n.treeNumber = 5;
  EXPECT_FALSE(CostModelRow(n));
  EXPECT_EQ(CostModelRow(FixedCircle(492)), 2);
  EXPECT_FALSE(CostModelRow(FixedCircle(510)));
  EXPECT_EQ(CostModelRow(AngleCount(2, 1)), 3);
  EXPECT_EQ(CostModelRow(AngleCount(4, 1)), 4);
  EXPECT_EQ(CostModelRow(AngleCount(2, 0)), 5);
  EXPECT_EQ(CostModelRow(AngleCount(4, 0)), 6);
  EXPECT_FALSE(CostModelRow(AngleCount(1, 1)));
  MethodChoice k;
  k.code = kMethodConcentric;
  k.regionCode = "AV";
  EXPECT_EQ(CostModelRow(k), 7);
  k.regionCode = "VK";
  EXPECT_FALSE(CostModelRow(k));
}

TEST(CostRelation, HandComputedRelations) {
  // 5 ha, 300 trees/ha, 20 plots of 500 m², grid 40 m:
  // measuring 20 (51.24 + 0.455·300) / 3600 h, walking (0.996·40 + 4.4855) · 31.25 / 3600 h,
  // full callipering 180 · 5 · (3.55·300 + 502.267) / 3600  →  47.37 %
  EXPECT_EQ(CostRelation(FixedCircle(500), 20, 40, 5.0, 1500), 47);
  // Density exactly 670 takes the second formula for the sample and the full callipering: 18.34 %
  MethodChoice n;
  n.code = kMethodNTree;
  n.treeNumber = 6;
  EXPECT_EQ(CostRelation(n, 40, 50, 10.0, 6700), 18);
}

TEST(CostRelation, OutsideTheModelThereIsNoRelation) {
  LanguageTable lang;
  const std::string none = "Für diesen Bestand kann keine # Kostenrelation berechnet werden.";
  EXPECT_EQ(CostRelation(FixedCircle(500), 20, 40, 1.0, 90), 0);
  EXPECT_EQ(CostRelation(FixedCircle(500), 20, 40, 1.0, 1000), 0);
  EXPECT_EQ(CostRelationText(0, FixedCircle(500), lang), none);
  EXPECT_EQ(CostRelationText(0, AngleCount(4, 1), lang), none);
  EXPECT_EQ(CostRelation(AngleCount(1, 1), 20, 40, 5.0, 1500), 0);
  // no area or no spacing: nothing to divide by
  EXPECT_EQ(CostRelation(FixedCircle(500), 20, 40, 0.0, 1500), 0);
  EXPECT_EQ(CostRelation(FixedCircle(500), 20, 0, 5.0, 1500), 0);
}

TEST(CostRelation, TextsByMethodAndCircleArea) {
  LanguageTable lang;
  EXPECT_EQ(CostRelationText(47, FixedCircle(500), lang), "Kostenrelation zur Vollkluppung:   47 %");
  EXPECT_EQ(CostRelationText(47, AngleCount(4, 1), lang), "Kostenrelation zur Vollkluppung:   47 %");
  // 492 m² has a model row, but the text says relations exist only for 500 m² circles
  EXPECT_NE(CostRelation(FixedCircle(492), 20, 40, 5.0, 1500), 0);
  EXPECT_EQ(CostRelationText(CostRelation(FixedCircle(492), 20, 40, 5.0, 1500), FixedCircle(492), lang),
            "Kostenrelationen können nur für # 500 qm Probekreise ermittelt werden.");
}

}  // namespace
}  // namespace tolvek
