// Checks on paths before they reach calls that act on whole trees.
#pragma once

#include <string_view>

namespace veltrane {

// "C:\x..." or "\\server\share\x...": a full path naming something below
// the root, with no "." or ".." step (which could climb back to it) and at
// least one step that is more than wildcards. So "C:\*.*" and "C:\a\.."
// are refused, as are relative paths, which the shell would take against
// the current folder.
bool IsFullPathBelowRoot(std::string_view path);

}  // namespace veltrane
