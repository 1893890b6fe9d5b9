#include "platform/posix/locale.h"

#include <langinfo.h>
#include <locale.h>

#include "platform/date_picture.h"
#include "platform/number_format.h"
#include "platform/posix/c_time_format.h"
#include "platform/text.h"

namespace tabulon::platform {
namespace {

constexpr std::size_t kMaxSeparatorChars = 3;
constexpr std::size_t kDateBufferChars = 256;

enum class Field { kNone, kMonth, kDay, kYear, kMonthDayYear, kYearMonthDay };

Field FieldOf(char conversion) {
  switch (conversion) {
    case 'm':
    case 'b':
    case 'B':
    case 'h':
      return Field::kMonth;
    case 'd':
    case 'e':
      return Field::kDay;
    case 'y':
    case 'Y':
    case 'C':
    case 'G':
    case 'g':
      return Field::kYear;
    case 'D':
      return Field::kMonthDayYear;
    case 'F':
      return Field::kYearMonthDay;
    default:
      return Field::kNone;
  }
}

std::string Langinfo(nl_item item, locale_t loc) {
  const char* value = ::nl_langinfo_l(item, loc);
  return value == nullptr ? std::string() : text::EightBitToUtf8(value);
}

class PosixLocale final : public Locale {
 public:
  explicit PosixLocale(locale_t loc) : loc_(loc) {
    for (int i = 0; i < 12; ++i) {
      const auto k = static_cast<std::size_t>(i);
      names_.months[k] = Langinfo(MON_1 + i, loc_);
      names_.abbreviated_months[k] = Langinfo(ABMON_1 + i, loc_);
    }
    for (int i = 0; i < 7; ++i) {
      const auto k = static_cast<std::size_t>(i);
      names_.weekdays[k] = Langinfo(DAY_1 + i, loc_);
      names_.abbreviated_weekdays[k] = Langinfo(ABDAY_1 + i, loc_);
    }
    names_.am = Langinfo(AM_STR, loc_);
    names_.pm = Langinfo(PM_STR, loc_);
    // Pictures stay in the locale's own encoding; strftime_l expects that.
    const char* d_fmt = ::nl_langinfo_l(D_FMT, loc_);
    const char* t_fmt = ::nl_langinfo_l(T_FMT, loc_);
    date_picture_ = d_fmt == nullptr ? "" : d_fmt;
    time_picture_ = t_fmt == nullptr ? "" : t_fmt;
    order_ = DateOrderFromPicture(text::EightBitToUtf8(date_picture_));
    numbers_.decimal_point = Langinfo(RADIXCHAR, loc_);
    if (numbers_.decimal_point.empty()) numbers_.decimal_point = ".";
    numbers_.thousands_separator = Langinfo(THOUSEP, loc_);
    const char* grouping = ::nl_langinfo_l(GROUPING, loc_);
    numbers_.grouping = grouping == nullptr ? "" : grouping;
  }
  ~PosixLocale() override { ::freelocale(loc_); }
  PosixLocale(const PosixLocale&) = delete;
  PosixLocale& operator=(const PosixLocale&) = delete;

  std::string DateOrderCode() override { return order_.order_code; }
  std::string DateSeparator() override { return order_.separator; }

  std::optional<std::string> FormatDate(const SystemTime& t, std::string_view picture) override {
    if (!picture.empty()) return FormatDatePicture(t, picture, names_);
    if (!IsValidDate(t)) return std::nullopt;
    return Strftime(date_picture_, t);
  }

  std::optional<std::string> FormatTime(const SystemTime& t, std::string_view picture) override {
    if (!picture.empty()) return FormatTimePicture(t, picture, names_);
    if (!IsValidTimeOfDay(t)) return std::nullopt;
    return Strftime(time_picture_, t);
  }

  std::optional<std::string> FormatNumber(std::string_view digits) override {
    return FormatNumberText(digits, numbers_);
  }

  std::string WeekdayName(int day_of_week) override {
    if (day_of_week < 0 || day_of_week > 6) return {};
    return names_.weekdays[static_cast<std::size_t>(day_of_week)];
  }

 private:
  std::optional<std::string> Strftime(const std::string& picture, SystemTime t) const {
    // Only the time of day matters for a time picture; keep the date sane so
    // that %a and the like never see an impossible day.
    if (!IsValidDate(t)) {
      t.year = 1601;
      t.month = 1;
      t.day = 1;
    }
    t.day_of_week = DayOfWeek(t.year, t.month, t.day);
    const std::string out = FormatTmIn(loc_, picture, TmFromSystemTime(t), kDateBufferChars);
    if (out.empty()) return std::nullopt;
    return text::EightBitToUtf8(out);
  }

  locale_t loc_;
  CalendarNames names_;
  std::string date_picture_;
  std::string time_picture_;
  DateOrderFacts order_;
  NumberFacts numbers_;
};

// Replaces the categories in `mask` of `base` with the locale `name`; keeps
// `base` when that locale is not installed.
locale_t WithCategory(int mask, const std::string& name, locale_t base) {
  const locale_t next = ::newlocale(mask, name.c_str(), base);
  return next == nullptr ? base : next;
}

}  // namespace

DateOrderFacts DateOrderFromPicture(std::string_view picture) {
  DateOrderFacts facts{"0", "/"};
  Field first = Field::kNone;
  std::string between;
  for (std::size_t i = 0; i < picture.size(); ++i) {
    if (picture[i] != '%' || i + 1 >= picture.size()) {
      if (first != Field::kNone) between += picture[i];
      continue;
    }
    ++i;
    // Flags, field width and the E/O modifiers of glibc come before the
    // conversion character.
    while (i < picture.size() &&
           std::string_view("_-0^#EO123456789").find(picture[i]) != std::string_view::npos) {
      ++i;
    }
    if (i >= picture.size()) break;
    const char conversion = picture[i];
    const Field field = FieldOf(conversion);
    if (field == Field::kNone) {
      if (first != Field::kNone) between += conversion == '%' ? "%" : "";
      continue;
    }
    if (first == Field::kNone) {
      first = field;
      if (field == Field::kMonthDayYear || field == Field::kYearMonthDay) {
        between = field == Field::kMonthDayYear ? "/" : "-";
        break;
      }
      between.clear();
      continue;
    }
    break;
  }
  switch (first) {
    case Field::kNone:
      return facts;
    case Field::kMonth:
    case Field::kMonthDayYear:
      facts.order_code = "0";
      break;
    case Field::kDay:
      facts.order_code = "1";
      break;
    case Field::kYear:
    case Field::kYearMonthDay:
      facts.order_code = "2";
      break;
  }
  facts.separator = text::TruncateCodePoints(between, kMaxSeparatorChars);
  return facts;
}

std::unique_ptr<Locale> MakePosixLocale(std::string_view name) {
  const std::string wanted(name);
  locale_t loc = ::newlocale(LC_ALL_MASK, "C", nullptr);
  if (loc == nullptr) return nullptr;
  loc = WithCategory(LC_TIME_MASK, wanted, loc);
  loc = WithCategory(LC_NUMERIC_MASK, wanted, loc);
  return std::make_unique<PosixLocale>(loc);
}

std::unique_ptr<Locale> MakeProcessLocale() {
  return MakePosixLocale("");
}

}  // namespace tabulon::platform
