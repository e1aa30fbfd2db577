// ShortcutMap: the shell shortcuts on the desktops and in the Start menus,
// each with the program file it points at, one line per shortcut file:
//   target file name + "=;" + target path + ";" + shortcut path + ";"
// The name part and the target are lower case; the shortcut path keeps its
// case. Removal looks programs up in it; it yields no detections.
#pragma once

#include <string>
#include <string_view>

#include "app/app_context.h"
#include "platform/shell.h"

namespace veltrane {

inline constexpr const char* kShortcutMapFileName = "links.txt";

// Clears ShortcutMap, fills it from the user's desktop, the common desktop,
// the common Start menu and the user's Start menu (a folder the shell has no
// path for is skipped), and saves it as "links.txt" in the program's folder.
// Returns false when that file could not be written; the map is complete
// either way.
bool BuildShortcutMap(AppContext& context);

// Adds the shortcuts of one folder (and, with recurse, the folders below it
// except reparse points and folders whose name begins with "."). Stops after
// the entry it is on when AbortRequested is set.
void ScanShortcutFolder(AppContext& context, std::string_view folder, bool recurse);

// The target path of a shortcut file, or "" when it cannot be read.
std::string ResolveShortcut(Shell& shell, std::string_view linkPath);

}  // namespace veltrane
