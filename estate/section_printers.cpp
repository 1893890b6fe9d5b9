#include <array>
#include <unordered_set>

#include "estate/sections.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

constexpr std::array kPrinterAttributes{
    NamedValue{"QUEUED", platform::kPrinterAttributeQueued},
    NamedValue{"DIRECT", platform::kPrinterAttributeDirect},
    NamedValue{"DEFAULT", platform::kPrinterAttributeDefault},
    NamedValue{"SHARED", platform::kPrinterAttributeShared},
    NamedValue{"NETWORK", platform::kPrinterAttributeNetwork},
    NamedValue{"HIDDEN", platform::kPrinterAttributeHidden},
    NamedValue{"LOCAL", platform::kPrinterAttributeLocal},
    NamedValue{"ENABLE_DEVQ", platform::kPrinterAttributeEnableDevq},
    NamedValue{"KEEP_PRINTED_JOBS", platform::kPrinterAttributeKeepPrintedJobs},
    NamedValue{"DO_COMPLETE_FIRST", platform::kPrinterAttributeDoCompleteFirst},
    NamedValue{"WORK_OFFLINE", platform::kPrinterAttributeWorkOffline},
    NamedValue{"ENABLE_BIDI", platform::kPrinterAttributeEnableBidi},
    NamedValue{"RAW_ONLY", platform::kPrinterAttributeRawOnly},
    NamedValue{"PUBLISHED", platform::kPrinterAttributePublished},
};

constexpr std::array kPrinterStatuses{
    NamedValue{"PAUSED", platform::kPrinterStatusPaused},
    NamedValue{"ERROR", platform::kPrinterStatusError},
    NamedValue{"PENDING_DELETION", platform::kPrinterStatusPendingDeletion},
    NamedValue{"PAPER_JAM", platform::kPrinterStatusPaperJam},
    NamedValue{"PAPER_OUT", platform::kPrinterStatusPaperOut},
    NamedValue{"MANUAL_FEED", platform::kPrinterStatusManualFeed},
    NamedValue{"PAPER_PROBLEM", platform::kPrinterStatusPaperProblem},
    NamedValue{"OFFLINE", platform::kPrinterStatusOffline},
    NamedValue{"IO_ACTIVE", platform::kPrinterStatusIoActive},
    NamedValue{"BUSY", platform::kPrinterStatusBusy},
    NamedValue{"PRINTING", platform::kPrinterStatusPrinting},
    NamedValue{"OUTPUT_BIN_FULL", platform::kPrinterStatusOutputBinFull},
    NamedValue{"NOT_AVAILABLE", platform::kPrinterStatusNotAvailable},
    NamedValue{"WAITING", platform::kPrinterStatusWaiting},
    NamedValue{"PROCESSING", platform::kPrinterStatusProcessing},
    NamedValue{"INITIALIZING", platform::kPrinterStatusInitializing},
    NamedValue{"WARMING_UP", platform::kPrinterStatusWarmingUp},
    NamedValue{"TONER_LOW", platform::kPrinterStatusTonerLow},
    NamedValue{"NO_TONER", platform::kPrinterStatusNoToner},
    NamedValue{"PAGE_PUNT", platform::kPrinterStatusPagePunt},
    NamedValue{"USER_INTERVENTION", platform::kPrinterStatusUserIntervention},
    NamedValue{"OUT_OF_MEMORY", platform::kPrinterStatusOutOfMemory},
    NamedValue{"DOOR_OPEN", platform::kPrinterStatusDoorOpen},
    NamedValue{"SERVER_UNKNOWN", platform::kPrinterStatusServerUnknown},
    NamedValue{"POWER_SAVE", platform::kPrinterStatusPowerSave},
};

bool ReadPrinter(JsonReader& reader, const Json& value, const JsonPath& path, Printer& out) {
  if (!reader.ExpectObject(value, path)) return false;
  const std::string here = path.str();
  platform::PrinterInfo2& info = out.info;
  const auto string = [&](std::string& field) {
    return [&](const Json& v, const JsonPath& p) { return reader.String(v, p, field); };
  };
  const auto number = [&](std::uint32_t& field) {
    return [&](const Json& v, const JsonPath& p) { return reader.Uint32(v, p, field); };
  };
  const auto bits = [&](std::uint32_t& field, Vocabulary vocabulary, std::string_view what) {
    return [&reader, &field, vocabulary, what](const Json& v, const JsonPath& p) {
      return reader.Named(v, p, vocabulary, what, true, field);
    };
  };
  info.attributes = platform::kPrinterAttributeLocal;
  info.print_processor = "winprint";
  info.datatype = "RAW";
  const bool ok =
      reader.Optional(value, here, "name", string(info.printer_name)) &&
      reader.Optional(value, here, "share_name", string(info.share_name)) &&
      reader.Optional(value, here, "port", string(info.port_name)) &&
      reader.Optional(value, here, "driver", string(info.driver_name)) &&
      reader.Optional(value, here, "comment", string(info.comment)) &&
      reader.Optional(value, here, "location", string(info.location)) &&
      reader.Optional(value, here, "separator_file", string(info.sep_file)) &&
      reader.Optional(value, here, "print_processor", string(info.print_processor)) &&
      reader.Optional(value, here, "datatype", string(info.datatype)) &&
      reader.Optional(value, here, "parameters", string(info.parameters)) &&
      reader.Optional(value, here, "attributes",
                      bits(info.attributes, Vocabulary{kPrinterAttributes, "PRINTER_ATTRIBUTE_"},
                           "printer attribute")) &&
      reader.Optional(
          value, here, "status",
          bits(info.status, Vocabulary{kPrinterStatuses, "PRINTER_STATUS_"}, "printer status")) &&
      reader.Optional(value, here, "priority", number(info.priority)) &&
      reader.Optional(value, here, "default_priority", number(info.default_priority)) &&
      reader.Optional(value, here, "start_time", number(info.start_time)) &&
      reader.Optional(value, here, "until_time", number(info.until_time)) &&
      reader.Optional(value, here, "jobs", number(info.jobs)) &&
      reader.Optional(value, here, "average_ppm", number(info.average_ppm)) &&
      reader.Optional(value, here, "security",
                      [&](const Json& v, const JsonPath& p) {
                        return ReadStatedSecurity(reader, v, p, out.security.emplace());
                      }) &&
      reader.Optional(value, here, "failures", [&](const Json& v, const JsonPath& p) {
        return ReadFailures(reader, v, p, FailureScope::kPrinter, out.failures);
      });
  if (!ok) return false;
  if (info.printer_name.empty()) return reader.Fail(path, "a printer needs a name");
  if (info.printer_name.find('\\') != std::string::npos ||
      info.printer_name.find(',') != std::string::npos) {
    return reader.Fail(JsonPath{here, "name"}, "a printer name cannot hold '\\' or ','");
  }
  return true;
}

}  // namespace

bool ReadPrinters(JsonReader& reader, const Json& value, const JsonPath& path,
                  std::vector<Printer>& out) {
  std::unordered_set<std::string> names;
  return reader.Elements(value, path, [&](const Json& item, const JsonPath& where, std::size_t) {
    Printer printer;
    if (!ReadPrinter(reader, item, where, printer)) return false;
    if (!names.insert(text::ToLower(printer.info.printer_name)).second) {
      return reader.Fail(
          where, "printer " + QuoteForMessage(printer.info.printer_name) + " is listed twice");
    }
    out.push_back(std::move(printer));
    return true;
  });
}

}  // namespace tabulon::estate
