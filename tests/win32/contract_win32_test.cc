// The platform contracts run against the real Win32 layer.
#include <memory>

#include "contract/file_system_contract.h"
#include "contract/registry_contract.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/windows_win32.h"
#include "platform/win32/wide_text_win32.h"
#include "win32/scratch_win32.h"

namespace veltrane {
namespace {

constexpr char kContractParent[] = "Software\\VeltraneContract";

// Stores data as the contract describes it: text as UTF-16 with its NUL,
// multi-strings with the closing empty line, anything else as raw bytes.
bool WriteTypedValue(const std::string& keyPath, std::string_view name, RegistryValueType type,
                     std::string_view data) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, ToWide(keyPath).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  std::string bytes;
  if (type == RegistryValueType::kString || type == RegistryValueType::kExpandString ||
      type == RegistryValueType::kMultiString) {
    std::wstring text = ToWide(data);
    text.push_back(L'\0');
    bytes.assign(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  } else {
    bytes.assign(data);
  }
  const bool written =
      RegSetValueExW(key, ToWide(name).c_str(), 0, static_cast<DWORD>(type),
                     reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())) ==
      ERROR_SUCCESS;
  RegCloseKey(key);
  return written;
}

RegistryScratch MakeWin32RegistryScratch() {
  RegistryScratch scratch;
  scratch.registry = std::make_shared<RegistryWin32>();
  scratch.keyPath = std::string(kContractParent) + "\\" + UniqueSuffix();
  scratch.writeValue = [path = scratch.keyPath](std::string_view relative, std::string_view name,
                                                RegistryValueType type, std::string_view data) {
    return WriteTypedValue(relative.empty() ? path : path + "\\" + std::string(relative), name, type,
                           data);
  };
  scratch.cleanup = [] { RegDeleteKeyW(HKEY_CURRENT_USER, ToWide(kContractParent).c_str()); };
  return scratch;
}

FileSystemScratch MakeWin32FileSystemScratch() {
  auto folder = std::make_shared<ScratchFolder>();
  return FileSystemScratch{std::make_shared<FileSystemWin32>(), folder->Path(),
                           [folder]() mutable { folder.reset(); }};
}

INSTANTIATE_TEST_SUITE_P(Win32, RegistryContractTest,
                         ::testing::Values(RegistryContractFactory{"Win32", MakeWin32RegistryScratch}),
                         RegistryContractName);

INSTANTIATE_TEST_SUITE_P(Win32, FileSystemContractTest,
                         ::testing::Values(FileSystemContractFactory{"Win32", MakeWin32FileSystemScratch}),
                         FileSystemContractName);

}  // namespace
}  // namespace veltrane
