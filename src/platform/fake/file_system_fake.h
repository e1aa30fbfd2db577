// FakeFileSystem: an in-memory file system for tests.
//
// Drives ("C:") hold trees of folders and files. Names compare
// case-insensitively and keep their case. Paths use "\" (a "/" is taken as
// "\" too); "." and ".." levels are resolved as Windows does, except after
// a "\\?\" prefix (which is otherwise ignored); a path that begins with a
// single "\" (or is empty) lies on the current drive (C: unless changed).
// Relative paths are not supported: they name nothing.
//
// Listings behave like FindFirstFile/FindNextFile on NTFS: a folder other
// than a drive root lists "." and ".." first (both with the directory
// attribute), then its entries sorted ignoring case; a drive root has no
// "." and "..". The mask may be "*", "*.*" or any pattern with "*" and "?";
// a listing with no match at all cannot start (nullptr). The listing is a
// snapshot taken when it starts.
//
// A junction (AddJunction) is a folder entry with the directory and
// reparse-point attributes whose contents are those of its target, so paths
// through it and listings of it reach the target (loops are possible).
//
// Like Windows: a file with the read-only attribute cannot be written or
// deleted; writing needs the parent folder; CreateDirectory creates one
// level.
//
// The test helpers (AddFolder, AddFile, ...) bypass the injected faults.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace veltrane {

class FakeFileSystem : public FileSystem {
 public:
  struct Node;

  // 2026-01-01 00:00:00 UTC, the time new entries get unless set otherwise.
  static constexpr FileTime kDefaultTime{134116992000000000ull};

  FakeFileSystem();
  ~FakeFileSystem() override;
  FakeFileSystem(const FakeFileSystem&) = delete;
  FakeFileSystem& operator=(const FakeFileSystem&) = delete;

  // FileSystem
  std::unique_ptr<DirectoryListing> List(std::string_view pattern) override;
  bool FileExists(std::string_view path) override;
  bool DirectoryExists(std::string_view path) override;
  std::optional<uint32_t> Attributes(std::string_view path) override;
  bool CreateDirectory(std::string_view path) override;
  std::optional<std::string> ReadFile(std::string_view path) override;
  bool WriteFile(std::string_view path, std::string_view bytes) override;
  bool DeleteFile(std::string_view path) override;
  std::optional<FileTime> LastWriteTime(std::string_view path) override;

  // --- Setup ---
  // The drive that "\..." paths lie on, "C:" by default.
  void SetCurrentDrive(std::string_view drive);
  // The last-write time given to entries created or written from now on.
  void SetCurrentTime(FileTime time) { now_ = time; }
  FileTime CurrentTime() const { return now_; }
  // Creates the folder and every missing level above it (a drive appears
  // when first used). False when a file stands in the way.
  bool AddFolder(std::string_view path);
  // Creates or replaces a file, creating missing folders above it.
  bool AddFile(std::string_view path, std::string_view bytes = {});
  bool AddFile(std::string_view path, std::string_view bytes, FileTime lastWrite);
  // A junction at path (its parent must exist or is created) pointing at
  // targetPath, which need not exist.
  bool AddJunction(std::string_view path, std::string_view targetPath);
  // Sets the attribute bits other than directory and reparse point, which
  // follow from the kind of entry.
  bool SetAttributes(std::string_view path, uint32_t attributes);
  bool SetLastWriteTime(std::string_view path, FileTime time);
  // Removes a file or a folder tree (a junction itself, not its target);
  // false when missing.
  bool Remove(std::string_view path);

  // --- Inspection ---
  bool Exists(std::string_view path) const;  // file or folder
  // The file's bytes, "" when missing or a folder.
  std::string ReadText(std::string_view path) const;
  // The names in a folder in listing order, without "." and "..".
  std::vector<std::string> Names(std::string_view folder) const;
  // The path with every existing level spelled as stored ("c:\foo" ->
  // "C:\Foo"); nullopt when missing.
  std::optional<std::string> StoredPath(std::string_view path) const;

  // --- Fault injection (by path as given, case ignored; they stay until
  // ClearFaults, also for paths that do not exist yet) ---
  // Listing the folder cannot start (List returns nullptr), as for access denied.
  void DenyListing(std::string_view folder);
  // A listing of the folder gives count entries ("." and ".." included) and
  // then fails with kError.
  void FailListingAfter(std::string_view folder, size_t count);
  void MakeUnreadable(std::string_view file);
  void FailWrites(std::string_view file);
  void FailDelete(std::string_view file);
  void FailCreateDirectory(std::string_view folder);
  // A file in use: it can be read, but not written, deleted or recycled.
  void Lock(std::string_view file);
  void ClearFaults();

  // True when path or anything below it is locked.
  bool IsLockedWithin(std::string_view path) const;
  // Detaches a file or folder tree for the Recycle Bin; false when missing.
  bool Detach(std::string_view path);

  // Number of List calls that started a listing.
  int ListCount() const { return listCount_; }

 private:
  struct Resolved;

  // Splits a path into its drive and names; false when it is not absolute.
  bool Split(std::string_view path, std::string* drive, std::vector<std::string>* names) const;
  std::string FaultKey(std::string_view path) const;
  bool HasFault(const std::set<std::string>& faults, std::string_view path) const;
  // The entry at path; follows junctions on the way, and at the end when
  // followLast is set. nullptr when missing.
  Node* Lookup(std::string_view path, bool followLast, Node** parent = nullptr) const;
  Node* Follow(Node* node) const;
  Node* MakeFolders(std::string_view path);

  std::map<std::string, std::unique_ptr<Node>> drives_;  // folded "c:" -> root folder
  std::string currentDrive_ = "C:";
  FileTime now_ = kDefaultTime;
  std::set<std::string> denyListing_;
  std::map<std::string, size_t> failListingAfter_;
  std::set<std::string> unreadable_;
  std::set<std::string> failWrites_;
  std::set<std::string> failDelete_;
  std::set<std::string> failCreateDirectory_;
  std::set<std::string> locked_;
  int listCount_ = 0;
};

}  // namespace veltrane
