#include "platform/fake/ui_fake.h"

namespace veltrane {

// --- FakeListView ---

int FakeListView::AddRow(std::string_view caption) {
  if (updateDepth_ == 0) ++rowsAddedOutsideUpdate_;
  return MemoryListView::AddRow(caption);
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
