#include "app/folders.h"

#include <gtest/gtest.h>

#include "platform/fake/platform_fake.h"

namespace veltrane {
namespace {

constexpr const char* kAppData = "C:\\Users\\User\\AppData\\Roaming";
constexpr const char* kCurrentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

class FoldersTest : public ::testing::Test {
 protected:
  FoldersTest() {
    system_.SetSpecialFolder(csidl::kAppData, kAppData);
    files_.AddFolder(kAppData);
  }

  FakePlatform fake_;
  FakeRegistry& registry_ = fake_.registry;
  FakeFileSystem& files_ = fake_.files;
  FakeSystemInfo& system_ = fake_.system;
  Platform& platform_ = fake_.platform();
};

TEST_F(FoldersTest, SettingsFolderCreatesItsLevelsOnEveryCall) {
  const std::string expected = std::string(kAppData) + "\\Orlenvik\\Veltrane\\Settings\\";
  Result<std::string> first = SettingsFolder(platform_);
  ASSERT_TRUE(first.ok()) << first.error();
  EXPECT_EQ(*first, expected);
  EXPECT_TRUE(files_.DirectoryExists(expected));

  ASSERT_TRUE(files_.Remove(std::string(kAppData) + "\\Orlenvik"));
  Result<std::string> again = SettingsFolder(platform_);
  ASSERT_TRUE(again.ok()) << again.error();
  EXPECT_EQ(*again, expected);
  EXPECT_TRUE(files_.DirectoryExists(expected));
}

TEST_F(FoldersTest, SettingsFolderFailsWhenALevelCannotBeCreated) {
  const std::string level = std::string(kAppData) + "\\Orlenvik\\Veltrane";
  files_.FailCreateDirectory(level);
  Result<std::string> folder = SettingsFolder(platform_);
  ASSERT_FALSE(folder.ok());
  EXPECT_NE(folder.error().find(level), std::string::npos) << folder.error();
  EXPECT_FALSE(files_.Exists(level + "\\Settings"));
}

TEST_F(FoldersTest, SettingsFolderFailsWithoutAnApplicationDataFolder) {
  system_.SetSpecialFolder(csidl::kAppData, "");
  EXPECT_FALSE(SettingsFolder(platform_).ok());
  EXPECT_FALSE(files_.Exists("C:\\Orlenvik"));  // not made at the root of the current drive
}

TEST_F(FoldersTest, ProgramFolderEndsWithABackslash) {
  system_.SetModuleFilePath("C:\\Program Files (x86)\\Veltrane\\Veltrane.exe");
  EXPECT_EQ(ProgramFolder(system_), "C:\\Program Files (x86)\\Veltrane\\");
  system_.SetModuleFilePath("");
  EXPECT_EQ(ProgramFolder(system_), "");
}

TEST_F(FoldersTest, ProgramFilesFolderNeedsOnlyReadAccess) {
  registry_.SetString(RegistryRoot::kLocalMachine, kCurrentVersion, "ProgramFilesDir", "C:\\Program Files");
  registry_.DenyFullAccess(RegistryRoot::kLocalMachine, kCurrentVersion);  // a user without administrator rights
  EXPECT_EQ(ProgramFilesFolder(registry_), "C:\\Program Files");

  registry_.RemoveValue(RegistryRoot::kLocalMachine, kCurrentVersion, "ProgramFilesDir");
  EXPECT_EQ(ProgramFilesFolder(registry_), "");
  registry_.DenyAllAccess(RegistryRoot::kLocalMachine, kCurrentVersion);
  EXPECT_EQ(ProgramFilesFolder(registry_), "");
}

TEST_F(FoldersTest, LocalAppDataComesFromShellFolders) {
  const char* shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  EXPECT_EQ(LocalAppDataFolder(registry_), "");
  registry_.SetString(RegistryRoot::kCurrentUser, shellFolders, "Local AppData", "C:\\Users\\User\\AppData\\Local");
  EXPECT_EQ(LocalAppDataFolder(registry_), "C:\\Users\\User\\AppData\\Local");
}

}  // namespace
}  // namespace veltrane
