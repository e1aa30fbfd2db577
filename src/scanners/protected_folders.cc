#include "scanners/protected_folders.h"

#include <algorithm>

#include "base/text.h"

namespace veltrane {
namespace {

// The shell folders of the user and of all users that hold the user's own
// files or the system's set-up.
constexpr int kProtectedCsidls[] = {
    csidl::kDesktop,         csidl::kDesktopDirectory,  csidl::kPersonal,
    csidl::kMyMusic,         csidl::kMyPictures,        csidl::kMyVideo,
    csidl::kAppData,         csidl::kLocalAppData,      csidl::kStartMenu,
    csidl::kPrograms,        csidl::kStartup,           csidl::kProfile,
    csidl::kCommonDesktopDirectory, csidl::kCommonDocuments, csidl::kCommonMusic,
    csidl::kCommonPictures,  csidl::kCommonVideo,       csidl::kCommonStartMenu,
    csidl::kCommonPrograms,  csidl::kCommonStartup,     csidl::kCommonAppData,
    csidl::kWindows,         csidl::kSystem,            csidl::kProgramFiles,
    csidl::kProgramFilesX86,
};

// Known folders without a CSIDL, by their shell names.
constexpr const char* kProtectedKnownFolders[] = {
    "Downloads", "LocalAppDataLow", "PublicDownloads", "UserProfiles", "ProgramFilesX64",
};

bool IsDriveRoot(std::string_view normalised) {
  return normalised.size() == 2 && normalised[1] == ':';
}

std::string ParentFolder(std::string_view path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

}  // namespace

std::string NormaliseFolderPath(std::string_view path) {
  std::string result = ToLower(path);
  std::replace(result.begin(), result.end(), '/', '\\');
  while (!result.empty() && result.back() == '\\') result.pop_back();
  return result;
}

void ProtectedFolders::Add(std::string_view path) {
  std::string folder = NormaliseFolderPath(path);
  if (folder.empty()) return;
  if (std::find(folders_.begin(), folders_.end(), folder) == folders_.end()) {
    folders_.push_back(std::move(folder));
  }
}

ProtectedFolders ProtectedFolders::Collect(SystemInfo& system, Registry& registry) {
  ProtectedFolders result;
  for (int csidl : kProtectedCsidls) result.Add(system.SpecialFolder(csidl));
  for (const char* name : kProtectedKnownFolders) result.Add(system.KnownFolder(name));
  result.Add(system.WindowsFolder());
  result.Add(system.SystemFolder());
  // The Users folder is the profile's parent, also where the shell can't name it.
  const std::string users = ParentFolder(NormaliseFolderPath(system.SpecialFolder(csidl::kProfile)));
  result.Add(users);
  result.profilesFolder_ = NormaliseFolderPath(system.KnownFolder("UserProfiles"));
  if (result.profilesFolder_.empty()) result.profilesFolder_ = users;
  // The Program Files folders as the registry names them (the scan walks the first).
  if (auto key = registry.OpenKey(RegistryRoot::kLocalMachine,
                                  "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                  RegistryAccess::kRead, RegistryView::k64)) {
    for (const char* name : {"ProgramFilesDir", "ProgramFilesDir (x86)", "ProgramW6432Dir"}) {
      if (auto value = key->ReadString(name)) result.Add(*value);
    }
  }
  return result;
}

ProtectedFolders ProtectedFolders::FromPaths(const std::vector<std::string>& paths,
                                             std::string_view profilesFolder) {
  ProtectedFolders result;
  for (const std::string& path : paths) result.Add(path);
  result.profilesFolder_ = NormaliseFolderPath(profilesFolder);
  if (!result.profilesFolder_.empty()) result.Add(profilesFolder);
  return result;
}

bool ProtectedFolders::IsProtected(std::string_view path) const {
  const std::string folder = NormaliseFolderPath(path);
  if (folder.empty()) return false;
  if (IsDriveRoot(folder)) return true;
  // A path on the current drive ("\Users") may lie on any of the drives.
  const bool anyDrive = folder[0] == '\\' && !StartsWith(folder, "\\\\");
  const auto comparable = [anyDrive](const std::string& protectedFolder) {
    return anyDrive && IsDriveRoot(protectedFolder.substr(0, 2))
               ? std::string_view(protectedFolder).substr(2)
               : std::string_view(protectedFolder);
  };
  // Every folder directly in the Users folder is a profile, of this user or another.
  if (!profilesFolder_.empty() && ParentFolder(folder) == comparable(profilesFolder_)) return true;
  for (const std::string& stored : folders_) {
    const std::string_view protectedFolder = comparable(stored);
    if (protectedFolder == folder) return true;
    // folder contains a protected folder
    if (protectedFolder.size() > folder.size() && StartsWith(protectedFolder, folder) &&
        protectedFolder[folder.size()] == '\\') {
      return true;
    }
  }
  return false;
}

}  // namespace veltrane
