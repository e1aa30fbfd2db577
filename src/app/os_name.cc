#include "app/os_name.h"

#include <optional>

#include "base/text.h"

namespace veltrane {
namespace {

constexpr uint32_t kPlatformWin32s = 0;
constexpr uint32_t kPlatformWindows9x = 1;
constexpr uint32_t kPlatformNt = 2;
constexpr uint8_t kWorkstation = 1;
constexpr uint32_t kFirstWindows11Build = 22000;

// The second character of the service-pack text ("" when it has none).
char32_t SecondCharacter(const std::string& text) {
  const std::u32string chars = DecodeUtf8(text);
  return chars.size() >= 2 ? chars[1] : U'\0';
}

std::string Windows9xName(const OsVersion& v) {
  if (v.major != 4) return "";
  if (v.minor == 0) {
    const char32_t c = SecondCharacter(v.servicePack);
    return std::string("Microsoft Windows 95") + (c == U'B' || c == U'C' ? " OSR2" : "");
  }
  if (v.minor == 10) {
    return std::string("Microsoft Windows 98") + (SecondCharacter(v.servicePack) == U'A' ? " SE" : "");
  }
  if (v.minor > 90) return "Microsoft Windows Millennium Edition";
  return "";
}

// First row that fits, in the order of the original table; 6.3 and 10.0 are
// named like 7 and 8.
std::string NtName(const OsVersion& v, bool x64) {
  const bool workstation = v.productType == kWorkstation;
  const auto is = [&](uint32_t major, uint32_t minor) { return v.major == major && v.minor == minor; };
  const std::string x64Suffix = x64 ? " x64 Edition" : "";
  // XP x64 reports 5.2, the version of Server 2003; its workstation product
  // type tells them apart, so it is asked before the Server 2003 row.
  if (workstation && x64 && is(5, 2)) return "Microsoft Windows XP x64 Edition ";
  if (is(5, 2)) return "Microsoft Windows Server 2003";
  if (workstation && x64 && is(5, 1)) return "Microsoft Windows XP x64 Edition ";
  if (is(5, 1) && !x64) return "Microsoft Windows XP";
  if (is(6, 0) && !x64) return "Microsoft Windows Vista";
  if (workstation && x64 && is(6, 0)) return "Microsoft Windows Vista x64 Edition ";
  if (is(6, 1)) return "Microsoft Windows 7" + x64Suffix;
  if (is(6, 2)) return "Microsoft Windows 8" + x64Suffix;
  if (is(6, 3)) return "Microsoft Windows 8.1" + x64Suffix;
  if (is(10, 0)) {
    return (v.build >= kFirstWindows11Build ? "Microsoft Windows 11" : "Microsoft Windows 10") + x64Suffix;
  }
  if (is(5, 0)) return "Microsoft Windows 2000";
  return "Microsoft Windows NT";
}

}  // namespace

std::string OsName(SystemInfo& system) {
  std::optional<OsVersion> version = system.Version();
  if (!version) version = system.Version();
  if (!version) return "";
  const bool x64 = system.NativeProcessorArchitecture() == processor_architecture::kAmd64;
  switch (version->platformId) {
    case kPlatformWin32s: return "Microsoft Win32s";
    case kPlatformWindows9x: return Windows9xName(*version);
    case kPlatformNt: return NtName(*version, x64);
    default: return "";
  }
}

}  // namespace veltrane
