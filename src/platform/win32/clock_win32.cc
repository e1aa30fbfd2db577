#include "platform/win32/clock_win32.h"

#include "platform/win32/windows_win32.h"

#include "platform/win32/wide_text_win32.h"

namespace veltrane {
namespace {

LocalDateTime FromSystemTime(const SYSTEMTIME& time) {
  return LocalDateTime{time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// SYSTEMTIME covers 1601..30827; the format calls reject what lies outside,
// but not every implementation checks the day of the month.
bool IsValidDate(const LocalDateTime& time) {
  return time.year >= 1601 && time.year <= 30827 && time.month >= 1 && time.month <= 12 &&
         time.day >= 1 && time.day <= DaysInMonth(time.year, time.month);
}

bool IsValidTime(const LocalDateTime& time) {
  return time.hour >= 0 && time.hour <= 23 && time.minute >= 0 && time.minute <= 59 &&
         time.second >= 0 && time.second <= 59;
}

SYSTEMTIME ToSystemTime(const LocalDateTime& time) {
  SYSTEMTIME result{};
  result.wYear = static_cast<WORD>(time.year);
  result.wMonth = static_cast<WORD>(time.month);
  result.wDay = static_cast<WORD>(time.day);
  result.wHour = static_cast<WORD>(time.hour);
  result.wMinute = static_cast<WORD>(time.minute);
  result.wSecond = static_cast<WORD>(time.second);
  return result;
}

template <typename Format>
std::string FormatWith(Format format) {
  const int length = format(nullptr, 0);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<size_t>(length), L'\0');
  const int written = format(buffer.data(), length);
  if (written <= 0) return {};
  buffer.resize(static_cast<size_t>(written) - 1);  // without the NUL
  return FromWide(buffer);
}

}  // namespace

LocalDateTime ClockWin32::Now() {
  SYSTEMTIME time;
  GetLocalTime(&time);
  return FromSystemTime(time);
}

LocalDateTime ClockWin32::ToLocal(FileTime time) {
  FILETIME utc;
  utc.dwLowDateTime = static_cast<DWORD>(time.ticks);
  utc.dwHighDateTime = static_cast<DWORD>(time.ticks >> 32);
  SYSTEMTIME utcTime;
  if (!FileTimeToSystemTime(&utc, &utcTime)) return {};
  SYSTEMTIME local;
  if (SystemTimeToTzSpecificLocalTime(nullptr, &utcTime, &local)) return FromSystemTime(local);
  FILETIME localFile;
  if (FileTimeToLocalFileTime(&utc, &localFile) && FileTimeToSystemTime(&localFile, &local)) {
    return FromSystemTime(local);
  }
  return {};
}

std::string ClockWin32::FormatShortDate(const LocalDateTime& time) {
  if (!IsValidDate(time)) return {};
  const SYSTEMTIME date = ToSystemTime(time);
  return FormatWith([&date](wchar_t* buffer, int size) {
    return GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, buffer, size,
                           nullptr);
  });
}

std::string ClockWin32::FormatLongTime(const LocalDateTime& time) {
  if (!IsValidTime(time)) return {};
  // The date part is not shown but must still be a valid SYSTEMTIME.
  LocalDateTime withDate = time;
  if (!IsValidDate(withDate)) {
    withDate.year = 2000;
    withDate.month = 1;
    withDate.day = 1;
  }
  const SYSTEMTIME clock = ToSystemTime(withDate);
  return FormatWith([&clock](wchar_t* buffer, int size) {
    return GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &clock, nullptr, buffer, size);
  });
}

}  // namespace veltrane
