#pragma once

#include <QString>
#include <functional>
#include <optional>

// The jobs the program does without a window: reports and pictures, one
// request after another, --help and --version. Returns the exit status of
// such a call, or nothing when the arguments ask for the window.
std::optional<int> RunCommandLine(int argc, char* argv[]);

// Runs one request of the command line about the file. Whatever it throws
// is printed as "merovan: ", the file, and its message on standard error, and
// gives the status 1; otherwise the status is 0.
int RunGuarded(const QString& file, const std::function<void()>& request);
