#pragma once
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "simulator/forms/forms.h"
#include "simulator/state.h"

namespace tolvek {

class Form42Messages;

// Every window of the simulator, created once in the start-up order and destroyed together. Whoever
// adds a window creates it in the constructor (program.cpp) at its place in that order with Add(...)
// and stores its pointer in `forms`. A window may take an earlier window as its Qt parent: they are
// destroyed in the reverse order, so a child always goes before its parent.
class SimulatorProgram {
 public:
  // With installOwnMessageBox the message service of state.services becomes the program's own box
  // (TForm42) for ShowMessageBox/AskYesNoAt, keeping the previous service for the platform's box.
  SimulatorProgram(SimulatorState& state, bool installOwnMessageBox);
  ~SimulatorProgram();
  SimulatorProgram(const SimulatorProgram&) = delete;
  SimulatorProgram& operator=(const SimulatorProgram&) = delete;

  SimulatorState& state;
  Forms forms;

 private:
  template <class W>
  W* Add(W* w) {
    owned_.emplace_back(w);
    return w;
  }
  std::vector<std::unique_ptr<QWidget>> owned_;
  std::unique_ptr<Form42Messages> ownBox_;
  MessageService* previousMessages_ = nullptr;
};

// Creates the windows of the simulator in their fixed order and runs the event loop until the main
// window closes; returns the exit code.
int ProgramStart(int argc, char** argv);

}  // namespace tolvek
