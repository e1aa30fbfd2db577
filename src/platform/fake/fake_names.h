// Name and path helpers shared by the in-memory registry and file system.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltrane::fake {

// The order in which Windows lists registry subkeys and NTFS folder entries:
// ordinal after upper-casing (ASCII and Latin-1), so "_x" sorts after "ab".
int CompareAsWindowsSorts(std::string_view a, std::string_view b);
bool NameLess(std::string_view a, std::string_view b);

// The non-empty pieces of a path split at "\" (and "/" when slashes is set),
// as views into path.
std::vector<std::string_view> SplitPath(std::string_view path, bool slashes = false);

// Case-insensitive wildcard match of a file name against a mask with "*" and
// "?". "*.*" matches every name, also names without a dot.
bool MatchesMask(std::string_view name, std::string_view mask);

}  // namespace veltrane::fake
