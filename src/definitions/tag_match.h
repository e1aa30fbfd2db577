// The result of matching a registry name or text against the threat tags.
#pragma once

#include <string>

namespace veltrane {

// All three fields are empty when there is no match.
struct TagMatchRecord {
  std::string text;       // the whole text that was examined
  std::string extension;  // the entry of kExtensionList found in it
  std::string tag;        // the matching tag, lower-cased
  bool empty() const { return text.empty(); }
};

// The file extensions that a registry hit must carry, in the order tried.
inline constexpr const char* kExtensionList = ".exe;.dll;.scr;.com;.net;.org;";

}  // namespace veltrane
