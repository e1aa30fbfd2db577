#include "platform/win32/long_path_win32.h"

#include <gtest/gtest.h>

#include <string>

namespace veltrane {
namespace {

const std::wstring kLongName(300, L'n');

TEST(LongPathWin32Test, ShortPathsPassUnchanged) {
  for (const std::wstring& path : std::initializer_list<std::wstring>{L"C:\\Windows", L"C:/a/../b", L"relative\\x", L"\\\\server\\share\\x"}) {
    EXPECT_EQ(ToExtendedIfLong(path), path);
  }
}

TEST(LongPathWin32Test, LongPathsBecomeExtendedAndNormalised) {
  EXPECT_EQ(ToExtendedIfLong(L"C:\\dir\\" + kLongName + L"\\*.*"),
            L"\\\\?\\C:\\dir\\" + kLongName + L"\\*.*");
  EXPECT_EQ(ToExtendedIfLong(L"C:/dir/skipped/../" + kLongName),
            L"\\\\?\\C:\\dir\\" + kLongName);
  EXPECT_EQ(ToExtendedIfLong(L"\\\\server\\share\\" + kLongName),
            L"\\\\?\\UNC\\server\\share\\" + kLongName);
  // Already extended, or relative (which the system cannot extend): as is.
  EXPECT_EQ(ToExtendedIfLong(L"\\\\?\\C:\\" + kLongName), L"\\\\?\\C:\\" + kLongName);
  EXPECT_EQ(ToExtendedIfLong(L"relative\\" + kLongName), L"relative\\" + kLongName);
}

TEST(LongPathWin32Test, TextThatCannotBeAPath) {
  EXPECT_EQ(ToWin32Path(""), std::nullopt);
  EXPECT_EQ(ToWin32Path(std::string("C:\\a\0b", 6)), std::nullopt);
  EXPECT_EQ(ToWin32Path("C:\\\xC3\xA9"), std::wstring(L"C:\\\xE9"));
}

}  // namespace
}  // namespace veltrane
