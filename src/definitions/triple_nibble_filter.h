// A quick first look for the places where an exclusion may begin, sixteen
// places at a time, with the processor's byte shuffle (SSSE3).
//
// Each added triple (an exclusion's first three characters) goes to one of
// eight groups, a bit of a byte. For each of the three characters there are
// two tables of sixteen bytes: the groups whose character at that place has
// a given low half, and those with a given high half. A byte of the text may
// be a group's character where both its halves allow the group, and a place
// passes where some group allows all three of its bytes. That is a superset
// of the places whose three bytes equal an added triple: the tables take any
// low half with any high half of a group's characters, so more bytes pass
// than were added, and never fewer.
//
// Bytes are compared with bit 5 set, as the hashed filter of FastMatcher
// compares them: 'A' and 'a' pass alike (and so do '\\' and '|'). Bytes
// above ASCII never pass.
#pragma once

#include <cstddef>
#include <cstdint>

namespace veltrane {

class TripleNibbleFilter {
 public:
  // Adds a triple of ASCII characters.
  void Add(unsigned char c0, unsigned char c1, unsigned char c2);

  // Whether this processor and this build can run Passing.
  static bool Available();

  // Only where Available(): bit i is set when place i of chars[0, count)
  // may begin an added triple (count at most 64). Reads chars[0] to
  // chars[count + 1], and, when the text goes on before chars, as far back
  // as chars[-before]: the last places are then read as a whole block that
  // ends with them.
  uint64_t Passing(const unsigned char* chars, size_t count, size_t before = 0) const;

 private:
  // [place of the character in the triple][half of the byte]
  alignas(16) uint8_t low_[3][16] = {};
  alignas(16) uint8_t high_[3][16] = {};
};

}  // namespace veltrane
