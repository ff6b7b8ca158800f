// The stand generator's parameter file "Temp\Vorlint.txt": whatever it holds, the values that pass the
// dialog's field rules come out, finite, and what is written for them reads back the same.
#include <cmath>

#include "common/paths.h"
#include "generator/parameters.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;
using namespace tolvek::generator;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (GenerationLevel level : {GenerationLevel::kStand, GenerationLevel::kEnterprise}) {
    GenerationParameters p = DefaultParameters();
    ParseParameterText(fuzz::Bytes(data, size), p);
    ValidateAll(p, level);
    const ParameterTotals totals = UpdateBasalAreas(p);
    fuzz::Check(std::isfinite(totals.basalArea) && totals.basalArea >= 0.0, "the basal area is a number");
    for (const SpeciesRow& r : p.rows) {
      fuzz::Check(r.code >= 0 && r.code <= 9, "species codes 0 to 9");
      fuzz::Check(r.mean >= 0.0 && r.mean <= 999.0 && r.cv >= 0.0 && r.cv <= 999.0, "rows within their fields");
      fuzz::Check(r.stems >= 0 && r.stems <= kMaxStemsPerHa, "stems within their field");
      fuzz::Check(std::isfinite(r.basalArea), "the rows' basal areas are numbers");
    }
    for (int i = 0; i < kNineCount; ++i)
      fuzz::Check(p.nine[i] >= 0 && p.nine[i] <= NineMaximum(i, level), "the nine within their fields");
    static_cast<void>(CheckDrawable(p));

    std::string file;
    for (const std::string& line : ParameterFileLines(p)) file += line + "\r\n";
    GenerationParameters back;
    fuzz::Check(ParseParameterText(file, back) == ParameterFileRead::kOk, "what is written reads back");
    ValidateAll(back, level);
    for (int k = 0; k < kRowCount; ++k)
      fuzz::Check(back.rows[k].code == p.rows[k].code && back.rows[k].mean == p.rows[k].mean &&
                      back.rows[k].cv == p.rows[k].cv && back.rows[k].stems == p.rows[k].stems,
                  "what is written reads back the same");
    fuzz::Check(back.nine == p.nine, "what is written reads back the same");
  }
  return 0;
}
