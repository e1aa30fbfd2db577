#include "definitions/reference_matcher.h"

#include <vector>

#include "base/text.h"
#include "definitions/fields.h"

namespace veltrane::reference {
namespace {

constexpr size_t kShortestPiece = 4;

std::u32string Folded(std::string_view text) { return FoldCase(DecodeUtf8(text)); }

std::vector<std::u32string> FoldedList(const StringList& list) {
  std::vector<std::u32string> folded;
  folded.reserve(static_cast<size_t>(list.Count()));
  for (const auto& line : list) folded.push_back(Folded(line));
  return folded;
}

// A substring search that, like the 1-based position search it stands for,
// never finds an empty needle.
bool Contains(std::u32string_view text, std::u32string_view needle) {
  return !needle.empty() && text.find(needle) != std::u32string_view::npos;
}

// Both sides folded.
bool TagTest(std::u32string_view tag, std::u32string_view piece) {
  if (tag.size() > piece.size()) return false;
  return Contains(piece, tag) || FuzzyTagMatch(tag, piece);
}

bool IsExcludedFolded(const std::vector<std::u32string>& exclusions, std::u32string_view text) {
  for (const auto& exclusion : exclusions) {
    if (Contains(text, exclusion)) return true;
  }
  return false;
}

// The earliest start position, and at it the first tag in list order, whose
// TagTest passes; nullptr when none does.
const std::u32string* FirstPassingTag(const std::vector<std::u32string>& tags, std::u32string_view text) {
  for (size_t start = 0; start + kShortestPiece <= text.size(); ++start) {
    const std::u32string_view piece = text.substr(start);
    for (const auto& tag : tags) {
      if (TagTest(tag, piece)) return &tag;
    }
  }
  return nullptr;
}

}  // namespace

bool FuzzyTagMatch(std::u32string_view tag, std::u32string_view text) {
  // Positions are 1-based as in the rule: p is where the next search starts
  // (below 1 counts as 1), q the previous value of v (0 = none yet).
  size_t p = 0;
  size_t q = 0;
  bool haveQ = false;
  size_t matched = 0;
  for (char32_t c : tag) {
    const size_t from = p < 1 ? 0 : p - 1;
    if (from >= text.size()) break;
    const size_t found = text.find(c, from);
    if (found == std::u32string_view::npos) break;
    const size_t r = found - from + 1;
    const size_t v = p + r;
    if (haveQ && v > q + 3) break;
    q = v;
    haveQ = true;
    p = v;
    ++matched;
  }
  return matched > 0 && matched == tag.size();
}

bool FuzzyTagMatch(std::string_view tag, std::string_view text) {
  return FuzzyTagMatch(Folded(tag), Folded(text));
}

bool IsExcluded(const StringList& exclusions, std::string_view text) {
  return IsExcludedFolded(FoldedList(exclusions), Folded(text));
}

std::string MatchTag(const StringList& tags, const StringList& exclusions, std::string_view text) {
  const std::u32string folded = Folded(text);
  if (IsExcludedFolded(FoldedList(exclusions), folded)) return "";
  const auto foldedTags = FoldedList(tags);
  const std::u32string* tag = FirstPassingTag(foldedTags, folded);
  return tag ? EncodeUtf8(*tag) : "";
}

TagMatchRecord MatchTagWithExtension(const StringList& tags, const StringList& exclusions,
                                     std::string_view text) {
  const std::u32string folded = Folded(text);
  if (IsExcludedFolded(FoldedList(exclusions), folded)) return {};
  const auto foldedTags = FoldedList(tags);
  const std::u32string* tag = FirstPassingTag(foldedTags, folded);
  if (!tag) return {};
  // Only the first passing tag counts; the extension is looked for in the
  // unchanged text, case-sensitively.
  const int count = CountSeparators(kExtensionList, U';');
  for (int i = 0; i < count; ++i) {
    const std::string extension = SplitField(kExtensionList, i, U';');
    if (text.find(extension) != std::string_view::npos) {
      return TagMatchRecord{std::string(text), extension, EncodeUtf8(*tag)};
    }
  }
  return {};
}

std::string MatchFolderPath(const StringList& tags, const StringList& exclusions, std::string_view path) {
  const std::u32string folded = Folded(path);
  if (IsExcludedFolded(FoldedList(exclusions), folded)) return "";
  const auto foldedTags = FoldedList(tags);
  // The folder names are the fields ended by a backslash; a last name without
  // one is not examined.
  const std::string lowered = EncodeUtf8(folded);
  const int count = CountSeparators(lowered, U'\\');
  for (int i = 0; i < count; ++i) {
    const std::u32string name = DecodeUtf8(SplitField(lowered, i, U'\\'));
    if (name.empty()) continue;
    if (FirstPassingTag(foldedTags, name) == nullptr) continue;
    // Cut after the first occurrence of the name, which may lie in an
    // earlier folder name.
    const size_t at = folded.find(name);
    return EncodeUtf8(std::u32string_view(folded).substr(0, at + name.size()));
  }
  return "";
}

}  // namespace veltrane::reference
