#pragma once
// Number texts, padding and trimming used by tables, reports and fixed-column files.
// All texts are UTF-8; widths count characters, never bytes. Number text never depends on the locale.
#include <optional>
#include <string>
#include <string_view>

namespace tolvek {

// Decimal text right-aligned to width (at most 19 blanks in front); wider numbers come back unpadded.
std::string FormatInt(long long value, int width);

// Fixed-point text with "." right-aligned to width. |x| < 0.005 gives "0" (decimals < 1) or "0.0".
// A value that needs more characters than the width comes back in full, unpadded.
std::string FormatFixed(int width, int decimals, double x);
inline std::string FormatFixed8_2(double x) { return FormatFixed(8, 2, x); }

// Locale-independent plain fixed text without padding (used where the programs write numbers freely).
std::string FixedText(double x, int decimals);

// Leading and trailing blanks removed; texts of two characters or fewer are returned unchanged.
std::string TrimSpaces(std::string_view text);

// Whole-text conversion with "." as separator; leading blanks allowed. Invalid text gives 0.
double TextToReal(std::string_view text);
// The same conversion telling whether the whole text was a number.
std::optional<double> ParseReal(std::string_view text);
std::optional<long long> ParseInt(std::string_view text);

// Appends blanks while the length is at most width: a short text comes back with width + 1 characters.
std::string PadRight(std::string_view text, int width);

// The first occurrence of sub shrinks to its last character; no occurrence: unchanged.
std::string ShortenAtSubstring(std::string_view text, std::string_view sub);

// The path without its last occurrence of ch and all after it; no occurrence: unchanged.
std::string CutAfterLastChar(std::string_view path, char ch);

// A message text for a box that takes real line breaks: every "#" becomes a line break, and a blank
// directly before or after the mark goes with it.
std::string HashMarksToLineBreaks(std::string_view text);

// UTF-8 helpers: character counts and character-based cuts.
std::size_t Utf8Length(std::string_view s);
std::string Utf8Left(std::string_view s, std::size_t chars);
std::string Utf8Mid(std::string_view s, std::size_t firstChar, std::size_t chars);
bool IsValidUtf8(std::string_view s);
// Windows-1252 bytes to UTF-8.
std::string Cp1252ToUtf8(std::string_view s);
// A line as read from a file: kept when valid UTF-8, else taken as Windows-1252.
std::string DecodeTextLine(std::string_view raw);

}  // namespace tolvek
