#include "exporters/server/printers/printers.h"

#include <array>
#include <vector>

#include "engine/error_text.h"
#include "engine/messages.h"
#include "engine/object_file.h"
#include "engine/row.h"
#include "exporters/toolkit/export_progress.h"
#include "exporters/toolkit/handle_guard.h"
#include "exporters/toolkit/security.h"
#include "format/lists.h"

namespace tabulon {
namespace {

constexpr std::uint32_t kLevel = 2;

struct BitName {
  std::uint32_t bit;
  std::string_view name;
};

constexpr std::array kAttributeNames{
    BitName{platform::kPrinterAttributeDefault, "DEFAULT"},
    BitName{platform::kPrinterAttributeDirect, "DIRECT"},
    BitName{platform::kPrinterAttributeDoCompleteFirst, "DO_COMPLETE_FIRST"},
    BitName{platform::kPrinterAttributeEnableBidi, "ENABLE_BIDI"},
    BitName{platform::kPrinterAttributeEnableDevq, "ENABLE_DEVQ"},
    BitName{platform::kPrinterAttributeKeepPrintedJobs, "KEEP_PRINTED_JOBS"},
    BitName{platform::kPrinterAttributeQueued, "QUEUED"},
    BitName{platform::kPrinterAttributeShared, "SHARED"},
    BitName{platform::kPrinterAttributeWorkOffline, "WORK_OFFLINE"},
    BitName{platform::kPrinterAttributePublished, "PUBLISHED"},
    BitName{platform::kPrinterAttributeNetwork, "NETWORK"},
    BitName{platform::kPrinterAttributeHidden, "HIDDEN"},
    BitName{platform::kPrinterAttributeLocal, "LOCAL"},
    BitName{platform::kPrinterAttributeRawOnly, "RAW_ONLY"},
};

constexpr std::array kStatusNames{
    BitName{platform::kPrinterStatusBusy, "BUSY"},
    BitName{platform::kPrinterStatusDoorOpen, "DOOR_OPEN"},
    BitName{platform::kPrinterStatusError, "ERROR"},
    BitName{platform::kPrinterStatusInitializing, "INITIALIZING"},
    BitName{platform::kPrinterStatusIoActive, "IO_ACTIVE"},
    BitName{platform::kPrinterStatusManualFeed, "MANUAL_FEED"},
    BitName{platform::kPrinterStatusNoToner, "NO_TONER"},
    BitName{platform::kPrinterStatusNotAvailable, "NOT_AVAILABLE"},
    BitName{platform::kPrinterStatusOffline, "OFFLINE"},
    BitName{platform::kPrinterStatusOutOfMemory, "OUT_OF_MEMORY"},
    BitName{platform::kPrinterStatusOutputBinFull, "OUTPUT_BIN_FULL"},
    BitName{platform::kPrinterStatusPagePunt, "PAGE_PUNT"},
    BitName{platform::kPrinterStatusPaperJam, "PAPER_JAM"},
    BitName{platform::kPrinterStatusPaperOut, "PAPER_OUT"},
    BitName{platform::kPrinterStatusPaperProblem, "PAPER_PROBLEM"},
    BitName{platform::kPrinterStatusPaused, "PAUSED"},
    BitName{platform::kPrinterStatusPendingDeletion, "PENDING_DELETION"},
    BitName{platform::kPrinterStatusPowerSave, "POWER_SAVE"},
    BitName{platform::kPrinterStatusPrinting, "PRINTING"},
    BitName{platform::kPrinterStatusProcessing, "PROCESSING"},
    BitName{platform::kPrinterStatusServerUnknown, "SERVER_UNKNOWN"},
    BitName{platform::kPrinterStatusTonerLow, "TONER_LOW"},
    BitName{platform::kPrinterStatusUserIntervention, "USER_INTERVENTION"},
    BitName{platform::kPrinterStatusWaiting, "WAITING"},
    BitName{platform::kPrinterStatusWarmingUp, "WARMING_UP"},
};

template <std::size_t N>
std::string BitNames(const std::array<BitName, N>& table, std::uint32_t bits,
                     std::string_view delimiter) {
  std::string names;
  for (const BitName& entry : table) {
    if (bits & entry.bit) format::AppendDelimited(names, entry.name, delimiter);
  }
  return names;
}

enum Column : std::uint32_t {
  kServer = 0,
  kName,
  kShare,
  kPort,
  kDriver,
  kComment,
  kLocation,
  kSeparator,
  kProcessor,
  kDataType,
  kParameters,
  kAttributes,
  kPriority,
  kJobPriority,
  kStatus,
  kJobs,
  kAveragePpm,
};

std::string Signed(std::uint32_t value) {
  return std::to_string(static_cast<std::int32_t>(value));
}

void WriteRow(ExportContext& context, Row& row, const platform::PrinterInfo2& printer) {
  RunOutput& out = context.output;
  const std::string& delimiter = out.settings().secondary_delimiter;
  row[kServer] = printer.server_name;
  row[kName] = printer.printer_name;
  row[kShare] = printer.share_name;
  row[kPort] = printer.port_name;
  row[kDriver] = printer.driver_name;
  row[kComment] = out.ReplaceLineBreaks(printer.comment);
  row[kLocation] = printer.location;
  row[kSeparator] = printer.sep_file;
  row[kProcessor] = printer.print_processor;
  row[kDataType] = printer.datatype;
  row[kParameters] = printer.parameters;
  row[kAttributes] = PrinterAttributeNames(printer.attributes, delimiter);
  row[kPriority] = Signed(printer.priority);
  row[kJobPriority] = Signed(printer.default_priority);
  row[kStatus] = PrinterStatusNames(printer.status, delimiter);
  row[kJobs] = Signed(printer.jobs);
  row[kAveragePpm] = Signed(printer.average_ppm);
  row.Write();
}

struct Records {
  std::vector<platform::PrinterInfo2> printers;
  std::string failure;  // empty on success
};

Records ListComputer(platform::Printing& spooler, const tagCObjects& target) {
  const std::string server = target.path.starts_with('\\') ? target.path : "\\\\" + target.path;
  Records records;
  const platform::EnumPrintersResult sizing =
      spooler.EnumPrinters(platform::kPrinterEnumName, server, kLevel, 0);
  platform::EnumPrintersResult listing =
      spooler.EnumPrinters(platform::kPrinterEnumName, server, kLevel, sizing.bytes_needed);
  if (listing.status != win::ERROR_SUCCESS) {
    records.failure = FillMessage("Unable to get printer listing from '%s'. ", {server}) +
                      WindowsErrorText(listing.status);
    return records;
  }
  records.printers = std::move(listing.printers);
  return records;
}

Records ReadPrinter(platform::Printing& spooler, const tagCObjects& target) {
  Records records;
  const platform::PrinterHandleResult opened = spooler.OpenPrinter(target.path);
  win::Status status = opened.status;
  if (status == win::ERROR_SUCCESS) {
    const HandleGuard close(opened.handle,
                            [&spooler](platform::PrinterHandle h) { spooler.ClosePrinter(h); });
    const platform::GetPrinterResult sizing = spooler.GetPrinter(opened.handle, kLevel, 0);
    platform::GetPrinterResult info =
        spooler.GetPrinter(opened.handle, kLevel, sizing.bytes_needed);
    status = info.status;
    if (status == win::ERROR_SUCCESS) records.printers.push_back(std::move(info.info));
  }
  if (status != win::ERROR_SUCCESS) {
    records.failure = FillMessage("Unable to get printer information for '%s'. ", {target.path}) +
                      WindowsErrorText(status);
  }
  return records;
}

}  // namespace

std::string PrinterAttributeNames(std::uint32_t attributes, std::string_view delimiter) {
  return BitNames(kAttributeNames, attributes, delimiter);
}

std::string PrinterStatusNames(std::uint32_t status, std::string_view delimiter) {
  return BitNames(kStatusNames, status, delimiter);
}

void ExportPrinterRows(ExportContext& context, const tagCObjects& target) {
  const bool printer_target = target.type == kObjectPrinter;
  // A printer target is only visited for the Printers file; printer
  // security alone is gathered from the computers.
  const bool write_rows = context.files.of(kPrinters).is_open();
  if (printer_target && !write_rows) return;
  RunOutput& out = context.output;
  ExportProgress progress(out, target, "Exporting Printer Information...", ProgressKind::kPrinter,
                          printer_target ? 0 : 1);
  const bool printer_security = WantsSecurity(context, SecurityObjectKind::kPrinter);

  platform::Printing& spooler = context.session.printing();
  const Records records =
      printer_target ? ReadPrinter(spooler, target) : ListComputer(spooler, target);
  Row row(out, context.files.of(kPrinters), &target);
  for (const platform::PrinterInfo2& printer : records.printers) {
    if (printer_security) {
      HandToSecurityAccess(context, target,
                           {.kind = SecurityObjectKind::kPrinter,
                            .name = printer.printer_name,
                            .path = printer.printer_name});
    }
    if (write_rows) WriteRow(context, row, printer);
  }

  if (!records.failure.empty()) progress.ReportFailure(records.failure);
  out.LogLine(&target, ExportTypeInfo(kPrinters).log_name, !records.failure.empty(),
              records.failure);
}

}  // namespace tabulon

namespace tabulon {
namespace {

class PrintersRun final : public ExporterRun {
 public:
  explicit PrintersRun(const EnabledExports& enabled) : rows_(enabled[kPrinters]) {}
  bool Wanted(const SecurityAccessSink* security) const override {
    return rows_ || (security != nullptr && security->Wants(SecurityObjectKind::kPrinter));
  }
  void ExportTarget(ExportContext& context, const tagCObjects& target) override {
    ExportPrinterRows(context, target);
  }

 private:
  bool rows_;
};

constexpr ExportType kTypes[] = {kPrinters};

}  // namespace

ExporterUnit PrintersUnit() {
  return {.name = "printers",
          .types = kTypes,
          .target_kinds = kComputerTargets | kPrinterTargets,
          .start = [](const Configuration&, const EnabledExports& enabled)
              -> std::unique_ptr<ExporterRun> { return std::make_unique<PrintersRun>(enabled); }};
}

}  // namespace tabulon
