#pragma once
// Small aids shared by the window tests: answering modal windows from the event loop and keeping
// pictures of what a test saw.
#include <QApplication>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <memory>

#include "common/paths.h"
#include "simulator/forms/program.h"
#include "simulator/state.h"
#include "tests/support/fakes.h"
#include "tests/support/qt_modal.h"

namespace tolvek::testing {

// The simulator's windows built on a fresh copy of the shipped program folder, with fake services.
struct ShippedProgram {
  ShippedProgram() : state(fs.services) {
    // Work takes time: a run's loops handle events every 20 ms, here at every look at the clock.
    fs.clock.msPerRead = 20;
    CopyShippedData(dir);
    state.folders = ProgramFoldersFromFolder(dir.path());
    program = std::make_unique<SimulatorProgram>(state, false);
  }
  TForm1& form1() { return *program->forms.form1; }
  Forms& forms() { return program->forms; }

  TempDir dir;
  FakeServices fs;
  SimulatorState state;
  std::unique_ptr<SimulatorProgram> program;
};

}  // namespace tolvek::testing
