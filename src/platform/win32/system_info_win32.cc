#include "platform/win32/system_info_win32.h"

#include "platform/win32/windows_win32.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <array>

#include "base/text.h"
#include "platform/win32/id_list_path_win32.h"
#include "platform/win32/unique_handle_win32.h"
#include "platform/win32/wide_text_win32.h"

namespace veltrane {
namespace {

// Longest path the wide APIs can return.
constexpr DWORD kLongPathLength = 32768;

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOEXW*);

std::string WithoutTrailingBackslash(std::wstring path) {
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return FromWide(path);
}

// Calls fill(buffer, size) -> length, growing the buffer while the answer
// does not fit (both conventions: length >= size, or the needed size).
template <typename Fill>
std::wstring ReadGrowing(Fill fill) {
  std::wstring buffer(MAX_PATH, L'\0');
  while (buffer.size() <= kLongPathLength) {
    const DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(std::max<size_t>(buffer.size() * 2, length + 1));
  }
  return {};
}

bool QueryTrueVersion(OSVERSIONINFOEXW* info) {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (ntdll == nullptr) return false;
  const FARPROC proc = GetProcAddress(ntdll, "RtlGetVersion");
  if (proc == nullptr) return false;
  // Through the generic function type, which converts to any other.
  const auto rtlGetVersion =
      reinterpret_cast<RtlGetVersionFunction>(reinterpret_cast<void (*)()>(proc));
  return rtlGetVersion(info) == 0;
}

bool QueryShimmedVersion(OSVERSIONINFOEXW* info) {
#ifdef _MSC_VER
#pragma warning(suppress : 4996)  // deprecated: kept only as the fallback
#endif
  return GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(info)) != FALSE;
}

struct NamedFolder {
  const char* name;
  const KNOWNFOLDERID* id;
};

}  // namespace

std::optional<OsVersion> SystemInfoWin32::Version() {
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!QueryTrueVersion(&info)) {
    info = OSVERSIONINFOEXW{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!QueryShimmedVersion(&info)) return std::nullopt;
  }
  OsVersion version;
  version.platformId = info.dwPlatformId;
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  version.build = info.dwBuildNumber;
  const std::wstring_view servicePack(info.szCSDVersion);
  version.servicePack = FromWide(servicePack.substr(0, servicePack.find(L'\0')));
  version.productType = info.wProductType;
  return version;
}

uint16_t SystemInfoWin32::NativeProcessorArchitecture() {
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  return info.wProcessorArchitecture;
}

std::string SystemInfoWin32::WindowsFolder() {
  return WithoutTrailingBackslash(
      ReadGrowing([](wchar_t* buffer, DWORD size) { return GetWindowsDirectoryW(buffer, size); }));
}

std::string SystemInfoWin32::SystemFolder() {
  return WithoutTrailingBackslash(
      ReadGrowing([](wchar_t* buffer, DWORD size) { return GetSystemDirectoryW(buffer, size); }));
}

std::string SystemInfoWin32::ModuleFilePath() {
  // GetModuleFileNameW truncates silently: a full buffer means "grow".
  std::wstring buffer(MAX_PATH, L'\0');
  while (buffer.size() <= kLongPathLength) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return FromWide(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
  return {};
}

std::string SystemInfoWin32::SpecialFolder(int csidl) {
  UniqueCoTaskMem<ITEMIDLIST> idList;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, idList.Receive())) || !idList) return {};
  return WithoutTrailingBackslash(PathFromIdList(idList.Get()));
}

std::string SystemInfoWin32::KnownFolder(std::string_view name) {
  static constexpr std::array<NamedFolder, 8> kFolders = {{
      {"Downloads", &FOLDERID_Downloads},
      {"LocalAppDataLow", &FOLDERID_LocalAppDataLow},
      {"PublicDownloads", &FOLDERID_PublicDownloads},
      {"UserProfiles", &FOLDERID_UserProfiles},
      {"ProgramFilesX64", &FOLDERID_ProgramFilesX64},
      {"Public", &FOLDERID_Public},
      {"SavedGames", &FOLDERID_SavedGames},
      {"Links", &FOLDERID_Links},
  }};
  for (const NamedFolder& folder : kFolders) {
    if (!EqualsIgnoreCase(name, folder.name)) continue;
    UniqueCoTaskMem<wchar_t> path;
    // The path also when the folder has not been made yet.
    if (FAILED(SHGetKnownFolderPath(*folder.id, KF_FLAG_DONT_VERIFY, nullptr, path.Receive())) ||
        !path) {
      return {};
    }
    return WithoutTrailingBackslash(path.Get());
  }
  return {};
}

}  // namespace veltrane
