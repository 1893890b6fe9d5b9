#include "format/schedule.h"

#include <gtest/gtest.h>

namespace tabulon::format {
namespace {

TEST(Schedule, BitMasksBecomeLists) {
  EXPECT_EQ(WeekdayList(0x41), "Sunday, Saturday");
  EXPECT_EQ(WeekdayList(0x7F), "Sunday, Monday, Tuesday, Wednesday, Thursday, Friday, Saturday");
  EXPECT_EQ(WeekdayList(0xFF80), "");
  EXPECT_EQ(WeekdayList(0), "");
  EXPECT_EQ(MonthList(0x801), "January, December");
  EXPECT_EQ(MonthList(0x0A0), "June, August");
  EXPECT_EQ(MonthList(0xF000), "");
  EXPECT_EQ(DayList(0x80000001), "1");
  EXPECT_EQ(DayList(0x40000000), "31");
  EXPECT_EQ(DayList(0x00000207), "1, 2, 3, 10");
  EXPECT_EQ(DayList(0), "");
  EXPECT_EQ(WeekList(0x11), "First, Fifth");
  EXPECT_EQ(WeekList(0x0E), "Second, Third, Fourth");
  EXPECT_EQ(WeekList(0xFFE0), "");
}

}  // namespace
}  // namespace tabulon::format
