#pragma once
// The print spooler of a server over the spoolss interface. Printer context
// handles stay in the session under PrinterHandle numbers; those its user
// leaves open are closed on the server when the session ends.
#include <map>
#include <string>

#include "platform/object_security.h"
#include "platform/printing.h"
#include "platform/remote/rpc_transport.h"
#include "platform/remote/service_handle_table.h"

namespace tabulon::platform::remote {

class RemotePrinting final : public Printing {
 public:
  // Names without a server ("" or a bare printer name) are on `target`.
  RemotePrinting(RpcTransport& transport, std::string_view target);
  ~RemotePrinting() override;
  RemotePrinting(const RemotePrinting&) = delete;
  RemotePrinting& operator=(const RemotePrinting&) = delete;

  EnumPrintersResult EnumPrinters(std::uint32_t flags, std::string_view name, std::uint32_t level,
                                  std::uint32_t buffer_size) override;
  PrinterHandleResult OpenPrinter(std::string_view name) override;
  GetPrinterResult GetPrinter(PrinterHandle printer, std::uint32_t level,
                              std::uint32_t buffer_size) override;
  bool ClosePrinter(PrinterHandle printer) override;

  // What GetNamedSecurityInfoW does for a printer: opened for READ_CONTROL,
  // GetPrinter at level 3, closed again.
  NamedSecurityInfo PrinterSecurity(std::string_view name, std::uint32_t information);

 private:
  // The server a name is on: "\\SERVER" or "\\SERVER\Printer" name it,
  // anything else is on the target.
  std::string HostOfName(std::string_view name) const;
  PrinterHandleResult Open(std::string_view name, std::uint32_t access);

  RpcTransport& transport_;
  std::string target_host_;
  // Context handles are numbered the same way for printers as for services.
  ServiceHandleTable handles_;
  std::map<PrinterHandle, std::string> hosts_;
};

}  // namespace tabulon::platform::remote
