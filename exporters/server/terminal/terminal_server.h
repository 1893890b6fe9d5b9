#pragma once
// What the terminal-server sessions and processes exports share for one
// target: the question when the terminal-services library is missing, the
// start row, the server handle (closed on every path) and the closing
// report with its log line.
#include <string>
#include <string_view>

#include <optional>

#include "engine/run_context.h"
#include "exporters/toolkit/export_progress.h"
#include "platform/terminal_services.h"

namespace tabulon {

class TerminalServerExport {
 public:
  TerminalServerExport(ExportContext& context, const tagCObjects& target, ExportType type);
  ~TerminalServerExport();
  TerminalServerExport(const TerminalServerExport&) = delete;
  TerminalServerExport& operator=(const TerminalServerExport&) = delete;

  // Asks whether to go on when the library is missing, adds the start row
  // and opens the server. False when there is no server to work with: after
  // a "Yes" to the question nothing more is reported, otherwise the failure
  // is already recorded for Finish.
  bool Open();
  platform::TerminalServices& services() { return services_; }
  platform::TerminalServerHandle server() const { return server_; }
  const platform::TerminalServicesLibraries& libraries() const { return libraries_; }

  // Records the failure "message" followed by the error text of `status`.
  void Fail(std::string message, win::Status status);
  // Reports a recorded failure and writes the log line; nothing after an
  // aborted question.
  void Finish();

 private:
  ExportContext& context_;
  const tagCObjects& target_;
  ExportType type_;
  platform::TerminalServices& services_;
  platform::TerminalServicesLibraries libraries_;
  platform::TerminalServerHandle server_ = 0;
  std::optional<ExportProgress> progress_;
  bool aborted_ = false;
  std::string failure_;
};

}  // namespace tabulon
