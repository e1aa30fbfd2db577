// FakeSystemInfo: settable answers, by default those of a 64-bit Windows 7
// SP1 workstation with the usual folders of a user named "User" on C:.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system_info.h"

namespace veltrane {

class FakeSystemInfo : public SystemInfo {
 public:
  FakeSystemInfo();

  std::optional<OsVersion> Version() override;
  uint16_t NativeProcessorArchitecture() override { return architecture_; }
  std::string WindowsFolder() override { return windowsFolder_; }
  std::string SystemFolder() override { return systemFolder_; }
  std::string ModuleFilePath() override { return modulePath_; }
  std::string SpecialFolder(int csidl) override;
  std::string KnownFolder(std::string_view name) override;

  // nullopt: every version query fails.
  void SetVersion(std::optional<OsVersion> version) { version_ = std::move(version); }
  // The next count version queries fail, later ones answer.
  void FailVersionQueries(int count) { versionFailures_ = count; }
  int VersionQueryCount() const { return versionQueries_; }
  void SetNativeProcessorArchitecture(uint16_t architecture) { architecture_ = architecture; }
  void SetWindowsFolder(std::string path) { windowsFolder_ = std::move(path); }
  void SetSystemFolder(std::string path) { systemFolder_ = std::move(path); }
  void SetModuleFilePath(std::string path) { modulePath_ = std::move(path); }
  // "" makes the folder unknown.
  void SetSpecialFolder(int csidl, std::string path);
  void SetKnownFolder(std::string_view name, std::string path);
  // Every folder answer that is not "" (for creating them in a file system).
  std::map<int, std::string> SpecialFolders() const { return specialFolders_; }

 private:
  std::optional<OsVersion> version_;
  int versionFailures_ = 0;
  int versionQueries_ = 0;
  uint16_t architecture_ = processor_architecture::kAmd64;
  std::string windowsFolder_ = "C:\\Windows";
  std::string systemFolder_ = "C:\\Windows\\system32";
  std::string modulePath_ = "C:\\Program Files (x86)\\Veltrane\\Veltrane.exe";
  std::map<int, std::string> specialFolders_;
  std::map<std::string, std::string> knownFolders_;  // folded name -> path
};

}  // namespace veltrane
