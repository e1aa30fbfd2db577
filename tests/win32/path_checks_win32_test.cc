#include "platform/win32/path_checks_win32.h"

#include <gtest/gtest.h>

#include <string>

namespace veltrane {
namespace {

TEST(PathChecksWin32Test, OnlyFullPathsBelowARootAreAccepted) {
  const struct {
    std::string path;
    bool accepted;
  } cases[] = {
      {"C:\\Program Files\\Foo", true},
      {"C:\\Program Files\\Foo\\", true},
      {"C:\\Program Files\\Foo\\*.*", true},
      {"c:/Users/me/AppData/x", true},
      {"\\\\server\\share\\folder", true},
      {"C:\\a\\..b", true},
      // The root itself, or all of it.
      {"C:\\", false},
      {"C:", false},
      {"C:\\*.*", false},
      {"C:\\*", false},
      {"C:\\\\*.*", false},
      {"\\\\server\\share", false},
      {"\\\\server\\share\\", false},
      {"\\\\server\\share\\*.*", false},
      // Steps that climb.
      {"C:\\Foo\\..", false},
      {"C:\\Foo\\..\\..\\Windows", false},
      {"C:\\Foo\\.\\Bar", false},
      // Relative, device and odd forms.
      {"", false},
      {"Foo", false},
      {"Foo\\*.*", false},
      {"\\Foo", false},
      {"C:Foo", false},
      {"\\\\?\\C:\\Foo", false},
      {"\\\\.\\C:\\Foo", false},
      {"\\\\server", false},
      {std::string("C:\\Foo\0C:\\Windows", 17), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsFullPathBelowRoot(c.path), c.accepted) << c.path;
  }
}

}  // namespace
}  // namespace veltrane
