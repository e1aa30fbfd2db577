// The tag files shipped beside the program. The program never creates
// "maltag.dat" or "maltagEx.dat" itself and a start without them downloads
// nothing, so a first start copies the shipped ones into the settings folder.
#pragma once

#include <string_view>

#include "base/result.h"
#include "platform/file_system.h"

namespace veltrane {

inline constexpr std::string_view kDefaultDefinitionFiles[] = {"maltag.dat", "maltagEx.dat"};

// Copies each tag file that settingsFolder lacks from programFolder (both end
// with a backslash). A file already in the settings folder is kept as it is,
// whatever it holds (a download may have replaced it); a file the program
// folder lacks is skipped, and the start-up's load reports it. Every file is
// tried; the result is the first copy that could not be written.
Status InstallDefaultDefinitions(FileSystem& files, std::string_view programFolder,
                                 std::string_view settingsFolder);

}  // namespace veltrane
