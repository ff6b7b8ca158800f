#pragma once
// The stand generator's program-wide state: one object per program run, passed by reference.
#include <optional>
#include <string>

#include "common/language.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/random.h"
#include "common/settings.h"
#include "generator/generation.h"
#include "generator/parameters.h"

namespace tolvek::generator {

// The step that stores a generated stand for the simulator: the tree file, boundary and description on
// the stand level, the tree file and the register line on the enterprise level. The result window's
// "speichern" calls it; without one the button stays disabled.
class StandSaver {
 public:
  virtual ~StandSaver() = default;
  // Asks what it needs (slot, number, classes), writes, tells the user. true when the stand was stored:
  // the result window then closes and the next pass begins; false leaves the result window open.
  virtual bool Save(const GeneratedStand& stand) = 0;
};

struct GeneratorState {
  explicit GeneratorState(Services& s) : services(s) {}
  Services& services;
  ProgramFolders folders;
  std::string standFolder;  // program folder + "Bestande/" (stand level) or "StandsGE/" (enterprise level)
  GenerationLevel level = GenerationLevel::kEnterprise;
  double width = 100.0, height = 100.0;  // W, H of the square stand, m
  int passCounter = 0;                   // counted before every parameter dialog; the gap centre follows it
  Settings settings;                     // language and forest-development-type flag, read only
  LanguageTable language;
  GenerationParameters parameters;  // what the parameter dialog shows and the generation takes
  // The one random generator: seed 0 at the start and never seeded again, so every start with the same
  // parameters makes the same stands.
  RandomGenerator random{0};
  std::optional<GeneratedStand> stand;  // the last generated stand
  StandSaver* saver = nullptr;
};

}  // namespace tolvek::generator
