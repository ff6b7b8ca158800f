#pragma once
// Size, text and buttons of the program's own message box, worked out from the text alone so the
// window only has to place what this says.
#include <string>

#include "common/platform.h"

namespace tolvek {

// Font size of the message label in points (Arial, 11 pixels high).
inline constexpr int kMessageFontPt = 8;

enum class MessageIcon { None, Warning, Info, Question };
enum class MessageButton { Yes, No, Ok, Left, Right };

struct MessageLayout {
  std::string text;  // without the bracketed button captions; the first two "#" turned into line feeds
  int width = 200;
  int height = 80;
  int labelLeft = 46;
  int labelTop = 8;
  int labelWidth = 160;
  int labelHeight = 30;
  int buttonTop = 42;
  int yesLeft = 36, noLeft = 105, okLeft = 70;
  int leftLeft = 5, rightLeft = 113;
  int leftWidth = 103, rightWidth = 103;  // the named buttons
  bool showYes = false, showNo = false, showOk = false, showLeft = false, showRight = false;
  std::string leftCaption, rightCaption;
  bool namedButtons = false;
  MessageIcon icon = MessageIcon::None;
};

// Width estimate in characters: the longest of the first part (up to and including the first "#"), the
// second part (up to and including the next "#") and what follows.
int MessageWidthEstimate(const std::string& text);
MessageLayout LayoutMessage(const std::string& text, MessageKind kind, MessageButtons buttons,
                            int fontPt = kMessageFontPt);
// Where the screen's font draws the text wider than the estimate, the box grows to textWidth (pixels
// of the longest line) so nothing is cut off; the buttons keep their places relative to the middle.
// A box wide enough already stays as it is.
void WidenMessageLayout(MessageLayout& layout, int textWidth);
// The same for the captions of the named buttons (pixels of each caption): a button too narrow for its
// caption grows, the right one moves along and the box grows with them.
void FitNamedButtons(MessageLayout& layout, int leftTextWidth, int rightTextWidth);
// The code a button returns: "ja" 6, "nein" 7, "OK" 1, left named button 5, right named button 6.
int MessageButtonResult(MessageButton b);
// The code when the box is closed without a button (Escape, window closed): the right-hand choice the
// box offers ("nein", the right named button, or the one button shown).
int MessageCloseResult(const MessageLayout& layout);
// A remembered top that would put the box (partly) off a screen of the given height is moved up for
// showing; the remembered value itself stays.
int ClampMessageTop(int top, int height, int screenHeight);

}  // namespace tolvek
