// Files and folders through the wide file APIs. Long paths are handed to the
// system in their extended form, so deep trees can be walked and removed.
#pragma once

#include "platform/file_system.h"

namespace veltrane {

class FileSystemWin32 final : public FileSystem {
 public:
  std::unique_ptr<DirectoryListing> List(std::string_view pattern) override;
  bool FileExists(std::string_view path) override;
  bool DirectoryExists(std::string_view path) override;
  std::optional<uint32_t> Attributes(std::string_view path) override;
  bool CreateDirectory(std::string_view path) override;
  std::optional<std::string> ReadFile(std::string_view path) override;
  // Writes a file beside the target and moves it over the target, so a
  // failed write leaves the old content in place.
  bool WriteFile(std::string_view path, std::string_view bytes) override;
  bool DeleteFile(std::string_view path) override;
  std::optional<FileTime> LastWriteTime(std::string_view path) override;
};

}  // namespace veltrane
