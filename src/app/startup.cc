#include "app/startup.h"

#include "app/constants.h"
#include "app/folders.h"

namespace veltrane {

Result<std::string> StartEngine(Platform& platform, EngineState& state) {
  Result<std::string> settingsFolder = SettingsFolder(platform);
  if (!settingsFolder) return settingsFolder;
  if (Status loaded = state.definitions.Load(platform.files, *settingsFolder); !loaded) {
    return Error{loaded.error()};
  }
  state.foundFolders.SetSorted(true);
  state.foundFolders.SetIgnoreDuplicates(true);
  return settingsFolder;
}

void ShowErrorBox(MessageBoxPort& messageBox, std::string_view text) {
  messageBox.Show(text, kApplicationTitle, MessageBoxButtons::kOk, MessageBoxIcon::kError);
}

}  // namespace veltrane
