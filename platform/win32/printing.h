#pragma once
// The print spooler through winspool on this computer, which reaches other
// print servers itself. Printer handles are numbered in the session, so a
// number the session never handed out is refused instead of reaching the
// spooler as a pointer; those left open are closed when the session ends.
#include <cstdint>
#include <string_view>

#include "platform/bounded_calls.h"
#include "platform/printing.h"
#include "platform/win32/handle_table.h"

namespace tabulon::platform::win32 {

class Win32Printing final : public Printing {
 public:
  explicit Win32Printing(BoundedCalls& calls) : calls_(calls) {}
  ~Win32Printing() override;
  Win32Printing(const Win32Printing&) = delete;
  Win32Printing& operator=(const Win32Printing&) = delete;

  EnumPrintersResult EnumPrinters(std::uint32_t flags, std::string_view name, std::uint32_t level,
                                  std::uint32_t buffer_size) override;
  PrinterHandleResult OpenPrinter(std::string_view name) override;
  GetPrinterResult GetPrinter(PrinterHandle printer, std::uint32_t level,
                              std::uint32_t buffer_size) override;
  bool ClosePrinter(PrinterHandle printer) override;

 private:
  BoundedCalls& calls_;
  // The spooler's HANDLE of each number handed out.
  HandleTable handles_;
};

}  // namespace tabulon::platform::win32
