#include "scanners/registry_scan.h"

#include <cstdio>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "unit/scanners/scan_fixture.h"

namespace veltrane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;
constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;

class RegistryScanTest : public ::testing::Test, protected ScanFixture {};

TEST_F(RegistryScanTest, AValueWhoseNameAndTextMatchGivesTheNameHitThenTheDataHit) {
  fake.registry.SetString(kUser, "Software\\Run", "toolbar.exe", "c:\\bin\\searchbar.exe /s");

  ScanRegistryTree(context, kUser, "Software");

  EXPECT_THAT(state.foundList.Lines(),
              ElementsAre("0;[r]1,Software\\Run->toolbar.exe;PUP.toolbar;;;;",
                          "1;[rv]1,Software\\Run->toolbar.exe->c:\\bin\\searchbar.exe /s;PUP.searchbar;;;;"));
  EXPECT_THAT(LogTexts(),
              ElementsAre(": Infected registry key (PUP.toolbar) HKEY_CURRENT_USER\\Software\\Run->toolbar.exe"
                          " -> No action taken.",
                          ": Infected registry key (PUP.searchbar) HKEY_CURRENT_USER\\Software\\Run->toolbar.exe"
                          "->c:\\bin\\searchbar.exe /s -> No action taken."));
  EXPECT_THAT(Rows(), ElementsAre("PUP.toolbar | HKEY_CURRENT_USER\\Software\\Run\\toolbar.exe",
                                  "PUP.searchbar | HKEY_CURRENT_USER\\Software\\Run\\toolbar.exe"));
  EXPECT_TRUE(window.list1.Rows()[0].checked && window.list1.Rows()[1].checked);
  EXPECT_EQ(window.list1.RowsAddedOutsideUpdate(), 0);
  EXPECT_EQ(window.list1.UpdateDepth(), 0);
  EXPECT_EQ(state.foundCount, 2);
  EXPECT_EQ(window.label6.Text(), "2");
}

// The walk keeps the texts that may match and matches them in batches: the
// records still come in the walk's order (a subkey's name before what lies
// below it, one value before the next) over many batches, some of which end
// between two values of a key, and some on a long value that fills a
// batch's room alone.
TEST_F(RegistryScanTest, RecordsComeInTheWalksOrderOverManyBatches) {
  std::vector<std::string> expected;
  int row = 0;
  // Now and then a value long enough to fill a batch's room on its own.
  const std::string longValue = "c:\\searchbar.exe " + std::string(1100000, 'x');
  int values = 0;
  for (int i = 0; i < 1500; ++i) {
    char number[8];
    std::snprintf(number, sizeof number, "%04d", i);
    const std::string key = std::string("Software\\K") + number + (i % 3 == 0 ? ".toolbar.dll" : "");
    fake.registry.SetString(kUser, key, "a", i % 2 == 0 ? "c:\\searchbar.exe" : "c:\\clean.exe");
    if (i % 400 == 7) fake.registry.SetString(kUser, key, "b", longValue);
    fake.registry.SetString(kUser, key, "toolbar.exe", "searchbar without extension");
    values += i % 400 == 7 ? 3 : 2;
    if (i % 3 == 0) expected.push_back(std::to_string(row++) + ";[rk]1," + key + ";PUP.toolbar;;;;");
    if (i % 2 == 0) expected.push_back(std::to_string(row++) + ";[rv]1," + key + "->a->c:\\searchbar.exe;PUP.searchbar;;;;");
    if (i % 400 == 7) expected.push_back(std::to_string(row++) + ";[rv]1," + key + "->b->" + longValue + ";PUP.searchbar;;;;");
    expected.push_back(std::to_string(row++) + ";[r]1," + key + "->toolbar.exe;PUP.toolbar;;;;");
  }

  ScanRegistryTree(context, kUser, "Software");

  EXPECT_EQ(state.foundList.Lines(), expected);
  EXPECT_EQ(state.foundCount, row);
  EXPECT_EQ(window.label6.Text(), std::to_string(row));
  EXPECT_EQ(state.checkedCount, 1500 + values);
}

TEST_F(RegistryScanTest, TheRowIndexOfEachRecordIsItsRow) {
  window.list1.AddRow("a folder found before");
  fake.registry.SetString(kUser, "Software\\A", "x", "toolbar.dll");
  fake.registry.SetString(kUser, "Software\\B", "y", "searchbar.exe");

  ScanRegistryTree(context, kUser, "Software");

  ASSERT_EQ(state.foundList.Count(), 2);
  EXPECT_TRUE(state.foundList[0].starts_with("1;[rv]1,Software\\A->x->"));
  EXPECT_TRUE(state.foundList[1].starts_with("2;[rv]1,Software\\B->y->"));
  EXPECT_EQ(window.list1.Caption(1), "PUP.toolbar");
  EXPECT_EQ(window.list1.Caption(2), "PUP.searchbar");
}

TEST_F(RegistryScanTest, OnlyStringValuesAreTestedButEveryValueIsCounted) {
  fake.registry.SetDword(kUser, "Software\\Vendor", "toolbar.exe", 1);
  fake.registry.SetMultiString(kUser, "Software\\Vendor", "searchbar.exe", {"toolbar.exe"});
  fake.registry.SetExpandString(kUser, "Software\\Vendor", "Path", "%ProgramFiles%\\searchbar.exe");
  fake.registry.SetString(kUser, "Software\\Vendor", "Name", "toolbar without extension");

  ScanRegistryTree(context, kUser, "Software\\Vendor");

  EXPECT_THAT(state.foundList.Lines(),
              ElementsAre("0;[rv]1,Software\\Vendor->Path->%ProgramFiles%\\searchbar.exe;PUP.searchbar;;;;"));
  EXPECT_EQ(state.checkedCount, 4);
  EXPECT_EQ(window.label2.Text(), "4");
}

TEST_F(RegistryScanTest, AMatchingSubkeyIsReportedAndStillWalkedFromTheRoot) {
  fake.registry.SetString(kUser, "toolbar.exe\\Settings", "Home", "http://searchbar.com/");

  ScanRegistryTree(context, kUser, "");

  EXPECT_THAT(state.foundList.Lines(),
              ElementsAre("0;[rk]1,toolbar.exe;PUP.toolbar;;;;",
                          "1;[rv]1,toolbar.exe\\Settings->Home->http://searchbar.com/;PUP.searchbar;;;;"));
  EXPECT_THAT(LogTexts(), ElementsAre(": Infected registry key (PUP.toolbar) HKEY_CURRENT_USER->toolbar.exe"
                                      " -> No action taken.",
                                      ": Infected registry key (PUP.searchbar) HKEY_CURRENT_USER\\toolbar.exe"
                                      "\\Settings->Home->http://searchbar.com/ -> No action taken."));
  EXPECT_EQ(window.list1.SubItem(0, 1), "HKEY_CURRENT_USER\\toolbar.exe");
  EXPECT_THAT(window.sb1.History(), ElementsAre("Checking Registry ", "Checking Registry toolbar.exe",
                                                "Checking Registry toolbar.exe\\Settings"));
}

TEST_F(RegistryScanTest, TheDefaultValueGivesTwoArrowsInARow) {
  fake.registry.SetString(kUser, "Software\\Classes\\x", "", "c:\\searchbar\\open.exe");

  ScanRegistryTree(context, kUser, "Software\\Classes");

  EXPECT_THAT(state.foundList.Lines(),
              ElementsAre("0;[rv]1,Software\\Classes\\x->->c:\\searchbar\\open.exe;PUP.searchbar;;;;"));
  EXPECT_EQ(window.list1.SubItem(0, 1), "HKEY_CURRENT_USER\\Software\\Classes\\x\\");
}

TEST_F(RegistryScanTest, AnExcludedKeyIsSkippedWithEverythingBelowIt) {
  fake.registry.SetString(kUser, "Software\\Trusted\\Run", "toolbar.exe", "searchbar.exe");
  fake.registry.SetString(kUser, "Software\\Trusted", "searchbar.exe", "toolbar.exe");
  fake.registry.SetString(kUser, "Software\\Other", "toolbar.exe", "");

  ScanRegistryTree(context, kUser, "Software");

  EXPECT_THAT(state.foundList.Lines(), ElementsAre("0;[r]1,Software\\Other->toolbar.exe;PUP.toolbar;;;;"));
  // Other, Trusted (both as subkeys of Software) and Other's value.
  EXPECT_EQ(state.checkedCount, 3);
}

// A subkey's path may hold an exclusion that begins in its parent's clean
// path, as far back as the longest exclusion reaches, and ends in the
// subkey's part.
TEST_F(RegistryScanTest, AnExclusionThatEndsInTheSubkeysNameSkipsIt) {
  state.definitions.ReplaceExclusions({"trusted", "oftware\\abc\\"});
  fake.registry.SetString(kUser, "Software\\Abc\\De", "toolbar.exe", "");
  fake.registry.SetString(kUser, "Software\\Abc", "searchbar.exe", "");

  ScanRegistryTree(context, kUser, "Software");

  EXPECT_THAT(state.foundList.Lines(), ElementsAre("0;[r]1,Software\\Abc->searchbar.exe;PUP.searchbar;;;;"));
}

TEST_F(RegistryScanTest, AbortStopsTheWalkBeforeTheNextItemAndKeepsWhatWasFound) {
  fake.registry.SetString(kUser, "Software\\A", "toolbar.exe", "");
  fake.registry.SetString(kUser, "Software\\B", "toolbar.exe", "");
  fake.registry.SetString(kUser, "Software\\C", "toolbar.exe", "");
  // 1: subkey A, 2: A's value, 3: subkey B (still walked), 4: never reached.
  AbortAtPumpCall(3);

  ScanRegistryTree(context, kUser, "Software");

  EXPECT_THAT(state.foundList.Lines(), ElementsAre("0;[r]1,Software\\A->toolbar.exe;PUP.toolbar;;;;"));
  EXPECT_EQ(window.pump.Calls(), 3);
}

TEST_F(RegistryScanTest, EachMachineTreeIsWalkedInItsViewAndTheRecordNamesIt) {
  // A 32-bit process: its default view would show the 32-bit tree twice.
  fake.registry.SetDefaultView(RegistryView::k32);
  fake.registry.SetString(kMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "a", "toolbar64.exe");
  fake.registry.SetString(kMachine, "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", "b",
                          "toolbar32.exe");

  ScanRegistryTree(context, kMachine, "Software\\Microsoft\\Windows\\CurrentVersion", RegistryView::k64);
  ScanRegistryTree(context, kMachine, "Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion",
                   RegistryView::k32);

  EXPECT_THAT(state.foundList.Lines(),
              ElementsAre("0;[rv]2,Software\\Microsoft\\Windows\\CurrentVersion\\Run->a->toolbar64.exe;"
                          "PUP.toolbar;64;;;",
                          "1;[rv]2,Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run->b->toolbar32.exe;"
                          "PUP.toolbar;32;;;"));
  EXPECT_EQ(RecordRegistryView(state.foundList[0]), RegistryView::k64);
  EXPECT_EQ(RecordRegistryView(state.foundList[1]), RegistryView::k32);
}

TEST(RecordRegistryViewTest, ReadsTheViewFieldFromTheEnd) {
  EXPECT_EQ(RecordRegistryView("3;[r]1,Software\\Run->toolbar.exe;PUP.toolbar;;;;"), RegistryView::kDefault);
  EXPECT_EQ(RecordRegistryView("3;[rv]2,Software\\Run->a->x;toolbar.exe;PUP.toolbar;32;;;"), RegistryView::k32);
  EXPECT_EQ(RecordRegistryView("3;[rk]2,Software\\a;b\\toolbar.exe;PUP.toolbar;64;;;"), RegistryView::k64);
  EXPECT_EQ(RecordRegistryView("3;[addon]x;"), RegistryView::kDefault);
  EXPECT_EQ(RecordRegistryView(""), RegistryView::kDefault);
}

}  // namespace
}  // namespace veltrane
