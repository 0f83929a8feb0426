#include "conversion/CommandLine.h"

// The command-line run on its own, for the tests.
int main(int argc, char **argv) { return runCommandLine(argc, argv); }
