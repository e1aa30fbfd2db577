// The real Windows platform, for front-ends: owns one of each Win32 service
// and hands them out as a Platform. Free of Windows headers, so whoever
// includes it stays platform-free.
#pragma once

#include "platform/platform.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/system_info_win32.h"

namespace veltrane {

class Win32Platform {
 public:
  Win32Platform() = default;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // Refers to the services of this object: valid while it lives.
  Platform Get();

 private:
  RegistryWin32 registry_;
  FileSystemWin32 files_;
  SystemInfoWin32 system_;
  ClockWin32 clock_;
  ShellWin32 shell_;
};

}  // namespace veltrane
