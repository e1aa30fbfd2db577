#include "base/text.h"

#include <algorithm>

namespace veltrane {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80..0x9F; the rest of the upper half is Latin-1.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

// Decodes one sequence at text[i]; returns its length, 0 when invalid.
size_t DecodeOne(std::string_view text, size_t i, char32_t* out) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  if (b0 < 0x80) {
    *out = b0;
    return 1;
  }
  size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if ((b0 & 0xE0) == 0xC0) {
    length = 2, value = b0 & 0x1F, minimum = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    length = 3, value = b0 & 0x0F, minimum = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    length = 4, value = b0 & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    value = (value << 6) | (b & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *out = value;
  return length;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string result;
  result.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    char32_t c = 0;
    const size_t length = DecodeOne(text, i, &c);
    if (length == 0) {
      result += kReplacement;
      ++i;
    } else {
      result += c;
      i += length;
    }
  }
  return result;
}

std::string EncodeUtf8(std::u32string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char32_t c : text) AppendUtf8(result, c);
  return result;
}

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    char32_t c = 0;
    const size_t length = DecodeOne(bytes, i, &c);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string BytesToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  std::string result;
  result.reserve(bytes.size() + bytes.size() / 4);
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    const char32_t c = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : b;
    AppendUtf8(result, c);
  }
  return result;
}

char32_t FoldCase(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  return c;
}

std::u32string FoldCase(std::u32string_view text) {
  std::u32string result(text);
  for (char32_t& c : result) c = FoldCase(c);
  return result;
}

std::string ToLower(std::string_view text) {
  // Fast path: plain ASCII needs no decoding.
  if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    std::string result(text);
    for (char& c : result) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
    }
    return result;
  }
  return EncodeUtf8(FoldCase(DecodeUtf8(text)));
}

int CompareIgnoreCase(std::string_view a, std::string_view b) {
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() && j < b.size()) {
    char32_t ca = 0;
    char32_t cb = 0;
    size_t la = DecodeOne(a, i, &ca);
    size_t lb = DecodeOne(b, j, &cb);
    if (la == 0) ca = kReplacement, la = 1;
    if (lb == 0) cb = kReplacement, lb = 1;
    ca = FoldCase(ca);
    cb = FoldCase(cb);
    if (ca != cb) return ca < cb ? -1 : 1;
    i += la;
    j += lb;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) { return CompareIgnoreCase(a, b) == 0; }

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      ++i;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
  std::string result;
  for (const auto& line : lines) {
    result += line;
    result += "\r\n";
  }
  return result;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

std::string WithTrailingBackslash(std::string_view path) {
  std::string result(path);
  if (result.empty() || result.back() != '\\') result += '\\';
  return result;
}

}  // namespace veltrane
