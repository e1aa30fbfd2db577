#include "platform/fake/file_system_fake.h"

#include <algorithm>

#include "base/text.h"
#include "platform/fake/fake_names.h"

namespace veltrane {

struct FakeFileSystem::Node {
  std::string name;
  bool folder = false;
  uint32_t attributes = 0;  // bits other than directory and reparse point
  std::string bytes;
  FileTime lastWrite;
  std::optional<std::string> junctionTarget;
  std::vector<std::unique_ptr<Node>> children;  // sorted as NTFS lists them

  Node* Child(std::string_view childName) const {
    auto it = LowerBound(childName);
    if (it != children.end() && fake::CompareAsWindowsSorts((*it)->name, childName) == 0) return it->get();
    return nullptr;
  }

  Node* Add(std::unique_ptr<Node> node) {
    auto it = LowerBound(node->name);
    return children.insert(it, std::move(node))->get();
  }

  std::unique_ptr<Node> Take(const Node* child) {
    for (auto it = children.begin(); it != children.end(); ++it) {
      if (it->get() == child) {
        auto node = std::move(*it);
        children.erase(it);
        return node;
      }
    }
    return nullptr;
  }

  uint32_t AllAttributes() const {
    uint32_t result = attributes;
    if (folder) result |= file_attribute::kDirectory;
    if (junctionTarget) result |= file_attribute::kReparsePoint;
    if (result == 0) result = file_attribute::kNormal;
    return result;
  }

  DirectoryEntry Entry(std::string entryName) const {
    return DirectoryEntry{std::move(entryName), AllAttributes(), folder ? 0 : bytes.size(), lastWrite};
  }

 private:
  std::vector<std::unique_ptr<Node>>::const_iterator LowerBound(std::string_view childName) const {
    return std::lower_bound(children.begin(), children.end(), childName,
                            [](const std::unique_ptr<Node>& n, std::string_view k) { return fake::NameLess(n->name, k); });
  }
};

namespace {

// Junction hops allowed while resolving one path (a loop gives up).
constexpr int kMaxJunctionHops = 32;

class FakeListing : public DirectoryListing {
 public:
  FakeListing(std::vector<DirectoryEntry> entries, std::optional<size_t> failAfter)
      : entries_(std::move(entries)), failAfter_(failAfter) {}

  ListingStatus Next(DirectoryEntry* entry) override {
    if (failAfter_ && next_ >= *failAfter_) return ListingStatus::kError;
    if (next_ >= entries_.size()) return ListingStatus::kNoMoreFiles;
    *entry = entries_[next_++];
    return ListingStatus::kEntry;
  }

 private:
  std::vector<DirectoryEntry> entries_;
  std::optional<size_t> failAfter_;
  size_t next_ = 0;
};

std::unique_ptr<FakeFileSystem::Node> MakeNode(std::string_view name, bool folder, FileTime time) {
  auto node = std::make_unique<FakeFileSystem::Node>();
  node->name = std::string(name);
  node->folder = folder;
  node->attributes = folder ? 0 : file_attribute::kArchive;
  node->lastWrite = time;
  return node;
}

// Splits "C:\a\b\*.*" into "C:\a\b" and "*.*"; false without a separator.
bool SplitPattern(std::string_view pattern, std::string_view* folder, std::string_view* mask) {
  const size_t cut = pattern.find_last_of("\\/");
  if (cut == std::string_view::npos) return false;
  *folder = pattern.substr(0, cut);
  *mask = pattern.substr(cut + 1);
  return true;
}

}  // namespace

FakeFileSystem::FakeFileSystem() { AddFolder("C:\\"); }

FakeFileSystem::~FakeFileSystem() = default;

bool FakeFileSystem::Split(std::string_view path, std::string* drive, std::vector<std::string>* names) const {
  // Paths after "\\?\" are taken literally; others have "." and ".." resolved,
  // as Windows does before it looks at the disk.
  const bool literal = StartsWith(path, "\\\\?\\");
  if (literal) path.remove_prefix(4);
  if (path.size() >= 2 && path[1] == ':' &&
      ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
    *drive = ToLower(path.substr(0, 2));
    path.remove_prefix(2);
  } else if (path.empty() || ((path[0] == '\\' || path[0] == '/') &&
                              !(path.size() > 1 && (path[1] == '\\' || path[1] == '/')))) {
    *drive = ToLower(currentDrive_);
  } else {
    return false;  // relative or UNC
  }
  names->clear();
  for (std::string_view name : fake::SplitPath(path, true)) names->emplace_back(name);
  if (!literal) {
    std::vector<std::string> resolved;
    for (auto& name : *names) {
      if (name == "..") {
        if (!resolved.empty()) resolved.pop_back();
      } else if (name != ".") {
        resolved.push_back(std::move(name));
      }
    }
    *names = std::move(resolved);
  }
  return true;
}

std::string FakeFileSystem::FaultKey(std::string_view path) const {
  std::string drive;
  std::vector<std::string> names;
  if (!Split(path, &drive, &names)) return ToLower(path);
  std::string key = drive;
  for (const auto& name : names) key.append(1, '\\').append(ToLower(name));
  return key;
}

bool FakeFileSystem::HasFault(const std::set<std::string>& faults, std::string_view path) const {
  return !faults.empty() && faults.contains(FaultKey(path));
}

FakeFileSystem::Node* FakeFileSystem::Follow(Node* node) const {
  for (int hops = 0; node != nullptr && node->junctionTarget; ++hops) {
    if (hops == kMaxJunctionHops) return nullptr;
    node = Lookup(*node->junctionTarget, false);
  }
  return node;
}

FakeFileSystem::Node* FakeFileSystem::Lookup(std::string_view path, bool followLast, Node** parent) const {
  std::string drive;
  std::vector<std::string> names;
  if (!Split(path, &drive, &names)) return nullptr;
  auto root = drives_.find(drive);
  if (root == drives_.end()) return nullptr;
  Node* node = root->second.get();
  Node* above = nullptr;
  for (size_t i = 0; i < names.size(); ++i) {
    if (!node->folder) return nullptr;
    above = node;
    node = node->Child(names[i]);
    if (node == nullptr) return nullptr;
    if (i + 1 < names.size() || followLast) {
      node = Follow(node);
      if (node == nullptr) return nullptr;
    }
  }
  if (parent != nullptr) *parent = above;
  return node;
}

void FakeFileSystem::SetCurrentDrive(std::string_view drive) { currentDrive_ = std::string(drive.substr(0, 2)); }

FakeFileSystem::Node* FakeFileSystem::MakeFolders(std::string_view path) {
  std::string drive;
  std::vector<std::string> names;
  if (!Split(path, &drive, &names)) return nullptr;
  auto& root = drives_[drive];
  if (!root) {
    const char letter = static_cast<char>(drive[0] - 'a' + 'A');  // drive keys are lower case
    root = MakeNode(std::string(1, letter) + ":", true, now_);
  }
  Node* node = root.get();
  for (const auto& name : names) {
    Node* child = node->Child(name);
    if (child == nullptr) child = node->Add(MakeNode(name, true, now_));
    child = Follow(child);
    if (child == nullptr || !child->folder) return nullptr;
    node = child;
  }
  return node;
}

// --- FileSystem ---

std::unique_ptr<DirectoryListing> FakeFileSystem::List(std::string_view pattern) {
  std::string_view folder;
  std::string_view mask;
  if (!SplitPattern(pattern, &folder, &mask) || mask.empty()) return nullptr;
  if (HasFault(denyListing_, folder)) return nullptr;
  Node* node = Lookup(folder, true);
  if (node == nullptr || !node->folder) return nullptr;

  std::vector<DirectoryEntry> entries;
  const bool driveRoot = std::any_of(drives_.begin(), drives_.end(),
                                     [node](const auto& drive) { return drive.second.get() == node; });
  if (!driveRoot) {
    for (const char* dots : {".", ".."}) {
      if (fake::MatchesMask(dots, mask)) {
        entries.push_back(DirectoryEntry{dots, file_attribute::kDirectory, 0, node->lastWrite});
      }
    }
  }
  for (const auto& child : node->children) {
    if (fake::MatchesMask(child->name, mask)) entries.push_back(child->Entry(child->name));
  }
  if (entries.empty()) return nullptr;

  std::optional<size_t> failAfter;
  if (!failListingAfter_.empty()) {
    if (auto it = failListingAfter_.find(FaultKey(folder)); it != failListingAfter_.end()) failAfter = it->second;
  }
  ++listCount_;
  return std::make_unique<FakeListing>(std::move(entries), failAfter);
}

bool FakeFileSystem::FileExists(std::string_view path) {
  const Node* node = Lookup(path, false);
  return node != nullptr && !node->folder;
}

bool FakeFileSystem::DirectoryExists(std::string_view path) {
  const Node* node = Lookup(path, false);
  return node != nullptr && node->folder;
}

std::optional<uint32_t> FakeFileSystem::Attributes(std::string_view path) {
  const Node* node = Lookup(path, false);
  if (node == nullptr) return std::nullopt;
  return node->AllAttributes();
}

bool FakeFileSystem::CreateDirectory(std::string_view path) {
  if (HasFault(failCreateDirectory_, path)) return false;
  std::string drive;
  std::vector<std::string> names;
  if (!Split(path, &drive, &names)) return false;
  if (names.empty()) return drives_.contains(drive);
  Node* parent = nullptr;
  if (Node* existing = Lookup(path, false, &parent)) return existing->folder;
  std::string parentPath = drive;
  for (size_t i = 0; i + 1 < names.size(); ++i) parentPath.append(1, '\\').append(names[i]);
  parent = Lookup(parentPath + "\\", true);
  if (parent == nullptr || !parent->folder) return false;
  parent->Add(MakeNode(names.back(), true, now_));
  return true;
}

std::optional<std::string> FakeFileSystem::ReadFile(std::string_view path) {
  if (HasFault(unreadable_, path)) return std::nullopt;
  const Node* node = Lookup(path, true);
  if (node == nullptr || node->folder) return std::nullopt;
  return node->bytes;
}

bool FakeFileSystem::WriteFile(std::string_view path, std::string_view bytes) {
  if (HasFault(failWrites_, path) || HasFault(locked_, path)) return false;
  std::string drive;
  std::vector<std::string> names;
  if (!Split(path, &drive, &names) || names.empty()) return false;
  if (Node* existing = Lookup(path, true)) {
    if (existing->folder || (existing->attributes & file_attribute::kReadOnly) != 0) return false;
    existing->bytes = std::string(bytes);
    existing->lastWrite = now_;
    return true;
  }
  std::string parentPath = drive;
  for (size_t i = 0; i + 1 < names.size(); ++i) parentPath.append(1, '\\').append(names[i]);
  Node* parent = Lookup(parentPath + "\\", true);
  if (parent == nullptr || !parent->folder) return false;
  Node* file = parent->Add(MakeNode(names.back(), false, now_));
  file->bytes = std::string(bytes);
  return true;
}

bool FakeFileSystem::DeleteFile(std::string_view path) {
  if (HasFault(failDelete_, path) || HasFault(locked_, path)) return false;
  Node* parent = nullptr;
  Node* node = Lookup(path, false, &parent);
  if (node == nullptr || node->folder || parent == nullptr) return false;
  if ((node->attributes & file_attribute::kReadOnly) != 0) return false;
  parent->Take(node);
  return true;
}

std::optional<FileTime> FakeFileSystem::LastWriteTime(std::string_view path) {
  const Node* node = Lookup(path, false);
  if (node == nullptr) return std::nullopt;
  return node->lastWrite;
}

// --- Setup ---

bool FakeFileSystem::AddFolder(std::string_view path) { return MakeFolders(path) != nullptr; }

bool FakeFileSystem::AddFile(std::string_view path, std::string_view bytes) { return AddFile(path, bytes, now_); }

bool FakeFileSystem::AddFile(std::string_view path, std::string_view bytes, FileTime lastWrite) {
  std::string_view folder;
  std::string_view name;
  if (!SplitPattern(path, &folder, &name) || name.empty()) return false;
  Node* parent = MakeFolders(folder);
  if (parent == nullptr) return false;
  Node* file = parent->Child(name);
  if (file == nullptr) file = parent->Add(MakeNode(name, false, lastWrite));
  if (file->folder) return false;
  file->bytes = std::string(bytes);
  file->lastWrite = lastWrite;
  return true;
}

bool FakeFileSystem::AddJunction(std::string_view path, std::string_view targetPath) {
  std::string_view folder;
  std::string_view name;
  if (!SplitPattern(path, &folder, &name) || name.empty()) return false;
  Node* parent = MakeFolders(folder);
  if (parent == nullptr || parent->Child(name) != nullptr) return false;
  Node* junction = parent->Add(MakeNode(name, true, now_));
  junction->junctionTarget = std::string(targetPath);
  return true;
}

bool FakeFileSystem::SetAttributes(std::string_view path, uint32_t attributes) {
  Node* node = Lookup(path, false);
  if (node == nullptr) return false;
  node->attributes = attributes & ~(file_attribute::kDirectory | file_attribute::kReparsePoint);
  return true;
}

bool FakeFileSystem::SetLastWriteTime(std::string_view path, FileTime time) {
  Node* node = Lookup(path, false);
  if (node == nullptr) return false;
  node->lastWrite = time;
  return true;
}

bool FakeFileSystem::Remove(std::string_view path) { return Detach(path); }

bool FakeFileSystem::Detach(std::string_view path) {
  Node* parent = nullptr;
  Node* node = Lookup(path, false, &parent);
  if (node == nullptr || parent == nullptr) return false;
  parent->Take(node);
  return true;
}

// --- Inspection ---

bool FakeFileSystem::Exists(std::string_view path) const { return Lookup(path, false) != nullptr; }

std::string FakeFileSystem::ReadText(std::string_view path) const {
  const Node* node = Lookup(path, true);
  return node == nullptr || node->folder ? std::string() : node->bytes;
}

std::vector<std::string> FakeFileSystem::Names(std::string_view folder) const {
  std::vector<std::string> names;
  const Node* node = Lookup(folder, true);
  if (node != nullptr && node->folder) {
    for (const auto& child : node->children) names.push_back(child->name);
  }
  return names;
}

std::optional<std::string> FakeFileSystem::StoredPath(std::string_view path) const {
  std::string drive;
  std::vector<std::string> names;
  if (!Split(path, &drive, &names)) return std::nullopt;
  auto root = drives_.find(drive);
  if (root == drives_.end()) return std::nullopt;
  const Node* node = root->second.get();
  std::string result = node->name;
  for (size_t i = 0; i < names.size(); ++i) {
    const Node* child = node->folder ? node->Child(names[i]) : nullptr;
    if (child == nullptr) return std::nullopt;
    result.append(1, '\\').append(child->name);
    node = Follow(const_cast<Node*>(child));
    if (node == nullptr) return i + 1 == names.size() ? std::optional<std::string>(result) : std::nullopt;
  }
  if (names.empty()) result += "\\";
  return result;
}

// --- Fault injection ---

void FakeFileSystem::DenyListing(std::string_view folder) { denyListing_.insert(FaultKey(folder)); }

void FakeFileSystem::FailListingAfter(std::string_view folder, size_t count) {
  failListingAfter_[FaultKey(folder)] = count;
}

void FakeFileSystem::MakeUnreadable(std::string_view file) { unreadable_.insert(FaultKey(file)); }
void FakeFileSystem::FailWrites(std::string_view file) { failWrites_.insert(FaultKey(file)); }
void FakeFileSystem::FailDelete(std::string_view file) { failDelete_.insert(FaultKey(file)); }
void FakeFileSystem::FailCreateDirectory(std::string_view folder) { failCreateDirectory_.insert(FaultKey(folder)); }
void FakeFileSystem::Lock(std::string_view file) { locked_.insert(FaultKey(file)); }

void FakeFileSystem::ClearFaults() {
  denyListing_.clear();
  failListingAfter_.clear();
  unreadable_.clear();
  failWrites_.clear();
  failDelete_.clear();
  failCreateDirectory_.clear();
  locked_.clear();
}

bool FakeFileSystem::IsLockedWithin(std::string_view path) const {
  const std::string key = FaultKey(path);
  return std::any_of(locked_.begin(), locked_.end(), [&key](const std::string& locked) {
    return locked == key || StartsWith(locked, key + "\\");
  });
}

}  // namespace veltrane
