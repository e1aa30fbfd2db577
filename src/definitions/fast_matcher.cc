#include "definitions/fast_matcher.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

#include "base/text.h"
#include "definitions/fields.h"

// How the one pass finds what the rules find by trying every tag at every
// start position.
//
// A tag passes at a start position when it is a substring of the rest of the
// text or when the loose chain holds there. A substring anywhere in the text
// therefore passes at start 1. The loose chain is greedy: it takes the first
// occurrence of the tag's first character at or after the start, the first
// occurrence of the second character at or after that one (at most two places
// on), then of each further character after the previous one (at most three
// places on). Its outcome at a start depends only on where the first
// character next occurs, so a tag whose chain holds from position p passes
// loosely from every start after the previous occurrence of that character:
// its earliest loose start is that previous occurrence + 1.
//
// Walking the text once, every position p is the possible home of a tag's
// first character; the greedy places of its second and third characters are
// the first occurrences of each character in the short windows after p, and
// the prefix index yields exactly the tags whose first three characters sit
// there. Each such tag's remaining chain is checked, and a substring at p
// (which always has a holding chain at p) lowers its start to the first.
// The winner is the lowest (start, rank), provided the piece from that start
// is at least four characters long and not shorter than the tag.

namespace veltrane {
namespace {

constexpr size_t kShortestPiece = 4;

// Most names are plain ASCII: those are read in place, folded on access.
struct AsciiText {
  const unsigned char* bytes;
  size_t length;
  size_t size() const { return length; }
  char32_t operator[](size_t i) const {
    const char32_t c = bytes[i];
    return c + (c - U'A' < 26u ? 0x20 : 0);
  }
  AsciiText Sub(size_t begin, size_t end) const { return AsciiText{bytes + begin, end - begin}; }
};

// Other text is decoded and folded first.
struct WideText {
  const char32_t* chars;
  size_t length;
  size_t size() const { return length; }
  char32_t operator[](size_t i) const { return chars[i]; }
  WideText Sub(size_t begin, size_t end) const { return WideText{chars + begin, end - begin}; }
};

bool IsAscii(std::string_view text) {
  size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    if (word & 0x8080808080808080ull) return false;
  }
  for (; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) & 0x80) return false;
  }
  return true;
}

// Calls use(text) with the folded text in one of the two forms.
template <class Use>
auto WithFolded(std::string_view text, Use&& use) {
  if (IsAscii(text)) return use(AsciiText{reinterpret_cast<const unsigned char*>(text.data()), text.size()});
  const std::u32string folded = FoldCase(DecodeUtf8(text));
  return use(WideText{folded.data(), folded.size()});
}

// The previous position of each character, kept while the text is walked.
class PreviousPosition {
 public:
  PreviousPosition() { ascii_.fill(-1); }
  // Returns the previous position of c (or -1) and records position p.
  int32_t Swap(char32_t c, size_t p) {
    int32_t& slot = c < 128 ? ascii_[c] : Wide(c);
    const int32_t before = slot;
    slot = static_cast<int32_t>(p);
    return before;
  }

 private:
  int32_t& Wide(char32_t c) { return wide_.try_emplace(c, -1).first->second; }
  std::array<int32_t, 128> ascii_;
  std::unordered_map<char32_t, int32_t> wide_;
};

template <class Text>
bool SubstringAt(const Text& text, std::u32string_view needle, size_t at) {
  if (at + needle.size() > text.size()) return false;
  for (size_t k = 0; k < needle.size(); ++k) {
    if (text[at + k] != needle[k]) return false;
  }
  return true;
}

// The rest of the loose chain: each character from the fourth on is the first
// occurrence after the previous one and must lie at most three places on.
template <class Text>
bool ChainHoldsFrom(const Text& text, std::u32string_view tag, size_t third) {
  size_t at = third;
  for (size_t k = 3; k < tag.size(); ++k) {
    const size_t last = std::min(at + 3, text.size() - 1);
    size_t next = at + 1;
    while (next <= last && text[next] != tag[k]) ++next;
    if (next > last) return false;
    at = next;
  }
  return true;
}

}  // namespace

void FastMatcher::FoldedList::Assign(const std::vector<std::u32string>& entries) {
  chars_.clear();
  starts_.clear();
  for (const auto& entry : entries) {
    starts_.push_back(static_cast<uint32_t>(chars_.size()));
    chars_ += entry;
  }
  starts_.push_back(static_cast<uint32_t>(chars_.size()));
}

std::unique_ptr<FastMatcher> FastMatcher::Build(const StringList& tags, const StringList& exclusions) {
  std::unique_ptr<FastMatcher> matcher(new FastMatcher());
  std::vector<std::u32string> folded;
  folded.reserve(static_cast<size_t>(tags.Count()));
  matcher->loweredTags_.reserve(static_cast<size_t>(tags.Count()));
  for (const auto& tag : tags) {
    folded.push_back(FoldCase(DecodeUtf8(tag)));
    matcher->loweredTags_.push_back(EncodeUtf8(folded.back()));
  }
  matcher->tagIndex_ = PrefixTrie(folded);
  matcher->tags_.Assign(folded);

  folded.clear();
  for (const auto& exclusion : exclusions) folded.push_back(FoldCase(DecodeUtf8(exclusion)));
  matcher->exclusionIndex_ = PrefixTrie(folded);
  matcher->exclusions_.Assign(folded);

  const int count = CountSeparators(kExtensionList, U';');
  for (int i = 0; i < count; ++i) matcher->extensions_.push_back(SplitField(kExtensionList, i, U';'));
  return matcher;
}

size_t FastMatcher::MemoryBytes() const {
  size_t bytes = sizeof(*this) + tags_.MemoryBytes() + exclusions_.MemoryBytes() + tagIndex_.MemoryBytes() +
                 exclusionIndex_.MemoryBytes() - 2 * sizeof(PrefixTrie);
  bytes += loweredTags_.capacity() * sizeof(std::string);
  for (const auto& tag : loweredTags_) {
    if (tag.capacity() > 15) bytes += tag.capacity() + 1;  // beyond the inline buffer
  }
  return bytes;
}

template <class Text>
bool FastMatcher::ContainsExclusion(const Text& text) const {
  const size_t n = text.size();
  const PrefixTrie& index = exclusionIndex_;
  for (size_t p = 0; p < n; ++p) {
    const int32_t first = index.First(text[p]);
    if (first == PrefixTrie::kNone) continue;
    if (index.Level1(first).rank != PrefixTrie::kNone) return true;
    if (p + 1 >= n) continue;
    const int32_t second = index.Second(first, text[p + 1]);
    if (second == PrefixTrie::kNone) continue;
    const PrefixTrie::Node& node = index.Level2(second);
    if (node.rank != PrefixTrie::kNone) return true;
    if (p + 2 >= n || !index.AnyThird(node, text[p + 2])) continue;
    const int32_t third = index.Third(second, text[p + 2]);
    if (third == PrefixTrie::kNone) continue;
    for (uint32_t rank : index.Ranks(third)) {
      if (SubstringAt(text, exclusions_[rank], p)) return true;
    }
  }
  return false;
}

template <class Text>
FastMatcher::Hit FastMatcher::FindTag(const Text& text, bool firstOnly) const {
  const size_t n = text.size();
  Hit best;
  if (n < kShortestPiece) return best;
  const PrefixTrie& index = tagIndex_;
  PreviousPosition previous;

  // Offers a tag that passes from `start`; true when it counts (the piece
  // from there is long enough for it).
  auto offer = [&](int32_t rank, size_t start, size_t length) {
    if (start + std::max(length, kShortestPiece) > n) return false;
    if (!best.found() || start < best.start || (start == best.start && rank < best.rank)) best = Hit{start, rank};
    return true;
  };

  for (size_t p = 0; p < n; ++p) {
    const char32_t c0 = text[p];
    // Earliest start whose first occurrence of c0 is p.
    const size_t looseStart = static_cast<size_t>(previous.Swap(c0, p) + 1);
    const int32_t first = index.First(c0);
    if (first == PrefixTrie::kNone) continue;
    const int32_t rank1 = index.Level1(first).rank;
    if (rank1 != PrefixTrie::kNone && offer(rank1, 0, 1) && firstOnly) return best;

    for (size_t q1 = p; q1 < n && q1 <= p + 2; ++q1) {
      // The chain takes the first c1 at or after p.
      const char32_t c1 = text[q1];
      if (q1 > p && text[p] == c1) continue;
      if (q1 > p + 1 && text[p + 1] == c1) continue;
      const int32_t second = index.Second(first, c1);
      if (second == PrefixTrie::kNone) continue;
      const PrefixTrie::Node& node = index.Level2(second);
      if (node.rank != PrefixTrie::kNone) {
        const bool substring = p + 1 < n && text[p + 1] == c1;
        if (offer(node.rank, substring ? 0 : looseStart, 2) && firstOnly) return best;
      }

      for (size_t q2 = q1 + 1; q2 < n && q2 <= q1 + 3; ++q2) {
        // ... and the first c2 after c1.
        const char32_t c2 = text[q2];
        if (!index.AnyThird(node, c2)) continue;
        if (q2 > q1 + 1 && text[q1 + 1] == c2) continue;
        if (q2 > q1 + 2 && text[q1 + 2] == c2) continue;
        const int32_t third = index.Third(second, c2);
        if (third == PrefixTrie::kNone) continue;
        for (uint32_t rank : index.Ranks(third)) {
          const auto signedRank = static_cast<int32_t>(rank);
          if (best.found() && best.start == 0 && signedRank >= best.rank) break;
          const std::u32string_view tag = tags_[rank];
          if (!ChainHoldsFrom(text, tag, q2)) continue;
          const size_t start = looseStart > 0 && SubstringAt(text, tag, p) ? 0 : looseStart;
          if (offer(signedRank, start, tag.size()) && firstOnly) return best;
        }
      }
    }
  }
  return best;
}

bool FastMatcher::IsExcluded(std::string_view text) const {
  return WithFolded(text, [this](const auto& folded) { return ContainsExclusion(folded); });
}

std::string FastMatcher::MatchTag(std::string_view text) const {
  const Hit hit = WithFolded(text, [this](const auto& folded) {
    return ContainsExclusion(folded) ? Hit{} : FindTag(folded, false);
  });
  return hit.found() ? loweredTags_[static_cast<size_t>(hit.rank)] : std::string();
}

TagMatchRecord FastMatcher::MatchTagWithExtension(std::string_view text) const {
  const Hit hit = WithFolded(text, [this](const auto& folded) {
    return ContainsExclusion(folded) ? Hit{} : FindTag(folded, false);
  });
  if (!hit.found()) return {};
  // Only the first passing tag counts; the extension is looked for in the
  // unchanged text, case-sensitively.
  for (const auto& extension : extensions_) {
    if (text.find(extension) != std::string_view::npos) {
      return TagMatchRecord{std::string(text), extension, loweredTags_[static_cast<size_t>(hit.rank)]};
    }
  }
  return {};
}

std::string FastMatcher::MatchFolderPath(std::string_view path) const {
  // The folder names are the pieces ended by a backslash; the result is the
  // lowered path cut after the first occurrence of the first name that
  // matches (which may lie in an earlier name).
  const bool ascii = IsAscii(path);
  const std::u32string wide = ascii ? std::u32string() : FoldCase(DecodeUtf8(path));
  auto search = [&](const auto& folded) -> std::string {
    if (ContainsExclusion(folded)) return "";
    size_t begin = 0;
    for (size_t end = 0; end < folded.size(); ++end) {
      if (folded[end] != U'\\') continue;
      const size_t nameBegin = begin;
      begin = end + 1;
      if (end == nameBegin || !FindTag(folded.Sub(nameBegin, end), true).found()) continue;
      if (ascii) {
        const std::string lowered = ToLower(path);
        const size_t at = lowered.find(std::string_view(lowered).substr(nameBegin, end - nameBegin));
        return lowered.substr(0, at + end - nameBegin);
      }
      const size_t at = wide.find(std::u32string_view(wide).substr(nameBegin, end - nameBegin));
      return EncodeUtf8(std::u32string_view(wide).substr(0, at + end - nameBegin));
    }
    return "";
  };
  if (ascii) return search(AsciiText{reinterpret_cast<const unsigned char*>(path.data()), path.size()});
  return search(WideText{wide.data(), wide.size()});
}

}  // namespace veltrane
