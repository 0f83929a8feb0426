#pragma once

// The conversion without a display, for servers and scripts:
//   vamor --convert PROJECT.vmd --to noi|vechi [--yes] [--report FILE] [--list]
//         [--reconnect] [--no-totals] [--lock-timeout SECONDS]
//   vamor --help
// Exit status: 0 when every attempted field converted, 1 when any failed,
// 2 when the arguments are wrong or the project cannot be opened.

// True when the arguments ask for the run without windows.
bool isCommandLineRun(int argc, char **argv);
// Runs it; returns the exit status. Creates its own QCoreApplication when
// none exists.
int runCommandLine(int argc, char **argv);
