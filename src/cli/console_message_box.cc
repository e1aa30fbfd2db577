#include "cli/console_message_box.h"

namespace veltrane {
namespace {

const char* AnswerText(MessageBoxAnswer answer) {
  switch (answer) {
    case MessageBoxAnswer::kOk: return "OK";
    case MessageBoxAnswer::kYes: return "Yes";
    case MessageBoxAnswer::kNo: return "No";
  }
  return "";
}

}  // namespace

MessageBoxAnswer ConsoleMessageBox::Show(std::string_view text, std::string_view caption,
                                         MessageBoxButtons buttons, MessageBoxIcon icon) {
  MessageBoxAnswer answer = MessageBoxAnswer::kOk;
  if (buttons == MessageBoxButtons::kYesNo) {
    answer = nextAnswer_.value_or(questionAnswer_);
    nextAnswer_.reset();
  }
  out_.Err(std::string(caption) + ": " + std::string(text) + " [" + AnswerText(answer) + "]\n");
  history_.push_back(Shown{std::string(text), std::string(caption), icon, answer});
  return answer;
}

bool ConsoleMessageBox::WasShown(std::string_view text) const {
  for (const Shown& shown : history_) {
    if (shown.text == text) return true;
  }
  return false;
}

}  // namespace veltrane
