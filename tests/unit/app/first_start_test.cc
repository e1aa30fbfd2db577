#include <gtest/gtest.h>

#include <string>

#include "app/startup.h"
#include "platform/fake/platform_fake.h"

namespace veltrane {
namespace {

constexpr const char* kSettings = "C:\\Users\\User\\AppData\\Roaming\\Orlenvik\\Veltrane\\Settings\\";

class FirstStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_.CreateStandardFolders();
    const std::string module = fake_.system.ModuleFilePath();
    programFolder_ = module.substr(0, module.find_last_of('\\') + 1);
  }
  FakePlatform fake_;
  std::string programFolder_;
};

TEST_F(FirstStartTest, TheEngineStartsOnTheShippedTagFiles) {
  fake_.files.AddFile(programFolder_ + "maltag.dat", "conduit\r\nwajam\r\n");
  fake_.files.AddFile(programFolder_ + "maltagEx.dat", "microsoft\r\n");
  EngineState state;

  const Result<std::string> started = StartEngine(fake_.platform(), state);

  ASSERT_TRUE(started.ok()) << started.error();
  EXPECT_EQ(*started, kSettings);
  EXPECT_EQ(state.definitions.Tags().Count(), 2);
  EXPECT_EQ(state.definitions.MatchTag("Conduit Toolbar"), "conduit");
  EXPECT_EQ(state.definitions.MatchTag("Microsoft Conduit"), "");
  EXPECT_EQ(fake_.files.ReadText(std::string(kSettings) + "maltagEx.dat"), "microsoft\r\n");
}

TEST_F(FirstStartTest, AFailedCopyIsTheErrorShown) {
  fake_.files.AddFile(programFolder_ + "maltag.dat", "conduit\r\n");
  fake_.files.AddFile(programFolder_ + "maltagEx.dat", "microsoft\r\n");
  fake_.files.FailWrites(std::string(kSettings) + "maltag.dat");
  EngineState state;

  const Result<std::string> started = StartEngine(fake_.platform(), state);

  ASSERT_FALSE(started.ok());
  EXPECT_NE(started.error().find("Cannot create file"), std::string::npos) << started.error();
  EXPECT_EQ(state.definitions.Tags().Count(), 0);
}

TEST_F(FirstStartTest, WithoutShippedFilesTheLoadReportsTheMissingFile) {
  EngineState state;
  const Result<std::string> started = StartEngine(fake_.platform(), state);
  ASSERT_FALSE(started.ok());
  EXPECT_NE(started.error().find("maltag.dat"), std::string::npos) << started.error();
}

}  // namespace
}  // namespace veltrane
