#include "langedit/forms/form1.h"

int main(int argc, char** argv) { return tolvek::langedit::ProgramStart(argc, argv); }
