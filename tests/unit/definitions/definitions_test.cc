#include "definitions/definitions.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/fake/file_system_fake.h"

namespace veltrane {
namespace {

constexpr const char* kFolder = "C:\\Users\\x\\AppData\\Roaming\\Orlenvik\\Veltrane\\Settings\\";

std::string InFolder(const char* name) { return std::string(kFolder) + name; }

TEST(DefinitionsTest, LoadsWholeLinesSortedWithoutDuplicates) {
  FakeFileSystem fs;
  fs.AddFile(InFolder("maltag.dat"), "toolbar\r\nSearchProtect\nTOOLBAR\r\rfoo bar \r\n");
  fs.AddFile(InFolder("maltagEx.dat"), "microsoft");
  Definitions definitions;
  ASSERT_TRUE(definitions.Load(fs, kFolder).ok());
  EXPECT_EQ(definitions.Tags().Lines(), (std::vector<std::string>{"", "foo bar ", "SearchProtect", "toolbar"}));
  EXPECT_EQ(definitions.Exclusions().Lines(), (std::vector<std::string>{"microsoft"}));
  EXPECT_EQ(definitions.MatchTag("SEARCHPROTECT.EXE"), "searchprotect");
  EXPECT_EQ(definitions.MatchTag("Microsoft Toolbar"), "");
  EXPECT_EQ(definitions.MatchFolderPath("c:\\users\\x\\appdata\\roaming\\toolbarx\\"),
            "c:\\users\\x\\appdata\\roaming\\toolbarx");
  EXPECT_EQ(definitions.MatchTagWithExtension("c:\\toolbar\\tb.dll").extension, ".dll");
}

TEST(DefinitionsTest, ReadsWindows1252Files) {
  FakeFileSystem fs;
  fs.AddFile(InFolder("maltag.dat"), "CAF\xC9\r\n");  // not UTF-8: taken as Windows-1252
  fs.AddFile(InFolder("maltagEx.dat"), "");
  Definitions definitions;
  ASSERT_TRUE(definitions.Load(fs, kFolder).ok());
  EXPECT_EQ(definitions.MatchTag("Grand caf\xC3\xA9"), "caf\xC3\xA9");
}

TEST(DefinitionsTest, MissingOrUnreadableTagFileFailsAndKeepsBothLists) {
  for (const bool present : {false, true}) {
    FakeFileSystem fs;
    if (present) {
      fs.AddFile(InFolder("maltag.dat"), "new\r\n");
      fs.MakeUnreadable(InFolder("maltag.dat"));
    }
    fs.AddFile(InFolder("maltagEx.dat"), "newex\r\n");
    Definitions definitions;
    definitions.ReplaceTags({"old"});
    definitions.ReplaceExclusions({"oldex"});
    const Status status = definitions.Load(fs, kFolder);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error(), "Cannot open file " + InFolder("maltag.dat"));
    EXPECT_EQ(definitions.Tags().Lines(), std::vector<std::string>{"old"});
    EXPECT_EQ(definitions.Exclusions().Lines(), std::vector<std::string>{"oldex"});  // maltagEx.dat not read
  }
}

TEST(DefinitionsTest, MissingExclusionFileFailsAfterTheTagsWereReplaced) {
  FakeFileSystem fs;
  fs.AddFile(InFolder("maltag.dat"), "new\r\n");
  Definitions definitions;
  definitions.ReplaceExclusions({"oldex"});
  const Status status = definitions.Load(fs, kFolder);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error(), "Cannot open file " + InFolder("maltagEx.dat"));
  EXPECT_EQ(definitions.Tags().Lines(), std::vector<std::string>{"new"});
  EXPECT_EQ(definitions.Exclusions().Lines(), std::vector<std::string>{"oldex"});
}

TEST(DefinitionsTest, ReplacedListsAreSortedAndMatchedAtOnce) {
  Definitions definitions;
  definitions.ReplaceTags({"zeta", "Alpha", "ALPHA"});
  EXPECT_EQ(definitions.Tags().Lines(), (std::vector<std::string>{"Alpha", "zeta"}));
  EXPECT_EQ(definitions.MatchTag("my alpha"), "alpha");
  definitions.ReplaceExclusions({"my "});
  EXPECT_EQ(definitions.MatchTag("my alpha"), "");
}

}  // namespace
}  // namespace veltrane
