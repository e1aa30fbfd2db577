// A list view kept in memory: the console's lists, and the tests' fake.
// Indexes that name no row (and sub-items below 1) are ignored by the
// setters and read as empty, as the window's list does; OnWrongIndex hears
// of each such call.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"

namespace veltrane {

class MemoryListView : public ListViewPort {
 public:
  struct Row {
    std::string caption;
    std::vector<std::string> subItems;  // sub-item 1 is subItems[0]
    bool checked = false;
    bool selected = false;
  };

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
  std::vector<int> SelectedRows() override;
  void BeginUpdate() override {}
  void EndUpdate() override {}

  // The user's side.
  void Select(int row, bool selected = true);
  const std::vector<Row>& Rows() const { return rows_; }

 protected:
  virtual void OnWrongIndex() {}

 private:
  Row* At(int row);

  std::vector<Row> rows_;
};

}  // namespace veltrane
