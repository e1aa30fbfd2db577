#include "app/scan_run.h"

#include <string>

#include "app/clean_run.h"
#include "app/constants.h"
#include "app/folders.h"
#include "app/os_name.h"
#include "app/scan_date.h"
#include "app/scan_log.h"
#include "scanners/browser_addons.h"
#include "scanners/folder_scan.h"
#include "scanners/installed_programs.h"
#include "scanners/protected_folders.h"
#include "scanners/registry_scan.h"
#include "scanners/shortcuts.h"

namespace veltrane {
namespace {

// The folder of the Windows folder's drive, such as "C:\" ("\" when unknown).
std::string SystemDriveRoot(Platform& platform) {
  const std::string windows = WindowsFolder(platform.system);
  const std::string drive = windows.size() >= 2 && windows[1] == ':' ? windows.substr(0, 2) : "";
  return drive + "\\";
}

void WriteHeader(AppContext& context) {
  Platform& platform = context.platform;
  EngineState& state = context.state;
  state.scanLog.Add(std::string(kLogTitle) + " log.");
  const LocalDateTime now = platform.clock.Now();
  const std::string date = platform.clock.FormatShortDate(now);
  const std::string time = platform.clock.FormatLongTime(now);
  const std::string stamp = date + " " + time;
  WriteScanDate(platform.registry, stamp);
  context.view.label17.SetText(stamp);
  state.scanLog.Add("Generated at: " + date + " on " + time);
  state.scanLog.Add(OsName(platform.system));
  state.scanLog.Add("");
  AddProgressLine(context, ": Scanning please wait...");
}

// Every scanner, always all and in this order; each returns at once once
// abortRequested is set.
void RunScanners(AppContext& context) {
  Platform& platform = context.platform;
  ReadUninstallKey(context, RegistryRoot::kLocalMachine, kUninstallKeyWow64, RegistryView::k32, true);
  ReadUninstallKey(context, RegistryRoot::kLocalMachine, kUninstallKey, RegistryView::k64, true);
  // The map in memory is complete even when "links.txt" can't be written;
  // nothing reads that file back.
  BuildShortcutMap(context);

  const ProtectedFolders protectedFolders =
      ProtectedFolders::Collect(platform.system, platform.registry);
  ScanFolder(context, protectedFolders, ProgramFilesFolder(platform.registry), true);
  ScanFolder(context, protectedFolders, SpecialFolder(platform.system, csidl::kProfile), true);
  ScanFolder(context, protectedFolders, SpecialFolder(platform.system, csidl::kStartMenu), true);
  ScanFolder(context, protectedFolders, SpecialFolder(platform.system, csidl::kCommonStartMenu), true);
  ScanFolder(context, protectedFolders, SystemDriveRoot(platform), false);

  ScanRegistryTree(context, RegistryRoot::kCurrentUser, "");
  // Each machine tree in its own view, so a 32-bit build sees the 64-bit
  // software tree and the clean acts in the view that was walked.
  ScanRegistryTree(context, RegistryRoot::kLocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion",
                   RegistryView::k64);
  ScanRegistryTree(context, RegistryRoot::kLocalMachine,
                   "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion", RegistryView::k32);
  CheckAddons(context);
}

// The run's last step: the window back at rest.
void ReturnToIdle(AppContext& context) {
  context.view.button1.SetCaption("Scan");
  context.view.sb1.SetText(kApplicationTitle);
  context.state.scanRunning = false;
}

void ShowInformation(AppContext& context, const std::string& text) {
  context.view.messageBox.Show(text, kApplicationTitle, MessageBoxButtons::kOk,
                               MessageBoxIcon::kInformation);
}

}  // namespace

Status ScanButtonClick(AppContext& context) {
  EngineState& state = context.state;
  MainView& view = context.view;
  if (state.scanRunning) {
    const MessageBoxAnswer answer =
        view.messageBox.Show("Do you wish to end current scan process?", kAbortQuestionCaption,
                             MessageBoxButtons::kYesNo, MessageBoxIcon::kQuestion);
    if (answer == MessageBoxAnswer::kYes) {
      view.label7.SetText("Done");
      state.abortRequested = true;
      view.button1.SetCaption("Scan");
      state.scanRunning = false;
    }
    return Status::Ok();
  }
  // No scan inside an aborted scan that hasn't returned yet, or inside a clean.
  if (state.scanActive || state.cleanRunning) return Status::Ok();

  state.scanRunning = true;
  state.scanActive = true;
  state.abortRequested = false;
  view.sb1.SetText("Initializing...");
  view.button1.SetCaption("Abort");
  view.button2.SetEnabled(false);
  Status status = RunScan(context);
  state.scanActive = false;
  // A run that ended early on a failure mustn't leave the window saying that
  // a scan is running.
  if (!status.ok()) ReturnToIdle(context);
  return status;
}

Status RunScan(AppContext& context) {
  EngineState& state = context.state;
  MainView& view = context.view;
  state.scanLog.Clear();
  state.foundList.Clear();
  state.foundFolders.Clear();
  WriteHeader(context);

  view.list1.Clear();
  view.label2.SetText("0");
  view.label6.SetText("0");
  state.foundCount = 0;
  state.checkedCount = 0;
  state.programList.Clear();
  view.sb1.SetText("Scanning...");

  RunScanners(context);

  const std::string count = std::to_string(state.foundCount);
  if (state.abortRequested) {
    ShowInformation(context, "Scan Process Aborted!");
    if (state.foundCount > 0) AddProgressLine(context, ": " + count + "  object(s) found on your computer!");
    AddProgressLine(context, ": Scan Process Aborted!");
  } else {
    AddProgressLine(context, ": " + count + " object(s) found on your computer!");
    if (state.foundCount > 0) {
      const MessageBoxAnswer answer = view.messageBox.Show(
          "You have " + count + " object(s) located on your computer, do you wish to Uninstall them now?",
          kApplicationTitle, MessageBoxButtons::kYesNo, MessageBoxIcon::kQuestion);
      if (answer == MessageBoxAnswer::kYes) {
        view.button2.SetEnabled(true);
        // The clean saves and opens the log itself.
        if (Status cleaned = RunClean(context); !cleaned.ok()) return cleaned;
        ReturnToIdle(context);
        return Status::Ok();
      }
    }
  }

  if (state.foundCount < 1) {
    AddProgressLine(context, ": Your system is clean!");
    ShowInformation(context, "Your system is clean!");
  } else {
    view.button2.SetEnabled(true);
    if (state.abortRequested) ShowInformation(context, "Click on Uninstall button to remove located object(s)!");
  }

  if (Status saved = SaveAndOpenLog(context); !saved.ok()) return saved;
  ReturnToIdle(context);
  return Status::Ok();
}

}  // namespace veltrane
