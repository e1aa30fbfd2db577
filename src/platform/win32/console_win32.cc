#include "platform/win32/console_win32.h"

#include <algorithm>

#include "platform/win32/wide_text_win32.h"
#include "platform/win32/windows_win32.h"

#include <shellapi.h>

namespace veltrane {
namespace {

std::atomic<bool>* interruptFlag = nullptr;

BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  if (interruptFlag == nullptr) return FALSE;
  // Already set and not yet taken: the program isn't listening, let the
  // default handler end it.
  return interruptFlag->exchange(true) ? FALSE : TRUE;
}

}  // namespace

std::vector<std::string> ConsoleArguments() {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(FromWide(wide[i]));
  LocalFree(wide);
  return arguments;
}

void WriteConsoleText(ConsoleStream stream, std::string_view text) {
  HANDLE handle = GetStdHandle(stream == ConsoleStream::kOut ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || text.empty()) return;
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    const std::wstring wide = ToWide(text);
    size_t done = 0;
    while (done < wide.size()) {
      DWORD written = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(wide.size() - done, 8192));
      if (!WriteConsoleW(handle, wide.data() + done, chunk, &written, nullptr) || written == 0) return;
      done += written;
    }
    return;
  }
  size_t done = 0;
  while (done < text.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1 << 20));
    if (!WriteFile(handle, text.data() + done, chunk, &written, nullptr) || written == 0) return;
    done += written;
  }
}

void InstallConsoleInterruptHandler(std::atomic<bool>* flag) {
  interruptFlag = flag;
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

}  // namespace veltrane
