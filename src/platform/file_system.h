// The file-system seam. Paths are UTF-8 Windows paths with backslashes.
// Failure contract: nothing throws; a listing that cannot start is nullptr,
// reads give nullopt, writes and deletes give false.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace veltrane {

// FILE_ATTRIBUTE_* bits as Windows defines them.
namespace file_attribute {
inline constexpr uint32_t kReadOnly = 0x1;
inline constexpr uint32_t kHidden = 0x2;
inline constexpr uint32_t kSystem = 0x4;
inline constexpr uint32_t kDirectory = 0x10;
inline constexpr uint32_t kArchive = 0x20;
inline constexpr uint32_t kNormal = 0x80;
inline constexpr uint32_t kReparsePoint = 0x400;
}  // namespace file_attribute

// 100-nanosecond intervals since 1601-01-01 UTC (a Windows FILETIME).
struct FileTime {
  uint64_t ticks = 0;
  friend bool operator==(const FileTime&, const FileTime&) = default;
};

struct DirectoryEntry {
  std::string name;  // as the file system reports it, case kept
  uint32_t attributes = 0;
  uint64_t size = 0;
  FileTime lastWrite;

  bool IsDirectory() const { return (attributes & file_attribute::kDirectory) != 0; }
  bool IsReparsePoint() const { return (attributes & file_attribute::kReparsePoint) != 0; }
};

enum class ListingStatus {
  kEntry,        // *entry holds the next entry
  kNoMoreFiles,  // the listing is complete (ERROR_NO_MORE_FILES)
  kError,        // reading the next entry failed; the listing must end
};

// One open FindFirstFile/FindNextFile listing. Entries come in the file
// system's order, "." and ".." included where the file system reports them.
class DirectoryListing {
 public:
  virtual ~DirectoryListing() = default;
  DirectoryListing() = default;
  DirectoryListing(const DirectoryListing&) = delete;
  DirectoryListing& operator=(const DirectoryListing&) = delete;
  virtual ListingStatus Next(DirectoryEntry* entry) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Starts a listing of a pattern such as "C:\\Foo\\*.*". nullptr when the
  // listing cannot be started (missing folder, access denied, no match).
  virtual std::unique_ptr<DirectoryListing> List(std::string_view pattern) = 0;

  virtual bool FileExists(std::string_view path) = 0;       // a file, not a folder
  virtual bool DirectoryExists(std::string_view path) = 0;  // a folder
  // Attributes of a file or folder; nullopt when it does not exist.
  virtual std::optional<uint32_t> Attributes(std::string_view path) = 0;
  // Creates one folder level; true also when it already exists.
  virtual bool CreateDirectory(std::string_view path) = 0;
  // The whole file as bytes; nullopt when it cannot be read.
  virtual std::optional<std::string> ReadFile(std::string_view path) = 0;
  // Replaces the file with the bytes; false on any failure.
  virtual bool WriteFile(std::string_view path, std::string_view bytes) = 0;
  virtual bool DeleteFile(std::string_view path) = 0;
  virtual std::optional<FileTime> LastWriteTime(std::string_view path) = 0;
};

}  // namespace veltrane
