// Local time and the user's date and time formats.
#pragma once

#include "platform/clock.h"

namespace veltrane {

class ClockWin32 final : public Clock {
 public:
  LocalDateTime Now() override;
  // Converted with the time-zone rules of the date itself, so a summer file
  // seen in winter keeps its summer hour. An impossible time gives all zero.
  LocalDateTime ToLocal(FileTime time) override;
  // "" when the date (or time) is not a real one.
  std::string FormatShortDate(const LocalDateTime& time) override;
  std::string FormatLongTime(const LocalDateTime& time) override;
};

}  // namespace veltrane
