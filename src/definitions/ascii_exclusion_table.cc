#include "definitions/ascii_exclusion_table.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace veltrane {

void AsciiExclusionTable::Build(const std::vector<std::u32string>& exclusions) {
  slots_.clear();
  entries_.clear();
  tails_.clear();
  // The tails of each key, shortest first (a text that is too short for one
  // is too short for those after it).
  std::map<uint32_t, std::vector<std::u32string>> byKey;
  for (const auto& exclusion : exclusions) {
    if (exclusion.size() < 3) continue;
    if (std::any_of(exclusion.begin(), exclusion.end(), [](char32_t c) { return c >= 128; })) continue;
    byKey[Key(exclusion[0], exclusion[1], exclusion[2])].push_back(exclusion.substr(3));
  }
  size_t bits = 1;
  while ((size_t{1} << bits) < 2 * byKey.size()) ++bits;
  slots_.assign(size_t{1} << bits, Slot{});
  shift_ = 32 - static_cast<int>(bits);
  for (auto& [key, tails] : byKey) {
    std::stable_sort(tails.begin(), tails.end(),
                     [](const std::u32string& a, const std::u32string& b) { return a.size() < b.size(); });
    Slot slot{key, static_cast<uint32_t>(entries_.size()), 0};
    for (const auto& tail : tails) {
      entries_.push_back(Entry{static_cast<uint32_t>(tails_.size()), static_cast<uint32_t>(tail.size())});
      for (char32_t c : tail) tails_ += static_cast<char>(c);
    }
    slot.end = static_cast<uint32_t>(entries_.size());
    size_t at = SlotOf(key);
    while (slots_[at].key != 0) at = (at + 1) & (slots_.size() - 1);
    slots_[at] = slot;
  }
}

bool AsciiExclusionTable::BeginsAt(const unsigned char* chars, size_t length, size_t p) const {
  const uint32_t key = Key(Fold(chars[p]), Fold(chars[p + 1]), Fold(chars[p + 2]));
  const size_t mask = slots_.size() - 1;
  size_t at = SlotOf(key);
  while (slots_[at].key != key) {
    if (slots_[at].key == 0) return false;
    at = (at + 1) & mask;
  }
  const unsigned char* const rest = chars + p + 3;
  const size_t left = length - p - 3;
  for (uint32_t e = slots_[at].begin; e < slots_[at].end; ++e) {
    const Entry entry = entries_[e];
    if (entry.length > left) return false;
    const char* const tail = tails_.data() + entry.at;
    size_t k = 0;
    while (k < entry.length && Fold(rest[k]) == static_cast<unsigned char>(tail[k])) ++k;
    if (k == entry.length) return true;
  }
  return false;
}

size_t AsciiExclusionTable::MemoryBytes() const {
  return slots_.capacity() * sizeof(Slot) + entries_.capacity() * sizeof(Entry) + tails_.capacity();
}

}  // namespace veltrane
