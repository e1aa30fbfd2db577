#include "platform/win32/system_info_win32.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "platform/win32/file_system_win32.h"

namespace veltrane {
namespace {

class SystemInfoWin32Test : public ::testing::Test {
 protected:
  SystemInfoWin32 system_;
  FileSystemWin32 files_;
};

TEST_F(SystemInfoWin32Test, VersionIsAnNtRecord) {
  const std::optional<OsVersion> version = system_.Version();
  ASSERT_TRUE(version.has_value());
  EXPECT_EQ(version->platformId, 2u);
  EXPECT_GE(version->major, 5u);
  EXPECT_GT(version->build, 0u);
  EXPECT_GE(version->productType, 1);
  EXPECT_LE(version->productType, 3);
}

TEST_F(SystemInfoWin32Test, NativeArchitectureIsTheMachinesNotTheProcesss) {
  const uint16_t architecture = system_.NativeProcessorArchitecture();
  if constexpr (sizeof(void*) == 8) {
    EXPECT_EQ(architecture, processor_architecture::kAmd64);
  } else {
    EXPECT_TRUE(architecture == processor_architecture::kIntel ||
                architecture == processor_architecture::kAmd64);
  }
}

TEST_F(SystemInfoWin32Test, SystemFoldersExistWithoutTrailingBackslash) {
  const std::string windows = system_.WindowsFolder();
  const std::string system = system_.SystemFolder();
  for (const std::string& folder : {windows, system}) {
    SCOPED_TRACE(folder);
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    EXPECT_TRUE(files_.DirectoryExists(folder));
  }
  EXPECT_TRUE(StartsWith(ToLower(system), ToLower(windows) + "\\"));
}

TEST_F(SystemInfoWin32Test, ModuleFilePathIsThisProgram) {
  const std::string path = system_.ModuleFilePath();
  EXPECT_TRUE(EndsWith(ToLower(path), "\\veltrane_win32_tests.exe")) << path;
  EXPECT_TRUE(files_.FileExists(path));
}

TEST_F(SystemInfoWin32Test, SpecialFoldersInUse) {
  for (int csidl : {csidl::kDesktop, csidl::kStartMenu, csidl::kCommonStartMenu,
                    csidl::kCommonDesktopDirectory, csidl::kAppData, csidl::kProfile,
                    csidl::kLocalAppData, csidl::kPrograms}) {
    SCOPED_TRACE(csidl);
    const std::string folder = system_.SpecialFolder(csidl);
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    EXPECT_EQ(folder.find('\0'), std::string::npos);
  }
  EXPECT_TRUE(StartsWith(system_.SpecialFolder(csidl::kStartMenu),
                         system_.SpecialFolder(csidl::kAppData) + "\\") ||
              StartsWith(system_.SpecialFolder(csidl::kStartMenu),
                         system_.SpecialFolder(csidl::kProfile) + "\\"));
}

TEST_F(SystemInfoWin32Test, SpecialFolderWithoutPathIsEmpty) {
  EXPECT_EQ(system_.SpecialFolder(0x7f), "");  // no such folder
  EXPECT_EQ(system_.SpecialFolder(-1), "");
}

TEST_F(SystemInfoWin32Test, KnownFoldersByName) {
  for (const char* name : {"Downloads", "LocalAppDataLow", "PublicDownloads", "UserProfiles", "Public"}) {
    SCOPED_TRACE(name);
    const std::string folder = system_.KnownFolder(name);
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    EXPECT_EQ(system_.KnownFolder(ToLower(name)), folder);
  }
  EXPECT_TRUE(StartsWith(ToLower(system_.SpecialFolder(csidl::kProfile)),
                         ToLower(system_.KnownFolder("UserProfiles")) + "\\"));
  const std::string programFiles64 = system_.KnownFolder("ProgramFilesX64");
  if constexpr (sizeof(void*) == 8) {
    EXPECT_EQ(ToLower(programFiles64), ToLower(system_.SpecialFolder(csidl::kProgramFiles)));
  }
  EXPECT_EQ(system_.KnownFolder("No Such Folder"), "");
  EXPECT_EQ(system_.KnownFolder(""), "");
}

}  // namespace
}  // namespace veltrane
