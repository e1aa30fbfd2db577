// The field reader shared by every ";"-record of the program.
#pragma once

#include <string>
#include <string_view>

namespace veltrane {

// Field number `index` (0-based) of text, where each field is ended by the
// separator (compared after case folding). A field not ended by a separator
// is never returned: SplitField("a;b", 1, ';') is "".
std::string SplitField(std::string_view text, int index, char32_t separator);
// The number of separator characters in text (same comparison).
int CountSeparators(std::string_view text, char32_t separator);

}  // namespace veltrane
