#include "simulator/enterprise/structure_file.h"

#include <cmath>
#include <limits>
#include <sstream>

#include "common/format.h"
#include "common/paths.h"
#include "simulator/enterprise/compartment_map.h"

namespace tolvek {

namespace {

// Beyond these no enterprise of the program lies; a number past them is a damaged file, and summed into
// the areas and balances it would turn them into nonsense.
constexpr double kMaxStandAreaHa = 1e6;
constexpr double kMaxCoordinate = 1e6;

// A field of the file: right-aligned to its width, and never without a blank before it (a value that
// fills its field gets one more).
std::string Field(std::string text) {
  if (text.empty() || text.front() != ' ') text.insert(text.begin(), ' ');
  return text;
}
std::string IntField(long long v, int width) { return Field(FormatInt(v, width)); }
std::string RealField(double v) { return Field(FormatFixed(8, 2, v)); }

std::vector<std::string> Tokens(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  std::string t;
  while (in >> t) out.push_back(t);
  return out;
}

// Reads the records of the file line by line, each a fixed number of numbers.
class RecordReader {
 public:
  RecordReader(const std::vector<std::string>& lines, Problem& problem) : lines_(lines), problem_(problem) {}

  // The next line's numbers, exactly count of them; false with the problem set.
  bool Next(std::size_t count) {
    if (next_ >= lines_.size()) return Fail(kStructureEndsEarly, static_cast<int>(lines_.size()) + 1);
    tokens_ = Tokens(lines_[next_++]);
    if (tokens_.size() != count) return Fail(kStructureFieldCount);
    return true;
  }
  bool Int(std::size_t i, long long& v) {
    const std::optional<long long> p = ParseInt(tokens_[i]);
    if (!p) return Fail(kStructureNotANumber);
    v = *p;
    return true;
  }
  bool IntIn(std::size_t i, long long lo, long long hi, const char* reason, int& v) {
    long long x = 0;
    if (!Int(i, x)) return false;
    if (x < lo || x > hi) return Fail(reason);
    v = static_cast<int>(x);
    return true;
  }
  bool Real(std::size_t i, double& v) {
    const std::optional<double> p = ParseReal(tokens_[i]);
    if (!p || !std::isfinite(*p)) return Fail(kStructureNotANumber);
    v = *p;
    return true;
  }
  bool RealIn(std::size_t i, double lo, double hi, const char* reason, double& v) {
    double x = 0.0;
    if (!Real(i, x)) return false;
    if (x < lo || x > hi) return Fail(reason);
    v = x;
    return true;
  }
  bool Fail(const char* reason, int line = 0) {
    problem_ = {reason, std::to_string(line > 0 ? line : static_cast<int>(next_))};
    return false;
  }
  // Nothing but empty lines left.
  bool AtEnd() {
    while (next_ < lines_.size())
      if (!Tokens(lines_[next_++]).empty()) return Fail(kStructureTrailing);
    return true;
  }

 private:
  const std::vector<std::string>& lines_;
  Problem& problem_;
  std::size_t next_ = 0;
  std::vector<std::string> tokens_;
};

constexpr long long kIntMax = std::numeric_limits<int>::max();
constexpr long long kIntMin = std::numeric_limits<int>::min();
constexpr int kTypeCodes = 8;  // types A..H or a..h

}  // namespace

std::string CompartmentLine(int i, const Compartment& c) {
  return IntField(i, 4) + IntField(c.typePosition, 4) + IntField(static_cast<long long>(c.stands.size()), 4) +
         IntField(c.thirdValue, 4);
}

std::string StandLine(int i, int j, const EnterpriseStand& s) {
  return IntField(i, 4) + IntField(j, 4) + RealField(s.area) + IntField(s.typePosition, 4) + IntField(s.cls, 4) +
         IntField(s.modelStand, 4) + IntField(s.secondValue, 6) + IntField(static_cast<long long>(s.corners.size()), 4);
}

std::string CornerLine(int k, GeoPoint p) { return "    " + IntField(k, 4) + RealField(p.x) + RealField(p.y); }

std::string ChosenTypesLine(const ChosenTypes& chosen) {
  std::string line = IntField(chosen.count, 6);
  for (int p = 1; p <= 5; ++p) line += IntField(chosen.codes[static_cast<std::size_t>(p)], 6);
  return line;
}

std::string RegistersLine(const ModelStandRegisters& r) { return IntField(r.real ? 1 : 0, 6) + IntField(r.generated ? 1 : 0, 6); }

Outcome StructureFileLines(const EnterpriseStructure& s, std::vector<std::string>& lines) {
  lines.clear();
  lines.push_back(s.mode != 0 ? "1" : "0");
  for (std::size_t i = 1; i < s.compartments.size(); ++i) {
    const Compartment& c = s.compartments[i];
    const int a = static_cast<int>(i);
    if (c.stands.empty() || static_cast<int>(c.stands.size()) > kMaxStandsPerCompartment)
      return Problem{kStructureStandCount, std::to_string(a)};
    lines.push_back(CompartmentLine(a, c));
    for (std::size_t j = 0; j < c.stands.size(); ++j) {
      const EnterpriseStand& st = c.stands[j];
      const int corners = static_cast<int>(st.corners.size());
      if (corners < kMinStandCorners || corners > kMaxStandCorners)
        return Problem{kStructureCornerCount, std::to_string(a)};
      lines.push_back(StandLine(a, static_cast<int>(j) + 1, st));
      for (int k = 1; k <= corners; ++k) lines.push_back(CornerLine(k, st.corners[static_cast<std::size_t>(k - 1)]));
    }
  }
  lines.push_back(ChosenTypesLine(s.chosen));
  lines.push_back(RegistersLine(s.registers));
  return {};
}

EnterpriseStructure StructureOf(const EnterpriseSession& s, int mode, ModelStandRegisters registers) {
  EnterpriseStructure out;
  out.mode = mode != 0 ? 1 : 0;
  out.compartments.assign(s.compartments.begin(),
                          s.compartments.begin() + std::min<std::ptrdiff_t>(s.compartmentCount + 1,
                                                                            static_cast<std::ptrdiff_t>(s.compartments.size())));
  out.chosen = s.chosen;
  out.registers = registers;
  return out;
}

std::optional<int> StructureModeOf(const std::string& firstLine) {
  std::vector<std::string> lines{firstLine};
  Problem problem;
  RecordReader r(lines, problem);
  int mode = 0;
  if (!r.Next(1) || !r.IntIn(0, 0, 1, kStructureMode, mode)) return std::nullopt;
  return mode;
}

namespace {

bool ParseRecords(RecordReader& r, int compartmentCount, EnterpriseStructure& s) {
  if (!r.Next(1) || !r.IntIn(0, 0, 1, kStructureMode, s.mode)) return false;
  s.compartments.assign(static_cast<std::size_t>(compartmentCount) + 1, Compartment{});
  for (int i = 1; i <= compartmentCount; ++i) {
    Compartment& c = s.compartments[static_cast<std::size_t>(i)];
    int number = 0, standCount = 0;
    if (!r.Next(4) || !r.IntIn(0, kIntMin, kIntMax, kStructureNotANumber, number) ||
        !r.IntIn(1, 0, 5, kStructureTypePosition, c.typePosition) ||
        !r.IntIn(2, kIntMin, kIntMax, kStructureNotANumber, standCount) ||
        !r.IntIn(3, 0, 255, kStructureNotANumber, c.thirdValue))
      return false;
    if (number != i) return r.Fail(kStructureCompartmentNumber);
    if (standCount < 1 || standCount > kMaxStandsPerCompartment) return r.Fail(kStructureStandCount);
    c.stands.resize(static_cast<std::size_t>(standCount));
    for (EnterpriseStand& st : c.stands) {
      int unused = 0, corners = 0;
      if (!r.Next(8) || !r.IntIn(0, kIntMin, kIntMax, kStructureNotANumber, unused) ||
          !r.IntIn(1, kIntMin, kIntMax, kStructureNotANumber, unused) || !r.RealIn(2, 0.0, kMaxStandAreaHa, kStructureArea, st.area) ||
          !r.IntIn(3, 1, 5, kStructureTypePosition, st.typePosition) || !r.IntIn(4, 1, 5, kStructureClass, st.cls) ||
          !r.IntIn(5, 0, kIntMax, kStructureModelStand, st.modelStand) ||
          !r.IntIn(6, kIntMin, kIntMax, kStructureNotANumber, st.secondValue) ||
          !r.IntIn(7, kMinStandCorners, kMaxStandCorners, kStructureCornerCount, corners))
        return false;
      st.corners.resize(static_cast<std::size_t>(corners));
      for (GeoPoint& p : st.corners)
        if (!r.Next(3) || !r.IntIn(0, kIntMin, kIntMax, kStructureNotANumber, unused) ||
            !r.RealIn(1, -kMaxCoordinate, kMaxCoordinate, kStructureCorner, p.x) ||
            !r.RealIn(2, -kMaxCoordinate, kMaxCoordinate, kStructureCorner, p.y))
          return false;
      c.area += st.area;
    }
  }
  if (!r.Next(6) || !r.IntIn(0, 0, 5, kStructureChosenCount, s.chosen.count)) return false;
  for (std::size_t p = 1; p <= 5; ++p)
    if (!r.IntIn(p, 0, kTypeCodes, kStructureTypeCode, s.chosen.codes[p])) return false;
  int real = 0, generated = 0;
  if (!r.Next(2) || !r.IntIn(0, 0, 1, kStructureFlag, real) || !r.IntIn(1, 0, 1, kStructureFlag, generated) ||
      !r.AtEnd())
    return false;
  s.registers = {real == 1, generated == 1};
  return true;
}

}  // namespace

Outcome ParseEnterpriseFile(const std::vector<std::string>& lines, int compartmentCount, EnterpriseStructure& out) {
  Problem problem;
  RecordReader r(lines, problem);
  EnterpriseStructure s;
  if (!ParseRecords(r, compartmentCount, s)) return problem;
  out = std::move(s);
  return {};
}

Outcome ReadEnterpriseStructure(const std::string& path, int compartmentCount, EnterpriseStructure& out) {
  std::vector<std::string> lines;
  if (!ReadTextLines(path, lines)) return Problem{kMapFileMissing, ""};
  return ParseEnterpriseFile(lines, compartmentCount, out);
}

StructureProblemKind StructureProblemKindOf(const Problem& problem) {
  if (problem.where.empty()) return StructureProblemKind::kMissing;
  if (problem.message == kStructureCompartmentNumber || problem.message == kStructureStandCount)
    return StructureProblemKind::kBadCompartment;
  return StructureProblemKind::kDamaged;
}

std::string StructureProblemText(int n, const Problem& p, const TranslateFn& tr) {
  const StructureProblemKind kind = StructureProblemKindOf(p);
  std::string text = kind == StructureProblemKind::kDamaged
                         ? "<Betrieb" + std::to_string(n) + tr(": Datei beschädigt. #<Betrieb generieren> aufrufen.")
                         : "Betrieb " + std::to_string(n) + tr(" fehlt oder nicht lesbar. Standardform verwenden");
  if (kind != StructureProblemKind::kMissing)
    text += "#Temp\\Betrieb" + std::to_string(n) + ".txt, " + tr("Zeile") + " " + p.where + ": " + tr(p.message);
  return text;
}

void ApplyStructure(EnterpriseSession& s, EnterpriseStructure structure) {
  const std::size_t count = std::min(structure.compartments.size(), s.compartments.size());
  for (std::size_t a = 1; a < count; ++a) {
    Compartment& c = s.compartments[a];
    Compartment& from = structure.compartments[a];
    c.typePosition = from.typePosition;
    c.thirdValue = from.thirdValue;
    c.stands = std::move(from.stands);
    c.area = 0.0;
    for (const EnterpriseStand& st : c.stands) c.area += st.area;
  }
  s.chosen = structure.chosen;
  SumEnterpriseArea(s);
}

int RecheckModelStands(EnterpriseSession& s, const ModelStandCells& cells, RandomDraws& random) {
  int redrawn = 0;
  for (int a = 1; a <= s.compartmentCount; ++a)
    for (EnterpriseStand& st : s.At(a).stands) {
      if (st.modelStand == 0) continue;  // none assigned yet: the assignment gives one
      const int code = (st.typePosition >= 1 && st.typePosition <= 5)
                           ? s.chosen.codes[static_cast<std::size_t>(st.typePosition)]
                           : 0;
      if (code != 0 && cells.EntryType(st.modelStand) == code && cells.EntryClass(st.modelStand) == st.cls) continue;
      st.modelStand = PickModelStand(s.chosen, cells, st.typePosition, st.cls, random);
      ++redrawn;
    }
  return redrawn;
}

}  // namespace tolvek
