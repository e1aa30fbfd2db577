#include "platform/fake/file_system_fake.h"

#include <gtest/gtest.h>

namespace veltrane {
namespace {

struct Listed {
  std::vector<std::string> names;
  std::vector<uint32_t> attributes;
  ListingStatus end = ListingStatus::kEntry;
};

Listed ListAll(FileSystem& files, std::string_view pattern) {
  Listed result;
  auto listing = files.List(pattern);
  if (listing == nullptr) return result;
  DirectoryEntry entry;
  while ((result.end = listing->Next(&entry)) == ListingStatus::kEntry) {
    result.names.push_back(entry.name);
    result.attributes.push_back(entry.attributes);
  }
  return result;
}

using Names = std::vector<std::string>;

TEST(FakeFileSystemTest, DriveRootHasNoDotEntriesAndEntriesComeSortedAsNtfsListsThem) {
  FakeFileSystem files;
  for (const char* name : {"zz", "_under", "abc", "Zed"}) files.AddFolder(std::string("C:\\") + name);
  files.AddFile("C:\\Abd.txt", "x");
  EXPECT_EQ(ListAll(files, "C:\\*.*").names, (Names{"abc", "Abd.txt", "Zed", "zz", "_under"}));
  EXPECT_EQ(ListAll(files, "C:\\zz\\*.*").names, (Names{".", ".."}));
}

TEST(FakeFileSystemTest, MasksSelectEntriesIgnoringCase) {
  FakeFileSystem files;
  files.AddFile("C:\\D\\a.TXT");
  files.AddFile("C:\\D\\b.txt.bak");
  files.AddFile("C:\\D\\abc");
  files.AddFolder("C:\\D\\Folder.txt");
  struct Case {
    const char* mask;
    Names names;
  };
  const Case cases[] = {
      {"*", {".", "..", "a.TXT", "abc", "b.txt.bak", "Folder.txt"}},
      {"*.txt", {"a.TXT", "Folder.txt"}},
      {"a?c", {"abc"}},
      {"ABC", {"abc"}},
      {"*.none", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ListAll(files, std::string("C:\\D\\") + c.mask).names, c.names) << c.mask;
  EXPECT_EQ(files.List("C:\\D\\*.none"), nullptr);
}

TEST(FakeFileSystemTest, PathsAcceptTheUsualWindowsSpellings) {
  FakeFileSystem files;
  files.AddFile("C:\\Google\\Chrome\\x.json", "data");
  files.AddFile("D:\\Other\\y.txt", "d");
  for (const char* path : {"C:\\Google\\Chrome\\x.json", "c:/google/chrome/X.JSON", "\\Google\\Chrome\\x.json",
                           "\\\\?\\C:\\Google\\Chrome\\x.json", "C:\\Google\\\\Chrome\\x.json"}) {
    EXPECT_EQ(files.ReadFile(path), "data") << path;
  }
  EXPECT_EQ(files.ReadFile("C:\\Google\\.\\Other\\..\\Chrome\\x.json"), "data");
  EXPECT_EQ(files.ReadFile("\\\\?\\C:\\Google\\.\\Chrome\\x.json"), std::nullopt);  // taken literally
  EXPECT_EQ(files.ReadFile("Google\\Chrome\\x.json"), std::nullopt);  // relative
  EXPECT_EQ(ListAll(files, "\\*.*").names, Names{"Google"});
  files.SetCurrentDrive("D:");
  EXPECT_EQ(ListAll(files, "\\*.*").names, Names{"Other"});
  EXPECT_EQ(files.StoredPath("d:\\other\\Y.TXT"), "D:\\Other\\y.txt");
}

TEST(FakeFileSystemTest, JunctionListsItsTargetAndCanLoop) {
  FakeFileSystem files;
  files.AddFile("C:\\Users\\User\\AppData\\Roaming\\note.txt", "n");
  files.AddJunction("C:\\Users\\User\\Application Data", "C:\\Users\\User\\AppData\\Roaming");
  files.AddJunction("C:\\Loop\\Again", "C:\\Loop");
  files.AddJunction("C:\\Dangling", "C:\\Nowhere");

  const auto user = ListAll(files, "C:\\Users\\User\\*.*");
  ASSERT_EQ(user.names, (Names{".", "..", "AppData", "Application Data"}));
  EXPECT_EQ(user.attributes[3], file_attribute::kDirectory | file_attribute::kReparsePoint);
  EXPECT_EQ(ListAll(files, "C:\\Users\\User\\Application Data\\*.*").names, (Names{".", "..", "note.txt"}));
  EXPECT_EQ(files.ReadFile("C:\\Users\\User\\Application Data\\note.txt"), "n");

  // A walk that enters reparse points never ends on its own.
  EXPECT_EQ(ListAll(files, "C:\\Loop\\Again\\Again\\Again\\Again\\*").names, (Names{".", "..", "Again"}));

  EXPECT_TRUE(files.DirectoryExists("C:\\Dangling"));
  EXPECT_EQ(files.List("C:\\Dangling\\*.*"), nullptr);
  // Removing a junction leaves its target alone.
  EXPECT_TRUE(files.Remove("C:\\Users\\User\\Application Data"));
  EXPECT_TRUE(files.FileExists("C:\\Users\\User\\AppData\\Roaming\\note.txt"));
}

TEST(FakeFileSystemTest, ListingFaults) {
  FakeFileSystem files;
  files.AddFolder("C:\\Denied\\Inner");
  files.AddFile("C:\\Broken\\a");
  files.AddFile("C:\\Broken\\b");
  files.DenyListing("c:\\denied");
  files.FailListingAfter("C:\\Broken", 3);

  EXPECT_EQ(files.List("C:\\Denied\\*.*"), nullptr);
  EXPECT_TRUE(files.DirectoryExists("C:\\Denied\\Inner"));
  EXPECT_NE(files.List("C:\\Denied\\Inner\\*.*"), nullptr);

  const auto broken = ListAll(files, "C:\\Broken\\*.*");
  EXPECT_EQ(broken.names, (Names{".", "..", "a"}));
  EXPECT_EQ(broken.end, ListingStatus::kError);
}

TEST(FakeFileSystemTest, InjectedFaultsFailOnlyTheirOperation) {
  FakeFileSystem files;
  files.AddFile("C:\\F\\unreadable", "u");
  files.AddFile("C:\\F\\unwritable", "w");
  files.AddFile("C:\\F\\undeletable", "d");
  files.AddFile("C:\\F\\locked.exe", "l");
  files.MakeUnreadable("C:\\F\\unreadable");
  files.FailWrites("C:\\F\\unwritable");
  files.FailWrites("C:\\F\\new.txt");
  files.FailDelete("C:\\F\\undeletable");
  files.FailCreateDirectory("C:\\F\\NoFolder");
  files.Lock("C:\\F\\locked.exe");

  EXPECT_EQ(files.ReadFile("C:\\F\\unreadable"), std::nullopt);
  EXPECT_TRUE(files.WriteFile("C:\\F\\unreadable", "x"));
  EXPECT_FALSE(files.WriteFile("C:\\F\\unwritable", "x"));
  EXPECT_EQ(files.ReadText("C:\\F\\unwritable"), "w");
  EXPECT_FALSE(files.WriteFile("C:\\F\\new.txt", "x"));
  EXPECT_FALSE(files.Exists("C:\\F\\new.txt"));
  EXPECT_FALSE(files.DeleteFile("C:\\F\\undeletable"));
  EXPECT_TRUE(files.FileExists("C:\\F\\undeletable"));
  EXPECT_FALSE(files.CreateDirectory("C:\\F\\NoFolder"));
  EXPECT_FALSE(files.Exists("C:\\F\\NoFolder"));
  EXPECT_EQ(files.ReadFile("C:\\F\\locked.exe"), "l");
  EXPECT_FALSE(files.WriteFile("C:\\F\\locked.exe", "x"));
  EXPECT_FALSE(files.DeleteFile("C:\\F\\locked.exe"));
  EXPECT_TRUE(files.IsLockedWithin("c:\\f"));

  files.ClearFaults();
  EXPECT_TRUE(files.DeleteFile("C:\\F\\locked.exe"));
}

TEST(FakeFileSystemTest, ReadOnlyFileCannotBeWrittenOrDeleted) {
  FakeFileSystem files;
  files.AddFile("C:\\F\\ro.txt", "keep");
  files.AddFile("C:\\F\\plain.txt", "");
  ASSERT_TRUE(files.SetAttributes("C:\\F\\ro.txt", file_attribute::kReadOnly | file_attribute::kHidden));
  ASSERT_TRUE(files.SetAttributes("C:\\F\\plain.txt", 0));
  EXPECT_EQ(files.Attributes("C:\\F\\ro.txt"), file_attribute::kReadOnly | file_attribute::kHidden);
  EXPECT_EQ(files.Attributes("C:\\F\\plain.txt"), file_attribute::kNormal);
  EXPECT_FALSE(files.WriteFile("C:\\F\\ro.txt", "x"));
  EXPECT_FALSE(files.DeleteFile("C:\\F\\ro.txt"));
  EXPECT_EQ(files.ReadText("C:\\F\\ro.txt"), "keep");
}

TEST(FakeFileSystemTest, WritesTakeTheCurrentTime) {
  FakeFileSystem files;
  const FileTime early{FakeFileSystem::kDefaultTime.ticks - 1000};
  const FileTime later{FakeFileSystem::kDefaultTime.ticks + 1000};
  files.AddFile("C:\\F\\old.txt", "x", early);
  EXPECT_EQ(files.LastWriteTime("C:\\F\\old.txt"), early);
  files.SetCurrentTime(later);
  ASSERT_TRUE(files.WriteFile("C:\\F\\old.txt", "y"));
  EXPECT_EQ(files.LastWriteTime("C:\\F\\old.txt"), later);
}

}  // namespace
}  // namespace veltrane
