#pragma once

#include "App/CommandLine.h"

#include <optional>

/// What `kestavon` does for a command line that shows no window: prints the help or the
/// version, explains an invalid command line, or hands --quit and --jump to the running
/// Kestavon. The same on every platform.
namespace CommandLineRun {

/// The exit status of `request`, or nothing when it starts Kestavon itself.
std::optional<int> answerWithoutWindow(const CommandLine::Request& request, int& argc, char** argv);

} // namespace CommandLineRun
