// The readers of the three compartment map formats: what they take from a line, and where a bad file
// stops them.
#include <gtest/gtest.h>

#include "simulator/enterprise/compartment_map.h"
#include "tests/support/fakes.h"

using namespace tolvek;
using tolvek::testing::TempDir;

namespace {

std::string German(const std::string& s) { return s; }

}  // namespace

TEST(CornerTable, EachEnterpriseStoresItsCornersMovedAndScaled) {
  CornerTable t;
  MapReadProblem p;
  ASSERT_TRUE(ParseCornerTable({"12 100 200 junk", "0 5 5", "", "-3 1 1"}, 1, "E", t, p));
  EXPECT_TRUE(t.given[12]);
  EXPECT_DOUBLE_EQ(t.at[12].x, 92.0);
  EXPECT_DOUBLE_EQ(t.at[12].y, 700.0);
  EXPECT_FALSE(t.given[0]);
  ASSERT_TRUE(ParseCornerTable({"5 1001 2000"}, 3, "G", t, p));
  EXPECT_DOUBLE_EQ(t.at[5].x, 1793.0);  // round(1101.1) + 692
  EXPECT_DOUBLE_EQ(t.at[5].y, 1900.0);  // round(2200) - 300
}

TEST(CornerTable, ABadLineIsReportedWithItsNumber) {
  CornerTable t;
  MapReadProblem p;
  EXPECT_FALSE(ParseCornerTable({"1 10 10", "2 10"}, 1, "Vorgaben\\EckenAbt.txt", t, p));
  EXPECT_EQ(p.line, 2);
  EXPECT_EQ(p.reason, "drei ganze Zahlen erwartet");
  EXPECT_FALSE(ParseCornerTable({"1 10 10", "", "366 1 1"}, 1, "E", t, p));
  EXPECT_EQ(p.line, 3);
  EXPECT_EQ(p.reason, "Eckpunkt-Nummer nicht zwischen 1 und 365");
  EXPECT_FALSE(ParseCornerTable({"1 1,5 10"}, 1, "E", t, p));
  EXPECT_EQ(p.reason, "ganze Zahl erwartet");
  EXPECT_EQ(MapProblemText(p, German), "Karte des Betriebs nicht lesbar#E, Zeile 1: ganze Zahl erwartet");
}

TEST(CornerLists, TenIndicesPerCompartmentAcrossLinesUntilANumberBelowOne) {
  CornerLists l;
  MapReadProblem p;
  ASSERT_TRUE(ParseCornerLists({"3 4 5 6 7 4 0 0 0 0 0", "1 1 2", "3 1 0 0 0 0 0 0 0", "0", "2 9 9 9 9 9 9 9 9 9 9"},
                               "L", l, p));
  EXPECT_EQ(l.index[3][4], 4);
  EXPECT_EQ(l.line[3], 1);
  EXPECT_EQ(l.line[1], 2);  // its list runs on over two lines
  EXPECT_EQ(l.index[1][2], 3);
  EXPECT_EQ(l.line[2], 0);  // after the 0: not read

  CornerTable t;
  for (int i = 1; i <= 7; ++i) {
    t.given[static_cast<std::size_t>(i)] = true;
    t.at[static_cast<std::size_t>(i)] = {double(i), double(i * i)};
  }
  std::vector<Ring> out;
  ASSERT_TRUE(BuildOutlines(t, l, 1, "L", out, p));
  EXPECT_EQ(out[1].size(), 4u);  // corners 1, 2, 3 and 1 again
  EXPECT_FALSE(BuildOutlines(t, l, 2, "L", out, p));
  EXPECT_EQ(p.reason, "Abteilung fehlt");
  EXPECT_EQ(p.compartment, 2);

  EXPECT_FALSE(ParseCornerLists({"81 1 2 3 1 0 0 0 0 0 0"}, "L", l, p));
  EXPECT_EQ(p.reason, "Abteilungs-Nummer nicht zwischen 1 und 80");
  EXPECT_FALSE(ParseCornerLists({"5 1 2 3", "1"}, "L", l, p));
  EXPECT_EQ(p.reason, "Datei endet mitten in einer Abteilung");
  EXPECT_EQ(p.compartment, 5);
  t.given[7] = false;
  ASSERT_TRUE(ParseCornerLists({"1 1 2 7 1 0 0 0 0 0 0"}, "L", l, p));
  EXPECT_FALSE(BuildOutlines(t, l, 1, "L", out, p));
  EXPECT_EQ(p.reason, "Eckpunkt nicht definiert");
  EXPECT_EQ(p.corner, 7);
  EXPECT_EQ(MapProblemText(p, German), "Karte des Betriebs nicht lesbar#L, Zeile 1: Eckpunkt nicht definiert 7 (Abteilung 1)");
}

TEST(CompartmentCorners, SlotsWithXAboveZeroScaledToMetres) {
  std::vector<Ring> out;
  MapReadProblem p;
  ASSERT_TRUE(ParseCompartmentCorners(
      {"1 100 100 200 200 100 0 0 0 0", "1 100 200 200 100 100 0 0 0 0", "2 100 100 200 0 0", "0 0 0 0", "2 1 2 3 0 0 0 0 0 0"},
      1, "A", out, p));
  ASSERT_EQ(out[1].size(), 5u);
  EXPECT_DOUBLE_EQ(out[1][0].x, 142.75);
  EXPECT_DOUBLE_EQ(out[1][0].y, 160.0);
  EXPECT_DOUBLE_EQ(out[1][2].x, 285.5);
  EXPECT_DOUBLE_EQ(out[1][2].y, 320.0);
  EXPECT_FALSE(ParseCompartmentCorners({"1 1 2 3 4 5 6 7 8 9", "1 1 2 3"}, 1, "A", out, p));
  EXPECT_EQ(p.reason, "Datei endet mitten in einer Abteilung");
  EXPECT_FALSE(ParseCompartmentCorners({"1 1 2 3 4 5 6 7 8 9", "1 1 2 3 4 5 6 7 8 9"}, 2, "A", out, p));
  EXPECT_EQ(p.reason, "Abteilung fehlt");
}

TEST(Outlines, ClosedTurnedClockwiseAndWithinTheCutsReach) {
  std::vector<Ring> o(3);
  o[1] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};          // counter-clockwise, open
  o[2] = {{0, 0}, {0, 1400}, {100, 1400}, {100, 0}, {0, 0}};  // 700 m from its middle and more
  MapReadProblem p;
  EXPECT_FALSE(CheckOutlines(o, 2, {0, 4, 9}, "L", p));
  EXPECT_EQ(p.compartment, 2);
  EXPECT_EQ(p.line, 9);
  EXPECT_EQ(p.reason, "Abteilung reicht weiter als 700 m von ihrer Mitte");
  ASSERT_EQ(o[1].size(), 5u);
  EXPECT_GT(RingArea(o[1]), 0.0);
  o[2] = {{5, 5}, {6, 6}, {5, 5}};
  EXPECT_FALSE(CheckOutlines(o, 2, {}, "L", p));
  EXPECT_EQ(p.reason, "Abteilung hat weniger als drei Ecken");
}

TEST(EnterpriseOutlines, AMissingFileIsNamed) {
  TempDir dir;
  std::vector<Ring> o;
  MapReadProblem p;
  dir.Write("EckenAbt.txt", "1 0 0\r\n");
  EXPECT_FALSE(ReadEnterpriseOutlines(dir.path(), 1, o, p));
  EXPECT_EQ(p.file, "Vorgaben\\LinienAbt.txt");
  EXPECT_EQ(p.reason, "Datei fehlt oder ist nicht lesbar");
  EXPECT_FALSE(ReadEnterpriseOutlines(dir.path(), 2, o, p));
  EXPECT_EQ(p.file, "Vorgaben\\AbtEcken.txt");
}
