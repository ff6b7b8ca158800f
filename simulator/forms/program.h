#pragma once
#include <string>

namespace tolvek {

// Creates the windows of the simulator in their fixed order and runs the event loop until the main
// window closes; returns the exit code.
int ProgramStart(int argc, char** argv);

}  // namespace tolvek
