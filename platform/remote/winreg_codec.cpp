#include "platform/remote/winreg_codec.h"

#include <algorithm>
#include <string>

#include "platform/remote/codec_support.h"
#include "platform/text.h"

namespace tabulon::platform::remote::winreg {
namespace {

using ndr::NdrReader;
using ndr::NdrWriter;

// A class buffer for the calls that return a key's class: the family never
// asks for it, but a server may refuse a class that does not fit.
constexpr std::uint32_t kClassBufferChars = 256;

// An RRP_UNICODE_STRING sent to the server: the counts include the
// terminating NUL, which travels with the characters.
void WriteName(NdrWriter& w, std::string_view utf8) {
  std::string units = text::Utf8ToUtf16Le(utf8);
  // The counts are 16-bit bytes: longer names cannot travel.
  if (units.size() > 0xFFFC) units.resize(0xFFFC);
  units.append(2, '\0');
  const auto bytes = static_cast<std::uint16_t>(units.size());
  w.Construct([&] {
    w.Align(4);
    w.U16(bytes);
    w.U16(bytes);
    w.Pointer(true, [&w, units] {
      const auto count = static_cast<std::uint32_t>(units.size() / 2);
      w.U32(count);  // maximum count
      w.U32(0);      // offset
      w.U32(count);  // actual count
      w.Bytes(std::span(reinterpret_cast<const std::uint8_t*>(units.data()), units.size()));
    });
  });
}

// An empty string whose buffer of `chars` units the server fills.
void WriteNameBuffer(NdrWriter& w, std::uint32_t chars) {
  chars = std::min(chars, kMaxNameChars);
  w.Construct([&] {
    w.Align(4);
    w.U16(0);
    w.U16(static_cast<std::uint16_t>(chars * 2));
    w.Pointer(true, [&w, chars] {
      w.U32(chars);  // maximum count
      w.U32(0);      // offset
      w.U32(0);      // actual count: nothing sent
    });
  });
}

// The value parameters of BaseRegQueryValue and BaseRegEnumValue: the type,
// a buffer of `size` bytes with nothing in it, its size and the length sent.
void WriteValueBuffer(NdrWriter& w, std::uint32_t size) {
  size = std::min(size, kMaxDataBytes);
  w.UniqueU32(0);
  w.Pointer(true, [&w, size] {
    w.U32(size);  // maximum count
    w.U32(0);     // offset
    w.U32(0);     // actual count
  });
  w.UniqueU32(size);
  w.UniqueU32(0);
}

std::string Utf8FromUnits(const std::u16string& units) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (const char16_t u : units) {
    bytes.push_back(static_cast<char>(u & 0xFF));
    bytes.push_back(static_cast<char>(u >> 8));
  }
  return text::Utf16LeToUtf8(bytes);
}

// An RPC_UNICODE_STRING from the server. Servers count the terminator in
// the length or leave it out; the name ends at the first NUL either way.
void ReadName(NdrReader& r, NameReply& out) {
  r.Align(4);
  const std::uint16_t length = r.U16();
  const std::uint16_t maximum_length = r.U16();
  if (length > maximum_length || length % 2 != 0) r.Fail();
  r.Pointer([&r, &out, length] {
    std::u16string units = r.WideChars();
    if (units.size() * 2 != length) r.Fail();
    if (const auto nul = units.find(u'\0'); nul != std::u16string::npos) units.resize(nul);
    out.chars = static_cast<std::uint32_t>(units.size());
    out.name = Utf8FromUnits(units);
  });
}

FileTime ReadFileTime(NdrReader& r) {
  const std::uint32_t low = r.U32();
  const std::uint32_t high = r.U32();
  return static_cast<FileTime>((std::uint64_t{high} << 32) | low);
}

// The value parameters of the reply: the array carries as many bytes as the
// length says, and none without one.
void ReadValue(NdrReader& r, ValueReply& value) {
  r.UniqueU32(value.type);
  r.Pointer([&r, &value] {
    const std::uint32_t maximum = r.U32();
    const std::uint32_t actual = r.VaryingCount(maximum, 1, 1);
    value.data.resize(actual);
    for (std::uint8_t& b : value.data) b = r.U8();
  });
  std::uint32_t length = 0;
  r.UniqueU32(value.data_size);
  r.UniqueU32(length);
  if (value.data.size() != length) r.Fail();
}

}  // namespace

std::optional<Opnum> OpenHiveOpnum(RegistryKey hive) {
  switch (hive) {
    case kHkeyClassesRoot:
      return kOpenClassesRoot;
    case kHkeyCurrentUser:
      return kOpenCurrentUser;
    case kHkeyLocalMachine:
      return kOpenLocalMachine;
    case kHkeyUsers:
      return kOpenUsers;
    case kHkeyCurrentConfig:
      return kOpenCurrentConfig;
    default:
      return std::nullopt;
  }
}

std::vector<std::uint8_t> EncodeOpenHive(std::uint32_t access) {
  NdrWriter w;
  w.U32(0);  // ServerName: null
  w.U32(access);
  return w.Take();
}

std::vector<std::uint8_t> EncodeOpenKey(const ndr::ContextHandle& parent, std::string_view subkey,
                                        std::uint32_t access) {
  NdrWriter w;
  w.Handle(parent);
  WriteName(w, subkey);
  w.U32(0);  // dwOptions
  w.U32(access);
  return w.Take();
}

HandleReply DecodeHandleReply(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  HandleReply reply;
  reply.handle = r.Handle();
  reply.status = r.U32();
  return Finish(r, reply);
}

std::vector<std::uint8_t> EncodeCloseKey(const ndr::ContextHandle& key) {
  NdrWriter w;
  w.Handle(key);
  return w.Take();
}

std::vector<std::uint8_t> EncodeQueryValue(const ndr::ContextHandle& key, std::string_view name,
                                           std::uint32_t buffer_size) {
  NdrWriter w;
  w.Handle(key);
  WriteName(w, name);
  WriteValueBuffer(w, buffer_size);
  return w.Take();
}

ValueReply DecodeQueryValue(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  ValueReply reply;
  ReadValue(r, reply);
  reply.status = r.U32();
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeEnumKey(const ndr::ContextHandle& key, std::uint32_t index,
                                        std::uint32_t name_buffer_chars) {
  NdrWriter w;
  w.Handle(key);
  w.U32(index);
  WriteNameBuffer(w, name_buffer_chars);
  w.Pointer(true, [&w] { WriteNameBuffer(w, kClassBufferChars); });
  // lpftLastWriteTime: a FILETIME (two DWORDs) for the server to fill.
  w.Pointer(true, [&w] {
    w.U32(0);
    w.U32(0);
  });
  return w.Take();
}

EnumKeyReply DecodeEnumKey(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  EnumKeyReply reply;
  r.Construct([&] { ReadName(r, reply.name); });
  NameReply key_class;
  r.Pointer([&r, &key_class] { r.Construct([&] { ReadName(r, key_class); }); });
  r.Pointer([&r, &reply] { reply.last_write_time = ReadFileTime(r); });
  reply.status = r.U32();
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeEnumValue(const ndr::ContextHandle& key, std::uint32_t index,
                                          std::uint32_t name_buffer_chars,
                                          std::uint32_t data_buffer_size) {
  NdrWriter w;
  w.Handle(key);
  w.U32(index);
  WriteNameBuffer(w, name_buffer_chars);
  WriteValueBuffer(w, data_buffer_size);
  return w.Take();
}

EnumValueReply DecodeEnumValue(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  EnumValueReply reply;
  r.Construct([&] { ReadName(r, reply.name); });
  ReadValue(r, reply.value);
  reply.status = r.U32();
  reply.value.status = reply.status;
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeQueryInfoKey(const ndr::ContextHandle& key) {
  NdrWriter w;
  w.Handle(key);
  // No buffer for the class, as RegQueryInfoKey sends it when no class is
  // asked for: the exports never read it, and a Samba server faults on an
  // empty buffer.
  w.Construct([&] {
    w.Align(4);
    w.U16(0);
    w.U16(0);
    w.Pointer(false, [] {});
  });
  return w.Take();
}

RegistryKeyInfo DecodeQueryInfoKey(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  RegistryKeyInfo info;
  NameReply key_class;
  r.Construct([&] { ReadName(r, key_class); });
  info.subkeys = r.U32();
  info.max_subkey_name_chars = r.U32();
  info.max_class_chars = r.U32();
  info.values = r.U32();
  info.max_value_name_chars = r.U32();
  info.max_value_data_bytes = r.U32();
  r.U32();  // lpcbSecurityDescriptor
  info.last_write_time = ReadFileTime(r);
  info.status = r.U32();
  return Finish(r, info);
}

std::vector<std::uint8_t> EncodeGetKeySecurity(const ndr::ContextHandle& key,
                                               std::uint32_t information,
                                               std::uint32_t buffer_size) {
  NdrWriter w;
  w.Handle(key);
  w.U32(information);
  // RPC_SECURITY_DESCRIPTOR: an empty buffer of `buffer_size` bytes.
  w.Construct([&w, buffer_size] {
    w.Pointer(true, [&w, buffer_size] {
      w.U32(buffer_size);
      w.U32(0);
      w.U32(0);
    });
    w.U32(buffer_size);
    w.U32(0);
  });
  return w.Take();
}

DescriptorReply DecodeGetKeySecurity(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  DescriptorReply reply;
  std::uint32_t in_size = 0, out_size = 0;
  r.Construct([&] {
    r.Pointer([&r, &reply] {
      const std::uint32_t maximum = r.U32();
      const std::uint32_t actual = r.VaryingCount(maximum, 1, 1);
      reply.descriptor.resize(actual);
      for (std::uint8_t& b : reply.descriptor) b = r.U8();
    });
    in_size = r.U32();
    out_size = r.U32();
  });
  reply.status = r.U32();
  if (reply.status == win::ERROR_SUCCESS && reply.descriptor.size() != out_size) r.Fail();
  // A short buffer comes back with the size it needs in its own size field.
  reply.bytes_needed = in_size;
  if (reply.status != win::ERROR_SUCCESS) reply.descriptor.clear();
  return Finish(r, std::move(reply));
}

}  // namespace tabulon::platform::remote::winreg
