#include "simulator/enterprise/stratum_values.h"

#include <gtest/gtest.h>

#include <map>

#include "common/format.h"

namespace tolvek {
namespace {

// Model stands made up by the test: area and sums per entry, with a count of the times each was asked.
class FakeFacts : public ModelStandFactsSource {
 public:
  void Add(int entry, double areaHa, SpeciesSums sums) {
    sums_[entry] = sums;
    facts_[entry] = {areaHa, &sums_[entry]};
  }
  Outcome Facts(int entry, ModelStandFacts& facts) override {
    ++asked[entry];
    const auto it = facts_.find(entry);
    if (it == facts_.end()) return Problem{"Baumdatei nicht gefunden", std::to_string(entry)};
    facts = it->second;
    return {};
  }
  std::map<int, int> asked;

 private:
  std::map<int, SpeciesSums> sums_;
  std::map<int, ModelStandFacts> facts_;
};

// `trees` trees of one species and dbh, as the tree reader sums them.
SpeciesSums Trees(int species, int trees, double dbh) {
  SpeciesSums s;
  const double g = dbh * dbh * 7.853e-5;
  for (int i = 0; i < trees; ++i) {
    s.basalArea[0] += g;
    s.basalArea[static_cast<std::size_t>(species)] += g;
    s.dbhSum[0] += dbh;
    s.dbhSum[static_cast<std::size_t>(species)] += dbh;
    s.count[0] += 1;
    s.count[static_cast<std::size_t>(species)] += 1;
    s.classCounts[static_cast<std::size_t>(species)][static_cast<std::size_t>(DiameterClass(dbh))] += 1;
  }
  return s;
}

EnterpriseSession OneCompartment(std::vector<EnterpriseStand> stands) {
  EnterpriseSession s;
  s.number = 1;
  s.compartmentCount = 1;
  s.compartments.resize(2);
  s.compartments[1].stands = std::move(stands);
  return s;
}

EnterpriseStand Stand(double area, int t, int k, int model) {
  EnterpriseStand st;
  st.area = area;
  st.typePosition = t;
  st.cls = k;
  st.modelStand = model;
  return st;
}

TEST(StratumValuesTest, OneStandBorrowsItsModelScaledToItsArea) {
  FakeFacts facts;
  facts.Add(7, 1.0, Trees(1, 400, 30.0));
  const EnterpriseSession s = OneCompartment({Stand(2.0, 1, 1, 7)});
  StratumValues v = SumStratumValues(s, facts);
  // Sums: the model's 400 trees twice over; class 4 (26..34 cm) holds 800 stems.
  EXPECT_DOUBLE_EQ(v.At(1, 1, 1).n, 800.0);
  EXPECT_EQ(v.At(1, 1, 1).classes[3], 800);
  FinishStratumValues(v);
  for (const auto& [t, k] : {std::pair{1, 1}, std::pair{0, 0}, std::pair{1, 0}, std::pair{0, 1}}) {
    for (const int sp : {0, 1}) {
      const StratumTruth& c = v.At(t, k, sp);
      EXPECT_DOUBLE_EQ(c.area, 2.0);
      EXPECT_NEAR(c.n, 400.0, 1e-9);
      EXPECT_NEAR(c.g, 28.2708, 1e-9);
      EXPECT_NEAR(c.dg, 29.998, 5e-4);
    }
  }
  // Another type, and a species the model lacks, stay empty.
  EXPECT_EQ(v.At(2, 1, 0).area, 0.0);
  EXPECT_EQ(v.At(2, 0, 0).n, 0.0);
  EXPECT_EQ(v.At(1, 1, 2).g, 0.0);
  EXPECT_EQ(v.At(1, 1, 2).dg, 0.0);
  EXPECT_EQ(v.At(1, 1, 2).area, 2.0);  // the area counts for every species of the stand
}

TEST(StratumValuesTest, ClassCountsAreRoundedPerStandHalvesToEven) {
  FakeFacts facts;
  facts.Add(1, 1.0, Trees(5, 1, 16.0));  // class 2
  const EnterpriseSession s = OneCompartment({Stand(2.5, 2, 3, 1), Stand(0.5, 2, 3, 1)});
  StratumValues v = SumStratumValues(s, facts);
  // round(2.5) = 2 and round(0.5) = 0, though N × area = 3.
  EXPECT_EQ(v.At(2, 3, 5).classes[1], 2);
  EXPECT_EQ(v.At(0, 0, 0).classes[1], 2);  // the whole stand takes every species' trees
  EXPECT_DOUBLE_EQ(v.At(2, 3, 5).n, 3.0);
  // Both stands read the one model stand: the facts are asked per stand, the source keeps them.
  EXPECT_EQ(facts.asked[1], 2);
}

TEST(StratumValuesTest, StandsWithoutModelOrAreaOrStratumAddNothingAndAreReported) {
  FakeFacts facts;
  facts.Add(1, 0.0, Trees(1, 10, 20.0));  // a model stand without area
  facts.Add(2, 1.0, Trees(1, 10, 20.0));
  const EnterpriseSession s = OneCompartment({Stand(1.0, 1, 1, 0), Stand(1.0, 1, 1, 1), Stand(1.0, 0, 1, 2),
                                              Stand(1.0, 1, 6, 2), Stand(3.0, 1, 1, 9)});
  StratumSumReport report;
  StratumValues v = SumStratumValues(s, facts, &report);
  FinishStratumValues(v);
  for (const auto& byClass : v.cells)
    for (const auto& bySpecies : byClass)
      for (const StratumTruth& c : bySpecies) {
        EXPECT_EQ(c.area, 0.0);
        EXPECT_EQ(c.n, 0.0);
        EXPECT_EQ(c.g, 0.0);
        EXPECT_EQ(c.dg, 0.0);
      }
  EXPECT_EQ(report.standsWithoutModel, 1);
  EXPECT_DOUBLE_EQ(report.areaWithoutModel, 1.0);
  EXPECT_EQ(report.standsOutOfStrata, 2);
  ASSERT_EQ(report.unreadable.size(), 1u);
  EXPECT_EQ(report.unreadable[0].where, "9");
  const UnassignedStands u = CountUnassignedStands(s);
  EXPECT_EQ(u.count, 1);
  EXPECT_DOUBLE_EQ(u.area, 1.0);
}

TEST(StratumValuesTest, CacheReproducesTheSumsAndRefusesAnotherKey) {
  FakeFacts facts;
  facts.Add(1, 1.44, Trees(1, 321, 27.3));
  facts.Add(2, 1.20, Trees(6, 97, 41.9));
  const EnterpriseSession s =
      OneCompartment({Stand(3.17, 1, 2, 1), Stand(12.444, 2, 5, 2), Stand(0.73, 1, 5, 2)});
  const StratumValues sums = SumStratumValues(s, facts);
  const std::string key = TrueValueCacheKey({s, false, {"Stand201 A2", "Stand202 E6"}, {"1@1", "2@2"}});
  const std::vector<std::string> lines = TrueValueCacheLines(sums, key);
  ASSERT_EQ(lines.size(), 361u);
  EXPECT_EQ(Utf8Length(lines[0]), 128u);
  EXPECT_EQ(lines.back(), key);

  StratumValues read;
  const Outcome parsed = ParseTrueValueCache(lines, key, read);
  ASSERT_TRUE(parsed.ok()) << parsed.problem().message;
  for (int t = 0; t < kStrata; ++t)
    for (int k = 0; k < kStrata; ++k)
      for (int sp = 0; sp < kStratumSpecies; ++sp) {
        const StratumTruth &a = sums.At(t, k, sp), &b = read.At(t, k, sp);
        EXPECT_NEAR(a.n, b.n, 0.005);
        EXPECT_NEAR(a.g, b.g, 0.005);
        EXPECT_NEAR(a.area, b.area, 0.005);
        EXPECT_NEAR(a.dg, b.dg, 0.005);
        EXPECT_EQ(a.classes, b.classes);
      }

  // Another structure, another register line or tree file, another enterprise: another key.
  EnterpriseSession moved = s;
  moved.compartments[1].stands[0].cls = 3;
  EXPECT_NE(TrueValueCacheKey({moved, false, {"Stand201 A2", "Stand202 E6"}, {"1@1", "2@2"}}), key);
  EXPECT_NE(TrueValueCacheKey({s, false, {"Stand201 A3", "Stand202 E6"}, {"1@1", "2@2"}}), key);
  EXPECT_NE(TrueValueCacheKey({s, false, {"Stand201 A2", "Stand202 E6"}, {"1@1", "2@3"}}), key);
  EXPECT_NE(TrueValueCacheKey({s, true, {"Stand201 A2", "Stand202 E6"}, {"1@1", "2@2"}}), key);
  StratumValues untouched = read;
  const Outcome otherKey = ParseTrueValueCache(lines, key + "x", untouched);
  ASSERT_FALSE(otherKey.ok());
  EXPECT_EQ(otherKey.problem().message, "Datei gehört zu einer anderen Betriebsstruktur");
  EXPECT_EQ(untouched.At(1, 2, 1).n, read.At(1, 2, 1).n);

  // A file of the old form without a key, a cut file and a damaged number are refused.
  std::vector<std::string> noKey(lines.begin(), lines.end() - 1);
  const Outcome withoutKey = ParseTrueValueCache(noKey, key, read);
  ASSERT_FALSE(withoutKey.ok());
  EXPECT_EQ(withoutKey.problem().message, "Datei ohne Schlüsselzeile");
  std::vector<std::string> cut(lines.begin(), lines.begin() + 100);
  cut.push_back(key);
  const Outcome cutShort = ParseTrueValueCache(cut, key, read);
  ASSERT_FALSE(cutShort.ok());
  EXPECT_EQ(cutShort.problem().message, "Datei unvollständig oder beschädigt");
  std::vector<std::string> damaged = lines;
  damaged[5].replace(3, 4, "12,5");
  EXPECT_FALSE(ParseTrueValueCache(damaged, key, read).ok());
  // So are sums no stand gives: below zero, beyond any enterprise, or below the file's two decimals
  // (each would make the per-hectare figures overflow or take a negative root).
  for (const char* bad : {"-5.00", "1e300", "1e-300"}) {
    damaged = lines;
    damaged[7] = std::string(bad) + damaged[7].substr(12);
    EXPECT_FALSE(ParseTrueValueCache(damaged, key, read).ok()) << bad;
    damaged[7] = "        0.00" + damaged[7].substr(std::string(bad).size());
    EXPECT_TRUE(ParseTrueValueCache(damaged, key, read).ok()) << bad;
  }
}

TEST(StratumValuesTest, NumbersTooWideForTheirFieldsStaySeparated) {
  StratumValues v;
  v.At(0, 0, 0).n = 123456789.5;  // 12 characters of its own
  v.At(0, 0, 0).g = 5.0;
  v.At(0, 0, 0).classes[0] = 12345678;
  const std::vector<std::string> lines = TrueValueCacheLines(v, "# key");
  StratumValues read;
  ASSERT_TRUE(ParseTrueValueCache(lines, "# key", read).ok());
  EXPECT_NEAR(read.At(0, 0, 0).n, 123456789.5, 0.005);
  EXPECT_EQ(read.At(0, 0, 0).g, 5.0);
  EXPECT_EQ(read.At(0, 0, 0).classes[0], 12345678);
  EXPECT_EQ(Utf8Length(lines[1]), 128u);  // lines whose numbers fit keep their width
}

}  // namespace
}  // namespace tolvek
