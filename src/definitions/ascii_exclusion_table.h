// The exclusions that can occur in ASCII text, by their first three
// characters: the last look at a place that the exclusions' filters let
// through, where most texts the scan asks about are ASCII paths.
//
// One probe of a small hash table of exact three-character keys, then a
// byte compare of each candidate's rest: a few cache lines, against one for
// each level of a character trie. The text is read unfolded and folded as
// it is read ('A' to 'Z' become 'a' to 'z'), as the exclusions were.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace veltrane {

class AsciiExclusionTable {
 public:
  // The exclusions folded. Those shorter than three characters, or with a
  // character above ASCII, are left out: the caller handles the first kind,
  // and the second never occurs in ASCII text.
  void Build(const std::vector<std::u32string>& exclusions);

  // Whether one of the exclusions begins at p of the ASCII text chars[0,
  // length), compared folded. chars[p] to chars[p + 2] must lie in the text.
  bool BeginsAt(const unsigned char* chars, size_t length, size_t p) const;

  size_t MemoryBytes() const;

 private:
  static unsigned Fold(unsigned char c) { return c + (static_cast<unsigned char>(c - 'A') < 26 ? 0x20u : 0u); }
  // A stored key has bit 31 set, so that 0 marks a free slot.
  static uint32_t Key(unsigned c0, unsigned c1, unsigned c2) { return 0x80000000u | c0 | c1 << 8 | c2 << 16; }
  size_t SlotOf(uint32_t key) const { return (key * 2654435761u) >> shift_; }

  // The exclusions that begin with one three-character key: entries
  // [begin, end), shortest first.
  struct Slot {
    uint32_t key = 0;
    uint32_t begin = 0;
    uint32_t end = 0;
  };
  // The characters of an exclusion after its first three: tails_[at, at + length).
  struct Entry {
    uint32_t at;
    uint32_t length;
  };
  std::vector<Slot> slots_;  // a power of two, at most half full
  int shift_ = 31;
  std::vector<Entry> entries_;
  std::string tails_;
};

}  // namespace veltrane
