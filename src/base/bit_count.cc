#include "base/bit_count.h"

#if defined(__x86_64__)
#include <cpuid.h>
#endif

namespace veltrane {

bool ProcessorHasPopcnt() {
#if defined(VELTRANE_HAS_POPCNT_BIT_COUNT)
  static const bool has = [] {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (ecx & bit_POPCNT) != 0;
  }();
  return has;
#else
  return false;
#endif
}

}  // namespace veltrane
