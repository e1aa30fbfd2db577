#include "definitions/ascii_tag_index.h"

#include <algorithm>
#include <iterator>
#include <tuple>

namespace veltrane {

bool AsciiTagIndex::Build(const std::vector<std::u32string>& tags) {
  std::fill(std::begin(bits_), std::end(bits_), 0);
  std::fill(std::begin(classes_), std::end(classes_), 0);
  oneCharClasses_ = 0;
  std::fill(std::begin(oneCharRank_), std::end(oneCharRank_), kNone);
  std::fill(std::begin(seconds_), std::end(seconds_), 0);
  pairIds_.assign(64 * 64, 0);
  pairs_.assign(1, Pair{});
  triples_.clear();
  groups_.clear();
  quints_.clear();
  entries_.clear();
  empty_ = true;
  shortest_ = 0;
  if (tags.size() >= (size_t{1} << 25)) return false;

  auto ascii = [](const std::u32string& tag) {
    return !tag.empty() && std::all_of(tag.begin(), tag.end(), [](char32_t c) { return c < 128; });
  };
  // Classes in character order, so that the index doesn't depend on the tags' order.
  uint64_t used[2] = {0, 0};
  for (const auto& tag : tags) {
    if (!ascii(tag)) continue;
    for (size_t k = 0; k < tag.size() && k < 5; ++k) used[tag[k] >> 6] |= uint64_t{1} << (tag[k] & 63);
  }
  unsigned classes = 0;
  for (unsigned c = 0; c < 128; ++c) {
    if (!((used[c >> 6] >> (c & 63)) & 1)) continue;
    if (++classes > 63) return false;
    bits_[c] = uint64_t{1} << classes;
    classes_[c] = static_cast<uint8_t>(classes);
  }
  auto classOf = [this](char32_t c) { return classes_[c]; };

  // One entry per tag of three or more characters, grouped as the search
  // reads them: by pair, third class, then the ending tags before the
  // longer ones by fourth class, those by fifth class (the tags of four
  // characters first), each by rank.
  struct Entry {
    unsigned c0, c1, c2;
    unsigned fourth;  // 0: the tag ends at three characters; else its fourth class
    unsigned fifth;   // 0: the tag ends at four characters; else its fifth class
    uint32_t rank;
    unsigned sixth;   // the sixth character, 0 for none
    bool operator<(const Entry& o) const {
      return std::tie(c0, c1, c2, fourth, fifth, rank) < std::tie(o.c0, o.c1, o.c2, o.fourth, o.fifth, o.rank);
    }
  };
  std::vector<Entry> entries;
  std::vector<int32_t> pairRank(64 * 64, kNone);
  std::vector<uint64_t> pairThirds(64 * 64, 0);
  for (size_t rank = 0; rank < tags.size(); ++rank) {
    const std::u32string& tag = tags[rank];
    if (!ascii(tag)) continue;
    const auto r = static_cast<int32_t>(rank);
    shortest_ = empty_ ? tag.size() : std::min(shortest_, tag.size());
    empty_ = false;
    const unsigned c0 = classOf(tag[0]);
    if (tag.size() == 1) {
      if (oneCharRank_[c0] == kNone) oneCharRank_[c0] = r;
      oneCharClasses_ |= uint64_t{1} << c0;
      continue;
    }
    const unsigned c1 = classOf(tag[1]);
    seconds_[c0] |= uint64_t{1} << c1;
    if (tag.size() == 2) {
      if (pairRank[c0 * 64 + c1] == kNone) pairRank[c0 * 64 + c1] = r;
      continue;
    }
    const unsigned c2 = classOf(tag[2]);
    pairThirds[c0 * 64 + c1] |= uint64_t{1} << c2;
    entries.push_back(Entry{c0, c1, c2, tag.size() > 3 ? classOf(tag[3]) : 0u, tag.size() > 4 ? classOf(tag[4]) : 0u,
                            static_cast<uint32_t>(rank), tag.size() > 5 ? static_cast<unsigned>(tag[5]) : 0u});
  }
  std::sort(entries.begin(), entries.end());

  // Pairs in class order; each one's triples follow in third-class order.
  for (unsigned key = 0; key < 64 * 64; ++key) {
    const unsigned c0 = key / 64;
    const unsigned c1 = key % 64;
    if (!((seconds_[c0] >> c1) & 1)) continue;
    pairIds_[key] = static_cast<uint16_t>(pairs_.size());
    pairs_.push_back(Pair{pairThirds[key], 0, pairRank[key]});
  }
  for (size_t k = 0; k < entries.size(); ++k) {
    const Entry& e = entries[k];
    const auto at = static_cast<uint32_t>(entries_.size());
    const bool newTriple = k == 0 || std::tie(e.c0, e.c1, e.c2) != std::tie(entries[k - 1].c0, entries[k - 1].c1,
                                                                            entries[k - 1].c2);
    const bool newPair = k == 0 || std::tie(e.c0, e.c1) != std::tie(entries[k - 1].c0, entries[k - 1].c1);
    if (newPair) pairs_[PairId(e.c0, e.c1)].tripleBase = static_cast<uint32_t>(triples_.size());
    if (newTriple) triples_.push_back(Triple{0, static_cast<uint32_t>(groups_.size()), kNone});
    Triple& triple = triples_.back();
    if (e.fourth == 0) {
      // Three characters are three classes, so all the tags that end here
      // are the same text: the lowest rank (sorted first) speaks for them.
      if (triple.rank == kNone) triple.rank = static_cast<int32_t>(e.rank);
      continue;
    }
    const uint64_t bit = uint64_t{1} << e.fourth;
    if (!(triple.fourths & bit)) {
      triple.fourths |= bit;
      groups_.push_back(Group{0, static_cast<uint32_t>(quints_.size())});
    }
    Group& group = groups_.back();
    const uint64_t fifthBit = uint64_t{1} << e.fifth;
    if (!(group.fifths & fifthBit)) {
      group.fifths |= fifthBit;
      quints_.push_back(Quint{at, at});
    }
    quints_.back().end = at + 1;
    entries_.push_back(e.rank << 7 | e.sixth);
  }
  return true;
}

size_t AsciiTagIndex::MemoryBytes() const {
  return sizeof(*this) + pairIds_.capacity() * sizeof(uint16_t) + pairs_.capacity() * sizeof(Pair) +
         triples_.capacity() * sizeof(Triple) + groups_.capacity() * sizeof(Group) +
         quints_.capacity() * sizeof(Quint) + entries_.capacity() * sizeof(uint32_t);
}

}  // namespace veltrane
