// Scratch places for the Win32 tests: a folder below the temp folder and a
// key below HKCU\Software\VeltraneTest, each unique to the test and removed
// with everything in it when the test ends.
#pragma once

#include <string>

#include "platform/win32/windows_win32.h"

#include "platform/win32/wide_text_win32.h"

namespace veltrane {

// Removes a tree through extended paths, so that deep trees go too.
inline void RemoveTreeW(const std::wstring& path) {
  const std::wstring extended = path.rfind(L"\\\\?\\", 0) == 0 ? path : L"\\\\?\\" + path;
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((extended + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = extended + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RemoveTreeW(child);
      } else {
        DeleteFileW(child.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(extended.c_str());
}

inline std::string UniqueSuffix() {
  static int counter = 0;
  return std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

class ScratchFolder {
 public:
  ScratchFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    std::wstring path = temp;
    if (!path.empty() && path.back() == L'\\') path.pop_back();
    path_ = FromWide(path) + "\\VeltraneTest-" + UniqueSuffix();
    CreateDirectoryW(ToWide(path_).c_str(), nullptr);
  }
  // VELTRANE_KEEP_SCRATCH=1 keeps the folder for a look at what a test left.
  ~ScratchFolder() {
    if (GetEnvironmentVariableW(L"VELTRANE_KEEP_SCRATCH", nullptr, 0) == 0) RemoveTreeW(ToWide(path_));
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // No trailing backslash.
  const std::string& Path() const { return path_; }
  std::string operator/(std::string_view name) const { return path_ + "\\" + std::string(name); }

 private:
  std::string path_;
};

class ScratchKey {
 public:
  ScratchKey() : path_("Software\\VeltraneTest\\" + UniqueSuffix()) {}
  ~ScratchKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, ToWide(path_).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, ToWide(path_).c_str());
    // The shared parent goes when the last test's key is gone.
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\VeltraneTest");
  }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  // Below HKEY_CURRENT_USER; the key itself is not created.
  const std::string& Path() const { return path_; }
  std::string operator/(std::string_view name) const { return path_ + "\\" + std::string(name); }

 private:
  std::string path_;
};

}  // namespace veltrane
