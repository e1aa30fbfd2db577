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

ConsoleListView::Row* ConsoleListView::Find(int row) {
  if (row < 0 || row >= RowCount()) return nullptr;
  return &rows_[static_cast<size_t>(row)];
}

int ConsoleListView::AddRow(std::string_view caption) {
  rows_.push_back(Row{std::string(caption), {}, false});
  return RowCount() - 1;
}

std::string ConsoleListView::Caption(int row) {
  const Row* found = Find(row);
  return found ? found->caption : std::string();
}

void ConsoleListView::SetCaption(int row, std::string_view caption) {
  if (Row* found = Find(row)) found->caption = caption;
}

std::string ConsoleListView::SubItem(int row, int subItem) {
  const Row* found = Find(row);
  if (!found || subItem < 1 || static_cast<size_t>(subItem) > found->subItems.size()) return {};
  return found->subItems[static_cast<size_t>(subItem) - 1];
}

void ConsoleListView::SetSubItem(int row, int subItem, std::string_view text) {
  Row* found = Find(row);
  if (!found || subItem < 1) return;
  if (found->subItems.size() < static_cast<size_t>(subItem)) found->subItems.resize(static_cast<size_t>(subItem));
  found->subItems[static_cast<size_t>(subItem) - 1] = text;
}

int ConsoleListView::SubItemCount(int row) {
  const Row* found = Find(row);
  return found ? static_cast<int>(found->subItems.size()) : 0;
}

bool ConsoleListView::IsChecked(int row) {
  const Row* found = Find(row);
  return found && found->checked;
}

void ConsoleListView::SetChecked(int row, bool checked) {
  if (Row* found = Find(row)) found->checked = checked;
}

std::string ConsoleListView::RowsAsText(int columnCount) const {
  std::string text;
  for (const Row& row : rows_) {
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
