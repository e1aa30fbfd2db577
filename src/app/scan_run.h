// The scan run: what the Scan button starts. It resets the found-object
// state, writes the log header, runs the scanners in their fixed order,
// reports the outcome, offers the removal of what was found, and saves and
// opens the log (or leaves that to the clean).
#pragma once

#include "app/app_context.h"
#include "base/result.h"

namespace veltrane {

// The Scan button's click. While a scan runs it asks whether to end it; a
// confirmed abort returns the button and flags to idle at once and the
// running scan winds down at its next check. A click while an aborted scan
// is still unwinding or a clean runs is refused: nothing is asked and
// nothing starts. Otherwise it starts RunScan and returns its result.
Status ScanButtonClick(AppContext& context);

// The scan run itself; returns when every scanner has returned and the
// outcome is reported. A failure to save the log ends the run there and is
// returned (the caller shows it).
Status RunScan(AppContext& context);

}  // namespace veltrane
