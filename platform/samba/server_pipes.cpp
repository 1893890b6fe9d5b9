#include "platform/samba/server_pipes.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/samba/samba_credentials.h"
#include "platform/samba/samba_status.h"

extern "C" {
#include <dcerpc.h>
#include <param.h>
#include <talloc.h>
#include <tevent.h>
}

namespace tabulon::platform::samba {
namespace {

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

std::string KeyOf(const WorkerRequest& q) {
  std::string key = q.pipe + '\0';
  key.append(q.uuid.begin(), q.uuid.end());
  key += std::to_string(q.version_major) + '.' + std::to_string(q.version_minor);
  return key;
}

constexpr const char* kAuthServices[] = {"host"};

// What opening a pipe on a connection answers when the connection itself has
// gone since its last use (the server reset or closed it): the server is
// connected to afresh rather than the pipe reported as failed.
constexpr std::array<std::uint32_t, 13> kConnectionGone{
    0xC0000011,  // END_OF_FILE
    0xC00000B0,  // PIPE_DISCONNECTED
    0xC00000C3,  // INVALID_NETWORK_RESPONSE
    0xC00000C4,  // UNEXPECTED_NETWORK_ERROR
    0xC00000C9,  // NETWORK_NAME_DELETED
    0xC000013B,  // LOCAL_DISCONNECT
    0xC000013C,  // REMOTE_DISCONNECT
    0xC0000140,  // INVALID_CONNECTION
    0xC000014B,  // PIPE_BROKEN
    0xC0000203,  // USER_SESSION_DELETED
    0xC000020C,  // CONNECTION_DISCONNECTED
    0xC000020D,  // CONNECTION_RESET
    0xC0000241,  // CONNECTION_ABORTED
};

constexpr std::uint32_t kNtStatusBadNetworkPath = 0xC00000BE;
constexpr std::uint32_t kNtStatusNoMemory = 0xC0000017;

bool ConnectionGone(std::uint32_t nt_status) {
  return std::find(kConnectionGone.begin(), kConnectionGone.end(), nt_status) !=
         kConnectionGone.end();
}

}  // namespace

// One bound pipe. The library keeps a pointer to the interface table, so it
// lives as long as the pipe. The table names no calls (stubs are ours); its
// endpoint is the pipe and its authentication service the usual "host", which
// the library reads when it authenticates the bind.
struct ServerPipes::Pipe {
  explicit Pipe(const WorkerRequest& q)
      : name(q.pipe), endpoint("ncacn_np:[\\pipe\\" + q.pipe + "]") {
    endpoint_names[0] = endpoint.c_str();
    endpoints = {1, endpoint_names};
    authservices = {1, kAuthServices};
    table.name = name.c_str();
    table.endpoints = &endpoints;
    table.authservices = &authservices;
    table.syntax_id.uuid = GuidOf(q.uuid);
    table.syntax_id.if_version =
        std::uint32_t{q.version_major} | (std::uint32_t{q.version_minor} << 16);
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  ~Pipe() { talloc_free(pipe); }

  std::string name;
  std::string endpoint;
  const char* endpoint_names[1] = {nullptr};
  ndr_interface_string_array endpoints{};
  ndr_interface_string_array authservices{};
  ndr_interface_table table{};
  dcerpc_pipe* pipe = nullptr;
};

ServerPipes::ServerPipes(const WorkerSettings& settings) : settings_(settings) {
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

ServerPipes::~ServerPipes() {
  while (!servers_.empty()) Drop(servers_.begin()->first);
  talloc_free(root_);
}

void ServerPipes::Drop(const std::string& server) {
  const auto found = servers_.find(server);
  if (found == servers_.end()) return;
  std::vector<std::unique_ptr<Pipe>>& pipes = found->second.pipes;
  // The pipes opened on the connection go before the one that holds it.
  while (!pipes.empty()) pipes.pop_back();
  servers_.erase(found);
}

// A Kerberos logon that fails says why in the terms a Windows client uses.
std::uint32_t ServerPipes::ConnectStatus(std::uint32_t nt_status) const {
  return settings_.credentials->use_kerberos ? KerberosConnectStatus(nt_status) : nt_status;
}

std::uint32_t ServerPipes::EnsureCredentials() {
  if (creds_ != nullptr) return 0;
  // Kept for the worker's life: the pipes' security contexts refer to them.
  const Credentials& c = *settings_.credentials;
  int anonymous = 0;
  const std::uint32_t status =
      tabulon_samba_credentials(root_, lp_, ev_, c.username.c_str(), c.password.reveal(),
                                c.domain.c_str(), c.use_kerberos ? 1 : 0, &creds_, &anonymous);
  anonymous_ = anonymous != 0;
  return status;
}

std::uint32_t ServerPipes::Connect(const WorkerRequest& q, Connection& connection) {
  auto pipe = std::make_unique<Pipe>(q);
  // Authenticated pipes are signed and sealed at the RPC level as well.
  const std::string binding =
      "ncacn_np:" + q.server + "[\\pipe\\" + q.pipe + (anonymous_ ? "" : ",seal") + "]";
  const NTSTATUS status =
      dcerpc_pipe_connect(root_, &pipe->pipe, binding.c_str(), &pipe->table, creds_, ev_, lp_);
  // The library answers a TCP connection it could not make (refused, say) as
  // out of memory: it is a server that cannot be reached.
  if (NT_STATUS_V(status) == kNtStatusNoMemory) return kNtStatusBadNetworkPath;
  if (!NT_STATUS_IS_OK(status)) return ConnectStatus(NT_STATUS_V(status));
  pipe->pipe->request_timeout = (settings_.call_timeout_ms + 999) / 1000 + 1;
  connection.bound[KeyOf(q)] = pipe.get();
  connection.pipes.push_back(std::move(pipe));
  return 0;
}

std::uint32_t ServerPipes::OpenOnConnection(const WorkerRequest& q, Connection& connection) {
  auto pipe = std::make_unique<Pipe>(q);
  TALLOC_CTX* scratch = talloc_new(root_);
  dcerpc_binding* binding = nullptr;
  const std::string text =
      "ncacn_np:" + q.server + "[\\pipe\\" + q.pipe + (anonymous_ ? "" : ",seal") + "]";
  NTSTATUS status = dcerpc_parse_binding(scratch, text.c_str(), &binding);
  if (NT_STATUS_IS_OK(status)) {
    status = dcerpc_secondary_auth_connection(connection.pipes.front()->pipe, binding, &pipe->table,
                                              creds_, lp_, root_, &pipe->pipe);
  }
  talloc_free(scratch);
  if (!NT_STATUS_IS_OK(status)) return ConnectStatus(NT_STATUS_V(status));
  pipe->pipe->request_timeout = (settings_.call_timeout_ms + 999) / 1000 + 1;
  connection.bound[KeyOf(q)] = pipe.get();
  connection.pipes.push_back(std::move(pipe));
  return 0;
}

std::uint32_t ServerPipes::Open(const WorkerRequest& q, Pipe*& pipe) {
  if (const std::uint32_t status = EnsureCredentials(); status != 0) return status;
  const std::string key = KeyOf(q);
  if (const auto server = servers_.find(q.server); server != servers_.end()) {
    Connection& connection = server->second;
    if (const auto found = connection.bound.find(key); found != connection.bound.end()) {
      pipe = found->second;
      return 0;
    }
    const std::uint32_t status = OpenOnConnection(q, connection);
    if (status == 0) {
      pipe = connection.bound[key];
      return 0;
    }
    if (!ConnectionGone(status)) return status;
    Drop(q.server);
  }
  Connection& connection = servers_[q.server];
  if (const std::uint32_t status = Connect(q, connection); status != 0) {
    servers_.erase(q.server);
    return status;
  }
  pipe = connection.bound[key];
  return 0;
}

WorkerReply ServerPipes::Call(const WorkerRequest& q) {
  WorkerReply reply;
  Pipe* pipe = nullptr;
  reply.nt_status = Open(q, pipe);
  if (reply.nt_status != 0) return reply;
  dcerpc_pipe* p = pipe->pipe;
  p->last_fault_code = 0;
  TALLOC_CTX* call = talloc_new(root_);
  std::uint8_t* out = nullptr;
  std::size_t out_length = 0;
  std::uint32_t out_flags = 0;
  const NTSTATUS status =
      dcerpc_binding_handle_raw_call(p->binding_handle, nullptr, q.opnum, 0, q.stub.data(),
                                     q.stub.size(), call, &out, &out_length, &out_flags);
  reply.nt_status = NT_STATUS_V(status);
  reply.fault = p->last_fault_code;
  if (reply.nt_status == 0) reply.stub.assign(out, out + out_length);
  talloc_free(call);
  // A failure that is no answer of the server's is the connection's: every
  // pipe on it went with it, and the next call connects afresh.
  if (reply.nt_status != 0 && reply.fault == 0) Drop(q.server);
  return reply;
}

}  // namespace tabulon::platform::samba
