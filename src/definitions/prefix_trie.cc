#include "definitions/prefix_trie.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace veltrane {
namespace {

uint64_t Key2(char32_t c0, char32_t c1) { return (uint64_t{c0} << 21) | c1; }
uint64_t Key3(char32_t c0, char32_t c1, char32_t c2) { return (uint64_t{c0} << 42) | (uint64_t{c1} << 21) | c2; }

// Position of key in a sorted, duplicate-free vector that holds it.
int32_t IdOf(const std::vector<uint64_t>& sortedKeys, uint64_t key) {
  return static_cast<int32_t>(std::lower_bound(sortedKeys.begin(), sortedKeys.end(), key) - sortedKeys.begin());
}

void SortUnique(std::vector<uint64_t>& keys) {
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
}

}  // namespace

void PrefixTrie::WideMap::Build(const std::vector<std::pair<uint64_t, int32_t>>& entries) {
  keys_.clear();
  values_.clear();
  if (entries.empty()) return;
  size_t capacity = 8;
  shift_ = 61;
  while (capacity < entries.size() * 2) {
    capacity *= 2;
    --shift_;
  }
  mask_ = capacity - 1;
  keys_.assign(capacity, kEmpty);
  values_.assign(capacity, kNone);
  for (const auto& [key, value] : entries) {
    size_t i = Slot(key);
    while (keys_[i] != kEmpty) i = (i + 1) & mask_;
    keys_[i] = key;
    values_[i] = value;
  }
}

PrefixTrie::PrefixTrie() {
  std::fill(std::begin(firstAscii_), std::end(firstAscii_), kNone);
  std::fill(std::begin(asciiRank_), std::end(asciiRank_), kNone);
  std::fill(std::begin(asciiRow_), std::end(asciiRow_), kNone);
  for (auto& seconds : asciiSeconds_) seconds[0] = seconds[1] = 0;
}

PrefixTrie::PrefixTrie(const std::vector<std::u32string>& tags) : PrefixTrie() {
  std::vector<uint64_t> keys1;
  std::vector<uint64_t> keys2;
  std::vector<std::pair<uint64_t, uint32_t>> keys3;  // (prefix, rank)
  for (size_t rank = 0; rank < tags.size(); ++rank) {
    const std::u32string& tag = tags[rank];
    if (tag.empty()) continue;
    keys1.push_back(tag[0]);
    if (tag.size() >= 2) keys2.push_back(Key2(tag[0], tag[1]));
    if (tag.size() >= 3) keys3.emplace_back(Key3(tag[0], tag[1], tag[2]), static_cast<uint32_t>(rank));
  }
  SortUnique(keys1);
  SortUnique(keys2);

  std::vector<std::pair<uint64_t, int32_t>> wide;
  level1_.assign(keys1.size(), Node{});
  for (size_t i = 0; i < keys1.size(); ++i) {
    const auto c = static_cast<char32_t>(keys1[i]);
    if (c < 128) {
      firstAscii_[c] = static_cast<int32_t>(i);
    } else {
      wide.emplace_back(WideKey(0, 0, c), static_cast<int32_t>(i));
      hasWide_ = true;
    }
  }

  // Children of one parent are consecutive in sorted order, the ASCII ones
  // first, so a parent's ASCII child id is childBase + the number of ASCII
  // children with a lower character.
  auto attach = [&wide](Node& parent, uint64_t level, int32_t parentId, char32_t c, int32_t childId) {
    if (c < 128) {
      if ((parent.asciiChildren[0] | parent.asciiChildren[1]) == 0) parent.childBase = static_cast<uint32_t>(childId);
      parent.asciiChildren[c >> 6] |= uint64_t{1} << (c & 63);
    } else {
      parent.wideChildren = true;
      wide.emplace_back(WideKey(level, static_cast<uint64_t>(parentId), c), childId);
    }
  };

  level2_.assign(keys2.size(), Node{});
  for (size_t j = 0; j < keys2.size(); ++j) {
    const int32_t parent = IdOf(keys1, keys2[j] >> 21);
    attach(level1_[Index(parent)], 1, parent, static_cast<char32_t>(keys2[j] & 0x1FFFFF), static_cast<int32_t>(j));
  }
  // Level-1 nodes look their ASCII children up in a row of their own.
  uint32_t rows = 0;
  for (Node& node : level1_) {
    if (HasAscii(node)) node.childBase = rows++;
  }
  secondRows_.assign(size_t{rows} * 128, kNone);
  for (size_t j = 0; j < keys2.size(); ++j) {
    const auto c = static_cast<char32_t>(keys2[j] & 0x1FFFFF);
    if (c < 128) secondRows_[level1_[Index(IdOf(keys1, keys2[j] >> 21))].childBase * 128 + c] = static_cast<int32_t>(j);
  }

  // Below each level-3 prefix: the three-character tags first, then the
  // longer ones by fourth character, each group by rank.
  struct Entry {
    uint64_t prefix;
    uint64_t fourth;  // 0: the tag ends; else its fourth character + 1
    uint32_t rank;
    bool operator<(const Entry& other) const {
      return std::tie(prefix, fourth, rank) < std::tie(other.prefix, other.fourth, other.rank);
    }
  };
  std::vector<Entry> entries;
  entries.reserve(keys3.size());
  for (const auto& [prefix, rank] : keys3) {
    const std::u32string& tag = tags[rank];
    entries.push_back(Entry{prefix, tag.size() > 3 ? uint64_t{tag[3]} + 1 : 0, rank});
  }
  std::sort(entries.begin(), entries.end());

  level3_.clear();
  level4_.clear();
  ranks_.clear();
  ranks_.reserve(entries.size());
  for (size_t k = 0; k < entries.size(); ++k) {
    const Entry& entry = entries[k];
    const auto at = static_cast<uint32_t>(ranks_.size());
    if (k == 0 || entry.prefix != entries[k - 1].prefix) {
      const auto id = static_cast<int32_t>(level3_.size());
      level3_.push_back(Level3{{0, 0}, at, at, static_cast<uint32_t>(level4_.size()), false});
      const int32_t parent = IdOf(keys2, entry.prefix >> 21);
      attach(level2_[Index(parent)], 2, parent, static_cast<char32_t>(entry.prefix & 0x1FFFFF), id);
    }
    Level3& node = level3_.back();
    if (entry.fourth == 0) {
      node.endingEnd = at + 1;
    } else if (level4_.size() == node.childBase || level4_.back().c != entry.fourth - 1) {
      const auto c = static_cast<char32_t>(entry.fourth - 1);
      level4_.push_back(Level4{c, at, at});
      if (c < 128) {
        node.fourth[c >> 6] |= uint64_t{1} << (c & 63);
      } else {
        node.wideFourth = true;
      }
    }
    if (entry.fourth != 0) level4_.back().end = at + 1;
    ranks_.push_back(entry.rank);
  }
  const auto total = static_cast<uint32_t>(ranks_.size());
  level3_.push_back(Level3{{0, 0}, total, total, static_cast<uint32_t>(level4_.size()), false});

  // Lowest rank of the tags that end at a level-1 or level-2 node.
  for (size_t rank = 0; rank < tags.size(); ++rank) {
    const std::u32string& tag = tags[rank];
    Node* node = nullptr;
    if (tag.size() == 1) node = &level1_[Index(IdOf(keys1, tag[0]))];
    if (tag.size() == 2) node = &level2_[Index(IdOf(keys2, Key2(tag[0], tag[1])))];
    if (node && node->rank == kNone) node->rank = static_cast<int32_t>(rank);
  }

  for (char32_t c = 0; c < 128; ++c) {
    if (firstAscii_[c] == kNone) continue;
    const Node& node = level1_[Index(firstAscii_[c])];
    asciiRank_[c] = node.rank;
    if (HasAscii(node)) asciiRow_[c] = static_cast<int32_t>(node.childBase * 128);
    asciiSeconds_[c][0] = node.asciiChildren[0];
    asciiSeconds_[c][1] = node.asciiChildren[1];
  }
  wide_.Build(wide);
}

size_t PrefixTrie::MemoryBytes() const {
  return sizeof(*this) + (level1_.capacity() + level2_.capacity()) * sizeof(Node) +
         level3_.capacity() * sizeof(Level3) + level4_.capacity() * sizeof(Level4) + ranks_.capacity() * sizeof(uint32_t) + secondRows_.capacity() * sizeof(int32_t) +
         wide_.MemoryBytes();
}

}  // namespace veltrane
