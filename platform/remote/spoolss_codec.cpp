#include "platform/remote/spoolss_codec.h"

#include <optional>
#include <string>

#include "platform/byte_reader.h"
#include "platform/remote/codec_support.h"
#include "platform/remote/offset_records.h"
#include "platform/text.h"

namespace tabulon::platform::remote::spoolss {
namespace {

using ndr::NdrReader;
using ndr::NdrWriter;

// A self-relative security descriptor must lie inside `sd` (which runs to
// the buffer's end) with every part it points at.
bool SecurityDescriptorFits(std::span<const std::uint8_t> sd) {
  constexpr std::size_t kHeader = 20;
  constexpr std::uint16_t kSelfRelative = 0x8000;
  if (sd.size() < kHeader) return false;
  if (sd[0] != 1 || (*Le16At(sd, 2) & kSelfRelative) == 0) return false;
  // Owner and group are SIDs (8 bytes and 4 per sub-authority); SACL and
  // DACL are ACLs carrying their own size.
  for (std::size_t part = 0; part < 4; ++part) {
    const std::uint32_t at = *Le32At(sd, 4 + part * 4);
    if (at == 0) continue;
    if (at > sd.size() || sd.size() - at < 8) return false;
    const std::size_t size = part < 2 ? 8 + 4 * std::size_t{sd[at + 1]} : *Le16At(sd, at + 2);
    if (sd.size() - at < size) return false;
  }
  return true;
}

// PRINTER_INFO_2 at `base`: false when it or anything it points at lies
// outside the buffer. The device mode is not kept, so its offset is not
// followed.
bool ReadPrinterInfo2(std::span<const std::uint8_t> buffer, std::size_t base, PrinterInfo2& p) {
  // Its offsets count from its own start.
  const OffsetRecord r(buffer, base, kPrinterInfo2Size, base);
  if (!r.Fits()) return false;
  const bool strings =
      r.String(0, p.server_name) && r.String(1, p.printer_name) && r.String(2, p.share_name) &&
      r.String(3, p.port_name) && r.String(4, p.driver_name) && r.String(5, p.comment) &&
      r.String(6, p.location) && r.String(8, p.sep_file) && r.String(9, p.print_processor) &&
      r.String(10, p.datatype) && r.String(11, p.parameters);
  if (!strings || (r.Field(12) != 0 && !SecurityDescriptorFits(r.Tail(12)))) return false;
  p.attributes = r.Field(13);
  p.priority = r.Field(14);
  p.default_priority = r.Field(15);
  p.start_time = r.Field(16);
  p.until_time = r.Field(17);
  p.status = r.Field(18);
  p.jobs = r.Field(19);
  p.average_ppm = r.Field(20);
  return true;
}

// The [in] buffer: a unique pointer to `size` bytes (zeros), null for none,
// then its size.
void WriteBuffer(NdrWriter& w, std::uint32_t size) {
  w.Pointer(size != 0, [&w, size] { w.ConformantBytes(std::vector<std::uint8_t>(size, 0)); });
  w.U32(size);
}

// The [out] buffer: the same unique pointer, as the server filled it.
std::vector<std::uint8_t> ReadBuffer(NdrReader& r) {
  std::vector<std::uint8_t> buffer;
  r.Pointer([&r, &buffer] { buffer = r.ConformantBytes(); });
  return buffer;
}

}  // namespace

std::vector<std::uint8_t> EncodeEnumPrinters(std::uint32_t flags, std::string_view name,
                                             std::uint32_t level, std::uint32_t buffer_size) {
  NdrWriter w;
  w.U32(flags);
  w.UniqueWideString(OptionalText(name));
  w.U32(level);
  WriteBuffer(w, buffer_size);
  return w.Take();
}

EnumPrintersResult DecodeEnumPrinters(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  EnumPrintersResult result;
  const std::vector<std::uint8_t> buffer = ReadBuffer(r);
  result.bytes_needed = r.U32();
  const std::uint32_t returned = r.U32();
  result.status = r.U32();
  // Records are only there on success; a failed call's buffer is undefined.
  if (!r.ok() || result.status != win::ERROR_SUCCESS) return Finish(r, std::move(result));
  if (std::uint64_t{returned} * kPrinterInfo2Size > buffer.size()) r.Fail();
  if (!r.ok()) return Finish(r, std::move(result));
  result.returned = returned;
  result.printers.resize(returned);
  for (std::size_t i = 0; i < returned; ++i) {
    if (!ReadPrinterInfo2(buffer, i * kPrinterInfo2Size, result.printers[i])) {
      r.Fail();
      break;
    }
  }
  return Finish(r, std::move(result));
}

std::vector<std::uint8_t> EncodeOpenPrinter(std::string_view name, std::uint32_t access) {
  NdrWriter w;
  w.UniqueWideString(OptionalText(name));
  w.UniqueWideString(std::nullopt);  // data type
  // DEVMODE_CONTAINER by reference: no device mode.
  w.U32(0);
  w.Pointer(false, {});
  w.U32(access);
  return w.Take();
}

HandleReply DecodeOpenPrinter(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  HandleReply reply;
  reply.handle = r.Handle();
  reply.status = r.U32();
  return Finish(r, reply);
}

std::vector<std::uint8_t> EncodeGetPrinter(const ndr::ContextHandle& printer, std::uint32_t level,
                                           std::uint32_t buffer_size) {
  NdrWriter w;
  w.Handle(printer);
  w.U32(level);
  WriteBuffer(w, buffer_size);
  return w.Take();
}

GetPrinterResult DecodeGetPrinter(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  GetPrinterResult result;
  const std::vector<std::uint8_t> buffer = ReadBuffer(r);
  result.bytes_needed = r.U32();
  result.status = r.U32();
  if (r.ok() && result.status == win::ERROR_SUCCESS && !ReadPrinterInfo2(buffer, 0, result.info)) {
    r.Fail();
  }
  return Finish(r, std::move(result));
}

DescriptorReply DecodeGetPrinterSecurity(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  DescriptorReply reply;
  const std::vector<std::uint8_t> buffer = ReadBuffer(r);
  reply.bytes_needed = r.U32();
  reply.status = r.U32();
  if (r.ok() && reply.status == win::ERROR_SUCCESS) {
    // The descriptor runs from where the structure's offset points to the
    // end of the buffer; the server puts nothing after it.
    if (buffer.size() < 4) {
      r.Fail();
    } else {
      const std::uint32_t at = *Le32At(buffer, 0);
      if (at != 0 && (at < 4 || at >= buffer.size())) r.Fail();
      if (at != 0 && r.ok()) reply.descriptor.assign(buffer.begin() + at, buffer.end());
    }
  }
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeClosePrinter(const ndr::ContextHandle& printer) {
  NdrWriter w;
  w.Handle(printer);
  return w.Take();
}

win::Status DecodeClosePrinter(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  r.Handle();
  const win::Status status = r.U32();
  return r.ok() ? status : r.status();
}

}  // namespace tabulon::platform::remote::spoolss
