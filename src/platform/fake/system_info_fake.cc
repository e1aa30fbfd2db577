#include "platform/fake/system_info_fake.h"

#include "base/text.h"

namespace veltrane {

FakeSystemInfo::FakeSystemInfo() {
  version_ = OsVersion{2, 6, 1, 7601, "Service Pack 1", 1};
  const std::string profile = "C:\\Users\\User";
  const std::string startMenu = profile + "\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu";
  const std::string commonStartMenu = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu";
  specialFolders_ = {
      {csidl::kDesktop, profile + "\\Desktop"},
      {csidl::kDesktopDirectory, profile + "\\Desktop"},
      {csidl::kPersonal, profile + "\\Documents"},
      {csidl::kMyMusic, profile + "\\Music"},
      {csidl::kMyVideo, profile + "\\Videos"},
      {csidl::kMyPictures, profile + "\\Pictures"},
      {csidl::kStartMenu, startMenu},
      {csidl::kPrograms, startMenu + "\\Programs"},
      {csidl::kStartup, startMenu + "\\Programs\\Startup"},
      {csidl::kAppData, profile + "\\AppData\\Roaming"},
      {csidl::kLocalAppData, profile + "\\AppData\\Local"},
      {csidl::kProfile, profile},
      {csidl::kCommonStartMenu, commonStartMenu},
      {csidl::kCommonPrograms, commonStartMenu + "\\Programs"},
      {csidl::kCommonStartup, commonStartMenu + "\\Programs\\Startup"},
      {csidl::kCommonDesktopDirectory, "C:\\Users\\Public\\Desktop"},
      {csidl::kCommonDocuments, "C:\\Users\\Public\\Documents"},
      {csidl::kCommonMusic, "C:\\Users\\Public\\Music"},
      {csidl::kCommonPictures, "C:\\Users\\Public\\Pictures"},
      {csidl::kCommonVideo, "C:\\Users\\Public\\Videos"},
      {csidl::kCommonAppData, "C:\\ProgramData"},
      {csidl::kWindows, windowsFolder_},
      {csidl::kSystem, systemFolder_},
      {csidl::kProgramFiles, "C:\\Program Files"},
      {csidl::kProgramFilesX86, "C:\\Program Files (x86)"},
  };
  knownFolders_[ToLower("Downloads")] = profile + "\\Downloads";
}

std::optional<OsVersion> FakeSystemInfo::Version() {
  ++versionQueries_;
  if (versionFailures_ > 0) {
    --versionFailures_;
    return std::nullopt;
  }
  return version_;
}

std::string FakeSystemInfo::SpecialFolder(int csidl) {
  auto it = specialFolders_.find(csidl);
  return it == specialFolders_.end() ? std::string() : it->second;
}

std::string FakeSystemInfo::KnownFolder(std::string_view name) {
  auto it = knownFolders_.find(ToLower(name));
  return it == knownFolders_.end() ? std::string() : it->second;
}

void FakeSystemInfo::SetSpecialFolder(int csidl, std::string path) {
  if (path.empty()) {
    specialFolders_.erase(csidl);
  } else {
    specialFolders_[csidl] = std::move(path);
  }
}

void FakeSystemInfo::SetKnownFolder(std::string_view name, std::string path) {
  if (path.empty()) {
    knownFolders_.erase(ToLower(name));
  } else {
    knownFolders_[ToLower(name)] = std::move(path);
  }
}

}  // namespace veltrane
