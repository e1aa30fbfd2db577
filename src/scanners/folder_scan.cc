#include "scanners/folder_scan.h"

#include <string>

#include "app/scan_log.h"
#include "base/text.h"

namespace veltrane {
namespace {

class FolderWalk {
 public:
  FolderWalk(AppContext& context, const ProtectedFolders& protectedFolders)
      : context_(context), state_(context.state), view_(context.view),
        protected_(protectedFolders) {}

  // What the exclusion check found for a folder's own path (ending with
  // "\\"), which begins the paths of the folders in it: a path that extends
  // an excluded one is excluded too, and one that extends a clean one can
  // only hold an exclusion that ends in what was added.
  enum class PathCheck { kNotChecked, kClean, kExcluded };

  // matchBase: the part of the path whose names don't count (the scan root,
  // or the deepest protected folder above), ending with "\".
  void Walk(const std::string& folder, const std::string& matchBase, bool recurse,
            PathCheck folderCheck = PathCheck::kNotChecked) {
    const std::string prefix = WithTrailingBackslash(folder);
    auto listing = context_.platform.files.List(prefix + "*.*");
    if (!listing) return;
    DirectoryEntry entry;
    ListingStatus status = listing->Next(&entry);
    // A failing read (not the end of the listing) ends this folder's walk.
    while (!state_.abortRequested && status == ListingStatus::kEntry) {
      view_.pump.ProcessPendingMessages();
      if (entry.IsDirectory()) {
        ++state_.checkedCount;
        view_.label2.SetText(std::to_string(state_.checkedCount));
        if (entry.name != "." && entry.name != "..") {
          HandleFolder(prefix, folderCheck, entry, matchBase, recurse);
        }
      }
      status = listing->Next(&entry);
    }
  }

 private:
  void HandleFolder(const std::string& prefix, PathCheck prefixCheck, const DirectoryEntry& entry,
                    const std::string& matchBase, bool recurse) {
    const std::string path = prefix + entry.name;
    const bool isProtected = protected_.IsProtected(path);
    PathCheck check = PathCheck::kNotChecked;
    if (!isProtected && Matches(path, prefix.size(), prefixCheck, matchBase, &check)) {
      Report(path, entry.name);
    } else if (recurse && !entry.IsReparsePoint()) {
      // Names of a protected folder and above never make a detection below it.
      Walk(path, isProtected ? path + "\\" : matchBase, true, check);
    }
    statusText_.assign("Checking ").append(path);
    view_.sb1.SetText(statusText_);
  }

  // prefixLength: the length of the path's parent folder with its "\\",
  // which prefixCheck tells about; *check: what the check found for the
  // path with its "\\".
  bool Matches(const std::string& path, size_t prefixLength, PathCheck prefixCheck, const std::string& matchBase,
               PathCheck* check) const {
    const Definitions& definitions = state_.definitions;
    const std::string full = path + "\\";
    // An exclusion anywhere in the full path still counts.
    bool excluded = true;
    switch (prefixCheck) {
      case PathCheck::kNotChecked: excluded = definitions.IsExcluded(full); break;
      case PathCheck::kClean: excluded = definitions.IsExcludedAfterClean(full, prefixLength); break;
      case PathCheck::kExcluded: break;
    }
    *check = excluded ? PathCheck::kExcluded : PathCheck::kClean;
    if (excluded) return false;
    // The part below the scan root is a tail of the clean full path.
    return !definitions.MatchFolderPathOfClean(std::string_view(full).substr(matchBase.size())).empty();
  }

  void Report(const std::string& path, const std::string& name) {
    ++state_.foundCount;
    view_.label6.SetText(std::to_string(state_.foundCount));
    const std::string caption = "PUP." + name;
    const int row = view_.list1.RowCount();
    state_.foundFolders.Add(std::to_string(row) + ";" + path + ";" + caption + ";");
    view_.list1.AddRow(caption);
    view_.list1.SetSubItem(row, 1, path);
    view_.list1.SetChecked(row, true);
    state_.scanLog.Add(LogTime(context_.platform) + ": Malware Object (" + caption + ") " + path +
                       " -> No action taken.");
  }

  AppContext& context_;
  EngineState& state_;
  MainView& view_;
  const ProtectedFolders& protected_;
  std::string statusText_;  // one buffer for the status line of every folder
};

}  // namespace

void ScanFolder(AppContext& context, const ProtectedFolders& protectedFolders,
                std::string_view path, bool recurse) {
  const std::string root = WithTrailingBackslash(path);
  FolderWalk(context, protectedFolders).Walk(root, root, recurse);
}

void ScanFolder(AppContext& context, std::string_view path, bool recurse) {
  const ProtectedFolders protectedFolders =
      ProtectedFolders::Collect(context.platform.system, context.platform.registry);
  ScanFolder(context, protectedFolders, path, recurse);
}

}  // namespace veltrane
