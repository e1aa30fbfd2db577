// Where the console front-end writes: UTF-8 text to standard output (the
// command's result) and standard error (progress, message boxes, notes).
#pragma once

#include <string_view>

namespace veltrane {

class ConsoleOutput {
 public:
  virtual ~ConsoleOutput() = default;
  virtual void Out(std::string_view text) = 0;
  virtual void Err(std::string_view text) = 0;
};

}  // namespace veltrane
