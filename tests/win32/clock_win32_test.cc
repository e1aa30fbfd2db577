#include "platform/win32/clock_win32.h"

#include <gtest/gtest.h>

#include <string>

namespace veltrane {
namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(ClockWin32Test, NowIsAPlausibleLocalTime) {
  ClockWin32 clock;
  const LocalDateTime now = clock.Now();
  EXPECT_GE(now.year, 2020);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.day, 31);
  EXPECT_LE(now.hour, 23);
}

TEST(ClockWin32Test, ToLocalShiftsByTheZoneOnly) {
  ClockWin32 clock;
  // 2015-06-19 12:34:56 UTC: every zone keeps the date within a day and the
  // seconds; whole-hour zones keep the minutes too.
  const LocalDateTime local = clock.ToLocal(FileTime{130792628960000000ull});
  EXPECT_EQ(local.year, 2015);
  EXPECT_EQ(local.month, 6);
  EXPECT_GE(local.day, 18);
  EXPECT_LE(local.day, 20);
  EXPECT_EQ(local.second, 56);
}

TEST(ClockWin32Test, ToLocalOfAnImpossibleTimeIsZero) {
  ClockWin32 clock;
  EXPECT_EQ(clock.ToLocal(FileTime{0xFFFFFFFFFFFFFFFFull}), LocalDateTime{});
}

TEST(ClockWin32Test, FormatsCarryTheirParts) {
  ClockWin32 clock;
  const LocalDateTime time{2026, 12, 9, 23, 55, 48};
  const std::string date = clock.FormatShortDate(time);
  EXPECT_TRUE(Contains(date, "26") && Contains(date, "12") && Contains(date, "9")) << date;
  EXPECT_FALSE(Contains(date, "55")) << "no time in the date";
  const std::string longTime = clock.FormatLongTime(time);
  EXPECT_TRUE(Contains(longTime, "55") && Contains(longTime, "48")) << longTime;
  EXPECT_FALSE(Contains(longTime, "2026")) << "no date in the time";
}

TEST(ClockWin32Test, FormatsOfImpossibleValuesAreEmpty) {
  ClockWin32 clock;
  const LocalDateTime badDates[] = {
      {2026, 2, 30, 0, 0, 0}, {2026, 13, 1, 0, 0, 0}, {2026, 0, 1, 0, 0, 0},
      {1500, 1, 1, 0, 0, 0},  {2025, 2, 29, 0, 0, 0}, {}};
  for (const LocalDateTime& date : badDates) {
    EXPECT_EQ(clock.FormatShortDate(date), "") << date.year << "-" << date.month << "-" << date.day;
  }
  EXPECT_NE(clock.FormatShortDate({2024, 2, 29, 0, 0, 0}), "") << "a leap day is real";
  EXPECT_EQ(clock.FormatLongTime({2026, 1, 1, 24, 0, 0}), "");
  EXPECT_EQ(clock.FormatLongTime({2026, 1, 1, 12, 60, 0}), "");
  EXPECT_EQ(clock.FormatLongTime({2026, 1, 1, -1, 0, 0}), "");
  EXPECT_NE(clock.FormatLongTime({0, 0, 0, 12, 30, 15}), "") << "a time needs no date";
}

}  // namespace
}  // namespace veltrane
