// A list view kept in memory: the scan's results and the pages' rows, which
// the console prints when the command is done. Indexes that name no row are
// ignored by the setters and read as empty, as the window's list does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"

namespace veltrane {

class ConsoleListView : public ListViewPort {
 public:
  void Clear() override { rows_.clear(); }
  int RowCount() override { return static_cast<int>(rows_.size()); }
  int AddRow(std::string_view caption) override;
  std::string Caption(int row) override;
  void SetCaption(int row, std::string_view caption) override;
  std::string SubItem(int row, int subItem) override;
  void SetSubItem(int row, int subItem, std::string_view text) override;
  int SubItemCount(int row) override;
  bool IsChecked(int row) override;
  void SetChecked(int row, bool checked) override;
  // Nothing is ever selected on the console.
  std::vector<int> SelectedRows() override { return {}; }
  void BeginUpdate() override {}
  void EndUpdate() override {}

  // The rows as text, one line per row ended by "\n": the caption and the
  // first columnCount - 1 sub-items, separated by tabs (missing sub-items are
  // empty). Tabs and line breaks inside a cell become blanks, so that every
  // row stays one line of columnCount fields.
  std::string RowsAsText(int columnCount) const;

 private:
  struct Row {
    std::string caption;
    std::vector<std::string> subItems;
    bool checked = false;
  };
  Row* Find(int row);

  std::vector<Row> rows_;
};

}  // namespace veltrane
