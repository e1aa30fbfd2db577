#include "platform/win32/wide_text_win32.h"

#include "platform/win32/windows_win32.h"

#include <climits>

namespace veltrane {

std::wstring ToWide(std::string_view utf8) {
  if (utf8.empty() || utf8.size() > static_cast<size_t>(INT_MAX)) return {};
  const int inLength = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, wide.data(), length);
  return wide;
}

std::string FromWide(std::wstring_view wide) {
  if (wide.empty() || wide.size() > static_cast<size_t>(INT_MAX)) return {};
  const int inLength = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), inLength, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), inLength, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

}  // namespace veltrane
