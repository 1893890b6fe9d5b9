#include "engine/run_log.h"

namespace tabulon {
namespace {

std::string_view WithoutLeadingBackslashes(std::string_view s) {
  while (!s.empty() && s.front() == '\\') s.remove_prefix(1);
  return s;
}

}  // namespace

bool RunLog::Wants(bool error) const {
  if (!settings_.enable_logging || !file_.is_open()) return false;
  return error ? settings_.log_failure : settings_.log_success;
}

std::string RunLog::Line(const RowValueRules& rules, const tagCObjects* target,
                         std::string_view operation, bool error, std::string_view message) const {
  const platform::SystemTime now = platform_.clock->LocalNow();
  std::string line = platform_.locale->FormatDate(now, "").value_or("");
  line += ' ';
  line += platform_.locale->FormatTime(now, "").value_or("");
  const std::string& d = settings_.delimiter;
  if (target != nullptr) {
    line += d;
    rules.AppendLogField(line, WithoutLeadingBackslashes(target->display_name));
    line += d;
    rules.AppendLogField(line, WithoutLeadingBackslashes(target->path));
    line += d;
    rules.AppendLogField(line, target->domain);
  }
  line += d;
  rules.AppendLogField(line, operation);
  line += d;
  line += error ? "ERROR" : "SUCCESS";
  line += d;
  rules.AppendLogField(line, message);
  line += settings_.line_terminator;
  return line;
}

void RunLog::Write(std::string_view line) {
  file_.Write(line);
  CheckWrites();
}

void RunLog::Close() {
  file_.Flush();
  CheckWrites();
  file_.Close();
  CheckWrites();
}

void RunLog::CheckWrites() {
  if (!record_.NoteFailure(file_, kLogLabel)) return;
  // Shown even with /NOMSG: the log is the file that failed.
  messages_.ShowError(WriteFailureText(kLogLabel, file_));
}

}  // namespace tabulon
