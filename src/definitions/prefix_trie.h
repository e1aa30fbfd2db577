// An index of a tag list by the tags' first three characters (folded code
// points), three levels deep: level 1 by the first character, level 2 by the
// first two, level 3 by the first three. ASCII children are found without
// hashing: a level-1 node has a row of 128 child ids, a level-2 node a
// 128-bit mask of its children's characters and the id of the first (the
// rest follow in character order). Children with any other character are
// found through one hash table.
//
// A tag's rank is its index in the list given to the constructor. Level-1 and
// level-2 nodes keep the lowest rank of the tags exactly one or two characters
// long; level-3 nodes keep the ranks of all tags of three or more characters
// with that prefix, ascending. Empty tags are left out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/bit_count.h"

namespace veltrane {

class PrefixTrie {
 public:
  static constexpr int32_t kNone = -1;

  struct Node {
    uint64_t asciiChildren[2] = {0, 0};  // characters of the ASCII children
    int32_t rank = kNone;                // lowest rank of the tags that end here
    uint32_t childBase = 0;              // level 1: row of child ids; level 2: id of the first ASCII child
    bool wideChildren = false;           // some child has a non-ASCII character
  };

  PrefixTrie();
  explicit PrefixTrie(const std::vector<std::u32string>& tags);

  // ASCII shortcuts: the lowest rank of the one-character tags c, and the row
  // of c's level-2 children (kNone when there are none), to look up with
  // SecondInRow. Both without touching a node.
  int32_t AsciiRank(char32_t c) const { return asciiRank_[c]; }
  int32_t AsciiRow(char32_t c) const { return asciiRow_[c]; }
  int32_t SecondInRow(int32_t row, char32_t c) const { return secondRows_[static_cast<size_t>(row) + c]; }
  // The ASCII second characters of the tags that start with c (two words of
  // a 128-bit set; empty when none does).
  const uint64_t* AsciiSeconds(char32_t c) const { return asciiSeconds_[c]; }
  // The ASCII fourth characters of the longer tags below a level-3 node.
  const uint64_t* AsciiFourths(int32_t third) const { return level3_[Index(third)].fourth; }

  // Level-1 node id for a first character, or kNone.
  int32_t First(char32_t c) const {
    if (c < 128) return firstAscii_[c];
    return hasWide_ ? wide_.Find(WideKey(0, 0, c)) : kNone;
  }
  // Level-2 node id below a level-1 node, or kNone.
  int32_t Second(int32_t first, char32_t c) const {
    const Node& node = level1_[Index(first)];
    if (c < 128) return HasAscii(node) ? secondRows_[node.childBase * 128 + c] : kNone;
    return node.wideChildren ? wide_.Find(WideKey(1, static_cast<uint64_t>(first), c)) : kNone;
  }
  // Level-3 node id below a level-2 node, or kNone.
  int32_t Third(int32_t second, char32_t c) const {
    const Node& node = level2_[Index(second)];
    if (c < 128) {
      const uint64_t word = node.asciiChildren[c >> 6];
      const uint64_t bit = uint64_t{1} << (c & 63);
      if (!(word & bit)) return kNone;
      uint32_t below = PortableBitCount::Count(word & (bit - 1));
      if (c >= 64) below += PortableBitCount::Count(node.asciiChildren[0]);
      return static_cast<int32_t>(node.childBase + below);
    }
    return node.wideChildren ? wide_.Find(WideKey(2, static_cast<uint64_t>(second), c)) : kNone;
  }

  const Node& Level1(int32_t id) const { return level1_[Index(id)]; }
  const Node& Level2(int32_t id) const { return level2_[Index(id)]; }
  // The tags of three or more characters below a level-3 node (exactly
  // three, then the longer ones by their fourth character).
  std::span<const uint32_t> Ranks(int32_t third) const {
    const size_t i = Index(third);
    return Span(level3_[i].begin, level3_[i + 1].begin);
  }
  // The tags of exactly three characters below a level-3 node, ascending.
  std::span<const uint32_t> Ending(int32_t third) const {
    const size_t i = Index(third);
    return Span(level3_[i].begin, level3_[i].endingEnd);
  }
  // Whether a longer tag below a level-3 node may have the fourth character
  // c: a cheap test before WithFourth.
  bool AnyFourth(int32_t third, char32_t c) const {
    const Level3& node = level3_[Index(third)];
    if (c < 128) return (node.fourth[c >> 6] >> (c & 63)) & 1;
    return node.wideFourth;
  }
  // The tags below a level-3 node whose fourth character is c, ascending.
  [[gnu::always_inline]] std::span<const uint32_t> WithFourth(int32_t third, char32_t c) const {
    const Level3& node = level3_[Index(third)];
    uint32_t asciiCount = PortableBitCount::Count(node.fourth[0]) + PortableBitCount::Count(node.fourth[1]);
    if (c < 128) {
      const uint64_t word = node.fourth[c >> 6];
      const uint64_t bit = uint64_t{1} << (c & 63);
      if (!(word & bit)) return {};
      uint32_t below = PortableBitCount::Count(word & (bit - 1));
      if (c >= 64) below += PortableBitCount::Count(node.fourth[0]);
      const Level4& child = level4_[node.childBase + below];
      return Span(child.begin, child.end);
    }
    for (uint32_t k = node.childBase + asciiCount; k < level3_[Index(third) + 1].childBase; ++k) {
      if (level4_[k].c == c) return Span(level4_[k].begin, level4_[k].end);
    }
    return {};
  }

  // Whether any level-2 node may have a child with this character: a cheap
  // test that skips the child lookup for most characters.
  bool AnyThird(const Node& second, char32_t c) const {
    if (c < 128) return (second.asciiChildren[c >> 6] >> (c & 63)) & 1;
    return second.wideChildren;
  }

  size_t MemoryBytes() const;

 private:
  // Open addressing from a 64-bit key to a node id, for non-ASCII characters.
  class WideMap {
   public:
    void Build(const std::vector<std::pair<uint64_t, int32_t>>& entries);
    int32_t Find(uint64_t key) const {
      if (keys_.empty()) return kNone;
      for (size_t i = Slot(key);; i = (i + 1) & mask_) {
        if (keys_[i] == key) return values_[i];
        if (keys_[i] == kEmpty) return kNone;
      }
    }
    size_t MemoryBytes() const { return keys_.capacity() * sizeof(uint64_t) + values_.capacity() * sizeof(int32_t); }

   private:
    static constexpr uint64_t kEmpty = ~uint64_t{0};
    size_t Slot(uint64_t key) const { return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_); }
    std::vector<uint64_t> keys_;
    std::vector<int32_t> values_;
    size_t mask_ = 0;
    int shift_ = 63;
  };

  static size_t Index(int32_t id) { return static_cast<size_t>(id); }
  // Code points need 21 bits; the level and the parent id fill the rest.
  static uint64_t WideKey(uint64_t level, uint64_t parent, char32_t c) {
    return (level << 62) | (parent << 21) | static_cast<uint64_t>(c);
  }

  static bool HasAscii(const Node& node) { return (node.asciiChildren[0] | node.asciiChildren[1]) != 0; }

  int32_t firstAscii_[128];  // level-1 node ids of ASCII first characters
  int32_t asciiRank_[128];
  int32_t asciiRow_[128];    // offset of the row in secondRows_
  uint64_t asciiSeconds_[128][2];
  bool hasWide_ = false;
  std::vector<Node> level1_;
  std::vector<int32_t> secondRows_;  // 128 level-2 ids per level-1 node with ASCII children
  std::vector<Node> level2_;
  std::span<const uint32_t> Span(uint32_t begin, uint32_t end) const {
    return std::span<const uint32_t>(ranks_.data() + begin, end - begin);
  }

  // A level-3 node owns ranks_[begin, next node's begin): its three-character
  // tags up to endingEnd, then the longer ones grouped by their fourth
  // character, one level-4 entry per group (ASCII groups first, in order).
  struct Level3 {
    uint64_t fourth[2] = {0, 0};  // ASCII fourth characters
    uint32_t begin = 0;
    uint32_t endingEnd = 0;
    uint32_t childBase = 0;  // first level-4 entry; the next node's is the end
    bool wideFourth = false;
  };
  struct Level4 {
    char32_t c;
    uint32_t begin;
    uint32_t end;
  };
  std::vector<Level3> level3_;  // one more than the nodes, to end the last one
  std::vector<Level4> level4_;
  std::vector<uint32_t> ranks_;
  WideMap wide_;
};

}  // namespace veltrane
