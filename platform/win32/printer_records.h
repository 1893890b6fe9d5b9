#pragma once
// PRINTER_INFO_2W records as EnumPrintersW and GetPrinterW leave them in
// the caller's buffer: fixed records first, their strings after, pointed at
// from the records. The spooler fills the buffer from what a print server
// sent, so every record and string must lie inside it.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/printing.h"
#include "platform/status.h"

namespace tabulon::platform::win32 {

// The first `returned` records of `buffer` (the memory the call filled, at
// its own address: the string pointers point into it). ERROR_INVALID_DATA
// when a record or a string does not lie inside it; a null string is empty.
win::Status DecodePrinterInfo2(std::span<const std::uint8_t> buffer, std::uint32_t returned,
                               std::vector<PrinterInfo2>& printers);

}  // namespace tabulon::platform::win32
