#include "cli/console_list_view.h"

#include <cstddef>

namespace veltrane {
namespace {

std::string OneLine(std::string_view cell) {
  std::string text(cell);
  for (char& c : text) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

}  // namespace

std::string ConsoleListView::RowsAsText(int columnCount) const {
  std::string text;
  for (const Row& row : Rows()) {
    text += OneLine(row.caption);
    for (int column = 1; column < columnCount; ++column) {
      text += '\t';
      if (static_cast<size_t>(column) <= row.subItems.size()) {
        text += OneLine(row.subItems[static_cast<size_t>(column) - 1]);
      }
    }
    text += '\n';
  }
  return text;
}

}  // namespace veltrane
