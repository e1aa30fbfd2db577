#include "platform/fake/clock_fake.h"

#include <cstdint>
#include <cstdio>

namespace veltrane {
namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kSecondsPerDay = 86'400;
// Days from 1601-01-01 to 1970-01-01.
constexpr int64_t kDaysTo1970 = 134'774;

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

LocalDateTime CivilFromSeconds(int64_t secondsSince1970) {
  int64_t days = secondsSince1970 / kSecondsPerDay;
  int64_t rest = secondsSince1970 % kSecondsPerDay;
  if (rest < 0) rest += kSecondsPerDay, --days;
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
  return LocalDateTime{static_cast<int>(y), static_cast<int>(m), static_cast<int>(d),
                       static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60)};
}

int64_t SecondsSince1970(const LocalDateTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * kSecondsPerDay + t.hour * 3600 + t.minute * 60 + t.second;
}

std::string Padded(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}

}  // namespace

LocalDateTime FakeClock::ToLocal(FileTime time) {
  const int64_t seconds = static_cast<int64_t>(time.ticks / kTicksPerSecond) - kDaysTo1970 * kSecondsPerDay;
  return CivilFromSeconds(seconds + int64_t{utcOffsetMinutes_} * 60);
}

FileTime FakeClock::ToFileTime(const LocalDateTime& utc) {
  const int64_t seconds = SecondsSince1970(utc) + kDaysTo1970 * kSecondsPerDay;
  return FileTime{static_cast<uint64_t>(seconds) * kTicksPerSecond};
}

void FakeClock::Advance(int seconds) { now_ = CivilFromSeconds(SecondsSince1970(now_) + seconds); }

std::string FakeClock::FormatShortDate(const LocalDateTime& time) {
  std::string result;
  const std::string& p = shortDatePattern_;
  for (size_t i = 0; i < p.size();) {
    auto run = [&p, i](char c) {
      size_t n = 0;
      while (i + n < p.size() && p[i + n] == c) ++n;
      return n;
    };
    if (const size_t years = run('y'); years > 0) {
      result += years >= 4 ? Padded(time.year, 4) : Padded(time.year % 100, 2);
      i += years;
    } else if (const size_t months = run('M'); months > 0) {
      result += Padded(time.month, months >= 2 ? 2 : 1);
      i += months;
    } else if (const size_t days = run('d'); days > 0) {
      result += Padded(time.day, days >= 2 ? 2 : 1);
      i += days;
    } else {
      result += p[i++];
    }
  }
  return result;
}

std::string FakeClock::FormatLongTime(const LocalDateTime& time) {
  return Padded(time.hour, 2) + ":" + Padded(time.minute, 2) + ":" + Padded(time.second, 2);
}

}  // namespace veltrane
