#include "common/problem.h"

#include <gtest/gtest.h>

#include "common/language.h"

namespace tolvek {
namespace {

Outcome ReadNothing(bool works) {
  if (!works) return Problem{"Grenzdatei nicht gefunden", "/p/Grenze01.txt"};
  return {};
}

TEST(Outcome, HoldsTheProblemOnlyWhenTheStepFailed) {
  EXPECT_TRUE(ReadNothing(true).ok());
  const Outcome failed = ReadNothing(false);
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(failed.problem(), (Problem{"Grenzdatei nicht gefunden", "/p/Grenze01.txt"}));
  // The two-string form is the same problem.
  const Outcome same("Grenzdatei nicht gefunden", "/p/Grenze01.txt");
  ASSERT_FALSE(same.ok());
  EXPECT_EQ(same.problem(), failed.problem());
}

TEST(ProblemMessage, NamesWhereTheProblemAroseOnlyWhenKnown) {
  const LanguageTable untranslated;
  EXPECT_EQ(ProblemMessage(untranslated, {"Bestandesfläche ist 0", "/p/Grenze02.txt"}),
            "Bestandesfläche ist 0: /p/Grenze02.txt");
  EXPECT_EQ(ProblemMessage(untranslated, {"nur 52 Bestände möglich", ""}), "nur 52 Bestände möglich");
  // A message that ends in a colon is not given a second one.
  EXPECT_EQ(ProblemMessage(untranslated, {"Datei konnte nicht geschrieben werden:", "/p/Temp/ProbeBa.txt"}),
            "Datei konnte nicht geschrieben werden: /p/Temp/ProbeBa.txt");
}

}  // namespace
}  // namespace tolvek
