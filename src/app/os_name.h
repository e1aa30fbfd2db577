// The operating system's name written at the head of every scan log.
#pragma once

#include <string>

#include "platform/system_info.h"

namespace veltrane {

// The name for the true version (as the system reports it, not a
// compatibility shim's), for example "Microsoft Windows 7 x64 Edition" or
// "Microsoft Windows 11". "" when the version cannot be read (it is asked
// twice) or belongs to no known platform; an NT version without a name of
// its own gives "Microsoft Windows NT".
std::string OsName(SystemInfo& system);

}  // namespace veltrane
