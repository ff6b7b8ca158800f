// The structure file of a model enterprise, "Temp/Betrieb<n>.txt", as the program reads it: the mode the
// choice window shows from its first line, the whole structure for an enterprise of 20 or of 80
// compartments, the structure laid over the enterprise, and a structure read stored again.
// Input: the file's bytes.
#include <cmath>

#include "common/paths.h"
#include "simulator/enterprise/enterprise_choice.h"
#include "simulator/enterprise/structure_file.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;

namespace {

void CheckStructure(const EnterpriseStructure& s, int compartments) {
  fuzz::Check(s.mode == 0 || s.mode == 1, "the mode is 0 or 1");
  fuzz::Check(static_cast<int>(s.compartments.size()) == compartments + 1, "every compartment is there");
  for (int i = 1; i <= compartments; ++i) {
    const Compartment& c = s.compartments[static_cast<std::size_t>(i)];
    fuzz::Check(!c.stands.empty() && static_cast<int>(c.stands.size()) <= kMaxStandsPerCompartment,
                "a compartment has 1 to 27 stands");
    fuzz::Check(c.typePosition >= 0 && c.typePosition <= 5, "a compartment's type is 0 to 5");
    for (const EnterpriseStand& st : c.stands) {
      fuzz::Check(std::isfinite(st.area), "a stand's area is a number");
      fuzz::Check(st.typePosition >= 1 && st.typePosition <= 5 && st.cls >= 1 && st.cls <= 5,
                  "a stand's type and class are 1 to 5");
      fuzz::Check(st.modelStand >= 0, "a model stand is no negative entry");
      fuzz::Check(static_cast<int>(st.corners.size()) >= kMinStandCorners &&
                      static_cast<int>(st.corners.size()) <= kMaxStandCorners,
                  "a stand has 3 to 90 corners");
      for (const GeoPoint& p : st.corners) fuzz::Check(std::isfinite(p.x) && std::isfinite(p.y), "corners are numbers");
    }
  }
  fuzz::Check(s.chosen.count >= 0 && s.chosen.count <= 5, "0 to 5 types are chosen");
  for (int code : s.chosen.codes) fuzz::Check(code >= 0 && code <= 8, "a chosen type is 0 to 8");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchFolder folder;
  const std::string_view input = fuzz::Bytes(data, size);
  folder.Write("Temp/Betrieb1.txt", input);
  const std::string path = EnterpriseFilePath(folder.path(), 1);

  const int stored = ReadStoredMode(path);
  fuzz::Check(stored == 0 || stored == 1 || stored == 9, "a stored mode is 0, 1 or 9");

  for (int compartments : {ModelEnterprise(1).compartments, ModelEnterprise(3).compartments}) {
    EnterpriseStructure s;
    if (const Outcome read = ReadEnterpriseStructure(path, compartments, s); !read.ok()) {
      fuzz::Check(!read.problem().message.empty(), "a refusal says why");
      fuzz::Check(s.compartments.empty(), "a refused file leaves the structure untouched");
      fuzz::Check(!StructureProblemText(1, read.problem(), [](const std::string& t) { return t; }).empty(),
                  "a refusal has a message");
      continue;
    }
    CheckStructure(s, compartments);
    fuzz::Check(stored == s.mode, "the choice window shows the mode the file is read in");

    // Stored again, the structure reads back as it was stored.
    std::vector<std::string> lines;
    fuzz::Check(StructureFileLines(s, lines).ok(), "a structure read can be stored");
    EnterpriseStructure again;
    fuzz::Check(ParseEnterpriseFile(lines, compartments, again).ok(), "a stored structure reads back");
    std::vector<std::string> twice;
    fuzz::Check(StructureFileLines(again, twice).ok() && twice == lines, "a structure stores the same twice");

    EnterpriseSession session;
    session.compartmentCount = compartments;
    session.compartments.assign(static_cast<std::size_t>(compartments) + 1, Compartment{});
    ApplyStructure(session, std::move(s));
    fuzz::Check(std::isfinite(session.totalArea), "the enterprise's area is a number");
  }
  return 0;
}
