// A compact index of a tag list by the tags' first five characters, for the
// search in ASCII text (most names).
//
// Only the ASCII characters that stand among some tag's first five get a
// class of their own (1 to 63); every other byte is class 0, which no tag
// has. A set of classes is then one 64-bit word, and the parts the search
// touches at every text position fit the first-level cache. A tag with a
// character above ASCII can never occur in ASCII text and is left out.
//
// Build fails when the tags' first five characters hold more than 63
// distinct ASCII characters; the search then uses the wider index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/bit_count.h"

namespace veltrane {

class AsciiTagIndex {
 public:
  static constexpr int32_t kNone = -1;

  // The tags folded, in list order (their index is their rank). False, and
  // an index that must not be used, when the classes don't fit or there are
  // 2^25 tags or more.
  bool Build(const std::vector<std::u32string>& tags);

  // The class bit of a byte: 0 for class 0 (any byte no tag has among its
  // first five characters, bytes above ASCII included).
  uint64_t Bit(unsigned char byte) const { return bits_[byte]; }
  // bit: one class's bit, never 0 (the builtin leaves 0 undefined, and so
  // needs no test for it).
  static unsigned ClassOfBit(uint64_t bit) { return static_cast<unsigned>(__builtin_ctzll(bit)); }
  unsigned ClassOf(unsigned char byte) const { return classes_[byte]; }

  // The classes of the one-character tags, and the lowest rank of those of
  // class c (or kNone).
  uint64_t OneCharClasses() const { return oneCharClasses_; }
  int32_t OneCharRank(unsigned c) const { return oneCharRank_[c]; }
  // The classes that follow c as the second character of a tag.
  uint64_t Seconds(unsigned c) const { return seconds_[c]; }

  // Tags beginning with two given classes.
  struct Pair {
    uint64_t thirds = 0;       // classes of their third characters
    uint32_t tripleBase = 0;   // id of the triple of the lowest third class
    int32_t rank = kNone;      // lowest rank of the two-character tags
  };
  // The pair (c0, c1); c1 must be in Seconds(c0).
  uint32_t PairId(unsigned c0, unsigned c1) const { return pairIds_[c0 * 64 + c1]; }
  const Pair& PairAt(uint32_t id) const { return pairs_[id]; }

  // Tags beginning with three given classes: all that the third and the
  // fourth stage read of them lies together, one cache line to bring in
  // where the scan's walk has pushed the index out of the cache.
  struct Triple {
    uint64_t fourths = 0;      // classes of the fourth characters of the longer tags
    uint32_t groupBase = 0;    // id of the group of the lowest fourth class
    int32_t rank = kNone;      // lowest rank of the three-character tags
  };
  // The triple below a pair whose third class is c2 (in pair.thirds). The
  // ids below a node are counted with BitCount (base/bit_count.h).
  template <class BitCount = PortableBitCount>
  uint32_t TripleOf(const Pair& pair, unsigned c2) const {
    return pair.tripleBase + BitCount::Count(pair.thirds & ((uint64_t{1} << c2) - 1));
  }
  const Triple& TripleAt(uint32_t id) const { return triples_[id]; }
  // The longer tags of a triple whose fourth class is c3 (in its fourths):
  // a group, with the classes of their fifth characters (bit 0: tags of
  // four characters).
  struct Group {
    uint64_t fifths = 0;
    uint32_t quintBase = 0;  // id of the quint of the lowest fifth class
  };
  template <class BitCount = PortableBitCount>
  uint32_t GroupId(const Triple& triple, unsigned c3) const {
    return triple.groupBase + BitCount::Count(triple.fourths & ((uint64_t{1} << c3) - 1));
  }
  const Group& GroupAt(uint32_t id) const { return groups_[id]; }
  // The tags of a group whose fifth class is c4 (in its fifths; 0 for those
  // of four characters): entries [begin, end) of EntryAt, ascending by rank.
  struct Quint {
    uint32_t begin = 0;
    uint32_t end = 0;
  };
  template <class BitCount = PortableBitCount>
  const Quint& QuintOf(const Group& group, unsigned c4) const {
    return quints_[group.quintBase + BitCount::Count(group.fifths & ((uint64_t{1} << c4) - 1))];
  }
  // A tag of a quint: its rank, and its sixth character (0 when it has none,
  // or when that is NUL), kept beside the rank so that most tags are ruled
  // out without reading their text, which the scan's walk has pushed out of
  // the caches.
  struct TagEntry {
    uint32_t rank;
    unsigned char sixth;
  };
  TagEntry EntryAt(uint32_t entry) const {
    return TagEntry{entries_[entry] >> 7, static_cast<unsigned char>(entries_[entry] & 127)};
  }

  // No tag can occur in ASCII text.
  bool empty() const { return empty_; }
  // The length of the shortest tag indexed (when not empty): a text, or a
  // place nearer its end, with room for fewer characters holds none.
  size_t ShortestTag() const { return shortest_; }

  size_t MemoryBytes() const;

 private:
  bool empty_ = true;
  size_t shortest_ = 0;
  uint64_t bits_[256] = {};
  uint8_t classes_[256] = {};
  uint64_t oneCharClasses_ = 0;
  int32_t oneCharRank_[64];
  uint64_t seconds_[64] = {};
  std::vector<uint16_t> pairIds_;  // 64 x 64; 0 is an empty pair
  std::vector<Pair> pairs_;
  std::vector<Triple> triples_;
  std::vector<Group> groups_;
  std::vector<Quint> quints_;
  std::vector<uint32_t> entries_;  // rank << 7 | sixth character
};

}  // namespace veltrane
