// The file-system path of a shell item-id list.
#pragma once

#include "platform/win32/windows_win32.h"

#include <shlobj.h>

#include <string>

namespace veltrane {

// "" when the item has no file-system path. Paths longer than MAX_PATH are
// returned whole where the system supports it.
std::wstring PathFromIdList(PCIDLIST_ABSOLUTE idList);

}  // namespace veltrane
