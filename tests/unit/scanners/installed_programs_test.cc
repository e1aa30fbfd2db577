#include "scanners/installed_programs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/constants.h"
#include "platform/fake/platform_fake.h"
#include "platform/fake/ui_fake.h"

namespace veltrane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr RegistryRoot kHklm = RegistryRoot::kLocalMachine;
const std::string kWowKey(kUninstallKeyWow64);
const std::string kPlainKey(kUninstallKey);

class InstalledProgramsTest : public ::testing::Test {
 protected:
  InstalledProgramsTest() {
    state.definitions.ReplaceTags({"toolbar", "searchy"});
    state.definitions.ReplaceExclusions({"microsoft"});
  }

  // An uninstall entry as stored (no view redirection).
  void AddProgram(const std::string& base, const std::string& subkey, const std::string& name,
                  const std::string& publisher = "", const std::string& version = "") {
    const std::string path = base + "\\" + subkey;
    fake.registry.AddKey(kHklm, path);
    if (!name.empty()) fake.registry.SetString(kHklm, path, "DisplayName", name);
    if (!publisher.empty()) fake.registry.SetString(kHklm, path, "Publisher", publisher);
    if (!version.empty()) fake.registry.SetString(kHklm, path, "DisplayVersion", version);
    fake.registry.SetString(kHklm, path, "InstallLocation", "C:\\Program Files\\" + subkey);
    fake.registry.SetString(kHklm, path, "UninstallString", "C:\\Program Files\\" + subkey + "\\uninst.exe");
  }

  std::vector<std::string> RowTexts() {
    std::vector<std::string> rows;
    for (const auto& row : window.programsLV.Rows()) {
      std::string text = row.caption;
      for (const auto& cell : row.subItems) text += "|" + cell;
      rows.push_back(text);
    }
    return rows;
  }

  std::vector<std::string> ListedNames() {
    std::vector<std::string> names;
    for (const auto& program : state.programList) names.push_back(program.DisplayName);
    return names;
  }

  // What the scan does with the two keys.
  void ScanPrograms() {
    state.programList.Clear();
    ReadUninstallKey(context, kHklm, kUninstallKeyWow64, RegistryView::k32, true);
    ReadUninstallKey(context, kHklm, kUninstallKey, RegistryView::k64, true);
  }

  FakePlatform fake;
  FakeMainView window;
  EngineState state;
  AppContext context{fake.platform(), window.view(), state};
};

TEST_F(InstalledProgramsTest, PageListsBothKeysSortedWithStatusAndEmptyCells) {
  AddProgram(kWowKey, "{A1}", "Shared App", "Wow Corp", "1.0");
  AddProgram(kWowKey, "{B2}", "My Toolbar Helper", "Bad Inc", "2.5");
  AddProgram(kPlainKey, "{C3}", "SHARED APP", "Plain Corp", "9.9");  // same name: the first one met stays
  AddProgram(kPlainKey, "{D4}", "");                                // no DisplayName: not listed
  AddProgram(kPlainKey, "{E5}", "Microsoft Toolbar Pack", "Microsoft", "3");  // excluded: "Ok"
  AddProgram(kPlainKey, "{F6}", "Bare Tool");                       // no publisher, no version
  fake.registry.SetDword(kHklm, kPlainKey + "\\{G7}", "DisplayName", 7);  // not text: not listed

  RefreshPrograms(context);

  EXPECT_THAT(RowTexts(), ElementsAre("Bare Tool|||Ok", "Microsoft Toolbar Pack|Microsoft|3|Ok",
                                      "My Toolbar Helper|Bad Inc|2.5|ADW.toolbar", "Shared App|Wow Corp|1.0|Ok"));
  EXPECT_EQ(window.label84.Text(), "Programs And Features (4)");
  EXPECT_EQ(window.sb1.Text(), kApplicationTitle);
  EXPECT_EQ(window.programsLV.BadIndexCalls(), 0);

  // Row i is entry i, and each record knows the key and view it came from.
  ASSERT_EQ(state.programList.Count(), 4);
  const TMyPUninstall& shared = state.programList[3];
  EXPECT_EQ(shared.KeyPath, kWowKey + "\\{A1}");
  EXPECT_EQ(shared.View, RegistryView::k32);
  EXPECT_EQ(shared.RootKey, kHklm);
  EXPECT_EQ(shared.InstallLocation, "C:\\Program Files\\{A1}");
  EXPECT_EQ(shared.UninstallString, "C:\\Program Files\\{A1}\\uninst.exe");
  const TMyPUninstall& bare = state.programList[0];
  EXPECT_EQ(bare.KeyPath, kPlainKey + "\\{F6}");
  EXPECT_EQ(bare.View, RegistryView::k64);
}

// Whatever the process's bitness, 32-bit programs come from the Wow6432Node
// key and 64-bit programs from the plain key, each listed once.
TEST_F(InstalledProgramsTest, BothKindsOfProgramListedWhateverTheBuild) {
  struct Case {
    const char* label;
    RegistryView processView;
    bool singleView;  // 32-bit Windows: no Wow6432Node at all
  };
  const Case cases[] = {
      {"64-bit build", RegistryView::k64, false},
      {"32-bit build on 64-bit Windows", RegistryView::k32, false},
      {"32-bit Windows", RegistryView::k32, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FakePlatform platform;
    platform.registry.SetDefaultView(c.processView);
    platform.registry.SetSingleView(c.singleView);
    EngineState programs;
    AppContext ctx{platform.platform(), window.view(), programs};
    if (!c.singleView) {
      platform.registry.SetString(kHklm, kWowKey + "\\old", "DisplayName", "Old 32-bit Tool");
    }
    platform.registry.SetString(kHklm, kPlainKey + "\\new", "DisplayName", "New 64-bit Tool");

    RefreshPrograms(ctx);

    std::vector<std::string> names;
    for (const auto& program : programs.programList) names.push_back(program.DisplayName);
    if (c.singleView) {
      EXPECT_THAT(names, ElementsAre("New 64-bit Tool"));
    } else {
      EXPECT_THAT(names, ElementsAre("New 64-bit Tool", "Old 32-bit Tool"));
    }
  }
}

TEST_F(InstalledProgramsTest, NoEntriesGiveAnEmptyPageWithCountZero) {
  window.programsLV.AddRow("stale row");
  fake.registry.AddKey(kHklm, kPlainKey);

  RefreshPrograms(context);

  EXPECT_THAT(window.programsLV.Rows(), IsEmpty());
  EXPECT_EQ(window.label84.Text(), "Programs And Features (0)");
}

TEST_F(InstalledProgramsTest, UnreadableKeysArePassedOver) {
  AddProgram(kPlainKey, "locked", "Locked Tool");
  AddProgram(kPlainKey, "open", "Open Tool");
  fake.registry.DenyAllAccess(kHklm, kPlainKey + "\\locked");
  fake.registry.DenyAllAccess(kHklm, kWowKey);

  RefreshPrograms(context);

  EXPECT_THAT(ListedNames(), ElementsAre("Open Tool"));
}

TEST_F(InstalledProgramsTest, RefreshAfterAnAbortedScanStillLists) {
  AddProgram(kPlainKey, "a", "Alpha");
  AddProgram(kPlainKey, "b", "Beta");
  state.abortRequested = true;  // left over from an aborted scan

  RefreshPrograms(context);

  EXPECT_THAT(ListedNames(), ElementsAre("Alpha", "Beta"));
  EXPECT_EQ(window.label84.Text(), "Programs And Features (2)");
}

TEST_F(InstalledProgramsTest, ScanWalkStopsWhenAbortIsClicked) {
  AddProgram(kPlainKey, "a", "Alpha");
  AddProgram(kPlainKey, "b", "Beta");
  AddProgram(kPlainKey, "c", "Gamma");
  window.pump.SetHook([&](int call) {
    if (call == 1) state.abortRequested = true;
  });

  ScanPrograms();

  EXPECT_THAT(ListedNames(), ElementsAre("Alpha"));
}

TEST_F(InstalledProgramsTest, ScanRefillsProgramListButLeavesThePageRows) {
  AddProgram(kPlainKey, "a", "Alpha");
  RefreshPrograms(context);
  AddProgram(kWowKey, "b", "Beta");

  ScanPrograms();

  EXPECT_THAT(ListedNames(), ElementsAre("Alpha", "Beta"));
  EXPECT_THAT(RowTexts(), ElementsAre("Alpha|||Ok"));
  EXPECT_EQ(window.label84.Text(), "Programs And Features (1)");
  EXPECT_TRUE(state.foundList.Empty());
  EXPECT_TRUE(state.scanLog.Empty());
  EXPECT_EQ(window.list1.RowCount(), 0);
}

TEST(RowHighlightTest, GreyForAdwareAndRiskwareStatusOnly) {
  struct Case {
    const char* status;
    bool highlighted;
  };
  const Case cases[] = {
      {"ADW.toolbar", true}, {"Riskware", true},      {"ADW.MyToolbar", true}, {"Ok", false},
      {"adw.toolbar", false}, {"RISKWARE", false},    {"MAL.MyToolbar", false}, {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsHighlightedStatus(c.status), c.highlighted) << c.status;
  }

  FakeListView list;
  const int full = list.AddRow("Bad Tool");
  list.SetSubItem(full, 1, "Publisher");
  list.SetSubItem(full, 2, "ADW.in-version-column");
  list.SetSubItem(full, 3, "ADW.toolbar");
  const int shortRow = list.AddRow("No status");
  list.SetSubItem(shortRow, 2, "Riskware");
  EXPECT_TRUE(IsHighlightedRow(list, full));
  EXPECT_FALSE(IsHighlightedRow(list, shortRow));
}

}  // namespace
}  // namespace veltrane
