#include "platform/fake/fake_names.h"

#include "base/text.h"

namespace veltrane::fake {
namespace {

char32_t UpperCase(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
  return c;
}

bool MatchFrom(const std::u32string& name, size_t n, const std::u32string& mask, size_t m) {
  while (m < mask.size()) {
    if (mask[m] == U'*') {
      while (m < mask.size() && mask[m] == U'*') ++m;
      if (m == mask.size()) return true;
      for (size_t k = n; k <= name.size(); ++k) {
        if (MatchFrom(name, k, mask, m)) return true;
      }
      return false;
    }
    if (n == name.size()) return false;
    if (mask[m] != U'?' && mask[m] != name[n]) return false;
    ++n;
    ++m;
  }
  return n == name.size();
}

}  // namespace

int CompareAsWindowsSorts(std::string_view a, std::string_view b) {
  // Plain ASCII (the common case) needs no decoding.
  size_t i = 0;
  for (; i < a.size() && i < b.size(); ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (ca >= 0x80 || cb >= 0x80) break;
    const char32_t ua = UpperCase(ca);
    const char32_t ub = UpperCase(cb);
    if (ua != ub) return ua < ub ? -1 : 1;
  }
  if (i == a.size() || i == b.size()) {
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
  }
  a.remove_prefix(i);
  b.remove_prefix(i);
  const std::u32string ua = DecodeUtf8(a);
  const std::u32string ub = DecodeUtf8(b);
  const size_t count = std::min(ua.size(), ub.size());
  for (size_t i = 0; i < count; ++i) {
    const char32_t ca = UpperCase(ua[i]);
    const char32_t cb = UpperCase(ub[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (ua.size() == ub.size()) return 0;
  return ua.size() < ub.size() ? -1 : 1;
}

bool NameLess(std::string_view a, std::string_view b) { return CompareAsWindowsSorts(a, b) < 0; }

std::vector<std::string_view> SplitPath(std::string_view path, bool slashes) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\' || (slashes && path[i] == '/')) {
      if (i > start) parts.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  if (mask == "*" || mask == "*.*") return true;
  return MatchFrom(FoldCase(DecodeUtf8(name)), 0, FoldCase(DecodeUtf8(mask)), 0);
}

}  // namespace veltrane::fake
