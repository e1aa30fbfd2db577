#include "platform/win32/shell_win32.h"

#include "platform/win32/windows_win32.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <string>

#include "platform/win32/com_apartment_win32.h"
#include "platform/win32/com_ptr_win32.h"
#include "platform/win32/id_list_path_win32.h"
#include "platform/win32/long_path_win32.h"
#include "platform/win32/path_checks_win32.h"
#include "platform/win32/unique_handle_win32.h"
#include "platform/win32/wide_text_win32.h"

namespace veltrane {
namespace {

// FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI |
// FOF_ALLOWUNDO: no dialog of any kind, into the Recycle Bin.
constexpr FILEOP_FLAGS kRecycleFlags = 0x654;
static_assert(kRecycleFlags == (FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR |
                                FOF_NOERRORUI | FOF_ALLOWUNDO));

// Room for targets longer than MAX_PATH.
constexpr int kLinkTargetLength = 32768;

// GetPath may answer from the link's 8-bit copy of the location, where
// characters outside the code page have become "?", which no real path
// holds (past an extended "\\?\" prefix).
bool LostCharacters(std::wstring_view path) {
  if (path.rfind(L"\\\\?\\", 0) == 0) path.remove_prefix(4);
  return path.find(L'?') != std::wstring_view::npos;
}

}  // namespace

bool ShellWin32::OpenDocument(std::string_view path) {
  if (path.empty() || path.find('\0') != std::string_view::npos) return false;
  const ComApartment apartment;
  const std::wstring widePath = ToWide(path);
  const HINSTANCE result =
      ShellExecuteW(nullptr, L"open", widePath.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

std::string ShellWin32::ResolveShortcut(std::string_view linkPath) {
  const std::optional<std::wstring> widePath = ToWin32Path(linkPath);
  if (!widePath) return {};
  const ComApartment apartment;
  if (!apartment.IsUsable()) return {};
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              link.ReceiveVoid()))) {
    return {};
  }
  const ComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
  if (!file || FAILED(file->Load(widePath->c_str(), STGM_READ))) return {};
  std::wstring target(kLinkTargetLength, L'\0');
  if (link->GetPath(target.data(), kLinkTargetLength, nullptr, SLGP_UNCPRIORITY) != S_OK) return {};
  target.resize(target.find(L'\0'));
  if (LostCharacters(target)) {
    // The item-id list of the link keeps the path in full.
    UniqueCoTaskMem<ITEMIDLIST> idList;
    if (SUCCEEDED(link->GetIDList(idList.Receive()))) {
      std::wstring fromIdList = PathFromIdList(idList.Get());
      if (!fromIdList.empty()) target = std::move(fromIdList);
    }
  }
  return FromWide(target);
}

bool ShellWin32::RecycleToBin(std::string_view pathOrPattern) {
  if (!IsFullPathBelowRoot(pathOrPattern)) return false;
  const ComApartment apartment;
  // A list of one path, ended by two NULs; the shell wants backslashes.
  std::wstring from = ToWide(pathOrPattern);
  std::replace(from.begin(), from.end(), L'/', L'\\');
  from.push_back(L'\0');
  from.push_back(L'\0');
  SHFILEOPSTRUCTW operation{};
  operation.hwnd = nullptr;
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = kRecycleFlags;
  const int result = SHFileOperationW(&operation);
  return result == 0 && !operation.fAnyOperationsAborted;
}

}  // namespace veltrane
