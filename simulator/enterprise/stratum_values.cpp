#include "simulator/enterprise/stratum_values.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>

#include "common/format.h"
#include "common/paths.h"
#include "common/rounding.h"

namespace tolvek {

namespace {

bool InStrata(int v) { return v >= 1 && v <= 5; }

// Adds to the four strata a stand counts in: its own, all classes of its type, all types of its class,
// and the whole enterprise.
template <class F>
void ForFourStrata(StratumValues& v, int t, int k, int s, const F& add) {
  for (const auto& [a, b] : {std::pair{t, k}, std::pair{0, k}, std::pair{t, 0}, std::pair{0, 0}}) add(v.At(a, b, s));
}

// The trees of species s in diameter class c of a model stand; species 0 is every tree.
std::int32_t ClassCount(const SpeciesSums& sums, int s, int c) {
  const auto col = static_cast<std::size_t>(c);
  if (s != 0) return sums.classCounts[static_cast<std::size_t>(s)][col];
  std::int32_t total = 0;
  for (const auto& row : sums.classCounts) total += row[col];
  return total;
}

class Fnv {
 public:
  void Add(std::string_view text) {
    for (const char c : text) {
      h_ ^= static_cast<unsigned char>(c);
      h_ *= 0x100000001B3ull;
    }
    h_ ^= 0xFF;  // ends every piece, so "ab"+"c" differs from "a"+"bc"
    h_ *= 0x100000001B3ull;
  }
  void Add(long long v) { Add(std::to_string(v)); }
  void Add(double v) { Add(static_cast<long long>(std::bit_cast<std::uint64_t>(v))); }
  std::string Hex() const {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h_));
    return buf;
  }

 private:
  std::uint64_t h_ = 0xCBF29CE484222325ull;
};

// A number in its field, with at least one blank in front however wide it is.
std::string Field(std::string text) {
  if (text.empty() || text.front() != ' ') text.insert(text.begin(), ' ');
  return text;
}

}  // namespace

StratumValues SumStratumValues(const EnterpriseSession& session, ModelStandFactsSource& source,
                               StratumSumReport* report) {
  StratumValues v;
  StratumSumReport local;
  StratumSumReport& r = report ? *report : local;
  r = {};
  std::set<int> reported;
  for (int a = 1; a <= session.compartmentCount && a < static_cast<int>(session.compartments.size()); ++a) {
    for (const EnterpriseStand& stand : session.At(a).stands) {
      const int m = stand.modelStand;
      if (m < 1) {
        ++r.standsWithoutModel;
        r.areaWithoutModel += stand.area;
        continue;
      }
      const int t = stand.typePosition, k0 = stand.cls;
      // A stratum 0 read from a file would be counted twice in the sums over all.
      if (!InStrata(t) || !InStrata(k0)) {
        ++r.standsOutOfStrata;
        continue;
      }
      ModelStandFacts facts;
      if (const Outcome got = source.Facts(m, facts); !got.ok()) {
        if (reported.insert(m).second) r.unreadable.push_back(got.problem());
        continue;
      }
      const double am = facts.areaHa;
      if (facts.sums == nullptr || !(am > 0.0)) continue;
      const SpeciesSums& sums = *facts.sums;
      const double area = stand.area;
      const double h = area / am;
      for (int s = 0; s < kStratumSpecies; ++s) {
        const auto si = static_cast<std::size_t>(s);
        if (area * am > 0.0) {
          ForFourStrata(v, t, k0, s, [&](StratumTruth& c) {
            c.area += area;
            c.g += h * sums.basalArea[si];
            c.dg += h * sums.dbhSum[si];
            c.n += h * static_cast<double>(sums.count[si]);
          });
        }
        for (int cls = 1; cls <= kStratumClasses; ++cls) {
          const auto n = static_cast<std::int32_t>(
              RoundHalfEven(static_cast<double>(ClassCount(sums, s, cls)) * area / am));
          ForFourStrata(v, t, k0, s, [&](StratumTruth& c) { c.classes[static_cast<std::size_t>(cls - 1)] += n; });
        }
      }
    }
  }
  return v;
}

void FinishStratumValues(StratumValues& values) {
  for (auto& byClass : values.cells)
    for (auto& bySpecies : byClass)
      for (StratumTruth& c : bySpecies) {
        if (c.area > 0.0) {
          c.g = c.g / c.area;
          c.n = c.n / c.area;
        }
        if (c.n > 0.0) c.dg = 100.0 * std::sqrt(c.g / c.n * 1.2732);
      }
}

UnassignedStands CountUnassignedStands(const EnterpriseSession& session) {
  UnassignedStands u;
  for (int a = 1; a <= session.compartmentCount && a < static_cast<int>(session.compartments.size()); ++a)
    for (const EnterpriseStand& stand : session.At(a).stands)
      if (stand.modelStand < 1) {
        ++u.count;
        u.area += stand.area;
      }
  return u;
}

std::string TrueValueCachePath(const std::string& programFolder) { return ResolveIn(programFolder, "Temp/SP_Gitter.txt"); }

std::string TreeFileStamp(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return "-";
  const auto time = std::filesystem::last_write_time(path, ec);
  if (ec) return "-";
  return std::to_string(size) + "@" + std::to_string(time.time_since_epoch().count());
}

std::string TrueValueCacheKey(const TrueValueCacheInputs& in) {
  const EnterpriseSession& s = in.session;
  Fnv structure, registers;
  int stands = 0;
  std::set<int> used;
  structure.Add(static_cast<long long>(in.forestDevelopmentTypes ? 1 : 0));
  for (int a = 1; a <= s.compartmentCount && a < static_cast<int>(s.compartments.size()); ++a) {
    structure.Add(static_cast<long long>(a));
    for (const EnterpriseStand& st : s.At(a).stands) {
      ++stands;
      structure.Add(static_cast<long long>(st.typePosition));
      structure.Add(static_cast<long long>(st.cls));
      structure.Add(static_cast<long long>(st.modelStand));
      structure.Add(st.area);
      if (st.modelStand >= 1) used.insert(st.modelStand);
    }
  }
  for (const int m : used) {
    const auto i = static_cast<std::size_t>(m - 1);
    registers.Add(static_cast<long long>(m));
    registers.Add(i < in.entries.size() ? in.entries[i] : std::string("?"));
    registers.Add(i < in.treeFileStamps.size() ? in.treeFileStamps[i] : std::string("?"));
  }
  return "# key " + std::to_string(s.number) + " " + std::to_string(s.compartmentCount) + " " + std::to_string(stands) +
         " " + structure.Hex() + " " + registers.Hex();
}

std::vector<std::string> TrueValueCacheLines(const StratumValues& sums, const std::string& key) {
  std::vector<std::string> lines;
  lines.reserve(kTrueValueCacheLines + 1);
  for (const auto& byClass : sums.cells)
    for (const auto& bySpecies : byClass)
      for (const StratumTruth& c : bySpecies) {
        std::string line = Field(FormatFixed(12, 2, c.n)) + Field(FormatFixed(12, 2, c.g)) +
                           Field(FormatFixed(12, 2, c.area)) + Field(FormatFixed(12, 2, c.dg));
        for (const std::int32_t n : c.classes) line += Field(FormatInt(n, 8));
        lines.push_back(std::move(line));
      }
  lines.push_back(key);
  return lines;
}

Outcome ParseTrueValueCache(const std::vector<std::string>& lines, const std::string& expectedKey,
                            StratumValues& sums) {
  std::string numbers;
  std::string key;
  for (const std::string& line : lines) {
    if (line.rfind("#", 0) == 0) {
      key = line;
      break;
    }
    numbers += line;
    numbers += ' ';
  }
  if (key != expectedKey)
    return Problem{key.empty() ? "Datei ohne Schlüsselzeile" : "Datei gehört zu einer anderen Betriebsstruktur", ""};
  StratumValues read;
  std::istringstream in(numbers);
  std::string token;
  const auto next = [&](auto& value) {
    if (!(in >> token)) return false;
    if constexpr (std::is_same_v<std::remove_reference_t<decltype(value)>, double>) {
      // Sums of stems, areas and diameters: never negative, far below 1e12, and with two decimals a
      // positive one is at least 0.005. Anything else is damage, and would make the quotients of
      // FinishStratumValues overflow or go below zero under the root.
      const std::optional<double> v = ParseReal(token);
      if (!v || !(*v >= 0.0 && *v <= 1e12) || (*v > 0.0 && *v < 0.005)) return false;
      value = *v;
    } else {
      const std::optional<long long> v = ParseInt(token);
      if (!v || *v < 0 || *v > INT32_MAX) return false;
      value = static_cast<std::int32_t>(*v);
    }
    return true;
  };
  for (auto& byClass : read.cells)
    for (auto& bySpecies : byClass)
      for (StratumTruth& c : bySpecies) {
        bool ok = next(c.n) && next(c.g) && next(c.area) && next(c.dg);
        for (std::int32_t& n : c.classes) ok = ok && next(n);
        if (!ok) return Problem{"Datei unvollständig oder beschädigt", ""};
      }
  sums = read;
  return {};
}

}  // namespace tolvek
