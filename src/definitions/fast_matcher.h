// The matching rules with an index: the same results as the reference rules
// (reference_matcher.h) for every input, in one pass over the text instead of
// one search per tag and start position.
//
// Built once per definition load, and again whenever a download replaces a
// list. IsExcluded and MatchFolderPath remember the last paths they found
// clean, so that a path which extends one of them (the folder and registry
// walks go depth first) costs only what it adds: one matcher must not be used
// from two threads at once (all matching runs on the window thread).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/string_list.h"
#include "definitions/ascii_exclusion_table.h"
#include "definitions/ascii_tag_index.h"
#include "definitions/prefix_trie.h"
#include "definitions/tag_match.h"
#include "definitions/triple_nibble_filter.h"

namespace veltrane {

class FastMatcher {
 public:
  // Tags and exclusions are taken in list order (the order decides which tag
  // is reported); empty entries never match.
  static std::unique_ptr<FastMatcher> Build(const StringList& tags, const StringList& exclusions);
  // The same with the bits of the index counted the portable way, and the
  // exclusions' filter taken one place at a time, even where the processor
  // has instructions for them (base/bit_count.h, triple_nibble_filter.h):
  // for tests.
  static std::unique_ptr<FastMatcher> BuildPortable(const StringList& tags, const StringList& exclusions);

  bool IsExcluded(std::string_view text) const;
  // IsExcluded(text) when text's first cleanLength bytes are known to hold
  // no exclusion (see Definitions::IsExcludedAfterClean). Keeps no state.
  bool IsExcludedAfterClean(std::string_view text, size_t cleanLength) const;
  // The first matching tag, lower-cased, or "".
  std::string MatchTag(std::string_view text) const;
  TagMatchRecord MatchTagWithExtension(std::string_view text) const;
  // Whether an entry of the extension list occurs in text (without one,
  // MatchTagWithExtension is empty).
  bool HoldsListedExtension(std::string_view text) const { return FirstExtension(text) != nullptr; }
  // The lower-cased path cut after the first matching folder name, or "".
  std::string MatchFolderPath(std::string_view path) const;
  // The same for a path known to hold no exclusion (see
  // Definitions::MatchFolderPathOfClean).
  std::string MatchFolderPathOfClean(std::string_view path) const;

  // Bytes held by the index and the folded lists.
  size_t MemoryBytes() const;

 private:
  // The tag that wins in a folded text: the earliest start position (0-based),
  // then the lowest rank.
  struct Hit {
    size_t start = 0;
    int32_t rank = PrefixTrie::kNone;
    bool found() const { return rank != PrefixTrie::kNone; }
    // Offers a tag that passes from start in a text of textLength
    // characters: it counts (true) when the piece from there is long enough
    // for it, and it is kept when it beats the one kept so far.
    bool Offer(int32_t tagRank, size_t tagStart, size_t tagLength, size_t textLength);
    // Once a tag passes at start 1, only lower ranks can win.
    bool Beaten(uint32_t tagRank) const {
      return found() && start == 0 && static_cast<int32_t>(tagRank) >= rank;
    }
  };

  FastMatcher() = default;

  template <class Text>
  bool ContainsExclusion(const Text& text) const;
#if defined(VELTRANE_HAS_NIBBLE_FILTER)
  // Whether an exclusion begins at one of the places [from, n - 2) of an
  // ASCII text of n bytes (n - 2 at least 16), the nibble filter taken
  // inline: only where the processor has it.
  bool ExclusionBeginsWithNibbles(const unsigned char* chars, size_t from, size_t n) const;
#endif
  // knownClean: the caller knows that path holds no exclusion.
  std::string MatchFolderPathIn(std::string_view path, bool knownClean) const;
  // Whether an exclusion begins at p (the filters said one may).
  template <class Text>
  bool ExclusionAt(const Text& text, size_t p) const;
  // Calls visit(p), in order, for each place p in [begin, end) whose three
  // characters chars[p..p + 2] (folded or not) pass the filter of the
  // exclusions' first three characters, until visit returns true; true
  // when it did. chars is the text's start: reads chars[0] to chars[end + 1].
  template <class Visit>
  bool ForEachPlaceThroughFilter(const unsigned char* chars, size_t begin, size_t end, Visit&& visit) const;
  // With firstOnly, stops at the first passing tag of any start position
  // (enough to know whether a folder name matches at all).
  template <class Text>
  Hit FindTag(const Text& text, bool firstOnly) const;
  template <class Text>
  Hit FindTagAscii(const Text& text, bool firstOnly) const;
  template <class Text, class BitCount>
  Hit FindTagInClasses(const Text& text, bool firstOnly) const;

  // A list of folded entries stored end to end.
  class FoldedList {
   public:
    void Assign(const std::vector<std::u32string>& entries);
    std::u32string_view operator[](uint32_t rank) const {
      return std::u32string_view(chars_.data() + starts_[rank], starts_[rank + 1] - starts_[rank]);
    }
    size_t MemoryBytes() const { return chars_.capacity() * sizeof(char32_t) + starts_.capacity() * sizeof(uint32_t); }

   private:
    std::u32string chars_;
    std::vector<uint32_t> starts_;
  };

  FoldedList tags_;
  FoldedList exclusions_;
  std::vector<std::string> loweredTags_;  // the folded tags as UTF-8, as reported
  PrefixTrie tagIndex_;
  // The compact index for ASCII text, when the tags' first characters fit
  // its classes; its search keeps the text's classes and windows here.
  AsciiTagIndex asciiTagIndex_;
  bool asciiTagIndexUsable_ = false;
  bool popcnt_ = false;  // its search may count bits with the processor's popcnt
  mutable std::vector<uint64_t> windowScratch_;
  mutable std::vector<uint8_t> classScratch_;
  // A partial chain of the staged search: where its first character is,
  // where the last one found is, the index node reached, and the classes
  // the next character may have.
  struct ChainStep {
    uint32_t start;
    uint32_t last;
    uint32_t node;
    uint64_t next;
  };
  // A place where a tag may begin, and the classes its second character
  // may have: the first stage's chains, whose first and last character are
  // the same, in two thirds of the room.
  struct FirstStep {
    uint32_t at;
    uint64_t next;
  };
  // The chains of each stage, and the spare lists of those with classes
  // left to take.
  mutable std::vector<FirstStep> firstScratch_[2];
  mutable std::vector<ChainStep> chainScratch_[4];
  PrefixTrie exclusionIndex_;
  // Filters on the first characters of the short exclusions (one and two
  // characters): rare, and kept apart from what the common check reads.
  bool MayStartExclusion(char32_t c0, char32_t c1, char32_t c2, size_t left) const;
  uint64_t exclusionSingles_[2] = {0, 0};
  uint64_t exclusionPairs_[128 * 128 / 64] = {};

  // The texts last found clean by one operation, each a prefix of the next
  // (a path and its parents): the longest one that begins a new text.
  class CleanPrefixes {
   public:
    // The length of the longest remembered text that begins text, or 0.
    // Forgets the remembered texts that don't.
    size_t Longest(std::string_view text);
    // Remembers a clean text, right after Longest was asked about it.
    void Remember(std::string_view text);
    // IsExcluded's: the places of the texts remembered whose three
    // characters pass the exclusions' filter, ascending. After Longest,
    // those that lie in the prefix it found; IsExcluded adds the new text's
    // before it remembers the text.
    std::vector<uint32_t>& Passing() { return passing_; }

   private:
    static constexpr size_t kDepth = 64;
    size_t LastLength() const { return count_ == 0 ? 0 : lengths_[count_ - 1]; }
    size_t count_ = 0;   // lengths held
    size_t shared_ = 0;  // what the text Longest was last given shares with chain_
    std::string chain_;  // the last text remembered, in its first LastLength() bytes
    std::vector<uint32_t> passing_;
    uint32_t lengths_[kDepth];  // ascending: each chain_[0, length) was clean
  };

  // What the exclusion check reads for every path, side by side: the walk
  // pushes it out of the cache between two paths, and each line it spans
  // must be brought back. Filters on the first three characters of the
  // exclusions of three characters or more: sixteen places at a time where
  // the processor can (most places are ruled out there at a fraction of the
  // cost), then a hashed set of the triples, then the exact table.
  bool anyExclusion_ = false;  // an exclusion that isn't empty
  bool hasShortExclusions_ = false;
  bool nibbleFilter_ = false;
  int exclusionTripleBits_ = 9;  // the filter holds 2^bits bits, sized to the list
  size_t longestExclusion_ = 0;
  bool exclusionsHoldBackslash_ = false;  // some exclusion may span two names of a path
  bool TripleMayStartExclusion(size_t slot) const { return (exclusionTriples_[slot >> 6] >> (slot & 63)) & 1; }
  std::vector<uint64_t> exclusionTriples_;
  TripleNibbleFilter exclusionNibbles_;
  AsciiExclusionTable asciiExclusions_;
  mutable CleanPrefixes cleanTexts_;  // IsExcluded: no exclusion
  // Where an exclusion may begin in a text whose first cleanPrefix
  // characters were found clean: it must end after them.
  size_t ExclusionFrom(size_t cleanPrefix) const;

  mutable CleanPrefixes cleanPaths_;  // MatchFolderPath: no exclusion, no matching name

  // The first entry of the extension list (in its order) that occurs in the
  // unchanged text, case-sensitively, or nullptr.
  const std::string* FirstExtension(std::string_view text) const;

  std::vector<std::string> extensions_;
  // All are "." and three more bytes (and fit a 32-bit set): then each one's
  // four bytes as a word, in list order.
  bool dottedExtensions_ = false;
  std::vector<uint32_t> extensionWords_;
};

}  // namespace veltrane
