// Counting the set bits of a 64-bit word, two ways.
//
// The popcnt instruction is not assumed: some processors that run 64-bit
// Windows 10 lack it, and the 32-bit build can't rely on it. Without it the
// compiler's builtin calls a slow library routine, so the portable count is
// a few shifts and a multiply. Code that counts bits in a hot loop takes the
// way as a template argument and is built both ways; the instruction is used
// only where ProcessorHasPopcnt() has seen it.
#pragma once

#include <cstdint>

namespace veltrane {

struct PortableBitCount {
  static uint32_t Count(uint64_t x) {
    x = x - ((x >> 1) & 0x5555555555555555ull);
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<uint32_t>((x * 0x0101010101010101ull) >> 56);
  }
};

#if defined(__x86_64__)
#define VELTRANE_HAS_POPCNT_BIT_COUNT 1
// Only where ProcessorHasPopcnt() is true. Written as an instruction, not
// the builtin: the builtin would need the whole file built for processors
// that have it.
struct PopcntBitCount {
  static uint32_t Count(uint64_t x) {
    uint64_t count;
    __asm__("popcnt %1, %0" : "=r"(count) : "rm"(x) : "cc");
    return static_cast<uint32_t>(count);
  }
};
#endif

// Whether this processor has the popcnt instruction and PopcntBitCount may
// be used; false on builds without PopcntBitCount.
bool ProcessorHasPopcnt();

}  // namespace veltrane
