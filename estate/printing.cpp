#include "estate/printing.h"

#include <algorithm>

#include "estate/sizes.h"
#include "platform/text.h"

namespace tabulon::estate {
namespace {

constexpr std::uint32_t kPrinterInfo2FixedBytes = 84;
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

std::uint32_t PrinterInfo2Bytes(const platform::PrinterInfo2& info) {
  std::uint32_t bytes = kPrinterInfo2FixedBytes;
  for (const std::string* s :
       {&info.server_name, &info.printer_name, &info.share_name, &info.port_name, &info.driver_name,
        &info.comment, &info.location, &info.sep_file, &info.print_processor, &info.datatype,
        &info.parameters}) {
    bytes += WideStringBytes(*s);
  }
  return bytes;
}

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
  sim_.Record(Operation::kEnumPrinters, name, [&] {
    return "flags=" + Hex(flags) + " level=" + std::to_string(level) +
           " size=" + std::to_string(buffer_size);
  });
  sim_.Wait(computer);
  if (level != kLevel) {
    result.status = win::ERROR_INVALID_LEVEL;
    return result;
  }
  // Connections and network printers: this computer has none.
  if (!named && !local) return result;
  if (computer == nullptr || computer->offline) {
    result.status = win::RPC_S_SERVER_UNAVAILABLE;
    return result;
  }
  result.status =
      sim_.Injected(Operation::kEnumPrinters, computer->failures, estate.IndexOf(*computer));
  if (result.status != win::ERROR_SUCCESS) return result;
  const std::string server = named ? ServerPrefix(name) : std::string();
  std::vector<platform::PrinterInfo2> records;
  for (const Printer& printer : computer->printers) {
    records.push_back(RecordOf(printer, server));
    result.bytes_needed += PrinterInfo2Bytes(records.back());
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
  sim_.Record(Operation::kOpenPrinter, name, [] { return std::string("access=default"); });
  sim_.Wait(computer);
  if (!server.empty() && (computer == nullptr || computer->offline)) {
    result.status = win::RPC_S_SERVER_UNAVAILABLE;
    return result;
  }
  if (computer == nullptr || printer_name.empty()) {
    result.status = win::ERROR_INVALID_PRINTER_NAME;
    return result;
  }
  const std::uint32_t index = estate.IndexOf(*computer);
  result.status = sim_.Injected(Operation::kOpenPrinter, computer->failures, index);
  if (result.status != win::ERROR_SUCCESS) return result;
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
  result.handle = next_handle_++;
  handles_.emplace(result.handle,
                   HandleState{index, static_cast<std::uint32_t>(it - printers.begin()),
                               std::move(server), std::string(name)});
  return result;
}

platform::GetPrinterResult EstatePrinting::GetPrinter(platform::PrinterHandle printer,
                                                      std::uint32_t level,
                                                      std::uint32_t buffer_size) {
  const Estate& estate = sim_.estate();
  platform::GetPrinterResult result;
  const auto it = handles_.find(printer);
  const HandleState* state = it != handles_.end() ? &it->second : nullptr;
  sim_.Record(Operation::kGetPrinter, state != nullptr ? state->host : "", [&] {
    return "level=" + std::to_string(level) + " size=" + std::to_string(buffer_size);
  });
  if (state == nullptr) {
    result.status = win::ERROR_INVALID_HANDLE;
    return result;
  }
  const Computer& computer = estate.computers[state->computer];
  sim_.Wait(&computer);
  if (level != kLevel) {
    result.status = win::ERROR_INVALID_LEVEL;
    return result;
  }
  const Printer& record = computer.printers[state->printer];
  result.status = sim_.Injected(Operation::kGetPrinter, computer.failures, state->computer);
  if (result.status == win::ERROR_SUCCESS) {
    result.status = sim_.Injected(Operation::kGetPrinter, record.failures, state->computer);
  }
  if (result.status != win::ERROR_SUCCESS) return result;
  platform::PrinterInfo2 info = RecordOf(record, state->server);
  result.bytes_needed = PrinterInfo2Bytes(info);
  if (buffer_size < result.bytes_needed) {
    result.status = win::ERROR_INSUFFICIENT_BUFFER;
    return result;
  }
  result.info = std::move(info);
  return result;
}

bool EstatePrinting::ClosePrinter(platform::PrinterHandle printer) {
  const auto it = handles_.find(printer);
  sim_.Record(Operation::kClosePrinter, it != handles_.end() ? it->second.host : "",
              [&] { return "handle=" + std::to_string(printer); });
  if (it == handles_.end()) return false;
  handles_.erase(it);
  return true;
}

std::vector<std::string> EstatePrinting::DescribeOpenHandles() const {
  std::vector<std::pair<platform::PrinterHandle, std::string>> open;
  for (const auto& [handle, state] : handles_) {
    const Computer& computer = sim_.estate().computers[state.computer];
    open.emplace_back(
        handle, "\\\\" + computer.name + "\\" + computer.printers[state.printer].info.printer_name);
  }
  std::sort(open.begin(), open.end());
  std::vector<std::string> out;
  out.reserve(open.size());
  for (auto& entry : open) out.push_back(std::move(entry.second));
  return out;
}

}  // namespace tabulon::estate
