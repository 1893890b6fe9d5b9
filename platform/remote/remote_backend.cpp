#include "platform/remote/remote_backend.h"

#include "platform/remote/remote_file_system.h"
#include "platform/remote/remote_network.h"
#include "platform/remote/remote_service_control.h"
#include "platform/unsupported/unsupported.h"

namespace tabulon::platform::remote {
namespace {

class RemoteSession final : public TargetSession {
 public:
  RemoteSession(std::string_view target, std::unique_ptr<RpcTransport> transport,
                FileSystem* local_files)
      : target_(target),
        transport_(std::move(transport)),
        net_(*transport_),
        services_(*transport_),
        // A transport that also reaches files over SMB says so by
        // implementing the file calls.
        files_(dynamic_cast<RemoteFileCalls*>(transport_.get()), local_files) {}

  const std::string& target() const override { return target_; }
  ServerService& server() override { return net_; }
  WorkstationService& workstation() override { return net_; }
  BrowserService& browser() override { return net_; }
  AccountService& accounts() override { return net_; }
  ServiceControl& services() override { return services_; }
  Registry& registry() override { return registry_; }
  Printing& printing() override { return printing_; }
  TerminalServices& terminal() override { return terminal_; }
  FileSystem& files() override { return files_; }
  AccountLookup& lookup() override { return lookup_; }
  DirectoryService& directory() override { return directory_; }

 private:
  const std::string target_;
  // Declared first so that it outlives the families that close handles
  // through it.
  std::unique_ptr<RpcTransport> transport_;
  RemoteNetworkManagement net_;
  RemoteServiceControl services_;
  RemoteFileSystem files_;
  // Families no remote interface serves yet.
  unsupported::UnsupportedRegistry registry_;
  unsupported::UnsupportedPrinting printing_;
  unsupported::UnsupportedTerminalServices terminal_;
  unsupported::UnsupportedAccountLookup lookup_;
  unsupported::UnsupportedDirectoryService directory_;
};

}  // namespace

std::unique_ptr<TargetSession> RemoteBackend::Open(std::string_view target,
                                                   const SessionOptions& options) {
  return std::make_unique<RemoteSession>(target, transports_(options), local_files_);
}

}  // namespace tabulon::platform::remote
