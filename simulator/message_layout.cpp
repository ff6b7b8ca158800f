#include "simulator/message_layout.h"

#include <algorithm>

#include "common/format.h"
#include "common/platform.h"
#include "common/rounding.h"

namespace tolvek {

namespace {
int Chars(const std::string& s) { return static_cast<int>(Utf8Length(s)); }
}  // namespace

int MessageWidthEstimate(const std::string& text) {
  std::size_t h1 = text.find('#');
  if (h1 == std::string::npos) return Chars(text);
  const int p1 = Chars(text.substr(0, h1)) + 1;
  const std::string rest = text.substr(h1 + 1);
  std::size_t h2 = rest.find('#');
  int p2 = 0, r = 0;
  if (h2 == std::string::npos) {
    p2 = Chars(rest);
    r = p2;
  } else {
    p2 = Chars(rest.substr(0, h2)) + 1;
    r = Chars(rest.substr(h2 + 1));
  }
  return std::max({p1, p2, r});
}

MessageLayout LayoutMessage(const std::string& input, MessageKind kind, MessageButtons buttons, int fontPt) {
  MessageLayout m;
  std::string text = input;
  std::string buttonPart;
  std::size_t bracket = text.find('[');
  if (bracket != std::string::npos) {
    buttonPart = text.substr(bracket);
    text.erase(bracket);
    m.namedButtons = true;
  }
  const int n = MessageWidthEstimate(text);
  m.width = std::max(200, RoundInt(fontPt * 0.71 * n + 50));
  if (m.namedButtons) m.width = 230;
  const int half = RoundInt(m.width * 0.5);
  m.labelWidth = m.width - 40;
  m.labelLeft = 46;
  m.height = 80;
  std::size_t h = text.find('#');
  if (h != std::string::npos) {
    text[h] = '\n';
    m.height = 90;
    h = text.find('#');
    if (h != std::string::npos) {
      text[h] = '\n';
      m.height = 100;
    }
  }
  m.text = text;
  m.buttonTop = m.height - 38;
  m.yesLeft = half - 64;
  m.noLeft = half + 5;
  m.okLeft = half - 30;
  m.labelTop = 8;
  m.labelHeight = m.buttonTop - 12;
  switch (kind) {
    case MessageKind::Warning:
      m.icon = MessageIcon::Warning;
      break;
    case MessageKind::Info:
      m.icon = MessageIcon::Info;
      break;
    case MessageKind::Question:
      m.icon = MessageIcon::Question;
      break;
    case MessageKind::PlainLeft:
      m.labelLeft = 34;
      break;
    case MessageKind::None:
      break;
  }
  if (!m.namedButtons) {
    m.showOk = buttons == MessageButtons::Ok;
    m.showYes = m.showNo = buttons == MessageButtons::YesNo;
    return m;
  }
  // "[left,right]": the right caption ends one character before the end of the bracket part, so a part
  // without its "]" loses its last character there.
  const std::size_t comma = buttonPart.find(',');
  if (comma == std::string::npos) {
    // No comma, no pair: the one caption between the brackets on a single button in the middle.
    std::string caption = buttonPart.substr(1);
    if (!caption.empty() && caption.back() == ']') caption.pop_back();
    m.leftCaption = caption;
    m.showLeft = true;
    m.leftLeft = half - 51;
    return m;
  }
  m.leftCaption = buttonPart.substr(1, comma - 1);
  m.rightCaption =
      buttonPart.size() > comma + 2 ? buttonPart.substr(comma + 1, buttonPart.size() - comma - 2) : std::string();
  m.showLeft = m.showRight = true;
  return m;
}

void WidenMessageLayout(MessageLayout& m, int textWidth) {
  const int needed = m.labelLeft + textWidth + 12;
  if (needed <= m.width) return;
  const int shift = RoundInt(needed * 0.5) - RoundInt(m.width * 0.5);
  m.width = needed;
  m.labelWidth = needed - m.labelLeft - 6;
  m.yesLeft += shift;
  m.noLeft += shift;
  m.okLeft += shift;
  if (m.showLeft && !m.showRight) m.leftLeft += shift;
}

void FitNamedButtons(MessageLayout& m, int leftTextWidth, int rightTextWidth) {
  constexpr int kPadding = 16;
  if (m.showLeft && leftTextWidth + kPadding > m.leftWidth) {
    const int grow = leftTextWidth + kPadding - m.leftWidth;
    m.leftWidth += grow;
    if (!m.showRight) m.leftLeft = std::max(5, m.leftLeft - grow / 2);
  }
  if (m.showRight) {
    m.rightLeft = std::max(m.rightLeft, m.leftLeft + m.leftWidth + 5);
    m.rightWidth = std::max(m.rightWidth, rightTextWidth + kPadding);
  }
  const int right = m.showRight ? m.rightLeft + m.rightWidth : m.leftLeft + m.leftWidth;
  if (right + 5 > m.width) {
    m.width = right + 5;
    m.labelWidth = m.width - m.labelLeft - 6;
  }
}

int MessageButtonResult(MessageButton b) {
  switch (b) {
    case MessageButton::Yes:
      return kResultYes;
    case MessageButton::No:
      return kResultNo;
    case MessageButton::Ok:
      return kResultOk;
    case MessageButton::Left:
      return kResultLeft;
    case MessageButton::Right:
      return kResultYes;
  }
  return kResultOk;
}

int MessageCloseResult(const MessageLayout& m) {
  if (m.showRight) return MessageButtonResult(MessageButton::Right);
  if (m.showLeft) return MessageButtonResult(MessageButton::Left);
  if (m.showNo) return kResultNo;
  return kResultOk;
}

int ClampMessageTop(int top, int height, int screenHeight) {
  if (top + height > screenHeight) top = screenHeight - height;
  return std::max(0, top);
}

}  // namespace tolvek
