// The clean run: removes the objects of the last scan whose list1 rows are
// still ticked, reports the outcome and saves and opens the log. Started by
// a Yes to the scan's removal offer and by the Uninstall button.
#pragma once

#include "app/app_context.h"
#include "base/result.h"

namespace veltrane {

// Returns the failure to save the log; the log is then not opened.
Status RunClean(AppContext& context);

}  // namespace veltrane
