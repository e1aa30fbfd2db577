#include "definitions/triple_nibble_filter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace veltrane {
namespace {

// Whether the three bytes at p equal the triple with bit 5 of each set alike.
bool SameWithBit5(const unsigned char* p, const std::string& triple) {
  for (int i = 0; i < 3; ++i) {
    if ((p[i] | 0x20) != (static_cast<unsigned char>(triple[i]) | 0x20)) return false;
  }
  return true;
}

// Every place where an added triple begins passes, at every count from 1 to
// 64, on texts held in buffers of exactly count + 2 bytes, or with a few
// readable bytes before them (so that a read outside shows under the
// address sanitizer); bytes above ASCII never begin one.
TEST(TripleNibbleFilterTest, PassesEveryPlaceWhereATripleBegins) {
  if (!TripleNibbleFilter::Available()) GTEST_SKIP() << "no SSSE3 on this processor or build";
  const std::vector<std::string> triples = {"goo", "moz", "7-z", "win", "vis", "not", "dot", "a b"};
  TripleNibbleFilter filter;
  for (const std::string& triple : triples) {
    filter.Add(static_cast<unsigned char>(triple[0]), static_cast<unsigned char>(triple[1]),
               static_cast<unsigned char>(triple[2]));
  }
  const std::string alphabet = "gGoOmMzZ7-wWiInNvVsSdDtTaAb |\\\x80\xc3";
  std::mt19937 random(7);
  size_t placesWithTriple = 0;
  for (size_t count = 1; count <= 64; ++count) {
    for (int round = 0; round < 200; ++round) {
      const size_t before = std::vector<size_t>{0, 0, 1, 3, 15, 16, 40}[round % 7];
      std::vector<unsigned char> buffer(before + count + 2);
      for (auto& c : buffer) c = static_cast<unsigned char>(alphabet[random() % alphabet.size()]);
      const unsigned char* const text = buffer.data() + before;
      const uint64_t passing = filter.Passing(text, count, before);
      // The bytes before the text change nothing.
      const std::vector<unsigned char> alone(text, text + count + 2);
      EXPECT_EQ(passing, filter.Passing(alone.data(), count)) << "count " << count << ", before " << before;
      if (count < 64) {
        EXPECT_EQ(passing >> count, 0u) << "a place past count passed";
      }
      for (size_t p = 0; p < count; ++p) {
        bool begins = false;
        for (const std::string& triple : triples) begins = begins || SameWithBit5(&text[p], triple);
        placesWithTriple += begins;
        if (begins) {
          EXPECT_TRUE((passing >> p) & 1) << "count " << count << ", place " << p << ", before " << before;
        }
        if (text[p] >= 0x80 || text[p + 1] >= 0x80 || text[p + 2] >= 0x80) {
          EXPECT_FALSE((passing >> p) & 1) << "a byte above ASCII passed at place " << p;
        }
      }
    }
  }
  EXPECT_GT(placesWithTriple, 300u);  // the texts hold the triples often enough to test something
}

// The filter is coarse but not empty of meaning: a text none of whose
// bytes is any triple's character passes nowhere.
TEST(TripleNibbleFilterTest, PassesNothingWithoutTheTriplesCharacters) {
  if (!TripleNibbleFilter::Available()) GTEST_SKIP() << "no SSSE3 on this processor or build";
  TripleNibbleFilter filter;
  filter.Add('g', 'o', 'o');
  const std::string text(66, 'x');
  EXPECT_EQ(filter.Passing(reinterpret_cast<const unsigned char*>(text.data()), 64), 0u);
}

}  // namespace
}  // namespace veltrane
