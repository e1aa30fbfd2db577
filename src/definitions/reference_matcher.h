// The matching rules exactly as first written: every tag tried at every start
// position. Slow (text length x tag count searches per call) but the
// reference that the fast matcher (fast_matcher.h) must equal; used by tests
// and benchmarks only.
//
// Tags and exclusions are taken in list order; texts are UTF-8 and are
// compared as Unicode code points after FoldCase.
#pragma once

#include <string>
#include <string_view>

#include "base/string_list.h"
#include "definitions/tag_match.h"

namespace veltrane::reference {

// Both arguments already lower-cased (folded) code points.
bool FuzzyTagMatch(std::u32string_view tag, std::u32string_view text);
// UTF-8 convenience: folds both sides first.
bool FuzzyTagMatch(std::string_view tag, std::string_view text);

bool IsExcluded(const StringList& exclusions, std::string_view text);
std::string MatchTag(const StringList& tags, const StringList& exclusions, std::string_view text);
TagMatchRecord MatchTagWithExtension(const StringList& tags, const StringList& exclusions,
                                     std::string_view text);
std::string MatchFolderPath(const StringList& tags, const StringList& exclusions,
                            std::string_view path);

}  // namespace veltrane::reference
