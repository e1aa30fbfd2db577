// The installed programs: the machine-wide uninstall entries, kept in
// ProgramList and shown on the programs page. Programs are not detections:
// nothing here touches FoundList, List1, ScanLog or the counters.
#pragma once

#include <string_view>

#include "app/app_context.h"
#include "platform/registry.h"

namespace veltrane {

// The two uninstall keys below HKEY_LOCAL_MACHINE, read in this order: the
// 32-bit programs' key in the 32-bit view, then the plain key in the 64-bit
// view, so a 32-bit build lists 64-bit programs too.
inline constexpr std::string_view kUninstallKeyWow64 =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr std::string_view kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The background of a highlighted row of programsLV and badoList
// (0x00BBGGRR); the lists' own background is 0x757575.
inline constexpr unsigned kHighlightedRowColour = 0x808080;

// Adds the programs below basePath to ProgramList (which it does not
// clear). A key without a DisplayName, or one whose name is already listed
// (ignoring case), is passed over. With honourAbort the walk stops when
// AbortRequested is set; a page refresh outside a scan passes false, so a
// flag left over from an aborted scan does not empty the page.
void ReadUninstallKey(AppContext& context, RegistryRoot root, std::string_view basePath, RegistryView view,
                      bool honourAbort);

// Rebuilds ProgramList from both uninstall keys and refills programsLV and
// its title label.
void RefreshPrograms(AppContext& context);

// The row-colour rule of programsLV and badoList: a row is painted grey when
// its "Status" text contains "ADW." or "Riskware" (case-sensitive).
bool IsHighlightedStatus(std::string_view status);
// The same rule for a row of either list: the "Status" column is sub-item 3
// of both; a row without it keeps the list's colours.
bool IsHighlightedRow(ListViewPort& list, int row);

}  // namespace veltrane
