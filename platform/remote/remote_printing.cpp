#include "platform/remote/remote_printing.h"

#include <vector>

#include "platform/remote/remote_call.h"
#include "platform/remote/remote_network.h"
#include "platform/remote/spoolss_codec.h"

namespace tabulon::platform::remote {

RemotePrinting::RemotePrinting(RpcTransport& transport, std::string_view target)
    : transport_(transport), target_host_(HostOf(target)) {}

RemotePrinting::~RemotePrinting() {
  std::vector<PrinterHandle> open;
  for (const auto& [number, host] : hosts_) open.push_back(number);
  for (PrinterHandle number : open) ClosePrinter(number);
}

std::string RemotePrinting::HostOfName(std::string_view name) const {
  if (!name.starts_with("\\\\")) return target_host_;
  const std::string_view host = HostOf(name);
  return std::string(host.substr(0, host.find('\\')));
}

EnumPrintersResult RemotePrinting::EnumPrinters(std::uint32_t flags, std::string_view name,
                                                std::uint32_t level, std::uint32_t buffer_size) {
  if (level != spoolss::kLevel2) return Failed<EnumPrintersResult>(win::ERROR_INVALID_LEVEL);
  if (buffer_size > spoolss::kMaxBufferSize) {
    return Failed<EnumPrintersResult>(win::ERROR_NOT_ENOUGH_MEMORY);
  }
  return CallAndDecode<EnumPrintersResult>(
      transport_, HostOfName(name), spoolss::kInterface, spoolss::kRpcEnumPrinters,
      spoolss::EncodeEnumPrinters(flags, name, level, buffer_size), spoolss::DecodeEnumPrinters);
}

PrinterHandleResult RemotePrinting::OpenPrinter(std::string_view name) {
  return Open(name, spoolss::kPrinterAccessUse);
}

PrinterHandleResult RemotePrinting::Open(std::string_view name, std::uint32_t access) {
  std::string host = HostOfName(name);
  const RpcReply reply = transport_.Call(host, spoolss::kInterface, spoolss::kRpcOpenPrinter,
                                         spoolss::EncodeOpenPrinter(name, access));
  if (reply.status != win::ERROR_SUCCESS) return {reply.status, 0};
  const spoolss::HandleReply opened = spoolss::DecodeOpenPrinter(reply.stub);
  if (opened.status != win::ERROR_SUCCESS) return {opened.status, 0};
  const PrinterHandle number = handles_.Add(opened.handle);
  // A success without a handle cannot be used: the stub was bad.
  if (number == 0) return {win::RPC_X_BAD_STUB_DATA, 0};
  hosts_.emplace(number, std::move(host));
  return {win::ERROR_SUCCESS, number};
}

GetPrinterResult RemotePrinting::GetPrinter(PrinterHandle printer, std::uint32_t level,
                                            std::uint32_t buffer_size) {
  const ndr::ContextHandle* handle = handles_.Find(printer);
  if (handle == nullptr) return Failed<GetPrinterResult>(win::ERROR_INVALID_HANDLE);
  if (level != spoolss::kLevel2) return Failed<GetPrinterResult>(win::ERROR_INVALID_LEVEL);
  if (buffer_size > spoolss::kMaxBufferSize) {
    return Failed<GetPrinterResult>(win::ERROR_NOT_ENOUGH_MEMORY);
  }
  return CallAndDecode<GetPrinterResult>(
      transport_, hosts_.at(printer), spoolss::kInterface, spoolss::kRpcGetPrinter,
      spoolss::EncodeGetPrinter(*handle, level, buffer_size), spoolss::DecodeGetPrinter);
}

bool RemotePrinting::ClosePrinter(PrinterHandle printer) {
  const ndr::ContextHandle* handle = handles_.Find(printer);
  if (handle == nullptr) return false;
  // The handle is gone from the session whatever the server answers.
  const RpcReply reply =
      transport_.Call(hosts_.at(printer), spoolss::kInterface, spoolss::kRpcClosePrinter,
                      spoolss::EncodeClosePrinter(*handle));
  handles_.Remove(printer);
  hosts_.erase(printer);
  return reply.status == win::ERROR_SUCCESS &&
         spoolss::DecodeClosePrinter(reply.stub) == win::ERROR_SUCCESS;
}

NamedSecurityInfo RemotePrinting::PrinterSecurity(std::string_view name,
                                                  std::uint32_t information) {
  const PrinterHandleResult opened = Open(name, spoolss::kReadControl);
  if (opened.status != win::ERROR_SUCCESS) return {opened.status, {}};
  const ndr::ContextHandle* handle = handles_.Find(opened.handle);
  NamedSecurityInfo info = AskDescriptor(information, [&](std::uint32_t size) {
    return CallAndDecode<DescriptorReply>(
        transport_, hosts_.at(opened.handle), spoolss::kInterface, spoolss::kRpcGetPrinter,
        spoolss::EncodeGetPrinter(*handle, spoolss::kLevel3, size),
        spoolss::DecodeGetPrinterSecurity);
  });
  ClosePrinter(opened.handle);
  return info;
}

}  // namespace tabulon::platform::remote
