#include "platform/memory_list_view.h"

#include <cstddef>

namespace veltrane {

MemoryListView::Row* MemoryListView::At(int row) {
  if (row < 0 || row >= RowCount()) {
    OnWrongIndex();
    return nullptr;
  }
  return &rows_[static_cast<size_t>(row)];
}

int MemoryListView::AddRow(std::string_view caption) {
  rows_.push_back(Row{std::string(caption), {}, false, false});
  return RowCount() - 1;
}

std::string MemoryListView::Caption(int row) {
  const Row* found = At(row);
  return found ? found->caption : std::string();
}

void MemoryListView::SetCaption(int row, std::string_view caption) {
  if (Row* found = At(row)) found->caption = caption;
}

std::string MemoryListView::SubItem(int row, int subItem) {
  const Row* found = At(row);
  if (!found || subItem < 1 || static_cast<size_t>(subItem) > found->subItems.size()) return {};
  return found->subItems[static_cast<size_t>(subItem) - 1];
}

void MemoryListView::SetSubItem(int row, int subItem, std::string_view text) {
  Row* found = At(row);
  if (!found) return;
  if (subItem < 1) {
    OnWrongIndex();
    return;
  }
  if (found->subItems.size() < static_cast<size_t>(subItem)) found->subItems.resize(static_cast<size_t>(subItem));
  found->subItems[static_cast<size_t>(subItem) - 1] = text;
}

int MemoryListView::SubItemCount(int row) {
  const Row* found = At(row);
  return found ? static_cast<int>(found->subItems.size()) : 0;
}

bool MemoryListView::IsChecked(int row) {
  const Row* found = At(row);
  return found && found->checked;
}

void MemoryListView::SetChecked(int row, bool checked) {
  if (Row* found = At(row)) found->checked = checked;
}

std::vector<int> MemoryListView::SelectedRows() {
  std::vector<int> selected;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].selected) selected.push_back(static_cast<int>(i));
  }
  return selected;
}

void MemoryListView::Select(int row, bool selected) {
  if (Row* found = At(row)) found->selected = selected;
}

}  // namespace veltrane
