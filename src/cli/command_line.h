// The console front-end's command line: one command and its options.
#pragma once

#include <string>
#include <vector>

#include "base/result.h"

namespace veltrane {

enum class ConsoleCommand { kScan, kClean, kPrograms, kAddons, kHelp };

struct CommandLine {
  ConsoleCommand command = ConsoleCommand::kHelp;
  bool offline = false;  // skip the definition downloads
};

// args: the arguments after the program name. Options may stand anywhere;
// exactly one command is needed (none, or "--help", gives kHelp).
Result<CommandLine> ParseCommandLine(const std::vector<std::string>& args);

// The usage text, ended by a line break.
std::string UsageText();

}  // namespace veltrane
