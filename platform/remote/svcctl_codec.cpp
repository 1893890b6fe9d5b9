#include "platform/remote/svcctl_codec.h"

#include <algorithm>
#include <string>

#include "platform/remote/codec_support.h"
#include "platform/remote/offset_records.h"
#include "platform/text.h"

namespace tabulon::platform::remote::svcctl {
namespace {

using ndr::NdrReader;
using ndr::NdrWriter;

// ENUM_SERVICE_STATUSW in the returned buffer: two string offsets and
// SERVICE_STATUS (seven DWORDs).
constexpr std::size_t kEnumEntrySize = 36;

// The dependency list travels as one string whose names are separated by
// NULs or by '/' (a character no service or group name may hold).
std::vector<std::string> SplitDependencies(const std::u16string& units) {
  std::vector<std::string> names;
  std::string current;
  auto flush = [&] {
    if (!current.empty()) names.push_back(text::Utf16LeToUtf8(current));
    current.clear();
  };
  for (const char16_t u : units) {
    if (u == 0 || u == u'/') {
      flush();
    } else {
      current.push_back(static_cast<char>(u & 0xFF));
      current.push_back(static_cast<char>(u >> 8));
    }
  }
  flush();
  return names;
}

}  // namespace

std::vector<std::uint8_t> EncodeOpenSCManager(std::string_view machine, std::uint32_t access) {
  NdrWriter w;
  w.UniqueWideString(OptionalText(machine));
  w.UniqueWideString(std::nullopt);  // the active database
  w.U32(access);
  return w.Take();
}

std::vector<std::uint8_t> EncodeOpenService(const ndr::ContextHandle& manager,
                                            std::string_view service_name, std::uint32_t access) {
  NdrWriter w;
  w.Handle(manager);
  w.WideString(service_name);
  w.U32(access);
  return w.Take();
}

HandleReply DecodeOpenReply(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  HandleReply reply;
  reply.handle = r.Handle();
  reply.status = r.U32();
  return Finish(r, reply);
}

std::vector<std::uint8_t> EncodeEnumServicesStatus(const ndr::ContextHandle& manager,
                                                   std::uint32_t service_type,
                                                   std::uint32_t service_state,
                                                   std::uint32_t buffer_size,
                                                   std::uint32_t resume_index) {
  NdrWriter w;
  w.Handle(manager);
  w.U32(service_type);
  w.U32(service_state);
  w.U32(std::min(buffer_size, kMaxEnumBufferSize));
  w.UniqueU32(resume_index);
  return w.Take();
}

EnumServicesResult DecodeEnumServicesStatus(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  EnumServicesResult result;
  const std::vector<std::uint8_t> buffer = r.ConformantBytes();
  result.bytes_needed = r.U32();
  result.services_returned = r.U32();
  r.UniqueU32(result.resume_handle);
  result.status = r.U32();
  if (std::uint64_t{result.services_returned} * kEnumEntrySize > buffer.size()) r.Fail();
  if (!r.ok()) return Finish(r, std::move(result));
  result.services.resize(result.services_returned);
  for (std::size_t i = 0; i < result.services.size(); ++i) {
    EnumServiceStatus& s = result.services[i];
    // Entries count their offsets from the buffer's start.
    const OffsetRecord entry(buffer, i * kEnumEntrySize, kEnumEntrySize, 0);
    if (!entry.String(0, s.service_name) || !entry.String(1, s.display_name)) {
      r.Fail();
      break;
    }
    s.service_type = entry.Field(2);
    s.current_state = entry.Field(3);
    s.controls_accepted = entry.Field(4);
    s.win32_exit_code = entry.Field(5);
    s.service_specific_exit_code = entry.Field(6);
    s.check_point = entry.Field(7);
    s.wait_hint = entry.Field(8);
  }
  return Finish(r, std::move(result));
}

std::vector<std::uint8_t> EncodeQueryServiceConfig(const ndr::ContextHandle& service,
                                                   std::uint32_t buffer_size) {
  NdrWriter w;
  w.Handle(service);
  w.U32(std::min(buffer_size, kMaxConfigBufferSize));
  return w.Take();
}

ServiceConfigResult DecodeQueryServiceConfig(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  ServiceConfigResult result;
  ServiceConfig& c = result.config;
  r.Construct([&] {
    c.service_type = r.U32();
    c.start_type = r.U32();
    c.error_control = r.U32();
    r.UniqueWideString(c.binary_path_name);
    r.UniqueWideString(c.load_order_group);
    c.tag_id = r.U32();
    r.Pointer([&] { c.dependencies = SplitDependencies(r.WideChars()); });
    r.UniqueWideString(c.service_start_name);
    r.UniqueWideString(c.display_name);
  });
  result.bytes_needed = r.U32();
  result.status = r.U32();
  return Finish(r, std::move(result));
}

std::vector<std::uint8_t> EncodeQueryServiceObjectSecurity(const ndr::ContextHandle& service,
                                                           std::uint32_t information,
                                                           std::uint32_t buffer_size) {
  NdrWriter w;
  w.Handle(service);
  w.U32(information);
  w.U32(std::min(buffer_size, kMaxSecurityBufferSize));
  return w.Take();
}

DescriptorReply DecodeQueryServiceObjectSecurity(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  DescriptorReply reply;
  // The whole buffer comes back, the descriptor at its start.
  reply.descriptor = r.ConformantBytes();
  reply.bytes_needed = r.U32();
  reply.status = r.U32();
  if (reply.status != win::ERROR_SUCCESS) reply.descriptor.clear();
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeCloseServiceHandle(const ndr::ContextHandle& handle) {
  NdrWriter w;
  w.Handle(handle);
  return w.Take();
}

win::Status DecodeCloseServiceHandle(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  r.Handle();
  const win::Status status = r.U32();
  return r.ok() ? status : r.status();
}

}  // namespace tabulon::platform::remote::svcctl
