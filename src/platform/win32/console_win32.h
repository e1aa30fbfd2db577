// The Windows console as the console front-end needs it: its arguments, its
// two output streams and Ctrl+C. Free of Windows headers, so the front-end
// that includes it stays platform-free.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane {

// The command-line arguments after the program name, as UTF-8 (taken from
// the wide command line, so any name survives).
std::vector<std::string> ConsoleArguments();

enum class ConsoleStream { kOut, kErr };

// Writes UTF-8 text: as Unicode to a console window, as the UTF-8 bytes
// themselves to a file or pipe. Line breaks are written as given.
void WriteConsoleText(ConsoleStream stream, std::string_view text);

// From now on Ctrl+C and Ctrl+Break set *flag instead of ending the process,
// so that the program can stop in good order. A second press while the flag
// is still set (nobody took the first) ends the process as usual.
void InstallConsoleInterruptHandler(std::atomic<bool>* flag);

}  // namespace veltrane
