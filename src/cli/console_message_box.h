// Message boxes on the console: each prints its caption, text and the answer
// taken to standard error. Yes/No questions get the command's answer (the
// removal offer: No for "scan", Yes for "clean"); a one-shot answer can be
// set for the next question (the confirmed Abort of Ctrl+C).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/console_output.h"
#include "platform/ui.h"

namespace veltrane {

class ConsoleMessageBox : public MessageBoxPort {
 public:
  struct Shown {
    std::string text;
    std::string caption;
    MessageBoxIcon icon = MessageBoxIcon::kNone;
    MessageBoxAnswer answer = MessageBoxAnswer::kOk;
  };

  explicit ConsoleMessageBox(ConsoleOutput& out) : out_(out) {}

  void SetQuestionAnswer(MessageBoxAnswer answer) { questionAnswer_ = answer; }
  void AnswerNextQuestion(MessageBoxAnswer answer) { nextAnswer_ = answer; }

  MessageBoxAnswer Show(std::string_view text, std::string_view caption, MessageBoxButtons buttons,
                        MessageBoxIcon icon) override;

  // Every box shown so far, in order.
  const std::vector<Shown>& History() const { return history_; }
  bool WasShown(std::string_view text) const;

 private:
  ConsoleOutput& out_;
  MessageBoxAnswer questionAnswer_ = MessageBoxAnswer::kNo;
  std::optional<MessageBoxAnswer> nextAnswer_;
  std::vector<Shown> history_;
};

}  // namespace veltrane
