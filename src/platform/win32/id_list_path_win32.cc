#include "platform/win32/id_list_path_win32.h"

namespace veltrane {
namespace {

constexpr DWORD kLongPathLength = 32768;

}  // namespace

std::wstring PathFromIdList(PCIDLIST_ABSOLUTE idList) {
  if (idList == nullptr) return {};
  std::wstring path(kLongPathLength, L'\0');
  if (!SHGetPathFromIDListEx(idList, path.data(), kLongPathLength, GPFIDL_DEFAULT)) {
    path.assign(MAX_PATH, L'\0');
    if (!SHGetPathFromIDListW(idList, path.data())) return {};
  }
  path.resize(path.find(L'\0'));
  return path;
}

}  // namespace veltrane
