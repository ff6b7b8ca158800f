// The structure wizard: the quota that deals types and classes, the balancing of the shares, the type
// choice, the mixing, the wizard walked forwards and back, and many seeded runs on a shipped enterprise
// dealing each type close to its target.
#include <gtest/gtest.h>

#include "common/paths.h"
#include "simulator/enterprise/enterprise_choice.h"
#include "simulator/enterprise/structure_wizard.h"
#include "tests/support/fakes.h"
#include "tests/support/scripted_draws.h"

using namespace tolvek;
using tolvek::testing::ScriptedDraws;

namespace {

Shares Targets(double a, double b, double c, double d = 0, double e = 0) { return {0, a, b, c, d, e}; }

EnterpriseSession Enterprise(int n, std::uint32_t seed) {
  EnterpriseSession s;
  s.number = n;
  MapReadProblem problem;
  EXPECT_TRUE(StartEnterprise(s, JoinPath(tolvek::testing::SourceDataDir(), "Vorgaben/"), 1.0, 1024, problem));
  RandomGenerator g(seed);
  GeneratorDraws d(g);
  SubdivideEnterprise(s, d);
  return s;
}

// Area per type position (index 1..5) over all stands.
std::array<double, 6> AreaByType(const EnterpriseSession& s) {
  std::array<double, 6> out{};
  for (int a = 1; a <= s.compartmentCount; ++a)
    for (const EnterpriseStand& st : s.At(a).stands) out[static_cast<std::size_t>(st.typePosition)] += st.area;
  return out;
}

}  // namespace

TEST(PickClassByQuota, BandsOfTheNeedsStillOpen) {
  const Shares t = Targets(50, 30, 20);
  // Nothing dealt yet: bands 50, 80, 100.
  for (auto [draw, want] : {std::pair{0, 1}, {49, 1}, {50, 2}, {79, 2}, {80, 3}, {99, 3}}) {
    QuotaAreas a{100};
    ScriptedDraws r;
    r.wholes = {draw};
    EXPECT_EQ(PickClassByQuota(t, a, 12.5, 5, r), want) << draw;
    EXPECT_EQ(a[static_cast<std::size_t>(want)], 12.0);  // whole hectares, half to even
  }
  // 80 % dealt, 10 % open for 1 and 3 each: bands 50, 50, 100.
  for (auto [draw, want] : {std::pair{0, 1}, {49, 1}, {50, 3}, {99, 3}}) {
    QuotaAreas a{100, 40, 30, 10};
    ScriptedDraws r;
    r.wholes = {draw};
    EXPECT_EQ(PickClassByQuota(t, a, 1.5, 5, r), want);
    EXPECT_EQ(a[static_cast<std::size_t>(want)], (want == 1 ? 40 : 10) + 2.0);
  }
  // Every target met: the last valid position (5 for classes, the type count for types).
  QuotaAreas met{100, 50, 30, 20};
  ScriptedDraws r;
  EXPECT_EQ(PickClassByQuota(t, met, 1, 5, r), 5);
  EXPECT_EQ(PickClassByQuota(t, met, 1, 3, r), 3);
  // Nothing to deal against: the targets alone decide, the program goes on.
  QuotaAreas none{};
  r.wholes = {60};
  EXPECT_EQ(PickClassByQuota(t, none, 4, 3, r), 2);
  EXPECT_EQ(none[2], 4.0);
}

TEST(TypeChoice, AtMostFiveInOrder) {
  std::array<bool, 9> ticked{};
  for (int n = 1; n <= 6; ++n) ticked[static_cast<std::size_t>(n)] = true;
  ticked[8] = true;
  const TypeChoice c = CollectChosenTypes(ticked);
  EXPECT_EQ(c.chosen.count, 5);
  EXPECT_EQ(c.chosen.codes, (std::array<int, 6>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(c.cleared, (std::vector<int>{6, 8}));
  EXPECT_TRUE(CollectChosenTypes({}).chosen.Empty());
}

TEST(BalanceShares, TheNextPositionTakesUpTheDifference) {
  Shares s = EvenShares(3);
  EXPECT_NEAR(s[1] + s[2] + s[3], 100.0, 1e-9);
  BalanceShares(s, 3, 1, 40);
  EXPECT_EQ(s, Targets(40, 27, 33));
  s = Targets(1, 98, 1);
  BalanceShares(s, 3, 2, 99);  // would leave position 3 at 0
  EXPECT_EQ(s, Targets(1, 98, 1));
  BalanceShares(s, 3, 3, 0);  // below 1 is 1
  EXPECT_EQ(s, Targets(1, 98, 1));
  BalanceShares(s, 3, 3, 50);  // position 1 cannot give: lowered to what fits
  EXPECT_EQ(s, Targets(1, 98, 1));
  s = Targets(20, 20, 20, 20, 20);
  BalanceShares(s, 5, 5, 60);  // the next after 5 is 1
  EXPECT_EQ(s, Targets(1, 20, 20, 20, 39));
  s = EvenShares(1);
  BalanceShares(s, 1, 1, 30);
  EXPECT_EQ(s, Targets(100, 0, 0));
}

TEST(DealingTypes, CompartmentsWholeThenMixedByTheTargets) {
  EnterpriseSession s = Enterprise(1, 11);
  s.firstDrawing = true;
  tolvek::testing::ScriptedDraws draws;
  DealTypes(s, Targets(50, 30, 20), 3, draws);
  EXPECT_FALSE(s.firstDrawing);
  for (int a = 1; a <= s.compartmentCount; ++a)
    for (const EnterpriseStand& st : s.At(a).stands) EXPECT_EQ(st.typePosition, s.At(a).typePosition);

  // No mixing: every stand keeps its compartment's type (one draw each all the same).
  const int before = draws.wholesDrawn;
  MixTypes(s, Targets(50, 30, 20), 3, 0, draws);
  EXPECT_EQ(draws.wholesDrawn - before, s.standCount);
  for (int a = 1; a <= s.compartmentCount; ++a)
    for (const EnterpriseStand& st : s.At(a).stands) EXPECT_EQ(st.typePosition, s.At(a).typePosition);

  // Full mixing: the draw B picks the type of its band; B = 0 lies in none.
  EnterpriseSession one;
  one.compartmentCount = 1;
  one.compartments.resize(2);
  one.At(1).typePosition = 3;
  one.At(1).stands.resize(4);
  ScriptedDraws scripted;
  scripted.wholes = {0, 50, 0, 51, 0, 81, 0, 0};
  MixTypes(one, Targets(50, 30, 20), 3, 100, scripted);
  EXPECT_EQ(one.At(1).stands[0].typePosition, 1);
  EXPECT_EQ(one.At(1).stands[1].typePosition, 2);
  EXPECT_EQ(one.At(1).stands[2].typePosition, 3);
  EXPECT_EQ(one.At(1).stands[3].typePosition, 3);
}

TEST(StructureWizard, WalkedForwardsAndBack) {
  EnterpriseSession s = Enterprise(1, 21);
  RandomGenerator g(4);
  GeneratorDraws random(g);
  StructureWizard w;
  w.Start();
  EXPECT_EQ(w.Step(), WizardStep::kTypes);
  EXPECT_TRUE(w.ChooseTypes(s, {}).chosen.Empty());
  EXPECT_EQ(w.Step(), WizardStep::kTypes);  // no type: the window stays

  std::array<bool, 9> ticked{};
  ticked[1] = ticked[3] = ticked[6] = true;
  w.ChooseTypes(s, ticked);
  EXPECT_EQ(w.Step(), WizardStep::kTypeShares);
  EXPECT_EQ(s.chosen.count, 3);
  EXPECT_EQ(w.ShareCount(s), 3);
  w.ChangeShare(s, 1, 50);
  EXPECT_EQ(w.ShareTable(), Targets(50, 17, 33));
  w.Back(s);
  EXPECT_EQ(w.Step(), WizardStep::kTypes);
  w.ChooseTypes(s, ticked);
  w.ChangeShare(s, 1, 50);
  w.ChangeShare(s, 2, 30);
  EXPECT_EQ(w.ShareTable(), Targets(50, 30, 20));
  w.SharesNext(s, random);
  EXPECT_EQ(w.Step(), WizardStep::kMixing);
  EXPECT_EQ(w.TypeTargets(), Targets(50, 30, 20));
  for (int a = 1; a <= s.compartmentCount; ++a) EXPECT_TRUE(s.At(a).typePosition >= 1 && s.At(a).typePosition <= 3);

  // Back from the mixing: the types are dealt anew from even shares.
  w.Back(s);
  EXPECT_EQ(w.Step(), WizardStep::kTypeShares);
  EXPECT_TRUE(s.firstDrawing);
  EXPECT_NEAR(w.ShareTable()[1], 100.0 / 3, 1e-9);
  w.ChangeShare(s, 1, 50);
  w.ChangeShare(s, 2, 30);
  w.SharesNext(s, random);
  EXPECT_FALSE(s.firstDrawing);
  EXPECT_EQ(w.MixPercent(), 15);
  w.MixNext(s, 25, random);
  EXPECT_EQ(w.Step(), WizardStep::kClassShares);
  EXPECT_EQ(w.MixPercent(), 25);
  EXPECT_EQ(w.ShareCount(s), 5);
  EXPECT_EQ(w.ShareTable(), Targets(20, 20, 20, 20, 20));
  w.ChangeShare(s, 1, 40);  // would leave class 2 at 0: 39
  w.Back(s);  // the class shares are kept
  EXPECT_EQ(w.Step(), WizardStep::kMixing);
  w.MixNext(s, 25, random);
  EXPECT_EQ(w.ShareTable(), Targets(39, 1, 20, 20, 20));
  w.ChangeShare(s, 2, 20);
  EXPECT_EQ(w.ShareTable(), Targets(39, 20, 1, 20, 20));
  w.SharesNext(s, random);
  EXPECT_EQ(w.Step(), WizardStep::kDone);
  EXPECT_EQ(w.ClassTargets(), Targets(39, 20, 1, 20, 20));
  std::array<double, 6> byClass{};
  for (int a = 1; a <= s.compartmentCount; ++a)
    for (const EnterpriseStand& st : s.At(a).stands) {
      ASSERT_TRUE(st.cls >= 1 && st.cls <= 5);
      byClass[static_cast<std::size_t>(st.cls)] += st.area;
    }
  EXPECT_GT(byClass[1], byClass[3]);
  EXPECT_EQ(s.chosen.count, 3);  // the class window's five entries leave the chosen types alone

  // A new run starts with even class targets; "zurück" in the type window leaves the wizard.
  w.Start();
  w.Back(s);
  EXPECT_EQ(w.Step(), WizardStep::kLeft);
  w.Start();
  w.ChooseTypes(s, ticked);
  w.SharesNext(s, random);
  w.MixNext(s, 0, random);
  EXPECT_EQ(w.ShareTable(), Targets(20, 20, 20, 20, 20));
}

// Many runs of the wizard on enterprise 1 with the targets 50, 30 and 20 per cent: the types dealt to
// whole compartments miss their targets by no more than one compartment's share, and after the mixing
// each type gets its target on average.
TEST(StructureWizard, SeededRunsDealEachTypeNearItsTarget) {
  const Shares targets = Targets(50, 30, 20);
  std::array<double, 6> mean{};
  for (std::uint32_t seed = 1; seed <= 200; ++seed) {
    EnterpriseSession s = Enterprise(1, seed);
    double largest = 0.0;
    for (int a = 1; a <= s.compartmentCount; ++a) largest = std::max(largest, s.At(a).area);
    RandomGenerator g(seed * 7919u);
    GeneratorDraws random(g);
    StructureWizard w;
    w.Start();
    std::array<bool, 9> ticked{};
    ticked[1] = ticked[4] = ticked[6] = true;
    w.ChooseTypes(s, ticked);
    w.ChangeShare(s, 1, 50);
    w.ChangeShare(s, 2, 30);
    w.SharesNext(s, random);
    std::array<double, 6> area = AreaByType(s);
    for (std::size_t t = 1; t <= 3; ++t)
      ASSERT_LE(std::abs(100.0 * area[t] / s.totalArea - targets[t]), 100.0 * (largest + 0.5) / s.totalArea)
          << "seed " << seed << " type " << t;
    w.MixNext(s, 15, random);
    w.SharesNext(s, random);
    area = AreaByType(s);
    for (std::size_t t = 1; t <= 3; ++t) mean[t] += 100.0 * area[t] / s.totalArea / 200;
  }
  for (std::size_t t = 1; t <= 3; ++t) EXPECT_NEAR(mean[t], targets[t], 1.0) << t;
}
