#include "platform/remote/srvsvc_codec.h"

#include "platform/remote/codec_support.h"

namespace tabulon::platform::remote::srvsvc {
namespace {

using ndr::NdrReader;
using ndr::NdrWriter;

// The tail every Enum call shares: preferred length and the resume handle.
void WriteEnumTail(NdrWriter& w, std::uint32_t preferred_max_length, std::uint32_t resume_handle) {
  w.U32(preferred_max_length);
  w.UniqueU32(resume_handle);
}

// Total entries, resume handle and the NET_API_STATUS. A complete listing
// has nowhere to resume: its handle is 0, whatever the server left there
// (Samba leaves the count of entries of some listings).
template <class Result>
Result ReadEnumTail(NdrReader& r, Result result) {
  result.total_entries = r.U32();
  r.UniqueU32(result.resume_handle);
  result.status = r.U32();
  if (result.status != win::ERROR_MORE_DATA) result.resume_handle = 0;
  return Finish(r, std::move(result));
}

// A [string, unique] wchar_t* whose text nobody needs (a share password).
void SkipWideString(NdrReader& r) {
  r.Pointer([&r] { r.WideString(); });
}

// SHARE_INFO_502_I: the level 1 fields, permissions, uses, path, password
// and the security descriptor sized by the field before it; the strings and
// the descriptor are deferred to the end of the enclosing construct.
void ReadShareInfo502(NdrReader& r, ShareInfo& e) {
  r.UniqueWideString(e.netname);
  e.type = r.U32();
  r.UniqueWideString(e.remark);
  e.permissions = r.U32();
  e.max_uses = r.U32();
  e.current_uses = r.U32();
  r.UniqueWideString(e.path);
  SkipWideString(r);
  const std::uint32_t sd_size = r.U32();
  r.Pointer([&r, &e, sd_size] {
    e.security_descriptor = r.ConformantBytes();
    if (e.security_descriptor.size() != sd_size) r.Fail();
  });
}

}  // namespace

std::vector<std::uint8_t> EncodeServerGetInfo(std::string_view server, std::uint32_t level) {
  NdrWriter w;
  w.UniqueWideString(OptionalText(server));
  w.U32(level);
  return w.Take();
}

ServerInfoResult DecodeServerGetInfo101(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  ServerInfoResult result;
  r.Construct([&] {
    if (r.U32() != 101) r.Fail();
    r.Pointer([&] {
      ServerInfo101& info = result.info;
      info.platform_id = r.U32();
      r.UniqueWideString(info.name);
      info.version_major = r.U32();
      info.version_minor = r.U32();
      info.type = r.U32();
      r.UniqueWideString(info.comment);
    });
  });
  result.status = r.U32();
  return Finish(r, std::move(result));
}

std::vector<std::uint8_t> EncodeShareEnum(std::string_view server, std::uint32_t level,
                                          std::uint32_t preferred_max_length,
                                          std::uint32_t resume_handle) {
  NdrWriter w;
  w.UniqueWideString(OptionalText(server));
  WriteEmptyEnumStruct(w, level);
  WriteEnumTail(w, preferred_max_length, resume_handle);
  return w.Take();
}

ShareEnumResult DecodeShareEnum(std::span<const std::uint8_t> stub, std::uint32_t level) {
  NdrReader r(stub);
  ShareEnumResult result;
  if (level == 1) {
    // SHARE_INFO_1: netname, type, remark.
    ReadEnumStruct<ShareInfo>(r, level, result.entries, 12, [&r](ShareInfo& e) {
      r.UniqueWideString(e.netname);
      e.type = r.U32();
      r.UniqueWideString(e.remark);
    });
  } else if (level == 502) {
    // SHARE_INFO_502_I: the level 1 fields, permissions, uses, path, password
    // and the security descriptor sized by the field before it.
    ReadEnumStruct<ShareInfo>(r, level, result.entries, 40,
                              [&r](ShareInfo& e) { ReadShareInfo502(r, e); });
  } else {
    r.Fail();
  }
  return ReadEnumTail(r, std::move(result));
}

DescriptorReply DecodeShareGetInfo1501(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  DescriptorReply reply;
  r.Construct([&] {
    if (r.U32() != 1501) r.Fail();
    // SHARE_INFO_1501_I: the descriptor's size, then the descriptor.
    r.Pointer([&] {
      r.Construct([&] {
        const std::uint32_t size = r.U32();
        r.Pointer([&r, &reply, size] {
          reply.descriptor = r.ConformantBytes();
          if (reply.descriptor.size() != size) r.Fail();
        });
      });
    });
  });
  reply.status = r.U32();
  if (reply.status != win::ERROR_SUCCESS) reply.descriptor.clear();
  return Finish(r, std::move(reply));
}

std::vector<std::uint8_t> EncodeShareGetInfo(std::string_view server, std::string_view netname,
                                             std::uint32_t level) {
  NdrWriter w;
  w.UniqueWideString(OptionalText(server));
  w.WideString(netname);
  w.U32(level);
  return w.Take();
}

ShareGetInfoResult DecodeShareGetInfo0(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  ShareGetInfoResult result;
  r.Construct([&] {
    if (r.U32() != 0) r.Fail();
    r.Pointer([&] { r.UniqueWideString(result.netname); });
  });
  result.status = r.U32();
  return Finish(r, std::move(result));
}

std::vector<std::uint8_t> EncodeConnectionEnum(std::string_view server, std::string_view qualifier,
                                               std::uint32_t level,
                                               std::uint32_t preferred_max_length,
                                               std::uint32_t resume_handle) {
  NdrWriter w;
  w.UniqueWideString(OptionalText(server));
  w.UniqueWideString(OptionalText(qualifier));
  WriteEmptyEnumStruct(w, level);
  WriteEnumTail(w, preferred_max_length, resume_handle);
  return w.Take();
}

ConnectionEnumResult DecodeConnectionEnum1(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  ConnectionEnumResult result;
  ReadEnumStruct<ConnectionInfo1>(r, 1, result.entries, 28, [&r](ConnectionInfo1& e) {
    e.id = r.U32();
    e.type = r.U32();
    e.num_opens = r.U32();
    e.num_users = r.U32();
    e.time = r.U32();
    r.UniqueWideString(e.username);
    r.UniqueWideString(e.netname);
  });
  return ReadEnumTail(r, std::move(result));
}

std::vector<std::uint8_t> EncodeSessionEnum(std::string_view server, std::string_view client_name,
                                            std::string_view user_name, std::uint32_t level,
                                            std::uint32_t preferred_max_length,
                                            std::uint32_t resume_handle) {
  NdrWriter w;
  w.UniqueWideString(OptionalText(server));
  w.UniqueWideString(OptionalText(client_name));
  w.UniqueWideString(OptionalText(user_name));
  WriteEmptyEnumStruct(w, level);
  WriteEnumTail(w, preferred_max_length, resume_handle);
  return w.Take();
}

SessionEnumResult DecodeSessionEnum(std::span<const std::uint8_t> stub, std::uint32_t level) {
  NdrReader r(stub);
  SessionEnumResult result;
  if (level != 1 && level != 502) r.Fail();
  // SESSION_INFO_1 is the first six fields of SESSION_INFO_502.
  const bool full = level == 502;
  ReadEnumStruct<SessionInfo>(r, level, result.entries, full ? 32 : 24, [&r, full](SessionInfo& e) {
    r.UniqueWideString(e.cname);
    r.UniqueWideString(e.username);
    e.num_opens = r.U32();
    e.time = r.U32();
    e.idle_time = r.U32();
    e.user_flags = r.U32();
    if (full) {
      r.UniqueWideString(e.cltype_name);
      r.UniqueWideString(e.transport);
    }
  });
  return ReadEnumTail(r, std::move(result));
}

std::vector<std::uint8_t> EncodeFileEnum(std::string_view server, std::string_view base_path,
                                         std::string_view user_name, std::uint32_t level,
                                         std::uint32_t preferred_max_length,
                                         std::uint32_t resume_handle) {
  return EncodeSessionEnum(server, base_path, user_name, level, preferred_max_length,
                           resume_handle);
}

FileEnumResult DecodeFileEnum3(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  FileEnumResult result;
  ReadEnumStruct<FileInfo3>(r, 3, result.entries, 20, [&r](FileInfo3& e) {
    e.id = r.U32();
    e.permissions = r.U32();
    e.num_locks = r.U32();
    r.UniqueWideString(e.pathname);
    r.UniqueWideString(e.username);
  });
  return ReadEnumTail(r, std::move(result));
}

std::vector<std::uint8_t> EncodeServerDiskEnum(std::string_view server, std::uint32_t level,
                                               std::uint32_t preferred_max_length,
                                               std::uint32_t resume_handle) {
  NdrWriter w;
  w.UniqueWideString(OptionalText(server));
  w.U32(level);
  // DISK_ENUM_CONTAINER, passed in empty: no entries, null buffer.
  w.U32(0);
  w.U32(0);
  WriteEnumTail(w, preferred_max_length, resume_handle);
  return w.Take();
}

ServerDiskEnumResult DecodeServerDiskEnum0(std::span<const std::uint8_t> stub) {
  NdrReader r(stub);
  ServerDiskEnumResult result;
  r.Construct([&] {
    const std::uint32_t entries_read = r.U32();
    r.Pointer([&r, &result, entries_read] {
      // A conformant-varying array of DISK_INFO, each a varying WCHAR[3]:
      // offset, count and the characters, the next entry 4-aligned.
      const std::uint32_t max_count = r.U32();
      const std::uint32_t count = r.VaryingCount(max_count, 8, sizeof(std::string));
      if (count != entries_read) r.Fail();
      for (std::uint32_t i = 0; i < count && r.ok(); ++i) {
        r.Align(4);
        const std::uint32_t offset = r.U32();
        const std::uint32_t chars = r.U32();
        if (offset != 0 || chars > 3) r.Fail();
        std::string disk;
        for (std::uint32_t c = 0; c < chars && r.ok(); ++c) {
          const std::uint16_t unit = r.U16();
          if (unit == 0) continue;
          if (unit > 0x7F) r.Fail();  // a drive letter and a colon
          disk.push_back(static_cast<char>(unit));
        }
        if (!disk.empty()) result.disks.push_back(std::move(disk));
      }
    });
  });
  result.total_entries = r.U32();
  std::uint32_t resume_handle = 0;  // the server ignores it
  r.UniqueU32(resume_handle);
  result.status = r.U32();
  return Finish(r, std::move(result));
}

}  // namespace tabulon::platform::remote::srvsvc
