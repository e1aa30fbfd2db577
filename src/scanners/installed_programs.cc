#include "scanners/installed_programs.h"

#include <string>

#include "app/constants.h"

namespace veltrane {
namespace {

constexpr int kStatusSubItem = 3;

std::string ReadText(RegistryKey& key, std::string_view name) {
  // A value of another type counts as missing.
  return key.ReadString(name).value_or(std::string());
}

}  // namespace

void ReadUninstallKey(AppContext& context, RegistryRoot root, std::string_view basePath, RegistryView view,
                      bool honourAbort) {
  context.view.sb1.SetText("Refreshing Programs " + std::string(basePath));

  std::vector<std::string> names;
  {
    auto base = context.platform.registry.OpenKey(root, basePath, RegistryAccess::kRead, view);
    if (!base) return;
    names = base->SubkeyNames();
  }

  for (const std::string& name : names) {
    if (honourAbort && context.state.abortRequested) break;
    context.view.pump.ProcessPendingMessages();

    const std::string keyPath = std::string(basePath) + "\\" + name;
    auto key = context.platform.registry.OpenKey(root, keyPath, RegistryAccess::kRead, view);
    if (!key) continue;

    TMyPUninstall program;
    program.DisplayName = ReadText(*key, "DisplayName");
    program.DisplayVersion = ReadText(*key, "DisplayVersion");
    program.InstallLocation = ReadText(*key, "InstallLocation");
    program.UninstallString = ReadText(*key, "UninstallString");
    program.Publisher = ReadText(*key, "Publisher");
    program.KeyPath = keyPath;
    program.RootKey = root;
    program.View = view;

    const std::string tag = context.state.definitions.MatchTag(program.DisplayName);
    program.Status = tag.empty() ? std::string("Ok") : "ADW." + tag;

    if (!program.DisplayName.empty()) context.state.programList.Add(std::move(program));
  }
}

void RefreshPrograms(AppContext& context) {
  context.state.programList.Clear();
  ReadUninstallKey(context, RegistryRoot::kLocalMachine, kUninstallKeyWow64, RegistryView::k32, false);
  ReadUninstallKey(context, RegistryRoot::kLocalMachine, kUninstallKey, RegistryView::k64, false);

  ListViewPort& rows = context.view.programsLV;
  rows.BeginUpdate();
  rows.Clear();
  for (const TMyPUninstall& program : context.state.programList) {
    if (program.DisplayName.empty()) continue;
    const int row = rows.AddRow(program.DisplayName);
    rows.SetSubItem(row, 1, program.Publisher);
    rows.SetSubItem(row, 2, program.DisplayVersion);
    rows.SetSubItem(row, 3, program.Status);
  }
  rows.EndUpdate();

  context.view.label84.SetText("Programs And Features (" + std::to_string(context.state.programList.Count()) +
                               ")");
  context.view.sb1.SetText(kApplicationTitle);
}

bool IsHighlightedStatus(std::string_view status) {
  return status.find("ADW.") != std::string_view::npos || status.find("Riskware") != std::string_view::npos;
}

bool IsHighlightedRow(ListViewPort& list, int row) {
  if (list.SubItemCount(row) < kStatusSubItem) return false;
  return IsHighlightedStatus(list.SubItem(row, kStatusSubItem));
}

}  // namespace veltrane
