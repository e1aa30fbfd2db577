#include "scanners/browser_addons.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/constants.h"
#include "definitions/fields.h"
#include "platform/fake/platform_fake.h"
#include "platform/fake/ui_fake.h"

namespace veltrane {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

const std::string kLocal = "C:\\Users\\User\\AppData\\Local";
const std::string kChromeData = kLocal + "\\Google\\Chrome\\User Data";
const std::string kProfiles = "C:\\Users\\User\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles";
const std::string kStore = "https://clients2.google.com/service/update2/crx";
const std::string kAmo = "https://addons.mozilla.org/firefox/downloads/file/1/a.xpi";
// The fake file system's default file time, in the fake clock's short date.
const std::string kDate = "01.01.2026";

std::string Manifest(const std::string& name, const std::string& updateUrl = "") {
  std::string text = "{\r\n   \"manifest_version\": 2,\r\n   \"name\": \"" + name + "\",\r\n";
  if (!updateUrl.empty()) text += "   \"update_url\": \"" + updateUrl + "\",\r\n";
  return text + "   \"version\": \"1.0\"\r\n}\r\n";
}

struct FirefoxAddon {
  std::string id;
  std::string name;
  std::string source;
};

std::string AddonsJson(const std::vector<FirefoxAddon>& addons) {
  std::string text = "{\"schema\":6,\"addons\":[";
  for (const auto& addon : addons) {
    text += "{\"id\":\"" + addon.id + "\",\"syncGUID\":\"{0}\",\"name\":\"" + addon.name +
            "\",\"type\":\"extension\",\"sourceURI\":\"" + addon.source + "\"},";
  }
  return text + "]}";
}

// A walk that follows a junction loop would run until the path overflows;
// this ends it early as a test failure.
void StopEndlessWalk(int call) {
  if (call > 10000) throw std::runtime_error("the walk does not end: it entered a junction loop");
}

class BrowserAddonsTest : public ::testing::Test {
 protected:
  BrowserAddonsTest() {
    state.definitions.ReplaceTags({"toolbar", "searchy"});
    state.definitions.ReplaceExclusions({"microsoft"});
    fake.registry.SetString(RegistryRoot::kCurrentUser,
                            "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                            "Local AppData", kLocal);
  }

  // Returns the extension's own folder (the line's path).
  std::string AddChromeExtension(const std::string& profile, const std::string& id, const std::string& manifest) {
    const std::string folder = kChromeData + "\\" + profile + "\\Extensions\\" + id;
    fake.files.AddFile(folder + "\\1.0_0\\manifest.json", manifest);
    return folder;
  }

  // Writes the profile's addons.json and an .xpi file for each id given.
  std::string AddFirefoxProfile(const std::string& profile, const std::vector<FirefoxAddon>& addons,
                                const std::vector<std::string>& xpiIds) {
    const std::string folder = kProfiles + "\\" + profile;
    fake.files.AddFile(folder + "\\addons.json", AddonsJson(addons));
    for (const auto& id : xpiIds) fake.files.AddFile(folder + "\\extensions\\" + id + ".xpi", "PK");
    return folder;
  }

  FakePlatform fake;
  FakeMainView window;
  EngineState state;
  AppContext context{fake.platform(), window.view(), state};
};

TEST_F(BrowserAddonsTest, ChromeManifestsAreReadAsWritten) {
  const std::string good = AddChromeExtension("Default", "aaaa", Manifest("Good Helper", kStore));
  AddChromeExtension("Default", "bbbb", "{\"name\":\"No Blank\", \"update_url\": \"" + kStore + "\"}");
  AddChromeExtension("Default", "cccc", Manifest("__MSG_appName__", kStore));
  AddChromeExtension("Default", "dddd", Manifest("No Update Url"));
  // Not UTF-8: read as Windows-1252.
  const std::string latin = AddChromeExtension("Default", "eeee", Manifest("Caf\xE9 Tabs", kStore));
  // A manifest outside any "extensions" folder is not read.
  fake.files.AddFile(kChromeData + "\\Default\\Other\\manifest.json", Manifest("Stray", kStore));

  CollectAddons(context);

  EXPECT_THAT(state.addonList.Lines(),
              ElementsAre("Caf\xC3\xA9 Tabs=;Chrome;" + latin + ";" + kDate + ";" + kStore + ";dir;",
                          "Good Helper=;Chrome;" + good + ";" + kDate + ";" + kStore + ";dir;",
                          "No Update Url=;Chrome;;;;dir;"));
}

TEST_F(BrowserAddonsTest, FirefoxAddOnsNeedTheirXpiFile) {
  const std::string profile = AddFirefoxProfile(
      "abcd.default",
      {{"store@x", "Store Addon", kAmo}, {"gone@x", "Missing Xpi", kAmo}, {"side@x", "Side Loaded", "file:///c:/s.xpi"}},
      {"store@x", "side@x"});

  CollectAddons(context);

  EXPECT_THAT(state.addonList.Lines(),
              ElementsAre("Side Loaded=;Firefox;" + profile + "\\extensions\\side@x.xpi;" + kDate +
                              ";file:///c:/s.xpi;file;",
                          "Store Addon=;Firefox;" + profile + "\\extensions\\store@x.xpi;" + kDate + ";" + kAmo +
                              ";file;"));
}

TEST_F(BrowserAddonsTest, TwoProfilesGiveTwoLinesAndEqualLinesOne) {
  const std::string first = AddChromeExtension("Default", "aaaa", Manifest("Same", kStore));
  const std::string second = AddChromeExtension("Profile 1", "aaaa", Manifest("Same", kStore));
  const std::string one = AddFirefoxProfile("one.default", {{"s@x", "Fox", kAmo}}, {"s@x"});
  const std::string two = AddFirefoxProfile("two.default", {{"s@x", "Fox", kAmo}}, {"s@x"});
  // The same add-on twice in one profile's file is one line.
  fake.files.AddFile(one + "\\addons.json", AddonsJson({{"s@x", "Fox", kAmo}, {"s@x", "Fox", kAmo}}));

  CollectAddons(context);

  EXPECT_THAT(state.addonList.Lines(),
              UnorderedElementsAre("Fox=;Firefox;" + one + "\\extensions\\s@x.xpi;" + kDate + ";" + kAmo + ";file;",
                                   "Fox=;Firefox;" + two + "\\extensions\\s@x.xpi;" + kDate + ";" + kAmo + ";file;",
                                   "Same=;Chrome;" + first + ";" + kDate + ";" + kStore + ";dir;",
                                   "Same=;Chrome;" + second + ";" + kDate + ";" + kStore + ";dir;"));
}

// Removal deletes the path in the line's third ";"-ended field: nothing taken
// from a description file or a folder name may shift the fields or point
// that path elsewhere.
TEST_F(BrowserAddonsTest, DescriptionTextCannotMisdirectRemoval) {
  const std::string tricky =
      AddChromeExtension("Default", "aaaa", Manifest("Evil;Chrome;C:\\\\Users\\\\User;x=y", kStore + ";dir"));
  AddChromeExtension("Odd;Profile", "bbbb", Manifest("In Odd Folder", kStore));
  // An id is a file name in the profile's "extensions" folder, never a path.
  AddFirefoxProfile("p.default", {{"../../escape", "Escaper", kAmo}, {"semi;colon", "Shifter", kAmo}},
                    {"semi;colon"});
  fake.files.AddFile(kProfiles + "\\escape.xpi", "PK");

  CollectAddons(context);

  ASSERT_EQ(state.addonList.Count(), 1);
  const std::string& line = state.addonList[0];
  EXPECT_EQ(AddonName(line), "EvilChromeC:\\\\Users\\\\Userxy");
  EXPECT_EQ(SplitField(line, 2, U';'), tricky);
  EXPECT_EQ(SplitField(line, 4, U';'), kStore + "dir");
  EXPECT_EQ(SplitField(line, 5, U';'), "dir");
}

// Removal takes the extension's folder away whole: the parent of the folder
// holding the manifest, which for a stray manifest is the extensions folder
// itself or the browser profile.
TEST_F(BrowserAddonsTest, StrayManifestNeverNamesAProfileFolder) {
  const std::string extensions = kChromeData + "\\Default\\Extensions";
  fake.files.AddFile(extensions + "\\manifest.json", Manifest("In Extensions", "http://evil.example"));
  fake.files.AddFile(extensions + "\\ffff\\manifest.json", Manifest("In Id Folder", "http://evil.example"));
  fake.files.AddFile(extensions + "\\gggg\\manifest.json", Manifest("Id Folder Without Url"));

  CollectAddons(context);

  EXPECT_THAT(state.addonList.Lines(), ElementsAre("Id Folder Without Url=;Chrome;;;;dir;"));
}

TEST_F(BrowserAddonsTest, WalksDoNotEnterJunctions) {
  const std::string folder = AddChromeExtension("Default", "aaaa", Manifest("Real", kStore));
  // A loop back up the tree, and a second way into an extension folder.
  fake.files.AddJunction(kChromeData + "\\Default\\Extensions\\aaaa\\1.0_0\\loop", kChromeData);
  fake.files.AddFile("C:\\Elsewhere\\Extensions\\x\\1\\manifest.json", Manifest("Through Link", kStore));
  fake.files.AddJunction(kChromeData + "\\Default\\Linked", "C:\\Elsewhere");
  AddFirefoxProfile("p.default", {}, {});
  fake.files.AddJunction(kProfiles + "\\a-loop", kProfiles);
  window.pump.SetHook(StopEndlessWalk);

  CollectAddons(context);

  EXPECT_THAT(state.addonList.Lines(), ElementsAre("Real=;Chrome;" + folder + ";" + kDate + ";" + kStore + ";dir;"));
}

TEST(AddonScoreTest, PageAndScanStatuses) {
  Definitions definitions;
  definitions.ReplaceTags({"toolbar", "searchy"});
  definitions.ReplaceExclusions({"microsoft"});
  struct Case {
    std::string line;
    std::string page;
    std::string scan;
  };
  const std::string amo = "https://addons.mozilla.org/x";
  const Case cases[] = {
      {"Clean=;Chrome;C:\\e;d;" + kStore + ";dir;", "Ok", ""},
      {"Clean=;Chrome;C:\\e;d;http://evil.example/crx;dir;", "Riskware", "Riskware"},
      {"Clean=;Chrome;;;;dir;", "Riskware", "Riskware"},
      {"Clean=;Chrome;C:\\e;d;https://CLIENTS2.GOOGLE.COM/crx;dir;", "Riskware", "Riskware"},
      {"Clean=;Chrome;C:\\e;d;" + amo + ";dir;", "Riskware", "Riskware"},
      {"My Toolbar Helper=;Chrome;C:\\e;d;" + kStore + ";dir;", "ADW.MyToolbarHelper", "MAL.MyToolbarHelper"},
      {"My Toolbar Helper=;Chrome;C:\\e;d;http://evil.example;dir;", "ADW.MyToolbarHelper", "MAL.MyToolbarHelper"},
      {"Plain Tabs=;Firefox;C:\\f.xpi;d;http://searchy.example/p.xpi;file;", "ADW.PlainTabs", "MAL.PlainTabs"},
      {"Microsoft Toolbar=;Chrome;C:\\e;d;" + kStore + ";dir;", "Ok", ""},
      {"Fox=;Firefox;C:\\f.xpi;d;" + amo + ";file;", "Ok", ""},
      {"Fox=;Firefox;C:\\f.xpi;d;" + kStore + ";file;", "Riskware", "Riskware"},
      {"Toolbar=;Opera;C:\\o;d;http://evil.example;dir;", "Ok", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(ScoreAddon(definitions, c.line, AddonScoring::kPage), c.page);
    EXPECT_EQ(ScoreAddon(definitions, c.line, AddonScoring::kScan), c.scan);
  }
}

TEST_F(BrowserAddonsTest, CheckRecordsEverySuspiciousAddonAgainstItsRow) {
  AddChromeExtension("Default", "aaaa", Manifest("Good Helper", kStore));
  const std::string risky = AddChromeExtension("Default", "bbbb", Manifest("Odd Tabs", "http://evil.example/crx"));
  AddFirefoxProfile("p.default", {{"t@x", "Super Toolbar", kAmo}}, {"t@x"});
  // Rows and counts of the scanners that ran before.
  window.list1.AddRow("PUP.earlier");
  state.foundCount = 1;
  state.checkedCount = 40;

  CheckAddons(context);

  const std::string riskyLine = "Odd Tabs=;Chrome;" + risky + ";" + kDate + ";http://evil.example/crx;dir;";
  ASSERT_EQ(state.foundList.Count(), 2);
  EXPECT_EQ(state.foundList[0], "1;[addon]" + riskyLine);
  EXPECT_THAT(state.scanLog.Lines(),
              ElementsAre("23:55:48: Chrome Malware Addon (Riskware) -> Odd Tabs -> No action taken.",
                          "23:55:48: Firefox Malware Addon (MAL.SuperToolbar) -> Super Toolbar -> No action taken."));
  for (const std::string& record : state.foundList) {
    const int row = std::stoi(SplitField(record, 0, U';'));
    const std::string status = row == 1 ? "Riskware" : "MAL.SuperToolbar";
    EXPECT_EQ(window.list1.Caption(row), status);
    EXPECT_EQ(window.list1.SubItem(row, 1), "Malware Addon (" + status + ") ");
    EXPECT_TRUE(window.list1.IsChecked(row));
  }
  EXPECT_EQ(window.list1.RowCount(), 3);
  EXPECT_EQ(state.foundCount, 3);
  EXPECT_EQ(window.label6.Text(), "3");
  EXPECT_EQ(state.checkedCount, 43);
  EXPECT_EQ(window.label2.Text(), "43");
}

TEST_F(BrowserAddonsTest, FirstDetectionInAnEmptyListGetsRowZero) {
  AddChromeExtension("Default", "aaaa", Manifest("Odd Tabs"));

  CheckAddons(context);

  ASSERT_EQ(state.foundList.Count(), 1);
  EXPECT_EQ(SplitField(state.foundList[0], 0, U';'), "0");
  EXPECT_EQ(window.list1.Caption(0), "Riskware");
}

TEST_F(BrowserAddonsTest, PageShowsEveryAddonWithItsStatus) {
  AddChromeExtension("Default", "aaaa", Manifest("Good Helper", kStore));
  AddChromeExtension("Default", "bbbb", Manifest("Odd Tabs"));
  AddFirefoxProfile("p.default", {{"t@x", "Super Toolbar", kAmo}}, {"t@x"});
  window.badoList.AddRow("stale");

  RefreshAddons(context);

  std::vector<std::string> rows;
  for (const auto& row : window.badoList.Rows()) {
    std::string text = row.caption;
    for (const auto& cell : row.subItems) text += "|" + cell;
    rows.push_back(text);
  }
  EXPECT_THAT(rows, ElementsAre("Good Helper|Chrome|" + kDate + "|Ok", "Odd Tabs|Chrome||Riskware",
                                "Super Toolbar|Firefox|" + kDate + "|ADW.SuperToolbar"));
  EXPECT_EQ(window.label70.Text(), "Browser Add-ons (3)");
  EXPECT_EQ(window.sb1.Text(), kApplicationTitle);
  EXPECT_TRUE(state.foundList.Empty());
  EXPECT_TRUE(state.scanLog.Empty());
}

// While the check runs, the user may open the add-ons page, whose refresh
// rebuilds AddonList under the running loop.
TEST_F(BrowserAddonsTest, PageRefreshDuringTheCheckChangesNothingOfTheScan) {
  AddChromeExtension("Default", "aaaa", Manifest("Alpha Tabs"));
  AddChromeExtension("Default", "bbbb", Manifest("Beta Tabs"));
  bool refreshed = false;
  window.pump.SetHook([&](int) {
    if (refreshed || state.checkedCount == 0) return;
    refreshed = true;
    fake.files.Remove(kChromeData + "\\Default\\Extensions\\aaaa");
    RefreshAddons(context);
  });

  CheckAddons(context);

  ASSERT_TRUE(refreshed);
  ASSERT_EQ(state.foundList.Count(), 2);
  EXPECT_EQ(state.foundList[0], "0;[addon]Alpha Tabs=;Chrome;;;;dir;");
  EXPECT_EQ(state.foundList[1], "1;[addon]Beta Tabs=;Chrome;;;;dir;");
  EXPECT_EQ(window.badoList.RowCount(), 1);
  EXPECT_EQ(window.list1.BadIndexCalls(), 0);
}

}  // namespace
}  // namespace veltrane
