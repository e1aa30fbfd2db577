#include "platform/win32/file_system_win32.h"

#include "platform/win32/windows_win32.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "platform/win32/long_path_win32.h"
#include "platform/win32/unique_handle_win32.h"
#include "platform/win32/wide_text_win32.h"

namespace veltrane {
namespace {

// Reads and writes go in pieces that fit a DWORD count.
constexpr size_t kChunk = 1u << 24;

FileTime ToFileTime(const FILETIME& time) {
  return FileTime{(static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime};
}

DirectoryEntry ToEntry(const WIN32_FIND_DATAW& data) {
  DirectoryEntry entry;
  entry.name = FromWide(data.cFileName);
  entry.attributes = data.dwFileAttributes;
  entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  entry.lastWrite = ToFileTime(data.ftLastWriteTime);
  return entry;
}

class DirectoryListingWin32 final : public DirectoryListing {
 public:
  DirectoryListingWin32(UniqueFindHandle handle, const WIN32_FIND_DATAW& first)
      : handle_(std::move(handle)), pending_(first) {}

  ListingStatus Next(DirectoryEntry* entry) override {
    if (finished_) return finalStatus_;
    if (hasPending_) {
      hasPending_ = false;
      *entry = ToEntry(pending_);
      return ListingStatus::kEntry;
    }
    WIN32_FIND_DATAW data;
    if (FindNextFileW(handle_.Get(), &data)) {
      *entry = ToEntry(data);
      return ListingStatus::kEntry;
    }
    finished_ = true;
    finalStatus_ =
        GetLastError() == ERROR_NO_MORE_FILES ? ListingStatus::kNoMoreFiles : ListingStatus::kError;
    handle_.Reset();
    return finalStatus_;
  }

 private:
  UniqueFindHandle handle_;
  WIN32_FIND_DATAW pending_;
  bool hasPending_ = true;
  bool finished_ = false;
  ListingStatus finalStatus_ = ListingStatus::kNoMoreFiles;
};

DWORD AttributesOf(std::string_view path) {
  const std::optional<std::wstring> widePath = ToWin32Path(path);
  if (!widePath) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesW(widePath->c_str());
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD piece = static_cast<DWORD>(std::min(bytes.size(), kChunk));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), piece, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

std::unique_ptr<DirectoryListing> FileSystemWin32::List(std::string_view pattern) {
  const std::optional<std::wstring> widePattern = ToWin32Path(pattern);
  if (!widePattern) return nullptr;
  WIN32_FIND_DATAW first;
  // No short names; larger reads of big folders.
  UniqueFindHandle handle(FindFirstFileExW(widePattern->c_str(), FindExInfoBasic, &first,
                                           FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH));
  if (!handle) return nullptr;
  return std::make_unique<DirectoryListingWin32>(std::move(handle), first);
}

bool FileSystemWin32::FileExists(std::string_view path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FileSystemWin32::DirectoryExists(std::string_view path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<uint32_t> FileSystemWin32::Attributes(std::string_view path) {
  const DWORD attributes = AttributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

bool FileSystemWin32::CreateDirectory(std::string_view path) {
  const std::optional<std::wstring> widePath = ToWin32Path(path);
  if (!widePath) return false;
  if (CreateDirectoryW(widePath->c_str(), nullptr)) return true;
  return GetLastError() == ERROR_ALREADY_EXISTS && DirectoryExists(path);
}

std::optional<std::string> FileSystemWin32::ReadFile(std::string_view path) {
  const std::optional<std::wstring> widePath = ToWin32Path(path);
  if (!widePath) return std::nullopt;
  UniqueHandle file(CreateFileW(widePath->c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return std::nullopt;
  // A file too big for memory is one that cannot be read.
  try {
    std::string bytes;
    const size_t expected = static_cast<size_t>(std::min<ULONGLONG>(size.QuadPart, SIZE_MAX / 2));
    // Read to the end rather than trusting the size: the file may be growing.
    for (;;) {
      const size_t offset = bytes.size();
      const size_t piece = std::clamp<size_t>(expected > offset ? expected - offset : 0, 4096, kChunk);
      bytes.resize(offset + piece);
      DWORD read = 0;
      if (!::ReadFile(file.Get(), bytes.data() + offset, static_cast<DWORD>(piece), &read, nullptr)) {
        return std::nullopt;
      }
      bytes.resize(offset + read);
      if (read == 0) return bytes;
    }
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

bool FileSystemWin32::WriteFile(std::string_view path, std::string_view bytes) {
  const std::optional<std::wstring> widePath = ToWin32Path(path);
  if (!widePath) return false;
  // A read-only file is not replaced, as CreateFile would not overwrite it
  // (MoveFileEx alone does on some systems).
  const DWORD attributes = GetFileAttributesW(widePath->c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return false;
  }
  const std::wstring temporary = ToExtendedIfLong(ToWide(path) + L".veltrane-tmp");
  {
    UniqueHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    if (!WriteAll(file.Get(), bytes) || !FlushFileBuffers(file.Get())) {
      file.Reset();
      DeleteFileW(temporary.c_str());
      return false;
    }
  }
  if (MoveFileExW(temporary.c_str(), widePath->c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(temporary.c_str());
  return false;
}

bool FileSystemWin32::DeleteFile(std::string_view path) {
  const std::optional<std::wstring> widePath = ToWin32Path(path);
  return widePath && DeleteFileW(widePath->c_str());
}

std::optional<FileTime> FileSystemWin32::LastWriteTime(std::string_view path) {
  const std::optional<std::wstring> widePath = ToWin32Path(path);
  if (!widePath) return std::nullopt;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(widePath->c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return ToFileTime(data.ftLastWriteTime);
}

}  // namespace veltrane
