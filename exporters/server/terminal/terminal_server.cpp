#include "exporters/server/terminal/terminal_server.h"

#include "engine/error_text.h"
#include "engine/messages.h"

namespace tabulon {
namespace {

constexpr std::string_view kStartText = "Exporting Terminal Server Sessions...";

}  // namespace

TerminalServerExport::TerminalServerExport(ExportContext& context, const tagCObjects& target,
                                           ExportType type)
    : context_(context),
      target_(target),
      type_(type),
      services_(context.session.terminal()),
      libraries_(services_.Libraries()) {}

TerminalServerExport::~TerminalServerExport() {
  if (server_ != 0) services_.CloseServer(server_);
}

bool TerminalServerExport::Open() {
  RunOutput& out = context_.output;
  // Without the library there is nothing to ask the server; the user may
  // end this export here, as for the terminal-server user columns.
  if (!libraries_.terminal_services && out.AskYesNo(MessageText(kMsgTseLibrariesMissing), false)) {
    aborted_ = true;
    return false;
  }
  progress_.emplace(
      out, target_, kStartText,
      type_ == kTseSessions ? ProgressKind::kTerminalSessions : ProgressKind::kTerminalProcesses);
  const std::string connect_failure =
      FillMessage("Unable to connect to Terminal Server '%s'. ", {target_.display_name});
  if (!libraries_.terminal_services) {
    // What resolving the missing open function would have reported.
    Fail(connect_failure, win::ERROR_PROC_NOT_FOUND);
    return false;
  }
  const platform::TerminalServerResult opened = services_.OpenServer(target_.path);
  if (opened.handle == 0) {
    Fail(connect_failure, opened.status);
    return false;
  }
  server_ = opened.handle;
  return true;
}

void TerminalServerExport::Fail(std::string message, win::Status status) {
  failure_ = std::move(message) + WindowsErrorText(status);
}

void TerminalServerExport::Finish() {
  if (aborted_) return;
  RunOutput& out = context_.output;
  if (!failure_.empty()) progress_->ReportFailure(failure_);
  out.LogLine(&target_, ExportTypeInfo(type_).log_name, !failure_.empty(), failure_);
}

}  // namespace tabulon
