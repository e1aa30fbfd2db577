#include "scanners/shortcuts.h"

#include "app/folders.h"
#include "base/text.h"
#include "platform/system_info.h"

namespace veltrane {
namespace {

// True for a file whose extension (from the last dot) occurs within ".lnk":
// ".lnk", and also ".l" and ".ln".
bool HasShortcutExtension(std::string_view lowerName) {
  const size_t dot = lowerName.rfind('.');
  if (dot == std::string_view::npos) return false;
  return std::string_view(".lnk").find(lowerName.substr(dot)) != std::string_view::npos;
}

std::string FileNamePart(std::string_view path) {
  const size_t cut = path.find_last_of("\\:");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace

std::string ResolveShortcut(Shell& shell, std::string_view linkPath) { return shell.ResolveShortcut(linkPath); }

bool BuildShortcutMap(AppContext& context) {
  context.state.shortcutMap.Clear();
  SystemInfo& system = context.platform.system;
  const int folders[] = {csidl::kDesktop, csidl::kCommonDesktopDirectory, csidl::kCommonStartMenu,
                         csidl::kStartMenu};
  for (int folder : folders) {
    const std::string path = SpecialFolder(system, folder);
    // An empty path would be read as the root of the current drive.
    if (path.empty()) continue;
    ScanShortcutFolder(context, path, true);
  }
  const std::string programFolder = ProgramFolder(context.platform.system);
  if (programFolder.empty()) return false;
  return context.platform.files.WriteFile(programFolder + kShortcutMapFileName, context.state.shortcutMap.Text());
}

void ScanShortcutFolder(AppContext& context, std::string_view folder, bool recurse) {
  const std::string folderText = WithTrailingBackslash(folder);
  auto listing = context.platform.files.List(folderText + "*.*");
  if (!listing) return;

  DirectoryEntry entry;
  while (listing->Next(&entry) == ListingStatus::kEntry) {
    context.view.pump.ProcessPendingMessages();
    if (entry.IsDirectory()) {
      // Covers "." and "..", and hidden folders such as ".git". A junction
      // or link may lead back up the tree.
      if (recurse && !StartsWith(entry.name, ".") && !entry.IsReparsePoint()) {
        ScanShortcutFolder(context, folderText + entry.name, true);
      }
    } else {
      const std::string linkPath = folderText + entry.name;
      if (HasShortcutExtension(ToLower(entry.name))) {
        const std::string target = ToLower(ResolveShortcut(context.platform.shell, linkPath));
        // The line's fields end with ";": a path holding one would shift
        // them, and removal would take a wrong path for the shortcut's.
        if (target.find(';') == std::string::npos && linkPath.find(';') == std::string::npos) {
          context.state.shortcutMap.Add(FileNamePart(target) + "=;" + target + ";" + linkPath + ";");
        }
      }
      context.view.sb1.SetText("Checking " + linkPath);
    }
    if (context.state.abortRequested) break;
  }
}

}  // namespace veltrane
