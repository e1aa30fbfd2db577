#include "cli/console_status_line.h"

#include <utility>

#include "app/constants.h"

namespace veltrane {

ConsoleStatusLine::ConsoleStatusLine(ConsoleOutput& out, std::function<int64_t()> now, int64_t intervalMs)
    : out_(out), now_(std::move(now)), intervalMs_(intervalMs) {}

void ConsoleStatusLine::SetText(std::string_view text) {
  text_ = text;
  if (text_.empty() || text_ == kApplicationTitle || (hasPrinted_ && text_ == printed_)) return;
  const int64_t now = now_();
  if (hasPrinted_ && now - printedAt_ < intervalMs_) return;
  out_.Err(text_ + "\n");
  printed_ = text_;
  printedAt_ = now;
  hasPrinted_ = true;
}

}  // namespace veltrane
