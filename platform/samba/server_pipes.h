#pragma once
// The worker's RPC client. All pipes of one server share one SMB connection
// and session, as a Windows client's do: the first pipe bound makes the
// connection (and the logon), and every other pipe is opened on it as a
// further file of its IPC$ tree and bound there. Each bind is authenticated
// and sealed at the RPC level on its own; that makes no SMB session.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/samba/rpc_worker.h"
#include "platform/samba/worker_frames.h"

struct cli_credentials;
struct loadparm_context;
struct tevent_context;

namespace tabulon::platform::samba {

class ServerPipes {
 public:
  explicit ServerPipes(const WorkerSettings& settings);
  ~ServerPipes();  // closes every pipe, and with them the connections
  ServerPipes(const ServerPipes&) = delete;
  ServerPipes& operator=(const ServerPipes&) = delete;

  // One call on the request's pipe, which is opened and bound on first use.
  WorkerReply Call(const WorkerRequest& request);

 private:
  struct Pipe;
  // The pipes of one server. The first holds the SMB connection the others
  // are opened on, so it is freed after them.
  struct Connection {
    std::vector<std::unique_ptr<Pipe>> pipes;
    std::map<std::string, Pipe*> bound;  // usable pipes by interface
  };

  // The bound pipe of the request's interface, or the NTSTATUS of why not.
  std::uint32_t Open(const WorkerRequest& request, Pipe*& pipe);
  // The first pipe of a server: connects, logs on and binds.
  std::uint32_t Connect(const WorkerRequest& request, Connection& connection);
  // Another pipe on the server's connection.
  std::uint32_t OpenOnConnection(const WorkerRequest& request, Connection& connection);
  // Frees the server's pipes and so its connection.
  void Drop(const std::string& server);
  std::uint32_t EnsureCredentials();
  std::uint32_t ConnectStatus(std::uint32_t nt_status) const;

  WorkerSettings settings_;
  void* root_ = nullptr;  // the talloc context of everything the library makes
  tevent_context* ev_ = nullptr;
  loadparm_context* lp_ = nullptr;
  cli_credentials* creds_ = nullptr;
  bool anonymous_ = false;
  std::map<std::string, Connection> servers_;
};

}  // namespace tabulon::platform::samba
