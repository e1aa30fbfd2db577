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

#if defined(__x86_64__)
#include <tmmintrin.h>
#define VELTRANE_HAS_NIBBLE_FILTER 1
#endif

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

#if defined(VELTRANE_HAS_NIBBLE_FILTER)
  // Only in code built for SSSE3, where Available(): bit i is set when
  // place i of chars[0, 16) may begin an added triple. Reads chars[0] to
  // chars[17]. Here, so that a caller's loop can take it inline.
  __attribute__((target("ssse3"))) uint32_t Passing16(const unsigned char* chars) const {
    const __m128i halfMask = _mm_set1_epi8(0x0f);
    __m128i groups = _mm_set1_epi8(-1);
#pragma GCC unroll 3
    for (int place = 0; place < 3; ++place) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chars + place));
      const __m128i lowHalves = _mm_and_si128(bytes, halfMask);
      const __m128i highHalves = _mm_and_si128(_mm_srli_epi16(bytes, 4), halfMask);
      const __m128i byLow = _mm_shuffle_epi8(_mm_load_si128(reinterpret_cast<const __m128i*>(low_[place])), lowHalves);
      const __m128i byHigh =
          _mm_shuffle_epi8(_mm_load_si128(reinterpret_cast<const __m128i*>(high_[place])), highHalves);
      groups = _mm_and_si128(groups, _mm_and_si128(byLow, byHigh));
    }
    const __m128i none = _mm_cmpeq_epi8(groups, _mm_setzero_si128());
    return ~static_cast<uint32_t>(_mm_movemask_epi8(none)) & 0xffffu;
  }
#endif

 private:
  // [place of the character in the triple][half of the byte]
  alignas(16) uint8_t low_[3][16] = {};
  alignas(16) uint8_t high_[3][16] = {};
};

}  // namespace veltrane
