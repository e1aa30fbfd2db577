#include "platform/fake/ui_fake.h"

namespace veltrane {

// --- FakeListView ---

FakeListView::Row* FakeListView::At(int row) {
  if (row < 0 || row >= RowCount()) {
    ++badIndexCalls_;
    return nullptr;
  }
  return &rows_[static_cast<size_t>(row)];
}

void FakeListView::Clear() { rows_.clear(); }

int FakeListView::AddRow(std::string_view caption) {
  if (updateDepth_ == 0) ++rowsAddedOutsideUpdate_;
  rows_.push_back(Row{std::string(caption), {}, false, false});
  return RowCount() - 1;
}

std::string FakeListView::Caption(int row) {
  const Row* r = At(row);
  return r == nullptr ? std::string() : r->caption;
}

void FakeListView::SetCaption(int row, std::string_view caption) {
  if (Row* r = At(row)) r->caption = std::string(caption);
}

std::string FakeListView::SubItem(int row, int subItem) {
  const Row* r = At(row);
  if (r == nullptr || subItem < 1 || subItem > static_cast<int>(r->subItems.size())) return "";
  return r->subItems[static_cast<size_t>(subItem - 1)];
}

void FakeListView::SetSubItem(int row, int subItem, std::string_view text) {
  Row* r = At(row);
  if (r == nullptr) return;
  if (subItem < 1) {
    ++badIndexCalls_;
    return;
  }
  if (static_cast<int>(r->subItems.size()) < subItem) r->subItems.resize(static_cast<size_t>(subItem));
  r->subItems[static_cast<size_t>(subItem - 1)] = std::string(text);
}

int FakeListView::SubItemCount(int row) {
  const Row* r = At(row);
  return r == nullptr ? 0 : static_cast<int>(r->subItems.size());
}

bool FakeListView::IsChecked(int row) {
  const Row* r = At(row);
  return r != nullptr && r->checked;
}

void FakeListView::SetChecked(int row, bool checked) {
  if (Row* r = At(row)) r->checked = checked;
}

std::vector<int> FakeListView::SelectedRows() {
  std::vector<int> selected;
  for (int i = 0; i < RowCount(); ++i) {
    if (rows_[static_cast<size_t>(i)].selected) selected.push_back(i);
  }
  return selected;
}

void FakeListView::BeginUpdate() {
  ++updateDepth_;
  ++beginUpdates_;
}

void FakeListView::EndUpdate() {
  if (updateDepth_ == 0) {
    ++unmatchedEndUpdates_;
    return;
  }
  --updateDepth_;
}

void FakeListView::Select(int row, bool selected) {
  if (Row* r = At(row)) r->selected = selected;
}

// --- FakeLabel ---

void FakeLabel::SetText(std::string_view text) {
  text_.assign(text);  // keeps its room, as a control keeps its text buffer
  if (keepHistory_) history_.push_back(text_);
}

// --- FakeMessageBox ---

MessageBoxAnswer FakeMessageBox::Show(std::string_view text, std::string_view caption, MessageBoxButtons buttons,
                                      MessageBoxIcon icon) {
  MessageBoxAnswer answer = MessageBoxAnswer::kOk;
  if (buttons == MessageBoxButtons::kYesNo) {
    answer = defaultAnswer_;
    if (!answers_.empty()) {
      answer = answers_.front();
      answers_.pop_front();
    }
  }
  shown_.push_back(Shown{std::string(text), std::string(caption), buttons, icon, answer});
  if (onShow_) onShow_(shown_.back());
  return answer;
}

std::vector<std::string> FakeMessageBox::Texts() const {
  std::vector<std::string> texts;
  for (const auto& box : shown_) texts.push_back(box.text);
  return texts;
}

// --- FakeMessagePump ---

void FakeMessagePump::ProcessPendingMessages() {
  ++calls_;
  if (hook_) hook_(calls_);
}

// --- FakeMainView ---

FakeMainView::FakeMainView()
    : view_{list1,  label2,     label6,  label7,   label17,  button1,    button2,
            sb1,    programsLV, label84, badoList, label70, messageBox, pump} {}

}  // namespace veltrane
