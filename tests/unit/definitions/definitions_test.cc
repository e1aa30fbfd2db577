#include "definitions/definitions.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace veltrane {
namespace {

// Just enough of a file system for reading definition files.
class FileMap : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::vector<std::string> reads;

  std::unique_ptr<DirectoryListing> List(std::string_view) override { return nullptr; }
  bool FileExists(std::string_view path) override { return files.count(std::string(path)) > 0; }
  bool DirectoryExists(std::string_view) override { return false; }
  std::optional<uint32_t> Attributes(std::string_view) override { return std::nullopt; }
  bool CreateDirectory(std::string_view) override { return false; }
  std::optional<std::string> ReadFile(std::string_view path) override {
    reads.emplace_back(path);
    auto it = files.find(std::string(path));
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  bool WriteFile(std::string_view path, std::string_view bytes) override {
    files[std::string(path)] = std::string(bytes);
    return true;
  }
  bool DeleteFile(std::string_view path) override { return files.erase(std::string(path)) > 0; }
  std::optional<FileTime> LastWriteTime(std::string_view) override { return std::nullopt; }
};

constexpr const char* kFolder = "C:\\Users\\x\\AppData\\Roaming\\Orlenvik\\Veltrane\\Settings\\";

std::string InFolder(const char* name) { return std::string(kFolder) + name; }

TEST(DefinitionsTest, LoadsWholeLinesSortedWithoutDuplicates) {
  FileMap fs;
  fs.files[InFolder("maltag.dat")] = "toolbar\r\nSearchProtect\nTOOLBAR\r\rfoo bar \r\n";
  fs.files[InFolder("maltagEx.dat")] = "microsoft";
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
  FileMap fs;
  fs.files[InFolder("maltag.dat")] = "CAF\xC9\r\n";  // not UTF-8: taken as Windows-1252
  fs.files[InFolder("maltagEx.dat")] = "";
  Definitions definitions;
  ASSERT_TRUE(definitions.Load(fs, kFolder).ok());
  EXPECT_EQ(definitions.MatchTag("Grand caf\xC3\xA9"), "caf\xC3\xA9");
}

TEST(DefinitionsTest, MissingTagFileFailsAndKeepsBothLists) {
  FileMap fs;
  Definitions definitions;
  definitions.ReplaceTags({"old"});
  definitions.ReplaceExclusions({"oldex"});
  const Status status = definitions.Load(fs, kFolder);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error(), "Cannot open file " + InFolder("maltag.dat"));
  EXPECT_EQ(fs.reads, std::vector<std::string>{InFolder("maltag.dat")});  // maltagEx.dat not read
  EXPECT_EQ(definitions.Tags().Lines(), std::vector<std::string>{"old"});
  EXPECT_EQ(definitions.Exclusions().Lines(), std::vector<std::string>{"oldex"});
}

TEST(DefinitionsTest, MissingExclusionFileFailsAfterTheTagsWereReplaced) {
  FileMap fs;
  fs.files[InFolder("maltag.dat")] = "new\r\n";
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
