// The platform services the logic runs on, bundled so that they can be
// handed around as one. The Win32 layer and the in-memory fakes both fill it.
#pragma once

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system_info.h"

namespace veltrane {

struct Platform {
  Registry& registry;
  FileSystem& files;
  SystemInfo& system;
  Clock& clock;
  Shell& shell;
};

}  // namespace veltrane
