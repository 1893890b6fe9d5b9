#pragma once
// The print spoolers of estate computers. Printer handles are tracked so
// that tests can check that every handle an exporter opened was closed.
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "estate/simulation.h"
#include "platform/printing.h"

namespace tabulon::estate {

class EstatePrinting final : public platform::Printing {
 public:
  explicit EstatePrinting(Simulation& simulation) : sim_(simulation) {}

  platform::EnumPrintersResult EnumPrinters(std::uint32_t flags, std::string_view name,
                                            std::uint32_t level,
                                            std::uint32_t buffer_size) override;
  platform::PrinterHandleResult OpenPrinter(std::string_view name) override;
  platform::GetPrinterResult GetPrinter(platform::PrinterHandle printer, std::uint32_t level,
                                        std::uint32_t buffer_size) override;
  bool ClosePrinter(platform::PrinterHandle printer) override;

  std::size_t OpenHandleCount() const { return handles_.size(); }
  // "\\PS01\Laser" per open handle, for test failure messages.
  std::vector<std::string> DescribeOpenHandles() const;

 private:
  struct HandleState {
    std::uint32_t computer = kNoIndex;
    std::uint32_t printer = kNoIndex;
    std::string server;  // "\\NAME" as the call named the server; empty for this computer
    std::string host;    // the name as passed to OpenPrinter
  };

  Simulation& sim_;
  std::unordered_map<platform::PrinterHandle, HandleState> handles_;
  platform::PrinterHandle next_handle_ = 0x1000;
};

// PRINTER_INFO_2W of a 32-bit process: 84 bytes and the eleven strings;
// the device mode and the security descriptor are not counted.
std::uint32_t PrinterInfo2Bytes(const platform::PrinterInfo2& info);

}  // namespace tabulon::estate
