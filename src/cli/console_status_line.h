// The status line on the console: its changes go to standard error, one line
// each, at most one per interval so that a walk over thousands of folders
// doesn't flood the terminal. The resting text (the application title) is
// not progress and is kept quiet.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "cli/console_output.h"
#include "platform/ui.h"

namespace veltrane {

class ConsoleStatusLine : public LabelPort {
 public:
  // now: a monotonic clock in milliseconds.
  ConsoleStatusLine(ConsoleOutput& out, std::function<int64_t()> now, int64_t intervalMs = 500);

  void SetText(std::string_view text) override;
  std::string Text() override { return text_; }

 private:
  ConsoleOutput& out_;
  std::function<int64_t()> now_;
  int64_t intervalMs_;
  std::string text_;
  std::string printed_;
  bool hasPrinted_ = false;
  int64_t printedAt_ = 0;
};

}  // namespace veltrane
