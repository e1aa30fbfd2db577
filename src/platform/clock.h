// Clock and locale: the current local time and the user's date and time
// formats. Every log line's time and every stored date goes through here.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace veltrane {

struct LocalDateTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() = 0;
  // A UTC file time as local time.
  virtual LocalDateTime ToLocal(FileTime time) = 0;
  // The locale's short date format, for example "09/12/2026".
  virtual std::string FormatShortDate(const LocalDateTime& time) = 0;
  // The locale's long time format, for example "23:55:48".
  virtual std::string FormatLongTime(const LocalDateTime& time) = 0;
};

}  // namespace veltrane
