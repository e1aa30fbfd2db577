#include "definitions/fast_matcher.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "definitions/definitions.h"
#include "definitions/reference_matcher.h"
#include "support/sample_names.h"

namespace veltrane {
namespace {

using samples::Chance;
using samples::Pick;
using samples::Random;

StringList Sorted(const std::vector<std::string>& lines) {
  StringList list(true, true);
  list.Assign(lines);
  return list;
}

StringList InOrder(const std::vector<std::string>& lines) {
  StringList list(false, false);
  list.Assign(lines);
  return list;
}

std::string Escaped(std::string_view text) {
  std::string out(1, '\'');
  for (char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 0x20 && b < 0x7F && ch != '\'') {
      out += ch;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
    }
  }
  return out.append(1, '\'');
}

// Built with append: MinGW g++ at -O3 warns falsely about literal + string.
std::string Describe(const StringList& list) {
  std::string out = "[";
  for (const auto& line : list) out.append(out.size() > 1 ? ", " : "").append(Escaped(line));
  return out.append("]");
}

std::string Describe(const TagMatchRecord& record) {
  std::string out = "{";
  out.append(Escaped(record.text)).append(", ").append(Escaped(record.extension)).append(", ");
  return out.append(Escaped(record.tag)).append("}");
}

// Runs the reference and the fast matcher side by side and keeps the first
// differences found.
class Differential {
 public:
  void Check(const StringList& tags, const StringList& exclusions, const FastMatcher& fast, std::string_view text) {
    ++cases_;
    Compare("IsExcluded", tags, exclusions, text, reference::IsExcluded(exclusions, text) ? "true" : "false",
            fast.IsExcluded(text) ? "true" : "false");
    Compare("MatchTag", tags, exclusions, text, reference::MatchTag(tags, exclusions, text), fast.MatchTag(text));
    Compare("MatchTagWithExtension", tags, exclusions, text,
            Describe(reference::MatchTagWithExtension(tags, exclusions, text)),
            Describe(fast.MatchTagWithExtension(text)));
    Compare("MatchFolderPath", tags, exclusions, text, reference::MatchFolderPath(tags, exclusions, text),
            fast.MatchFolderPath(text));
  }

  // Every other list goes to a matcher that counts bits the portable way,
  // as on processors without the popcnt instruction.
  void Check(const StringList& tags, const StringList& exclusions, const std::vector<std::string>& texts) {
    const auto fast = lists_++ % 2 ? FastMatcher::BuildPortable(tags, exclusions) : FastMatcher::Build(tags, exclusions);
    for (const auto& text : texts) Check(tags, exclusions, *fast, text);
  }

  // IsExcludedAfterClean against the reference's IsExcluded, for a text
  // whose first cleanLength bytes hold no exclusion.
  void CheckAfterClean(const StringList& exclusions, const FastMatcher& fast, std::string_view text,
                       size_t cleanLength) {
    ++cases_;
    Compare("IsExcludedAfterClean", StringList(), exclusions, text,
            reference::IsExcluded(exclusions, text) ? "true" : "false",
            fast.IsExcludedAfterClean(text, cleanLength) ? "true" : "false");
  }

  long cases() const { return cases_; }
  long differences() const { return differences_; }
  const std::string& report() const { return report_; }

 private:
  void Compare(const char* operation, const StringList& tags, const StringList& exclusions, std::string_view text,
               const std::string& expected, const std::string& actual) {
    if (expected == actual) return;
    if (++differences_ <= 10) {
      report_.append(operation).append("(").append(Escaped(text)).append(") tags ").append(Describe(tags));
      report_.append(" exclusions ").append(Describe(exclusions)).append(": reference ").append(Escaped(expected));
      report_.append(", fast ").append(Escaped(actual)).append("\n");
    }
  }

  long lists_ = 0;
  long cases_ = 0;
  long differences_ = 0;
  std::string report_;
};

// Sanitized and unoptimised builds run a tenth of the generated cases: they
// are there for memory and undefined-behaviour faults, which the first cases
// reach as well as the last. The optimised build runs them all.
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
constexpr int kScale = 10;
#else
constexpr int kScale = 1;
#endif

uint64_t Seed() {
  // Another seed can be tried with VELTRANE_MATCHER_SEED=<number>.
  const char* chosen = std::getenv("VELTRANE_MATCHER_SEED");
  return chosen ? std::strtoull(chosen, nullptr, 10) : 20250611;
}

// Letters (some of them several bytes or characters) that texts and tags are
// made of; small alphabets make hits and near misses frequent.
const std::vector<std::vector<std::string>>& Alphabets() {
  static const std::vector<std::vector<std::string>> alphabets = {
      {"a", "b"},
      {"a", "b", "c"},
      {"a", "A", "b", "B"},
      {"a", "b", "c", "d", "e", "f", "g", "h"},
      {"a", "b", "\\"},
      {"a", "b", "c", "\\", "\\"},
      {"a", ".exe", ".EXE", "x", "e", ".dll", ".org"},
      // é, É, ß, ÿ, Ā (outside Latin-1: not folded), an emoji, an invalid byte
      {"a", "\xC3\xA9", "\xC3\x89", "\xC3\x9F", "\xC3\xBF", "\xC4\x80", "\xF0\x9F\x98\x80", "\xFF"},
      {"a", "b", "\xC3\xA9", "\xC3\x89", "\\"},
  };
  return alphabets;
}

std::string RandomWord(Random& random, const std::vector<std::string>& alphabet, size_t length) {
  std::string word;
  for (size_t i = 0; i < length; ++i) word += alphabet[Pick(random, alphabet.size())];
  return word;
}

std::string RandomTag(Random& random, const std::vector<std::string>& alphabet, const std::vector<std::string>& earlier) {
  if (!earlier.empty() && Chance(random, 0.08)) {
    std::string copy = earlier[Pick(random, earlier.size())];  // a duplicate, maybe in other case
    return Chance(random, 0.5) ? ToLower(copy) : copy;
  }
  if (Chance(random, 0.05)) return "";
  if (Chance(random, 0.05)) return RandomWord(random, alphabet, 41 + Pick(random, 6));  // longer than any text
  return RandomWord(random, alphabet, 1 + Pick(random, 6));
}

TEST(FastMatcherTest, EqualsTheReferenceOnRandomSmallAlphabets) {
  const uint64_t seed = Seed();
  Random random(seed);
  Differential differential;
  constexpr int kLists = 140000 / kScale;
  constexpr int kTextsPerList = 8;
  for (int list = 0; list < kLists; ++list) {
    const auto& alphabet = Alphabets()[Pick(random, Alphabets().size())];
    std::vector<std::string> tags;
    const size_t tagCount = 1 + Pick(random, 8);
    while (tags.size() < tagCount) tags.push_back(RandomTag(random, alphabet, tags));
    std::vector<std::string> exclusions;
    if (Chance(random, 0.3)) {
      const size_t count = 1 + Pick(random, 2);
      for (size_t i = 0; i < count; ++i) exclusions.push_back(RandomWord(random, alphabet, Pick(random, 6)));
    }
    std::vector<std::string> texts;
    for (int i = 0; i < kTextsPerList; ++i) texts.push_back(RandomWord(random, alphabet, Pick(random, 41)));
    // The definition lists are sorted without duplicates; a list in any
    // order with duplicates must work the same.
    if (Chance(random, 0.5)) {
      differential.Check(Sorted(tags), Sorted(exclusions), texts);
    } else {
      differential.Check(InOrder(tags), InOrder(exclusions), texts);
    }
  }
  std::printf("random small alphabets: seed %llu, %ld cases, %ld differences\n",
              static_cast<unsigned long long>(seed), differential.cases(), differential.differences());
  EXPECT_EQ(differential.differences(), 0) << differential.report();
}

// Tags whose first characters are more than the compact index has classes
// for: the search falls back to the wider index, which must agree as well.
TEST(FastMatcherTest, EqualsTheReferenceWhenTagsBeginWithManyCharacters) {
  const uint64_t seed = Seed();
  Random random(seed + 3);
  std::vector<std::string> printable;
  for (char c = '!'; c <= '~'; ++c) printable.emplace_back(1, c);
  const std::vector<std::string> letters = {"a", "b", "c", "\\", "!", "~", "Z", "z", "0"};
  Differential differential;
  for (int list = 0; list < 3000 / kScale; ++list) {
    std::vector<std::string> tags;
    for (size_t i = 1 + Pick(random, 6); i > 0; --i) tags.push_back(RandomWord(random, letters, 1 + Pick(random, 6)));
    // One tag for each printable character (68 after folding), after the others.
    for (const auto& first : printable) tags.push_back(first + RandomWord(random, letters, 2 + Pick(random, 3)));
    std::vector<std::string> texts;
    for (int i = 0; i < 8; ++i) texts.push_back(RandomWord(random, Chance(random, 0.5) ? letters : printable, Pick(random, 41)));
    differential.Check(InOrder(tags), StringList(), texts);
  }
  std::printf("tags beginning with many characters: seed %llu, %ld cases, %ld differences\n",
              static_cast<unsigned long long>(seed + 3), differential.cases(), differential.differences());
  EXPECT_EQ(differential.differences(), 0) << differential.report();
}

// Every text over {a, b, x} up to seven letters against every pair of tags
// over {a, b} up to three letters: runs of one letter, 'aa'-like tags whose
// second letter is found on the first one's place, tags longer than the text.
TEST(FastMatcherTest, EqualsTheReferenceOnAllShortTextsAndTagPairs) {
  std::vector<std::string> texts = {""};
  for (size_t begin = 0; texts.back().size() < (kScale == 1 ? 7u : 5u);) {
    const size_t end = texts.size();
    for (size_t i = begin; i < end; ++i) {
      for (const char* letter : {"a", "b", "x"}) texts.push_back(texts[i] + letter);
    }
    begin = end;
  }
  std::vector<std::string> tags;
  for (const auto& text : texts) {
    if (text.size() <= 3 && text.find('x') == std::string::npos) tags.push_back(text);
  }
  Differential differential;
  for (const auto& first : tags) {
    for (const auto& second : tags) differential.Check(InOrder({first, second}), StringList(), texts);
  }
  std::printf("all short texts: %ld cases, %ld differences\n", differential.cases(), differential.differences());
  EXPECT_EQ(differential.differences(), 0) << differential.report();
}

TEST(FastMatcherTest, EqualsTheReferenceOnLongRunsOfOneLetter) {
  Differential differential;
  const StringList tags = InOrder({"aaaa", "aab", "aa", "aba", "baa", "ab", "b", "ba", "aaab", "abab",
                                   std::string(50, 'a'), std::string(60, 'a')});
  for (size_t length = 0; length <= 60; ++length) {
    std::vector<std::string> texts = {std::string(length, 'a')};
    for (size_t at = 0; at < length; at += 3) {
      std::string text(length, 'a');
      text[at] = 'b';
      texts.push_back(text);
      if (at + 4 < length) text[at + 4] = 'b';
      texts.push_back(text);
    }
    // Each tag alone, so that none hides another behind its rank.
    for (const auto& tag : tags) differential.Check(InOrder({tag}), StringList(), texts);
    differential.Check(tags, InOrder({std::string(40, 'a')}), texts);
  }
  std::printf("long runs: %ld cases, %ld differences\n", differential.cases(), differential.differences());
  EXPECT_EQ(differential.differences(), 0) << differential.report();
}

// Every ASCII byte at every place of two eight-byte groups, beside the
// characters on either side of the upper-case letters ('@', '[', '`', '{'):
// folding changes exactly 'A' to 'Z', whichever place of a group they hold.
TEST(FastMatcherTest, EqualsTheReferenceOnEveryAsciiByte) {
  Differential differential;
  for (int byte = 1; byte < 128; ++byte) {
    const std::string c(1, static_cast<char>(byte));
    const std::string lower = ToLower(c);
    std::vector<std::string> texts = {std::string(20, c[0])};
    for (size_t at = 0; at < 17; ++at) {
      std::string text = "xyzw@[`{XYZW@[`{qq.exe";
      text[at] = c[0];
      texts.push_back(text);
    }
    differential.Check(InOrder({c + c + c + c, lower + "yzw", "zw" + lower, lower + "[`{"}), StringList(), texts);
    differential.Check(InOrder({"xyzw"}), InOrder({c + c + c, "w" + c + "["}), texts);
  }
  std::printf("every ASCII byte: %ld cases, %ld differences\n", differential.cases(), differential.differences());
  EXPECT_EQ(differential.differences(), 0) << differential.report();
}

// Realistic tag lists and names, with tags cut from the names themselves so
// that substring and loose hits are frequent.
TEST(FastMatcherTest, EqualsTheReferenceOnRealLookingNames) {
  const uint64_t seed = Seed();
  Random random(seed + 1);
  Differential differential;
  for (int round = 0; round < 40; ++round) {
    std::vector<std::string> texts;
    for (int i = 0; i < 50; ++i) {
      switch (Pick(random, 5)) {
        case 0:
          texts.push_back(samples::FolderPath(random));
          break;
        case 1:
          texts.push_back(samples::KeyName(random));
          break;
        case 2:
          texts.push_back(samples::ValueName(random));
          break;
        case 3:
          texts.push_back(samples::ValueData(random));
          break;
        default:
          texts.push_back(samples::FolderName(random));
      }
    }
    std::vector<std::string> tags = samples::Tags(random, 60);
    for (int i = 0; i < 40; ++i) {
      const std::string& source = texts[Pick(random, texts.size())];
      if (source.size() < 3) continue;
      // Letters of the name in order, each 1 to 3 places after the one before.
      std::string tag;
      for (size_t at = Pick(random, source.size()); at < source.size() && tag.size() < 3 + Pick(random, 8);
           at += 1 + Pick(random, Chance(random, 0.5) ? 1 : 3)) {
        tag += source[at];
      }
      if (!tag.empty()) tags.push_back(tag);
    }
    const StringList exclusions = Sorted(round % 2 ? std::vector<std::string>{"microsoft", "windows", "nvidia"}
                                                   : std::vector<std::string>{});
    differential.Check(Sorted(tags), exclusions, texts);
  }
  std::printf("real-looking names: seed %llu, %ld cases, %ld differences\n",
              static_cast<unsigned long long>(seed + 1), differential.cases(), differential.differences());
  EXPECT_EQ(differential.differences(), 0) << differential.report();
}

// The walks ask about a folder or key path after its parent's, which the
// matcher remembers: random trees walked depth first, with names, tags and
// exclusions over a small alphabet (exclusions may span a backslash), some
// names with a non-ASCII letter, and now and then an unrelated path between.
// Names hold capitals, which the exclusions' filter reads unfolded, and '|',
// which it can't tell from '\\'.
TEST(FastMatcherTest, EqualsTheReferenceAlongDepthFirstWalks) {
  const uint64_t seed = Seed();
  Random random(seed + 2);
  const std::vector<std::string> letters = {"a", "b", "c", "a", "b", "c", "x", "\xC3\xA9", "A", "B", "|"};
  const std::vector<std::string> spanning = {"a", "b", "\\"};
  Differential differential;
  for (int tree = 0; tree < 6000 / kScale; ++tree) {
    std::vector<std::string> tags;
    for (size_t i = 1 + Pick(random, 6); i > 0; --i) tags.push_back(RandomWord(random, {"a", "b", "c"}, 1 + Pick(random, 5)));
    std::vector<std::string> exclusions;
    for (size_t i = Pick(random, 3); i > 0; --i) exclusions.push_back(RandomWord(random, spanning, 1 + Pick(random, 5)));
    const StringList tagList = Sorted(tags);
    const StringList exclusionList = Sorted(exclusions);
    const auto fast = FastMatcher::Build(tagList, exclusionList);
    auto check = [&](const std::string& path) { differential.Check(tagList, exclusionList, *fast, path); };
    // Depth first: each path is its parent's plus a name and a backslash.
    std::vector<std::string> stack = {Chance(random, 0.5) ? "" : "c:\\"};
    for (int step = 0; step < 40 && !stack.empty(); ++step) {
      if (Chance(random, 0.35) && stack.size() > 1) {
        stack.pop_back();
        continue;
      }
      std::string child = stack.back() + RandomWord(random, letters, Pick(random, 6)) + "\\";
      if (Chance(random, 0.1)) check(RandomWord(random, letters, Pick(random, 12)));
      check(child);
      stack.push_back(std::move(child));
    }
  }
  std::printf("depth-first walks: seed %llu, %ld cases, %ld differences\n", static_cast<unsigned long long>(seed + 2),
              differential.cases(), differential.differences());
  EXPECT_EQ(differential.differences(), 0) << differential.report();
}

// The registry walk asks about a key's path once its parent's was found
// clean: random trees walked depth first, the names joined by backslashes,
// over a small alphabet with capitals, '|' (which the filters can't tell
// from a backslash) and a letter beyond ASCII; exclusions of one to six
// characters that may span a backslash (about half of the lists have none
// that does). The ordinary check is asked about some paths between, as the
// folder walk does.
TEST(FastMatcherTest, EqualsTheReferenceAfterACleanParent) {
  const uint64_t seed = Seed();
  Random random(seed + 7);
  const std::vector<std::string> letters = {"a", "b", "c", "a", "b", "x", "A", "B", "|", "\xC3\xA9"};
  const std::vector<std::string> excluded = {"a", "b", "c", "B", "\\", "\xC3\xA9"};
  Differential differential;
  for (int tree = 0; tree < 8000 / kScale; ++tree) {
    std::vector<std::string> exclusions;
    for (size_t i = Pick(random, 4); i > 0; --i) exclusions.push_back(RandomWord(random, excluded, 1 + Pick(random, 6)));
    const StringList exclusionList = Sorted(exclusions);
    const auto fast = tree % 2 ? FastMatcher::BuildPortable(StringList(), exclusionList)
                               : FastMatcher::Build(StringList(), exclusionList);
    struct Key {
      std::string path;
      bool clean;
    };
    const std::string root = Chance(random, 0.5) ? "" : RandomWord(random, letters, Pick(random, 20));
    std::vector<Key> stack = {{root, !reference::IsExcluded(exclusionList, root)}};
    for (int step = 0; step < 60 && !stack.empty(); ++step) {
      if (Chance(random, 0.3) && stack.size() > 1) {
        stack.pop_back();
        continue;
      }
      const Key& parent = stack.back();
      std::string child = parent.path.empty() ? "" : parent.path + "\\";
      child += RandomWord(random, letters, Pick(random, 7));
      if (parent.clean) differential.CheckAfterClean(exclusionList, *fast, child, parent.path.size());
      // Any clean start of the path will do: one that ends within a name,
      // or just before a backslash.
      const size_t cut = Pick(random, child.size() + 1);
      if (Chance(random, 0.3) && !reference::IsExcluded(exclusionList, child.substr(0, cut))) {
        differential.CheckAfterClean(exclusionList, *fast, child, cut);
      }
      if (Chance(random, 0.2)) differential.Check(StringList(), exclusionList, *fast, child);
      const bool clean = !reference::IsExcluded(exclusionList, child);
      stack.push_back({std::move(child), clean});
    }
  }
  std::printf("after a clean parent: seed %llu, %ld cases, %ld differences\n",
              static_cast<unsigned long long>(seed + 7), differential.cases(), differential.differences());
  EXPECT_EQ(differential.differences(), 0) << differential.report();
}

// The folder walk's order: IsExcluded on the full path, then, when it is
// clean, MatchFolderPathOfClean on the part below the scan root. Now and
// then the part below the root is asked about alone (with MatchFolderPath),
// or after a path found excluded, or a part that isn't quite a tail of the
// full path.
TEST(FastMatcherTest, EqualsTheReferenceInTheFolderWalksOrder) {
  const uint64_t seed = Seed();
  Random random(seed + 5);
  const std::vector<std::string> letters = {"a", "b", "c", "a", "b", "x", "A", "B", "\\"};
  long cases = 0;
  long differences = 0;
  std::string report;
  auto compare = [&](const char* operation, const std::string& text, const std::string& expected,
                     const std::string& actual) {
    ++cases;
    if (expected != actual && ++differences <= 10) {
      report += std::string(operation) + "(" + Escaped(text) + "): reference " + Escaped(expected) + ", fast " +
                Escaped(actual) + "\n";
    }
  };
  for (int tree = 0; tree < 6000 / kScale; ++tree) {
    std::vector<std::string> tags;
    for (size_t i = 1 + Pick(random, 4); i > 0; --i) tags.push_back(RandomWord(random, {"a", "b", "c"}, 1 + Pick(random, 5)));
    std::vector<std::string> exclusions;
    for (size_t i = 1 + Pick(random, 2); i > 0; --i) exclusions.push_back(RandomWord(random, {"a", "b", "\\"}, 2 + Pick(random, 4)));
    const StringList tagList = Sorted(tags);
    const StringList exclusionList = Sorted(exclusions);
    const auto fast = Pick(random, 2) ? FastMatcher::Build(tagList, exclusionList)
                                      : FastMatcher::BuildPortable(tagList, exclusionList);
    const std::string root = RandomWord(random, letters, Pick(random, 20)) + "\\";
    std::vector<std::string> stack = {root};
    for (int step = 0; step < 40 && !stack.empty(); ++step) {
      if (Chance(random, 0.35) && stack.size() > 1) {
        stack.pop_back();
        continue;
      }
      const std::string full = stack.back() + RandomWord(random, letters, 1 + Pick(random, 5)) + "\\";
      const size_t base = Chance(random, 0.8) ? root.size() : Pick(random, full.size() + 1);
      std::string below = Chance(random, 0.9) ? full.substr(base) : RandomWord(random, letters, Pick(random, 12));
      // A tail of the full path but for its first character.
      if (!below.empty() && Chance(random, 0.2)) below[0] = letters[Pick(random, letters.size())][0];
      const bool excluded = fast->IsExcluded(full);
      compare("IsExcluded", full, reference::IsExcluded(exclusionList, full) ? "true" : "false",
              excluded ? "true" : "false");
      if (!excluded && below == full.substr(base)) {
        // The folder walk's way: the part below the root of a clean path.
        compare("MatchFolderPathOfClean", below, reference::MatchFolderPath(tagList, exclusionList, below),
                fast->MatchFolderPathOfClean(below));
      } else if (!excluded || Chance(random, 0.3)) {
        compare("MatchFolderPath", below, reference::MatchFolderPath(tagList, exclusionList, below),
                fast->MatchFolderPath(below));
      }
      if (!excluded) stack.push_back(full);
    }
  }
  std::printf("folder walks: seed %llu, %ld cases, %ld differences\n", static_cast<unsigned long long>(seed + 5), cases,
              differences);
  EXPECT_EQ(differences, 0) << report;
}

// Long exclusion lists over a small alphabet: the filter of their first
// three characters is larger and fuller, and many share those three; the
// texts are names and paths that extend one another.
TEST(FastMatcherTest, EqualsTheReferenceWithManyExclusions) {
  const uint64_t seed = Seed();
  Random random(seed + 4);
  const std::vector<std::string> letters = {"a", "b", "c", "d", "e", "A", "D", "\\"};
  Differential differential;
  for (int round = 0; round < 400 / kScale; ++round) {
    std::vector<std::string> exclusions;
    for (size_t i = 20 + Pick(random, 300); i > 0; --i) exclusions.push_back(RandomWord(random, letters, 3 + Pick(random, 5)));
    std::vector<std::string> tags;
    for (size_t i = Pick(random, 4); i > 0; --i) tags.push_back(RandomWord(random, letters, 3 + Pick(random, 4)));
    std::vector<std::string> texts;
    std::string path;
    for (int i = 0; i < 60; ++i) {
      if (Chance(random, 0.3)) path.clear();
      path += RandomWord(random, letters, Pick(random, 9));
      texts.push_back(path);
    }
    differential.Check(Sorted(tags), Sorted(exclusions), texts);
  }
  std::printf("many exclusions: seed %llu, %ld cases, %ld differences\n", static_cast<unsigned long long>(seed + 4),
              differential.cases(), differential.differences());
  EXPECT_EQ(differential.differences(), 0) << differential.report();
}

// A path that shares its beginning with the last clean one is checked
// only from where they part. Here a sibling's name puts its first letter
// at the very place where the first sibling held another, and the third
// path is the second's own letters with the first sibling's first one: the
// remembered path must be the second one whole, or the third would look
// clean up to its end. Short and long parents (the long ones compared
// sixteen bytes at a time, and by a last block that overlaps).
TEST(FastMatcherTest, RemembersEachCleanPathWhole) {
  const StringList exclusions = Sorted({"ab"});
  const StringList tags = Sorted({"zzq"});
  const auto fast = FastMatcher::Build(tags, exclusions);
  Differential differential;
  for (const std::string& parent : std::vector<std::string>{"p\\", "c:\\program files\\vendor\\",
                                                            "c:\\users\\user\\appdata\\local\\vendor product\\"}) {
    for (const char* name : {"azz\\", "xbz\\", "abz\\", "abz\\x\\"}) {
      differential.Check(tags, exclusions, *fast, parent + name);
    }
  }
  EXPECT_EQ(differential.differences(), 0) << differential.report();
}

struct Expected {
  std::vector<std::string> tags;
  const char* text;
  const char* tag;
};

// A path deeper than the clean paths the matcher remembers (the oldest are
// let go), then paths that turn off at every level on the way back up.
TEST(FastMatcherTest, WalksDeeperThanTheRememberedPaths) {
  const StringList exclusions = Sorted({"deepx"});
  const auto fast = FastMatcher::Build(StringList(), exclusions);
  std::vector<std::string> levels = {"C:\\root"};
  for (int level = 0; level < 150; ++level) levels.push_back(levels.back() + "\\d" + std::to_string(level % 7));
  std::vector<std::string> texts = levels;
  for (size_t level = levels.size(); level-- > 0;) {
    texts.push_back(levels[level] + "\\deep");
    texts.push_back(levels[level] + "\\deepX");
    texts.push_back(levels[level] + "x");
  }
  for (const std::string& text : texts) {
    ASSERT_EQ(fast->IsExcluded(text), reference::IsExcluded(exclusions, text)) << text;
  }
}

// Cases where a shortcut in the one-pass search would go wrong.
TEST(FastMatcherTest, PicksTheEarliestStartThenTheFirstTag) {
  const Expected cases[] = {
      // 'ab' fails loosely from the first a (the b is too far) but occurs
      // later: as a substring it passes at start 1 and beats 'xa' there.
      {{"ab", "xa"}, "axxxab", "ab"},
      // No substring: 'ab' passes loosely from start 2 (just after the first
      // a), 'xz' only from start 3 (after the first x): start beats order.
      {{"xz", "ab"}, "axaxbzyy", "ab"},
      // 'ab' passes loosely only from start 6, where the piece 'axb' is
      // shorter than four characters.
      {{"ab"}, "xxxxaaxb", ""},
      // The second letter on the first one's place: 'aa' needs one a ...
      {{"aa"}, "xaxx", "aa"},
      {{"aab"}, "abxx", "aab"},
      // ... but the tag may not be longer than the piece.
      {{"aabcd"}, "abcd", ""},
      {{"abcd"}, "xxaxbcd", "abcd"},
      // Case and Latin-1 folding; a letter outside Latin-1 keeps its case.
      {{"\xC3\x89T\xC3\x89"}, "un \xC3\xA9t\xC3\xA9 ici", "\xC3\xA9t\xC3\xA9"},
      {{"\xC4\x81x"}, "\xC4\x80xxx", ""},
  };
  for (const auto& c : cases) {
    const StringList tags = InOrder(c.tags);
    const auto fast = FastMatcher::Build(tags, StringList());
    EXPECT_EQ(fast->MatchTag(c.text), c.tag) << c.text;
    EXPECT_EQ(reference::MatchTag(tags, StringList(), c.text), c.tag) << c.text;
  }
}

TEST(FastMatcherTest, ExtensionAndFolderRulesAsTheReference) {
  const auto fast = FastMatcher::Build(Sorted({"toolbar", "bar"}), Sorted({"microsoft"}));
  // 'bar' wins at start 1 and carries the extension found in the unchanged text.
  const TagMatchRecord hit = fast->MatchTagWithExtension("C:\\ToolBar\\tb.dll");
  EXPECT_EQ(hit.text, "C:\\ToolBar\\tb.dll");
  EXPECT_EQ(hit.extension, ".dll");
  EXPECT_EQ(hit.tag, "bar");
  // The first passing tag ends the search even without an extension.
  EXPECT_TRUE(fast->MatchTagWithExtension("toolbar.EXE").empty());
  EXPECT_TRUE(fast->MatchTagWithExtension("Microsoft toolbar.exe").empty());
  EXPECT_TRUE(fast->IsExcluded("MICROSOFT"));

  EXPECT_EQ(fast->MatchFolderPath("C:\\Users\\x\\AppData\\Roaming\\ToolbarX\\"), "c:\\users\\x\\appdata\\roaming\\toolbarx");
  // The first folder name that matches decides.
  EXPECT_EQ(fast->MatchFolderPath("C:\\toolbars\\bar\\x\\"), "c:\\toolbars");
  EXPECT_EQ(fast->MatchFolderPath("C:\\toolbar"), "");  // a last name without a backslash
  EXPECT_EQ(fast->MatchFolderPath("C:\\bar\\"), "");    // shorter than four letters
}

// An exclusion with a letter beyond ASCII never occurs in ASCII text, even
// where the low byte of that letter's code is an ASCII letter ('\u0161' and
// 'a'), and the text is checked as one that extends a clean one.
TEST(FastMatcherTest, ExclusionsWithLettersBeyondAsciiNeverExcludeAsciiText) {
  const StringList exclusions = Sorted({"tool\xC5\xA1" "bar", "\xC5\xA1" "ab"});
  const auto fast = FastMatcher::Build(StringList(), exclusions);
  for (const char* text : {"C:\\toolabar", "C:\\toolabar\\x", "C:\\Tool\xC5\xA1" "bar", "aab", "C:\\ab\\\xC5\xA1" "ab"}) {
    EXPECT_EQ(fast->IsExcluded(text), reference::IsExcluded(exclusions, text)) << text;
  }
  EXPECT_FALSE(fast->IsExcluded("C:\\toolabar"));
  EXPECT_TRUE(fast->IsExcluded("C:\\Tool\xC5\xA1" "bar"));
}

TEST(FastMatcherTest, EmptyListsMatchNothing) {
  const auto fast = FastMatcher::Build(Sorted({"", "abc"}), Sorted({""}));
  EXPECT_FALSE(fast->IsExcluded("abcdef"));
  EXPECT_EQ(fast->MatchTag("abcdef"), "abc");
  // Definitions match through the index from the start, before any load.
  const Definitions fresh;
  EXPECT_FALSE(fresh.IsExcluded("abcdef"));
  EXPECT_EQ(fresh.MatchTag("abcdef"), "");
  EXPECT_TRUE(fresh.MatchTagWithExtension("abcdef.exe").empty());
  EXPECT_EQ(fresh.MatchFolderPath("c:\\abcdef\\"), "");
}

}  // namespace
}  // namespace veltrane
