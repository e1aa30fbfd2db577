// veltrane-cli: the scan, the clean and the two list pages, from a console.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/command_line.h"
#include "cli/console_app.h"
#include "cli/console_output.h"
#include "platform/win32/console_win32.h"
#include "platform/win32/win32_platform.h"

namespace {

class StandardStreams : public veltrane::ConsoleOutput {
 public:
  void Out(std::string_view text) override { veltrane::WriteConsoleText(veltrane::ConsoleStream::kOut, text); }
  void Err(std::string_view text) override { veltrane::WriteConsoleText(veltrane::ConsoleStream::kErr, text); }
};

int64_t MonotonicMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int main() {
  using namespace veltrane;
  std::atomic<bool> interrupted{false};
  InstallConsoleInterruptHandler(&interrupted);
  StandardStreams streams;

  const Result<CommandLine> commandLine = ParseCommandLine(ConsoleArguments());
  if (!commandLine) {
    streams.Err("veltrane-cli: " + commandLine.error() + "\n\n" + UsageText());
    return kExitError;
  }
  Win32Platform win32;
  Platform platform = win32.Get();
  ConsoleEnvironment environment{platform, streams, interrupted, MonotonicMilliseconds};
  return RunConsoleCommand(*commandLine, environment);
}
