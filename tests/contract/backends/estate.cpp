// The backends that need no server: the estate and the unsupported
// backend.
#include "contract/backends.h"
#include "estate/backend.h"
#include "estate/loader.h"
#include "platform/unsupported/backend.h"

namespace tabulon::testing::contract {
namespace {

// What the suites need of the estate: a file server with shares, sessions,
// services, a registry, printers, groups, users, rights, files and jobs, in
// a domain whose controller lists the machine accounts.
constexpr std::string_view kEstate = R"json({
  "local_computer": "ADMIN",
  "libraries": {"terminal_services": true, "window_station": true, "remote_access": true},
  "domains": [
    {"name": "CONTRACT", "dns_name": "contract.example", "controller": "DC01",
     "sid": "S-1-5-21-10-20-30",
     "accounts": [{"name": "Administrator", "rid": 500}, {"name": "ann", "rid": 1105},
                  {"name": "bob", "rid": 1106}],
     "groups": [{"name": "Domain Admins", "rid": 512, "members": ["Administrator", "ann"]}],
     "users": [{"name": "Administrator", "rid": 500}, {"name": "ann", "rid": 1105},
               {"name": "bob", "rid": 1106}]}
  ],
  "computers": [
    {"name": "DC01", "domain": "CONTRACT",
     "server": {"type": ["WORKSTATION", "SERVER", "PDC", "NT"]}},
    {"name": "FS01", "domain": "CONTRACT", "sid": "S-1-5-21-7-8-9", "default_shares": true,
     "disks": [{"drive": "C", "total_bytes": "100 GiB", "free_bytes": "50 GiB",
                "label": "System"}],
     "shares": [{"name": "Data", "path": "C:\\Data",
                 "connections": [{"computer": "WS01", "user": "ann"},
                                 {"computer": "WS02", "user": "bob"}]}],
     "sessions": [{"computer": "WS01", "user": "ann"}, {"computer": "WS02", "user": "bob"}],
     "open_files": [{"path": "C:\\Data\\a.txt", "user": "ann"},
                    {"path": "C:\\Data\\b.txt", "user": "bob"}],
     "transports": [{"name": "\\Device\\NetBT_Tcpip_{1}"}, {"name": "\\Device\\NetBT_Tcpip_{2}"}],
     "services": [{"name": "Alpha", "display_name": "Alpha Service"}, {"name": "Beta"},
                  {"name": "Gamma", "dependencies": ["Alpha", "Beta"]}],
     "registry": {"text": ["Windows Registry Editor Version 5.00",
                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Contract\\One]",
                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Contract\\Two]",
                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Contract]",
                           "\"Greeting\"=\"hello, world\""]},
     "printers": [{"name": "Laser", "comment": "Laser printer"}, {"name": "Inkjet"}],
     "accounts": [{"name": "backup", "rid": 1001}],
     "local_groups": [
       {"name": "Administrators", "members": ["FS01\\backup", "CONTRACT\\ann", "S-1-5-4"]},
       {"name": "Users", "members": ["CONTRACT\\bob"]}, {"name": "Backup Operators"}],
     "users": [{"name": "Administrator", "rid": 500}, {"name": "backup", "rid": 1001},
               {"name": "Guest", "rid": 501}],
     "rights": {"SeBackupPrivilege": ["S-1-5-32-544", "S-1-5-21-7-8-9-1001"]},
     "files": {"C:\\Data\\reports": [{"name": "a.txt", "size": 10}, {"name": "B.txt", "size": 20},
                                    {"name": "c.txt"}]},
     "scheduled_tasks": {"at_jobs": [{"id": 1, "time": "01:00", "command": "a.cmd"},
                                     {"id": 2, "time": "02:00", "command": "b.cmd"}]}},
    {"name": "ADMIN", "domain": "CONTRACT"}
  ]
})json";

class EstateFactory final : public BackendFactory {
 public:
  std::string Start() override {
    if (!backend_) {
      estate::LoadResult loaded = estate::ParseEstate(kEstate, "contract.json");
      if (!loaded.ok) return loaded.error;
      backend_ = std::make_unique<estate::EstateBackend>(std::move(loaded.estate));
    }
    return {};
  }
  std::unique_ptr<platform::TargetSession> Open() override {
    if (!backend_) Start();
    return backend_->Open("\\\\FS01", {});
  }
  const BackendFacts& facts() const override { return facts_; }

 private:
  std::unique_ptr<estate::EstateBackend> backend_;
  const BackendFacts facts_{
      .server = Served(ServerFacts{"\\\\FS01", "data"}),
      .accounts =
          Served(AccountFacts{"\\\\DC01", {"ADMIN$", "DC01$", "FS01$"}, "CONTRACT", "\\\\DC01"}),
      .services = Served(ServiceFacts{"\\\\FS01", "gamma", true}),
      .registry = Served(RegistryFacts{"\\\\FS01", "SOFTWARE\\Contract", "greeting"}),
      .printing = Served(PrintingFacts{"\\\\FS01", "\\\\FS01\\Laser"}),
      .lookup = Served(LookupFacts{"\\\\FS01", "CONTRACT\\ann"}),
      .groups = Served(GroupFacts{"\\\\FS01", "administrators", "\\\\DC01", "Domain Admins"}),
      .users = Served(UserFacts{"\\\\FS01", "backup"}),
      .policy = Served(PolicyFacts{"\\\\FS01", "SeBackupPrivilege", true}),
      .files = Served(
          FileFacts{"\\\\FS01\\Data\\", "\\\\FS01\\Data\\reports", {"a.txt", "B.txt", "c.txt"}}),
      .workstation = Served(HostFacts{"\\\\FS01", ""}),
      .browser = Served(HostFacts{"", "CONTRACT"}),
      .terminal = Served(HostFacts{"\\\\FS01", ""}),
      .schedule = Served(HostFacts{"\\\\FS01", ""}),
      .remote_access = Served(HostFacts{"\\\\FS01", "backup"}),
  };
};

class UnsupportedFactory final : public BackendFactory {
 public:
  std::string Start() override { return {}; }
  std::unique_ptr<platform::TargetSession> Open() override { return backend_.Open("\\\\FS01", {}); }
  const BackendFacts& facts() const override { return facts_; }

 private:
  unsupported::UnsupportedBackend backend_;
  const BackendFacts facts_{};  // every family refused
};

}  // namespace

BackendFactory& EstateBackend::Factory() {
  static EstateFactory factory;
  return factory;
}
BackendFactory& Unsupported::Factory() {
  static UnsupportedFactory factory;
  return factory;
}

}  // namespace tabulon::testing::contract
