#include "platform/win32/registry_win32.h"

#include "platform/win32/windows_win32.h"

#include <vector>

#include "platform/win32/unique_handle_win32.h"
#include "platform/win32/wide_text_win32.h"

namespace veltrane {
namespace {

// Value names may be 16383 characters long; key names are shorter.
constexpr DWORD kMaxNameLength = 16384;

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::kCurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::kLocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::kUsers: return HKEY_USERS;
    case RegistryRoot::kCurrentConfig: return HKEY_CURRENT_CONFIG;
  }
  return nullptr;
}

REGSAM ViewFlag(RegistryView view) {
  switch (view) {
    case RegistryView::kDefault: return 0;
    case RegistryView::k32: return KEY_WOW64_32KEY;
    case RegistryView::k64: return KEY_WOW64_64KEY;
  }
  return 0;
}

PlatformError ToPlatformError(LSTATUS status) {
  switch (status) {
    case ERROR_SUCCESS: return PlatformError::kNone;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return PlatformError::kNotFound;
    case ERROR_ACCESS_DENIED: return PlatformError::kAccessDenied;
    default: return PlatformError::kOther;
  }
}

void SetError(PlatformError* error, LSTATUS status) {
  if (error != nullptr) *error = ToPlatformError(status);
}

// A name as the API wants it; names with a NUL inside cannot exist.
bool ToName(std::string_view name, std::wstring* wide) {
  if (name.find('\0') != std::string_view::npos) return false;
  *wide = ToWide(name);
  return true;
}

class RegistryKeyWin32 final : public RegistryKey {
 public:
  explicit RegistryKeyWin32(UniqueRegistryKey key) : key_(std::move(key)) {}

  std::vector<std::string> SubkeyNames() override {
    std::vector<std::string> names;
    std::wstring buffer(kMaxNameLength, L'\0');
    for (DWORD index = 0;; ++index) {
      DWORD length = kMaxNameLength;
      if (RegEnumKeyExW(key_.Get(), index, buffer.data(), &length, nullptr, nullptr, nullptr,
                        nullptr) != ERROR_SUCCESS) {
        break;
      }
      names.push_back(FromWide(std::wstring_view(buffer.data(), length)));
    }
    return names;
  }

  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    std::wstring buffer(kMaxNameLength, L'\0');
    for (DWORD index = 0;; ++index) {
      DWORD length = kMaxNameLength;
      if (RegEnumValueW(key_.Get(), index, buffer.data(), &length, nullptr, nullptr, nullptr,
                        nullptr) != ERROR_SUCCESS) {
        break;
      }
      names.push_back(FromWide(std::wstring_view(buffer.data(), length)));
    }
    return names;
  }

  std::optional<RegistryValueType> ValueType(std::string_view name) override {
    std::wstring wideName;
    if (!ToName(name, &wideName)) return std::nullopt;
    DWORD type = 0;
    if (RegQueryValueExW(key_.Get(), wideName.c_str(), nullptr, &type, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    return static_cast<RegistryValueType>(type);
  }

  std::optional<std::string> ReadString(std::string_view name) override {
    std::wstring wideName;
    if (!ToName(name, &wideName)) return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key_.Get(), wideName.c_str(), nullptr, &type, nullptr, &size);
    // The value may grow between the size query and the read: ask again.
    for (int attempt = 0; attempt < 8 && status == ERROR_SUCCESS; ++attempt) {
      if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
      // One spare character so that text stored without its NUL still ends
      // inside the buffer; an odd last byte is dropped.
      std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
      DWORD bufferSize = size;
      status = RegQueryValueExW(key_.Get(), wideName.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(buffer.data()), &bufferSize);
      if (status == ERROR_MORE_DATA) {
        size = bufferSize;
        status = ERROR_SUCCESS;
        continue;
      }
      if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) break;
      const size_t count = bufferSize / sizeof(wchar_t);
      std::wstring_view text(buffer.data(), count);
      text = text.substr(0, text.find(L'\0'));
      return FromWide(text);
    }
    return std::nullopt;
  }

  bool WriteString(std::string_view name, std::string_view value) override {
    std::wstring wideName;
    if (!ToName(name, &wideName)) return false;
    const std::wstring wideValue = ToWide(value);
    const size_t bytes = (wideValue.size() + 1) * sizeof(wchar_t);
    if (bytes > MAXDWORD) return false;
    return RegSetValueExW(key_.Get(), wideName.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(wideValue.c_str()),
                          static_cast<DWORD>(bytes)) == ERROR_SUCCESS;
  }

  bool DeleteValue(std::string_view name) override {
    std::wstring wideName;
    if (!ToName(name, &wideName)) return false;
    return RegDeleteValueW(key_.Get(), wideName.c_str()) == ERROR_SUCCESS;
  }

 private:
  UniqueRegistryKey key_;
};

}  // namespace

std::unique_ptr<RegistryKey> RegistryWin32::OpenKey(RegistryRoot root, std::string_view path,
                                                    RegistryAccess access, RegistryView view,
                                                    PlatformError* error) {
  std::wstring widePath;
  if (!ToName(path, &widePath)) {
    SetError(error, ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  const REGSAM rights = access == RegistryAccess::kRead ? KEY_READ : KEY_ALL_ACCESS;
  UniqueRegistryKey key;
  const LSTATUS status =
      RegOpenKeyExW(RootKey(root), widePath.c_str(), 0, rights | ViewFlag(view), key.Receive());
  SetError(error, status);
  if (status != ERROR_SUCCESS) return nullptr;
  return std::make_unique<RegistryKeyWin32>(std::move(key));
}

std::unique_ptr<RegistryKey> RegistryWin32::CreateKey(RegistryRoot root, std::string_view path,
                                                      RegistryView view, PlatformError* error) {
  std::wstring widePath;
  if (!ToName(path, &widePath)) {
    SetError(error, ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  UniqueRegistryKey key;
  const LSTATUS status =
      RegCreateKeyExW(RootKey(root), widePath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS | ViewFlag(view), nullptr, key.Receive(), nullptr);
  SetError(error, status);
  if (status != ERROR_SUCCESS) return nullptr;
  return std::make_unique<RegistryKeyWin32>(std::move(key));
}

bool RegistryWin32::DeleteKey(RegistryRoot root, std::string_view path, RegistryView view) {
  std::wstring widePath;
  if (path.empty() || !ToName(path, &widePath)) return false;
  return RegDeleteKeyExW(RootKey(root), widePath.c_str(), ViewFlag(view), 0) == ERROR_SUCCESS;
}

bool RegistryWin32::DeleteKeyTree(RegistryRoot root, std::string_view path, RegistryView view) {
  std::wstring widePath;
  if (path.empty() || !ToName(path, &widePath)) return false;
  // Empty the key through a handle opened in the wanted view, then remove
  // the key itself in that view.
  UniqueRegistryKey key;
  if (RegOpenKeyExW(RootKey(root), widePath.c_str(), 0,
                    KEY_ALL_ACCESS | ViewFlag(view), key.Receive()) != ERROR_SUCCESS) {
    return false;
  }
  if (RegDeleteTreeW(key.Get(), nullptr) != ERROR_SUCCESS) return false;
  key.Reset();
  return RegDeleteKeyExW(RootKey(root), widePath.c_str(), ViewFlag(view), 0) == ERROR_SUCCESS;
}

}  // namespace veltrane
