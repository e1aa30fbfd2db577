// Browser add-ons: Chrome extensions and Firefox add-ons of the current
// user, found by walking the browsers' profile folders and reading their
// description files as plain text. They are kept in AddonList, one line each:
//   Chrome:  name + "=;Chrome;" + folder + ";" + date + ";" + address + ";dir;"
//   Firefox: name + "=;Firefox;" + file + ";" + date + ";" + address + ";file;"
// The add-ons page shows them with a status; the scan's add-on check turns
// every suspicious one into a detection.
#pragma once

#include <string>
#include <string_view>

#include "app/app_context.h"
#include "definitions/definitions.h"

namespace veltrane {

// An add-on whose source address lacks its browser's store domain
// (case-sensitive substring) is "Riskware".
inline constexpr std::string_view kChromeStoreDomain = "google.com";
inline constexpr std::string_view kFirefoxStoreDomain = "addons.mozilla.org";

// Clears AddonList and fills it: the Chrome walk of the "Local AppData"
// folder + "\Google\Chrome", then the Firefox walk of the application-data
// folder + "\Mozilla\Firefox".
void CollectAddons(AppContext& context);

// The two walks (mask such as "*.*"). Neither enters a reparse point, and
// neither polls AbortRequested: a collection runs to its end.
void ScanChromeFolder(AppContext& context, std::string_view folder, std::string_view mask, bool recurse);
void ScanFirefoxFolder(AppContext& context, std::string_view folder, std::string_view mask, bool recurse);

// Where an add-on's status is shown: the page says "Ok" for a clean add-on
// and "ADW." for a tag hit; the scan gives "" for a clean one and "MAL.".
enum class AddonScoring { kPage, kScan };

// The status of one AddonList line: "Riskware" when the address lacks the
// browser's store domain; the hit word + the add-on's name when a tag
// matches the name or the address (a tag hit wins). Spaces are removed.
std::string ScoreAddon(const Definitions& definitions, std::string_view addonLine, AddonScoring scoring);

// The name part of an AddonList line (the text before the first "=").
std::string AddonName(std::string_view addonLine);

// The scan's add-on check: collects the add-ons and records every one with
// a status as a detection (FoundList record, ScanLog line, List1 row).
void CheckAddons(AppContext& context);

// Rebuilds the add-ons page (badoList and its title label).
void RefreshAddons(AppContext& context);

}  // namespace veltrane
