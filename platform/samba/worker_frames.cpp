#include "platform/samba/worker_frames.h"

#include <algorithm>

#include "platform/byte_reader.h"
#include "platform/remote/srvsvc_codec.h"
#include "platform/text.h"

namespace tabulon::platform::samba {
namespace {

class Writer {
 public:
  // `capacity`: the whole frame's size when known, so that the buffer is
  // never moved while it grows.
  explicit Writer(std::size_t capacity = 0) {
    bytes_.reserve(capacity);
    bytes_.resize(4);  // the length prefix, filled in by Finish
  }
  void U8(std::uint8_t v) { bytes_.push_back(v); }
  void U16(std::uint16_t v) { Uint(v, 2); }
  void U32(std::uint32_t v) { Uint(v, 4); }
  void U64(std::uint64_t v) { Uint(v, 8); }
  void Bytes(std::span<const std::uint8_t> b) {
    U32(static_cast<std::uint32_t>(b.size()));
    bytes_.insert(bytes_.end(), b.begin(), b.end());
  }
  void Text(std::string_view s) {
    Bytes({reinterpret_cast<const std::uint8_t*>(s.data()), s.size()});
  }
  void Raw(std::span<const std::uint8_t> b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
  std::vector<std::uint8_t> Finish() && {
    const auto body = static_cast<std::uint32_t>(bytes_.size() - 4);
    for (int i = 0; i < 4; ++i) bytes_[i] = static_cast<std::uint8_t>(body >> (8 * i));
    return std::move(bytes_);
  }

 private:
  void Uint(std::uint64_t v, int size) {
    for (int i = 0; i < size; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  std::vector<std::uint8_t> bytes_;
};

// The frames' own fields over the byte reader: counted byte strings and
// texts (a 32-bit length, then the bytes).
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> b) : r_(b) {}
  bool U8(std::uint8_t& v) { return r_.U8(v); }
  bool U16(std::uint16_t& v) { return r_.U16(v); }
  bool U32(std::uint32_t& v) { return r_.U32(v); }
  bool U64(std::uint64_t& v) { return r_.U64(v); }
  // The next counted bytes, in place.
  bool View(std::span<const std::uint8_t>& out) {
    std::uint32_t n = 0;
    return r_.U32(n) && r_.Take(n, out);
  }
  bool Bytes(std::vector<std::uint8_t>& out) {
    std::span<const std::uint8_t> view;
    if (!View(view)) return false;
    out.assign(view.begin(), view.end());
    return true;
  }
  bool Text(std::string& out) {
    std::span<const std::uint8_t> view;
    if (!View(view)) return false;
    out.assign(view.begin(), view.end());
    return true;
  }
  bool Raw(std::span<std::uint8_t> out) {
    std::span<const std::uint8_t> view;
    if (!r_.Take(out.size(), view)) return false;
    std::copy(view.begin(), view.end(), out.begin());
    return true;
  }
  bool AtEnd() const { return r_.AtEnd(); }

 private:
  ByteReader r_;
};

}  // namespace

std::vector<std::uint8_t> EncodeLogon(const Credentials& credentials, std::uint16_t smb_port,
                                      std::uint32_t call_timeout_ms) {
  const std::string_view password(credentials.password.reveal(), credentials.password.size());
  Writer w(4 + 3 * 4 + credentials.username.size() + password.size() + credentials.domain.size() +
           1 + 2 + 4);
  w.Text(credentials.username);
  w.Bytes({reinterpret_cast<const std::uint8_t*>(password.data()), password.size()});
  w.Text(credentials.domain);
  w.U8(credentials.use_kerberos ? 1 : 0);
  w.U16(smb_port);
  w.U32(call_timeout_ms);
  return std::move(w).Finish();
}

std::optional<WorkerLogon> DecodeLogon(std::span<const std::uint8_t> body) {
  Reader r(body);
  WorkerLogon logon;
  std::span<const std::uint8_t> password;
  std::uint8_t kerberos = 0;
  if (!r.Text(logon.credentials.username) || !r.View(password) ||
      !r.Text(logon.credentials.domain) || !r.U8(kerberos) || kerberos > 1 ||
      !r.U16(logon.smb_port) || !r.U32(logon.call_timeout_ms) || !r.AtEnd()) {
    return std::nullopt;
  }
  logon.credentials.password =
      Secret(std::string_view(reinterpret_cast<const char*>(password.data()), password.size()));
  logon.credentials.use_kerberos = kerberos == 1;
  return logon;
}

std::vector<std::uint8_t> EncodeRequest(const WorkerRequest& request) {
  Writer w;
  w.U8(static_cast<std::uint8_t>(RequestKind::kRpcCall));
  w.Text(request.server);
  w.Text(request.pipe);
  w.Raw(request.uuid);
  w.U16(request.version_major);
  w.U16(request.version_minor);
  w.U16(request.opnum);
  w.Bytes(request.stub);
  return std::move(w).Finish();
}

std::vector<std::uint8_t> EncodeRequest(const DiskSpaceRequest& request) {
  Writer w;
  w.U8(static_cast<std::uint8_t>(RequestKind::kDiskSpace));
  w.Text(request.server);
  w.Text(request.share);
  w.Text(request.directory);
  return std::move(w).Finish();
}

std::vector<std::uint8_t> EncodeReply(const DiskSpaceReply& reply) {
  Writer w;
  w.U32(reply.error);
  w.U64(reply.total_bytes);
  w.U64(reply.total_free_bytes);
  w.U64(reply.free_bytes_available);
  return std::move(w).Finish();
}

std::vector<std::uint8_t> EncodeReply(const WorkerReply& reply) {
  Writer w;
  w.U32(reply.nt_status);
  w.U32(reply.fault);
  w.Bytes(reply.stub);
  return std::move(w).Finish();
}

std::vector<std::uint8_t> EncodeRequest(const FileRequest& request) {
  Writer w;
  w.U8(static_cast<std::uint8_t>(request.kind));
  w.Text(request.server);
  w.Text(request.share);
  w.Text(request.path);
  w.U8(request.resume ? 1 : 0);
  w.U64(request.offset);
  w.U32(request.size);
  return std::move(w).Finish();
}

std::vector<std::uint8_t> EncodeReply(const FileReply& reply) {
  Writer w;
  w.U32(reply.error);
  w.U32(static_cast<std::uint32_t>(reply.items.size()));
  for (const FindData& item : reply.items) {
    w.U32(item.attributes);
    w.U64(item.creation_time);
    w.U64(item.last_access_time);
    w.U64(item.last_write_time);
    w.U64(item.size);
    w.U64(item.file_id);
    w.Text(item.name);
  }
  w.U8(reply.more ? 1 : 0);
  w.Bytes(reply.bytes);
  w.Text(reply.text);
  return std::move(w).Finish();
}

std::optional<RequestKind> KindOf(std::span<const std::uint8_t> body) {
  if (body.empty()) return std::nullopt;
  const auto kind = static_cast<RequestKind>(body[0]);
  if (body[0] < static_cast<std::uint8_t>(RequestKind::kRpcCall) ||
      body[0] > static_cast<std::uint8_t>(RequestKind::kFileSecurity)) {
    return std::nullopt;
  }
  return kind;
}

std::optional<FileRequest> DecodeFileRequest(std::span<const std::uint8_t> body) {
  const std::optional<RequestKind> kind = KindOf(body);
  if (kind != RequestKind::kListDirectory && kind != RequestKind::kReadFile &&
      kind != RequestKind::kFileSecurity) {
    return std::nullopt;
  }
  Reader r(body.subspan(1));
  FileRequest q;
  q.kind = *kind;
  std::uint8_t resume = 0;
  if (r.Text(q.server) && r.Text(q.share) && r.Text(q.path) && r.U8(resume) && resume <= 1 &&
      r.U64(q.offset) && r.U32(q.size) && r.AtEnd()) {
    q.resume = resume == 1;
    return q;
  }
  return std::nullopt;
}

std::optional<FileReply> DecodeFileReply(std::span<const std::uint8_t> body) {
  Reader r(body);
  FileReply a;
  std::uint32_t count = 0;
  if (!r.U32(a.error) || !r.U32(count)) return std::nullopt;
  for (std::uint32_t i = 0; i < count; ++i) {
    FindData item;
    if (!r.U32(item.attributes) || !r.U64(item.creation_time) || !r.U64(item.last_access_time) ||
        !r.U64(item.last_write_time) || !r.U64(item.size) || !r.U64(item.file_id) ||
        !r.Text(item.name)) {
      return std::nullopt;
    }
    a.items.push_back(std::move(item));
  }
  std::uint8_t more = 0;
  if (r.U8(more) && more <= 1 && r.Bytes(a.bytes) && r.Text(a.text) && r.AtEnd()) {
    a.more = more == 1;
    return a;
  }
  return std::nullopt;
}

std::optional<WorkerRequest> DecodeRequest(std::span<const std::uint8_t> body) {
  if (KindOf(body) != RequestKind::kRpcCall) return std::nullopt;
  Reader r(body.subspan(1));
  WorkerRequest q;
  if (r.Text(q.server) && r.Text(q.pipe) && r.Raw(q.uuid) && r.U16(q.version_major) &&
      r.U16(q.version_minor) && r.U16(q.opnum) && r.Bytes(q.stub) && r.AtEnd()) {
    return q;
  }
  return std::nullopt;
}

std::optional<DiskSpaceRequest> DecodeDiskSpaceRequest(std::span<const std::uint8_t> body) {
  if (KindOf(body) != RequestKind::kDiskSpace) return std::nullopt;
  Reader r(body.subspan(1));
  DiskSpaceRequest q;
  if (r.Text(q.server) && r.Text(q.share) && r.Text(q.directory) && r.AtEnd()) return q;
  return std::nullopt;
}

std::optional<DiskSpaceReply> DecodeDiskSpaceReply(std::span<const std::uint8_t> body) {
  Reader r(body);
  DiskSpaceReply a;
  if (r.U32(a.error) && r.U64(a.total_bytes) && r.U64(a.total_free_bytes) &&
      r.U64(a.free_bytes_available) && r.AtEnd()) {
    return a;
  }
  return std::nullopt;
}

std::optional<WorkerReply> DecodeReply(std::span<const std::uint8_t> body) {
  Reader r(body);
  WorkerReply a;
  if (r.U32(a.nt_status) && r.U32(a.fault) && r.Bytes(a.stub) && r.AtEnd()) return a;
  return std::nullopt;
}

std::uint32_t FrameLength(std::span<const std::uint8_t, 4> prefix) {
  return *Le32At(prefix, 0);
}

std::string FileConnectionKey(std::string_view server, std::string_view share) {
  return text::ToLower(server) + '/' + text::ToLower(share);
}

bool ListsServerClients(const WorkerRequest& request) {
  namespace srvsvc = remote::srvsvc;
  if (request.pipe != srvsvc::kInterface.pipe) return false;
  switch (request.opnum) {
    case srvsvc::kNetrConnectionEnum:
    case srvsvc::kNetrFileEnum:
    case srvsvc::kNetrSessionEnum:
    case srvsvc::kNetrShareEnum:
      return true;
    default:
      return false;
  }
}

}  // namespace tabulon::platform::samba
