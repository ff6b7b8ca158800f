#include "simulator/message_layout.h"

#include <gtest/gtest.h>

#include "common/platform.h"

namespace tolvek {
namespace {

TEST(MessageLayout, ShortInfoMessageKeepsTheMinimumWidth) {
  MessageLayout m = LayoutMessage("Bitte Verfahren festlegen", MessageKind::Info, MessageButtons::Ok);
  EXPECT_EQ(m.width, 200);  // round(8 * 0.71 * 25 + 50) = 192
  EXPECT_EQ(m.height, 80);
  EXPECT_EQ(m.icon, MessageIcon::Info);
  EXPECT_TRUE(m.showOk);
  EXPECT_FALSE(m.showYes || m.showNo || m.showLeft || m.showRight);
  EXPECT_EQ(m.okLeft, 100 - 30);
  EXPECT_EQ(m.buttonTop, 80 - 38);
  EXPECT_EQ(m.labelLeft, 46);
  EXPECT_EQ(m.labelWidth, 160);
}

TEST(MessageLayout, LongTextWidensTheBox) {
  const std::string text(60, 'x');
  MessageLayout m = LayoutMessage(text, MessageKind::Warning, MessageButtons::Ok);
  EXPECT_EQ(m.width, 391);  // round(8 * 0.71 * 60 + 50) = round(390.8)
  EXPECT_EQ(m.icon, MessageIcon::Warning);
  // Widths count characters: umlauts do not widen the box.
  EXPECT_EQ(MessageWidthEstimate("äöüäöü"), 6);
}

TEST(MessageLayout, WidthEstimateTakesTheLongestOfThreeParts) {
  EXPECT_EQ(MessageWidthEstimate("abc"), 3);
  EXPECT_EQ(MessageWidthEstimate("abcdef#gh"), 7);        // up to and including the first "#"
  EXPECT_EQ(MessageWidthEstimate("ab#cdefgh"), 6);        // the remainder, no second "#"
  EXPECT_EQ(MessageWidthEstimate("ab#cdefg#hi"), 6);      // second part with its "#"
  EXPECT_EQ(MessageWidthEstimate("a#b#cdefghij#k"), 10);  // all after the second "#", a third one counted
}

TEST(MessageLayout, TwoLineBreaksAtMostTheThirdMarkStays) {
  MessageLayout m = LayoutMessage("eins#zwei#drei#vier", MessageKind::None, MessageButtons::Ok);
  EXPECT_EQ(m.height, 100);
  EXPECT_EQ(m.text, "eins\nzwei\ndrei#vier");
  EXPECT_EQ(m.buttonTop, 62);
  MessageLayout one = LayoutMessage("eins#zwei", MessageKind::None, MessageButtons::Ok);
  EXPECT_EQ(one.height, 90);
  EXPECT_EQ(one.text, "eins\nzwei");
}

TEST(MessageLayout, NamedButtonsFromTheBrackets) {
  MessageLayout m = LayoutMessage("Gewichtung der Probebäume [Baum-zentriert,Probekreis-zentriert]",
                                  MessageKind::Question, MessageButtons::YesNo);
  EXPECT_EQ(m.text, "Gewichtung der Probebäume ");
  EXPECT_EQ(m.width, 230);
  EXPECT_EQ(m.leftCaption, "Baum-zentriert");
  EXPECT_EQ(m.rightCaption, "Probekreis-zentriert");
  EXPECT_TRUE(m.showLeft && m.showRight);
  EXPECT_FALSE(m.showYes || m.showNo || m.showOk);  // whatever the buttons argument
  EXPECT_EQ(m.leftLeft, 5);
  EXPECT_EQ(m.rightLeft, 113);
  EXPECT_EQ(MessageButtonResult(MessageButton::Left), 5);
  EXPECT_EQ(MessageButtonResult(MessageButton::Right), 6);
}

TEST(MessageLayout, ButtonPartWithoutClosingBracketLosesTheLastCharacter) {
  MessageLayout m = LayoutMessage("Frage [links,rechts", MessageKind::None, MessageButtons::Ok);
  EXPECT_EQ(m.leftCaption, "links");
  EXPECT_EQ(m.rightCaption, "recht");
}

TEST(MessageLayout, ButtonPartWithoutCommaGivesOneButtonAndReadsNothingOutside) {
  MessageLayout m = LayoutMessage("Frage [abc]", MessageKind::None, MessageButtons::YesNo);
  EXPECT_TRUE(m.showLeft);
  EXPECT_FALSE(m.showRight || m.showYes || m.showNo || m.showOk);
  EXPECT_EQ(m.leftCaption, "abc");
  EXPECT_EQ(MessageCloseResult(m), 5);
  MessageLayout bare = LayoutMessage("[", MessageKind::None, MessageButtons::Ok);
  EXPECT_EQ(bare.text, "");
  EXPECT_EQ(bare.leftCaption, "");
  MessageLayout emptyRight = LayoutMessage("x [a,]", MessageKind::None, MessageButtons::Ok);
  EXPECT_EQ(emptyRight.leftCaption, "a");
  EXPECT_EQ(emptyRight.rightCaption, "");
}

TEST(MessageLayout, ButtonSetsAndResults) {
  MessageLayout yn = LayoutMessage("Programm wird beendet", MessageKind::Question, MessageButtons::YesNo);
  EXPECT_TRUE(yn.showYes && yn.showNo);
  EXPECT_FALSE(yn.showOk);
  EXPECT_EQ(yn.icon, MessageIcon::Question);
  EXPECT_EQ(yn.yesLeft, 100 - 64);
  EXPECT_EQ(yn.noLeft, 100 + 5);
  EXPECT_EQ(MessageButtonResult(MessageButton::Yes), 6);
  EXPECT_EQ(MessageButtonResult(MessageButton::No), 7);
  EXPECT_EQ(MessageButtonResult(MessageButton::Ok), 1);
  // Closing without a button answers with the cautious choice.
  EXPECT_EQ(MessageCloseResult(yn), 7);
  EXPECT_EQ(MessageCloseResult(LayoutMessage("x", MessageKind::Info, MessageButtons::Ok)), 1);
  EXPECT_EQ(MessageCloseResult(LayoutMessage("x [a,b]", MessageKind::Info, MessageButtons::Ok)), 6);
}

TEST(MessageLayout, KindFourMovesTheTextLeftWithoutIcon) {
  MessageLayout m = LayoutMessage("x", MessageKind::PlainLeft, MessageButtons::Ok);
  EXPECT_EQ(m.labelLeft, 34);
  EXPECT_EQ(m.icon, MessageIcon::None);
  EXPECT_EQ(LayoutMessage("x", MessageKind::None, MessageButtons::Ok).labelLeft, 46);
}

TEST(MessageLayout, WiderScreenFontWidensTheBoxAroundItsMiddle) {
  MessageLayout m = LayoutMessage("Programm wird beendet", MessageKind::Question, MessageButtons::YesNo);
  MessageLayout same = m;
  WidenMessageLayout(same, 120);  // fits: nothing changes
  EXPECT_EQ(same.width, 200);
  EXPECT_EQ(same.yesLeft, m.yesLeft);
  WidenMessageLayout(m, 250);
  EXPECT_EQ(m.width, 46 + 250 + 12);
  EXPECT_EQ(m.yesLeft, 154 - 64);
  EXPECT_EQ(m.noLeft, 154 + 5);
  EXPECT_GE(m.labelLeft + m.labelWidth, 46 + 250);
  EXPECT_LE(m.labelLeft + m.labelWidth, m.width);
}

TEST(MessageLayout, NamedButtonsGrowForLongCaptions) {
  MessageLayout fits = LayoutMessage("x [ja,nein]", MessageKind::None, MessageButtons::Ok);
  FitNamedButtons(fits, 20, 30);
  EXPECT_EQ(fits.leftWidth, 103);
  EXPECT_EQ(fits.rightLeft, 113);
  EXPECT_EQ(fits.width, 230);
  MessageLayout m = LayoutMessage("Gewichtung der Probebäume [Baum-zentriert,Probekreis-zentriert]",
                                  MessageKind::Question, MessageButtons::YesNo);
  FitNamedButtons(m, 95, 130);
  EXPECT_EQ(m.leftWidth, 111);
  EXPECT_EQ(m.rightLeft, 5 + 111 + 5);
  EXPECT_EQ(m.rightWidth, 146);
  EXPECT_EQ(m.width, 121 + 146 + 5);
  EXPECT_LE(m.labelLeft + m.labelWidth, m.width);
  MessageLayout one = LayoutMessage("x [abc]", MessageKind::None, MessageButtons::Ok);
  FitNamedButtons(one, 300, 0);
  EXPECT_GE(one.leftLeft, 5);
  EXPECT_LE(one.leftLeft + one.leftWidth + 5, one.width);
}

TEST(MessageLayout, RememberedTopIsClampedOnlyForShowing) {
  EXPECT_EQ(ClampMessageTop(650, 80, 768), 650);
  EXPECT_EQ(ClampMessageTop(650, 100, 600), 500);
  EXPECT_EQ(ClampMessageTop(650, 100, 50), 0);
}

}  // namespace
}  // namespace tolvek
