#include "app/default_definitions.h"

#include <optional>
#include <string>

namespace veltrane {

Status InstallDefaultDefinitions(FileSystem& files, std::string_view programFolder,
                                 std::string_view settingsFolder) {
  Status result;
  for (std::string_view name : kDefaultDefinitionFiles) {
    const std::string target = std::string(settingsFolder) + std::string(name);
    // A folder of that name is not a tag file either: the write below fails.
    if (files.FileExists(target)) continue;
    const std::optional<std::string> shipped = files.ReadFile(std::string(programFolder) + std::string(name));
    if (!shipped) continue;
    if (!files.WriteFile(target, *shipped) && result.ok()) {
      result = Error{"Cannot create file \"" + target + "\"."};
    }
  }
  return result;
}

}  // namespace veltrane
