#include "app/folders.h"

#include <initializer_list>

namespace veltrane {
namespace {

std::string WithoutTrailingBackslash(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

}  // namespace

Result<std::string> SettingsFolder(Platform& platform) {
  const std::string appData = WithoutTrailingBackslash(platform.system.SpecialFolder(csidl::kAppData));
  if (appData.empty()) return Error{"Cannot find the application data folder"};
  std::string folder = appData;
  for (const char* level : {"\\Orlenvik", "\\Veltrane", "\\Settings"}) {
    folder += level;
    if (!platform.files.DirectoryExists(folder) && !platform.files.CreateDirectory(folder)) {
      return Error{"Cannot create folder " + folder};
    }
  }
  return folder + "\\";
}

std::string ProgramFolder(SystemInfo& system) {
  const std::string path = system.ModuleFilePath();
  const size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return "";
  return path.substr(0, slash + 1);
}

std::string ProgramFilesFolder(Registry& registry) {
  auto key = registry.OpenKey(RegistryRoot::kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                              RegistryAccess::kRead);
  if (!key) return "";
  return key->ReadString("ProgramFilesDir").value_or("");
}

std::string WindowsFolder(SystemInfo& system) { return system.WindowsFolder(); }

std::string SystemFolder(SystemInfo& system) { return system.SystemFolder(); }

std::string LocalAppDataFolder(Registry& registry) {
  auto key = registry.OpenKey(RegistryRoot::kCurrentUser,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                              RegistryAccess::kRead);
  if (!key) return "";
  return key->ReadString("Local AppData").value_or("");
}

std::string SpecialFolder(SystemInfo& system, int csidl) { return system.SpecialFolder(csidl); }

}  // namespace veltrane
