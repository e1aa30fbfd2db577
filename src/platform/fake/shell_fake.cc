#include "platform/fake/shell_fake.h"

#include "base/text.h"

namespace veltrane {

bool FakeShell::OpenDocument(std::string_view path) {
  openedDocuments_.emplace_back(path);
  return openDocumentResult_;
}

std::string FakeShell::ResolveShortcut(std::string_view linkPath) {
  if (!files_.FileExists(linkPath)) return "";
  const auto stored = files_.StoredPath(linkPath);
  auto it = shortcuts_.find(ToLower(stored.value_or(std::string(linkPath))));
  return it == shortcuts_.end() ? std::string() : it->second;
}

void FakeShell::AddShortcut(std::string_view linkPath, std::string_view targetPath) {
  files_.AddFile(linkPath, "[shell link]", files_.CurrentTime());
  shortcuts_[ToLower(files_.StoredPath(linkPath).value_or(std::string(linkPath)))] = std::string(targetPath);
}

void FakeShell::AddBrokenShortcut(std::string_view linkPath) {
  files_.AddFile(linkPath, "not a shell link", files_.CurrentTime());
  shortcuts_.erase(ToLower(files_.StoredPath(linkPath).value_or(std::string(linkPath))));
}

bool FakeShell::RecycleToBin(std::string_view pathOrPattern) {
  recycleCalls_.emplace_back(pathOrPattern);
  if (failRecycling_ || pathOrPattern.empty()) return false;

  std::vector<std::string> targets;
  std::string_view folder = pathOrPattern;
  const bool contents = EndsWith(pathOrPattern, "\\*.*") || EndsWith(pathOrPattern, "\\*");
  if (contents) {
    folder = pathOrPattern.substr(0, pathOrPattern.find_last_of('\\') + 1);
    if (!files_.DirectoryExists(folder)) return false;
    for (const auto& name : files_.Names(folder)) targets.push_back(std::string(folder) + name);
  } else {
    if (!files_.Exists(pathOrPattern)) return false;
    targets.emplace_back(pathOrPattern);
  }
  // All or nothing: check every target before moving any.
  for (const auto& target : targets) {
    if (files_.IsLockedWithin(target)) return false;
  }
  bool moved = true;
  for (const auto& target : targets) {
    const std::string stored = files_.StoredPath(target).value_or(target);
    if (files_.Detach(target)) {
      recycled_.push_back(stored);
    } else {
      moved = false;  // a drive root cannot be moved
    }
  }
  return moved;
}

}  // namespace veltrane
