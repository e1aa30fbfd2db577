#include "definitions/fields.h"

#include "base/text.h"

namespace veltrane {
namespace {

// Calls onChar(character, isSeparator) for every character of text. An ASCII
// separator is found byte by byte (no other code point folds to an ASCII
// one, and UTF-8 bytes of other characters are all above 0x7F), which keeps
// the fields' bytes exactly as they came; any other separator goes through
// code points.
template <typename OnByteField, typename OnCodePointField>
void Walk(std::string_view text, char32_t separator, OnByteField onBytes, OnCodePointField onCodePoints) {
  const char32_t folded = FoldCase(separator);
  if (folded < 0x80) {
    size_t fieldStart = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      if (byte < 0x80 && FoldCase(byte) == folded) {
        if (!onBytes(text.substr(fieldStart, i - fieldStart))) return;
        fieldStart = i + 1;
      }
    }
    return;
  }
  const std::u32string chars = DecodeUtf8(text);
  size_t fieldStart = 0;
  for (size_t i = 0; i < chars.size(); ++i) {
    if (FoldCase(chars[i]) == folded) {
      if (!onCodePoints(std::u32string_view(chars).substr(fieldStart, i - fieldStart))) return;
      fieldStart = i + 1;
    }
  }
}

}  // namespace

std::string SplitField(std::string_view text, int index, char32_t separator) {
  std::string result;
  int ended = 0;
  Walk(
      text, separator,
      [&](std::string_view field) {
        if (ended++ != index) return true;
        result = std::string(field);
        return false;
      },
      [&](std::u32string_view field) {
        if (ended++ != index) return true;
        result = EncodeUtf8(field);
        return false;
      });
  return result;
}

int CountSeparators(std::string_view text, char32_t separator) {
  int count = 0;
  Walk(
      text, separator, [&](std::string_view) { return ++count, true; },
      [&](std::u32string_view) { return ++count, true; });
  return count;
}

}  // namespace veltrane
