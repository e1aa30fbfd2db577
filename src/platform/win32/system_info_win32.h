// Version, processor, folders and the program's own path from the system.
#pragma once

#include "platform/system_info.h"

namespace veltrane {

class SystemInfoWin32 final : public SystemInfo {
 public:
  // The true version from ntdll's RtlGetVersion; GetVersionExW (which a
  // manifest-less program sees shimmed) only when that is unavailable.
  std::optional<OsVersion> Version() override;
  uint16_t NativeProcessorArchitecture() override;
  std::string WindowsFolder() override;
  std::string SystemFolder() override;
  std::string ModuleFilePath() override;
  std::string SpecialFolder(int csidl) override;
  // By the known-folder id's name without "FOLDERID_", in any case:
  // "Downloads", "LocalAppDataLow", "PublicDownloads", "UserProfiles",
  // "ProgramFilesX64" (none for a 32-bit program), "Public", "SavedGames",
  // "Links".
  std::string KnownFolder(std::string_view name) override;
};

}  // namespace veltrane
