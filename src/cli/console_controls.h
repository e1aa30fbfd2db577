// Labels and buttons of the console view: they only keep their text and
// state, for the logic to read back and for the command's report.
#pragma once

#include <string>
#include <string_view>

#include "platform/ui.h"

namespace veltrane {

class ConsoleLabel : public LabelPort {
 public:
  void SetText(std::string_view text) override { text_ = text; }
  std::string Text() override { return text_; }

 private:
  std::string text_;
};

class ConsoleButton : public ButtonPort {
 public:
  void SetCaption(std::string_view caption) override { caption_ = caption; }
  std::string Caption() override { return caption_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  bool IsEnabled() override { return enabled_; }

 private:
  std::string caption_;
  bool enabled_ = true;
};

}  // namespace veltrane
