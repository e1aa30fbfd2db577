#include "platform/win32/wide_text_win32.h"

#include <gtest/gtest.h>

#include <string>

namespace veltrane {
namespace {

TEST(WideTextWin32Test, RoundTripsEveryPlane) {
  for (const std::string& text : std::initializer_list<std::string>{"", "plain", "Gr\xC3\xBC\xC3\x9F" "e", "\xE6\x97\xA5\xE6\x9C\xAC",
                                 "\xF0\x9F\x98\x80 smile", std::string("a\0b", 3)}) {
    EXPECT_EQ(FromWide(ToWide(text)), text);
  }
  EXPECT_EQ(ToWide("\xF0\x9F\x98\x80"), std::wstring(L"\xD83D\xDE00")) << "a surrogate pair";
}

TEST(WideTextWin32Test, BrokenTextBecomesReplacementCharacters) {
  EXPECT_EQ(ToWide("a\xFF" "b"), std::wstring(L"a\xFFFD" L"b"));
  EXPECT_EQ(FromWide(std::wstring(L"a\xD800" L"b")), "a\xEF\xBF\xBD" "b");
}

}  // namespace
}  // namespace veltrane
