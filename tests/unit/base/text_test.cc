#include "base/text.h"

#include <gtest/gtest.h>

#include "base/string_list.h"

namespace veltrane {
namespace {

TEST(TextTest, FoldsAsciiAndLatin1Only) {
  EXPECT_EQ(ToLower("MyToolBar 2.0"), "mytoolbar 2.0");
  EXPECT_EQ(ToLower("\xC3\x89T\xC3\x89"), "\xC3\xA9t\xC3\xA9");  // ÉTÉ -> été
  EXPECT_EQ(ToLower("\xC3\x97"), "\xC3\x97");                    // × stays
  EXPECT_EQ(ToLower("\xC4\x80"), "\xC4\x80");                    // Ā: outside Latin-1, unchanged
}

TEST(TextTest, NonUtf8BytesAreWindows1252) {
  EXPECT_EQ(BytesToUtf8("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(BytesToUtf8("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(BytesToUtf8("caf\xC3\xA9"), "caf\xC3\xA9");
}

TEST(TextTest, SplitsLinesAtCrLfLfAndCr) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(StringListTest, SortedListDropsCaseInsensitiveDuplicatesKeepingTheFirst) {
  StringList list(true, true);
  EXPECT_EQ(list.Add("beta"), 0);
  EXPECT_EQ(list.Add("Alpha"), 0);
  EXPECT_EQ(list.Add("ALPHA"), -1);
  EXPECT_EQ(list.Add("10;x;"), 0);
  EXPECT_EQ(list.Add("2;x;"), 1);
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{"10;x;", "2;x;", "Alpha", "beta"}));
  EXPECT_EQ(list.IndexOfName("ALPHA"), -1);
  list.Add("Prog.exe=;c:\\x;");
  EXPECT_EQ(list.IndexOfName("prog.EXE"), 4);
}

}  // namespace
}  // namespace veltrane

namespace veltrane {
namespace {

// Assign sorts in one go; it must keep exactly what adding line by line keeps.
TEST(StringListTest, AssignEqualsAddingOneByOne) {
  const std::vector<std::string> lines = {"beta", "Alpha", "ALPHA", "", "b", "\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\xA9",
                                          "alpha", "10;x;", "2;x;", "Beta", ""};
  for (const bool ignoreDuplicates : {true, false}) {
    StringList assigned(true, ignoreDuplicates);
    StringList added(true, ignoreDuplicates);
    assigned.Add("stale");
    assigned.Assign(lines);
    for (const auto& line : lines) added.Add(line);
    EXPECT_EQ(assigned.Lines(), added.Lines()) << "ignoreDuplicates=" << ignoreDuplicates;
  }
}

}  // namespace
}  // namespace veltrane
