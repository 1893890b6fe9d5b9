#pragma once
// The bit masks of task triggers as ", "-separated lists, lowest bit first.
#include <cstdint>
#include <string>

namespace tabulon::format {

// Bit 0 Sunday .. bit 6 Saturday.
std::string WeekdayList(std::uint16_t mask);
// Bit 0 January .. bit 11 December.
std::string MonthList(std::uint16_t mask);
// Bit 0 day 1 .. bit 30 day 31; bit 31 is ignored.
std::string DayList(std::uint32_t mask);
// Bit 0 First .. bit 4 Fifth.
std::string WeekList(std::uint16_t mask);

}  // namespace tabulon::format
