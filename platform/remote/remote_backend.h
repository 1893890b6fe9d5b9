#pragma once
// The backend for real computers: the families a server answers over DCE/RPC
// (server, workstation, service control, registry, print spooler, LSA, SAM,
// netlogon) are encoded and decoded here and carried by an RpcTransport,
// which may also carry the file calls of UNC paths; terminal services answer
// ERROR_NOT_SUPPORTED, and paths on this computer may be served by a local
// file system.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/remote/rpc_transport.h"
#include "platform/session.h"

namespace tabulon::platform::remote {

// Makes the transport of one session.
using TransportFactory = std::function<std::unique_ptr<RpcTransport>(const SessionOptions&)>;
// Makes the directory client of one session (LDAP is not carried over RPC).
using DirectorySearchFactory =
    std::function<std::unique_ptr<DirectorySearch>(const SessionOptions&)>;

class RemoteBackend final : public SessionBackend {
 public:
  // `local_files`, when given, serves the files() family (volumes of local
  // paths); it must outlive the backend's sessions.
  // Without `directories`, directory searches are not supported.
  RemoteBackend(TransportFactory transports, FileSystem* local_files,
                DirectorySearchFactory directories = {})
      : transports_(std::move(transports)),
        local_files_(local_files),
        directories_(std::move(directories)) {}

  std::unique_ptr<TargetSession> Open(std::string_view target,
                                      const SessionOptions& options) override;

 private:
  TransportFactory transports_;
  FileSystem* local_files_;
  DirectorySearchFactory directories_;
};

}  // namespace tabulon::platform::remote
