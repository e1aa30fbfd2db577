#include "definitions/triple_nibble_filter.h"

#include <cstring>

#if defined(VELTRANE_HAS_NIBBLE_FILTER)
#include <cpuid.h>
#endif

namespace veltrane {

void TripleNibbleFilter::Add(unsigned char c0, unsigned char c1, unsigned char c2) {
  // Triples that begin alike share a group, so that a group's tables mix
  // fewer characters.
  const uint8_t group = static_cast<uint8_t>(1u << ((c0 | 0x20u) % 8));
  const unsigned char chars[3] = {c0, c1, c2};
  for (int place = 0; place < 3; ++place) {
    const unsigned folded = chars[place] | 0x20u;
    low_[place][folded & 0x0f] |= group;
    // The byte with bit 5 clear has the other high half.
    high_[place][folded >> 4] |= group;
    high_[place][(folded >> 4) & ~2u] |= group;
  }
}

#if defined(VELTRANE_HAS_NIBBLE_FILTER)

bool TripleNibbleFilter::Available() {
  static const bool has = [] {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (ecx & bit_SSSE3) != 0;
  }();
  return has;
}

__attribute__((target("ssse3"))) uint64_t TripleNibbleFilter::Passing(const unsigned char* chars, size_t count,
                                                                        size_t before) const {
  uint64_t passing = 0;
  size_t at = 0;
  for (; at + 16 <= count; at += 16) passing |= uint64_t{Passing16(chars + at)} << at;
  if (at == count) return passing;
  const size_t left = count - at;
  if (count + before >= 16) {
    // The sixteen places that end with the last one: those before `at` are
    // dropped.
    const unsigned char* const end = chars + count;
    const uint32_t block = Passing16(end - 16);
    return passing | uint64_t{block >> (16 - left)} << at;
  }
  // A short text: its last places read their bytes from a copy, since the
  // text may end right after chars[count + 1].
  alignas(16) unsigned char rest[32] = {};
  std::memcpy(rest, chars + at, left + 2);
  return passing | uint64_t{Passing16(rest) & ((1u << left) - 1)} << at;
}

#else

bool TripleNibbleFilter::Available() { return false; }

uint64_t TripleNibbleFilter::Passing(const unsigned char*, size_t count, size_t) const {
  // Never called where unavailable; every place passes, which is safe.
  return count >= 64 ? ~uint64_t{0} : (uint64_t{1} << count) - 1;
}

#endif

}  // namespace veltrane
