#include "simulator/sampling/method.h"

#include <gtest/gtest.h>

#include <cmath>

#include "simulator/sampling/decision_hints.h"

namespace tolvek {
namespace {

LanguageTable German() { return LanguageTable{}; }  // selector 0: the German texts themselves

TEST(MethodChoice, BackWithoutConfirmationLeavesNoMethod) {
  MethodSettings m;
  const LanguageTable lang = German();
  BeginConcentric(m, lang);
  EXPECT_EQ(m.code, kMethodConcentric);
  RestoreConfirmedChoice(m);
  EXPECT_EQ(m.code, kMethodNone);
  EXPECT_TRUE(m.name.empty());
}

TEST(MethodChoice, BackRestoresTheLastConfirmedMethodWithItsParameters) {
  MethodSettings m;
  const LanguageTable lang = German();
  BeginFixedCircle(m, lang);
  ASSERT_TRUE(ConfirmFixedCircle(m, lang, 100.0).ok());
  BeginConcentric(m, lang);  // the concentric dialog opens, then "zurück"
  BeginAngleCount(m, lang);
  RestoreConfirmedChoice(m);
  EXPECT_EQ(m.code, kMethodFixedCircle);
  EXPECT_DOUBLE_EQ(m.circleArea, 100.0);
  EXPECT_NEAR(m.circleRadius, 5.6419, 1e-4);
  EXPECT_EQ(m.name, "Vollkreise");
  // "zurück" of the method window forgets the choice altogether.
  ClearMethod(m);
  RestoreConfirmedChoice(m);
  EXPECT_EQ(m.code, kMethodNone);
}

TEST(MethodChoice, LettersOfTheDecisionHints) {
  EXPECT_EQ(MethodLetter(1), "N");
  EXPECT_EQ(MethodLetter(2), "V");
  EXPECT_EQ(MethodLetter(3), "W");
  EXPECT_EQ(MethodLetter(52), "K");
  EXPECT_EQ(MethodLetter(4), "");
  EXPECT_EQ(MethodLetter(0), "");
}

TEST(FixedCircle, TypedRadiusGivesItsAreaAtOnce) {
  EXPECT_NEAR(AreaOfRadiusText("12.62"), 500.34, 0.005);
  EXPECT_EQ(RadiusAreaCaption("12.62"), "  500.34");
  EXPECT_EQ(AreaOfRadiusText("abc"), 0.0);
}

TEST(FixedCircle, OpeningPresetsFiveHundredSquareMetres) {
  MethodSettings m;
  BeginFixedCircle(m, German());
  EXPECT_EQ(m.code, kMethodFixedCircle);
  EXPECT_DOUBLE_EQ(m.circleArea, 500.0);
  EXPECT_NEAR(m.circleRadius, 12.6157, 1e-4);
}

TEST(FixedCircle, AreaThatIsNoPositiveNumberIsRefusedAndNothingChanges) {
  MethodSettings m;
  const LanguageTable lang = German();
  BeginFixedCircle(m, lang);
  ASSERT_TRUE(ConfirmFixedCircle(m, lang, 500.0).ok());
  for (double bad : {0.0, -3.0, std::nan("")}) {
    const Outcome refused = ConfirmFixedCircle(m, lang, bad);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.problem().message, "Bitte einen positiven Radius oder eine positive Fläche eingeben");
    EXPECT_DOUBLE_EQ(m.circleArea, 500.0);
    EXPECT_DOUBLE_EQ(m.confirmed->circleArea, 500.0);
  }
  EXPECT_EQ(m.parameterLine, "Kreisfläche:       500 qm");
}

TEST(AngleCount, CountingModeParameterLine) {
  MethodSettings m;
  const LanguageTable lang = German();
  BeginAngleCount(m, lang);
  EXPECT_EQ(m.countingFactor, 4);
  EXPECT_EQ(m.countingMode, 1);
  ASSERT_TRUE(ConfirmAngleCount(m, lang, 2, 0).ok());
  EXPECT_EQ(m.parameterLine, "Zählbreite: 2 zählen");
  ASSERT_TRUE(ConfirmAngleCount(m, lang, 4, 1).ok());
  EXPECT_EQ(m.parameterLine, "Zählbreite: 4 normal");
  EXPECT_FALSE(ConfirmAngleCount(m, lang, 3, 1).ok());
  EXPECT_EQ(m.countingFactor, 4);
}

TEST(NTree, VariantSixWithAnotherTreeNumberOnlyInforms) {
  MethodSettings m;
  const LanguageTable lang = German();
  BeginNTree(m, lang);
  EXPECT_EQ(m.treeNumber, 6);
  EXPECT_TRUE(ConfirmNTree(m, lang, 4, 6, 0, 0));
  EXPECT_EQ(m.treeNumber, 4);
  EXPECT_EQ(m.variant, 6);
  EXPECT_EQ(m.parameterLine, "Baumzahl: 4  Variante: 6");
  EXPECT_FALSE(ConfirmNTree(m, lang, 6, 6, 0, 0));
}

TEST(NTree, UnderstoreyBelongsToVariantFourOnly) {
  MethodSettings m;
  const LanguageTable lang = German();
  BeginNTree(m, lang);
  ConfirmNTree(m, lang, 6, 4, 14, 4);
  EXPECT_EQ(m.parameterLine, "Baumzahl: 6  Variante: 4/14/ 4");
  EXPECT_DOUBLE_EQ(m.understoreyRadiusSq, 16.0);
  ConfirmNTree(m, lang, 6, 2, 14, 4);
  EXPECT_DOUBLE_EQ(m.understoreyDbhLimit, 0.0);
  EXPECT_DOUBLE_EQ(m.understoreyRadiusSq, 0.0);
  EXPECT_FALSE(CheckNTree(8, 1, 0, 0).ok());
  EXPECT_FALSE(CheckNTree(6, 4, 14, 7).ok());
  EXPECT_TRUE(CheckNTree(7, 4, 20, 6).ok());
}

TEST(Concentric, RuskariaWithCircleFiveEmptiedHasFourCircles) {
  MethodSettings m;
  const LanguageTable lang = German();
  ConcentricTexts t = PresetTexts(*FindConcentricPreset("RK"));
  t.dbh[4] = "";
  BeginConcentric(m, lang);
  ASSERT_TRUE(ConfirmConcentric(m, lang, t).ok());
  EXPECT_EQ(m.circleCount, 4);
  EXPECT_EQ(m.circleCount16, 4);
  EXPECT_DOUBLE_EQ(m.circleArea, 15.0);
  EXPECT_EQ(m.parameterLine, "max. Radius  15.00 m");
  EXPECT_EQ(m.name, "Konzentr. Kreise RK");
  EXPECT_EQ(m.concentricDbhLimit[4], 30);
}

TEST(Concentric, HiddenFieldsNeverRaiseTheCount) {
  // A three-circle preset chosen after a five-circle one: the hidden fields still hold their texts.
  ConcentricTexts t = PresetTexts(*FindConcentricPreset("RK"));
  const ConcentricTexts velmark = PresetTexts(*FindConcentricPreset("VK"));
  for (int i = 0; i < 3; ++i) {
    t.dbh[i] = velmark.dbh[i];
    t.radius[i] = velmark.radius[i];
  }
  t.count = 3;
  t.region = "VK";
  EXPECT_EQ(ConcentricCount(t), 3);
  t.dbh[4] = "0";  // circle 5 empty, circle 4 still filled: stays 3
  EXPECT_EQ(ConcentricCount(t), 3);
  t.dbh[2] = "";
  EXPECT_EQ(ConcentricCount(t), 2);
}

TEST(Concentric, RadiiMustGrowWhileDbhLimitsAreTakenAsTyped) {
  MethodSettings m;
  const LanguageTable lang = German();
  BeginConcentric(m, lang);
  ConcentricTexts t = PresetTexts(*FindConcentricPreset("VK"));
  ASSERT_TRUE(ConfirmConcentric(m, lang, t).ok());

  ConcentricTexts bad = t;
  bad.radius[1] = "5.00";  // smaller than circle 1
  Outcome refused = ConfirmConcentric(m, lang, bad);
  ASSERT_FALSE(refused.ok());
  EXPECT_NE(refused.problem().message.find("Radien"), std::string::npos);

  bad = t;
  bad.dbh[0] = "-7";
  refused = ConfirmConcentric(m, lang, bad);
  ASSERT_FALSE(refused.ok());
  EXPECT_NE(refused.problem().message.find("BHD"), std::string::npos);

  // The free choice leaves the radii blank for the user: not accepted until they are filled.
  EXPECT_FALSE(CheckConcentric(PresetTexts(*FindConcentricPreset("nn"))).ok());
  bad = t;
  bad.radius[0] = "-1";
  EXPECT_FALSE(CheckConcentric(bad).ok());

  // Nothing of the refused texts reached the settings.
  EXPECT_EQ(m.code, kMethodConcentric);
  EXPECT_DOUBLE_EQ(m.concentricRadius[2], 7.98);
  EXPECT_EQ(m.concentricDbhLimit[3], 30);

  // Dbh limits are not checked for order, and a dbh text that is no number is a limit of 0 cm.
  ConcentricTexts loose = t;
  loose.dbh[0] = "x";
  loose.dbh[2] = "20.0";
  EXPECT_TRUE(ConfirmConcentric(m, lang, loose).ok());
  EXPECT_EQ(m.concentricDbhLimit[1], 0);
  EXPECT_EQ(m.concentricDbhLimit[2], 20);
  EXPECT_EQ(m.concentricDbhLimit[3], 20);
  EXPECT_EQ(m.circleCount, 3);
}

TEST(Concentric, CalliperNotice) {
  MethodSettings m;
  const LanguageTable lang = German();
  ASSERT_TRUE(ConfirmConcentric(m, lang, PresetTexts(*FindConcentricPreset("VK"))).ok());
  EXPECT_EQ(ConcentricCalliperNotice(m, lang, 7.0), "");
  ASSERT_TRUE(ConfirmConcentric(m, lang, PresetTexts(*FindConcentricPreset("AV"))).ok());
  EXPECT_EQ(ConcentricCalliperNotice(m, lang, 7.0),
            "Kluppschwelle:  7.0 cm\rKleinster BHD oberhalb der Kluppschwelle");
  EXPECT_EQ(ConcentricCalliperNotice(m, lang, 12.0),
            "Kluppschwelle: 12.0 cm\rKleinster BHD kleiner als Kluppschwelle");
}

// ---- decision hints ----

TEST(DecisionHints, CodesOfALetterEndBeforeTheNextLetter) {
  bool found = false;
  EXPECT_EQ(HintCodes("Bestnd01.txt  Fichte  N: 1 12 3 V: 2 ", "N", found),
            (std::vector<std::string>{"1", "12", "3"}));
  EXPECT_TRUE(found);
  EXPECT_EQ(HintCodes("Bestnd01.txt  Fichte  N: 1 12 3 V: 2 ", "V", found), (std::vector<std::string>{"2"}));
  EXPECT_TRUE(HintCodes("Bestnd01.txt  N: 1 ", "K", found).empty());
  EXPECT_FALSE(found);
}

TEST(DecisionHints, BlocksAndTheMemoText) {
  const std::vector<std::string> file = {"@N12 dichte Bestände", "Zwölf", "@N1 erster", "Eins a", "Eins b",
                                         "@V2", "Zwei", "@"};
  // The search stops at the first line containing the text: code 1 also matches "@N12".
  EXPECT_EQ(HintBlock(file, "N", "1"), (std::vector<std::string>{"Zwölf"}));
  EXPECT_EQ(HintBlock(file, "V", "2"), (std::vector<std::string>{"Zwei"}));
  EXPECT_TRUE(HintBlock(file, "K", "1").empty());

  const auto memo = DecisionHintLines("x  V: 2 ", "Fichtenbestand", "V", file);
  EXPECT_EQ(memo, (std::vector<std::string>{"", "   Fichtenbestand", "",
                                            "   Folgende Überlegungen sollten Sie in Ihre Auswahl einbeziehen:", "",
                                            "   Zwei"}));
  const auto none = DecisionHintLines("x  V: 2 ", "Fichtenbestand", "W", file);
  EXPECT_EQ(none.back(), "   kein Hinweis gefunden");
  EXPECT_EQ(DecisionHintMemoHeight(static_cast<int>(memo.size())), 176);
}

}  // namespace
}  // namespace tolvek
