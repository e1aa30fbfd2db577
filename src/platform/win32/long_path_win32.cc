#include "platform/win32/long_path_win32.h"

#include "platform/win32/windows_win32.h"

#include "platform/win32/wide_text_win32.h"

namespace veltrane {
namespace {

// CreateDirectory's limit (MAX_PATH - 12) is the lowest of the file APIs.
constexpr size_t kShortPathLimit = MAX_PATH - 12;

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDriveAbsolute(const std::wstring& path) {
  return path.size() >= 3 && path[1] == L':' && IsSeparator(path[2]) &&
         ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

bool IsUnc(const std::wstring& path) {
  return path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1]) && path[2] != L'?' &&
         path[2] != L'.';
}

bool IsAlreadyExtendedOrDevice(const std::wstring& path) {
  return path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
         (path[2] == L'?' || path[2] == L'.') && IsSeparator(path[3]);
}

std::wstring FullPath(const std::wstring& path) {
  std::wstring full(path.size() + 1, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return {};
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);
  }
  return {};
}

}  // namespace

std::wstring ToExtendedIfLong(std::wstring path) {
  if (path.size() < kShortPathLimit || IsAlreadyExtendedOrDevice(path)) return path;
  if (!IsDriveAbsolute(path) && !IsUnc(path)) return path;
  std::wstring full = FullPath(path);
  if (full.empty()) return path;
  if (IsUnc(full)) return L"\\\\?\\UNC\\" + full.substr(2);
  if (IsDriveAbsolute(full)) return L"\\\\?\\" + full;
  return full;
}

std::optional<std::wstring> ToWin32Path(std::string_view path) {
  if (path.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
  return ToExtendedIfLong(ToWide(path));
}

}  // namespace veltrane
