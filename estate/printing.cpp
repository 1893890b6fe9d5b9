#include "estate/printing.h"

#include <algorithm>

#include "platform/sizes.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

constexpr std::uint32_t kLevel = 2;

// The record as the spooler reached through `server` reports it.
platform::PrinterInfo2 RecordOf(const Printer& printer, const std::string& server) {
  platform::PrinterInfo2 info = printer.info;
  info.server_name = server;
  if (!server.empty()) info.printer_name = server + "\\" + printer.info.printer_name;
  return info;
}

std::string ServerPrefix(std::string_view name) {
  const std::string_view bare = StripBackslashes(name);
  return bare.empty() ? std::string() : "\\\\" + std::string(bare);
}

}  // namespace

platform::EnumPrintersResult EstatePrinting::EnumPrinters(std::uint32_t flags,
                                                          std::string_view name,
                                                          std::uint32_t level,
                                                          std::uint32_t buffer_size) {
  const Estate& estate = sim_.estate();
  platform::EnumPrintersResult result;
  const bool named = (flags & platform::kPrinterEnumName) != 0 && !StripBackslashes(name).empty();
  const bool local = !named && (flags & (platform::kPrinterEnumName | platform::kPrinterEnumLocal));
  const Computer* computer =
      named ? estate.FindComputer(name) : (local ? estate.LocalComputer() : nullptr);
  // Connections and network printers are this computer's to answer, and it
  // has none.
  Destination to = sim_.ToComputer(computer);
  if (!named && !local) to = {to.latency_ms, true, nullptr, 0};
  result.status = sim_.Reach(
      session_, Operation::kEnumPrinters, name,
      [&] {
        return "flags=" + Hex(flags) + " level=" + std::to_string(level) +
               " size=" + std::to_string(buffer_size);
      },
      to, win::RPC_S_SERVER_UNAVAILABLE);
  if (result.status != win::ERROR_SUCCESS) return result;
  if (level != kLevel) {
    result.status = win::ERROR_INVALID_LEVEL;
    return result;
  }
  if (!named && !local) return result;
  const std::string server = named ? ServerPrefix(name) : std::string();
  std::vector<platform::PrinterInfo2> records;
  for (const Printer& printer : computer->printers) {
    records.push_back(RecordOf(printer, server));
    result.bytes_needed += platform::PrinterInfo2Bytes(records.back());
  }
  if (buffer_size < result.bytes_needed) {
    result.status = win::ERROR_INSUFFICIENT_BUFFER;
    return result;
  }
  result.printers = std::move(records);
  result.returned = static_cast<std::uint32_t>(result.printers.size());
  return result;
}

platform::PrinterHandleResult EstatePrinting::OpenPrinter(std::string_view name) {
  const Estate& estate = sim_.estate();
  platform::PrinterHandleResult result;
  std::string server;
  std::string_view printer_name = name;
  const Computer* computer = nullptr;
  if (name.starts_with('\\')) {
    const std::string_view bare = StripBackslashes(name);
    const auto cut = bare.find('\\');
    const std::string_view machine = bare.substr(0, cut);
    printer_name = cut == std::string_view::npos ? std::string_view() : bare.substr(cut + 1);
    server = ServerPrefix(machine);
    computer = estate.FindComputer(machine);
  } else {
    computer = estate.LocalComputer();
  }
  // A printer of this computer needs no server; without one, the name is
  // the fault.
  Destination to = sim_.ToComputer(computer);
  if (server.empty()) to.reachable = computer != nullptr;
  result.status = sim_.Reach(
      session_, Operation::kOpenPrinter, name, [] { return std::string("access=default"); }, to,
      server.empty() ? win::ERROR_INVALID_PRINTER_NAME : win::RPC_S_SERVER_UNAVAILABLE);
  if (result.status != win::ERROR_SUCCESS) return result;
  if (printer_name.empty()) {
    result.status = win::ERROR_INVALID_PRINTER_NAME;
    return result;
  }
  const std::uint32_t index = estate.IndexOf(*computer);
  const auto& printers = computer->printers;
  auto it = std::find_if(printers.begin(), printers.end(), [&](const Printer& p) {
    return text::EqualsNoCase(p.info.printer_name, printer_name);
  });
  if (it == printers.end()) {
    it = std::find_if(printers.begin(), printers.end(), [&](const Printer& p) {
      return !p.info.share_name.empty() && text::EqualsNoCase(p.info.share_name, printer_name);
    });
  }
  if (it == printers.end()) {
    result.status = win::ERROR_INVALID_PRINTER_NAME;
    return result;
  }
  result.status = sim_.Injected(Operation::kOpenPrinter, it->failures, index);
  if (result.status != win::ERROR_SUCCESS) return result;
  result.handle = handles_.Add(HandleState{index, static_cast<std::uint32_t>(it - printers.begin()),
                                           std::move(server), std::string(name)});
  return result;
}

platform::GetPrinterResult EstatePrinting::GetPrinter(platform::PrinterHandle printer,
                                                      std::uint32_t level,
                                                      std::uint32_t buffer_size) {
  const Estate& estate = sim_.estate();
  platform::GetPrinterResult result;
  const HandleState* state = handles_.Find(printer);
  const Computer* computer = state != nullptr ? &estate.computers[state->computer] : nullptr;
  result.status = sim_.Reach(
      session_, Operation::kGetPrinter, state != nullptr ? state->host : "",
      [&] { return "level=" + std::to_string(level) + " size=" + std::to_string(buffer_size); },
      computer != nullptr ? sim_.ToComputer(computer) : Destination{}, win::ERROR_INVALID_HANDLE);
  if (result.status != win::ERROR_SUCCESS) return result;
  if (level != kLevel) {
    result.status = win::ERROR_INVALID_LEVEL;
    return result;
  }
  const Printer& record = computer->printers[state->printer];
  result.status = sim_.Injected(Operation::kGetPrinter, record.failures, state->computer);
  if (result.status != win::ERROR_SUCCESS) return result;
  platform::PrinterInfo2 info = RecordOf(record, state->server);
  result.bytes_needed = platform::PrinterInfo2Bytes(info);
  if (buffer_size < result.bytes_needed) {
    result.status = win::ERROR_INSUFFICIENT_BUFFER;
    return result;
  }
  result.info = std::move(info);
  return result;
}

bool EstatePrinting::ClosePrinter(platform::PrinterHandle printer) {
  const HandleState* state = handles_.Find(printer);
  sim_.Record(Operation::kClosePrinter, state != nullptr ? state->host : "",
              [&] { return "handle=" + std::to_string(printer); });
  return handles_.Close(printer);
}

std::vector<std::string> EstatePrinting::DescribeOpenHandles() const {
  return handles_.Describe([&](const HandleState& state) {
    const Computer& computer = sim_.estate().computers[state.computer];
    return "printer \\\\" + computer.name + "\\" +
           computer.printers[state.printer].info.printer_name;
  });
}

}  // namespace tabulon::estate
