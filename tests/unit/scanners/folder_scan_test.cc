#include "scanners/folder_scan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "scanners/protected_folders.h"
#include "unit/scanners/scan_fixture.h"

namespace veltrane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class FolderScanTest : public ::testing::Test, protected ScanFixture {
 protected:
  void Scan(std::string_view path, bool recurse = true) {
    ScanFolder(context, ProtectedFolders::Collect(fake.system, fake.registry), path, recurse);
  }
};

TEST_F(FolderScanTest, ReportsAMatchingFolderAsRecordRowAndLogLine) {
  fake.files.AddFolder("C:\\Program Files\\SearchBarX");
  fake.files.AddFile("C:\\Program Files\\toolbar.exe");  // files are never matched
  for (int i = 0; i < 11; ++i) window.list1.AddRow("earlier");

  Scan("C:\\Program Files");

  EXPECT_THAT(state.foundFolders.Lines(), ElementsAre("11;C:\\Program Files\\SearchBarX;PUP.SearchBarX;"));
  ASSERT_EQ(window.list1.RowCount(), 12);
  const FakeListView::Row& row = window.list1.Rows()[11];
  EXPECT_EQ(row.caption, "PUP.SearchBarX");
  EXPECT_THAT(row.subItems, ElementsAre("C:\\Program Files\\SearchBarX"));
  EXPECT_TRUE(row.checked);
  EXPECT_THAT(LogTexts(), ElementsAre(": Malware Object (PUP.SearchBarX) C:\\Program Files\\SearchBarX -> No action taken."));
  EXPECT_EQ(state.foundCount, 1);
  EXPECT_EQ(window.label6.Text(), "1");
  EXPECT_EQ(window.sb1.Text(), "Checking C:\\Program Files\\SearchBarX");
}

TEST_F(FolderScanTest, AMatchingFolderIsNotEntered) {
  fake.files.AddFolder("C:\\Program Files\\SearchBarX\\ToolbarHelper");
  fake.files.AddFolder("C:\\Program Files\\Vendor\\Product\\ToolbarHelper");

  Scan("C:\\Program Files\\");

  EXPECT_THAT(Rows(), ElementsAre("PUP.SearchBarX | C:\\Program Files\\SearchBarX",
                                  "PUP.ToolbarHelper | C:\\Program Files\\Vendor\\Product\\ToolbarHelper"));
  EXPECT_THAT(state.foundFolders.Lines(),
              ElementsAre("0;C:\\Program Files\\SearchBarX;PUP.SearchBarX;",
                          "1;C:\\Program Files\\Vendor\\Product\\ToolbarHelper;PUP.ToolbarHelper;"));
}

TEST_F(FolderScanTest, CountsEveryFolderEntryWithDotAndDotDotButNoFiles) {
  for (const char* name : {"A", "B", "C"}) fake.files.AddFolder(std::string("C:\\Root\\") + name);
  fake.files.AddFile("C:\\Root\\file.txt");

  Scan("C:\\Root");

  // ".", ".." and three folders at the top; ".", ".." in each of the three.
  EXPECT_EQ(state.checkedCount, 5 + 3 * 2);
  EXPECT_EQ(window.label2.Text(), "11");
  EXPECT_EQ(state.foundCount, 0);
}

TEST_F(FolderScanTest, WithoutRecursionOnlyTheTopLevelIsExamined) {
  fake.files.AddFolder("C:\\SearchBarX");
  fake.files.AddFolder("C:\\Tools\\ToolbarY");

  Scan("C:\\", false);

  EXPECT_THAT(Rows(), ElementsAre("PUP.SearchBarX | C:\\SearchBarX"));
}

TEST_F(FolderScanTest, DoesNotEnterJunctions) {
  fake.files.AddFolder("C:\\Root\\SearchBarX");
  fake.files.AddJunction("C:\\Root\\Loop", "C:\\Root");
  AbortAtPumpCall(200);  // a walk into the loop stops here instead of overflowing

  Scan("C:\\Root");

  EXPECT_FALSE(state.abortRequested);
  EXPECT_THAT(Rows(), ElementsAre("PUP.SearchBarX | C:\\Root\\SearchBarX"));
  EXPECT_EQ(state.checkedCount, 4);  // ".", "..", Loop, SearchBarX
}

TEST_F(FolderScanTest, NamesInTheScanRootOwnPathNeverMakeADetection) {
  fake.system.SetSpecialFolder(csidl::kProfile, "C:\\Users\\ToolbarFan");
  fake.files.AddFolder("C:\\Users\\ToolbarFan\\Projects\\Notes");
  fake.files.AddFolder("C:\\Users\\ToolbarFan\\Saved Games");
  fake.files.AddFolder("C:\\Users\\ToolbarFan\\AppData\\Roaming\\SearchBarX");

  Scan("C:\\Users\\ToolbarFan");

  EXPECT_THAT(Rows(), ElementsAre("PUP.SearchBarX | C:\\Users\\ToolbarFan\\AppData\\Roaming\\SearchBarX"));
}

TEST_F(FolderScanTest, NamesOfProtectedFoldersDontCountBelowThemInADriveWalk) {
  // The Program Files folder unknown: the walk covers the whole drive.
  fake.system.SetSpecialFolder(csidl::kProfile, "C:\\Users\\ToolbarFan");
  fake.files.AddFolder("C:\\Users\\ToolbarFan\\Projects");
  fake.files.AddFolder("C:\\Users\\ToolbarFan\\Documents");
  fake.files.AddFolder("C:\\Data\\SearchBarX");

  Scan("");

  EXPECT_THAT(Rows(), ElementsAre("PUP.SearchBarX | \\Data\\SearchBarX"));
}

TEST_F(FolderScanTest, ProtectedFoldersAreNeverFoundButAreWalked) {
  state.definitions.ReplaceTags({"appdata", "downloads", "program", "searchbar", "someone", "users"});
  fake.files.AddFolder("C:\\Users\\User\\Downloads\\SearchBarX");
  fake.files.AddFolder("C:\\Users\\Someone Else\\Notes");  // another user's profile

  Scan("C:\\", true);

  EXPECT_THAT(Rows(), ElementsAre("PUP.SearchBarX | C:\\Users\\User\\Downloads\\SearchBarX"));
}

TEST_F(FolderScanTest, AnExclusionAnywhereInTheFullPathSuppressesTheMatch) {
  fake.files.AddFolder("C:\\Trusted Vendor\\SearchBarX");
  fake.files.AddFolder("C:\\Other\\SearchBarX Trusted");
  fake.files.AddFolder("C:\\Other\\ToolbarY");

  Scan("C:\\Trusted Vendor");
  Scan("C:\\Other");

  EXPECT_THAT(Rows(), ElementsAre("PUP.ToolbarY | C:\\Other\\ToolbarY"));
}

// The walk goes on below a folder whose path holds an exclusion, and
// nothing below it is found, even where the exclusion lies in the scan
// root's part of the path, which the folder names' match doesn't see.
// Below a clean folder, an exclusion may begin in the parent's path (here
// in the root's part, as far back as the longest exclusion reaches) and end
// in the child's name.
TEST_F(FolderScanTest, NothingBelowAnExcludedFolderIsFound) {
  state.definitions.ReplaceExclusions({"trusted", "c:\\ot\\p\\s"});
  fake.files.AddFolder("C:\\Trusted Vendor\\Tools\\ToolbarT");
  fake.files.AddFolder("C:\\Other\\Trusted Tools\\SearchBarZ");
  fake.files.AddFolder("C:\\Other\\Plain\\SearchBarW");
  fake.files.AddFolder("C:\\Ot\\P\\SearchBarQ");

  Scan("C:\\Trusted Vendor");
  Scan("C:\\Other");
  Scan("C:\\Ot");

  EXPECT_THAT(Rows(), ElementsAre("PUP.SearchBarW | C:\\Other\\Plain\\SearchBarW"));
}

TEST_F(FolderScanTest, StopsAtTheNextEntryOnceAbortIsRequested) {
  for (const char* name : {"A", "B", "SearchBarX"}) fake.files.AddFolder(std::string("C:\\Root\\") + name);
  AbortAtPumpCall(3);  // while "." , ".." and A are handled

  Scan("C:\\Root");

  EXPECT_THAT(Rows(), IsEmpty());
  EXPECT_EQ(window.pump.Calls(), 3);
}

TEST_F(FolderScanTest, AFailingOrDeniedListingEndsOnlyThatFolder) {
  fake.files.AddFolder("C:\\Root\\Broken\\SearchBarA");
  fake.files.AddFolder("C:\\Root\\Broken\\SearchBarB");
  fake.files.AddFolder("C:\\Root\\Denied\\SearchBarC");
  fake.files.AddFolder("C:\\Root\\Fine\\SearchBarD");
  fake.files.FailListingAfter("C:\\Root\\Broken", 3);  // ".", "..", SearchBarA
  fake.files.DenyListing("C:\\Root\\Denied");

  Scan("C:\\Root");

  EXPECT_THAT(Rows(), ElementsAre("PUP.SearchBarA | C:\\Root\\Broken\\SearchBarA",
                                  "PUP.SearchBarD | C:\\Root\\Fine\\SearchBarD"));
}

TEST(ProtectedFoldersTest, KnowsTheSystemAndUserFoldersAndWhatContainsThem) {
  FakePlatform fake;
  const ProtectedFolders folders = ProtectedFolders::Collect(fake.system, fake.registry);
  const struct {
    const char* path;
    bool isProtected;
  } cases[] = {
      {"C:\\", true},
      {"d:", true},
      {"C:\\Windows", true},
      {"c:\\WINDOWS\\", true},
      {"C:\\Windows\\Temp", false},
      {"C:\\Program Files", true},
      {"C:\\Program Files (x86)", true},
      {"C:\\Program Files\\Vendor", false},
      {"C:\\ProgramData", true},
      {"C:\\ProgramData\\Microsoft", true},  // holds the all-users Start Menu
      {"C:\\ProgramData\\Vendor", false},
      {"C:\\Users", true},
      {"C:\\Users\\User", true},
      {"C:\\Users\\Another", true},  // every profile
      {"C:\\Users\\User\\AppData", true},
      {"C:\\Users\\User\\AppData\\Roaming", true},
      {"C:\\Users\\User\\AppData\\Roaming\\Vendor", false},
      {"C:\\Users\\User\\Downloads", true},
      {"C:\\Users\\User\\Desktop\\", true},
      {"C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup", true},
      {"C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Vendor", false},
      {"C:\\Users\\Public\\Documents", true},
      {"\\Users\\User\\Documents", true},  // on the current drive
      {"\\Users\\Another", true},
      {"\\Data", false},
      {"C:\\Use", false},
      {"C:\\Windows2", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(folders.IsProtected(c.path), c.isProtected) << c.path;
}

}  // namespace
}  // namespace veltrane
