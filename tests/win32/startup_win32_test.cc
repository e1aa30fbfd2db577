// Start-up's folders, the scan date and the system's name on the real
// platform. Under Wine the settings folder is removed first, so its creation
// is seen as on a first start; on a real machine the user's settings stay.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/folders.h"
#include "app/os_name.h"
#include "app/scan_date.h"
#include "base/text.h"
#include "platform/win32/win32_platform.h"
#include "scratch_win32.h"

namespace veltrane {
namespace {

bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

class StartupWin32Test : public ::testing::Test {
 protected:
  Win32Platform win32_;
  Platform platform_ = win32_.Get();
};

TEST_F(StartupWin32Test, SettingsFolderCreatesItsThreeLevels) {
  const std::string appData = SpecialFolder(platform_.system, csidl::kAppData);
  ASSERT_FALSE(appData.empty());
  const std::string top = appData + "\\Orlenvik";
  if (RunningUnderWine()) RemoveTreeW(ToWide(top));
  const bool fresh = !platform_.files.DirectoryExists(top);

  const Result<std::string> settings = SettingsFolder(platform_);
  ASSERT_TRUE(settings.ok()) << settings.error();
  EXPECT_EQ(*settings, appData + "\\Orlenvik\\Veltrane\\Settings\\");
  for (const char* level : {"\\Orlenvik", "\\Orlenvik\\Veltrane", "\\Orlenvik\\Veltrane\\Settings"}) {
    EXPECT_TRUE(platform_.files.DirectoryExists(appData + level)) << level;
  }
  if (!fresh) GTEST_LOG_(INFO) << "the settings folder existed before; its creation was not seen";
}

TEST_F(StartupWin32Test, ScanDateIsNoneUntilWritten) {
  Registry& registry = platform_.registry;
  const std::string before = ReadScanDate(registry);
  auto key = registry.CreateKey(RegistryRoot::kCurrentUser, kSettingsKey);
  ASSERT_NE(key, nullptr);
  key->DeleteValue(kScanDateValue);

  EXPECT_EQ(ReadScanDate(registry), "None");
  WriteScanDate(registry, "10.12.2026 01:02:03");
  EXPECT_EQ(ReadScanDate(registry), "10.12.2026 01:02:03");

  if (before == "None") {
    key->DeleteValue(kScanDateValue);
  } else {
    WriteScanDate(registry, before);
  }
}

TEST_F(StartupWin32Test, FolderFunctionsEndAsDocumented) {
  const Result<std::string> settings = SettingsFolder(platform_);
  ASSERT_TRUE(settings.ok());
  EXPECT_TRUE(EndsWith(*settings, "\\"));
  const std::string program = ProgramFolder(platform_.system);
  EXPECT_TRUE(EndsWith(program, "\\")) << program;
  EXPECT_TRUE(EndsWith(ToLower(platform_.system.ModuleFilePath()), ".exe"));

  const struct {
    const char* name;
    std::string path;
  } unslashed[] = {
      {"Program Files", ProgramFilesFolder(platform_.registry)},
      {"Windows", WindowsFolder(platform_.system)},
      {"System", SystemFolder(platform_.system)},
      {"profile", SpecialFolder(platform_.system, csidl::kProfile)},
      {"Start Menu", SpecialFolder(platform_.system, csidl::kStartMenu)},
      {"all users' Start Menu", SpecialFolder(platform_.system, csidl::kCommonStartMenu)},
      {"application data", SpecialFolder(platform_.system, csidl::kAppData)},
      {"desktop", SpecialFolder(platform_.system, csidl::kDesktop)},
  };
  for (const auto& folder : unslashed) {
    EXPECT_FALSE(folder.path.empty()) << folder.name;
    EXPECT_FALSE(EndsWith(folder.path, "\\")) << folder.name << ": " << folder.path;
    EXPECT_TRUE(platform_.files.DirectoryExists(folder.path)) << folder.name << ": " << folder.path;
  }
}

// VELTRANE_EXPECT_OS_NAME names the expected text; tests/e2e/os_name_e2e.sh
// sets it for each Windows version that Wine can report.
TEST_F(StartupWin32Test, OsNameNamesTheRunningSystem) {
  const std::string name = OsName(platform_.system);
  const char* expected = std::getenv("VELTRANE_EXPECT_OS_NAME");
  if (expected != nullptr) {
    EXPECT_EQ(name, expected);
  } else {
    EXPECT_TRUE(StartsWith(name, "Microsoft Windows")) << name;
  }
}

}  // namespace
}  // namespace veltrane
