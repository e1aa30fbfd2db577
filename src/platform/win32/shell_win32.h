// Shell services: ShellExecute, shell links through COM, the Recycle Bin.
// Each call makes sure COM is usable on its thread and leaves the thread's
// COM state as it found it.
#pragma once

#include "platform/shell.h"

namespace veltrane {

class ShellWin32 final : public Shell {
 public:
  bool OpenDocument(std::string_view path) override;
  std::string ResolveShortcut(std::string_view linkPath) override;
  // Only full paths are accepted: the shell would take a relative path
  // against the current folder. A drive root, or everything in it, is
  // refused too.
  bool RecycleToBin(std::string_view pathOrPattern) override;
};

}  // namespace veltrane
