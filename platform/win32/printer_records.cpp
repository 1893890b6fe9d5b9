#include "platform/win32/printer_records.h"

#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "platform/win32/wide.h"

namespace tabulon::platform::win32 {
namespace {

// The text `text` points at, when it and its terminator lie in `buffer`.
bool ReadString(std::span<const std::uint8_t> buffer, const wchar_t* text, std::string& out) {
  out.clear();
  if (text == nullptr) return true;
  const auto at = reinterpret_cast<std::uintptr_t>(text);
  const auto begin = reinterpret_cast<std::uintptr_t>(buffer.data());
  if (at < begin || at - begin >= buffer.size() || (at - begin) % sizeof(wchar_t) != 0) {
    return false;
  }
  const std::size_t room = (buffer.size() - (at - begin)) / sizeof(wchar_t);
  const std::size_t length = ::wcsnlen(text, room);
  if (length == room) return false;  // no terminator inside the buffer
  out = ToUtf8(std::wstring_view(text, length));
  return true;
}

bool ReadRecord(std::span<const std::uint8_t> buffer, const PRINTER_INFO_2W& r, PrinterInfo2& p) {
  const bool strings = ReadString(buffer, r.pServerName, p.server_name) &&
                       ReadString(buffer, r.pPrinterName, p.printer_name) &&
                       ReadString(buffer, r.pShareName, p.share_name) &&
                       ReadString(buffer, r.pPortName, p.port_name) &&
                       ReadString(buffer, r.pDriverName, p.driver_name) &&
                       ReadString(buffer, r.pComment, p.comment) &&
                       ReadString(buffer, r.pLocation, p.location) &&
                       ReadString(buffer, r.pSepFile, p.sep_file) &&
                       ReadString(buffer, r.pPrintProcessor, p.print_processor) &&
                       ReadString(buffer, r.pDatatype, p.datatype) &&
                       ReadString(buffer, r.pParameters, p.parameters);
  if (!strings) return false;
  p.attributes = r.Attributes;
  p.priority = r.Priority;
  p.default_priority = r.DefaultPriority;
  p.start_time = r.StartTime;
  p.until_time = r.UntilTime;
  p.status = r.Status;
  p.jobs = r.cJobs;
  p.average_ppm = r.AveragePPM;
  return true;
}

}  // namespace

win::Status DecodePrinterInfo2(std::span<const std::uint8_t> buffer, std::uint32_t returned,
                               std::vector<PrinterInfo2>& printers) {
  printers.clear();
  if (returned > buffer.size() / sizeof(PRINTER_INFO_2W)) return ERROR_INVALID_DATA;
  printers.resize(returned);
  for (std::uint32_t i = 0; i < returned; ++i) {
    // Copied out: the buffer's records need not be aligned for the caller.
    PRINTER_INFO_2W record;
    std::memcpy(&record, buffer.data() + std::size_t{i} * sizeof record, sizeof record);
    if (!ReadRecord(buffer, record, printers[i])) {
      printers.clear();
      return ERROR_INVALID_DATA;
    }
  }
  return ERROR_SUCCESS;
}

}  // namespace tabulon::platform::win32
