#include "app/startup.h"

#include "app/constants.h"
#include "app/default_definitions.h"
#include "app/folders.h"

namespace veltrane {

Result<std::string> StartEngine(Platform& platform, EngineState& state) {
  Result<std::string> settingsFolder = SettingsFolder(platform);
  if (!settingsFolder) return settingsFolder;
  // A first start finds no tag files: the shipped ones are its definitions.
  const Status installed =
      InstallDefaultDefinitions(platform.files, ProgramFolder(platform.system), *settingsFolder);
  if (Status loaded = state.definitions.Load(platform.files, *settingsFolder); !loaded) {
    // A copy that failed says more than the missing file it left.
    return Error{installed.ok() ? loaded.error() : installed.error()};
  }
  state.foundFolders.SetSorted(true);
  state.foundFolders.SetIgnoreDuplicates(true);
  return settingsFolder;
}

void ShowErrorBox(MessageBoxPort& messageBox, std::string_view text) {
  messageBox.Show(text, kApplicationTitle, MessageBoxButtons::kOk, MessageBoxIcon::kError);
}

}  // namespace veltrane
