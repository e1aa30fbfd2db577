// Shell services: opening documents, reading shortcuts, the Recycle Bin.
// Failure contract: nothing throws; failures are false or "".
#pragma once

#include <string>
#include <string_view>

namespace veltrane {

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecute with the verb "open", window shown normally.
  virtual bool OpenDocument(std::string_view path) = 0;
  // The target path of a shell link (IShellLinkW::GetPath, SLGP_UNCPRIORITY,
  // no Resolve), or "" when the file cannot be read as a shortcut.
  virtual std::string ResolveShortcut(std::string_view linkPath) = 0;
  // Moves a file or folder (or the matches of a "*.*" pattern) to the
  // Recycle Bin silently, with undo (SHFileOperation FO_DELETE, 0x654).
  virtual bool RecycleToBin(std::string_view pathOrPattern) = 0;
};

}  // namespace veltrane
