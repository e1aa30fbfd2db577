#include "platform/win32/file_system_win32.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/win32/windows_win32.h"
#include "platform/win32/wide_text_win32.h"
#include "win32/scratch_win32.h"

namespace veltrane {
namespace {

using ::testing::UnorderedElementsAre;

// name -> entry of a whole listing; the listing must end with kNoMoreFiles.
std::map<std::string, DirectoryEntry> ListAll(FileSystem& files, const std::string& pattern) {
  std::map<std::string, DirectoryEntry> entries;
  auto listing = files.List(pattern);
  if (listing == nullptr) return entries;
  DirectoryEntry entry;
  ListingStatus status;
  while ((status = listing->Next(&entry)) == ListingStatus::kEntry) entries[entry.name] = entry;
  EXPECT_EQ(status, ListingStatus::kNoMoreFiles);
  EXPECT_EQ(listing->Next(&entry), ListingStatus::kNoMoreFiles) << "a finished listing stays finished";
  return entries;
}

std::vector<std::string> Names(const std::map<std::string, DirectoryEntry>& entries) {
  std::vector<std::string> names;
  for (const auto& [name, entry] : entries) names.push_back(name);
  return names;
}

class FileSystemWin32Test : public ::testing::Test {
 protected:
  FileSystemWin32 files_;
  ScratchFolder scratch_;
};

TEST_F(FileSystemWin32Test, ListReportsEveryEntryWithItsData) {
  ASSERT_TRUE(files_.WriteFile(scratch_ / "a.txt", "12345"));
  ASSERT_TRUE(files_.CreateDirectory(scratch_ / "Sub Folder"));
  ASSERT_TRUE(files_.WriteFile(scratch_ / "Sub Folder\\inner.txt", ""));

  const auto entries = ListAll(files_, scratch_ / "*.*");
  EXPECT_THAT(Names(entries), UnorderedElementsAre(".", "..", "a.txt", "Sub Folder"));
  const DirectoryEntry& file = entries.at("a.txt");
  EXPECT_FALSE(file.IsDirectory());
  EXPECT_EQ(file.size, 5u);
  EXPECT_EQ(file.lastWrite, files_.LastWriteTime(scratch_ / "a.txt"));
  EXPECT_TRUE(entries.at("Sub Folder").IsDirectory());
  EXPECT_TRUE(entries.at(".").IsDirectory());

  EXPECT_THAT(Names(ListAll(files_, scratch_ / "*.txt")), UnorderedElementsAre("a.txt"));
}

TEST_F(FileSystemWin32Test, ListThatCannotStartIsNull) {
  EXPECT_EQ(files_.List(scratch_ / "missing\\*.*"), nullptr);
  EXPECT_EQ(files_.List(scratch_ / "*.none"), nullptr);
  EXPECT_EQ(files_.List(""), nullptr);
}

TEST_F(FileSystemWin32Test, NonAsciiNamesSurviveTheRoundTrip) {
  const std::string folder = scratch_ / "Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5\xE6\x9C\xAC";
  const std::string file = folder + "\\\xD0\xBF\xD1\x80\xD0\xB8 \xF0\x9F\x98\x80.dat";
  ASSERT_TRUE(files_.CreateDirectory(folder));
  ASSERT_TRUE(files_.WriteFile(file, "content"));
  EXPECT_TRUE(files_.FileExists(file));
  EXPECT_EQ(files_.ReadFile(file), "content");
  EXPECT_THAT(Names(ListAll(files_, scratch_ / "*.*")),
              UnorderedElementsAre(".", "..", "Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5\xE6\x9C\xAC"));
  EXPECT_THAT(Names(ListAll(files_, folder + "\\*.*")),
              UnorderedElementsAre(".", "..", "\xD0\xBF\xD1\x80\xD0\xB8 \xF0\x9F\x98\x80.dat"));
}

TEST_F(FileSystemWin32Test, LongPathsWorkThroughEveryCall) {
  std::string folder = scratch_.Path();
  for (int level = 0; folder.size() < 400; ++level) {
    folder += "\\level " + std::to_string(level) + " with a rather long folder name";
    ASSERT_TRUE(files_.CreateDirectory(folder)) << folder.size();
  }
  const std::string file = folder + "\\deep file.txt";
  ASSERT_TRUE(files_.WriteFile(file, "deep"));
  EXPECT_TRUE(files_.FileExists(file));
  EXPECT_TRUE(files_.DirectoryExists(folder));
  EXPECT_EQ(files_.ReadFile(file), "deep");
  EXPECT_TRUE(files_.LastWriteTime(file).has_value());
  EXPECT_THAT(Names(ListAll(files_, folder + "\\*.*")), UnorderedElementsAre(".", "..", "deep file.txt"));
  ASSERT_TRUE(files_.WriteFile(file, "replaced"));
  EXPECT_EQ(files_.ReadFile(file), "replaced");
  EXPECT_TRUE(files_.DeleteFile(file));
  EXPECT_FALSE(files_.FileExists(file));
}

TEST_F(FileSystemWin32Test, KindsOfPath) {
  ASSERT_TRUE(files_.WriteFile(scratch_ / "file", "x"));
  const struct {
    std::string path;
    bool isFile;
    bool isFolder;
  } cases[] = {
      {scratch_ / "file", true, false},
      {scratch_.Path(), false, true},
      {scratch_.Path() + "\\", false, true},
      {scratch_ / "missing", false, false},
      {scratch_ / "file\\below a file", false, false},
      {"", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(files_.FileExists(c.path), c.isFile);
    EXPECT_EQ(files_.DirectoryExists(c.path), c.isFolder);
    const std::optional<uint32_t> attributes = files_.Attributes(c.path);
    EXPECT_EQ(attributes.has_value(), c.isFile || c.isFolder);
    if (attributes) {
      EXPECT_EQ((*attributes & file_attribute::kDirectory) != 0, c.isFolder);
    }
  }
}

TEST_F(FileSystemWin32Test, AttributesAreTheFileSystemsOwn) {
  ASSERT_TRUE(files_.WriteFile(scratch_ / "hidden", "x"));
  ASSERT_TRUE(SetFileAttributesW(ToWide(scratch_ / "hidden").c_str(),
                                 FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  const std::optional<uint32_t> attributes = files_.Attributes(scratch_ / "hidden");
  ASSERT_TRUE(attributes.has_value());
  EXPECT_NE(*attributes & file_attribute::kHidden, 0u);
  EXPECT_NE(*attributes & file_attribute::kReadOnly, 0u);
}

TEST_F(FileSystemWin32Test, CreateDirectory) {
  EXPECT_TRUE(files_.CreateDirectory(scratch_ / "new"));
  EXPECT_TRUE(files_.DirectoryExists(scratch_ / "new"));
  EXPECT_TRUE(files_.CreateDirectory(scratch_ / "new")) << "an existing folder is fine";
  ASSERT_TRUE(files_.WriteFile(scratch_ / "file", "x"));
  EXPECT_FALSE(files_.CreateDirectory(scratch_ / "file")) << "a file of that name is not";
  EXPECT_FALSE(files_.CreateDirectory(scratch_ / "no\\parent")) << "one level only";
}

TEST_F(FileSystemWin32Test, WriteFileReplacesTheWholeFile) {
  const std::string path = scratch_ / "data.bin";
  const std::string binary("a\0b\r\n\xFF", 6);
  ASSERT_TRUE(files_.WriteFile(path, std::string(100000, 'L')));
  ASSERT_TRUE(files_.WriteFile(path, binary));
  EXPECT_EQ(files_.ReadFile(path), binary);
  ASSERT_TRUE(files_.WriteFile(path, ""));
  EXPECT_EQ(files_.ReadFile(path), "");
  // Nothing but the file itself is left beside it.
  EXPECT_THAT(Names(ListAll(files_, scratch_ / "*.*")), UnorderedElementsAre(".", "..", "data.bin"));
}

TEST_F(FileSystemWin32Test, FailedWritesLeaveWhatWasThere) {
  ASSERT_TRUE(files_.CreateDirectory(scratch_ / "folder"));
  ASSERT_TRUE(files_.WriteFile(scratch_ / "folder\\keep", "kept"));
  EXPECT_FALSE(files_.WriteFile(scratch_ / "folder", "x"));
  EXPECT_TRUE(files_.DirectoryExists(scratch_ / "folder"));
  EXPECT_FALSE(files_.WriteFile(scratch_ / "missing\\file", "x"));

  ASSERT_TRUE(files_.WriteFile(scratch_ / "read only", "old"));
  ASSERT_TRUE(SetFileAttributesW(ToWide(scratch_ / "read only").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(files_.WriteFile(scratch_ / "read only", "new"));
  EXPECT_EQ(files_.ReadFile(scratch_ / "read only"), "old");
  EXPECT_THAT(Names(ListAll(files_, scratch_ / "*.*")),
              UnorderedElementsAre(".", "..", "folder", "read only"));
}

TEST_F(FileSystemWin32Test, ReadFileOfWhatIsNoFile) {
  EXPECT_EQ(files_.ReadFile(scratch_ / "missing"), std::nullopt);
  EXPECT_EQ(files_.ReadFile(scratch_.Path()), std::nullopt);
}

TEST_F(FileSystemWin32Test, ReadFileWhileAnotherProgramWritesIt) {
  const std::wstring path = ToWide(scratch_ / "open.log");
  const HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ASSERT_TRUE(::WriteFile(writer, "line", 4, &written, nullptr));
  EXPECT_EQ(files_.ReadFile(scratch_ / "open.log"), "line");
  CloseHandle(writer);
}

TEST_F(FileSystemWin32Test, DeleteFile) {
  ASSERT_TRUE(files_.WriteFile(scratch_ / "gone", "x"));
  EXPECT_TRUE(files_.DeleteFile(scratch_ / "gone"));
  EXPECT_FALSE(files_.FileExists(scratch_ / "gone"));
  EXPECT_FALSE(files_.DeleteFile(scratch_ / "gone"));
  ASSERT_TRUE(files_.CreateDirectory(scratch_ / "folder"));
  EXPECT_FALSE(files_.DeleteFile(scratch_ / "folder"));
}

TEST_F(FileSystemWin32Test, LastWriteTimeIsTheStoredFileTime) {
  const std::string path = scratch_ / "dated";
  ASSERT_TRUE(files_.WriteFile(path, "x"));
  // 2015-06-19 12:34:56 UTC.
  const uint64_t ticks = 130792628960000000ull;
  const HANDLE file = CreateFileW(ToWide(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
  CloseHandle(file);
  EXPECT_EQ(files_.LastWriteTime(path), FileTime{ticks});
  EXPECT_EQ(files_.LastWriteTime(scratch_ / "missing"), std::nullopt);
}

TEST_F(FileSystemWin32Test, PathsWithANulAreRefused) {
  ASSERT_TRUE(files_.WriteFile(scratch_ / "victim", "x"));
  const std::string cut = scratch_ / "victim" + std::string("\0.tmp", 5);
  EXPECT_FALSE(files_.DeleteFile(cut));
  EXPECT_FALSE(files_.WriteFile(cut, "y"));
  EXPECT_FALSE(files_.FileExists(cut));
  EXPECT_EQ(files_.ReadFile(scratch_ / "victim"), "x");
}

}  // namespace
}  // namespace veltrane
