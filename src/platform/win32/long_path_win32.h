// Paths handed to the wide file APIs. Paths of MAX_PATH and more only work
// in their extended form ("\\?\C:\..." or "\\?\UNC\server\share\..."), which
// the file system takes literally; shorter ones are passed as they are.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltrane {

// nullopt for text that cannot be a path (empty, or holding a NUL, which
// the API would silently cut the path at).
std::optional<std::wstring> ToWin32Path(std::string_view path);

// Also long paths and patterns become extended, after being made absolute
// and normalised the way the system would ("..", "/", doubled separators).
std::wstring ToExtendedIfLong(std::wstring path);

}  // namespace veltrane
