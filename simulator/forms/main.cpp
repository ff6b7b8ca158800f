#include "simulator/forms/program.h"

int main(int argc, char** argv) { return tolvek::ProgramStart(argc, argv); }
