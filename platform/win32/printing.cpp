#include "platform/win32/printing.h"

// Before <windows.h>, whose macros would meet the status names it uses.
#include "platform/remote/spoolss_codec.h"
#include "platform/win32/last_error.h"

#include <windows.h>
#include <winspool.h>
// The A/W names would rename the family's own methods.
#undef EnumPrinters
#undef OpenPrinter
#undef GetPrinter

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/printer_records.h"
#include "platform/win32/wide.h"

namespace tabulon::platform::win32 {
namespace {

// The same refusals as over the wire: only level 2, and no buffer beyond
// what the remote backend would ask a server to fill.
win::Status CheckRequest(std::uint32_t level, std::uint32_t buffer_size) {
  if (level != remote::spoolss::kLevel2) return ERROR_INVALID_LEVEL;
  if (buffer_size > remote::spoolss::kMaxBufferSize) return ERROR_NOT_ENOUGH_MEMORY;
  return ERROR_SUCCESS;
}

// A buffer aligned for the records the spooler writes into it.
struct RecordBuffer {
  explicit RecordBuffer(std::uint32_t bytes) : words((bytes + 7) / 8), size(bytes) {}
  BYTE* data() { return size == 0 ? nullptr : reinterpret_cast<BYTE*>(words.data()); }
  std::span<const std::uint8_t> bytes() const {
    return {reinterpret_cast<const std::uint8_t*>(words.data()), size};
  }
  std::vector<std::uint64_t> words;
  std::uint32_t size;
};

}  // namespace

Win32Printing::~Win32Printing() {
  if (handles_.empty()) return;
  calls_.Release([open = handles_.TakeAll()] {
    for (void* handle : open) ::ClosePrinter(handle);
  });
}

EnumPrintersResult Win32Printing::EnumPrinters(std::uint32_t flags, std::string_view name,
                                               std::uint32_t level, std::uint32_t buffer_size) {
  if (const win::Status refused = CheckRequest(level, buffer_size); refused != ERROR_SUCCESS) {
    EnumPrintersResult result;
    result.status = refused;
    return result;
  }
  return calls_.Run<EnumPrintersResult>([flags, wide = ToWide(name), level, buffer_size] {
    EnumPrintersResult result;
    RecordBuffer buffer(buffer_size);
    DWORD needed = 0;
    DWORD returned = 0;
    // An empty name is this computer's spooler.
    if (!::EnumPrintersW(flags, wide.empty() ? nullptr : const_cast<wchar_t*>(wide.c_str()), level,
                         buffer.data(), buffer_size, &needed, &returned)) {
      result.status = FailureStatus();
      result.bytes_needed = needed;
      return result;
    }
    result.status = DecodePrinterInfo2(buffer.bytes(), returned, result.printers);
    if (result.status == ERROR_SUCCESS) result.returned = returned;
    return result;
  });
}

PrinterHandleResult Win32Printing::OpenPrinter(std::string_view name) {
  struct Opened {
    win::Status status = ERROR_SUCCESS;
    HANDLE handle = nullptr;
  };
  const Opened opened = calls_.Run<Opened>([wide = ToWide(name)] {
    Opened result;
    if (!::OpenPrinterW(wide.empty() ? nullptr : const_cast<wchar_t*>(wide.c_str()), &result.handle,
                        nullptr)) {
      result.status = FailureStatus();
      result.handle = nullptr;
    } else if (result.handle == nullptr) {
      result.status = ERROR_INVALID_HANDLE;
    }
    return result;
  });
  // A handle opened by a call given up on is lost with that call.
  if (opened.status != ERROR_SUCCESS) return {opened.status, 0};
  return {ERROR_SUCCESS, handles_.Add(opened.handle)};
}

GetPrinterResult Win32Printing::GetPrinter(PrinterHandle printer, std::uint32_t level,
                                           std::uint32_t buffer_size) {
  GetPrinterResult result;
  void* const handle = handles_.Find(printer);
  result.status = handle == nullptr ? ERROR_INVALID_HANDLE : CheckRequest(level, buffer_size);
  if (result.status != ERROR_SUCCESS) return result;
  return calls_.Run<GetPrinterResult>([handle, level, buffer_size] {
    GetPrinterResult got;
    RecordBuffer buffer(buffer_size);
    DWORD needed = 0;
    if (!::GetPrinterW(handle, level, buffer.data(), buffer_size, &needed)) {
      got.status = FailureStatus();
      got.bytes_needed = needed;
      return got;
    }
    std::vector<PrinterInfo2> one;
    got.status = DecodePrinterInfo2(buffer.bytes(), 1, one);
    if (got.status == ERROR_SUCCESS) got.info = std::move(one.front());
    return got;
  });
}

bool Win32Printing::ClosePrinter(PrinterHandle printer) {
  // The number is gone from the session whatever the spooler answers, so
  // the handle is closed even after a stop (the session's end no longer
  // knows it).
  void* const handle = handles_.Take(printer);
  if (handle == nullptr) return false;
  auto closed = std::make_shared<std::atomic<bool>>(false);
  calls_.Release([handle, closed] { *closed = ::ClosePrinter(handle) != FALSE; });
  return *closed;
}

}  // namespace tabulon::platform::win32
