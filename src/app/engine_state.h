// The program's global lists and flags, owned in one place and passed by
// reference to everything that reads or writes them.
#pragma once

#include <cstdint>
#include <string>

#include "base/string_list.h"
#include "definitions/definitions.h"
#include "scanners/program_list.h"

namespace veltrane {

struct EngineState {
  // definitions group
  Definitions definitions;  // MalTags, MalTagsEx and their matcher

  // engine group
  StringList foundList;                // unsorted found-object records
  // Folder records. Unsorted as created; the engine start-up (StartEngine)
  // makes it sorted without duplicates once the definitions have loaded.
  StringList foundFolders;
  StringList addonList{true, true};    // browser add-ons

  // main group
  StringList scanLog;  // unsorted
  ProgramList programList;
  StringList shortcutMap{true, true};
  StringList currentTasks;
  StringList taskHistory;
  StringList currentStartup;
  StringList startupHistory;

  bool scanRunning = false;
  bool abortRequested = false;
  // True from the Scan click until the scan run has really returned, also
  // after a confirmed Abort has already reset scanRunning: a new scan is
  // refused until the old one has unwound.
  bool scanActive = false;
  bool cleanRunning = false;
  int32_t foundCount = 0;
  int32_t checkedCount = 0;
};

}  // namespace veltrane
