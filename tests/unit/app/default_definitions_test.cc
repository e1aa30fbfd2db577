#include "app/default_definitions.h"

#include <gtest/gtest.h>

#include "platform/fake/file_system_fake.h"

namespace veltrane {
namespace {

constexpr const char* kProgram = "C:\\Program Files (x86)\\Veltrane\\";
constexpr const char* kSettings = "C:\\Users\\User\\AppData\\Roaming\\Orlenvik\\Veltrane\\Settings\\";

class DefaultDefinitionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files_.AddFolder(kSettings);
    files_.AddFile(std::string(kProgram) + "maltag.dat", "conduit\r\nwajam\r\n");
    files_.AddFile(std::string(kProgram) + "maltagEx.dat", "microsoft\r\n");
  }
  std::string Settings(const char* name) { return files_.ReadText(std::string(kSettings) + name); }

  FakeFileSystem files_;
};

TEST_F(DefaultDefinitionsTest, FirstStartGetsBothShippedFilesByteForByte) {
  ASSERT_TRUE(InstallDefaultDefinitions(files_, kProgram, kSettings).ok());
  EXPECT_EQ(Settings("maltag.dat"), "conduit\r\nwajam\r\n");
  EXPECT_EQ(Settings("maltagEx.dat"), "microsoft\r\n");
}

TEST_F(DefaultDefinitionsTest, FilesAlreadyThereAreKeptEvenWhenEmpty) {
  // A download may have replaced one; an empty list is a valid list.
  files_.AddFile(std::string(kSettings) + "maltag.dat", "downloaded\r\n");
  files_.AddFile(std::string(kSettings) + "maltagEx.dat", "");
  ASSERT_TRUE(InstallDefaultDefinitions(files_, kProgram, kSettings).ok());
  EXPECT_EQ(Settings("maltag.dat"), "downloaded\r\n");
  EXPECT_EQ(Settings("maltagEx.dat"), "");
}

TEST_F(DefaultDefinitionsTest, OnlyTheMissingFileIsCopied) {
  files_.AddFile(std::string(kSettings) + "maltagEx.dat", "google\r\n");
  ASSERT_TRUE(InstallDefaultDefinitions(files_, kProgram, kSettings).ok());
  EXPECT_EQ(Settings("maltag.dat"), "conduit\r\nwajam\r\n");
  EXPECT_EQ(Settings("maltagEx.dat"), "google\r\n");
}

TEST_F(DefaultDefinitionsTest, AFileTheProgramFolderLacksIsLeftForTheLoadToReport) {
  files_.Remove(std::string(kProgram) + "maltag.dat");
  ASSERT_TRUE(InstallDefaultDefinitions(files_, kProgram, kSettings).ok());
  EXPECT_FALSE(files_.Exists(std::string(kSettings) + "maltag.dat"));
  EXPECT_EQ(Settings("maltagEx.dat"), "microsoft\r\n");
}

TEST_F(DefaultDefinitionsTest, AFailedCopyIsReportedAndTheOtherFileStillCopied) {
  files_.FailWrites(std::string(kSettings) + "maltag.dat");
  const Status status = InstallDefaultDefinitions(files_, kProgram, kSettings);
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().find("maltag.dat"), std::string::npos);
  EXPECT_FALSE(files_.Exists(std::string(kSettings) + "maltag.dat"));
  EXPECT_EQ(Settings("maltagEx.dat"), "microsoft\r\n");
}

}  // namespace
}  // namespace veltrane
