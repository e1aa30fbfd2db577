// System information: the operating system's version, folders and the
// program's own path. Failure contract: folder queries give "" when the
// system has no answer; the version query gives nullopt.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltrane {

// The extended version record (OSVERSIONINFOEX), taken from the true
// version (RtlGetVersion), not the compatibility-shimmed one.
struct OsVersion {
  uint32_t platformId = 0;  // 0 Win32s, 1 Windows 9x, 2 NT
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  std::string servicePack;  // szCSDVersion
  uint8_t productType = 0;  // 1 workstation, 2 domain controller, 3 server
};

// PROCESSOR_ARCHITECTURE_* values.
namespace processor_architecture {
inline constexpr uint16_t kIntel = 0;
inline constexpr uint16_t kArm = 5;
inline constexpr uint16_t kIa64 = 6;
inline constexpr uint16_t kAmd64 = 9;
inline constexpr uint16_t kArm64 = 12;
}  // namespace processor_architecture

// CSIDL numbers used by the program.
namespace csidl {
inline constexpr int kDesktop = 0;
inline constexpr int kPrograms = 2;
inline constexpr int kPersonal = 5;  // Documents
inline constexpr int kStartup = 7;
inline constexpr int kStartMenu = 11;
inline constexpr int kMyMusic = 13;
inline constexpr int kMyVideo = 14;
inline constexpr int kDesktopDirectory = 16;
inline constexpr int kCommonStartMenu = 22;
inline constexpr int kCommonPrograms = 23;
inline constexpr int kCommonStartup = 24;
inline constexpr int kCommonDesktopDirectory = 25;
inline constexpr int kAppData = 26;
inline constexpr int kLocalAppData = 28;
inline constexpr int kCommonAppData = 35;  // ProgramData
inline constexpr int kWindows = 36;
inline constexpr int kSystem = 37;
inline constexpr int kProgramFiles = 38;
inline constexpr int kMyPictures = 39;
inline constexpr int kProfile = 40;
inline constexpr int kProgramFilesX86 = 42;
inline constexpr int kCommonDocuments = 46;
inline constexpr int kCommonMusic = 53;
inline constexpr int kCommonPictures = 54;
inline constexpr int kCommonVideo = 55;
}  // namespace csidl

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual std::optional<OsVersion> Version() = 0;
  virtual uint16_t NativeProcessorArchitecture() = 0;
  virtual std::string WindowsFolder() = 0;  // no trailing backslash
  virtual std::string SystemFolder() = 0;   // no trailing backslash
  virtual std::string ModuleFilePath() = 0;  // the running program file
  // Path of a shell special folder, no trailing backslash; "" when the shell
  // has no path for it.
  virtual std::string SpecialFolder(int csidl) = 0;
  // The Known Folder path of the downloads folder, and other folders with no
  // CSIDL, are asked for by name ("Downloads"); "" when unknown.
  virtual std::string KnownFolder(std::string_view name) = 0;
};

}  // namespace veltrane
