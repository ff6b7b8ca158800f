#include "generator/forms/program.h"

int main(int argc, char** argv) { return tolvek::generator::ProgramStart(argc, argv); }
