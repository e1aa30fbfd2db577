#include "scanners/browser_addons.h"

#include <string>
#include <vector>

#include "app/constants.h"
#include "app/folders.h"
#include "app/scan_log.h"
#include "base/text.h"
#include "definitions/fields.h"
#include "platform/system_info.h"

namespace veltrane {
namespace {

// The description files are searched for these exact texts.
constexpr std::string_view kChromeNameMarker = "\"name\": \"";
constexpr std::string_view kChromeAddressMarker = "\"update_url\": \"";
constexpr std::string_view kFirefoxIdMarker = "\"id\":\"";
constexpr std::string_view kFirefoxNameMarker = "\"name\":\"";
constexpr std::string_view kFirefoxAddressMarker = "\"sourceURI\":\"";

enum class Browser { kChrome, kFirefox };

// The file's last-write date in the locale's short date format; "" when the
// date cannot be read.
std::string FileDateText(AppContext& context, const std::string& path) {
  const auto time = context.platform.files.LastWriteTime(path);
  if (!time) return std::string();
  Clock& clock = context.platform.clock;
  return clock.FormatShortDate(clock.ToLocal(*time));
}

// The description file as one text, each line ended by CR LF; nullopt when
// it cannot be read.
std::optional<std::string> ReadDescription(AppContext& context, const std::string& path) {
  auto bytes = context.platform.files.ReadFile(path);
  if (!bytes) return std::nullopt;
  return JoinLinesCrLf(SplitLines(BytesToUtf8(*bytes)));
}

// The text between the first occurrence of marker and the next double
// quote; "" when no double quote follows.
std::string ValueAfter(std::string_view text, size_t markerPos, std::string_view marker) {
  const std::string_view rest = text.substr(markerPos + marker.size());
  const size_t quote = rest.find('"');
  return quote == std::string_view::npos ? std::string() : std::string(rest.substr(0, quote));
}

// The record's fields are ";"-ended and its name part ends at the first
// "=", so these characters cannot be stored in a name or an address: they
// would shift the fields and make removal act on another path.
std::string WithoutFieldSeparators(std::string_view text, bool dropEquals) {
  std::string result;
  result.reserve(text.size());
  for (char ch : text) {
    if (ch == ';' || (dropEquals && ch == '=')) continue;
    result += ch;
  }
  return result;
}

std::string AddonLine(std::string_view name, std::string_view browser, std::string_view path,
                      std::string_view date, std::string_view address, std::string_view kind) {
  std::string line = WithoutFieldSeparators(name, true);
  line += "=;";
  line += browser;
  line += ';';
  line += path;
  line += ';';
  line += date;
  line += ';';
  line += WithoutFieldSeparators(address, false);
  line += ';';
  line += kind;
  line += ';';
  return line;
}

void CheckChromeFile(AppContext& context, const std::string& folderText, const std::string& fileName) {
  if (ToLower(fileName) != "manifest.json") return;
  if (ToLower(folderText).find("extensions") == std::string::npos) return;
  const std::string manifestPath = folderText + fileName;
  const auto text = ReadDescription(context, manifestPath);
  if (!text) return;

  const size_t namePos = text->find(kChromeNameMarker);
  if (namePos == std::string::npos) return;
  const std::string name = ValueAfter(*text, namePos, kChromeNameMarker);
  // A localised placeholder such as "__MSG_appName__".
  if (ToLower(name).find("_msg_") != std::string::npos) return;

  std::string folder, date, address;
  const size_t addressPos = text->find(kChromeAddressMarker);
  if (addressPos != std::string::npos) {
    address = ValueAfter(*text, addressPos, kChromeAddressMarker);
    // The folder holding "manifest.json" is a version folder; its parent is
    // the extension's own folder, which removal takes away whole.
    const std::string versionFolder = folderText.substr(0, folderText.size() - 1);
    const size_t slash = versionFolder.rfind('\\');
    folder = slash == std::string::npos ? std::string() : versionFolder.substr(0, slash);
    date = FileDateText(context, manifestPath);
  }
  // Removal takes the folder away whole: it must lie inside an extensions
  // folder. A manifest outside the id\version layout would otherwise name
  // the extensions folder itself, or the browser profile above it.
  if (!folder.empty() && ToLower(folder).find("\\extensions\\") == std::string::npos) return;
  if (folder.find(';') != std::string::npos) return;
  context.state.addonList.Add(AddonLine(name, "Chrome", folder, date, address, "dir"));
}

// Returns true when the file was the profile's "addons.json": the walk of
// the profile folder ends there.
bool CheckFirefoxFile(AppContext& context, const std::string& folderText, const std::string& fileName) {
  if (ToLower(fileName) != "addons.json") return false;
  if (ToLower(folderText).find("firefox\\profiles") == std::string::npos) return false;
  auto read = ReadDescription(context, folderText + fileName);
  if (!read) return true;
  std::string text = std::move(*read);

  // Each add-on's fields are paired by their order in the text: its id,
  // then the next name, then the next source address.
  size_t pos;
  while ((pos = text.find(kFirefoxIdMarker)) != std::string::npos) {
    const std::string id = ValueAfter(text, pos, kFirefoxIdMarker);
    text.erase(0, pos + kFirefoxIdMarker.size() + id.size());

    pos = text.find(kFirefoxNameMarker);
    if (pos == std::string::npos) continue;
    const std::string name = ValueAfter(text, pos, kFirefoxNameMarker);
    text.erase(0, pos + kFirefoxNameMarker.size() + name.size());

    pos = text.find(kFirefoxAddressMarker);
    if (pos == std::string::npos) continue;
    const std::string address = ValueAfter(text, pos, kFirefoxAddressMarker);
    text.erase(0, pos + kFirefoxAddressMarker.size() + address.size());

    // The id names a file in the profile's "extensions" folder; an id that
    // would lead out of it, or that a record cannot hold, is not followed.
    if (id.find_first_of("\\/:;") != std::string::npos) continue;
    const std::string file = folderText + "extensions\\" + id + ".xpi";
    if (file.find(';') != std::string::npos) continue;
    if (!context.platform.files.FileExists(file)) continue;
    context.state.addonList.Add(
        AddonLine(name, "Firefox", file, FileDateText(context, file), address, "file"));
  }
  return true;
}

void WalkAddonFolder(AppContext& context, std::string_view folder, std::string_view mask, bool recurse,
                     Browser browser) {
  const std::string folderText = WithTrailingBackslash(folder);
  auto listing = context.platform.files.List(folderText + std::string(mask));
  if (!listing) return;

  DirectoryEntry entry;
  while (listing->Next(&entry) == ListingStatus::kEntry) {
    context.view.pump.ProcessPendingMessages();
    if (entry.IsDirectory()) {
      if (entry.name == "." || entry.name == "..") continue;
      // A junction or link may lead back up the tree.
      if (recurse && !entry.IsReparsePoint()) {
        WalkAddonFolder(context, folderText + entry.name, mask, true, browser);
      }
      continue;
    }
    context.view.sb1.SetText(folderText + entry.name);
    if (browser == Browser::kChrome) {
      CheckChromeFile(context, folderText, entry.name);
    } else if (CheckFirefoxFile(context, folderText, entry.name)) {
      return;
    }
  }
}

}  // namespace

std::string AddonName(std::string_view addonLine) {
  return std::string(addonLine.substr(0, addonLine.find('=')));
}

void CollectAddons(AppContext& context) {
  StringList& addons = context.state.addonList;
  addons.SetSorted(true);
  addons.Clear();
  ScanChromeFolder(context, LocalAppDataFolder(context.platform.registry) + "\\Google\\Chrome", "*.*", true);
  ScanFirefoxFolder(context, SpecialFolder(context.platform.system, csidl::kAppData) + "\\Mozilla\\Firefox", "*.*",
                    true);
}

void ScanChromeFolder(AppContext& context, std::string_view folder, std::string_view mask, bool recurse) {
  WalkAddonFolder(context, folder, mask, recurse, Browser::kChrome);
}

void ScanFirefoxFolder(AppContext& context, std::string_view folder, std::string_view mask, bool recurse) {
  WalkAddonFolder(context, folder, mask, recurse, Browser::kFirefox);
}

std::string ScoreAddon(const Definitions& definitions, std::string_view addonLine, AddonScoring scoring) {
  const std::string name = AddonName(addonLine);
  const std::string browser = SplitField(addonLine, 1, U';');
  const std::string address = SplitField(addonLine, 4, U';');
  const std::string hitWord = scoring == AddonScoring::kPage ? "ADW." : "MAL.";

  std::string status = scoring == AddonScoring::kPage ? "Ok" : "";
  std::string_view storeDomain;
  if (browser == "Chrome") {
    storeDomain = kChromeStoreDomain;
  } else if (browser == "Firefox") {
    storeDomain = kFirefoxStoreDomain;
  } else {
    return status;
  }
  if (address.find(storeDomain) == std::string::npos) status = "Riskware";
  // The status names the add-on, never the tag, even for a hit in the address.
  if (!definitions.MatchTag(name).empty() || !definitions.MatchTag(address).empty()) status = hitWord + name;

  std::erase(status, ' ');
  return status;
}

void CheckAddons(AppContext& context) {
  CollectAddons(context);
  EngineState& state = context.state;
  MainView& view = context.view;

  // A copy: the pump below may run a page refresh that rebuilds AddonList.
  const std::vector<std::string> lines = state.addonList.Lines();
  for (const std::string& line : lines) {
    view.pump.ProcessPendingMessages();
    ++state.checkedCount;
    view.label2.SetText(std::to_string(state.checkedCount));
    const std::string name = AddonName(line);
    view.sb1.SetText("Checking Addon " + name);

    const std::string status = ScoreAddon(state.definitions, line, AddonScoring::kScan);
    if (status.empty()) continue;

    ++state.foundCount;
    view.label6.SetText(std::to_string(state.foundCount));
    state.foundList.Add(std::to_string(view.list1.RowCount()) + ";[addon]" + line);
    AddProgressLine(context, ": " + SplitField(line, 1, U';') + " Malware Addon (" + status + ") -> " + name +
                                 " -> No action taken.");
    const int row = view.list1.AddRow(status);
    view.list1.SetSubItem(row, 1, "Malware Addon (" + status + ") ");
    view.list1.SetChecked(row, true);
  }
}

void RefreshAddons(AppContext& context) {
  CollectAddons(context);
  ListViewPort& rows = context.view.badoList;
  rows.Clear();

  // A copy: the pump below may run another refresh that rebuilds AddonList.
  const std::vector<std::string> lines = context.state.addonList.Lines();
  for (const std::string& line : lines) {
    context.view.pump.ProcessPendingMessages();
    const std::string status = ScoreAddon(context.state.definitions, line, AddonScoring::kPage);
    const int row = rows.AddRow(AddonName(line));
    rows.SetSubItem(row, 1, SplitField(line, 1, U';'));
    rows.SetSubItem(row, 2, SplitField(line, 3, U';'));
    rows.SetSubItem(row, 3, status);
  }

  context.view.label70.SetText("Browser Add-ons (" + std::to_string(lines.size()) + ")");
  context.view.sb1.SetText(kApplicationTitle);
}

}  // namespace veltrane
