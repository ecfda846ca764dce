#pragma once

#include <functional>
#include <optional>

// The jobs the program does without a window: --text-report, --table-report,
// --help and --version. Returns the exit status of such a job, or nothing
// when the arguments ask for the window.
std::optional<int> RunCommandLine(int argc, char* argv[]);

// Runs one request of the command line. Whatever it throws is printed as
// "merovan: " and its message on standard error, and gives the status 1;
// otherwise the status is 0.
int RunGuarded(const std::function<void()>& request);
