#include "platform/win32/win32_platform.h"

namespace veltrane {

Platform Win32Platform::Get() { return Platform{registry_, files_, system_, clock_, shell_}; }

}  // namespace veltrane
