// StringList: the program's text list. Unsorted lists keep insertion order;
// sorted lists keep ordinal order after case folding (CompareIgnoreCase) and,
// with ignoreDuplicates, silently drop a line equal (ignoring case) to one
// already present: the first one stays.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace veltrane {

class StringList {
 public:
  StringList() = default;
  StringList(bool sorted, bool ignoreDuplicates) : sorted_(sorted), ignoreDuplicates_(ignoreDuplicates) {}

  // Switching to sorted re-sorts the present lines (stable); switching on
  // ignoreDuplicates does not remove lines already present.
  void SetSorted(bool sorted);
  void SetIgnoreDuplicates(bool ignore) { ignoreDuplicates_ = ignore; }
  bool sorted() const { return sorted_; }
  bool ignoreDuplicates() const { return ignoreDuplicates_; }

  // Adds a line; returns its index, or -1 when it was dropped as a duplicate.
  int Add(std::string line);
  void Clear() { lines_.clear(); }
  // Replaces the content with the given lines, added one by one.
  void Assign(const std::vector<std::string>& lines);

  int Count() const { return static_cast<int>(lines_.size()); }
  bool Empty() const { return lines_.empty(); }
  const std::string& operator[](int index) const { return lines_[static_cast<size_t>(index)]; }
  const std::vector<std::string>& Lines() const { return lines_; }
  auto begin() const { return lines_.begin(); }
  auto end() const { return lines_.end(); }

  // Index of the first line equal to text ignoring case, or -1.
  int IndexOf(std::string_view text) const;
  // Index of the first line (in list order) whose name part (the text before
  // the first "=") equals name ignoring case, or -1.
  int IndexOfName(std::string_view name) const;
  void Delete(int index);

  // The lines joined, each ended by CR LF (the program's data-file format).
  std::string Text() const;

 private:
  std::vector<std::string> lines_;
  bool sorted_ = false;
  bool ignoreDuplicates_ = false;
};

}  // namespace veltrane
