// The shell as the console uses it: opening a document (the saved log)
// prints its path instead of starting a viewer; everything else is the real
// shell's.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/console_output.h"
#include "platform/shell.h"

namespace veltrane {

class ConsoleShell : public Shell {
 public:
  ConsoleShell(Shell& inner, ConsoleOutput& out) : inner_(inner), out_(out) {}

  bool OpenDocument(std::string_view path) override;
  std::string ResolveShortcut(std::string_view linkPath) override { return inner_.ResolveShortcut(linkPath); }
  bool RecycleToBin(std::string_view pathOrPattern) override { return inner_.RecycleToBin(pathOrPattern); }

  // The documents "opened" so far, in order.
  const std::vector<std::string>& Opened() const { return opened_; }

 private:
  Shell& inner_;
  ConsoleOutput& out_;
  std::vector<std::string> opened_;
};

}  // namespace veltrane
