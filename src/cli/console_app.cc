#include "cli/console_app.h"

#include <memory>
#include <optional>
#include <string>

#include "app/app_context.h"
#include "app/engine_state.h"
#include "app/scan_run.h"
#include "app/startup.h"
#include "base/text.h"
#include "cli/console_shell.h"
#include "cli/console_view.h"
#include "scanners/browser_addons.h"
#include "scanners/installed_programs.h"

namespace veltrane {
namespace {

// The page columns: "Objects", "Publisher", "Version", "Status" and
// "Objects", "Host", "Date", "Status".
constexpr int kPageColumns = 4;

std::string WithLineFeeds(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') continue;
      result += '\n';
    } else {
      result += text[i];
    }
  }
  if (!result.empty() && result.back() != '\n') result += '\n';
  return result;
}

class ConsoleRun {
 public:
  explicit ConsoleRun(ConsoleEnvironment& environment)
      : env_(environment),
        shell_(environment.platform.shell, environment.out),
        platform_{environment.platform.registry, environment.platform.files, environment.platform.system,
                  environment.platform.clock, shell_},
        view_(environment.out, environment.interrupted, environment.milliseconds),
        state_(CreateEngineState()),
        context_{platform_, view_.view, *state_} {
    view_.button1.SetCaption("Scan");
    view_.button2.SetCaption("Uninstall");
    view_.pump.SetInterruptHandler([this] { OnInterrupt(); });
  }

  int Run(const CommandLine& commandLine) {
    if (!StartUp()) return kExitError;
    switch (commandLine.command) {
      case ConsoleCommand::kScan: return Scan(MessageBoxAnswer::kNo);
      case ConsoleCommand::kClean: return Scan(MessageBoxAnswer::kYes);
      case ConsoleCommand::kPrograms:
        RefreshPrograms(context_);
        return PrintPage(view_.programsLV, view_.label84);
      case ConsoleCommand::kAddons:
        RefreshAddons(context_);
        return PrintPage(view_.badoList, view_.label70);
      case ConsoleCommand::kHelp: break;
    }
    env_.out.Out(UsageText());
    return kExitClean;
  }

 private:
  // The window program's start-up as far as it concerns the console: the
  // engine's creation loads the definitions. Its error box is shown as the
  // window program shows it, and ends the command: a scan without
  // definitions would report a clean system.
  bool StartUp() {
    Result<std::string> started = StartEngine(platform_, *state_);
    if (!started) {
      ShowErrorBox(view_.messageBox, started.error());
      return false;
    }
    return true;
  }

  // Ctrl+C during a scan or the clean it started is the Abort button with
  // the question answered Yes; elsewhere it stops what polls the abort flag
  // and fails the command.
  void OnInterrupt() {
    if (state_->scanRunning) {
      view_.messageBox.AnswerNextQuestion(MessageBoxAnswer::kYes);
      (void)ScanButtonClick(context_);
    } else {
      interruptedOutsideScan_ = true;
      state_->abortRequested = true;
    }
  }

  int Scan(MessageBoxAnswer removalAnswer) {
    view_.messageBox.SetQuestionAnswer(removalAnswer);
    const Status status = ScanButtonClick(context_);
    if (!status.ok()) {
      ShowErrorBox(view_.messageBox, status.error());
      return kExitError;
    }
    if (!PrintLog()) return kExitError;
    if (interruptedOutsideScan_) return kExitError;
    if (state_->foundCount < 1) return state_->abortRequested ? kExitError : kExitClean;
    if (removalAnswer == MessageBoxAnswer::kNo) return kExitFound;
    return AllTickedCleaned() ? kExitClean : kExitFound;
  }

  // The clean writes "Clean" over the caption of every row it removed.
  bool AllTickedCleaned() {
    if (view_.messageBox.WasShown("Done, Cannot clean some object(s)")) return false;
    for (int row = 0; row < view_.list1.RowCount(); ++row) {
      if (view_.list1.IsChecked(row) && view_.list1.Caption(row) != "Clean") return false;
    }
    return true;
  }

  // The log the run saved and "opened", to standard output.
  bool PrintLog() {
    if (shell_.Opened().empty()) {
      env_.out.Err("The log was not saved.\n");
      return false;
    }
    const std::string& path = shell_.Opened().back();
    const std::optional<std::string> bytes = platform_.files.ReadFile(path);
    if (!bytes) {
      env_.out.Err("Cannot read the log \"" + path + "\".\n");
      return false;
    }
    env_.out.Out(WithLineFeeds(BytesToUtf8(*bytes)));
    return true;
  }

  int PrintPage(ConsoleListView& list, ConsoleLabel& title) {
    env_.out.Out(list.RowsAsText(kPageColumns) + title.Text() + "\n");
    return interruptedOutsideScan_ ? kExitError : kExitClean;
  }

  ConsoleEnvironment& env_;
  ConsoleShell shell_;
  Platform platform_;
  ConsoleView view_;
  std::unique_ptr<EngineState> state_;
  AppContext context_;
  bool interruptedOutsideScan_ = false;
};

}  // namespace

int RunConsoleCommand(const CommandLine& commandLine, ConsoleEnvironment& environment) {
  if (commandLine.command == ConsoleCommand::kHelp) {
    environment.out.Out(UsageText());
    return kExitClean;
  }
  ConsoleRun run(environment);
  return run.Run(commandLine);
}

}  // namespace veltrane
