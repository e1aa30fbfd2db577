// FakeClock: a settable clock with fixed, deterministic formats.
#pragma once

#include <string>

#include "platform/clock.h"

namespace veltrane {

class FakeClock : public Clock {
 public:
  LocalDateTime Now() override { return now_; }
  // UTC file time plus the local offset (SetUtcOffsetMinutes).
  LocalDateTime ToLocal(FileTime time) override;
  // The short date pattern: "dd" / "d" day, "MM" / "M" month, "yyyy" year;
  // other characters are copied. Default "dd.MM.yyyy" ("09.12.2026").
  std::string FormatShortDate(const LocalDateTime& time) override;
  // Always "HH:mm:ss" ("23:55:48").
  std::string FormatLongTime(const LocalDateTime& time) override;

  void SetNow(const LocalDateTime& now) { now_ = now; }
  // Moves the current time on by whole seconds (day, month and year roll).
  void Advance(int seconds);
  void SetUtcOffsetMinutes(int minutes) { utcOffsetMinutes_ = minutes; }
  void SetShortDatePattern(std::string pattern) { shortDatePattern_ = std::move(pattern); }

  // The file time of a UTC date and time, for setting up files.
  static FileTime ToFileTime(const LocalDateTime& utc);

 private:
  LocalDateTime now_{2026, 12, 9, 23, 55, 48};
  int utcOffsetMinutes_ = 0;
  std::string shortDatePattern_ = "dd.MM.yyyy";
};

}  // namespace veltrane
