#include "platform/samba/rpc_worker.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/samba/samba_status.h"
#include "platform/samba/smb_files.h"
#include "platform/samba/worker_frames.h"

#include "platform/samba/samba_credentials.h"

extern "C" {
#include <dcerpc.h>
#include <param.h>
#include <talloc.h>
#include <tevent.h>
}

namespace tabulon::platform::samba {
namespace {

bool ReadAll(int fd, std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::read(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool WriteAll(int fd, const std::vector<std::uint8_t>& bytes) {
  const std::uint8_t* data = bytes.data();
  std::size_t size = bytes.size();
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// The next frame's body; nothing when the parent has closed its end.
std::optional<std::vector<std::uint8_t>> ReadFrame(int fd) {
  std::array<std::uint8_t, 4> prefix{};
  if (!ReadAll(fd, prefix.data(), prefix.size())) return std::nullopt;
  const std::uint32_t length = FrameLength(prefix);
  if (length > kMaxFrameBytes) return std::nullopt;
  std::vector<std::uint8_t> body(length);
  if (!ReadAll(fd, body.data(), body.size())) return std::nullopt;
  return body;
}

// The GUID of a UUID given in the byte order of its string form.
GUID GuidOf(const std::array<std::uint8_t, 16>& u) {
  GUID g{};
  g.time_low =
      (std::uint32_t{u[0]} << 24) | (std::uint32_t{u[1]} << 16) | (std::uint32_t{u[2]} << 8) | u[3];
  g.time_mid = static_cast<std::uint16_t>((u[4] << 8) | u[5]);
  g.time_hi_and_version = static_cast<std::uint16_t>((u[6] << 8) | u[7]);
  std::memcpy(g.clock_seq, &u[8], 2);
  std::memcpy(g.node, &u[10], 6);
  return g;
}

// One bound pipe. The library keeps a pointer to the interface table, so it
// lives as long as the pipe. The table names no calls (stubs are ours); its
// endpoint is the pipe and its authentication service the usual "host", which
// the library reads when it authenticates the bind.
struct BoundPipe {
  std::string name;
  std::string endpoint;
  const char* endpoint_names[1] = {nullptr};
  ndr_interface_string_array endpoints{};
  ndr_interface_string_array authservices{};
  ndr_interface_table table{};
  dcerpc_pipe* pipe = nullptr;
};

constexpr const char* kAuthServices[] = {"host"};

class Worker {
 public:
  explicit Worker(const WorkerSettings& settings) : settings_(settings) {
    root_ = talloc_new(nullptr);
    ev_ = tevent_context_init(root_);
    lp_ = loadparm_init(root_);
    // No smb.conf of the machine: the worker behaves the same everywhere.
    // Loading an empty one completes the defaults.
    lpcfg_load(lp_, "/dev/null");
    lpcfg_set_cmdline(lp_, "smb ports", std::to_string(settings.smb_port).c_str());
    // Names are found through the hosts file and DNS only: no broadcasts.
    lpcfg_set_cmdline(lp_, "name resolve order", "lmhosts host");
    lpcfg_set_cmdline(lp_, "log level", "0");
    dcerpc_init();
  }
  ~Worker() { talloc_free(root_); }  // closes every pipe
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  WorkerReply Serve(const WorkerRequest& q) {
    WorkerReply reply;
    TALLOC_CTX* call = talloc_new(root_);
    const std::string key = KeyOf(q);
    auto found = pipes_.find(key);
    if (found == pipes_.end()) {
      auto bound = std::make_unique<BoundPipe>();
      reply.nt_status = Connect(q, *bound);
      if (reply.nt_status != 0) {
        talloc_free(call);
        return reply;
      }
      found = pipes_.emplace(key, std::move(bound)).first;
    }
    dcerpc_pipe* p = found->second->pipe;
    p->last_fault_code = 0;
    std::uint8_t* out = nullptr;
    std::size_t out_length = 0;
    std::uint32_t out_flags = 0;
    const NTSTATUS status =
        dcerpc_binding_handle_raw_call(p->binding_handle, nullptr, q.opnum, 0, q.stub.data(),
                                       q.stub.size(), call, &out, &out_length, &out_flags);
    reply.nt_status = NT_STATUS_V(status);
    reply.fault = p->last_fault_code;
    if (reply.nt_status == 0) {
      reply.stub.assign(out, out + out_length);
    } else if (reply.fault == 0) {
      // The connection itself failed: the next call connects afresh.
      talloc_free(p);
      pipes_.erase(found);
    }
    talloc_free(call);
    return reply;
  }

 private:
  static std::string KeyOf(const WorkerRequest& q) {
    std::string key = q.server + '\0' + q.pipe + '\0';
    key.append(q.uuid.begin(), q.uuid.end());
    key += std::to_string(q.version_major) + '.' + std::to_string(q.version_minor);
    return key;
  }

  std::uint32_t Connect(const WorkerRequest& q, BoundPipe& bound) {
    if (creds_ == nullptr) {
      if (const std::uint32_t status = MakeCredentials(); status != 0) return status;
    }
    // Authenticated pipes are signed and sealed at the RPC level as well.
    const std::string binding =
        "ncacn_np:" + q.server + "[\\pipe\\" + q.pipe + (anonymous_ ? "" : ",seal") + "]";
    bound.name = q.pipe;
    bound.endpoint = "ncacn_np:[\\pipe\\" + q.pipe + "]";
    bound.endpoint_names[0] = bound.endpoint.c_str();
    bound.endpoints = {1, bound.endpoint_names};
    bound.authservices = {1, kAuthServices};
    bound.table.name = bound.name.c_str();
    bound.table.endpoints = &bound.endpoints;
    bound.table.authservices = &bound.authservices;
    bound.table.syntax_id.uuid = GuidOf(q.uuid);
    bound.table.syntax_id.if_version =
        std::uint32_t{q.version_major} | (std::uint32_t{q.version_minor} << 16);
    const NTSTATUS status =
        dcerpc_pipe_connect(root_, &bound.pipe, binding.c_str(), &bound.table, creds_, ev_, lp_);
    if (!NT_STATUS_IS_OK(status)) {
      return settings_.credentials->use_kerberos ? KerberosConnectStatus(NT_STATUS_V(status))
                                                 : NT_STATUS_V(status);
    }
    bound.pipe->request_timeout = (settings_.call_timeout_ms + 999) / 1000 + 1;
    return 0;
  }

  // The credentials of every connection of this worker; kept because the
  // pipes' security contexts refer to them.
  std::uint32_t MakeCredentials() {
    const Credentials& c = *settings_.credentials;
    int anonymous = 0;
    const std::uint32_t status =
        tabulon_samba_credentials(root_, lp_, ev_, c.username.c_str(), c.password.reveal(),
                                  c.domain.c_str(), c.use_kerberos ? 1 : 0, &creds_, &anonymous);
    anonymous_ = anonymous != 0;
    return status;
  }

  WorkerSettings settings_;
  TALLOC_CTX* root_ = nullptr;
  tevent_context* ev_ = nullptr;
  loadparm_context* lp_ = nullptr;
  cli_credentials* creds_ = nullptr;
  bool anonymous_ = false;
  std::map<std::string, std::unique_ptr<BoundPipe>> pipes_;
};

// The reply to a file request, or EINVAL for one that did not decode.
template <typename Reply, typename Request, typename Serve>
Reply Answer(const std::optional<Request>& request, Serve serve) {
  if (request) return serve(*request);
  Reply reply;
  reply.error = EINVAL;
  return reply;
}

}  // namespace

void RunRpcWorker(int fd, const WorkerSettings& settings) {
  {
    Worker worker(settings);
    SmbFiles files(settings);
    while (auto body = ReadFrame(fd)) {
      const auto serve_file = [&files](const FileRequest& q) { return files.Serve(q); };
      const auto measure = [&files](const DiskSpaceRequest& q) { return files.DiskSpace(q); };
      std::vector<std::uint8_t> frame;
      switch (KindOf(*body).value_or(RequestKind::kRpcCall)) {
        case RequestKind::kListDirectory:
        case RequestKind::kReadFile:
        case RequestKind::kFileSecurity:
          frame = EncodeReply(Answer<FileReply>(DecodeFileRequest(*body), serve_file));
          break;
        case RequestKind::kDiskSpace:
          frame = EncodeReply(Answer<DiskSpaceReply>(DecodeDiskSpaceRequest(*body), measure));
          break;
        case RequestKind::kRpcCall: {
          const auto request = DecodeRequest(*body);
          WorkerReply reply;
          if (request) {
            reply = worker.Serve(*request);
          } else {
            reply.nt_status = kNtStatusInvalidParameter;
          }
          frame = EncodeReply(reply);
          break;
        }
      }
      if (!WriteAll(fd, frame)) break;
    }
  }
  // No exit handlers: they belong to the parent's copy of the program.
  ::_exit(0);
}

}  // namespace tabulon::platform::samba
