#include "format/schedule.h"

#include <array>
#include <string_view>

#include "format/lists.h"

namespace tabulon::format {
namespace {

template <std::size_t N>
std::string NamesOfBits(std::uint32_t mask, const std::array<std::string_view, N>& names) {
  std::string list;
  for (std::size_t bit = 0; bit < N; ++bit) {
    if ((mask & (std::uint32_t{1} << bit)) != 0) AppendListItem(list, names[bit]);
  }
  return list;
}

constexpr std::array<std::string_view, 7> kWeekdays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 12> kMonths = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<std::string_view, 5> kWeeks = {"First", "Second", "Third", "Fourth", "Fifth"};

}  // namespace

std::string WeekdayList(std::uint16_t mask) {
  return NamesOfBits(mask, kWeekdays);
}

std::string MonthList(std::uint16_t mask) {
  return NamesOfBits(mask, kMonths);
}

std::string DayList(std::uint32_t mask) {
  std::string list;
  for (int bit = 0; bit < 31; ++bit) {
    if ((mask & (std::uint32_t{1} << bit)) != 0) AppendListItem(list, std::to_string(bit + 1));
  }
  return list;
}

std::string WeekList(std::uint16_t mask) {
  return NamesOfBits(mask, kWeeks);
}

}  // namespace tabulon::format
