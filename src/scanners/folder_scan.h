// The file-system scan: finds folders whose names match a threat tag. Each
// one found becomes a row of list1, a record of foundFolders and a log line;
// a matching folder is not entered.
//
// Folder record (three ";"-ended fields): the list1 row index in decimal,
// the full path without a final "\", "PUP." + the folder's name, e.g.
// '11;C:\Program Files\SearchBarX;PUP.SearchBarX;'.
#pragma once

#include <string_view>

#include "app/app_context.h"
#include "scanners/protected_folders.h"

namespace veltrane {

// Walks path (with or without a final "\"; "" is the root of the current
// drive), and with recurse every folder below it that isn't found. Only the
// names below the scan root count: a folder in a root named like a tag is
// not found for that. Protected folders are never found (the walk goes on
// into them, and names above them don't count either); reparse points
// (junctions, symbolic links) are examined but never entered. Stops at the
// next entry once abortRequested is set.
void ScanFolder(AppContext& context, const ProtectedFolders& protectedFolders,
                std::string_view path, bool recurse);

// The same with the protected folders collected from the system.
void ScanFolder(AppContext& context, std::string_view path, bool recurse);

}  // namespace veltrane
