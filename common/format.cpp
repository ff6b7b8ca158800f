#include "common/format.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace tolvek {

std::string FormatInt(long long value, int width) {
  std::string s = std::to_string(value);
  int pad = width - static_cast<int>(s.size());
  if (pad > 19) pad = 19;
  if (pad > 0) s.insert(0, static_cast<std::size_t>(pad), ' ');
  return s;
}

std::string FixedText(double x, int decimals) {
  if (!std::isfinite(x)) return "?";
  if (decimals < 0) decimals = 0;
  char buf[400];
  auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
  std::string s(buf, r.ptr);
  // "-0.00" reads as a negative number that is not there.
  if (!s.empty() && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

std::string FormatFixed(int width, int decimals, double x) {
  if (!std::isfinite(x)) {
    std::string s = "?";
    if (width > 1) s.insert(0, static_cast<std::size_t>(width - 1), ' ');
    return s;
  }
  if (std::fabs(x) < 0.005) {
    std::string s = decimals < 1 ? "0" : "0.0";
    int pad = width - static_cast<int>(s.size());
    if (pad > 0) s.insert(0, static_cast<std::size_t>(pad), ' ');
    return s;
  }
  if (decimals + 1 >= width) ++width;
  std::string s = FixedText(x, decimals);
  if (static_cast<int>(s.size()) > width) return s;  // does not fit: the full text, never a wrong number
  int pad = width - static_cast<int>(s.size());
  if (pad > 22) pad = 22;
  if (pad > 0) s.insert(0, static_cast<std::size_t>(pad), ' ');
  return s;
}

std::string TrimSpaces(std::string_view text) {
  if (Utf8Length(text) <= 2) return std::string(text);
  std::size_t b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) return std::string();
  std::size_t e = text.find_last_not_of(' ');
  return std::string(text.substr(b, e - b + 1));
}

std::optional<double> ParseReal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::string_view t = text.substr(i);
  if (t.empty()) return std::nullopt;
  if (t.front() == '+') t.remove_prefix(1);
  if (t.empty() || t.front() == '+' || t.front() == ' ') return std::nullopt;
  double v = 0;
  auto r = std::from_chars(t.data(), t.data() + t.size(), v);
  if (r.ec != std::errc() || r.ptr != t.data() + t.size()) return std::nullopt;
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<long long> ParseInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::string_view t = text.substr(i);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  if (t.empty()) return std::nullopt;
  long long v = 0;
  auto r = std::from_chars(t.data(), t.data() + t.size(), v);
  if (r.ec != std::errc() || r.ptr != t.data() + t.size()) return std::nullopt;
  return v;
}

double TextToReal(std::string_view text) { return ParseReal(text).value_or(0.0); }

std::string PadRight(std::string_view text, int width) {
  std::string s(text);
  std::size_t len = Utf8Length(s);
  while (static_cast<long long>(len) <= width) {
    s.push_back(' ');
    ++len;
  }
  return s;
}

std::string ShortenAtSubstring(std::string_view text, std::string_view sub) {
  std::string s(text);
  if (sub.empty()) return s;
  std::size_t p = s.find(sub);
  if (p == std::string::npos) return s;
  s.erase(p, sub.size() - 1);
  return s;
}

std::string CutAfterLastChar(std::string_view path, char ch) {
  std::size_t p = path.rfind(ch);
  if (p == std::string_view::npos) return std::string(path);
  return std::string(path.substr(0, p));
}

static bool IsCont(unsigned char c) { return (c & 0xC0) == 0x80; }

std::size_t Utf8Length(std::string_view s) {
  std::size_t n = 0;
  for (unsigned char c : s)
    if (!IsCont(c)) ++n;
  return n;
}

static std::size_t ByteOfChar(std::string_view s, std::size_t chars) {
  std::size_t i = 0, n = 0;
  while (i < s.size()) {
    if (!IsCont(static_cast<unsigned char>(s[i]))) {
      if (n == chars) return i;
      ++n;
    }
    ++i;
  }
  return s.size();
}

std::string Utf8Left(std::string_view s, std::size_t chars) { return std::string(s.substr(0, ByteOfChar(s, chars))); }

std::string Utf8Mid(std::string_view s, std::size_t firstChar, std::size_t chars) {
  std::size_t b = ByteOfChar(s, firstChar);
  std::string_view rest = s.substr(b);
  return std::string(rest.substr(0, ByteOfChar(rest, chars)));
}

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int n;
    unsigned cp;
    if (c < 0x80) { ++i; continue; }
    else if ((c & 0xE0) == 0xC0) { n = 1; cp = c & 0x1F; }
    else if ((c & 0xF0) == 0xE0) { n = 2; cp = c & 0x0F; }
    else if ((c & 0xF8) == 0xF0) { n = 3; cp = c & 0x07; }
    else return false;
    for (int k = 1; k <= n; ++k) {
      if (i + k >= s.size()) return false;
      unsigned char d = static_cast<unsigned char>(s[i + k]);
      if (!IsCont(d)) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if ((n == 1 && cp < 0x80) || (n == 2 && cp < 0x800) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF))) return false;
    if (cp >= 0xD800 && cp <= 0xDFFF) return false;
    i += static_cast<std::size_t>(n) + 1;
  }
  return true;
}

static void AppendUtf8(std::string& out, unsigned cp) {
  if (cp < 0x80) out.push_back(static_cast<char>(cp));
  else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string Cp1252ToUtf8(std::string_view s) {
  // 0x80..0x9F of Windows-1252; unassigned bytes map to themselves as C1 controls.
  static const unsigned short kHigh[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::string out;
  out.reserve(s.size() + 8);
  for (unsigned char c : s) {
    unsigned cp = c;
    if (c >= 0x80 && c <= 0x9F) cp = kHigh[c - 0x80];
    AppendUtf8(out, cp);
  }
  return out;
}

std::string DecodeTextLine(std::string_view raw) {
  if (IsValidUtf8(raw)) return std::string(raw);
  return Cp1252ToUtf8(raw);
}

std::string HashMarksToLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '#') {
      out += text[i];
      continue;
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    out += '\n';
    if (i + 1 < text.size() && text[i + 1] == ' ') ++i;
  }
  return out;
}

}  // namespace tolvek
