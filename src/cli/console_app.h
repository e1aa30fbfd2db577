// The console front-end's run: the window program's start-up, then one
// command, with the window's controls replaced by the console view.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "cli/command_line.h"
#include "cli/console_output.h"
#include "platform/platform.h"

namespace veltrane {

// Exit codes of the console front-end.
inline constexpr int kExitClean = 0;      // scan: nothing found; clean: all ticked objects cleaned
inline constexpr int kExitFound = 1;      // scan: objects found; clean: some could not be cleaned
inline constexpr int kExitError = 2;      // start-up or log failure, bad command line, interrupted

struct ConsoleEnvironment {
  Platform& platform;
  ConsoleOutput& out;
  // Set by the Ctrl+C handler (on any thread), taken by the message pump.
  std::atomic<bool>& interrupted;
  // A monotonic clock in milliseconds, for the status line's throttle.
  std::function<int64_t()> milliseconds;
};

// Runs the command and returns the process's exit code. The result goes to
// standard output (the saved log; the page's rows and title), everything
// else to standard error.
int RunConsoleCommand(const CommandLine& commandLine, ConsoleEnvironment& environment);

}  // namespace veltrane
