#pragma once
// The print spoolers of estate computers, for one session. Printer handles
// live in the session's table, so that what a session left open can be
// counted when it closes.
#include <cstddef>
#include <string>
#include <vector>

#include "estate/handle_table.h"
#include "estate/simulation.h"
#include "platform/printing.h"

namespace tabulon::estate {

class EstatePrinting final : public platform::Printing {
 public:
  EstatePrinting(Simulation& simulation, const platform::SessionOptions& session)
      : sim_(simulation), session_(session) {}

  platform::EnumPrintersResult EnumPrinters(std::uint32_t flags, std::string_view name,
                                            std::uint32_t level,
                                            std::uint32_t buffer_size) override;
  platform::PrinterHandleResult OpenPrinter(std::string_view name) override;
  platform::GetPrinterResult GetPrinter(platform::PrinterHandle printer, std::uint32_t level,
                                        std::uint32_t buffer_size) override;
  // Local bookkeeping: closing works even after the session was cancelled.
  bool ClosePrinter(platform::PrinterHandle printer) override;

  std::size_t OpenHandleCount() const { return handles_.Count(); }
  // "printer \\PS01\Laser" per open handle.
  std::vector<std::string> DescribeOpenHandles() const;

 private:
  struct HandleState {
    std::uint32_t computer = kNoIndex;
    std::uint32_t printer = kNoIndex;
    std::string server;  // "\\NAME" as the call named the server; empty for this computer
    std::string host;    // the name as passed to OpenPrinter
  };

  Simulation& sim_;
  const platform::SessionOptions& session_;
  HandleTable<HandleState> handles_{0x1000};
};

}  // namespace tabulon::estate
