// UTF-8 inside the program, UTF-16 at the Win32 calls: the only place where
// text crosses between the two.
#pragma once

#include <string>
#include <string_view>

namespace veltrane {

// Invalid UTF-8 becomes U+FFFD.
std::wstring ToWide(std::string_view utf8);
// Unpaired surrogates (possible in registry and file names) become U+FFFD.
std::string FromWide(std::wstring_view wide);

}  // namespace veltrane
