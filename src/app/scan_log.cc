#include "app/scan_log.h"

#include "app/folders.h"

namespace veltrane {

std::string LogTime(Platform& platform) {
  return platform.clock.FormatLongTime(platform.clock.Now());
}

void AddProgressLine(AppContext& context, std::string_view text) {
  context.state.scanLog.Add(LogTime(context.platform) + std::string(text));
}

Status SaveAndOpenLog(AppContext& context) {
  Result<std::string> folder = SettingsFolder(context.platform);
  if (!folder) return Error{folder.error()};
  const std::string path = folder.value() + kLogFileName;
  if (!context.platform.files.WriteFile(path, context.state.scanLog.Text())) {
    return Error{"Cannot create file \"" + path + "\"."};
  }
  context.platform.shell.OpenDocument(path);
  return Status::Ok();
}

}  // namespace veltrane
