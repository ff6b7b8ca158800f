// The compartment maps of the model enterprises: the corner table and corner lists of enterprises 1 and
// 3, the corner file of enterprise 2, read from the presets folder as the program reads them, and every
// compartment read then cut into stands as a new subdivision cuts it.
// Input: the corner file of enterprise 2, or the corner table's text, a line "##LINIEN##" and the corner
// lists' text of enterprise 1 or 3 (a checksum of the input picks which).
#include <cmath>

#include "common/paths.h"
#include "simulator/enterprise/compartment_map.h"
#include "simulator/enterprise/subdivision.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchFolder folder;
  const std::string_view input = fuzz::Bytes(data, size);
  const fuzz::TwoFiles in = fuzz::SplitAt(input, "\n##LINIEN##\n");
  const unsigned sum = fuzz::Checksum(input);
  const int enterprise = !in.separated ? 2 : sum % 2 == 0 ? 1 : 3;
  const std::vector<std::string> files = EnterpriseMapFiles(enterprise);
  folder.Write(files[0].substr(files[0].find('\\') + 1), in.first);
  if (files.size() > 1) folder.Write(files[1].substr(files[1].find('\\') + 1), in.second);

  std::vector<Ring> outlines;
  MapReadProblem problem;
  if (!ReadEnterpriseOutlines(folder.path(), enterprise, outlines, problem)) {
    fuzz::Check(!problem.reason.empty(), "a refusal says why");
    fuzz::Check(!MapProblemText(problem, [](const std::string& t) { return t; }).empty(), "a refusal has a message");
    return 0;
  }
  const int count = ModelEnterprise(enterprise).compartments;
  fuzz::Check(static_cast<int>(outlines.size()) > count, "an outline for every compartment");
  RandomGenerator random(sum);
  GeneratorDraws draws(random);
  for (int m = 1; m <= count && m <= 4; ++m) {
    const Ring& ring = outlines[static_cast<std::size_t>(m)];
    fuzz::Check(CutReach(ring) <= kCutArmLength, "every compartment lies within the cuts' reach");
    const Subdivision s = SubdivideRing(ring, DefaultKind(m), kCompartmentCutSpread, draws);
    fuzz::Check(!s.stands.empty(), "a compartment is cut into stands");
  }
  return 0;
}
