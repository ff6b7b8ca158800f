#pragma once
// All program-wide state of the simulator lives in one object, passed by reference to the windows and
// the core, so a test can build a fresh program in one process. Each module adds its own struct here.
#include "common/language.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/random.h"
#include "common/run_control.h"

namespace tolvek {

struct SimulatorState {
  explicit SimulatorState(Services& s) : services(s) {}
  Services& services;
  ProgramFolders folders;
  RunControl run;
  RandomGenerator random;
  double screenScale = 1.0;
  LanguageTable language;
};

}  // namespace tolvek
