#include "estate/task_xml.h"

#include <array>
#include <charconv>

#include "estate/xml_reader.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

// Bit 0 Sunday .. bit 6 Saturday, as DaysOfWeek counts them.
constexpr std::array<std::string_view, 7> kDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                    "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 12> kMonthNames{
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

struct SimpleTrigger {
  std::string_view element;
  std::uint32_t type;
};
constexpr std::array kSimpleTriggers{
    SimpleTrigger{"EventTrigger", platform::kTaskTriggerEvent},
    SimpleTrigger{"TimeTrigger", platform::kTaskTriggerTime},
    SimpleTrigger{"IdleTrigger", platform::kTaskTriggerIdle},
    SimpleTrigger{"RegistrationTrigger", platform::kTaskTriggerRegistration},
    SimpleTrigger{"BootTrigger", platform::kTaskTriggerBoot},
    SimpleTrigger{"LogonTrigger", platform::kTaskTriggerLogon},
    SimpleTrigger{"SessionStateChangeTrigger", platform::kTaskTriggerSessionStateChange},
};

struct NamedState {
  std::string_view name;
  std::uint32_t value;
};
constexpr std::array kStateChanges{
    NamedState{"ConsoleConnect", platform::kTaskConsoleConnect},
    NamedState{"ConsoleDisconnect", platform::kTaskConsoleDisconnect},
    NamedState{"RemoteConnect", platform::kTaskRemoteConnect},
    NamedState{"RemoteDisconnect", platform::kTaskRemoteDisconnect},
    NamedState{"SessionLock", platform::kTaskSessionLock},
    NamedState{"SessionUnlock", platform::kTaskSessionUnlock},
};

class TaskReader {
 public:
  explicit TaskReader(std::string_view origin) : origin_(origin) {}

  bool Fail(const XmlElement& at, std::string_view message) {
    if (error_.empty()) {
      error_ = std::string(origin_) + ":" + std::to_string(at.line) + ": " + std::string(message);
    }
    return false;
  }
  const std::string& error() const { return error_; }

  static std::string Text(const XmlElement* element) {
    return element == nullptr ? std::string() : std::string(text::Trim(element->text));
  }

  bool Number(const XmlElement& element, std::uint32_t max, std::uint32_t& out) {
    const std::string value = Text(&element);
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), out);
    if (value.empty() || ec != std::errc() || end != value.data() + value.size() || out > max) {
      return Fail(element,
                  "<" + element.name + "> needs a number from 0 to " + std::to_string(max));
    }
    return true;
  }

  bool Flag(const XmlElement& element, bool& out) {
    const std::string value = Text(&element);
    if (value == "true" || value == "1") {
      out = true;
    } else if (value == "false" || value == "0") {
      out = false;
    } else {
      return Fail(element, "<" + element.name + "> needs true or false");
    }
    return true;
  }

  // Bits of the named children (<Monday/>, <January/>), bit 0 the first name.
  template <std::size_t N>
  bool NameBits(const XmlElement& list, const std::array<std::string_view, N>& names,
                std::uint16_t& out) {
    for (const XmlElement& item : list.children) {
      std::size_t bit = 0;
      while (bit < N && names[bit] != item.name) ++bit;
      if (bit == N) return Fail(item, "unknown <" + item.name + "> in <" + list.name + ">");
      out = static_cast<std::uint16_t>(out | (1u << bit));
    }
    return true;
  }

  bool Calendar(const XmlElement& element, platform::TaskTrigger& t) {
    if (const XmlElement* by_day = element.Child("ScheduleByDay")) {
      t.type.value = platform::kTaskTriggerDaily;
      t.days_interval.value = 1;
      if (const XmlElement* interval = by_day->Child("DaysInterval")) {
        std::uint32_t days = 0;
        if (!Number(*interval, 365, days)) return false;
        t.days_interval.value = static_cast<std::int16_t>(days);
      }
      return true;
    }
    if (const XmlElement* by_week = element.Child("ScheduleByWeek")) {
      t.type.value = platform::kTaskTriggerWeekly;
      t.weeks_interval.value = 1;
      if (const XmlElement* interval = by_week->Child("WeeksInterval")) {
        std::uint32_t weeks = 0;
        if (!Number(*interval, 52, weeks)) return false;
        t.weeks_interval.value = static_cast<std::int16_t>(weeks);
      }
      const XmlElement* days = by_week->Child("DaysOfWeek");
      return days == nullptr || NameBits(*days, kDayNames, t.days_of_week.value);
    }
    if (const XmlElement* by_month = element.Child("ScheduleByMonth")) {
      t.type.value = platform::kTaskTriggerMonthly;
      if (const XmlElement* days = by_month->Child("DaysOfMonth")) {
        for (const XmlElement& day : days->children) {
          if (Text(&day) == "Last") {
            t.run_on_last_day_of_month.value = true;
            continue;
          }
          std::uint32_t number = 0;
          if (!Number(day, 31, number)) return false;
          if (number == 0) return Fail(day, "<Day> needs a day from 1 to 31 or Last");
          t.days_of_month.value |= 1u << (number - 1);
        }
      }
      const XmlElement* months = by_month->Child("Months");
      return months == nullptr || NameBits(*months, kMonthNames, t.months_of_year.value);
    }
    if (const XmlElement* by_dow = element.Child("ScheduleByMonthDayOfWeek")) {
      t.type.value = platform::kTaskTriggerMonthlyDow;
      if (const XmlElement* weeks = by_dow->Child("Weeks")) {
        for (const XmlElement& week : weeks->children) {
          if (Text(&week) == "Last") {
            t.run_on_last_week_of_month.value = true;
            continue;
          }
          std::uint32_t number = 0;
          if (!Number(week, 4, number)) return false;
          if (number == 0) return Fail(week, "<Week> needs a week from 1 to 4 or Last");
          t.weeks_of_month.value =
              static_cast<std::uint16_t>(t.weeks_of_month.value | (1u << (number - 1)));
        }
      }
      const XmlElement* days = by_dow->Child("DaysOfWeek");
      const XmlElement* months = by_dow->Child("Months");
      return (days == nullptr || NameBits(*days, kDayNames, t.days_of_week.value)) &&
             (months == nullptr || NameBits(*months, kMonthNames, t.months_of_year.value));
    }
    // A calendar trigger with no schedule runs once.
    t.type.value = platform::kTaskTriggerTime;
    return true;
  }

  bool Trigger(const XmlElement& element, platform::TaskTrigger& t) {
    t.enabled.value = true;
    t.start_boundary.value = Text(element.Child("StartBoundary"));
    if (const XmlElement* enabled = element.Child("Enabled")) {
      if (!Flag(*enabled, t.enabled.value)) return false;
    }
    t.user_id.value = Text(element.Child("UserId"));
    if (element.name == "CalendarTrigger") return Calendar(element, t);
    t.type.value = platform::kTaskTriggerCustom;  // a kind the exports do not describe
    for (const SimpleTrigger& simple : kSimpleTriggers) {
      if (element.name == simple.element) t.type.value = simple.type;
    }
    if (t.type.value == platform::kTaskTriggerSessionStateChange) {
      const XmlElement* change = element.Child("StateChange");
      const std::string name = Text(change);
      for (const NamedState& state : kStateChanges) {
        if (name == state.name) t.state_change.value = state.value;
      }
      if (t.state_change.value == 0) {
        return Fail(change != nullptr ? *change : element, "unknown <StateChange>");
      }
    }
    return true;
  }

  bool Task(const XmlElement& root, TaskXml& out) {
    if (root.name != "Task") return Fail(root, "the root element must be <Task>");
    platform::TaskRegistrationInfo& info = out.definition.registration_info.value;
    if (const XmlElement* registration = root.Child("RegistrationInfo")) {
      info.author.value = Text(registration->Child("Author"));
      info.date.value = Text(registration->Child("Date"));
      info.description.value = Text(registration->Child("Description"));
      info.source.value = Text(registration->Child("Source"));
      info.version.value = Text(registration->Child("Version"));
    }
    if (const XmlElement* principals = root.Child("Principals")) {
      if (const XmlElement* principal = principals->Child("Principal")) {
        out.definition.principal.value.user_id.value = Text(principal->Child("UserId"));
        out.definition.principal.value.group_id.value = Text(principal->Child("GroupId"));
      }
    }
    if (const XmlElement* triggers = root.Child("Triggers")) {
      for (const XmlElement& element : triggers->children) {
        platform::TaskTrigger trigger;
        if (!Trigger(element, trigger)) return false;
        out.definition.triggers.value.push_back(std::move(trigger));
      }
    }
    if (const XmlElement* settings = root.Child("Settings")) {
      if (const XmlElement* enabled = settings->Child("Enabled")) {
        if (!Flag(*enabled, out.enabled)) return false;
      }
      if (const XmlElement* hidden = settings->Child("Hidden")) {
        if (!Flag(*hidden, out.hidden)) return false;
      }
    }
    return true;
  }

 private:
  std::string_view origin_;
  std::string error_;
};

}  // namespace

bool ReadTaskXml(std::string_view bytes, std::string_view origin, TaskXml& out,
                 std::string& error) {
  const XmlDocument document = ParseXml(bytes, origin);
  if (!document.ok) {
    error = document.error;
    return false;
  }
  TaskReader reader(origin);
  if (!reader.Task(document.root, out)) {
    error = reader.error();
    return false;
  }
  return true;
}

}  // namespace tabulon::estate
