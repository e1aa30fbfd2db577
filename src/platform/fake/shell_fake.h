// FakeShell: records opened documents, resolves shortcuts from a table, and
// moves files and folders of a FakeFileSystem into a recorded Recycle Bin.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fake/file_system_fake.h"
#include "platform/shell.h"

namespace veltrane {

class FakeShell : public Shell {
 public:
  explicit FakeShell(FakeFileSystem& files) : files_(files) {}

  // Records the path; answers SetOpenDocumentResult (true by default).
  bool OpenDocument(std::string_view path) override;
  // The target given to AddShortcut, while the link file exists; else "".
  std::string ResolveShortcut(std::string_view linkPath) override;
  // A path moves that file or folder tree to the bin; "folder\*.*" (or
  // "folder\*") moves the folder's entries and leaves the folder. False,
  // with nothing moved, when nothing is there (a missing folder; a file or
  // folder that does not exist) or when a locked file lies within. An empty
  // folder's "*.*" succeeds with nothing to move.
  bool RecycleToBin(std::string_view pathOrPattern) override;

  // Adds a shortcut: the link file in the file system and its target.
  void AddShortcut(std::string_view linkPath, std::string_view targetPath);
  // A link file the shell cannot read: the file exists, resolving gives "".
  void AddBrokenShortcut(std::string_view linkPath);
  void SetOpenDocumentResult(bool result) { openDocumentResult_ = result; }
  // Every later RecycleToBin fails without moving anything.
  void FailRecycling(bool fail) { failRecycling_ = fail; }

  const std::vector<std::string>& OpenedDocuments() const { return openedDocuments_; }
  // Every entry moved to the bin, as its full stored path, in order.
  const std::vector<std::string>& RecycledPaths() const { return recycled_; }
  // Every RecycleToBin call's argument, also those that failed.
  const std::vector<std::string>& RecycleCalls() const { return recycleCalls_; }

 private:
  FakeFileSystem& files_;
  std::map<std::string, std::string> shortcuts_;  // folded link path -> target
  std::vector<std::string> openedDocuments_;
  std::vector<std::string> recycled_;
  std::vector<std::string> recycleCalls_;
  bool openDocumentResult_ = true;
  bool failRecycling_ = false;
};

}  // namespace veltrane
