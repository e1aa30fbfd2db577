#include "definitions/fast_matcher.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <type_traits>
#include <unordered_map>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/bit_count.h"
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

// Past the end of an ASCII text lie kPadding bytes that equal no ASCII
// character, so that the look at the next three places needs no bounds test.
constexpr size_t kPadding = 3;
constexpr unsigned char kPad = 0x80;

// The text folded, as ASCII bytes (most names) or as decoded code points.
struct AsciiText {
  static constexpr bool kAscii = true;
  const unsigned char* chars;  // followed by kPadding bytes kPad
  size_t length;
  size_t size() const { return length; }
  char32_t operator[](size_t i) const { return chars[i]; }
};

// How many of the first `limit` bytes of a and b are alike: sixteen at a
// time where SSE2 is part of the instruction set (every 64-bit processor),
// eight at a time elsewhere.
size_t CommonPrefixLength(const char* a, const char* b, size_t limit) {
  size_t i = 0;
#if defined(__SSE2__)
  // Bit k: a[at + k] and b[at + k] differ.
  auto differ16 = [a, b](size_t at) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + at));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + at));
    return ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, y))) & 0xffffu;
  };
  if (limit >= 16) {
    for (; i + 16 <= limit; i += 16) {
      const unsigned differ = differ16(i);
      if (differ != 0) return i + static_cast<size_t>(std::countr_zero(differ));
    }
    if (i == limit) return limit;
    // The last sixteen bytes, some of them compared already (and alike).
    const unsigned differ = differ16(limit - 16);
    return differ == 0 ? limit : limit - 16 + static_cast<size_t>(std::countr_zero(differ));
  }
#endif
  for (; i + 8 <= limit; i += 8) {
    uint64_t x, y;
    std::memcpy(&x, a + i, 8);
    std::memcpy(&y, b + i, 8);
    // The first byte that differs is the lowest on a little-endian machine.
    if (x != y) return i + static_cast<size_t>(std::countr_zero(x ^ y)) / 8;
  }
  while (i < limit && a[i] == b[i]) ++i;
  return i;
}

bool IsAscii(std::string_view text) {
  // Eight bytes at a time, the last word overlapping the one before; a short
  // text in two words of four that may overlap.
  const char* const chars = text.data();
  const size_t n = text.size();
  if (n >= 8) {
    uint64_t seen = 0;
    uint64_t x;
    for (size_t i = 0; i + 8 <= n; i += 8) {
      std::memcpy(&x, chars + i, 8);
      seen |= x;
    }
    std::memcpy(&x, chars + n - 8, 8);
    return ((seen | x) & 0x8080808080808080ull) == 0;
  }
  if (n >= 4) {
    uint32_t first, last;
    std::memcpy(&first, chars, 4);
    std::memcpy(&last, chars + n - 4, 4);
    return ((first | last) & 0x80808080u) == 0;
  }
  unsigned seen = 0;
  for (size_t i = 0; i < n; ++i) seen |= static_cast<unsigned char>(chars[i]);
  return (seen & 0x80) == 0;
}

struct WideText {
  static constexpr bool kAscii = false;
  const char32_t* chars;
  size_t length;
  size_t size() const { return length; }
  char32_t operator[](size_t i) const { return chars[i]; }
  WideText Sub(size_t begin, size_t end) const { return WideText{chars + begin, end - begin}; }
};

// Room for an ASCII text and its padding: on the stack when short.
class AsciiBuffer {
 public:
  AsciiBuffer() = default;
  AsciiBuffer(const AsciiBuffer&) = delete;
  AsciiBuffer& operator=(const AsciiBuffer&) = delete;
  // Room for `length` bytes, the padding already written after them.
  unsigned char* Prepare(size_t length) {
    unsigned char* room = inline_;
    if (length + kPadding > sizeof inline_) {
      heap_.resize(length + kPadding);
      room = reinterpret_cast<unsigned char*>(heap_.data());
    }
    std::fill(room + length, room + length + kPadding, kPad);
    return room;
  }

 private:
  unsigned char inline_[256 + kPadding];
  std::string heap_;
};

// Folds a text once: ASCII into a byte buffer, anything else through the
// decoder.
class FoldedText {
 public:
  explicit FoldedText(std::string_view text) : length_(text.size()) {
    unsigned char* out = buffer_.Prepare(text.size());
    // Eight bytes at a time: every text the scan examines is folded.
    uint64_t seen8 = 0;
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
      uint64_t x;
      std::memcpy(&x, text.data() + i, 8);
      seen8 |= x;
      // Bit 7 of each byte: at least 'A', above 'Z', and so an upper-case
      // letter; no sum carries into the next byte.
      const uint64_t low7 = x & 0x7f7f7f7f7f7f7f7full;
      const uint64_t fromA = low7 + 0x3f3f3f3f3f3f3f3full;
      const uint64_t pastZ = low7 + 0x2525252525252525ull;
      const uint64_t upper = fromA & ~pastZ & ~x & 0x8080808080808080ull;
      x |= upper >> 2;  // 0x20 on each upper-case letter
      std::memcpy(out + i, &x, 8);
    }
    auto seen = static_cast<unsigned char>(seen8 | seen8 >> 8 | seen8 >> 16 | seen8 >> 24 | seen8 >> 32 |
                                           seen8 >> 40 | seen8 >> 48 | seen8 >> 56);
    for (; i < text.size(); ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      seen |= c;
      out[i] = static_cast<unsigned char>(c + (static_cast<unsigned char>(c - 'A') < 26 ? 0x20 : 0));
    }
    ascii_ = (seen & 0x80) == 0;
    if (ascii_) {
      chars_ = out;
    } else {
      wide_ = FoldCase(DecodeUtf8(text));
    }
  }
  FoldedText(const FoldedText&) = delete;
  FoldedText& operator=(const FoldedText&) = delete;

  bool ascii() const { return ascii_; }
  AsciiText Ascii() const { return AsciiText{chars_, length_}; }
  WideText Wide() const { return WideText{wide_.data(), wide_.size()}; }
  // Calls use() with the text in its form.
  template <class Use>
  auto Visit(Use&& use) const {
    return ascii_ ? use(Ascii()) : use(Wide());
  }
  // The folded text as UTF-8 (the lower-cased text), its first `count` characters.
  std::string Utf8(size_t count) const {
    if (ascii_) return std::string(reinterpret_cast<const char*>(chars_), count);
    return EncodeUtf8(std::u32string_view(wide_).substr(0, count));
  }

 private:
  bool ascii_ = true;
  size_t length_;
  const unsigned char* chars_ = nullptr;
  AsciiBuffer buffer_;
  std::u32string wide_;
};

// The previous position of each character, kept while the text is walked.
template <bool kAscii>
class PreviousPosition {
 public:
  PreviousPosition() { ascii_.fill(-1); }
  // Returns the previous position of c (or -1) and records position p.
  int32_t Swap(char32_t c, size_t p) {
    int32_t& slot = kAscii || c < 128 ? ascii_[c] : Wide(c);
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

// The rest of the loose chain, once the tag's first `found` characters are
// found and the last of them lies at `at`: each further character is the
// first occurrence after the previous one and must lie at most three places on.
template <class Text>
bool ChainHoldsFrom(const Text& text, std::u32string_view tag, size_t found, size_t at) {
  for (size_t k = found; k < tag.size(); ++k) {
    const size_t last = std::min(at + 3, text.size() - 1);
    size_t next = at + 1;
    while (next <= last && text[next] != tag[k]) ++next;
    if (next > last) return false;
    at = next;
  }
  return true;
}

template <size_t N>
void SetBit(uint64_t (&bits)[N], size_t i) {
  bits[i >> 6] |= uint64_t{1} << (i & 63);
}
template <size_t N>
bool TestBit(const uint64_t (&bits)[N], size_t i) {
  return (bits[i >> 6] >> (i & 63)) & 1;
}

// Three ASCII characters, as the low three bytes of a key, hashed into the
// exclusions' filter of 2^bits bits (at most 2^15): the hash's top fifteen
// bits, cut to the filter's size by a mask, so that the shift is fixed.
// Bit 5 of each byte is set first: a byte and its folded form then give the
// same slot ('A' | 0x20 is 'a'), so the filter can be asked about a text
// that isn't folded. Other bytes that differ only in that bit ('\\' and '|')
// share a slot too, which only lets a few more places through to the trie.
size_t TripleSlotOfKey(uint32_t key, uint32_t mask) { return (((key | 0x202020u) * 2654435761u) >> 17) & mask; }
uint32_t TripleKey(char32_t c0, char32_t c1, char32_t c2) { return c0 | (c1 << 8) | (c2 << 16); }
size_t TripleSlot(char32_t c0, char32_t c1, char32_t c2, int bits) {
  return TripleSlotOfKey(TripleKey(c0, c1, c2), (uint32_t{1} << bits) - 1);
}

// A set of ASCII characters.
struct CharSet {
  uint64_t bits[2] = {0, 0};
};

// Takes the lowest character out of a set that isn't empty.
[[gnu::always_inline]] inline char32_t PopChar(uint64_t& low, uint64_t& high) {
  if (low != 0) {
    const auto c = static_cast<char32_t>(std::countr_zero(low));
    low &= low - 1;
    return c;
  }
  const auto c = static_cast<char32_t>(64 + std::countr_zero(high));
  high &= high - 1;
  return c;
}

// The one-character sets of all bytes: empty for kPad and every byte above
// ASCII.
constexpr std::array<CharSet, 256> MakeOneCharSets() {
  std::array<CharSet, 256> sets{};
  for (size_t c = 0; c < 128; ++c) sets[c].bits[c >> 6] = uint64_t{1} << (c & 63);
  return sets;
}
constexpr std::array<CharSet, 256> kOneCharSets = MakeOneCharSets();

// The set of the characters at positions i, i + 1 and i + 2 of an ASCII text
// (fewer near its end): where the loose chain may find its next character.
[[gnu::always_inline]] inline CharSet Window(const AsciiText& text, size_t i) {
  const CharSet& a = kOneCharSets[text.chars[i]];
  const CharSet& b = kOneCharSets[text.chars[i + 1]];
  const CharSet& c = kOneCharSets[text.chars[i + 2]];
  return CharSet{{a.bits[0] | b.bits[0] | c.bits[0], a.bits[1] | b.bits[1] | c.bits[1]}};
}

// The text from position `from` on (an ASCII tail keeps its padding).
AsciiText Tail(const AsciiText& text, size_t from) { return AsciiText{text.chars + from, text.length - from}; }
WideText Tail(const WideText& text, size_t from) { return text.Sub(from, text.length); }

// The first of positions from, from + 1, from + 2 that holds c (one does).
[[gnu::always_inline]] inline size_t FirstOf(const AsciiText& text, char32_t c, size_t from) {
  if (text[from] == c) return from;
  return text[from + 1] == c ? from + 1 : from + 2;
}

}  // namespace

bool FastMatcher::Hit::Offer(int32_t tagRank, size_t tagStart, size_t tagLength, size_t textLength) {
  if (tagStart + std::max(tagLength, kShortestPiece) > textLength) return false;
  if (!found() || tagStart < start || (tagStart == start && tagRank < rank)) *this = Hit{tagStart, tagRank};
  return true;
}

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
  matcher->asciiTagIndexUsable_ = matcher->asciiTagIndex_.Build(folded);
  matcher->popcnt_ = ProcessorHasPopcnt();
  matcher->tags_.Assign(folded);

  folded.clear();
  for (const auto& exclusion : exclusions) folded.push_back(FoldCase(DecodeUtf8(exclusion)));
  matcher->exclusionIndex_ = PrefixTrie(folded);
  matcher->exclusions_.Assign(folded);
  matcher->asciiExclusions_.Build(folded);
  for (const auto& exclusion : folded) {
    matcher->longestExclusion_ = std::max(matcher->longestExclusion_, exclusion.size());
    matcher->exclusionsHoldBackslash_ |= exclusion.find(U'\\') != std::u32string::npos;
  }
  matcher->anyExclusion_ = matcher->longestExclusion_ > 0;
  // The filter of the longer exclusions' first three characters: about 128
  // bits for each, so that few places pass it by chance, and no bigger,
  // since the scan's walk pushes it out of the cache between two texts.
  size_t longer = 0;
  for (const auto& exclusion : folded) longer += exclusion.size() >= 3;
  while (matcher->exclusionTripleBits_ < 15 && (size_t{1} << matcher->exclusionTripleBits_) < 128 * longer) {
    ++matcher->exclusionTripleBits_;
  }
  matcher->exclusionTriples_.assign((size_t{1} << matcher->exclusionTripleBits_) / 64, 0);
  for (const auto& exclusion : folded) {
    const size_t ascii = static_cast<size_t>(
        std::find_if(exclusion.begin(), exclusion.end(), [](char32_t c) { return c >= 128; }) - exclusion.begin());
    if (exclusion.size() == 1 && ascii == 1) {
      SetBit(matcher->exclusionSingles_, exclusion[0]);
      matcher->hasShortExclusions_ = true;
    } else if (exclusion.size() == 2 && ascii == 2) {
      SetBit(matcher->exclusionPairs_, exclusion[0] * 128 + exclusion[1]);
      matcher->hasShortExclusions_ = true;
    } else if (exclusion.size() >= 3 && ascii >= 3) {
      const size_t slot = TripleSlot(exclusion[0], exclusion[1], exclusion[2], matcher->exclusionTripleBits_);
      matcher->exclusionTriples_[slot >> 6] |= uint64_t{1} << (slot & 63);
      matcher->exclusionNibbles_.Add(static_cast<unsigned char>(exclusion[0]), static_cast<unsigned char>(exclusion[1]),
                                     static_cast<unsigned char>(exclusion[2]));
    }
  }
  matcher->nibbleFilter_ = TripleNibbleFilter::Available();

  const int count = CountSeparators(kExtensionList, U';');
  for (int i = 0; i < count; ++i) matcher->extensions_.push_back(SplitField(kExtensionList, i, U';'));
  matcher->dottedExtensions_ =
      matcher->extensions_.size() <= 32 &&
      std::all_of(matcher->extensions_.begin(), matcher->extensions_.end(),
                  [](const std::string& e) { return e.size() == 4 && StartsWith(e, "."); });
  if (matcher->dottedExtensions_) {
    for (const auto& extension : matcher->extensions_) {
      uint32_t word;
      std::memcpy(&word, extension.data(), 4);
      matcher->extensionWords_.push_back(word);
    }
  }
  return matcher;
}

std::unique_ptr<FastMatcher> FastMatcher::BuildPortable(const StringList& tags, const StringList& exclusions) {
  std::unique_ptr<FastMatcher> matcher = Build(tags, exclusions);
  matcher->popcnt_ = false;
  matcher->nibbleFilter_ = false;
  return matcher;
}

size_t FastMatcher::MemoryBytes() const {
  size_t bytes = sizeof(*this) + tags_.MemoryBytes() + exclusions_.MemoryBytes() + tagIndex_.MemoryBytes() +
                 exclusionIndex_.MemoryBytes() + asciiExclusions_.MemoryBytes() - 2 * sizeof(PrefixTrie) + asciiTagIndex_.MemoryBytes() -
                 sizeof(AsciiTagIndex);
  bytes += loweredTags_.capacity() * sizeof(std::string);
  for (const auto& tag : loweredTags_) {
    if (tag.capacity() > 15) bytes += tag.capacity() + 1;  // beyond the inline buffer
  }
  return bytes;
}

bool FastMatcher::MayStartExclusion(char32_t c0, char32_t c1, char32_t c2, size_t left) const {
  if (c0 >= 128 || (left > 1 && c1 >= 128) || (left > 2 && c2 >= 128)) return true;  // no filter
  return (hasShortExclusions_ && (TestBit(exclusionSingles_, c0) ||
                                  (left > 1 && TestBit(exclusionPairs_, c0 * 128 + c1)))) ||
         (left > 2 && TripleMayStartExclusion(TripleSlot(c0, c1, c2, exclusionTripleBits_)));
}

template <class Text>
bool FastMatcher::ContainsExclusion(const Text& text) const {
  if (!anyExclusion_) return false;
  const size_t n = text.size();
  if constexpr (Text::kAscii) {
    // The common case: ASCII text, and exclusions of three or more
    // characters. Only the places whose three characters pass the hashed
    // filter go to the trie.
    if (!hasShortExclusions_) {
      return n >= 3 && ForEachPlaceThroughFilter(text.chars, 0, n - 2,
                                                 [&](size_t p) { return asciiExclusions_.BeginsAt(text.chars, n, p); });
    }
  }
  for (size_t p = 0; p < n; ++p) {
    const char32_t c1 = p + 1 < n ? text[p + 1] : 0;
    const char32_t c2 = p + 2 < n ? text[p + 2] : 0;
    if (MayStartExclusion(text[p], c1, c2, n - p) && ExclusionAt(text, p)) return true;
  }
  return false;
}

template <class Visit>
bool FastMatcher::ForEachPlaceThroughFilter(const unsigned char* chars, size_t begin, size_t end, Visit&& visit) const {
  // The places are taken 64 at a time without a branch on the text: which
  // of them pass ("win" begins "windows" as well as "winrar") is too
  // irregular for the processor to guess.
  const uint32_t mask = (uint32_t{1} << exclusionTripleBits_) - 1;
  if (nibbleFilter_) {
    // The nibble filter rules out most places sixteen at a time; the few it
    // lets through are put to the hashed filter one by one. Every place
    // where an exclusion begins passes both, as below; fewer others do.
    for (size_t block = begin; block < end; block += 64) {
      const size_t blockEnd = std::min(end, block + 64);
      for (uint64_t passing = exclusionNibbles_.Passing(chars + block, blockEnd - block, block); passing != 0;
           passing &= passing - 1) {
        const size_t p = block + static_cast<size_t>(std::countr_zero(passing));
        const uint32_t key = TripleKey(chars[p], chars[p + 1], chars[p + 2]);
        if (TripleMayStartExclusion(TripleSlotOfKey(key, mask)) && visit(p)) return true;
      }
    }
    return false;
  }
  for (size_t block = begin; block < end; block += 64) {
    const size_t blockEnd = std::min(end, block + 64);
    // The key rolls on by one character a place, and each place's bit
    // enters the set at the top: no shift by a count that changes.
    uint32_t key = (uint32_t{chars[block]} << 8) | (uint32_t{chars[block + 1]} << 16);
    uint64_t passing = 0;
    for (size_t p = block; p < blockEnd; ++p) {
      key = (key >> 8) | (uint32_t{chars[p + 2]} << 16);
      const uint64_t pass = TripleMayStartExclusion(TripleSlotOfKey(key, mask));
      passing = (passing >> 1) | (pass << 63);
    }
    passing >>= 64 - (blockEnd - block);
    for (; passing != 0; passing &= passing - 1) {
      if (visit(block + static_cast<size_t>(std::countr_zero(passing)))) return true;
    }
  }
  return false;
}

template <class Text>
bool FastMatcher::ExclusionAt(const Text& text, size_t p) const {
  const size_t n = text.size();
  const PrefixTrie& index = exclusionIndex_;
  const int32_t first = index.First(text[p]);
  if (first == PrefixTrie::kNone) return false;
  if (index.Level1(first).rank != PrefixTrie::kNone) return true;
  if (p + 1 >= n) return false;
  const int32_t second = index.Second(first, text[p + 1]);
  if (second == PrefixTrie::kNone) return false;
  const PrefixTrie::Node& node = index.Level2(second);
  if (node.rank != PrefixTrie::kNone) return true;
  if (p + 2 >= n || !index.AnyThird(node, text[p + 2])) return false;
  const int32_t third = index.Third(second, text[p + 2]);
  if (third == PrefixTrie::kNone) return false;
  for (uint32_t rank : index.Ranks(third)) {
    if (SubstringAt(text, exclusions_[rank], p)) return true;
  }
  return false;
}

template <class Text>
FastMatcher::Hit FastMatcher::FindTag(const Text& text, bool firstOnly) const {
  if constexpr (Text::kAscii) {
    if (!asciiTagIndexUsable_) return FindTagAscii(text, firstOnly);
#if defined(VELTRANE_HAS_POPCNT_BIT_COUNT)
    if (popcnt_) return FindTagInClasses<Text, PopcntBitCount>(text, firstOnly);
#endif
    return FindTagInClasses<Text, PortableBitCount>(text, firstOnly);
  }
  const size_t n = text.size();
  Hit best;
  if (n < kShortestPiece) return best;
  const PrefixTrie& index = tagIndex_;
  PreviousPosition<Text::kAscii> previous;


  for (size_t p = 0; p < n; ++p) {
    const char32_t c0 = text[p];
    // Earliest start whose first occurrence of c0 is p.
    const size_t looseStart = static_cast<size_t>(previous.Swap(c0, p) + 1);
    int32_t first = PrefixTrie::kNone;
    int32_t row = PrefixTrie::kNone;
    int32_t rank1;
    if (Text::kAscii) {
      rank1 = index.AsciiRank(c0);
      row = index.AsciiRow(c0);
    } else {
      first = index.First(c0);
      if (first == PrefixTrie::kNone) continue;
      rank1 = index.Level1(first).rank;
    }
    // A one-character tag occurs in the text: start 1.
    if (rank1 != PrefixTrie::kNone && best.Offer(rank1, 0, 1, n) && firstOnly) return best;
    if (Text::kAscii && row == PrefixTrie::kNone) continue;

    for (size_t q1 = p; q1 < n && q1 <= p + 2; ++q1) {
      // The chain takes the first c1 at or after p.
      const char32_t c1 = text[q1];
      if (q1 > p && c0 == c1) continue;
      if (q1 > p + 1 && text[p + 1] == c1) continue;
      const int32_t second = Text::kAscii ? index.SecondInRow(row, c1) : index.Second(first, c1);
      if (second == PrefixTrie::kNone) continue;
      const PrefixTrie::Node& node = index.Level2(second);
      if (node.rank != PrefixTrie::kNone) {
        const bool substring = p + 1 < n && text[p + 1] == c1;
        if (best.Offer(node.rank, substring ? 0 : looseStart, 2, n) && firstOnly) return best;
      }

      for (size_t q2 = q1 + 1; q2 < n && q2 <= q1 + 3; ++q2) {
        // ... and the first c2 after c1.
        const char32_t c2 = text[q2];
        if (!index.AnyThird(node, c2)) continue;
        if (q2 > q1 + 1 && text[q1 + 1] == c2) continue;
        if (q2 > q1 + 2 && text[q1 + 2] == c2) continue;
        const int32_t third = index.Third(second, c2);
        if (third == PrefixTrie::kNone) continue;
        // Tags of three characters end here.
        for (uint32_t rank : index.Ending(third)) {
          const auto signedRank = static_cast<int32_t>(rank);
          if (best.Beaten(rank)) break;
          const size_t start = looseStart > 0 && SubstringAt(text, tags_[rank], p) ? 0 : looseStart;
          if (best.Offer(signedRank, start, 3, n) && firstOnly) return best;
        }

        for (size_t q3 = q2 + 1; q3 < n && q3 <= q2 + 3; ++q3) {
          // ... and the first c3 after c2; the rest of each tag is checked.
          const char32_t c3 = text[q3];
          if (!index.AnyFourth(third, c3)) continue;
          if (q3 > q2 + 1 && text[q2 + 1] == c3) continue;
          if (q3 > q2 + 2 && text[q2 + 2] == c3) continue;
          for (uint32_t rank : index.WithFourth(third, c3)) {
            const auto signedRank = static_cast<int32_t>(rank);
            if (best.Beaten(rank)) break;
            const std::u32string_view tag = tags_[rank];
            if (!ChainHoldsFrom(text, tag, 4, q3)) continue;
            const size_t start = looseStart > 0 && SubstringAt(text, tag, p) ? 0 : looseStart;
            if (best.Offer(signedRank, start, tag.size(), n) && firstOnly) return best;
          }
        }
      }
    }
  }
  return best;
}

// The same search for ASCII text, where the candidate characters at each step
// come from one AND of a node's character set with the text's window: one
// test instead of one per place, and no test for characters no tag has.
template <class Text>
FastMatcher::Hit FastMatcher::FindTagAscii(const Text& text, bool firstOnly) const {
  const size_t n = text.size();
  Hit best;
  if (n < kShortestPiece) return best;
  const PrefixTrie& index = tagIndex_;
  int32_t previous[128];
  std::fill(std::begin(previous), std::end(previous), -1);


  for (size_t p = 0; p < n; ++p) {
    const char32_t c0 = text[p];
    const size_t looseStart = static_cast<size_t>(previous[c0] + 1);
    previous[c0] = static_cast<int32_t>(p);
    const int32_t rank1 = index.AsciiRank(c0);
    if (rank1 != PrefixTrie::kNone && best.Offer(rank1, 0, 1, n) && firstOnly) return best;

    const uint64_t* seconds = index.AsciiSeconds(c0);
    const CharSet window1 = Window(text, p);
    uint64_t low1 = seconds[0] & window1.bits[0];
    uint64_t high1 = seconds[1] & window1.bits[1];
    const int32_t row = index.AsciiRow(c0);
    while ((low1 | high1) != 0) {
      const char32_t c1 = PopChar(low1, high1);
      const size_t q1 = FirstOf(text, c1, p);
      const int32_t second = index.SecondInRow(row, c1);
      const PrefixTrie::Node& node = index.Level2(second);
      if (node.rank != PrefixTrie::kNone) {
        const bool substring = p + 1 < n && text[p + 1] == c1;
        if (best.Offer(node.rank, substring ? 0 : looseStart, 2, n) && firstOnly) return best;
      }
      const CharSet window2 = Window(text, q1 + 1);
      uint64_t low2 = node.asciiChildren[0] & window2.bits[0];
      uint64_t high2 = node.asciiChildren[1] & window2.bits[1];
      while ((low2 | high2) != 0) {
        const char32_t c2 = PopChar(low2, high2);
        const size_t q2 = FirstOf(text, c2, q1 + 1);
        const int32_t third = index.Third(second, c2);
        for (uint32_t rank : index.Ending(third)) {
          if (best.Beaten(rank)) break;
          const size_t start = looseStart > 0 && SubstringAt(text, tags_[rank], p) ? 0 : looseStart;
          if (best.Offer(static_cast<int32_t>(rank), start, 3, n) && firstOnly) return best;
        }
        const uint64_t* fourths = index.AsciiFourths(third);
        const CharSet window3 = Window(text, q2 + 1);
        uint64_t low3 = fourths[0] & window3.bits[0];
        uint64_t high3 = fourths[1] & window3.bits[1];
        while ((low3 | high3) != 0) {
          const char32_t c3 = PopChar(low3, high3);
          const size_t q3 = FirstOf(text, c3, q2 + 1);
          for (uint32_t rank : index.WithFourth(third, c3)) {
            if (best.Beaten(rank)) break;
            const std::u32string_view tag = tags_[rank];
            if (!ChainHoldsFrom(text, tag, 4, q3)) continue;
            const size_t start = looseStart > 0 && SubstringAt(text, tag, p) ? 0 : looseStart;
            if (best.Offer(static_cast<int32_t>(rank), start, tag.size(), n) && firstOnly) return best;
          }
        }
      }
    }
  }
  return best;
}

// The same search through the compact index, in stages: the text's bytes
// become class bits once, and so does each position's window (the classes
// at it and at the next two places). Each stage then takes the partial
// chains of the one before and keeps those whose next character lies in
// the window after the last one found, stored without a branch; few
// survive each stage, and no stage guesses at branches it can't predict.
template <class Text, class BitCount>
FastMatcher::Hit FastMatcher::FindTagInClasses(const Text& text, bool firstOnly) const {
  const size_t n = text.size();
  Hit best;
  const AsciiTagIndex& index = asciiTagIndex_;
  // A tag longer than the text never passes (the longest piece is the
  // whole text).
  if (n < kShortestPiece || index.empty() || n < index.ShortestTag()) return best;
  const unsigned char* const chars = text.chars;
  // The scratch only grows: resizing down and up again would clear it.
  auto room = [](auto& scratch, size_t size) {
    if (scratch.size() < size) scratch.resize(size);
  };

  // classesAt[i]: the class at i (0 past the end); windows[i]: the bits of
  // the classes at i, i + 1 and i + 2. Both are filled by the first stage's
  // pass. The classes are kept as bytes: the scan's walk pushes this
  // scratch out of the cache between two texts, and every line written
  // again must first be brought back.
  room(windowScratch_, n + 1);
  room(classScratch_, n + 3);
  uint64_t* const windows = windowScratch_.data();
  uint8_t* const classesAt = classScratch_.data();
  // The first of positions from, from + 1, from + 2 that holds class c
  // (one does), worked out without a branch.
  auto firstOf = [classesAt](unsigned c, size_t from) {
    const size_t notFirst = classesAt[from] != c;
    const size_t notSecond = classesAt[from + 1] != c;
    return from + notFirst + (notFirst & notSecond);
  };
  // The earliest start whose first occurrence of the character at p is p.
  auto looseStart = [chars](size_t p) {
    size_t i = p;
    while (i > 0 && chars[i - 1] != chars[p]) --i;
    return i;
  };

  auto takeLowest = [](uint64_t& set) {
    const uint64_t bit = set & (~set + 1);
    set ^= bit;
    return bit;
  };

  // Each stage reads the chains of the one before and takes one class of a
  // chain's next set at a time, so that the loops branch on the text only
  // where a tag is near. A window holds at most three classes, so a stage
  // makes at most three chains for each it is given.
  using Chain = ChainStep;
  std::vector<FirstStep>& firsts = firstScratch_[0];
  std::vector<FirstStep>& firstSpare = firstScratch_[1];
  std::vector<Chain>& pairs = chainScratch_[0];
  std::vector<Chain>& triples = chainScratch_[1];
  std::vector<Chain>& groups = chainScratch_[2];
  std::vector<Chain>& spare = chainScratch_[3];
  // Calls body(chain, bit) once for each class in each chain's next set: the
  // lowest class of every chain first, then the next of those with more, and
  // so on (a window holds at most three classes, and a set of fifth
  // characters also bit 0, so four rounds at most).
  // A chain with classes left goes to the spare list (a vector of the same
  // kind of chain), not back onto the one being read: a load from a place
  // just stored to would wait for the store (about 5% of the search). False
  // when body asks to stop.
  auto forEachNextClass = [&room](auto& chains, auto& spareChains, size_t count, auto&& body) {
    room(spareChains, count);
    auto* list = chains.data();
    auto* rest = spareChains.data();
    while (count != 0) {
      size_t left = 0;
      for (size_t k = 0; k < count; ++k) {
        const auto chain = list[k];
        const uint64_t bit = chain.next & (~chain.next + 1);
        const uint64_t others = chain.next ^ bit;
        rest[left] = chain;
        rest[left].next = others;
        left += others != 0;
        if (!body(chain, bit)) return false;
      }
      std::swap(list, rest);
      count = left;
    }
    return true;
  };

  // The first stage: the places whose character and one of the next three
  // begin a tag. The text's padding (three bytes no tag has) ends the window.
  room(firsts, n);
  // Raw pointers into the scratch: a store of a class byte may alias
  // anything, and would make the compiler read a vector's pointer again.
  FirstStep* const firstList = firsts.data();
  size_t firstCount = 0;
  uint64_t present = 0;
  unsigned class1 = index.ClassOf(chars[0]);
  unsigned class2 = index.ClassOf(chars[1]);
  uint64_t bit1 = index.Bit(chars[0]);
  uint64_t bit2 = index.Bit(chars[1]);
  // A tag's chain takes a place for each of its characters but the second,
  // which may share the first one's: no tag of L characters or more begins
  // after place n - L + 1, and there only the classes and windows are kept.
  // (A tag of one character is looked for through `present`.)
  const size_t firstEnd = std::min(n, n + 2 - std::max<size_t>(index.ShortestTag(), 2));
  // Three places a round: the classes and bits carried from place to place
  // then stay in their registers.
  // Moves on to place p: keeps its class and its window, and returns them.
  auto keepPlace = [&](size_t p) __attribute__((always_inline)) {
    const unsigned class0 = class1;
    const uint64_t bit0 = bit1;
    class1 = class2;
    bit1 = bit2;
    class2 = index.ClassOf(chars[p + 2]);
    bit2 = index.Bit(chars[p + 2]);
    const uint64_t window = bit0 | bit1 | bit2;
    classesAt[p] = static_cast<uint8_t>(class0);
    windows[p] = window;
    present |= bit0;
    return std::pair<unsigned, uint64_t>(class0, window);
  };
  size_t p = 0;
#pragma GCC unroll 3
  for (; p < firstEnd; ++p) {
    const auto [class0, window] = keepPlace(p);
    const uint64_t next = index.Seconds(class0) & window;
    firstList[firstCount] = FirstStep{static_cast<uint32_t>(p), next};
    firstCount += next != 0;
  }
  for (; p < n; ++p) keepPlace(p);
  std::fill(classesAt + n, classesAt + n + 3, 0);
  windows[n] = 0;

  // A one-character tag anywhere in the text passes at start 1.
  for (uint64_t set = index.OneCharClasses() & present; set != 0;) {
    const int32_t rank = index.OneCharRank(AsciiTagIndex::ClassOfBit(takeLowest(set)));
    if (best.Offer(rank, 0, 1, n) && firstOnly) return best;
  }

  room(pairs, 3 * firstCount);
  Chain* const pairList = pairs.data();
  size_t pairCount = 0;
  if (!forEachNextClass(firsts, firstSpare, firstCount, [&](const FirstStep& first, uint64_t bit) {
        const unsigned c = AsciiTagIndex::ClassOfBit(bit);
        const size_t q = firstOf(c, first.at);
        const uint32_t pairId = index.PairId(classesAt[first.at], c);
        const AsciiTagIndex::Pair& pair = index.PairAt(pairId);
        if (pair.rank != AsciiTagIndex::kNone) {
          const bool substring = classesAt[first.at + 1] == c;
          if (best.Offer(pair.rank, substring ? 0 : looseStart(first.at), 2, n) && firstOnly) return false;
        }
        const uint64_t thirds = pair.thirds & windows[q + 1];
        pairList[pairCount] = Chain{first.at, static_cast<uint32_t>(q), pairId, thirds};
        pairCount += thirds != 0;
        return true;
      })) {
    return best;
  }

  room(triples, 3 * pairCount);
  Chain* const tripleList = triples.data();
  size_t tripleCount = 0;
  if (!forEachNextClass(pairs, spare, pairCount, [&](const Chain& chain, uint64_t bit) {
        const unsigned c = AsciiTagIndex::ClassOfBit(bit);
        const size_t q = firstOf(c, chain.last + 1);
        const uint32_t tripleId = index.template TripleOf<BitCount>(index.PairAt(chain.node), c);
        const AsciiTagIndex::Triple& triple = index.TripleAt(tripleId);
        if (triple.rank != AsciiTagIndex::kNone && !best.Beaten(static_cast<uint32_t>(triple.rank))) {
          const size_t start =
              SubstringAt(text, tags_[static_cast<size_t>(triple.rank)], chain.start) ? 0 : looseStart(chain.start);
          if (best.Offer(triple.rank, start, 3, n) && firstOnly) return false;
        }
        const uint64_t next = triple.fourths & windows[q + 1];
        tripleList[tripleCount] = Chain{chain.start, static_cast<uint32_t>(q), tripleId, next};
        tripleCount += next != 0;
        return true;
      })) {
    return best;
  }

  // The fourth character: a group of tags that share four characters goes
  // on with those of their fifth characters that lie in the window after it
  // (bit 0 lets the tags of four characters through).
  room(groups, 3 * tripleCount);
  Chain* const groupList = groups.data();
  size_t groupCount = 0;
  forEachNextClass(triples, spare, tripleCount, [&](const Chain& chain, uint64_t bit) {
    const unsigned c = AsciiTagIndex::ClassOfBit(bit);
    const size_t q = firstOf(c, chain.last + 1);
    const uint32_t groupId = index.template GroupId<BitCount>(index.TripleAt(chain.node), c);
    const uint64_t next = index.GroupAt(groupId).fifths & (windows[q + 1] | 1);
    groupList[groupCount] = Chain{chain.start, static_cast<uint32_t>(q), groupId, next};
    groupCount += next != 0;
    return true;
  });

  // The fifth character, and the rest of each tag that shares the five.
  forEachNextClass(groups, spare, groupCount, [&](const Chain& chain, uint64_t bit) {
    // Where the fifth character is (of no matter for a tag of four, whose
    // bit is class 0's).
    const unsigned c = AsciiTagIndex::ClassOfBit(bit);
    const size_t q = firstOf(c, chain.last + 1);
    const AsciiTagIndex::Quint& quint = index.template QuintOf<BitCount>(index.GroupAt(chain.node), c);
    for (uint32_t entry = quint.begin; entry < quint.end; ++entry) {
      const auto [rank, sixth] = index.EntryAt(entry);
      if (best.Beaten(rank)) break;
      // The sixth character lies in the three places after the fifth (the
      // padding past the end equals no character of a tag). A tag with a
      // sixth character has a fifth, so q lies in the text.
      if (sixth != 0 && chars[q + 1] != sixth && chars[q + 2] != sixth && chars[q + 3] != sixth) continue;
      const std::u32string_view tag = tags_[rank];
      if (!ChainHoldsFrom(text, tag, 5, q)) continue;
      const size_t start = SubstringAt(text, tag, chain.start) ? 0 : looseStart(chain.start);
      if (best.Offer(static_cast<int32_t>(rank), start, tag.size(), n) && firstOnly) return false;
    }
    return true;
  });
  return best;
}

size_t FastMatcher::CleanPrefixes::Longest(std::string_view text) {
  // Every remembered text is a prefix of the last one: the longest that
  // begins text is the longest no longer than what the two share.
  const size_t shared = CommonPrefixLength(chain_.data(), text.data(), std::min(LastLength(), text.size()));
  shared_ = shared;
  size_t count = count_;
  while (count != 0 && lengths_[count - 1] > shared) --count;
  count_ = count;
  const size_t length = LastLength();
  // Places whose three characters reach past the prefix aren't the new text's.
  while (!passing_.empty() && passing_.back() + 3 > length) passing_.pop_back();
  return length;
}

void FastMatcher::CleanPrefixes::Remember(std::string_view text) {
  if ((count_ != 0 && LastLength() >= text.size()) || text.size() > UINT32_MAX) return;
  if (count_ == kDepth) {
    std::memmove(lengths_, lengths_ + 1, (kDepth - 1) * sizeof lengths_[0]);
    --count_;
  }
  // Longest found the first `shared_` bytes alike: only the rest is copied.
  // The chain's room only grows; what lies past the last length is stale.
  const size_t from = std::min(shared_, text.size());
  if (chain_.size() < text.size()) chain_.resize(std::max(text.size(), 2 * chain_.size()));
  std::memcpy(chain_.data() + from, text.data() + from, text.size() - from);
  lengths_[count_++] = static_cast<uint32_t>(text.size());
}

size_t FastMatcher::ExclusionFrom(size_t cleanPrefix) const {
  if (longestExclusion_ == 0) return cleanPrefix;
  return cleanPrefix >= longestExclusion_ ? cleanPrefix - longestExclusion_ + 1 : 0;
}

bool FastMatcher::IsExcluded(std::string_view text) const {
  if (!anyExclusion_) return false;
  // An exclusion in a text that extends a clean one ends in what was added.
  // The remembered texts are ASCII, so bytes count as characters there.
  const size_t clean = cleanTexts_.Longest(text);
  const std::string_view added = text.substr(clean);
  if (!IsAscii(added)) return ContainsExclusion(FoldedText(text).Wide());
  if (hasShortExclusions_) {
    if (ContainsExclusion(FoldedText(text.substr(ExclusionFrom(clean))).Ascii())) return true;
    cleanTexts_.Remember(text);
    return false;
  }
  // The common case (exclusions of three characters or more): the places
  // in the clean prefix that passed the filter are remembered with it, so
  // only the places whose three characters reach into what was added are
  // put to the filter, and the text needn't be folded for that.
  const auto* const chars = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  std::vector<uint32_t>& passing = cleanTexts_.Passing();
  const size_t from = ExclusionFrom(clean);
  // The places from `from` on are the last few: found from the end.
  size_t first = passing.size();
  while (first != 0 && passing[first - 1] >= from) --first;
  for (size_t i = first; i < passing.size(); ++i) {
    if (asciiExclusions_.BeginsAt(chars, n, passing[i])) return true;
  }
  const size_t remembered = passing.size();
  const size_t firstNew = std::max<size_t>(clean, 2) - 2;
  if (text.size() >= 3 && firstNew < text.size() - 2) {
    ForEachPlaceThroughFilter(chars, firstNew, text.size() - 2, [&passing](size_t p) {
      passing.push_back(static_cast<uint32_t>(p));
      return false;
    });
  }
  for (size_t i = remembered; i < passing.size(); ++i) {
    if (asciiExclusions_.BeginsAt(chars, n, passing[i])) {
      passing.resize(remembered);
      return true;
    }
  }
  cleanTexts_.Remember(text);
  return false;
}

bool FastMatcher::IsExcludedAfterClean(std::string_view text, size_t cleanLength) const {
  if (!anyExclusion_) return false;
  // An exclusion that ends after the clean part begins at most
  // longestExclusion_ - 1 characters before its end. Where those and the
  // rest are ASCII, they are as many bytes, and nothing before them counts;
  // the text before may hold anything.
  const size_t clean = std::min(cleanLength, text.size());
  size_t from = ExclusionFrom(clean);
  // An exclusion without a backslash lies within one name of a path: one
  // that ends after the clean part begins after the last backslash up to
  // there. The walks' clean part ends with the parent's name, and the
  // backslash comes first or just before it, so only the child's own name
  // is looked at.
  if (!exclusionsHoldBackslash_ && from < text.size()) {
    const size_t backslash = text.substr(from, clean + 1 - from).rfind('\\');
    if (backslash != std::string_view::npos) from += backslash + 1;
  }
  const std::string_view tail = text.substr(from);
  if (!IsAscii(tail)) return ContainsExclusion(FoldedText(text).Wide());
  if (hasShortExclusions_) return ContainsExclusion(FoldedText(tail).Ascii());
  // The places of the tail, read in the text as it stands: the filters
  // take unfolded bytes, and the exact table folds what it compares.
  const auto* const chars = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  if (n < 3 || from >= n - 2) return false;
#if defined(VELTRANE_HAS_NIBBLE_FILTER)
  if (nibbleFilter_ && n - 2 >= 16) return ExclusionBeginsWithNibbles(chars, from, n);
#endif
  return ForEachPlaceThroughFilter(chars, from, n - 2, [&](size_t p) { return asciiExclusions_.BeginsAt(chars, n, p); });
}

#if defined(VELTRANE_HAS_NIBBLE_FILTER)
// Each block of sixteen places lies in the text: the last one is the block
// that ends with the last place, and its places before the ones not yet
// looked at are dropped.
__attribute__((target("ssse3"))) bool FastMatcher::ExclusionBeginsWithNibbles(const unsigned char* chars,
                                                                               size_t from, size_t n) const {
  const size_t end = n - 2;
  const uint32_t mask = (uint32_t{1} << exclusionTripleBits_) - 1;
  for (size_t p = from; p < end; p += 16) {
    const size_t base = std::min(p, end - 16);
    for (uint32_t bits = exclusionNibbles_.Passing16(chars + base) >> (p - base); bits != 0; bits &= bits - 1) {
      const size_t place = p + static_cast<size_t>(std::countr_zero(bits));
      const uint32_t key = TripleKey(chars[place], chars[place + 1], chars[place + 2]);
      if (TripleMayStartExclusion(TripleSlotOfKey(key, mask)) && asciiExclusions_.BeginsAt(chars, n, place)) {
        return true;
      }
    }
  }
  return false;
}
#endif

std::string FastMatcher::MatchTag(std::string_view text) const {
  const FoldedText folded(text);
  // The search first: most texts hold no tag, and then no exclusion matters.
  const Hit hit = folded.Visit([this](const auto& t) {
    const Hit found = FindTag(t, false);
    return found.found() && !ContainsExclusion(t) ? found : Hit{};
  });
  return hit.found() ? loweredTags_[static_cast<size_t>(hit.rank)] : std::string();
}

TagMatchRecord FastMatcher::MatchTagWithExtension(std::string_view text) const {
  // The extension is looked for in the unchanged text, case-sensitively, and
  // only the first passing tag counts: without an extension the record is
  // empty whichever tag passes, so no tag is looked for.
  const std::string* extension = FirstExtension(text);
  if (extension == nullptr) return {};
  const FoldedText folded(text);
  // The search first: most texts hold no tag, and then no exclusion matters.
  const Hit hit = folded.Visit([this](const auto& t) {
    const Hit found = FindTag(t, false);
    return found.found() && !ContainsExclusion(t) ? found : Hit{};
  });
  if (!hit.found()) return {};
  return TagMatchRecord{std::string(text), *extension, loweredTags_[static_cast<size_t>(hit.rank)]};
}

const std::string* FastMatcher::FirstExtension(std::string_view text) const {
  if (!dottedExtensions_) {
    for (const auto& extension : extensions_) {
      if (text.find(extension) != std::string_view::npos) return &extension;
    }
    return nullptr;
  }
  // Every extension is "." and three more bytes: one pass over the dots of
  // the text finds which of them occur, each compared as one 32-bit word;
  // the first in list order counts.
  uint32_t found = 0;
  const char* end = text.data() + text.size();
  for (const char* at = text.data(); (found & 1) == 0; ++at) {
    at = static_cast<const char*>(std::memchr(at, '.', static_cast<size_t>(end - at)));
    if (at == nullptr || end - at < 4) break;
    uint32_t word;
    std::memcpy(&word, at, 4);
    for (size_t i = 0; i < extensionWords_.size(); ++i) found |= uint32_t{word == extensionWords_[i]} << i;
  }
  return found == 0 ? nullptr : &extensions_[static_cast<size_t>(std::countr_zero(found))];
}

std::string FastMatcher::MatchFolderPath(std::string_view path) const { return MatchFolderPathIn(path, false); }

std::string FastMatcher::MatchFolderPathOfClean(std::string_view path) const { return MatchFolderPathIn(path, true); }

std::string FastMatcher::MatchFolderPathIn(std::string_view path, bool knownClean) const {
  // The folder names are the pieces ended by a backslash; the result is the
  // lowered path cut after the first occurrence of the first name that
  // matches (which may lie in an earlier name).
  const FoldedText folded(path);
  // A path that extends one without a match (and without an exclusion) can
  // only match through an exclusion that ends in what was added, or through
  // its names from the one the earlier path ended in.
  size_t clean = 0;
  if (folded.ascii()) clean = cleanPaths_.Longest(path);
  bool excluded = false;
  const size_t cut = folded.Visit([this, clean, knownClean, &excluded](const auto& t) -> size_t {
    excluded = !knownClean && ContainsExclusion(Tail(t, ExclusionFrom(clean)));
    if (excluded) return 0;
    AsciiBuffer name;
    // Whether a tag passes in the name at [begin, end), a text of its own.
    auto nameMatches = [&](size_t begin, size_t end) {
      if constexpr (std::decay_t<decltype(t)>::kAscii) {
        unsigned char* chars = name.Prepare(end - begin);
        std::copy(t.chars + begin, t.chars + end, chars);
        return FindTag(AsciiText{chars, end - begin}, true).found();
      } else {
        return FindTag(t.Sub(begin, end), true).found();
      }
    };
    size_t begin = clean;
    while (begin > 0 && t[begin - 1] != U'\\') --begin;
    for (size_t end = begin; end < t.size(); ++end) {
      if (t[end] != U'\\') continue;
      const size_t nameBegin = begin;
      begin = end + 1;
      if (end == nameBegin || !nameMatches(nameBegin, end)) continue;
      const size_t length = end - nameBegin;
      for (size_t at = 0;; ++at) {
        size_t k = 0;
        while (k < length && t[at + k] == t[nameBegin + k]) ++k;
        if (k == length) return at + length;  // at nameBegin at the latest
      }
    }
    return 0;
  });
  if (cut == 0 && !excluded && folded.ascii()) cleanPaths_.Remember(path);
  return folded.Utf8(cut);
}

}  // namespace veltrane
