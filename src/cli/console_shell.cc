#include "cli/console_shell.h"

namespace veltrane {

bool ConsoleShell::OpenDocument(std::string_view path) {
  out_.Err("Log: " + std::string(path) + "\n");
  opened_.emplace_back(path);
  return true;
}

}  // namespace veltrane
