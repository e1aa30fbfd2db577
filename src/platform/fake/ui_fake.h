// In-memory window controls for tests, and FakeMainView, which owns one of
// each for every member of MainView.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_view.h"
#include "platform/memory_list_view.h"
#include "platform/ui.h"

namespace veltrane {

// A list view. Calls with a row index out of range do nothing (reads give
// "" / false / 0) and are counted in BadIndexCalls(), so a test can check
// that the logic never used a wrong row.
class FakeListView : public MemoryListView {
 public:
  int AddRow(std::string_view caption) override;
  void BeginUpdate() override;
  void EndUpdate() override;

  int BadIndexCalls() const { return badIndexCalls_; }
  int UpdateDepth() const { return updateDepth_; }  // open BeginUpdate brackets
  int BeginUpdateCount() const { return beginUpdates_; }
  // Rows added while no update bracket was open.
  int RowsAddedOutsideUpdate() const { return rowsAddedOutsideUpdate_; }
  // EndUpdate calls without a matching BeginUpdate.
  int UnmatchedEndUpdates() const { return unmatchedEndUpdates_; }

 protected:
  void OnWrongIndex() override { ++badIndexCalls_; }

 private:
  int badIndexCalls_ = 0;
  int updateDepth_ = 0;
  int beginUpdates_ = 0;
  int rowsAddedOutsideUpdate_ = 0;
  int unmatchedEndUpdates_ = 0;
};

// A label that also remembers every text it was given.
class FakeLabel : public LabelPort {
 public:
  void SetText(std::string_view text) override;
  std::string Text() override { return text_; }
  const std::vector<std::string>& History() const { return history_; }
  // Long walks set the status line per item; benchmarks can turn this off.
  void KeepHistory(bool keep) { keepHistory_ = keep; }

 private:
  std::string text_;
  std::vector<std::string> history_;
  bool keepHistory_ = true;
};

class FakeButton : public ButtonPort {
 public:
  void SetCaption(std::string_view caption) override { caption_ = std::string(caption); }
  std::string Caption() override { return caption_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  bool IsEnabled() override { return enabled_; }

 private:
  std::string caption_;
  bool enabled_ = true;
};

// Message boxes. An OK box answers kOk. A Yes/No box takes the next scripted
// answer (QueueAnswer), or the default answer (kNo unless set) when the
// queue is empty. Every box is recorded.
class FakeMessageBox : public MessageBoxPort {
 public:
  struct Shown {
    std::string text;
    std::string caption;
    MessageBoxButtons buttons = MessageBoxButtons::kOk;
    MessageBoxIcon icon = MessageBoxIcon::kNone;
    MessageBoxAnswer answer = MessageBoxAnswer::kOk;
  };

  MessageBoxAnswer Show(std::string_view text, std::string_view caption, MessageBoxButtons buttons,
                        MessageBoxIcon icon) override;

  void QueueAnswer(MessageBoxAnswer answer) { answers_.push_back(answer); }
  void SetDefaultAnswer(MessageBoxAnswer answer) { defaultAnswer_ = answer; }
  // Runs while a box is shown (its message loop), after it was recorded.
  void SetOnShow(std::function<void(const Shown&)> hook) { onShow_ = std::move(hook); }

  const std::vector<Shown>& Boxes() const { return shown_; }
  // The texts of all boxes, in order.
  std::vector<std::string> Texts() const;
  size_t PendingAnswers() const { return answers_.size(); }

 private:
  std::vector<Shown> shown_;
  std::deque<MessageBoxAnswer> answers_;
  MessageBoxAnswer defaultAnswer_ = MessageBoxAnswer::kNo;
  std::function<void(const Shown&)> onShow_;
};

// Counts the calls; an optional hook runs on each one with its 1-based
// number (for example to click Abort after the 100th item).
class FakeMessagePump : public MessagePump {
 public:
  void ProcessPendingMessages() override;
  void SetHook(std::function<void(int call)> hook) { hook_ = std::move(hook); }
  int Calls() const { return calls_; }

 private:
  std::function<void(int)> hook_;
  int calls_ = 0;
};

// One fake control per MainView member, with the same names.
class FakeMainView {
 public:
  FakeMainView();
  FakeMainView(const FakeMainView&) = delete;
  FakeMainView& operator=(const FakeMainView&) = delete;

  MainView& view() { return view_; }

  FakeListView list1;
  FakeLabel label2;
  FakeLabel label6;
  FakeLabel label7;
  FakeLabel label17;
  FakeButton button1;
  FakeButton button2;
  FakeLabel sb1;
  FakeListView programsLV;
  FakeLabel label84;
  FakeListView badoList;
  FakeLabel label70;
  FakeMessageBox messageBox;
  FakeMessagePump pump;

 private:
  MainView view_;
};

}  // namespace veltrane
