// ScanLog: the lines of the current scan and clean, saved as "log.txt" in
// the settings folder at the end of a scan or clean and opened for the user.
#pragma once

#include <string>
#include <string_view>

#include "app/app_context.h"
#include "base/result.h"
#include "platform/platform.h"

namespace veltrane {

inline constexpr const char* kLogFileName = "log.txt";

// The current time in the locale's long time format, as every log line starts.
std::string LogTime(Platform& platform);

// Adds a progress line: the time followed by text, which begins with ": ".
void AddProgressLine(AppContext& context, std::string_view text);

// Saves ScanLog as the settings folder's "log.txt" (replacing it, lines ended
// by CR LF), then opens it with the shell (that result is ignored). A failure
// to find the settings folder or to write the file is returned and the log is
// not opened.
Status SaveAndOpenLog(AppContext& context);

}  // namespace veltrane
