// The scan's results and the pages' rows, kept in memory and printed when
// the command is done.
#pragma once

#include <string>

#include "platform/memory_list_view.h"

namespace veltrane {

class ConsoleListView : public MemoryListView {
 public:
  // The rows as text, one line per row ended by "\n": the caption and the
  // first columnCount - 1 sub-items, separated by tabs (missing sub-items are
  // empty). Tabs and line breaks inside a cell become blanks, so that every
  // row stays one line of columnCount fields. Nothing is ever selected on the
  // console.
  std::string RowsAsText(int columnCount) const;
};

}  // namespace veltrane
