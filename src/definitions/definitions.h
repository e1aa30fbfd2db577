// The threat definitions: MalTags (threat tags) and MalTagsEx (exclusions),
// both sorted case-insensitively without duplicates, and the matching
// operations every scanner uses. A definition load or a download replaces a
// list whole; the matcher's index is rebuilt with it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "base/string_list.h"
#include "definitions/tag_match.h"
#include "platform/file_system.h"

namespace veltrane {

class FastMatcher;

class Definitions {
 public:
  Definitions();
  ~Definitions();
  Definitions(const Definitions&) = delete;
  Definitions& operator=(const Definitions&) = delete;

  // Fills MalTags from settingsFolder + "maltag.dat", then MalTagsEx from
  // settingsFolder + "maltagEx.dat". On failure (a file missing or
  // unreadable) returns the error; the list that failed, and any not yet
  // read, keep what they held ("maltagEx.dat" is not read when
  // "maltag.dat" failed).
  Status Load(FileSystem& files, std::string_view settingsFolder);

  // Replace one list whole with the given lines (sorted, duplicates dropped).
  void ReplaceTags(const std::vector<std::string>& lines);
  void ReplaceExclusions(const std::vector<std::string>& lines);

  const StringList& Tags() const { return tags_; }
  const StringList& Exclusions() const { return exclusions_; }

  bool IsExcluded(std::string_view text) const;
  // IsExcluded(text) for a text whose first cleanLength bytes were found not
  // excluded (a walk's child path, the parent's path before it): only an
  // exclusion that ends after them is looked for, in the last few bytes of
  // the clean part and what follows. The caller must be sure of the clean
  // part: if it holds an exclusion, the result may be false.
  bool IsExcludedAfterClean(std::string_view text, size_t cleanLength) const;
  // The first matching tag, lower-cased, or "".
  std::string MatchTag(std::string_view text) const;
  TagMatchRecord MatchTagWithExtension(std::string_view text) const;
  // False when MatchTagWithExtension(text) is sure to be empty: no entry of
  // the extension list occurs in text. Lets a caller that matches later
  // keep only the texts that may match.
  bool HoldsListedExtension(std::string_view text) const;
  // The lower-cased path cut after the first matching folder name, or "".
  std::string MatchFolderPath(std::string_view path) const;
  // MatchFolderPath(path) for a path that holds no exclusion: the end of a
  // path that IsExcluded or IsExcludedAfterClean has just found clean (the
  // folder walk's part below its scan root). The exclusions aren't looked
  // for again; if path holds one, the result may be a match.
  std::string MatchFolderPathOfClean(std::string_view path) const;

 private:
  void Rebuild();

  StringList tags_{true, true};
  StringList exclusions_{true, true};
  std::unique_ptr<FastMatcher> fast_;
};

}  // namespace veltrane
