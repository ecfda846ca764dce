#pragma once

#include <optional>

// The jobs the program does without a window: --text-report, --table-report,
// --help and --version. Returns the exit status of such a job, or nothing
// when the arguments ask for the window.
std::optional<int> RunCommandLine(int argc, char* argv[]);
