#pragma once
// The print spooler of a computer, after the winspool functions: printers
// listed with EnumPrinters or read one by one through an open printer
// handle, both sized by a first call that fails with
// ERROR_INSUFFICIENT_BUFFER and names the size needed.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace tabulon::platform {

using PrinterHandle = std::uint64_t;  // 0 is no handle

// EnumPrinters flags.
inline constexpr std::uint32_t kPrinterEnumDefault = 0x01;
inline constexpr std::uint32_t kPrinterEnumLocal = 0x02;
inline constexpr std::uint32_t kPrinterEnumConnections = 0x04;
inline constexpr std::uint32_t kPrinterEnumName = 0x08;
inline constexpr std::uint32_t kPrinterEnumRemote = 0x10;
inline constexpr std::uint32_t kPrinterEnumShared = 0x20;
inline constexpr std::uint32_t kPrinterEnumNetwork = 0x40;

// PRINTER_ATTRIBUTE_* bits.
inline constexpr std::uint32_t kPrinterAttributeQueued = 0x00000001;
inline constexpr std::uint32_t kPrinterAttributeDirect = 0x00000002;
inline constexpr std::uint32_t kPrinterAttributeDefault = 0x00000004;
inline constexpr std::uint32_t kPrinterAttributeShared = 0x00000008;
inline constexpr std::uint32_t kPrinterAttributeNetwork = 0x00000010;
inline constexpr std::uint32_t kPrinterAttributeHidden = 0x00000020;
inline constexpr std::uint32_t kPrinterAttributeLocal = 0x00000040;
inline constexpr std::uint32_t kPrinterAttributeEnableDevq = 0x00000080;
inline constexpr std::uint32_t kPrinterAttributeKeepPrintedJobs = 0x00000100;
inline constexpr std::uint32_t kPrinterAttributeDoCompleteFirst = 0x00000200;
inline constexpr std::uint32_t kPrinterAttributeWorkOffline = 0x00000400;
inline constexpr std::uint32_t kPrinterAttributeEnableBidi = 0x00000800;
inline constexpr std::uint32_t kPrinterAttributeRawOnly = 0x00001000;
inline constexpr std::uint32_t kPrinterAttributePublished = 0x00002000;

// PRINTER_STATUS_* bits.
inline constexpr std::uint32_t kPrinterStatusPaused = 0x00000001;
inline constexpr std::uint32_t kPrinterStatusError = 0x00000002;
inline constexpr std::uint32_t kPrinterStatusPendingDeletion = 0x00000004;
inline constexpr std::uint32_t kPrinterStatusPaperJam = 0x00000008;
inline constexpr std::uint32_t kPrinterStatusPaperOut = 0x00000010;
inline constexpr std::uint32_t kPrinterStatusManualFeed = 0x00000020;
inline constexpr std::uint32_t kPrinterStatusPaperProblem = 0x00000040;
inline constexpr std::uint32_t kPrinterStatusOffline = 0x00000080;
inline constexpr std::uint32_t kPrinterStatusIoActive = 0x00000100;
inline constexpr std::uint32_t kPrinterStatusBusy = 0x00000200;
inline constexpr std::uint32_t kPrinterStatusPrinting = 0x00000400;
inline constexpr std::uint32_t kPrinterStatusOutputBinFull = 0x00000800;
inline constexpr std::uint32_t kPrinterStatusNotAvailable = 0x00001000;
inline constexpr std::uint32_t kPrinterStatusWaiting = 0x00002000;
inline constexpr std::uint32_t kPrinterStatusProcessing = 0x00004000;
inline constexpr std::uint32_t kPrinterStatusInitializing = 0x00008000;
inline constexpr std::uint32_t kPrinterStatusWarmingUp = 0x00010000;
inline constexpr std::uint32_t kPrinterStatusTonerLow = 0x00020000;
inline constexpr std::uint32_t kPrinterStatusNoToner = 0x00040000;
inline constexpr std::uint32_t kPrinterStatusPagePunt = 0x00080000;
inline constexpr std::uint32_t kPrinterStatusUserIntervention = 0x00100000;
inline constexpr std::uint32_t kPrinterStatusOutOfMemory = 0x00200000;
inline constexpr std::uint32_t kPrinterStatusDoorOpen = 0x00400000;
inline constexpr std::uint32_t kPrinterStatusServerUnknown = 0x00800000;
inline constexpr std::uint32_t kPrinterStatusPowerSave = 0x01000000;

// PRINTER_INFO_2W without the device mode and the security descriptor.
struct PrinterInfo2 {
  std::string server_name;   // "\\SERVER", empty for this computer's printers
  std::string printer_name;  // "\\SERVER\Name", or the bare name on this computer
  std::string share_name;
  std::string port_name;
  std::string driver_name;
  std::string comment;
  std::string location;
  std::string sep_file;
  std::string print_processor;
  std::string datatype;
  std::string parameters;
  std::uint32_t attributes = 0;
  std::uint32_t priority = 1;
  std::uint32_t default_priority = 0;
  std::uint32_t start_time = 0;  // minutes after midnight UTC
  std::uint32_t until_time = 0;
  std::uint32_t status = 0;
  std::uint32_t jobs = 0;
  std::uint32_t average_ppm = 0;
};

// With ERROR_INSUFFICIENT_BUFFER, `bytes_needed` is the buffer size that
// holds every record.
struct EnumPrintersResult {
  win::Status status = win::ERROR_SUCCESS;
  std::vector<PrinterInfo2> printers;
  std::uint32_t bytes_needed = 0;
  std::uint32_t returned = 0;
};

struct PrinterHandleResult {
  win::Status status = win::ERROR_SUCCESS;
  PrinterHandle handle = 0;
};

struct GetPrinterResult {
  win::Status status = win::ERROR_SUCCESS;
  PrinterInfo2 info;
  std::uint32_t bytes_needed = 0;
};

class Printing {
 public:
  virtual ~Printing() = default;

  // EnumPrinters. Level 2 is the level records are given at; other levels
  // fail with ERROR_INVALID_LEVEL.
  virtual EnumPrintersResult EnumPrinters(std::uint32_t flags, std::string_view name,
                                          std::uint32_t level, std::uint32_t buffer_size) = 0;
  // OpenPrinter with default access: "\\SERVER\Printer" (the share name
  // works too), or a bare name on this computer.
  virtual PrinterHandleResult OpenPrinter(std::string_view name) = 0;
  virtual GetPrinterResult GetPrinter(PrinterHandle printer, std::uint32_t level,
                                      std::uint32_t buffer_size) = 0;
  virtual bool ClosePrinter(PrinterHandle printer) = 0;
};

}  // namespace tabulon::platform
