// Text helpers. All text inside the program is UTF-8. Matching and the
// case-insensitive lists work on Unicode code points; case folding covers
// ASCII and Latin-1 letters only, identically on every platform, so the
// results equal those of an 8-bit Windows code page for its text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane {

// Decodes UTF-8 into code points. Invalid bytes decode as U+FFFD, one per byte.
std::u32string DecodeUtf8(std::string_view text);
std::string EncodeUtf8(std::u32string_view text);
bool IsValidUtf8(std::string_view bytes);

// Bytes read from a file: valid UTF-8 is kept, anything else is taken as
// Windows-1252 and converted to UTF-8.
std::string BytesToUtf8(std::string_view bytes);

// Lower-cases one code point: ASCII A-Z and Latin-1 U+00C0..U+00DE (except
// U+00D7, the multiplication sign). Everything else is returned unchanged.
char32_t FoldCase(char32_t c);
std::u32string FoldCase(std::u32string_view text);
// UTF-8 in, lower-cased UTF-8 out (same folding as above).
std::string ToLower(std::string_view text);

// Ordinal comparison after folding: <0, 0, >0. Deterministic everywhere;
// this is the order of every "sorted, case-insensitive" list.
int CompareIgnoreCase(std::string_view a, std::string_view b);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Splits text into lines at CR LF, LF or CR. A final line terminator does not
// make an extra empty line.
std::vector<std::string> SplitLines(std::string_view text);
// Joins lines, each ended by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

bool EndsWith(std::string_view text, std::string_view suffix);
bool StartsWith(std::string_view text, std::string_view prefix);
// Adds a backslash unless the text already ends with one.
std::string WithTrailingBackslash(std::string_view path);

}  // namespace veltrane
