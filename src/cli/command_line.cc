#include "cli/command_line.h"

#include <optional>

namespace veltrane {
namespace {

std::optional<ConsoleCommand> CommandByName(const std::string& name) {
  if (name == "scan") return ConsoleCommand::kScan;
  if (name == "clean") return ConsoleCommand::kClean;
  if (name == "programs") return ConsoleCommand::kPrograms;
  if (name == "addons") return ConsoleCommand::kAddons;
  if (name == "help" || name == "--help" || name == "-h" || name == "/?") return ConsoleCommand::kHelp;
  return std::nullopt;
}

}  // namespace

Result<CommandLine> ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine result;
  bool haveCommand = false;
  for (const std::string& arg : args) {
    if (arg == "--offline") {
      result.offline = true;
      continue;
    }
    const std::optional<ConsoleCommand> command = CommandByName(arg);
    if (!command) return Error{"unknown command or option \"" + arg + "\""};
    if (*command == ConsoleCommand::kHelp) return CommandLine{ConsoleCommand::kHelp, result.offline};
    if (haveCommand) return Error{"more than one command: \"" + arg + "\""};
    result.command = *command;
    haveCommand = true;
  }
  return result;
}

std::string UsageText() {
  return "Usage: veltrane-cli <command> [--offline]\n"
         "\n"
         "Commands:\n"
         "  scan      scan the computer and print the log; the removal offer is answered No\n"
         "  clean     scan, answer Yes to the removal offer and print the log\n"
         "  programs  list the installed programs (tab-separated columns, then the count)\n"
         "  addons    list the browser add-ons (tab-separated columns, then the count)\n"
         "\n"
         "Options:\n"
         "  --offline  don't wait for fresh definitions; use the ones on disk\n"
         "\n"
         "Exit codes: scan 0 nothing found, 1 objects found; clean 0 all ticked objects\n"
         "cleaned, 1 some could not be; 2 on an error or an interrupted run.\n"
         "Ctrl+C aborts a running scan or clean (a second Ctrl+C ends the program).\n";
}

}  // namespace veltrane
