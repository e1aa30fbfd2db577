// The folders the program finds its files in and walks. Paths are UTF-8
// Windows paths.
#pragma once

#include <string>

#include "base/result.h"
#include "platform/platform.h"

namespace veltrane {

// The settings folder: the roaming application-data folder (CSIDL_APPDATA) +
// "\Orlenvik\Veltrane\Settings\", ending with a backslash. Each of the three
// levels is created when missing, on every call. Fails (nothing is retried)
// when a level cannot be created, or when the shell has no application-data
// folder (rather than building the folder at the root of the current drive).
Result<std::string> SettingsFolder(Platform& platform);

// The folder of the running program file, ending with a backslash; "" when
// the program's path is unknown.
std::string ProgramFolder(SystemInfo& system);

// "ProgramFilesDir" of HKLM "SOFTWARE\Microsoft\Windows\CurrentVersion",
// read with read access only (so every user gets it); "" when the key or the
// value is missing.
std::string ProgramFilesFolder(Registry& registry);

// The Windows and system folders, for example "C:\Windows" and
// "C:\Windows\system32", without a trailing backslash; "" when unknown.
std::string WindowsFolder(SystemInfo& system);
std::string SystemFolder(SystemInfo& system);

// "Local AppData" of the current user's "Shell Folders" key
// (Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders);
// "" when missing.
std::string LocalAppDataFolder(Registry& registry);

// A shell special folder by its CSIDL number (see csidl:: in
// platform/system_info.h), without a trailing backslash; "" when the shell
// has no path for it.
std::string SpecialFolder(SystemInfo& system, int csidl);

}  // namespace veltrane
