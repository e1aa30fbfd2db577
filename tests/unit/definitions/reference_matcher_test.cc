#include "definitions/reference_matcher.h"

#include <gtest/gtest.h>

#include <vector>

namespace veltrane {
namespace {

StringList Sorted(const std::vector<std::string>& lines) {
  StringList list(true, true);
  list.Assign(lines);
  return list;
}

struct FuzzyCase {
  const char* tag;
  const char* text;
  bool holds;
};

TEST(FuzzyTagMatchTest, LettersInOrderWithSmallGaps) {
  const FuzzyCase cases[] = {
      {"abd", "abxd", true},
      {"abd", "abxxxd", false},  // the d lies four places after the b
      {"aab", "abxx", true},     // the second letter may sit on the first one's place
      {"aa", "a", true},         // ... so the rule alone ignores lengths; TagTest checks them
      {"ab", "axb", true},
      {"ab", "axxb", false},     // the second letter at most two places after the first
      {"abc", "abxxc", true},    // later letters up to three places after the one before
      {"abc", "abxxxc", false},
      {"ab", "axxxab", false},   // only the first a is tried
      {"a", "xxxxa", true},
      {"abc", "ab", false},
      {"", "abc", false},
      {"abc", "", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(reference::FuzzyTagMatch(std::string_view(c.tag), std::string_view(c.text)), c.holds)
        << c.tag << " in " << c.text;
  }
}

struct MatchCase {
  std::vector<std::string> tags;
  std::vector<std::string> exclusions;
  const char* text;
  const char* tag;
};

TEST(MatchTagTest, FirstPassingTagAtTheEarliestStart) {
  const MatchCase cases[] = {
      {{"TOOLBAR"}, {}, "MyToolBar 2.0", "toolbar"},  // the tag comes back lower-cased
      {{"abd"}, {}, "a123abxd", "abd"},        // passes from start position 2 on
      {{"abd", "xd"}, {}, "a123abxd", "xd"},   // start position 1 beats sorted order
      {{"zzzz", "ToolBar", "bar2"}, {}, "MyToolBar2", "bar2"},  // same start: first in sorted order
      {{"aabcd"}, {}, "abcd", ""},             // longer than the text though the letters fit
      {{"abc"}, {}, "xabc", "abc"},
      {{"abc"}, {}, "abc", ""},                // pieces shorter than four never match
      {{"micro", "soft", "toolbar"}, {"microsoft"}, "Microsoft Toolbar", ""},
      {{"", "zzzz"}, {}, "anything", ""},      // an empty tag never matches
      {{"toolbar"}, {""}, "toolbar", "toolbar"},  // an empty exclusion never excludes
      {{}, {}, "toolbar", ""},
      {{"caf\xC3\xA9"}, {}, "GRAND CAF\xC3\x89", "caf\xC3\xA9"},  // Latin-1 letters fold
      {{"\xC3\xA9\xC3\xA9"}, {}, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", "\xC3\xA9\xC3\xA9"},  // 4 code points
      {{"\xC3\xA9\xC3\xA9"}, {}, "\xC3\xA9\xC3\xA9\xC3\xA9", ""},  // 3 code points: too short
  };
  for (const auto& c : cases) {
    EXPECT_EQ(reference::MatchTag(Sorted(c.tags), Sorted(c.exclusions), c.text), c.tag) << c.text;
  }
}

TEST(MatchTagTest, ExclusionIsACaseInsensitiveSubstring) {
  const StringList exclusions = Sorted({"", "MicroSoft"});
  EXPECT_TRUE(reference::IsExcluded(exclusions, "c:\\program files\\MICROSOFT office"));
  EXPECT_FALSE(reference::IsExcluded(exclusions, "micro soft"));
  EXPECT_FALSE(reference::IsExcluded(StringList(), "anything"));
}

struct ExtensionCase {
  const char* text;
  TagMatchRecord record;
};

TEST(MatchTagWithExtensionTest, NeedsALowerCaseExtensionInTheText) {
  const StringList tags = Sorted({"toolbar"});
  const ExtensionCase cases[] = {
      {"C:\\ToolBar\\tb.exe /s", {"C:\\ToolBar\\tb.exe /s", ".exe", "toolbar"}},
      {"C:\\ToolBar\\tb.EXE", {}},  // extensions are compared case-sensitively
      {"C:\\ToolBar\\tb", {}},
      {"toolbar.org helper.dll", {"toolbar.org helper.dll", ".dll", "toolbar"}},  // list order
      {"c:\\other\\x.exe", {}},
  };
  for (const auto& c : cases) {
    const TagMatchRecord record = reference::MatchTagWithExtension(tags, StringList(), c.text);
    EXPECT_EQ(record.text, c.record.text) << c.text;
    EXPECT_EQ(record.extension, c.record.extension) << c.text;
    EXPECT_EQ(record.tag, c.record.tag) << c.text;
  }
  EXPECT_TRUE(reference::MatchTagWithExtension(tags, Sorted({"tb.exe"}), "c:\\toolbar\\tb.exe").empty());
}

TEST(MatchFolderPathTest, CutsAfterTheFirstMatchingFolderName) {
  const MatchCase cases[] = {
      {{"toolbar"}, {}, "c:\\users\\x\\appdata\\roaming\\toolbarx\\", "c:\\users\\x\\appdata\\roaming\\toolbarx"},
      {{"toolbar"}, {}, "C:\\Program Files\\MyToolBar\\bin\\", "c:\\program files\\mytoolbar"},
      {{"abc"}, {}, "c:\\abc\\data\\", ""},  // a three-letter name never matches
      {{"abc"}, {}, "c:\\abcd\\data\\", "c:\\abcd"},
      {{"toolbar"}, {}, "c:\\data\\toolbar", ""},  // a last name without a backslash is not examined
      {{"toolbar"}, {"roaming"}, "c:\\users\\x\\appdata\\Roaming\\toolbarx\\", ""},
      {{"prog"}, {}, "c:\\\\program files\\", "c:\\\\program files"},
      {{"toolbar"}, {}, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(reference::MatchFolderPath(Sorted(c.tags), Sorted(c.exclusions), c.text), c.tag) << c.text;
  }
}

}  // namespace
}  // namespace veltrane
