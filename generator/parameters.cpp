#include "generator/parameters.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "common/format.h"
#include "common/paths.h"
#include "common/rounding.h"
#include "common/translate.h"

namespace tolvek::generator {

GenerationParameters DefaultParameters() {
  GenerationParameters p;
  p.rows[0] = {1, 32.0, 20.0, 0.0, 350};
  p.rows[1] = {5, 28.0, 30.0, 0.0, 150};
  p.nine = {5, 60, 40, 20, 2, 60, 80, 40, 0};
  UpdateBasalAreas(p);
  return p;
}

std::array<int, kRowCount> RowLayers(const GenerationParameters& p) {
  std::array<int, kRowCount> layer{};
  for (int i = 0; i < kRowCount; ++i)
    for (int r = 0; r < i; ++r)
      if (p.rows[r].code == p.rows[i].code) ++layer[i];
  return layer;
}

double RowBasalArea(double mean, int stems) {
  return mean * mean * 0.78539816339744830963 * static_cast<double>(stems) / 10000.0;
}

ParameterTotals UpdateBasalAreas(GenerationParameters& p) {
  ParameterTotals t;
  for (auto& r : p.rows) {
    r.basalArea = r.inUse() ? RowBasalArea(r.mean, r.stems) : 0.0;
    if (!r.inUse()) continue;
    t.basalArea += r.basalArea;
    t.stems += r.stems;
  }
  return t;
}

namespace {

std::string_view Trimmed(std::string_view t) {
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  return t;
}

long long Clamp(long long v, long long lo, long long hi) { return std::min(std::max(v, lo), hi); }

}  // namespace

CodeEdit ApplyCodeRule(std::string_view text) {
  CodeEdit e;
  e.text = std::string(text);
  if (text == " ") return e;
  if (text.empty()) {
    e.action = CodeEdit::Action::kSetCode;
    return e;
  }
  if (text.size() == 1 && std::isdigit(static_cast<unsigned char>(text[0]))) {
    e.code = text[0] - '0';
    e.action = e.code == 0 ? CodeEdit::Action::kClearRow : CodeEdit::Action::kSetCode;
    if (e.code == 0) e.text = " ";
    return e;
  }
  e.action = CodeEdit::Action::kRefuse;
  e.text = " ";
  e.beep = true;
  return e;
}

int FieldInt(std::string_view text) {
  std::optional<long long> v = ParseInt(Trimmed(text));
  if (!v) return 0;
  return static_cast<int>(Clamp(*v, -1000000000LL, 1000000000LL));
}

int ClampRowField(RowField f, long long v) {
  return static_cast<int>(Clamp(v, 0, f == RowField::kStems ? kMaxStemsPerHa : 999));
}

std::string RowFieldText(RowField f, double v) {
  return f == RowField::kStems ? FormatInt(static_cast<long long>(v), 4) : FormatFixed(3, 0, v);
}

int NineMaximum(int index, GenerationLevel level) {
  switch (index) {
    case kStemDistribution: return 9;
    case kGapEastWest:
    case kGapNorthSouth:
    case kGroupDiameter: return level == GenerationLevel::kStand ? 150 : 50;
    case kGroups: return 2;
    default: return 100;
  }
}

int ClampNine(int index, long long v, GenerationLevel level) {
  return static_cast<int>(Clamp(v, 0, NineMaximum(index, level)));
}

std::string NineText(int index, int v) {
  return FormatInt(v, index == kStemDistribution || index == kGroups ? 1 : 3);
}

void ValidateAll(GenerationParameters& p, GenerationLevel level) {
  for (auto& r : p.rows) {
    if (r.code < 1 || r.code > 9) r = SpeciesRow{};
    r.mean = ClampRowField(RowField::kMean, RoundHalfEven(std::clamp(r.mean, -1e9, 1e9)));
    r.cv = ClampRowField(RowField::kCv, RoundHalfEven(std::clamp(r.cv, -1e9, 1e9)));
    r.stems = ClampRowField(RowField::kStems, r.stems);
  }
  for (int i = 0; i < kNineCount; ++i) p.nine[i] = ClampNine(i, p.nine[i], level);
  if (p.nine[kGroups] < 1) p.nine[kGroupDiameter] = p.nine[kInnerShare] = p.nine[kOuterShare] = 0;
  UpdateBasalAreas(p);
}

Outcome CheckDrawable(const GenerationParameters& p) {
  GenerationParameters q = p;
  const ParameterTotals t = UpdateBasalAreas(q);
  if (t.stems < 1 || t.stems > kMaxStemsPerHa)
    return Problem{"Stammzahl / ha insgesamt muss zwischen 1 und 9999 liegen", ""};
  return {};
}

std::string FormatIntPositive(long long value, int width) { return value <= 0 ? std::string() : FormatInt(value, width); }

std::string SpeciesNameOf(int code, const LanguageTable& table) {
  static const char* const kNames[] = {"Fichte", "Tanne", "Kiefer", "Douglas", "Buche",
                                       "Eiche",  "Esche", "Ahorn",  "s.Laubb"};
  if (code == 0) return " ";
  if (code >= 1 && code <= 9) return Translate(table, kNames[code - 1]);
  return Translate(table, "Alle BA");
}

std::string ParameterFilePath(const std::string& programFolder) { return ResolveIn(programFolder, kParameterFileName); }

namespace {

// A field that fills its whole width (a basal area of 100000 m²/ha and more, which the field rules
// allow with the thickest trees at the most stems) is set off by a blank: run into the field before
// it, the file would not read back.
std::string Separated(std::string field) {
  if (field.empty() || field.front() != ' ') field.insert(field.begin(), ' ');
  return field;
}

}  // namespace

std::vector<std::string> ParameterFileLines(GenerationParameters& p) {
  std::vector<std::string> lines;
  for (auto& r : p.rows) {
    if (r.code < 1) r = SpeciesRow{r.code, 0.0, 0.0, 0.0, 0};
    lines.push_back(FormatInt(r.code, 8) + Separated(FormatFixed(8, 1, r.mean)) + Separated(FormatFixed(8, 1, r.cv)) +
                    Separated(FormatFixed(8, 1, r.basalArea)) + Separated(FormatInt(r.stems, 8)));
  }
  for (int v : p.nine) lines.push_back(FormatInt(v, 8));
  return lines;
}

Outcome WriteParameterFile(const std::string& programFolder, GenerationParameters& p) {
  const std::string path = ParameterFilePath(programFolder);
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  return WriteTextLines(path, ParameterFileLines(p));
}

ParameterFileRead ParseParameterText(std::string_view text, GenerationParameters& p) {
  std::vector<std::string_view> tokens;
  for (std::size_t i = 0; i < text.size();) {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    std::size_t j = i;
    while (j < text.size() && !std::isspace(static_cast<unsigned char>(text[j]))) ++j;
    if (j > i) tokens.push_back(text.substr(i, j - i));
    i = j;
  }
  GenerationParameters read;
  read.plenterForest = p.plenterForest;
  std::size_t next = 0;
  auto whole = [&](int& out) {
    if (next >= tokens.size()) return false;
    std::optional<long long> v = ParseInt(tokens[next]);
    if (!v || *v < -1000000000LL || *v > 1000000000LL) return false;
    out = static_cast<int>(*v);
    ++next;
    return true;
  };
  auto real = [&](double& out) {
    if (next >= tokens.size()) return false;
    std::optional<double> v = ParseReal(tokens[next]);
    if (!v) return false;
    out = *v;
    ++next;
    return true;
  };
  bool ok = true;
  for (auto& r : read.rows) {
    double basalArea = 0.0;  // recomputed: the file's copy is only for the reader's eye
    ok = ok && whole(r.code) && real(r.mean) && real(r.cv) && real(basalArea) && whole(r.stems);
  }
  for (int& v : read.nine) ok = ok && whole(v);
  UpdateBasalAreas(read);
  p = read;
  return ok ? ParameterFileRead::kOk : ParameterFileRead::kBad;
}

ParameterFileRead ReadParameterFile(const std::string& programFolder, GenerationParameters& p) {
  const std::string path = ParameterFilePath(programFolder);
  if (!FileExists(path)) return ParameterFileRead::kMissing;
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return ParameterFileRead::kMissing;
  return ParseParameterText(bytes, p);
}

}  // namespace tolvek::generator
