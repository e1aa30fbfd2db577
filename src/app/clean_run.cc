// Until the removal routines exist this clean removes nothing, and says so:
// every ticked object is reported as not cleaned.
#include "app/clean_run.h"

#include <string>

#include "app/constants.h"
#include "app/scan_log.h"
#include "definitions/fields.h"

namespace veltrane {
namespace {

// The row named by a record's field 0; -1 when it is not a number.
int RecordRow(const std::string& record) {
  const std::string field = SplitField(record, 0, U';');
  if (field.empty() || field.size() > 9) return -1;
  int row = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return -1;
    row = row * 10 + (c - '0');
  }
  return row;
}

bool IsTicked(ListViewPort& list, int row) {
  return row >= 0 && row < list.RowCount() && list.IsChecked(row);
}

// Marks a ticked record's row as not cleaned; returns whether it was ticked.
bool ReportNotCleaned(AppContext& context, std::string record) {
  ListViewPort& list = context.view.list1;
  const int row = RecordRow(record);
  if (!IsTicked(list, row)) return false;
  list.SetCaption(row, "Error");
  AddProgressLine(context, ": " + SplitField(record, 1, U';') + "--> Err");
  return true;
}

}  // namespace

Status RunClean(AppContext& context) {
  EngineState& state = context.state;
  MainView& view = context.view;
  const bool outerClean = state.cleanRunning;
  state.cleanRunning = true;
  AddProgressLine(context, ": Cleaning please wait...");
  view.label7.SetText("Cleaning...");
  state.abortRequested = false;
  int failures = 0;

  for (int i = 0; i < state.foundFolders.Count(); ++i) {
    if (ReportNotCleaned(context, state.foundFolders[i])) ++failures;
  }
  // By index: the messages let run between lines may touch the list.
  for (int i = 0; i < state.foundList.Count(); ++i) {
    view.pump.ProcessPendingMessages();
    if (state.abortRequested || i >= state.foundList.Count()) break;
    if (ReportNotCleaned(context, state.foundList[i])) ++failures;
  }

  if (failures == 0) {
    view.messageBox.Show("Done..", kApplicationTitle, MessageBoxButtons::kOk, MessageBoxIcon::kInformation);
  } else {
    view.messageBox.Show("Done, Cannot clean some object(s)", kApplicationTitle, MessageBoxButtons::kOk,
                         MessageBoxIcon::kError);
  }
  view.sb1.SetText("Done..");
  Status saved = SaveAndOpenLog(context);
  state.cleanRunning = outerClean;
  return saved;
}

}  // namespace veltrane
