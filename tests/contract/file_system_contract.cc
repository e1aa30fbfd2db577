#include "contract/file_system_contract.h"

#include <set>
#include <vector>

namespace veltrane {

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(FileSystemContractTest);

void FileSystemContractTest::SetUp() {
  scratch_ = GetParam().make();
  ASSERT_NE(scratch_.files, nullptr);
  ASSERT_FALSE(scratch_.folder.empty());
  ASSERT_TRUE(scratch_.files->DirectoryExists(scratch_.folder));
}

void FileSystemContractTest::TearDown() {
  if (scratch_.cleanup) scratch_.cleanup();
}

std::string FileSystemContractTest::Path(std::string_view relative) const {
  return relative.empty() ? scratch_.folder : scratch_.folder + "\\" + std::string(relative);
}

namespace {

// Reads a listing to its end; the last status is stored in *end.
std::vector<DirectoryEntry> ReadAll(DirectoryListing& listing, ListingStatus* end) {
  std::vector<DirectoryEntry> entries;
  DirectoryEntry entry;
  ListingStatus status;
  while ((status = listing.Next(&entry)) == ListingStatus::kEntry) entries.push_back(entry);
  *end = status;
  return entries;
}

TEST_P(FileSystemContractTest, EmptyFolderListsDotEntriesThenEnds) {
  for (const char* mask : {"*.*", "*"}) {
    auto listing = files().List(Path(mask));
    ASSERT_NE(listing, nullptr) << mask;
    ListingStatus end;
    const auto entries = ReadAll(*listing, &end);
    EXPECT_EQ(end, ListingStatus::kNoMoreFiles);
    ASSERT_EQ(entries.size(), 2u) << mask;
    EXPECT_EQ(entries[0].name, ".");
    EXPECT_EQ(entries[1].name, "..");
    EXPECT_TRUE(entries[0].IsDirectory());
    EXPECT_TRUE(entries[1].IsDirectory());
  }
}

TEST_P(FileSystemContractTest, ListingShowsFoldersAndFilesWithAttributesSizesAndTimes) {
  ASSERT_TRUE(files().CreateDirectory(Path("Sub")));
  ASSERT_TRUE(files().WriteFile(Path("five.txt"), "12345"));
  auto listing = files().List(Path("*.*"));
  ASSERT_NE(listing, nullptr);
  ListingStatus end;
  const auto entries = ReadAll(*listing, &end);
  EXPECT_EQ(end, ListingStatus::kNoMoreFiles);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].name, ".");
  EXPECT_EQ(entries[1].name, "..");
  std::set<std::string> names;
  for (const auto& entry : entries) {
    names.insert(entry.name);
    if (entry.name == "Sub") {
      EXPECT_TRUE(entry.IsDirectory());
      EXPECT_FALSE(entry.IsReparsePoint());
    }
    if (entry.name == "five.txt") {
      EXPECT_FALSE(entry.IsDirectory());
      EXPECT_EQ(entry.size, 5u);
      EXPECT_EQ(std::optional<FileTime>(entry.lastWrite), files().LastWriteTime(Path("five.txt")));
      EXPECT_NE(entry.lastWrite.ticks, 0u);
    }
  }
  EXPECT_EQ(names, (std::set<std::string>{".", "..", "Sub", "five.txt"}));
}

TEST_P(FileSystemContractTest, ListingThatCannotStartIsNull) {
  ASSERT_TRUE(files().WriteFile(Path("only.txt"), "x"));
  EXPECT_EQ(files().List(Path("Missing\\*.*")), nullptr);
  EXPECT_EQ(files().List(Path("*.nomatch")), nullptr);
  auto one = files().List(Path("*.txt"));
  ASSERT_NE(one, nullptr);
  ListingStatus end;
  const auto entries = ReadAll(*one, &end);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "only.txt");
}

TEST_P(FileSystemContractTest, BytesRoundTripExactly) {
  const std::string cases[] = {
      "",
      std::string("nul\0inside\r\n\xff\xfe", 15),
      std::string(100 * 1024, 'z'),
  };
  for (const auto& bytes : cases) {
    ASSERT_TRUE(files().WriteFile(Path("data.bin"), bytes));
    EXPECT_EQ(files().ReadFile(Path("data.bin")), bytes) << bytes.size();
  }
  // A shorter write replaces the whole file.
  ASSERT_TRUE(files().WriteFile(Path("data.bin"), "ab"));
  EXPECT_EQ(files().ReadFile(Path("data.bin")), "ab");
}

TEST_P(FileSystemContractTest, QueriesTellFilesFromFoldersAndMissingPaths) {
  ASSERT_TRUE(files().CreateDirectory(Path("Folder")));
  ASSERT_TRUE(files().WriteFile(Path("file.dat"), "x"));

  EXPECT_TRUE(files().FileExists(Path("file.dat")));
  EXPECT_FALSE(files().DirectoryExists(Path("file.dat")));
  EXPECT_TRUE(files().DirectoryExists(Path("Folder")));
  EXPECT_FALSE(files().FileExists(Path("Folder")));
  EXPECT_FALSE(files().FileExists(Path("missing")));
  EXPECT_FALSE(files().DirectoryExists(Path("missing")));

  ASSERT_TRUE(files().Attributes(Path("Folder")).has_value());
  EXPECT_NE(*files().Attributes(Path("Folder")) & file_attribute::kDirectory, 0u);
  ASSERT_TRUE(files().Attributes(Path("file.dat")).has_value());
  EXPECT_EQ(*files().Attributes(Path("file.dat")) & file_attribute::kDirectory, 0u);
  EXPECT_EQ(files().Attributes(Path("missing")), std::nullopt);

  EXPECT_TRUE(files().LastWriteTime(Path("file.dat")).has_value());
  EXPECT_TRUE(files().LastWriteTime(Path("Folder")).has_value());
  EXPECT_EQ(files().LastWriteTime(Path("missing")), std::nullopt);

  EXPECT_EQ(files().ReadFile(Path("missing")), std::nullopt);
  EXPECT_EQ(files().ReadFile(Path("Folder")), std::nullopt);
}

TEST_P(FileSystemContractTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  ASSERT_TRUE(files().WriteFile(Path("Data.TXT"), "first"));
  ASSERT_TRUE(files().WriteFile(Path("DATA.txt"), "second"));
  EXPECT_TRUE(files().FileExists(Path("data.txt")));
  EXPECT_EQ(files().ReadFile(Path("dAtA.tXt")), "second");
  auto listing = files().List(Path("*.*"));
  ASSERT_NE(listing, nullptr);
  ListingStatus end;
  const auto entries = ReadAll(*listing, &end);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[2].name, "Data.TXT");
}

TEST_P(FileSystemContractTest, NonAsciiAndLongPathsWork) {
  // "Ünïcödé 日本" and "fïlé €.txt"
  const std::string unicodeFolder = "\xC3\x9Cn\xC3\xAF" "c\xC3\xB6" "d\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC";
  const std::string unicodeFile = "f\xC3\xAFl\xC3\xA9 \xE2\x82\xAC.txt";
  const std::string longName(80, 'L');
  const std::vector<std::vector<std::string>> chains = {
      {unicodeFolder},
      {longName + "1", longName + "2", longName + "3", longName + "4"},  // well past 260 characters
  };
  for (const auto& chain : chains) {
    std::string folder = Path();
    for (const auto& level : chain) {
      folder.append(1, '\\').append(level);
      ASSERT_TRUE(files().CreateDirectory(folder)) << folder.size();
    }
    const std::string file = folder + "\\" + unicodeFile;
    if (chain.size() > 1) {
      ASSERT_GT(file.size(), 260u);
    }
    ASSERT_TRUE(files().WriteFile(file, "content")) << file.size();
    EXPECT_TRUE(files().FileExists(file));
    EXPECT_TRUE(files().DirectoryExists(folder));
    EXPECT_EQ(files().ReadFile(file), "content");
    EXPECT_TRUE(files().LastWriteTime(file).has_value());

    auto listing = files().List(folder + "\\*.*");
    ASSERT_NE(listing, nullptr);
    ListingStatus end;
    const auto entries = ReadAll(*listing, &end);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[2].name, unicodeFile);

    auto parent = files().List(folder.substr(0, folder.rfind('\\')) + "\\*");
    ASSERT_NE(parent, nullptr);
    std::set<std::string> names;
    for (const auto& entry : ReadAll(*parent, &end)) names.insert(entry.name);
    EXPECT_TRUE(names.contains(chain.back()));

    EXPECT_TRUE(files().DeleteFile(file));
    EXPECT_FALSE(files().FileExists(file));
  }
}

TEST_P(FileSystemContractTest, CreateDirectoryMakesOneLevelAndAcceptsAnExistingFolder) {
  EXPECT_TRUE(files().CreateDirectory(Path("Level")));
  EXPECT_TRUE(files().CreateDirectory(Path("Level")));
  EXPECT_TRUE(files().CreateDirectory(Path("level")));
  EXPECT_TRUE(files().DirectoryExists(Path("Level")));

  EXPECT_FALSE(files().CreateDirectory(Path("Missing\\Child")));
  EXPECT_FALSE(files().DirectoryExists(Path("Missing")));

  ASSERT_TRUE(files().WriteFile(Path("plain"), "x"));
  EXPECT_FALSE(files().CreateDirectory(Path("plain")));
}

TEST_P(FileSystemContractTest, DeleteFileRemovesFilesOnly) {
  ASSERT_TRUE(files().WriteFile(Path("victim.txt"), "x"));
  ASSERT_TRUE(files().CreateDirectory(Path("Folder")));
  EXPECT_TRUE(files().DeleteFile(Path("VICTIM.txt")));
  EXPECT_FALSE(files().FileExists(Path("victim.txt")));
  EXPECT_FALSE(files().DeleteFile(Path("victim.txt")));
  EXPECT_FALSE(files().DeleteFile(Path("Folder")));
  EXPECT_TRUE(files().DirectoryExists(Path("Folder")));
}

TEST_P(FileSystemContractTest, WriteNeedsAnExistingFolder) {
  EXPECT_FALSE(files().WriteFile(Path("Missing\\file.txt"), "x"));
  EXPECT_FALSE(files().DirectoryExists(Path("Missing")));
  ASSERT_TRUE(files().CreateDirectory(Path("Folder")));
  EXPECT_FALSE(files().WriteFile(Path("Folder"), "x"));
  EXPECT_TRUE(files().DirectoryExists(Path("Folder")));
}

}  // namespace
}  // namespace veltrane
