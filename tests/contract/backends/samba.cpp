// The remote backend against the test servers: the standalone smbd and the
// domain controller, each started at the first test that needs it and
// stopped after the last test of the program. Both listen on 127.0.0.1:445,
// so a program tests one of them.
#include <filesystem>
#include <fstream>

#include "contract/backends.h"
#include "platform/remote/remote_backend.h"
#include "platform/samba/samba_transport.h"
#include "samba/print_server.h"
#include "support/fakes.h"
#include "support/samba_dc.h"
#include "support/samba_server.h"

namespace tabulon::testing::contract {
namespace {

std::unique_ptr<platform::remote::RpcTransport> SambaTransports(
    const platform::SessionOptions& options) {
  return std::make_unique<platform::samba::SambaTransport>(options);
}

class StandaloneFactory final : public BackendFactory {
 public:
  std::string Start() override {
    if (started_) return why_not_;
    started_ = true;
    why_not_ = IsolateNetwork();
    if (!why_not_.empty()) return why_not_;
    server_ = SambaServer::Start(why_not_, PrintServerSetup(printers_.path()));
    if (!server_) return why_not_;
    // The registry and the session list are an administrator's.
    if (why_not_ = server_->MakeTestUserAdministrator(); !why_not_.empty()) return why_not_;
    const std::filesystem::path folder = std::filesystem::path(server_->folder()) / "data/reports";
    std::filesystem::create_directories(folder);
    for (const char* name : {"a.txt", "B.txt", "c.txt"}) std::ofstream(folder / name) << name;
    // The server loads its printers in the background after it starts.
    if (RpcclientPrinterNames(*server_, 2).size() != 2) why_not_ = "the printers did not come";
    return why_not_;
  }
  std::unique_ptr<platform::TargetSession> Open() override {
    static const platform::Credentials login{kSambaUser, platform::Secret(kSambaPassword), ""};
    platform::SessionOptions options;
    options.credentials = &login;
    return backend_.Open("\\\\127.0.0.1", options);
  }
  const BackendFacts& facts() const override { return facts_; }
  void Stop() { server_.reset(); }

 private:
  bool started_ = false;
  std::string why_not_;
  ScratchDir printers_;
  std::unique_ptr<SambaServer> server_;
  platform::remote::RemoteBackend backend_{SambaTransports, nullptr};
  const BackendFacts facts_{
      .server = Served(ServerFacts{"\\\\127.0.0.1", "DATA", win::ERROR_INVALID_NAME, false}),
      .accounts = CoveredBy<AccountFacts>("a standalone server has no machine accounts: the "
                                          "domain controller's suite covers them"),
      .services = Served(ServiceFacts{"\\\\127.0.0.1", "spooler", false}),
      .registry = Served(RegistryFacts{
          "\\\\127.0.0.1", "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "currentversion"}),
      .printing = Served(PrintingFacts{"\\\\127.0.0.1", "\\\\127.0.0.1\\laser"}),
      .lookup = Served(LookupFacts{"\\\\127.0.0.1", kSambaUser}),
      .groups = CoveredBy<GroupFacts>("a standalone server has the local groups that are mapped "
                                      "only: the domain controller's suite covers them"),
      .users = Served(UserFacts{"\\\\127.0.0.1", kSambaUser}),
      .policy = Served(PolicyFacts{"\\\\127.0.0.1", "SeBackupPrivilege", false}),
      .files = Served(FileFacts{"\\\\127.0.0.1\\data\\",
                                "\\\\127.0.0.1\\data\\reports",
                                {"a.txt", "B.txt", "c.txt"},
                                false}),
      .workstation = CoveredBy<HostFacts>(
          "Samba does not list its transports: the procedure number is out of range"),
      // Refused: they need the Windows build's libraries or interfaces no
      // library here speaks.
      .browser = {},
      .terminal = {},
      .schedule = {},
      .remote_access = {},
  };
};

constexpr const char* kOnTheStandaloneServer = "the standalone server's suite covers it";

class ControllerFactory final : public BackendFactory {
 public:
  std::string Start() override {
    if (started_) return why_not_;
    started_ = true;
    why_not_ = IsolateNetwork();
    if (why_not_.empty()) dc_ = SambaDomainController::Start(why_not_);
    return why_not_;
  }
  std::unique_ptr<platform::TargetSession> Open() override {
    static const platform::Credentials admin{kDcAdmin, platform::Secret(kDcAdminPassword),
                                             kDcDomain};
    platform::SessionOptions options;
    options.credentials = &admin;
    return backend_.Open(std::string("\\\\") + kDcHost, options);
  }
  const BackendFacts& facts() const override { return facts_; }
  void Stop() { dc_.reset(); }

 private:
  bool started_ = false;
  std::string why_not_;
  std::unique_ptr<SambaDomainController> dc_;
  platform::remote::RemoteBackend backend_{SambaTransports, nullptr};
  const BackendFacts facts_{
      .server = CoveredBy<ServerFacts>(kOnTheStandaloneServer),
      // By its NetBIOS name, as NetGetDCName names it: asked by its DNS
      // name, the controller refuses the display query a logon.
      .accounts = Served(
          AccountFacts{"\\\\DC1", {"DC1$", "SRV01$", "WS01$", "WS02$"}, kDcDomain, "\\\\DC1"}),
      .services = CoveredBy<ServiceFacts>(kOnTheStandaloneServer),
      .registry = CoveredBy<RegistryFacts>(kOnTheStandaloneServer),
      .printing = CoveredBy<PrintingFacts>(kOnTheStandaloneServer),
      .lookup = Served(
          LookupFacts{std::string("\\\\") + kDcHost, std::string(kDcDomain) + "\\" + kDcAdmin}),
      .groups = Served(GroupFacts{std::string("\\\\") + kDcHost, "Administrators",
                                  std::string("\\\\") + kDcHost, "Domain Admins"}),
      .users = Served(UserFacts{std::string("\\\\") + kDcHost, kDcAdmin}),
      .policy = CoveredBy<PolicyFacts>(kOnTheStandaloneServer),
      .files = CoveredBy<FileFacts>(kOnTheStandaloneServer),
      .workstation = CoveredBy<HostFacts>(
          "Samba does not list its transports: the procedure number is out of range"),
      // Refused: they need the Windows build's libraries or interfaces no
      // library here speaks.
      .browser = {},
      .terminal = {},
      .schedule = {},
      .remote_access = {},
  };
};

StandaloneFactory& TheStandaloneServer() {
  static StandaloneFactory factory;
  return factory;
}
ControllerFactory& TheController() {
  static ControllerFactory factory;
  return factory;
}

// The servers start at the first test that needs them and stop after the
// last test of the program.
class StopServers final : public ::testing::Environment {
 public:
  void TearDown() override {
    TheStandaloneServer().Stop();
    TheController().Stop();
  }
};
[[maybe_unused]] ::testing::Environment* const kStopServers =
    ::testing::AddGlobalTestEnvironment(new StopServers);

}  // namespace

BackendFactory& StandaloneServer::Factory() {
  return TheStandaloneServer();
}
BackendFactory& DomainController::Factory() {
  return TheController();
}

}  // namespace tabulon::testing::contract
