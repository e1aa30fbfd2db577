#include "base/string_list.h"

#include <algorithm>

#include "base/text.h"

namespace veltrane {

void StringList::SetSorted(bool sorted) {
  if (sorted && !sorted_) {
    std::stable_sort(lines_.begin(), lines_.end(),
                     [](const std::string& a, const std::string& b) { return CompareIgnoreCase(a, b) < 0; });
  }
  sorted_ = sorted;
}

int StringList::Add(std::string line) {
  if (!sorted_) {
    if (ignoreDuplicates_ && IndexOf(line) >= 0) return -1;
    lines_.push_back(std::move(line));
    return Count() - 1;
  }
  auto it = std::lower_bound(lines_.begin(), lines_.end(), line, [](const std::string& a, const std::string& b) {
    return CompareIgnoreCase(a, b) < 0;
  });
  if (ignoreDuplicates_ && it != lines_.end() && CompareIgnoreCase(*it, line) == 0) return -1;
  // Equal lines (when duplicates are kept) go after the ones already there.
  it = std::upper_bound(it, lines_.end(), line,
                        [](const std::string& a, const std::string& b) { return CompareIgnoreCase(a, b) < 0; });
  const auto index = static_cast<int>(it - lines_.begin());
  lines_.insert(it, std::move(line));
  return index;
}

void StringList::Assign(const std::vector<std::string>& lines) {
  lines_.clear();
  if (!sorted_) {
    for (const auto& line : lines) Add(line);
    return;
  }
  // One sort instead of one insertion per line: a download of tens of
  // thousands of unsorted tags would otherwise take seconds. The stable sort
  // keeps equal lines in their order, so dropping all but the first of each
  // run keeps the line that Add would have kept.
  lines_ = lines;
  const auto less = [](const std::string& a, const std::string& b) { return CompareIgnoreCase(a, b) < 0; };
  std::stable_sort(lines_.begin(), lines_.end(), less);
  if (ignoreDuplicates_) {
    const auto equal = [](const std::string& a, const std::string& b) { return CompareIgnoreCase(a, b) == 0; };
    lines_.erase(std::unique(lines_.begin(), lines_.end(), equal), lines_.end());
  }
}

int StringList::IndexOf(std::string_view text) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (EqualsIgnoreCase(lines_[i], text)) return static_cast<int>(i);
  }
  return -1;
}

int StringList::IndexOfName(std::string_view name) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const std::string& line = lines_[i];
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    if (EqualsIgnoreCase(std::string_view(line).substr(0, equals), name)) return static_cast<int>(i);
  }
  return -1;
}

void StringList::Delete(int index) { lines_.erase(lines_.begin() + index); }

std::string StringList::Text() const { return JoinLinesCrLf(lines_); }

}  // namespace veltrane
