#include "platform/fake/clock_fake.h"

#include <gtest/gtest.h>

#include "platform/fake/file_system_fake.h"

namespace veltrane {
namespace {

TEST(FakeClockTest, FileTimesConvertToLocalCalendarTime) {
  struct Case {
    LocalDateTime utc;
    int offsetMinutes;
    LocalDateTime local;
  };
  const Case cases[] = {
      {{1601, 1, 1, 0, 0, 0}, 0, {1601, 1, 1, 0, 0, 0}},
      {{2026, 1, 1, 0, 0, 0}, 0, {2026, 1, 1, 0, 0, 0}},
      {{2024, 2, 29, 23, 59, 59}, 60, {2024, 3, 1, 0, 59, 59}},
      {{2026, 1, 1, 0, 30, 0}, -60, {2025, 12, 31, 23, 30, 0}},
      {{2000, 2, 29, 12, 0, 0}, 0, {2000, 2, 29, 12, 0, 0}},
  };
  for (const auto& c : cases) {
    FakeClock clock;
    clock.SetUtcOffsetMinutes(c.offsetMinutes);
    EXPECT_EQ(clock.ToLocal(FakeClock::ToFileTime(c.utc)), c.local) << c.utc.year << "-" << c.utc.month;
  }
  EXPECT_EQ(FakeClock::ToFileTime({2026, 1, 1, 0, 0, 0}), FakeFileSystem::kDefaultTime);
}

TEST(FakeClockTest, FormatsAreFixedAndPadded) {
  FakeClock clock;
  const LocalDateTime time{2026, 3, 4, 7, 5, 9};
  EXPECT_EQ(clock.FormatShortDate(time), "04.03.2026");
  EXPECT_EQ(clock.FormatLongTime(time), "07:05:09");
  clock.SetShortDatePattern("d/M/yy");
  EXPECT_EQ(clock.FormatShortDate(time), "4/3/26");
  clock.SetShortDatePattern("yyyy-MM-dd");
  EXPECT_EQ(clock.FormatShortDate(time), "2026-03-04");
}

TEST(FakeClockTest, AdvanceRollsOverDaysAndYears) {
  FakeClock clock;
  clock.SetNow({2026, 12, 31, 23, 59, 58});
  clock.Advance(3);
  EXPECT_EQ(clock.Now(), (LocalDateTime{2027, 1, 1, 0, 0, 1}));
}

}  // namespace
}  // namespace veltrane
