#include "app/startup.h"

#include <gtest/gtest.h>

#include "platform/fake/platform_fake.h"

namespace veltrane {
namespace {

constexpr const char* kAppData = "C:\\Users\\User\\AppData\\Roaming";
constexpr const char* kSettings = "C:\\Users\\User\\AppData\\Roaming\\Orlenvik\\Veltrane\\Settings\\";

class StartEngineTest : public ::testing::Test {
 protected:
  StartEngineTest() {
    system_.SetSpecialFolder(csidl::kAppData, kAppData);
    files_.AddFolder(kAppData);
  }

  FakePlatform fake_;
  FakeRegistry& registry_ = fake_.registry;
  FakeFileSystem& files_ = fake_.files;
  FakeSystemInfo& system_ = fake_.system;
  Platform& platform_ = fake_.platform();
  std::unique_ptr<EngineState> state_ = CreateEngineState();
};

TEST_F(StartEngineTest, LoadsTheDefinitionsThenSortsFoundFolders) {
  files_.AddFile(std::string(kSettings) + "maltag.dat", "toolbar\r\n");
  files_.AddFile(std::string(kSettings) + "maltagEx.dat", "microsoft\r\n");
  Result<std::string> folder = StartEngine(platform_, *state_);
  ASSERT_TRUE(folder.ok()) << folder.error();
  EXPECT_EQ(*folder, kSettings);
  EXPECT_EQ(state_->definitions.MatchTag("MyToolbar"), "toolbar");
  EXPECT_TRUE(state_->foundFolders.sorted());
  EXPECT_TRUE(state_->foundFolders.ignoreDuplicates());
}

TEST_F(StartEngineTest, MissingDefinitionFileEndsTheStepEarly) {
  // A first run: the settings folder is made, but there is no "maltag.dat".
  Result<std::string> folder = StartEngine(platform_, *state_);
  ASSERT_FALSE(folder.ok());
  EXPECT_EQ(folder.error(), std::string("Cannot open file ") + kSettings + "maltag.dat");
  EXPECT_TRUE(files_.DirectoryExists(kSettings));
  EXPECT_TRUE(state_->definitions.Tags().Empty());
  EXPECT_FALSE(state_->foundFolders.sorted());
  EXPECT_FALSE(state_->foundFolders.ignoreDuplicates());
}

TEST_F(StartEngineTest, SettingsFolderErrorIsReturned) {
  files_.FailCreateDirectory(std::string(kAppData) + "\\Orlenvik");
  Result<std::string> folder = StartEngine(platform_, *state_);
  ASSERT_FALSE(folder.ok());
  EXPECT_FALSE(state_->foundFolders.sorted());
}

}  // namespace
}  // namespace veltrane
