// The folders that a scan never reports and a clean never removes: drive
// roots, the Windows and Program Files folders, the Users folder, the user
// profile, ProgramData and the shell's known folders of the user and of all
// users, every profile in the Users folder, and every folder that contains one
// of them (such as "C:\Users\x\AppData").
// This is the one list of them; the folder scan and the folder removal both ask it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "platform/system_info.h"

namespace veltrane {

class ProtectedFolders {
 public:
  ProtectedFolders() = default;
  // Asks the system for the folders once; folders it has no path for are left out.
  static ProtectedFolders Collect(SystemInfo& system, Registry& registry);
  // A list of given folders (drive roots are protected in any case); the
  // folders directly in profilesFolder, when given, are protected too.
  static ProtectedFolders FromPaths(const std::vector<std::string>& paths,
                                    std::string_view profilesFolder = {});

  // True when path (with or without a final "\") is a drive root, one of the
  // folders, a profile, or a folder that contains one of them. Case is ignored.
  bool IsProtected(std::string_view path) const;

  // The folders, lower-cased, without a final "\".
  const std::vector<std::string>& Folders() const { return folders_; }

 private:
  void Add(std::string_view path);
  std::vector<std::string> folders_;
  std::string profilesFolder_;  // normalised; "" when unknown
};

// A path lower-cased, "/" read as "\", without final backslashes ("C:\" gives "c:").
std::string NormaliseFolderPath(std::string_view path);

}  // namespace veltrane
