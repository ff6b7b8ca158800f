#include "tools/makemodelstands/model_stands.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "common/generated_stand_store.h"
#include "common/paths.h"
#include "common/random.h"
#include "common/rounding.h"
#include "common/stand_register.h"
#include "common/tree_file.h"
#include "generator/generation.h"
#include "generator/saving.h"

namespace tolvek::makemodelstands {
namespace {

using generator::GenerationLevel;
using generator::GenerationParameters;

// Species shares of the stems by type (per cent; the first species leads). Species codes of the first
// list: 1 Fichte, 2 Tanne, 3 Kiefer, 4 Douglas, 5 Buche, 6 Eiche, 7 Esche, 8 Ahorn, 9 other broadleaves.
struct Share {
  int species;
  int percent;
};
const std::vector<Share> kTypeShares[8] = {
    {{1, 70}, {2, 15}, {9, 15}},                    // A spruce with fir and broadleaves
    {{2, 60}, {3, 20}, {9, 20}},                    // B fir with pine
    {{3, 60}, {4, 20}, {9, 20}},                    // C pine with Douglas fir
    {{5, 80}, {9, 20}},                             // D beech
    {{6, 70}, {5, 15}, {9, 15}},                    // E oak with beech
    {{1, 30}, {5, 30}, {2, 20}, {3, 10}, {9, 10}},  // F spruce, fir, beech with pine
    {{7, 35}, {8, 35}, {9, 30}},                    // G ash, maple and other valuable broadleaves
    {{4, 80}, {1, 10}, {5, 10}},                    // H Douglas fir
};
// Short names show 13 characters in the simulator's list: type letter, leading species, class, treatment
// type and mixture ("A Fi 3 DFe": spruce, age class 3, thinned, single-tree mixture; "g" groups).
const char* const kTypeShort[8] = {"Fi", "Ta", "Ki", "Bu", "Ei", "Mi", "Lb", "Dg"};
const char* const kAgeLabel[5] = {"1/2", "3", "4", "5", "6"};

// The tool reports in plain text: what could not be done, and where.
bool Noted(const Outcome& o, std::string& error) {
  if (!o.ok()) error = o.problem().message + " " + o.problem().where;
  return o.ok();
}

bool Broadleaved(int type) { return type == 4 || type == 5 || type == 7; }

// Stems per ha and quadratic mean diameter (cm) by class: young and dense (JPF), thinned (DF), mature
// (VPF), regeneration under a thinned canopy (VN) and the uneven-aged selection forest (DW).
constexpr int kStems[5] = {1400, 800, 500, 340, 600};
constexpr int kMeanDbh[5] = {12, 20, 28, 36, 44};
constexpr int kCv[5] = {30, 25, 20, 25, 30};

GenerationParameters Plan(int type, int klass, int variant) {
  GenerationParameters p;
  double stems = kStems[klass - 1];
  if (Broadleaved(type)) stems *= 1.15;
  if (klass == 4) stems *= 0.7;
  const std::vector<Share>& shares = kTypeShares[type - 1];
  for (std::size_t i = 0; i < shares.size(); ++i) {
    generator::SpeciesRow& row = p.rows[i];
    row.code = shares[i].species;
    // Admixed species stand a little thinner than the leading one, other broadleaves thinner still.
    const double factor = i == 0 ? 1.0 : (row.code == 9 ? 0.8 : 0.9);
    row.mean = RoundInt(kMeanDbh[klass - 1] * factor);
    row.cv = kCv[klass - 1];
    row.stems = RoundInt(stems * shares[i].percent / 100.0);
  }
  auto& nine = p.nine;
  // Single-tree mixture on a jittered lattice; or the second species in two groups, stems at random.
  nine[generator::kStemDistribution] = variant == 0 ? (klass == 1 ? 7 : klass == 3 ? 4 : 6) : 9;
  if (variant == 1) {
    nine[generator::kGroups] = 2;
    nine[generator::kGroupDiameter] = 40;
    nine[generator::kInnerShare] = 80;
    nine[generator::kOuterShare] = 40;
  }
  if (klass == 2) nine[generator::kFelling] = variant == 0 ? 10 : 15;  // thinned
  if (klass == 4) {  // the canopy opened for regeneration
    nine[generator::kGapEastWest] = 40;
    nine[generator::kGapNorthSouth] = variant == 0 ? 30 : 45;
    nine[generator::kRestStocking] = 20;
  }
  if (klass == 5) {  // uneven-aged: diameters of a selection forest
    p.plenterForest = true;
    nine[generator::kStemDistribution] = 9;
  }
  generator::ValidateAll(p, GenerationLevel::kEnterprise);
  generator::UpdateBasalAreas(p);
  return p;
}

ModelStandPlan MakePlan(int number, int type, int klass, int variant, std::string shortName) {
  ModelStandPlan m;
  m.number = number;
  m.type = type;
  m.klass = klass;
  m.variant = variant;
  m.shortName = std::move(shortName);
  m.parameters = Plan(type, klass, variant);
  return m;
}

GeneratedStandIdentity IdentityOf(const ModelStandPlan& m) {
  GeneratedStandIdentity id;
  id.number = m.number;
  id.shortName = m.shortName;
  id.standType = TypeLetter(ClassificationMode::StandTypes, m.type);
  id.ageDigit = ClassDigit(ClassificationMode::StandTypes, m.klass);
  id.developmentType = TypeLetter(ClassificationMode::DevelopmentTypes, m.type);
  id.treatmentDigit = ClassDigit(ClassificationMode::DevelopmentTypes, m.klass);
  return id;
}

}  // namespace

std::vector<ModelStandPlan> RealModelStandPlans() {
  std::vector<ModelStandPlan> plans;
  int number = 201;
  for (int type = 1; type <= 8; ++type)
    for (int klass = 1; klass <= 5; ++klass)
      for (int variant = 0; variant <= 1; ++variant) {
        const std::string name = std::string(1, TypeLetter(ClassificationMode::StandTypes, type)) + " " +
                                 kTypeShort[type - 1] + " " + kAgeLabel[klass - 1] + " " + TreatmentTypeName(klass) +
                                 (variant == 0 ? "e" : "g");
        plans.push_back(MakePlan(number++, type, klass, variant, name));
      }
  return plans;
}

std::vector<ModelStandPlan> GeneratedModelStandPlans() {
  std::vector<ModelStandPlan> plans;
  for (int type = 1; type <= 8; ++type) {
    const int klass = type % 5 + 1;
    plans.push_back(MakePlan(300 + type, type, klass, type % 2,
                             std::string("Gen ") + TypeLetter(ClassificationMode::StandTypes, type) + " " +
                                 kTypeShort[type - 1] + " AK" + kAgeLabel[klass - 1]));
  }
  return plans;
}

bool MakeModelStands(const std::string& folder, std::vector<std::string>& written, std::string& error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  for (const char* sub : {"StandsEU", "StandsGE", "Vorgaben"}) fs::create_directories(JoinPath(folder, sub), ec);
  // The generator's start: seed 0, never seeded again; the stands are made one after the other.
  RandomGenerator random(0);
  int pass = 0;
  auto generate = [&](const ModelStandPlan& m) -> std::optional<generator::GeneratedStand> {
    ++pass;
    generator::GenerationResult r = generator::GenerateStand(m.parameters, GenerationLevel::kEnterprise, pass, random);
    if (!r.stand)
      error = "Stand" + std::to_string(m.number) + ": " + (r.outcome.ok() ? "not made" : r.outcome.problem().message);
    return r.stand;
  };

  // The real register: stands of the folder "StandsEU", their size as corner 1.
  RegisterFile real;
  for (const ModelStandPlan& m : RealModelStandPlans()) {
    std::optional<generator::GeneratedStand> stand = generate(m);
    if (!stand) return false;
    const std::string tree = "StandsEU/w" + GeneratedStandFileName(m.number);
    if (!Noted(WriteTreeFile(JoinPath(folder, tree), stand->TreeFileRecords()), error)) return false;
    written.push_back(tree);
    const std::optional<std::string> line =
        RegisterLineFor(IdentityOf(m), stand->width, stand->height, RegisterCornerForm::SizeFirst);
    if (!line) {
      error = "Stand" + std::to_string(m.number) + ": size does not fit the register";
      return false;
    }
    real.lines.push_back(NewRegisterLine(*line));
  }
  const std::string realPath = std::string("Vorgaben/") + kRealRegisterName;
  if (!Noted(WriteRegisterFile(JoinPath(folder, realPath), real), error)) return false;
  written.push_back(realPath);

  // The generated register, written as the generator saves its stands.
  const std::string generatedPath = std::string("Vorgaben/") + kGeneratedRegisterName;
  if (!Noted(WriteRegisterFile(JoinPath(folder, generatedPath), RegisterFile{}), error)) return false;
  for (const ModelStandPlan& m : GeneratedModelStandPlans()) {
    std::optional<generator::GeneratedStand> stand = generate(m);
    if (!stand) return false;
    const StoreOutcome o = SaveEnterpriseStand(folder, IdentityOf(m), generator::ForSaving(*stand));
    if (!o.ok()) {
      error = o.fileName + ": cannot write " + o.path;
      return false;
    }
    written.push_back("StandsGE/w" + o.fileName);
  }
  written.push_back(generatedPath);
  return true;
}

}  // namespace tolvek::makemodelstands
