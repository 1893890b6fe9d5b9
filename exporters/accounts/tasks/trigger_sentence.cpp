#include "exporters/accounts/tasks/trigger_sentence.h"

#include "format/lists.h"
#include "format/schedule.h"
#include "format/time_texts.h"

namespace tabulon {
namespace {

std::string_view TypeText(std::uint32_t type) {
  static constexpr std::string_view kTexts[] = {
      "Event",      "One Time",    "Daily",   "Weekly",
      "Monthly",    "Monthly DOW", "On Idle", "At task registration",
      "At Startup", "At Log on",   "",        "State Change",
  };
  return type < std::size(kTexts) ? kTexts[type] : std::string_view();
}

// Follows the calls in order; the sentence is "Error" when the last one
// made failed.
class Calls {
 public:
  template <typename T>
  const T& operator()(const platform::Property<T>& property) {
    last_ = property.status;
    return property.value;
  }
  void Note(win::Status status) { last_ = status; }
  bool failed() const { return last_ != win::ERROR_SUCCESS; }

 private:
  win::Status last_ = win::ERROR_SUCCESS;
};

std::string SessionEnding(const std::string& user, std::string_view any) {
  return user.empty() ? std::string(any) : user;
}

std::string StateChangeSentence(std::uint32_t change, const std::string& user) {
  const std::string session =
      user.empty() ? std::string("any user session") : "user session of " + user;
  switch (change) {
    case platform::kTaskConsoleConnect:
      return "On local connection to " + session;
    case platform::kTaskRemoteConnect:
      return "On remote connection to " + session;
    case platform::kTaskConsoleDisconnect:
      return "On local disconnect from " + session;
    case platform::kTaskRemoteDisconnect:
      return "On remote disconnect from " + session;
    case platform::kTaskSessionLock:
      return "On workstation lock of " + SessionEnding(user, "any user");
    case platform::kTaskSessionUnlock:
      return "On workstation unlock of " + SessionEnding(user, "any user");
    default:
      return {};
  }
}

std::string Sentence(std::uint32_t type, const platform::TaskTrigger& t, const std::string& date,
                     const std::string& time, Calls& call) {
  switch (type) {
    case platform::kTaskTriggerEvent:
      return "On an Event";
    case platform::kTaskTriggerTime:
      return "At " + time + " on " + date;
    case platform::kTaskTriggerDaily: {
      const std::int16_t days = call(t.days_interval);
      return "At " + time + (days == 1 ? " every day" : " every " + std::to_string(days) + " days");
    }
    case platform::kTaskTriggerWeekly: {
      std::string s = "At " + time + " every " + format::WeekdayList(call(t.days_of_week));
      const std::int16_t weeks = call(t.weeks_interval);
      s += weeks == 1 ? " of every week" : " every " + std::to_string(weeks) + " weeks";
      return s + ", starting " + date;
    }
    case platform::kTaskTriggerMonthly: {
      std::string s = "At " + time + " on day " + format::DayList(call(t.days_of_month));
      if (call(t.run_on_last_day_of_month)) format::AppendListItem(s, "Last");
      return s + " of " + format::MonthList(call(t.months_of_year)) + ", starting " + date;
    }
    case platform::kTaskTriggerMonthlyDow: {
      std::string s = "Runs on the " + format::WeekList(call(t.weeks_of_month));
      if (call(t.run_on_last_week_of_month)) format::AppendListItem(s, "Last");
      s += " " + format::WeekdayList(call(t.days_of_week));
      return s + ", each " + format::MonthList(call(t.months_of_year)) + ", starting " + date;
    }
    case platform::kTaskTriggerIdle:
      return "When computer is idle";
    case platform::kTaskTriggerRegistration:
      return "When the task is created or modified";
    case platform::kTaskTriggerBoot:
      return "At system startup";
    case platform::kTaskTriggerLogon:
      return "At log on of " + SessionEnding(call(t.user_id), "any user");
    case platform::kTaskTriggerSessionStateChange: {
      const std::uint32_t change = call(t.state_change);
      return StateChangeSentence(change, call(t.user_id));
    }
    default:
      return {};
  }
}

bool HasTypedForm(std::uint32_t type) {
  return type == platform::kTaskTriggerDaily || type == platform::kTaskTriggerWeekly ||
         type == platform::kTaskTriggerMonthly || type == platform::kTaskTriggerMonthlyDow ||
         type == platform::kTaskTriggerLogon || type == platform::kTaskTriggerSessionStateChange;
}

}  // namespace

TriggerSentence DescribeTrigger(const platform::TaskTrigger& trigger, platform::Clock& clock) {
  TriggerSentence out;
  Calls call;
  call.Note(trigger.item_status);
  if (!call.failed()) out.type = call(trigger.type);
  if (call.failed()) {
    out.sentence = "Error";
    return out;
  }
  out.type_text = TypeText(out.type);
  out.enabled = call(trigger.enabled);
  std::string date;
  std::string time;
  bool was_utc = false;
  const std::string& boundary = call(trigger.start_boundary);
  if (!call.failed()) format::ParseTaskTime(boundary, date, time, was_utc, clock);
  if (HasTypedForm(out.type)) {
    call.Note(trigger.typed_status);
    if (call.failed()) {
      out.sentence = "Error";
      return out;
    }
  }
  out.sentence = Sentence(out.type, trigger, date, time, call);
  if (call.failed()) out.sentence = "Error";
  return out;
}

}  // namespace tabulon
