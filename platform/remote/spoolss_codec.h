#pragma once
// The print spooler interface: request stubs for the calls the printers
// export makes and decoders of their responses. Printer records travel as a
// flat byte buffer (fixed parts, then strings reached by offsets from the
// start of each record), which is decoded here with every offset checked
// against the buffer; the sizing fields are passed on as the server filled
// them.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/printing.h"
#include "platform/remote/codec_support.h"
#include "platform/remote/ndr/context_handle.h"
#include "platform/remote/rpc_transport.h"

namespace tabulon::platform::remote::spoolss {

inline constexpr RpcInterface kInterface{"spoolss",
                                         {0x12, 0x34, 0x56, 0x78, 0x12, 0x34, 0xab, 0xcd, 0xef,
                                          0x00, 0x01, 0x23, 0x45, 0x67, 0x89, 0xab},
                                         1,
                                         0};

enum Opnum : std::uint16_t {
  kRpcEnumPrinters = 0,
  kRpcOpenPrinter = 1,
  kRpcGetPrinter = 8,
  kRpcClosePrinter = 29,
};

// What an open with default access asks for: enough to read the printer.
inline constexpr std::uint32_t kPrinterAccessUse = 0x00000008;
inline constexpr std::uint32_t kReadControl = 0x00020000;

// The only record level decoded; it is the one the family gives records at.
inline constexpr std::uint32_t kLevel2 = 2;
inline constexpr std::uint32_t kLevel3 = 3;  // PRINTER_INFO_3: the security descriptor
// The fixed part of a level 2 record: 13 offsets and 8 numbers.
inline constexpr std::size_t kPrinterInfo2Size = 84;

// The buffer of a request travels in the request itself, so a larger one
// than this is refused before anything is sent.
inline constexpr std::uint32_t kMaxBufferSize = 16u << 20;

struct HandleReply {
  win::Status status = win::ERROR_SUCCESS;
  ndr::ContextHandle handle;
};

// An empty name is sent as a null pointer (this server).
std::vector<std::uint8_t> EncodeEnumPrinters(std::uint32_t flags, std::string_view name,
                                             std::uint32_t level, std::uint32_t buffer_size);
// Level 2 records, bytes needed and records returned.
EnumPrintersResult DecodeEnumPrinters(std::span<const std::uint8_t> stub);

// No data type and no device mode: the printer's own defaults.
std::vector<std::uint8_t> EncodeOpenPrinter(std::string_view name, std::uint32_t access);
HandleReply DecodeOpenPrinter(std::span<const std::uint8_t> stub);

std::vector<std::uint8_t> EncodeGetPrinter(const ndr::ContextHandle& printer, std::uint32_t level,
                                           std::uint32_t buffer_size);
// The level 2 record and bytes needed.
GetPrinterResult DecodeGetPrinter(std::span<const std::uint8_t> stub);
// The reply of GetPrinter at level 3: the descriptor PRINTER_INFO_3 points
// to inside the buffer (empty when it points nowhere).
DescriptorReply DecodeGetPrinterSecurity(std::span<const std::uint8_t> stub);

std::vector<std::uint8_t> EncodeClosePrinter(const ndr::ContextHandle& printer);
win::Status DecodeClosePrinter(std::span<const std::uint8_t> stub);

}  // namespace tabulon::platform::remote::spoolss
